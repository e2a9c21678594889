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
    void typing_data();
    void typing();
    void pointsBrowserAtNodePage();

private:
    std::unique_ptr<QTemporaryDir> m_home;
};

void TestCommentViewer::title_data()
{
    QTest::addColumn<QString>("xml");
    QTest::addColumn<QString>("title");
    QTest::newRow("root") << "<VMR Name=\"port\"/>" << "Comment for the root node";
    QTest::newRow("root label") << "<VMR Name=\"p\" Label=\"Port\"/>"
                                << "Comment for \"Port\" node";
    QTest::newRow("label") << "<IS Label=\"Tables\" Name=\"n\"/>" << "Comment for \"Tables\" node";
    QTest::newRow("name") << "<NEWBINFILE Name=\"logo.bin\"/>" << "Comment for \"logo.bin\" node";
    QTest::newRow("empty name") << "<BUILD/>" << "Comment for \"\" node";
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

void TestCommentViewer::typing_data()
{
    QTest::addColumn<QString>("xml");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("after"); // document once "!" and "\nmore" are typed
    QTest::newRow("multi-line") << "<VMR Name=\"p\"><COMMENT>line 1\nline 2</COMMENT>"
                                   "<IS Label=\"x\"/></VMR>"
                                << "line 1\nline 2" << "<VMR Name=\"p\"><COMMENT>line 1\n"
                                   "line 2!\nmore</COMMENT><IS Label=\"x\"/></VMR>";
    // Only the first COMMENT is the node's comment.
    QTest::newRow("two comments")
        << "<BUILD Label=\"Build\"><COMMENT>old</COMMENT><COMMENT>second</COMMENT></BUILD>"
        << "old" << "<BUILD Label=\"Build\"><COMMENT>old!\nmore</COMMENT>"
                    "<COMMENT>second</COMMENT></BUILD>";
    QTest::newRow("empty comment") << "<IS Label=\"S\"><COMMENT/></IS>" << ""
                                   << "<IS Label=\"S\"><COMMENT>!\nmore</COMMENT></IS>";
    QTest::newRow("missing comment")
        << "<LIBCONF Label=\"L\"><LIBCONFC/></LIBCONF>" << ""
        << "<LIBCONF Label=\"L\"><LIBCONFC/><COMMENT>!\nmore</COMMENT></LIBCONF>";
    QTest::newRow("markup stays text")
        << "<IS Label=\"S\"><COMMENT>a &lt;b&gt; &amp;&amp; c</COMMENT></IS>"
        << "a <b> && c" << "<IS Label=\"S\"><COMMENT>a &lt;b> &amp;&amp; c!\nmore"
                           "</COMMENT></IS>";
}

void TestCommentViewer::typing()
{
    QFETCH(QString, xml);
    QFETCH(QString, shown);
    QFETCH(QString, after);
    QDomDocument doc = parse(xml);
    QDomElement e = doc.documentElement();
    QACommentViewer viewer(e, nullptr, nullptr);
    QTextEdit *editor = viewer.commentEditor();
    QCOMPARE(editor->toPlainText(), shown);
    viewer.showPage();
    // Showing writes nothing.
    QVERIFY(!viewer.modified);
    QCOMPARE(doc.toString(-1), parse(xml).toString(-1));

    editor->moveCursor(QTextCursor::End);
    QTest::keyClicks(editor, QStringLiteral("!"));
    QVERIFY(viewer.modified);
    QCOMPARE(commentOf(e), shown + QLatin1Char('!'));
    QTest::keyClick(editor, Qt::Key_Return);
    QTest::keyClicks(editor, QStringLiteral("more"));
    QCOMPARE(doc.toString(-1), after);
    // The comment holds one text node, also once emptied.
    const QDomElement comment = e.firstChildElement(QStringLiteral("COMMENT"));
    QCOMPARE(comment.childNodes().count(), 1);
    QVERIFY(comment.firstChild().isText());
    editor->clear();
    QCOMPARE(commentOf(e), QString());
    QCOMPARE(comment.childNodes().count(), 1);
}

void TestCommentViewer::pointsBrowserAtNodePage()
{
    QAVmrDocBrowser browser;
    browser.resize(300, 200);
    QString html;
    for (int i = 0; i < 400; ++i)
        html += i == 200 ? QStringLiteral("<p><a name=\"BUILDDOC\">Build</a></p>")
                         : QStringLiteral("<p>filler %1</p>").arg(i);
    browser.setHtml(html);
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));
    QScrollBar *bar = browser.verticalScrollBar();

    QDomDocument doc =
        parse(QStringLiteral("<BUILD Label=\"B\" Doc=\"BUILDDOC\"><COMMENT/></BUILD>"));
    QDomElement e = doc.documentElement();
    QACommentViewer viewer(e, nullptr, &browser);
    QTRY_VERIFY(bar->value() > 0);
    bar->setValue(0);
    viewer.showPage();
    QTRY_VERIFY(bar->value() > 0);

    // A node without a page leaves the pane where it is.
    const int kept = bar->value();
    QDomDocument other = parse(QStringLiteral("<IS Label=\"I\"><COMMENT/></IS>"));
    QDomElement o = other.documentElement();
    QACommentViewer second(o, nullptr, &browser);
    QCOMPARE(bar->value(), kept);
}

QTEST_MAIN(TestCommentViewer)
#include "tst_commentviewer.moc"
