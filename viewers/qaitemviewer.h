#pragma once

#include "viewers/qavmrviewer.h"

// Placeholder declaration: the viewer's own Part fills it in.
class QAItemViewer : public QAVmrViewer
{
    Q_OBJECT

public:
    QAItemViewer(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc);
    ~QAItemViewer() override;

    void showPage() override;
};
