#pragma once

#include <QCheckBox>
#include <QLineEdit>
#include <QTextEdit>

class QFocusEvent;
class QMimeData;
class QMouseEvent;

/**
 * Tells when the user enters a field: by a click, by Tab or Backtab, by a buddy's
 * shortcut or by a program's request for the focus. A click into a field that already
 * has the focus counts too, so that a viewer can come back to that field's comment.
 * Shared by the field widgets below.
 */
class QAFieldEntry
{
public:
    /** True when this focus change is the user entering the field. */
    bool focusEntered(const QFocusEvent *event);
    /** True when this press enters a field that already had the focus. */
    bool pressEntered(const QMouseEvent *event);
    /** While set, focus changes are not reported (the slot has reported already). */
    bool quiet = false;

private:
    bool m_focusedByPress = false;
};

/**
 * Keeps the wheel from changing a field that the user has not entered (a choice box, a
 * spin box): turned over it on the way down a page, the wheel scrolls the page instead of
 * silently changing the port. Once the field has the focus, the wheel works as usual.
 */
class QAWheelGuard : public QObject
{
    Q_OBJECT

public:
    ~QAWheelGuard() override;
    static void protect(QWidget *field);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit QAWheelGuard(QObject *parent);
};

/** A check box that says when the user enters it. */
class QACheckBox : public QCheckBox
{
    Q_OBJECT

public:
    explicit QACheckBox(QWidget *parent = nullptr);
    QACheckBox(const QString &text, QWidget *parent = nullptr);
    ~QACheckBox() override;

    using QCheckBox::setFocus;

public slots:
    /** Reports the entry, then takes the focus. */
    void setFocus();

signals:
    void checkBoxPressed();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QAFieldEntry m_entry;
};

/** A line edit that says when the user enters it. */
class QALineEdit : public QLineEdit
{
    Q_OBJECT

public:
    explicit QALineEdit(QWidget *parent = nullptr);
    ~QALineEdit() override;

    using QLineEdit::setFocus;

public slots:
    /** Reports the entry, then takes the focus. */
    void setFocus();

signals:
    void linePressed();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    // A dropped file is for the window to open, not a text to insert.
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    QAFieldEntry m_entry;
};

/**
 * A multi-line plain-text edit of a document's text (comments, function bodies) that
 * says when the user enters it.
 */
class QATextEdit : public QTextEdit
{
    Q_OBJECT

public:
    explicit QATextEdit(QWidget *parent = nullptr);
    ~QATextEdit() override;

    using QTextEdit::setFocus;

public slots:
    /** Reports the entry, then takes the focus. */
    void setFocus();

signals:
    void isPressed();

protected:
    void focusInEvent(QFocusEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    /** Pasted and dropped text arrives without the characters a document cannot hold. */
    void insertFromMimeData(const QMimeData *source) override;
    /** A dropped file is for the window to open, not a text to insert. */
    bool canInsertFromMimeData(const QMimeData *source) const override;

private:
    QAFieldEntry m_entry;
};
