// The settings table: values and keys edited in place, rows added, removed and moved,
// comments of the node and of each row, all written straight into the document.

#include "viewertest.h"
#include "viewers/qaisviewer.h"

#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QToolTip>
#include <QScrollBar>
#include <QHeaderView>

using namespace Qt::StringLiterals;
using namespace VmrView;

namespace {
const char fullTable[] =
    "<IS Doc=\"ISDOC\"><IS_C Label=\"C settings\"><ISDATA><COMMENT>node comment</COMMENT>"
    "<ASMEXT Label=\"asm\" Doc=\"ASMDOC\" Kind=\"k\"><VALUE>.s</VALUE><COMMENT>asm comment"
    "</COMMENT></ASMEXT><SRCEXT Doc=\"SRCDOC\"><VALUE>.c</VALUE><COMMENT>src comment</COMMENT>"
    "</SRCEXT><INIFIELD Doc=\"ISOTHERS\" Extra=\"x\"><KEY>MYKEY</KEY><VALUE>myvalue</VALUE>"
    "<COMMENT>key comment</COMMENT></INIFIELD></ISDATA></IS_C></IS>";
} // namespace

class TestIsViewer : public QObject
{
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_home = VmrTest::privateHome();
    QDomDocument m_doc;
    QDomElement m_node;
    std::unique_ptr<QWidget> m_window;
    QAIsViewer *m_viewer = nullptr;

    void load(const QString &xml)
    {
        m_doc = parse(xml);
        changesWritten() = 0;
        m_node = m_doc.documentElement().firstChildElement();
        QVERIFY((m_viewer = openViewer<QAIsViewer>(m_window, m_node)));
    }
    QTreeWidget *table() const { return m_viewer->table(); }
    QAIsViewerItem *row(int i) const { return QAIsViewerItem::fromItem(table()->topLevelItem(i)); }
    QDomElement container() const { return m_node.firstChildElement(); }
    // The rows as "key=value", once seen to match the container's, below its COMMENT.
    QString rows() const
    {
        QStringList rows;
        QDomElement e = container().firstChildElement();
        if (e.tagName() != u"COMMENT")
            return u"the node's comment is not first"_s;
        for (int i = 0; i < table()->topLevelItemCount(); ++i) {
            if (row(i)->element() != (e = e.nextSiblingElement()))
                return u"the table is not the document"_s;
            rows << row(i)->text(0) + u'=' + row(i)->text(1);
        }
        return e.nextSiblingElement().isNull() ? rows.join(u' ') : u"rows not shown"_s;
    }
    void clickRow(int index)
    {
        const QRect rect = table()->visualRect(table()->model()->index(index, 0));
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, {}, rect.center());
        QCOMPARE(table()->currentItem(), table()->topLevelItem(index));
    }
    QLineEdit *editor() const { return table()->viewport()->findChild<QLineEdit *>(); }
    QPushButton *button(const char *name) const
    {
        return m_viewer->findChild<QPushButton *>(QLatin1String(name));
    }
    // Whether "add", "remove", "move up" and "move down" can be used.
    QString buttons() const
    {
        QString state;
        for (const char *name : {"add", "remove", "move up", "move down"})
            state += button(name)->isEnabled() ? u'+' : u'-';
        return state;
    }
    QString title() const { return m_viewer->findChild<QLabel *>(u"comment title"_s)->text(); }
    QTextEdit *comment() const { return m_viewer->findChild<QTextEdit *>(u"comment"_s); }

private slots:
    void init() { load(QLatin1String(fullTable)); }

    void edit_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("column");
        QTest::addColumn<QString>("how"); // how the edit starts and ends; "kept": not stored
        // On the current row too, where a single click would start a delayed rename.
        QTest::newRow("value, double click, Return") << 0 << 1 << "dclick Return";
        QTest::newRow("value, Escape drops it") << 2 << 1 << "rename Escape kept";
        QTest::newRow("value, focus moves on") << 1 << 1 << "rename focus";
        // Tab stores it without opening the next row's cell.
        QTest::newRow("value, Tab") << 1 << 1 << "rename Tab";
        // Renaming does not look at the other keys: a duplicate is the user's choice here.
        QTest::newRow("key, F2, Enter") << 2 << 0 << "F2 Enter";
    }
    void edit()
    {
        QFETCH(int, index);
        QFETCH(int, column);
        QFETCH(QString, how);
        const QString start = how.section(u' ', 0, 0), end = how.section(u' ', 1, 1);
        const QString before = xmlOf(m_doc);
        const QString original = row(index)->text(column);
        const QString typed = column == 0 ? u"SRCEXT"_s : u".cc"_s;
        clickRow(index);
        QVERIFY(!editor());
        const QPoint cell = table()->visualRect(table()->model()->index(index, column)).center();
        if (start == u"dclick") { // press, release, press, double click, release
            QTest::mouseClick(table()->viewport(), Qt::LeftButton, {}, cell);
            QTest::mousePress(table()->viewport(), Qt::LeftButton, {}, cell);
            QTest::mouseDClick(table()->viewport(), Qt::LeftButton, {}, cell);
            QTest::mouseRelease(table()->viewport(), Qt::LeftButton, {}, cell);
        } else if (start == u"F2") {
            QTest::keyClick(table(), Qt::Key_F2);
        } else {
            row(index)->startRename(column);
        }
        QTRY_VERIFY(editor() && editor()->hasFocus());
        // Opening the edit is no change yet, but nothing else may move under it.
        QCOMPARE(changesWritten(), 0);
        QCOMPARE(buttons(), u"----"_s);
        editor()->selectAll();
        QTest::keyClicks(editor(), typed);
        if (end == u"focus")
            QTest::mouseClick(comment()->viewport(), Qt::LeftButton);
        else
            QTest::keyClick(editor(), QKeySequence::fromString(end)[0].key());
        QTRY_VERIFY(!editor() || !editor()->isVisible());
        // Only this cell and its text in the document changed.
        const QString now = how.endsWith(u"kept") ? original : typed;
        QCOMPARE(row(index)->text(column), now);
        QCOMPARE(xmlOf(m_doc), QString(before).replace(u'>' + original + u'<', u'>' + now + u'<'));
        QCOMPARE(buttons(), index == 2 ? u"++++"_s : u"+-++"_s);
        if (column == 0 && now == typed)
            QCOMPARE(title(), u"Comment for \"SRCEXT\" item:"_s);
    }

    void longValueSeenWhole()
    {
        // A value longer than its column shows whole in the cell's tool tip, after an edit too.
        const QString flags = u"-O2 -g -fno-omit-frame-pointer "_s.repeated(12).trimmed();
        QString xml = QLatin1String(fullTable);
        load(xml.replace(u"<VALUE>.c</VALUE>"_s, u"<VALUE>"_s + flags + u"</VALUE>"_s));
        const auto tip = [this](int index) {
            QToolTip::hideText();
            const QPoint cell = table()->visualRect(table()->model()->index(index, 1)).center();
            QHelpEvent event(QEvent::ToolTip, cell, table()->viewport()->mapToGlobal(cell));
            QApplication::sendEvent(table()->viewport(), &event);
            return QToolTip::isVisible() ? QToolTip::text() : QString();
        };
        QVERIFY(table()->visualRect(table()->model()->index(1, 1)).width()
                < table()->fontMetrics().horizontalAdvance(flags));
        QTRY_COMPARE(tip(1), flags);
        // Its column widens by its header's edge, and the table then scrolls along it.
        QHeaderView *header = table()->header();
        const int width = header->sectionSize(1);
        const QPoint edge(header->sectionViewportPosition(1) + width - 1, header->height() / 2);
        QTest::mousePress(header->viewport(), Qt::LeftButton, {}, edge);
        QTest::mouseMove(header->viewport(), edge + QPoint(200, 0));
        QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, edge + QPoint(200, 0));
        QVERIFY(header->sectionSize(1) > width);
        QTRY_VERIFY(table()->horizontalScrollBar()->isVisible());
        QToolTip::hideText();
        clickRow(0);
        row(0)->startRename(1);
        QTRY_VERIFY(editor());
        editor()->setText(flags + u" -Wall"_s);
        QTest::keyClick(editor(), Qt::Key_Return);
        QTRY_COMPARE(tip(0), flags + u" -Wall"_s);
    }

    void basicSettingsAndRemoval()
    {
        // A basic setting's key cannot be edited; F2 on it goes to the value instead.
        clickRow(0);
        row(0)->startRename(0);
        QVERIFY(!editor() && !changesWritten());
        QTest::keyClick(table(), Qt::Key_F2);
        QVERIFY(editor() && editor()->text() == u".s");
        QTest::keyClick(editor(), Qt::Key_Escape);
        QTRY_VERIFY(!editor());
        // A viewer closed with an edit open drops it quietly.
        const QString before = xmlOf(m_doc);
        clickRow(2);
        row(2)->startRename(1);
        QVERIFY(editor());
        QTest::keyClicks(editor(), u"never stored"_s);
        delete m_viewer;
        QCoreApplication::processEvents();
        QCOMPARE(xmlOf(m_doc), before);

        // The pane shows the node's or the current row's comment, the node's once it is gone.
        load(u"<IS><IS_C Label=\"C\"><ISDATA><COMMENT>node</COMMENT><INIFIELD><KEY>K</KEY>"
             "<VALUE>v</VALUE><COMMENT>row</COMMENT></INIFIELD></ISDATA></IS_C></IS>"_s);
        QCOMPARE(table()->headerItem()->text(0) + u'|' + table()->headerItem()->text(1),
                 u"KEY|VALUE"_s);
        QCOMPARE(title() + comment()->toPlainText(), u"Comment for \"C\" node:node"_s);
        clickRow(0);
        QCOMPARE(title() + comment()->toPlainText(), u"Comment for \"K\" item:row"_s);
        QCOMPARE(changesWritten(), 0); // showing a comment writes nothing
        m_viewer->showPage();         // back to the node, as a click on the tree does
        QCOMPARE(title() + comment()->toPlainText(), u"Comment for \"C\" node:node"_s);
        QTest::keyClicks(comment(), u"X"_s);
        clickRow(0);
        QTest::keyClicks(comment(), u"Y"_s);
        QCOMPARE(textOf("COMMENT", row(0)->element()), u"Yrow"_s);
        QTest::mouseClick(button("remove"), Qt::LeftButton);
        QCOMPARE(rows(), QString());
        QVERIFY(changesWritten() > 0);
        QTest::keyClicks(comment(), u"!"_s);
        QCOMPARE(textOf("COMMENT", m_node, 2), u"!Xnode"_s);
    }

    void add_data()
    {
        QTest::addColumn<QString>("xml");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QString>("added"); // children, then attributes; none: nothing added
        const QString full = QLatin1String(fullTable);
        const QString basic = u"VALUE=*** empty ***;KEY=%1;COMMENT= Doc=ISOTHERS;Kind=k"_s;
        // A basic setting as the model: its other attributes, a user key's documentation.
        QTest::newRow("basic model") << full << QStringList{u"NEW"_s} << basic.arg(u"NEW");
        QTest::newRow("user key model")
            << u"<IS><IS_CPP Label=\"C++\"><ISDATA><COMMENT/><INIFIELD Doc=\"ISOTHERS\" "
               "Extra=\"x\"><KEY>FIRST</KEY><VALUE>v</VALUE><COMMENT>c</COMMENT></INIFIELD>"
               "<ASMEXT><VALUE>.s</VALUE></ASMEXT></ISDATA></IS_CPP></IS>"_s
            << QStringList{u"NEW"_s}
            << "KEY=NEW;VALUE=*** empty ***;COMMENT= Doc=ISOTHERS;Extra=x";
        // With no row to copy, the new key is still stored in the document.
        QTest::newRow("empty table")
            << u"<IS><IS_J Label=\"J\"><ISDATA><COMMENT>c</COMMENT></ISDATA></IS_J></IS>"_s
            << QStringList{u"NEW"_s} << "KEY=NEW;VALUE=*** empty ***;COMMENT= Doc=ISOTHERS";
        // Keys are compared case-sensitively; the question comes back empty.
        QTest::newRow("duplicate refused")
            << full << QStringList{u"ASMEXT"_s, u"!"_s, u"asmext"_s} << basic.arg(u"asmext");
        QTest::newRow("cancelled") << full << QStringList{u"<cancel>"_s} << "";
        QTest::newRow("empty key") << full << QStringList{QString()} << "";
    }
    void add()
    {
        QFETCH(QString, xml);
        QFETCH(QStringList, answers);
        load(xml);
        const QString before = xmlOf(container());
        const QString shown = rows();
        const int count = table()->topLevelItemCount();
        if (count)
            clickRow(count - 1);
        // The questions and warnings are answered in turn while "add" runs, past the end with
        // "<cancel>"; every question offers an empty field, the buttons locked meanwhile.
        QStringList log;
        QTimer answering;
        QObject::connect(&answering, &QTimer::timeout, &answering, [&] {
            QWidget *w = QApplication::activeModalWidget();
            const QString answer = answers.value(log.size(), u"<cancel>"_s);
            if (auto *dialog = qobject_cast<QInputDialog *>(w)) {
                log << dialog->windowTitle() + u'|' + dialog->labelText() + u'|' +
                           dialog->textValue() + u'|' + buttons();
                dialog->setTextValue(answer);
                answer == u"<cancel>" ? dialog->reject() : dialog->accept();
            } else if (w) { // the warning, or anything unexpected
                log << w->windowTitle() + u'|' + w->property("text").toString();
                w->close();
            }
        });
        answering.start(20);
        QTest::mouseClick(button("add"), Qt::LeftButton);
        QCOMPARE(log.size(), answers.size());
        for (int i = 0; i < answers.size(); ++i) {
            QCOMPARE(log.at(i), answers.at(i) == u"!"
                ? u"Velmor Editor|This key already exists, You must enter another key."_s
                : u"New Key|Enter the name of the new key:||----"_s);
        }
        QCOMPARE(buttons(), u"++++"_s);
        const bool addedOne = table()->topLevelItemCount() > count;
        QCOMPARE(changesWritten() > 0, addedOne);
        QDomElement added = container().lastChildElement();
        QStringList children, attributes;
        for (QDomElement e = added.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
            children << e.tagName() + u'=' + e.text();
        for (int i = 0; i < added.attributes().count(); ++i) {
            const QDomNode a = added.attributes().item(i);
            attributes << a.nodeName() + u'=' + a.nodeValue();
        }
        attributes.sort();
        QTEST(addedOne ? children.join(u';') + u' ' + attributes.join(u';') : QString(), "added");
        if (addedOne) {
            const QString key = textOf("KEY", added);
            QCOMPARE(added.tagName(), u"INIFIELD"_s);
            QCOMPARE(rows(), QString(shown + u' ' + key + u"=*** empty ***"_s).trimmed());
            QCOMPARE(table()->currentItem(), row(count));
            QVERIFY(row(count)->renameEnabled(0) && row(count)->renameEnabled(1));
            QCOMPARE(title(), u"Comment for \"%1\" item:"_s.arg(key));
            container().removeChild(added);
        }
        QCOMPARE(xmlOf(container()), before); // the model itself is untouched
    }

    void moveRows()
    {
        // Nothing moves past either end; a basic setting moves like any row.
        const QList<std::tuple<const char *, int, const char *>> moves = {
            {"move up", 0, "ASMEXT=.s SRCEXT=.c MYKEY=myvalue"},
            {"move down", 1, "SRCEXT=.c ASMEXT=.s MYKEY=myvalue"},
            {"move down", 2, "SRCEXT=.c MYKEY=myvalue ASMEXT=.s"},
            {"move down", 2, "SRCEXT=.c MYKEY=myvalue ASMEXT=.s"},
            {"move up", 1, "SRCEXT=.c ASMEXT=.s MYKEY=myvalue"}};
        clickRow(0);
        for (const auto &[which, current, order] : moves) {
            QTest::mouseClick(button(which), Qt::LeftButton);
            QCOMPARE(rows(), QLatin1String(order));
            QCOMPARE(table()->currentItem(), table()->topLevelItem(current));
            QCOMPARE(changesWritten() > 0, current > 0);
        }
    }
};

QTEST_MAIN(TestIsViewer)
#include "tst_isviewer.moc"
