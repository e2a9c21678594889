#pragma once

#include <QList>
#include <QString>

#include <memory>
#include <vector>

class QAResGroup;
class QAResString;

/**
 * A node of a properties file read as a tree: "url.home=http://..." gives the group
 * "url" holding the string "home". Lines starting with '#' or '!' are comments.
 */
class QARes
{
public:
    virtual ~QARes();

    /** Parses a properties file; null when it cannot be read or holds no entry. */
    static std::unique_ptr<QARes> read(const char *path, bool keepComments = false);

    QString name() const { return m_name; }
    /** Finds the node at a key path such as "url.home", or null. */
    const QARes *search(const char *key, char separator = '.') const;

    virtual const QAResGroup *toResGroup() const { return nullptr; }
    virtual const QAResString *toResString() const { return nullptr; }

protected:
    explicit QARes(const QString &name) : m_name(name) {}

private:
    QString m_name;
};

template<typename T>
class QAResSingle : public QARes
{
public:
    QAResSingle(const QString &name, const T &value) : QARes(name), m_value(value) {}
    T value() const { return m_value; }

private:
    T m_value;
};

class QAResString : public QAResSingle<QString>
{
public:
    using QAResSingle<QString>::QAResSingle;
    const QAResString *toResString() const override { return this; }
};

class QAResGroup : public QARes
{
public:
    explicit QAResGroup(const QString &name) : QARes(name) {}
    ~QAResGroup() override;
    const QAResGroup *toResGroup() const override { return this; }

    const QARes *child(const QString &name) const;
    QList<const QARes *> children() const;
    /** The group of that name, created when missing; null when a string holds the name. */
    QAResGroup *group(const QString &name);
    void setString(const QString &name, const QString &value);

private:
    std::vector<std::unique_ptr<QARes>> m_children;
};
