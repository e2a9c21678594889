#pragma once

#include "viewers/qavmrviewer.h"

// Placeholder declaration: the viewer's own Part fills it in.
class QAFctViewer : public QAVmrViewer
{
    Q_OBJECT

public:
    QAFctViewer(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc);
    ~QAFctViewer() override;

    void showPage() override;
};
