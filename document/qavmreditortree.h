#pragma once

#include <QDomElement>
#include <QPointer>
#include <QTreeWidget>

#include <memory>

class QAction;
class QABuildNode;
class QAScriptRunner;
class QMenu;
class QAVmrEditorNode;
class QAVmrWaitDlg;
class QTemporaryDir;

/**
 * The tree of the document. Besides showing the nodes it carries the commands of their
 * context menus: add ASCII and binary files to the build section, delete and rename
 * them. It keeps its own modified flag, which the editor widget folds in.
 */
class QAVmrEditorTree : public QTreeWidget
{
    Q_OBJECT

public:
    explicit QAVmrEditorTree(QWidget *parent = nullptr, const char *name = nullptr);
    ~QAVmrEditorTree() override;

    void setApplicationPath(const QString &path) { m_applicationPath = path; }
    QString applicationPath() const { return m_applicationPath; }
    /** Deletes every node and clears the modified flag; stops an encoding in progress. */
    void clearTree();
    /** The encoding run of the binary-file command, while one is in progress. */
    QAScriptRunner *encodingRun() const;
    /** The wait dialog shown while a binary file is encoded. */
    QAVmrWaitDlg *waitDialog() const;
    /** The file chosen for the last binary-file command. */
    QString binaryFilePath() const { return m_binaryFilePath; }
    /**
     * Accepts the in-place editor open on the item's column, if any: its text reaches the
     * item (and so the element) and the editor closes.
     */
    void commitOpenEditor(QTreeWidgetItem *item, int column);
    /** Whether an in-place editor is open on the item's column. */
    bool isEditing(QTreeWidgetItem *item, int column = 0) const;
    /**
     * Adds an entry to a node's context menu that runs command on this tree once the
     * menu has closed, never from inside the menu's own event handling.
     */
    QAction *addCommand(QMenu *menu, const QString &text, void (QAVmrEditorTree::*command)());

    /** Makes the nodes of a build section match its elements again. */
    void syncSection(QABuildNode *section);
    /**
     * Says why a file keeps its old name: on the status bar, and in a message once the
     * in-place editor has closed.
     */
    void refuseName(const QString &reason);

public slots:
    void deleteSelectedNode();
    void startEdit();
    void appendAsciiFile();
    void appendBinaryFile();
    void addChildAsciiFile();
    void addChildBinaryFile();

signals:
    void statusMsg(const QString &text, int msecs);
    /** Every node is about to be deleted: nothing may keep one any longer. */
    void aboutToClear();

private:
    void getStd(const QString &line);
    void encodingTerminated(int exitCode, bool crashed);
    void startBinaryFileEncoding();
    void addAsciiFileAfter(QTreeWidgetItem *item);
    bool addBinaryFileAfter(QTreeWidgetItem *section, const QString &workDir);
    /** The root element of the script's "tmp.txt"; parsed keeps its document alive. */
    QDomElement parseEncodedFile(const QString &workDir, QDomDocument &parsed);
    /** Appends the file element to the section, then selects its new node for renaming. */
    void appendFileNode(QTreeWidgetItem *section, const QDomElement &file);
    /** The build section that a command on item acts on: its own or its parent's. */
    static QTreeWidgetItem *buildSection(QTreeWidgetItem *item);
    bool refuseSecondEncoding();
    void closeWaitDialog();
    void stopEncoding();
    QString chooseBinaryFile();

    QString m_applicationPath;
    QString m_binaryFilePath;
    QString m_scriptErrorText;
    // The build section node that receives the binary file: a section outlives the
    // files around which the user may go on working while the script runs.
    QTreeWidgetItem *m_targetItem = nullptr;
    QAScriptRunner *m_process = nullptr;
    QPointer<QAVmrWaitDlg> m_waitDialog;
    // The script's private working directory, so that its "tmp.txt" never meets a file
    // of the user's own.
    std::unique_ptr<QTemporaryDir> m_workDir;
    QWidget *m_messageParent = nullptr;
};
