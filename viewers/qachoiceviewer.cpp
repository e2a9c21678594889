#include "viewers/qachoiceviewer.h"

#include "viewers/qacommentpane.h"
#include "viewers/qafieldwidgets.h"
#include "viewers/qamacrowidgets.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

bool isFunctionTag(const QString &tag)
{
    return tag == QLatin1String("VALUEFCTPERL") || tag == QLatin1String("VALUEFCT")
        || tag == QLatin1String("VALUEFCTC") || tag == QLatin1String("VALUEFCTH");
}

QLabel *codeLabel(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return label;
}

} // namespace

QAFctOnglet::QAFctOnglet(QDomElement &element, QWidget *parent)
    : QWidget(parent)
    , m_element(element)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    QLabel *proto = codeLabel(QAVmrViewer::childText(QStringLiteral("PROTO"), m_element), this);
    proto->setObjectName(QStringLiteral("proto"));
    layout->addWidget(proto);
    layout->addSpacing(5);

    m_value = new QATextEdit(this);
    m_value->setObjectName(QStringLiteral("value"));
    // A function body is code: never taken for rich text.
    m_value->setAcceptRichText(false);
    m_value->setLineWrapMode(QTextEdit::NoWrap);
    m_value->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_value->setPlainText(QAVmrViewer::childText(QStringLiteral("VALUE"), m_element));
    layout->addWidget(m_value, 1);
    layout->addSpacing(5);

    QLabel *tail = codeLabel(QAVmrViewer::childText(QStringLiteral("TAIL"), m_element), this);
    tail->setObjectName(QStringLiteral("tail"));
    layout->addWidget(tail);
    layout->addSpacing(10);

    connect(m_value, &QATextEdit::isPressed, this, &QAFctOnglet::textEditPressed);
    connect(m_value, &QTextEdit::textChanged, this, &QAFctOnglet::saveText);
}

QAFctOnglet::~QAFctOnglet() = default;

void QAFctOnglet::saveText()
{
    QAVmrViewer::setChildText(QAVmrViewer::storedText(m_value->document()),
                              QStringLiteral("VALUE"), m_element, 1);
    emit ongletModified();
}

void QAFctOnglet::textEditPressed()
{
    emit itemPressed(m_element);
}

void QAFctOnglet::mousePressEvent(QMouseEvent *)
{
    emit itemPressed(m_element);
}

QAItemOnglet::QAItemOnglet(QDomElement &element, QWidget *parent)
    : QWidget(parent)
    , m_element(element)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    auto *box = new QWidget(this);
    auto *boxLayout = new QVBoxLayout(box);
    boxLayout->setContentsMargins(0, 0, 0, 0);
    boxLayout->setSpacing(10);
    layout->addWidget(box);
    layout->addStretch();

    for (QDomNode child = m_element.firstChild(); !child.isNull(); child = child.nextSibling()) {
        QDomElement item = child.firstChild().toElement();
        const QString tag = item.tagName();
        if (tag == QLatin1String("TEXT_MACRO")) {
            auto *field = new QATextMacro(box, item);
            boxLayout->addWidget(field);
            connect(field, &QATextMacro::isPressed, this, &QAItemOnglet::myPressed);
            connect(field, &QATextMacro::itemModified, this, &QAItemOnglet::itemHasChanged);
        } else if (tag == QLatin1String("BINARY_MACRO")) {
            auto *field = new QABinaryMacro(box, item);
            boxLayout->addWidget(field);
            connect(field, &QABinaryMacro::isPressed, this, &QAItemOnglet::myPressed);
            connect(field, &QABinaryMacro::itemModified, this, &QAItemOnglet::itemHasChanged);
        } else if (tag == QLatin1String("OPTIONAL_MACRO")) {
            auto *field = new QAOptionnalMacro(box, item);
            boxLayout->addWidget(field);
            connect(field, &QAOptionnalMacro::isPressed, this, &QAItemOnglet::myPressed);
            connect(field, &QAOptionnalMacro::itemModified, this,
                    &QAItemOnglet::itemHasChanged);
        }
    }
}

QAItemOnglet::~QAItemOnglet() = default;

void QAItemOnglet::myPressed(QDomElement &element)
{
    emit itemPressed(element);
}

void QAItemOnglet::itemHasChanged()
{
    emit ongletModified();
}

QAChoiceViewer::QAChoiceViewer(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc)
    : QAVmrViewer(element, parent, doc)
    , m_element(element)
    , m_choiceElement(element.firstChildElement(QStringLiteral("CHOICE")))
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);

    auto *box = new QFrame(this);
    QACommentPane::frameBox(box);
    auto *boxLayout = new QVBoxLayout(box);
    boxLayout->setContentsMargins(10, 10, 10, 10);

    auto *choiceRow = new QHBoxLayout;
    auto *choiceLabel = new QLabel(box);
    choiceLabel->setTextFormat(Qt::PlainText);
    m_choice = new QComboBox(box);
    m_choice->setObjectName(QStringLiteral("choice"));
    QAWheelGuard::protect(m_choice);
    choiceLabel->setBuddy(m_choice);
    choiceRow->addWidget(choiceLabel);
    choiceRow->addWidget(m_choice);
    boxLayout->addLayout(choiceRow);

    const QString chosen = m_choiceElement.attribute(QStringLiteral("Value"));
    if (!m_choiceElement.isNull())
        choiceLabel->setText(m_choiceElement.attribute(QStringLiteral("Name")));
    for (QDomNode n = m_choiceElement.firstChild(); !n.isNull(); n = n.nextSibling()) {
        if (!n.isElement() || n.nodeName() != QLatin1String("CHOICEDATA"))
            continue;
        const QDomNode first = n.firstChild();
        if (!first.isText())
            continue;
        const QString text = first.toText().data();
        m_choice->addItem(text);
        if (text == chosen)
            m_choice->setCurrentIndex(m_choice->count() - 1);
    }

    m_tabs = new QTabWidget(box);
    m_tabs->setObjectName(QStringLiteral("tabs"));
    boxLayout->addWidget(m_tabs, 1);
    for (QDomNode n = m_choiceElement.firstChild(); !n.isNull(); n = n.nextSibling()) {
        if (!n.isElement() || n.nodeName() != QLatin1String("ONGLET"))
            continue;
        QDomElement onglet = n.toElement();
        QDomElement first = onglet.firstChild().toElement();
        const QString title = translatedLabel(onglet.attribute(QStringLiteral("Label")));
        if (isFunctionTag(first.tagName())) {
            auto *sheet = new QAFctOnglet(first, this);
            m_tabs->addTab(sheet, title);
            m_tabElements.insert(sheet, first);
            connect(sheet, &QAFctOnglet::itemPressed, this, &QAChoiceViewer::updateItemComment);
            connect(sheet, &QAFctOnglet::ongletModified, this, &QAChoiceViewer::ongletHasChanged);
        } else if (first.tagName() == QLatin1String("ITEM")) {
            auto *sheet = new QAItemOnglet(onglet, this);
            m_tabs->addTab(sheet, title);
            m_tabElements.insert(sheet, first);
            connect(sheet, &QAItemOnglet::itemPressed, this, &QAChoiceViewer::updateItemComment);
            connect(sheet, &QAItemOnglet::ongletModified, this,
                    &QAChoiceViewer::ongletHasChanged);
        }
    }
    if (!isChoiceSensitive(m_choice->currentIndex()))
        m_tabs->setEnabled(false);
    layout->addWidget(box, 1);

    m_comment = new QACommentPane(this, doc);
    m_comment->addTo(layout);
    m_comment->show(m_element, pageTitle());
    connect(m_comment, &QACommentPane::edited, this, [this] { modified = true; });
    connect(m_choice, &QComboBox::activated, this, &QAChoiceViewer::enableTab);
    connect(m_tabs, &QTabWidget::currentChanged, this,
            [this](int index) { updateComment(m_tabs->widget(index)); });
}

QAChoiceViewer::~QAChoiceViewer() = default;

QString QAChoiceViewer::pageTitle() const
{
    return tr("Comment for \"%1\" node ",
              "used to display title on comment window, %1 is the subject of the comment")
        .arg(translatedLabel(m_element.attribute(QStringLiteral("Label"))));
}

void QAChoiceViewer::showPage()
{
    m_comment->show(m_element, pageTitle());
}

bool QAChoiceViewer::isChoiceSensitive(int index) const
{
    if (index < 0)
        return false;
    // Counted over every variant, including those without text that have no entry.
    int count = 0;
    for (QDomNode n = m_choiceElement.firstChild(); !n.isNull(); n = n.nextSibling()) {
        if (!n.isElement() || n.nodeName() != QLatin1String("CHOICEDATA"))
            continue;
        if (count == index)
            return n.toElement().attribute(QStringLiteral("Sensitive")) == QLatin1String("1");
        ++count;
    }
    return false;
}

void QAChoiceViewer::enableTab(int index)
{
    if (m_choiceElement.isNull() || index < 0 || index >= m_choice->count())
        return;
    m_choiceElement.setAttribute(QStringLiteral("Value"), m_choice->itemText(index));
    m_tabs->setEnabled(isChoiceSensitive(index));
    modified = true;
}

void QAChoiceViewer::updateComment(QWidget *page)
{
    // The pane shows the comment of the sheet that became current, and typing then goes
    // to that same element.
    const auto found = m_tabElements.constFind(page);
    if (found == m_tabElements.constEnd())
        return;
    QDomElement element = found.value();
    updateItemComment(element);
}

void QAChoiceViewer::updateItemComment(QDomElement &element)
{
    QString subject;
    if (element.hasAttribute(QStringLiteral("Name"))) {
        subject = QLatin1Char('"') + element.attribute(QStringLiteral("Name")) + QLatin1Char('"');
    } else {
        const QString label = element.parentNode().toElement().attribute(QStringLiteral("Label"));
        subject = QLatin1Char('"') + translatedLabel(label) + QLatin1Char('"');
    }
    m_comment->show(element,
                tr("Comment for %1 item ",
                   "used to display title on comment window, %1 is the subject of the comment")
                    .arg(subject));
}

void QAChoiceViewer::ongletHasChanged()
{
    modified = true;
}
