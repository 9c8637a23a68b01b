#include "export_writers.h"

namespace report {

namespace {

QString escaped(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        switch (ch.unicode()) {
        case '&': out += QLatin1String("&amp;"); break;
        case '<': out += QLatin1String("&lt;"); break;
        case '>': out += QLatin1String("&gt;"); break;
        case '"': out += QLatin1String("&quot;"); break;
        default:
            // Control characters are not allowed in XML.
            if (ch.unicode() >= 0x20 || ch == QLatin1Char('\t'))
                out += ch;
        }
    }
    return out;
}

QString cellStyle(const TableCell& cell)
{
    QStringList style;
    if (cell.alignment & Qt::AlignRight)
        style << QStringLiteral("text-align:right");
    else if (cell.alignment & Qt::AlignHCenter)
        style << QStringLiteral("text-align:center");
    if (cell.font.bold)
        style << QStringLiteral("font-weight:bold");
    if (cell.font.italic)
        style << QStringLiteral("font-style:italic");
    if (cell.font.underline || cell.font.strikeOut)
        style << QStringLiteral("text-decoration:%1")
                     .arg(cell.font.underline ? QStringLiteral("underline") : QStringLiteral("line-through"));
    if (cell.font.pointSize > 0 && !qFuzzyCompare(cell.font.pointSize, 10.0))
        style << QStringLiteral("font-size:%1pt").arg(cell.font.pointSize);
    if (cell.colour.isValid() && cell.colour != QColor(Qt::black))
        style << QStringLiteral("color:%1").arg(cell.colour.name());
    return style.join(QLatin1Char(';'));
}

}  // namespace

QByteArray htmlExport(const QList<TableRow>& rows, const QString& title)
{
    const ColumnGrid grid(rows);
    QString out;
    out += QLatin1String("<!DOCTYPE html>\n<html xmlns=\"http://www.w3.org/1999/xhtml\" lang=\"pl\">\n<head>\n"
                         "<meta charset=\"utf-8\"/>\n<title>");
    out += escaped(title);
    out += QLatin1String("</title>\n<style>\n"
                         "body { font-family: Arial, 'Liberation Sans', sans-serif; font-size: 10pt; }\n"
                         "table.page { border-collapse: collapse; table-layout: fixed; margin-bottom: 2em; }\n"
                         "table.page + table.page { page-break-before: always; }\n"
                         "td { padding: 0 0.3em; vertical-align: top; }\n"
                         "</style>\n</head>\n<body>\n");

    const QString columns = [&] {
        QString cols;
        for (int column = 0; column < grid.count(); ++column)
            cols += QStringLiteral("<col style=\"width:%1px\"/>").arg(qRound(grid.width(column)));
        return cols;
    }();

    int page = -1;
    for (const TableRow& row : rows) {
        if (row.page != page) {
            if (page >= 0)
                out += QLatin1String("</table>\n");
            out += QLatin1String("<table class=\"page\">") + columns + QLatin1Char('\n');
            page = row.page;
        }
        out += QLatin1String("<tr>");
        int column = 0;
        for (int i = 0; i < row.cells.size(); ++i) {
            const TableCell& cell = row.cells.at(i);
            const int at = qMax(column, grid.columnOf(cell.rect.left()));
            const int limit = i + 1 < row.cells.size() ? qMax(at + 1, grid.columnOf(row.cells.at(i + 1).rect.left()))
                                                        : grid.count();
            for (; column < at; ++column)
                out += QLatin1String("<td></td>");
            const int span = qMin(grid.span(cell, limit), qMax(1, limit - at));
            out += QLatin1String("<td");
            if (span > 1)
                out += QStringLiteral(" colspan=\"%1\"").arg(span);
            const QString style = cellStyle(cell);
            if (!style.isEmpty())
                out += QLatin1String(" style=\"") + style + QLatin1Char('"');
            out += QLatin1Char('>');
            QStringList lines;
            for (const QString& line : cell.lines)
                lines.append(escaped(line));
            out += lines.join(QLatin1String("<br/>"));
            out += QLatin1String("</td>");
            column = at + span;
        }
        out += QLatin1String("</tr>\n");
    }
    if (page >= 0)
        out += QLatin1String("</table>\n");
    out += QLatin1String("</body>\n</html>\n");
    return out.toUtf8();
}

}  // namespace report
