// The function viewer of build steps and private functions: fixed prototype and tail,
// an editable body written through at every keystroke, and the comment.

#include "testutil.h"
#include "viewers/qafctviewer.h"
#include "viewers/qavmrdocbrowser.h"
#include "viewers/qavmrtextedit.h"

#include <QDomDocument>
#include <QInputDialog>
#include <QLabel>
#include <QMenu>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>

namespace {

QDomDocument parse(const QString &xml)
{
    QDomDocument doc;
    if (!doc.setContent(xml))
        qFatal("bad test document");
    return doc;
}

QString bodyOf(const QDomElement &function, const QString &container)
{
    return QAVmrViewer::childText(QStringLiteral("VALUE"),
                                  function.firstChildElement(container));
}

QString perlStep()
{
    return QStringLiteral(
        "<COMPILATION Label=\"Compilation\" Doc=\"COMPDOC\">"
        "<COMMENT>compiles one file</COMMENT>"
        "<VALUEFCTPERL><PROTO>sub compile {</PROTO><VALUE>my $x = 1;\nreturn $x;</VALUE>"
        "<TAIL>}</TAIL></VALUEFCTPERL></COMPILATION>");
}

} // namespace

class TestFctViewer : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_home = VmrTest::privateHome(); }

    void showsPrototypeBodyTailAndComment();
    void containerOrder_data();
    void containerOrder();
    void typingBodyWritesThrough();
    void prototypeAndTailAreFixed();
    void commentWritesThrough();
    void withoutContainerBodyIsReadOnly();
    void bodyWithoutValueIsKept();
    void gotoLineCountsFromFour();
    void showPageScrollsBack();

private:
    std::unique_ptr<QTemporaryDir> m_home;
};

void TestFctViewer::showsPrototypeBodyTailAndComment()
{
    QDomDocument doc = parse(perlStep());
    QDomElement e = doc.documentElement();
    const QString before = doc.toString(-1);
    QAFctViewer viewer(e, nullptr, nullptr);
    QCOMPARE(viewer.protoLabel()->text(), QStringLiteral("sub compile {"));
    QCOMPARE(viewer.valueEditor()->toPlainText(), QStringLiteral("my $x = 1;\nreturn $x;"));
    QCOMPARE(viewer.tailLabel()->text(), QStringLiteral("}"));
    QCOMPARE(viewer.commentEditor()->toPlainText(), QStringLiteral("compiles one file"));
    QCOMPARE(viewer.commentTitle()->text(), QStringLiteral("Comment for \"Compilation\" node "));
    QCOMPARE(viewer.commentTitle()->buddy(), viewer.commentEditor());
    QCOMPARE(viewer.valueEditor()->lineOffset(), 3);
    QVERIFY(!viewer.modified);
    QCOMPARE(doc.toString(-1), before);
}

void TestFctViewer::containerOrder_data()
{
    QTest::addColumn<QString>("children");
    QTest::addColumn<QString>("used");
    QTest::newRow("perl wins over plain")
        << "<VALUEFCT><PROTO>p</PROTO><VALUE>plain</VALUE><TAIL/></VALUEFCT>"
           "<VALUEFCTPERL><PROTO>p</PROTO><VALUE>perl</VALUE><TAIL/></VALUEFCTPERL>"
        << "VALUEFCTPERL";
    QTest::newRow("ada wins over plain")
        << "<VALUEFCT><PROTO>p</PROTO><VALUE>plain</VALUE><TAIL/></VALUEFCT>"
           "<VALUEFCTADA><PROTO>p</PROTO><VALUE>ada</VALUE><TAIL/></VALUEFCTADA>"
        << "VALUEFCTADA";
    QTest::newRow("plain alone") << "<VALUEFCT><PROTO>p</PROTO><VALUE>plain</VALUE></VALUEFCT>"
                                 << "VALUEFCT";
}

void TestFctViewer::containerOrder()
{
    QFETCH(QString, children);
    QFETCH(QString, used);
    QDomDocument doc = parse(QStringLiteral("<PRIV_OPEN Label=\"Open\"><COMMENT/>") + children
                             + QStringLiteral("</PRIV_OPEN>"));
    QDomElement e = doc.documentElement();
    QAFctViewer viewer(e, nullptr, nullptr);
    const QString shown = bodyOf(e, used);
    QCOMPARE(viewer.valueEditor()->toPlainText(), shown);
    viewer.valueEditor()->moveCursor(QTextCursor::End);
    QTest::keyClicks(viewer.valueEditor(), QStringLiteral("X"));
    QCOMPARE(bodyOf(e, used), shown + QStringLiteral("X"));
    // The other containers are left alone.
    const bool plainToo = !e.firstChildElement(QStringLiteral("VALUEFCT")).isNull();
    if (used != QLatin1String("VALUEFCT") && plainToo)
        QCOMPARE(bodyOf(e, QStringLiteral("VALUEFCT")), QStringLiteral("plain"));
}

void TestFctViewer::typingBodyWritesThrough()
{
    QDomDocument doc = parse(perlStep());
    QDomElement e = doc.documentElement();
    QAFctViewer viewer(e, nullptr, nullptr);
    QTextCursor cursor = viewer.valueEditor()->textCursor();
    cursor.movePosition(QTextCursor::Start);
    viewer.valueEditor()->setTextCursor(cursor);
    QTest::keyClicks(viewer.valueEditor(), QStringLiteral("#"));
    QVERIFY(viewer.modified);
    QCOMPARE(bodyOf(e, QStringLiteral("VALUEFCTPERL")),
             QStringLiteral("#my $x = 1;\nreturn $x;"));
    QCOMPARE(QAVmrViewer::childText(QStringLiteral("COMMENT"), e),
             QStringLiteral("compiles one file"));
}

void TestFctViewer::prototypeAndTailAreFixed()
{
    QDomDocument doc = parse(QStringLiteral(
        "<PRIV_CLOCK Label=\"Clock\"><COMMENT/><VALUEFCT>"
        "<PROTO>template &lt;class T&gt; long clk(T &amp;t) {</PROTO><VALUE/>"
        "<TAIL>} /* &lt;b&gt;end&lt;/b&gt; */</TAIL></VALUEFCT></PRIV_CLOCK>"));
    QDomElement e = doc.documentElement();
    QAFctViewer viewer(e, nullptr, nullptr);
    // Code is shown as written, not as markup.
    QCOMPARE(viewer.protoLabel()->text(), QStringLiteral("template <class T> long clk(T &t) {"));
    QCOMPARE(viewer.protoLabel()->textFormat(), Qt::PlainText);
    QCOMPARE(viewer.tailLabel()->textFormat(), Qt::PlainText);
    QVERIFY(!(viewer.protoLabel()->textInteractionFlags() & Qt::TextEditable));
    QVERIFY(!(viewer.tailLabel()->textInteractionFlags() & Qt::TextEditable));
    QTest::keyClicks(viewer.protoLabel(), QStringLiteral("zz"));
    QCOMPARE(QAVmrViewer::childText(QStringLiteral("PROTO"),
                                    e.firstChildElement(QStringLiteral("VALUEFCT"))),
             QStringLiteral("template <class T> long clk(T &t) {"));
    QVERIFY(!viewer.modified);
}

void TestFctViewer::commentWritesThrough()
{
    QDomDocument doc = parse(perlStep());
    QDomElement e = doc.documentElement();
    QAFctViewer viewer(e, nullptr, nullptr);
    QCOMPARE(viewer.commentEditor()->maximumHeight(), 60);
    viewer.commentEditor()->selectAll();
    QTest::keyClicks(viewer.commentEditor(), QStringLiteral("new"));
    QCOMPARE(QAVmrViewer::childText(QStringLiteral("COMMENT"), e), QStringLiteral("new"));
    QVERIFY(viewer.modified);
    QCOMPARE(bodyOf(e, QStringLiteral("VALUEFCTPERL")), QStringLiteral("my $x = 1;\nreturn $x;"));
}

void TestFctViewer::withoutContainerBodyIsReadOnly()
{
    QDomDocument doc = parse(QStringLiteral("<LINK Label=\"Link\"><COMMENT/></LINK>"));
    QDomElement e = doc.documentElement();
    const QString before = doc.toString(-1);
    QAFctViewer viewer(e, nullptr, nullptr);
    QVERIFY(viewer.protoLabel()->text().isEmpty());
    QVERIFY(viewer.tailLabel()->text().isEmpty());
    QVERIFY(viewer.valueEditor()->isReadOnly());
    QTest::keyClicks(viewer.valueEditor(), QStringLiteral("lost?"));
    QVERIFY(viewer.valueEditor()->toPlainText().isEmpty());
    QVERIFY(!viewer.modified);
    QCOMPARE(doc.toString(-1), before);
    // The comment can still be written.
    QTest::keyClicks(viewer.commentEditor(), QStringLiteral("c"));
    QCOMPARE(QAVmrViewer::childText(QStringLiteral("COMMENT"), e), QStringLiteral("c"));
}

void TestFctViewer::bodyWithoutValueIsKept()
{
    QDomDocument doc = parse(QStringLiteral(
        "<EXECUTE Label=\"Run\"><COMMENT/><VALUEFCTPERL><PROTO>sub run {</PROTO>"
        "<TAIL>}</TAIL></VALUEFCTPERL></EXECUTE>"));
    QDomElement e = doc.documentElement();
    QAFctViewer viewer(e, nullptr, nullptr);
    QVERIFY(!viewer.valueEditor()->isReadOnly());
    QTest::keyClicks(viewer.valueEditor(), QStringLiteral("exec;"));
    QCOMPARE(bodyOf(e, QStringLiteral("VALUEFCTPERL")), QStringLiteral("exec;"));
    QVERIFY(viewer.modified);
}

void TestFctViewer::gotoLineCountsFromFour()
{
    QDomDocument doc = parse(perlStep());
    QDomElement e = doc.documentElement();
    QAFctViewer viewer(e, nullptr, nullptr);
    viewer.show();
    int minimum = -1;
    int maximum = -1;
    VmrTest::onNextModal([&minimum, &maximum](QWidget *w) {
        auto *dialog = qobject_cast<QInputDialog *>(w);
        if (!dialog) {
            if (auto *other = qobject_cast<QDialog *>(w))
                other->reject();
            return;
        }
        minimum = dialog->intMinimum();
        maximum = dialog->intMaximum();
        dialog->setIntValue(5);
        dialog->accept();
    });
    std::unique_ptr<QMenu> menu(viewer.valueEditor()->createPopupMenu(QPoint(1, 1)));
    menu->actions().last()->trigger();
    QCOMPARE(minimum, 4);
    QCOMPARE(maximum, 5);
    QCOMPARE(viewer.valueEditor()->textCursor().blockNumber(), 1);
    QCOMPARE(viewer.valueEditor()->textCursor().positionInBlock(), 1);
    QVERIFY(!viewer.modified);
}

void TestFctViewer::showPageScrollsBack()
{
    QAVmrDocBrowser browser;
    browser.resize(300, 200);
    QString html;
    for (int i = 0; i < 200; ++i)
        html += QStringLiteral("<p>filler %1</p>").arg(i);
    html += QStringLiteral("<p><a name=\"COMPDOC\">Compilation</a></p>");
    for (int i = 0; i < 200; ++i)
        html += QStringLiteral("<p>more %1</p>").arg(i);
    browser.setHtml(html);
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));

    QDomDocument doc = parse(perlStep());
    QDomElement e = doc.documentElement();
    QAFctViewer viewer(e, nullptr, &browser);
    QTRY_VERIFY(browser.verticalScrollBar()->value() > 0);
    const int atAnchor = browser.verticalScrollBar()->value();
    browser.verticalScrollBar()->setValue(0);
    viewer.showPage();
    QTRY_COMPARE(browser.verticalScrollBar()->value(), atAnchor);
}

QTEST_MAIN(TestFctViewer)
#include "tst_fctviewer.moc"
