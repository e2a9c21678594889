#pragma once

#include "support/qaxmleditornode.h"

#include <QDomElement>

class QAVmrDocBrowser;
class QAVmrEditorTree;
class QAVmrViewer;
class QMenu;
class QWidget;

/**
 * A node of the document tree: an item bound to one element. Its kind decides its text,
 * whether it can be renamed in place, the children it builds from its element, its
 * context menu and the viewer that edits it.
 */
class QAVmrEditorNode : public QAXmlEditorNode
{
public:
    /** Item types of the kinds that the editor widget tells apart. */
    enum Rtti { RootRtti = 1000, AsciiFileRtti = 2000, BinaryFileRtti = 3000 };

    QAVmrEditorNode(QTreeWidget *view, const QDomElement &element, int type = Type);
    QAVmrEditorNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element,
                    int type = Type);
    QAVmrEditorNode(QTreeWidgetItem *parent, const QDomElement &element, int type = Type);
    ~QAVmrEditorNode() override;

    virtual int rtti() const { return type(); }
    /** Opens the in-place editor on the column when the node's name may be edited. */
    virtual void startRename(int column);
    /** Accepts an open in-place edit of the column; renamable kinds store the name. */
    virtual void okRename(int column);
    QMenu *createPopupMenu() override;
    /**
     * Creates the nodes of the element's children under parent (this node when none).
     * Returns whether every nested build succeeded.
     */
    virtual bool buildChild(QAVmrEditorNode *parent, QDomElement &element);
    /** The viewer of this node, parented to parent; none for kinds without a viewer. */
    virtual QAVmrViewer *createViewer(QWidget *parent, QAVmrDocBrowser *doc);

    /** Root and file nodes: their text is the element's "Name". */
    bool isRenamable() const;
    /** The node's tree when it is the editor's own tree, else none. */
    QAVmrEditorTree *editorTree() const;
    /** The element that the node's viewer shows (mostly the node's own). */
    QDomElement shownElement() const { return const_cast<QAVmrEditorNode *>(this)->viewedElement(); }
    /** Shows the name or label as the element now has it. */
    virtual void refreshText();

    void setData(int column, int role, const QVariant &value) override;

protected:
    /** Text from the element's "Name", editable in place. */
    void nameSetup();
    /** Text from the element's translated "Label", not editable in place. */
    void labelSetup();
    /** Writes a new name into the element's "Name", through the document's edits. */
    void storeName(const QString &name);
    /** The element that the node's viewer edits; it lives as long as the node. */
    virtual QDomElement &viewedElement() { return m_element; }

    template<class Viewer>
    QAVmrViewer *makeViewer(QWidget *parent, QAVmrDocBrowser *doc)
    {
        QDomElement &element = viewedElement();
        if (element.isNull())
            return nullptr;
        return new Viewer(element, parent, doc);
    }

    /**
     * Creates a node of kind Node for element under parent, right after last, and makes it
     * the new last one, so that siblings keep the document's order.
     */
    template<class Node>
    static Node *appendNode(QTreeWidgetItem *parent, QTreeWidgetItem *&last,
                            const QDomElement &element)
    {
        auto *node = new Node(parent, last, element);
        last = node;
        return node;
    }

    /** The item under which buildChild creates: the given parent or this node. */
    QTreeWidgetItem *buildParent(QAVmrEditorNode *parent) { return parent ? parent : this; }
};

/**
 * A node titled by its element's translated "Label" that opens one kind of form: the
 * sections, pages, steps and texts of a port differ only in that form, in the children
 * they build and in their menus.
 */
class QAFormNode : public QAVmrEditorNode
{
public:
    enum Form : unsigned char {
        CommentForm,
        FreeTextForm,
        FunctionForm,
        ItemForm,
        ChoiceForm,
        SettingsForm,
        BinaryFileForm
    };

    QAFormNode(QTreeWidgetItem *parent, QTreeWidgetItem *after, const QDomElement &element,
               Form form, int type = Type);
    QAFormNode(QTreeWidgetItem *parent, const QDomElement &element, Form form);

    QAVmrViewer *createViewer(QWidget *parent, QAVmrDocBrowser *doc) override;
    void refreshText() override { emitDataChanged(); }

    using QAVmrEditorNode::data;
    /** The title is read from the element whenever it is shown, not kept in the node. */
    QVariant data(int column, int role) const override;
    /** A file's accepted new name goes straight into its element's "Name". */
    void setData(int column, int role, const QVariant &value) override;

private:
    /** The element's "Name" for files, else its translated "Label". */
    QString title() const;

    Form m_form;
};
