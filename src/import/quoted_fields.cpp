#include "quoted_fields.h"

namespace import {

QList<ImportCell> cutQuoted(const QString& line, const QString& separator, QChar quote, int columnCount)
{
    QList<ImportCell> cells;
    qsizetype at = 0;
    const qsizetype size = line.size();
    bool more = size > 0;
    while (more && (columnCount < 0 || cells.size() < columnCount)) {
        qsizetype first = at;
        while (first < size && line[first] == QLatin1Char(' '))
            ++first;
        QString text;
        if (first < size && line[first] == quote) {
            // A quoted cell: up to the closing quote, then whatever stands
            // before the next separator (trailing blanks, as a rule).
            qsizetype i = first + 1;
            while (i < size) {
                if (line[i] == quote) {
                    if (i + 1 < size && line[i + 1] == quote) {
                        text += quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                text += line[i++];
            }
            at = i;
        }
        const qsizetype next = separator.isEmpty() ? -1 : line.indexOf(separator, at);
        text += line.mid(at, next < 0 ? -1 : next - at);
        cells << ImportCell{text, {}};
        if (next < 0) {
            more = false;
        } else {
            at = next + separator.size();
            more = true;
        }
    }
    while (columnCount >= 0 && cells.size() < columnCount)
        cells << ImportCell{};
    return cells;
}

}  // namespace import
