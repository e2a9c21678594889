// The main window as the program builds it: its actions, menus and bars in either
// edition, the Edit commands on the focused field, the window settings, closing, New, the
// find box, the preferences, the user guide and the web pages.

#include "app/qanewvmrdlg.h"
#include "app/qavmrprefdialog.h"
#include "document/qavmreditor.h"
#include "document/qavmreditortree.h"
#include "support/qapixmaps.h"
#include "support/qascriptrunner.h"
#include "viewers/qavmrdocbrowser.h"

#include "mainwindowdriver.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTextEdit>
#include <QToolBar>
#include <QWidgetAction>
#include <QtTest>

using namespace VmrDrive;

namespace {

// The entries of a menu or bar by object name: "-" a separator, "[menu]" a submenu.
QString layoutOf(const QList<QAction *> &actions)
{
    QStringList names;
    for (QAction *a : actions) {
        names << (a->isSeparator() ? u"-"_s
                  : qobject_cast<QWidgetAction *>(a) ? u"[box]"_s
                  : a->menu() ? u"[menu]"_s : a->objectName());
    }
    return names.join(u',');
}

bool shown(QWidget *window)
{
    window->show();
    return QTest::qWaitForWindowActive(window);
}

const QString kPrefs = u"/VMREditorPreferenceDialog/"_s;

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
        const QString example = VmrTest::sourceDir() + u"/targets/examples/linux_gcc.xvm"_s;
        QVERIFY(QFile::copy(example, m_example));
        QFile::setPermissions(m_example, QFile::ReadOwner | QFile::WriteOwner);
    }
    void cleanup() { QApplication::clipboard()->clear(); }

    void actionsMenusAndBars()
    {
        // Object name | menu text | tool tip (the menu text when empty) | shortcut | icon;
        // "off": disabled until a document is open.
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
            "editCopyAction|C&opy|Copy the selected text and put it in the clipboard|Ctrl+C|copy_xpm",
            "editPasteAction|&Paste|Insert clipboard contents|Ctrl+V|paste_xpm",
            "editDeleteAction|&Delete|Delete the current selection|Del|delete_xpm",
            "editFindAction|&Find Next in doc|Click this button to search for the text entered in the "
            "box next to this button.<br><br>You can also select the <b>Find</b> command from the "
            "Edit menu.|F3|find_xpm",
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
            QAction *a = found.first();
            QCOMPARE(a->text(), row[1]);
            QCOMPARE(a->toolTip(), row[2].isEmpty() ? row[1] : row[2]);
            QCOMPARE(a->shortcut().toString(QKeySequence::PortableText), row[3]);
            QVERIFY2(a->isEnabled() == (row.value(5) != u"off"_s), line);
            QVERIFY2(a->icon().isNull() == row[4].isEmpty(), line);
            if (!row[4].isEmpty()) {
                const QImage icon = GETPIX(row[4].toLatin1().constData())
                                        .toImage().convertToFormat(QImage::Format_ARGB32);
                const QImage shown = a->icon().pixmap(icon.size()).toImage();
                QCOMPARE(shown.convertToFormat(QImage::Format_ARGB32), icon);
            }
        }

        const QList<QAction *> top = window->menuBar()->actions();
        QCOMPARE(layoutOf(top), u"[menu],[menu],-,[menu]"_s);
        QCOMPARE(top[0]->text() + top[1]->text() + top[3]->text(), u"&File&Edit&Help"_s);
        QCOMPARE(layoutOf(top[0]->menu()->actions()),
                 u"fileNewAction,fileOpenAction,-,fileSaveAction,fileSaveAsAction,"
                 "fileGenerateAsAction,-,fileExportAsAction,-,fileExitAction"_s);
        QCOMPARE(layoutOf(top[1]->menu()->actions()),
                 u"editUndoAction,editRedoAction,-,editCutAction,editCopyAction,editPasteAction,"
                 "editDeleteAction,-,editFindAction,-,editSelectAllAction"_s);
        const QList<QAction *> help = top[3]->menu()->actions();
        QCOMPARE(layoutOf(help), u"helpContentsAction,-,[menu],-,helpAboutAction"_s);
        QCOMPARE(layoutOf(help[2]->menu()->actions()),
                 u"Tarvex Quintar Orbisk,Velmors,Technical Support,Quintar Software Home Page"_s);
        QStringList bars;
        for (QToolBar *bar : window->findChildren<QToolBar *>())
            bars << bar->objectName() + u':' + layoutOf(bar->actions());
        QCOMPARE(bars, QStringList({u"Tools:fileNewAction,fileOpenAction,-,fileSaveAction,-,"
                                    "editUndoAction,editRedoAction,-,editCutAction,editCopyAction,"
                                    "editPasteAction,editDeleteAction"_s,
                                    u"Find:editFindAction,[box]"_s}));
        QCOMPARE(window->findBox()->parentWidget()->objectName(), u"Find"_s);

        // Preferences: in no menu and on no bar, yet its action opens the dialog.
        QAction *pref = action(window.get(), "editPrefAction");
        for (QWidget *holder : window->findChildren<QWidget *>())
            QVERIFY(!holder->actions().contains(pref));
        pref->trigger();
        QVERIFY(window->preferencesDialog()->isVisible() && window->preferencesDialog()->isModal());
        window->preferencesDialog()->reject();
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
        QCOMPARE(window->windowTitle(), title);
        QCOMPARE(action(window.get(), "fileExitAction")->toolTip(), u"Exit "_s + title);
        QCOMPARE(action(window.get(), "helpAboutAction")->text(), u"&About "_s + title + u"..."_s);
        QCOMPARE(window->windowIcon().pixmap(32, 32).toImage(),
                 GETPIX(zephrin ? "zphricon32x32_xpm" : "orbkicon32x32_xpm").toImage());
        QCOMPARE(window->findChild<QMenu *>(u"web menu"_s)->title(), product + u" on the Web"_s);
        QCOMPARE(window->statusBar()->findChild<QLabel *>()->text(), u"Ready"_s);
        // The status messages of the tree and the reference page reach the status bar.
        emit window->editor()->tree()->statusMsg(u"from the tree"_s, 0);
        QCOMPARE(status(window.get()), u"from the tree"_s);
        emit window->editor()->docBrowser()->statusMsg(u"from the page"_s, 0);
        QCOMPARE(status(window.get()), u"from the page"_s);
    }

    void editCommandsGoToTheFocusedField_data()
    {
        QTest::addColumn<QString>("field");
        QTest::newRow("line edit") << u"line"_s;
        QTest::newRow("text edit") << u"text"_s;
        // The tree takes none of them: its texts and the clipboard stay.
        QTest::newRow("tree") << u"tree"_s;
    }
    void editCommandsGoToTheFocusedField()
    {
        QFETCH(QString, field);
        auto window = openWindow(m_example);
        auto *text = new QTextEdit(window->statusBar());
        auto *line = new QLineEdit(window->statusBar());
        window->statusBar()->addWidget(text);
        window->statusBar()->addWidget(line);
        QVERIFY(shown(window.get()));
        QTest::keyClicks(text, u"first"_s);
        QTest::keyClicks(line, u"first"_s);
        QAVmrEditorTree *tree = window->editor()->tree();
        QWidget *focus = field == u"tree"_s ? static_cast<QWidget *>(tree) : field == u"line"_s
                ? static_cast<QWidget *>(line) : text;
        focus->setFocus();
        QTRY_VERIFY(focus->hasFocus());
        QApplication::clipboard()->setText(u"sentinel"_s);
        QStringList seen, expected;
        for (const QString &after : {u"first"_s, u"first"_s, QString(), u"first"_s,
                                     u"firstfirst"_s, u"first"_s, u"firstfirst"_s})
            expected << (focus == text ? after : u"first"_s) + u'|' + (focus == line ? after : u"first"_s);
        for (const char *name : {"editSelectAllAction", "editCopyAction", "editCutAction",
                                 "editPasteAction", "editPasteAction", "editUndoAction",
                                 "editRedoAction"}) {
            action(window.get(), name)->trigger();
            seen << text->toPlainText() + u'|' + line->text();
        }
        QCOMPARE(seen, expected);
        QCOMPARE(QApplication::clipboard()->text(), focus == tree ? u"sentinel"_s : u"first"_s);
        QCOMPARE(tree->topLevelItem(0)->text(0), u"LinuxGcc"_s);
        QVERIFY(!window->editor()->isModified());

        // Delete alone goes to the tree: the selected file goes.
        const auto files = [tree]() {
            return tree->findItems(u"env.sh"_s, Qt::MatchExactly | Qt::MatchRecursive);
        };
        QCOMPARE(files().size(), 1);
        tree->setCurrentItem(files().first());
        action(window.get(), "editDeleteAction")->trigger();
        QVERIFY(files().isEmpty() && window->editor()->isModified());
        window->editor()->setModified(false);
    }

    void sizesOfTheLastSaveComeBack()
    {
        // Damaged stored sizes are no sizes.
        const char *const keys[] = {"width", "height", "splitter2", "splitter22"};
        const QVariantList damaged{u"wide"_s, -40, 0, u"x"_s};
        for (int i = 0; i < 4; ++i)
            clearSettings().setValue(u"/Orbisk/vmreditor/"_s + QLatin1String(keys[i]), damaged[i]);
        int doc = 0, edition = 0;
        {
            auto window = openWindow(m_example);
            QCOMPARE(window->size(), QSize(640, 480));
            QVERIFY(shown(window.get()));
            QVERIFY(window->editor()->docAreaSize() > 0 && window->editor()->editionAreaSize() > 0);
            window->resize(820, 610);
            window->editor()->setAreaSizes(100, 300);
            QTRY_VERIFY(window->editor()->docAreaSize() < window->editor()->editionAreaSize());
            doc = window->editor()->docAreaSize();
            edition = window->editor()->editionAreaSize();
            QVERIFY(window->save(m_example));
            // A size reached after the last save is not kept.
            window->resize(700, 500);
            const QString settings = QAMainWindowEditor::settings()->fileName();
            QAMainWindowEditor::settings()->setValue(u"/Orbisk/vmreditor/probe"_s, 4242);
            QVERIFY(!readFile(settings).contains("4242"));
            QVERIFY(window->close());
            // Written to disk at the close itself, before any event could have synced it.
            QVERIFY(readFile(settings).contains("probe=4242"));
        }
        auto again = openWindow();
        QCOMPARE(again->size(), QSize(820, 610));
        QCOMPARE(again->currentDocumentPath(), m_example);
        QVERIFY(shown(again.get()));
        QTRY_COMPARE(again->editor()->docAreaSize(), doc);
        QCOMPARE(again->editor()->editionAreaSize(), edition);
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
                                            "open(my $o, '>', \"$ARGV[1]/done\") or die; exit 0;");
        QByteArray before = readFile(m_example);
        if (readOnly)
            QVERIFY(writeFile(m_example, before.replace("read_only=\"no\"", "read_only=\"yes\"")));
        auto window = openWindow(m_example);
        QCOMPARE(window->windowTitle(), titled(readOnly ? u"linux_gcc.xvm (Read only)"_s
                                                        : u"linux_gcc.xvm"_s));
        QVERIFY(shown(window.get()));
        window->editor()->setModified(true);
        QList<Handler> answers{answer.isEmpty()
                                   ? [](QWidget *w) { QTest::keyClick(w, Qt::Key_Escape); }
                                   : VmrDrive::answer(answer)};
        if (readOnly)
            answers << choosePath(QString());
        ModalScript dialogs(answers);
        QCOMPARE(window->close(), closes);
        VMR_ANSWERED(dialogs);
        QCOMPARE(dialogs.texts().first(), u"Save changes to linux_gcc.xvm?"_s);
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
        // Cancel ends the command; No goes on to the language dialog, rejected here. Either
        // way the document stays.
        ModalScript cancel({answer(u"Cancel"_s)});
        window->fileNew();
        ModalScript no({answer(u"No"_s), answer(u"Cancel"_s)});
        window->fileNew();
        VMR_ANSWERED(cancel);
        VMR_ANSWERED(no);
        const QString question = u"Save changes to linux_gcc.xvm?"_s;
        QCOMPARE(cancel.texts() + no.texts(),
                 QStringList({question, question, u"Velmor Language Selection"_s}));
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

    void preferencesAtStart_data()
    {
        QTest::addColumn<QStringList>("stored"); // the list, then the index
        QTest::addColumn<bool>("escape");
        QTest::addColumn<QStringList>("shown");
        const QStringList xdg{u"xdg-open"_s}, lynx{u"lynx"_s, u"xdg-open"_s};
        QTest::newRow("nothing stored") << QStringList() << false << xdg;
        // A stored list without the current command is ignored.
        QTest::newRow("list without command") << QStringList{u"firefox"_s, u"0"_s} << false << xdg;
        QTest::newRow("stale index") << QStringList{u"lynx"_s, u"xdg-open"_s, u"7"_s} << false << lynx;
        // Closed without OK, the dialog applies and stores nothing, yet keeps what was typed.
        QTest::newRow("closed without OK") << QStringList() << true << xdg;
    }
    void preferencesAtStart()
    {
        QFETCH(QStringList, stored);
        QFETCH(bool, escape);
        QFETCH(QStringList, shown);
        QSettings &store = clearSettings();
        if (!stored.isEmpty()) {
            store.setValue(kPrefs + u"HelpBrowserItem"_s, stored.takeLast().toInt());
            store.setValue(kPrefs + u"HelpBrowserlist"_s, stored);
            store.sync();
        }
        auto window = openWindow();
        QAvmrPrefDialog *dialog = window->preferencesDialog();
        QAHelp *help = window->editor()->help();
        const QString defaultUrl = help->getDefaultHelpURL();
        if (escape) {
            QVERIFY(::shown(window.get()));
            window->openPreferences();
            dialog->helpUrlField()->setText(u"http://typed.example/"_s);
            QTest::keyClick(dialog, Qt::Key_Escape);
            QVERIFY(!dialog->isVisible());
        }
        QCOMPARE(dialog->browserList(), shown);
        QCOMPARE(help->getCommand(), shown.first());
        QCOMPARE(help->getHelpURL(), defaultUrl);
        QCOMPARE(dialog->helpUrl(), escape ? u"http://typed.example/"_s : defaultUrl);
        QVERIFY(!help->getStartLocalServer() && !dialog->classPathField()->isEnabled());
        QVERIFY(window->close());
        store.sync();
        QVERIFY(!store.contains(kPrefs + u"HelpUrl"_s));
    }
    void preferencesRoundTrip()
    {
        const QString command = u"firefox --new-window"_s, url = u"http://ic.example:8081/help"_s;
        const auto applied = [](QAMainWindowEditor *window) {
            QAHelp *help = window->editor()->help();
            return QStringList{help->getCommand(), help->getHelpURL(),
                               help->getStartLocalServer() ? u"local"_s : u"remote"_s};
        };
        {
            auto window = openWindow();
            QVERIFY(shown(window.get()));
            // Shown without waiting for it.
            window->openPreferences();
            QAvmrPrefDialog *dialog = window->preferencesDialog();
            QCOMPARE(QApplication::activeModalWidget(), dialog);
            dialog->browserBox()->lineEdit()->selectAll();
            QTest::keyClicks(dialog->browserBox()->lineEdit(), command);
            dialog->helpUrlField()->selectAll();
            QTest::keyClicks(dialog->helpUrlField(), url);
            dialog->localServerBox()->click();
            QVERIFY(dialog->classPathField()->isEnabled());
            answer(u"OK"_s)(dialog);
            QVERIFY(!dialog->isVisible());
            QCOMPARE(applied(window.get()), QStringList({command, url, u"local"_s}));
            QVERIFY(window->close());
        }
        QSettings store(u"Quintar Software"_s, u"vmreditor"_s);
        store.beginGroup(kPrefs);
        QCOMPARE(store.value(u"HelpBrowserItem"_s).toInt(), 0);
        QCOMPARE(store.value(u"HelpBrowserlist"_s).toStringList(), QStringList({command, u"xdg-open"_s}));
        QCOMPARE(store.value(u"HelpUrl"_s).toString() + store.value(u"LocalServer"_s).toString(),
                 url + u"true"_s);

        // The next start shows and uses what was stored; the second entry chosen comes back.
        auto again = openWindow();
        QAvmrPrefDialog *dialog = again->preferencesDialog();
        QCOMPARE(dialog->browserList(), QStringList({command, u"xdg-open"_s}));
        QVERIFY(dialog->classPathField()->isEnabled());
        QCOMPARE(applied(again.get()), QStringList({command, url, u"local"_s}));
        dialog->browserBox()->setCurrentIndex(1);
        QMetaObject::invokeMethod(dialog, "accept");
        QVERIFY(again->close());
        auto third = openWindow();
        QCOMPARE(third->preferencesDialog()->browserIndex(), 1);
        QCOMPARE(applied(third.get()), QStringList({u"xdg-open"_s, url, u"local"_s}));
    }

    void guideAndWebPages_data()
    {
        QTest::addColumn<QString>("damage"); // a file or directory taken away
        QTest::addColumn<QByteArray>("properties"); // written when not empty
        QTest::addColumn<QString>("message"); // empty: no message box at all
        QTest::addColumn<QStringList>("addresses");
        const QStringList none(4, QString());
        QTest::newRow("no doc directory")
            << u"doc"_s << QByteArray()
            << u"Impossible to find the directory doc in the install directory."_s << none;
        QTest::newRow("no web properties")
            << u"doc/orbk_web.properties"_s << QByteArray()
            << u"Impossible to find the file orbk_web.properties in the install directory."_s << none;
        // A file that holds no entry, or not every one, is no reason for a message.
        QTest::newRow("no entry") << QString() << QByteArray("# empty\n") << QString() << none;
        QTest::newRow("no support page")
            << QString()
            << QByteArray("url.home=http://h.example/\nurl.orbisk=http://o.example/\n"
                          "url.targetpackage=http://t.example/\nother.support=http://x.example/\n")
            << QString()
            << QStringList{u"http://h.example/"_s, QString(), u"http://o.example/"_s, u"http://t.example/"_s};
    }
    void guideAndWebPages()
    {
        QFETCH(QString, damage);
        QFETCH(QByteArray, properties);
        QFETCH(QString, message);
        QFETCH(QStringList, addresses);
        Install install;
        const QString damaged = install.file(damage);
        QVERIFY(properties.isEmpty() || writeFile(install.file(u"doc/orbk_web.properties"_s), properties));
        if (!damage.isEmpty())
            QVERIFY(QFileInfo(damaged).isDir() ? QDir(damaged).removeRecursively() : QFile::remove(damaged));
        ModalScript dialogs(QList<Handler>(message.isEmpty() ? 0 : 1, [](QWidget *w) {
            QCOMPARE(qobject_cast<QMessageBox *>(w)->icon(), QMessageBox::Critical);
            answer(u"OK"_s)(w);
        }));
        auto window = openWindow();
        VMR_ANSWERED(dialogs);
        QCOMPARE(dialogs.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(window->webAddresses(), addresses);

        // The guide and each page go to the chosen browser; a missing page opens nothing.
        QAvmrPrefDialog *dialog = window->preferencesDialog();
        dialog->browserBox()->setEditText(u"/bin/true"_s);
        QMetaObject::invokeMethod(dialog, "accept");
        QUrl guide = QUrl::fromLocalFile(install.file(u"doc/orbk-ug/index.html"_s));
        guide.setFragment(u"doc_vmreditor"_s);
        action(window.get(), "helpContentsAction")->trigger();
        QVERIFY(!damage.isEmpty() || window->help()->lastLaunch() == QStringList({u"/bin/true"_s, guide.toString()}));
        const char *const pages[] = {"Quintar Software Home Page", "Technical Support",
                                     "Tarvex Quintar Orbisk", "Velmors"};
        for (int i = 0; i < 4; ++i) {
            const QStringList before = window->editor()->help()->lastLaunch();
            action(window.get(), pages[i])->trigger();
            QCOMPARE(window->editor()->help()->lastLaunch(),
                     addresses[i].isEmpty() ? before : QStringList({u"/bin/true"_s, addresses[i]}));
        }
    }
};

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
