#pragma once

#include "viewers/qavmrviewer.h"

class QLabel;
class QTextEdit;

/**
 * The viewer of nodes that hold nothing to edit but their comment: the root and the
 * grouping nodes. The comment goes straight into the element's COMMENT child.
 */
class QACommentViewer : public QAVmrViewer
{
    Q_OBJECT

public:
    QACommentViewer(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc);
    ~QACommentViewer() override;

    void showPage() override;

    QTextEdit *commentEditor() const { return m_comment; }
    QLabel *commentTitle() const { return m_title; }

protected slots:
    void saveComment();

private:
    QDomElement m_element;
    QAVmrDocBrowser *m_doc = nullptr;
    QTextEdit *m_comment = nullptr;
    QLabel *m_title = nullptr;
};
