#pragma once

#include "support/qaxmledits.h"

#include <QCoreApplication>
#include <QDomElement>
#include <QHash>
#include <QList>
#include <QString>

/** Something in a port that generation refuses (an error) or that may be a mistake. */
struct QAProblem
{
    enum Severity : unsigned char { Error, Warning };

    Severity severity = Error;
    /** What is wrong, worded as the generator words its refusal of it. */
    QString message;
    /** The node's path in the tree. */
    QString path;
    /** The field where it is: the element and its text or attribute. */
    QAXmlChange where;
};

/**
 * The checks of a port before it is generated, over the document alone: everything that
 * vmrgen.pl refuses in a port description is found here first, under the same words,
 * and a few things it accepts but that are likely mistakes are warned about. Embedded
 * binary files are decoded to check their size and digest; the result is kept for each
 * file's data as long as it is not replaced.
 */
class QAPortCheck
{
    Q_DECLARE_TR_FUNCTIONS(QAPortCheck)

public:
    /** A port generated into a target directory: its sub-directory and its port name. */
    struct PortEntry
    {
        QString dirName;
        QString portName;
    };
    /**
     * The ports generated into dir: each readable sub-directory holding an ".ini" file
     * with a NAME= line, in the order of their names.
     */
    static QList<PortEntry> portsIn(const QString &dir);

    /**
     * Where the port is generated and the name of its own directory there, so that a
     * port name that another port of the directory uses is seen. The directory is read
     * again when it or the port's name changes.
     */
    void setTarget(const QString &targetDir, const QString &ownDirName);

    QList<QAProblem> check(const QDomElement &root);

    /**
     * Why name cannot be the name of file (a "NEWCMDFILE" or "NEWBINFILE" of the port):
     * a name the generator refuses, one it writes itself, or another file's. Empty when
     * it can be.
     */
    static QString fileNameProblem(const QDomElement &file, const QString &name);
    /** The generator's words for a name that cannot be a file name at all; empty if it can. */
    static QString badFileName(const QString &name, const QString &what);
    /** A message as the generator's last line of standard error shows it: one line. */
    static QString oneLine(const QString &message);

private:
    struct BinaryResult
    {
        QString size;
        QString problem;
        bool iniRecord = false;
    };

    void checkSettings(const QDomElement &root, QList<QAProblem> *problems);
    void checkFiles(const QDomElement &root, QList<QAProblem> *problems);
    void checkConfiguration(const QDomElement &root, QList<QAProblem> *problems);
    void checkCharacters(const QDomElement &root, QList<QAProblem> *problems);
    void checkPortName(const QDomElement &root, QList<QAProblem> *problems);
    BinaryResult decodeBinary(const QDomElement &encoded, const QString &name);

    QString m_targetDir;
    QString m_ownDirName;
    QString m_scannedDir;
    QString m_scannedName;
    QList<PortEntry> m_ports;
    QHash<const void *, BinaryResult> m_binaries;
};
