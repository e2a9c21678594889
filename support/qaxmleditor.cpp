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

/**
 * Builds the DOM of a document from one pass of a stream reader, refusing on the way
 * what the editor refuses; each kind of token has its own step.
 */
class DomBuilder
{
public:
    DomBuilder(QIODevice *device, QString *error, QAAttributeOrder *order, bool rootOnly)
        : m_reader(device), m_error(error), m_order(order), m_rootOnly(rootOnly)
    {
        m_reader.setNamespaceProcessing(false);
        m_reader.setEntityResolver(&m_undeclared);
    }

    bool build(QDomDocument *document)
    {
        while (!m_reader.atEnd()) {
            bool ok = true;
            switch (m_reader.readNext()) {
            case QXmlStreamReader::DTD:
                ok = documentType();
                break;
            case QXmlStreamReader::StartElement:
                ok = startElement();
                break;
            case QXmlStreamReader::EndElement:
                endElement();
                break;
            case QXmlStreamReader::Characters:
                ok = characters();
                break;
            case QXmlStreamReader::Comment:
                ok = comment();
                break;
            case QXmlStreamReader::ProcessingInstruction:
                ok = instruction();
                break;
            case QXmlStreamReader::EntityReference:
                // Only a document with an external document type gets here: no entity
                // that the editor could see is declared, and a reference would silently
                // drop text.
                ok = refuse(QAXmlEditor::tr("the document refers to an entity that it does "
                                            "not declare"));
                break;
            default:
                break;
            }
            if (!ok)
                return false;
        }
        if (m_reader.hasError()) {
            return refuse(QAXmlEditor::tr("%1 (line %2, column %3)")
                              .arg(m_reader.errorString())
                              .arg(m_reader.lineNumber())
                              .arg(m_reader.columnNumber()));
        }
        if (m_order)
            m_order->finish();
        *document = m_parsed;
        return true;
    }

private:
    // An element still open: a text of blanks that is all it holds is what the user
    // wrote (a comment of one line break, a value of one space); between elements it is
    // only the file's layout. Which one it is shows once a child element starts or the
    // element ends, so such a text is kept until a child element starts beside it.
    struct Open
    {
        bool hasElement = false;
        QList<QDomNode> blanks;
    };

    bool refuse(const QString &reason)
    {
        *m_error = reason;
        return false;
    }
    bool refuseControlCharacter()
    {
        return refuse(QAXmlEditor::tr("the document has a name with a control character in it "
                                      "(line %1)")
                          .arg(m_reader.lineNumber()));
    }
    bool holdsHalfPair(std::initializer_list<QStringView> texts)
    {
        for (const QStringView text : texts) {
            if (const char16_t c = halfPair(text)) {
                refuse(QAXmlEditor::tr("the document holds the character U+%1, which an XML "
                                       "file cannot hold (line %2)")
                           .arg(QString::number(c, 16).toUpper(),
                                QString::number(m_reader.lineNumber())));
                return true;
            }
        }
        return false;
    }

    // The document starts with its type, or without one at its first element; the prolog
    // read so far goes in first.
    void begin(const QDomDocumentType &type)
    {
        if (!m_current.isNull())
            return;
        m_parsed = QDomDocument(type);
        for (const PrologNode &node : std::as_const(m_prolog)) {
            m_parsed.appendChild(node.comment
                                     ? QDomNode(m_parsed.createComment(node.data))
                                     : QDomNode(m_parsed.createProcessingInstruction(
                                           node.target, node.data)));
        }
        m_prolog.clear();
        m_current = m_parsed;
    }

    // Tag names, attribute names and attribute values repeat across thousands of
    // elements (Doc, Label, Sensitive, the same few keys): each is held once.
    QString shared(QStringView text)
    {
        const auto found = m_strings.constFind(text);
        if (found != m_strings.constEnd())
            return found.value();
        const QString copy = text.toString();
        // The key views the copy's data, which the value keeps alive.
        m_strings.insert(QStringView(copy), copy);
        return copy;
    }

    // An attribute given its value through the DOM also gets a text node holding the
    // same value, which nothing reads and a save does not write: nearly half of what
    // each attribute costs. A copy of an attribute without its children carries the
    // name and the value alone.
    QDomAttr attributeNode(const QString &name, const QString &value)
    {
        QDomAttr &model = m_models[name];
        if (model.isNull())
            model = m_parsed.createAttribute(name);
        model.setValue(value);
        return model.cloneNode(false).toAttr();
    }

    bool documentType()
    {
        // The reader reports a document type met inside the content as if it were the
        // prolog's; the DOM parser refuses it, and so does the editor.
        if (!m_current.isNull()) {
            return refuse(QAXmlEditor::tr("the document has a document type declaration "
                                          "inside its content (line %1)")
                              .arg(m_reader.lineNumber()));
        }
        if (!m_reader.entityDeclarations().isEmpty()) {
            return refuse(QAXmlEditor::tr("the document declares entities, which this editor "
                                          "does not accept"));
        }
        begin(QDomImplementation().createDocumentType(m_reader.dtdName().toString(),
                                                      m_reader.dtdPublicId().toString(),
                                                      m_reader.dtdSystemId().toString()));
        return true;
    }

    bool startElement()
    {
        begin(QDomDocumentType());
        if (++m_depth > kMaxDepth) {
            return refuse(QAXmlEditor::tr("the document is nested deeper than %1 levels "
                                          "(line %2)")
                              .arg(kMaxDepth)
                              .arg(m_reader.lineNumber()));
        }
        const QXmlStreamAttributes attributes = m_reader.attributes();
        if (m_undeclared.seen()) {
            return refuse(QAXmlEditor::tr("the document refers to an entity that it does not "
                                          "declare"));
        }
        bool badName = hasControlCharacter(m_reader.qualifiedName());
        for (const QXmlStreamAttribute &attribute : attributes)
            badName = badName || hasControlCharacter(attribute.qualifiedName());
        if (badName)
            return refuseControlCharacter();
        if (holdsHalfPair({m_reader.qualifiedName()}))
            return false;
        for (const QXmlStreamAttribute &attribute : attributes) {
            if (holdsHalfPair({attribute.qualifiedName(), attribute.value()}))
                return false;
        }
        if (m_rootOnly && m_depth > 1)
            return true;

        QDomElement element = m_parsed.createElement(shared(m_reader.qualifiedName()));
        for (const QXmlStreamAttribute &attribute : attributes)
            element.setAttributeNode(attributeNode(shared(attribute.qualifiedName()),
                                                   shared(attribute.value())));
        if (m_order)
            m_order->add(element, attributes);
        // A child element beside them: the blanks were the parent's layout.
        if (!m_open.isEmpty() && !m_open.last().hasElement) {
            for (const QDomNode &blank : std::as_const(m_open.last().blanks))
                m_current.removeChild(blank);
            m_open.last().blanks.clear();
            m_open.last().hasElement = true;
        }
        m_open.append(Open());
        m_current = m_current.appendChild(element);
        return true;
    }

    void endElement()
    {
        if (!m_rootOnly || m_depth == 1) {
            m_current = m_current.parentNode();
            m_open.removeLast();
        }
        --m_depth;
    }

    bool characters()
    {
        if (holdsHalfPair({m_reader.text()}))
            return false;
        if (m_rootOnly)
            return true;
        const bool blank = m_reader.isWhitespace() || isBlank(m_reader.text());
        if (blank && (m_open.isEmpty() || m_open.last().hasElement))
            return true;
        const QString text = m_reader.text().toString();
        const QDomNode node = m_current.appendChild(
            m_reader.isCDATA() ? QDomNode(m_parsed.createCDATASection(text))
                               : QDomNode(m_parsed.createTextNode(text)));
        if (blank)
            m_open.last().blanks.append(node);
        return true;
    }

    bool comment()
    {
        if (holdsHalfPair({m_reader.text()}))
            return false;
        if (m_current.isNull())
            m_prolog.append({true, QString(), m_reader.text().toString()});
        else if (!m_rootOnly)
            m_current.appendChild(m_parsed.createComment(m_reader.text().toString()));
        return true;
    }

    bool instruction()
    {
        const QStringView target = m_reader.processingInstructionTarget();
        const QStringView data = m_reader.processingInstructionData();
        if (hasControlCharacter(target))
            return refuseControlCharacter();
        if (holdsHalfPair({target, data}))
            return false;
        if (m_current.isNull())
            m_prolog.append({false, target.toString(), data.toString()});
        else if (!m_rootOnly)
            m_current.appendChild(
                m_parsed.createProcessingInstruction(target.toString(), data.toString()));
        return true;
    }

    QXmlStreamReader m_reader;
    UndeclaredEntities m_undeclared;
    QString *m_error;
    QAAttributeOrder *m_order;
    const bool m_rootOnly;

    QDomDocument m_parsed;
    QDomNode m_current;
    QList<PrologNode> m_prolog;
    QHash<QStringView, QString> m_strings;
    QHash<QString, QDomAttr> m_models;
    QList<Open> m_open;
    int m_depth = 0;
};

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
    return DomBuilder(device, error, order, rootOnly).build(document);
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
