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
    // "After none" means first, as in the tree views the nodes were designed for. Nodes
    // mostly come after the last child (a document is built in its order, a file is
    // appended): that place is known without searching the siblings.
    const int count = parent->childCount();
    int index = 0;
    if (after)
        index = count > 0 && parent->child(count - 1) == after ? count
                                                               : parent->indexOfChild(after) + 1;
    parent->insertChild(index, this);
}

QAXmlEditorNode::QAXmlEditorNode(QTreeWidgetItem *parent, const QDomElement &element, int type)
    : QTreeWidgetItem(parent, type)
    , m_element(element)
{
}

QAXmlEditorNode::~QAXmlEditorNode() = default;
