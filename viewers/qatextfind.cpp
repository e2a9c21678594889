#include "viewers/qatextfind.h"

#include "support/qafindrequest.h"
#include "support/qapixmaps.h"

#include <QRegularExpression>
#include <QTextDocument>

// Used when the installation has no picture of its own for the find commands.
static const char *const kFindXpm[] = {
    "16 16 4 1",
    "  c None",
    ". c #C5C5C5",
    "# c #000000",
    "a c #FEFEFE",
    "                ",
    "  ####    ####  ",
    "  #a.#    #a.#  ",
    "  #a.#    #a.#  ",
    " #a..#    #a..# ",
    " #a..######a..# ",
    "#a...#.aa.#a...#",
    "#a...#....#a...#",
    "#a....####a....#",
    "#a.....##a.....#",
    "#a.....##a.....#",
    "#a.....##a.....#",
    "#a.....##a.....#",
    "#......##......#",
    " ######  ###### ",
    "                ",
};

QIcon qaFindIcon()
{
    return QIcon(GETPIX("find_xpm", kFindXpm));
}

// "*" matches the shortest run that completes a hit, so that a search selects one
// occurrence rather than the rest of the line; everything else is matched as written.
static QRegularExpression wildcardExpression(const QString &pattern, bool caseSensitive)
{
    QString expression;
    for (const QChar c : pattern) {
        if (c == QLatin1Char('*'))
            expression += QStringLiteral(".*?");
        else if (c == QLatin1Char('?'))
            expression += QLatin1Char('.');
        else
            expression += QRegularExpression::escape(QString(c));
    }
    QRegularExpression::PatternOptions options = QRegularExpression::NoPatternOption;
    if (!caseSensitive)
        options |= QRegularExpression::CaseInsensitiveOption;
    return QRegularExpression(expression, options);
}

QTextCursor qaFindText(const QTextDocument *document, const QAFindRequest &request, int from)
{
    if (request.pattern.isEmpty())
        return QTextCursor();
    // The flag decides case for expressions too: the document overrides their option.
    QTextDocument::FindFlags flags;
    if (request.caseSensitive)
        flags |= QTextDocument::FindCaseSensitively;
    if (request.wildcard) {
        // A pattern of stars alone would only ever match nothing.
        if (request.pattern.count(QLatin1Char('*')) == request.pattern.size())
            return QTextCursor();
        return document->find(wildcardExpression(request.pattern, request.caseSensitive), from,
                              flags);
    }
    return document->find(request.pattern, from, flags);
}
