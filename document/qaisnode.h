#pragma once

#include "document/qavmreditornode.h"

/** The "IS" section: one settings table per language family below it. */
class QAIsNode : public QAVmrEditorNode
{
public:
    QAIsNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element);
    ~QAIsNode() override;

    bool buildChild(QAVmrEditorNode *parent, QDomElement &element) override;
    QAVmrViewer *createViewer(QWidget *parent, QAVmrDocBrowser *doc) override;
};
