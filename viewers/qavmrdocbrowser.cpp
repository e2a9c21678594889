#include "viewers/qavmrdocbrowser.h"

QAVmrDocBrowser::QAVmrDocBrowser(QWidget *parent, const char *name)
    : QTextBrowser(parent)
{
    if (name)
        setObjectName(QLatin1String(name));
}

QAVmrDocBrowser::~QAVmrDocBrowser() = default;
