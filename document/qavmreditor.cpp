#include "document/qavmreditor.h"

#include "document/qabuildnode.h"
#include "document/qaisnode.h"
#include "document/qalibconfnode.h"
#include "document/qaparsernode.h"
#include "document/qarootnode.h"
#include "document/qavmreditortree.h"
#include "viewers/qabinfileviewer.h"
#include "viewers/qaisviewer.h"
#include "viewers/qavmrdocbrowser.h"
#include "viewers/qavmrviewer.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QShortcut>
#include <QSplitter>
#include <QUrl>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>

#include <iterator>
#include <memory>

namespace {

// Below this the viewers' forms get cramped; above it the edition area takes whatever
// room the splitters give it.
constexpr QSize kEditionAreaFloor(360, 240);
// The tree's first width: its names readable, the form not starved.
constexpr int kTreeWidthMin = 180;
constexpr int kTreeWidthMax = 400;

// The sections under the root node, in the order the tree shows them whatever their
// order in the document, each with the node that shows it.
template<typename Node>
QAVmrEditorNode *makeSection(QTreeWidgetItem *parent, QTreeWidgetItem *after,
                             const QDomElement &element)
{
    return new Node(parent, after, element);
}

const struct
{
    const char *tag;
    QAVmrEditorNode *(*make)(QTreeWidgetItem *parent, QTreeWidgetItem *after,
                             const QDomElement &element);
} kSections[] = {
    {"IS", makeSection<QAIsNode>},
    {"BUILD", makeSection<QABuildNode>},
    {"LIBCONF", makeSection<QALibConfNode>},
    {"PARSERCONF", makeSection<QAParserNode>},
};

// The place of a section's tag in kSections; -1 for an element that is no section.
int sectionPlace(const QString &tag)
{
    for (int i = 0; i < int(std::size(kSections)); ++i)
        if (tag == QLatin1String(kSections[i].tag))
            return i;
    return -1;
}

// Opens every node that has children, as each node asks. Leaves are left alone: the
// view keeps a persistent index for each expanded node, and files are leaves by the
// ten thousand.
void expandBranches(QTreeWidgetItem *item)
{
    if (item->childCount() == 0)
        return;
    item->setExpanded(true);
    for (int i = 0; i < item->childCount(); ++i)
        expandBranches(item->child(i));
}

} // namespace

QAVmrEditor::QAVmrEditor(const QString &docDir, QWidget *parent, const char *name)
    : QAXmlEditor(parent)
{
    if (name)
        setObjectName(QLatin1String(name));

    auto *layout = new QVBoxLayout(this);
    layout->setObjectName(QStringLiteral("qavmreditor"));
    layout->setContentsMargins(0, 0, 0, 0);
    auto *horizontal = m_horizontalSplitter = new QSplitter(Qt::Horizontal, this);
    horizontal->setObjectName(QStringLiteral("Horizontal splitter"));
    layout->addWidget(horizontal);

    // The filter box sits above the tree, for jumping to a node by its name.
    auto *treeArea = new QWidget(horizontal);
    treeArea->setObjectName(QStringLiteral("tree area"));
    auto *treeLayout = new QVBoxLayout(treeArea);
    treeLayout->setContentsMargins(0, 0, 0, 0);
    treeLayout->setSpacing(2);
    // The tree is made first so that it, not the filter, has the focus at start.
    m_tree = new QAVmrEditorTree(treeArea, "Editor Tree");
    m_treeFilter = new QLineEdit(treeArea);
    m_treeFilter->setObjectName(QStringLiteral("tree filter"));
    m_treeFilter->setPlaceholderText(tr("Filter nodes by name"));
    m_treeFilter->setClearButtonEnabled(true);
    treeLayout->addWidget(m_treeFilter);
    m_tree->setColumnCount(1);
    m_tree->setHeaderLabels({tr("Names")});
    m_tree->setHeaderHidden(true);
    m_tree->setSortingEnabled(false);
    m_tree->setRootIsDecorated(true);
    treeLayout->addWidget(m_tree);
    horizontal->addWidget(treeArea);
    connect(m_treeFilter, &QLineEdit::textChanged, this, &QAVmrEditor::filterTree);
    // Escape clears the filter; Enter or Down goes to the nodes it left, on the first that
    // matches unless the current one does.
    auto *clearFilter = new QShortcut(QKeySequence(Qt::Key_Escape), m_treeFilter, nullptr,
                                      nullptr, Qt::WidgetShortcut);
    connect(clearFilter, &QShortcut::activated, m_treeFilter, &QLineEdit::clear);
    auto *intoTree = new QShortcut(QKeySequence(Qt::Key_Down), m_treeFilter, nullptr, nullptr,
                                   Qt::WidgetShortcut);
    connect(intoTree, &QShortcut::activated, this, &QAVmrEditor::enterFilteredTree);
    connect(m_treeFilter, &QLineEdit::returnPressed, this, &QAVmrEditor::enterFilteredTree);

    m_verticalSplitter = new QSplitter(Qt::Vertical, horizontal);
    m_verticalSplitter->setObjectName(QStringLiteral("Vertical splitter"));
    horizontal->addWidget(m_verticalSplitter);

    auto *docArea = new QWidget(m_verticalSplitter);
    docArea->setObjectName(QStringLiteral("doc Area"));
    auto *docLayout = new QVBoxLayout(docArea);
    docLayout->setContentsMargins(0, 0, 0, 0);
    auto *genArea = new QWidget(docArea);
    genArea->setObjectName(QStringLiteral("gen area"));
    auto *genLayout = new QHBoxLayout(genArea);
    genLayout->setContentsMargins(0, 0, 0, 0);
    auto *genLabel = new QLabel(tr("Generate in:"), genArea);
    m_generateIn = new QLineEdit(genArea);
    m_generateIn->setReadOnly(true);
    genLabel->setBuddy(m_generateIn);
    genLayout->addWidget(genLabel);
    genLayout->addWidget(m_generateIn);
    docLayout->addWidget(genArea);
    m_docBrowser = new QAVmrDocBrowser(docArea, "VMR Doc");
    docLayout->addWidget(m_docBrowser);
    m_verticalSplitter->addWidget(docArea);

    m_editionArea = new QWidget(m_verticalSplitter);
    m_editionArea->setObjectName(QStringLiteral("Edition Area"));
    auto *editionLayout = new QVBoxLayout(m_editionArea);
    editionLayout->setContentsMargins(0, 0, 0, 0);
    // A form larger than the room the panes leave it scrolls instead of having its
    // fields drawn over each other. The host stays; viewers come and go inside it.
    m_viewerScroll = new QScrollArea(m_editionArea);
    m_viewerScroll->setObjectName(QStringLiteral("viewer scroll"));
    m_viewerScroll->setFrameShape(QFrame::NoFrame);
    m_viewerScroll->setWidgetResizable(true);
    // Tab goes from field to field; the scroll area itself is no stop.
    m_viewerScroll->setFocusPolicy(Qt::NoFocus);
    m_viewerHost = new QWidget;
    m_viewerHost->setObjectName(QStringLiteral("viewer host"));
    auto *hostLayout = new QVBoxLayout(m_viewerHost);
    hostLayout->setContentsMargins(0, 0, 0, 0);
    m_viewerScroll->setWidget(m_viewerHost);
    editionLayout->addWidget(m_viewerScroll);
    m_verticalSplitter->addWidget(m_editionArea);

    // The panes keep the sizes the user gave them, whatever viewer comes next: the edition
    // area's floor is its own, not the current viewer's, so that a viewer with a wider or
    // taller form never pushes a splitter. Growing the window grows the reference page and
    // the form together and leaves the tree as wide as it was.
    m_editionArea->setMinimumSize(kEditionAreaFloor);
    m_verticalSplitter->setStretchFactor(0, 1);
    m_verticalSplitter->setStretchFactor(1, 3);
    horizontal->setStretchFactor(0, 0);
    horizontal->setStretchFactor(1, 1);
    connect(horizontal, &QSplitter::splitterMoved, this, [this]() { m_treeWidthChosen = true; });

    const QString reference = docDir + QDir::separator() + QStringLiteral("xml")
        + QDir::separator() + QStringLiteral("Reference.html");
    // An installation without the reference page still edits; the pane stays empty.
    if (QFileInfo::exists(reference))
        m_docBrowser->setSource(QUrl::fromLocalFile(reference));

    connect(m_tree, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current) { updateViewer(current); });
    connect(m_tree, &QWidget::customContextMenuRequested, this, &QAVmrEditor::contextMenu);
    connect(m_tree, &QTreeWidget::itemClicked, this, [this]() { nodeClicked(); });
    connect(m_tree, &QAVmrEditorTree::aboutToClear, this, &QAVmrEditor::dropViewer);
    connect(&m_edits, &QAXmlEdits::changed, this, &QAVmrEditor::documentChanged);
    connect(&m_edits, &QAVmrDocumentEdits::revealRequested, this, &QAVmrEditor::reveal);
}

QAVmrEditor::~QAVmrEditor()
{
    // The tree dies after this part of the editor; its last signals must not come here.
    m_tree->disconnect(this);
}

bool QAVmrEditor::buildTree(QDomElement &root)
{
    if (root.tagName() != QLatin1String("VMR"))
        return false;

    // The nodes are built apart from the view and handed to it whole: a node inserted
    // into a shown tree costs the view's bookkeeping of every node already in it.
    auto *rootNode = new QARootNode(nullptr, root);
    bool built = true;
    for (QDomNode n = root.firstChild(); !n.isNull() && built; n = n.nextSibling()) {
        if (!n.isElement())
            continue;
        QDomElement element = n.toElement();
        const int place = sectionPlace(element.tagName());
        if (place < 0)
            continue;
        // After the last section that comes before this one, so that the tree reads
        // settings, build, library configuration, parser.
        QTreeWidgetItem *after = nullptr;
        for (int i = 0; i < rootNode->childCount(); ++i) {
            auto *section = dynamic_cast<QAVmrEditorNode *>(rootNode->child(i));
            if (section && sectionPlace(section->data().tagName()) <= place)
                after = section;
        }
        QAVmrEditorNode *section = kSections[place].make(rootNode, after, element);
        built = section->buildChild(nullptr, element);
    }
    m_tree->addTopLevelItem(rootNode);
    expandBranches(rootNode);
    m_edits.open(root.ownerDocument());
    if (!m_treeFilter->text().isEmpty())
        filterTree(m_treeFilter->text());
    emit documentOpened(root);
    return built;
}

void QAVmrEditor::commitEdit(QAXmlEditorNode *node)
{
    auto *vmrNode = dynamic_cast<QAVmrEditorNode *>(node);
    if (!vmrNode || !m_viewer)
        return;
    if (auto *settings = qobject_cast<QAIsViewer *>(m_viewer))
        settings->commitPendingEdit();
    else if (vmrNode->isRenamable())
        vmrNode->okRename(0);
}

void QAVmrEditor::showViewer(QAXmlEditorNode *node)
{
    if (m_viewer)
        retireViewer();
    auto *vmrNode = dynamic_cast<QAVmrEditorNode *>(node);
    if (!vmrNode)
        return;
    m_viewer = vmrNode->createViewer(m_viewerHost, m_docBrowser);
    if (!m_viewer)
        return;
    if (auto *binary = qobject_cast<QABinFileViewer *>(m_viewer))
        connect(binary, &QABinFileViewer::statusMsg, m_tree, &QAVmrEditorTree::statusMsg);
    m_viewerHost->layout()->addWidget(m_viewer);
    m_viewer->show();
    m_viewer->showPage();
}

void QAVmrEditor::nodeClicked()
{
    if (m_viewer)
        m_viewer->showPage();
}

void QAVmrEditor::updateViewer(QTreeWidgetItem *item)
{
    if (!item)
        return;
    if (m_currentNode)
        commitEdit(m_currentNode);
    m_currentNode = dynamic_cast<QAVmrEditorNode *>(item);
    showViewer(m_currentNode);
}

void QAVmrEditor::contextMenu(const QPoint &pos)
{
    QTreeWidgetItem *item = m_tree->itemAt(pos);
    auto *node = dynamic_cast<QAVmrEditorNode *>(item);
    if (!node)
        return;
    // The menu's commands act on the current item: make it the one the user pointed at.
    if (m_tree->currentItem() != item)
        m_tree->setCurrentItem(item);
    // The menu lives here until it has closed. Its commands are queued to the tree, so
    // none runs inside the menu's own event handling: a command that opens a dialog
    // never has the menu vanish under it.
    const std::unique_ptr<QMenu> menu(node->createPopupMenu());
    if (!menu)
        return;
    m_popupMenu = menu.get();
    menu->exec(m_tree->viewport()->mapToGlobal(pos));
}

QMenu *QAVmrEditor::popupMenu() const
{
    return m_popupMenu;
}

void QAVmrEditor::retireViewer()
{
    // The viewer may be replaced from inside a loop that one of its own handlers runs (a
    // dialog it opened, its text's context menu, while a binary file arrives): it goes
    // once that handler has returned, never from under it.
    m_viewer->hide();
    m_viewer->deleteLater();
    m_viewer = nullptr;
}

void QAVmrEditor::dropViewer()
{
    if (m_viewer)
        retireViewer();
    m_currentNode = nullptr;
}

void QAVmrEditor::clear()
{
    dropViewer();
    m_tree->clearTree();
    m_edits.close();
    resetDocument();
    emit documentClosed();
}

bool QAVmrEditor::isModified() const
{
    return m_edits.isModified();
}

void QAVmrEditor::setModified(bool value)
{
    if (value)
        m_edits.markModified();
    else
        m_edits.markSaved();
}

void QAVmrEditor::commitPendingEdit()
{
    commitEdit(dynamic_cast<QAXmlEditorNode *>(m_tree->currentItem()));
}

QAVmrEditorNode *QAVmrEditor::nodeShowing(const QDomNode &node) const
{
    // The nearest element up from node that a node of the tree shows.
    QHash<const void *, QAVmrEditorNode *> shown;
    for (QTreeWidgetItemIterator it(m_tree); *it; ++it) {
        if (auto *treeNode = dynamic_cast<QAVmrEditorNode *>(*it)) {
            shown.insert(QAXmlEdits::identity(treeNode->data()), treeNode);
            shown.insert(QAXmlEdits::identity(treeNode->shownElement()), treeNode);
        }
    }
    shown.remove(nullptr);
    for (QDomNode up = node; !up.isNull(); up = up.parentNode()) {
        if (QAVmrEditorNode *found = shown.value(QAXmlEdits::identity(up)))
            return found;
    }
    return nullptr;
}

void QAVmrEditor::documentChanged(const QAXmlChange &change)
{
    // Only the tree's own shape and names follow here; the viewer follows by itself.
    if (change.kind == QAXmlChange::Children) {
        if (auto *section = dynamic_cast<QABuildNode *>(nodeShowing(change.element)))
            m_tree->syncSection(section);
    } else if (change.kind == QAXmlChange::Attribute && change.field == QLatin1String("Name")) {
        if (QAVmrEditorNode *node = nodeShowing(change.element))
            node->refreshText();
    } else {
        return;
    }
    // A new or renamed node is shown or hidden as the filter says.
    if (!m_treeFilter->text().isEmpty())
        filterTree(m_treeFilter->text());
}

// Whether item or one below it matches; those that do not are hidden.
static bool filterItem(QTreeWidgetItem *item, const QString &text)
{
    bool below = false;
    for (int i = 0; i < item->childCount(); ++i)
        below = filterItem(item->child(i), text) || below;
    const bool shown = text.isEmpty() || below || item->text(0).contains(text, Qt::CaseInsensitive);
    item->setHidden(!shown);
    return shown;
}

void QAVmrEditor::filterTree(const QString &text)
{
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i)
        filterItem(m_tree->topLevelItem(i), text.trimmed());
    if (QTreeWidgetItem *current = m_tree->currentItem())
        m_tree->scrollToItem(current);
}

void QAVmrEditor::enterFilteredTree()
{
    const QString text = m_treeFilter->text().trimmed();
    QTreeWidgetItem *current = m_tree->currentItem();
    if (!current || current->isHidden()
        || (!text.isEmpty() && !current->text(0).contains(text, Qt::CaseInsensitive))) {
        QTreeWidgetItem *first = nullptr;
        for (QTreeWidgetItemIterator it(m_tree, QTreeWidgetItemIterator::NotHidden); *it; ++it) {
            if (!first)
                first = *it;
            if ((*it)->text(0).contains(text, Qt::CaseInsensitive)) {
                first = *it;
                break;
            }
        }
        // With nothing shown, the user stays in the box to type another name.
        if (!first)
            return;
        m_tree->setCurrentItem(first);
    }
    m_tree->setFocus(Qt::ShortcutFocusReason);
}

void QAVmrEditor::reveal(const QAXmlChange &change)
{
    const QDomNode changed = change.kind == QAXmlChange::Children && !change.child.parentNode().isNull()
        ? QDomNode(change.child)
        : QDomNode(change.element);
    QAVmrEditorNode *node = nodeShowing(changed);
    if (!node)
        return;
    // A node that the filter hides is shown: it is where the user is sent.
    for (QTreeWidgetItem *up = node; up; up = up->parent())
        up->setHidden(false);
    if (m_tree->currentItem() != node)
        m_tree->setCurrentItem(node);
    m_tree->scrollToItem(node);
    // A node's own name or label is shown by the tree itself.
    const bool title = change.kind == QAXmlChange::Attribute && change.element == node->data()
        && (change.field == QLatin1String("Name") || change.field == QLatin1String("Label"));
    if (m_viewer && !title) {
        m_viewer->reveal(change);
        // The field that got the change, in a form scrolled for want of room, is shown.
        QWidget *field = QApplication::focusWidget();
        if (field && m_viewer->isAncestorOf(field))
            m_viewerScroll->ensureWidgetVisible(field);
    } else {
        m_tree->setFocus(Qt::OtherFocusReason);
    }
}

void QAVmrEditor::setGenerateIn(const QString &dir)
{
    m_generateIn->setText(dir);
}

QString QAVmrEditor::generateIn() const
{
    return m_generateIn->text();
}

int QAVmrEditor::docAreaSize() const
{
    return m_verticalSplitter->sizes().value(0);
}

int QAVmrEditor::editionAreaSize() const
{
    return m_verticalSplitter->sizes().value(1);
}

void QAVmrEditor::showEvent(QShowEvent *event)
{
    QAXmlEditor::showEvent(event);
    if (m_treeWidthChosen)
        return;
    // Laid out at last: the tree takes three tenths of the width, enough for the names of
    // the nodes and no more; the rest is the documentation pane's and the form's.
    m_treeWidthChosen = true;
    const int total = m_horizontalSplitter->width() - m_horizontalSplitter->handleWidth();
    const int tree = qBound(kTreeWidthMin, total * 3 / 10, kTreeWidthMax);
    m_horizontalSplitter->setSizes({tree, total - tree});
}

void QAVmrEditor::setAreaSizes(int docArea, int editionArea)
{
    m_verticalSplitter->setSizes({docArea, editionArea});
}
