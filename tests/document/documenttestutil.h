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

using namespace Qt::StringLiterals;

/** The class name of a node, or "?" for an item of no known kind. */
inline QString kindOf(QTreeWidgetItem *item)
{
#define DOC_KIND(Class) \
    if (dynamic_cast<Class *>(item)) return QStringLiteral(#Class);
    DOC_KIND(QARootNode)
    DOC_KIND(QAIsNode) DOC_KIND(QAIsSettingsNode) DOC_KIND(QABuildNode) DOC_KIND(QAPerlNode)
        DOC_KIND(QACmdFileNode) DOC_KIND(QABinFileNode) DOC_KIND(QALibConfNode)
            DOC_KIND(QALCCommentNode) DOC_KIND(QALCComment2Node) DOC_KIND(QALCFreeTextNode)
                DOC_KIND(QALCItemNode) DOC_KIND(QALCChoiceNode) DOC_KIND(QALCFctNode)
                    DOC_KIND(QAJavaCustom) DOC_KIND(QAJvmpiCustom) DOC_KIND(QAParserNode)
                        DOC_KIND(QAPcOrbNode) DOC_KIND(QAPcEdgNode) DOC_KIND(QAPcOtNode)
                            DOC_KIND(QAPcAdaNode)
#undef DOC_KIND
                                return u"?"_s;
}

/** The viewer each node kind shows in the edition area. */
inline QString viewerOfKind(const QString &kind)
{
    const QString comment = u"QACommentViewer"_s;
    const QString free = u"QAFreeText"_s;
    const QString fct = u"QAFctViewer"_s;
    const QHash<QString, QString> viewers = {
        {u"QARootNode"_s, comment},
        {u"QAIsNode"_s, comment},
        {u"QAIsSettingsNode"_s, u"QAIsViewer"_s},
        {u"QABuildNode"_s, comment},
        {u"QAPerlNode"_s, fct},
        {u"QACmdFileNode"_s, free},
        {u"QABinFileNode"_s, comment},
        {u"QALibConfNode"_s, comment},
        {u"QALCCommentNode"_s, comment},
        {u"QALCComment2Node"_s, comment},
        {u"QALCFreeTextNode"_s, free},
        {u"QALCItemNode"_s, u"QAItemViewer"_s},
        {u"QALCChoiceNode"_s, u"QAChoiceViewer"_s},
        {u"QALCFctNode"_s, fct},
        {u"QAJavaCustom"_s, comment},
        {u"QAJvmpiCustom"_s, comment},
        {u"QAParserNode"_s, comment},
        {u"QAPcOrbNode"_s, free},
        {u"QAPcEdgNode"_s, comment},
        {u"QAPcOtNode"_s, free},
        {u"QAPcAdaNode"_s, free},
    };
    return viewers.value(kind);
}

inline void outlineInto(QTreeWidgetItem *item, int depth, QStringList &lines)
{
    lines.append(QString(depth * 2, QLatin1Char(' ')) + kindOf(item) + QLatin1Char(' ') +
                 item->text(0));
    for (int i = 0; i < item->childCount(); ++i) outlineInto(item->child(i), depth + 1, lines);
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
    for (QTreeWidgetItemIterator it(tree); *it; ++it) items.append(*it);
    return items;
}

/** The first item whose text is text, or none. */
inline QTreeWidgetItem *findItem(QTreeWidget *tree, const QString &text)
{
    return tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive).value(0);
}

/** Writes xml into dir, then clears, parses, builds and selects the first item. */
inline bool load(QAVmrEditor &editor, const QTemporaryDir &dir, const QByteArray &xml,
                 const QString &name = u"doc.xvm"_s)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    file.write(xml);
    file.close();
    editor.clear();
    editor.setModified(false);
    QDomElement root = editor.getRootElement(path);
    if (root.isNull() || !editor.buildTree(root)) return false;
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
            entries.append(u"-"_s);
        } else if (QMenu *sub = action->menu()) {
            QStringList subEntries;
            for (QAction *subAction : sub->actions()) subEntries.append(subAction->text());
            entries.append(action->text() + u">("_s + subEntries.join(QLatin1Char('|')) +
                           QLatin1Char(')'));
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
            if (action->text() == path.at(i)) found = action;
        }
        if (!found || i == path.size() - 1) return found;
        current = found->menu();
    }
    return nullptr;
}

}  // namespace DocTest
