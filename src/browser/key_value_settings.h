#pragma once
// Per-user settings as groups of named values. The desktop keeps them in
// QSettings("Vendrix", "Lunawa") (the registry on Windows); tests keep them
// in memory.

#include <QHash>
#include <QString>
#include <QVariant>

#include <memory>

class KeyValueSettings {
public:
    virtual ~KeyValueSettings() = default;
    virtual bool contains(const QString& group, const QString& key) const = 0;
    virtual QVariant value(const QString& group, const QString& key, const QVariant& fallback = {}) const = 0;
    virtual void setValue(const QString& group, const QString& key, const QVariant& value) = 0;
    virtual void remove(const QString& group, const QString& key) = 0;

    QString text(const QString& group, const QString& key) const { return value(group, key).toString(); }
    bool flag(const QString& group, const QString& key, bool fallback) const;
    int number(const QString& group, const QString& key, int fallback) const;
};

class MemorySettings : public KeyValueSettings {
public:
    bool contains(const QString& group, const QString& key) const override;
    QVariant value(const QString& group, const QString& key, const QVariant& fallback = {}) const override;
    void setValue(const QString& group, const QString& key, const QVariant& value) override;
    void remove(const QString& group, const QString& key) override;

    QHash<QString, QVariant> group(const QString& name) const { return m_groups.value(name); }

private:
    QHash<QString, QHash<QString, QVariant>> m_groups;
};

// QSettings("Vendrix", "Lunawa"). A group name is a window title, which may
// hold "/" or "\": both are escaped, or QSettings would nest the keys.
class UserSettings : public KeyValueSettings {
public:
    UserSettings();
    ~UserSettings() override;
    bool contains(const QString& group, const QString& key) const override;
    QVariant value(const QString& group, const QString& key, const QVariant& fallback = {}) const override;
    void setValue(const QString& group, const QString& key, const QVariant& value) override;
    void remove(const QString& group, const QString& key) override;

    // "A/B\C%" -> "A%2FB%5CC%25"
    static QString escapedGroup(const QString& group);

private:
    QString path(const QString& group, const QString& key) const;
    struct Impl;
    std::unique_ptr<Impl> m;
};
