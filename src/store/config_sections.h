#pragma once
// The sections of the options' configuration text: a section starts after
// its header line and ends before the next line beginning with "[". Each
// of its non-empty lines is a key (before the first "=", upper-cased, not
// trimmed) and a value (the rest, unchanged); a line without "=" is a key
// with an empty value.

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

struct ConfigEntry {
    QString key;    // upper-cased
    QString value;
};

// The entries of the first section whose header line satisfies `isHeader`,
// in their order; nothing when no line does.
std::optional<QList<ConfigEntry>> configSection(const QStringList& lines,
                                                const std::function<bool(const QString&)>& isHeader);
