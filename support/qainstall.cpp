#include "support/qainstall.h"

#include <QDir>
#include <QStandardPaths>

QString QAInstall::installDir(const QString &)
{
    return QDir::cleanPath(QString::fromLocal8Bit(qgetenv("ORBISKDIR")));
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
