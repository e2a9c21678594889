// The viewers of nodes that hold text (comments, files, functions), their text editor's find
// commands and find dialog, and the documentation pane. A reference page given to the pane
// before its first frame is read right after it and shows what it would have shown read at
// once: the same text, the last anchor asked for that it defines, one history entry.
// Whatever needs it earlier reads it at once.

#include "viewertest.h"
#include "viewers/qacommentviewer.h"
#include "viewers/qafctviewer.h"
#include "viewers/qafreetext.h"
#include "viewers/qavmrfinddialog.h"
#include "viewers/qavmrtextedit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>

using namespace Qt::StringLiterals;
using namespace VmrView;

namespace {
// Selections written "start-end".
template<typename Edit> void select(Edit *edit, const QString &range)
{
    QTextCursor cursor(edit->document());
    cursor.setPosition(range.section(u'-', 0, 0).toInt());
    cursor.setPosition(range.section(u'-', 1).toInt(), QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
}

template<typename Edit> QString selection(Edit *edit)
{
    const QTextCursor c = edit->textCursor();
    return u"%1-%2"_s.arg(c.selectionStart()).arg(c.selectionEnd());
}

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

class TestTextViewers : public QObject
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

    void typing_data()
    {
        QTest::addColumn<QString>("xml"); // F: a file, P: a function; "[...]": what typing adds
        QTest::addColumn<QString>("shown"); // comment title, function prototype and tail
        const auto row = [](const char *name, const char *xml, const char *shown) {
            QTest::newRow(name) << QString::fromLatin1(xml) << QString::fromLatin1(shown);
        };
        // Only the first COMMENT is the node's comment.
        row("root", "<VMR Name=\"p\"><COMMENT>l1\nl2[!]</COMMENT><COMMENT>b</COMMENT></VMR>",
            "Comment for the root node");
        row("label over name", "<VMR Label=\"Port\" Name=\"n\"><COMMENT>[!]</COMMENT></VMR>",
            "Comment for \"Port\" node");
        // Nothing typed is lost: missing children are made.
        row("name, no comment", "<IS Name=\"a.bin\"><C/>[<COMMENT>!</COMMENT>]</IS>",
            "Comment for \"a.bin\" node");
        row("empty name, markup", "<IS><COMMENT>&lt;b&gt; &amp;&amp;[!]</COMMENT></IS>",
            "Comment for \"\" node");
        row("file name over label",
            "<F Name=\"run.sh\" Label=\"L\"><COMMENT>why[!]</COMMENT><VALUE>[#]1\n2</VALUE></F>",
            "Comment for \"run.sh\" node:");
        // A file that looks like HTML is still a text file and must come back unchanged.
        row("file label, markup",
            "<F Name=\"\" Label=\"B\"><COMMENT>[!]</COMMENT><VALUE>[#]&lt;b&gt;</VALUE></F>",
            "Comment for \"B\" node:");
        row("file, no children", "<F Label=\"n\">[<VALUE>#</VALUE><COMMENT>!</COMMENT>]</F>",
            "Comment for \"n\" node:");
        row("perl function over ada and plain",
            "<P Label=\"O\"><VALUEFCT><VALUE>v</VALUE></VALUEFCT><VALUEFCTADA/><VALUEFCTPERL>"
            "<PROTO>sub f {</PROTO><VALUE>[#]1;</VALUE><TAIL>}</TAIL></VALUEFCTPERL>"
            "<COMMENT>[!]</COMMENT></P>", "Comment for \"O\" node |sub f {|}");
        row("ada function over plain", "<P Label=\"A\"><VALUEFCT/><VALUEFCTADA><VALUE>[#]</VALUE>"
            "</VALUEFCTADA>[<COMMENT>!</COMMENT>]</P>", "Comment for \"A\" node ||");
        // Code is shown as written, not as markup.
        row("function, markup, no body",
            "<P Label=\"C\"><VALUEFCT><PROTO>&lt;b&gt; f(T &amp;t) {</PROTO><TAIL>}</TAIL>"
            "[<VALUE>#</VALUE>]</VALUEFCT><COMMENT>[!]</COMMENT></P>",
            "Comment for \"C\" node |<b> f(T &t) {|}");
        // A function with nowhere to store its body cannot take one.
        row("no function", "<P Label=\"N\">[<COMMENT>!</COMMENT>]</P>",
            "Comment for \"N\" node ||");
    }
    void typing()
    {
        QFETCH(QString, xml);
        const QRegularExpression typed(u"\\[([^\\]]*)\\]"_s);
        QDomDocument doc = parse(QString(xml).remove(typed));
        changesWritten() = 0;
        QDomElement e = doc.documentElement();
        e.setAttribute(u"Doc"_s, u"DOC"_s);
        const QString before = xmlOf(doc);
        std::unique_ptr<QWidget> window;
        QAVmrViewer *viewer = nullptr;
        if (e.tagName() == u"F")
            viewer = openViewer<QAFreeText>(window, e, {u"DOC"_s});
        else if (e.tagName() == u"P")
            viewer = openViewer<QAFctViewer>(window, e, {u"DOC"_s});
        else
            viewer = openViewer<QACommentViewer>(window, e, {u"DOC"_s});
        QVERIFY(viewer);
        QLabel *title = nullptr; // the comment pane's, whose buddy is the comment
        for (QLabel *label : viewer->findChildren<QLabel *>())
            title = qobject_cast<QTextEdit *>(label->buddy()) ? label : title;
        QVERIFY(title);
        auto *comment = qobject_cast<QTextEdit *>(title->buddy());
        QString shown = title->text();
        if (auto *function = qobject_cast<QAFctViewer *>(viewer)) {
            for (QLabel *label : {function->protoLabel(), function->tailLabel()}) {
                QCOMPARE(label->textFormat(), Qt::PlainText);
                shown += u'|' + label->text();
            }
        }
        QTEST(shown, "shown");
        QCOMPARE(changesWritten(), 0);
        QCOMPARE(xmlOf(doc), before);
        if (auto *body = viewer->findChild<QAVmrTextEdit *>()) {
            const QDomElement f = QAFctViewer::valueChild(e);
            // A function's body starts at its fourth line in "go to".
            QCOMPARE(body->lineOffset(), e.tagName() == u"P" ? 3 : 0);
            body->moveCursor(QTextCursor::Start);
            QTest::keyClicks(body, u"#"_s);
            QCOMPARE(changesWritten() > 0, e.tagName() == u"F" || !f.isNull());
            QCOMPARE(body->toPlainText(), textOf("VALUE", f.isNull() ? e : f)); // what is kept
        }
        comment->moveCursor(QTextCursor::End);
        QTest::keyClicks(comment, u"!"_s);
        QVERIFY(changesWritten() > 0);
        QDomDocument expected = parse(xml.replace(typed, u"\\1"_s));
        expected.documentElement().setAttribute(u"Doc"_s, u"DOC"_s); // after the same attributes
        QCOMPARE(xmlOf(doc), xmlOf(expected));
        // Clicking the node again brings the documentation pane back to the node's anchor.
        QScrollBar *bar = window->findChild<QAVmrDocBrowser *>()->verticalScrollBar();
        QTRY_VERIFY(bar->value() > 0);
        const int atAnchor = bar->value();
        bar->setValue(0);
        viewer->showPage();
        QTRY_COMPARE(bar->value(), atAnchor);
    }

    void find_data()
    {
        QTest::addColumn<QString>("text");
        // Through the editor's menu, a request or the dialog; or on the page, its box too.
        QTest::addColumn<QString>("via");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("steps"); // selection before, after each search; "!": wrapped
        const auto row = [](const char *name, const char *text, const char *via,
                            const char *pattern, const char *steps) {
            QTest::newRow(name) << QString::fromLatin1(text) << QString::fromLatin1(via)
                                << QString::fromLatin1(pattern) << QString::fromLatin1(steps);
        };
        // The full stop only matches a full stop; the editor ignores case, the page does not.
        row("selection", "a.b axb\nA.B a.b", "menu", "", "0-3 8-11 12-15 0-3");
        row("page selection", "Clock clock CLOCK Clock", "page menu", "", "0-5 18-23 0-5!");
        row("nothing selected, no dialog", "one two", "menu", "", "5-5 5-5");
        row("wraps from inside last hit", "key first\nlast key", "request", "key", "16-16 0-3");
        row("page wraps, case kept", "Heap\nheap\nHEAP", "page case", "heap", "0-0 5-9 5-9!");
        row("miss keeps selection", "alpha beta", "request", "gamma", "6-8 6-8");
        row("page miss says so", "nothing", "page", "absent", "2-4 2-4?");
        row("page case ignored", "Thread THREAD", "page", "thread", "0-0 0-6 7-13");
        // Typing into the find box does not move the view.
        row("page find box", "alpha beta gamma beta", "page box", "beta", "0-0 6-10 17-21");
        // Without a selection the menu's command searches as the dialog does.
        row("dialog, then menu", "Word word WORD", "dialog case menu", "WORD", "0-0 10-14 0-4");
        // "*" takes the shortest run, so that one occurrence is selected.
        row("star", "call f(x); call g(y);", "dialog wildcard", "call *(", "0-0 0-7");
        row("others literal", "axb[1] a.b[1]", "dialog wildcard", "a.b[?]", "0-0 7-13");
        row("stars only", "abc", "dialog wildcard", "**", "0-0 0-0");
    }
    void find()
    {
        QFETCH(QString, text);
        QFETCH(QString, via);
        QFETCH(QString, pattern);
        QFETCH(QString, steps);
        const QAFindRequest request{pattern, via.contains(u"case"), via.contains(u"wildcard")};
        QStringList expected = steps.split(u' ');
        QAVmrTextEdit edit;
        QAVmrDocBrowser page;
        QSignalSpy status(&page, &QAVmrDocBrowser::statusMsg);
        edit.setPlainText(text);
        page.setPlainText(text);
        select(&edit, expected.first());
        select(&page, expected.takeFirst());
        if (via == u"page box")
            page.findInDocStart(pattern);
        edit.show();
        QAvmrFindDialog *dialog = nullptr;
        if (via.startsWith(u"dialog")) {
            QVERIFY(runMenuCommand(&edit, u"Find..."_s));
            QVERIFY((dialog = edit.currentFindDialog()) && dialog->isVisible());
            QCOMPARE(dialog->windowTitle(), u"Find"_s);
            QTest::keyClicks(dialog->findCombo()->lineEdit(), pattern);
            // A click on the box's indicator, where a user clicks.
            for (QCheckBox *box : {dialog->caseSensitiveBox(), dialog->wildcardBox()}) {
                if (box == dialog->wildcardBox() ? request.wildcard : request.caseSensitive)
                    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
            }
        }
        for (QString step : expected) {
            if (via == u"page menu" || via == u"page box")
                QVERIFY(runMenuCommand(&page, u"Find next occurence\tF3"_s));
            else if (via.startsWith(u"page"))
                page.findInDoc(request);
            else if (via.endsWith(u"menu"))
                QVERIFY(runMenuCommand(&edit, u"Find next occurence"_s));
            else if (dialog)
                QTest::mouseClick(dialog->nextButton(), Qt::LeftButton);
            else
                edit.findInText(request);
            // "!": the search went round to the top; "?": there is no hit at all.
            const bool wrapped = step.endsWith(u'!');
            const bool missed = step.endsWith(u'?');
            QCOMPARE(status.count(), wrapped || missed ? 1 : 0);
            if (wrapped || missed) {
                QCOMPARE(status.takeFirst(),
                         (QVariantList{wrapped ? u"Search hit bottom, continuing at top"_s
                                               : u"No match for \"%1\" in the reference page"_s
                                                     .arg(pattern),
                                       2000}));
            }
            step.chop(wrapped || missed ? 1 : 0);
            QCOMPARE(via.startsWith(u"page") ? selection(&page) : selection(&edit), step);
        }
        QCOMPARE(!dialog, !edit.currentFindDialog());
        // F3 belongs to the main window; the page's menu item only shows it.
        std::unique_ptr<QMenu> menu(page.createPopupMenu(QPoint(1, 1)));
        QVERIFY(menu->actions().last()->shortcut().isEmpty());
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

QTEST_MAIN(TestTextViewers)
#include "tst_textviewers.moc"
