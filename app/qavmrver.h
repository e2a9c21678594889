#pragma once

#include <QObject>
#include <QStringList>

class QAScriptRunner;

/**
 * Knows the format versions through the version script: lists them once at start-up,
 * classifies a document's version against the list and updates an older document.
 */
class QAVMRVersion : public QObject
{
    Q_OBJECT

public:
    /** The result of checkVersion. */
    enum Classification { Unknown = 0, Older = 1, Current = 2, Newer = 3 };

    /** How the constructor asks for the version list. */
    enum ListRequest {
        WaitForList,     // waits for the answer before returning
        ListInBackground // returns at once; waitForVersionList() gets the answer
    };

    explicit QAVMRVersion(const QString &programPath, ListRequest request = WaitForList);
    ~QAVMRVersion() override;

    /**
     * Waits for the list that the constructor asked for, in a nested event loop, and
     * reports a failure; does nothing once the list is in. Start-up asks early and waits
     * here, so that the script starts while the window is being built.
     */
    void waitForVersionList();

    /** 0 unknown, 1 older, 2 current, 3 newer. */
    int checkVersion(const QString &version);
    /**
     * Rewrites the document in place up to the current version. True only when the
     * script ran and succeeded; a failure has already been shown in the error dialog.
     */
    bool updateDocument(const QString &path, const QString &fromVersion);

    /** The versions, oldest first; complete once waitForVersionList() has returned. */
    QStringList versionList() const { return m_versionList; }
    /** The last line the last run wrote, or why it failed. */
    QString scriptMessage() const { return m_scriptMessage; }
    static QString documentVersion() { return QStringLiteral("V2009"); }
    /**
     * How long a run of the version script may take (the list at start-up, an update)
     * before it is stopped and reported as failed.
     */
    static void setUpdateTimeout(int msecs);
    static int updateTimeout();

private:
    void startVersionList();
    QAScriptRunner *newRun();
    void showError(const QString &message);
    /** The window that the checker belongs to, for its messages to stand over. */
    QWidget *dialogParent() const;

    QStringList m_versionList;
    QAScriptRunner *m_process = nullptr;
    QString m_programPath;
    QString m_scriptMessage;
    bool m_listPending = false; // asked for, not yet waited for
    bool m_listEnded = false;   // the list request has finished
    QString m_listStartFailure;
};
