// The comment viewer of the root and grouping nodes: its title, and comments typed
// straight into the document.

#include "testutil.h"
#include "viewers/qacommentviewer.h"
#include "viewers/qavmrdocbrowser.h"

#include <QDomDocument>
#include <QLabel>
#include <QScrollBar>
#include <QTextEdit>

namespace {

QDomDocument parse(const QString &xml)
{
    QDomDocument doc;
    if (!doc.setContent(xml))
        qFatal("bad test document");
    return doc;
}

QString commentOf(const QDomElement &e)
{
    return QAVmrViewer::childText(QStringLiteral("COMMENT"), e);
}

} // namespace

class TestCommentViewer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_home = VmrTest::privateHome(); }

    void title_data();
    void title();
    void showsCommentWithoutWriting();
    void typingRewritesWholeComment();
    void emptyCommentGainsText();
    void missingCommentIsCreated();
    void commentMarkupStaysText();
    void pointsBrowserAtNodePage();

private:
    std::unique_ptr<QTemporaryDir> m_home;
};

void TestCommentViewer::title_data()
{
    QTest::addColumn<QString>("xml");
    QTest::addColumn<QString>("title");
    QTest::newRow("root") << "<VMR Name=\"port\"><COMMENT/></VMR>"
                          << "Comment for the root node";
    QTest::newRow("root with label") << "<VMR Name=\"port\" Label=\"Port\"/>"
                                     << "Comment for \"Port\" node";
    QTest::newRow("label") << "<IS Label=\"Settings tables\" Name=\"n\"/>"
                           << "Comment for \"Settings tables\" node";
    QTest::newRow("name") << "<NEWBINFILE Name=\"logo.bin\"/>"
                          << "Comment for \"logo.bin\" node";
    QTest::newRow("empty name") << "<BUILD/>"
                                << "Comment for \"\" node";
}

void TestCommentViewer::title()
{
    QFETCH(QString, xml);
    QFETCH(QString, title);
    QDomDocument doc = parse(xml);
    QDomElement e = doc.documentElement();
    QACommentViewer viewer(e, nullptr, nullptr);
    QCOMPARE(viewer.commentTitle()->text(), title);
    QCOMPARE(viewer.commentTitle()->buddy(), viewer.commentEditor());
}

void TestCommentViewer::showsCommentWithoutWriting()
{
    QDomDocument doc = parse(QStringLiteral(
        "<VMR Name=\"p\"><COMMENT>line 1\nline 2</COMMENT><IS Label=\"x\"/></VMR>"));
    const QString before = doc.toString(-1);
    QDomElement e = doc.documentElement();
    QACommentViewer viewer(e, nullptr, nullptr);
    QCOMPARE(viewer.commentEditor()->toPlainText(), QStringLiteral("line 1\nline 2"));
    QVERIFY(!viewer.modified);
    viewer.showPage();
    QVERIFY(!viewer.modified);
    QCOMPARE(doc.toString(-1), before);
}

void TestCommentViewer::typingRewritesWholeComment()
{
    QDomDocument doc = parse(QStringLiteral(
        "<BUILD Label=\"Build\"><COMMENT>old</COMMENT><COMMENT>second</COMMENT></BUILD>"));
    QDomElement e = doc.documentElement();
    QACommentViewer viewer(e, nullptr, nullptr);
    viewer.commentEditor()->moveCursor(QTextCursor::End);
    QTest::keyClicks(viewer.commentEditor(), QStringLiteral("!"));
    QVERIFY(viewer.modified);
    QCOMPARE(commentOf(e), QStringLiteral("old!"));
    QTest::keyClick(viewer.commentEditor(), Qt::Key_Return);
    QTest::keyClicks(viewer.commentEditor(), QStringLiteral("more"));
    QCOMPARE(commentOf(e), QStringLiteral("old!\nmore"));
    // Only the first COMMENT is the node's comment.
    QCOMPARE(e.lastChildElement().text(), QStringLiteral("second"));
    QCOMPARE(e.childNodes().count(), 2);
}

void TestCommentViewer::emptyCommentGainsText()
{
    QDomDocument doc = parse(QStringLiteral("<IS Label=\"S\"><COMMENT/></IS>"));
    QDomElement e = doc.documentElement();
    QACommentViewer viewer(e, nullptr, nullptr);
    QTest::keyClicks(viewer.commentEditor(), QStringLiteral("ab"));
    const QDomElement comment = e.firstChildElement(QStringLiteral("COMMENT"));
    QCOMPARE(comment.childNodes().count(), 1);
    QVERIFY(comment.firstChild().isText());
    QCOMPARE(commentOf(e), QStringLiteral("ab"));
    viewer.commentEditor()->clear();
    QCOMPARE(commentOf(e), QString());
    QCOMPARE(comment.childNodes().count(), 1);
}

void TestCommentViewer::missingCommentIsCreated()
{
    QDomDocument doc = parse(QStringLiteral("<LIBCONF Label=\"L\"><LIBCONFC/></LIBCONF>"));
    QDomElement e = doc.documentElement();
    QACommentViewer viewer(e, nullptr, nullptr);
    QCOMPARE(viewer.commentEditor()->toPlainText(), QString());
    QTest::keyClicks(viewer.commentEditor(), QStringLiteral("kept"));
    QCOMPARE(commentOf(e), QStringLiteral("kept"));
    QCOMPARE(e.elementsByTagName(QStringLiteral("COMMENT")).count(), 1);
    QCOMPARE(e.firstChildElement().tagName(), QStringLiteral("LIBCONFC"));
}

void TestCommentViewer::commentMarkupStaysText()
{
    QDomDocument doc = parse(QStringLiteral(
        "<IS Label=\"S\"><COMMENT>use &lt;b&gt; when a &lt; b &amp;&amp; c</COMMENT></IS>"));
    QDomElement e = doc.documentElement();
    QACommentViewer viewer(e, nullptr, nullptr);
    QCOMPARE(viewer.commentEditor()->toPlainText(), QStringLiteral("use <b> when a < b && c"));
    viewer.commentEditor()->moveCursor(QTextCursor::End);
    QTest::keyClicks(viewer.commentEditor(), QStringLiteral("."));
    QCOMPARE(commentOf(e), QStringLiteral("use <b> when a < b && c."));
}

void TestCommentViewer::pointsBrowserAtNodePage()
{
    QAVmrDocBrowser browser;
    browser.resize(300, 200);
    QString html;
    for (int i = 0; i < 200; ++i)
        html += QStringLiteral("<p>filler %1</p>").arg(i);
    html += QStringLiteral("<p><a name=\"BUILDDOC\">Build</a></p>");
    for (int i = 0; i < 200; ++i)
        html += QStringLiteral("<p>more %1</p>").arg(i);
    browser.setHtml(html);
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));

    QDomDocument doc =
        parse(QStringLiteral("<BUILD Label=\"B\" Doc=\"BUILDDOC\"><COMMENT/></BUILD>"));
    QDomElement e = doc.documentElement();
    QACommentViewer viewer(e, nullptr, &browser);
    QTRY_VERIFY(browser.verticalScrollBar()->value() > 0);
    browser.verticalScrollBar()->setValue(0);
    viewer.showPage();
    QTRY_VERIFY(browser.verticalScrollBar()->value() > 0);

    // A node without a page leaves the pane where it is.
    const int kept = browser.verticalScrollBar()->value();
    QDomDocument other = parse(QStringLiteral("<IS Label=\"I\"><COMMENT/></IS>"));
    QDomElement o = other.documentElement();
    QACommentViewer second(o, nullptr, &browser);
    QCOMPARE(browser.verticalScrollBar()->value(), kept);
}

QTEST_MAIN(TestCommentViewer)
#include "tst_commentviewer.moc"
