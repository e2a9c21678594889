#pragma once

#include "viewers/qavmrviewer.h"

// Placeholder declaration: the viewer's own Part fills it in.
class QAIsViewer : public QAVmrViewer
{
    Q_OBJECT

public:
    QAIsViewer(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc);
    ~QAIsViewer() override;

    void showPage() override;
};
