#pragma once

#include "viewers/qavmrviewer.h"

// Placeholder declaration: the viewer's own Part fills it in.
class QACommentViewer : public QAVmrViewer
{
    Q_OBJECT

public:
    QACommentViewer(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc);
    ~QACommentViewer() override;

    void showPage() override;
};
