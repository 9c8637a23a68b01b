#include "export_writers.h"

#include <cmath>

namespace report {

namespace {

// About the width of a character of a 10 pt proportional font, in report
// units: a page's texts keep their columns in a fixed-width view.
constexpr double unitsPerCharacter = 7.0;

int characterColumn(double x, double origin)
{
    return qMax(0, int(std::lround((x - origin) / unitsPerCharacter)));
}

}  // namespace

QByteArray textExport(const QList<TableRow>& rows)
{
    double origin = 0;
    bool first = true;
    for (const TableRow& row : rows) {
        for (const TableCell& cell : row.cells) {
            origin = first ? cell.rect.left() : qMin(origin, cell.rect.left());
            first = false;
        }
    }

    QString out;
    int page = rows.isEmpty() ? 0 : rows.first().page;
    for (const TableRow& row : rows) {
        if (row.page != page) {
            out += QLatin1Char('\f');
            page = row.page;
        }
        // A row of texts with several lines becomes as many lines of text.
        for (int lineIndex = 0; lineIndex < qMax(1, row.lineCount()); ++lineIndex) {
            QString line;
            for (const TableCell& cell : row.cells) {
                const QString text = lineIndex < cell.lines.size() ? cell.lines.at(lineIndex) : QString();
                if (text.isEmpty())
                    continue;
                int start = characterColumn(cell.rect.left(), origin);
                if (cell.alignment & Qt::AlignRight)
                    start = characterColumn(cell.rect.right(), origin) - int(text.size());
                else if (cell.alignment & Qt::AlignHCenter)
                    start = characterColumn(cell.rect.center().x(), origin) - int(text.size()) / 2;
                // Texts wider than their place push the next ones right.
                start = qMax(start, line.isEmpty() ? 0 : int(line.size()) + 1);
                line += QString(start - line.size(), QLatin1Char(' '));
                line += text;
            }
            out += line;
            out += QLatin1String("\r\n");
        }
    }
    return out.toUtf8();
}

}  // namespace report
