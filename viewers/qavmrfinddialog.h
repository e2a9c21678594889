#pragma once

#include "support/qafindrequest.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QPushButton;

/**
 * The search dialog of a text editor: the text to find with its history, and the case
 * and wildcard options. It stays alive between searches, so both are kept.
 */
class QAvmrFindDialog : public QDialog
{
    Q_OBJECT

public:
    explicit QAvmrFindDialog(QWidget *parent = nullptr, const char *name = nullptr,
                             bool modal = false, Qt::WindowFlags flags = Qt::WindowFlags());
    ~QAvmrFindDialog() override;

    /** The request made of the text to find and the two options. */
    QAFindRequest searchExpression() const;

    QComboBox *findCombo() const { return m_find; }
    QCheckBox *caseSensitiveBox() const { return m_caseSensitive; }
    QCheckBox *wildcardBox() const { return m_wildcard; }
    QPushButton *nextButton() const { return m_next; }
    QPushButton *closeButton() const { return m_close; }

signals:
    void search(const QAFindRequest &request);

protected slots:
    void nextSearch();

private:
    QComboBox *m_find = nullptr;
    QCheckBox *m_caseSensitive = nullptr;
    QCheckBox *m_wildcard = nullptr;
    QPushButton *m_next = nullptr;
    QPushButton *m_close = nullptr;
};
