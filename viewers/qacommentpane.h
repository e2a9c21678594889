#pragma once

#include <QDomElement>
#include <QObject>

class QAVmrDocBrowser;
class QBoxLayout;
class QFrame;
class QLabel;
class QTextEdit;
class QWidget;

/**
 * The comment box under a page: a title and a plain-text box that shows the comment of
 * the page or of the entry chosen in it, and writes what the user types into that
 * element's "COMMENT" child at once.
 */
class QACommentPane : public QObject
{
    Q_OBJECT

public:
    /** Creates the title and the box as children of owner; addTo places them. */
    QACommentPane(QWidget *owner, QAVmrDocBrowser *doc);
    ~QACommentPane() override;

    void addTo(QBoxLayout *layout);
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
    QTextEdit *editor() const { return m_text; }

    /** The raised box that frames a page's parts. */
    static void frameBox(QFrame *frame);

signals:
    /** The user changed the comment; it is already in the document. */
    void edited();

private:
    void save();

    QAVmrDocBrowser *m_doc;
    QLabel *m_title;
    QTextEdit *m_text;
    QDomElement m_target;
    int m_depth = 1;
};
