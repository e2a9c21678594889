#include "viewers/qaisviewer.h"

// Placeholder definition: the viewer's own Part fills it in.
QAIsViewer::QAIsViewer(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc)
    : QAVmrViewer(element, parent, doc)
{
}

QAIsViewer::~QAIsViewer() = default;

void QAIsViewer::showPage()
{
}
