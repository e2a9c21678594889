#pragma once

#include "document/qavmreditornode.h"

/** A section of the library configuration ("IO", "HEAP", ...): choices, items, functions. */
class QALCCommentNode : public QAVmrEditorNode
{
public:
    QALCCommentNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element);
    ~QALCCommentNode() override;

    bool buildChild(QAVmrEditorNode *parent, QDomElement &element) override;
    QAVmrViewer *createViewer(QWidget *parent, QAVmrDocBrowser *doc) override;
};

/** A sub-section ("SYSTEM_TESTING", "OBSERVATIONS", "COMMENT_PAGE"): choices and items. */
class QALCComment2Node : public QAVmrEditorNode
{
public:
    QALCComment2Node(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element);
    ~QALCComment2Node() override;

    bool buildChild(QAVmrEditorNode *parent, QDomElement &element) override;
    QAVmrViewer *createViewer(QWidget *parent, QAVmrDocBrowser *doc) override;
};

/** A free text written as it stands into the generated library. */
class QALCFreeTextNode : public QAVmrEditorNode
{
public:
    QALCFreeTextNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element);
    ~QALCFreeTextNode() override;

    QAVmrViewer *createViewer(QWidget *parent, QAVmrDocBrowser *doc) override;
};

/** An item page: a list of macro fields. */
class QALCItemNode : public QAVmrEditorNode
{
public:
    QALCItemNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element);
    ~QALCItemNode() override;

    QAVmrViewer *createViewer(QWidget *parent, QAVmrDocBrowser *doc) override;
};

/** A choice between variants, each with its tabs of functions or items. */
class QALCChoiceNode : public QAVmrEditorNode
{
public:
    QALCChoiceNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element);
    ~QALCChoiceNode() override;

    QAVmrViewer *createViewer(QWidget *parent, QAVmrDocBrowser *doc) override;
};

/** A private input/output or clock function of the library. */
class QALCFctNode : public QAVmrEditorNode
{
public:
    QALCFctNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element);
    ~QALCFctNode() override;

    QAVmrViewer *createViewer(QWidget *parent, QAVmrDocBrowser *doc) override;
};

/** The Java specifics ("CUSTOMJAVA"): imports and choices. */
class QAJavaCustom : public QAVmrEditorNode
{
public:
    QAJavaCustom(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element);
    ~QAJavaCustom() override;

    bool buildChild(QAVmrEditorNode *parent, QDomElement &element) override;
    QAVmrViewer *createViewer(QWidget *parent, QAVmrDocBrowser *doc) override;
};

/** The JVMPI specifics ("CUSTOMJVMPI"): free texts and choices. */
class QAJvmpiCustom : public QAVmrEditorNode
{
public:
    QAJvmpiCustom(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element);
    ~QAJvmpiCustom() override;

    bool buildChild(QAVmrEditorNode *parent, QDomElement &element) override;
    QAVmrViewer *createViewer(QWidget *parent, QAVmrDocBrowser *doc) override;
};
