#include "document/qaparsernode.h"

#include "viewers/qafreetext.h"
#include "viewers/qavmrviewer.h"

#include <QStringList>

bool QAParserNode::buildChild(QAVmrEditorNode *parent, QDomElement &element)
{
    static const QStringList adaSettings = {
        QStringLiteral("STANDARDA83"), QStringLiteral("STANDARDA95"),
        QStringLiteral("SYSTEMADA83"), QStringLiteral("SYSTEMADA95"),
        QStringLiteral("JTESTXML"),    QStringLiteral("PCOPP")};

    QTreeWidgetItem *under = buildParent(parent);
    QTreeWidgetItem *last = nullptr;
    bool result = true;
    // The settings live in the section's second child node, whatever its tag; the first
    // child node is never one of them.
    const QDomNode container = element.firstChild().nextSibling();
    for (QDomNode n = container.firstChild(); !n.isNull(); n = n.nextSibling()) {
        if (!n.isElement())
            continue;
        QDomElement child = n.toElement();
        const QString tag = child.tagName();
        if (tag == QLatin1String("PC_ORB")) {
            appendNode<QAPcOrbNode>(under, last, child);
        } else if (tag == QLatin1String("PC_EDG")) {
            auto *node = appendNode<QAPcEdgNode>(under, last, child);
            result = node->buildChild(node, child);
        } else if (adaSettings.contains(tag)) {
            appendNode<QAPcAdaNode>(under, last, child);
        }
    }
    return result;
}

QAPcOrbNode::QAPcOrbNode(QTreeWidgetItem *parent, QTreeWidgetItem *after,
                         const QDomElement &element)
    : QAVmrEditorNode(parent, after, element)
{
    const QDomNode first = element.firstChild();
    if (!first.isElement())
        return;
    m_ownElement = first.toElement();
    setText(0, QAVmrViewer::translatedLabel(m_ownElement.attribute(QStringLiteral("Label"))));
    setExpanded(true);
}

QAPcOrbNode::~QAPcOrbNode() = default;

QAVmrViewer *QAPcOrbNode::createViewer(QWidget *parent, QAVmrDocBrowser *doc)
{
    // Without an element of its own there is nothing to edit, so no viewer.
    return makeViewer<QAFreeText>(parent, doc);
}

bool QAPcEdgNode::buildChild(QAVmrEditorNode *parent, QDomElement &element)
{
    QTreeWidgetItem *under = buildParent(parent);
    QTreeWidgetItem *last = nullptr;
    for (QDomNode n = element.firstChild(); !n.isNull(); n = n.nextSibling()) {
        if (n.isElement()
            && (n.nodeName() == QLatin1String("PCOPP") || n.nodeName() == QLatin1String("PCHPP")))
            appendNode<QAPcOtNode>(under, last, n.toElement());
    }
    return true;
}

