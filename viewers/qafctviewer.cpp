#include "viewers/qafctviewer.h"

#include "viewers/qafieldwidgets.h"
#include "viewers/qavmrdocbrowser.h"
#include "viewers/qavmrtextedit.h"

#include <QFrame>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QVBoxLayout>

// The prototype takes three lines above the body, so the body's first line is line 4.
static constexpr int kBodyLineOffset = 3;

static void frameLikePane(QFrame *frame)
{
    frame->setFrameStyle(QFrame::Box | QFrame::Raised);
    frame->setLineWidth(1);
    frame->setMidLineWidth(2);
}

static QLabel *codeLabel(const QString &text, QWidget *parent)
{
    // Prototypes may hold "<" and "&"; they are code, not markup.
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
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
    , m_doc(doc)
{
    showPage();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);

    auto *box = new QFrame(this);
    frameLikePane(box);
    auto *boxLayout = new QVBoxLayout(box);
    boxLayout->setContentsMargins(10, 10, 10, 10);

    const QDomElement value = valueChild(m_element);
    m_proto = codeLabel(childText(QStringLiteral("PROTO"), value), box);
    m_value = new QAVmrTextEdit(box, kBodyLineOffset);
    m_value->setPlainText(childText(QStringLiteral("VALUE"), value));
    // Without a place to store the body, typing into it would be lost.
    m_value->setReadOnly(value.isNull());
    m_tail = codeLabel(childText(QStringLiteral("TAIL"), value), box);
    boxLayout->addWidget(m_proto);
    boxLayout->addWidget(m_value, 1);
    boxLayout->addWidget(m_tail);

    layout->addWidget(box, 1);
    layout->addSpacing(10);

    m_comment = new QATextEdit(this);
    m_comment->setAcceptRichText(false);
    m_comment->setMaximumHeight(60);
    frameLikePane(m_comment);
    m_comment->setPlainText(childText(QStringLiteral("COMMENT"), m_element));

    m_commentTitle = new QLabel(
        tr("Comment for \"%1\" node ",
           "used to display title on comment window, %1 is the subject of the comment")
            .arg(translatedLabel(m_element.attribute(QStringLiteral("Label")))),
        this);
    m_commentTitle->setTextFormat(Qt::PlainText);
    m_commentTitle->setBuddy(m_comment);

    layout->addWidget(m_commentTitle);
    layout->addSpacing(5);
    layout->addWidget(m_comment);

    connect(m_value, &QPlainTextEdit::textChanged, this, &QAFctViewer::saveText);
    connect(m_comment, &QTextEdit::textChanged, this, &QAFctViewer::saveComment);
}

QAFctViewer::~QAFctViewer() = default;

void QAFctViewer::showPage()
{
    if (m_doc)
        m_doc->scrollToAnchor(m_element.attribute(QStringLiteral("Doc")));
}

void QAFctViewer::saveText()
{
    const QDomElement value = valueChild(m_element);
    if (value.isNull())
        return;
    setChildText(storedText(m_value->document()), QStringLiteral("VALUE"), value);
    modified = true;
}

void QAFctViewer::saveComment()
{
    setChildText(storedText(m_comment->document()), QStringLiteral("COMMENT"), m_element);
    modified = true;
}
