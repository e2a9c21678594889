#pragma once

#include <QDialog>

class QRadioButton;

/** Asks for the language family of a new port description; each has its own template. */
class QANewVmrDlg : public QDialog
{
    Q_OBJECT

public:
    explicit QANewVmrDlg(QWidget *parent = nullptr, const char *name = nullptr);
    ~QANewVmrDlg() override;

    /** The template file of the chosen family; empty unless the dialog was accepted. */
    QString templateName() const { return m_templateName; }

    QRadioButton *cButton() const { return m_cButton; }
    QRadioButton *adaButton() const { return m_adaButton; }
    QRadioButton *j2seButton() const { return m_j2seButton; }
    QRadioButton *j2meButton() const { return m_j2meButton; }

public slots:
    void accept() override;

private:
    QRadioButton *m_cButton = nullptr;
    QRadioButton *m_adaButton = nullptr;
    QRadioButton *m_j2seButton = nullptr;
    QRadioButton *m_j2meButton = nullptr;
    QString m_templateName;
};
