// The documentation pane: anchors, the context menu's find command, the find box's text
// and the wrap-around message.

#include "testutil.h"
#include "support/qafindrequest.h"
#include "viewers/qavmrdocbrowser.h"

#include <QMenu>
#include <QScrollBar>
#include <QTextCursor>

namespace {

void select(QAVmrDocBrowser *browser, int from, int to)
{
    QTextCursor cursor(browser->document());
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    browser->setTextCursor(cursor);
}

QAction *findCommand(QMenu *menu)
{
    const QList<QAction *> actions = menu->actions();
    return actions.isEmpty() ? nullptr : actions.last();
}

QString wrapMessage()
{
    return QStringLiteral("Search hit bottom, continuing at top");
}

} // namespace

class TestDocBrowser : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_home = VmrTest::privateHome(); }

    void readOnlyPane();
    void scrollsToAnchorsOnly();
    void contextMenuFindCommand();
    void findNextWithSelectionIsCaseSensitive();
    void findBoxTextDoesNotMoveView();
    void wrapShowsMessageAndSelectsFirst();
    void missShowsMessageAndKeepsSelection();
    void requestCaseFlag();

private:
    std::unique_ptr<QTemporaryDir> m_home;
};

void TestDocBrowser::readOnlyPane()
{
    QAVmrDocBrowser browser(nullptr, "doc");
    QCOMPARE(browser.objectName(), QStringLiteral("doc"));
    QVERIFY(browser.findString().isEmpty());
    browser.setPlainText(QStringLiteral("text"));
    browser.show();
    QTest::keyClicks(&browser, QStringLiteral("typed"));
    QCOMPARE(browser.toPlainText(), QStringLiteral("text"));
}

void TestDocBrowser::scrollsToAnchorsOnly()
{
    QAVmrDocBrowser browser;
    browser.resize(300, 200);
    QString html;
    for (int i = 0; i < 150; ++i)
        html += QStringLiteral("<p>top %1</p>").arg(i);
    html += QStringLiteral("<h2><a name=\"CLOCK\">Clock</a></h2>");
    for (int i = 0; i < 150; ++i)
        html += QStringLiteral("<p>bottom %1</p>").arg(i);
    html += QStringLiteral("<p id=\"HEAP\">heap</p>");
    for (int i = 0; i < 50; ++i)
        html += QStringLiteral("<p>end %1</p>").arg(i);
    browser.setHtml(html);
    browser.show();
    QVERIFY(QTest::qWaitForWindowExposed(&browser));
    QScrollBar *bar = browser.verticalScrollBar();

    browser.scrollToAnchor(QStringLiteral("CLOCK"));
    QTRY_VERIFY(bar->value() > 0);
    const int atAnchor = bar->value();
    // Unknown and empty names leave the view where it is.
    browser.scrollToAnchor(QStringLiteral("NOSUCH"));
    QCOMPARE(bar->value(), atAnchor);
    browser.scrollToAnchor(QString());
    QCOMPARE(bar->value(), atAnchor);
    // Anchors named by an id attribute count as well.
    browser.scrollToAnchor(QStringLiteral("HEAP"));
    QTRY_VERIFY(bar->value() > atAnchor);
}

void TestDocBrowser::contextMenuFindCommand()
{
    QAVmrDocBrowser browser;
    browser.setPlainText(QStringLiteral("some text"));
    std::unique_ptr<QMenu> menu(browser.createPopupMenu(QPoint(1, 1)));
    const QList<QAction *> actions = menu->actions();
    QVERIFY(actions.size() >= 3);
    QVERIFY(actions.at(actions.size() - 2)->isSeparator());
    QAction *find = findCommand(menu.get());
    QCOMPARE(find->text(), QStringLiteral("Find next occurence\tF3"));
    QVERIFY(!find->icon().isNull());
    // The key belongs to the main window; the item only shows it.
    QVERIFY(find->shortcut().isEmpty());
}

void TestDocBrowser::findNextWithSelectionIsCaseSensitive()
{
    QAVmrDocBrowser browser;
    browser.setPlainText(QStringLiteral("Clock clock CLOCK Clock"));
    QSignalSpy status(&browser, &QAVmrDocBrowser::statusMsg);
    select(&browser, 0, 5);
    std::unique_ptr<QMenu> menu(browser.createPopupMenu(QPoint(1, 1)));
    findCommand(menu.get())->trigger();
    QCOMPARE(browser.textCursor().selectionStart(), 18);
    QCOMPARE(status.count(), 0);
    findCommand(menu.get())->trigger();
    QCOMPARE(browser.textCursor().selectionStart(), 0);
    QCOMPARE(status.count(), 1);
}

void TestDocBrowser::findBoxTextDoesNotMoveView()
{
    QAVmrDocBrowser browser;
    browser.setPlainText(QStringLiteral("alpha beta gamma beta"));
    QSignalSpy status(&browser, &QAVmrDocBrowser::statusMsg);
    browser.findInDocStart(QStringLiteral("beta"));
    QCOMPARE(browser.findString(), QStringLiteral("beta"));
    QVERIFY(!browser.textCursor().hasSelection());
    QCOMPARE(browser.textCursor().position(), 0);
    QCOMPARE(status.count(), 0);

    // With nothing selected, the find box's text is searched for.
    browser.findDialogSearch();
    QCOMPARE(browser.textCursor().selectionStart(), 6);
    browser.findDialogSearch();
    QCOMPARE(browser.textCursor().selectionStart(), 17);
    QCOMPARE(status.count(), 0);
}

void TestDocBrowser::wrapShowsMessageAndSelectsFirst()
{
    QAVmrDocBrowser browser;
    browser.setPlainText(QStringLiteral("heap first\nmiddle\nheap last"));
    QSignalSpy status(&browser, &QAVmrDocBrowser::statusMsg);
    QAFindRequest request;
    request.pattern = QStringLiteral("heap");
    request.caseSensitive = true;
    browser.findInDoc(request);
    QCOMPARE(browser.textCursor().selectionStart(), 0);
    browser.findInDoc(request);
    QCOMPARE(browser.textCursor().selectionStart(), 18);
    QCOMPARE(status.count(), 0);
    browser.findInDoc(request);
    QCOMPARE(browser.textCursor().selectionStart(), 0);
    QCOMPARE(browser.textCursor().selectedText(), QStringLiteral("heap"));
    QCOMPARE(status.count(), 1);
    QCOMPARE(status.at(0).at(0).toString(), wrapMessage());
    QCOMPARE(status.at(0).at(1).toInt(), 2000);
}

void TestDocBrowser::missShowsMessageAndKeepsSelection()
{
    QAVmrDocBrowser browser;
    browser.setPlainText(QStringLiteral("nothing to see"));
    select(&browser, 8, 10);
    QSignalSpy status(&browser, &QAVmrDocBrowser::statusMsg);
    QAFindRequest request;
    request.pattern = QStringLiteral("absent");
    browser.findInDoc(request);
    QCOMPARE(status.count(), 1);
    QCOMPARE(status.at(0).at(0).toString(), wrapMessage());
    QCOMPARE(browser.textCursor().selectionStart(), 8);
    QCOMPARE(browser.textCursor().selectionEnd(), 10);
}

void TestDocBrowser::requestCaseFlag()
{
    QAVmrDocBrowser browser;
    browser.setPlainText(QStringLiteral("Thread THREAD thread"));
    QAFindRequest request;
    request.pattern = QStringLiteral("thread");
    request.caseSensitive = true;
    browser.findInDoc(request);
    QCOMPARE(browser.textCursor().selectionStart(), 14);
    request.caseSensitive = false;
    browser.findInDoc(request);
    QCOMPARE(browser.textCursor().selectionStart(), 0);
    // The wildcard option of the text editors has no meaning here.
    request.pattern = QStringLiteral("T*D");
    request.wildcard = true;
    QSignalSpy status(&browser, &QAVmrDocBrowser::statusMsg);
    browser.findInDoc(request);
    QCOMPARE(status.count(), 1);
    QCOMPARE(browser.textCursor().selectedText(), QStringLiteral("Thread"));
}

QTEST_MAIN(TestDocBrowser)
#include "tst_docbrowser.moc"
