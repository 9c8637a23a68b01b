#include "config_sections.h"

std::optional<QList<ConfigEntry>> configSection(const QStringList& lines,
                                                const std::function<bool(const QString&)>& isHeader)
{
    qsizetype i = 0;
    while (i < lines.size() && !isHeader(lines[i]))
        ++i;
    if (i >= lines.size())
        return std::nullopt;
    QList<ConfigEntry> entries;
    for (++i; i < lines.size(); ++i) {
        const QString& line = lines[i];
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1Char('[')))
            break;
        const qsizetype eq = line.indexOf(QLatin1Char('='));
        entries << ConfigEntry{(eq < 0 ? line : line.left(eq)).toUpper(), eq < 0 ? QString() : line.mid(eq + 1)};
    }
    return entries;
}
