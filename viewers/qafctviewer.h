#pragma once

#include "viewers/qavmrviewer.h"

class QLabel;
class QTextEdit;
class QAVmrTextEdit;

/**
 * The viewer of one function of the port (a build step or a private function): the
 * fixed prototype, the editable body and the fixed closing text, and the comment.
 */
class QAFctViewer : public QAVmrViewer
{
    Q_OBJECT

public:
    QAFctViewer(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc);
    ~QAFctViewer() override;

    void showPage() override;

    /** The child holding prototype, body and tail: VALUEFCTPERL, VALUEFCTADA or VALUEFCT. */
    static QDomElement valueChild(const QDomElement &element);

    QAVmrTextEdit *valueEditor() const { return m_value; }
    QTextEdit *commentEditor() const { return m_comment; }
    QLabel *protoLabel() const { return m_proto; }
    QLabel *tailLabel() const { return m_tail; }
    QLabel *commentTitle() const { return m_commentTitle; }

protected slots:
    void saveText();
    void saveComment();

private:
    QDomElement m_element;
    QAVmrDocBrowser *m_doc = nullptr;
    QAVmrTextEdit *m_value = nullptr;
    QTextEdit *m_comment = nullptr;
    QLabel *m_proto = nullptr;
    QLabel *m_tail = nullptr;
    QLabel *m_commentTitle = nullptr;
};
