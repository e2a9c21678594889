#include "viewers/qacommentviewer.h"

#include "viewers/qafieldwidgets.h"
#include "viewers/qavmrdocbrowser.h"

#include <QLabel>
#include <QTextEdit>
#include <QVBoxLayout>

QACommentViewer::QACommentViewer(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc)
    : QAVmrViewer(element, parent, doc)
    , m_element(element)
    , m_doc(doc)
{
    showPage();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);

    m_comment = new QATextEdit(this);
    m_comment->setAcceptRichText(false);
    m_comment->setFrameStyle(QFrame::Box | QFrame::Raised);
    m_comment->setLineWidth(1);
    m_comment->setMidLineWidth(2);
    // Comments are plain text: a "<" in a comment must stay a "<".
    m_comment->setPlainText(childText(QStringLiteral("COMMENT"), m_element));

    m_title = new QLabel(this);
    m_title->setTextFormat(Qt::PlainText);
    QString subject;
    const QString label = m_element.attribute(QStringLiteral("Label"));
    const QLatin1Char quote('"');
    if (!label.isEmpty())
        subject = quote + translatedLabel(label) + quote;
    else if (m_element.tagName() != QLatin1String("VMR"))
        subject = quote + m_element.attribute(QStringLiteral("Name")) + quote;
    else
        subject = tr("the root");
    m_title->setText(
        tr("Comment for %1 node",
           "used to display title on comment window, %1 is the subject of the comment")
            .arg(subject));
    m_title->setBuddy(m_comment);

    layout->addSpacing(5);
    layout->addWidget(m_title);
    layout->addSpacing(5);
    layout->addWidget(m_comment, 1);

    connect(m_comment, &QTextEdit::textChanged, this, &QACommentViewer::saveComment);
}

QACommentViewer::~QACommentViewer() = default;

void QACommentViewer::showPage()
{
    if (m_doc)
        m_doc->scrollToAnchor(m_element.attribute(QStringLiteral("Doc")));
}

void QACommentViewer::saveComment()
{
    setChildText(storedText(m_comment->document()), QStringLiteral("COMMENT"), m_element);
    modified = true;
}
