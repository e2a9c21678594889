#include "app/qanewvmrdlg.h"

#include "support/qaedition.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <utility>

QANewVmrDlg::QANewVmrDlg(QWidget *parent, const char *name)
    : QDialog(parent)
{
    if (name)
        setObjectName(QLatin1String(name));
    setModal(true);
    setWindowTitle(tr("Velmor Language Selection"));
    setWindowIcon(QAEdition::windowIcon());

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addSpacing(10);

    auto *group = new QGroupBox(tr("Select the language of your new Velmor:"), this);
    group->setObjectName(QStringLiteral("ButtonGroup"));
    group->setFlat(true);
    auto *grid = new QGridLayout(group);
    m_cButton = new QRadioButton(tr("C/C++"), group);
    m_adaButton = new QRadioButton(tr("Ada/Ada83"), group);
    m_j2seButton = new QRadioButton(tr("J2SE"), group);
    m_j2meButton = new QRadioButton(tr("J2ME"), group);
    // Two rows of four cells; the empty outer cells keep the buttons in the middle.
    QRadioButton *const rows[2][2] = {{m_cButton, m_adaButton}, {m_j2seButton, m_j2meButton}};
    for (int row = 0; row < 2; ++row) {
        grid->addWidget(new QLabel(group), row, 0);
        grid->addWidget(rows[row][0], row, 1);
        grid->addWidget(rows[row][1], row, 2);
        grid->addWidget(new QLabel(group), row, 3);
    }
    auto *buttons = new QButtonGroup(group);
    buttons->setExclusive(true);
    for (QRadioButton *b : {m_cButton, m_adaButton, m_j2seButton, m_j2meButton})
        buttons->addButton(b);
    m_cButton->setChecked(true);
    layout->addWidget(group);

    auto *line = new QFrame(this);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    layout->addWidget(line);

    auto *row = new QHBoxLayout;
    row->setContentsMargins(5, 5, 5, 5);
    row->addStretch();
    auto *open = new QPushButton(tr("Open", "open window"), this);
    open->setObjectName(QStringLiteral("Open"));
    open->setDefault(true);
    row->addWidget(open);
    row->addStretch();
    auto *cancel = new QPushButton(tr("Cancel", "open window"), this);
    cancel->setObjectName(QStringLiteral("Cancel"));
    row->addWidget(cancel);
    row->addStretch();
    layout->addLayout(row);

    connect(open, &QPushButton::clicked, this, &QANewVmrDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &QANewVmrDlg::reject);
}

QANewVmrDlg::~QANewVmrDlg() = default;

void QANewVmrDlg::accept()
{
    // The name is known before the dialog reports its result, so that whoever listens
    // to accepted() already finds it.
    const std::pair<const QRadioButton *, const char *> choices[] = {
        {m_cButton, "templatec.xvm"},
        {m_adaButton, "templatea.xvm"},
        {m_j2seButton, "templatej2se.xvm"},
        {m_j2meButton, "templatej2me.xvm"},
    };
    for (const auto &choice : choices) {
        if (choice.first->isChecked())
            m_templateName = QLatin1String(choice.second);
    }
    QDialog::accept();
}
