#include "document/qaissettingsnode.h"

#include "viewers/qaisviewer.h"

QAIsSettingsNode::QAIsSettingsNode(QTreeWidgetItem *parent, QTreeWidgetItem *after,
                                   const QDomElement &element)
    : QAVmrEditorNode(parent, after, element)
{
    leafLabelSetup();
}

QAIsSettingsNode::QAIsSettingsNode(QTreeWidgetItem *parent, const QDomElement &element)
    : QAVmrEditorNode(parent, element)
{
    leafLabelSetup();
}

QAIsSettingsNode::~QAIsSettingsNode() = default;

QAVmrViewer *QAIsSettingsNode::createViewer(QWidget *parent, QAVmrDocBrowser *doc)
{
    return makeViewer<QAIsViewer>(parent, doc);
}
