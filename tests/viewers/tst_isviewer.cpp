// The settings table: values and keys edited in place, rows added, removed and moved,
// comments of the node and of each row, all written straight into the document.

#include "testutil.h"

#include "viewers/qaisviewer.h"
#include "viewers/qavmrdocbrowser.h"

#include <QDomDocument>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const char fullTable[] =
    "<VMR><IS Doc=\"ISDOC\"><IS_C Label=\"C settings\">"
    "<ISDATA>"
    "<COMMENT>node comment</COMMENT>"
    "<ASMEXT Label=\"asm\" Doc=\"ASMDOC\"><VALUE>.s</VALUE><COMMENT>asm comment</COMMENT></ASMEXT>"
    "<SRCEXT Doc=\"SRCDOC\"><VALUE>.c</VALUE><COMMENT>src comment</COMMENT></SRCEXT>"
    "<INIFIELD Doc=\"ISOTHERS\" Extra=\"x\"><KEY>MYKEY</KEY><VALUE>myvalue</VALUE>"
    "<COMMENT>key comment</COMMENT></INIFIELD>"
    "</ISDATA></IS_C></IS></VMR>";

}  // namespace

class TestIsViewer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_home = VmrTest::privateHome(); }
    void init() { load(fullTable); }

    void rowsFollowTheDocument();
    void edit_data();
    void edit();
    void closingDropsAnOpenEdit();
    void basicSettingIsNeitherRenamedNorRemoved();
    void addRefusesDuplicateKeysCaseSensitively();
    void addCancelledOrEmptyChangesNothing_data();
    void addCancelledOrEmptyChangesNothing();
    void addCopiesItsModel_data();
    void addCopiesItsModel();
    void addIntoAnEmptyTable();
    void removeDeletesTheUserKey();
    void moveRowsUpAndDown();
    void commentPaneFollowsTheTarget();

private:
    void load(const char *xml);
    QAIsViewerItem *row(int i) const
    {
        return QAIsViewerItem::fromItem(m_viewer->table()->topLevelItem(i));
    }
    QDomElement container() const { return m_node.firstChildElement(); }
    QStringList containerTags() const;
    QStringList shown() const;
    void clickRow(int index, int column = 0);
    void doubleClickCell(int index, int column);
    QLineEdit *openEditor() const
    {
        return m_viewer->table()->viewport()->findChild<QLineEdit *>();
    }
    QPushButton *button(const char *name) const
    {
        return m_viewer->findChild<QPushButton *>(QLatin1String(name));
    }
    QLabel *title() const { return m_viewer->findChild<QLabel *>(u"comment title"_s); }
    QTextEdit *comment() const { return m_viewer->findChild<QTextEdit *>(u"comment"_s); }
    /** Answers the next key question with key and clicks "add"; m_asked records the question. */
    void addKey(const QString &key);

    std::unique_ptr<QTemporaryDir> m_home;
    QDomDocument m_doc;
    QDomElement m_node;
    std::unique_ptr<QWidget> m_window;
    QAVmrDocBrowser *m_browser = nullptr;
    QAIsViewer *m_viewer = nullptr;
    QString m_asked;
};

static QString text(const QString &tag, const QDomElement &element)
{
    return QAVmrViewer::childText(tag, element);
}

static QString xmlOf(const QDomNode &node)
{
    QString xml;
    QTextStream stream(&xml);
    node.save(stream, 0);
    return xml;
}

static QStringList childrenOf(const QDomElement &element)
{
    QStringList children;
    for (QDomElement e = element.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        children << e.tagName() + QLatin1Char('=') + e.text();
    return children;
}

void TestIsViewer::load(const char *xml)
{
    m_window.reset();
    m_doc = QDomDocument();
    QVERIFY(m_doc.setContent(QByteArray(xml)));
    m_node = m_doc.documentElement().firstChildElement(u"IS"_s).firstChildElement();
    m_window = std::make_unique<QWidget>();
    m_window->resize(600, 500);
    auto *layout = new QVBoxLayout(m_window.get());
    m_browser = new QAVmrDocBrowser(m_window.get());
    layout->addWidget(m_browser);
    m_viewer = new QAIsViewer(m_node, m_window.get(), m_browser);
    layout->addWidget(m_viewer);
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_viewer->showPage();
}

QStringList TestIsViewer::containerTags() const
{
    QStringList tags;
    for (QDomElement e = container().firstChildElement(); !e.isNull();
         e = e.nextSiblingElement()) {
        const QDomElement key = e.firstChildElement(u"KEY"_s);
        tags << (key.isNull() ? e.tagName() : e.tagName() + QLatin1Char(':') + key.text());
    }
    return tags;
}

QStringList TestIsViewer::shown() const
{
    QStringList rows;
    for (int i = 0; i < m_viewer->table()->topLevelItemCount(); ++i)
        rows << row(i)->text(0) + QLatin1Char('=') + row(i)->text(1);
    return rows;
}

void TestIsViewer::clickRow(int index, int column)
{
    QTreeWidget *table = m_viewer->table();
    const QRect rect = table->visualRect(table->model()->index(index, column));
    QVERIFY(rect.isValid());
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    QCOMPARE(table->currentItem(), table->topLevelItem(index));
}

// A real double click: press, release, press, double click, release.
void TestIsViewer::doubleClickCell(int index, int column)
{
    QTreeWidget *table = m_viewer->table();
    const QPoint pos = table->visualRect(table->model()->index(index, column)).center();
    QWidget *viewport = table->viewport();
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, pos);
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, pos);
    QTest::mousePress(viewport, Qt::LeftButton, Qt::NoModifier, pos);
    QTest::mouseDClick(viewport, Qt::LeftButton, Qt::NoModifier, pos);
    QTest::mouseRelease(viewport, Qt::LeftButton, Qt::NoModifier, pos);
}

void TestIsViewer::addKey(const QString &key)
{
    m_asked.clear();
    VmrTest::onNextModal([this, key](QWidget *w) {
        auto *dialog = qobject_cast<QInputDialog *>(w);
        QVERIFY(dialog);
        m_asked = dialog->windowTitle() + QLatin1Char('|') + dialog->labelText() +
                  QLatin1Char('|') + dialog->textValue();
        dialog->setTextValue(key);
        dialog->accept();
    });
    QTest::mouseClick(button("add"), Qt::LeftButton);
    QVERIFY(!m_asked.isEmpty());
}

void TestIsViewer::rowsFollowTheDocument()
{
    QTreeWidget *table = m_viewer->table();
    QCOMPARE(table->headerItem()->text(0), u"KEY"_s);
    QCOMPARE(table->headerItem()->text(1), u"VALUE"_s);
    // The container's COMMENT is the node's comment, not a row.
    QCOMPARE(shown(), QStringList({u"ASMEXT=.s"_s, u"SRCEXT=.c"_s, u"MYKEY=myvalue"_s}));
    QCOMPARE(row(2)->element().tagName(), u"INIFIELD"_s);
    QCOMPARE(title()->text(), u"Comment for \"C settings\" node:"_s);
    QCOMPARE(comment()->toPlainText(), u"node comment"_s);
    QCOMPARE(title()->buddy(), comment());
    QVERIFY(!m_viewer->modified);
}

void TestIsViewer::edit_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("end");
    QTest::addColumn<bool>("stored");
    const auto add = [](const char *name, int index, const char *start, int column,
                        const char *typed, const char *end, bool stored) {
        QTest::newRow(name) << index << QString::fromLatin1(start) << column
                            << QString::fromLatin1(typed) << QString::fromLatin1(end) << stored;
    };
    // On the current row too, where a single click would start a delayed rename.
    add("value, double click, Return", 0, "dclick", 1, ".asm", "return", true);
    add("value, Escape drops it", 2, "rename", 1, "thrown away", "escape", false);
    add("value, focus moves to the comment", 1, "rename", 1, ".cpp", "focus", true);
    // Tab stores it without opening the next row's cell.
    add("value, Tab", 1, "rename", 1, ".cc", "tab", true);
    add("user key, F2, committed on request", 2, "f2", 0, "RENAMED", "commit", true);
    // Renaming does not look at the other keys: a duplicate is the user's choice here.
    add("user key, F2, duplicate, Enter", 2, "f2", 0, "SRCEXT", "enter", true);
    add("user key, click on the current row", 2, "click", 0, "K2", "escape", false);
}

void TestIsViewer::edit()
{
    QFETCH(int, index);
    QFETCH(QString, start);
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(QString, end);
    QFETCH(bool, stored);
    QTreeWidget *table = m_viewer->table();
    const QDomElement element = row(index)->element();
    const QString original = row(index)->text(column);
    const QString rowComment = text(u"COMMENT"_s, element);
    QStringList others = shown();

    clickRow(index);
    QVERIFY(!openEditor());
    if (start == QLatin1String("dclick"))
        doubleClickCell(index, column);
    else if (start == QLatin1String("click"))
        clickRow(index);
    else if (start == QLatin1String("f2"))
        QTest::keyClick(table, Qt::Key_F2);
    else
        row(index)->startRename(column);
    QTRY_VERIFY(openEditor());
    QLineEdit *editor = openEditor();
    QCOMPARE(editor->text(), original);
    QCOMPARE(row(index)->renameColumn(), column);
    // Opening the edit counts as a change, and nothing else may move under it.
    QVERIFY(m_viewer->modified);
    for (const char *name : {"add", "remove", "move up", "move down"})
        QVERIFY2(!button(name)->isEnabled(), name);
    QTRY_VERIFY(editor->hasFocus());
    editor->selectAll();
    QTest::keyClicks(editor, typed);

    if (end == QLatin1String("return"))
        QTest::keyClick(editor, Qt::Key_Return);
    else if (end == QLatin1String("enter"))
        QTest::keyClick(editor, Qt::Key_Enter);
    else if (end == QLatin1String("escape"))
        QTest::keyClick(editor, Qt::Key_Escape);
    else if (end == QLatin1String("tab"))
        QTest::keyClick(editor, Qt::Key_Tab);
    else if (end == QLatin1String("focus"))
        QTest::mouseClick(comment()->viewport(), Qt::LeftButton);
    else
        m_viewer->commitPendingEdit();
    if (end == QLatin1String("commit"))
        QVERIFY(!openEditor() || !openEditor()->isVisible());
    else
        QTRY_VERIFY(!openEditor());
    QVERIFY(!static_cast<QAIsViewerTable *>(table)->isRenaming());

    const QString now = stored ? typed : original;
    QCOMPARE(row(index)->text(column), now);
    QCOMPARE(row(index)->element(), element);
    QCOMPARE(text(column == 0 ? u"KEY"_s : u"VALUE"_s, element), now);
    // Leaving the edit did not write the row's comment nor touch the other rows.
    QCOMPARE(text(u"COMMENT"_s, element), rowComment);
    QStringList after = shown();
    others.removeAt(index);
    after.removeAt(index);
    QCOMPARE(after, others);
    QVERIFY(m_viewer->modified);
    QVERIFY(button("add")->isEnabled());
    QVERIFY(button("move up")->isEnabled());
    QCOMPARE(button("remove")->isEnabled(), element.tagName() == QLatin1String("INIFIELD"));
    if (column == 0 && stored) QCOMPARE(title()->text(), u"Comment for \"%1\" item:"_s.arg(typed));
}

void TestIsViewer::closingDropsAnOpenEdit()
{
    // Without an open edit there is nothing to commit and nothing changes.
    const QString before = m_doc.toString();
    m_viewer->commitPendingEdit();
    QCOMPARE(m_doc.toString(), before);
    // A viewer that goes away with an edit still open (the document is being closed)
    // drops it quietly.
    clickRow(2);
    row(2)->startRename(1);
    QVERIFY(openEditor());
    QTest::keyClicks(openEditor(), u"never stored"_s);
    delete m_viewer;
    m_viewer = nullptr;
    QCoreApplication::processEvents();
    QCOMPARE(m_doc.toString(), before);
}

void TestIsViewer::basicSettingIsNeitherRenamedNorRemoved()
{
    // Clicks on the current basic setting's key start nothing, and quietly so.
    QTest::failOnWarning(QRegularExpression(u"edit"_s));
    clickRow(0);
    clickRow(0);
    QTest::qWait(QApplication::doubleClickInterval() + 100);
    QVERIFY(!openEditor());
    QVERIFY(!row(0)->renameEnabled(0));
    QVERIFY(row(0)->renameEnabled(1));
    row(0)->startRename(0);
    QVERIFY(!openEditor());
    QVERIFY(!m_viewer->modified);
    // F2 on the key goes to the value instead.
    QTest::keyClick(m_viewer->table(), Qt::Key_F2);
    QVERIFY(openEditor());
    QCOMPARE(row(0)->renameColumn(), 1);
    QCOMPARE(openEditor()->text(), u".s"_s);
    QTest::keyClick(openEditor(), Qt::Key_Escape);
    QTRY_VERIFY(!openEditor());
    QCOMPARE(row(0)->text(0), u"ASMEXT"_s);

    QVERIFY(!button("remove")->isEnabled());
    QMetaObject::invokeMethod(m_viewer, "removeRow");
    QCOMPARE(containerTags(),
             QStringList({u"COMMENT"_s, u"ASMEXT"_s, u"SRCEXT"_s, u"INIFIELD:MYKEY"_s}));
    QCOMPARE(m_viewer->table()->topLevelItemCount(), 3);
    // A user key is removable; going back to a basic one locks Remove again.
    clickRow(2);
    QVERIFY(button("remove")->isEnabled());
    QVERIFY(row(2)->renameEnabled(0));
    clickRow(1);
    QVERIFY(!button("remove")->isEnabled());
}

void TestIsViewer::addRefusesDuplicateKeysCaseSensitively()
{
    QString warning;
    QString again;
    VmrTest::onNextModal([&](QWidget *w) {
        auto *dialog = qobject_cast<QInputDialog *>(w);
        QVERIFY(dialog);
        dialog->setTextValue(u"ASMEXT"_s);
        dialog->accept();
        VmrTest::onNextModal([&](QWidget *w2) {
            auto *box = qobject_cast<QMessageBox *>(w2);
            QVERIFY(box);
            warning = box->windowTitle() + QLatin1Char('|') + box->text();
            box->button(QMessageBox::Ok)->click();
            VmrTest::onNextModal([&](QWidget *w3) {
                auto *second = qobject_cast<QInputDialog *>(w3);
                QVERIFY(second);
                again = u"asked, offering \"%1\""_s.arg(second->textValue());
                second->setTextValue(u"asmext"_s);
                second->accept();
            });
        });
    });
    QTest::mouseClick(button("add"), Qt::LeftButton);
    QCOMPARE(warning, QStringLiteral("Velmor Editor|This key already exists, You must enter "
                                     "another key."));
    QCOMPARE(again, u"asked, offering \"\""_s);
    QCOMPARE(containerTags().last(), u"INIFIELD:asmext"_s);
    QCOMPARE(containerTags().count(u"ASMEXT"_s), 1);
    QCOMPARE(m_viewer->table()->topLevelItemCount(), 4);
}

void TestIsViewer::addCancelledOrEmptyChangesNothing_data()
{
    QTest::addColumn<bool>("accept");
    QTest::newRow("cancelled") << false;
    QTest::newRow("empty key") << true;
}

void TestIsViewer::addCancelledOrEmptyChangesNothing()
{
    QFETCH(bool, accept);
    clickRow(2);
    const QString before = m_doc.toString();
    bool locked = false;
    VmrTest::onNextModal([&](QWidget *w) {
        auto *dialog = qobject_cast<QInputDialog *>(w);
        QVERIFY(dialog);
        // The buttons stay locked while the question is open.
        locked = !button("add")->isEnabled() && !button("remove")->isEnabled();
        dialog->setTextValue(QString());
        accept ? dialog->accept() : dialog->reject();
    });
    QTest::mouseClick(button("add"), Qt::LeftButton);
    QVERIFY(locked);
    QCOMPARE(m_doc.toString(), before);
    QCOMPARE(m_viewer->table()->topLevelItemCount(), 3);
    QVERIFY(!m_viewer->modified);
    for (const char *name : {"add", "remove", "move down"})
        QVERIFY2(button(name)->isEnabled(), name);
}

void TestIsViewer::addCopiesItsModel_data()
{
    QTest::addColumn<QByteArray>("xml");
    QTest::addColumn<QString>("children");
    QTest::addColumn<QString>("attributes");
    // The first row is the model, here a basic setting with a label and its own Doc.
    QTest::newRow("full table") << QByteArray(fullTable)
                                << u"VALUE=*** empty ***;KEY=LINKER;COMMENT="_s
                                << u"Doc=ISOTHERS"_s;
    // A basic setting as the model: its other attributes, a user key's documentation.
    QTest::newRow("basic setting")
        << QByteArray(
               "<VMR><IS><IS_A Label=\"Ada\"><ISDATA><COMMENT/>"
               "<OBJEXT Label=\"obj\" Doc=\"OBJDOC\" Kind=\"k\"><VALUE>.o</VALUE>"
               "<COMMENT>c</COMMENT></OBJEXT></ISDATA></IS_A></IS></VMR>")
        << u"VALUE=*** empty ***;KEY=LINKER;COMMENT="_s << u"Doc=ISOTHERS;Kind=k"_s;
    QTest::newRow("user key")
        << QByteArray(
               "<VMR><IS><IS_CPP Label=\"C++\"><ISDATA><COMMENT/>"
               "<INIFIELD Doc=\"ISOTHERS\" Extra=\"x\"><KEY>FIRST</KEY><VALUE>v</VALUE>"
               "<COMMENT>first comment</COMMENT></INIFIELD>"
               "<ASMEXT><VALUE>.s</VALUE><COMMENT/></ASMEXT></ISDATA></IS_CPP></IS></VMR>")
        << u"KEY=LINKER;VALUE=*** empty ***;COMMENT="_s << u"Doc=ISOTHERS;Extra=x"_s;
}

void TestIsViewer::addCopiesItsModel()
{
    QFETCH(QByteArray, xml);
    QFETCH(QString, children);
    QFETCH(QString, attributes);
    load(xml.constData());
    const QString models = xmlOf(container());
    const int rows = m_viewer->table()->topLevelItemCount();
    addKey(u"LINKER"_s);
    QCOMPARE(m_asked, u"New Key|Enter the name of the new key:|"_s);

    QDomElement added = container().lastChildElement();
    QCOMPARE(added.tagName(), u"INIFIELD"_s);
    QCOMPARE(childrenOf(added).join(QLatin1Char(';')), children);
    QStringList attrs;
    for (int i = 0; i < added.attributes().count(); ++i) {
        const QDomAttr attr = added.attributes().item(i).toAttr();
        attrs << attr.name() + QLatin1Char('=') + attr.value();
    }
    attrs.sort();
    QCOMPARE(attrs.join(QLatin1Char(';')), attributes);
    QCOMPARE(m_viewer->table()->topLevelItemCount(), rows + 1);
    QCOMPARE(m_viewer->table()->currentItem(), row(rows));
    QCOMPARE(shown().value(rows), u"LINKER=*** empty ***"_s);
    QVERIFY(row(rows)->element() == added);
    QVERIFY(row(rows)->renameEnabled(0));
    QVERIFY(m_viewer->modified);
    QVERIFY(button("add")->isEnabled() && button("remove")->isEnabled());
    QCOMPARE(title()->text(), u"Comment for \"LINKER\" item:"_s);
    // The model itself is untouched.
    container().removeChild(added);
    QCOMPARE(xmlOf(container()), models);
}

void TestIsViewer::addIntoAnEmptyTable()
{
    load(
        "<VMR><IS><IS_JAVA Label=\"Java\"><ISDATA><COMMENT>c</COMMENT></ISDATA>"
        "</IS_JAVA></IS></VMR>");
    QCOMPARE(m_viewer->table()->topLevelItemCount(), 0);
    addKey(u"CLASSPATH"_s);
    // The new key is stored in the document, not only shown.
    QCOMPARE(containerTags(), QStringList({u"COMMENT"_s, u"INIFIELD:CLASSPATH"_s}));
    const QDomElement added = container().lastChildElement();
    QCOMPARE(added.attribute(u"Doc"_s), u"ISOTHERS"_s);
    QCOMPARE(text(u"VALUE"_s, added), u"*** empty ***"_s);
    QVERIFY(!added.firstChildElement(u"COMMENT"_s).isNull());
    QCOMPARE(m_viewer->table()->topLevelItemCount(), 1);

    // Its value can be edited straight away.
    m_viewer->table()->setCurrentItem(row(0));
    row(0)->startRename(1);
    QLineEdit *editor = openEditor();
    QVERIFY(editor);
    editor->selectAll();
    QTest::keyClicks(editor, u"/opt/lib"_s);
    QTest::keyClick(editor, Qt::Key_Return);
    QTRY_COMPARE(text(u"VALUE"_s, added), u"/opt/lib"_s);
}

void TestIsViewer::removeDeletesTheUserKey()
{
    clickRow(2);
    QTest::mouseClick(button("remove"), Qt::LeftButton);
    QCOMPARE(shown(), QStringList({u"ASMEXT=.s"_s, u"SRCEXT=.c"_s}));
    QCOMPARE(containerTags(), QStringList({u"COMMENT"_s, u"ASMEXT"_s, u"SRCEXT"_s}));
    QVERIFY(m_viewer->modified);

    // The last remaining user key: once it is gone the pane returns to the node, so that
    // typing no longer goes into the removed row.
    load(
        "<VMR><IS><IS_C Label=\"C\"><ISDATA><COMMENT>node</COMMENT>"
        "<INIFIELD><KEY>K</KEY><VALUE>v</VALUE><COMMENT>row</COMMENT></INIFIELD>"
        "</ISDATA></IS_C></IS></VMR>");
    clickRow(0);
    QCOMPARE(comment()->toPlainText(), u"row"_s);
    QTest::mouseClick(button("remove"), Qt::LeftButton);
    QCOMPARE(containerTags(), QStringList(u"COMMENT"_s));
    QCOMPARE(comment()->toPlainText(), u"node"_s);
    comment()->moveCursor(QTextCursor::End);
    QTest::keyClicks(comment(), u"!"_s);
    QCOMPARE(QAVmrViewer::childText(u"COMMENT"_s, m_node, 2), u"node!"_s);
}

void TestIsViewer::moveRowsUpAndDown()
{
    const auto move = [this](const char *which, const QStringList &order, int current) {
        QTest::mouseClick(button(which), Qt::LeftButton);
        QCOMPARE(containerTags(), QStringList(u"COMMENT"_s) + order);
        QCOMPARE(m_viewer->table()->currentItem(), row(current));
    };
    const QString asm_ = u"ASMEXT"_s;
    const QString src = u"SRCEXT"_s;
    const QString key = u"INIFIELD:MYKEY"_s;
    clickRow(0);
    move("move up", {asm_, src, key}, 0);  // already at the top
    QVERIFY(!m_viewer->modified);
    // A basic setting moves like any row.
    move("move down", {src, asm_, key}, 1);
    QVERIFY(m_viewer->modified);
    move("move down", {src, key, asm_}, 2);
    move("move down", {src, key, asm_}, 2);  // already at the bottom
    clickRow(1);
    move("move up", {key, src, asm_}, 0);
    // The node's comment keeps its place above the rows.
    move("move up", {key, src, asm_}, 0);
    QCOMPARE(shown(), QStringList({u"MYKEY=myvalue"_s, u"SRCEXT=.c"_s, u"ASMEXT=.s"_s}));
    // The moved row is still bound to its own element.
    QCOMPARE(text(u"KEY"_s, row(0)->element()), u"MYKEY"_s);
}

void TestIsViewer::commentPaneFollowsTheTarget()
{
    const auto nodeComment = [this] { return QAVmrViewer::childText(u"COMMENT"_s, m_node, 2); };
    clickRow(1);
    QCOMPARE(title()->text(), u"Comment for \"SRCEXT\" item:"_s);
    QCOMPARE(comment()->toPlainText(), u"src comment"_s);
    QVERIFY(!m_viewer->modified);  // showing a row writes nothing
    comment()->moveCursor(QTextCursor::End);
    QTest::keyClicks(comment(), u" more"_s);
    QCOMPARE(text(u"COMMENT"_s, row(1)->element()), u"src comment more"_s);
    QCOMPARE(nodeComment(), u"node comment"_s);
    QVERIFY(m_viewer->modified);

    // Back to the node, as a click on the tree does.
    m_viewer->modified = false;
    m_viewer->showPage();
    QCOMPARE(title()->text(), u"Comment for \"C settings\" node:"_s);
    QCOMPARE(comment()->toPlainText(), u"node comment"_s);
    QVERIFY(!m_viewer->modified);
    QTest::keyClicks(comment(), u"X"_s);
    QVERIFY(nodeComment().contains(QLatin1Char('X')));
    QCOMPARE(text(u"COMMENT"_s, row(1)->element()), u"src comment more"_s);

    // A row whose comment was empty gains a text at the first keystroke.
    load(
        "<VMR><IS><IS_C Label=\"C\"><ISDATA><COMMENT/>"
        "<INIFIELD><KEY>K</KEY><VALUE>v</VALUE><COMMENT/></INIFIELD>"
        "</ISDATA></IS_C></IS></VMR>");
    clickRow(0);
    QTest::keyClicks(comment(), u"r"_s);
    QCOMPARE(text(u"COMMENT"_s, row(0)->element()), u"r"_s);
    QCOMPARE(nodeComment(), QString());
}

QTEST_MAIN(TestIsViewer)
#include "tst_isviewer.moc"
