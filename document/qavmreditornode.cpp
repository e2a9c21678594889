#include "document/qavmreditornode.h"

#include "document/qaportcheck.h"
#include "document/qavmreditortree.h"
#include "viewers/qabinfileviewer.h"
#include "viewers/qachoiceviewer.h"
#include "viewers/qacommentviewer.h"
#include "viewers/qafctviewer.h"
#include "viewers/qafreetext.h"
#include "viewers/qaisviewer.h"
#include "viewers/qaitemviewer.h"
#include "viewers/qavmrviewer.h"

#include "support/qaxmledits.h"

#include <QMenu>

QAVmrEditorNode::QAVmrEditorNode(QTreeWidget *view, const QDomElement &element, int type)
    : QAXmlEditorNode(view, element, type)
{
}

QAVmrEditorNode::QAVmrEditorNode(QTreeWidgetItem *parent, QTreeWidgetItem *after,
                                 const QDomElement &element, int type)
    : QAXmlEditorNode(parent, after, element, type)
{
}

QAVmrEditorNode::QAVmrEditorNode(QTreeWidgetItem *parent, const QDomElement &element, int type)
    : QAXmlEditorNode(parent, element, type)
{
}

QAVmrEditorNode::~QAVmrEditorNode() = default;

bool QAVmrEditorNode::isRenamable() const
{
    const int kind = rtti();
    return kind == RootRtti || kind == AsciiFileRtti || kind == BinaryFileRtti;
}

QAVmrEditorTree *QAVmrEditorNode::editorTree() const
{
    return qobject_cast<QAVmrEditorTree *>(treeWidget());
}

// The accepted text of an in-place edit of the root or a file becomes the element's
// "Name"; the edit itself changes nothing until then.
void QAVmrEditorNode::startRename(int column)
{
    QTreeWidget *view = treeWidget();
    if (view && (flags() & Qt::ItemIsEditable))
        view->editItem(this, column);
}

void QAVmrEditorNode::okRename(int column)
{
    if (QAVmrEditorTree *tree = editorTree())
        tree->commitOpenEditor(this, column);
    if (isRenamable())
        storeName(text(column));
}

void QAVmrEditorNode::storeName(const QString &name)
{
    // Comparing first keeps building a node from adding a missing attribute.
    if (!m_element.isNull() && m_element.attribute(QStringLiteral("Name")) != name)
        QAXmlEdits::of(m_element)->setAttribute(m_element, QStringLiteral("Name"), name);
}

void QAVmrEditorNode::refreshText()
{
    if (isRenamable())
        QAXmlEditorNode::setData(0, Qt::DisplayRole, m_element.attribute(QStringLiteral("Name")));
    else
        emitDataChanged();
}

QMenu *QAVmrEditorNode::createPopupMenu()
{
    return nullptr;
}

bool QAVmrEditorNode::buildChild(QAVmrEditorNode *, QDomElement &)
{
    return true;
}

QAVmrViewer *QAVmrEditorNode::createViewer(QWidget *, QAVmrDocBrowser *)
{
    return nullptr;
}

void QAVmrEditorNode::setData(int column, int role, const QVariant &value)
{
    QAXmlEditorNode::setData(column, role, value);
    // An accepted in-place edit arrives here; the element's "Name" follows the text at
    // once.
    if (column == 0 && (role == Qt::EditRole || role == Qt::DisplayRole) && isRenamable())
        storeName(text(0));
}

void QAVmrEditorNode::nameSetup()
{
    setText(0, m_element.attribute(QStringLiteral("Name")));
    setFlags(flags() | Qt::ItemIsEditable);
    setExpanded(true);
}

void QAVmrEditorNode::labelSetup()
{
    setText(0, QAVmrViewer::translatedLabel(m_element.attribute(QStringLiteral("Label"))));
    setFlags(flags() & ~Qt::ItemIsEditable);
    setExpanded(true);
}

QAFormNode::QAFormNode(QTreeWidgetItem *parent, QTreeWidgetItem *after,
                       const QDomElement &element, Form form, int type)
    : QAVmrEditorNode(parent, after, element, type), m_form(form)
{
    // Files are titled by their name: a label would be written into it.
    if (isRenamable())
        nameSetup();
    else
        labelSetup();
}

QAFormNode::QAFormNode(QTreeWidgetItem *parent, const QDomElement &element, Form form)
    : QAVmrEditorNode(parent, element), m_form(form)
{
    labelSetup();
}

// A port may have a hundred thousand such nodes: a copy of each title would cost more
// than the node itself, and could only ever repeat the document.
QString QAFormNode::title() const
{
    if (m_element.isNull())
        return QString();
    if (isRenamable())
        return m_element.attribute(QStringLiteral("Name"));
    return QAVmrViewer::translatedLabel(m_element.attribute(QStringLiteral("Label")));
}

QVariant QAFormNode::data(int column, int role) const
{
    if (column == 0 && (role == Qt::DisplayRole || role == Qt::EditRole))
        return title();
    return QAVmrEditorNode::data(column, role);
}

void QAFormNode::setData(int column, int role, const QVariant &value)
{
    if (column != 0 || (role != Qt::DisplayRole && role != Qt::EditRole)) {
        QAVmrEditorNode::setData(column, role, value);
        return;
    }
    // Labels are never edited: only a file's name changes, and only when it differs, so
    // that building the node adds no missing attribute. A file keeps its name when the
    // new one is a name that generation would refuse.
    if (isRenamable()) {
        const QString name = value.toString();
        const QString refusal = rtti() != RootRtti
                && name != m_element.attribute(QStringLiteral("Name"))
            ? QAPortCheck::fileNameProblem(m_element, name)
            : QString();
        if (refusal.isEmpty())
            storeName(name);
        else if (QAVmrEditorTree *tree = editorTree())
            tree->refuseName(refusal);
    }
    emitDataChanged();
}

QAVmrViewer *QAFormNode::createViewer(QWidget *parent, QAVmrDocBrowser *doc)
{
    switch (m_form) {
    case CommentForm:
        return makeViewer<QACommentViewer>(parent, doc);
    case FreeTextForm:
        return makeViewer<QAFreeText>(parent, doc);
    case FunctionForm:
        return makeViewer<QAFctViewer>(parent, doc);
    case ItemForm:
        return makeViewer<QAItemViewer>(parent, doc);
    case ChoiceForm:
        return makeViewer<QAChoiceViewer>(parent, doc);
    case SettingsForm:
        return makeViewer<QAIsViewer>(parent, doc);
    case BinaryFileForm:
        return makeViewer<QABinFileViewer>(parent, doc);
    }
    return nullptr;
}
