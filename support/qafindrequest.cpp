#include "support/qafindrequest.h"

QRegularExpression qaFindExpression(const QAFindRequest &request)
{
    const QString &pattern = request.pattern;
    // An empty text, or stars alone, would only ever match nothing.
    if (pattern.isEmpty()
        || (request.wildcard && !request.regularExpression
            && pattern.count(QLatin1Char('*')) == pattern.size()))
        return QRegularExpression(QStringLiteral("("));
    QString expression;
    if (request.regularExpression) {
        expression = pattern;
    } else if (request.wildcard) {
        for (const QChar c : pattern) {
            if (c == QLatin1Char('*'))
                expression += QStringLiteral(".*?");
            else if (c == QLatin1Char('?'))
                expression += QLatin1Char('.');
            else
                expression += QRegularExpression::escape(QString(c));
        }
    } else {
        expression = QRegularExpression::escape(pattern);
    }
    if (request.wholeWord)
        expression = QStringLiteral("(?<![\\w])(?:") + expression + QStringLiteral(")(?![\\w])");
    QRegularExpression::PatternOptions options = QRegularExpression::UseUnicodePropertiesOption;
    if (!request.caseSensitive)
        options |= QRegularExpression::CaseInsensitiveOption;
    QRegularExpression compiled(expression, options);
    if (compiled.isValid())
        compiled.optimize();
    return compiled;
}
