#pragma once

#include <QDomElement>
#include <QFont>
#include <QWidget>

class QAVmrDocBrowser;
class QAXmlEdits;
class QPlainTextEdit;
class QTextDocument;
class QTextEdit;
struct QAXmlChange;

/**
 * A form bound to one element of the open document. Viewers write every edit through
 * the document's edits, and show every change the edits announce (an undo among them)
 * in the field that shows it.
 */
class QAVmrViewer : public QWidget
{
    Q_OBJECT

public:
    QAVmrViewer(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc);
    ~QAVmrViewer() override;

    /**
     * Points the documentation pane at the node's page and shows the node's comment; by
     * default the page's section of the viewed element.
     */
    virtual void showPage();
    /**
     * Brings a change of the viewed element into view: the field that shows it gets the
     * focus, with the changed text selected or the changed row current.
     */
    virtual void reveal(const QAXmlChange &change);

    /** The element the viewer edits. */
    QDomElement viewedElement() const { return m_viewed; }
    /** The edits of the viewed element's document. */
    QAXmlEdits *edits() const;
    /** The documentation pane; null when there is none. */
    QAVmrDocBrowser *docBrowser() const { return m_docBrowser; }

    /**
     * The text of the first child element named tag; depth 2 looks below the element's
     * first child. An empty string when there is no such element or text.
     */
    static QString childText(const QString &tag, const QDomElement &element, int depth = 1);
    /**
     * Writes the text of the first child element named tag, found as childText finds it.
     * A missing child element is created (at the end of the element it belongs in), so
     * that nothing the user types is lost. For elements not yet in the document (a row
     * being made); the document itself changes through its edits.
     */
    static void setChildText(const QString &text, const QString &tag, QDomElement element,
                             int depth = 1);
    /** The document that owns a node, found by walking up to the document node. */
    static QDomDocument documentOf(const QDomNode &node);
    /**
     * The text of an editor as the document stores it: its paragraph and line separators
     * become line breaks, every other character (a non-breaking space too) stays.
     */
    static QString storedText(const QTextDocument *document);
    /** Text taken from an editor (a selection, a change) as the document stores it. */
    static QString storedForm(QString text);
    /**
     * Shows text in a text field that shows a part of the document, unless it shows it
     * already: a refill is not an edit, and the user's cursor stays where it is.
     */
    static void refill(QTextEdit *field, const QString &text);
    static void refill(QPlainTextEdit *field, const QString &text);
    /** Gives a text field the focus with the characters from position on selected. */
    static void select(QTextEdit *field, int position, int length);
    static void select(QPlainTextEdit *field, int position, int length);
    /**
     * The reference page's anchor of an element: its "Doc" attribute, or for an element
     * without one (a file of a build section) the anchor named after its tag.
     */
    static QString docAnchor(const QDomElement &element);
    /** The one fixed-width font of every piece of code: bodies, prototypes, file texts. */
    static QFont codeFont();
    /** A label's text in the "XVM Labels" translation context. */
    static QString translatedLabel(const QString &label);

private:
    QDomElement m_viewed;
    QAVmrDocBrowser *m_docBrowser = nullptr;
};
