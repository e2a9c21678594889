#include "document/qavmrwaitdlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

QAVmrWaitDlg::QAVmrWaitDlg(const QString &text, const QString &caption, bool withCancel,
                           QWidget *parent, const char *name)
    : QDialog(parent)
{
    if (name)
        setObjectName(QLatin1String(name));
    setModal(false);
    setWindowTitle(caption);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    m_message = new QLabel(text, this);
    layout->addWidget(m_message);

    if (withCancel) {
        layout->addSpacing(10);
        auto *row = new QHBoxLayout;
        row->addStretch();
        m_cancel = new QPushButton(tr("&Cancel"), this);
        row->addWidget(m_cancel);
        layout->addLayout(row);
        connect(m_cancel, &QPushButton::clicked, this, &QAVmrWaitDlg::canceled);
    }
}

QAVmrWaitDlg::~QAVmrWaitDlg() = default;

QString QAVmrWaitDlg::text() const
{
    return m_message->text();
}
