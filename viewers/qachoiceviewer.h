#pragma once

#include "viewers/qavmrviewer.h"

// Placeholder declaration: the viewer's own Part fills it in.
class QAChoiceViewer : public QAVmrViewer
{
    Q_OBJECT

public:
    QAChoiceViewer(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc);
    ~QAChoiceViewer() override;

    void showPage() override;
};
