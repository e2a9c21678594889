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
#include <QLabel>
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
    writeFile(path, "#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > " + r
                        + ".tmp\nmv " + r + ".tmp " + r + "\n");
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
    return path;
}

// What the fake browser received, once it has run.
QStringList recorded(const QString &record)
{
    [&record]() { QTRY_VERIFY(QFileInfo::exists(record)); }();
    const QByteArray text = readFile(record);
    QFile::remove(record);
    return QString::fromUtf8(text).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

void trigger(QWidget *window, const char *name)
{
    QAction *a = window->findChild<QAction *>(QLatin1String(name), Qt::FindDirectChildrenOnly);
    QVERIFY2(a, name);
    a->trigger();
}

bool shown(QWidget *window)
{
    window->show();
    return QTest::qWaitForWindowActive(window);
}

// The document with its read_only attribute turned on.
QByteArray readOnlyCopy(const QString &path)
{
    return readFile(path).replace("read_only=\"no\"", "read_only=\"yes\"");
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

    void actionsFollowTheTable();
    void menusAndBars();
    void windowAtStart_data();
    void windowAtStart();
    void splashShowsWhileBuilding();

    void editCommandsOnTheFocusedField_data();
    void editCommandsOnTheFocusedField();
    void editCommandsIgnoreOtherWidgets();

    void storedSizesAtStart_data();
    void storedSizesAtStart();
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

    void preferencesAtFirstStart_data();
    void preferencesAtFirstStart();
    void preferencesRoundTrip();
    void guideAndWebPagesOpenInTheChosenBrowser();
    void webPropertiesWithoutSupportPage();
    void missingHelpFilesAreReported_data();
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

void TstMainWindow::actionsFollowTheTable()
{
    struct Row
    {
        const char *name, *text, *toolTip, *shortcut, *icon;
        bool enabled;
    };
    static const Row table[] = {
        {"fileNewAction", "&New", "Create a new file", "Ctrl+N", "new_xpm", true},
        {"fileOpenAction", "&Open...", "Open an existing file", "Ctrl+O", "open_xpm", true},
        {"fileSaveAction", "&Save && Generate", "Save and Generate the current file", "Ctrl+S",
         "save_xpm", false},
        {"fileSaveAsAction", "Save xvm &As...", "Save the current xvm file with a new name", "",
         nullptr, false},
        {"fileGenerateAsAction", "Save && &Generate VMR In...",
         "save & Generate the current VMR somewhere else", "", nullptr, false},
        {"fileExportAsAction", "&Export to text file...", "Export to text file", "", nullptr,
         false},
        {"fileExitAction", "E&xit", "Exit Tarvex Quintar Orbisk Velmor Editor", "", nullptr,
         true},
        {"editUndoAction", "&Undo", "Undo previous command", "Ctrl+Z", "undo_xpm", true},
        {"editRedoAction", "&Redo", "Redo previous undo command", "Ctrl+Y", "redo_xpm", true},
        {"editCutAction", "&Cut", "Cut the selected text and put it in the clipboard", "Ctrl+X",
         "cut_xpm", true},
        {"editCopyAction", "C&opy", "Copy the selected text and put it in the clipboard",
         "Ctrl+C", "copy_xpm", true},
        {"editPasteAction", "&Paste", "Insert clipboard contents", "Ctrl+V", "paste_xpm", true},
        {"editDeleteAction", "&Delete", "Delete the current selection", "Del", "delete_xpm",
         true},
        {"editFindAction", "&Find Next in doc",
         "Click this button to search for the text entered in the box next to this button."
         "<br><br>You can also select the <b>Find</b> command from the Edit menu.",
         "F3", "find_xpm", true},
        {"editPrefAction", "Pre&ferences", "Click this button to set preferences", "", nullptr,
         true},
        {"editSelectAllAction", "Se&lect All", "Select the entire contents of the current file",
         "Ctrl+A", nullptr, true},
        {"helpContentsAction", "&Velmor Guide", "Open online documentation", "F1",
         "contents_xpm", true},
        // The web pages' tool tips are their texts.
        {"Tarvex Quintar Orbisk", "Product Home Page", nullptr, "", "htmllink_xpm", true},
        {"Velmors", "Velmors", nullptr, "", "htmllink_xpm", true},
        {"Technical Support", "Technical Support", nullptr, "", "htmllink_xpm", true},
        {"Quintar Software Home Page", "Quintar Software Home Page", nullptr, "", "htmllink_xpm",
         true},
        {"helpAboutAction", "&About Tarvex Quintar Orbisk Velmor Editor...",
         "Show product information, version number and copyright", "", "about_xpm", true},
    };
    auto window = openWindow();
    for (const Row &row : table) {
        const QString name = QString::fromLatin1(row.name);
        const QList<QAction *> found =
            window->findChildren<QAction *>(name, Qt::FindDirectChildrenOnly);
        QCOMPARE(found.size(), 1);
        QAction *a = found.first();
        QCOMPARE(a->text(), QString::fromLatin1(row.text));
        QCOMPARE(a->toolTip(), QString::fromLatin1(row.toolTip ? row.toolTip : row.text));
        QCOMPARE(a->shortcut().toString(QKeySequence::PortableText),
                 QString::fromLatin1(row.shortcut));
        QVERIFY2(a->isEnabled() == row.enabled, row.name);
        QVERIFY2(a->icon().isNull() == !row.icon, row.name);
        if (row.icon) {
            const QPixmap expected = GETPIX(row.icon);
            QCOMPARE(
                a->icon().pixmap(expected.size()).toImage().convertToFormat(QImage::Format_ARGB32),
                expected.toImage().convertToFormat(QImage::Format_ARGB32));
        }
    }
}

void TstMainWindow::menusAndBars()
{
    auto window = openWindow();
    const QList<QAction *> top = window->menuBar()->actions();
    QCOMPARE(top.size(), 4);
    QCOMPARE(top.at(0)->text(), QStringLiteral("&File"));
    QCOMPARE(top.at(1)->text(), QStringLiteral("&Edit"));
    QVERIFY(top.at(2)->isSeparator());
    QCOMPARE(top.at(3)->text(), QStringLiteral("&Help"));

    QCOMPARE(layoutOf(top.at(0)->menu()->actions()),
             names({"fileNewAction", "fileOpenAction", "-", "fileSaveAction",
                    "fileSaveAsAction", "fileGenerateAsAction", "-", "fileExportAsAction", "-",
                    "fileExitAction"}));
    QCOMPARE(layoutOf(top.at(1)->menu()->actions()),
             names({"editUndoAction", "editRedoAction", "-", "editCutAction", "editCopyAction",
                    "editPasteAction", "editDeleteAction", "-", "editFindAction", "-",
                    "editSelectAllAction"}));
    const QList<QAction *> help = top.at(3)->menu()->actions();
    QCOMPARE(layoutOf(help), names({"helpContentsAction", "-", "[menu]", "-", "helpAboutAction"}));
    QCOMPARE(help.at(2)->menu(), window->findChild<QMenu *>(QStringLiteral("web menu")));
    QCOMPARE(layoutOf(help.at(2)->menu()->actions()), names({"Tarvex Quintar Orbisk", "Velmors",
                                              "Technical Support", "Quintar Software Home Page"}));

    const QList<QToolBar *> bars = window->findChildren<QToolBar *>();
    QCOMPARE(bars.size(), 2);
    QToolBar *tools = window->findChild<QToolBar *>(QStringLiteral("Tools"));
    QToolBar *find = window->findChild<QToolBar *>(QStringLiteral("Find"));
    QVERIFY(tools && find);
    QCOMPARE(layoutOf(tools->actions()),
             names({"fileNewAction", "fileOpenAction", "-", "fileSaveAction", "-",
                    "editUndoAction", "editRedoAction", "-", "editCutAction", "editCopyAction",
                    "editPasteAction", "editDeleteAction"}));
    QCOMPARE(layoutOf(find->actions()), names({"editFindAction", "[widget]"}));
    QCOMPARE(window->findBox()->parentWidget(), find);

    // Preferences: in no menu and on no bar, yet its action works.
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

void TstMainWindow::windowAtStart_data()
{
    QTest::addColumn<bool>("zephrin");
    QTest::newRow("Orbisk") << false;
    QTest::newRow("Zephrin") << true;
}

void TstMainWindow::windowAtStart()
{
    QFETCH(bool, zephrin);
    const auto install = copyInstallation();
    if (zephrin)
        writeFile(install->filePath(QStringLiteral("lib/edition")), "Zephrin\n");
    Installation use(install->path());
    const QString product = zephrin ? QStringLiteral("Tarvex Quintar Zephrin")
                                    : QStringLiteral("Tarvex Quintar Orbisk");
    const QString title = product + QStringLiteral(" Velmor Editor");

    auto window = openWindow();
    QCOMPARE(window->windowTitle(), title);
    QCOMPARE(action(window.get(), QStringLiteral("fileExitAction"))->toolTip(),
             QStringLiteral("Exit ") + title);
    QCOMPARE(action(window.get(), QStringLiteral("helpAboutAction"))->text(),
             QStringLiteral("&About ") + title + QStringLiteral("..."));
    QCOMPARE(window->windowIcon().pixmap(32, 32).toImage(),
             GETPIX(zephrin ? "zphricon32x32_xpm" : "orbkicon32x32_xpm").toImage());
    QMenu *web = window->findChild<QMenu *>(QStringLiteral("web menu"));
    QVERIFY(web);
    QCOMPARE(web->title(), product + QStringLiteral(" on the Web"));
    QCOMPARE(window->size(), QSize(640, 480));
    auto *ready = window->statusBar()->findChild<QLabel *>();
    QVERIFY(ready);
    QCOMPARE(ready->text(), QStringLiteral("Ready"));

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
    QCOMPARE(seen.first(),
             QAVmrSplashWindow::centredOn(QGuiApplication::primaryScreen()->geometry()));
    // Gone once the window is built.
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY(!qobject_cast<QAVmrSplashWindow *>(w));
}

void TstMainWindow::editCommandsOnTheFocusedField_data()
{
    QTest::addColumn<QString>("field");
    QTest::newRow("line edit") << QStringLiteral("line");
    QTest::newRow("text edit") << QStringLiteral("text");
    QTest::newRow("find box") << QStringLiteral("find");
}

void TstMainWindow::editCommandsOnTheFocusedField()
{
    QFETCH(QString, field);
    auto window = openWindow();
    QWidget *widget = window->findBox();
    auto *text = field == QLatin1String("text") ? new QTextEdit(window->statusBar()) : nullptr;
    if (field != QLatin1String("find")) {
        widget = text ? static_cast<QWidget *>(text) : new QLineEdit(window->statusBar());
        window->statusBar()->addWidget(widget);
    }
    QVERIFY(shown(window.get()));
    widget->setFocus();
    QTRY_VERIFY(widget->hasFocus());
    const auto content = [widget, text]() {
        if (text)
            return text->toPlainText();
        auto *line = qobject_cast<QLineEdit *>(widget);
        return line ? line->text() : qobject_cast<QComboBox *>(widget)->currentText();
    };
    QTest::keyClicks(widget, QStringLiteral("first"));
    QClipboard *clipboard = QApplication::clipboard();

    trigger(window.get(), "editSelectAllAction");
    trigger(window.get(), "editCopyAction");
    QCOMPARE(clipboard->text(), QStringLiteral("first"));
    QCOMPARE(content(), QStringLiteral("first"));
    trigger(window.get(), "editCutAction");
    QCOMPARE(content(), QString());
    trigger(window.get(), "editPasteAction");
    trigger(window.get(), "editPasteAction");
    QCOMPARE(content(), QStringLiteral("firstfirst"));
    trigger(window.get(), "editUndoAction");
    QCOMPARE(content(), QStringLiteral("first"));
    trigger(window.get(), "editRedoAction");
    QCOMPARE(content(), QStringLiteral("firstfirst"));
}

void TstMainWindow::editCommandsIgnoreOtherWidgets()
{
    auto window = openWindow(m_example);
    auto *line = new QLineEdit(window->statusBar());
    line->setText(QStringLiteral("untouched"));
    window->statusBar()->addWidget(line);
    QVERIFY(shown(window.get()));
    QAVmrEditorTree *tree = window->editor()->tree();
    QVERIFY(tree->topLevelItemCount() > 0);
    tree->setFocus();
    QTRY_COMPARE(window->focusWidget(), static_cast<QWidget *>(tree));

    QClipboard *clipboard = QApplication::clipboard();
    clipboard->setText(QStringLiteral("sentinel"));
    const QString rootText = tree->topLevelItem(0)->text(0);
    for (const char *name : {"editCopyAction", "editCutAction", "editPasteAction",
                             "editUndoAction", "editRedoAction", "editSelectAllAction"})
        trigger(window.get(), name);
    QCOMPARE(clipboard->text(), QStringLiteral("sentinel"));
    QCOMPARE(line->text(), QStringLiteral("untouched"));
    QCOMPARE(tree->topLevelItem(0)->text(0), rootText);
    QVERIFY(!window->editor()->isModified());
}

void TstMainWindow::storedSizesAtStart_data()
{
    QTest::addColumn<QVariantList>("stored"); // width, height, splitter2, splitter22
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("ratio"); // of the edition pane to the reference page; 0: any
    QTest::newRow("stored") << QVariantList{900, 700, 120, 360} << QSize(900, 700) << 3;
    QTest::newRow("damaged") << QVariantList{QStringLiteral("wide"), -40, 0, QStringLiteral("x")}
                             << QSize(640, 480) << 0;
    QTest::newRow("none") << QVariantList() << QSize(640, 480) << 0;
}

void TstMainWindow::storedSizesAtStart()
{
    QFETCH(QVariantList, stored);
    QFETCH(QSize, size);
    QFETCH(int, ratio);
    const QStringList keys = names({"width", "height", "splitter2", "splitter22"});
    for (int i = 0; i < stored.size(); ++i)
        store()->setValue(QStringLiteral("/Orbisk/vmreditor/") + keys.at(i), stored.at(i));
    store()->sync();

    auto window = openWindow();
    QCOMPARE(window->size(), size);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window.get()));
    // Both panes are usable; stored sizes share the height in their proportion.
    QTRY_VERIFY(window->editor()->docAreaSize() > 0);
    const int doc = window->editor()->docAreaSize();
    const int edition = window->editor()->editionAreaSize();
    QVERIFY2(edition > 0 && (ratio == 0 || qAbs(edition - ratio * doc) <= 6),
             qPrintable(QStringLiteral("%1 %2").arg(doc).arg(edition)));
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
    QVERIFY(shown(window.get()));
    QVERIFY(!window->editor()->isModified());
    window->editor()->setModified(true);

    // Cancel, or Escape, keeps the window and the changes.
    QString text;
    VmrTest::answerMessageBox(QMessageBox::Cancel, &text);
    QVERIFY(!window->close());
    QCOMPARE(text, QStringLiteral("Save changes to linux_gcc.xvm?"));
    VmrTest::onNextModal([](QWidget *w) { QTest::keyClick(w, Qt::Key_Escape); });
    QVERIFY(!window->close());
    QVERIFY(window->isVisible());
    QVERIFY(window->editor()->isModified());

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
    const QByteArray bytes = readOnlyCopy(m_example);
    writeFile(m_example, bytes);
    auto window = openWindow(m_example);
    QVERIFY(shown(window.get()));
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
    QVERIFY(shown(window.get()));
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
    const QByteArray locked = readOnlyCopy(m_example);
    writeFile(m_work->filePath(QStringLiteral("locked.xvm")), locked);
    writeFile(m_work->filePath(QStringLiteral("document.xvm")), locked);
    for (const auto &[file, caption] : {std::pair{"linux_gcc.xvm", "linux_gcc.xvm - "},
                                        {"locked.xvm", "locked.xvm (Read only) - "},
                                        {"document.xvm", "document.xvm - "}}) {
        auto window = openWindow(m_work->filePath(QString::fromLatin1(file)));
        QCOMPARE(window->windowTitle(), QString::fromLatin1(caption) + kTitle);
    }
}

void TstMainWindow::fileNewLoadsTheChosenTemplate()
{
    auto window = openWindow(m_example);
    QCOMPARE(window->currentDocumentPath(), m_example);
    VmrTest::onNextModal([](QWidget *w) {
        auto *dialog = qobject_cast<QANewVmrDlg *>(w);
        if (!dialog)
            return;
        dialog->j2seButton()->click();
        if (QPushButton *open = dialog->findChild<QPushButton *>(QStringLiteral("Open")))
            open->click();
    });
    trigger(window.get(), "fileNewAction");
    QCOMPARE(window->currentDocumentPath(),
             window->xmlDirectory() + QDir::separator() + QStringLiteral("document.xvm"));
    QCOMPARE(window->rootElement().tagName(), QStringLiteral("VMR"));
    QDomDocument expected;
    QVERIFY(expected.setContent(readFile(window->xmlDirectory()
                                         + QStringLiteral("/templatej2se.xvm"))));
    QCOMPARE(window->rootElement().attribute(QStringLiteral("Name")),
             expected.documentElement().attribute(QStringLiteral("Name")));
    QVERIFY(action(window.get(), QStringLiteral("fileSaveAction"))->isEnabled());
}

void TstMainWindow::fileNewAsksToKeepChanges()
{
    auto window = openWindow(m_example);
    window->editor()->setModified(true);
    // Cancel ends the command: no language dialog. No goes on to the language dialog
    // (rejected here). Either way the document stays.
    for (const auto button : {QMessageBox::Cancel, QMessageBox::No}) {
        QString text;
        ModalWatcher watcher([&text, button](QWidget *w) {
            if (auto *box = qobject_cast<QMessageBox *>(w)) {
                text = box->text();
                box->button(button)->click();
            }
        });
        window->fileNew();
        QCOMPARE(watcher.seen(), button == QMessageBox::Cancel
                                     ? QStringList{QStringLiteral("QMessageBox")}
                                     : names({"QMessageBox", "QANewVmrDlg"}));
        QCOMPARE(text, QStringLiteral("Save changes to linux_gcc.xvm?"));
        QCOMPARE(window->currentDocumentPath(), m_example);
        QVERIFY(window->editor()->isModified());
    }
    window->editor()->setModified(false);
}

void TstMainWindow::findBoxSearchesTheReferencePage()
{
    auto window = openWindow(m_example);
    QVERIFY(shown(window.get()));
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
    QCOMPARE(window->editor()->docBrowser()->textCursor().selectedText().toLower(),
             QStringLiteral("settings"));

    // The same text again is no second entry; F3 searches once more; a new text goes on top.
    QTest::keyClick(box, Qt::Key_Return);
    trigger(window.get(), "editFindAction");
    QCOMPARE(spy.count(), 3);
    QCOMPARE(box->count(), 1);
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
    const auto find = [tree]() {
        return tree->findItems(QStringLiteral("env.sh"), Qt::MatchExactly | Qt::MatchRecursive);
    };
    QCOMPARE(find().size(), 1);
    tree->setCurrentItem(find().first());
    trigger(window.get(), "editDeleteAction");
    QVERIFY(find().isEmpty());
    QVERIFY(window->editor()->isModified());
    window->editor()->setModified(false);
}

void TstMainWindow::aboutBox()
{
    auto window = openWindow();
    QString title;
    VmrTest::onNextModal([&title](QWidget *w) {
        title = w->windowTitle();
        qobject_cast<QDialog *>(w)->accept();
    });
    trigger(window.get(), "helpAboutAction");
    QCOMPARE(title, QStringLiteral("About ") + kTitle);
    // Built for one showing only.
    QVERIFY(window->findChildren<QAVmrAboutDialog *>().isEmpty());
}

void TstMainWindow::preferencesAtFirstStart_data()
{
    QTest::addColumn<QStringList>("storedList");
    QTest::addColumn<bool>("escape");
    QTest::newRow("nothing stored") << QStringList() << false;
    // A stored list without its chosen command is ignored.
    QTest::newRow("list without command") << names({"firefox", "lynx"}) << false;
    // Closed without OK, the dialog changes and stores nothing.
    QTest::newRow("closed without OK") << QStringList() << true;
}

void TstMainWindow::preferencesAtFirstStart()
{
    QFETCH(QStringList, storedList);
    QFETCH(bool, escape);
    if (!storedList.isEmpty()) {
        store()->setValue(QStringLiteral("/VMREditorPreferenceDialog/HelpBrowserlist"),
                          storedList);
        store()->setValue(QStringLiteral("/VMREditorPreferenceDialog/HelpBrowserItem"), 1);
        store()->sync();
    }
    auto window = openWindow();
    QAvmrPrefDialog *dialog = window->preferencesDialog();
    QVERIFY(dialog);
    QCOMPARE(dialog->parentWidget(), window.get());
    if (escape) {
        QVERIFY(shown(window.get()));
        window->openPreferences();
        QVERIFY(dialog->isVisible());
        dialog->helpUrlField()->setText(QStringLiteral("http://typed.example/"));
        QTest::keyClick(dialog, Qt::Key_Escape);
        QVERIFY(!dialog->isVisible());
    }
    QCOMPARE(dialog->browserBox()->count(), 1);
    QCOMPARE(dialog->browserCommand(), QStringLiteral("xdg-open"));
    QAHelp *help = window->editor()->help();
    QCOMPARE(help->getCommand(), QStringLiteral("xdg-open"));
    QCOMPARE(help->getHelpURL(), help->getDefaultHelpURL());
    QVERIFY(!help->getStartLocalServer());
    if (!escape)
        QCOMPARE(dialog->helpUrl(), help->getDefaultHelpURL());
    QVERIFY(!dialog->startsLocalServer());
    QVERIFY(!dialog->classPathField()->isEnabled());
    QVERIFY(window->close());
    store()->sync();
    QVERIFY(!store()->contains(QStringLiteral("/VMREditorPreferenceDialog/HelpUrl")));
}

void TstMainWindow::preferencesRoundTrip()
{
    const QString command = QStringLiteral("firefox --new-window");
    const QString url = QStringLiteral("http://ic.example:8081/help");
    {
        auto window = openWindow();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        window->openPreferences();
        // Shown without waiting for it.
        QAvmrPrefDialog *dialog = window->preferencesDialog();
        QCOMPARE(QApplication::activeModalWidget(), dialog);
        dialog->browserBox()->lineEdit()->selectAll();
        QTest::keyClicks(dialog->browserBox()->lineEdit(), command);
        dialog->helpUrlField()->selectAll();
        QTest::keyClicks(dialog->helpUrlField(), url);
        dialog->localServerBox()->click();
        dialog->findChild<QPushButton *>(QStringLiteral("OK"))->click();
        QVERIFY(!dialog->isVisible());

        QAHelp *help = window->editor()->help();
        QCOMPARE(help->getCommand(), command);
        QCOMPARE(help->getHelpURL(), url);
        QVERIFY(help->getStartLocalServer());
        QVERIFY(window->close());
    }
    store()->sync();
    store()->beginGroup(QStringLiteral("/VMREditorPreferenceDialog"));
    QCOMPARE(store()->value(QStringLiteral("HelpBrowserItem")).toInt(), 0);
    QCOMPARE(store()->value(QStringLiteral("HelpBrowserlist")).toStringList(),
             (QStringList{command, QStringLiteral("xdg-open")}));
    QCOMPARE(store()->value(QStringLiteral("HelpUrl")).toString(), url);
    QCOMPARE(store()->value(QStringLiteral("LocalServer")).toBool(), true);
    store()->endGroup();

    // The next start shows and uses what was stored.
    auto again = openWindow();
    QAvmrPrefDialog *dialog = again->preferencesDialog();
    QCOMPARE(dialog->browserList(), (QStringList{command, QStringLiteral("xdg-open")}));
    QVERIFY(dialog->classPathField()->isEnabled());
    QAHelp *help = again->editor()->help();
    QCOMPARE(help->getCommand(), command);
    QCOMPARE(help->getHelpURL(), url);
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

void TstMainWindow::guideAndWebPagesOpenInTheChosenBrowser()
{
    auto window = openWindow();
    const QString record = m_work->filePath(QStringLiteral("args"));
    const QString browser = fakeBrowser(m_work->path(), record);
    window->preferencesDialog()->browserBox()->setEditText(browser);
    QMetaObject::invokeMethod(window->preferencesDialog(), "accept");

    trigger(window.get(), "helpContentsAction");
    QUrl guide = QUrl::fromLocalFile(
        QFileInfo(VmrTest::orbiskDir() + QStringLiteral("/doc/orbk-ug/index.html"))
            .absoluteFilePath());
    guide.setFragment(QStringLiteral("doc_vmreditor"));
    QCOMPARE(recorded(record), QStringList{guide.toString()});
    QCOMPARE(window->help()->lastLaunch(), (QStringList{browser, guide.toString()}));

    const QStringList addresses = window->webAddresses();
    const char *const actions[] = {"Quintar Software Home Page", "Technical Support",
                                   "Tarvex Quintar Orbisk", "Velmors"};
    for (int i = 0; i < 4; ++i) {
        QVERIFY(!addresses.at(i).isEmpty());
        trigger(window.get(), actions[i]);
        QCOMPARE(recorded(record), QStringList{addresses.at(i)});
    }
}

void TstMainWindow::webPropertiesWithoutSupportPage()
{
    const auto install = copyInstallation();
    writeFile(install->filePath(QStringLiteral("doc/orbk_web.properties")),
              "url.home=http://h.example/\nurl.orbisk=http://o.example/\n"
              "url.targetpackage=http://t.example/\nother.support=http://not-this.example/\n");
    Installation use(install->path());
    auto window = openWindow();
    QCOMPARE(window->webAddresses(),
             names({"http://h.example/", "", "http://o.example/", "http://t.example/"}));
    // Nothing to open for the missing page.
    window->editor()->help()->setCommand(QStringLiteral("/bin/true"));
    trigger(window.get(), "Technical Support");
    QCOMPARE(window->editor()->help()->lastLaunch(), QStringList());
}

void TstMainWindow::missingHelpFilesAreReported_data()
{
    QTest::addColumn<QString>("damage");
    QTest::addColumn<QString>("message"); // empty: no message box at all
    QTest::newRow("no doc directory")
        << QStringLiteral("doc")
        << QStringLiteral("Impossible to find the directory doc in the install directory.");
    QTest::newRow("no web properties")
        << QStringLiteral("doc/orbk_web.properties")
        << QStringLiteral("Impossible to find the file orbk_web.properties in the install "
                          "directory.");
    // A file that holds no entry is no reason for a message.
    QTest::newRow("empty web properties") << QString() << QString();
}

void TstMainWindow::missingHelpFilesAreReported()
{
    QFETCH(QString, damage);
    QFETCH(QString, message);
    const auto install = copyInstallation();
    if (damage.isEmpty())
        writeFile(install->filePath(QStringLiteral("doc/orbk_web.properties")), "# empty\n");
    else if (damage == QLatin1String("doc"))
        QVERIFY(QDir(install->filePath(damage)).removeRecursively());
    else
        QVERIFY(QFile::remove(install->filePath(damage)));
    Installation use(install->path());
    QStringList texts;
    ModalWatcher watcher([&texts](QWidget *w) {
        if (auto *box = qobject_cast<QMessageBox *>(w)) {
            texts << box->windowTitle() + QLatin1Char('|') + box->text();
            QCOMPARE(box->icon(), QMessageBox::Critical);
            box->accept();
        }
    });
    auto window = openWindow();
    QCOMPARE(texts, message.isEmpty() ? QStringList() : QStringList{kTitle + QLatin1Char('|') + message});
    QCOMPARE(window->webAddresses(), names({"", "", "", ""}));
}

QTEST_MAIN(TstMainWindow)
#include "tst_mainwindow.moc"
