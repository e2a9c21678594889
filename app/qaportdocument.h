#pragma once

#include <QDomElement>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <memory>
#include <vector>

class QAVMRVersion;
class QAVmrEditor;
class QIODevice;
class QTemporaryFile;
class QWidget;

/**
 * The port description being edited: which file it is, reading it (with the check and
 * update of its format version), writing it, and the ports already generated into its
 * target directory. The window asks it to open and save; it asks the user what only the
 * user can tell, in message boxes over the window.
 */
class QAPortDocument : public QObject
{
    Q_OBJECT

public:
    /** A port found in the target directory: its sub-directory and its port name. */
    struct QVmrId
    {
        QString dirName;
        QString portName;
    };
    enum class PathDialog { OpenFile, SaveFile, ExportFile, Directory };

    QAPortDocument(QAVmrEditor *editor, QAVMRVersion *version, const QString &programPath,
                   QWidget *window);
    ~QAPortDocument() override;

    /** Opens the file; isNew: a template, which becomes "document.xvm" of the user. */
    bool load(const QString &path, bool isNew);
    /** Writes the document into path; false, with the reason shown, when it did not. */
    bool save(const QString &path);
    /** Asks where to save, starting at start, and saves there. */
    void saveAs(const QString &start = QString());
    void replaceExistingFile(const QString &path);
    void scanTargetDirectory(const QString &dir);
    /** Whether no other port of the target directory has root's name; documentPath: the
     *  file the port is saved into (default: the open one). */
    bool checkPortNameClash(const QDomElement &root, const QString &documentPath = QString());
    QVmrId *findPortEntry(const QString &dirName, const QString &portName);

    QString path() const { return m_currentPath; }
    QDomElement root() const { return m_root; }
    bool isOpen() const { return !m_root.isNull(); }
    bool isReadOnly() const;
    QString targetDirectory() const { return m_targetDir; }
    void setTargetDirectory(const QString &dir) { m_targetDir = dir; }
    QString xmlDirectory() const { return m_xmlDir; }
    /** Whether the last save command really wrote the document. */
    bool lastSaveOk() const { return m_lastSaveOk; }
    const std::vector<std::unique_ptr<QVmrId>> &portList() const { return m_portList; }
    QVmrId *currentPortEntry() const { return m_currentPortEntry; }
    /** Forgets the unsaved work kept aside for a crash: the user gave it up. */
    void discardRecovery();
    /**
     * At start: offers the work kept for a new port that was never saved, as a new
     * document with those changes; true when it was taken up.
     */
    bool recoverNewDocument();
    /** Keeps the unsaved work aside now (the autosave does it a few seconds after typing). */
    bool writeRecovery();

    /** The documents opened or saved last, most recent first, as absolute paths. */
    static QStringList recentFiles();
    static void forgetRecentFiles();
    /** The file filters of the open and save dialogs. */
    static QString fileFilters();
    /** The port directory a document's port is generated into: its file name less ".xvm". */
    static QString portDirName(const QString &documentPath);

    /** "C++ " or "Ada " after the root's type, then the root's "Name". */
    static QString portName(const QDomElement &root);
    /**
     * Writes the saved form of a document onto device: the document type VMR with the
     * system identifier "vmr.dtd", then root. False when the device refused a write or
     * the document holds what no XML file can hold; error then says which.
     */
    static bool writeDocument(QIODevice *device, const QDomElement &root,
                              QString *error = nullptr);
    /** Asks for a path in a dialog of the kind given, over parent; empty when cancelled. */
    static QString askPath(QWidget *parent, PathDialog kind, const char *objectName,
                           const QString &caption, const QString &start,
                           const QString &filter);

signals:
    /** The file, its name or its read-only state changed; so may the window's caption. */
    void fileChanged();
    /** The document was written into path. */
    void saved(const QString &path);
    /** A line for the status bar, shown for ms milliseconds (0: until replaced). */
    void status(const QString &text, int ms);

private:
    QString defaultTargetDir() const;
    /** Asks whether to take up work kept aside for path; if so, writes it into file. */
    bool takeUpRecovery(const QString &path, QTemporaryFile *file);
    /** Writes kept work into a temporary file to load; says why when it cannot. */
    bool recoveredToFile(const QByteArray &content, QTemporaryFile *file);
    /** Asks whether to recover kept work: true for Recover, false for Discard. */
    bool askToRecover(const QString &question);
    void scheduleRecovery();
    void loadFailed(const QString &path, const QString &reason);
    /** The port directory that the open document stands for: its file name less ".xvm". */
    QString openDocumentDirName() const;
    /** Records path as the document opened or saved last. */
    static void remember(const QString &path);

    QWidget *m_window;
    QAVmrEditor *m_editor;
    QAVMRVersion *m_version;
    QString m_programPath;
    QString m_installTargetDir;
    QString m_targetDir;
    QString m_xmlDir;
    QString m_currentPath;
    QString m_chosenPath;
    QDomElement m_root;
    bool m_lastSaveOk = false;
    std::vector<std::unique_ptr<QVmrId>> m_portList;
    QVmrId *m_currentPortEntry = nullptr;
    // The autosave runs when typing has paused, and at the latest a while after the
    // first change it has not kept yet.
    QTimer m_recoveryPause;
    QTimer m_recoveryLimit;
    QString m_recoveryPath;
    bool m_loading = false;
};
