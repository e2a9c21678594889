#include "support/qainstall.h"

#include <QDir>
#include <QStandardPaths>

QString QAInstall::installDir(const QString &)
{
    // A relative ORBISKDIR counts from where the program was started; made absolute, the
    // paths built from it (the user's library copy among them) stay right.
    const QString dir = QString::fromLocal8Bit(qgetenv("ORBISKDIR"));
    return dir.isEmpty() ? dir : QDir::cleanPath(QDir(dir).absolutePath());
}

QString QAInstall::targetDir(const QString &programPath)
{
    return installDir(programPath) + QDir::separator() + QStringLiteral("targets");
}

QString QAInstall::scriptsDir(const QString &programPath)
{
    return installDir(programPath) + QDir::separator() + QStringLiteral("lib")
        + QDir::separator() + QStringLiteral("scripts");
}

QString QAInstall::helpDir(const QString &programPath)
{
    return installDir(programPath) + QDir::separator() + QStringLiteral("doc");
}

QString QAInstall::pixmapDir(const QString &programPath)
{
    return installDir(programPath) + QDir::separator() + QStringLiteral("lib")
        + QDir::separator() + QStringLiteral("images");
}

QString QAInstall::localeDir(const QString &programPath)
{
    return installDir(programPath) + QDir::separator() + QStringLiteral("lib")
        + QDir::separator() + QStringLiteral("locale");
}

QString QAInstall::applicationData(const QString &)
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QStringList QAInstall::perlCommand(const QString &programPath)
{
    QString perl = QStandardPaths::findExecutable(QStringLiteral("perl"));
    if (perl.isEmpty())
        perl = QStringLiteral("/usr/bin/perl");
    // The scripts share their document helpers through one module in their own directory.
    return {perl, QStringLiteral("-I") + scriptsDir(programPath)};
}
