#pragma once

#include "viewers/qavmrviewer.h"

#include <QAbstractItemDelegate>
#include <QDomElement>
#include <QPointer>
#include <QStringList>
#include <QTreeWidget>
#include <QTreeWidgetItem>

class QAIsViewer;
class QAIsViewerItem;
class QACommentPane;
class QLabel;
class QPushButton;
class QTextEdit;

/**
 * The key/value table of a settings viewer. Every in-place edit, whether started by the
 * viewer, by F2 or by a click on the current row, goes through the row's startRename so
 * that the viewer can lock its buttons; an edit that loses the focus is accepted, Escape
 * drops it.
 */
class QAIsViewerTable : public QTreeWidget
{
    Q_OBJECT

public:
    explicit QAIsViewerTable(QWidget *parent = nullptr);
    ~QAIsViewerTable() override;

    /** True while an in-place edit is open. */
    bool isRenaming() const;
    /** The row whose cell is being edited, or none. */
    QAIsViewerItem *renamingItem() const;
    /** The text currently typed into the open editor of item's column col. */
    bool editorText(const QAIsViewerItem *item, int col, QString *text) const;

    /** Opens the editor of item's column col; used by the row's startRename. */
    bool openEditor(QAIsViewerItem *item, int col);
    /** Closes the open editor without storing or restoring anything. */
    void closeOpenEditor();

signals:
    /** A double click on a row: its value is to be edited. */
    void valueEditRequested(QTreeWidgetItem *item);

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void commitData(QWidget *editor) override;
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    bool m_starting = false;
    QPointer<QWidget> m_editor;
    QAIsViewerItem *m_editItem = nullptr;
    int m_editColumn = 0;
};

/** One row of a settings table: a basic setting or a user key, bound to its element. */
class QAIsViewerItem : public QTreeWidgetItem
{
public:
    static constexpr int Type = QTreeWidgetItem::UserType + 30;

    QAIsViewerItem(QAIsViewer *viewer, QTreeWidget *table, QTreeWidgetItem *after,
                   const QDomElement &element);
    ~QAIsViewerItem() override;

    /** A cell's tool tip is its whole text, however narrow its column. */
    QVariant data(int column, int role) const override;

    /** Starts the in-place edit of a column, locking the viewer's buttons meanwhile. */
    virtual void startRename(int col);
    /** Accepts the edited text and writes it into KEY (column 0) or VALUE (column 1). */
    virtual void okRename(int col);
    /** Drops the edited text and restores the cell. */
    virtual void cancelRename(int col);

    void setRenameEnabled(int col, bool enabled);
    bool renameEnabled(int col) const;
    /** The column whose in-place edit was started last. */
    int renameColumn() const { return m_renameColumn; }
    QDomElement element() const { return m_element; }
    /** The row behind a table item, or none when the item is not a settings row. */
    static QAIsViewerItem *fromItem(QTreeWidgetItem *item);

private:
    QAIsViewerTable *table() const;

    int m_renameColumn = 0;
    bool m_renameEnabled[2] = {false, false};
    QAIsViewer *m_viewer = nullptr;
    QDomElement m_element;
};

/**
 * The settings table of one language family: the basic settings of the port and the
 * user's own keys, with their values, edited in place, and a comment pane for the node
 * or the current row.
 */
class QAIsViewer : public QAVmrViewer
{
    Q_OBJECT

public:
    QAIsViewer(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc);
    ~QAIsViewer() override;

    void showPage() override;
    void reveal(const QAXmlChange &change) override;

    /** The table, so that the editor widget can accept a pending in-place edit. */
    QTreeWidget *table() const;
    /** Accepts an open in-place edit of the table, storing the typed text. */
    void commitPendingEdit();

    /** Locks or unlocks the buttons; Remove stays locked on a basic setting. */
    void setButtonsEnabled(bool enabled);
    bool isBasicKey(const QString &tag) const;

public slots:
    void updateItem(QTreeWidgetItem *item);

protected slots:
    void startEdit(QTreeWidgetItem *item);
    void addRow();
    void removeRow();
    void moveRowUp();
    void moveRowDown();

private:
    QDomElement container() const;
    /** A row for each setting of the table, in the document's order. */
    void fillRows();
    QAIsViewerItem *rowOf(const QDomElement &element) const;
    void showChange(const QAXmlChange &change);
    QDomElement newRowElement(const QString &key);
    QString pageTitle() const;
    void moveRow(int offset);

    QDomElement m_element;
    QStringList m_basicKeys;
    QAVmrDocBrowser *m_doc = nullptr;
    QACommentPane *m_comment = nullptr;
    QAIsViewerTable *m_table = nullptr;
    QPushButton *m_add = nullptr;
    QPushButton *m_remove = nullptr;
    QPushButton *m_moveUp = nullptr;
    QPushButton *m_moveDown = nullptr;
    bool m_basicRow = false;
    bool m_buttonsEnabled = true;
};
