#pragma once

#include <QRegularExpression>
#include <QString>

/**
 * A search request as the find box, the find dialog and the search of the whole port
 * pass it on: the text to find, whether case matters, and how the text is read
 * (literally, with wildcards, or as a regular expression). It is data, not a pattern.
 */
struct QAFindRequest
{
    QString pattern;
    bool caseSensitive = false;
    bool wildcard = false;
    bool wholeWord = false;
    bool regularExpression = false;
};

/**
 * The expression that finds what a request asks for: its text literally, or with "*"
 * standing for the shortest run of characters that completes a hit and "?" for one
 * character, or as a regular expression; a whole word is not preceded or followed by a
 * letter, digit or underscore. An invalid expression when the request finds nothing
 * (an empty text, only stars, a regular expression that does not compile).
 */
QRegularExpression qaFindExpression(const QAFindRequest &request);
