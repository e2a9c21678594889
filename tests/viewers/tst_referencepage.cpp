// A reference page given to the documentation pane before the pane is first drawn comes
// in right after that first frame. The pane then shows what it would have shown with the
// page read at once: the same text, the anchor last asked for, one history entry; and
// whatever needs the page earlier (anchors, searches, the context menu) gets it at once.

#include "support/qafindrequest.h"
#include "testutil.h"
#include "viewers/qavmrdocbrowser.h"

#include <QMenu>
#include <QScrollBar>

namespace {

QString pageHtml(const QString &title, const QString &word)
{
    QString html = QStringLiteral("<html><head><title>%1</title></head><body>").arg(title);
    for (int i = 0; i < 300; ++i)
        html += i == 120   ? QStringLiteral("<h2><a name=\"CLOCK\">Clock</a></h2>")
                : i == 250 ? QStringLiteral("<p id=\"HEAP\">%1 heap</p>").arg(word)
                           : QStringLiteral("<p>%1 filler %2</p>").arg(word).arg(i);
    return html + QStringLiteral("</body></html>");
}

// Shown and drawn once: from then on a page given to it is read at once.
void showDrawn(QAVmrDocBrowser *browser)
{
    browser->resize(300, 200);
    browser->show();
    QVERIFY(QTest::qWaitForWindowExposed(browser));
    browser->viewport()->repaint();
}

} // namespace

class TestReferencePage : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void comesInOnceDrawn();
    void anchorAskedEarlyIsShown_data();
    void anchorAskedEarlyIsShown();
    void readAtOnceWhenNeeded();
    void laterContentIsKept_data();
    void laterContentIsKept();
    void pageGivenToADrawnPaneIsReadAtOnce();

private:
    QString writePage(const QString &name, const QString &html);

    std::unique_ptr<QTemporaryDir> m_home;
    QUrl m_page;
    QUrl m_other;
    QString m_pageText;
};

QString TestReferencePage::writePage(const QString &name, const QString &html)
{
    const QString path = m_home->filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(html.toUtf8());
    return path;
}

void TestReferencePage::initTestCase()
{
    m_home = VmrTest::privateHome();
    m_page = QUrl::fromLocalFile(
        writePage(QStringLiteral("Reference.html"), pageHtml(QStringLiteral("Ref"), QStringLiteral("alpha"))));
    m_other = QUrl::fromLocalFile(
        writePage(QStringLiteral("Other.html"), pageHtml(QStringLiteral("Other"), QStringLiteral("beta"))));
    QTextDocument reference;
    reference.setHtml(pageHtml(QStringLiteral("Ref"), QStringLiteral("alpha")));
    m_pageText = reference.toPlainText();
    QVERIFY(m_pageText.contains(QStringLiteral("alpha heap")));
}

void TestReferencePage::comesInOnceDrawn()
{
    QAVmrDocBrowser browser;
    browser.setSource(m_page);
    // The pane names its page at once, before it has read it.
    QCOMPARE(browser.source(), m_page);
    showDrawn(&browser);
    QTRY_COMPARE(browser.toPlainText(), m_pageText);
    QCOMPARE(browser.documentTitle(), QStringLiteral("Ref"));
    QCOMPARE(browser.source(), m_page);
    QCOMPARE(browser.verticalScrollBar()->value(), 0);
    // Read once: no second history entry to go back to.
    QVERIFY(!browser.isBackwardAvailable());
}

void TestReferencePage::anchorAskedEarlyIsShown_data()
{
    QTest::addColumn<QStringList>("asked");
    QTest::addColumn<QString>("shown"); // empty: the top of the page
    QTest::newRow("one anchor") << QStringList{QStringLiteral("CLOCK")} << QStringLiteral("CLOCK");
    QTest::newRow("the last one wins")
        << QStringList{QStringLiteral("CLOCK"), QStringLiteral("HEAP")} << QStringLiteral("HEAP");
    QTest::newRow("an unknown name leaves the view")
        << QStringList{QStringLiteral("HEAP"), QStringLiteral("NOSUCH"), QString()}
        << QStringLiteral("HEAP");
    QTest::newRow("unknown names only") << QStringList{QStringLiteral("NOSUCH")} << QString();
}

void TestReferencePage::anchorAskedEarlyIsShown()
{
    // As when a document opened at start shows its first node's page.
    QFETCH(QStringList, asked);
    QFETCH(QString, shown);
    QAVmrDocBrowser browser;
    browser.setSource(m_page);
    for (const QString &anchor : asked)
        browser.scrollToAnchor(anchor);
    showDrawn(&browser);
    QTRY_VERIFY(!browser.pageWaiting());

    QAVmrDocBrowser direct;
    showDrawn(&direct);
    direct.setSource(m_page);
    QCOMPARE(direct.toPlainText(), m_pageText);
    if (!shown.isEmpty())
        direct.scrollToAnchor(shown);
    QTRY_COMPARE(browser.verticalScrollBar()->value(), direct.verticalScrollBar()->value());
    QCOMPARE(browser.verticalScrollBar()->value() > 0, !shown.isEmpty());
}

void TestReferencePage::readAtOnceWhenNeeded()
{
    // Panes never drawn: each question reads the page first.
    QAVmrDocBrowser anchors;
    anchors.setSource(m_page);
    QVERIFY(anchors.hasAnchor(QStringLiteral("HEAP")));
    QVERIFY(!anchors.hasAnchor(QStringLiteral("NOSUCH")));
    QCOMPARE(anchors.toPlainText(), m_pageText);

    QAVmrDocBrowser search;
    search.setSource(m_page);
    QSignalSpy status(&search, &QAVmrDocBrowser::statusMsg);
    QAFindRequest request;
    request.pattern = QStringLiteral("ALPHA HEAP");
    request.caseSensitive = false;
    search.findInDoc(request);
    QCOMPARE(search.textCursor().selectedText(), QStringLiteral("alpha heap"));
    // Found going down, without wrapping round to the top.
    QCOMPARE(status.count(), 0);

    QAVmrDocBrowser menu;
    menu.setSource(m_page);
    std::unique_ptr<QMenu> popup(menu.createPopupMenu(QPoint(1, 1)));
    QCOMPARE(menu.toPlainText(), m_pageText);
}

void TestReferencePage::laterContentIsKept_data()
{
    QTest::addColumn<bool>("anotherPage");
    QTest::newRow("text put into the pane") << false;
    QTest::newRow("another page") << true;
}

void TestReferencePage::laterContentIsKept()
{
    QFETCH(bool, anotherPage);
    QAVmrDocBrowser browser;
    browser.setSource(m_page);
    if (anotherPage)
        browser.setSource(m_other);
    else
        browser.setPlainText(QStringLiteral("put there later"));
    showDrawn(&browser);
    QTRY_VERIFY(!browser.pageWaiting());
    if (anotherPage) {
        QCOMPARE(browser.source(), m_other);
        QCOMPARE(browser.documentTitle(), QStringLiteral("Other"));
        QVERIFY(browser.toPlainText().contains(QStringLiteral("beta heap")));
        QVERIFY(!browser.toPlainText().contains(QStringLiteral("alpha")));
    } else {
        QCOMPARE(browser.toPlainText(), QStringLiteral("put there later"));
    }
}

void TestReferencePage::pageGivenToADrawnPaneIsReadAtOnce()
{
    QAVmrDocBrowser browser;
    showDrawn(&browser);
    browser.setSource(m_page);
    QVERIFY(!browser.pageWaiting());
    QCOMPARE(browser.toPlainText(), m_pageText);
    // A page opened from a link later is read at once as well, with its history.
    browser.setSource(m_other);
    QVERIFY(browser.toPlainText().contains(QStringLiteral("beta heap")));
    QVERIFY(browser.isBackwardAvailable());
}

QTEST_MAIN(TestReferencePage)
#include "tst_referencepage.moc"
