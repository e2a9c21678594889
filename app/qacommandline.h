#pragma once

#include <QString>
#include <QStringList>

/**
 * The program's command line, read before the application object exists: the document
 * to open, --help and --version. Qt's own options (-style Fusion, -platform offscreen,
 * -reverse, ...) are recognised here only so that their values are not taken for a
 * document; the application object then applies them.
 */
class QACommandLine
{
public:
    enum Request {
        Run, ///< start the editor, on document() when it is not empty
        Help, ///< print helpText() and end with 0
        Version, ///< print versionText() and end with 0
        Usage, ///< print usageText() on standard error and end with 1
    };

    QACommandLine(int argc, char **argv);

    Request request() const { return m_request; }
    /** The document named on the command line; empty when none was. */
    QString document() const { return m_document; }
    /** "Usage: PROGRAM [file]", preceded by what was wrong when it was not a second file. */
    QString usageText() const;
    QString helpText() const;
    QString versionText() const;

private:
    QString m_program;
    Request m_request = Run;
    QString m_document;
    QString m_error;
    QString m_help;
};
