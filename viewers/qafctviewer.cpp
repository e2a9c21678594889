#include "viewers/qafctviewer.h"

#include "support/qaxmledits.h"
#include "viewers/qacommentpane.h"
#include "viewers/qavmrdocbrowser.h"
#include "viewers/qavmrtextedit.h"

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextDocument>
#include <QVBoxLayout>

// The prototype takes three lines above the body, so the body's first line is line 4.
static constexpr int kBodyLineOffset = 3;

QLabel *QAFctViewer::codeLabel(const QString &text, QWidget *parent)
{
    // Prototypes may hold "<" and "&"; they are code, not markup.
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(QAVmrViewer::codeFont());
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

QDomElement QAFctViewer::valueChild(const QDomElement &element)
{
    for (const char *tag : {"VALUEFCTPERL", "VALUEFCTADA", "VALUEFCT"}) {
        const QDomElement child = element.firstChildElement(QLatin1String(tag));
        if (!child.isNull())
            return child;
    }
    return QDomElement();
}

QAFctViewer::QAFctViewer(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc)
    : QAVmrViewer(element, parent, doc)
    , m_element(element)
{
    showPage();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);

    auto *box = new QFrame(this);
    QACommentPane::frameBox(box);
    auto *boxLayout = new QVBoxLayout(box);
    boxLayout->setContentsMargins(10, 10, 10, 10);

    const QDomElement value = valueChild(m_element);
    m_proto = codeLabel(childText(QStringLiteral("PROTO"), value), box);
    m_value = new QAVmrTextEdit(box, kBodyLineOffset);
    m_value->setFont(QAVmrViewer::codeFont());
    // What the user does to the body is undone with the rest of the document.
    m_value->document()->setUndoRedoEnabled(false);
    m_value->setPlainText(childText(QStringLiteral("VALUE"), value));
    // Without a place to store the body, typing into it would be lost.
    m_value->setReadOnly(value.isNull());
    m_tail = codeLabel(childText(QStringLiteral("TAIL"), value), box);
    boxLayout->addWidget(m_proto);
    boxLayout->addWidget(m_value, 1);
    boxLayout->addWidget(m_tail);

    layout->addWidget(box, 1);
    layout->addSpacing(10);

    m_comment = new QACommentPane(this, nullptr);
    m_comment->addTo(layout);
    m_comment->fill(m_element,
                    tr("Comment for \"%1\" node ",
                       "used to display title on comment window, %1 is the subject of the "
                       "comment")
                        .arg(translatedLabel(m_element.attribute(QStringLiteral("Label")))));

    connect(m_value, &QPlainTextEdit::textChanged, this, &QAFctViewer::saveText);
    connect(edits(), &QAXmlEdits::changed, this, &QAFctViewer::showChange);
}

QAFctViewer::~QAFctViewer() = default;

QTextEdit *QAFctViewer::commentEditor() const
{
    return m_comment->editor();
}

QLabel *QAFctViewer::commentTitle() const
{
    return m_comment->title();
}

void QAFctViewer::reveal(const QAXmlChange &change)
{
    if (m_comment->shows(change))
        m_comment->select(change);
    else if (change.kind == QAXmlChange::Text && change.element == valueChild(m_element))
        select(m_value, change.position, change.added);
}

void QAFctViewer::saveText()
{
    const QDomElement value = valueChild(m_element);
    if (!value.isNull())
        edits()->setChildText(value, QStringLiteral("VALUE"), storedText(m_value->document()));
}

void QAFctViewer::showChange(const QAXmlChange &change)
{
    const QDomElement value = valueChild(m_element);
    if (change.kind == QAXmlChange::Text && !value.isNull() && change.element == value)
        refill(m_value, childText(QStringLiteral("VALUE"), value));
}
