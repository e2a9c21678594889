#include "app/qavmrprefdialog.h"

#include "support/qaedition.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

QAvmrPrefDialog::QAvmrPrefDialog(QWidget *parent, const char *name, bool modal,
                                 Qt::WindowFlags flags)
    : QDialog(parent, flags)
{
    if (name)
        setObjectName(QLatin1String(name));
    setModal(modal);
    setWindowTitle(tr("Preferences"));

    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(10, 10, 10, 10);
    outer->setSpacing(5);
    auto *inner = new QVBoxLayout;
    inner->setSpacing(5);
    outer->addLayout(inner);

    inner->addWidget(new QLabel(tr("Help url to __ORBISK_PRODUCT_NAME__ info center:")
                                    .replace(QStringLiteral("__ORBISK_PRODUCT_NAME__"),
                                             QAEdition::productName()),
                                this));
    m_helpUrl = new QLineEdit(this);
    m_helpUrl->setObjectName(QStringLiteral("help url"));
    inner->addWidget(m_helpUrl);

    inner->addWidget(new QLabel(tr("Help Browser:"), this));
    m_browser = new QComboBox(this);
    m_browser->setObjectName(QStringLiteral("qvfd-cb-pref-txt"));
    m_browser->setEditable(true);
    m_browser->setInsertPolicy(QComboBox::NoInsert);
    inner->addWidget(m_browser);

    m_localServer = new QCheckBox(tr("Start local server"), this);
    m_localServer->setObjectName(QStringLiteral("local server"));
    inner->addWidget(m_localServer);
    inner->addSpacing(10);
    inner->addWidget(new QLabel(tr("Class path for the Help plugin for the local server:"), this));
    m_classPath = new QLineEdit(this);
    m_classPath->setObjectName(QStringLiteral("class path"));
    m_classPath->setEnabled(false);
    inner->addWidget(m_classPath);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(5);
    buttons->addStretch();
    auto *ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("OK"));
    ok->setDefault(true);
    buttons->addWidget(ok);
    auto *cancel = new QPushButton(tr("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Cancel"));
    buttons->addWidget(cancel);
    outer->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &QAvmrPrefDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QAvmrPrefDialog::reject);
    connect(m_localServer, &QCheckBox::toggled, this, &QAvmrPrefDialog::startLocalServer);
}

QAvmrPrefDialog::~QAvmrPrefDialog() = default;

int QAvmrPrefDialog::browserIndex() const
{
    return m_browser->currentIndex();
}

QString QAvmrPrefDialog::browserCommand() const
{
    return m_browser->currentText();
}

QString QAvmrPrefDialog::helpUrl() const
{
    return m_helpUrl->text();
}

bool QAvmrPrefDialog::startsLocalServer() const
{
    return m_localServer->isChecked();
}

QStringList QAvmrPrefDialog::browserList() const
{
    QStringList list;
    for (int i = 0; i < m_browser->count(); ++i) {
        const QString entry = m_browser->itemText(i);
        if (!entry.isEmpty())
            list.append(entry);
    }
    // A command typed over an entry goes first; a cleared box adds nothing.
    const QString current = m_browser->currentText();
    if (!current.isEmpty() && !list.contains(current))
        list.prepend(current);
    return list;
}

void QAvmrPrefDialog::setBrowserList(const QStringList &list)
{
    m_browser->addItems(list);
}

void QAvmrPrefDialog::setBrowserIndex(int index)
{
    // A stale index from the settings must not empty the box.
    if (index >= 0 && index < m_browser->count())
        m_browser->setCurrentIndex(index);
}

void QAvmrPrefDialog::insertBrowser(const QString &command)
{
    m_browser->insertItem(0, command);
}

void QAvmrPrefDialog::setHelpUrl(const QString &url)
{
    m_helpUrl->setText(url);
}

void QAvmrPrefDialog::setLocalServer(bool on)
{
    m_localServer->setChecked(on);
    m_classPath->setEnabled(on);
}

void QAvmrPrefDialog::startLocalServer(bool on)
{
    m_classPath->setEnabled(on);
}

void QAvmrPrefDialog::accept()
{
    emit updated();
    QDialog::accept();
}
