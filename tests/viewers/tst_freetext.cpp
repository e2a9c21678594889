// The free-text viewer, its text editor's find and go-to commands, and the find dialog,
// driven through the real widgets and context menu on small documents.

#include "testutil.h"
#include "viewers/qafreetext.h"
#include "viewers/qavmrfinddialog.h"
#include "viewers/qavmrtextedit.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDomDocument>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTextBlock>

namespace {

QDomDocument parse(const QString &xml)
{
    QDomDocument doc;
    if (!doc.setContent(xml))
        qFatal("bad test document");
    return doc;
}

QString valueOf(const QDomElement &e)
{
    return QAVmrViewer::childText(QStringLiteral("VALUE"), e);
}

// Runs the context-menu command of an editor whose text is given.
void runMenuCommand(QAVmrTextEdit *edit, const QString &text)
{
    std::unique_ptr<QMenu> menu(edit->createPopupMenu(QPoint(1, 1)));
    for (QAction *action : menu->actions()) {
        if (action->text() == text) {
            action->trigger();
            return;
        }
    }
    QFAIL(qPrintable(QStringLiteral("no menu command ") + text));
}

void select(QAVmrTextEdit *edit, int from, int to)
{
    QTextCursor cursor(edit->document());
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    edit->setTextCursor(cursor);
}

void placeCursor(QAVmrTextEdit *edit, int position)
{
    QTextCursor cursor(edit->document());
    cursor.setPosition(position);
    edit->setTextCursor(cursor);
}

// A click on the box's indicator, where a user clicks.
void clickBox(QCheckBox *box)
{
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2));
}

int selectionStart(QAVmrTextEdit *edit) { return edit->textCursor().selectionStart(); }

// Answers the next "Goto line" question with a line, recording what it offered.
struct GotoAnswer
{
    int minimum = -1;
    int maximum = -1;
    int initial = -1;
    QString title;
    QString label;
};

void answerGoto(GotoAnswer *seen, int line, bool accept = true)
{
    VmrTest::onNextModal([seen, line, accept](QWidget *w) {
        auto *dialog = qobject_cast<QInputDialog *>(w);
        if (!dialog) {
            if (auto *other = qobject_cast<QDialog *>(w))
                other->reject();
            return;
        }
        seen->minimum = dialog->intMinimum();
        seen->maximum = dialog->intMaximum();
        seen->initial = dialog->intValue();
        seen->title = dialog->windowTitle();
        seen->label = dialog->labelText();
        dialog->setIntValue(line);
        if (accept)
            dialog->accept();
        else
            dialog->reject();
    });
}

} // namespace

class TestFreeText : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_home = VmrTest::privateHome(); }

    void showsValueCommentAndTitle_data();
    void showsValueCommentAndTitle();
    void typingWritesWholeTextAndSetsModified();
    void commentWritesThrough();
    void markupStaysText();
    void missingValueKeepsTyping();

    void contextMenuCommands();
    void findNextLooksForSelectionLiterally();
    void findNextWithoutSelectionOrDialogDoesNothing();
    void findWrapsToTop();
    void findMissLeavesSelection();
    void findDialogSearchesAndKeepsSettings();
    void findDialogCaseSensitivity();
    void wildcardSearch_data();
    void wildcardSearch();

    void gotoLineRangeAndCursor();
    void gotoLineCancelKeepsCursor();
    void gotoLineWithOffset();

private:
    std::unique_ptr<QTemporaryDir> m_home;
};

void TestFreeText::showsValueCommentAndTitle_data()
{
    QTest::addColumn<QString>("attributes");
    QTest::addColumn<QString>("title");
    QTest::newRow("file name") << "Name=\"run.sh\" Label=\"Ignored\""
                               << "Comment for \"run.sh\" node:";
    QTest::newRow("label when no name") << "Label=\"Imports\""
                                        << "Comment for \"Imports\" node:";
    QTest::newRow("empty name") << "Name=\"\" Label=\"Before\""
                                << "Comment for \"Before\" node:";
}

void TestFreeText::showsValueCommentAndTitle()
{
    QFETCH(QString, attributes);
    QFETCH(QString, title);
    QDomDocument doc = parse(QStringLiteral("<NEWCMDFILE ") + attributes
                             + QStringLiteral("><COMMENT>why</COMMENT>"
                                              "<VALUE>line one\nline two</VALUE></NEWCMDFILE>"));
    QDomElement e = doc.documentElement();
    QAFreeText viewer(e, nullptr, nullptr);
    QCOMPARE(viewer.textEditor()->toPlainText(), QStringLiteral("line one\nline two"));
    QCOMPARE(viewer.commentEditor()->toPlainText(), QStringLiteral("why"));
    QCOMPARE(viewer.commentTitle()->text(), title);
    QCOMPARE(viewer.commentTitle()->buddy(), viewer.commentEditor());
    QVERIFY(!viewer.modified);
}

void TestFreeText::typingWritesWholeTextAndSetsModified()
{
    QDomDocument doc = parse(QStringLiteral(
        "<NEWCMDFILE Name=\"a.txt\"><COMMENT/><VALUE>abc\ndef</VALUE></NEWCMDFILE>"));
    QDomElement e = doc.documentElement();
    QAFreeText viewer(e, nullptr, nullptr);
    QAVmrTextEdit *edit = viewer.textEditor();
    edit->moveCursor(QTextCursor::End);
    QTest::keyClicks(edit, QStringLiteral("g"));
    QCOMPARE(valueOf(e), QStringLiteral("abc\ndefg"));
    QVERIFY(viewer.modified);
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClicks(edit, QStringLiteral("x"));
    QCOMPARE(valueOf(e), QStringLiteral("abc\ndefg\nx"));
    // The comment was not touched by editing the text.
    QVERIFY(e.firstChildElement(QStringLiteral("COMMENT")).firstChild().isNull());
}

void TestFreeText::commentWritesThrough()
{
    QDomDocument doc = parse(QStringLiteral(
        "<FREE_TEXT_BEFORE_FOR_VMR Label=\"L\"><COMMENT/><VALUE>v</VALUE>"
        "</FREE_TEXT_BEFORE_FOR_VMR>"));
    QDomElement e = doc.documentElement();
    QAFreeText viewer(e, nullptr, nullptr);
    QTest::keyClicks(viewer.commentEditor(), QStringLiteral("note"));
    QCOMPARE(QAVmrViewer::childText(QStringLiteral("COMMENT"), e), QStringLiteral("note"));
    QCOMPARE(valueOf(e), QStringLiteral("v"));
    QVERIFY(viewer.modified);
}

void TestFreeText::markupStaysText()
{
    // A file that looks like HTML is still a text file and must come back unchanged.
    QDomDocument doc = parse(QStringLiteral(
        "<NEWCMDFILE Name=\"p.html\"><COMMENT>&lt;b&gt;bold&lt;/b&gt;</COMMENT>"
        "<VALUE>&lt;html&gt;&lt;b&gt;x&lt;/b&gt;&lt;/html&gt;</VALUE></NEWCMDFILE>"));
    QDomElement e = doc.documentElement();
    QAFreeText viewer(e, nullptr, nullptr);
    QCOMPARE(viewer.textEditor()->toPlainText(), QStringLiteral("<html><b>x</b></html>"));
    QCOMPARE(viewer.commentEditor()->toPlainText(), QStringLiteral("<b>bold</b>"));
    viewer.textEditor()->moveCursor(QTextCursor::End);
    QTest::keyClicks(viewer.textEditor(), QStringLiteral("!"));
    QCOMPARE(valueOf(e), QStringLiteral("<html><b>x</b></html>!"));
}

void TestFreeText::missingValueKeepsTyping()
{
    QDomDocument doc = parse(QStringLiteral("<NEWCMDFILE Name=\"n\"/>"));
    QDomElement e = doc.documentElement();
    QAFreeText viewer(e, nullptr, nullptr);
    QTest::keyClicks(viewer.textEditor(), QStringLiteral("kept"));
    QCOMPARE(valueOf(e), QStringLiteral("kept"));
    QTest::keyClicks(viewer.commentEditor(), QStringLiteral("c"));
    QCOMPARE(QAVmrViewer::childText(QStringLiteral("COMMENT"), e), QStringLiteral("c"));
}

void TestFreeText::contextMenuCommands()
{
    QAVmrTextEdit edit;
    std::unique_ptr<QMenu> menu(edit.createPopupMenu(QPoint(1, 1)));
    const QList<QAction *> actions = menu->actions();
    QVERIFY(actions.size() >= 5);
    const QList<QAction *> ours = actions.mid(actions.size() - 5);
    QVERIFY(ours[0]->isSeparator());
    QCOMPARE(ours[1]->text(), QStringLiteral("Find..."));
    QVERIFY(!ours[1]->icon().isNull());
    QCOMPARE(ours[2]->text(), QStringLiteral("Find next occurence"));
    QVERIFY(!ours[2]->icon().isNull());
    QVERIFY(ours[3]->isSeparator());
    QCOMPARE(ours[4]->text(), QStringLiteral("go to"));
    for (QAction *a : ours)
        QVERIFY(a->shortcut().isEmpty());
    // The standard editing commands come first.
    QVERIFY(actions.size() > 5);
}

void TestFreeText::findNextLooksForSelectionLiterally()
{
    QAVmrTextEdit edit;
    edit.setPlainText(QStringLiteral("a.b axb\nA.B a.b"));
    select(&edit, 0, 3); // "a.b"
    runMenuCommand(&edit, QStringLiteral("Find next occurence"));
    // "axb" is skipped: the full stop only matches a full stop; case is ignored.
    QCOMPARE(selectionStart(&edit), 8);
    QCOMPARE(edit.textCursor().selectedText(), QStringLiteral("A.B"));
    runMenuCommand(&edit, QStringLiteral("Find next occurence"));
    QCOMPARE(selectionStart(&edit), 12);
    runMenuCommand(&edit, QStringLiteral("Find next occurence"));
    QCOMPARE(selectionStart(&edit), 0);
}

void TestFreeText::findNextWithoutSelectionOrDialogDoesNothing()
{
    QAVmrTextEdit edit;
    edit.setPlainText(QStringLiteral("one two one"));
    placeCursor(&edit, 5);
    runMenuCommand(&edit, QStringLiteral("Find next occurence"));
    QVERIFY(!edit.textCursor().hasSelection());
    QCOMPARE(edit.textCursor().position(), 5);
    QVERIFY(!edit.currentFindDialog());
}

void TestFreeText::findWrapsToTop()
{
    QAVmrTextEdit edit;
    edit.setPlainText(QStringLiteral("key first\nsecond\nlast key"));
    QAFindRequest request;
    request.pattern = QStringLiteral("key");
    select(&edit, 22, 25);
    QCOMPARE(edit.textCursor().selectedText(), QStringLiteral("key"));
    edit.findInText(request);
    QCOMPARE(selectionStart(&edit), 0);
    QCOMPARE(edit.textCursor().selectedText(), QStringLiteral("key"));
    // From inside the last hit, too.
    placeCursor(&edit, 23);
    edit.findInText(request);
    QCOMPARE(selectionStart(&edit), 0);
}

void TestFreeText::findMissLeavesSelection()
{
    QAVmrTextEdit edit;
    edit.setPlainText(QStringLiteral("alpha beta"));
    select(&edit, 6, 8);
    QAFindRequest request;
    request.pattern = QStringLiteral("gamma");
    edit.findInText(request);
    QCOMPARE(edit.textCursor().selectionStart(), 6);
    QCOMPARE(edit.textCursor().selectionEnd(), 8);
    request.pattern.clear();
    edit.findInText(request);
    QCOMPARE(edit.textCursor().selectionEnd(), 8);
}

void TestFreeText::findDialogSearchesAndKeepsSettings()
{
    QAVmrTextEdit edit;
    edit.setPlainText(QStringLiteral("Alpha beta alpha gamma ALPHA"));
    edit.show();
    placeCursor(&edit, 0);
    runMenuCommand(&edit, QStringLiteral("Find..."));
    QAvmrFindDialog *dialog = edit.currentFindDialog();
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QVERIFY(dialog->isModal());
    QCOMPARE(dialog->objectName(), QStringLiteral("freeTextFind"));
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Find"));
    QCOMPARE(dialog->findCombo()->objectName(), QStringLiteral("qvfd-cb-find-txt"));
    QVERIFY(!dialog->caseSensitiveBox()->isChecked());

    QTest::keyClicks(dialog->findCombo()->lineEdit(), QStringLiteral("alpha"));
    QTest::mouseClick(dialog->nextButton(), Qt::LeftButton);
    QCOMPARE(selectionStart(&edit), 0);
    QTest::mouseClick(dialog->nextButton(), Qt::LeftButton);
    QCOMPARE(selectionStart(&edit), 11);
    QCOMPARE(dialog->findCombo()->count(), 1);
    QCOMPARE(dialog->findCombo()->itemText(0), QStringLiteral("alpha"));

    QTest::mouseClick(dialog->closeButton(), Qt::LeftButton);
    QVERIFY(!dialog->isVisible());

    // With nothing selected, "Find next occurence" goes on with the dialog's search.
    placeCursor(&edit, 12);
    runMenuCommand(&edit, QStringLiteral("Find next occurence"));
    QCOMPARE(selectionStart(&edit), 23);

    // Reopening shows the same dialog with its text and history.
    runMenuCommand(&edit, QStringLiteral("Find..."));
    QCOMPARE(edit.currentFindDialog(), dialog);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->findCombo()->currentText(), QStringLiteral("alpha"));

    // A second search text goes on top of the history; the first is not repeated.
    dialog->findCombo()->lineEdit()->selectAll();
    QTest::keyClicks(dialog->findCombo()->lineEdit(), QStringLiteral("gamma"));
    QTest::mouseClick(dialog->nextButton(), Qt::LeftButton);
    QCOMPARE(edit.textCursor().selectedText(), QStringLiteral("gamma"));
    dialog->findCombo()->lineEdit()->selectAll();
    QTest::keyClicks(dialog->findCombo()->lineEdit(), QStringLiteral("alpha"));
    QTest::keyClick(dialog->findCombo()->lineEdit(), Qt::Key_Return);
    QCOMPARE(edit.textCursor().selectedText(), QStringLiteral("ALPHA"));
    QCOMPARE(dialog->findCombo()->count(), 2);
    QCOMPARE(dialog->findCombo()->itemText(0), QStringLiteral("alpha"));
    QCOMPARE(dialog->findCombo()->itemText(1), QStringLiteral("gamma"));
    dialog->close();
}

void TestFreeText::findDialogCaseSensitivity()
{
    QAVmrTextEdit edit;
    edit.setPlainText(QStringLiteral("Word word WORD"));
    edit.show();
    runMenuCommand(&edit, QStringLiteral("Find..."));
    QAvmrFindDialog *dialog = edit.currentFindDialog();
    QVERIFY(dialog);
    QSignalSpy spy(dialog, &QAvmrFindDialog::search);
    dialog->findCombo()->setEditText(QStringLiteral("WORD"));
    clickBox(dialog->caseSensitiveBox());
    QTest::mouseClick(dialog->nextButton(), Qt::LeftButton);
    QCOMPARE(spy.count(), 1);
    const auto request = spy.at(0).at(0).value<QAFindRequest>();
    QCOMPARE(request.pattern, QStringLiteral("WORD"));
    QVERIFY(request.caseSensitive);
    QVERIFY(!request.wildcard);
    QCOMPARE(selectionStart(&edit), 10);
    QTest::mouseClick(dialog->nextButton(), Qt::LeftButton);
    QCOMPARE(selectionStart(&edit), 10);
    dialog->close();
}

void TestFreeText::wildcardSearch_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("caseSensitive");
    QTest::addColumn<QString>("found");

    QTest::newRow("star") << "call foo(x); call bar(y);"
                          << "call *(" << false << "call foo(";
    QTest::newRow("question") << "cat cot cut" << "c?t" << false << "cat";
    QTest::newRow("dot is literal") << "axb a.b" << "a.b" << false << "a.b";
    QTest::newRow("brackets literal") << "x[1] x1" << "x[?]" << false << "x[1]";
    QTest::newRow("case ignored") << "HELLO world" << "h*o" << false << "HELLO";
    QTest::newRow("case kept") << "HELLO hello" << "h*o" << true << "hello";
    QTest::newRow("no hit") << "abc" << "x*z" << false << "";
    QTest::newRow("stars only") << "abc" << "**" << false << "";
}

void TestFreeText::wildcardSearch()
{
    QFETCH(QString, text);
    QFETCH(QString, pattern);
    QFETCH(bool, caseSensitive);
    QFETCH(QString, found);
    QAVmrTextEdit edit;
    edit.setPlainText(text);
    edit.show();
    runMenuCommand(&edit, QStringLiteral("Find..."));
    QAvmrFindDialog *dialog = edit.currentFindDialog();
    QVERIFY(dialog);
    QTest::keyClicks(dialog->findCombo()->lineEdit(), pattern);
    dialog->caseSensitiveBox()->setChecked(caseSensitive);
    clickBox(dialog->wildcardBox());
    QVERIFY(dialog->searchExpression().wildcard);
    QTest::mouseClick(dialog->nextButton(), Qt::LeftButton);
    QCOMPARE(edit.textCursor().selectedText(), found);
    dialog->close();
}

void TestFreeText::gotoLineRangeAndCursor()
{
    QDomDocument doc = parse(QStringLiteral(
        "<NEWCMDFILE Name=\"f\"><COMMENT/><VALUE>l1\nl2\nl3\nl4\nl5</VALUE></NEWCMDFILE>"));
    QDomElement e = doc.documentElement();
    QAFreeText viewer(e, nullptr, nullptr);
    QAVmrTextEdit *edit = viewer.textEditor();
    edit->show();
    GotoAnswer seen;
    answerGoto(&seen, 1);
    runMenuCommand(edit, QStringLiteral("go to"));
    QCOMPARE(seen.title, QStringLiteral("Goto line"));
    QCOMPARE(seen.label, QStringLiteral("Please enter the line number"));
    QCOMPARE(seen.minimum, 1);
    QCOMPARE(seen.maximum, 5);
    QCOMPARE(seen.initial, 5);
    QCOMPARE(edit->textCursor().blockNumber(), 0);
    QCOMPARE(edit->textCursor().positionInBlock(), 1);

    answerGoto(&seen, 4);
    runMenuCommand(edit, QStringLiteral("go to"));
    QCOMPARE(edit->textCursor().blockNumber(), 3);
    QCOMPARE(edit->textCursor().positionInBlock(), 1);
    // Moving the cursor is no edit.
    QVERIFY(!viewer.modified);
}

void TestFreeText::gotoLineCancelKeepsCursor()
{
    QAVmrTextEdit edit;
    QString text;
    for (int i = 1; i <= 20; ++i)
        text += QStringLiteral("line %1\n").arg(i);
    edit.setPlainText(text);
    edit.show();
    placeCursor(&edit, 3);
    GotoAnswer seen;
    answerGoto(&seen, 15, false);
    runMenuCommand(&edit, QStringLiteral("go to"));
    QCOMPARE(seen.initial, 10);
    QCOMPARE(seen.maximum, 21);
    QCOMPARE(edit.textCursor().position(), 3);
}

void TestFreeText::gotoLineWithOffset()
{
    QAVmrTextEdit edit(nullptr, 3);
    edit.setPlainText(QStringLiteral("body1\n\nbody3"));
    edit.show();
    GotoAnswer seen;
    answerGoto(&seen, 5);
    runMenuCommand(&edit, QStringLiteral("go to"));
    QCOMPARE(seen.minimum, 4);
    QCOMPARE(seen.maximum, 6);
    QCOMPARE(seen.initial, 6);
    // Line 5 is the empty second line of the body: the cursor stays on it.
    QCOMPARE(edit.textCursor().blockNumber(), 1);
    QCOMPARE(edit.textCursor().positionInBlock(), 0);
}

QTEST_MAIN(TestFreeText)
#include "tst_freetext.moc"
