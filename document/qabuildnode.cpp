#include "document/qabuildnode.h"

#include "document/qavmreditortree.h"

#include <QCoreApplication>
#include <QMenu>

namespace {

// "Ascii File" and "Binary File" in a sub-menu called title.
void addFileMenu(QMenu *menu, const QString &title, QAVmrEditorTree *tree,
                 void (QAVmrEditorTree::*ascii)(), void (QAVmrEditorTree::*binary)())
{
    QMenu *sub = menu->addMenu(title);
    tree->addCommand(sub, QCoreApplication::translate("QABuildNode", "Ascii File"), ascii);
    tree->addCommand(sub, QCoreApplication::translate("QABuildNode", "Binary File"), binary);
}

void addAppendMenu(QMenu *menu, QAVmrEditorTree *tree)
{
    addFileMenu(menu, QCoreApplication::translate("QABuildNode", "A&ppend"), tree,
                &QAVmrEditorTree::appendAsciiFile, &QAVmrEditorTree::appendBinaryFile);
}

QMenu *fileMenu(QAVmrEditorTree *tree)
{
    if (!tree)
        return nullptr;
    auto *menu = new QMenu(tree);
    addAppendMenu(menu, tree);
    menu->addSeparator();
    tree->addCommand(menu, QCoreApplication::translate("QABuildNode", "&Delete"),
                     &QAVmrEditorTree::deleteSelectedNode);
    tree->addCommand(menu, QCoreApplication::translate("QABuildNode", "&Rename"),
                     &QAVmrEditorTree::startEdit);
    return menu;
}

} // namespace

const QStringList &QABuildNode::stepTags()
{
    static const QStringList steps = {
        QStringLiteral("ASSEMBLER"),  QStringLiteral("COMPILATION"),
        QStringLiteral("PREPROCESSING"), QStringLiteral("LIBRARY"),
        QStringLiteral("LINK"),       QStringLiteral("EXECUTE"),
        QStringLiteral("EXECUTEDBG"), QStringLiteral("VMRPERLFUNC")};
    return steps;
}

QMenu *QABuildNode::createPopupMenu()
{
    QAVmrEditorTree *tree = editorTree();
    if (!tree)
        return nullptr;
    auto *menu = new QMenu(tree);
    addFileMenu(menu, QCoreApplication::translate("QABuildNode", "&Add Child"), tree,
                &QAVmrEditorTree::addChildAsciiFile, &QAVmrEditorTree::addChildBinaryFile);
    return menu;
}

bool QABuildNode::buildChild(QAVmrEditorNode *parent, QDomElement &element)
{
    QTreeWidgetItem *under = buildParent(parent);
    QTreeWidgetItem *last = nullptr;
    for (QDomNode n = element.firstChild(); !n.isNull(); n = n.nextSibling()) {
        if (!n.isElement())
            continue;
        const QString tag = n.nodeName();
        if (stepTags().contains(tag))
            appendNode<QAPerlNode>(under, last, n.toElement());
        else if (tag == QLatin1String("NEWCMDFILE"))
            appendNode<QACmdFileNode>(under, last, n.toElement());
        else if (tag == QLatin1String("NEWBINFILE"))
            appendNode<QABinFileNode>(under, last, n.toElement());
    }
    return true;
}

QMenu *QAPerlNode::createPopupMenu()
{
    QAVmrEditorTree *tree = editorTree();
    if (!tree)
        return nullptr;
    auto *menu = new QMenu(tree);
    addAppendMenu(menu, tree);
    return menu;
}

QMenu *QAFileNode::createPopupMenu()
{
    return fileMenu(editorTree());
}
