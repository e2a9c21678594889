#include "support/qahelp.h"

#include "support/qaedition.h"
#include "support/qainstall.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

QAHelp::QAHelp() = default;

QAHelp::QAHelp(const QString &helpDir)
    : m_helpDir(helpDir)
{
}

QString QAHelp::getDefaultCommand() const
{
    return QStringLiteral("xdg-open");
}

QString QAHelp::getDefaultHelpURL() const
{
    return QStringLiteral("http://localhost:8080/help");
}

QString QAHelp::helpDir() const
{
    return m_helpDir.isEmpty() ? QAInstall::helpDir(QString()) : m_helpDir;
}

QString QAHelp::guidePage(const QString &guide, const QString &topic) const
{
    const QString name = guide.isEmpty() ? QAEdition::guideName() : guide;
    const QDir dir(helpDir());
    // A guide is a directory of pages or a single page named after it.
    const QStringList candidates = {
        name + QStringLiteral("/index.html"),
        name + QStringLiteral(".html"),
        QStringLiteral("orbk-ug/index.html"),
    };
    for (const QString &candidate : candidates) {
        const QFileInfo info(dir.filePath(candidate));
        if (info.isFile()) {
            QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
            if (!topic.isEmpty())
                url.setFragment(topic);
            return url.toString();
        }
    }
    return QString();
}

bool QAHelp::showHelp(const QString &guide, const QString &topic)
{
    const QString page = guidePage(guide, topic);
    if (page.isEmpty())
        return false;
    return launch(page);
}

bool QAHelp::switchToBrevikWeb(const QUrl &url)
{
    if (url.isEmpty())
        return false;
    return launch(url.toString());
}

bool QAHelp::launch(const QString &address)
{
    // The command may carry its own options ("firefox --new-window"); it is split like
    // a command line but never handed to a shell, and the address is one argument.
    QStringList words = QProcess::splitCommand(m_command.trimmed());
    if (words.isEmpty())
        words = QProcess::splitCommand(getDefaultCommand());
    const QString program = words.takeFirst();
    m_lastLaunch = QStringList{program} + words + QStringList{address};
    const QString resolved = QFileInfo(program).isAbsolute()
        ? program : QStandardPaths::findExecutable(program);
    if (resolved.isEmpty() || !QFileInfo(resolved).isExecutable())
        return false;
    return QProcess::startDetached(resolved, words + QStringList{address});
}
