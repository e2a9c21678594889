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
    explicit QAVMRVersion(const QString &programPath);
    ~QAVMRVersion() override;

    /** 0 unknown, 1 older, 2 current, 3 newer. */
    int checkVersion(const QString &version);
    /** Runs the update; true only when the script ran and succeeded. */
    bool updateDocument(const QString &path, const QString &fromVersion);

    QStringList versionList() const { return m_versionList; }
    static QString documentVersion() { return QStringLiteral("V2009"); }
    /** How long an update may run before it is stopped and reported as failed. */
    static void setUpdateTimeout(int msecs);

private:
    void getVersionList();

    QStringList m_versionList;
    QAScriptRunner *m_process = nullptr;
    QString m_programPath;
    QString m_scriptMessage;
};
