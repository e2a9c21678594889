#include "support/qaxmlcharacters.h"

#include <QMimeData>
#include <QStringList>

namespace {

// Whether the code unit at index begins a character that a document may hold; length
// is how many code units that character takes.
bool allowedAt(QStringView text, qsizetype index, qsizetype *length)
{
    const char16_t u = text.at(index).unicode();
    *length = 1;
    if (QChar::isHighSurrogate(u)) {
        if (index + 1 < text.size() && QChar::isLowSurrogate(text.at(index + 1).unicode())) {
            *length = 2;
            return true;
        }
        return false;
    }
    if (QChar::isLowSurrogate(u))
        return false;
    if (u < 0x20)
        return u == 0x09 || u == 0x0a || u == 0x0d;
    return u != 0xfffe && u != 0xffff;
}

} // namespace

qsizetype QAXmlCharacters::firstForbidden(QStringView text)
{
    // Nearly every character lies between the controls and the surrogates: those pass
    // at once, the checks of a whole port read megabytes of text.
    const char16_t *const begin = text.utf16();
    const qsizetype size = text.size();
    qsizetype length = 1;
    for (qsizetype i = 0; i < size; i += length) {
        const char16_t u = begin[i];
        length = 1;
        if ((u >= 0x20 && u < 0xd800) || u == 0x0a)
            continue;
        if (!allowedAt(text, i, &length))
            return i;
    }
    return -1;
}

QString QAXmlCharacters::describe(QStringView text, qsizetype index)
{
    if (index < 0 || index >= text.size())
        return QString();
    return QStringLiteral("U+%1")
        .arg(QString::number(text.at(index).unicode(), 16).toUpper(), 4, QLatin1Char('0'));
}

bool QAXmlCharacters::leaveOut(QString &text, int *position)
{
    qsizetype at = firstForbidden(text);
    if (at < 0)
        return false;
    QStringList seen;
    QString kept;
    kept.reserve(text.size());
    kept.append(QStringView(text).left(at));
    int newPosition = position ? *position : 0;
    qsizetype length = 1;
    for (qsizetype i = at; i < text.size(); i += length) {
        if (allowedAt(text, i, &length)) {
            kept.append(QStringView(text).mid(i, length));
            continue;
        }
        const QString name = describe(text, i);
        if (!seen.contains(name))
            seen.append(name);
        if (position && i < *position)
            --newPosition;
    }
    text = kept;
    if (position)
        *position = newPosition;
    emit notifier()->leftOut(
        tr("Left out characters that a port description cannot hold: %1.")
            .arg(seen.join(QStringLiteral(", "))));
    return true;
}

std::unique_ptr<QMimeData> QAXmlCharacters::leaveOut(const QMimeData *source)
{
    QString text = source->text();
    if (!leaveOut(text))
        return nullptr;
    auto kept = std::make_unique<QMimeData>();
    kept->setText(text);
    return kept;
}

QAXmlCharacters *QAXmlCharacters::notifier()
{
    static QAXmlCharacters instance;
    return &instance;
}
