#pragma once

#include <QObject>
#include <QProcess>
#include <QStringList>

/**
 * Runs one Perl script of the installation: the Perl command, the script's path in the
 * scripts directory, then the script's arguments, as an argument list (never a shell).
 * Standard output and standard error are read line by line; the last line of standard
 * error is kept as the reason of a failure.
 */
class QAScriptRunner : public QObject
{
    Q_OBJECT

public:
    explicit QAScriptRunner(const QString &programPath, QObject *parent = nullptr);
    ~QAScriptRunner() override;

    /** The whole command line: Perl words, script path, arguments. */
    QStringList commandLine(const QString &script, const QStringList &arguments) const;
    /** The script's path in the installation. */
    QString scriptPath(const QString &script) const;

    void setWorkingDirectory(const QString &dir) { m_workingDirectory = dir; }
    /** Starts the script; false when it could not be started (nothing then runs). */
    bool start(const QString &script, const QStringList &arguments);
    bool isRunning() const;
    /** Waits at most msecs; stops the script and reports a failure when it runs longer. */
    bool waitForFinished(int msecs);
    void kill();
    /**
     * Asks the script to stop, as a terminal's interrupt would: it may end its work
     * cleanly (a generation keeps the previous port). Killed if it is still running after
     * graceMs.
     */
    void stop(int graceMs = 5000);

    QString script() const { return m_script; }
    QStringList lastCommandLine() const { return m_commandLine; }
    QStringList outputLines() const { return m_outputLines; }
    QString lastErrorLine() const { return m_lastErrorLine; }
    int exitCode() const { return m_exitCode; }
    bool crashed() const { return m_crashed; }
    bool timedOut() const { return m_timedOut; }
    /** A one-line reason for a failed run, for a message box or the error dialog. */
    QString failureText() const;

signals:
    void outputLine(const QString &line);
    void errorLine(const QString &line);
    void finished(int exitCode, bool crashed);

private:
    void readOutput();
    void readError();
    void processFinished(int exitCode, QProcess::ExitStatus status);

    QString m_programPath;
    QString m_workingDirectory;
    QString m_script;
    QStringList m_commandLine;
    QProcess *m_process = nullptr;
    QStringList m_outputLines;
    QString m_lastErrorLine;
    QByteArray m_errorTail;
    int m_exitCode = 0;
    bool m_crashed = false;
    bool m_timedOut = false;
};
