#pragma once

#include <QString>

/**
 * A search request as the find box and the find dialog pass it on: the text to find,
 * whether case matters, and the dialog's wildcard option. It is data, not a pattern.
 */
struct QAFindRequest
{
    QString pattern;
    bool caseSensitive = false;
    bool wildcard = false;
};
