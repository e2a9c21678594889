#include "viewers/qamacrowidgets.h"

#include "viewers/qafieldwidgets.h"
#include "viewers/qavmrviewer.h"

#include "support/qaxmledits.h"

#include <QCoreApplication>
#include <QSignalBlocker>
#include <QHBoxLayout>
#include <QLabel>

// A macro's caption is its "Name" attribute, which a translation file may turn into a
// readable label in the context of the macro's class.
static QString macroCaption(const char *context, const QDomElement &element)
{
    const QByteArray source = element.attribute(QStringLiteral("Name")).toUtf8();
    return QCoreApplication::translate(context, source.constData());
}

// Boolean attributes are stored as "1" and "0".
static constexpr QLatin1String kOn("1");
static constexpr QLatin1String kOff("0");

static QString flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// A refill shows what the document holds, unless the field shows it already; it is not
// an edit, so nothing is written back.
static void refill(QLineEdit *line, const QString &text)
{
    if (line->text() == text)
        return;
    const QSignalBlocker blocker(line);
    line->setText(text);
}

static void refill(QCheckBox *box, bool on)
{
    const QSignalBlocker blocker(box);
    box->setChecked(on);
}

static void select(QLineEdit *line, const QAXmlChange &change)
{
    line->setFocus(Qt::OtherFocusReason);
    if (change.position >= 0)
        line->setSelection(change.position, change.added);
    else
        line->selectAll();
}

static QHBoxLayout *macroLayout(QWidget *macro)
{
    auto *layout = new QHBoxLayout(macro);
    layout->setContentsMargins(0, 0, 0, 0);
    return layout;
}

QATextMacro::QATextMacro(QWidget *parent, QDomElement &element)
    : QWidget(parent)
    , m_element(element)
{
    QHBoxLayout *layout = macroLayout(this);
    auto *label = new QLabel(macroCaption("QATextMacro", m_element), this);
    m_caption = label;
    layout->addWidget(label);
    layout->addSpacing(10);
    m_lineEdit = new QALineEdit(this);
    // The value goes into the generated sources as written: it is code.
    m_lineEdit->setFont(QAVmrViewer::codeFont());
    layout->addWidget(m_lineEdit);

    // Shown from the same VALUE child that the edits go to, so that what the user sees
    // is what is stored.
    m_lineEdit->setText(QAVmrViewer::childText(QStringLiteral("VALUE"), m_element));
    label->setBuddy(m_lineEdit);

    connect(m_lineEdit, &QLineEdit::textChanged, this, &QATextMacro::saveText);
    connect(m_lineEdit, &QALineEdit::linePressed, this, &QATextMacro::linePressEvent);
    connect(QAXmlEdits::of(m_element), &QAXmlEdits::changed, this,
            [this](const QAXmlChange &change) {
                if (change.element == m_element && change.field == QLatin1String("VALUE"))
                    refill(m_lineEdit,
                           QAVmrViewer::childText(QStringLiteral("VALUE"), m_element));
            });
}

void QATextMacro::reveal(const QAXmlChange &change)
{
    select(m_lineEdit, change);
}

QATextMacro::~QATextMacro() = default;

void QATextMacro::mousePressEvent(QMouseEvent *)
{
    // A click on the caption or the margins selects the macro.
    emit isPressed(m_element);
}

void QATextMacro::linePressEvent()
{
    emit isPressed(m_element);
}

void QATextMacro::saveText(const QString &)
{
    QAXmlEdits::of(m_element)->setChildText(m_element, QStringLiteral("VALUE"),
                                            m_lineEdit->text());
    emit itemModified();
}

QABinaryMacro::QABinaryMacro(QWidget *parent, QDomElement &element)
    : QWidget(parent)
    , m_element(element)
{
    QHBoxLayout *layout = macroLayout(this);
    m_checkBox = new QACheckBox(macroCaption("QABinaryMacro", m_element), this);
    m_checkBox->setChecked(m_element.attribute(QStringLiteral("Value")) == kOn);
    layout->addWidget(m_checkBox);
    layout->addStretch();

    connect(m_checkBox, &QACheckBox::checkBoxPressed, this, &QABinaryMacro::checkBoxPressEvent);
    connect(m_checkBox, &QCheckBox::toggled, this, &QABinaryMacro::saveButtonState);
    connect(QAXmlEdits::of(m_element), &QAXmlEdits::changed, this,
            [this](const QAXmlChange &change) {
                if (change.element == m_element && change.field == QLatin1String("Value"))
                    refill(m_checkBox, m_element.attribute(QStringLiteral("Value")) == kOn);
            });
}

void QABinaryMacro::reveal(const QAXmlChange &)
{
    m_checkBox->setFocus(Qt::OtherFocusReason);
}

QABinaryMacro::~QABinaryMacro() = default;

void QABinaryMacro::saveButtonState(bool on)
{
    emit isPressed(m_element);
    QAXmlEdits::of(m_element)->setAttribute(m_element, QStringLiteral("Value"), flag(on));
    emit itemModified();
}

void QABinaryMacro::checkBoxPressEvent()
{
    emit isPressed(m_element);
}

QAOptionnalMacro::QAOptionnalMacro(QWidget *parent, QDomElement &element)
    : QWidget(parent)
    , m_element(element)
{
    QHBoxLayout *layout = macroLayout(this);
    m_checkBox = new QACheckBox(macroCaption("QAOptionnalMacro", m_element), this);
    const QString defined = m_element.attribute(QStringLiteral("Defined"));
    m_checkBox->setChecked(defined == kOn);
    layout->addWidget(m_checkBox);
    layout->addSpacing(10);
    m_lineEdit = new QALineEdit(this);
    // The value goes into the generated sources as written: it is code.
    m_lineEdit->setFont(QAVmrViewer::codeFont());
    m_lineEdit->setText(m_element.attribute(QStringLiteral("Value")));
    // Only an explicit "0" disables the text; an unknown state leaves it editable.
    m_lineEdit->setEnabled(defined != kOff);
    layout->addWidget(m_lineEdit);

    connect(m_lineEdit, &QLineEdit::textChanged, this, &QAOptionnalMacro::saveText);
    connect(m_lineEdit, &QALineEdit::linePressed, this, &QAOptionnalMacro::linePressEvent);
    connect(m_checkBox, &QCheckBox::toggled, this, &QAOptionnalMacro::saveButtonState);
    connect(m_checkBox, &QACheckBox::checkBoxPressed, this,
            &QAOptionnalMacro::checkBoxPressEvent);
    connect(QAXmlEdits::of(m_element), &QAXmlEdits::changed, this,
            [this](const QAXmlChange &change) {
                if (change.element != m_element)
                    return;
                if (change.field == QLatin1String("Value"))
                    refill(m_lineEdit, m_element.attribute(QStringLiteral("Value")));
                if (change.field != QLatin1String("Defined"))
                    return;
                const QString defined = m_element.attribute(QStringLiteral("Defined"));
                refill(m_checkBox, defined == kOn);
                m_lineEdit->setEnabled(defined != kOff);
            });
}

void QAOptionnalMacro::reveal(const QAXmlChange &change)
{
    if (change.field == QLatin1String("Value") && m_lineEdit->isEnabled())
        select(m_lineEdit, change);
    else
        m_checkBox->setFocus(Qt::OtherFocusReason);
}

QAOptionnalMacro::~QAOptionnalMacro() = default;

void QAOptionnalMacro::linePressEvent()
{
    emit isPressed(m_element);
}

void QAOptionnalMacro::checkBoxPressEvent()
{
    emit isPressed(m_element);
}

void QAOptionnalMacro::saveButtonState(bool on)
{
    emit isPressed(m_element);
    m_lineEdit->setEnabled(on);
    QAXmlEdits::of(m_element)->setAttribute(m_element, QStringLiteral("Defined"), flag(on));
    emit itemModified();
}

void QAOptionnalMacro::saveText(const QString &)
{
    QAXmlEdits::of(m_element)->setAttribute(m_element, QStringLiteral("Value"),
                                            m_lineEdit->text(), true);
    emit itemModified();
}

void qaAlignMacroCaptions(const QWidget *page)
{
    QList<QWidget *> captions;
    for (auto *text : page->findChildren<QATextMacro *>())
        captions << text->caption();
    for (auto *optional : page->findChildren<QAOptionnalMacro *>())
        captions << optional->checkBox();
    int width = 0;
    for (QWidget *caption : captions)
        width = qMax(width, caption->sizeHint().width());
    for (QWidget *caption : captions)
        caption->setMinimumWidth(width);
}
