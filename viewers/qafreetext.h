#pragma once

#include "support/qaxmledits.h"
#include "viewers/qavmrviewer.h"

class QACommentPane;
class QLabel;
class QTextEdit;
class QAVmrTextEdit;

/**
 * The viewer of a whole text held in the document (an ASCII file of the port, a free
 * text of the runtime configuration): the text in a large editor, its comment below.
 */
class QAFreeText : public QAVmrViewer
{
    Q_OBJECT

public:
    QAFreeText(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc);
    ~QAFreeText() override;

    void reveal(const QAXmlChange &change) override;

    QAVmrTextEdit *textEditor() const { return m_text; }
    /**
     * Whether the whole text is in the editor. A long text arrives in parts after the
     * viewer is shown; until then the editor is read-only and nothing is written.
     */
    bool isLoaded() const { return m_pending.isNull(); }
    QTextEdit *commentEditor() const;
    QLabel *commentTitle() const;

private:
    /** Shows VALUE's text, a long one in parts. */
    void fill();
    /** Moves the next part of a long text into the editor; the last part enables it. */
    void loadMore();
    void startEditing();
    void saveText();
    /** Writes the one change the editor reported into VALUE; false when it cannot. */
    bool writeChange();
    void showChange(const QAXmlChange &change);

    QDomElement m_element;
    QAVmrTextEdit *m_text = nullptr;
    QACommentPane *m_comment = nullptr;

    // The part of a long text not yet in the editor (null once all of it is).
    QString m_pending;
    // What the editor reported since the last write, and the length of VALUE's text as
    // the viewer last wrote or read it.
    int m_changes = 0;
    int m_changeAt = 0;
    int m_changeRemoved = 0;
    int m_changeAdded = 0;
    qsizetype m_written = -1;
    // While the editor is filled from the document, or the viewer writes into it.
    bool m_filling = false;
    bool m_writing = false;
    // A change to bring into view once a long text is all in the editor.
    QAXmlChange m_reveal;
};
