#include "support/qares.h"

#include <QFile>
#include <QStringList>

QARes::~QARes() = default;
QAResGroup::~QAResGroup() = default;

const QARes *QAResGroup::child(const QString &name) const
{
    for (const auto &c : m_children) {
        if (c->name() == name)
            return c.get();
    }
    return nullptr;
}

QList<const QARes *> QAResGroup::children() const
{
    QList<const QARes *> list;
    for (const auto &c : m_children)
        list.append(c.get());
    return list;
}

QAResGroup *QAResGroup::group(const QString &name)
{
    for (auto &c : m_children) {
        if (c->name() == name)
            return const_cast<QAResGroup *>(c->toResGroup());
    }
    m_children.push_back(std::make_unique<QAResGroup>(name));
    return static_cast<QAResGroup *>(m_children.back().get());
}

void QAResGroup::setString(const QString &name, const QString &value)
{
    for (auto &c : m_children) {
        if (c->name() == name) {
            // A later line wins, as in a properties file; a group keeps its name.
            if (c->toResString())
                c = std::make_unique<QAResString>(name, value);
            return;
        }
    }
    m_children.push_back(std::make_unique<QAResString>(name, value));
}

const QARes *QARes::search(const char *key, char separator) const
{
    const QStringList parts = QString::fromUtf8(key).split(QLatin1Char(separator));
    const QARes *node = this;
    for (const QString &part : parts) {
        const QAResGroup *group = node ? node->toResGroup() : nullptr;
        if (!group)
            return nullptr;
        node = group->child(part);
    }
    return node;
}

std::unique_ptr<QARes> QARes::read(const char *path, bool)
{
    QFile file(QString::fromLocal8Bit(path));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return nullptr;
    auto root = std::make_unique<QAResGroup>(QString());
    bool any = false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')) ||
            line.startsWith(QLatin1Char('!')))
            continue;
        const int eq = line.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QStringList keys = line.left(eq).trimmed().split(QLatin1Char('.'));
        const QString value = line.mid(eq + 1).trimmed();
        QAResGroup *group = root.get();
        for (int i = 0; group && i < keys.size() - 1; ++i)
            group = group->group(keys.at(i));
        if (!group || keys.last().isEmpty())
            continue;
        group->setString(keys.last(), value);
        any = true;
    }
    if (!any)
        return nullptr;
    return root;
}
