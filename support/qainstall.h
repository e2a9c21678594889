#pragma once

#include <QString>
#include <QStringList>

/**
 * Where the installation keeps its files. Every path derives from the installation
 * directory named by ORBISKDIR; the program path is accepted for the callers' sake
 * (a relocatable installation could derive the directory from it).
 */
class QAInstall
{
public:
    static QString installDir(const QString &programPath);
    static QString targetDir(const QString &programPath);
    static QString scriptsDir(const QString &programPath);
    static QString helpDir(const QString &programPath);
    static QString pixmapDir(const QString &programPath);
    static QString localeDir(const QString &programPath);
    static QString applicationData(const QString &programPath);
    /** The Perl interpreter (absolute path) and its options; script and arguments follow. */
    static QStringList perlCommand(const QString &programPath);
};
