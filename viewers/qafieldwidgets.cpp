#include "viewers/qafieldwidgets.h"

#include "support/qaxmlcharacters.h"
#include "viewers/qaxmlvalidator.h"

#include <QDropEvent>
#include <QFocusEvent>
#include <QMimeData>
#include <QMouseEvent>

bool QAFieldEntry::focusEntered(const QFocusEvent *event)
{
    m_focusedByPress = event->reason() == Qt::MouseFocusReason;
    if (quiet)
        return false;
    // Coming back from another window or a closed menu is not entering the field.
    switch (event->reason()) {
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason:
        return false;
    default:
        return true;
    }
}

bool QAFieldEntry::pressEntered(const QMouseEvent *event)
{
    Q_UNUSED(event);
    // The press that brought the focus has been reported with the focus change.
    const bool alreadyReported = m_focusedByPress;
    m_focusedByPress = false;
    return !alreadyReported;
}

QAWheelGuard::QAWheelGuard(QObject *parent)
    : QObject(parent)
{
}

QAWheelGuard::~QAWheelGuard() = default;

void QAWheelGuard::protect(QWidget *field)
{
    // Without this the wheel itself would give the field the focus first.
    field->setFocusPolicy(Qt::StrongFocus);
    field->installEventFilter(new QAWheelGuard(field));
}

bool QAWheelGuard::eventFilter(QObject *watched, QEvent *event)
{
    auto *field = qobject_cast<QWidget *>(watched);
    if (event->type() != QEvent::Wheel || !field || field->hasFocus())
        return false;
    // Ignored, the event goes on to the widgets around the field.
    event->ignore();
    return true;
}

// The three field widgets behave alike: a focus change or a press into the focused
// field reports the entry before the base class handles the event.

QACheckBox::QACheckBox(QWidget *parent)
    : QCheckBox(parent)
{
}

QACheckBox::QACheckBox(const QString &text, QWidget *parent)
    : QCheckBox(text, parent)
{
}

QACheckBox::~QACheckBox() = default;

void QACheckBox::setFocus()
{
    emit checkBoxPressed();
    m_entry.quiet = true;
    QCheckBox::setFocus();
    m_entry.quiet = false;
}

void QACheckBox::focusInEvent(QFocusEvent *event)
{
    if (m_entry.focusEntered(event))
        emit checkBoxPressed();
    QCheckBox::focusInEvent(event);
}

void QACheckBox::mousePressEvent(QMouseEvent *event)
{
    if (m_entry.pressEntered(event))
        emit checkBoxPressed();
    QCheckBox::mousePressEvent(event);
}

QALineEdit::QALineEdit(QWidget *parent)
    : QLineEdit(parent)
{
    QAXmlValidator::install(this);
}

QALineEdit::~QALineEdit() = default;

void QALineEdit::setFocus()
{
    emit linePressed();
    m_entry.quiet = true;
    QLineEdit::setFocus();
    m_entry.quiet = false;
}

void QALineEdit::dragEnterEvent(QDragEnterEvent *event)
{
    if (event->mimeData()->hasUrls())
        return event->ignore();
    QLineEdit::dragEnterEvent(event);
}

void QALineEdit::dragMoveEvent(QDragMoveEvent *event)
{
    if (event->mimeData()->hasUrls())
        return event->ignore();
    QLineEdit::dragMoveEvent(event);
}

void QALineEdit::dropEvent(QDropEvent *event)
{
    if (event->mimeData()->hasUrls())
        return event->ignore();
    QLineEdit::dropEvent(event);
}

void QALineEdit::focusInEvent(QFocusEvent *event)
{
    if (m_entry.focusEntered(event))
        emit linePressed();
    QLineEdit::focusInEvent(event);
}

void QALineEdit::mousePressEvent(QMouseEvent *event)
{
    if (m_entry.pressEntered(event))
        emit linePressed();
    QLineEdit::mousePressEvent(event);
}

QATextEdit::QATextEdit(QWidget *parent)
    : QTextEdit(parent)
{
    // A "<" typed or pasted into a comment or a body stays a "<".
    setAcceptRichText(false);
}

QATextEdit::~QATextEdit() = default;

void QATextEdit::setFocus()
{
    emit isPressed();
    m_entry.quiet = true;
    QTextEdit::setFocus();
    m_entry.quiet = false;
}

void QATextEdit::focusInEvent(QFocusEvent *event)
{
    if (m_entry.focusEntered(event))
        emit isPressed();
    QTextEdit::focusInEvent(event);
}

void QATextEdit::mousePressEvent(QMouseEvent *event)
{
    if (m_entry.pressEntered(event))
        emit isPressed();
    QTextEdit::mousePressEvent(event);
}

bool QATextEdit::canInsertFromMimeData(const QMimeData *source) const
{
    return !source->hasUrls() && QTextEdit::canInsertFromMimeData(source);
}

void QATextEdit::insertFromMimeData(const QMimeData *source)
{
    const std::unique_ptr<QMimeData> kept = QAXmlCharacters::leaveOut(source);
    QTextEdit::insertFromMimeData(kept ? kept.get() : source);
}
