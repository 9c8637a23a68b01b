#include "export_writers.h"

namespace report {

namespace {

QString quoted(const QString& field)
{
    const bool needsQuotes = field.contains(QLatin1Char(';')) || field.contains(QLatin1Char('"'))
        || field.contains(QLatin1Char('\n')) || field.contains(QLatin1Char('\r'))
        || (!field.isEmpty() && (field.front().isSpace() || field.back().isSpace()));
    if (!needsQuotes)
        return field;
    QString escaped = field;
    escaped.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + escaped + QLatin1Char('"');
}

}  // namespace

QByteArray csvExport(const QList<TableRow>& rows)
{
    const ColumnGrid grid(rows);
    QString out;
    for (const TableRow& row : rows) {
        QStringList fields(grid.count());
        int used = 0;
        for (const TableCell& cell : row.cells) {
            const QString text = cell.text(QStringLiteral("\n"));
            if (text.isEmpty())
                continue;
            const int column = grid.columnOf(cell.rect.left());
            // Texts overlapping one column share its field.
            QString& field = fields[column];
            field = field.isEmpty() ? text : field + QLatin1Char(' ') + text;
            used = qMax(used, column + 1);
        }
        if (used == 0)
            continue;
        QStringList line;
        for (int column = 0; column < used; ++column)
            line.append(quoted(fields.at(column)));
        out += line.join(QLatin1Char(';'));
        out += QLatin1String("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}

}  // namespace report
