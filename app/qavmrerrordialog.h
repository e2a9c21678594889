#pragma once

#include <QDialog>

class QTextEdit;

/**
 * Shows the text of a failed script run in a read-only box, under the edition's title.
 * The text also goes to the warning output, so that it is kept in logs.
 */
class QAVmrErrorDialog : public QDialog
{
    Q_OBJECT

public:
    explicit QAVmrErrorDialog(const QString &message, QWidget *parent = nullptr,
                              const char *name = nullptr);
    ~QAVmrErrorDialog() override;

    QString message() const;

private:
    QTextEdit *m_text = nullptr;
};
