#pragma once

#include "viewers/qavmrviewer.h"

class QACommentPane;
class QAVmrTextEdit;
class QLabel;
class QTextEdit;

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

    void reveal(const QAXmlChange &change) override;

    /** The child holding prototype, body and tail: VALUEFCTPERL, VALUEFCTADA or VALUEFCT. */
    static QDomElement valueChild(const QDomElement &element);
    /** A fixed piece of code shown above or below an editable one. */
    static QLabel *codeLabel(const QString &text, QWidget *parent);

    QAVmrTextEdit *valueEditor() const { return m_value; }
    QTextEdit *commentEditor() const;
    QLabel *protoLabel() const { return m_proto; }
    QLabel *tailLabel() const { return m_tail; }
    QLabel *commentTitle() const;

private:
    void saveText();
    void showChange(const QAXmlChange &change);

    QDomElement m_element;
    QAVmrTextEdit *m_value = nullptr;
    QACommentPane *m_comment = nullptr;
    QLabel *m_proto = nullptr;
    QLabel *m_tail = nullptr;
};
