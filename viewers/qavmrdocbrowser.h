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
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    QString m_findString;
};
