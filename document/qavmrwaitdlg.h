#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

/** A small modeless dialog that says what the editor waits for, optionally cancellable. */
class QAVmrWaitDlg : public QDialog
{
    Q_OBJECT

public:
    QAVmrWaitDlg(const QString &text, const QString &caption, bool withCancel = false,
                 QWidget *parent = nullptr, const char *name = nullptr);
    ~QAVmrWaitDlg() override;

    QString text() const;
    QPushButton *cancelButton() const { return m_cancel; }

signals:
    void canceled();

private:
    QLabel *m_message = nullptr;
    QPushButton *m_cancel = nullptr;
};
