#include "viewers/qacommentpane.h"

#include "viewers/qafieldwidgets.h"
#include "viewers/qavmrdocbrowser.h"
#include "viewers/qavmrviewer.h"

#include <QBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QTextEdit>

QACommentPane::QACommentPane(QWidget *owner, QAVmrDocBrowser *doc)
    : QObject(owner)
    , m_doc(doc)
    , m_title(new QLabel(owner))
    , m_text(new QATextEdit(owner))
{
    m_text->setObjectName(QStringLiteral("comment"));
    // Comments are plain text: a "<" in a comment must stay a "<".
    m_text->setAcceptRichText(false);
    m_text->setMaximumHeight(60);
    frameBox(m_text);
    m_title->setObjectName(QStringLiteral("comment title"));
    m_title->setTextFormat(Qt::PlainText);
    m_title->setBuddy(m_text);
    connect(m_text, &QTextEdit::textChanged, this, &QACommentPane::save);
}

QACommentPane::~QACommentPane() = default;

void QACommentPane::addTo(QBoxLayout *layout)
{
    layout->addWidget(m_title);
    layout->addSpacing(5);
    layout->addWidget(m_text);
}

void QACommentPane::fill(const QDomElement &target, const QString &title, int depth)
{
    QSignalBlocker blocker(m_text);
    m_target = target;
    m_depth = depth;
    m_title->setText(title);
    m_text->setPlainText(QAVmrViewer::childText(QStringLiteral("COMMENT"), target, depth));
}

void QACommentPane::show(const QDomElement &target, const QString &title,
                         const QDomElement &page, int depth)
{
    fill(target, title, depth);
    if (m_doc)
        m_doc->scrollToAnchor(page.attribute(QStringLiteral("Doc")));
}

void QACommentPane::frameBox(QFrame *frame)
{
    frame->setFrameStyle(QFrame::Box | QFrame::Raised);
    frame->setLineWidth(1);
    frame->setMidLineWidth(2);
}

void QACommentPane::save()
{
    QAVmrViewer::setChildText(QAVmrViewer::storedText(m_text->document()),
                              QStringLiteral("COMMENT"), m_target, m_depth);
    emit edited();
}
