#pragma once

#include "support/qafindrequest.h"
#include "support/qaxmledits.h"

#include <QDomElement>
#include <QHash>
#include <QList>
#include <QRegularExpression>
#include <QString>

/** One place in a port where a search found its text. */
struct QASearchHit
{
    /**
     * Where the hit is, as a change would name it: the text field (a child element) or
     * the attribute of an element, the hit's first character and its length (position
     * and added), so that the viewer that shows it can select it.
     */
    QAXmlChange where;
    /** The node's path in the tree, "Build / Compilation". */
    QString path;
    /** The line of the text that holds the hit. */
    QString line;
    /** Values and texts may be replaced; names, labels, keys and variants may not. */
    bool replaceable = false;
};

/**
 * Finds a request's text everywhere a user reads the port: node labels, names of the
 * port, its files and fields, settings keys and values, comments, free texts, function
 * bodies, field values and chosen variants. Embedded binary data is never searched.
 * The search walks the document in its order and can be taken in parts, so that the
 * first hits of a large port are shown before the rest are found.
 */
class QADocumentSearch
{
public:
    QADocumentSearch(const QDomElement &root, const QAFindRequest &request);

    /** False when the request finds nothing: an empty text, a broken expression. */
    bool isValid() const { return m_expression.isValid(); }
    /** Why the request finds nothing when it is not valid. */
    QString errorString() const;
    /** Adds the hits of the next part of the document, about max of them; false at the end. */
    bool findMore(QList<QASearchHit> *hits, int max);
    QList<QASearchHit> findAll();

    const QRegularExpression &expression() const { return m_expression; }

    /** The text a hit shows in its field now; null when the field is gone. */
    static QString currentText(const QAXmlChange &where);
    /** What replaces the matched text: with, its "\1" to "\9" taken from the match. */
    static QString replacement(const QRegularExpressionMatch &match, const QString &with,
                               bool expression);
    /**
     * Replaces a hit that is still where it was found, as one step of the document's
     * history. False when it is not replaceable or its text changed since.
     */
    static bool replace(const QASearchHit &hit, const QAFindRequest &request,
                        const QString &with, QAXmlEdits *edits);
    /**
     * Replaces every replaceable hit of the list, as found again in the fields' current
     * texts, as one step named stepName. Returns the number of replacements.
     */
    static int replaceAll(const QList<QASearchHit> &hits, const QAFindRequest &request,
                          const QString &with, QAXmlEdits *edits, const QString &stepName);
    /** The path of the node that shows element, as the tree names its nodes. */
    static QString nodePath(const QDomElement &element);

private:
    void searchElement(const QDomElement &element, QList<QASearchHit> *hits);
    void searchText(const QString &text, const QAXmlChange &where, const QDomElement &node,
                    bool replaceable, QList<QASearchHit> *hits);
    QString cachedPath(const QDomElement &element);

    QDomElement m_root;
    QAFindRequest m_request;
    QRegularExpression m_expression;
    QDomNode m_next;
    QHash<const void *, QString> m_paths;
};
