#pragma once

#include "support/qafindrequest.h"
#include "support/qahelp.h"

#include <QDomElement>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <memory>
#include <vector>

class QAction;
class QAFindPane;
class QAPortDocument;
class QAProblemsPane;
class QAScriptRunner;
class QAVMRVersion;
class QAVmrEditor;
class QAvmrPrefDialog;
class QComboBox;
class QDockWidget;
class QFrame;
class QIODevice;
class QLabel;
class QMenu;
class QSettings;
class QToolBar;

/**
 * The editor's single top-level window: menus, tool bars, the find bar, the status bar
 * and the central editor widget. Its commands open, save and generate the port
 * description that its document (QAPortDocument) holds, and undo its edits.
 */
class QAMainWindowEditor : public QMainWindow
{
    Q_OBJECT

public:
    QAMainWindowEditor(int argc, char **argv, QWidget *parent = nullptr);
    ~QAMainWindowEditor() override;

    void refreshCaption();

    // Read access for the tests and the benchmarks.
    QAVmrEditor *editor() const { return m_editor; }
    QAPortDocument *document() const { return m_document; }
    QAVMRVersion *versionChecker() const { return m_version; }
    QAScriptRunner *scriptRun() const { return m_scriptRun; }
    QString errorText() const { return m_errorText; }
    QAHelp *help() { return &m_help; }
    /** The preferences dialog, built on first use with the preferences read at start. */
    QAvmrPrefDialog *preferencesDialog();
    QComboBox *findBox() const { return m_findBox; }
    QAFindPane *findPane() const { return m_findPane; }
    QAProblemsPane *problemsPane() const { return m_problemsPane; }
    QStringList webAddresses() const { return {m_homeUrl, m_supportUrl, m_orbkUrl, m_vmrUrl}; }

signals:
    void search(const QAFindRequest &request);

public slots:
    virtual void fileNew();
    virtual void fileOpen();
    virtual void fileSave();
    virtual void fileExportAs();
    virtual void fileSaveAs(const QString &start = QString());
    virtual void fileGenerateAs();
    virtual void fileExit();
    virtual void editUndo();
    virtual void editRedo();
    virtual void editCut();
    virtual void editCopy();
    virtual void editPaste();
    void editDelete();
    void findByString();
    void openPreferences();
    void getPreferences();
    virtual void editSelectAll();
    virtual void helpContents();
    void initializeWeb();
    void orbkweb();
    void vmrweb();
    void supportweb();
    void homeweb();
    virtual void helpAbout();

protected:
    void closeEvent(QCloseEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void vmrFilesGenerated();
    void vmrFileExported();

private:
    // Construction (qamainwindoweditor.cpp).
    void createActions();
    void createMenus();
    void createToolBars();
    void createStatusBar();
    void loadPreferences();
    /** Undo and Redo, their texts and the title's change marker follow the history. */
    void followHistory();
    bool askToKeepChanges();
    void writeWindowSettings();

    // Window size and place on a desktop (qamainwindoweditor_desktop.cpp).
    /** Three quarters of the screen's free area, at least 1024 x 700 where it fits. */
    QSize firstStartSize() const;
    void centreOnScreen();

    // Find in the port and its problems (qamainwindoweditor_find.cpp).
    void createFindAndChecks();
    /** Shows the search of the whole port with the cursor in its text. */
    void findInPort();
    /** F3 and Shift+F3 walk the port's hits while it shows some; false: not here. */
    bool findNextInPort(bool forward);
    /** Checks the port before it is generated; false when generation must not go on. */
    bool portReadyToGenerate();
    /** Checks the port before it is exported and shows what is wrong; never refuses. */
    void checkBeforeExport();

    /** The commands that need a document follow whether one is open. */
    void setDocumentActionsEnabled(bool enabled);

    // Documents opened last and dropped (qamainwindoweditor_files.cpp).
    void createRecentMenu();
    void fillRecentMenu();
    /** Opens path in place of the document, once the user has kept or given up its changes. */
    void openDocument(const QString &path);

    // Scripts (qamainwindoweditor_scripts.cpp).
    /** True, with a status message, while a generation or export still runs. */
    bool refuseWhileScriptRuns();
    void runGenerationScript(const QString &document, const QString &targetDir);
    void runExportScript(const QString &document, const QString &output);
    bool startScript(const QString &script, const QStringList &arguments,
                     void (QAMainWindowEditor::*completion)(), const QString &startFailure);
    void finishScript(const QString &success, const QString &failure, bool refresh);
    /**
     * Waits for a running generation or export before the window closes, in a dialog that
     * names the script and can stop it.
     */
    void waitForScriptBeforeClosing();

    QString m_programPath;
    QString m_commandLineFile;
    QString m_installTargetDir;
    QString m_errorText;

    QMenuBar *m_menuBar = nullptr;
    QMenu *m_fileMenu = nullptr;
    QMenu *m_recentMenu = nullptr;
    QMenu *m_editMenu = nullptr;
    QMenu *m_helpMenu = nullptr;
    QToolBar *m_toolBar = nullptr;
    QToolBar *m_findBar = nullptr;

    QAction *m_fileNewAction = nullptr;
    QAction *m_fileOpenAction = nullptr;
    QAction *m_fileSaveAction = nullptr;
    QAction *m_fileSaveAsAction = nullptr;
    QAction *m_fileGenerateAsAction = nullptr;
    QAction *m_fileExportAsAction = nullptr;
    QAction *m_fileExitAction = nullptr;
    QAction *m_editUndoAction = nullptr;
    QAction *m_editRedoAction = nullptr;
    QAction *m_editCutAction = nullptr;
    QAction *m_editCopyAction = nullptr;
    QAction *m_editPasteAction = nullptr;
    QAction *m_editDeleteAction = nullptr;
    QAction *m_editFindAction = nullptr;
    QAction *m_editPrefAction = nullptr;
    QAction *m_editSelectAllAction = nullptr;
    QAction *m_helpContentsAction = nullptr;
    QAction *m_orbkWebAction = nullptr;
    QAction *m_vmrWebAction = nullptr;
    QAction *m_supportWebAction = nullptr;
    QAction *m_homeWebAction = nullptr;
    QAction *m_helpAboutAction = nullptr;

    QFrame *m_centralBox = nullptr;
    QAVmrEditor *m_editor = nullptr;
    QAPortDocument *m_document = nullptr;
    QComboBox *m_findBox = nullptr;
    QLabel *m_readyLabel = nullptr;
    QAvmrPrefDialog *m_prefDialog = nullptr;
    // What the preferences dialog starts with once it is built.
    QStringList m_prefBrowsers;
    int m_prefBrowserIndex = 0;
    QString m_prefHelpUrl;
    bool m_prefLocalServer = false;
    QAVMRVersion *m_version = nullptr;
    QString m_homeUrl;
    QString m_supportUrl;
    QString m_orbkUrl;
    QString m_vmrUrl;
    QAHelp m_help;
    QAScriptRunner *m_scriptRun = nullptr;

    QAFindPane *m_findPane = nullptr;
    QAProblemsPane *m_problemsPane = nullptr;
    QDockWidget *m_findDock = nullptr;
    QDockWidget *m_problemsDock = nullptr;
    QAction *m_editFindInPortAction = nullptr;
    QAction *m_editFindPreviousAction = nullptr;
    QAction *m_viewProblemsAction = nullptr;
    QLabel *m_problemsLabel = nullptr;
    // The warnings the user last chose to generate with: asked again only when they change.
    QString m_acceptedWarnings;
};
