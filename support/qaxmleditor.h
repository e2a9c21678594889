#pragma once

#include "support/qaattributeorder.h"

#include <QDomDocument>
#include <QDomElement>
#include <QWidget>

class QAXmlEditorNode;

/**
 * A widget that holds one parsed XML document and its root element. Parsing is
 * guarded: a document that declares entities (the "billion laughs" shape or an
 * external entity) or refers to an entity that nothing declares is refused, so no
 * file but the document itself is ever read and no text is silently dropped; so is a
 * document nested deeper than any port description, which would exhaust the stack.
 * Beside the document it keeps the order in which the file gave each element's
 * attributes, which a save follows.
 */
class QAXmlEditor : public QWidget
{
    Q_OBJECT

public:
    explicit QAXmlEditor(QWidget *parent = nullptr);
    ~QAXmlEditor() override;

    /** Parses the file and keeps it as the document; a null element when it fails. */
    QDomElement getRootElement(const QString &path);
    QDomDocument document() const { return m_document; }
    QDomElement rootElement() const { return m_root; }
    /** Drops the document. */
    void resetDocument();
    /** Why the last getRootElement failed, with the line and column where it applies. */
    QString lastError() const { return m_lastError; }

    /**
     * The order in which the elements of the document that node belongs to had their
     * attributes in the file; null when no editor holds that document.
     */
    static const QAAttributeOrder *attributeOrderOf(const QDomNode &node);

    /** Parses without keeping anything; used by the editor and by the file commands. */
    static bool parseDocument(QIODevice *device, QDomDocument *document, QString *error);
    /** Parses and notes the order of each element's attributes into order. */
    static bool parseDocument(QIODevice *device, QDomDocument *document, QString *error,
                              QAAttributeOrder *order);
    /**
     * Checks the whole document as parseDocument does but keeps only the root element
     * and its attributes: enough to tell which port a file on disk holds without a
     * second copy of a large document beside the open one.
     */
    static bool parseRoot(QIODevice *device, QDomDocument *document, QString *error);
    /** The deepest nesting of elements that parseDocument accepts. */
    static int maxDepth();

    virtual bool buildTree(QDomElement &root) = 0;
    virtual void commitEdit(QAXmlEditorNode *node) = 0;
    virtual void showViewer(QAXmlEditorNode *node) = 0;
    virtual void nodeClicked() = 0;

protected:
    QDomDocument m_document;
    QDomElement m_root;
    QString m_lastError;

private:
    static bool parse(QIODevice *device, QDomDocument *document, QString *error,
                      QAAttributeOrder *order, bool rootOnly);

    // Metadata of m_document, replaced and dropped with it.
    QAAttributeOrder m_attributeOrder;
};
