#include "app/qavmrerrordialog.h"

#include "support/qaedition.h"

#include <QHBoxLayout>
#include <QPalette>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

QAVmrErrorDialog::QAVmrErrorDialog(const QString &message, QWidget *parent, const char *name)
    : QDialog(parent)
{
    if (name)
        setObjectName(QLatin1String(name));
    setModal(true);

    // The warning output decodes its arguments as UTF-8; Latin-1 bytes would turn every
    // accented letter of a script's message into a replacement character.
    qWarning("VMR error : %s", qUtf8Printable(message));

    setWindowTitle(tr("Error ") + QAEdition::applicationTitle());
    setWindowIcon(QAEdition::windowIcon());
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(127, 127, 127));
    setPalette(pal);
    setAutoFillBackground(true);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addSpacing(5);

    // An empty row as wide as a readable error line keeps the box from being cramped.
    auto *widthRow = new QHBoxLayout;
    widthRow->addSpacing(600);
    layout->addLayout(widthRow);

    auto *textRow = new QHBoxLayout;
    textRow->addSpacing(10);
    m_text = new QTextEdit(this);
    m_text->setObjectName(QStringLiteral("error text"));
    m_text->setReadOnly(true);
    m_text->setPlainText(message);
    textRow->addWidget(m_text);
    textRow->addSpacing(10);
    layout->addLayout(textRow);
    layout->addSpacing(10);

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    auto *ok = new QPushButton(tr("&OK"), this);
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    buttonRow->addWidget(ok);
    buttonRow->addStretch();
    layout->addLayout(buttonRow);
    layout->addSpacing(5);

    layout->setSizeConstraint(QLayout::SetFixedSize);
}

QAVmrErrorDialog::~QAVmrErrorDialog() = default;

QString QAVmrErrorDialog::message() const
{
    return m_text->toPlainText();
}
