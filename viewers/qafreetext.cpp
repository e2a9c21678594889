#include "viewers/qafreetext.h"

#include "viewers/qavmrdocbrowser.h"
#include "viewers/qavmrtextedit.h"

#include <QLabel>
#include <QTextEdit>
#include <QVBoxLayout>

static void frameLikePane(QFrame *frame)
{
    frame->setFrameStyle(QFrame::Box | QFrame::Raised);
    frame->setLineWidth(1);
    frame->setMidLineWidth(2);
}

QAFreeText::QAFreeText(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc)
    : QAVmrViewer(element, parent, doc)
    , m_element(element)
    , m_doc(doc)
{
    showPage();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);

    m_text = new QAVmrTextEdit(this, 0);
    QTextOption option = m_text->document()->defaultTextOption();
    option.setAlignment(Qt::AlignJustify);
    m_text->document()->setDefaultTextOption(option);
    frameLikePane(m_text);
    // The file's contents are shown and stored as plain text, markup included.
    m_text->setPlainText(childText(QStringLiteral("VALUE"), m_element));

    auto *label = new QLabel(tr("Enter text here:", "used in Add ASCII file window"), this);
    label->setBuddy(m_text);

    m_comment = new QTextEdit(this);
    m_comment->setAcceptRichText(false);
    m_comment->setMaximumHeight(60);
    frameLikePane(m_comment);
    m_comment->setPlainText(childText(QStringLiteral("COMMENT"), m_element));

    // Files are named by their "Name"; configuration texts only have a "Label".
    QString subject = m_element.attribute(QStringLiteral("Name"));
    if (subject.isEmpty())
        subject = translatedLabel(m_element.attribute(QStringLiteral("Label")));
    m_commentTitle = new QLabel(tr("Comment for \"%1\" node:").arg(subject), this);
    m_commentTitle->setTextFormat(Qt::PlainText);
    m_commentTitle->setBuddy(m_comment);

    layout->addWidget(label);
    layout->addSpacing(5);
    layout->addWidget(m_text, 1);
    layout->addSpacing(15);
    layout->addWidget(m_commentTitle);
    layout->addSpacing(5);
    layout->addWidget(m_comment);

    connect(m_text, &QTextEdit::textChanged, this, &QAFreeText::saveText);
    connect(m_comment, &QTextEdit::textChanged, this, &QAFreeText::saveComment);
}

QAFreeText::~QAFreeText() = default;

void QAFreeText::showPage()
{
    if (m_doc)
        m_doc->scrollToAnchor(m_element.attribute(QStringLiteral("Doc")));
}

void QAFreeText::saveText()
{
    setChildText(m_text->toPlainText(), QStringLiteral("VALUE"), m_element);
    modified = true;
}

void QAFreeText::saveComment()
{
    setChildText(m_comment->toPlainText(), QStringLiteral("COMMENT"), m_element);
    modified = true;
}
