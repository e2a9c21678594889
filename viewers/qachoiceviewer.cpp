#include "viewers/qachoiceviewer.h"

#include "support/qaxmledits.h"
#include "viewers/qacommentpane.h"
#include "viewers/qafctviewer.h"
#include "viewers/qafieldwidgets.h"
#include "viewers/qamacrowidgets.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

bool isFunctionTag(const QString &tag)
{
    return tag == QLatin1String("VALUEFCTPERL") || tag == QLatin1String("VALUEFCT")
        || tag == QLatin1String("VALUEFCTC") || tag == QLatin1String("VALUEFCTH");
}

} // namespace

QAFctOnglet::QAFctOnglet(QDomElement &element, QWidget *parent)
    : QWidget(parent)
    , m_element(element)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);
    QLabel *proto = QAFctViewer::codeLabel(QAVmrViewer::childText(QStringLiteral("PROTO"), m_element), this);
    proto->setObjectName(QStringLiteral("proto"));
    layout->addWidget(proto);
    layout->addSpacing(5);

    m_value = new QATextEdit(this);
    m_value->setObjectName(QStringLiteral("value"));
    // A function body is code: never taken for rich text.
    m_value->setAcceptRichText(false);
    m_value->setLineWrapMode(QTextEdit::NoWrap);
    m_value->setFont(QAVmrViewer::codeFont());
    // What the user does to the body is undone with the rest of the document.
    m_value->document()->setUndoRedoEnabled(false);
    m_value->setPlainText(QAVmrViewer::childText(QStringLiteral("VALUE"), m_element));
    layout->addWidget(m_value, 1);
    layout->addSpacing(5);

    QLabel *tail = QAFctViewer::codeLabel(QAVmrViewer::childText(QStringLiteral("TAIL"), m_element), this);
    tail->setObjectName(QStringLiteral("tail"));
    layout->addWidget(tail);
    layout->addSpacing(10);

    connect(m_value, &QATextEdit::isPressed, this, &QAFctOnglet::textEditPressed);
    connect(m_value, &QTextEdit::textChanged, this, &QAFctOnglet::saveText);
    connect(QAXmlEdits::of(m_element), &QAXmlEdits::changed, this,
            [this](const QAXmlChange &change) {
                if (change.element == m_element && change.field == QLatin1String("VALUE"))
                    QAVmrViewer::refill(
                        m_value, QAVmrViewer::childText(QStringLiteral("VALUE"), m_element));
            });
}

QAFctOnglet::~QAFctOnglet() = default;

void QAFctOnglet::saveText()
{
    QAXmlEdits::of(m_element)->setChildText(m_element, QStringLiteral("VALUE"),
                                            QAVmrViewer::storedText(m_value->document()));
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
        } else if (tag == QLatin1String("BINARY_MACRO")) {
            auto *field = new QABinaryMacro(box, item);
            boxLayout->addWidget(field);
            connect(field, &QABinaryMacro::isPressed, this, &QAItemOnglet::myPressed);
        } else if (tag == QLatin1String("OPTIONAL_MACRO")) {
            auto *field = new QAOptionnalMacro(box, item);
            boxLayout->addWidget(field);
            connect(field, &QAOptionnalMacro::isPressed, this, &QAItemOnglet::myPressed);
        }
    }
    qaAlignMacroCaptions(box);
}

QAItemOnglet::~QAItemOnglet() = default;

void QAItemOnglet::myPressed(QDomElement &element)
{
    emit itemPressed(element);
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
        } else if (first.tagName() == QLatin1String("ITEM")) {
            auto *sheet = new QAItemOnglet(onglet, this);
            m_tabs->addTab(sheet, title);
            m_tabElements.insert(sheet, first);
            connect(sheet, &QAItemOnglet::itemPressed, this, &QAChoiceViewer::updateItemComment);
        }
    }
    if (!isChoiceSensitive(m_choice->currentIndex()))
        m_tabs->setEnabled(false);
    layout->addWidget(box, 1);

    m_comment = new QACommentPane(this, doc);
    m_comment->addTo(layout);
    m_comment->show(m_element, pageTitle());
    connect(m_choice, &QComboBox::activated, this, &QAChoiceViewer::enableTab);
    connect(m_tabs, &QTabWidget::currentChanged, this,
            [this](int index) { updateComment(m_tabs->widget(index)); });
    connect(edits(), &QAXmlEdits::changed, this, [this](const QAXmlChange &change) {
        if (change.element == m_choiceElement && change.field == QLatin1String("Value"))
            showChoice();
    });
}

void QAChoiceViewer::showChoice()
{
    const int index = m_choice->findText(m_choiceElement.attribute(QStringLiteral("Value")));
    if (index >= 0) {
        const QSignalBlocker blocker(m_choice);
        m_choice->setCurrentIndex(index);
    }
    m_tabs->setEnabled(isChoiceSensitive(m_choice->currentIndex()));
}

void QAChoiceViewer::reveal(const QAXmlChange &change)
{
    if (change.element == m_choiceElement) {
        m_choice->setFocus(Qt::OtherFocusReason);
        return;
    }
    // The sheet that holds the changed element comes to the front.
    for (int i = 0; i < m_tabs->count(); ++i) {
        QWidget *sheet = m_tabs->widget(i);
        QDomElement owner;
        if (auto *function = qobject_cast<QAFctOnglet *>(sheet))
            owner = function->element();
        else if (auto *items = qobject_cast<QAItemOnglet *>(sheet))
            owner = items->element();
        QDomNode up = change.element;
        while (!up.isNull() && up != owner)
            up = up.parentNode();
        if (owner.isNull() || up.isNull())
            continue;
        m_tabs->setCurrentIndex(i);
        QDomElement element = change.element;
        if (change.field == QLatin1String("COMMENT")) {
            updateItemComment(element);
            m_comment->select(change);
        } else if (auto *function = qobject_cast<QAFctOnglet *>(sheet)) {
            QAVmrViewer::select(function->valueEdit(), change.position, change.added);
        } else {
            for (auto *text : sheet->findChildren<QATextMacro *>())
                if (text->element() == element)
                    return text->reveal(change);
            for (auto *on : sheet->findChildren<QABinaryMacro *>())
                if (on->element() == element)
                    return on->reveal(change);
            for (auto *optional : sheet->findChildren<QAOptionnalMacro *>())
                if (optional->element() == element)
                    return optional->reveal(change);
        }
        return;
    }
    if (m_comment->shows(change))
        m_comment->select(change);
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
    edits()->setAttribute(m_choiceElement, QStringLiteral("Value"), m_choice->itemText(index));
    m_tabs->setEnabled(isChoiceSensitive(index));
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

