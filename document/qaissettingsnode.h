#pragma once

#include "document/qavmreditornode.h"

/** One settings table ("IS_C" ... "IS_ALL"), edited as a table of keys and values. */
class QAIsSettingsNode : public QAFormNode
{
public:
    QAIsSettingsNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element)
        : QAFormNode(parent, after, element, SettingsForm) {}
    QAIsSettingsNode(QTreeWidgetItem *parent, const QDomElement &element)
        : QAFormNode(parent, element, SettingsForm) {}
};
