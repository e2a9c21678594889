#pragma once

#include <QTextBrowser>

class QAFindRequest;

/** The read-only reference page beside the viewers, scrolled to the node's anchor. */
class QAVmrDocBrowser : public QTextBrowser
{
    Q_OBJECT

public:
    explicit QAVmrDocBrowser(QWidget *parent = nullptr, const char *name = nullptr);
    ~QAVmrDocBrowser() override;

signals:
    void statusMsg(const QString &text, int msecs);
};
