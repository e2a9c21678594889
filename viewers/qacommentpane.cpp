#include "viewers/qacommentpane.h"

#include "support/qaxmledits.h"
#include "viewers/qafieldwidgets.h"
#include "viewers/qavmrdocbrowser.h"
#include "viewers/qavmrviewer.h"

#include <QBoxLayout>
#include <QLabel>
#include <QSignalBlocker>

QACommentPane::QACommentPane(QWidget *owner, QAVmrDocBrowser *doc)
    : QObject(owner)
    , m_doc(doc)
    , m_title(new QLabel(owner))
    , m_text(new QATextEdit(owner))
{
    m_text->setObjectName(QStringLiteral("comment"));
    frameBox(m_text);
    m_title->setObjectName(QStringLiteral("comment title"));
    m_title->setTextFormat(Qt::PlainText);
    m_title->setBuddy(m_text);
    connect(m_text, &QTextEdit::textChanged, this, &QACommentPane::save);
}

QACommentPane::~QACommentPane() = default;

QTextEdit *QACommentPane::editor() const
{
    return m_text;
}

void QACommentPane::addTo(QBoxLayout *layout, bool main)
{
    if (!main)
        m_text->setMaximumHeight(60);
    layout->addWidget(m_title);
    layout->addSpacing(5);
    layout->addWidget(m_text, main ? 1 : 0);
}

void QACommentPane::fill(const QDomElement &target, const QString &title, int depth)
{
    m_target = target;
    m_depth = depth;
    m_title->setText(title);
    const QSignalBlocker blocker(m_text);
    m_text->setPlainText(QAVmrViewer::childText(QStringLiteral("COMMENT"), target, depth));
    // Every target of a page lies in one document, whose edits the box follows.
    if (!m_watching && !target.isNull()) {
        connect(QAXmlEdits::of(target), &QAXmlEdits::changed, this, &QACommentPane::changed);
        m_watching = true;
    }
}

void QACommentPane::show(const QDomElement &target, const QString &title,
                         const QDomElement &page, int depth)
{
    fill(target, title, depth);
    if (m_doc)
        m_doc->scrollToAnchor(QAVmrViewer::docAnchor(page));
}

bool QACommentPane::shows(const QAXmlChange &change) const
{
    // The same comment may be named from its node (at depth 2) or from the element that
    // holds it (a search hit, at depth 1).
    return change.kind == QAXmlChange::Text && change.field == QLatin1String("COMMENT")
        && (change.element == m_target ? change.depth == m_depth
                                       : QAXmlEdits::textParent(change.element, change.depth)
                                           == QAXmlEdits::textParent(m_target, m_depth));
}

void QACommentPane::select(const QAXmlChange &change)
{
    QAVmrViewer::select(m_text, change.position, change.added);
}

void QACommentPane::changed(const QAXmlChange &change)
{
    if (shows(change))
        QAVmrViewer::refill(m_text,
                            QAVmrViewer::childText(QStringLiteral("COMMENT"), m_target, m_depth));
}

void QACommentPane::frameBox(QFrame *frame)
{
    frame->setFrameStyle(QFrame::Box | QFrame::Raised);
    frame->setLineWidth(1);
    frame->setMidLineWidth(2);
}

void QACommentPane::save()
{
    QAXmlEdits::of(m_target)->setChildText(m_target, QStringLiteral("COMMENT"),
                                           QAVmrViewer::storedText(m_text->document()),
                                           m_depth);
}
