#include "viewers/qacommentviewer.h"

#include "support/qaxmledits.h"
#include "viewers/qacommentpane.h"
#include "viewers/qavmrdocbrowser.h"

#include <QLabel>
#include <QTextEdit>
#include <QVBoxLayout>

QACommentViewer::QACommentViewer(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc)
    : QAVmrViewer(element, parent, doc)
    , m_element(element)
{
    showPage();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);

    QString subject;
    const QString label = m_element.attribute(QStringLiteral("Label"));
    const QLatin1Char quote('"');
    if (!label.isEmpty())
        subject = quote + translatedLabel(label) + quote;
    else if (m_element.tagName() != QLatin1String("VMR"))
        subject = quote + m_element.attribute(QStringLiteral("Name")) + quote;
    else
        subject = tr("the root");

    // The comment is all there is to edit here: it takes the whole page.
    m_comment = new QACommentPane(this, nullptr);
    layout->addSpacing(5);
    m_comment->addTo(layout, true);
    m_comment->fill(m_element,
                    tr("Comment for %1 node",
                       "used to display title on comment window, %1 is the subject of the "
                       "comment")
                        .arg(subject));
}

QACommentViewer::~QACommentViewer() = default;

QTextEdit *QACommentViewer::commentEditor() const
{
    return m_comment->editor();
}

QLabel *QACommentViewer::commentTitle() const
{
    return m_comment->title();
}

void QACommentViewer::reveal(const QAXmlChange &change)
{
    if (m_comment->shows(change))
        m_comment->select(change);
}
