#include "viewers/qafctviewer.h"

// Placeholder definition: the viewer's own Part fills it in.
QAFctViewer::QAFctViewer(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc)
    : QAVmrViewer(element, parent, doc)
{
}

QAFctViewer::~QAFctViewer() = default;

void QAFctViewer::showPage()
{
}
