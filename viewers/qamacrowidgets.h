#pragma once

#include <QDomElement>
#include <QWidget>

class QACheckBox;
class QALineEdit;
class QMouseEvent;
struct QAXmlChange;

/**
 * A text field of an item or choice page: the macro's caption and a line edit whose
 * text is the macro element's VALUE. Every keystroke is written into the document.
 */
class QATextMacro : public QWidget
{
    Q_OBJECT

public:
    QATextMacro(QWidget *parent, QDomElement &element);
    ~QATextMacro() override;

    QDomElement element() const { return m_element; }
    QALineEdit *lineEdit() const { return m_lineEdit; }
    /** The caption left of the text, whose width lines the page's fields up. */
    QWidget *caption() const { return m_caption; }
    /** Gives the field the focus with the changed text selected. */
    void reveal(const QAXmlChange &change);

signals:
    /** The user entered this macro; carries the macro's element. */
    void isPressed(QDomElement &element);
    /** The macro wrote into the document. */
    void itemModified();

protected:
    void mousePressEvent(QMouseEvent *event) override;

protected slots:
    void linePressEvent();
    void saveText(const QString &text);

private:
    QDomElement m_element;
    QWidget *m_caption = nullptr;
    QALineEdit *m_lineEdit = nullptr;
};

/** An on/off field: a check box whose state is the macro's "Value" attribute. */
class QABinaryMacro : public QWidget
{
    Q_OBJECT

public:
    QABinaryMacro(QWidget *parent, QDomElement &element);
    ~QABinaryMacro() override;

    QDomElement element() const { return m_element; }
    QACheckBox *checkBox() const { return m_checkBox; }
    void reveal(const QAXmlChange &change);

signals:
    void isPressed(QDomElement &element);
    void itemModified();

protected slots:
    void saveButtonState(bool on);
    void checkBoxPressEvent();

private:
    QDomElement m_element;
    QACheckBox *m_checkBox = nullptr;
};

/**
 * A field that may be left undefined: the check box says whether the macro is defined
 * ("Defined" attribute), the line edit holds its text ("Value" attribute), and is
 * disabled while the macro is undefined. The text is kept while undefined.
 */
class QAOptionnalMacro : public QWidget
{
    Q_OBJECT

public:
    QAOptionnalMacro(QWidget *parent, QDomElement &element);
    ~QAOptionnalMacro() override;

    QDomElement element() const { return m_element; }
    QACheckBox *checkBox() const { return m_checkBox; }
    QALineEdit *lineEdit() const { return m_lineEdit; }
    void reveal(const QAXmlChange &change);

signals:
    void isPressed(QDomElement &element);
    void itemModified();

protected slots:
    void linePressEvent();
    void checkBoxPressEvent();
    void saveButtonState(bool on);
    void saveText(const QString &text);

private:
    QDomElement m_element;
    QACheckBox *m_checkBox = nullptr;
    QALineEdit *m_lineEdit = nullptr;
};

/**
 * Lines up the fields of a page as a form does: the captions of its text and optional
 * fields all get the width of the widest, so that their texts start in one column.
 */
void qaAlignMacroCaptions(const QWidget *page);
