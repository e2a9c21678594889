#include "viewers/qavmrviewer.h"

#include "support/qaxmledits.h"
#include "viewers/qavmrdocbrowser.h"

#include <QCoreApplication>
#include <QDomDocument>
#include <QFontDatabase>
#include <QDomText>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

QAVmrViewer::QAVmrViewer(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc)
    : QWidget(parent)
    , m_viewed(element)
    , m_docBrowser(doc)
{
}

QAVmrViewer::~QAVmrViewer() = default;

void QAVmrViewer::showPage()
{
    if (m_docBrowser)
        m_docBrowser->scrollToAnchor(docAnchor(m_viewed));
}

void QAVmrViewer::reveal(const QAXmlChange &)
{
}

QAXmlEdits *QAVmrViewer::edits() const
{
    return QAXmlEdits::of(m_viewed);
}

QString QAVmrViewer::childText(const QString &tag, const QDomElement &element, int depth)
{
    return QAXmlEdits::childText(element, tag, depth);
}

QDomDocument QAVmrViewer::documentOf(const QDomNode &node)
{
    return node.ownerDocument();
}

void QAVmrViewer::setChildText(const QString &text, const QString &tag, QDomElement element,
                               int depth)
{
    QDomNode parent = QAXmlEdits::textParent(element, depth);
    QDomDocument doc = documentOf(element);
    if (parent.isNull() || doc.isNull())
        return;
    QDomElement child = QAXmlEdits::childElement(parent, tag);
    if (child.isNull())
        child = parent.appendChild(doc.createElement(tag)).toElement();
    QDomText first = child.firstChild().toText();
    // The new text goes first so that it is what childText reads back.
    if (first.isNull())
        child.insertBefore(doc.createTextNode(text), child.firstChild());
    else
        first.setData(text);
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

void QAVmrViewer::refill(QTextEdit *field, const QString &text)
{
    if (storedText(field->document()) == text)
        return;
    const QSignalBlocker blocker(field);
    field->setPlainText(text);
}

void QAVmrViewer::refill(QPlainTextEdit *field, const QString &text)
{
    if (storedText(field->document()) == text)
        return;
    const QSignalBlocker blocker(field);
    field->setPlainText(text);
}

namespace {

template<typename Field> void selectIn(Field *field, int position, int length)
{
    QTextCursor cursor(field->document());
    const int end = field->document()->characterCount() - 1;
    cursor.setPosition(qBound(0, position, end));
    cursor.setPosition(qBound(0, position + qMax(0, length), end), QTextCursor::KeepAnchor);
    field->setTextCursor(cursor);
    field->ensureCursorVisible();
    field->setFocus(Qt::OtherFocusReason);
    // A form just shown is laid out after this: the selection is brought into view again
    // once the field has its final size.
    QTimer::singleShot(0, field, [field]() { field->ensureCursorVisible(); });
}

} // namespace

void QAVmrViewer::select(QTextEdit *field, int position, int length)
{
    selectIn(field, position, length);
}

void QAVmrViewer::select(QPlainTextEdit *field, int position, int length)
{
    selectIn(field, position, length);
}

QString QAVmrViewer::translatedLabel(const QString &label)
{
    // Translation sources are UTF-8; an untranslated label comes back as written.
    const QByteArray source = label.toUtf8();
    return QCoreApplication::translate("XVM Labels", source.constData());
}

QString QAVmrViewer::docAnchor(const QDomElement &element)
{
    const QString doc = element.attribute(QStringLiteral("Doc"));
    return doc.isEmpty() && !element.isNull() ? element.tagName() : doc;
}

QFont QAVmrViewer::codeFont()
{
    return QFontDatabase::systemFont(QFontDatabase::FixedFont);
}
