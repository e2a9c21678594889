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

bool QABuildNode::isNodeTag(const QString &tag)
{
    return stepTags().contains(tag) || tag == QLatin1String("NEWCMDFILE")
        || tag == QLatin1String("NEWBINFILE");
}

QAVmrEditorNode *QABuildNode::makeNode(QTreeWidgetItem *section, const QDomElement &element)
{
    QTreeWidgetItem *last = section->childCount() > 0
        ? section->child(section->childCount() - 1)
        : nullptr;
    const QString tag = element.tagName();
    if (stepTags().contains(tag))
        return appendNode<QAPerlNode>(section, last, element);
    if (tag == QLatin1String("NEWCMDFILE"))
        return appendNode<QACmdFileNode>(section, last, element);
    if (tag == QLatin1String("NEWBINFILE"))
        return appendNode<QABinFileNode>(section, last, element);
    return nullptr;
}

bool QABuildNode::buildChild(QAVmrEditorNode *parent, QDomElement &element)
{
    QTreeWidgetItem *under = buildParent(parent);
    for (QDomElement e = element.firstChildElement(); !e.isNull(); e = e.nextSiblingElement())
        makeNode(under, e);
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
