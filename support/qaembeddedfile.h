#pragma once

#include <QByteArray>
#include <QDomElement>
#include <QList>
#include <QStringList>

/**
 * A binary file embedded in a port ("NEWBINFILE"): its data is an "ENCODED_FILE" after
 * the comment, in "DATA" parts of base64 that encode64.pl writes and vmrgen.pl decodes.
 * The editor reads the data as the generator does, so that what the binary file's viewer
 * shows and what the checks refuse agree with what generation writes.
 */
namespace QAEmbeddedFile {

/** The element that holds file's encoded data: the first one after the comment. */
QDomElement encodedData(const QDomElement &file);

/**
 * The bytes of one "DATA" part, decoded as the generator decodes it: blanks of every
 * kind left out, then letters, digits, "+" and "/", up to two "=" at the end, a multiple
 * of four characters, each part whole on its own. False when the part is not base64.
 */
bool decodePart(const QDomElement &data, QByteArray *bytes);

/** The embedded file; false when its data is missing, not base64 or of another encoding. */
bool decode(const QDomElement &file, QByteArray *bytes);

/**
 * The texts of file's "DATA" parts, one list of text pieces a part: a copy that another
 * thread may decode while the document goes on changing. False when the file has no
 * data of base64 encoding.
 */
bool dataParts(const QDomElement &file, QList<QStringList> *parts);
/** One part's text pieces decoded as decodePart decodes the part. */
bool decodeTexts(const QStringList &texts, QByteArray *bytes);

} // namespace QAEmbeddedFile
