#pragma once

#include <QDomElement>
#include <QWidget>

class QAVmrDocBrowser;
class QTextDocument;

/**
 * A form bound to one element of the open document. Viewers write every edit straight
 * into the element; `modified` tells the editor widget that they did.
 */
class QAVmrViewer : public QWidget
{
    Q_OBJECT

public:
    QAVmrViewer(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc);
    ~QAVmrViewer() override;

    /** Points the documentation pane at the node's page and shows the node's comment. */
    virtual void showPage() = 0;

    /** The element the viewer edits. */
    QDomElement viewedElement() const { return m_viewed; }

    bool modified = false;

    /**
     * The text of the first child element named tag; depth 2 looks below the element's
     * first child. An empty string when there is no such element or text.
     */
    static QString childText(const QString &tag, const QDomElement &element, int depth = 1);
    /**
     * Writes the text of the first child element named tag, found as childText finds it.
     * A missing child element is created (at the end of the element it belongs in), so
     * that nothing the user types is lost.
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
    /** A label's text in the "XVM Labels" translation context. */
    static QString translatedLabel(const QString &label);

private:
    QDomElement m_viewed;
};
