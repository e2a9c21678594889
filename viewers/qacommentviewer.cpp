#include "viewers/qacommentviewer.h"

// Placeholder definition: the viewer's own Part fills it in.
QACommentViewer::QACommentViewer(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc)
    : QAVmrViewer(element, parent, doc)
{
}

QACommentViewer::~QACommentViewer() = default;

void QACommentViewer::showPage()
{
}
