#pragma once

#include <QPlainTextEdit>

class QMenu;
class QAvmrFindDialog;
struct QAFindRequest;

/**
 * The plain-text editor of files and function bodies. Its context menu adds a find
 * dialog, "find next" and a go-to-line command; line numbers may start after a fixed
 * number of lines shown above the editor (a function's prototype). A plain-text editor
 * underneath: it lays out only what it shows, so a keystroke in a file of megabytes
 * costs what it costs in a short one.
 */
class QAVmrTextEdit : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit QAVmrTextEdit(QWidget *parent = nullptr, int lineOffset = 0,
                           const char *name = nullptr);
    ~QAVmrTextEdit() override;

    /** The standard editing menu followed by the find and go-to commands. */
    QMenu *createPopupMenu(const QPoint &pos);

    int lineOffset() const { return m_lineOffset; }
    /** The find dialog, once "Find..." has been used; null before. */
    QAvmrFindDialog *currentFindDialog() const { return m_findDialog; }

public slots:
    /** Opens the find dialog, made on first use and kept with its settings. */
    void findDialog();
    /** Finds the selection again, or else what the find dialog holds. */
    void findDialogSearch();
    /** Selects the next hit after the cursor, going on from the top at the end. */
    void findInText(const QAFindRequest &request);
    /** Asks for a line number and puts the cursor on that line. */
    void gotoDialog();

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;
    /** Pasted and dropped text arrives without the characters a document cannot hold. */
    void insertFromMimeData(const QMimeData *source) override;
    /** A dropped file is for the window to open, not a text to insert. */
    bool canInsertFromMimeData(const QMimeData *source) const override;

private:
    QAvmrFindDialog *m_findDialog = nullptr; // a child of the editor
    int m_lineOffset = 0;
};
