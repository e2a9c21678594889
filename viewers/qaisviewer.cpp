#include "viewers/qaisviewer.h"

#include "viewers/qavmrdocbrowser.h"

#include "support/qaxmlcharacters.h"
#include "support/qaxmledits.h"
#include "viewers/qacommentpane.h"
#include "viewers/qaxmlvalidator.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

const char *const basicKeyNames[] = {
    "ASMEXT", "SRCEXT", "OBJEXT", "EXEEXT",
    "DEFAULT_INCLUDE_PATHS", "DEFAULT_DEFINES", "DEFAULT_CPPFLAGS", "DEFAULT_CFLAGS",
    "DEFAULT_LDFLAGS", "DEFAULT_LIBRARY_PATHS", "DEFAULT_LIBS",
};

QDomElement directChild(const QDomElement &element, const QString &tag)
{
    for (QDomNode n = element.firstChild(); !n.isNull(); n = n.nextSibling()) {
        if (n.isElement() && n.nodeName() == tag)
            return n.toElement();
    }
    return QDomElement();
}

// The text a cell shows: the first child of the named child element, when it is text.
QString cellText(const QDomElement &child)
{
    const QDomNode first = child.firstChild();
    if (first.isText() || first.isCDATASection())
        return first.toCharacterData().data();
    return QString();
}

} // namespace

QAIsViewerTable::QAIsViewerTable(QWidget *parent)
    : QTreeWidget(parent)
{
    // A click on the current row's key or F2 renames; a double click asks the viewer to
    // edit the value. All of them land in edit() below.
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    setItemDelegate(new QAXmlItemDelegate(this));
}

QAIsViewerTable::~QAIsViewerTable() = default;

bool QAIsViewerTable::isRenaming() const
{
    return m_editItem && m_editor;
}

QAIsViewerItem *QAIsViewerTable::renamingItem() const
{
    return isRenaming() ? m_editItem : nullptr;
}

bool QAIsViewerTable::editorText(const QAIsViewerItem *item, int col, QString *text) const
{
    if (!isRenaming() || item != m_editItem || col != m_editColumn)
        return false;
    auto *line = qobject_cast<QLineEdit *>(m_editor.data());
    if (!line)
        return false;
    *text = line->text();
    return true;
}

bool QAIsViewerTable::openEditor(QAIsViewerItem *item, int col)
{
    if (isRenaming())
        return false;
    const QModelIndex index = indexFromItem(item, col);
    if (!index.isValid())
        return false;
    m_starting = true;
    const bool opened = QTreeWidget::edit(index, AllEditTriggers, nullptr);
    m_starting = false;
    if (!opened)
        return false;
    m_editor = indexWidget(index);
    if (!m_editor)
        return false;
    m_editItem = item;
    m_editColumn = col;
    return true;
}

void QAIsViewerTable::closeOpenEditor()
{
    QWidget *editor = m_editor.data();
    m_editor.clear();
    m_editItem = nullptr;
    if (editor)
        QTreeWidget::closeEditor(editor, QAbstractItemDelegate::NoHint);
}

bool QAIsViewerTable::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    if (m_starting)
        return QTreeWidget::edit(index, trigger, event);

    auto *row = QAIsViewerItem::fromItem(itemFromIndex(index));
    if (trigger == DoubleClicked) {
        // The base stops a click-to-rename still waiting for the double-click interval.
        QTreeWidget::edit(index, trigger, event);
        if (row && !isRenaming())
            emit valueEditRequested(row);
        return isRenaming();
    }
    const bool renamable = row && row->renameEnabled(index.column());
    if (trigger == EditKeyPressed && row && !renamable && !isRenaming()) {
        // F2 on a key that cannot be renamed edits the value of the row instead.
        if (row->renameEnabled(1))
            row->startRename(1);
        return isRenaming();
    }
    if (trigger == AllEditTriggers || trigger == EditKeyPressed) {
        // A programmatic or keyboard start, or the end of the delay after a click on the
        // current row: route it through the row so the viewer sees the edit begin.
        if (!renamable || isRenaming())
            return false;
        row->startRename(index.column());
        return isRenaming();
    }
    if (trigger == SelectedClicked && !renamable)
        return false;
    return QTreeWidget::edit(index, trigger, event);
}

void QAIsViewerTable::commitData(QWidget *editor)
{
    if (editor && editor == m_editor && m_editItem)
        m_editItem->okRename(m_editColumn);
}

void QAIsViewerTable::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint)
{
    if (!editor || editor != m_editor || !m_editItem)
        return; // already stored (or dropped) by okRename / cancelRename
    // Escape reverts; an editor closed any other way without a commit keeps its text too.
    if (hint == QAbstractItemDelegate::RevertModelCache)
        m_editItem->cancelRename(m_editColumn);
    else
        m_editItem->okRename(m_editColumn);
}

QAIsViewerItem::QAIsViewerItem(QAIsViewer *viewer, QTreeWidget *table, QTreeWidgetItem *after,
                               const QDomElement &element)
    : QTreeWidgetItem(Type)
    , m_viewer(viewer)
    , m_element(element)
{
    setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable);
    const QDomElement key = directChild(element, QStringLiteral("KEY"));
    setText(0, key.isNull() ? element.tagName() : cellText(key));
    setText(1, cellText(directChild(element, QStringLiteral("VALUE"))));
    if (table)
        table->insertTopLevelItem(after ? table->indexOfTopLevelItem(after) + 1 : 0, this);
}

QAIsViewerItem::~QAIsViewerItem() = default;

QVariant QAIsViewerItem::data(int column, int role) const
{
    if (role == Qt::ToolTipRole) {
        const QString shown = text(column);
        return shown.isEmpty() ? QVariant() : QVariant(shown);
    }
    return QTreeWidgetItem::data(column, role);
}

QAIsViewerItem *QAIsViewerItem::fromItem(QTreeWidgetItem *item)
{
    return item && item->type() == Type ? static_cast<QAIsViewerItem *>(item) : nullptr;
}

QAIsViewerTable *QAIsViewerItem::table() const
{
    return qobject_cast<QAIsViewerTable *>(treeWidget());
}

void QAIsViewerItem::setRenameEnabled(int col, bool enabled)
{
    if (col >= 0 && col < 2)
        m_renameEnabled[col] = enabled;
}

bool QAIsViewerItem::renameEnabled(int col) const
{
    return col >= 0 && col < 2 && m_renameEnabled[col];
}

void QAIsViewerItem::startRename(int col)
{
    QAIsViewerTable *view = table();
    if (!view || !renameEnabled(col) || view->isRenaming())
        return;
    if (m_viewer)
        m_viewer->setButtonsEnabled(false);
    m_renameColumn = col;
    if (!view->openEditor(this, col) && m_viewer)
        m_viewer->setButtonsEnabled(true);
}

void QAIsViewerItem::okRename(int col)
{
    QAIsViewerTable *view = table();
    QString typed;
    if (view && view->editorText(this, col, &typed)) {
        view->closeOpenEditor();
        setText(col, typed);
    }
    const QString value = text(col);
    if (col == 0 && m_element.tagName() == QLatin1String("INIFIELD"))
        QAXmlEdits::of(m_element)->setChildText(m_element, QStringLiteral("KEY"), value);
    else if (col == 1)
        QAXmlEdits::of(m_element)->setChildText(m_element, QStringLiteral("VALUE"), value);
    if (m_viewer) {
        m_viewer->setButtonsEnabled(true);
        // The comment title names the key, which may just have changed.
        if (col == 0 && view && view->currentItem() == this)
            m_viewer->updateItem(this);
    }
}

void QAIsViewerItem::cancelRename(int col)
{
    QAIsViewerTable *view = table();
    QString ignored;
    if (view && view->editorText(this, col, &ignored))
        view->closeOpenEditor();
    if (m_viewer)
        m_viewer->setButtonsEnabled(true);
}

QAIsViewer::QAIsViewer(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc)
    : QAVmrViewer(element, parent, doc)
    , m_element(element)
    , m_doc(doc)
{
    for (const char *name : basicKeyNames)
        m_basicKeys << QLatin1String(name);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);

    auto *box = new QFrame(this);
    QACommentPane::frameBox(box);
    box->setMinimumHeight(200);
    auto *boxLayout = new QHBoxLayout(box);
    boxLayout->setContentsMargins(10, 10, 10, 10);
    boxLayout->setSpacing(5);

    m_table = new QAIsViewerTable(box);
    m_table->setObjectName(QStringLiteral("settings table"));
    m_table->setColumnCount(2);
    m_table->setHeaderLabels(
        {tr("KEY", "head of the basic setting key names"),
         tr("VALUE", "head of the basic setting key values")});
    m_table->setRootIsDecorated(false);
    m_table->setSortingEnabled(false);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    // A long value is seen whole by widening its column and scrolling along it.
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_table->header()->setSectionsMovable(false);
    m_table->header()->setSectionResizeMode(QHeaderView::Interactive);
    m_table->header()->setStretchLastSection(true);
    boxLayout->addWidget(m_table);

    fillRows();
    m_table->resizeColumnToContents(0);

    auto *buttons = new QVBoxLayout;
    buttons->setSpacing(5);
    m_add = new QPushButton(tr("Add...", "button name to add a new basic setting key"), box);
    m_remove = new QPushButton(tr("Remove", "button name to remove a basic setting key"), box);
    m_moveUp = new QPushButton(tr("Move Up", "button name to move a basic setting key"), box);
    m_moveDown =
        new QPushButton(tr("Move Down", "button name to move a basic setting key"), box);
    m_add->setObjectName(QStringLiteral("add"));
    m_remove->setObjectName(QStringLiteral("remove"));
    m_moveUp->setObjectName(QStringLiteral("move up"));
    m_moveDown->setObjectName(QStringLiteral("move down"));
    buttons->addWidget(m_add);
    buttons->addWidget(m_remove);
    buttons->addWidget(m_moveUp);
    buttons->addWidget(m_moveDown);
    buttons->addWidget(new QLabel(box), 1);
    boxLayout->addLayout(buttons);

    layout->addWidget(box, 1);
    layout->addSpacing(10);

    m_comment = new QACommentPane(this, doc);
    m_comment->addTo(layout);
    m_comment->fill(m_element, pageTitle(), 2);

    // Without a container there is nowhere to store a new key.
    if (container().isNull())
        m_add->setEnabled(false);

    connect(m_table, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current, QTreeWidgetItem *) { updateItem(current); });
    connect(m_table, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item, int) { updateItem(item); });
    connect(m_table, &QAIsViewerTable::valueEditRequested, this, &QAIsViewer::startEdit);
    connect(m_add, &QPushButton::clicked, this, &QAIsViewer::addRow);
    connect(m_remove, &QPushButton::clicked, this, &QAIsViewer::removeRow);
    connect(m_moveUp, &QPushButton::clicked, this, &QAIsViewer::moveRowUp);
    connect(m_moveDown, &QPushButton::clicked, this, &QAIsViewer::moveRowDown);
    connect(edits(), &QAXmlEdits::changed, this, &QAIsViewer::showChange);
}

void QAIsViewer::fillRows()
{
    // The rows go in together: one by one, each would look its predecessor up in the
    // table, which takes the square of the row count.
    QList<QTreeWidgetItem *> rows;
    for (QDomNode n = container().firstChild(); !n.isNull(); n = n.nextSibling()) {
        if (!n.isElement() || n.nodeName() == QLatin1String("COMMENT"))
            continue;
        rows.append(new QAIsViewerItem(this, nullptr, nullptr, n.toElement()));
    }
    m_table->addTopLevelItems(rows);
}

QAIsViewerItem *QAIsViewer::rowOf(const QDomElement &element) const
{
    for (int i = 0; i < m_table->topLevelItemCount(); ++i) {
        QAIsViewerItem *row = QAIsViewerItem::fromItem(m_table->topLevelItem(i));
        if (row && row->element() == element)
            return row;
    }
    return nullptr;
}

void QAIsViewer::showChange(const QAXmlChange &change)
{
    if (change.kind == QAXmlChange::Children && change.element == container()) {
        // Rows added, removed or moved elsewhere (an undo): the table follows the
        // document, and the row that was current stays so while it is there.
        const QAIsViewerItem *current = QAIsViewerItem::fromItem(m_table->currentItem());
        const QDomElement kept = current ? current->element() : QDomElement();
        m_table->closeOpenEditor();
        m_table->clear();
        fillRows();
        if (QAIsViewerItem *row = rowOf(kept))
            m_table->setCurrentItem(row);
        else
            showPage();
        setButtonsEnabled(true);
        return;
    }
    QAIsViewerItem *row = change.kind == QAXmlChange::Text ? rowOf(change.element) : nullptr;
    if (!row || row == m_table->renamingItem())
        return;
    if (change.field == QLatin1String("KEY"))
        row->setText(0, childText(QStringLiteral("KEY"), change.element));
    else if (change.field == QLatin1String("VALUE"))
        row->setText(1, childText(QStringLiteral("VALUE"), change.element));
}

void QAIsViewer::reveal(const QAXmlChange &change)
{
    if (m_comment->shows(change)) {
        m_comment->select(change);
        return;
    }
    QAIsViewerItem *row =
        rowOf(change.kind == QAXmlChange::Children ? change.child : change.element);
    if (row) {
        // The cell of the value for a value, else the key's.
        m_table->setCurrentItem(row, change.field == QLatin1String("VALUE") ? 1 : 0);
        m_table->scrollToItem(row);
        // A row's comment is shown once the row is current.
        if (m_comment->shows(change)) {
            m_comment->select(change);
            return;
        }
    }
    m_table->setFocus(Qt::OtherFocusReason);
}

QAIsViewer::~QAIsViewer()
{
    // An edit still open when the node goes away was not accepted by the editor widget;
    // close it quietly before the rows and their viewer disappear.
    m_table->closeOpenEditor();
}

QTreeWidget *QAIsViewer::table() const
{
    return m_table;
}

void QAIsViewer::commitPendingEdit()
{
    if (QAIsViewerItem *row = m_table->renamingItem())
        row->okRename(row->renameColumn());
}

QDomElement QAIsViewer::container() const
{
    return m_element.firstChild().toElement();
}

bool QAIsViewer::isBasicKey(const QString &tag) const
{
    return m_basicKeys.contains(tag);
}

void QAIsViewer::setButtonsEnabled(bool enabled)
{
    m_buttonsEnabled = enabled;
    m_add->setEnabled(enabled && !container().isNull());
    m_moveUp->setEnabled(enabled);
    m_moveDown->setEnabled(enabled);
    m_remove->setEnabled(enabled && !m_basicRow);
}

QString QAIsViewer::pageTitle() const
{
    return tr("Comment for \"%1\" node:")
        .arg(translatedLabel(m_element.attribute(QStringLiteral("Label"))));
}

void QAIsViewer::showPage()
{
    // A table documented on its own shows its section; the others share the section's.
    const QDomElement page = m_doc && m_doc->hasAnchor(docAnchor(m_element))
        ? m_element
        : m_element.parentNode().toElement();
    m_comment->show(m_element, pageTitle(), page, 2);
}

void QAIsViewer::updateItem(QTreeWidgetItem *item)
{
    auto *row = QAIsViewerItem::fromItem(item);
    if (!row)
        return;
    const QDomElement element = row->element();
    if (isBasicKey(element.tagName())) {
        row->setRenameEnabled(0, false);
        m_basicRow = true;
        m_remove->setEnabled(false);
    } else {
        row->setRenameEnabled(0, true);
        m_basicRow = false;
        m_remove->setEnabled(m_buttonsEnabled);
    }
    row->setRenameEnabled(1, true);
    m_comment->show(element, tr("Comment for \"%1\" item:").arg(row->text(0)));
}

void QAIsViewer::startEdit(QTreeWidgetItem *item)
{
    auto *row = QAIsViewerItem::fromItem(item);
    if (!row)
        return;
    row->setRenameEnabled(1, true);
    row->startRename(1);
}

QDomElement QAIsViewer::newRowElement(const QString &key)
{
    QDomElement box = container();
    QDomDocument document = documentOf(m_element);
    const QString empty = tr("*** empty ***", "empty key value");

    QDomElement model;
    for (QDomNode n = box.firstChild(); !n.isNull(); n = n.nextSibling()) {
        if (n.isElement() && n.nodeName() != QLatin1String("COMMENT")) {
            model = n.toElement();
            break;
        }
    }

    QDomElement row;
    if (model.isNull()) {
        // No row to copy: a user key built from scratch.
        row = document.createElement(QStringLiteral("INIFIELD"));
        row.setAttribute(QStringLiteral("Doc"), QStringLiteral("ISOTHERS"));
        row.appendChild(document.createElement(QStringLiteral("KEY")));
        row.appendChild(document.createElement(QStringLiteral("VALUE")));
        row.appendChild(document.createElement(QStringLiteral("COMMENT")));
        setChildText(key, QStringLiteral("KEY"), row, 1);
        setChildText(empty, QStringLiteral("VALUE"), row, 1);
        setChildText(QString(), QStringLiteral("COMMENT"), row, 1);
        return row;
    }

    row = model.cloneNode(true).toElement();
    if (row.tagName() == QLatin1String("INIFIELD")) {
        setChildText(empty, QStringLiteral("VALUE"), row, 1);
        setChildText(QString(), QStringLiteral("COMMENT"), row, 1);
        setChildText(key, QStringLiteral("KEY"), row, 1);
        return row;
    }

    // A basic setting as model: turn the copy into a user key.
    row.setTagName(QStringLiteral("INIFIELD"));
    row.setAttribute(QStringLiteral("Doc"), QStringLiteral("ISOTHERS"));
    row.removeAttribute(QStringLiteral("Label"));
    setChildText(empty, QStringLiteral("VALUE"), row, 1);
    setChildText(QString(), QStringLiteral("COMMENT"), row, 1);
    QDomNode keyNode = model.firstChild().cloneNode(true);
    if (keyNode.isElement()) {
        keyNode.toElement().setTagName(QStringLiteral("KEY"));
        row.insertBefore(keyNode, row.firstChild().nextSibling());
    }
    setChildText(key, QStringLiteral("KEY"), row, 1);
    return row;
}

void QAIsViewer::addRow()
{
    if (container().isNull() || m_table->isRenaming())
        return;
    setButtonsEnabled(false);
    QWidget *dialogParent = parentWidget() ? parentWidget() : this;

    QString key;
    bool ok = false;
    for (;;) {
        key = QInputDialog::getText(dialogParent, tr("New Key", "add key window title"),
                                    tr("Enter the name of the new key:", "add key window text"),
                                    QLineEdit::Normal, QString(), &ok);
        QAXmlCharacters::leaveOut(key);
        if (!ok || key.isEmpty())
            break;
        bool taken = false;
        for (int i = 0; i < m_table->topLevelItemCount() && !taken; ++i)
            taken = m_table->topLevelItem(i)->text(0) == key;
        if (!taken)
            break;
        QMessageBox::warning(dialogParent, tr("Velmor Editor", "error window title"),
                             tr("This key already exists, You must enter another key.",
                                "error window text"),
                             QMessageBox::Ok);
    }

    if (ok && !key.isEmpty()) {
        // The row is made whole, then goes into the document as one step.
        const QDomElement element = newRowElement(key);
        edits()->insertElement(container(), element);
        if (QAIsViewerItem *row = rowOf(element)) {
            row->setRenameEnabled(0, true);
            row->setRenameEnabled(1, true);
            m_table->setCurrentItem(row);
            m_table->scrollToItem(row);
        }
    }
    setButtonsEnabled(true);
}

void QAIsViewer::removeRow()
{
    auto *row = QAIsViewerItem::fromItem(m_table->currentItem());
    if (!row || isBasicKey(row->element().tagName()) || m_table->isRenaming())
        return;
    // The table follows the document; with no row left current, the pane goes back to
    // the node rather than keep writing into the removed row.
    edits()->removeElement(row->element());
}

void QAIsViewer::moveRow(int offset)
{
    auto *row = QAIsViewerItem::fromItem(m_table->currentItem());
    if (!row || m_table->isRenaming())
        return;
    const int index = m_table->indexOfTopLevelItem(row);
    const int target = index + offset;
    auto *other = QAIsViewerItem::fromItem(m_table->topLevelItem(target));
    if (!other)
        return;

    const QDomElement element = row->element();
    const QDomElement neighbour = other->element();
    edits()->moveElement(element, offset < 0 ? QDomNode(neighbour) : neighbour.nextSibling());
    if (QAIsViewerItem *moved = rowOf(element)) {
        m_table->setCurrentItem(moved);
        m_table->scrollToItem(moved);
    }
}

void QAIsViewer::moveRowUp()
{
    moveRow(-1);
}

void QAIsViewer::moveRowDown()
{
    moveRow(1);
}
