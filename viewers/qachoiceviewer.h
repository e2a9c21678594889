#pragma once

#include "viewers/qavmrviewer.h"

#include <QDomElement>
#include <QHash>

class QACommentPane;
class QATextEdit;
class QComboBox;
class QLabel;
class QMouseEvent;
class QTabWidget;
class QTextEdit;

/**
 * A function sheet of a choice page: the fixed prototype, the editable body and the
 * fixed closing part of one function element.
 */
class QAFctOnglet : public QWidget
{
    Q_OBJECT

public:
    QAFctOnglet(QDomElement &element, QWidget *parent);
    ~QAFctOnglet() override;

    QDomElement element() const { return m_element; }
    QATextEdit *valueEdit() const { return m_value; }

signals:
    /** The user entered the sheet; carries the function element. */
    void itemPressed(QDomElement &element);
    /** The sheet wrote into the document. */
    void ongletModified();

public slots:
    void saveText();
    void textEditPressed();

protected:
    void mousePressEvent(QMouseEvent *event) override;

private:
    QATextEdit *m_value = nullptr;
    QDomElement m_element;
};

/** An item sheet of a choice page: the text, on/off and optional fields of one tab. */
class QAItemOnglet : public QWidget
{
    Q_OBJECT

public:
    QAItemOnglet(QDomElement &element, QWidget *parent);
    ~QAItemOnglet() override;

    QDomElement element() const { return m_element; }

signals:
    void itemPressed(QDomElement &element);
    void ongletModified();

public slots:
    void myPressed(QDomElement &element);

private:
    QDomElement m_element;
};

/**
 * A page that offers one choice among several variants: the variant box, the tabs of
 * the variant-dependent sheets (usable only for sensitive variants) and a comment pane
 * for the page or for the item or function last entered.
 */
class QAChoiceViewer : public QAVmrViewer
{
    Q_OBJECT

public:
    QAChoiceViewer(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc);
    ~QAChoiceViewer() override;

    /** Back to the page: its comment in the pane, its anchor in the documentation. */
    void showPage() override;
    void reveal(const QAXmlChange &change) override;

    /** Whether the variant at this position among the CHOICEDATA elements is sensitive. */
    bool isChoiceSensitive(int index) const;

    QComboBox *choiceBox() const { return m_choice; }
    QTabWidget *tabs() const { return m_tabs; }

public slots:
    /** Makes the variant at index the chosen one and enables the tabs to match. */
    void enableTab(int index);
    /** Shows the comment of the sheet that became current. */
    void updateComment(QWidget *page);
    void updateItemComment(QDomElement &element);

private:
    QString pageTitle() const;
    /** The chosen variant as the document holds it, and the tabs to match. */
    void showChoice();

    QComboBox *m_choice = nullptr;
    QTabWidget *m_tabs = nullptr;
    QACommentPane *m_comment = nullptr;
    QDomElement m_element;
    QDomElement m_choiceElement;
    /** For each sheet, the element whose comment stands for the whole tab. */
    QHash<QWidget *, QDomElement> m_tabElements;
};
