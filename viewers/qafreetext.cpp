#include "viewers/qafreetext.h"

#include "support/qaxmledits.h"
#include "viewers/qacommentpane.h"
#include "viewers/qavmrdocbrowser.h"
#include "viewers/qavmrtextedit.h"

#include <QDomText>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScopedValueRollback>
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

QAFreeText::QAFreeText(QDomElement &element, QWidget *parent, QAVmrDocBrowser *doc)
    : QAVmrViewer(element, parent, doc)
    , m_element(element)
{
    showPage();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(5, 5, 5, 5);

    m_text = new QAVmrTextEdit(this, 0);
    // The files are scripts and sources: they read as code, like the function bodies.
    m_text->setFont(codeFont());
    QTextOption option = m_text->document()->defaultTextOption();
    option.setAlignment(Qt::AlignJustify);
    m_text->document()->setDefaultTextOption(option);
    // What the user does to the text is undone with the rest of the document.
    m_text->document()->setUndoRedoEnabled(false);
    QACommentPane::frameBox(m_text);

    auto *label = new QLabel(tr("Enter text here:", "used in Add ASCII file window"), this);
    label->setBuddy(m_text);
    layout->addWidget(label);
    layout->addSpacing(5);
    layout->addWidget(m_text, 1);
    layout->addSpacing(15);

    // Files are named by their "Name"; configuration texts only have a "Label".
    QString subject = m_element.attribute(QStringLiteral("Name"));
    if (subject.isEmpty())
        subject = translatedLabel(m_element.attribute(QStringLiteral("Label")));
    m_comment = new QACommentPane(this, nullptr);
    m_comment->addTo(layout);
    m_comment->fill(m_element, tr("Comment for \"%1\" node:").arg(subject));

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
    connect(edits(), &QAXmlEdits::changed, this, &QAFreeText::showChange);
    fill();
}

QAFreeText::~QAFreeText() = default;

void QAFreeText::fill()
{
    // The file's contents are shown and stored as plain text, markup included.
    const QString value = childText(QStringLiteral("VALUE"), m_element);
    const QScopedValueRollback<bool> filling(m_filling, true);
    if (value.size() <= kFirstPart) {
        m_text->setPlainText(value);
        m_pending = QString();
        startEditing();
        return;
    }
    const qsizetype first = cutAfterLine(value, kFirstPart);
    // Parts still on their way come from the new text from now on.
    const bool loading = !isLoaded();
    m_text->setPlainText(value.left(first));
    m_pending = value.mid(first);
    m_text->setReadOnly(true);
    if (!loading)
        QTimer::singleShot(0, this, &QAFreeText::loadMore);
}

void QAFreeText::loadMore()
{
    if (isLoaded())
        return;
    const QScopedValueRollback<bool> filling(m_filling, true);
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
    startEditing();
}

void QAFreeText::startEditing()
{
    m_text->setReadOnly(false);
    m_changes = 0;
    m_written = m_text->document()->characterCount() - 1;
    if (m_reveal.kind == QAXmlChange::Text && !m_reveal.element.isNull()) {
        select(m_text, m_reveal.position, m_reveal.added);
        m_reveal = QAXmlChange();
    }
}

void QAFreeText::reveal(const QAXmlChange &change)
{
    if (m_comment->shows(change)) {
        m_comment->select(change);
    } else if (change.kind == QAXmlChange::Text && change.element == m_element) {
        // A long text shows its change once the whole of it is in the editor.
        if (isLoaded())
            select(m_text, change.position, change.added);
        else
            m_reveal = change;
    }
}

void QAFreeText::saveText()
{
    if (!isLoaded() || m_filling)
        return;
    const QScopedValueRollback<bool> writing(m_writing, true);
    if (m_changes != 1 || !writeChange())
        edits()->setChildText(m_element, QStringLiteral("VALUE"), storedText(m_text->document()));
    m_changes = 0;
    m_written = m_text->document()->characterCount() - 1;
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
    edits()->replaceChildText(m_element, QStringLiteral("VALUE"), m_changeAt, m_changeRemoved,
                              storedForm(added.selectedText()));
    return true;
}

void QAFreeText::showChange(const QAXmlChange &change)
{
    if (m_writing || change.kind != QAXmlChange::Text || change.element != m_element
        || change.field != QLatin1String("VALUE"))
        return;
    // A change made elsewhere (an undo): a part replaced is replaced in the editor too,
    // anything else shows the text anew.
    if (!isLoaded() || change.position < 0 || m_written < change.position + change.removed) {
        fill();
        return;
    }
    const QScopedValueRollback<bool> filling(m_filling, true);
    QTextCursor part(m_text->document());
    part.setPosition(change.position);
    part.setPosition(change.position + change.removed, QTextCursor::KeepAnchor);
    part.insertText(valueNode(m_element).data().mid(change.position, change.added));
    m_changes = 0;
    m_written = m_text->document()->characterCount() - 1;
}

QTextEdit *QAFreeText::commentEditor() const
{
    return m_comment->editor();
}

QLabel *QAFreeText::commentTitle() const
{
    return m_comment->title();
}
