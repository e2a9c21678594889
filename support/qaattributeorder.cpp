#include "support/qaattributeorder.h"

#include <QXmlStreamAttributes>

#include <algorithm>
#include <functional>

namespace {

// The DOM gives its nodes no identity but its handles' shared data; an element's
// attribute table is looked up by that address.
class NodeIdentity : public QDomNode
{
public:
    explicit NodeIdentity(const QDomNode &node)
        : QDomNode(node)
    {
    }
    const void *key() const { return impl; }
};

} // namespace

void QAAttributeOrder::add(const QDomElement &element, const QXmlStreamAttributes &attributes)
{
    if (attributes.size() < 2)
        return;
    // Neighbours mostly share an order (the rows of a table, the fields of a page): the
    // last one is checked before any lookup.
    if (!sameNames(m_last, attributes)) {
        // Names hold no blank, so the joined names tell the orders apart.
        m_key.resize(0);
        for (const QXmlStreamAttribute &attribute : attributes) {
            m_key += attribute.qualifiedName();
            m_key += QLatin1Char(' ');
        }
        auto found = m_orderIndex.constFind(m_key);
        if (found == m_orderIndex.constEnd()) {
            QStringList names;
            names.reserve(attributes.size());
            for (const QXmlStreamAttribute &attribute : attributes)
                names.append(attribute.qualifiedName().toString());
            m_orders.append(names);
            found = m_orderIndex.insert(m_key, int(m_orders.size() - 1));
        }
        m_last = found.value();
    }
    m_elements.push_back(Entry{NodeIdentity(element).key(), int(m_tables.size()), m_last});
    m_tables.push_back(element.attributes());
}

void QAAttributeOrder::finish()
{
    // Addresses of unrelated objects: std::less orders them all.
    std::sort(m_elements.begin(), m_elements.end(), [](const Entry &a, const Entry &b) {
        return std::less<const void *>()(a.element, b.element);
    });
    m_elements.shrink_to_fit();
}

bool QAAttributeOrder::sameNames(int order, const QXmlStreamAttributes &attributes) const
{
    if (order < 0)
        return false;
    const QStringList &names = m_orders.at(order);
    if (names.size() != attributes.size())
        return false;
    for (qsizetype i = 0; i < names.size(); ++i) {
        if (names.at(i) != attributes.at(i).qualifiedName())
            return false;
    }
    return true;
}

const QStringList *QAAttributeOrder::of(const QDomElement &element) const
{
    const void *key = NodeIdentity(element).key();
    const auto found = std::lower_bound(
        m_elements.begin(), m_elements.end(), key,
        [](const Entry &entry, const void *wanted) {
            return std::less<const void *>()(entry.element, wanted);
        });
    // An element made where a removed one lived has an attribute table of its own: the
    // record still holds the removed element's.
    if (found == m_elements.end() || found->element != key
        || m_tables[std::size_t(found->table)] != element.attributes())
        return nullptr;
    return &m_orders.at(found->order);
}

void QAAttributeOrder::clear()
{
    m_elements.clear();
    m_tables.clear();
    m_orders.clear();
    m_orderIndex.clear();
    m_last = -1;
}
