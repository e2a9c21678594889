#include "document/qabuildnode.h"

#include "document/qavmreditortree.h"
#include "viewers/qacommentviewer.h"
#include "viewers/qafctviewer.h"
#include "viewers/qafreetext.h"

#include <QCoreApplication>
#include <QMenu>

namespace {

// "Ascii File" and "Binary File" in a sub-menu called title.
void addFileMenu(QMenu *menu, const QString &title, QAVmrEditorTree *tree,
                 void (QAVmrEditorTree::*ascii)(), void (QAVmrEditorTree::*binary)())
{
    QMenu *sub = menu->addMenu(title);
    QAction *asciiFile = sub->addAction(QCoreApplication::translate("QABuildNode", "Ascii File"));
    QObject::connect(asciiFile, &QAction::triggered, tree, ascii);
    QAction *binaryFile =
        sub->addAction(QCoreApplication::translate("QABuildNode", "Binary File"));
    QObject::connect(binaryFile, &QAction::triggered, tree, binary);
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
    QAction *remove = menu->addAction(QCoreApplication::translate("QABuildNode", "&Delete"));
    QObject::connect(remove, &QAction::triggered, tree, &QAVmrEditorTree::deleteSelectedNode);
    QAction *rename = menu->addAction(QCoreApplication::translate("QABuildNode", "&Rename"));
    QObject::connect(rename, &QAction::triggered, tree, &QAVmrEditorTree::startEdit);
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

QABuildNode::QABuildNode(QTreeWidgetItem *parent, QTreeWidgetItem *after,
                         const QDomElement &element)
    : QAVmrEditorNode(parent, after, element)
{
    branchLabelSetup();
    m_steps = stepTags();
}

QABuildNode::~QABuildNode() = default;

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
        if (m_steps.contains(tag))
            appendNode<QAPerlNode>(under, last, n.toElement());
        else if (tag == QLatin1String("NEWCMDFILE"))
            appendNode<QACmdFileNode>(under, last, n.toElement());
        else if (tag == QLatin1String("NEWBINFILE"))
            appendNode<QABinFileNode>(under, last, n.toElement());
    }
    return true;
}

QAVmrViewer *QABuildNode::createViewer(QWidget *parent, QAVmrDocBrowser *doc)
{
    return makeViewer<QACommentViewer>(parent, doc);
}

QAPerlNode::QAPerlNode(QTreeWidgetItem *parent, QTreeWidgetItem *after,
                       const QDomElement &element)
    : QAVmrEditorNode(parent, after, element)
{
    leafLabelSetup();
}

QAPerlNode::~QAPerlNode() = default;

QMenu *QAPerlNode::createPopupMenu()
{
    QAVmrEditorTree *tree = editorTree();
    if (!tree)
        return nullptr;
    auto *menu = new QMenu(tree);
    addAppendMenu(menu, tree);
    return menu;
}

QAVmrViewer *QAPerlNode::createViewer(QWidget *parent, QAVmrDocBrowser *doc)
{
    return makeViewer<QAFctViewer>(parent, doc);
}

QACmdFileNode::QACmdFileNode(QTreeWidgetItem *parent, QTreeWidgetItem *after,
                             const QDomElement &element)
    : QAVmrEditorNode(parent, after, element, AsciiFileRtti)
{
    nameSetup();
}

QACmdFileNode::~QACmdFileNode() = default;

void QACmdFileNode::startRename(int column)
{
    QAVmrEditorNode::startRename(column);
    markTreeModified();
}

void QACmdFileNode::okRename(int column)
{
    QAVmrEditorNode::okRename(column);
    storeName(column);
}

QMenu *QACmdFileNode::createPopupMenu()
{
    return fileMenu(editorTree());
}

QAVmrViewer *QACmdFileNode::createViewer(QWidget *parent, QAVmrDocBrowser *doc)
{
    return makeViewer<QAFreeText>(parent, doc);
}

QABinFileNode::QABinFileNode(QTreeWidgetItem *parent, QTreeWidgetItem *after,
                             const QDomElement &element)
    : QAVmrEditorNode(parent, after, element, BinaryFileRtti)
{
    nameSetup();
}

QABinFileNode::~QABinFileNode() = default;

void QABinFileNode::startRename(int column)
{
    QAVmrEditorNode::startRename(column);
    markTreeModified();
}

void QABinFileNode::okRename(int column)
{
    QAVmrEditorNode::okRename(column);
    storeName(column);
}

QMenu *QABinFileNode::createPopupMenu()
{
    return fileMenu(editorTree());
}

QAVmrViewer *QABinFileNode::createViewer(QWidget *parent, QAVmrDocBrowser *doc)
{
    return makeViewer<QACommentViewer>(parent, doc);
}
