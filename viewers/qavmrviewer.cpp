#include "viewers/qavmrviewer.h"

#include <QCoreApplication>
#include <QDomDocument>
#include <QDomText>
#include <QTextDocument>

QAVmrViewer::QAVmrViewer(QDomElement &element, QWidget *parent, QAVmrDocBrowser *)
    : QWidget(parent)
    , m_viewed(element)
{
}

QAVmrViewer::~QAVmrViewer() = default;

// The node below which childText looks: the element itself at depth 1, its first
// child at depth 2, and so on.
static QDomNode searchParent(const QDomElement &element, int depth)
{
    QDomNode node = element;
    for (int i = 1; i < depth && !node.isNull(); ++i)
        node = node.toElement().firstChild();
    return node.isElement() ? node : QDomNode();
}

static QDomElement childElement(const QDomNode &parent, const QString &tag)
{
    for (QDomNode n = parent.firstChild(); !n.isNull(); n = n.nextSibling()) {
        if (n.isElement() && n.nodeName() == tag)
            return n.toElement();
    }
    return QDomElement();
}

QString QAVmrViewer::childText(const QString &tag, const QDomElement &element, int depth)
{
    const QDomElement child = childElement(searchParent(element, depth), tag);
    if (child.isNull())
        return QStringLiteral("");
    // A CDATA section counts as text; toText() covers both kinds.
    const QDomText first = child.firstChild().toText();
    if (!first.isNull())
        return first.data();
    return QStringLiteral("");
}

QDomDocument QAVmrViewer::documentOf(const QDomNode &node)
{
    return node.ownerDocument();
}

void QAVmrViewer::setChildText(const QString &text, const QString &tag, QDomElement element,
                               int depth)
{
    QDomNode parent = searchParent(element, depth);
    if (parent.isNull())
        return;
    QDomDocument doc = documentOf(element);
    QDomElement child = childElement(parent, tag);
    if (child.isNull()) {
        if (doc.isNull())
            return;
        child = doc.createElement(tag);
        parent.appendChild(child);
    }
    QDomText first = child.firstChild().toText();
    if (!first.isNull()) {
        first.setData(text);
        return;
    }
    // The new text goes first so that it is what childText reads back.
    if (!doc.isNull())
        child.insertBefore(doc.createTextNode(text), child.firstChild());
}

QString QAVmrViewer::storedText(const QTextDocument *document)
{
    // The plain-text export of a text document turns non-breaking spaces into spaces.
    return storedForm(document->toRawText());
}

QString QAVmrViewer::storedForm(QString text)
{
    for (QChar &c : text) {
        const char16_t u = c.unicode();
        if (u == QChar::ParagraphSeparator || u == QChar::LineSeparator || u == 0xfdd0
            || u == 0xfdd1)
            c = QLatin1Char('\n');
    }
    return text;
}

QString QAVmrViewer::translatedLabel(const QString &label)
{
    // Translation sources are UTF-8; an untranslated label comes back as written.
    const QByteArray source = label.toUtf8();
    return QCoreApplication::translate("XVM Labels", source.constData());
}
