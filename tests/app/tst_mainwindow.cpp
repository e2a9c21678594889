// The main window as the program builds it: its actions, menus and bars, the Edit
// commands on the focused text field, the window settings, closing, New, the find box,
// the preferences, the user guide and the web pages.

#include "app/qamainwindoweditor.h"
#include "app/qanewvmrdlg.h"
#include "app/qavmraboutdialog.h"
#include "app/qavmrprefdialog.h"
#include "app/qavmrsplashwindow.h"
#include "document/qavmreditor.h"
#include "document/qavmreditortree.h"
#include "support/qaedition.h"
#include "support/qapixmaps.h"
#include "support/qascriptrunner.h"
#include "viewers/qavmrdocbrowser.h"
#include "testutil.h"

#include <QAction>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDirIterator>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolBar>
#include <QWidgetAction>
#include <QtTest>

#include <memory>

namespace {

const QString kTitle = QStringLiteral("Tarvex Quintar Orbisk Velmor Editor");

std::unique_ptr<QAMainWindowEditor> openWindow(const QString &file = QString())
{
    QByteArray program = VmrTest::program().toLocal8Bit();
    if (program.isEmpty())
        program = "vmreditor";
    QByteArray document = file.toLocal8Bit();
    char *argv[] = {program.data(), document.data(), nullptr};
    return std::make_unique<QAMainWindowEditor>(file.isEmpty() ? 1 : 2, argv);
}

QAction *action(QWidget *window, const QString &name)
{
    return window->findChild<QAction *>(name, Qt::FindDirectChildrenOnly);
}

// The actions of a menu or tool bar by object name, "-" for a separator.
QStringList layoutOf(const QList<QAction *> &actions)
{
    QStringList names;
    for (QAction *a : actions) {
        if (a->isSeparator())
            names << QStringLiteral("-");
        else if (qobject_cast<QWidgetAction *>(a))
            names << QStringLiteral("[widget]");
        else if (a->menu())
            names << QStringLiteral("[menu]");
        else
            names << a->objectName();
    }
    return names;
}

QStringList names(std::initializer_list<const char *> list)
{
    QStringList out;
    for (const char *name : list)
        out << QString::fromUtf8(name);
    return out;
}

// A private copy of the staged installation, which a test may change.
std::unique_ptr<QTemporaryDir> copyInstallation()
{
    auto dir = std::make_unique<QTemporaryDir>();
    const QString staged = VmrTest::orbiskDir();
    QDirIterator it(staged, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target = dir->path() + source.mid(staged.size());
        if (it.fileInfo().isDir())
            QDir().mkpath(target);
        else
            QFile::copy(source, target);
    }
    return dir;
}

QSettings *store()
{
    static QSettings settings(QStringLiteral("Quintar Software"), QStringLiteral("vmreditor"));
    return &settings;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// A browser stand-in that writes each argument on its own line into a file.
QString fakeBrowser(const QString &dir, const QString &record)
{
    const QString path = dir + QStringLiteral("/fake-browser");
    const QByteArray r = record.toLocal8Bit();
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > " + r
                   + ".tmp\nmv " + r + ".tmp " + r + "\n");
        file.close();
    }
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
    return path;
}

QStringList recorded(const QString &record)
{
    return QString::fromUtf8(readFile(record)).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

// Sees every modal dialog that comes up while it lives, by class name, and answers each
// with the handler (which rejects it when it does nothing).
class ModalWatcher
{
public:
    explicit ModalWatcher(std::function<void(QWidget *)> handler = {})
        : m_handler(std::move(handler))
    {
        QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this]() {
            QWidget *w = QApplication::activeModalWidget();
            if (!w || w == m_last)
                return;
            m_last = w;
            m_seen << QString::fromLatin1(w->metaObject()->className());
            if (m_handler)
                m_handler(w);
            if (w->isVisible()) {
                if (auto *dialog = qobject_cast<QDialog *>(w))
                    dialog->reject();
            }
        });
        m_timer.start(20);
    }
    QStringList seen() const { return m_seen; }

private:
    std::function<void(QWidget *)> m_handler;
    QTimer m_timer;
    QPointer<QWidget> m_last;
    QStringList m_seen;
};

// Points ORBISKDIR at another installation for one test.
class Installation
{
public:
    explicit Installation(const QString &dir)
        : m_saved(qgetenv("ORBISKDIR"))
    {
        qputenv("ORBISKDIR", dir.toLocal8Bit());
        QAEdition::reload();
    }
    ~Installation()
    {
        qputenv("ORBISKDIR", m_saved);
        QAEdition::reload();
    }

private:
    QByteArray m_saved;
};

} // namespace

class TstMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void actionsFollowTheTable_data();
    void actionsFollowTheTable();
    void menusAndBars();
    void windowAtStart();
    void splashShowsWhileBuilding();
    void zephrinBranding();

    void editCommandsOnLineEdit();
    void editCommandsOnTextEdit();
    void editCommandsIgnoreOtherWidgets();
    void editCommandsReachTheFindBox();

    void windowSizesComeBack();
    void damagedSizesAreIgnored();
    void sizesOfTheLastSaveComeBack();
    void closeFlushesTheSettings();
    void closeWithChanges();
    void closeYesWithoutSaveKeepsTheWindow();
    void closeYesSavesAndLetsTheGenerationFinish();
    void captionFollowsTheDocument();

    void fileNewLoadsTheChosenTemplate();
    void fileNewAsksToKeepChanges();
    void findBoxSearchesTheReferencePage();
    void editDeleteRemovesTheSelectedFile();
    void aboutBox();

    void preferencesAtFirstStart();
    void preferencesRoundTrip();
    void preferencesStoredListWithoutCommandIsIgnored();
    void preferencesClosedWithoutOkStoreNothing();
    void userGuideOpensInTheChosenBrowser();
    void webPagesOpenTheirAddresses();
    void webPropertiesWithoutSupportPage();
    void missingHelpFilesAreReported();

private:
    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<QTemporaryDir> m_work;
    QString m_example;
};

void TstMainWindow::initTestCase()
{
    m_home = VmrTest::privateHome();
    QVERIFY(QFileInfo(VmrTest::orbiskDir()).isDir());
}

void TstMainWindow::init()
{
    store()->clear();
    store()->sync();
    m_work = std::make_unique<QTemporaryDir>();
    m_example = m_work->filePath(QStringLiteral("linux_gcc.xvm"));
    QVERIFY(QFile::copy(VmrTest::sourceDir() + QStringLiteral("/targets/examples/linux_gcc.xvm"),
                        m_example));
    QFile::setPermissions(m_example, QFile::ReadOwner | QFile::WriteOwner);
}

void TstMainWindow::cleanup()
{
    // Answers that a failed test left waiting must not meet the next test's dialogs.
    qDeleteAll(qApp->findChildren<QTimer *>(QString(), Qt::FindDirectChildrenOnly));
    m_work.reset();
    QApplication::clipboard()->clear();
}

void TstMainWindow::actionsFollowTheTable_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("menuText");
    QTest::addColumn<QString>("toolTip");
    QTest::addColumn<QString>("shortcut");
    QTest::addColumn<QByteArray>("icon");
    QTest::addColumn<bool>("enabled");

    auto row = [](const char *name, const QString &menuText, const QString &toolTip,
                  const char *shortcut, const char *icon, bool enabled) {
        QTest::newRow(name) << QString::fromLatin1(name) << menuText << toolTip
                            << QString::fromLatin1(shortcut) << QByteArray(icon) << enabled;
    };
    row("fileNewAction", QStringLiteral("&New"), QStringLiteral("Create a new file"), "Ctrl+N",
        "new_xpm", true);
    row("fileOpenAction", QStringLiteral("&Open..."), QStringLiteral("Open an existing file"),
        "Ctrl+O", "open_xpm", true);
    row("fileSaveAction", QStringLiteral("&Save && Generate"),
        QStringLiteral("Save and Generate the current file"), "Ctrl+S", "save_xpm", false);
    row("fileSaveAsAction", QStringLiteral("Save xvm &As..."),
        QStringLiteral("Save the current xvm file with a new name"), "", nullptr, false);
    row("fileGenerateAsAction", QStringLiteral("Save && &Generate VMR In..."),
        QStringLiteral("save & Generate the current VMR somewhere else"), "", nullptr, false);
    row("fileExportAsAction", QStringLiteral("&Export to text file..."),
        QStringLiteral("Export to text file"), "", nullptr, false);
    row("fileExitAction", QStringLiteral("E&xit"), QStringLiteral("Exit ") + kTitle, "", nullptr,
        true);
    row("editUndoAction", QStringLiteral("&Undo"), QStringLiteral("Undo previous command"),
        "Ctrl+Z", "undo_xpm", true);
    row("editRedoAction", QStringLiteral("&Redo"), QStringLiteral("Redo previous undo command"),
        "Ctrl+Y", "redo_xpm", true);
    row("editCutAction", QStringLiteral("&Cut"),
        QStringLiteral("Cut the selected text and put it in the clipboard"), "Ctrl+X", "cut_xpm",
        true);
    row("editCopyAction", QStringLiteral("C&opy"),
        QStringLiteral("Copy the selected text and put it in the clipboard"), "Ctrl+C",
        "copy_xpm", true);
    row("editPasteAction", QStringLiteral("&Paste"), QStringLiteral("Insert clipboard contents"),
        "Ctrl+V", "paste_xpm", true);
    row("editDeleteAction", QStringLiteral("&Delete"),
        QStringLiteral("Delete the current selection"), "Del", "delete_xpm", true);
    row("editFindAction", QStringLiteral("&Find Next in doc"),
        QStringLiteral("Click this button to search for the text entered in the box next to "
                       "this button.<br><br>You can also select the <b>Find</b> command from "
                       "the Edit menu."),
        "F3", "find_xpm", true);
    row("editPrefAction", QStringLiteral("Pre&ferences"),
        QStringLiteral("Click this button to set preferences"), "", nullptr, true);
    row("editSelectAllAction", QStringLiteral("Se&lect All"),
        QStringLiteral("Select the entire contents of the current file"), "Ctrl+A", nullptr, true);
    row("helpContentsAction", QStringLiteral("&Velmor Guide"),
        QStringLiteral("Open online documentation"), "F1", "contents_xpm", true);
    row("Tarvex Quintar Orbisk", QStringLiteral("Product Home Page"),
        QStringLiteral("Product Home Page"), "", "htmllink_xpm", true);
    row("Velmors", QStringLiteral("Velmors"), QStringLiteral("Velmors"), "", "htmllink_xpm", true);
    row("Technical Support", QStringLiteral("Technical Support"),
        QStringLiteral("Technical Support"), "", "htmllink_xpm", true);
    row("Quintar Software Home Page", QStringLiteral("Quintar Software Home Page"),
        QStringLiteral("Quintar Software Home Page"), "", "htmllink_xpm", true);
    row("helpAboutAction", QStringLiteral("&About ") + kTitle + QStringLiteral("..."),
        QStringLiteral("Show product information, version number and copyright"), "",
        "about_xpm", true);
}

void TstMainWindow::actionsFollowTheTable()
{
    QFETCH(QString, name);
    QFETCH(QString, menuText);
    QFETCH(QString, toolTip);
    QFETCH(QString, shortcut);
    QFETCH(QByteArray, icon);
    QFETCH(bool, enabled);

    auto window = openWindow();
    QAction *a = action(window.get(), name);
    QVERIFY2(a, qPrintable(name));
    QCOMPARE(a->text(), menuText);
    QCOMPARE(a->toolTip(), toolTip);
    QCOMPARE(a->shortcut().toString(QKeySequence::PortableText), shortcut);
    QCOMPARE(a->isEnabled(), enabled);
    if (icon.isEmpty()) {
        QVERIFY(a->icon().isNull());
    } else {
        QVERIFY(!a->icon().isNull());
        const QPixmap expected = GETPIX(icon.constData());
        QCOMPARE(
            a->icon().pixmap(expected.size()).toImage().convertToFormat(QImage::Format_ARGB32),
            expected.toImage().convertToFormat(QImage::Format_ARGB32));
    }
    // Exactly one action of that name.
    QCOMPARE(window->findChildren<QAction *>(name, Qt::FindDirectChildrenOnly).size(), 1);
}

void TstMainWindow::menusAndBars()
{
    auto window = openWindow();
    QMenuBar *bar = window->menuBar();
    QCOMPARE(bar->objectName(), QStringLiteral("menubar"));
    const QList<QAction *> top = bar->actions();
    QCOMPARE(top.size(), 4);
    QCOMPARE(top.at(0)->text(), QStringLiteral("&File"));
    QCOMPARE(top.at(1)->text(), QStringLiteral("&Edit"));
    QVERIFY(top.at(2)->isSeparator());
    QCOMPARE(top.at(3)->text(), QStringLiteral("&Help"));

    QCOMPARE(layoutOf(top.at(0)->menu()->actions()),
             names({"fileNewAction", "fileOpenAction", "-", "fileSaveAction",
                          "fileSaveAsAction", "fileGenerateAsAction", "-", "fileExportAsAction",
                          "-", "fileExitAction"}));
    QCOMPARE(layoutOf(top.at(1)->menu()->actions()),
             names({"editUndoAction", "editRedoAction", "-", "editCutAction",
                          "editCopyAction", "editPasteAction", "editDeleteAction", "-",
                          "editFindAction", "-", "editSelectAllAction"}));
    const QList<QAction *> help = top.at(3)->menu()->actions();
    QCOMPARE(layoutOf(help),
             names({"helpContentsAction", "-", "[menu]", "-", "helpAboutAction"}));
    QMenu *web = help.at(2)->menu();
    QCOMPARE(web->title(), QStringLiteral("Tarvex Quintar Orbisk on the Web"));
    QCOMPARE(layoutOf(web->actions()),
             names({"Tarvex Quintar Orbisk", "Velmors", "Technical Support",
                          "Quintar Software Home Page"}));

    const QList<QToolBar *> bars = window->findChildren<QToolBar *>();
    QCOMPARE(bars.size(), 2);
    QToolBar *tools = window->findChild<QToolBar *>(QStringLiteral("Tools"));
    QToolBar *find = window->findChild<QToolBar *>(QStringLiteral("Find"));
    QVERIFY(tools && find);
    QCOMPARE(tools->windowTitle(), QStringLiteral("Tools"));
    QCOMPARE(find->windowTitle(), QStringLiteral("Find"));
    QCOMPARE(window->toolBarArea(tools), Qt::TopToolBarArea);
    QCOMPARE(window->toolBarArea(find), Qt::TopToolBarArea);
    QCOMPARE(layoutOf(tools->actions()),
             names({"fileNewAction", "fileOpenAction", "-", "fileSaveAction", "-",
                          "editUndoAction", "editRedoAction", "-", "editCutAction",
                          "editCopyAction", "editPasteAction", "editDeleteAction"}));
    QCOMPARE(layoutOf(find->actions()), names({"editFindAction", "[widget]"}));

    QComboBox *box = window->findBox();
    QVERIFY(box);
    QCOMPARE(box->parentWidget(), find);
    QVERIFY(box->isEditable());
    QCOMPARE(box->width(), 150);
    QCOMPARE(box->minimumWidth(), 150);
    QCOMPARE(box->maximumWidth(), 150);
    QCOMPARE(box->insertPolicy(), QComboBox::InsertAtTop);
    QVERIFY(!box->duplicatesEnabled());
    QCOMPARE(box->sizeAdjustPolicy(), QComboBox::AdjustToContents);

    // Preferences: in no menu and on no bar, yet its shortcut-less action works.
    QAction *pref = action(window.get(), QStringLiteral("editPrefAction"));
    for (QMenu *menu : window->findChildren<QMenu *>())
        QVERIFY(!menu->actions().contains(pref));
    for (QToolBar *b : bars)
        QVERIFY(!b->actions().contains(pref));
    pref->trigger();
    QVERIFY(window->preferencesDialog()->isVisible());
    QVERIFY(window->preferencesDialog()->isModal());
    window->preferencesDialog()->reject();
}

void TstMainWindow::windowAtStart()
{
    auto window = openWindow();
    QCOMPARE(window->windowTitle(), kTitle);
    QCOMPARE(window->windowIcon().pixmap(32, 32).toImage(),
             QAEdition::windowIcon().pixmap(32, 32).toImage());
    QCOMPARE(window->size(), QSize(640, 480));

    auto *ready = window->statusBar()->findChild<QLabel *>();
    QVERIFY(ready);
    QCOMPARE(ready->text(), QStringLiteral("Ready"));
    QCOMPARE(window->statusBar()->currentMessage(), QString());

    auto *box = qobject_cast<QFrame *>(window->centralWidget());
    QVERIFY(box);
    QCOMPARE(box->frameShape(), QFrame::StyledPanel);
    QCOMPARE(box->frameShadow(), QFrame::Sunken);
    QCOMPARE(box->lineWidth(), 1);
    QCOMPARE(window->editor()->parentWidget(), box);
    QCOMPARE(box->layout()->contentsMargins(), QMargins(1, 1, 1, 1));

    // Both panes are usable on a first start, when no sizes are stored.
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QTRY_VERIFY(window->editor()->docAreaSize() > 0);
    QVERIFY(window->editor()->editionAreaSize() > 0);

    // The status signals of the tree and the reference page reach the status bar.
    emit window->editor()->tree()->statusMsg(QStringLiteral("from the tree"), 0);
    QCOMPARE(window->statusBar()->currentMessage(), QStringLiteral("from the tree"));
    emit window->editor()->docBrowser()->statusMsg(QStringLiteral("from the page"), 0);
    QCOMPARE(window->statusBar()->currentMessage(), QStringLiteral("from the page"));

    QCOMPARE(window->webAddresses(),
             names({"https://www.quintar-software.example/",
                          "https://support.quintar-software.example/orbisk/",
                          "https://www.quintar-software.example/products/orbisk/",
                          "https://www.quintar-software.example/products/orbisk/velmors/"}));
}

void TstMainWindow::splashShowsWhileBuilding()
{
    // The constructor lets the splash window paint; a zero timer runs at that moment.
    QList<QPoint> seen;
    QTimer::singleShot(0, this, [&seen]() {
        for (QWidget *w : QApplication::topLevelWidgets()) {
            if (qobject_cast<QAVmrSplashWindow *>(w) && w->isVisible())
                seen << w->pos();
        }
    });
    auto window = openWindow();
    QCOMPARE(seen.size(), 1);
    const QRect desktop = QGuiApplication::primaryScreen()->geometry();
    QCOMPARE(seen.first(), QAVmrSplashWindow::centredOn(desktop));
    // Gone once the window is built.
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<QAVmrSplashWindow *>(w));
}

void TstMainWindow::zephrinBranding()
{
    const auto install = copyInstallation();
    writeFile(install->filePath(QStringLiteral("lib/edition")), "Zephrin\n");
    Installation use(install->path());

    auto window = openWindow();
    const QString title = QStringLiteral("Tarvex Quintar Zephrin Velmor Editor");
    QCOMPARE(window->windowTitle(), title);
    QCOMPARE(action(window.get(), QStringLiteral("fileExitAction"))->toolTip(),
             QStringLiteral("Exit ") + title);
    QCOMPARE(action(window.get(), QStringLiteral("helpAboutAction"))->text(),
             QStringLiteral("&About ") + title + QStringLiteral("..."));
    QCOMPARE(window->windowIcon().pixmap(32, 32).toImage(),
             GETPIX("zphricon32x32_xpm").toImage());
    QMenu *web = window->findChild<QMenu *>(QStringLiteral("web menu"));
    QVERIFY(web);
    QCOMPARE(web->title(), QStringLiteral("Tarvex Quintar Zephrin on the Web"));
}

void TstMainWindow::editCommandsOnLineEdit()
{
    auto window = openWindow();
    auto *line = new QLineEdit(window->statusBar());
    window->statusBar()->addWidget(line);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    line->setFocus();
    QTRY_COMPARE(window->focusWidget(), line);
    QTest::keyClicks(line, QStringLiteral("hello world"));
    QClipboard *clipboard = QApplication::clipboard();

    line->setSelection(0, 5);
    action(window.get(), QStringLiteral("editCopyAction"))->trigger();
    QCOMPARE(clipboard->text(), QStringLiteral("hello"));
    QCOMPARE(line->text(), QStringLiteral("hello world"));

    line->setSelection(5, 6);
    action(window.get(), QStringLiteral("editCutAction"))->trigger();
    QCOMPARE(line->text(), QStringLiteral("hello"));
    QCOMPARE(clipboard->text(), QStringLiteral(" world"));

    line->setCursorPosition(0);
    action(window.get(), QStringLiteral("editPasteAction"))->trigger();
    QCOMPARE(line->text(), QStringLiteral(" worldhello"));

    action(window.get(), QStringLiteral("editUndoAction"))->trigger();
    QCOMPARE(line->text(), QStringLiteral("hello"));
    action(window.get(), QStringLiteral("editRedoAction"))->trigger();
    QCOMPARE(line->text(), QStringLiteral(" worldhello"));

    line->deselect();
    action(window.get(), QStringLiteral("editSelectAllAction"))->trigger();
    QCOMPARE(line->selectedText(), QStringLiteral(" worldhello"));
}

void TstMainWindow::editCommandsOnTextEdit()
{
    auto window = openWindow();
    auto *text = new QTextEdit(window->statusBar());
    window->statusBar()->addWidget(text);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    text->setFocus();
    QTRY_COMPARE(window->focusWidget(), text);
    QTest::keyClicks(text, QStringLiteral("first"));
    QClipboard *clipboard = QApplication::clipboard();

    action(window.get(), QStringLiteral("editSelectAllAction"))->trigger();
    QCOMPARE(text->textCursor().selectedText(), QStringLiteral("first"));
    action(window.get(), QStringLiteral("editCopyAction"))->trigger();
    QCOMPARE(clipboard->text(), QStringLiteral("first"));
    action(window.get(), QStringLiteral("editCutAction"))->trigger();
    QCOMPARE(text->toPlainText(), QString());
    action(window.get(), QStringLiteral("editPasteAction"))->trigger();
    action(window.get(), QStringLiteral("editPasteAction"))->trigger();
    QCOMPARE(text->toPlainText(), QStringLiteral("firstfirst"));
    action(window.get(), QStringLiteral("editUndoAction"))->trigger();
    QCOMPARE(text->toPlainText(), QStringLiteral("first"));
    action(window.get(), QStringLiteral("editRedoAction"))->trigger();
    QCOMPARE(text->toPlainText(), QStringLiteral("firstfirst"));
}

void TstMainWindow::editCommandsIgnoreOtherWidgets()
{
    auto window = openWindow(m_example);
    auto *line = new QLineEdit(window->statusBar());
    line->setText(QStringLiteral("untouched"));
    window->statusBar()->addWidget(line);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QAVmrEditorTree *tree = window->editor()->tree();
    QVERIFY(tree->topLevelItemCount() > 0);
    tree->setFocus();
    QTRY_COMPARE(window->focusWidget(), static_cast<QWidget *>(tree));

    QClipboard *clipboard = QApplication::clipboard();
    clipboard->setText(QStringLiteral("sentinel"));
    const QString rootText = tree->topLevelItem(0)->text(0);
    for (const char *name : {"editCopyAction", "editCutAction", "editPasteAction",
                             "editUndoAction", "editRedoAction", "editSelectAllAction"})
        action(window.get(), QLatin1String(name))->trigger();
    QCOMPARE(clipboard->text(), QStringLiteral("sentinel"));
    QCOMPARE(line->text(), QStringLiteral("untouched"));
    QCOMPARE(tree->topLevelItem(0)->text(0), rootText);
    QVERIFY(!window->editor()->isModified());
}

void TstMainWindow::editCommandsReachTheFindBox()
{
    auto window = openWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QComboBox *box = window->findBox();
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("needle"));
    action(window.get(), QStringLiteral("editSelectAllAction"))->trigger();
    action(window.get(), QStringLiteral("editCopyAction"))->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("needle"));
}

void TstMainWindow::windowSizesComeBack()
{
    store()->setValue(QStringLiteral("/Orbisk/vmreditor/width"), 900);
    store()->setValue(QStringLiteral("/Orbisk/vmreditor/height"), 700);
    store()->setValue(QStringLiteral("/Orbisk/vmreditor/splitter2"), 120);
    store()->setValue(QStringLiteral("/Orbisk/vmreditor/splitter22"), 360);
    store()->sync();

    auto window = openWindow();
    QCOMPARE(window->size(), QSize(900, 700));
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    // The panes share their height in the stored proportion.
    const int doc = window->editor()->docAreaSize();
    const int edition = window->editor()->editionAreaSize();
    QVERIFY2(doc > 0 && edition > 0, qPrintable(QStringLiteral("%1 %2").arg(doc).arg(edition)));
    QVERIFY2(qAbs(edition - 3 * doc) <= 6,
             qPrintable(QStringLiteral("%1 %2").arg(doc).arg(edition)));
}

void TstMainWindow::damagedSizesAreIgnored()
{
    store()->setValue(QStringLiteral("/Orbisk/vmreditor/width"), QStringLiteral("wide"));
    store()->setValue(QStringLiteral("/Orbisk/vmreditor/height"), -40);
    store()->setValue(QStringLiteral("/Orbisk/vmreditor/splitter2"), 0);
    store()->setValue(QStringLiteral("/Orbisk/vmreditor/splitter22"), QStringLiteral("x"));
    store()->sync();
    auto window = openWindow();
    QCOMPARE(window->size(), QSize(640, 480));
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QVERIFY(window->editor()->docAreaSize() > 0);
    QVERIFY(window->editor()->editionAreaSize() > 0);
}

void TstMainWindow::sizesOfTheLastSaveComeBack()
{
    int doc = 0;
    int edition = 0;
    {
        auto window = openWindow(m_example);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->resize(820, 610);
        QTRY_COMPARE(window->size(), QSize(820, 610));
        window->editor()->setAreaSizes(100, 300);
        QTRY_VERIFY(window->editor()->docAreaSize() < window->editor()->editionAreaSize());
        doc = window->editor()->docAreaSize();
        edition = window->editor()->editionAreaSize();
        QVERIFY(window->save(m_example));
        // A size reached after the last save is not kept.
        window->resize(700, 500);
        window->editor()->setModified(false);
        QVERIFY(window->close());
    }
    QCOMPARE(store()->value(QStringLiteral("/Orbisk/vmreditor/recentFile")).toString(), m_example);
    QCOMPARE(store()->value(QStringLiteral("/Orbisk/vmreditor/splitter2")).toInt(), doc);
    QCOMPARE(store()->value(QStringLiteral("/Orbisk/vmreditor/splitter22")).toInt(), edition);

    auto again = openWindow();
    QCOMPARE(again->size(), QSize(820, 610));
    QCOMPARE(again->currentDocumentPath(), m_example);
    again->show();
    QVERIFY(QTest::qWaitForWindowExposed(again.get()));
    QTRY_COMPARE(again->editor()->docAreaSize(), doc);
    QCOMPARE(again->editor()->editionAreaSize(), edition);
}

void TstMainWindow::closeFlushesTheSettings()
{
    auto window = openWindow();
    QSettings *settings = QAMainWindowEditor::settings();
    QVERIFY(settings);
    const QString file = settings->fileName();
    settings->setValue(QStringLiteral("/Orbisk/vmreditor/probe"), 4242);
    QVERIFY(!readFile(file).contains("4242"));
    QVERIFY(window->close());
    // Written to disk at the close itself, before any event could have synced it.
    QVERIFY(readFile(file).contains("probe=4242"));
}

void TstMainWindow::closeWithChanges()
{
    auto window = openWindow(m_example);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    QVERIFY(!window->editor()->isModified());
    window->editor()->setModified(true);

    // Cancel keeps the window and the changes.
    QString text;
    VmrTest::answerMessageBox(QMessageBox::Cancel, &text);
    QVERIFY(!window->close());
    QCOMPARE(text, QStringLiteral("Save changes to linux_gcc.xvm?"));
    QVERIFY(window->isVisible());
    QVERIFY(window->editor()->isModified());

    // Escape is Cancel.
    VmrTest::onNextModal([](QWidget *w) { QTest::keyClick(w, Qt::Key_Escape); });
    QVERIFY(!window->close());
    QVERIFY(window->isVisible());

    // No closes without saving.
    const QByteArray before = readFile(m_example);
    VmrTest::answerMessageBox(QMessageBox::No);
    QVERIFY(window->close());
    QVERIFY(!window->isVisible());
    QCOMPARE(readFile(m_example), before);
}

void TstMainWindow::closeYesWithoutSaveKeepsTheWindow()
{
    // A read-only document is saved under a new name; cancelling that saves nothing.
    QByteArray bytes = readFile(m_example);
    bytes.replace("read_only=\"no\"", "read_only=\"yes\"");
    writeFile(m_example, bytes);
    auto window = openWindow(m_example);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->editor()->setModified(true);

    QString dialogSeen;
    VmrTest::onNextModal([&dialogSeen](QWidget *w) {
        auto *box = qobject_cast<QMessageBox *>(w);
        if (!box)
            return;
        VmrTest::onNextModal([&dialogSeen](QWidget *next) {
            dialogSeen = QString::fromLatin1(next->metaObject()->className());
            if (auto *dialog = qobject_cast<QDialog *>(next))
                dialog->reject();
        });
        box->button(QMessageBox::Yes)->click();
    });
    QVERIFY(!window->close());
    QCOMPARE(dialogSeen, QStringLiteral("QFileDialog"));
    QVERIFY(window->isVisible());
    QVERIFY(window->editor()->isModified());
    QCOMPARE(readFile(m_example), bytes);
    window->editor()->setModified(false);
}

void TstMainWindow::closeYesSavesAndLetsTheGenerationFinish()
{
    const auto install = copyInstallation();
    Installation use(install->path());
    auto window = openWindow(m_example);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->editor()->setModified(true);
    QVERIFY(!readFile(m_example).contains("generate_in"));

    VmrTest::answerMessageBox(QMessageBox::Yes);
    QVERIFY(window->close());
    QVERIFY(!window->isVisible());
    // Saved, and the generation ran to its end rather than being cut off at exit.
    QVERIFY(readFile(m_example).contains("generate_in"));
    QVERIFY(!window->scriptRun() || !window->scriptRun()->isRunning());
    QCOMPARE(window->statusBar()->currentMessage(), QStringLiteral("VMR Files saved."));
}

void TstMainWindow::captionFollowsTheDocument()
{
    {
        auto window = openWindow(m_example);
        QCOMPARE(window->windowTitle(), QStringLiteral("linux_gcc.xvm - ") + kTitle);
    }
    QByteArray bytes = readFile(m_example);
    bytes.replace("read_only=\"no\"", "read_only=\"yes\"");
    const QString readOnly = m_work->filePath(QStringLiteral("locked.xvm"));
    writeFile(readOnly, bytes);
    {
        auto window = openWindow(readOnly);
        QCOMPARE(window->windowTitle(), QStringLiteral("locked.xvm (Read only) - ") + kTitle);
    }
    const QString document = m_work->filePath(QStringLiteral("document.xvm"));
    writeFile(document, bytes);
    {
        auto window = openWindow(document);
        QCOMPARE(window->windowTitle(), QStringLiteral("document.xvm - ") + kTitle);
    }
}

void TstMainWindow::fileNewLoadsTheChosenTemplate()
{
    auto window = openWindow(m_example);
    QCOMPARE(window->currentDocumentPath(), m_example);
    QVERIFY(QFileInfo::exists(window->xmlDirectory() + QStringLiteral("/templatej2se.xvm")));

    // Cancel keeps the open document.
    QString seen;
    VmrTest::onNextModal([&seen](QWidget *w) {
        seen = w->objectName();
        if (auto *dialog = qobject_cast<QANewVmrDlg *>(w))
            dialog->reject();
    });
    window->fileNew();
    QCOMPARE(seen, QStringLiteral("New VMR Dialog"));
    QCOMPARE(window->currentDocumentPath(), m_example);

    VmrTest::onNextModal([](QWidget *w) {
        auto *dialog = qobject_cast<QANewVmrDlg *>(w);
        if (!dialog)
            return;
        QCOMPARE(dialog->parentWidget()->window(), dialog->parentWidget());
        dialog->j2seButton()->click();
        if (QPushButton *open = dialog->findChild<QPushButton *>(QStringLiteral("Open")))
            open->click();
    });
    action(window.get(), QStringLiteral("fileNewAction"))->trigger();
    QCOMPARE(window->currentDocumentPath(),
             window->xmlDirectory() + QDir::separator() + QStringLiteral("document.xvm"));
    QCOMPARE(window->rootElement().tagName(), QStringLiteral("VMR"));
    QDomDocument expected;
    QFile j2se(window->xmlDirectory() + QStringLiteral("/templatej2se.xvm"));
    QVERIFY(j2se.open(QIODevice::ReadOnly));
    QVERIFY(expected.setContent(&j2se));
    QCOMPARE(window->rootElement().attribute(QStringLiteral("Name")),
             expected.documentElement().attribute(QStringLiteral("Name")));
    QVERIFY(action(window.get(), QStringLiteral("fileSaveAction"))->isEnabled());
}

void TstMainWindow::fileNewAsksToKeepChanges()
{
    auto window = openWindow(m_example);
    window->editor()->setModified(true);

    // Cancel ends the command: no language dialog, the document stays.
    QString text;
    {
        ModalWatcher watcher([&text](QWidget *w) {
            if (auto *box = qobject_cast<QMessageBox *>(w)) {
                text = box->text();
                box->button(QMessageBox::Cancel)->click();
            }
        });
        window->fileNew();
        QCOMPARE(watcher.seen(), QStringList{QStringLiteral("QMessageBox")});
    }
    QCOMPARE(text, QStringLiteral("Save changes to linux_gcc.xvm?"));
    QCOMPARE(window->currentDocumentPath(), m_example);
    QVERIFY(window->editor()->isModified());

    // No goes on to the language dialog (rejected here, so nothing changes).
    {
        ModalWatcher watcher([](QWidget *w) {
            if (auto *box = qobject_cast<QMessageBox *>(w))
                box->button(QMessageBox::No)->click();
        });
        window->fileNew();
        QCOMPARE(watcher.seen(), (QStringList{QStringLiteral("QMessageBox"),
                                              QStringLiteral("QANewVmrDlg")}));
    }
    QCOMPARE(window->currentDocumentPath(), m_example);
    window->editor()->setModified(false);
}

void TstMainWindow::findBoxSearchesTheReferencePage()
{
    auto window = openWindow(m_example);
    window->show();
    QVERIFY(QTest::qWaitForWindowActive(window.get()));
    QSignalSpy spy(window.get(), &QAMainWindowEditor::search);
    QComboBox *box = window->findBox();
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("Settings"));
    // Typing tells the reference page what to look for.
    QCOMPARE(window->editor()->docBrowser()->findString(), QStringLiteral("Settings"));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(spy.count(), 1);
    const auto request = spy.at(0).at(0).value<QAFindRequest>();
    QCOMPARE(request.pattern, QStringLiteral("Settings"));
    QVERIFY(!request.caseSensitive);
    QVERIFY(!request.wildcard);
    QCOMPARE(box->count(), 1);
    QCOMPARE(window->editor()->docBrowser()->textCursor().selectedText().toLower(),
             QStringLiteral("settings"));

    // The same text again is no second entry; F3 searches once more.
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(box->count(), 1);
    action(window.get(), QStringLiteral("editFindAction"))->trigger();
    QCOMPARE(spy.count(), 3);
    // A new text goes on top.
    box->lineEdit()->selectAll();
    QTest::keyClicks(box, QStringLiteral("port"));
    QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(box->itemText(0), QStringLiteral("port"));
    QCOMPARE(box->count(), 2);
}

void TstMainWindow::editDeleteRemovesTheSelectedFile()
{
    auto window = openWindow(m_example);
    QAVmrEditorTree *tree = window->editor()->tree();
    const QList<QTreeWidgetItem *> found = tree->findItems(QStringLiteral("env.sh"),
                                                           Qt::MatchExactly | Qt::MatchRecursive);
    QCOMPARE(found.size(), 1);
    tree->setCurrentItem(found.first());
    action(window.get(), QStringLiteral("editDeleteAction"))->trigger();
    QVERIFY(tree->findItems(QStringLiteral("env.sh"), Qt::MatchExactly | Qt::MatchRecursive)
                .isEmpty());
    QVERIFY(window->editor()->isModified());
    window->editor()->setModified(false);
}

void TstMainWindow::aboutBox()
{
    auto window = openWindow();
    QString title;
    QWidget *parent = nullptr;
    VmrTest::onNextModal([&title, &parent](QWidget *w) {
        if (auto *about = qobject_cast<QAVmrAboutDialog *>(w)) {
            title = about->windowTitle();
            parent = about->parentWidget();
            about->accept();
        }
    });
    action(window.get(), QStringLiteral("helpAboutAction"))->trigger();
    QCOMPARE(title, QStringLiteral("About ") + kTitle);
    QCOMPARE(parent, window.get());
    // Built for one showing only.
    QVERIFY(window->findChildren<QAVmrAboutDialog *>().isEmpty());
}

void TstMainWindow::preferencesAtFirstStart()
{
    auto window = openWindow();
    QAvmrPrefDialog *dialog = window->preferencesDialog();
    QVERIFY(dialog);
    QCOMPARE(dialog->objectName(), QStringLiteral("Preferences"));
    QCOMPARE(dialog->parentWidget(), window.get());
    QCOMPARE(dialog->browserBox()->count(), 1);
    QCOMPARE(dialog->browserCommand(), QStringLiteral("xdg-open"));
    QCOMPARE(window->editor()->help()->getCommand(), QStringLiteral("xdg-open"));
    QCOMPARE(dialog->helpUrl(), window->editor()->help()->getDefaultHelpURL());
    QCOMPARE(window->editor()->help()->getHelpURL(),
             window->editor()->help()->getDefaultHelpURL());
    QVERIFY(!dialog->startsLocalServer());
    QVERIFY(!dialog->classPathField()->isEnabled());
}

void TstMainWindow::preferencesRoundTrip()
{
    {
        auto window = openWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->openPreferences();
        // Shown without waiting for it.
        QAvmrPrefDialog *dialog = window->preferencesDialog();
        QVERIFY(dialog->isVisible());
        QCOMPARE(QApplication::activeModalWidget(), dialog);

        QComboBox *browser = dialog->browserBox();
        browser->lineEdit()->selectAll();
        QTest::keyClicks(browser->lineEdit(), QStringLiteral("firefox --new-window"));
        dialog->helpUrlField()->selectAll();
        QTest::keyClicks(dialog->helpUrlField(), QStringLiteral("http://ic.example:8081/help"));
        dialog->localServerBox()->click();
        QVERIFY(dialog->classPathField()->isEnabled());
        dialog->findChild<QPushButton *>(QStringLiteral("OK"))->click();
        QVERIFY(!dialog->isVisible());

        QAHelp *help = window->editor()->help();
        QCOMPARE(help->getCommand(), QStringLiteral("firefox --new-window"));
        QCOMPARE(help->getHelpURL(), QStringLiteral("http://ic.example:8081/help"));
        QVERIFY(help->getStartLocalServer());
        QVERIFY(window->close());
    }
    store()->sync();
    store()->beginGroup(QStringLiteral("/VMREditorPreferenceDialog"));
    QCOMPARE(store()->value(QStringLiteral("HelpBrowserItem")).toInt(), 0);
    QCOMPARE(store()->value(QStringLiteral("HelpBrowserlist")).toStringList(),
             names({"firefox --new-window", "xdg-open"}));
    QCOMPARE(store()->value(QStringLiteral("HelpUrl")).toString(),
             QStringLiteral("http://ic.example:8081/help"));
    QCOMPARE(store()->value(QStringLiteral("LocalServer")).toBool(), true);
    store()->endGroup();

    auto again = openWindow();
    QAvmrPrefDialog *dialog = again->preferencesDialog();
    QCOMPARE(dialog->browserList(), names({"firefox --new-window", "xdg-open"}));
    QCOMPARE(dialog->browserIndex(), 0);
    QCOMPARE(dialog->browserCommand(), QStringLiteral("firefox --new-window"));
    QCOMPARE(dialog->helpUrl(), QStringLiteral("http://ic.example:8081/help"));
    QVERIFY(dialog->startsLocalServer());
    QVERIFY(dialog->classPathField()->isEnabled());
    QAHelp *help = again->editor()->help();
    QCOMPARE(help->getCommand(), QStringLiteral("firefox --new-window"));
    QCOMPARE(help->getHelpURL(), QStringLiteral("http://ic.example:8081/help"));
    QVERIFY(help->getStartLocalServer());

    // The second entry chosen and stored comes back chosen.
    dialog->browserBox()->setCurrentIndex(1);
    QMetaObject::invokeMethod(dialog, "accept");
    QCOMPARE(help->getCommand(), QStringLiteral("xdg-open"));
    QVERIFY(again->close());
    auto third = openWindow();
    QCOMPARE(third->preferencesDialog()->browserIndex(), 1);
    QCOMPARE(third->editor()->help()->getCommand(), QStringLiteral("xdg-open"));
}

void TstMainWindow::preferencesStoredListWithoutCommandIsIgnored()
{
    store()->beginGroup(QStringLiteral("/VMREditorPreferenceDialog"));
    store()->setValue(QStringLiteral("HelpBrowserlist"), names({"firefox", "lynx"}));
    store()->setValue(QStringLiteral("HelpBrowserItem"), 1);
    store()->endGroup();
    store()->sync();
    auto window = openWindow();
    QAvmrPrefDialog *dialog = window->preferencesDialog();
    QCOMPARE(dialog->browserBox()->count(), 1);
    QCOMPARE(dialog->browserCommand(), QStringLiteral("xdg-open"));
    QCOMPARE(window->editor()->help()->getCommand(), QStringLiteral("xdg-open"));
}

void TstMainWindow::preferencesClosedWithoutOkStoreNothing()
{
    auto window = openWindow();
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    window->openPreferences();
    QAvmrPrefDialog *dialog = window->preferencesDialog();
    QVERIFY(dialog->isVisible());
    dialog->helpUrlField()->setText(QStringLiteral("http://typed.example/"));
    QTest::keyClick(dialog, Qt::Key_Escape);
    QVERIFY(!dialog->isVisible());
    QCOMPARE(window->editor()->help()->getHelpURL(),
             window->editor()->help()->getDefaultHelpURL());
    QVERIFY(window->close());
    store()->sync();
    QVERIFY(!store()->contains(QStringLiteral("/VMREditorPreferenceDialog/HelpUrl")));
    // The dialog kept what was typed for its next showing.
    QCOMPARE(dialog->helpUrl(), QStringLiteral("http://typed.example/"));
}

void TstMainWindow::userGuideOpensInTheChosenBrowser()
{
    auto window = openWindow();
    const QString record = m_work->filePath(QStringLiteral("args"));
    const QString browser = fakeBrowser(m_work->path(), record);
    QAvmrPrefDialog *dialog = window->preferencesDialog();
    dialog->browserBox()->setEditText(browser);
    QMetaObject::invokeMethod(dialog, "accept");

    action(window.get(), QStringLiteral("helpContentsAction"))->trigger();
    QTRY_VERIFY(QFileInfo::exists(record));
    QUrl guide = QUrl::fromLocalFile(QFileInfo(VmrTest::orbiskDir()
                                               + QStringLiteral("/doc/orbk-ug/index.html"))
                                         .absoluteFilePath());
    guide.setFragment(QStringLiteral("doc_vmreditor"));
    QCOMPARE(recorded(record), QStringList{guide.toString()});
    QCOMPARE(window->help()->lastLaunch(), (QStringList{browser, guide.toString()}));
}

void TstMainWindow::webPagesOpenTheirAddresses()
{
    auto window = openWindow();
    const QString record = m_work->filePath(QStringLiteral("args"));
    window->preferencesDialog()->browserBox()->setEditText(fakeBrowser(m_work->path(), record));
    QMetaObject::invokeMethod(window->preferencesDialog(), "accept");

    const QStringList addresses = window->webAddresses();
    const QStringList actions = {
        QStringLiteral("Quintar Software Home Page"), QStringLiteral("Technical Support"),
        QStringLiteral("Tarvex Quintar Orbisk"), QStringLiteral("Velmors")};
    for (int i = 0; i < actions.size(); ++i) {
        QFile::remove(record);
        QVERIFY(!addresses.at(i).isEmpty());
        action(window.get(), actions.at(i))->trigger();
        QTRY_VERIFY(QFileInfo::exists(record));
        QCOMPARE(recorded(record), QStringList{addresses.at(i)});
    }
}

void TstMainWindow::webPropertiesWithoutSupportPage()
{
    const auto install = copyInstallation();
    writeFile(install->filePath(QStringLiteral("doc/orbk_web.properties")),
              "url.home=http://h.example/\n"
              "url.orbisk=http://o.example/\n"
              "url.targetpackage=http://t.example/\n"
              "other.support=http://not-this.example/\n");
    Installation use(install->path());
    auto window = openWindow();
    QCOMPARE(window->webAddresses(),
             names({"http://h.example/", "", "http://o.example/", "http://t.example/"}));

    // Nothing to open for the missing page.
    window->editor()->help()->setCommand(QStringLiteral("/bin/true"));
    action(window.get(), QStringLiteral("Technical Support"))->trigger();
    QCOMPARE(window->editor()->help()->lastLaunch(), QStringList());
}

void TstMainWindow::missingHelpFilesAreReported()
{
    {
        const auto install = copyInstallation();
        QVERIFY(QDir(install->filePath(QStringLiteral("doc"))).removeRecursively());
        Installation use(install->path());
        QString text;
        VmrTest::onNextModal([&text](QWidget *w) {
            if (auto *box = qobject_cast<QMessageBox *>(w)) {
                text = box->windowTitle() + QStringLiteral("|") + box->text();
                QCOMPARE(box->icon(), QMessageBox::Critical);
                box->accept();
            }
        });
        auto window = openWindow();
        QCOMPARE(text, kTitle + QStringLiteral("|Impossible to find the directory doc in the "
                                               "install directory."));
        QCOMPARE(window->webAddresses(), names({"", "", "", ""}));
    }
    {
        const auto install = copyInstallation();
        QVERIFY(QFile::remove(install->filePath(QStringLiteral("doc/orbk_web.properties"))));
        Installation use(install->path());
        QString text;
        VmrTest::onNextModal([&text](QWidget *w) {
            if (auto *box = qobject_cast<QMessageBox *>(w)) {
                text = box->text();
                box->accept();
            }
        });
        auto window = openWindow();
        QCOMPARE(text, QStringLiteral("Impossible to find the file orbk_web.properties in the "
                                      "install directory."));
    }
    {
        // A file that holds no entry is no reason for a message.
        const auto install = copyInstallation();
        writeFile(install->filePath(QStringLiteral("doc/orbk_web.properties")), "# empty\n");
        Installation use(install->path());
        ModalWatcher watcher;
        auto window = openWindow();
        QCOMPARE(watcher.seen(), QStringList());
        QCOMPARE(window->webAddresses(), names({"", "", "", ""}));
    }
}

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
