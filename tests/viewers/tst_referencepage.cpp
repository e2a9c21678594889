// A reference page given to the documentation pane before its first frame is read right
// after it and shows what it would have shown read at once: the same text, the last anchor
// asked for that it defines, one history entry. Whatever needs it earlier reads it at once.

#include "support/qafindrequest.h"
#include "testutil.h"
#include "viewers/qavmrdocbrowser.h"

#include <QMenu>
#include <QScrollBar>

using namespace Qt::StringLiterals;

namespace {

// Long enough to scroll, with a named link and an element id well below the top.
QString pageHtml(const QString &title)
{
    const QString filler = QStringLiteral("<p>%1 filler</p>").arg(title.toLower()).repeated(120);
    return QStringLiteral("<html><head><title>%1</title></head><body>%2<h2><a name=\"CLOCK\">"
                          "Clock</a></h2>%2<p id=\"HEAP\">%3 heap</p>%2</body></html>")
        .arg(title, filler, title.toLower());
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
    std::unique_ptr<QTemporaryDir> m_home = VmrTest::privateHome();
    QUrl m_page, m_other;
    QString m_pageText;

private slots:
    void initTestCase()
    {
        for (QUrl *url : {&m_page, &m_other}) {
            const QString title = url == &m_page ? QStringLiteral("Ref") : QStringLiteral("Other");
            QFile file(m_home->filePath(title + QStringLiteral(".html")));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(pageHtml(title).toUtf8()) > 0);
            *url = QUrl::fromLocalFile(file.fileName());
        }
        QTextDocument reference;
        reference.setHtml(pageHtml(QStringLiteral("Ref")));
        m_pageText = reference.toPlainText();
    }

    void comesInOnceDrawn_data()
    {
        QTest::addColumn<QString>("asked"); // anchors, one after the other
        QTest::addColumn<QString>("shown"); // empty: the top of the page
        QTest::newRow("no known anchor") << u"NOSUCH"_s << QString();
        QTest::newRow("the last one wins") << u"CLOCK HEAP"_s << u"HEAP"_s;
        QTest::newRow("unknowns ignored") << u"HEAP NOSUCH "_s << u"HEAP"_s;
    }
    void comesInOnceDrawn()
    {
        // As when a document opened at start shows its first node's page.
        QFETCH(QString, asked);
        QFETCH(QString, shown);
        QAVmrDocBrowser browser;
        browser.setSource(m_page);
        for (const QString &anchor : asked.split(QLatin1Char(' ')))
            browser.scrollToAnchor(anchor);
        QCOMPARE(browser.source(), m_page); // named at once, before it is read
        showDrawn(&browser);
        QTRY_COMPARE(browser.toPlainText(), m_pageText);
        QVERIFY(!browser.isBackwardAvailable()); // read once: no second history entry
        QAVmrDocBrowser direct;
        showDrawn(&direct);
        direct.setSource(m_page);
        QCOMPARE(direct.toPlainText(), m_pageText); // a drawn pane reads a page at once
        if (!shown.isEmpty())
            direct.scrollToAnchor(shown);
        QTRY_COMPARE(browser.verticalScrollBar()->value(), direct.verticalScrollBar()->value());
        QCOMPARE(browser.verticalScrollBar()->value() > 0, !shown.isEmpty());
        // So does one that has read its first page, with its history.
        browser.setSource(m_other);
        QCOMPARE(browser.documentTitle(), QStringLiteral("Other"));
        QVERIFY(browser.isBackwardAvailable());
    }

    void beforeTheFirstFrame()
    {
        // Each question to a pane not drawn yet reads the page first; text or another page put
        // into the pane meanwhile replaces the waiting page.
        QAVmrDocBrowser anchors, search, menu, text, other;
        for (QAVmrDocBrowser *browser : {&anchors, &search, &menu, &text, &other})
            browser->setSource(m_page);
        QVERIFY(anchors.hasAnchor(QStringLiteral("HEAP")));
        search.findInDoc({QStringLiteral("REF HEAP")});
        QCOMPARE(search.textCursor().selectedText(), QStringLiteral("ref heap"));
        delete menu.createPopupMenu(QPoint(1, 1));
        for (QAVmrDocBrowser *browser : {&anchors, &search, &menu})
            QCOMPARE(browser->toPlainText(), m_pageText);
        text.setPlainText(QStringLiteral("put there later"));
        other.setSource(m_other);
        for (QAVmrDocBrowser *browser : {&text, &other}) {
            showDrawn(browser);
            QTRY_VERIFY(!browser->pageWaiting());
        }
        QCOMPARE(text.toPlainText(), QStringLiteral("put there later"));
        QCOMPARE(other.documentTitle(), QStringLiteral("Other"));
    }
};

QTEST_MAIN(TestReferencePage)
#include "tst_referencepage.moc"
