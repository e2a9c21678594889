#pragma once

#include <QDomElement>
#include <QDomNamedNodeMap>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <deque>
#include <vector>

class QXmlStreamAttributes;

/**
 * The order in which the elements of a loaded port description gave their attributes. The
 * DOM keeps an element's attributes in a hash whose order changes from one run to the next;
 * a save that follows this record writes an unchanged document with the attributes where
 * the file had them, so that a port kept under version control does not churn.
 *
 * Only elements with two attributes or more are noted, each in 24 bytes, and the few
 * distinct orders of a document are kept once. An element is known by its address and
 * checked by the attribute table the DOM gave it: the record holds on to that table, so
 * that an element made during the session where a removed one lived is never taken for
 * it. What the record does not know (an element made during the session, an attribute
 * added to a loaded element) is written after the attributes it knows, sorted by name.
 */
class QAAttributeOrder
{
public:
    /** Notes the order in which element, just read, had its attributes in the file. */
    void add(const QDomElement &element, const QXmlStreamAttributes &attributes);
    /** Makes what was added ready for lookups; called once the whole file is read. */
    void finish();
    /** The names of the element's attributes as the file gave them; null when not noted. */
    const QStringList *of(const QDomElement &element) const;
    void clear();

private:
    bool sameNames(int order, const QXmlStreamAttributes &attributes) const;

    struct Entry
    {
        const void *element;
        int table; // in m_tables
        int order; // in m_orders
    };

    // Sorted by element once the file is read: a few bytes an element, none wasted.
    std::vector<Entry> m_elements;
    // The attribute tables in the order read: a deque grows without copying its handles.
    std::deque<QDomNamedNodeMap> m_tables;
    QList<QStringList> m_orders;
    QHash<QString, int> m_orderIndex; // the names of one order joined by blanks
    QString m_key;
    int m_last = -1; // the order noted last
};
