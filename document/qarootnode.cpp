#include "document/qarootnode.h"

#include "document/qavmreditortree.h"
#include "viewers/qacommentviewer.h"

#include <QCoreApplication>
#include <QMenu>

QARootNode::QARootNode(QTreeWidget *view, const QDomElement &element)
    : QAVmrEditorNode(view, element, RootRtti)
{
    nameSetup();
}

QARootNode::~QARootNode() = default;

QMenu *QARootNode::createPopupMenu()
{
    QAVmrEditorTree *tree = editorTree();
    if (!tree)
        return nullptr;
    auto *menu = new QMenu(tree);
    tree->addCommand(menu, QCoreApplication::translate("QARootNode", "&Rename", "popup menu"),
                     &QAVmrEditorTree::startEdit);
    return menu;
}

QAVmrViewer *QARootNode::createViewer(QWidget *parent, QAVmrDocBrowser *doc)
{
    return makeViewer<QACommentViewer>(parent, doc);
}
