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

    void editing_data();
    void editing();
    void gotoLineCountsFromFour();
    void showPageScrollsBack();

private:
    std::unique_ptr<QTemporaryDir> m_home;
};

void TestFctViewer::editing_data()
{
    QTest::addColumn<QString>("xml");
    QTest::addColumn<QString>("used"); // the container whose body is shown; none: read-only
    QTest::addColumn<QString>("proto");
    QTest::addColumn<QString>("tail");
    QTest::addColumn<QString>("heading");
    const QString open = QStringLiteral("<PRIV_OPEN Label=\"Open\"><COMMENT/>%1</PRIV_OPEN>");
    const QString plain =
        QStringLiteral("<VALUEFCT><PROTO>p</PROTO><VALUE>plain</VALUE><TAIL/></VALUEFCT>");
    QTest::newRow("build step") << perlStep() << "VALUEFCTPERL" << "sub compile {" << "}"
                                << "Comment for \"Compilation\" node ";
    QTest::newRow("perl wins over plain")
        << open.arg(plain
                    + QStringLiteral("<VALUEFCTPERL><PROTO>p</PROTO><VALUE>perl</VALUE><TAIL/>"
                                     "</VALUEFCTPERL>"))
        << "VALUEFCTPERL" << "p" << "" << "Comment for \"Open\" node ";
    QTest::newRow("ada wins over plain")
        << open.arg(plain
                    + QStringLiteral("<VALUEFCTADA><PROTO>p</PROTO><VALUE>ada</VALUE>"
                                     "<TAIL>end;</TAIL></VALUEFCTADA>"))
        << "VALUEFCTADA" << "p" << "end;" << "Comment for \"Open\" node ";
    QTest::newRow("plain alone") << open.arg(plain) << "VALUEFCT" << "p" << ""
                                 << "Comment for \"Open\" node ";
    // Code is shown as written, not as markup.
    QTest::newRow("markup in code")
        << "<PRIV_CLOCK Label=\"Clock\"><COMMENT/><VALUEFCT>"
           "<PROTO>template &lt;class T&gt; long clk(T &amp;t) {</PROTO><VALUE/>"
           "<TAIL>} /* &lt;b&gt;end&lt;/b&gt; */</TAIL></VALUEFCT></PRIV_CLOCK>"
        << "VALUEFCT" << "template <class T> long clk(T &t) {" << "} /* <b>end</b> */"
        << "Comment for \"Clock\" node ";
    QTest::newRow("body without VALUE")
        << "<EXECUTE Label=\"Run\"><COMMENT/><VALUEFCTPERL><PROTO>sub run {</PROTO>"
           "<TAIL>}</TAIL></VALUEFCTPERL></EXECUTE>"
        << "VALUEFCTPERL" << "sub run {" << "}" << "Comment for \"Run\" node ";
    QTest::newRow("no function") << "<LINK Label=\"Link\"><COMMENT/></LINK>" << "" << ""
                                 << "" << "Comment for \"Link\" node ";
}

void TestFctViewer::editing()
{
    QFETCH(QString, xml);
    QFETCH(QString, used);
    QFETCH(QString, proto);
    QFETCH(QString, tail);
    QFETCH(QString, heading);
    QDomDocument doc = parse(xml);
    QDomElement e = doc.documentElement();
    const QString before = doc.toString(-1);
    const QString comment = QAVmrViewer::childText(QStringLiteral("COMMENT"), e);
    const QString body = used.isEmpty() ? QString() : bodyOf(e, used);
    QAFctViewer viewer(e, nullptr, nullptr);
    QAVmrTextEdit *editor = viewer.valueEditor();
    QCOMPARE(viewer.protoLabel()->text(), proto);
    QCOMPARE(editor->toPlainText(), body);
    QCOMPARE(viewer.tailLabel()->text(), tail);
    QCOMPARE(viewer.commentEditor()->toPlainText(), comment);
    QCOMPARE(viewer.commentTitle()->text(), heading);
    QCOMPARE(viewer.commentTitle()->buddy(), viewer.commentEditor());
    for (QLabel *fixed : {viewer.protoLabel(), viewer.tailLabel()}) {
        QCOMPARE(fixed->textFormat(), Qt::PlainText);
        QVERIFY(!(fixed->textInteractionFlags() & Qt::TextEditable));
        QTest::keyClicks(fixed, QStringLiteral("zz"));
    }
    QVERIFY(!viewer.modified);
    QCOMPARE(doc.toString(-1), before);

    editor->moveCursor(QTextCursor::Start);
    QTest::keyClicks(editor, QStringLiteral("#"));
    if (used.isEmpty()) {
        QVERIFY(editor->isReadOnly());
        QVERIFY(editor->toPlainText().isEmpty());
        QVERIFY(!viewer.modified);
        QCOMPARE(doc.toString(-1), before);
    } else {
        QVERIFY(viewer.modified);
        QCOMPARE(bodyOf(e, used), QLatin1Char('#') + body);
        QCOMPARE(QAVmrViewer::childText(QStringLiteral("PROTO"), e.firstChildElement(used)),
                 proto);
        // The other containers are left alone.
        const QDomElement plain = e.firstChildElement(QStringLiteral("VALUEFCT"));
        if (used != QLatin1String("VALUEFCT") && !plain.isNull())
            QCOMPARE(bodyOf(e, QStringLiteral("VALUEFCT")), QStringLiteral("plain"));
    }
    QCOMPARE(QAVmrViewer::childText(QStringLiteral("COMMENT"), e), comment);

    // The comment can always be written.
    viewer.commentEditor()->selectAll();
    QTest::keyClicks(viewer.commentEditor(), QStringLiteral("new"));
    QCOMPARE(QAVmrViewer::childText(QStringLiteral("COMMENT"), e), QStringLiteral("new"));
    QVERIFY(viewer.modified);
    if (!used.isEmpty())
        QCOMPARE(bodyOf(e, used), QLatin1Char('#') + body);
}

void TestFctViewer::gotoLineCountsFromFour()
{
    QDomDocument doc = parse(perlStep());
    QDomElement e = doc.documentElement();
    QAFctViewer viewer(e, nullptr, nullptr);
    viewer.show();
    QList<int> offered;
    VmrTest::onNextModal([&offered](QWidget *w) {
        auto *dialog = qobject_cast<QInputDialog *>(w);
        if (!dialog) {
            if (auto *other = qobject_cast<QDialog *>(w))
                other->reject();
            return;
        }
        offered = {dialog->intMinimum(), dialog->intMaximum()};
        dialog->setIntValue(5);
        dialog->accept();
    });
    std::unique_ptr<QMenu> menu(viewer.valueEditor()->createPopupMenu(QPoint(1, 1)));
    menu->actions().last()->trigger();
    QCOMPARE(offered, (QList<int>{4, 5}));
    QCOMPARE(viewer.valueEditor()->textCursor().blockNumber(), 1);
    QCOMPARE(viewer.valueEditor()->textCursor().positionInBlock(), 1);
    QVERIFY(!viewer.modified);
}

void TestFctViewer::showPageScrollsBack()
{
    QAVmrDocBrowser browser;
    browser.resize(300, 200);
    QString html;
    for (int i = 0; i < 400; ++i)
        html += i == 200 ? QStringLiteral("<p><a name=\"COMPDOC\">Compilation</a></p>")
                         : QStringLiteral("<p>filler %1</p>").arg(i);
    browser.setHtml(html);
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));

    QDomDocument doc = parse(perlStep());
    QDomElement e = doc.documentElement();
    QAFctViewer viewer(e, nullptr, &browser);
    QScrollBar *bar = browser.verticalScrollBar();
    QTRY_VERIFY(bar->value() > 0);
    const int atAnchor = bar->value();
    bar->setValue(0);
    viewer.showPage();
    QTRY_COMPARE(bar->value(), atAnchor);
}

QTEST_MAIN(TestFctViewer)
#include "tst_fctviewer.moc"
