#include "support/qaxmleditor.h"

#include <QCoreApplication>
#include <QFile>
#include <QXmlStreamReader>

QAXmlEditor::QAXmlEditor(QWidget *parent)
    : QWidget(parent)
{
}

QAXmlEditor::~QAXmlEditor() = default;

void QAXmlEditor::resetDocument()
{
    m_root = QDomElement();
    m_document = QDomDocument();
}

static QString tr(const char *text)
{
    return QCoreApplication::translate("QAXmlEditor", text);
}

// Reads the prolog only: entity declarations live there, and refusing them before the
// DOM parser sees the body keeps expansion bombs and external reads out entirely.
static bool prologIsSafe(QIODevice *device, QString *error)
{
    QXmlStreamReader reader(device);
    while (!reader.atEnd()) {
        const QXmlStreamReader::TokenType token = reader.readNext();
        if (token == QXmlStreamReader::DTD) {
            if (!reader.entityDeclarations().isEmpty()) {
                *error = tr("the document declares entities, which this editor does not accept");
                return false;
            }
        } else if (token == QXmlStreamReader::StartElement
                   || token == QXmlStreamReader::EntityReference) {
            break;
        }
    }
    // A body error is left to the DOM parser, which reports it with its position.
    if (reader.hasError() && reader.error() != QXmlStreamReader::PrematureEndOfDocumentError
        && reader.tokenType() == QXmlStreamReader::Invalid && reader.lineNumber() <= 1
        && reader.characterOffset() == 0) {
        *error = reader.errorString();
        return false;
    }
    return true;
}

static bool hasEntityReference(const QDomNode &root)
{
    // Iterative walk: documents can be deep, and the stack must not be the limit.
    QDomNode node = root;
    while (!node.isNull()) {
        if (node.isEntityReference())
            return true;
        QDomNode next = node.firstChild();
        if (next.isNull()) {
            while (!node.isNull() && node != root && node.nextSibling().isNull())
                node = node.parentNode();
            if (node.isNull() || node == root)
                break;
            next = node.nextSibling();
        }
        node = next;
    }
    return false;
}

bool QAXmlEditor::parseDocument(QIODevice *device, QDomDocument *document, QString *error)
{
    QString message;
    if (!prologIsSafe(device, &message)) {
        *error = message;
        return false;
    }
    device->seek(0);
    int line = 0;
    int column = 0;
    QDomDocument parsed;
    if (!parsed.setContent(device, &message, &line, &column)) {
        *error = tr("%1 (line %2, column %3)").arg(message).arg(line).arg(column);
        return false;
    }
    if (hasEntityReference(parsed)) {
        *error = tr("the document refers to an entity that it does not declare");
        return false;
    }
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
    if (!parseDocument(&file, &document, &m_lastError)) {
        qWarning("%s: %s", qPrintable(path), qPrintable(m_lastError));
        return QDomElement();
    }
    m_document = document;
    m_root = m_document.documentElement();
    return m_root;
}
