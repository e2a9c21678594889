#include "app/qamainwindoweditor.h"

#include "app/qanewvmrdlg.h"
#include "app/qaportdocument.h"
#include "app/qavmraboutdialog.h"
#include "app/qavmrprefdialog.h"
#include "app/qavmrsplashwindow.h"
#include "app/qavmrver.h"
#include "document/qavmreditor.h"
#include "document/qavmreditortree.h"
#include "support/qaedition.h"
#include "support/qainstall.h"
#include "support/qapixmaps.h"
#include "support/qares.h"
#include "support/qaxmlcharacters.h"
#include "support/qascriptrunner.h"
#include "viewers/qavmrdocbrowser.h"

#include <QAction>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSettings>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolBar>
#include <QUrl>
#include <QKeyEvent>
#include <QTextCursor>
#include <QUndoStack>
#include <QVBoxLayout>

#include <type_traits>

#include <memory>

namespace {

const char kRecentFile[] = "/Orbisk/vmreditor/recentFile";
const char kWidth[] = "/Orbisk/vmreditor/width";
const char kHeight[] = "/Orbisk/vmreditor/height";
const char kDocArea[] = "/Orbisk/vmreditor/splitter2";
const char kEditionArea[] = "/Orbisk/vmreditor/splitter22";
const char kPreferenceGroup[] = "/VMREditorPreferenceDialog";

// How long a notice about the user's own input stays in the status bar.
constexpr int kNoticeMs = 5000;

// The question asked before a modified document is dropped or the window closes.
int askSaveChanges(QWidget *parent, const QString &documentPath)
{
    QMessageBox box(QMessageBox::Information, QAEdition::applicationTitle(),
                    QAMainWindowEditor::tr("Save changes to ")
                        + QFileInfo(documentPath).fileName() + QStringLiteral("?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, parent);
    box.setObjectName(QStringLiteral("save changes"));
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec();
}

// A stored size that is not a positive number (a damaged settings file) is ignored.
int positiveSetting(const QSettings &settings, const char *key, int fallback)
{
    bool ok = false;
    const int value = settings.value(QLatin1String(key), fallback).toInt(&ok);
    return ok && value > 0 ? value : fallback;
}

} // namespace

QAMainWindowEditor::QAMainWindowEditor(int argc, char **argv, QWidget *parent)
    : QMainWindow(parent)
{
    if (argc > 0 && argv && argv[0])
        m_programPath = QString::fromLocal8Bit(argv[0]);
    if (argc > 1 && argv && argv[1])
        m_commandLineFile = QString::fromLocal8Bit(argv[1]);

    // The version list is asked for first and waited for where the window needs it:
    // the script starts while the window is being built instead of after.
    m_version = new QAVMRVersion(m_programPath, QAVMRVersion::ListInBackground);
    m_version->setParent(this);

    m_installTargetDir = QAInstall::targetDir(m_programPath);

    resize(640, 480);

    // Shown while the window is built, gone when the constructor returns.
    std::unique_ptr<QAVmrSplashWindow> splash(new QAVmrSplashWindow(m_programPath));
    splash->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    setWindowTitle(QAEdition::applicationTitle());
    setWindowIcon(QAEdition::windowIcon());
    // A port description dropped anywhere on the window opens.
    setAcceptDrops(true);

    createActions();
    createToolBars();
    createMenus();

    m_centralBox = new QFrame(this);
    m_centralBox->setObjectName(QStringLiteral("central box"));
    m_centralBox->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    m_centralBox->setLineWidth(1);
    auto *boxLayout = new QVBoxLayout(m_centralBox);
    boxLayout->setContentsMargins(1, 1, 1, 1);
    m_editor = new QAVmrEditor(m_installTargetDir, m_centralBox);
    m_editor->tree()->setApplicationPath(m_programPath);
    followHistory();
    m_document = new QAPortDocument(m_editor, m_version, m_programPath, this);
    connect(m_document, &QAPortDocument::status, statusBar(), &QStatusBar::showMessage);
    connect(m_document, &QAPortDocument::fileChanged, this, [this]() {
        setDocumentActionsEnabled(m_document->isOpen());
        refreshCaption();
    });
    connect(m_document, &QAPortDocument::saved, this, &QAMainWindowEditor::writeWindowSettings);
    setDocumentActionsEnabled(false);
    boxLayout->addWidget(m_editor);
    setCentralWidget(m_centralBox);

    m_findBar = addToolBar(tr("Find"));
    m_findBar->setObjectName(QStringLiteral("Find"));
    m_findBar->addAction(m_editFindAction);
    m_findBox = new QComboBox(m_findBar);
    m_findBox->setObjectName(QStringLiteral("find box"));
    m_findBox->setEditable(true);
    m_findBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_findBox->setInsertPolicy(QComboBox::InsertAtTop);
    m_findBox->setDuplicatesEnabled(false);
    m_findBox->setFixedWidth(150);
    m_findBar->addWidget(m_findBox);
    QAVmrDocBrowser *browser = m_editor->docBrowser();
    connect(m_findBox, &QComboBox::editTextChanged, browser, &QAVmrDocBrowser::findInDocStart);
    connect(m_findBox->lineEdit(), &QLineEdit::returnPressed, this,
            &QAMainWindowEditor::findByString);
    connect(this, &QAMainWindowEditor::search, browser, &QAVmrDocBrowser::findInDoc);

    m_version->waitForVersionList();

    const QSettings store(QStringLiteral("Quintar Software"), QStringLiteral("vmreditor"));
    if (!m_commandLineFile.isEmpty()) {
        // A file named on the command line that does not exist opens nothing.
        if (QFileInfo::exists(m_commandLineFile))
            m_document->load(m_commandLineFile, false);
    } else if (store.contains(QLatin1String(kRecentFile))) {
        // Made absolute, so that a file last opened by a relative name is found again.
        const QString recent = store.value(QLatin1String(kRecentFile)).toString();
        if (!recent.isEmpty() && QFileInfo::exists(recent))
            m_document->load(QFileInfo(recent).absoluteFilePath(), false);
    }
    // A new port never saved has no file to open its kept work with: it is offered here,
    // unless the document just opened already holds unsaved work.
    if (!m_editor->isModified())
        m_document->recoverNewDocument();

    const int editionArea = positiveSetting(store, kEditionArea, m_editor->editionAreaSize());
    const int docArea = positiveSetting(store, kDocArea, m_editor->docAreaSize());
    // Before the first layout the panes measure nothing, and an empty viewer area would
    // stay folded away; without stored sizes the reference page gets a strip of a quarter.
    if (docArea > 0 && editionArea > 0)
        m_editor->setAreaSizes(docArea, editionArea);
    else
        m_editor->setAreaSizes(1, 3);
    const QSize first = firstStartSize();
    const int h = positiveSetting(store, kHeight, first.height());
    const int w = positiveSetting(store, kWidth, first.width());
    resize(w, h);
    if (!store.contains(QLatin1String(kWidth)))
        centreOnScreen();

    // The preferences dialog itself is built when it is first opened.
    loadPreferences();

    createStatusBar();
    createFindAndChecks();
    initializeWeb();
}

QAMainWindowEditor::~QAMainWindowEditor() = default;

void QAMainWindowEditor::createActions()
{
    struct Row
    {
        QAction **action;
        const char *objectName;
        QString toolTip;
        QString text;
        QKeySequence shortcut;
        const char *icon;
        bool enabled;
        void (QAMainWindowEditor::*slot)();
    };
    const QString title = QAEdition::applicationTitle();
    const Row rows[] = {
        {&m_fileNewAction, "fileNewAction", tr("Create a new file"), tr("&New"),
         QKeySequence(Qt::CTRL | Qt::Key_N), "new_xpm", true, &QAMainWindowEditor::fileNew},
        {&m_fileOpenAction, "fileOpenAction", tr("Open an existing file"), tr("&Open..."),
         QKeySequence(Qt::CTRL | Qt::Key_O), "open_xpm", true, &QAMainWindowEditor::fileOpen},
        {&m_fileSaveAction, "fileSaveAction", tr("Save and Generate the current file"),
         tr("&Save && Generate"), QKeySequence(Qt::CTRL | Qt::Key_S), "save_xpm", false,
         &QAMainWindowEditor::fileSave},
        {&m_fileSaveAsAction, "fileSaveAsAction", tr("Save the current xvm file with a new name"),
         tr("Save xvm &As..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S),
         "saveas_xpm", false, nullptr},
        {&m_fileGenerateAsAction, "fileGenerateAsAction",
         tr("save & Generate the current VMR somewhere else"), tr("Save && &Generate VMR In..."),
         QKeySequence(), nullptr, false, &QAMainWindowEditor::fileGenerateAs},
        {&m_fileExportAsAction, "fileExportAsAction", tr("Export to text file"),
         tr("&Export to text file..."), QKeySequence(), nullptr, false,
         &QAMainWindowEditor::fileExportAs},
        {&m_fileExitAction, "fileExitAction", tr("Exit ") + title, tr("E&xit"),
         QKeySequence(Qt::CTRL | Qt::Key_Q), "exit_xpm", true, &QAMainWindowEditor::fileExit},
        {&m_editUndoAction, "editUndoAction", tr("Undo previous command"), tr("&Undo"),
         QKeySequence(Qt::CTRL | Qt::Key_Z), "undo_xpm", true, &QAMainWindowEditor::editUndo},
        {&m_editRedoAction, "editRedoAction", tr("Redo previous undo command"), tr("&Redo"),
         QKeySequence(Qt::CTRL | Qt::Key_Y), "redo_xpm", true, &QAMainWindowEditor::editRedo},
        {&m_editCutAction, "editCutAction",
         tr("Cut the selected text and put it in the clipboard"), tr("&Cut"),
         QKeySequence(Qt::CTRL | Qt::Key_X), "cut_xpm", true, &QAMainWindowEditor::editCut},
        {&m_editCopyAction, "editCopyAction",
         tr("Copy the selected text and put it in the clipboard"), tr("C&opy"),
         QKeySequence(Qt::CTRL | Qt::Key_C), "copy_xpm", true, &QAMainWindowEditor::editCopy},
        {&m_editPasteAction, "editPasteAction", tr("Insert clipboard contents"), tr("&Paste"),
         QKeySequence(Qt::CTRL | Qt::Key_V), "paste_xpm", true, &QAMainWindowEditor::editPaste},
        {&m_editDeleteAction, "editDeleteAction", tr("Delete the current selection"),
         tr("&Delete"), QKeySequence(Qt::Key_Delete), "delete_xpm", true,
         &QAMainWindowEditor::editDelete},
        {&m_editFindAction, "editFindAction",
         tr("Click this button to search for the text entered in the box next to this "
            "button.<br><br>You can also select the <b>Find</b> command from the Edit menu."),
         tr("&Find Next in doc"), QKeySequence(Qt::Key_F3), "find_xpm", true,
         &QAMainWindowEditor::findByString},
        {&m_editPrefAction, "editPrefAction", tr("Click this button to set preferences"),
         tr("&Configure Velmor Editor..."), QKeySequence(), "preferences_xpm", true,
         &QAMainWindowEditor::openPreferences},
        {&m_editSelectAllAction, "editSelectAllAction",
         tr("Select the entire contents of the current file"), tr("Se&lect All"),
         QKeySequence(Qt::CTRL | Qt::Key_A), "selectall_xpm", true,
         &QAMainWindowEditor::editSelectAll},
        {&m_helpContentsAction, "helpContentsAction", tr("Open online documentation"),
         tr("&Velmor Guide"), QKeySequence(Qt::Key_F1), "contents_xpm", true,
         &QAMainWindowEditor::helpContents},
        {&m_orbkWebAction, "Tarvex Quintar Orbisk", tr("Product Home Page"),
         tr("Product Home Page"), QKeySequence(), "htmllink_xpm", true,
         &QAMainWindowEditor::orbkweb},
        {&m_vmrWebAction, "Velmors", tr("Velmors"), tr("Velmors"), QKeySequence(),
         "htmllink_xpm", true, &QAMainWindowEditor::vmrweb},
        {&m_supportWebAction, "Technical Support", tr("Technical Support"),
         tr("Technical Support"), QKeySequence(), "htmllink_xpm", true,
         &QAMainWindowEditor::supportweb},
        {&m_homeWebAction, "Quintar Software Home Page", tr("Quintar Software Home Page"),
         tr("Quintar Software Home Page"), QKeySequence(), "htmllink_xpm", true,
         &QAMainWindowEditor::homeweb},
        {&m_helpAboutAction, "helpAboutAction",
         tr("Show product information, version number and copyright"),
         tr("&About ") + title + QStringLiteral("..."), QKeySequence(), "about_xpm", true,
         &QAMainWindowEditor::helpAbout},
    };
    for (const Row &row : rows) {
        auto *action = new QAction(this);
        action->setObjectName(QLatin1String(row.objectName));
        action->setText(row.text);
        action->setToolTip(row.toolTip);
        action->setStatusTip(row.toolTip);
        if (!row.shortcut.isEmpty())
            action->setShortcut(row.shortcut);
        if (row.icon)
            action->setIcon(qaIcon(row.icon));
        action->setEnabled(row.enabled);
        if (row.slot)
            connect(action, &QAction::triggered, this, row.slot);
        *row.action = action;
    }
    // Save As takes an optional start path, so it does not fit the table's slot type.
    connect(m_fileSaveAsAction, &QAction::triggered, this, [this]() { fileSaveAs(); });
    // Redo answers both keys that desktops use for it.
    m_editRedoAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)});
}

void QAMainWindowEditor::createToolBars()
{
    m_toolBar = addToolBar(tr("Tools"));
    m_toolBar->setObjectName(QStringLiteral("Tools"));
    m_toolBar->addAction(m_fileNewAction);
    m_toolBar->addAction(m_fileOpenAction);
    m_toolBar->addSeparator();
    m_toolBar->addAction(m_fileSaveAction);
    m_toolBar->addSeparator();
    m_toolBar->addAction(m_editUndoAction);
    m_toolBar->addAction(m_editRedoAction);
    m_toolBar->addSeparator();
    m_toolBar->addAction(m_editCutAction);
    m_toolBar->addAction(m_editCopyAction);
    m_toolBar->addAction(m_editPasteAction);
    m_toolBar->addAction(m_editDeleteAction);
}

void QAMainWindowEditor::createMenus()
{
    m_menuBar = menuBar();
    m_menuBar->setObjectName(QStringLiteral("menubar"));

    m_fileMenu = m_menuBar->addMenu(tr("&File"));
    m_fileMenu->addAction(m_fileNewAction);
    m_fileMenu->addAction(m_fileOpenAction);
    createRecentMenu();
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_fileSaveAction);
    m_fileMenu->addAction(m_fileSaveAsAction);
    m_fileMenu->addAction(m_fileGenerateAsAction);
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_fileExportAsAction);
    m_fileMenu->addSeparator();
    m_fileMenu->addAction(m_fileExitAction);

    m_editMenu = m_menuBar->addMenu(tr("&Edit"));
    m_editMenu->addAction(m_editUndoAction);
    m_editMenu->addAction(m_editRedoAction);
    m_editMenu->addSeparator();
    m_editMenu->addAction(m_editCutAction);
    m_editMenu->addAction(m_editCopyAction);
    m_editMenu->addAction(m_editPasteAction);
    m_editMenu->addAction(m_editDeleteAction);
    m_editMenu->addSeparator();
    m_editMenu->addAction(m_editFindAction);
    m_editMenu->addSeparator();
    m_editMenu->addAction(m_editSelectAllAction);

    // Where desktop programs keep their preferences.
    QMenu *settingsMenu = m_menuBar->addMenu(tr("&Settings"));
    settingsMenu->setObjectName(QStringLiteral("settings menu"));
    settingsMenu->addAction(m_editPrefAction);

    m_menuBar->addSeparator();

    m_helpMenu = m_menuBar->addMenu(tr("&Help"));
    m_helpMenu->addAction(m_helpContentsAction);
    m_helpMenu->addSeparator();
    QMenu *web = m_helpMenu->addMenu(QAEdition::productName() + tr(" on the Web"));
    web->setObjectName(QStringLiteral("web menu"));
    web->addAction(m_orbkWebAction);
    web->addAction(m_vmrWebAction);
    web->addAction(m_supportWebAction);
    web->addAction(m_homeWebAction);
    m_helpMenu->addSeparator();
    m_helpMenu->addAction(m_helpAboutAction);
}

void QAMainWindowEditor::createStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->clearMessage();
    m_readyLabel = new QLabel(tr("Ready"), bar);
    m_readyLabel->setObjectName(QStringLiteral("ready label"));
    bar->addWidget(m_readyLabel, 1);
    connect(m_editor->docBrowser(), &QAVmrDocBrowser::statusMsg, bar, &QStatusBar::showMessage);
    connect(m_editor->tree(), &QAVmrEditorTree::statusMsg, bar, &QStatusBar::showMessage);
    connect(QAXmlCharacters::notifier(), &QAXmlCharacters::leftOut, bar,
            [bar](const QString &message) { bar->showMessage(message, kNoticeMs); });
}

void QAMainWindowEditor::writeWindowSettings()
{
    QSettings settings(QStringLiteral("Quintar Software"), QStringLiteral("vmreditor"));
    QSettings *store = &settings;
    store->setValue(QLatin1String(kWidth), width());
    store->setValue(QLatin1String(kHeight), height());
    store->setValue(QLatin1String(kDocArea), m_editor->docAreaSize());
    store->setValue(QLatin1String(kEditionArea), m_editor->editionAreaSize());
}

void QAMainWindowEditor::refreshCaption()
{
    const QString name = QFileInfo(m_document->path()).fileName();
    const QString title = QAEdition::applicationTitle();
    if (name.isEmpty()) {
        setWindowTitle(title);
        return;
    }
    // "[*]" is where the window shows that the document has changes.
    if (m_document->isReadOnly() && name != QLatin1String("document.xvm"))
        setWindowTitle(name + QStringLiteral("[*] (") + tr("Read only") + QStringLiteral(")")
                       + QStringLiteral(" - ") + title);
    else
        setWindowTitle(name + QStringLiteral("[*] - ") + title);
    setWindowModified(m_editor->isModified());
}

void QAMainWindowEditor::followHistory()
{
    QUndoStack *history = m_editor->edits()->history();
    const auto follow = [](QAction *action, const QString &command, const QString &step,
                           const QString &plain, const QString &tip) {
        action->setText(step.isEmpty() ? command : command + QLatin1Char(' ') + step);
        action->setToolTip(step.isEmpty() ? tip : plain + QLatin1Char(' ') + step);
        action->setStatusTip(action->toolTip());
    };
    const auto undoText = [this, follow](const QString &step) {
        follow(m_editUndoAction, tr("&Undo"), step, tr("Undo"), tr("Undo previous command"));
    };
    const auto redoText = [this, follow](const QString &step) {
        follow(m_editRedoAction, tr("&Redo"), step, tr("Redo"),
               tr("Redo previous undo command"));
    };
    connect(history, &QUndoStack::undoTextChanged, this, undoText);
    connect(history, &QUndoStack::redoTextChanged, this, redoText);
    connect(history, &QUndoStack::canUndoChanged, m_editUndoAction, &QAction::setEnabled);
    connect(history, &QUndoStack::canRedoChanged, m_editRedoAction, &QAction::setEnabled);
    connect(m_editor->edits(), &QAVmrDocumentEdits::modifiedChanged, this,
            &QWidget::setWindowModified);
    m_editUndoAction->setEnabled(false);
    m_editRedoAction->setEnabled(false);
    // Undo and Redo are the document's wherever the focus is: a text field of the window
    // must not keep them for an undo of its own.
    qApp->installEventFilter(this);
}

bool QAMainWindowEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto *key = static_cast<QKeyEvent *>(event);
        auto *widget = qobject_cast<QWidget *>(watched);
        const bool history = key->matches(QKeySequence::Undo) || key->matches(QKeySequence::Redo)
            || m_editRedoAction->shortcuts().contains(QKeySequence(key->keyCombination()));
        if (history && widget && widget->window() == this && !m_findBox->isAncestorOf(widget)) {
            event->ignore();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

// Yes saves (and generates) and ends the command, No goes on, Cancel ends the command.
bool QAMainWindowEditor::askToKeepChanges()
{
    if (!m_editor->isModified())
        return true;
    switch (askSaveChanges(this, m_document->path())) {
    case QMessageBox::Yes:
        fileSave();
        return false;
    case QMessageBox::No:
        m_document->discardRecovery();
        return true;
    default:
        return false;
    }
}

void QAMainWindowEditor::fileNew()
{
    if (!askToKeepChanges())
        return;
    QANewVmrDlg dialog(this, "New VMR Dialog");
    if (!dialog.exec())
        return;
    m_document->load(m_document->xmlDirectory() + QDir::separator() + dialog.templateName(),
                     true);
}

void QAMainWindowEditor::fileOpen()
{
    if (!askToKeepChanges())
        return;
    const QString path = QAPortDocument::askPath(this, QAPortDocument::PathDialog::OpenFile, "FSB",
                                                 tr("Open"), m_document->xmlDirectory(),
                                                 QAPortDocument::fileFilters());
    if (!path.isEmpty())
        m_document->load(path, false);
}

void QAMainWindowEditor::fileSave()
{
    if (!m_document->isOpen())
        return;
    if (m_document->isReadOnly()) {
        fileSaveAs();
        // A cancelled or failed Save As ends the command: nothing to generate from.
        if (!m_document->lastSaveOk())
            return;
        fileGenerateAs();
        return;
    }
    const QString path = m_document->path();
    if (path.isEmpty() || !m_document->save(path))
        return;
    const QString target = m_document->root().attribute(QStringLiteral("generate_in"));
    if (!target.isEmpty())
        m_document->setTargetDirectory(target);
    runGenerationScript(path, m_document->targetDirectory());
}

void QAMainWindowEditor::fileSaveAs(const QString &start)
{
    m_document->saveAs(start);
}

void QAMainWindowEditor::setDocumentActionsEnabled(bool enabled)
{
    for (QAction *action :
         {m_fileSaveAction, m_fileSaveAsAction, m_fileGenerateAsAction, m_fileExportAsAction}) {
        if (action)
            action->setEnabled(enabled);
    }
}

void QAMainWindowEditor::fileExit()
{
    close();
}

namespace {

// The text field that an Edit command acts on: a text edit or a line edit with the
// focus, including the line edit of an editable combo box such as the find box.
template<typename Operation>
void onFocusedText(QWidget *focus, Operation operation)
{
    if (!focus)
        return;
    if (auto *combo = qobject_cast<QComboBox *>(focus)) {
        if (combo->lineEdit())
            focus = combo->lineEdit();
    }
    if (auto *text = qobject_cast<QTextEdit *>(focus))
        operation(text);
    if (auto *plain = qobject_cast<QPlainTextEdit *>(focus))
        operation(plain);
    if (auto *line = qobject_cast<QLineEdit *>(focus))
        operation(line);
}

} // namespace

void QAMainWindowEditor::editUndo()
{
    // An edit still open in a cell or a name is part of the history first.
    m_editor->commitPendingEdit();
    m_editor->edits()->undo();
}

void QAMainWindowEditor::editRedo()
{
    m_editor->edits()->redo();
}

void QAMainWindowEditor::editCut()
{
    onFocusedText(focusWidget(), [](auto *field) { field->cut(); });
}

void QAMainWindowEditor::editCopy()
{
    onFocusedText(focusWidget(), [](auto *field) { field->copy(); });
}

void QAMainWindowEditor::editPaste()
{
    onFocusedText(focusWidget(), [](auto *field) { field->paste(); });
}

void QAMainWindowEditor::editSelectAll()
{
    onFocusedText(focusWidget(), [](auto *field) { field->selectAll(); });
}

void QAMainWindowEditor::editDelete()
{
    // A node is deleted only from the tree; in a text field the key deletes characters.
    QWidget *focus = focusWidget();
    if (focus && (focus == m_editor->tree() || m_editor->tree()->isAncestorOf(focus))) {
        if (!m_editor->tree()->isEditing(m_editor->tree()->currentItem()))
            m_editor->tree()->deleteSelectedNode();
        return;
    }
    onFocusedText(focus, [](auto *field) {
        if constexpr (std::is_same_v<decltype(field), QLineEdit *>) {
            field->del();
        } else if (!field->isReadOnly()) {
            QTextCursor cursor = field->textCursor();
            cursor.deleteChar();
            field->setTextCursor(cursor);
        }
    });
}

void QAMainWindowEditor::findByString()
{
    if (findNextInPort(true))
        return;
    QAFindRequest request;
    request.pattern = m_findBox->currentText();
    request.caseSensitive = false;
    request.wildcard = false;
    emit search(request);
}

void QAMainWindowEditor::openPreferences()
{
    preferencesDialog()->show();
}

QAvmrPrefDialog *QAMainWindowEditor::preferencesDialog()
{
    if (!m_prefDialog) {
        m_prefDialog = new QAvmrPrefDialog(this, "Preferences", true, {});
        m_prefDialog->setBrowserList(m_prefBrowsers);
        m_prefDialog->setBrowserIndex(m_prefBrowserIndex);
        m_prefDialog->setHelpUrl(m_prefHelpUrl);
        m_prefDialog->setLocalServer(m_prefLocalServer);
        connect(m_prefDialog, &QAvmrPrefDialog::updated, this,
                &QAMainWindowEditor::getPreferences);
    }
    return m_prefDialog;
}

void QAMainWindowEditor::loadPreferences()
{
    QSettings settings(QStringLiteral("Quintar Software"), QStringLiteral("vmreditor"));
    QSettings *store = &settings;
    QAHelp *help = m_editor->help();
    store->beginGroup(QLatin1String(kPreferenceGroup));
    const int index = store->value(QStringLiteral("HelpBrowserItem"), 0).toInt();
    const QStringList list = store->value(QStringLiteral("HelpBrowserlist")).toStringList();

    QString command = help->getCommand();
    if (command.isEmpty())
        command = m_help.getDefaultCommand();
    if (!list.contains(command)) {
        // A stored list without the current command is not offered.
        m_prefBrowsers = QStringList{command};
        m_prefBrowserIndex = 0;
    } else {
        m_prefBrowsers = list;
        // A stale index from the settings leaves the first entry chosen.
        m_prefBrowserIndex = index >= 0 && index < list.size() ? index : 0;
    }
    help->setCommand(m_prefBrowsers.at(m_prefBrowserIndex));

    const QString url =
        store->value(QStringLiteral("HelpUrl"), help->getDefaultHelpURL()).toString();
    const bool localServer =
        store->value(QStringLiteral("LocalServer"), help->getDefaultStartLocalServer()).toBool();
    store->endGroup();

    m_prefHelpUrl = url;
    m_prefLocalServer = localServer;
    help->setHelpURL(url);
    help->setStartLocalServer(localServer);
    // The user guide opens in the browser the user chose, like the web pages.
    m_help.setCommand(help->getCommand());
}

void QAMainWindowEditor::getPreferences()
{
    QAHelp *help = m_editor->help();
    help->setCommand(m_prefDialog->browserCommand());
    help->setHelpURL(m_prefDialog->helpUrl());
    help->setStartLocalServer(m_prefDialog->startsLocalServer());
    m_help.setCommand(help->getCommand());

    QSettings settings(QStringLiteral("Quintar Software"), QStringLiteral("vmreditor"));
    QSettings *store = &settings;
    store->beginGroup(QLatin1String(kPreferenceGroup));
    store->setValue(QStringLiteral("HelpBrowserItem"), m_prefDialog->browserIndex());
    store->setValue(QStringLiteral("HelpBrowserlist"), m_prefDialog->browserList());
    store->setValue(QStringLiteral("HelpUrl"), m_prefDialog->helpUrl());
    store->setValue(QStringLiteral("LocalServer"), m_prefDialog->startsLocalServer());
    store->endGroup();
}

void QAMainWindowEditor::helpContents()
{
    m_help.showHelp(QString(), QStringLiteral("doc_vmreditor"));
}

void QAMainWindowEditor::initializeWeb()
{
    const QString helpDir = QAInstall::helpDir(m_programPath);
    if (!QFileInfo(helpDir).isDir()) {
        QMessageBox::critical(
            this, QAEdition::applicationTitle(),
            tr("Impossible to find the directory doc in the install directory."));
        return;
    }
    const QString path = helpDir + QDir::separator() + QStringLiteral("orbk_web.properties");
    if (!QFileInfo(path).isFile()) {
        QMessageBox::critical(
            this, QAEdition::applicationTitle(),
            tr("Impossible to find the file orbk_web.properties in the install directory."));
        return;
    }
    const std::unique_ptr<QARes> properties = QARes::read(path.toLocal8Bit().constData(), false);
    if (!properties)
        return;
    const QARes *url = properties->search("url", '.');
    if (!url || !url->toResGroup())
        return;
    const std::pair<const char *, QString *> keys[] = {
        {"url.home", &m_homeUrl},
        {"url.support", &m_supportUrl},
        {"url.orbisk", &m_orbkUrl},
        {"url.targetpackage", &m_vmrUrl},
    };
    for (const auto &key : keys) {
        const QARes *entry = properties->search(key.first, '.');
        if (entry && entry->toResString())
            *key.second = entry->toResString()->value();
    }
}

void QAMainWindowEditor::homeweb()
{
    m_editor->help()->switchToBrevikWeb(QUrl(m_homeUrl));
}

void QAMainWindowEditor::supportweb()
{
    m_editor->help()->switchToBrevikWeb(QUrl(m_supportUrl));
}

void QAMainWindowEditor::orbkweb()
{
    m_editor->help()->switchToBrevikWeb(QUrl(m_orbkUrl));
}

void QAMainWindowEditor::vmrweb()
{
    m_editor->help()->switchToBrevikWeb(QUrl(m_vmrUrl));
}

void QAMainWindowEditor::helpAbout()
{
    QAVmrAboutDialog dialog(m_programPath, this);
    dialog.exec();
}

void QAMainWindowEditor::closeEvent(QCloseEvent *event)
{
    if (m_editor->isModified()) {
        switch (askSaveChanges(this, m_document->path())) {
        case QMessageBox::Yes:
            fileSave();
            // A save that did not happen (refused, cancelled, failed) keeps the
            // window and the document, rather than losing the changes.
            if (!m_document->lastSaveOk()) {
                event->ignore();
                return;
            }
            break;
        case QMessageBox::No:
            m_document->discardRecovery();
            break;
        default:
            event->ignore();
            return;
        }
    }
    // A generation or export still writing the port must not be cut off half-way.
    waitForScriptBeforeClosing();

    QMainWindow::closeEvent(event);
}
