#pragma once

#include <QDomElement>
#include <QObject>

class QAVmrDocBrowser;
class QATextEdit;
class QBoxLayout;
class QFrame;
class QLabel;
class QTextEdit;
class QWidget;
struct QAXmlChange;

/**
 * The comment box of a page: a title and a plain-text box that shows the comment of the
 * page or of the entry chosen in it, writes what the user types into that element's
 * "COMMENT" child at once, and shows whatever else changes that comment (an undo).
 */
class QACommentPane : public QObject
{
    Q_OBJECT

public:
    /** Creates the title and the box as children of owner; addTo places them. */
    QACommentPane(QWidget *owner, QAVmrDocBrowser *doc);
    ~QACommentPane() override;

    /** Lays the title and the box out; a box that is the page's main field grows. */
    void addTo(QBoxLayout *layout, bool main = false);
    /**
     * Shows target's comment, looked up at depth as childText does, under title. Filling
     * the box is not an edit: nothing is written back.
     */
    void fill(const QDomElement &target, const QString &title, int depth = 1);
    /** Fills the box and points the documentation pane at the "Doc" anchor of page. */
    void show(const QDomElement &target, const QString &title, const QDomElement &page,
              int depth = 1);
    /** Fills the box and points the documentation pane at target's own anchor. */
    void show(const QDomElement &target, const QString &title) { show(target, title, target); }

    const QDomElement &target() const { return m_target; }
    int depth() const { return m_depth; }
    QTextEdit *editor() const;
    QLabel *title() const { return m_title; }
    /** Whether change is of the comment the box shows. */
    bool shows(const QAXmlChange &change) const;
    /** Selects the changed part of the comment shown, with the focus in the box. */
    void select(const QAXmlChange &change);

    /** The raised box that frames a page's parts. */
    static void frameBox(QFrame *frame);

private:
    void save();
    void changed(const QAXmlChange &change);

    QAVmrDocBrowser *m_doc;
    QLabel *m_title;
    QATextEdit *m_text;
    QDomElement m_target;
    int m_depth = 1;
    bool m_watching = false;
};
