#pragma once

#include "document/qavmreditornode.h"

/** The "IS" section: one settings table per language family below it. */
class QAIsNode : public QAFormNode
{
public:
    QAIsNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element)
        : QAFormNode(parent, after, element, CommentForm) {}

    bool buildChild(QAVmrEditorNode *parent, QDomElement &element) override;
};
