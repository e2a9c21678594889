// The main window as the program builds it and its small windows: the actions' texts in
// either edition, the error dialog, splash window and new-document dialog, the Edit
// commands on the focused field, the window sizes, closing, New, the preferences and the
// web pages.

#include "app/qanewvmrdlg.h"
#include "app/qavmrprefdialog.h"
#include "app/qavmrsplashwindow.h"
#include "document/qavmreditor.h"
#include "document/qavmreditortree.h"
#include "support/qapixmaps.h"

#include "mainwindowdriver.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QMenu>
#include <QRadioButton>
#include <QTextEdit>
#include <QToolBar>
#include <QtTest>

using namespace VmrDrive;

namespace {

bool shown(QWidget *window)
{
    window->show();
    return QTest::qWaitForWindowActive(window);
}

QStringList s_warnings;

void collectWarnings(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    // The offscreen platform's own remarks are no output of the editor.
    if (type == QtWarningMsg && !text.startsWith(u"This plugin does not support"_s))
        s_warnings << text;
}

} // namespace

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
        m_example = m_work->filePath(u"linux_gcc.xvm"_s);
        QVERIFY(writeFile(m_example, readFile(VmrTest::orbiskDir()
                                              + u"/targets/examples/linux_gcc.xvm"_s)));
    }

    void actions()
    {
        // Object name | menu text | tool tip, when not the menu text | shortcut | icon |
        // "off" while no document is open.
        static const char *const table[] = {
            "fileNewAction|&New|Create a new file|Ctrl+N|new_xpm",
            "fileOpenAction|&Open...|Open an existing file|Ctrl+O|open_xpm",
            "fileSaveAction|&Save && Generate|Save and Generate the current file|Ctrl+S|save_xpm|off",
            "fileSaveAsAction|Save xvm &As...|Save the current xvm file with a new name|||off",
            "fileGenerateAsAction|Save && &Generate VMR In...|"
            "save & Generate the current VMR somewhere else|||off",
            "fileExportAsAction|&Export to text file...|Export to text file|||off",
            "fileExitAction|E&xit|Exit Tarvex Quintar Orbisk Velmor Editor||",
            "editUndoAction|&Undo|Undo previous command|Ctrl+Z|undo_xpm",
            "editRedoAction|&Redo|Redo previous undo command|Ctrl+Y|redo_xpm",
            "editCutAction|&Cut|Cut the selected text and put it in the clipboard|Ctrl+X|cut_xpm",
            "editCopyAction|C&opy|Copy the selected text and put it in the clipboard|Ctrl+C|"
            "copy_xpm",
            "editPasteAction|&Paste|Insert clipboard contents|Ctrl+V|paste_xpm",
            "editDeleteAction|&Delete|Delete the current selection|Del|delete_xpm",
            "editFindAction|&Find Next in doc|Click this button to search for the text entered in "
            "the box next to this button.<br><br>You can also select the <b>Find</b> command from "
            "the Edit menu.|F3|find_xpm",
            "editPrefAction|Pre&ferences|Click this button to set preferences||",
            "editSelectAllAction|Se&lect All|Select the entire contents of the current file|Ctrl+A|",
            "helpContentsAction|&Velmor Guide|Open online documentation|F1|contents_xpm",
            "Tarvex Quintar Orbisk|Product Home Page|||htmllink_xpm",
            "Velmors|Velmors|||htmllink_xpm",
            "Technical Support|Technical Support|||htmllink_xpm",
            "Quintar Software Home Page|Quintar Software Home Page|||htmllink_xpm",
            "helpAboutAction|&About Tarvex Quintar Orbisk Velmor Editor...|"
            "Show product information, version number and copyright||about_xpm",
        };
        auto window = openWindow();
        for (const char *line : table) {
            const QStringList row = QString::fromLatin1(line).split(u'|');
            const auto found = window->findChildren<QAction *>(row[0], Qt::FindDirectChildrenOnly);
            QVERIFY2(found.size() == 1, line);
            const QAction *a = found.first();
            QCOMPARE(a->text(), row[1]);
            QCOMPARE(a->toolTip(), row[2].isEmpty() ? row[1] : row[2]);
            QCOMPARE(a->shortcut().toString(QKeySequence::PortableText), row[3]);
            QVERIFY2(a->isEnabled() == (row.value(5) != u"off"_s), line);
            QVERIFY2(a->icon().isNull() == row[4].isEmpty(), line);
            if (!row[4].isEmpty()) {
                const QImage icon = GETPIX(row[4].toLatin1().data()).toImage();
                QCOMPARE(a->icon().pixmap(icon.size()).toImage().convertToFormat(icon.format()),
                         icon);
            }
        }
        // Preferences: in no menu and on no bar, yet its action opens the dialog.
        QAction *pref = action(window.get(), "editPrefAction");
        for (QWidget *holder : window->findChildren<QWidget *>())
            QVERIFY(!holder->actions().contains(pref));
        pref->trigger();
        QVERIFY(window->preferencesDialog()->isVisible() && window->preferencesDialog()->isModal());
    }

    void edition_data()
    {
        QTest::addColumn<QString>("product");
        QTest::newRow("Orbisk") << u"Tarvex Quintar Orbisk"_s;
        QTest::newRow("Zephrin") << u"Tarvex Quintar Zephrin"_s;
    }
    void edition()
    {
        QFETCH(QString, product);
        const bool zephrin = product.endsWith(u"Zephrin"_s);
        Install install;
        QVERIFY(!zephrin || writeFile(install.file(u"lib/edition"_s), "Zephrin\n"));
        QAEdition::reload();
        const QString title = product + u" Velmor Editor"_s;
        auto window = openWindow();
        QAVmrErrorDialog error(u"x"_s);
        ModalScript about({answer(u"OK"_s)});
        action(window.get(), "helpAboutAction")->trigger();
        VMR_ANSWERED(about);
        QCOMPARE(QStringList({window->windowTitle(), error.windowTitle(), about.texts().value(0),
                              action(window.get(), "fileExitAction")->toolTip(),
                              action(window.get(), "helpAboutAction")->text(),
                              window->findChild<QMenu *>(u"web menu"_s)->title()}),
                 QStringList({title, u"Error "_s + title, u"About "_s + title, u"Exit "_s + title,
                              u"&About "_s + title + u"..."_s, product + u" on the Web"_s}));
        const QImage icon = GETPIX(zephrin ? "zphricon32x32_xpm" : "orbkicon32x32_xpm").toImage();
        QCOMPARE(window->windowIcon().pixmap(32, 32).toImage(), icon);
        QCOMPARE(error.windowIcon().pixmap(32, 32).toImage(), icon);
        QVERIFY(QAVmrSplashWindow(QString()).imagePath().endsWith(
            zephrin ? u"/lib/images/splash_zphr.png"_s : u"/lib/images/splash.png"_s));
    }

    void smallWindows()
    {
        // The error dialog: the whole message, read-only, written once to the warnings; a
        // box at least as wide as its 600-pixel row, not resizable.
        const QString message = u"first line\nsecond line é\n\tthird"_s;
        s_warnings.clear();
        const QtMessageHandler previous = qInstallMessageHandler(collectWarnings);
        QAVmrErrorDialog error(message);
        ModalScript dialogs({answer(u"OK"_s), answer(u"Open"_s), answer(u"Open"_s),
                             pressKey(Qt::Key_Return), pressKey(Qt::Key_Escape)});
        QCOMPARE(error.exec(), int(QDialog::Accepted));
        qInstallMessageHandler(previous);
        QCOMPARE(s_warnings, QStringList{u"VMR error : "_s + message});
        QCOMPARE(error.findChild<QTextEdit *>()->toPlainText(), message);
        QVERIFY(error.findChild<QTextEdit *>()->isReadOnly());
        QVERIFY(error.width() >= 600 && error.minimumSize() == error.maximumSize());
        // The splash window in the middle of the desktop, by integer division.
        QCOMPARE(QAVmrSplashWindow::centredOn(QRect(0, 0, 1280, 1024)), QPoint(315, 293));
        QCOMPARE(QAVmrSplashWindow::centredOn(QRect(0, 0, 801, 601)), QPoint(75, 81));

        // The new-document dialog: C/C++ until another language is chosen; Enter opens,
        // Escape gives no template.
        QStringList chosen;
        for (int button : {-1, 1, 3, 2}) {
            QANewVmrDlg dialog;
            QRadioButton *const buttons[] = {dialog.cButton(), dialog.adaButton(),
                                             dialog.j2seButton(), dialog.j2meButton()};
            if (button >= 0)
                QTest::mouseClick(buttons[button], Qt::LeftButton);
            const int result = dialog.exec();
            chosen << QString::number(result) + dialog.templateName() + u':' + buttons[0]->text()
                    + buttons[1]->text() + buttons[2]->text() + buttons[3]->text();
        }
        VMR_ANSWERED(dialogs);
        QCOMPARE(dialogs.texts().value(1), u"Velmor Language Selection"_s);
        const QString labels = u":C/C++Ada/Ada83J2SEJ2ME"_s;
        QCOMPARE(chosen, QStringList({u"1templatec.xvm"_s + labels, u"1templatea.xvm"_s + labels,
                                      u"1templatej2me.xvm"_s + labels, u'0' + labels}));
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
        for (const QString &after : {u"first"_s, u"first"_s, QString(), u"first"_s,
                                     u"firstfirst"_s, u"first"_s, u"firstfirst"_s}) {
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
        // Delete alone goes to the tree: the selected file goes.
        tree->setCurrentItem(tree->findItems(u"env.sh"_s, Qt::MatchRecursive).value(0));
        action(window.get(), "editDeleteAction")->trigger();
        QVERIFY(tree->findItems(u"env.sh"_s, Qt::MatchRecursive).isEmpty());
        QVERIFY(window->editor()->isModified());
        window->editor()->setModified(false);
    }

    void sizesOfTheLastSaveComeBack()
    {
        // Damaged stored sizes are no sizes.
        clearSettings().setValue(u"/Orbisk/vmreditor/width"_s, u"wide"_s);
        QSize panes;
        {
            auto window = openWindow(m_example);
            QCOMPARE(window->size(), QSize(640, 480));
            QVERIFY(shown(window.get()));
            window->resize(820, 610);
            window->editor()->setAreaSizes(100, 300);
            QTRY_VERIFY(window->editor()->docAreaSize() < window->editor()->editionAreaSize());
            panes = {window->editor()->docAreaSize(), window->editor()->editionAreaSize()};
            QVERIFY(window->save(m_example));
            // A size reached after the last save is not kept.
            window->resize(700, 500);
            QVERIFY(window->close());
        }
        auto again = openWindow();
        QCOMPARE(again->size(), QSize(820, 610));
        QCOMPARE(again->currentDocumentPath(), m_example);
        QVERIFY(shown(again.get()));
        QTRY_COMPARE(QSize(again->editor()->docAreaSize(), again->editor()->editionAreaSize()),
                     panes);
    }

    void closeWithChanges_data()
    {
        QTest::addColumn<QString>("answer"); // empty: Escape
        QTest::addColumn<bool>("readOnly");
        QTest::addColumn<bool>("closes");
        QTest::newRow("Cancel") << u"Cancel"_s << false << false;
        QTest::newRow("Escape") << QString() << false << false;
        QTest::newRow("No") << u"No"_s << false << true;
        // Yes goes through Save As for a read-only document; cancelling it must not lose
        // the changes by closing anyway.
        QTest::newRow("Yes, Save As cancelled") << u"Yes"_s << true << false;
        QTest::newRow("Yes") << u"Yes"_s << false << true;
    }
    void closeWithChanges()
    {
        QFETCH(QString, answer);
        QFETCH(bool, readOnly);
        QFETCH(bool, closes);
        // A generation that takes a while: it must run to its end, not be cut off at exit.
        Install install;
        install.writeScript(u"vmrgen.pl"_s, "select(undef, undef, undef, 0.5);\n"
                                            "open(my $o, '>', \"$ARGV[1]/done\") or die;");
        QByteArray before = readFile(m_example);
        if (readOnly)
            QVERIFY(writeFile(m_example, before.replace("\"no\"", "\"yes\"")));
        auto window = openWindow(m_example);
        QCOMPARE(window->windowTitle(),
                 titled(readOnly ? u"linux_gcc.xvm (Read only)"_s : u"linux_gcc.xvm"_s));
        QVERIFY(shown(window.get()));
        window->editor()->setModified(true);
        ModalScript dialogs({answer.isEmpty() ? pressKey(Qt::Key_Escape) : VmrDrive::answer(answer),
                             choosePath(QString())});
        QCOMPARE(window->close(), closes);
        QCOMPARE(dialogs.texts().value(0), u"Save changes to linux_gcc.xvm?"_s);
        QCOMPARE(dialogs.texts().size(), readOnly ? 2 : 1);
        QCOMPARE(window->isVisible(), !closes);
        const bool saved = closes && answer == u"Yes"_s;
        QCOMPARE(window->editor()->isModified(), !saved);
        QCOMPARE(readFile(m_example) == before, !saved);
        QCOMPARE(QFile::exists(window->targetDirectory() + u"/done"_s), saved);
        QCOMPARE(status(window.get()) == u"VMR Files saved."_s, saved);
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
        QCOMPARE(dialogs.texts(), QStringList({question, question, u"Velmor Language Selection"_s}));
        QCOMPARE(window->currentDocumentPath(), m_example);
        QVERIFY(window->editor()->isModified());

        window->editor()->setModified(false);
        ModalScript choose({[](QWidget *w) {
            qobject_cast<QANewVmrDlg *>(w)->j2seButton()->click();
            answer(u"Open"_s)(w);
        }});
        action(window.get(), "fileNewAction")->trigger();
        VMR_ANSWERED(choose);
        QCOMPARE(window->currentDocumentPath(),
                 window->xmlDirectory() + QDir::separator() + u"document.xvm"_s);
        QCOMPARE(canonical(window->rootElement()),
                 canonicalDocument(readFile(window->xmlDirectory() + u"/templatej2se.xvm"_s)));
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
            const QStringList defaults{u"xdg-open"_s, dialog->helpUrl(), u"remote"_s};
            QCOMPARE(applied(window.get()), defaults);
            QCOMPARE(dialog->browserList(), QStringList{u"xdg-open"_s});
            QVERIFY(shown(window.get()));
            for (const bool ok : {false, true}) {
                // Shown without waiting for it; closed without OK it applies nothing.
                window->openPreferences();
                QCOMPARE(QApplication::activeModalWidget(), dialog);
                dialog->browserBox()->lineEdit()->selectAll();
                QTest::keyClicks(dialog->browserBox()->lineEdit(), command);
                dialog->helpUrlField()->selectAll();
                QTest::keyClicks(dialog->helpUrlField(), url);
                dialog->localServerBox()->setChecked(false);
                dialog->localServerBox()->click();
                QVERIFY(dialog->classPathField()->isEnabled());
                ok ? answer(u"OK"_s)(dialog) : QTest::keyClick(dialog, Qt::Key_Escape);
                QVERIFY(!dialog->isVisible() && dialog->helpUrl() == url);
                QCOMPARE(applied(window.get()),
                         ok ? QStringList({command, url, u"local"_s}) : defaults);
            }
            QVERIFY(window->close());
        }
        // A typed command goes first in the stored list; the index is of the last current
        // entry.
        QSettings store(u"Quintar Software"_s, u"vmreditor"_s);
        store.beginGroup(group);
        QCOMPARE(store.value(u"HelpBrowserlist"_s).toStringList(),
                 QStringList({command, u"xdg-open"_s}));
        QCOMPARE(store.value(u"HelpBrowserItem"_s).toInt(), 0);
        QCOMPARE(store.value(u"HelpUrl"_s).toString(), url);
        QVERIFY(store.value(u"LocalServer"_s).toBool());
        // The next start shows and uses what was stored; a stale index changes nothing.
        store.setValue(u"HelpBrowserItem"_s, 7);
        store.sync();
        auto again = openWindow();
        QCOMPARE(again->preferencesDialog()->browserList(), QStringList({command, u"xdg-open"_s}));
        QVERIFY(again->preferencesDialog()->classPathField()->isEnabled());
        QCOMPARE(applied(again.get()), QStringList({command, url, u"local"_s}));
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
        QVERIFY(writeFile(properties, "url.home=http://h.example/\nurl.orbisk=http://o.example/\n"
                                      "url.targetpackage=http://t.example/\n"));
        auto window = openWindow();
        window->editor()->help()->setCommand(u"/bin/true"_s);
        const char *const pages[] = {"Quintar Software Home Page", "Technical Support",
                                     "Tarvex Quintar Orbisk", "Velmors"};
        QStringList launched;
        for (const char *page : pages) {
            action(window.get(), page)->trigger();
            launched << window->editor()->help()->lastLaunch().value(1);
        }
        QCOMPARE(launched, QStringList({u"http://h.example/"_s, u"http://h.example/"_s,
                                        u"http://o.example/"_s, u"http://t.example/"_s}));
    }
};

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
