#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

class QDomElement;

/**
 * Unsaved work kept aside so that it outlives a crash or a kill of the editor: for each
 * document path one file in the user's data directory, holding that path, the time it
 * was written and the document as a save would write it. The document's own file is
 * never touched; a save or a discard removes what was kept.
 */
class QARecovery
{
public:
    enum class State { None, Kept, Damaged };
    struct Kept
    {
        State state = State::None;
        QString documentPath;
        QDateTime written;
        QByteArray content;
    };

    /** Where the recovery files live. */
    static QString directory();
    /** The recovery file of the document at documentPath, whether it exists or not. */
    static QString fileFor(const QString &documentPath);
    /** Keeps root as the unsaved state of documentPath, atomically; error says why not. */
    static bool write(const QString &documentPath, const QDomElement &root,
                      QString *error = nullptr);
    /** What is kept for documentPath; Damaged when the file is unreadable or cut short. */
    static Kept read(const QString &documentPath);
    /**
     * The work kept for documents whose file does not exist (a new port never saved),
     * newest first; damaged recovery files are left out.
     */
    static QList<Kept> withoutDocument();
    static void discard(const QString &documentPath);
    /** Renames a damaged recovery file out of the way; returns its new name. */
    static QString setAside(const QString &documentPath);

private:
    static Kept readFile(const QString &path);
};
