#pragma once

// Everything the editor does with a document it opens, applied to arbitrary bytes: the
// guarded parse from a file, the version classification, the tree, the viewer and the
// context menu of every node, and a save whose output must open again. Shared by the
// fuzzer and by the test that replays what the fuzzer found, so that a finding stays
// fixed.

#include "app/qamainwindoweditor.h"
#include "app/qavmrver.h"
#include "document/qavmreditor.h"
#include "document/qavmreditornode.h"
#include "document/qavmreditortree.h"
#include "support/qaxmleditor.h"
#include "viewers/qavmrviewer.h"

#include <QBuffer>
#include <QByteArray>
#include <QDomDocument>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTreeWidgetItemIterator>

#include <memory>

namespace VmrFuzz {

/** What one document came to. */
struct Outcome
{
    bool parsed = false;
    int classification = -1; // QAVMRVersion::Classification, -1 when not parsed
    bool built = false;
    int nodes = 0;
    int viewers = 0;
    int unboundNodes = 0; // nodes that stand for no element, and so have no viewer
    bool savedAndReopened = false;
    bool sameAsDomParser = true; // the tree equals the one QDomDocument::setContent builds
    QString error; // why the parse refused the document
};

/** Every node below and including node: type, name, value, sorted attributes. */
inline QString outline(const QDomNode &node)
{
    QString out = QString::number(node.nodeType()) + QLatin1Char(':') + node.nodeName()
        + QLatin1Char('=') + node.nodeValue();
    if (node.isElement()) {
        const QDomNamedNodeMap map = node.attributes();
        QStringList attributes;
        for (int i = 0; i < map.count(); ++i)
            attributes << map.item(i).nodeName() + QLatin1Char('=') + map.item(i).nodeValue();
        attributes.sort();
        out += QLatin1Char('{') + attributes.join(QLatin1Char(',')) + QLatin1Char('}');
    }
    out += QLatin1Char('(');
    // Recursion is bounded: the editor refuses documents deeper than maxDepth().
    for (QDomNode child = node.firstChild(); !child.isNull(); child = child.nextSibling())
        out += outline(child);
    return out + QLatin1Char(')');
}

class Driver
{
public:
    /** Nodes whose viewer is made for one document: enough for every kind, bounded. */
    static constexpr int kViewerLimit = 400;

    explicit Driver(const QString &programPath)
        : m_version(std::make_unique<QAVMRVersion>(programPath))
        , m_editor(std::make_unique<QAVmrEditor>(QString()))
    {
        m_path = m_dir.filePath(QStringLiteral("input.xvm"));
    }

    QAVmrEditor *editor() const { return m_editor.get(); }
    QStringList versionList() const { return m_version->versionList(); }

    Outcome run(const QByteArray &bytes)
    {
        Outcome outcome;
        m_editor->clear();
        m_editor->setModified(false);
        {
            QFile file(m_path);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
                return outcome;
            file.write(bytes);
        }
        QDomElement root = m_editor->getRootElement(m_path);
        if (root.isNull()) {
            outcome.error = m_editor->lastError();
            return outcome;
        }
        outcome.parsed = true;
        // The editor builds the tree itself; it must be the tree the DOM parser builds.
        {
            QDomDocument reference;
            if (!reference.setContent(bytes))
                outcome.sameAsDomParser = false;
            else
                outcome.sameAsDomParser = outline(reference.documentElement()) == outline(root);
        }
        outcome.classification =
            m_version->checkVersion(root.attribute(QStringLiteral("Version")));

        // The tree and the viewers are built whatever the version: an update brings an
        // older document here too, and the tree code never looks at the version.
        outcome.built = m_editor->buildTree(root);
        QAVmrEditorTree *tree = m_editor->tree();
        for (QTreeWidgetItemIterator it(tree); *it; ++it) {
            ++outcome.nodes;
            auto *node = dynamic_cast<QAVmrEditorNode *>(*it);
            if (node && node->data().isNull())
                ++outcome.unboundNodes;
            if (outcome.viewers >= kViewerLimit)
                continue;
            // As a click does: the editor commits the old node and makes the new viewer.
            tree->setCurrentItem(*it);
            if (QAVmrViewer *viewer = m_editor->viewer()) {
                ++outcome.viewers;
                viewer->showPage();
            }
            if (node) {
                std::unique_ptr<QMenu> menu(node->createPopupMenu());
            }
        }
        m_editor->isModified();

        // What a save writes must open again: the saved form of whatever was loaded.
        QByteArray saved;
        QBuffer out(&saved);
        out.open(QIODevice::WriteOnly);
        QAMainWindowEditor::writeDocument(&out, m_editor->rootElement());
        out.close();
        out.open(QIODevice::ReadOnly);
        QDomDocument reopened;
        QString error;
        outcome.savedAndReopened = QAXmlEditor::parseDocument(&out, &reopened, &error);
        if (!outcome.savedAndReopened)
            outcome.error = error;
        return outcome;
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<QAVMRVersion> m_version;
    std::unique_ptr<QAVmrEditor> m_editor;
};

} // namespace VmrFuzz
