#include "support/qascriptrunner.h"

#include "support/qainstall.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>

QAScriptRunner::QAScriptRunner(const QString &programPath, QObject *parent)
    : QObject(parent)
    , m_programPath(programPath)
{
}

QAScriptRunner::~QAScriptRunner()
{
    if (m_process) {
        m_process->disconnect(this);
        if (m_process->state() != QProcess::NotRunning) {
            m_process->kill();
            m_process->waitForFinished(3000);
        }
    }
}

QString QAScriptRunner::scriptPath(const QString &script) const
{
    return QAInstall::scriptsDir(m_programPath) + QDir::separator() + script;
}

QStringList QAScriptRunner::commandLine(const QString &script, const QStringList &arguments) const
{
    return QAInstall::perlCommand(m_programPath) + QStringList{scriptPath(script)} + arguments;
}

bool QAScriptRunner::start(const QString &script, const QStringList &arguments)
{
    if (isRunning())
        return false;
    if (m_process) {
        // A new run may start from the previous run's finished signal: the old process
        // is still inside its own signal then, so it goes away later.
        m_process->disconnect(this);
        m_process->deleteLater();
        m_process = nullptr;
    }
    m_script = script;
    m_commandLine = commandLine(script, arguments);
    m_outputLines.clear();
    m_lastErrorLine.clear();
    m_errorTail.clear();
    m_exitCode = 0;
    m_crashed = false;
    m_timedOut = false;

    // Perl would start and then fail on a missing script; say at once that the command
    // cannot run, as for a missing interpreter.
    if (!QFileInfo(scriptPath(script)).isFile())
        return false;

    m_process = new QProcess(this);
    m_process->setProgram(m_commandLine.first());
    m_process->setArguments(m_commandLine.mid(1));
    if (!m_workingDirectory.isEmpty())
        m_process->setWorkingDirectory(m_workingDirectory);
    connect(m_process, &QProcess::readyReadStandardOutput, this, &QAScriptRunner::readOutput);
    connect(m_process, &QProcess::readyReadStandardError, this, &QAScriptRunner::readError);
    connect(m_process, &QProcess::finished, this, &QAScriptRunner::processFinished);
    m_process->start();
    if (!m_process->waitForStarted(30000)) {
        m_process->disconnect(this);
        m_process->deleteLater();
        m_process = nullptr;
        return false;
    }
    return true;
}

bool QAScriptRunner::isRunning() const
{
    return m_process && m_process->state() != QProcess::NotRunning;
}

bool QAScriptRunner::waitForFinished(int msecs)
{
    if (!isRunning())
        return true;
    if (m_process->waitForFinished(msecs))
        return true;
    // A hanging script must not hold the editor forever: stop it and call it failed.
    m_timedOut = true;
    m_lastErrorLine = QCoreApplication::translate("QAScriptRunner",
                                                  "%1 did not finish in time and was stopped.")
                          .arg(m_script);
    m_process->kill();
    m_process->waitForFinished(5000);
    return false;
}

void QAScriptRunner::kill()
{
    if (isRunning())
        m_process->kill();
}

void QAScriptRunner::stop(int graceMs)
{
    if (!isRunning())
        return;
    m_process->terminate();
    QTimer::singleShot(graceMs, m_process, [process = m_process]() {
        if (process->state() != QProcess::NotRunning)
            process->kill();
    });
}

void QAScriptRunner::readOutput()
{
    m_process->setReadChannel(QProcess::StandardOutput);
    while (m_process->canReadLine()) {
        const QString line = QString::fromLocal8Bit(m_process->readLine()).trimmed();
        if (line.isEmpty())
            continue;
        m_outputLines.append(line);
        emit outputLine(line);
    }
}

void QAScriptRunner::readError()
{
    m_process->setReadChannel(QProcess::StandardError);
    while (m_process->canReadLine()) {
        const QString line = QString::fromLocal8Bit(m_process->readLine()).trimmed();
        if (line.isEmpty())
            continue;
        if (!m_timedOut)
            m_lastErrorLine = line;
        emit errorLine(line);
    }
}

void QAScriptRunner::processFinished(int exitCode, QProcess::ExitStatus status)
{
    // Lines without a final newline are complete once the process is gone.
    readOutput();
    readError();
    m_process->setReadChannel(QProcess::StandardOutput);
    const QString lastOut = QString::fromLocal8Bit(m_process->readAll()).trimmed();
    if (!lastOut.isEmpty()) {
        m_outputLines.append(lastOut);
        emit outputLine(lastOut);
    }
    m_process->setReadChannel(QProcess::StandardError);
    const QString lastErr = QString::fromLocal8Bit(m_process->readAll()).trimmed();
    // A script stopped for taking too long keeps that as its reason.
    if (!lastErr.isEmpty() && !m_timedOut) {
        m_lastErrorLine = lastErr.split(QLatin1Char('\n')).last().trimmed();
        emit errorLine(m_lastErrorLine);
    }
    m_crashed = status != QProcess::NormalExit || m_timedOut;
    m_exitCode = m_crashed ? -1 : exitCode;
    emit finished(m_exitCode, m_crashed);
}

QString QAScriptRunner::failureText() const
{
    if (m_crashed && !m_timedOut) {
        // Whatever the script last said, the user must learn that it did not end normally.
        const QString crash =
            QCoreApplication::translate("QAScriptRunner", "%1 crashed or was killed.")
                .arg(m_script);
        return m_lastErrorLine.isEmpty() ? crash : crash + QLatin1Char('\n') + m_lastErrorLine;
    }
    if (!m_lastErrorLine.isEmpty())
        return m_lastErrorLine;
    return QCoreApplication::translate("QAScriptRunner", "%1 ended with exit status %2.")
        .arg(m_script)
        .arg(m_exitCode);
}
