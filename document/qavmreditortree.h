#pragma once

#include <QDomElement>
#include <QPointer>
#include <QTreeWidget>

class QAScriptRunner;
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

    bool modified = false;

    void setApplicationPath(const QString &path) { m_applicationPath = path; }
    QString applicationPath() const { return m_applicationPath; }
    /** Deletes every node and clears the modified flag. */
    void clearTree();
    /** The encoding run of the binary-file command, while one is in progress. */
    QAScriptRunner *encodingRun() const;

public slots:
    void deleteSelectedNode();
    void startEdit();
    void appendAsciiFile();
    void appendBinaryFile();
    void addChildAsciiFile();
    void addChildBinaryFile();

signals:
    void statusMsg(const QString &text, int msecs);

private:
    void encodingTerminated(int exitCode, bool crashed);
    void startBinaryFileEncoding();
    void addAsciiFileAfter(QTreeWidgetItem *item);
    void addBinaryFileAfter(QTreeWidgetItem *item);
    QDomElement parseEncodedFile();

    QString m_applicationPath;
    QString m_binaryFilePath;
    QString m_scriptErrorText;
    QTreeWidgetItem *m_targetItem = nullptr;
    QAScriptRunner *m_process = nullptr;
    QPointer<QAVmrWaitDlg> m_waitDialog;
    QTemporaryDir *m_workDir = nullptr;
    QWidget *m_messageParent = nullptr;
};
