#pragma once

#include "viewers/qavmrviewer.h"

// Placeholder declaration: the viewer's own Part fills it in.
class QAFreeText : public QAVmrViewer
{
    Q_OBJECT

public:
    QAFreeText(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc);
    ~QAFreeText() override;

    void showPage() override;
};
