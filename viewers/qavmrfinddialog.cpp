#include "viewers/qavmrfinddialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

QAvmrFindDialog::QAvmrFindDialog(QWidget *parent, const char *name, bool modal,
                                 Qt::WindowFlags flags)
    : QDialog(parent, flags)
{
    if (name)
        setObjectName(QLatin1String(name));
    setModal(modal);
    setWindowTitle(tr("Find"));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(5);

    auto *findRow = new QHBoxLayout;
    findRow->setSpacing(5);
    auto *label = new QLabel(tr("Find:"), this);
    label->setFixedSize(label->sizeHint());
    findRow->addWidget(label);
    m_find = new QComboBox(this);
    m_find->setObjectName(QStringLiteral("qvfd-cb-find-txt"));
    m_find->setEditable(true);
    m_find->setInsertPolicy(QComboBox::InsertAtTop);
    m_find->setDuplicatesEnabled(false);
    m_find->setMinimumWidth(2 * m_find->sizeHint().width());
    label->setBuddy(m_find);
    findRow->addWidget(m_find);
    layout->addLayout(findRow);

    auto *options = new QGroupBox(tr("Search Options"), this);
    auto *optionsLayout = new QVBoxLayout(options);
    m_caseSensitive = new QCheckBox(tr("&Case Sensitive"), options);
    m_caseSensitive->setChecked(false);
    m_wildcard = new QCheckBox(tr("&Wildcard"), options);
    optionsLayout->addWidget(m_caseSensitive);
    optionsLayout->addWidget(m_wildcard);
    layout->addWidget(options);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(5);
    buttons->addStretch();
    m_next = new QPushButton(tr("Next"), this);
    m_next->setDefault(true);
    m_close = new QPushButton(tr("Close"), this);
    m_close->setAutoDefault(false);
    buttons->addWidget(m_next);
    buttons->addWidget(m_close);
    layout->addLayout(buttons);

    connect(m_next, &QPushButton::clicked, this, &QAvmrFindDialog::nextSearch);
    connect(m_close, &QPushButton::clicked, this, &QDialog::accept);
}

QAvmrFindDialog::~QAvmrFindDialog() = default;

QAFindRequest QAvmrFindDialog::searchExpression() const
{
    QAFindRequest request;
    request.pattern = m_find->currentText();
    request.caseSensitive = m_caseSensitive->isChecked();
    request.wildcard = m_wildcard->isChecked();
    return request;
}

void QAvmrFindDialog::nextSearch()
{
    // What was searched for goes to the top of the history, once.
    const QString text = m_find->currentText();
    if (!text.isEmpty()) {
        const int known = m_find->findText(text, Qt::MatchFixedString | Qt::MatchCaseSensitive);
        if (known != 0) {
            if (known > 0)
                m_find->removeItem(known);
            m_find->insertItem(0, text);
            m_find->setCurrentIndex(0);
        }
    }
    emit search(searchExpression());
}
