#include "key_value_settings.h"

#include <QSettings>

bool KeyValueSettings::flag(const QString& group, const QString& key, bool fallback) const
{
    if (!contains(group, key))
        return fallback;
    const QVariant v = value(group, key);
    // QSettings' ini files give booleans back as "true"/"false" text.
    const QString t = v.toString().toLower();
    if (t == QLatin1String("true") || t == QLatin1String("1"))
        return true;
    if (t == QLatin1String("false") || t == QLatin1String("0"))
        return false;
    return v.toBool();
}

int KeyValueSettings::number(const QString& group, const QString& key, int fallback) const
{
    bool ok = false;
    const int n = value(group, key).toInt(&ok);
    return ok ? n : fallback;
}

bool MemorySettings::contains(const QString& group, const QString& key) const
{
    return m_groups.value(group).contains(key);
}

QVariant MemorySettings::value(const QString& group, const QString& key, const QVariant& fallback) const
{
    return m_groups.value(group).value(key, fallback);
}

void MemorySettings::setValue(const QString& group, const QString& key, const QVariant& value)
{
    m_groups[group].insert(key, value);
}

void MemorySettings::remove(const QString& group, const QString& key)
{
    auto it = m_groups.find(group);
    if (it != m_groups.end())
        it->remove(key);
}

struct UserSettings::Impl {
    QSettings settings{QStringLiteral("Vendrix"), QStringLiteral("Lunawa")};
};

UserSettings::UserSettings() : m(std::make_unique<Impl>()) {}
UserSettings::~UserSettings() = default;

QString UserSettings::escapedGroup(const QString& group)
{
    QString out;
    out.reserve(group.size());
    for (const QChar c : group) {
        if (c == QLatin1Char('%'))
            out += QStringLiteral("%25");
        else if (c == QLatin1Char('/'))
            out += QStringLiteral("%2F");
        else if (c == QLatin1Char('\\'))
            out += QStringLiteral("%5C");
        else
            out += c;
    }
    return out;
}

QString UserSettings::path(const QString& group, const QString& key) const
{
    return escapedGroup(group) + QLatin1Char('/') + escapedGroup(key);
}

bool UserSettings::contains(const QString& group, const QString& key) const
{
    return m->settings.contains(path(group, key));
}

QVariant UserSettings::value(const QString& group, const QString& key, const QVariant& fallback) const
{
    return m->settings.value(path(group, key), fallback);
}

void UserSettings::setValue(const QString& group, const QString& key, const QVariant& value)
{
    m->settings.setValue(path(group, key), value);
}

void UserSettings::remove(const QString& group, const QString& key)
{
    m->settings.remove(path(group, key));
}
