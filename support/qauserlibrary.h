#pragma once

#include <QString>
#include <QStringList>

class QWidget;

/** Receives the problems that a support operation meets, one message at a time. */
class QAILogMonitor
{
public:
    virtual ~QAILogMonitor();
    virtual void log(const QString &message) = 0;
};

/** A log monitor that shows every reported problem in a warning box under its title. */
class QALogMessageBox : public QAILogMonitor
{
public:
    explicit QALogMessageBox(const QString &title, QWidget *parent = nullptr);
    void log(const QString &message) override;
    QStringList messages() const { return m_messages; }
    /** Tests and batch runs collect the messages without showing boxes. */
    static void setQuiet(bool quiet);

private:
    QString m_title;
    QWidget *m_parent = nullptr;
    QStringList m_messages;
};

/**
 * Installs the user's own copy of the library files: the ports directory under the
 * user's application data, seeded with the installation's templates, so that ports
 * are generated where the user can write.
 */
class QAUserLibrary
{
public:
    /** The user's ports directory: application data + "/targets". */
    static QString userTargetDir();
    static bool checkAndInstall(const QString &title, QAILogMonitor *monitor);
};
