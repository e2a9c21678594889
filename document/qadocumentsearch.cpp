#include "document/qadocumentsearch.h"

#include "viewers/qavmrviewer.h"

#include <map>

namespace {

const QString &tagValue() { static const QString s = QStringLiteral("VALUE"); return s; }
const QString &tagComment() { static const QString s = QStringLiteral("COMMENT"); return s; }
const QString &tagKey() { static const QString s = QStringLiteral("KEY"); return s; }
const QString &attrName() { static const QString s = QStringLiteral("Name"); return s; }
const QString &attrLabel() { static const QString s = QStringLiteral("Label"); return s; }
const QString &attrValue() { static const QString s = QStringLiteral("Value"); return s; }

// The next element after node in document order, below end; its children skipped when
// asked.
QDomNode nextElement(QDomNode node, const QDomNode &end, bool intoChildren)
{
    if (intoChildren) {
        for (QDomNode c = node.firstChild(); !c.isNull(); c = c.nextSibling())
            if (c.isElement())
                return c;
    }
    while (!node.isNull() && node != end) {
        for (QDomNode s = node.nextSibling(); !s.isNull(); s = s.nextSibling())
            if (s.isElement())
                return s;
        node = node.parentNode();
    }
    return QDomNode();
}

// The texts that a form shows in a field of its own: a value, a comment, a key.
bool isTextField(const QString &tag)
{
    return tag == tagValue() || tag == tagComment() || tag == tagKey();
}

bool isFileTag(const QString &tag)
{
    return tag == QLatin1String("NEWCMDFILE") || tag == QLatin1String("NEWBINFILE");
}

// Basic settings rows are named by their tag; they live two levels below a table.
bool isBasicSettingsRow(const QDomElement &element)
{
    const QDomNode container = element.parentNode();
    const QDomNode table = container.parentNode();
    return table.parentNode().nodeName() == QLatin1String("IS")
        && table.nodeName().startsWith(QLatin1String("IS_"))
        && element.tagName() != QLatin1String("INIFIELD") && element.tagName() != tagComment();
}

} // namespace

QADocumentSearch::QADocumentSearch(const QDomElement &root, const QAFindRequest &request)
    : m_root(root), m_request(request), m_expression(qaFindExpression(request)), m_next(root)
{
    if (!m_expression.isValid())
        m_next = QDomNode();
}

QString QADocumentSearch::errorString() const
{
    if (m_request.pattern.isEmpty())
        return QString();
    return m_expression.errorString();
}

QList<QASearchHit> QADocumentSearch::findAll()
{
    QList<QASearchHit> hits;
    while (findMore(&hits, 1 << 30)) {
    }
    return hits;
}

bool QADocumentSearch::findMore(QList<QASearchHit> *hits, int max)
{
    const qsizetype goal = hits->size() + max;
    while (!m_next.isNull() && hits->size() < goal) {
        const QDomElement element = m_next.toElement();
        // An embedded file's data is base64: nothing a user reads or looks for.
        const bool data = element.tagName() == QLatin1String("ENCODED_FILE");
        if (!data)
            searchElement(element, hits);
        m_next = nextElement(m_next, m_root, !data);
    }
    return !m_next.isNull();
}

void QADocumentSearch::searchElement(const QDomElement &element, QList<QASearchHit> *hits)
{
    const QString tag = element.tagName();
    if (isTextField(tag)) {
        // The text of the first child element of that name, as its form shows it.
        const QDomElement owner = element.parentNode().toElement();
        if (owner.isNull() || owner.firstChildElement(tag) != element)
            return;
        const QDomNode first = element.firstChild();
        if (!first.isText())
            return;
        const QString text = first.toText().data();
        searchText(text, QAXmlChange::text(owner, tag), owner, tag != tagKey(), hits);
        return;
    }
    if (element.hasAttribute(attrName()))
        searchText(element.attribute(attrName()), QAXmlChange::attribute(element, attrName()),
                   element, false, hits);
    if (element.hasAttribute(attrLabel())) {
        const QString label = QAVmrViewer::translatedLabel(element.attribute(attrLabel()));
        searchText(label, QAXmlChange::attribute(element, attrLabel()), element, false, hits);
    }
    // A field's value, and the variant a choice shows; switches hold only "0" and "1".
    if (tag == QLatin1String("OPTIONAL_MACRO") || tag == QLatin1String("CHOICE"))
        searchText(element.attribute(attrValue()), QAXmlChange::attribute(element, attrValue()),
                   element, tag == QLatin1String("OPTIONAL_MACRO"), hits);
    if (isBasicSettingsRow(element))
        searchText(tag, QAXmlChange::text(element, tagKey()), element, false, hits);
}

void QADocumentSearch::searchText(const QString &text, const QAXmlChange &where,
                                  const QDomElement &node, bool replaceable,
                                  QList<QASearchHit> *hits)
{
    if (text.isEmpty())
        return;
    QRegularExpressionMatchIterator it = m_expression.globalMatch(text);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        if (match.capturedLength() == 0)
            continue;
        QASearchHit hit;
        hit.where = where;
        hit.where.position = int(match.capturedStart());
        hit.where.added = int(match.capturedLength());
        const qsizetype start = text.lastIndexOf(QLatin1Char('\n'), match.capturedStart() - 1) + 1;
        qsizetype end = text.indexOf(QLatin1Char('\n'), match.capturedStart());
        if (end < 0)
            end = text.size();
        hit.line = text.mid(start, end - start).trimmed();
        hit.path = cachedPath(node);
        hit.replaceable = replaceable;
        hits->append(hit);
    }
}

QString QADocumentSearch::cachedPath(const QDomElement &element)
{
    const void *key = QAXmlEdits::identity(element);
    auto found = m_paths.constFind(key);
    if (found != m_paths.constEnd())
        return *found;
    const QString path = nodePath(element);
    m_paths.insert(key, path);
    return path;
}

QString QADocumentSearch::nodePath(const QDomElement &element)
{
    QStringList parts;
    for (QDomNode up = element; up.isElement(); up = up.parentNode()) {
        const QDomElement e = up.toElement();
        const QString tag = e.tagName();
        QString part;
        if (e.parentNode().isDocument() || isFileTag(tag))
            part = e.attribute(attrName());
        else if (e.hasAttribute(attrLabel()))
            part = QAVmrViewer::translatedLabel(e.attribute(attrLabel()));
        else if (tag == QLatin1String("INIFIELD"))
            part = QAXmlEdits::childText(e, tagKey());
        else if (e.hasAttribute(attrName()))
            part = e.attribute(attrName());
        else if (isBasicSettingsRow(e))
            part = tag;
        if (!part.isEmpty())
            parts.prepend(part);
    }
    return parts.join(QStringLiteral(" / "));
}

QString QADocumentSearch::currentText(const QAXmlChange &where)
{
    if (where.element.isNull())
        return QString();
    if (where.kind == QAXmlChange::Attribute)
        return where.element.attribute(where.field);
    if (where.field == tagKey() && where.element.firstChildElement(tagKey()).isNull())
        return where.element.tagName();
    return QAXmlEdits::childText(where.element, where.field);
}

QString QADocumentSearch::replacement(const QRegularExpressionMatch &match, const QString &with,
                                      bool expression)
{
    if (!expression)
        return with;
    QString out;
    for (qsizetype i = 0; i < with.size(); ++i) {
        const QChar c = with.at(i);
        if (c == QLatin1Char('\\') && i + 1 < with.size()) {
            const QChar next = with.at(i + 1);
            if (next.isDigit()) {
                out += match.captured(next.digitValue());
                ++i;
                continue;
            }
            if (next == QLatin1Char('\\')) {
                out += next;
                ++i;
                continue;
            }
        }
        out += c;
    }
    return out;
}

static void writeField(QAXmlEdits *edits, const QAXmlChange &where, const QString &text)
{
    if (where.kind == QAXmlChange::Attribute)
        edits->setAttribute(where.element, where.field, text);
    else
        edits->setChildText(where.element, where.field, text);
}

bool QADocumentSearch::replace(const QASearchHit &hit, const QAFindRequest &request,
                               const QString &with, QAXmlEdits *edits)
{
    if (!hit.replaceable || !edits)
        return false;
    const QString text = currentText(hit.where);
    const QRegularExpression expression = qaFindExpression(request);
    const QRegularExpressionMatch match =
        expression.match(text, hit.where.position, QRegularExpression::NormalMatch,
                         QRegularExpression::AnchorAtOffsetMatchOption);
    if (!match.hasMatch() || match.capturedLength() != hit.where.added)
        return false;
    const QString added = replacement(match, with, request.regularExpression);
    if (hit.where.kind == QAXmlChange::Text)
        edits->replaceChildText(hit.where.element, hit.where.field, hit.where.position,
                                hit.where.added, added);
    else
        writeField(edits, hit.where,
                   text.left(hit.where.position) + added
                       + text.mid(hit.where.position + hit.where.added));
    return true;
}

int QADocumentSearch::replaceAll(const QList<QASearchHit> &hits, const QAFindRequest &request,
                                 const QString &with, QAXmlEdits *edits, const QString &stepName)
{
    if (!edits)
        return 0;
    const QRegularExpression expression = qaFindExpression(request);
    if (!expression.isValid())
        return 0;
    // Each field once, in the order of the hits, with every match of its current text.
    std::map<std::pair<const void *, QString>, QAXmlChange> fields;
    QList<QAXmlChange> order;
    for (const QASearchHit &hit : hits) {
        if (!hit.replaceable)
            continue;
        // A pair of QString, not of the concatenation's builder, which would outlive its parts.
        const std::pair<const void *, QString> key(
            QAXmlEdits::identity(hit.where.element),
            hit.where.field + QString::number(hit.where.kind));
        if (fields.emplace(key, hit.where).second)
            order.append(hit.where);
    }
    int count = 0;
    bool grouped = false;
    for (const QAXmlChange &where : order) {
        const QString text = currentText(where);
        QString out;
        qsizetype done = 0;
        int here = 0;
        QRegularExpressionMatchIterator it = expression.globalMatch(text);
        while (it.hasNext()) {
            const QRegularExpressionMatch match = it.next();
            if (match.capturedLength() == 0)
                continue;
            out += QStringView(text).mid(done, match.capturedStart() - done);
            out += replacement(match, with, request.regularExpression);
            done = match.capturedEnd();
            ++here;
        }
        if (here == 0)
            continue;
        out += QStringView(text).mid(done);
        if (!grouped) {
            edits->beginGroup(stepName);
            grouped = true;
        }
        writeField(edits, where, out);
        count += here;
    }
    if (grouped)
        edits->endGroup();
    return count;
}
