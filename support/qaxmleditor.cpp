#include "support/qaxmleditor.h"

#include <QDomImplementation>
#include <QFile>
#include <QHash>
#include <QXmlStreamReader>

#include <utility>

namespace {

// The editors alive, so that a save finds the attribute order of the document it writes.
QList<const QAXmlEditor *> &editors()
{
    static QList<const QAXmlEditor *> all;
    return all;
}

} // namespace

QAXmlEditor::QAXmlEditor(QWidget *parent)
    : QWidget(parent)
{
    editors().append(this);
}

QAXmlEditor::~QAXmlEditor()
{
    editors().removeOne(this);
}

void QAXmlEditor::resetDocument()
{
    m_root = QDomElement();
    m_attributeOrder.clear();
    m_document = QDomDocument();
}

const QAAttributeOrder *QAXmlEditor::attributeOrderOf(const QDomNode &node)
{
    const QDomDocument document = node.ownerDocument();
    if (document.isNull())
        return nullptr;
    for (const QAXmlEditor *editor : std::as_const(editors())) {
        if (editor->m_document == document)
            return &editor->m_attributeOrder;
    }
    return nullptr;
}

namespace {

// Far deeper than any port description (about a dozen levels), far below the depth at
// which building, saving or freeing the tree would exhaust the stack; and building a
// deep tree costs the square of its depth.
constexpr int kMaxDepth = 256;

// Nodes of the prolog, kept until the document exists.
struct PrologNode
{
    bool comment;
    QString target;
    QString data;
};

// The stream reader lets control characters through in some names (a processing
// instruction's target among them) that it refuses once the document is written out
// again: such a document would be saved into one that no longer opens.
bool hasControlCharacter(QStringView name)
{
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u < 0x20 || (u >= 0x7f && u <= 0x9f) || u == 0xfffe || u == 0xffff)
            return true;
    }
    return false;
}

// The reader lets half a surrogate pair through in names, values, texts, comments and
// instructions (of a document in UTF-16): no save could write such a document.
char16_t halfPair(QStringView text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if ((c & 0xf800) != 0xd800)
            continue;
        if (!QChar::isHighSurrogate(c) || i + 1 == text.size()
            || !QChar::isLowSurrogate(text[i + 1].unicode()))
            return c;
        ++i;
    }
    return 0;
}

/**
 * Notes every reference to an entity that nothing declares. In the content the reader
 * reports one as such; in an attribute value it keeps it as literal text, which a save
 * would then write as text, and whose name may even hold characters that no document
 * can carry.
 */
class UndeclaredEntities : public QXmlStreamEntityResolver
{
public:
    QString resolveUndeclaredEntity(const QString &) override
    {
        m_seen = true;
        return QString();
    }
    bool seen() const { return m_seen; }

private:
    bool m_seen = false;
};

// Only XML's own blanks make a text blank: a non-breaking space, or any other space of
// Unicode, is content that a save writes and a reopening must find again.
bool isBlank(QStringView text)
{
    for (const QChar c : text) {
        if (c != u' ' && c != u'\t' && c != u'\n' && c != u'\r')
            return false;
    }
    return true;
}

} // namespace

int QAXmlEditor::maxDepth()
{
    return kMaxDepth;
}

// One pass of a stream reader builds the tree. Building it here, rather than letting the
// DOM parse, refuses what must be refused before it costs anything (entity declarations,
// entity references, runaway nesting) and shares one string per tag and attribute name
// among the thousands of elements that carry it. What it builds is what the DOM parser
// builds: text nodes of blanks only between elements are dropped, CDATA sections kept;
// except that only XML's own four blanks count as such, and that a text of blanks that is
// all an element holds is kept, so that what the user wrote opens again.
bool QAXmlEditor::parseDocument(QIODevice *device, QDomDocument *document, QString *error)
{
    return parse(device, document, error, nullptr, false);
}

bool QAXmlEditor::parseDocument(QIODevice *device, QDomDocument *document, QString *error,
                                QAAttributeOrder *order)
{
    return parse(device, document, error, order, false);
}

bool QAXmlEditor::parseRoot(QIODevice *device, QDomDocument *document, QString *error)
{
    return parse(device, document, error, nullptr, true);
}

bool QAXmlEditor::parse(QIODevice *device, QDomDocument *document, QString *error,
                        QAAttributeOrder *order, bool rootOnly)
{
    QXmlStreamReader reader(device);
    reader.setNamespaceProcessing(false);
    UndeclaredEntities undeclared;
    reader.setEntityResolver(&undeclared);

    QDomDocument parsed;
    QDomNode current;
    QList<PrologNode> prolog;
    const auto begin = [&](const QDomDocumentType &type) {
        if (!current.isNull())
            return;
        parsed = QDomDocument(type);
        for (const PrologNode &node : std::as_const(prolog)) {
            parsed.appendChild(node.comment
                                   ? QDomNode(parsed.createComment(node.data))
                                   : QDomNode(parsed.createProcessingInstruction(node.target,
                                                                                 node.data)));
        }
        prolog.clear();
        current = parsed;
    };

    // Tag names, attribute names and attribute values repeat across thousands of
    // elements (Doc, Label, Sensitive, the same few keys): each is held once.
    QHash<QStringView, QString> strings;
    const auto shared = [&strings](QStringView text) {
        const auto found = strings.constFind(text);
        if (found != strings.constEnd())
            return found.value();
        const QString copy = text.toString();
        // The key views the copy's data, which the value keeps alive.
        strings.insert(QStringView(copy), copy);
        return copy;
    };

    // An attribute given its value through the DOM also gets a text node holding the
    // same value, which nothing reads and a save does not write: nearly half of what
    // each attribute costs. A copy of an attribute without its children carries the
    // name and the value alone.
    QHash<QString, QDomAttr> models;
    const auto attributeNode = [&](const QString &name, const QString &value) {
        QDomAttr &model = models[name];
        if (model.isNull())
            model = parsed.createAttribute(name);
        model.setValue(value);
        return model.cloneNode(false).toAttr();
    };

    const auto holdsHalfPair = [&reader, error](std::initializer_list<QStringView> texts) {
        for (const QStringView text : texts) {
            if (const char16_t c = halfPair(text)) {
                const QString code = QString::number(c, 16).toUpper();
                *error = tr("the document holds the character U+%1, which an XML file cannot "
                            "hold (line %2)")
                             .arg(code, QString::number(reader.lineNumber()));
                return true;
            }
        }
        return false;
    };

    int depth = 0;
    // A text of blanks that is all an element holds is what the user wrote (a comment of
    // one line break, a value of one space); between elements it is only the file's
    // layout. Which one it is shows once a child element starts or the element ends, so
    // such a text is kept until a child element starts beside it.
    struct Open
    {
        bool hasElement = false;
        QList<QDomNode> blanks;
    };
    QList<Open> open;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::DTD:
            // The reader reports a document type met inside the content as if it were
            // the prolog's; the DOM parser refuses it, and so does the editor.
            if (!current.isNull()) {
                *error = tr("the document has a document type declaration inside its content "
                            "(line %1)")
                             .arg(reader.lineNumber());
                return false;
            }
            if (!reader.entityDeclarations().isEmpty()) {
                *error = tr("the document declares entities, which this editor does not accept");
                return false;
            }
            begin(QDomImplementation().createDocumentType(reader.dtdName().toString(),
                                                          reader.dtdPublicId().toString(),
                                                          reader.dtdSystemId().toString()));
            break;
        case QXmlStreamReader::StartElement: {
            begin(QDomDocumentType());
            if (++depth > kMaxDepth) {
                *error = tr("the document is nested deeper than %1 levels (line %2)")
                             .arg(kMaxDepth)
                             .arg(reader.lineNumber());
                return false;
            }
            const QXmlStreamAttributes attributes = reader.attributes();
            if (undeclared.seen()) {
                *error = tr("the document refers to an entity that it does not declare");
                return false;
            }
            bool badName = hasControlCharacter(reader.qualifiedName());
            for (const QXmlStreamAttribute &attribute : attributes)
                badName = badName || hasControlCharacter(attribute.qualifiedName());
            if (badName) {
                *error = tr("the document has a name with a control character in it (line %1)")
                             .arg(reader.lineNumber());
                return false;
            }
            if (holdsHalfPair({reader.qualifiedName()}))
                return false;
            for (const QXmlStreamAttribute &attribute : attributes) {
                if (holdsHalfPair({attribute.qualifiedName(), attribute.value()}))
                    return false;
            }
            if (rootOnly && depth > 1)
                break;
            QDomElement element = parsed.createElement(shared(reader.qualifiedName()));
            for (const QXmlStreamAttribute &attribute : attributes)
                element.setAttributeNode(attributeNode(shared(attribute.qualifiedName()),
                                                       shared(attribute.value())));
            if (order)
                order->add(element, attributes);
            if (!open.isEmpty() && !open.last().hasElement) {
                for (const QDomNode &blank : std::as_const(open.last().blanks))
                    current.removeChild(blank);
                open.last().blanks.clear();
                open.last().hasElement = true;
            }
            open.append(Open());
            current = current.appendChild(element);
            break;
        }
        case QXmlStreamReader::EndElement:
            if (!rootOnly || depth == 1) {
                current = current.parentNode();
                open.removeLast();
            }
            --depth;
            break;
        case QXmlStreamReader::Characters: {
            if (holdsHalfPair({reader.text()}))
                return false;
            if (rootOnly)
                break;
            const bool blank = reader.isWhitespace() || isBlank(reader.text());
            if (blank && (open.isEmpty() || open.last().hasElement))
                break;
            const QString text = reader.text().toString();
            const QDomNode node = current.appendChild(
                reader.isCDATA() ? QDomNode(parsed.createCDATASection(text))
                                 : QDomNode(parsed.createTextNode(text)));
            if (blank)
                open.last().blanks.append(node);
            break;
        }
        case QXmlStreamReader::Comment:
            if (holdsHalfPair({reader.text()}))
                return false;
            if (current.isNull())
                prolog.append({true, QString(), reader.text().toString()});
            else if (!rootOnly)
                current.appendChild(parsed.createComment(reader.text().toString()));
            break;
        case QXmlStreamReader::ProcessingInstruction:
            if (hasControlCharacter(reader.processingInstructionTarget())) {
                *error = tr("the document has a name with a control character in it (line %1)")
                             .arg(reader.lineNumber());
                return false;
            }
            if (holdsHalfPair(
                    {reader.processingInstructionTarget(), reader.processingInstructionData()}))
                return false;
            if (current.isNull()) {
                prolog.append({false, reader.processingInstructionTarget().toString(),
                               reader.processingInstructionData().toString()});
            } else if (!rootOnly) {
                current.appendChild(parsed.createProcessingInstruction(
                    reader.processingInstructionTarget().toString(),
                    reader.processingInstructionData().toString()));
            }
            break;
        case QXmlStreamReader::EntityReference:
            // Only a document with an external document type gets here: no entity that
            // the editor could see is declared, and a reference would silently drop text.
            *error = tr("the document refers to an entity that it does not declare");
            return false;
        default:
            break;
        }
    }
    if (reader.hasError()) {
        *error = tr("%1 (line %2, column %3)")
                     .arg(reader.errorString())
                     .arg(reader.lineNumber())
                     .arg(reader.columnNumber());
        return false;
    }
    if (order)
        order->finish();
    *document = parsed;
    return true;
}

QDomElement QAXmlEditor::getRootElement(const QString &path)
{
    m_lastError.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_lastError = file.errorString();
        return QDomElement();
    }
    QDomDocument document;
    QAAttributeOrder order;
    if (!parseDocument(&file, &document, &m_lastError, &order)) {
        qWarning("%s: %s", qPrintable(path), qPrintable(m_lastError));
        return QDomElement();
    }
    m_attributeOrder = std::move(order);
    m_document = document;
    m_root = m_document.documentElement();
    return m_root;
}
