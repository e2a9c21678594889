#pragma once

#include <QIcon>
#include <QTextCursor>

class QTextDocument;
struct QAFindRequest;

/** The binoculars shown beside the find commands of the text panes. */
QIcon qaFindIcon();

/**
 * Looks for a request's text in a document from a position on: literally, or, when the
 * request asks for wildcards, with "*" standing for any run of characters and "?" for
 * one character. A null cursor when there is no hit; empty patterns never hit.
 */
QTextCursor qaFindText(const QTextDocument *document, const QAFindRequest &request,
                       int from);
