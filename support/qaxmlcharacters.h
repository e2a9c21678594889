#pragma once

#include <QObject>
#include <QString>
#include <QStringView>

#include <memory>

class QMimeData;

/**
 * The characters that an XML document cannot hold: the control characters other than
 * tab, line feed and carriage return, U+FFFE and U+FFFF, and halves of a surrogate pair
 * standing alone. A document holding one is written into a file that no longer opens,
 * so every place where text enters the document leaves them out and says so.
 */
class QAXmlCharacters : public QObject
{
    Q_OBJECT

public:
    /** Where the first such character of text starts, or -1. */
    static qsizetype firstForbidden(QStringView text);
    /** The character at index (a whole pair for a surrogate pair), as "U+000C". */
    static QString describe(QStringView text, qsizetype index);
    /**
     * Takes the characters out of text; when it did, reports which through the
     * notifier and returns true. position, when given, follows the text it stood in.
     */
    static bool leaveOut(QString &text, int *position = nullptr);
    /** Pasted or dropped data without them as plain text; null when it holds none. */
    static std::unique_ptr<QMimeData> leaveOut(const QMimeData *source);

    /** Announces every removal, for the status bar. */
    static QAXmlCharacters *notifier();

signals:
    /** Characters were left out of what the user typed, pasted or dropped. */
    void leftOut(const QString &message);

private:
    QAXmlCharacters() = default;
};
