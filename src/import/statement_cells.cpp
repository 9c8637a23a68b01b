#include "statement_cells.h"

namespace import {

std::optional<QString> labelledValue(const QList<ImportCell>& cells, const QString& label)
{
    if (label.isEmpty())
        return std::nullopt;
    for (const ImportCell& cell : cells) {
        const QString text = trimCell(cell.text);
        if (text.startsWith(label, Qt::CaseInsensitive))
            return trimCell(text.mid(label.size()));
    }
    return std::nullopt;
}

QString withoutLineMarks(const QString& text)
{
    if (!text.contains(QLatin1Char('|')))
        return text;
    return QString(text).replace(QLatin1Char('|'), QLatin1Char(' ')).simplified();
}

}  // namespace import
