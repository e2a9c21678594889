#pragma once

#include "support/qaxmledits.h"

#include <QUndoStack>

class QUndoCommand;

/**
 * The edits of the open port description: every change of the document, from a
 * keystroke to a deleted file, is a step of one history that Edit > Undo and Redo walk,
 * whichever field has the focus. A step holds the element and what changed, never a copy
 * of the document; typing into one field is one step per burst. The history knows which
 * step matches the file on disk, so undoing back to a save makes the document unmodified.
 */
class QAVmrDocumentEdits : public QAXmlEdits
{
    Q_OBJECT

public:
    explicit QAVmrDocumentEdits(QObject *parent = nullptr);
    ~QAVmrDocumentEdits() override;

    /** Edits of document from now on, with an empty history matching the file. */
    void open(const QDomDocument &document);
    /** Edits of no document any longer. */
    void close();

    QUndoStack *history() { return &m_history; }
    bool isModified() const;
    /** The document as it stands is what its file holds: a save just wrote it. */
    void markSaved();
    /** The document differs from its file whatever the history says (recovered work). */
    void markModified();
    /** Undoes or redoes a step, then asks for it to be brought into view. */
    void undo();
    void redo();

    void setChildText(const QDomElement &element, const QString &tag, const QString &text,
                      int depth = 1) override;
    void replaceChildText(const QDomElement &element, const QString &tag, int position,
                          int removed, const QString &added) override;
    void setAttribute(const QDomElement &element, const QString &name, const QString &value,
                      bool typed = false) override;
    void insertElement(const QDomElement &parent, const QDomElement &child,
                       const QDomNode &before = QDomNode()) override;
    void removeElement(const QDomElement &child) override;
    void moveElement(const QDomElement &child, const QDomNode &before) override;
    void beginGroup(const QString &text) override;
    void endGroup() override;

    /** How a step names an element: its name, its key, its label or its tag. */
    static QString describe(const QDomElement &element);
    /** Announces a change; the steps call it as they are done, undone and redone. */
    void announce(const QAXmlChange &change);

signals:
    void modifiedChanged(bool modified);
    /** After an undo or a redo: the change to bring into view. */
    void revealRequested(const QAXmlChange &change);

private:
    void push(QUndoCommand *step);
    void reveal(const QUndoCommand *step, bool undone);

    QUndoStack m_history;
    int m_groups = 0;
};
