#pragma once

#include <QTextBrowser>

class QMenu;
struct QAFindRequest;

/**
 * The read-only reference page beside the viewers, scrolled to the anchor of what is
 * being edited. It can be searched from the main window's find box and from its own
 * context menu.
 */
class QAVmrDocBrowser : public QTextBrowser
{
    Q_OBJECT

public:
    explicit QAVmrDocBrowser(QWidget *parent = nullptr, const char *name = nullptr);
    ~QAVmrDocBrowser() override;

    /** The standard menu of the page followed by "Find next occurence". */
    QMenu *createPopupMenu(const QPoint &pos);

    /** The text last typed into the main window's find box. */
    QString findString() const { return m_findString; }

    /** True when the page defines an anchor of that name. */
    bool hasAnchor(const QString &name) const;

    /**
     * A page set before the pane is first drawn is read right after that first frame,
     * so that the window comes up without waiting for the page's parsing and layout.
     * This reads it at once if it still waits; whatever needs the page's text (anchors,
     * searches, the context menu) calls it first.
     */
    void loadWaitingPage();
    /** True while a page has been set but not read yet. */
    bool pageWaiting() const { return !m_waitingPage.isEmpty(); }

    /**
     * The anchor the pane keeps in view: the one last shown for a node, until the user
     * scrolls, searches or follows a link. A new width reflows the page and moves every
     * section; the pane then brings this one back to the top.
     */
    QString keptAnchor() const { return m_keptAnchor; }

    QVariant loadResource(int type, const QUrl &name) override;

public slots:
    /**
     * Shows the anchor of a node's page; a name that the page does not define leaves
     * the view where it is (the toolkit would jump to the top).
     */
    void scrollToAnchor(const QString &name);
    /** Remembers the find box's text for the next search; it does not search. */
    void findInDocStart(const QString &string);
    /**
     * Selects the next hit after the cursor; at the bottom of the page the search goes
     * on from the top and says so on the status bar.
     */
    void findInDoc(const QAFindRequest &request);
    /** Searches, case-sensitively, for the selection or else the find box's text. */
    void findDialogSearch();

signals:
    void statusMsg(const QString &text, int msecs);

protected:
    void doSetSource(const QUrl &name, QTextDocument::ResourceType type) override;
    void paintEvent(QPaintEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    /** Scrolls to the kept anchor, now and once more when the page's layout has settled. */
    void showKeptAnchor();

    QString m_findString;
    // Until the first frame, a page that is set is held back (see loadWaitingPage).
    bool m_holdPages = true;
    bool m_holdingNow = false;
    bool m_loadQueued = false;
    QUrl m_waitingPage;
    // The document's revision right after the empty stand-in went in: another text put
    // into the pane meanwhile replaces the waiting page.
    int m_standInRevision = -1;
    // Anchors asked for while the page waits, in order; the last one the page defines
    // is shown once it is read.
    QStringList m_waitingAnchors;
    QString m_keptAnchor;
    bool m_showQueued = false;
};
