#include "viewers/qaitemviewer.h"

#include "support/qaxmledits.h"
#include "viewers/qacommentpane.h"
#include "viewers/qamacrowidgets.h"

#include <QFrame>
#include <QLabel>
#include <QScrollArea>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

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
    , m_element(element)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);

    // A long page scrolls inside the edition area instead of squeezing its fields.
    auto *scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    auto *box = new QFrame;
    box->setObjectName(QStringLiteral("items"));
    QACommentPane::frameBox(box);
    auto *boxLayout = new QVBoxLayout(box);
    boxLayout->setContentsMargins(10, 10, 10, 10);
    boxLayout->setSpacing(10);

    for (QDomNode child = m_element.firstChild(); !child.isNull(); child = child.nextSibling()) {
        QDomElement item = child.firstChild().toElement();
        if (item.isNull())
            continue;
        if (QWidget *field = createField(box, item)) {
            boxLayout->addWidget(field);
            if (auto *text = qobject_cast<QATextMacro *>(field))
                connect(text, &QATextMacro::isPressed, this, &QAItemViewer::updateComment);
            else if (auto *binary = qobject_cast<QABinaryMacro *>(field))
                connect(binary, &QABinaryMacro::isPressed, this, &QAItemViewer::updateComment);
            else if (auto *optional = qobject_cast<QAOptionnalMacro *>(field))
                connect(optional, &QAOptionnalMacro::isPressed, this,
                        &QAItemViewer::updateComment);
        }
    }
    boxLayout->addStretch();
    qaAlignMacroCaptions(box);
    scroll->setWidget(box);
    layout->addWidget(scroll, 1);
    layout->addSpacing(10);

    m_comment = new QACommentPane(this, doc);
    m_comment->addTo(layout);
    m_comment->show(m_element, pageTitle());
}

QAItemViewer::~QAItemViewer() = default;

QString QAItemViewer::pageTitle() const
{
    return tr("Comment for \"%1\" node:")
        .arg(translatedLabel(m_element.attribute(QStringLiteral("Label"))));
}

void QAItemViewer::showPage()
{
    m_comment->show(m_element, pageTitle());
}

void QAItemViewer::updateComment(QDomElement &item)
{
    m_comment->show(item, tr("Comment for \"%1\" item:").arg(item.attribute(QStringLiteral("Name"))));
}

void QAItemViewer::reveal(const QAXmlChange &change)
{
    // A field's comment is shown once its field is entered.
    QDomElement item = change.element;
    if (change.field == QLatin1String("COMMENT") && item != m_element)
        updateComment(item);
    if (m_comment->shows(change)) {
        m_comment->select(change);
        return;
    }
    for (QWidget *field : findChildren<QWidget *>()) {
        if (auto *text = qobject_cast<QATextMacro *>(field); text && text->element() == item)
            return text->reveal(change);
        if (auto *on = qobject_cast<QABinaryMacro *>(field); on && on->element() == item)
            return on->reveal(change);
        if (auto *optional = qobject_cast<QAOptionnalMacro *>(field);
            optional && optional->element() == item)
            return optional->reveal(change);
    }
}
