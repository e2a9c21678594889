#pragma once

#include <QDomElement>
#include <QTreeWidgetItem>

class QMenu;

/** A tree item bound to one element of the document, which it never owns. */
class QAXmlEditorNode : public QTreeWidgetItem
{
public:
    QAXmlEditorNode(QTreeWidget *view, const QDomElement &element, int type = UserType);
    QAXmlEditorNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element,
                    int type = UserType);
    QAXmlEditorNode(QTreeWidgetItem *parent, const QDomElement &element, int type = UserType);
    ~QAXmlEditorNode() override;

    using QTreeWidgetItem::data;
    /** The element the node stands for. */
    virtual QDomElement data() const { return m_element; }
    /** The node's context menu, or null; the caller owns it. */
    virtual QMenu *createPopupMenu() { return nullptr; }
    virtual bool builChild(QAXmlEditorNode *, QDomElement &) { return true; }

protected:
    QDomElement m_element;
};
