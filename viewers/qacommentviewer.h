#pragma once

#include "viewers/qavmrviewer.h"

class QACommentPane;
class QLabel;
class QTextEdit;

/**
 * The viewer of nodes that hold nothing to edit but their comment: the root and the
 * grouping nodes.
 */
class QACommentViewer : public QAVmrViewer
{
    Q_OBJECT

public:
    QACommentViewer(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc);
    ~QACommentViewer() override;

    void reveal(const QAXmlChange &change) override;

    QTextEdit *commentEditor() const;
    QLabel *commentTitle() const;

private:
    QDomElement m_element;
    QACommentPane *m_comment = nullptr;
};
