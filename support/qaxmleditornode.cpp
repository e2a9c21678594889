#include "support/qaxmleditornode.h"

QAXmlEditorNode::QAXmlEditorNode(QTreeWidget *view, const QDomElement &element, int type)
    : QTreeWidgetItem(view, type)
    , m_element(element)
{
}

QAXmlEditorNode::QAXmlEditorNode(QTreeWidgetItem *parent, QTreeWidgetItem *after,
                                 const QDomElement &element, int type)
    : QTreeWidgetItem(type)
    , m_element(element)
{
    // "After none" means first, as in the tree views the nodes were designed for.
    parent->insertChild(after ? parent->indexOfChild(after) + 1 : 0, this);
}

QAXmlEditorNode::QAXmlEditorNode(QTreeWidgetItem *parent, const QDomElement &element, int type)
    : QTreeWidgetItem(parent, type)
    , m_element(element)
{
}

QAXmlEditorNode::~QAXmlEditorNode() = default;
