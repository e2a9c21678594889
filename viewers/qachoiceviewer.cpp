#include "viewers/qachoiceviewer.h"

// Placeholder definition: the viewer's own Part fills it in.
QAChoiceViewer::QAChoiceViewer(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc)
    : QAVmrViewer(element, parent, doc)
{
}

QAChoiceViewer::~QAChoiceViewer() = default;

void QAChoiceViewer::showPage()
{
}
