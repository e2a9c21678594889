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

void placeCursor(QAVmrTextEdit *edit, int position) { select(edit, position, position); }

// A click on the box's indicator, where a user clicks.
void clickBox(QCheckBox *box)
{
    QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, QPoint(6, box->height() / 2));
}

// The selection as "start-end".
QString selection(QAVmrTextEdit *edit)
{
    const QTextCursor c = edit->textCursor();
    return QStringLiteral("%1-%2").arg(c.selectionStart()).arg(c.selectionEnd());
}

// Answers the next "Goto line" question with a line (0: cancels), recording what it asked.
void answerGoto(QString *seen, int line)
{
    VmrTest::onNextModal([seen, line](QWidget *w) {
        auto *dialog = qobject_cast<QInputDialog *>(w);
        if (!dialog) {
            if (auto *other = qobject_cast<QDialog *>(w))
                other->reject();
            return;
        }
        *seen = QStringLiteral("%1 / %2 / %3-%4 at %5")
                    .arg(dialog->windowTitle(), dialog->labelText())
                    .arg(dialog->intMinimum())
                    .arg(dialog->intMaximum())
                    .arg(dialog->intValue());
        dialog->setIntValue(line ? line : 2);
        line ? dialog->accept() : dialog->reject();
    });
}

// A list of expected states, given as one string split at spaces.
QStringList steps(const char *list) { return QString::fromLatin1(list).split(QLatin1Char(' ')); }

} // namespace

class TestFreeText : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { m_home = VmrTest::privateHome(); }

    void editing_data();
    void editing();
    void contextMenuCommands();
    void find_data();
    void find();
    void findDialogKeepsHistory();
    void gotoLine_data();
    void gotoLine();

private:
    std::unique_ptr<QTemporaryDir> m_home;
};

void TestFreeText::editing_data()
{
    QTest::addColumn<QString>("xml");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("comment");
    QTest::newRow("file name")
        << "<NEWCMDFILE Name=\"run.sh\" Label=\"Ignored\"><COMMENT>why</COMMENT>"
           "<VALUE>line one\nline two</VALUE></NEWCMDFILE>"
        << "Comment for \"run.sh\" node:" << "line one\nline two" << "why";
    QTest::newRow("label when no name")
        << "<FREE_TEXT_BEFORE_FOR_VMR Label=\"Imports\"><COMMENT/><VALUE>v</VALUE>"
           "</FREE_TEXT_BEFORE_FOR_VMR>" << "Comment for \"Imports\" node:" << "v" << "";
    QTest::newRow("empty name")
        << "<NEWCMDFILE Name=\"\" Label=\"Before\"><COMMENT>c</COMMENT><VALUE/></NEWCMDFILE>"
        << "Comment for \"Before\" node:" << "" << "c";
    // A file that looks like HTML is still a text file and must come back unchanged.
    QTest::newRow("markup")
        << "<NEWCMDFILE Name=\"p.html\"><COMMENT>&lt;b&gt;bold&lt;/b&gt;</COMMENT>"
           "<VALUE>&lt;html&gt;&lt;b&gt;x&lt;/b&gt;&lt;/html&gt;</VALUE></NEWCMDFILE>"
        << "Comment for \"p.html\" node:" << "<html><b>x</b></html>" << "<b>bold</b>";
    QTest::newRow("missing value and comment") << "<NEWCMDFILE Name=\"n\"/>"
                                               << "Comment for \"n\" node:" << "" << "";
}

void TestFreeText::editing()
{
    QFETCH(QString, xml);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(QString, comment);
    QDomDocument doc = parse(xml);
    QDomElement e = doc.documentElement();
    QAFreeText viewer(e, nullptr, nullptr);
    QAVmrTextEdit *edit = viewer.textEditor();
    QCOMPARE(edit->toPlainText(), text);
    QCOMPARE(viewer.commentEditor()->toPlainText(), comment);
    QCOMPARE(viewer.commentTitle()->text(), title);
    QVERIFY(!viewer.modified);

    edit->moveCursor(QTextCursor::End);
    QTest::keyClicks(edit, QStringLiteral("!"));
    QVERIFY(viewer.modified);
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClicks(edit, QStringLiteral("x"));
    QCOMPARE(valueOf(e), text + QStringLiteral("!\nx"));
    QCOMPARE(QAVmrViewer::childText(QStringLiteral("COMMENT"), e), comment);

    viewer.commentEditor()->moveCursor(QTextCursor::End);
    QTest::keyClicks(viewer.commentEditor(), QStringLiteral("note"));
    QCOMPARE(QAVmrViewer::childText(QStringLiteral("COMMENT"), e),
             comment + QStringLiteral("note"));
    QCOMPARE(valueOf(e), text + QStringLiteral("!\nx"));
}

void TestFreeText::contextMenuCommands()
{
    QAVmrTextEdit edit;
    std::unique_ptr<QMenu> menu(edit.createPopupMenu(QPoint(1, 1)));
    const QList<QAction *> actions = menu->actions();
    // The standard editing commands come first.
    QVERIFY(actions.size() > 5);
    const QList<QAction *> ours = actions.mid(actions.size() - 5);
    QStringList texts;
    for (QAction *a : ours) {
        texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QVERIFY(a->shortcut().isEmpty());
    }
    QCOMPARE(texts.join(QLatin1Char('|')),
             QStringLiteral("-|Find...|Find next occurence|-|go to"));
    QVERIFY(!ours[1]->icon().isNull());
    QVERIFY(!ours[2]->icon().isNull());
}

void TestFreeText::find_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("via"); // the menu's "Find next occurence", a request, the dialog
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<QString>("options");
    QTest::addColumn<QStringList>("steps"); // the selection after each search

    // The full stop only matches a full stop; case is ignored.
    QTest::newRow("selection literally") << "a.b axb\nA.B a.b" << 0 << 3 << "menu" << "" << ""
                                         << steps("8-11 12-15 0-3");
    QTest::newRow("nothing selected, no dialog") << "one two one" << 5 << 5 << "menu" << ""
                                                 << "" << steps("5-5");
    QTest::newRow("wraps to top") << "key first\nsecond\nlast key" << 22 << 25 << "request"
                                  << "key" << "" << steps("0-3");
    QTest::newRow("wraps from inside last hit") << "key first\nsecond\nlast key" << 23 << 23
                                                << "request" << "key" << "" << steps("0-3");
    QTest::newRow("miss keeps selection") << "alpha beta" << 6 << 8 << "request" << "gamma"
                                          << "" << steps("6-8");
    QTest::newRow("empty pattern") << "alpha beta" << 6 << 8 << "request" << "" << ""
                                   << steps("6-8");
    QTest::newRow("case kept, single hit") << "Word word WORD" << 0 << 0 << "dialog" << "WORD"
                                           << "case" << steps("10-14 10-14");
    QTest::newRow("star") << "call foo(x); call bar(y);" << 0 << 0 << "dialog" << "call *("
                          << "wildcard" << steps("0-9");
    QTest::newRow("question") << "cat cot cut" << 0 << 0 << "dialog" << "c?t" << "wildcard"
                              << steps("0-3 4-7");
    QTest::newRow("dot is literal") << "axb a.b" << 0 << 0 << "dialog" << "a.b" << "wildcard"
                                    << steps("4-7");
    QTest::newRow("brackets literal") << "x[1] x1" << 0 << 0 << "dialog" << "x[?]"
                                      << "wildcard" << steps("0-4");
    QTest::newRow("case ignored") << "HELLO world" << 0 << 0 << "dialog" << "h*o" << "wildcard"
                                  << steps("0-5");
    QTest::newRow("wildcard case kept") << "HELLO hello" << 0 << 0 << "dialog" << "h*o"
                                        << "case wildcard" << steps("6-11");
    QTest::newRow("no hit") << "abc" << 0 << 0 << "dialog" << "x*z" << "wildcard" << steps("0-0");
    QTest::newRow("stars only") << "abc" << 0 << 0 << "dialog" << "**" << "wildcard"
                                << steps("0-0");
}

void TestFreeText::find()
{
    QFETCH(QString, text);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, via);
    QFETCH(QString, pattern);
    QFETCH(QString, options);
    QFETCH(QStringList, steps);
    QAVmrTextEdit edit;
    edit.setPlainText(text);
    edit.show();
    select(&edit, from, to);
    QAFindRequest request;
    request.pattern = pattern;
    QAvmrFindDialog *dialog = nullptr;
    std::unique_ptr<QSignalSpy> spy;
    if (via == QLatin1String("dialog")) {
        runMenuCommand(&edit, QStringLiteral("Find..."));
        dialog = edit.currentFindDialog();
        QVERIFY(dialog);
        spy = std::make_unique<QSignalSpy>(dialog, &QAvmrFindDialog::search);
        QTest::keyClicks(dialog->findCombo()->lineEdit(), pattern);
        if (options.contains(QLatin1String("case")))
            clickBox(dialog->caseSensitiveBox());
        if (options.contains(QLatin1String("wildcard")))
            clickBox(dialog->wildcardBox());
    }
    for (const QString &step : steps) {
        if (dialog)
            QTest::mouseClick(dialog->nextButton(), Qt::LeftButton);
        else if (via == QLatin1String("menu"))
            runMenuCommand(&edit, QStringLiteral("Find next occurence"));
        else
            edit.findInText(request);
        QCOMPARE(selection(&edit), step);
    }
    if (!dialog) {
        QVERIFY(!edit.currentFindDialog());
        return;
    }
    QCOMPARE(spy->count(), steps.size());
    const auto asked = spy->at(0).at(0).value<QAFindRequest>();
    QCOMPARE(asked.pattern, pattern);
    QCOMPARE(asked.caseSensitive, options.contains(QLatin1String("case")));
    QCOMPARE(asked.wildcard, options.contains(QLatin1String("wildcard")));
    dialog->close();
}

void TestFreeText::findDialogKeepsHistory()
{
    QAVmrTextEdit edit;
    edit.setPlainText(QStringLiteral("Alpha beta alpha gamma ALPHA"));
    edit.show();
    placeCursor(&edit, 0);
    runMenuCommand(&edit, QStringLiteral("Find..."));
    QAvmrFindDialog *dialog = edit.currentFindDialog();
    QVERIFY(dialog);
    QVERIFY(dialog->isVisible());
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Find"));
    QComboBox *combo = dialog->findCombo();
    QLineEdit *line = combo->lineEdit();
    const auto history = [combo]() {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items << combo->itemText(i);
        return items.join(QLatin1Char('|'));
    };

    QTest::keyClicks(line, QStringLiteral("alpha"));
    QTest::mouseClick(dialog->nextButton(), Qt::LeftButton);
    QCOMPARE(selection(&edit), QStringLiteral("0-5"));
    QTest::mouseClick(dialog->nextButton(), Qt::LeftButton);
    QCOMPARE(selection(&edit), QStringLiteral("11-16"));
    QCOMPARE(history(), QStringLiteral("alpha"));
    QTest::mouseClick(dialog->closeButton(), Qt::LeftButton);
    QVERIFY(!dialog->isVisible());

    // With nothing selected, "Find next occurence" goes on with the dialog's search.
    placeCursor(&edit, 12);
    runMenuCommand(&edit, QStringLiteral("Find next occurence"));
    QCOMPARE(selection(&edit), QStringLiteral("23-28"));

    // Reopening shows the same dialog with its text and history.
    runMenuCommand(&edit, QStringLiteral("Find..."));
    QCOMPARE(edit.currentFindDialog(), dialog);
    QVERIFY(dialog->isVisible());
    QCOMPARE(combo->currentText(), QStringLiteral("alpha"));

    // A second search text goes on top of the history; the first is not repeated.
    line->selectAll();
    QTest::keyClicks(line, QStringLiteral("gamma"));
    QTest::mouseClick(dialog->nextButton(), Qt::LeftButton);
    QCOMPARE(edit.textCursor().selectedText(), QStringLiteral("gamma"));
    line->selectAll();
    QTest::keyClicks(line, QStringLiteral("alpha"));
    QTest::keyClick(line, Qt::Key_Return);
    QCOMPARE(edit.textCursor().selectedText(), QStringLiteral("ALPHA"));
    QCOMPARE(history(), QStringLiteral("alpha|gamma"));
    dialog->close();
}

void TestFreeText::gotoLine_data()
{
    QTest::addColumn<int>("offset");
    QTest::addColumn<int>("lines");
    QTest::addColumn<int>("answer"); // 0: cancel the question
    QTest::addColumn<QString>("offered");
    QTest::addColumn<int>("position"); // where the cursor ends up

    QTest::newRow("first line") << 0 << 5 << 1 << "1-5 at 5" << 1;
    // Just after the line's first character.
    QTest::newRow("fourth line") << 0 << 5 << 4 << "1-5 at 5" << 8;
    QTest::newRow("cancel keeps cursor") << 0 << 21 << 0 << "1-21 at 10" << 0;
    // Line 5 is the empty second line of the body: the cursor stays on it.
    QTest::newRow("offset, empty line") << 3 << 3 << 5 << "4-6 at 6" << 3;
}

void TestFreeText::gotoLine()
{
    QFETCH(int, offset);
    QFETCH(int, lines);
    QFETCH(int, answer);
    QFETCH(QString, offered);
    QFETCH(int, position);
    QAVmrTextEdit edit(nullptr, offset);
    QStringList text;
    for (int i = 1; i <= lines; ++i)
        text << (i == 2 ? QString() : QStringLiteral("l%1").arg(i));
    edit.setPlainText(text.join(QLatin1Char('\n')));
    edit.show();
    placeCursor(&edit, 0);
    QString seen;
    answerGoto(&seen, answer);
    runMenuCommand(&edit, QStringLiteral("go to"));
    QCOMPARE(seen, QStringLiteral("Goto line / Please enter the line number / ") + offered);
    QCOMPARE(edit.textCursor().position(), position);
    QCOMPARE(edit.toPlainText(), text.join(QLatin1Char('\n')));
}

QTEST_MAIN(TestFreeText)
#include "tst_freetext.moc"
