#pragma once

#include "document/qavmreditornode.h"

/** The "PARSERCONF" section: the parser's settings, held in its second child. */
class QAParserNode : public QAFormNode
{
public:
    QAParserNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element)
        : QAFormNode(parent, after, element, CommentForm) {}

    bool buildChild(QAVmrEditorNode *parent, QDomElement &element) override;
};

/**
 * The "PC_ORB" setting. The node stands for the first child element of "PC_ORB": its
 * label and its free text are that element's.
 */
class QAPcOrbNode : public QAVmrEditorNode
{
public:
    QAPcOrbNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element);
    ~QAPcOrbNode() override;

    using QAVmrEditorNode::data;
    QDomElement data() const override { return m_ownElement; }
    QAVmrViewer *createViewer(QWidget *parent, QAVmrDocBrowser *doc) override;

protected:
    QDomElement &viewedElement() override { return m_ownElement; }

private:
    QDomElement m_ownElement;
};

/** The "PC_EDG" setting: its "PCOPP" and "PCHPP" free texts below it. */
class QAPcEdgNode : public QAFormNode
{
public:
    QAPcEdgNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element)
        : QAFormNode(parent, after, element, CommentForm) {}

    bool buildChild(QAVmrEditorNode *parent, QDomElement &element) override;
};

/** A free text of the "PC_EDG" setting ("PCOPP", "PCHPP"). */
class QAPcOtNode : public QAFormNode
{
public:
    QAPcOtNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element)
        : QAFormNode(parent, after, element, FreeTextForm) {}
};

/** A free-text parser setting ("STANDARDA83", "JTESTXML", "PCOPP", ...). */
class QAPcAdaNode : public QAFormNode
{
public:
    QAPcAdaNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element)
        : QAFormNode(parent, after, element, FreeTextForm) {}
};
