// Item pages: one field per item, every edit written through, and a comment pane that
// follows the field the user entered.

#include "testutil.h"

#include "viewers/qafieldwidgets.h"
#include "viewers/qaitemviewer.h"
#include "viewers/qamacrowidgets.h"
#include "viewers/qavmrdocbrowser.h"

#include <QDomDocument>
#include <QLabel>
#include <QLayout>
#include <QScrollBar>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QtTest>

#include <memory>

using namespace Qt::StringLiterals;

namespace {

const char page[] =
    "<RESTRICTIONS Label=\"Restrictions\" Doc=\"PAGEDOC\">"
    "<COMMENT>page comment</COMMENT>"
    "<ITEM><RENAMEADA Name=\"USR_RENAME\" Doc=\"RENDOC\" Value=\"0\">"
    "<COMMENT>rename comment</COMMENT></RENAMEADA></ITEM>"
    "<ITEM><TEXT_MACRO Name=\"USR_SIZE\" Doc=\"SIZEDOC\"><COMMENT>size comment</COMMENT>"
    "<VALUE>4</VALUE></TEXT_MACRO></ITEM>"
    "<ITEM><UNKNOWN_MACRO Name=\"SKIPPED\"/></ITEM>"
    "<ITEM/>"
    "<ITEM><OPTIONAL_MACRO Name=\"USR_LONG\" Doc=\"LONGDOC\" Value=\"long double\" Defined=\"0\">"
    "<COMMENT>long comment</COMMENT></OPTIONAL_MACRO></ITEM>"
    "<ITEM><BINARY_MACRO Name=\"USR_NOCOMMENT\" Value=\"1\"/></ITEM>"
    "</RESTRICTIONS>";

// A reference page where every anchor the tests use sits far below the previous one.
QString referencePage()
{
    QString html;
    const QStringList anchors = {QStringLiteral("PAGEDOC"), QStringLiteral("RENDOC"),
                                 QStringLiteral("SIZEDOC"), QStringLiteral("LONGDOC")};
    for (const QString &anchor : anchors) {
        html += QStringLiteral("<p><a name=\"%1\">%1</a></p>").arg(anchor);
        for (int i = 0; i < 60; ++i)
            html += QStringLiteral("<p>text</p>");
    }
    return html;
}

} // namespace

class TestItemViewer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void fieldForEachItemTag_data();
    void fieldForEachItemTag();
    void fieldsFollowDocumentOrder();
    void fieldsWriteThrough();
    void commentFollowsEntry_data();
    void commentFollowsEntry();

private:
    void load(const QString &xml);
    QList<QWidget *> fields() const;
    QString fieldClasses() const
    {
        QStringList classes;
        for (QWidget *w : fields())
            classes << QString::fromLatin1(w->metaObject()->className());
        return classes.join(QLatin1Char(' '));
    }
    QTextEdit *comment() const { return m_viewer->findChild<QTextEdit *>(u"comment"_s); }
    QLabel *title() const { return m_viewer->findChild<QLabel *>(u"comment title"_s); }
    QDomElement item(const char *tag) const;
    QString commentOf(const char *tag) const
    {
        return QAVmrViewer::childText(QStringLiteral("COMMENT"), item(tag));
    }

    std::unique_ptr<QTemporaryDir> m_home;
    QDomDocument m_doc;
    QDomElement m_page;
    std::unique_ptr<QWidget> m_window;
    QAVmrDocBrowser *m_browser = nullptr;
    QAItemViewer *m_viewer = nullptr;
};

void TestItemViewer::initTestCase() { m_home = VmrTest::privateHome(); }
void TestItemViewer::init() { load(QLatin1String(page)); }
void TestItemViewer::cleanup() { m_window.reset(); }

void TestItemViewer::load(const QString &xml)
{
    m_window.reset();
    m_doc = QDomDocument();
    QVERIFY(m_doc.setContent(xml));
    m_page = m_doc.documentElement();
    m_window = std::make_unique<QWidget>();
    m_window->resize(600, 700);
    auto *layout = new QVBoxLayout(m_window.get());
    m_browser = new QAVmrDocBrowser(m_window.get());
    m_browser->setHtml(referencePage());
    layout->addWidget(m_browser);
    m_viewer = new QAItemViewer(m_page, m_window.get(), m_browser);
    layout->addWidget(m_viewer);
    m_window->show();
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    m_viewer->showPage();
}

QList<QWidget *> TestItemViewer::fields() const
{
    QList<QWidget *> result;
    auto *box = m_viewer->findChild<QWidget *>(QStringLiteral("items"));
    if (!box || !box->layout())
        return result;
    for (int i = 0; i < box->layout()->count(); ++i) {
        if (QWidget *w = box->layout()->itemAt(i)->widget())
            result << w;
    }
    return result;
}

QDomElement TestItemViewer::item(const char *tag) const
{
    return m_doc.elementsByTagName(QLatin1String(tag)).item(0).toElement();
}

void TestItemViewer::fieldForEachItemTag_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QString>("field");
    QTest::newRow("text macro") << "TEXT_MACRO" << "QATextMacro";
    QTest::newRow("Ada type") << "TYPEADA" << "QATextMacro";
    QTest::newRow("Ada constant") << "CONSTANTADA" << "QATextMacro";
    QTest::newRow("Ada string constant") << "CONSTANTSTRINGADA" << "QATextMacro";
    QTest::newRow("binary macro") << "BINARY_MACRO" << "QABinaryMacro";
    QTest::newRow("Ada renaming") << "RENAMEADA" << "QABinaryMacro";
    QTest::newRow("optional macro") << "OPTIONAL_MACRO" << "QAOptionnalMacro";
    QTest::newRow("unknown tag") << "CHOICE" << "";
}

void TestItemViewer::fieldForEachItemTag()
{
    QFETCH(QString, tag);
    QFETCH(QString, field);
    load(QStringLiteral("<TYPES Label=\"Types\"><COMMENT/><ITEM><%1 Name=\"N\"><COMMENT/>"
                        "<VALUE>v</VALUE></%1></ITEM></TYPES>")
             .arg(tag));
    QCOMPARE(fieldClasses(), field);
}

void TestItemViewer::fieldsFollowDocumentOrder()
{
    // The page's COMMENT, the unknown item and the empty ITEM get no field.
    QCOMPARE(fieldClasses(), u"QABinaryMacro QATextMacro QAOptionnalMacro QABinaryMacro"_s);
    QVERIFY(qobject_cast<QATextMacro *>(fields().at(1))->element() == item("TEXT_MACRO"));
    QCOMPARE(title()->text(), QStringLiteral("Comment for \"Restrictions\" node:"));
    QCOMPARE(comment()->toPlainText(), QStringLiteral("page comment"));
    QVERIFY(!m_viewer->modified);
}

void TestItemViewer::fieldsWriteThrough()
{
    auto *text = qobject_cast<QATextMacro *>(fields().at(1));
    QVERIFY(text);
    text->lineEdit()->end(false);
    QTest::keyClicks(text->lineEdit(), QStringLiteral("2"));
    QCOMPARE(QAVmrViewer::childText(QStringLiteral("VALUE"), item("TEXT_MACRO")),
             QStringLiteral("42"));
    QVERIFY(m_viewer->modified);
    QTest::keyClick(text->lineEdit(), Qt::Key_Backspace);
    QTest::keyClick(text->lineEdit(), Qt::Key_Backspace);
    QCOMPARE(QAVmrViewer::childText(QStringLiteral("VALUE"), item("TEXT_MACRO")), QString());

    m_viewer->modified = false;
    auto *rename = qobject_cast<QABinaryMacro *>(fields().at(0));
    QVERIFY(!rename->checkBox()->isChecked());
    QTest::mouseClick(rename->checkBox(), Qt::LeftButton);
    QCOMPARE(item("RENAMEADA").attribute(QStringLiteral("Value")), QStringLiteral("1"));
    QVERIFY(m_viewer->modified);
    QCOMPARE(title()->text(), QStringLiteral("Comment for \"USR_RENAME\" item:"));

    m_viewer->modified = false;
    auto *optional = qobject_cast<QAOptionnalMacro *>(fields().at(2));
    QVERIFY(!optional->lineEdit()->isEnabled());
    QTest::mouseClick(optional->checkBox(), Qt::LeftButton);
    QCOMPARE(item("OPTIONAL_MACRO").attribute(QStringLiteral("Defined")), QStringLiteral("1"));
    QVERIFY(m_viewer->modified);
    QTest::mouseClick(optional->lineEdit(), Qt::LeftButton);
    optional->lineEdit()->selectAll();
    QTest::keyClicks(optional->lineEdit(), QStringLiteral("double"));
    QCOMPARE(item("OPTIONAL_MACRO").attribute(QStringLiteral("Value")), QStringLiteral("double"));
    QCOMPARE(title()->text(), QStringLiteral("Comment for \"USR_LONG\" item:"));
    // The comments stayed where they were.
    QCOMPARE(commentOf("TEXT_MACRO"), QStringLiteral("size comment"));
    QCOMPARE(commentOf("RESTRICTIONS"), QStringLiteral("page comment"));
}

void TestItemViewer::commentFollowsEntry_data()
{
    QTest::addColumn<QString>("enter");
    QTest::addColumn<QString>("heading");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("owner");  // whose COMMENT the pane then writes
    QTest::addColumn<bool>("scrolled"); // the reference pane left the page's anchor
    QTest::newRow("text field") << "text" << "Comment for \"USR_SIZE\" item:"
                                << "size comment" << "TEXT_MACRO" << true;
    QTest::newRow("tab to next field") << "tab" << "Comment for \"USR_LONG\" item:"
                                       << "long comment" << "OPTIONAL_MACRO" << true;
    // A field without a COMMENT gains one.
    QTest::newRow("field without comment") << "bare" << "Comment for \"USR_NOCOMMENT\" item:"
                                           << "" << "BINARY_MACRO" << true;
    QTest::newRow("page again") << "page" << "Comment for \"Restrictions\" node:"
                                << "page comment" << "RESTRICTIONS" << false;
}

void TestItemViewer::commentFollowsEntry()
{
    QFETCH(QString, enter);
    QFETCH(QString, heading);
    QFETCH(QString, shown);
    QFETCH(QString, owner);
    QFETCH(bool, scrolled);
    const QString before = m_doc.toString();
    const int pageTop = m_browser->verticalScrollBar()->value();
    auto *text = qobject_cast<QATextMacro *>(fields().at(1));
    QTest::mouseClick(text->lineEdit(), Qt::LeftButton);
    QVERIFY(m_browser->verticalScrollBar()->value() > pageTop + 100); // the item's anchor
    if (enter == QLatin1String("tab"))
        qobject_cast<QAOptionnalMacro *>(fields().at(2))->checkBox()->setFocus(Qt::TabFocusReason);
    else if (enter == QLatin1String("bare"))
        qobject_cast<QABinaryMacro *>(fields().at(3))->checkBox()->setFocus(Qt::MouseFocusReason);
    else if (enter == QLatin1String("page"))
        m_viewer->showPage();
    QCOMPARE(title()->text(), heading);
    QCOMPARE(comment()->toPlainText(), shown);
    if (scrolled)
        QVERIFY(m_browser->verticalScrollBar()->value() != pageTop);
    else
        QCOMPARE(m_browser->verticalScrollBar()->value(), pageTop);
    // Showing another element's comment is not an edit.
    QCOMPARE(m_doc.toString(), before);
    QVERIFY(!m_viewer->modified);

    comment()->moveCursor(QTextCursor::End);
    QTest::keyClicks(comment(), QStringLiteral("!"));
    QVERIFY(m_viewer->modified);
    const QByteArray tag = owner.toLatin1();
    QCOMPARE(commentOf(tag.constData()), shown + QLatin1Char('!'));
    const QList<std::pair<const char *, const char *>> others = {
        {"RESTRICTIONS", "page comment"}, {"RENAMEADA", "rename comment"},
        {"TEXT_MACRO", "size comment"}, {"OPTIONAL_MACRO", "long comment"}};
    for (const auto &[other, words] : others) {
        if (tag != other)
            QCOMPARE(commentOf(other), QString::fromLatin1(words));
    }
    QCOMPARE(item("BINARY_MACRO").attribute(QStringLiteral("Value")), QStringLiteral("1"));
}

QTEST_MAIN(TestItemViewer)
#include "tst_itemviewer.moc"
