#pragma once

#include "document/qavmreditornode.h"

/** A section of the library configuration ("IO", "HEAP", ...): choices, items, functions. */
class QALCCommentNode : public QAFormNode
{
public:
    QALCCommentNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element)
        : QAFormNode(parent, after, element, CommentForm) {}

    bool buildChild(QAVmrEditorNode *parent, QDomElement &element) override;
};

/** A sub-section ("SYSTEM_TESTING", "OBSERVATIONS", "COMMENT_PAGE"): choices and items. */
class QALCComment2Node : public QAFormNode
{
public:
    QALCComment2Node(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element)
        : QAFormNode(parent, after, element, CommentForm) {}

    bool buildChild(QAVmrEditorNode *parent, QDomElement &element) override;
};

/** A free text written as it stands into the generated library. */
class QALCFreeTextNode : public QAFormNode
{
public:
    QALCFreeTextNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element)
        : QAFormNode(parent, after, element, FreeTextForm) {}
};

/** An item page: a list of macro fields. */
class QALCItemNode : public QAFormNode
{
public:
    QALCItemNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element)
        : QAFormNode(parent, after, element, ItemForm) {}
};

/** A choice between variants, each with its tabs of functions or items. */
class QALCChoiceNode : public QAFormNode
{
public:
    QALCChoiceNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element)
        : QAFormNode(parent, after, element, ChoiceForm) {}
};

/** A private input/output or clock function of the library. */
class QALCFctNode : public QAFormNode
{
public:
    QALCFctNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element)
        : QAFormNode(parent, after, element, FunctionForm) {}
};

/** The Java specifics ("CUSTOMJAVA"): imports and choices. */
class QAJavaCustom : public QAFormNode
{
public:
    QAJavaCustom(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element)
        : QAFormNode(parent, after, element, CommentForm) {}

    bool buildChild(QAVmrEditorNode *parent, QDomElement &element) override;
};

/** The JVMPI specifics ("CUSTOMJVMPI"): free texts and choices. */
class QAJvmpiCustom : public QAFormNode
{
public:
    QAJvmpiCustom(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element)
        : QAFormNode(parent, after, element, CommentForm) {}

    bool buildChild(QAVmrEditorNode *parent, QDomElement &element) override;
};
