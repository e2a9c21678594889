#pragma once

#include "viewers/qavmrviewer.h"

#include <QDomElement>

class QACommentPane;

/**
 * A page of library configuration items: one field per macro, Ada type or constant,
 * stacked in a framed box, and a comment pane for the page or the item last entered.
 */
class QAItemViewer : public QAVmrViewer
{
    Q_OBJECT

public:
    QAItemViewer(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc);
    ~QAItemViewer() override;

    /** Back to the page: its comment in the pane, its anchor in the documentation. */
    void showPage() override;
    void reveal(const QAXmlChange &change) override;

public slots:
    /** Shows the comment of the item the user entered and makes it the comment target. */
    void updateComment(QDomElement &item);

private:
    QString pageTitle() const;

    QACommentPane *m_comment = nullptr;
    QDomElement m_element;
};
