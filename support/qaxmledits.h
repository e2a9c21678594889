#pragma once

#include <QDomElement>
#include <QObject>
#include <QString>

/** One change of a document, as its edits announce it. */
struct QAXmlChange
{
    enum Kind : unsigned char {
        Text,      // the text of the child element field of element (at depth) changed
        Attribute, // the attribute field of element changed, appeared or went
        Children   // child was inserted into element, removed from it or moved in it
    };

    static QAXmlChange text(const QDomElement &element, const QString &tag, int depth = 1)
    {
        QAXmlChange change;
        change.element = element;
        change.field = tag;
        change.depth = depth;
        return change;
    }
    /** Part of a text: removed characters at position replaced by added others. */
    static QAXmlChange part(const QDomElement &element, const QString &tag, int position,
                            int removed, int added)
    {
        QAXmlChange change = text(element, tag);
        change.position = position;
        change.removed = removed;
        change.added = added;
        return change;
    }
    static QAXmlChange attribute(const QDomElement &element, const QString &name)
    {
        QAXmlChange change = text(element, name);
        change.kind = Attribute;
        return change;
    }
    static QAXmlChange children(const QDomElement &parent, const QDomElement &child)
    {
        QAXmlChange change;
        change.kind = Children;
        change.element = parent;
        change.child = child;
        return change;
    }

    Kind kind = Text;
    QDomElement element;
    QString field;
    int depth = 1;
    // A change of part of a text: where it is, and what it replaced by what.
    int position = -1;
    int removed = 0;
    int added = 0;
    QDomElement child;
};

/**
 * The one way into an open document. Every change that a viewer, a field or the tree
 * makes goes through here, so that it can be undone, saved in the background and seen
 * by whatever shows it: each is announced by changed(). The edits of a document are
 * found from any of its nodes; a document whose edits nobody keeps (a form shown on its
 * own) is written at once, with nothing to undo.
 */
class QAXmlEdits : public QObject
{
    Q_OBJECT

public:
    explicit QAXmlEdits(QObject *parent = nullptr);
    ~QAXmlEdits() override;

    /** The edits of the document that holds node. */
    static QAXmlEdits *of(const QDomNode &node);

    /**
     * Writes the text of the child element tag of element, the one childText reads at
     * depth; a missing child element is made at the end of the element it belongs in.
     */
    virtual void setChildText(const QDomElement &element, const QString &tag, const QString &text,
                              int depth = 1);
    /**
     * Replaces removed characters at position in the text of the child element tag by
     * added: what a keystroke does to a long text. The text must exist.
     */
    virtual void replaceChildText(const QDomElement &element, const QString &tag, int position,
                                  int removed, const QString &added);
    /** typed: one keystroke of a burst of typing, which a history may keep as one step. */
    virtual void setAttribute(const QDomElement &element, const QString &name,
                              const QString &value, bool typed = false);
    /**
     * An attribute that saving writes by itself (where the port is generated, that it
     * may be written over): announced like any change, but no step of a history.
     */
    void setSavedAttribute(const QDomElement &element, const QString &name, const QString &value);
    /** Puts child into parent before before; a null before puts it last. */
    virtual void insertElement(const QDomElement &parent, const QDomElement &child,
                               const QDomNode &before = QDomNode());
    virtual void removeElement(const QDomElement &child);
    /** Moves child before before among its siblings; a null before moves it last. */
    virtual void moveElement(const QDomElement &child, const QDomNode &before);
    /** The edits until endGroup are one step, named text, of what can be undone. */
    virtual void beginGroup(const QString &text);
    virtual void endGroup();

    // The document's own primitives, which every kind of edits ends in.
    /** The node below which childText looks: element at depth 1, its first child at 2. */
    static QDomNode textParent(const QDomElement &element, int depth);
    static QDomElement childElement(const QDomNode &parent, const QString &tag);
    /** The first child of the first child element tag of element at depth, as text. */
    static QString childText(const QDomElement &element, const QString &tag, int depth = 1);
    /** What tells one node from another (the DOM's handles compare, but do not hash). */
    static const void *identity(const QDomNode &node);

signals:
    void changed(const QAXmlChange &change);

protected:
    /** From now on these are the edits of document; a null document: of none. */
    void attach(const QDomDocument &document);

private:
    const void *m_document = nullptr;
};
