#pragma once

#include "document/qavmreditornode.h"

/**
 * The "LIBCONF" section: the runtime library's configuration. It shows the children of
 * one configuration element, "LIBCONFC", else "LIBCONFA", else "LIBCONFJAVA".
 */
class QALibConfNode : public QAFormNode
{
public:
    QALibConfNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element)
        : QAFormNode(parent, after, element, CommentForm) {}

    bool buildChild(QAVmrEditorNode *parent, QDomElement &element) override;

    /** The configuration element that the section shows; null when there is none. */
    static QDomElement configurationElement(const QDomElement &libconf);
};
