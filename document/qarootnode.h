#pragma once

#include "document/qavmreditornode.h"

/** The node of the "VMR" root element: the port's name, renamed in place. */
class QARootNode : public QAVmrEditorNode
{
public:
    QARootNode(QTreeWidget *view, const QDomElement &element);
    ~QARootNode() override;

    QMenu *createPopupMenu() override;
    QAVmrViewer *createViewer(QWidget *parent, QAVmrDocBrowser *doc) override;
};
