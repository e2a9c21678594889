#include "support/qauserlibrary.h"

#include "support/qainstall.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMessageBox>

namespace {
bool s_quiet = false;
}

QAILogMonitor::~QAILogMonitor() = default;

QALogMessageBox::QALogMessageBox(const QString &title, QWidget *parent)
    : m_title(title)
    , m_parent(parent)
{
}

void QALogMessageBox::setQuiet(bool quiet)
{
    s_quiet = quiet;
}

void QALogMessageBox::log(const QString &message)
{
    m_messages.append(message);
    qWarning("%s", qPrintable(message));
    if (!s_quiet)
        QMessageBox::warning(m_parent, m_title, message);
}

QString QAUserLibrary::userTargetDir()
{
    return QAInstall::applicationData(QString()) + QStringLiteral("/targets");
}

static bool copyTree(const QString &from, const QString &to, QAILogMonitor *monitor)
{
    bool ok = true;
    if (!QDir().mkpath(to)) {
        if (monitor)
            monitor->log(
                QCoreApplication::translate("QAUserLibrary", "Cannot create the directory %1.")
                    .arg(QDir::toNativeSeparators(to)));
        return false;
    }
    QDirIterator it(from, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    const QDir base(QDir(from).absolutePath());
    while (it.hasNext()) {
        const QString source = it.next();
        const QString target =
            to + QLatin1Char('/') + base.relativeFilePath(it.fileInfo().absoluteFilePath());
        if (it.fileInfo().isDir()) {
            ok = QDir().mkpath(target) && ok;
            continue;
        }
        QFile::remove(target);
        QFile file(source);
        if (!file.copy(target)) {
            ok = false;
            if (monitor)
                monitor->log(
                    QCoreApplication::translate("QAUserLibrary", "Cannot copy %1 to %2: %3")
                        .arg(QDir::toNativeSeparators(source), QDir::toNativeSeparators(target),
                             file.errorString()));
            continue;
        }
        // The installation's files are often read-only; the user's copy is theirs.
        QFile::setPermissions(target, QFile::permissions(target) | QFile::WriteOwner);
    }
    return ok;
}

bool QAUserLibrary::checkAndInstall(const QString &, QAILogMonitor *monitor)
{
    const QString userTargets = userTargetDir();
    // The templates are what the user needs; a copy cut short earlier is made again.
    if (QFileInfo(userTargets + QStringLiteral("/xml")).isDir())
        return true;
    const QString source = QAInstall::targetDir(QString()) + QStringLiteral("/xml");
    if (!QFileInfo(source).isDir()) {
        if (monitor)
            monitor->log(QCoreApplication::translate("QAUserLibrary",
                                                     "The installation has no directory %1.")
                             .arg(QDir::toNativeSeparators(source)));
        return false;
    }
    return copyTree(source, userTargets + QStringLiteral("/xml"), monitor);
}
