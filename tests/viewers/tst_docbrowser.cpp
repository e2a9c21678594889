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

QString selection(QAVmrDocBrowser *browser)
{
    const QTextCursor c = browser->textCursor();
    return QStringLiteral("%1-%2").arg(c.selectionStart()).arg(c.selectionEnd());
}

// A list of expected states, given as one string split at spaces.
QStringList steps(const char *list) { return QString::fromLatin1(list).split(QLatin1Char(' ')); }

} // namespace

class TestDocBrowser : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_home = VmrTest::privateHome(); }

    void readOnlyPane();
    void scrollsToAnchorsOnly();
    void contextMenuFindCommand();
    void find_data();
    void find();
    void findBoxTextDoesNotMoveView();

private:
    std::unique_ptr<QTemporaryDir> m_home;
};

void TestDocBrowser::readOnlyPane()
{
    QAVmrDocBrowser browser(nullptr, "doc");
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
    for (int i = 0; i < 350; ++i)
        html += i == 150   ? QStringLiteral("<h2><a name=\"CLOCK\">Clock</a></h2>")
                : i == 300 ? QStringLiteral("<p id=\"HEAP\">heap</p>")
                           : QStringLiteral("<p>filler %1</p>").arg(i);
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

void TestDocBrowser::find_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("pattern"); // none: the menu's command, for the selection
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<QStringList>("steps"); // selection after each search, "!" on a message

    QTest::newRow("selection, case kept") << "Clock clock CLOCK Clock" << 0 << 5 << QString()
                                          << false << steps("18-23 0-5!");
    QTest::newRow("wraps to first") << "heap first\nmiddle\nheap last" << 0 << 0 << "heap"
                                    << true << steps("0-4 18-22 0-4!");
    QTest::newRow("miss keeps selection") << "nothing to see" << 8 << 10 << "absent"
                                          << false << steps("8-10!");
    QTest::newRow("case kept") << "Thread THREAD thread" << 0 << 0 << "thread" << true
                               << steps("14-20");
    QTest::newRow("case ignored") << "Thread THREAD thread" << 0 << 0 << "thread" << false
                                  << steps("0-6 7-13");
}

void TestDocBrowser::find()
{
    QFETCH(QString, text);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, pattern);
    QFETCH(bool, caseSensitive);
    QFETCH(QStringList, steps);
    QAVmrDocBrowser browser;
    browser.setPlainText(text);
    select(&browser, from, to);
    QSignalSpy status(&browser, &QAVmrDocBrowser::statusMsg);
    std::unique_ptr<QMenu> menu(browser.createPopupMenu(QPoint(1, 1)));
    QAFindRequest request;
    request.pattern = pattern;
    request.caseSensitive = caseSensitive;
    int messages = 0;
    for (QString step : steps) {
        if (pattern.isNull())
            findCommand(menu.get())->trigger();
        else
            browser.findInDoc(request);
        if (step.endsWith(QLatin1Char('!'))) {
            step.chop(1);
            ++messages;
            QCOMPARE(status.last().at(0).toString(),
                     QStringLiteral("Search hit bottom, continuing at top"));
            QCOMPARE(status.last().at(1).toInt(), 2000);
        }
        QCOMPARE(status.count(), messages);
        QCOMPARE(selection(&browser), step);
    }
}

void TestDocBrowser::findBoxTextDoesNotMoveView()
{
    QAVmrDocBrowser browser;
    browser.setPlainText(QStringLiteral("alpha beta gamma beta"));
    QSignalSpy status(&browser, &QAVmrDocBrowser::statusMsg);
    browser.findInDocStart(QStringLiteral("beta"));
    QCOMPARE(browser.findString(), QStringLiteral("beta"));
    QCOMPARE(selection(&browser), QStringLiteral("0-0"));

    // With nothing selected, the find box's text is searched for.
    browser.findDialogSearch();
    QCOMPARE(selection(&browser), QStringLiteral("6-10"));
    browser.findDialogSearch();
    QCOMPARE(selection(&browser), QStringLiteral("17-21"));
    QCOMPARE(status.count(), 0);

    // The wildcard option of the text editors has no meaning here.
    QAFindRequest request;
    request.pattern = QStringLiteral("a*a");
    request.wildcard = true;
    browser.findInDoc(request);
    QCOMPARE(status.count(), 1);
    QCOMPARE(selection(&browser), QStringLiteral("17-21"));
}

QTEST_MAIN(TestDocBrowser)
#include "tst_docbrowser.moc"
