#include "viewers/qafreetext.h"

#include "viewers/qafieldwidgets.h"
#include "viewers/qavmrdocbrowser.h"
#include "viewers/qavmrtextedit.h"

#include <QDomText>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// A text up to this size goes into the editor at once; a longer one in parts of about
// kPart characters, one per turn of the event loop, so that the viewer shows at once
// whatever the size of the file.
constexpr qsizetype kFirstPart = 64 * 1024;
constexpr qsizetype kPart = 64 * 1024;

// Where to cut a long text: after the last line break before at, so that each part
// ends a line (or at at, for a line longer than a part).
qsizetype cutAfterLine(const QString &text, qsizetype at)
{
    if (at >= text.size())
        return text.size();
    const qsizetype newline = text.lastIndexOf(QLatin1Char('\n'), at - 1);
    return newline > 0 ? newline + 1 : at;
}

// The text node that setChildText writes: the first child of the first VALUE child.
QDomText valueNode(const QDomElement &element)
{
    for (QDomNode n = element.firstChild(); !n.isNull(); n = n.nextSibling()) {
        if (n.isElement() && n.nodeName() == QLatin1String("VALUE"))
            return n.firstChild().toText();
    }
    return QDomText();
}

} // namespace

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
    const QString value = childText(QStringLiteral("VALUE"), m_element);
    if (value.size() <= kFirstPart) {
        m_text->setPlainText(value);
    } else {
        const qsizetype first = cutAfterLine(value, kFirstPart);
        m_text->setPlainText(value.left(first));
        m_pending = value.mid(first);
    }

    auto *label = new QLabel(tr("Enter text here:", "used in Add ASCII file window"), this);
    label->setBuddy(m_text);

    m_comment = new QATextEdit(this);
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

    connect(m_comment, &QTextEdit::textChanged, this, &QAFreeText::saveComment);
    if (isLoaded()) {
        startEditing();
    } else {
        m_text->setReadOnly(true);
        m_text->document()->setUndoRedoEnabled(false);
        QTimer::singleShot(0, this, &QAFreeText::loadMore);
    }
}

void QAFreeText::loadMore()
{
    const qsizetype length = cutAfterLine(m_pending, kPart);
    QTextCursor end(m_text->document());
    end.movePosition(QTextCursor::End);
    end.insertText(m_pending.left(length));
    m_pending.remove(0, length);
    if (!m_pending.isEmpty()) {
        QTimer::singleShot(0, this, &QAFreeText::loadMore);
        return;
    }
    m_pending = QString();
    m_text->document()->setUndoRedoEnabled(true);
    m_text->setReadOnly(false);
    startEditing();
}

void QAFreeText::startEditing()
{
    m_written = m_text->document()->characterCount() - 1;
    // Each change is noted as it happens and written when the editor says the text
    // changed: a keystroke writes one character, not the whole file again.
    connect(m_text->document(), &QTextDocument::contentsChange, this,
            [this](int position, int removed, int added) {
                ++m_changes;
                m_changeAt = position;
                m_changeRemoved = removed;
                m_changeAdded = added;
            });
    connect(m_text, &QPlainTextEdit::textChanged, this, &QAFreeText::saveText);
}

QAFreeText::~QAFreeText() = default;

void QAFreeText::showPage()
{
    if (m_doc)
        m_doc->scrollToAnchor(m_element.attribute(QStringLiteral("Doc")));
}

void QAFreeText::saveText()
{
    if (!isLoaded())
        return;
    if (m_changes != 1 || !writeChange())
        setChildText(storedText(m_text->document()), QStringLiteral("VALUE"), m_element);
    m_changes = 0;
    m_written = m_text->document()->characterCount() - 1;
    modified = true;
}

bool QAFreeText::writeChange()
{
    QDomText node = valueNode(m_element);
    const qsizetype length = m_text->document()->characterCount() - 1;
    // Only a change that is known to fit what VALUE holds: the text is the one this
    // viewer wrote, and the change's sizes add up (the document sometimes counts its
    // final separator in them, and then the whole text is written instead).
    if (node.isNull() || node.length() != m_written || m_changeAt < 0
        || m_changeAt + m_changeRemoved > m_written
        || m_written - m_changeRemoved + m_changeAdded != length)
        return false;
    QTextCursor added(m_text->document());
    added.setPosition(m_changeAt);
    added.setPosition(m_changeAt + m_changeAdded, QTextCursor::KeepAnchor);
    node.replaceData(m_changeAt, m_changeRemoved, storedForm(added.selectedText()));
    return true;
}

void QAFreeText::saveComment()
{
    setChildText(storedText(m_comment->document()), QStringLiteral("COMMENT"), m_element);
    modified = true;
}
