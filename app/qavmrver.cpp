#include "app/qavmrver.h"

#include "app/qavmrerrordialog.h"
#include "support/qaedition.h"
#include "support/qascriptrunner.h"

#include <QEventLoop>
#include <QMessageBox>
#include <QTimer>

namespace {

const char kScript[] = "vmrver.pl";

// Generous: an update rewrites one document, but a loaded machine may be slow.
int s_timeoutMs = 120000;

} // namespace

void QAVMRVersion::setUpdateTimeout(int msecs)
{
    s_timeoutMs = msecs > 0 ? msecs : 1;
}

int QAVMRVersion::updateTimeout()
{
    return s_timeoutMs;
}

QAVMRVersion::QAVMRVersion(const QString &programPath, ListRequest request)
    : m_programPath(programPath)
{
    startVersionList();
    if (request == WaitForList)
        waitForVersionList();
}

QAVMRVersion::~QAVMRVersion() = default;

QWidget *QAVMRVersion::dialogParent() const
{
    return qobject_cast<QWidget *>(parent());
}

void QAVMRVersion::showError(const QString &message)
{
    QAVmrErrorDialog dialog(message, dialogParent());
    dialog.exec();
}

QAScriptRunner *QAVMRVersion::newRun()
{
    // Only the last run is of interest; an earlier one has ended by now.
    delete m_process;
    m_process = new QAScriptRunner(m_programPath, this);
    return m_process;
}

void QAVMRVersion::startVersionList()
{
    m_versionList.clear();
    m_scriptMessage = QString();
    m_listPending = true;
    m_listEnded = false;

    QAScriptRunner *run = newRun();
    connect(run, &QAScriptRunner::outputLine, this, [this](const QString &line) {
        if (!line.trimmed().isEmpty())
            m_versionList.append(line.trimmed());
    });
    connect(run, &QAScriptRunner::errorLine, this,
            [this](const QString &line) { m_scriptMessage = line; });
    // Noted from the start: the script may end before anyone waits for it.
    connect(run, &QAScriptRunner::finished, this, [this]() { m_listEnded = true; });

    const QStringList arguments{QStringLiteral("-list")};
    if (!run->start(QLatin1String(kScript), arguments)) {
        const QString command = run->commandLine(QLatin1String(kScript), arguments)
                                    .join(QLatin1Char(' '));
        delete m_process;
        m_process = nullptr;
        m_listStartFailure = command + QStringLiteral("\n") + tr("Unable to run command");
    }
}

void QAVMRVersion::waitForVersionList()
{
    if (!m_listPending)
        return;
    m_listPending = false;
    if (!m_listStartFailure.isEmpty()) {
        const QString failure = m_listStartFailure;
        m_listStartFailure.clear();
        showError(failure);
        return;
    }
    QAScriptRunner *run = m_process;
    if (!run)
        return;

    // The window is not up yet; pending events (the splash picture) go on being
    // served while the list arrives, but a script that hangs must not hold start-up.
    QEventLoop loop;
    connect(run, &QAScriptRunner::finished, &loop, &QEventLoop::quit);
    QTimer limit;
    limit.setSingleShot(true);
    connect(&limit, &QTimer::timeout, &loop, [run]() { run->waitForFinished(0); });
    limit.start(s_timeoutMs);
    if (!m_listEnded && run->isRunning())
        loop.exec();
    if (!m_listEnded)
        run->waitForFinished(s_timeoutMs);
    limit.stop();

    if (run->crashed() || run->exitCode() != 0) {
        const QString reason =
            run->timedOut() || run->crashed() || m_scriptMessage.isEmpty() ? run->failureText()
                                                                             : m_scriptMessage;
        QString text = tr("Get Version List failed :\n ") + reason;
        if (!m_versionList.isEmpty())
            text += QStringLiteral("\n") + m_versionList.join(QLatin1Char('\n'));
        showError(text);
    }
}

int QAVMRVersion::checkVersion(const QString &version)
{
    waitForVersionList();
    if (version.isEmpty())
        return Older;
    const int current = m_versionList.indexOf(documentVersion());
    if (current < 0) {
        QMessageBox::critical(dialogParent(), QAEdition::applicationTitle(),
                              tr("Editor XVM version not supported by script"));
        return Unknown;
    }
    const int position = m_versionList.indexOf(version);
    if (position < 0)
        return Unknown;
    if (position == current)
        return Current;
    return position < current ? Older : Newer;
}

bool QAVMRVersion::updateDocument(const QString &path, const QString &fromVersion)
{
    // The update's run replaces the list's: the list must be in first.
    waitForVersionList();
    m_scriptMessage = QString();
    QAScriptRunner *run = newRun();
    connect(run, &QAScriptRunner::outputLine, this,
            [this](const QString &line) { m_scriptMessage = line; });
    connect(run, &QAScriptRunner::errorLine, this,
            [this](const QString &line) { m_scriptMessage = line; });

    QStringList arguments{QStringLiteral("-update"), path};
    if (!fromVersion.isEmpty())
        arguments << QStringLiteral("-fromver") << fromVersion;
    arguments << QStringLiteral("-tover") << documentVersion();
    if (!run->start(QLatin1String(kScript), arguments)) {
        delete m_process;
        m_process = nullptr;
        return false;
    }

    // The document is rewritten on disk and read again right after: the load waits here.
    run->waitForFinished(s_timeoutMs);
    if (!run->crashed() && run->exitCode() == 0)
        return true;

    // Standard error carries the reason; output lines only stand in when it is silent.
    if (run->crashed())
        m_scriptMessage = run->failureText();
    else if (!run->lastErrorLine().isEmpty())
        m_scriptMessage = run->lastErrorLine();
    else if (m_scriptMessage.isEmpty())
        m_scriptMessage = run->failureText();
    showError(tr("Update failed : ") + m_scriptMessage);
    return false;
}
