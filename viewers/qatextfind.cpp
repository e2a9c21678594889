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

QTextCursor qaFindText(const QTextDocument *document, const QAFindRequest &request, int from)
{
    if (request.pattern.isEmpty())
        return QTextCursor();
    // The flag decides case for expressions too: the document overrides their option.
    QTextDocument::FindFlags flags;
    if (request.caseSensitive)
        flags |= QTextDocument::FindCaseSensitively;
    if (request.wildcard) {
        const QRegularExpression expression = qaFindExpression(request);
        if (!expression.isValid())
            return QTextCursor();
        return document->find(expression, from, flags);
    }
    return document->find(request.pattern, from, flags);
}
