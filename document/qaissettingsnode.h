#pragma once

#include "document/qavmreditornode.h"

/** One settings table ("IS_C" ... "IS_ALL"), edited as a table of keys and values. */
class QAIsSettingsNode : public QAVmrEditorNode
{
public:
    QAIsSettingsNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element);
    QAIsSettingsNode(QTreeWidgetItem *parent, const QDomElement &element);
    ~QAIsSettingsNode() override;

    QAVmrViewer *createViewer(QWidget *parent, QAVmrDocBrowser *doc) override;
};
