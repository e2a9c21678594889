#include "viewers/qaitemviewer.h"

#include "viewers/qamacrowidgets.h"
#include "viewers/qavmrdocbrowser.h"

#include <QFrame>
#include <QLabel>
#include <QScrollArea>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

void frameBox(QFrame *frame)
{
    frame->setFrameStyle(QFrame::Box | QFrame::Raised);
    frame->setLineWidth(1);
    frame->setMidLineWidth(2);
}

// The field that edits an item, chosen by the item's tag; none for other tags.
QWidget *createField(QWidget *parent, QDomElement &item)
{
    const QString tag = item.tagName();
    if (tag == QLatin1String("TEXT_MACRO") || tag == QLatin1String("TYPEADA")
        || tag == QLatin1String("CONSTANTADA") || tag == QLatin1String("CONSTANTSTRINGADA"))
        return new QATextMacro(parent, item);
    if (tag == QLatin1String("BINARY_MACRO") || tag == QLatin1String("RENAMEADA"))
        return new QABinaryMacro(parent, item);
    if (tag == QLatin1String("OPTIONAL_MACRO"))
        return new QAOptionnalMacro(parent, item);
    return nullptr;
}

} // namespace

QAItemViewer::QAItemViewer(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc)
    : QAVmrViewer(element, parent, doc)
    , m_doc(doc)
    , m_commentTarget(element)
    , m_element(element)
{
    if (m_doc)
        m_doc->scrollToAnchor(m_element.attribute(QStringLiteral("Doc")));

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);

    // A long page scrolls inside the edition area instead of squeezing its fields.
    auto *scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    auto *box = new QFrame;
    box->setObjectName(QStringLiteral("items"));
    frameBox(box);
    auto *boxLayout = new QVBoxLayout(box);
    boxLayout->setContentsMargins(10, 10, 10, 10);
    boxLayout->setSpacing(10);

    for (QDomNode child = m_element.firstChild(); !child.isNull(); child = child.nextSibling()) {
        QDomElement item = child.firstChild().toElement();
        if (item.isNull())
            continue;
        if (QWidget *field = createField(box, item)) {
            boxLayout->addWidget(field);
            if (auto *text = qobject_cast<QATextMacro *>(field)) {
                connect(text, &QATextMacro::isPressed, this, &QAItemViewer::updateComment);
                connect(text, &QATextMacro::itemModified, this, &QAItemViewer::itemHasChanged);
            } else if (auto *binary = qobject_cast<QABinaryMacro *>(field)) {
                connect(binary, &QABinaryMacro::isPressed, this, &QAItemViewer::updateComment);
                connect(binary, &QABinaryMacro::itemModified, this,
                        &QAItemViewer::itemHasChanged);
            } else if (auto *optional = qobject_cast<QAOptionnalMacro *>(field)) {
                connect(optional, &QAOptionnalMacro::isPressed, this,
                        &QAItemViewer::updateComment);
                connect(optional, &QAOptionnalMacro::itemModified, this,
                        &QAItemViewer::itemHasChanged);
            }
        }
    }
    boxLayout->addStretch();
    scroll->setWidget(box);
    layout->addWidget(scroll, 1);
    layout->addSpacing(10);

    m_comment = new QTextEdit(this);
    m_comment->setObjectName(QStringLiteral("comment"));
    m_comment->setAcceptRichText(false);
    m_comment->setMaximumHeight(60);
    frameBox(m_comment);
    m_comment->setPlainText(childText(QStringLiteral("COMMENT"), m_element, 1));

    m_title = new QLabel(pageTitle(), this);
    m_title->setObjectName(QStringLiteral("comment title"));
    m_title->setTextFormat(Qt::PlainText);
    m_title->setBuddy(m_comment);

    layout->addWidget(m_title);
    layout->addSpacing(5);
    layout->addWidget(m_comment);

    connect(m_comment, &QTextEdit::textChanged, this, &QAItemViewer::saveComment);
}

QAItemViewer::~QAItemViewer() = default;

QString QAItemViewer::pageTitle() const
{
    return tr("Comment for \"%1\" node:")
        .arg(translatedLabel(m_element.attribute(QStringLiteral("Label"))));
}

void QAItemViewer::showComment(const QDomElement &target, const QString &title)
{
    // Filling the pane is not an edit: nothing is written back.
    QSignalBlocker blocker(m_comment);
    m_commentTarget = target;
    m_title->setText(title);
    m_comment->setPlainText(childText(QStringLiteral("COMMENT"), target, 1));
    if (m_doc)
        m_doc->scrollToAnchor(target.attribute(QStringLiteral("Doc")));
}

void QAItemViewer::showPage()
{
    showComment(m_element, pageTitle());
}

void QAItemViewer::updateComment(QDomElement &item)
{
    showComment(item, tr("Comment for \"%1\" item:").arg(item.attribute(QStringLiteral("Name"))));
}

void QAItemViewer::itemHasChanged()
{
    modified = true;
}

void QAItemViewer::saveComment()
{
    setChildText(m_comment->toPlainText(), QStringLiteral("COMMENT"), m_commentTarget, 1);
    modified = true;
}
