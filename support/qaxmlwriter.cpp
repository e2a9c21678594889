#include "support/qaxmlwriter.h"

#include "support/qaattributeorder.h"

#include <QDomElement>
#include <QDomNamedNodeMap>
#include <QIODevice>
#include <QList>
#include <QStringList>

#include <algorithm>
#include <cstring>

namespace {

// Bytes gathered before they go to the device: a few large writes, not one per node.
constexpr qsizetype kBlock = 256 * 1024;
// Characters encoded at a time, each slice with room enough in the block.
constexpr qsizetype kSlice = 16 * 1024;

// The longest piece of a name or value that a message quotes.
constexpr qsizetype kShown = 40;

// Where the character at p lies outside what XML carries; false for a whole surrogate pair,
// whose second half the caller then steps over.
bool isInvalid(const char16_t *p, const char16_t *end)
{
    const char16_t c = *p;
    if (c < 0x20)
        return c != u'\t' && c != u'\n' && c != u'\r';
    if (c < 0xd800 || (c >= 0xe000 && c < 0xfffe))
        return false;
    return !(QChar::isHighSurrogate(c) && p + 1 != end && QChar::isLowSurrogate(p[1]));
}

/**
 * What each ASCII character becomes, in text or in an attribute value: its bytes (padded
 * to eight, copied whole) and how many count; none for a control character, which no XML
 * file can hold. Entries from 128 on are for a character after "]]".
 */
struct EscapeTable
{
    char bytes[256][8] = {};
    quint8 length[256] = {};

    constexpr explicit EscapeTable(bool attribute)
    {
        for (int c = 0; c < 256; ++c) {
            const int ascii = c & 0x7f;
            bytes[c][0] = char(ascii);
            length[c] = ascii >= 0x20 || ascii == '\t' || ascii == '\n' || ascii == '\r';
        }
        for (const int after : {0, 128}) {
            set(after + '<', "&lt;");
            set(after + '&', "&amp;");
            set(after + '\r', "&#xd;");
            if (attribute) {
                // An attribute value keeps its tabs and line breaks only as references.
                set(after + '"', "&quot;");
                set(after + '\t', "&#x9;");
                set(after + '\n', "&#xa;");
            }
        }
        set(128 + '>', "&gt;");
    }
    constexpr void set(int c, const char *text)
    {
        int n = 0;
        for (; text[n]; ++n)
            bytes[c][n] = text[n];
        length[c] = quint8(n);
    }
};

constexpr EscapeTable kTextEscapes(false);
constexpr EscapeTable kAttributeEscapes(true);

// The UTF-8 bytes of the character at p, a whole surrogate pair when it starts one.
char *utf8(char *out, const char16_t *p)
{
    char32_t c = *p;
    if (QChar::isHighSurrogate(c))
        c = QChar::surrogateToUcs4(char16_t(c), p[1]);
    if (c < 0x800) {
        *out++ = char(0xc0 | (c >> 6));
    } else if (c < 0x10000) {
        *out++ = char(0xe0 | (c >> 12));
        *out++ = char(0x80 | ((c >> 6) & 0x3f));
    } else {
        *out++ = char(0xf0 | (c >> 18));
        *out++ = char(0x80 | ((c >> 12) & 0x3f));
        *out++ = char(0x80 | ((c >> 6) & 0x3f));
    }
    *out++ = char(0x80 | (c & 0x3f));
    return out;
}

qsizetype firstInvalid(QStringView text)
{
    const char16_t *begin = text.utf16(), *end = begin + text.size();
    for (const char16_t *p = begin; p != end; ++p) {
        if (*p >= 0x20 && *p < 0xd800)
            continue;
        if (isInvalid(p, end))
            return p - begin;
        if (QChar::isHighSurrogate(*p))
            ++p;
    }
    return -1;
}

// Empty texts are left out: a reopened document has none, and a save of it must give the
// same bytes.
bool isWritten(const QDomNode &node)
{
    return node.nodeType() != QDomNode::TextNode || !node.nodeValue().isEmpty();
}

QDomNode firstWritten(const QDomNode &parent)
{
    QDomNode node = parent.firstChild();
    while (!node.isNull() && !isWritten(node))
        node = node.nextSibling();
    return node;
}

QDomNode nextWritten(const QDomNode &previous)
{
    QDomNode node = previous.nextSibling();
    while (!node.isNull() && !isWritten(node))
        node = node.nextSibling();
    return node;
}

// A name or value as a message can show it: what XML cannot carry shown as U+FFFD, a long
// value cut short.
QString shown(const QString &text)
{
    QString out = text.left(kShown);
    const char16_t *begin = QStringView(text).utf16(), *end = begin + out.size();
    for (const char16_t *p = begin; p != end; ++p) {
        if (isInvalid(p, end))
            out[p - begin] = QChar::ReplacementCharacter;
        else if (QChar::isHighSurrogate(*p))
            ++p;
    }
    return text.size() > kShown ? out + QChar(0x2026) : out;
}

// What tells an element apart from its siblings: its Name or Label, or else its place
// among the elements of its tag when it has company.
QString qualifier(const QDomElement &element)
{
    for (const QString &key : {QStringLiteral("Name"), QStringLiteral("Label")}) {
        if (element.hasAttribute(key))
            return QLatin1Char('[') + key + QLatin1Char('=') + shown(element.attribute(key))
                + QLatin1Char(']');
    }
    const QString tag = element.tagName();
    int same = 0, position = 0;
    for (QDomElement sibling = element.parentNode().firstChildElement(tag); !sibling.isNull();
         sibling = sibling.nextSiblingElement(tag)) {
        if (sibling == element)
            position = same + 1;
        ++same;
    }
    return same > 1 ? QLatin1Char('[') + QString::number(position) + QLatin1Char(']')
                    : QString();
}

// The element as a path from the root, which is one of its kind: "VMR/BUILD[Label=Build]/
// NEWCMDFILE[Name=env.sh]/VALUE".
QString elementPath(const QDomNode &node)
{
    QStringList steps;
    for (QDomNode n = node; n.isElement(); n = n.parentNode()) {
        const QDomElement element = n.toElement();
        steps.prepend(shown(element.tagName())
                      + (element.parentNode().isElement() ? qualifier(element) : QString()));
    }
    return steps.join(QLatin1Char('/'));
}

} // namespace

QAXmlWriter::QAXmlWriter(QIODevice *device, const QAAttributeOrder *order)
    : m_device(device)
    , m_order(order)
{
}

bool QAXmlWriter::write(const QDomElement &root)
{
    m_error.clear();
    m_deviceFailed = false;
    m_brackets = 0;
    put(u"<!DOCTYPE VMR SYSTEM 'vmr.dtd'>\n");

    // Down to the first child, along the siblings, up to the parent's end tag: no recursion,
    // however deep the document.
    QDomNode node = root;
    for (;;) {
        QDomNode next = nextWritten(node);
        if (node.isElement()) {
            const QDomNode first = firstWritten(node);
            if (!startTag(node.toElement()))
                return false;
            if (!first.isNull()) {
                put(u'>');
                if (!first.isText())
                    put(u'\n');
                node = first;
                continue;
            }
            put(u"/>");
            if (!next.isText())
                put(u'\n');
        } else if (!writeLeaf(node, next)) {
            return false;
        }
        // Close every element whose last child that was.
        for (;;) {
            if (m_deviceFailed)
                return false;
            if (node == root) {
                flush();
                return !m_deviceFailed;
            }
            if (!next.isNull()) {
                node = next;
                break;
            }
            node = node.parentNode();
            next = nextWritten(node);
            put(u"</");
            put(node.nodeName());
            put(u'>');
            m_brackets = 0;
            if (!next.isText())
                put(u'\n');
        }
    }
}

bool QAXmlWriter::startTag(const QDomElement &element)
{
    const QString name = element.tagName();
    const qsizetype bad = firstInvalid(name);
    if (bad >= 0)
        return refuse(element, Place::ElementName, name, bad);
    put(u'<');
    put(name);
    m_brackets = 0;
    return writeAttributes(element);
}

bool QAXmlWriter::writeAttributes(const QDomElement &element)
{
    const QDomNamedNodeMap attributes = element.attributes();
    const int count = attributes.count();
    if (count == 1)
        return writeAttribute(element, attributes.item(0));
    if (count == 0)
        return true;

    int written = 0;
    const QStringList *order = m_order ? m_order->of(element) : nullptr;
    if (order) {
        for (const QString &name : *order) {
            const QDomNode attribute = attributes.namedItem(name);
            if (attribute.isNull())
                continue;
            if (!writeAttribute(element, attribute))
                return false;
            ++written;
        }
    }
    if (written == count)
        return true;
    // What the file did not have, or every attribute of an element made in this session:
    // sorted by name, the same in every run.
    QList<QDomNode> rest;
    rest.reserve(count - written);
    for (int i = 0; i < count; ++i) {
        const QDomNode attribute = attributes.item(i);
        if (!order || !order->contains(attribute.nodeName()))
            rest.append(attribute);
    }
    std::sort(rest.begin(), rest.end(), [](const QDomNode &a, const QDomNode &b) {
        return a.nodeName() < b.nodeName();
    });
    for (const QDomNode &attribute : std::as_const(rest)) {
        if (!writeAttribute(element, attribute))
            return false;
    }
    return true;
}

bool QAXmlWriter::writeAttribute(const QDomElement &element, const QDomNode &attribute)
{
    const QString name = attribute.nodeName();
    qsizetype bad = firstInvalid(name);
    if (bad >= 0)
        return refuse(element, Place::AttributeName, name, bad);
    put(u' ');
    put(name);
    put(u"=\"");
    const QString value = attribute.nodeValue();
    bad = escape(value, Escape::Attribute);
    if (bad >= 0)
        return refuse(element, Place::Attribute, value, bad, name);
    put(u'"');
    return true;
}

bool QAXmlWriter::writeText(const QDomNode &node, const QString &text)
{
    const qsizetype bad = escape(text, Escape::Text);
    return bad < 0 || refuse(node, Place::Text, text, bad);
}

bool QAXmlWriter::writeLeaf(const QDomNode &node, const QDomNode &next)
{
    switch (node.nodeType()) {
    case QDomNode::TextNode:
        return writeText(node, node.nodeValue());
    case QDomNode::CDATASectionNode: {
        const QString data = node.nodeValue();
        // "]]>" would end the section early, and a carriage return would read back as a
        // line feed: as escaped text both come back as they were.
        if (data.contains(QLatin1String("]]>")) || data.contains(QLatin1Char('\r')))
            return writeText(node, data);
        const qsizetype bad = firstInvalid(data);
        if (bad >= 0)
            return refuse(node, Place::Text, data, bad);
        put(u"<![CDATA[");
        put(data);
        put(u"]]>");
        m_brackets = 0;
        return true;
    }
    case QDomNode::CommentNode: {
        QString data = node.nodeValue();
        const qsizetype bad = firstInvalid(data);
        if (bad >= 0)
            return refuse(node, Place::Comment, data, bad);
        // "--" would end a comment; no document read from a file has it.
        while (data.contains(QLatin1String("--")))
            data.replace(QLatin1String("--"), QLatin1String("- -"));
        put(u"<!--");
        put(data);
        if (data.endsWith(QLatin1Char('-')))
            put(u' ');
        put(u"-->");
        m_brackets = 0;
        if (!next.isText())
            put(u'\n');
        return true;
    }
    case QDomNode::ProcessingInstructionNode: {
        const QDomProcessingInstruction instruction = node.toProcessingInstruction();
        const QString target = instruction.target();
        QString data = instruction.data();
        qsizetype bad = firstInvalid(target);
        if (bad >= 0)
            return refuse(node, Place::Instruction, target, bad);
        bad = firstInvalid(data);
        if (bad >= 0)
            return refuse(node, Place::Instruction, data, bad);
        data.replace(QLatin1String("?>"), QLatin1String("? >"));
        put(u"<?");
        put(target);
        put(u' ');
        put(data);
        put(u"?>");
        m_brackets = 0;
        // A line break before a text would become part of it: one more at every save.
        if (next.nodeType() != QDomNode::TextNode)
            put(u'\n');
        return true;
    }
    case QDomNode::EntityReferenceNode:
        // Nothing in the file would declare the entity: it would not open again.
        m_error = tr("The entity reference %1 in %2 cannot be written: the file would not "
                     "open again.")
                      .arg(shown(node.nodeName()), elementPath(node.parentNode()));
        return false;
    default:
        // No other kind of node lives inside an element.
        return true;
    }
}

qsizetype QAXmlWriter::escape(QStringView text, Escape mode)
{
    const bool attribute = mode == Escape::Attribute;
    const EscapeTable &table = attribute ? kAttributeEscapes : kTextEscapes;
    // "]]>" may not appear in text: a ">" after two "]" is escaped, also when the first of
    // them ended the text before.
    const int brackets = attribute ? 0 : m_brackets;
    const char16_t *begin = text.utf16(), *end = begin + text.size(), *p = begin;
    while (p != end) {
        // Room for the slice at its longest: six bytes a character ("&quot;"), and the
        // eight that each character's copy stores.
        const char16_t *stop = p + std::min<qsizetype>(end - p, kSlice);
        room(6 * (stop - p) + 8);
        char *out = m_out;
        for (; p < stop; ++p) {
            const char16_t c = *p;
            if (c < 0x80) {
                // Without a branch on what the character is: markup-heavy text is full
                // of characters to escape, in no order a processor could guess.
                const qsizetype at = p - begin;
                const bool closesSection = at >= 2 ? (p[-1] == u']') & (p[-2] == u']')
                    : at == 1                      ? (p[-1] == u']') & (brackets >= 1)
                                                   : brackets >= 2;
                const unsigned index = c | (unsigned(closesSection) << 7);
                const unsigned length = table.length[index];
                if (length == 0) {
                    m_out = out;
                    return at;
                }
                std::memcpy(out, table.bytes[index], 8);
                out += length;
                continue;
            }
            if (isInvalid(p, end)) {
                m_out = out;
                return p - begin;
            }
            out = utf8(out, p);
            if (QChar::isHighSurrogate(c))
                ++p;
        }
        m_out = out;
    }
    if (!attribute) {
        qsizetype trailing = 0;
        while (trailing < 2 && trailing < text.size() && text[text.size() - 1 - trailing] == u']')
            ++trailing;
        m_brackets = trailing == text.size() ? std::min(2, m_brackets + int(trailing))
                                             : int(trailing);
    }
    return -1;
}

bool QAXmlWriter::refuse(const QDomNode &node, Place place, QStringView text, qsizetype at,
                         const QString &attribute)
{
    const QString path = elementPath(node.isElement() ? node : node.parentNode());
    QString where;
    switch (place) {
    case Place::Text:
        where = tr("the text of %1").arg(path);
        break;
    case Place::Attribute:
        where = tr("the attribute %1 of %2").arg(shown(attribute), path);
        break;
    case Place::AttributeName:
        where = tr("an attribute name of %1").arg(path);
        break;
    case Place::ElementName:
        where = tr("the name of %1").arg(path);
        break;
    case Place::Comment:
        where = tr("a comment in %1").arg(path);
        break;
    case Place::Instruction:
        where = tr("a processing instruction in %1").arg(path);
        break;
    }
    const QString code =
        QStringLiteral("%1").arg(uint(text.at(at).unicode()), 4, 16, QLatin1Char('0')).toUpper();
    m_error = tr("The character U+%1 in %2 cannot be written into an XML file. Remove it and "
                 "save again.")
                  .arg(code, where);
    return false;
}

void QAXmlWriter::put(QStringView text)
{
    // Checked already: every character is one XML carries.
    const char16_t *p = text.utf16(), *end = p + text.size();
    while (p != end) {
        const char16_t *stop = p + std::min<qsizetype>(end - p, kSlice);
        room(3 * (stop - p) + 4);
        char *out = m_out;
        for (; p < stop; ++p) {
            if (*p < 0x80) {
                *out++ = char(*p);
                continue;
            }
            out = utf8(out, p);
            if (QChar::isHighSurrogate(*p))
                ++p;
        }
        m_out = out;
    }
}

void QAXmlWriter::put(char16_t c)
{
    room(1);
    *m_out++ = char(c);
}

void QAXmlWriter::room(qsizetype bytes)
{
    if (m_block.isEmpty()) {
        m_block.resize(kBlock);
        m_out = m_block.data();
    }
    if (m_block.constData() + m_block.size() - m_out < bytes)
        flush();
}

void QAXmlWriter::flush()
{
    const qint64 size = m_out - m_block.constData();
    if (size > 0 && !m_deviceFailed && m_device->write(m_block.constData(), size) != size)
        m_deviceFailed = true;
    m_out = m_block.data();
}
