#pragma once

// Helpers of the document-tree tests: documents loaded the way the main window loads
// them, an outline of the tree with each node's kind, and menus as text.

#include "document/qabuildnode.h"
#include "document/qaisnode.h"
#include "document/qaissettingsnode.h"
#include "document/qalibconfchildnodes.h"
#include "document/qalibconfnode.h"
#include "document/qaparsernode.h"
#include "document/qarootnode.h"
#include "document/qavmreditor.h"
#include "document/qavmreditortree.h"

#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QtTest>

namespace DocTest {

/** The class name of a node, or "?" for an item of no known kind. */
inline QString kindOf(QTreeWidgetItem *item)
{
#define DOC_KIND(Class)                                                                    \
    if (dynamic_cast<Class *>(item))                                                       \
        return QStringLiteral(#Class);
    DOC_KIND(QARootNode) DOC_KIND(QAIsNode) DOC_KIND(QAIsSettingsNode) DOC_KIND(QABuildNode)
    DOC_KIND(QAPerlNode) DOC_KIND(QACmdFileNode) DOC_KIND(QABinFileNode)
    DOC_KIND(QALibConfNode) DOC_KIND(QALCCommentNode) DOC_KIND(QALCComment2Node)
    DOC_KIND(QALCFreeTextNode) DOC_KIND(QALCItemNode) DOC_KIND(QALCChoiceNode)
    DOC_KIND(QALCFctNode) DOC_KIND(QAJavaCustom) DOC_KIND(QAJvmpiCustom)
    DOC_KIND(QAParserNode) DOC_KIND(QAPcOrbNode) DOC_KIND(QAPcEdgNode) DOC_KIND(QAPcOtNode)
    DOC_KIND(QAPcAdaNode)
#undef DOC_KIND
    return QStringLiteral("?");
}

/** The viewer each node kind shows in the edition area. */
inline QString viewerOfKind(const QString &kind)
{
    const QString comment = QStringLiteral("QACommentViewer");
    const QString free = QStringLiteral("QAFreeText");
    const QString fct = QStringLiteral("QAFctViewer");
    const QHash<QString, QString> viewers = {
        {QStringLiteral("QARootNode"), comment}, {QStringLiteral("QAIsNode"), comment},
        {QStringLiteral("QAIsSettingsNode"), QStringLiteral("QAIsViewer")},
        {QStringLiteral("QABuildNode"), comment}, {QStringLiteral("QAPerlNode"), fct},
        {QStringLiteral("QACmdFileNode"), free}, {QStringLiteral("QABinFileNode"), comment},
        {QStringLiteral("QALibConfNode"), comment}, {QStringLiteral("QALCCommentNode"), comment},
        {QStringLiteral("QALCComment2Node"), comment}, {QStringLiteral("QALCFreeTextNode"), free},
        {QStringLiteral("QALCItemNode"), QStringLiteral("QAItemViewer")},
        {QStringLiteral("QALCChoiceNode"), QStringLiteral("QAChoiceViewer")},
        {QStringLiteral("QALCFctNode"), fct}, {QStringLiteral("QAJavaCustom"), comment},
        {QStringLiteral("QAJvmpiCustom"), comment}, {QStringLiteral("QAParserNode"), comment},
        {QStringLiteral("QAPcOrbNode"), free}, {QStringLiteral("QAPcEdgNode"), comment},
        {QStringLiteral("QAPcOtNode"), free}, {QStringLiteral("QAPcAdaNode"), free},
    };
    return viewers.value(kind);
}

inline void outlineInto(QTreeWidgetItem *item, int depth, QStringList &lines)
{
    lines.append(QString(depth * 2, QLatin1Char(' ')) + kindOf(item) + QLatin1Char(' ')
                 + item->text(0));
    for (int i = 0; i < item->childCount(); ++i)
        outlineInto(item->child(i), depth + 1, lines);
}

/** One line per node, indented by depth: "<kind> <text>". */
inline QStringList outline(QTreeWidget *tree)
{
    QStringList lines;
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        outlineInto(tree->topLevelItem(i), 0, lines);
    return lines;
}

/** Every item of the tree, parents before children. */
inline QList<QTreeWidgetItem *> allItems(QTreeWidget *tree)
{
    QList<QTreeWidgetItem *> items;
    for (QTreeWidgetItemIterator it(tree); *it; ++it)
        items.append(*it);
    return items;
}

/** The first item whose text is text, or none. */
inline QTreeWidgetItem *findItem(QTreeWidget *tree, const QString &text)
{
    return tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive).value(0);
}

/** Writes xml into dir, then clears, parses, builds and selects the first item. */
inline bool load(QAVmrEditor &editor, const QTemporaryDir &dir, const QByteArray &xml,
                 const QString &name = QStringLiteral("doc.xvm"))
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    file.write(xml);
    file.close();
    editor.clear();
    editor.setModified(false);
    QDomElement root = editor.getRootElement(path);
    if (root.isNull() || !editor.buildTree(root))
        return false;
    if (QTreeWidgetItem *first = editor.tree()->topLevelItem(0)) {
        editor.tree()->setCurrentItem(first);
        editor.showViewer(dynamic_cast<QAXmlEditorNode *>(first));
    }
    return true;
}

/** A menu as text: entries joined by ";", a separator "-", a sub-menu "title>(a|b)". */
inline QString describeMenu(QMenu *menu)
{
    QStringList entries;
    for (QAction *action : menu->actions()) {
        if (action->isSeparator()) {
            entries.append(QStringLiteral("-"));
        } else if (QMenu *sub = action->menu()) {
            QStringList subEntries;
            for (QAction *subAction : sub->actions())
                subEntries.append(subAction->text());
            entries.append(action->text() + QStringLiteral(">(")
                           + subEntries.join(QLatin1Char('|')) + QLatin1Char(')'));
        } else {
            entries.append(action->text());
        }
    }
    return entries.join(QLatin1Char(';'));
}

/** The action of a menu (or its sub-menu) with the given path of texts. */
inline QAction *menuAction(QMenu *menu, const QStringList &path)
{
    QMenu *current = menu;
    for (int i = 0; i < path.size() && current; ++i) {
        QAction *found = nullptr;
        for (QAction *action : current->actions()) {
            if (action->text() == path.at(i))
                found = action;
        }
        if (!found || i == path.size() - 1)
            return found;
        current = found->menu();
    }
    return nullptr;
}

} // namespace DocTest
