#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDomNode>
#include <QString>

class QAAttributeOrder;
class QDomElement;
class QIODevice;

/**
 * Writes a port description into a file: the document type line, then the root element
 * with everything below it, in UTF-8, in one pass and in large blocks. The bytes are the
 * ones the DOM's own writer gives with no indentation, except where those would be wrong:
 *
 * - text is escaped in one pass, in time linear in its length whatever it holds;
 * - attributes come in the order the file gave them (QAAttributeOrder), the others after
 *   them sorted by name, instead of in the order of a hash that changes with every run;
 * - a processing instruction followed by text gets no line break, which would otherwise
 *   become part of the text and grow by one at every save;
 * - a CDATA section holding "]]>" or a carriage return is written as escaped text, which
 *   reads back with the same characters; "]]>" spread over two texts is escaped too;
 * - empty texts (a field the user emptied) are left out: a reopened document has none;
 * - a comment holding "--" or a processing instruction holding "?>" gets a blank inside,
 *   which keeps the file readable.
 *
 * A document holding a character that XML cannot carry (a control character other than
 * tab, line feed and carriage return, U+FFFE, U+FFFF, half a surrogate pair) or an entity
 * reference is refused, with a message that names the character and where it is: the
 * file written so far must then be thrown away, since it would not open again.
 */
class QAXmlWriter
{
    Q_DECLARE_TR_FUNCTIONS(QAXmlWriter)

public:
    explicit QAXmlWriter(QIODevice *device, const QAAttributeOrder *order = nullptr);

    /** False when the document cannot be written or the device refused a write. */
    bool write(const QDomElement &root);
    /** Why write refused the document; empty when the device failed. */
    QString errorString() const { return m_error; }
    bool deviceFailed() const { return m_deviceFailed; }

private:
    enum class Escape { Text, Attribute };
    enum class Place { Text, Attribute, AttributeName, ElementName, Comment, Instruction };

    bool startTag(const QDomElement &element);
    bool writeAttributes(const QDomElement &element);
    bool writeAttribute(const QDomElement &element, const QDomNode &attribute);
    bool writeText(const QDomNode &node, const QString &text);
    /** Any node but an element; next is the sibling written after it. */
    bool writeLeaf(const QDomNode &node, const QDomNode &next);
    /** Writes the text escaped; the index of a character XML cannot carry, else -1. */
    qsizetype escape(QStringView text, Escape mode);
    /** Notes why the document cannot be written: the character text[at], and where. */
    bool refuse(const QDomNode &node, Place place, QStringView text, qsizetype at,
                const QString &attribute = QString());

    /** Writes text as it is, in UTF-8; every character of it one that XML carries. */
    void put(QStringView text);
    void put(char16_t c);
    /** Makes room for that many bytes in the block, writing it out when full. */
    void room(qsizetype bytes);
    void flush();

    QIODevice *m_device;
    const QAAttributeOrder *m_order;
    QByteArray m_block;
    char *m_out = nullptr; // where the next byte goes in m_block
    int m_brackets = 0; // the "]" that end the text written last, up to two
    bool m_deviceFailed = false;
    QString m_error;
};
