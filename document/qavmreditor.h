#pragma once

#include "document/qavmrdocumentedits.h"
#include "support/qahelp.h"
#include "support/qaxmleditor.h"

#include <QPointer>

class QAVmrDocBrowser;
class QAVmrEditorNode;
class QAVmrEditorTree;
class QAVmrViewer;
class QLineEdit;
class QMenu;
class QScrollArea;
class QSplitter;
class QTreeWidgetItem;
class QWidget;

/**
 * The central widget: the document tree on the left; on the right the documentation
 * pane with the "Generate in:" field above the edition area, where the viewer of the
 * current node lives. It builds the tree from a loaded document and swaps viewers.
 */
class QAVmrEditor : public QAXmlEditor
{
    Q_OBJECT

public:
    explicit QAVmrEditor(const QString &docDir, QWidget *parent = nullptr,
                         const char *name = nullptr);
    ~QAVmrEditor() override;

    bool buildTree(QDomElement &root) override;
    void commitEdit(QAXmlEditorNode *node) override;
    void showViewer(QAXmlEditorNode *node) override;
    void nodeClicked() override;

    /** Deletes the viewer, empties the tree and drops the document. */
    void clear();
    /** Whether the document differs from its file: its history is not where it was saved. */
    bool isModified() const;
    /** Marks the document as its file holds it, or as differing from it. */
    void setModified(bool value);
    /** Accepts an edit still open in the tree or in the viewer, as leaving the node does. */
    void commitPendingEdit();
    /** The edits of the open document: every change goes through them. */
    QAVmrDocumentEdits *edits() { return &m_edits; }
    /** The node whose viewer shows node, or the nearest such node up from it. */
    QAVmrEditorNode *nodeShowing(const QDomNode &node) const;
    void setGenerateIn(const QString &dir);
    QString generateIn() const;
    int docAreaSize() const;
    int editionAreaSize() const;
    void setAreaSizes(int docArea, int editionArea);

    QAVmrEditorTree *tree() const { return m_tree; }
    QAVmrDocBrowser *docBrowser() const { return m_docBrowser; }
    QAHelp *help() { return &m_help; }
    QAVmrViewer *viewer() const { return m_viewer; }
    QWidget *editionArea() const { return m_editionArea; }
    /** The node whose viewer was shown last through a change of the current item. */
    QAVmrEditorNode *currentNode() const { return m_currentNode; }
    /** The context menu shown last, while it exists. */
    QMenu *popupMenu() const;
    /** The box above the tree that narrows it to the nodes whose name matches. */
    QLineEdit *treeFilter() const { return m_treeFilter; }
    /** Shows only the nodes whose name holds text, and the nodes above them. */
    void filterTree(const QString &text);
    /**
     * Shows a place of the document: its node current, the field and the text chosen
     * (what an undone or redone change, a search hit or a problem names).
     */
    void reveal(const QAXmlChange &change);

signals:
    /** A document's tree was built: searches and checks may start on root. */
    void documentOpened(const QDomElement &root);
    /** The document is gone from the editor. */
    void documentClosed();

public slots:
    void updateViewer(QTreeWidgetItem *item);
    void contextMenu(const QPoint &pos);

protected:
    void showEvent(QShowEvent *event) override;

private:
    /** Deletes the viewer and forgets the current node, whose tree is going away. */
    void dropViewer();
    /** The tree follows changes of its sections' files and of names. */
    void documentChanged(const QAXmlChange &change);
    /** Hides the viewer and deletes it once control is back in the event loop. */
    void retireViewer();
    /** From the filter into the tree, on a node the filter shows. */
    void enterFilteredTree();

    QAVmrEditorNode *m_currentNode = nullptr;
    QSplitter *m_horizontalSplitter = nullptr;
    QSplitter *m_verticalSplitter = nullptr;
    // Until the user moves the tree's splitter, its first showing gives the tree its width.
    bool m_treeWidthChosen = false;
    QAVmrDocumentEdits m_edits;
    QWidget *m_editionArea = nullptr;
    QScrollArea *m_viewerScroll = nullptr;
    QWidget *m_viewerHost = nullptr;
    QPointer<QMenu> m_popupMenu;
    QAVmrViewer *m_viewer = nullptr;
    QAVmrDocBrowser *m_docBrowser = nullptr;
    QLineEdit *m_generateIn = nullptr;
    QLineEdit *m_treeFilter = nullptr;
    QAHelp m_help;
    QAVmrEditorTree *m_tree = nullptr;
};
