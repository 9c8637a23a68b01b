#pragma once
// Spreadsheets read natively (.xlsx and .ods as zipped XML, .xls through
// libfreexl): the names of the sheets and the cells of one sheet as values.

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

namespace import {

// The used area of one sheet. A cell is a QString, a double, a QDate or a
// QDateTime (a cell formatted as a date is a date whatever its display), or
// an invalid QVariant when empty or unreadable. Rows and columns are
// numbered from 1; the sheet ends at the row after its last used row.
class SheetCells {
public:
    SheetCells() = default;
    explicit SheetCells(QList<QList<QVariant>> rows) : rows_(std::move(rows)) {}

    int rowCount() const { return int(rows_.size()); }
    // The cells stored in the row, up to its last non-empty one.
    int columnCount(int row) const { return row >= 1 && row <= rows_.size() ? int(rows_[row - 1].size()) : 0; }
    QVariant cell(int row, int column) const
    {
        if (row < 1 || row > rows_.size()) return {};
        const auto& cells = rows_[row - 1];
        return column >= 1 && column <= cells.size() ? cells[column - 1] : QVariant();
    }

private:
    QList<QList<QVariant>> rows_;
};

class Spreadsheet {
public:
    virtual ~Spreadsheet() = default;

    // Opens .xlsx, .ods or .xls by its extension (any letter case). Throws
    // Error with a Polish message naming the file when it cannot be read.
    static std::unique_ptr<Spreadsheet> open(const QString& path);

    virtual QStringList sheetNames() const = 0;
    // Throws Error when no sheet has the name.
    virtual SheetCells sheet(const QString& name) const = 0;
};

}  // namespace import
