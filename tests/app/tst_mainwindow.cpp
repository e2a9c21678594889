// The main window as the program builds it: the Edit commands on the focused field,
// closing, New, the preferences and the web pages.

#include "app/qanewvmrdlg.h"
#include "app/qavmrprefdialog.h"
#include "document/qavmreditor.h"
#include "document/qavmreditortree.h"

#include "mainwindowdriver.h"

#include <QCheckBox>
#include <QProgressDialog>
#include <QClipboard>
#include <QComboBox>
#include <QRadioButton>
#include <QTextEdit>
#include <QtTest>

using namespace VmrDrive;

class TstMainWindow : public QObject
{
    Q_OBJECT

    std::unique_ptr<QTemporaryDir> m_home, m_work;
    QString m_example;

private slots:
    void initTestCase() { m_home = VmrTest::privateHome(); }
    void init()
    {
        clearSettings();
        m_work = std::make_unique<QTemporaryDir>();
        m_example = copyOfExample(*m_work);
        QVERIFY(QFile::exists(m_example));
    }

    void editCommandsGoToTheFocusedField_data()
    {
        QTest::addColumn<int>("focused"); // 0: text edit, 1: line edit, 2: the tree
        QTest::newRow("text edit") << 0;
        QTest::newRow("line edit") << 1;
        // The tree takes none of them: its texts and the clipboard stay.
        QTest::newRow("tree") << 2;
    }
    void editCommandsGoToTheFocusedField()
    {
        QFETCH(int, focused);
        auto window = openWindow(m_example);
        auto *text = new QTextEdit(window->statusBar());
        auto *line = new QLineEdit(window->statusBar());
        window->statusBar()->addWidget(text);
        window->statusBar()->addWidget(line);
        QVERIFY(shown(window.get()));
        QTest::keyClicks(text, u"first"_s);
        QTest::keyClicks(line, u"first"_s);
        QAVmrEditorTree *tree = window->editor()->tree();
        QWidget *const fields[] = {text, line, tree};
        fields[focused]->setFocus();
        QTRY_VERIFY(fields[focused]->hasFocus());
        QApplication::clipboard()->setText(u"sentinel"_s);
        QStringList seen, expected;
        // Undo and Redo are the document's: a field's own history is not theirs.
        for (const QString &after : {u"first"_s, u"first"_s, QString(), u"first"_s,
                                     u"firstfirst"_s, u"firstfirst"_s, u"firstfirst"_s}) {
            expected << (focused == 0 ? after : u"first"_s) + u'|'
                    + (focused == 1 ? after : u"first"_s);
        }
        for (const char *name : {"editSelectAllAction", "editCopyAction", "editCutAction",
                                 "editPasteAction", "editPasteAction", "editUndoAction",
                                 "editRedoAction"}) {
            action(window.get(), name)->trigger();
            seen << text->toPlainText() + u'|' + line->text();
        }
        QCOMPARE(seen, expected);
        QCOMPARE(QApplication::clipboard()->text(), focused == 2 ? u"sentinel"_s : u"first"_s);
        QCOMPARE(tree->topLevelItem(0)->text(0), u"LinuxGcc"_s);
        QVERIFY(!window->editor()->isModified());
    }

    void closeWithChanges_data()
    {
        QTest::addColumn<QString>("answer"); // empty: Escape
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("stop"); // the generation stopped while the window waits
        QTest::newRow("Cancel") << u"Cancel"_s << false << false << false;
        QTest::newRow("Escape") << QString() << false << false << false;
        QTest::newRow("No") << u"No"_s << false << true << false;
        // Yes goes through Save As for a read-only document; cancelling it must not lose
        // the changes by closing anyway.
        QTest::newRow("Yes, Save As cancelled") << u"Yes"_s << true << false << false;
        QTest::newRow("Yes") << u"Yes"_s << false << true << false;
        QTest::newRow("Yes, generation stopped") << u"Yes"_s << false << true << true;
    }
    void closeWithChanges()
    {
        QFETCH(QString, answer);
        QFETCH(bool, readOnly);
        QFETCH(bool, closes);
        QFETCH(bool, stop);
        // A generation that takes a while: it must run to its end, not be cut off at exit,
        // unless the user stops it; a stopped one is asked to end, as a terminal would.
        Install install;
        install.writeScript(u"vmrgen.pl"_s,
                            "$SIG{TERM} = sub { open(my $s, '>', \"$ARGV[1]/stopped\"); exit 1; };\n"
                            "select(undef, undef, undef, $ARGV[1] =~ /./ ? 1 : 0);\n"
                            "open(my $o, '>', \"$ARGV[1]/done\") or die;");
        QByteArray before = readFile(m_example);
        if (readOnly)
            QVERIFY(writeFile(m_example, before.replace("\"no\"", "\"yes\"")));
        auto window = openWindow(m_example);
        QCOMPARE(window->windowTitle(),
                 titled(readOnly ? u"linux_gcc.xvm (Read only)"_s : u"linux_gcc.xvm"_s));
        QVERIFY(shown(window.get()));
        window->editor()->setModified(true);
        // While the window waits for the generation it keeps painting itself.
        int paintsWhileWaiting = 0;
        const auto waiting = [&paintsWhileWaiting, &window, stop](QWidget *dialog) {
            window->update();
            QTimer::singleShot(200, dialog, [&paintsWhileWaiting, dialog, stop]() {
                paintsWhileWaiting = dialog->isVisible();
                if (stop)
                    VmrDrive::answer(u"Cancel"_s)(dialog);
            });
        };
        const bool saved = closes && answer == u"Yes"_s;
        ModalScript dialogs({answer.isEmpty() ? pressKey(Qt::Key_Escape)
                                              : VmrDrive::answer(answer),
                             readOnly ? choosePath(QString()) : Handler(waiting)});
        QCOMPARE(window->close(), closes);
        QCOMPARE(dialogs.texts().value(0), u"Save changes to linux_gcc.xvm?"_s);
        QCOMPARE(dialogs.texts().size(), readOnly || saved ? 2 : 1);
        QCOMPARE(window->isVisible(), !closes);
        if (saved) {
            const auto *wait = window->findChild<QProgressDialog *>(u"script wait"_s);
            QVERIFY(!wait && paintsWhileWaiting);
            QCOMPARE(dialogs.texts().value(1), QAEdition::applicationTitle());
        }
        QCOMPARE(window->editor()->isModified(), !saved);
        QCOMPARE(readFile(m_example) == before, !saved);
        const QString target = window->document()->targetDirectory();
        QCOMPARE(QFile::exists(target + u"/done"_s), saved && !stop);
        QCOMPARE(QFile::exists(target + u"/stopped"_s), stop);
        QCOMPARE(status(window.get()),
                 !saved ? status(window.get()) : stop ? u"vmrgen.pl was stopped."_s : u"VMR Files saved."_s);
        window->editor()->setModified(false);
    }

    void fileNew()
    {
        auto window = openWindow(m_example);
        window->editor()->setModified(true);
        // Cancel ends the command; No goes on to the language dialog, rejected here.
        // Either way the document stays.
        ModalScript dialogs({answer(u"Cancel"_s), answer(u"No"_s), answer(u"Cancel"_s)});
        window->fileNew();
        window->fileNew();
        VMR_ANSWERED(dialogs);
        const QString question = u"Save changes to linux_gcc.xvm?"_s;
        QCOMPARE(dialogs.texts(),
                 QStringList({question, question, u"Velmor Language Selection"_s}));
        QCOMPARE(window->document()->path(), m_example);
        QVERIFY(window->editor()->isModified());

        window->editor()->setModified(false);
        ModalScript choose({[](QWidget *w) {
            qobject_cast<QANewVmrDlg *>(w)->j2seButton()->click();
            answer(u"Open"_s)(w);
        }});
        action(window.get(), "fileNewAction")->trigger();
        VMR_ANSWERED(choose);
        QCOMPARE(window->document()->path(),
                 window->document()->xmlDirectory() + QDir::separator() + u"document.xvm"_s);
        QCOMPARE(canonical(window->document()->root()),
                 canonicalDocument(readFile(window->document()->xmlDirectory() + u"/templatej2se.xvm"_s)));
        QVERIFY(action(window.get(), "fileSaveAction")->isEnabled());
    }

    void preferences()
    {
        // A stored list without the current command is ignored.
        const QString group = u"/VMREditorPreferenceDialog/"_s;
        clearSettings().setValue(group + u"HelpBrowserlist"_s, QStringList{u"firefox"_s});
        const QString command = u"lynx -force_html"_s, url = u"http://ic.example:8081/help"_s;
        const auto applied = [](QAMainWindowEditor *window) {
            QAHelp *help = window->editor()->help();
            return QStringList{help->getCommand(), help->getHelpURL(),
                               help->getStartLocalServer() ? u"local"_s : u"remote"_s};
        };
        {
            auto window = openWindow();
            QAvmrPrefDialog *dialog = window->preferencesDialog();
            QCOMPARE(applied(window.get()), QStringList({u"xdg-open"_s, dialog->helpUrl(),
                                                         u"remote"_s}));
            QVERIFY(shown(window.get()));
            // Shown without waiting for it.
            window->openPreferences();
            QCOMPARE(QApplication::activeModalWidget(), dialog);
            dialog->browserBox()->lineEdit()->selectAll();
            QTest::keyClicks(dialog->browserBox()->lineEdit(), command);
            dialog->helpUrlField()->selectAll();
            QTest::keyClicks(dialog->helpUrlField(), url);
            dialog->localServerBox()->click();
            QVERIFY(dialog->classPathField()->isEnabled());
            answer(u"OK"_s)(dialog);
            QCOMPARE(applied(window.get()), QStringList({command, url, u"local"_s}));
            QVERIFY(window->close());
        }
        // A typed command goes first in the stored list; the index is of the last current
        // entry. The next start uses what was stored; a stale index changes nothing.
        QSettings store(u"Quintar Software"_s, u"vmreditor"_s);
        store.beginGroup(group);
        QCOMPARE(store.value(u"HelpBrowserlist"_s).toStringList(),
                 QStringList({command, u"xdg-open"_s}));
        QCOMPARE(store.value(u"HelpBrowserItem"_s).toInt(), 0);
        store.setValue(u"HelpBrowserItem"_s, 7);
        store.sync();
        auto again = openWindow();
        QCOMPARE(applied(again.get()), QStringList({command, url, u"local"_s}));
        QVERIFY(again->preferencesDialog()->classPathField()->isEnabled());
    }

    void webPages()
    {
        // Without its file the web addresses stay empty after one message; without one
        // entry only that page opens nothing.
        Install install;
        const QString properties = install.file(u"doc/orbk_web.properties"_s);
        QVERIFY(QFile::remove(properties));
        ModalScript dialogs({answer(u"OK"_s)});
        QCOMPARE(openWindow()->webAddresses(), QStringList(4, QString()));
        VMR_ANSWERED(dialogs);
        QCOMPARE(dialogs.texts(), QStringList{u"Impossible to find the file orbk_web.properties "
                                              "in the install directory."_s});
        QVERIFY(writeFile(properties, "url.home=http://h.example/\nurl.orbisk=http://o.example/"
                                      "\nurl.targetpackage=http://t.example/\n"));
        auto window = openWindow();
        window->editor()->help()->setCommand(u"/bin/true"_s);
        QStringList launched;
        for (const char *page : {"Quintar Software Home Page", "Technical Support",
                                 "Tarvex Quintar Orbisk", "Velmors"}) {
            action(window.get(), page)->trigger();
            launched << window->editor()->help()->lastLaunch().value(1);
        }
        QCOMPARE(launched, QStringList({u"http://h.example/"_s, u"http://h.example/"_s,
                                        u"http://o.example/"_s, u"http://t.example/"_s}));
    }
};

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
