#include "support/qaembeddedfile.h"

#include <array>

namespace {

enum : signed char { Bad = -1, Blank = -2, Pad = -3 };

// What each Latin-1 character is in base64 data; the generator's Perl takes the same
// characters for blanks as Unicode does, as QChar::isSpace.
const std::array<signed char, 256> &latin1Values()
{
    static const std::array<signed char, 256> values = [] {
        std::array<signed char, 256> table;
        table.fill(Bad);
        const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        for (int i = 0; i < 64; ++i)
            table[static_cast<unsigned char>(alphabet[i])] = static_cast<signed char>(i);
        for (int c = 0; c < 256; ++c)
            if (QChar::isSpace(char32_t(c)))
                table[c] = Blank;
        table['='] = Pad;
        return table;
    }();
    return values;
}

} // namespace

QDomElement QAEmbeddedFile::encodedData(const QDomElement &file)
{
    for (QDomElement c = file.firstChildElement(); !c.isNull(); c = c.nextSiblingElement())
        if (c.tagName() != QLatin1String("COMMENT"))
            return c;
    return QDomElement();
}

bool QAEmbeddedFile::decodePart(const QDomElement &data, QByteArray *bytes)
{
    QStringList texts;
    for (QDomNode n = data.firstChild(); !n.isNull(); n = n.nextSibling())
        if (n.isCharacterData())
            texts.append(n.toCharacterData().data());
    return decodeTexts(texts, bytes);
}

bool QAEmbeddedFile::decodeTexts(const QStringList &texts, QByteArray *bytes)
{
    // One pass over the document's own text: a check from scratch reads megabytes of it.
    const std::array<signed char, 256> &values = latin1Values();
    qsizetype length = 0;
    for (const QString &text : texts)
        length += text.size();
    bytes->resize(length / 4 * 3 + 3);
    char *const begin = bytes->data();
    char *out = begin;
    quint32 bits = 0;
    int pending = 0;
    int padding = 0;
    qsizetype count = 0;
    for (const QString &text : texts) {
        for (const QChar c : text) {
            const char16_t u = c.unicode();
            const int value = u < 256 ? values[u] : QChar::isSpace(u) ? int(Blank) : int(Bad);
            if (value >= 0) {
                if (padding > 0)
                    return false;
                bits = (bits << 6) | quint32(value);
                ++count;
                pending += 6;
                if (pending >= 8) {
                    pending -= 8;
                    *out++ = char(bits >> pending);
                }
            } else if (value == Pad) {
                ++padding;
                ++count;
            } else if (value != Blank) {
                return false;
            }
        }
    }
    if (padding > 2 || count % 4)
        return false;
    bytes->truncate(out - begin);
    return true;
}

bool QAEmbeddedFile::dataParts(const QDomElement &file, QList<QStringList> *parts)
{
    parts->clear();
    const QDomElement encoded = encodedData(file);
    if (encoded.tagName() != QLatin1String("ENCODED_FILE")
        || encoded.attribute(QStringLiteral("Encoding"), QStringLiteral("base64"))
            != QLatin1String("base64"))
        return false;
    for (QDomElement data = encoded.firstChildElement(QStringLiteral("DATA")); !data.isNull();
         data = data.nextSiblingElement(QStringLiteral("DATA"))) {
        QStringList texts;
        for (QDomNode n = data.firstChild(); !n.isNull(); n = n.nextSibling())
            if (n.isCharacterData())
                texts.append(n.toCharacterData().data());
        parts->append(texts);
    }
    return true;
}

bool QAEmbeddedFile::decode(const QDomElement &file, QByteArray *bytes)
{
    bytes->clear();
    QList<QStringList> parts;
    if (!dataParts(file, &parts))
        return false;
    QByteArray part;
    for (const QStringList &texts : std::as_const(parts)) {
        if (!decodeTexts(texts, &part))
            return false;
        bytes->append(part);
    }
    return true;
}
