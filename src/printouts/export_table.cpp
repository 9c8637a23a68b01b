#include "export_table.h"

#include <algorithm>

namespace report {

namespace {

constexpr double sameColumn = unitsPerMm;

bool repeatsOnEveryPage(BandKind kind)
{
    return kind == BandKind::PageHeader || kind == BandKind::ColumnHeader;
}

bool closesEveryPage(BandKind kind)
{
    return kind == BandKind::PageFooter || kind == BandKind::Child;
}

void appendBandRows(const Page& page, int pageIndex, BandKind kind, int first, int count, QList<TableRow>& rows)
{
    first = std::clamp(first, 0, int(page.items.size()));
    const int end = std::clamp(first + qMax(0, count), first, int(page.items.size()));
    QList<TableCell> cells;
    for (int i = first; i < end; ++i) {
        if (const auto* text = std::get_if<TextBox>(&page.items.at(i)))
            cells.append({text->rect, text->lines, text->font, text->colour, text->alignment});
    }
    std::stable_sort(cells.begin(), cells.end(), [](const TableCell& a, const TableCell& b) {
        return a.rect.top() < b.rect.top();
    });

    // A cell starting within half the height of a row's first cell belongs to
    // that row: texts of one line may differ in size and so in top.
    int start = 0;
    while (start < cells.size()) {
        const TableCell& lead = cells.at(start);
        const double tolerance = qMax(1.0, lead.rect.height() / 2);
        int next = start + 1;
        while (next < cells.size() && cells.at(next).rect.top() < lead.rect.top() + tolerance)
            ++next;
        TableRow row;
        row.kind = kind;
        row.page = pageIndex;
        row.cells = cells.mid(start, next - start);
        std::stable_sort(row.cells.begin(), row.cells.end(), [](const TableCell& a, const TableCell& b) {
            return a.rect.left() < b.rect.left();
        });
        rows.append(row);
        start = next;
    }
}

}  // namespace

int TableRow::lineCount() const
{
    int lines = 0;
    for (const TableCell& cell : cells)
        lines = qMax(lines, int(cell.lines.size()));
    return lines;
}

QList<TableRow> tableRows(const PreparedPages& pages, PageBands pageBands)
{
    QList<TableRow> rows;
    const int last = int(pages.pages.size()) - 1;
    for (int p = 0; p <= last; ++p) {
        const Page& page = pages.pages.at(p);
        // Pages drawn without band records are read as one band.
        if (page.bands.isEmpty()) {
            appendBandRows(page, p, BandKind::Detail, 0, int(page.items.size()), rows);
            continue;
        }
        for (const BandRecord& band : page.bands) {
            if (pageBands == PageBands::Once
                && ((p > 0 && repeatsOnEveryPage(band.kind)) || (p < last && closesEveryPage(band.kind))))
                continue;
            appendBandRows(page, p, band.kind, band.first, band.count, rows);
        }
    }
    return rows;
}

ColumnGrid::ColumnGrid(const QList<TableRow>& rows)
{
    // The detail rows set the columns; titles and footers fall into the
    // column they start in, rather than opening columns of their own.
    const bool anyDetail = std::any_of(rows.begin(), rows.end(), [](const TableRow& row) {
        return row.kind == BandKind::Detail && !row.cells.isEmpty();
    });
    QList<double> lefts;
    for (const TableRow& row : rows) {
        for (const TableCell& cell : row.cells) {
            if (!anyDetail || row.kind == BandKind::Detail) {
                lefts.append(cell.rect.left());
                m_right = qMax(m_right, cell.rect.right());
            }
        }
    }
    std::sort(lefts.begin(), lefts.end());
    for (double left : lefts) {
        if (m_lefts.isEmpty() || left - m_lefts.last() >= sameColumn)
            m_lefts.append(left);
    }
}

int ColumnGrid::columnOf(double left) const
{
    const auto after = std::upper_bound(m_lefts.begin(), m_lefts.end(), left + sameColumn / 2);
    return qMax(0, int(after - m_lefts.begin()) - 1);
}

double ColumnGrid::width(int column) const
{
    if (column < 0 || column >= m_lefts.size())
        return 0;
    const double end = column + 1 < m_lefts.size() ? m_lefts.at(column + 1) : m_right;
    return qMax(0.0, end - m_lefts.at(column));
}

int ColumnGrid::span(const TableCell& cell, int limit) const
{
    const int first = columnOf(cell.rect.left());
    int last = first;
    while (last + 1 < qMin(limit, count()) && m_lefts.at(last + 1) < cell.rect.right() - sameColumn / 2)
        ++last;
    return last - first + 1;
}

}  // namespace report
