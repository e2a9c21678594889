#include "viewers/qaitemviewer.h"

// Placeholder definition: the viewer's own Part fills it in.
QAItemViewer::QAItemViewer(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc)
    : QAVmrViewer(element, parent, doc)
{
}

QAItemViewer::~QAItemViewer() = default;

void QAItemViewer::showPage()
{
}
