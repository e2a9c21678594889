#pragma once

// Everything the editor does with a document it opens, applied to arbitrary bytes: the
// guarded parse from a file, the version classification, the tree, the viewer and the
// context menu of every node, and a save whose output must open again into the same tree
// and save into the same bytes. Shared by the fuzzer and by the test that replays what the
// fuzzer found, so that a finding stays fixed.

#include "app/qamainwindoweditor.h"
#include "app/qaportdocument.h"
#include "app/qavmrver.h"
#include "document/qavmreditor.h"
#include "document/qavmreditornode.h"
#include "document/qavmreditortree.h"
#include "support/qaxmleditor.h"
#include "support/qaxmlwriter.h"
#include "viewers/qavmrviewer.h"

#include <QBuffer>
#include <QByteArray>
#include <QDomDocument>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTreeWidgetItemIterator>

#include <algorithm>
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
    // The tree equals the one QDomDocument::setContent builds, but for texts of spaces.
    bool sameAsDomParser = true;
    // As loaded, the document saves into the DOM writer's bytes but where those are wrong.
    bool sameAsDomWriter = true;
    QByteArray loadedSave; // that save
    bool reopenedSame = true; // the saved form opens into the tree that was saved
    bool fixedPoint = true;   // and saves again into the same bytes
    QString error; // why the parse or the save refused the document
};

/** Which texts an outline leaves out. */
enum class Blanks {
    DomParser, // what QDomDocument::setContent drops: texts of any Unicode spaces
    Reopening  // what a save and a reopening drop: texts of XML's own blanks, empty ones
};

/** Every node below and including node: type, name, value, sorted attributes. */
inline QString outline(const QDomNode &node, Blanks blanks = Blanks::DomParser)
{
    if (node.nodeType() == QDomNode::TextNode) {
        const QString text = node.nodeValue();
        const bool dropped = blanks == Blanks::DomParser
            ? text.trimmed().isEmpty()
            : std::all_of(text.begin(), text.end(), [](QChar c) {
                  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
              });
        if (dropped)
            return QString();
    }
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
        out += outline(child, blanks);
    return out + QLatin1Char(')');
}

/**
 * A saved document with the attributes of each start tag sorted, so that two writers'
 * bytes compare whatever order they give. With breaksAfterInstructions false, the line
 * break that the DOM writer puts between a processing instruction and a text is dropped.
 */
inline QByteArray sortedAttributes(const QByteArray &xml, bool breaksAfterInstructions = true)
{
    QByteArray out;
    out.reserve(xml.size());
    qsizetype at = 0;
    const auto copyThrough = [&](const char *end) {
        const qsizetype found = xml.indexOf(end, at);
        const qsizetype stop = found < 0 ? xml.size() : found + qsizetype(qstrlen(end));
        out += xml.mid(at, stop - at);
        at = stop;
    };
    while (at < xml.size()) {
        const QByteArrayView rest(xml.constData() + at, xml.size() - at);
        if (rest.front() != '<') {
            const qsizetype next = xml.indexOf('<', at);
            const qsizetype stop = next < 0 ? xml.size() : next;
            out += xml.mid(at, stop - at);
            at = stop;
        } else if (rest.startsWith("<!--")) {
            copyThrough("-->");
        } else if (rest.startsWith("<![CDATA[")) {
            copyThrough("]]>");
        } else if (rest.startsWith("<?")) {
            copyThrough("?>");
            if (!breaksAfterInstructions && at + 1 < xml.size() && xml.at(at) == '\n'
                && xml.at(at + 1) != '<')
                ++at;
        } else if (rest.startsWith("<!") || rest.startsWith("</")) {
            copyThrough(">");
        } else {
            // A start tag: its values hold no '"', but may hold '>'.
            qsizetype i = at + 1;
            while (i < xml.size() && xml.at(i) != ' ' && xml.at(i) != '/' && xml.at(i) != '>')
                ++i;
            out += xml.mid(at, i - at);
            QList<QByteArray> attributes;
            for (;;) {
                while (i < xml.size() && xml.at(i) == ' ')
                    ++i;
                if (i >= xml.size() || xml.at(i) == '/' || xml.at(i) == '>')
                    break;
                const qsizetype open = xml.indexOf('"', i);
                const qsizetype close = open < 0 ? -1 : xml.indexOf('"', open + 1);
                if (close < 0)
                    return out + "<unterminated attribute>";
                attributes.append(xml.mid(i, close + 1 - i));
                i = close + 1;
            }
            std::sort(attributes.begin(), attributes.end());
            for (const QByteArray &attribute : std::as_const(attributes))
                out += ' ' + attribute;
            at = i;
            copyThrough(">");
        }
    }
    return out;
}

/** What the DOM's own writer makes of root, as the editor once saved it. */
inline QByteArray domWriterBytes(const QDomElement &root)
{
    QString text;
    QTextStream stream(&text);
    stream << "<!DOCTYPE VMR SYSTEM 'vmr.dtd'>\n";
    root.save(stream, 0);
    stream.flush();
    return text.toUtf8();
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
        // The editor builds the tree itself; it must be the tree the DOM parser builds, but
        // for the texts of Unicode spaces that the DOM parser drops and the editor keeps.
        {
            QDomDocument reference;
            if (!reference.setContent(bytes))
                outcome.sameAsDomParser = false;
            else
                outcome.sameAsDomParser = outline(reference.documentElement()) == outline(root);
        }
        // Saved as loaded, it has the bytes of the DOM writer where those are right.
        {
            QBuffer out(&outcome.loadedSave);
            out.open(QIODevice::WriteOnly);
            QAPortDocument::writeDocument(&out, root);
            outcome.sameAsDomWriter = sortedAttributes(outcome.loadedSave)
                == sortedAttributes(domWriterBytes(root), false);
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

        // What a save writes must open again into what was saved, and save into the same
        // bytes: the saved form of whatever was loaded and then shown.
        QByteArray saved;
        QBuffer out(&saved);
        out.open(QIODevice::WriteOnly);
        if (!QAPortDocument::writeDocument(&out, m_editor->rootElement(), &outcome.error))
            return outcome;
        out.close();
        out.open(QIODevice::ReadOnly);
        QDomDocument reopened;
        QAAttributeOrder order;
        outcome.savedAndReopened =
            QAXmlEditor::parseDocument(&out, &reopened, &outcome.error, &order);
        if (!outcome.savedAndReopened)
            return outcome;
        outcome.reopenedSame = outline(reopened.documentElement(), Blanks::Reopening)
            == outline(m_editor->rootElement(), Blanks::Reopening);
        QByteArray again;
        QBuffer second(&again);
        second.open(QIODevice::WriteOnly);
        outcome.fixedPoint =
            QAXmlWriter(&second, &order).write(reopened.documentElement()) && again == saved;
        return outcome;
    }

private:
    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<QAVMRVersion> m_version;
    std::unique_ptr<QAVmrEditor> m_editor;
};

} // namespace VmrFuzz
