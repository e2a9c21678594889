#include "viewers/qafreetext.h"

// Placeholder definition: the viewer's own Part fills it in.
QAFreeText::QAFreeText(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc)
    : QAVmrViewer(element, parent, doc)
{
}

QAFreeText::~QAFreeText() = default;

void QAFreeText::showPage()
{
}
