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

    explicit QAVMRVersion(const QString &programPath);
    ~QAVMRVersion() override;

    /** 0 unknown, 1 older, 2 current, 3 newer. */
    int checkVersion(const QString &version);
    /**
     * Rewrites the document in place up to the current version. True only when the
     * script ran and succeeded; a failure has already been shown in the error dialog.
     */
    bool updateDocument(const QString &path, const QString &fromVersion);

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
    void getVersionList();
    QAScriptRunner *newRun();
    static void showError(const QString &message);

    QStringList m_versionList;
    QAScriptRunner *m_process = nullptr;
    QString m_programPath;
    QString m_scriptMessage;
};
