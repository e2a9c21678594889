#pragma once

#include <QDomElement>
#include <QWidget>

class QAVmrDocBrowser;

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
    /** A label's text in the "XVM Labels" translation context. */
    static QString translatedLabel(const QString &label);
};
