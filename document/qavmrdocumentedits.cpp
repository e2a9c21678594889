#include "document/qavmrdocumentedits.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDomDocument>
#include <QDomText>
#include <QUndoCommand>

namespace {

// Keystrokes closer than this in one field are one burst, one step of the history.
constexpr qint64 kBurstMs = 2000;

enum StepId { TextStep = 1, PartStep, AttributeStep };

/** A step of the history: an edit that can be undone, and the change it makes. */
class Step : public QUndoCommand
{
public:
    Step(QAVmrDocumentEdits *edits, const QString &text)
        : QUndoCommand(text)
        , m_edits(edits)
    {
    }
    /** What the step changed, to be brought into view; after an undo when undone. */
    virtual QAXmlChange change(bool undone) const = 0;

protected:
    QAVmrDocumentEdits *m_edits;
};

// Where two texts differ, as the change from before to after.
QAXmlChange textChange(QAXmlChange change, const QString &before, const QString &after)
{
    qsizetype head = 0;
    while (head < before.size() && head < after.size() && before.at(head) == after.at(head))
        ++head;
    qsizetype tail = 0;
    while (tail < before.size() - head && tail < after.size() - head
           && before.at(before.size() - 1 - tail) == after.at(after.size() - 1 - tail))
        ++tail;
    change.position = int(head);
    change.removed = int(before.size() - head - tail);
    change.added = int(after.size() - head - tail);
    return change;
}

/**
 * The text of a child element, as setChildText writes it. A child element or a text node
 * that the step had to make goes again when it is undone, so that an undone document is
 * the one that was there, down to its bytes.
 */
class TextStepCommand : public Step
{
public:
    TextStepCommand(QAVmrDocumentEdits *edits, const QDomElement &element, const QString &tag,
                    int depth, const QString &text)
        : Step(edits, QAVmrDocumentEdits::tr("Edit %1").arg(subject(element, tag)))
        , m_element(element)
        , m_tag(tag)
        , m_depth(depth)
        , m_after(text)
        , m_time(QDeadlineTimer::current())
    {
        QDomNode parent = QAXmlEdits::textParent(element, depth);
        m_child = QAXmlEdits::childElement(parent, tag);
        if (m_child.isNull()) {
            m_child = element.ownerDocument().createElement(tag);
            m_madeChild = true;
        }
        QDomText first = m_child.firstChild().toText();
        if (first.isNull())
            m_text = element.ownerDocument().createTextNode(QString());
        else
            m_text = first;
        m_madeText = first.isNull();
        m_before = first.isNull() ? QString() : first.data();
    }

    static QString subject(const QDomElement &element, const QString &tag)
    {
        const QString name = QAVmrDocumentEdits::describe(element);
        return tag == QLatin1String("COMMENT")
            ? QAVmrDocumentEdits::tr("the comment of %1").arg(name)
            : name;
    }

    bool isNoOp() const { return !m_madeChild && !m_madeText && m_before == m_after; }

    void redo() override
    {
        if (m_madeChild)
            QAXmlEdits::textParent(m_element, m_depth).appendChild(m_child);
        if (m_madeText)
            m_child.insertBefore(m_text, m_child.firstChild());
        m_text.setData(m_after);
        m_edits->announce(change(false));
    }
    void undo() override
    {
        if (m_madeText)
            m_child.removeChild(m_text);
        else
            m_text.setData(m_before);
        if (m_madeChild)
            m_child.parentNode().removeChild(m_child);
        m_edits->announce(change(true));
    }
    int id() const override { return TextStep; }
    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *next = static_cast<const TextStepCommand *>(other);
        if (next->m_element != m_element || next->m_tag != m_tag || next->m_depth != m_depth
            || next->m_time.deadline() - m_time.deadline() > kBurstMs)
            return false;
        m_after = next->m_after;
        m_time = next->m_time;
        setObsolete(!m_madeChild && !m_madeText && m_before == m_after);
        return true;
    }
    QAXmlChange change(bool undone) const override
    {
        return textChange(QAXmlChange::text(m_element, m_tag, m_depth),
                          undone ? m_after : m_before, undone ? m_before : m_after);
    }

private:
    QDomElement m_element;
    QString m_tag;
    int m_depth;
    QDomElement m_child;
    QDomText m_text;
    bool m_madeChild = false;
    bool m_madeText = false;
    QString m_before;
    QString m_after;
    QDeadlineTimer m_time;
};

/**
 * A part of a long text replaced: the step keeps the part, never the text, so that the
 * history of a file of megabytes grows by what the user typed.
 */
class PartStepCommand : public Step
{
public:
    PartStepCommand(QAVmrDocumentEdits *edits, const QDomElement &element, const QString &tag,
                    const QDomText &text, int position, int removed, const QString &added)
        : Step(edits, QAVmrDocumentEdits::tr("Edit %1")
                          .arg(TextStepCommand::subject(element, tag)))
        , m_element(element)
        , m_tag(tag)
        , m_text(text)
        , m_position(position)
        , m_before(text.data().mid(position, removed))
        , m_after(added)
        , m_time(QDeadlineTimer::current())
    {
    }

    void redo() override
    {
        m_text.replaceData(m_position, m_before.size(), m_after);
        m_edits->announce(change(false));
    }
    void undo() override
    {
        m_text.replaceData(m_position, m_after.size(), m_before);
        m_edits->announce(change(true));
    }
    int id() const override { return PartStep; }
    bool mergeWith(const QUndoCommand *other) override
    {
        const auto *next = static_cast<const PartStepCommand *>(other);
        // One burst: the next change lies within or at the end of what this one wrote.
        const int offset = next->m_position - m_position;
        if (next->m_text != m_text || offset < 0
            || offset + next->m_before.size() > m_after.size()
            || next->m_time.deadline() - m_time.deadline() > kBurstMs)
            return false;
        m_after.replace(offset, next->m_before.size(), next->m_after);
        m_time = next->m_time;
        setObsolete(m_before == m_after);
        return true;
    }
    QAXmlChange change(bool undone) const override
    {
        return QAXmlChange::part(m_element, m_tag, m_position,
                                 int(undone ? m_after.size() : m_before.size()),
                                 int(undone ? m_before.size() : m_after.size()));
    }

private:
    QDomElement m_element;
    QString m_tag;
    QDomText m_text;
    int m_position;
    QString m_before;
    QString m_after;
    QDeadlineTimer m_time;
};

class AttributeStepCommand : public Step
{
public:
    AttributeStepCommand(QAVmrDocumentEdits *edits, const QDomElement &element,
                         const QString &name, const QString &value, bool typed)
        : Step(edits, text(element, name, value))
        , m_element(element)
        , m_name(name)
        , m_existed(element.hasAttribute(name))
        , m_before(element.attribute(name))
        , m_after(value)
        , m_typed(typed)
        , m_time(QDeadlineTimer::current())
    {
    }

    static QString text(const QDomElement &element, const QString &name, const QString &value)
    {
        if (name == QLatin1String("Name"))
            return QAVmrDocumentEdits::tr("Rename %1").arg(element.attribute(name));
        if (element.tagName() == QLatin1String("CHOICE"))
            return QAVmrDocumentEdits::tr("Choose %1").arg(value);
        return QAVmrDocumentEdits::tr("Change %1").arg(QAVmrDocumentEdits::describe(element));
    }

    bool isNoOp() const { return m_existed && m_before == m_after; }

    void redo() override
    {
        m_element.setAttribute(m_name, m_after);
        m_edits->announce(change(false));
    }
    void undo() override
    {
        if (m_existed)
            m_element.setAttribute(m_name, m_before);
        else
            m_element.removeAttribute(m_name);
        m_edits->announce(change(true));
    }
    int id() const override { return AttributeStep; }
    bool mergeWith(const QUndoCommand *other) override
    {
        // Typing into a field kept in an attribute is one burst; a switch turned twice is
        // two steps.
        const auto *next = static_cast<const AttributeStepCommand *>(other);
        if (!m_typed || !next->m_typed || next->m_element != m_element || next->m_name != m_name
            || next->m_time.deadline() - m_time.deadline() > kBurstMs)
            return false;
        m_after = next->m_after;
        m_time = next->m_time;
        setObsolete(m_existed && m_before == m_after);
        return true;
    }
    QAXmlChange change(bool undone) const override
    {
        QAXmlChange change = QAXmlChange::attribute(m_element, m_name);
        if (m_typed)
            change = textChange(change, undone ? m_after : m_before, undone ? m_before : m_after);
        return change;
    }

private:
    QDomElement m_element;
    QString m_name;
    bool m_existed;
    QString m_before;
    QString m_after;
    bool m_typed;
    QDeadlineTimer m_time;
};

/** An element put into the document, taken out of it, or moved among its siblings. */
class ElementStepCommand : public Step
{
public:
    enum Kind { Insert, Remove, Move };

    ElementStepCommand(QAVmrDocumentEdits *edits, Kind kind, const QDomElement &child,
                       const QDomElement &parent, const QDomNode &before)
        : Step(edits, text(kind, child))
        , m_kind(kind)
        , m_child(child)
        , m_parent(parent)
        , m_before(before)
        , m_oldParent(child.parentNode().toElement())
        , m_oldBefore(child.nextSibling())
    {
    }

    static QString text(Kind kind, const QDomElement &child)
    {
        const QString name = QAVmrDocumentEdits::describe(child);
        switch (kind) {
        case Insert:
            return QAVmrDocumentEdits::tr("Add %1").arg(name);
        case Remove:
            return QAVmrDocumentEdits::tr("Delete %1").arg(name);
        default:
            return QAVmrDocumentEdits::tr("Move %1").arg(name);
        }
    }

    void redo() override
    {
        if (m_kind == Remove)
            m_oldParent.removeChild(m_child);
        else
            place(m_parent, m_before);
        m_edits->announce(change(false));
    }
    void undo() override
    {
        if (m_kind == Insert)
            m_parent.removeChild(m_child);
        else
            place(m_oldParent, m_oldBefore);
        m_edits->announce(change(true));
    }
    QAXmlChange change(bool) const override
    {
        return QAXmlChange::children(m_kind == Remove ? m_oldParent : m_parent, m_child);
    }

private:
    void place(QDomElement parent, const QDomNode &before)
    {
        if (before.isNull())
            parent.appendChild(m_child);
        else
            parent.insertBefore(m_child, before);
    }

    Kind m_kind;
    QDomElement m_child;
    QDomElement m_parent;
    QDomNode m_before;
    QDomElement m_oldParent;
    QDomNode m_oldBefore;
};

// The last step inside a group, or the step itself.
const Step *innermost(const QUndoCommand *command)
{
    while (command && command->childCount() > 0)
        command = command->child(command->childCount() - 1);
    return dynamic_cast<const Step *>(command);
}

} // namespace

QAVmrDocumentEdits::QAVmrDocumentEdits(QObject *parent)
    : QAXmlEdits(parent)
{
    connect(&m_history, &QUndoStack::cleanChanged, this,
            [this](bool clean) { emit modifiedChanged(!clean); });
}

QAVmrDocumentEdits::~QAVmrDocumentEdits()
{
    // Whoever follows the history may already be gone.
    m_history.blockSignals(true);
}

void QAVmrDocumentEdits::open(const QDomDocument &document)
{
    const bool wasModified = isModified();
    m_history.clear();
    m_groups = 0;
    attach(document);
    if (wasModified)
        emit modifiedChanged(false);
}

void QAVmrDocumentEdits::close()
{
    open(QDomDocument());
}

bool QAVmrDocumentEdits::isModified() const
{
    return !m_history.isClean();
}

void QAVmrDocumentEdits::markSaved()
{
    m_history.setClean();
}

void QAVmrDocumentEdits::markModified()
{
    m_history.resetClean();
}

QString QAVmrDocumentEdits::describe(const QDomElement &element)
{
    if (element.hasAttribute(QStringLiteral("Name")))
        return element.attribute(QStringLiteral("Name"));
    const QString key = childText(element, QStringLiteral("KEY"));
    if (!key.isEmpty())
        return key;
    const QByteArray label = element.attribute(QStringLiteral("Label")).toUtf8();
    if (!label.isEmpty())
        return QCoreApplication::translate("XVM Labels", label.constData());
    return element.tagName();
}

void QAVmrDocumentEdits::announce(const QAXmlChange &change)
{
    emit changed(change);
}

void QAVmrDocumentEdits::push(QUndoCommand *step)
{
    // Pushing does the step.
    m_history.push(step);
}

void QAVmrDocumentEdits::setChildText(const QDomElement &element, const QString &tag,
                                      const QString &text, int depth)
{
    if (textParent(element, depth).isNull() || element.ownerDocument().isNull())
        return;
    auto *step = new TextStepCommand(this, element, tag, depth, text);
    if (step->isNoOp()) {
        delete step;
        return;
    }
    push(step);
}

void QAVmrDocumentEdits::replaceChildText(const QDomElement &element, const QString &tag,
                                          int position, int removed, const QString &added)
{
    const QDomText text = childElement(element, tag).firstChild().toText();
    if (text.isNull() || (removed == 0 && added.isEmpty()))
        return;
    push(new PartStepCommand(this, element, tag, text, position, removed, added));
}

void QAVmrDocumentEdits::setAttribute(const QDomElement &element, const QString &name,
                                      const QString &value, bool typed)
{
    auto *step = new AttributeStepCommand(this, element, name, value, typed);
    if (step->isNoOp()) {
        delete step;
        return;
    }
    push(step);
}

void QAVmrDocumentEdits::insertElement(const QDomElement &parent, const QDomElement &child,
                                       const QDomNode &before)
{
    push(new ElementStepCommand(this, ElementStepCommand::Insert, child, parent, before));
}

void QAVmrDocumentEdits::removeElement(const QDomElement &child)
{
    if (child.parentNode().isNull())
        return;
    push(new ElementStepCommand(this, ElementStepCommand::Remove, child, QDomElement(),
                                QDomNode()));
}

void QAVmrDocumentEdits::moveElement(const QDomElement &child, const QDomNode &before)
{
    const QDomElement parent = child.parentNode().toElement();
    if (parent.isNull() || child.nextSibling() == before || child == before)
        return;
    push(new ElementStepCommand(this, ElementStepCommand::Move, child, parent, before));
}

void QAVmrDocumentEdits::beginGroup(const QString &text)
{
    ++m_groups;
    m_history.beginMacro(text);
}

void QAVmrDocumentEdits::endGroup()
{
    if (m_groups == 0)
        return;
    --m_groups;
    m_history.endMacro();
}

void QAVmrDocumentEdits::undo()
{
    if (!m_history.canUndo())
        return;
    m_history.undo();
    reveal(m_history.command(m_history.index()), true);
}

void QAVmrDocumentEdits::redo()
{
    if (!m_history.canRedo())
        return;
    m_history.redo();
    reveal(m_history.command(m_history.index() - 1), false);
}

void QAVmrDocumentEdits::reveal(const QUndoCommand *step, bool undone)
{
    if (const Step *edit = innermost(step))
        emit revealRequested(edit->change(undone));
}
