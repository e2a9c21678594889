#pragma once

#include "viewers/qavmrviewer.h"

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

    void showPage() override;

    QAVmrTextEdit *textEditor() const { return m_text; }
    QTextEdit *commentEditor() const { return m_comment; }
    QLabel *commentTitle() const { return m_commentTitle; }

protected slots:
    void saveText();
    void saveComment();

private:
    QDomElement m_element;
    QAVmrDocBrowser *m_doc = nullptr;
    QAVmrTextEdit *m_text = nullptr;
    QTextEdit *m_comment = nullptr;
    QLabel *m_commentTitle = nullptr;
};
