#include "document/qaisnode.h"

#include "document/qaissettingsnode.h"

#include <QStringList>

bool QAIsNode::buildChild(QAVmrEditorNode *parent, QDomElement &element)
{
    static const QStringList tables = {
        QStringLiteral("IS_C"),   QStringLiteral("IS_CPP"),  QStringLiteral("IS_A"),
        QStringLiteral("IS_A83"), QStringLiteral("IS_JAVA"), QStringLiteral("IS_ALL")};
    QTreeWidgetItem *under = buildParent(parent);
    QTreeWidgetItem *last = nullptr;
    for (QDomNode n = element.firstChild(); !n.isNull(); n = n.nextSibling()) {
        if (n.isElement() && tables.contains(n.nodeName()))
            appendNode<QAIsSettingsNode>(under, last, n.toElement());
    }
    return true;
}

