#include "support/qaxmledits.h"

#include <QDomDocument>
#include <QDomText>
#include <QHash>

namespace {

// The DOM gives its nodes no identity but their handles' shared data.
class NodeIdentity : public QDomNode
{
public:
    explicit NodeIdentity(const QDomNode &node)
        : QDomNode(node)
    {
    }
    const void *key() const { return impl; }
};

const void *documentKey(const QDomNode &node)
{
    return NodeIdentity(node.isDocument() ? node : node.ownerDocument()).key();
}

QHash<const void *, QAXmlEdits *> &editsByDocument()
{
    static QHash<const void *, QAXmlEdits *> edits;
    return edits;
}

} // namespace

QAXmlEdits::QAXmlEdits(QObject *parent)
    : QObject(parent)
{
}

QAXmlEdits::~QAXmlEdits()
{
    attach(QDomDocument());
}

QAXmlEdits *QAXmlEdits::of(const QDomNode &node)
{
    // A document nobody edits is written straight away: one set of such edits for all.
    static QAXmlEdits direct;
    return editsByDocument().value(documentKey(node), &direct);
}

void QAXmlEdits::attach(const QDomDocument &document)
{
    if (m_document && editsByDocument().value(m_document) == this)
        editsByDocument().remove(m_document);
    m_document = document.isNull() ? nullptr : documentKey(document);
    if (m_document)
        editsByDocument().insert(m_document, this);
}

const void *QAXmlEdits::identity(const QDomNode &node)
{
    return NodeIdentity(node).key();
}

QDomNode QAXmlEdits::textParent(const QDomElement &element, int depth)
{
    QDomNode node = element;
    for (int i = 1; i < depth && !node.isNull(); ++i)
        node = node.toElement().firstChild();
    return node.isElement() ? node : QDomNode();
}

QDomElement QAXmlEdits::childElement(const QDomNode &parent, const QString &tag)
{
    return parent.isNull() ? QDomElement() : parent.firstChildElement(tag);
}

QString QAXmlEdits::childText(const QDomElement &element, const QString &tag, int depth)
{
    // A CDATA section counts as text; toText() covers both kinds.
    const QDomText first = childElement(textParent(element, depth), tag).firstChild().toText();
    return first.isNull() ? QStringLiteral("") : first.data();
}

void QAXmlEdits::setChildText(const QDomElement &element, const QString &tag, const QString &text,
                              int depth)
{
    QDomNode parent = textParent(element, depth);
    QDomDocument document = element.ownerDocument();
    if (parent.isNull() || document.isNull())
        return;
    QDomElement child = childElement(parent, tag);
    if (child.isNull())
        child = parent.appendChild(document.createElement(tag)).toElement();
    QDomText first = child.firstChild().toText();
    // The new text goes first so that it is what childText reads back.
    if (first.isNull())
        child.insertBefore(document.createTextNode(text), child.firstChild());
    else
        first.setData(text);
    emit changed(QAXmlChange::text(element, tag, depth));
}

void QAXmlEdits::replaceChildText(const QDomElement &element, const QString &tag, int position,
                                  int removed, const QString &added)
{
    QDomText text = childElement(element, tag).firstChild().toText();
    if (text.isNull())
        return;
    text.replaceData(position, removed, added);
    emit changed(QAXmlChange::part(element, tag, position, removed, int(added.size())));
}

void QAXmlEdits::setAttribute(const QDomElement &element, const QString &name,
                              const QString &value, bool)
{
    QDomElement target = element;
    target.setAttribute(name, value);
    emit changed(QAXmlChange::attribute(element, name));
}

void QAXmlEdits::setSavedAttribute(const QDomElement &element, const QString &name,
                                   const QString &value)
{
    QDomElement target = element;
    target.setAttribute(name, value);
    emit changed(QAXmlChange::attribute(element, name));
}

void QAXmlEdits::insertElement(const QDomElement &parent, const QDomElement &child,
                               const QDomNode &before)
{
    QDomElement target = parent;
    if (before.isNull())
        target.appendChild(child);
    else
        target.insertBefore(child, before);
    emit changed(QAXmlChange::children(parent, child));
}

void QAXmlEdits::removeElement(const QDomElement &child)
{
    QDomElement parent = child.parentNode().toElement();
    parent.removeChild(child);
    emit changed(QAXmlChange::children(parent, child));
}

void QAXmlEdits::moveElement(const QDomElement &child, const QDomNode &before)
{
    QDomElement parent = child.parentNode().toElement();
    if (before.isNull())
        parent.appendChild(child);
    else
        parent.insertBefore(child, before);
    emit changed(QAXmlChange::children(parent, child));
}

void QAXmlEdits::beginGroup(const QString &)
{
}

void QAXmlEdits::endGroup()
{
}
