#include "import/spreadsheet_xls.h"

#include "import/spreadsheet_cells.h"
#include "import/spreadsheet_xls_formulas.h"
#include "import/spreadsheet_zip.h"
#include "store/error.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <freexl.h>

namespace import {
namespace {

QVariant cellValue(const FreeXL_CellValue& cell)
{
    switch (cell.type) {
    case FREEXL_CELL_INT:
        return double(cell.value.int_value);
    case FREEXL_CELL_DOUBLE:
        return cell.value.double_value;
    case FREEXL_CELL_TEXT:
    case FREEXL_CELL_SST_TEXT:
        return cell.value.text_value ? QString::fromUtf8(cell.value.text_value) : QVariant();
    case FREEXL_CELL_DATE: {
        const QDate date = QDate::fromString(QString::fromLatin1(cell.value.text_value), Qt::ISODate);
        return date.isValid() ? QVariant(date) : QVariant();
    }
    case FREEXL_CELL_DATETIME: {
        const QDateTime moment = QDateTime::fromString(QString::fromLatin1(cell.value.text_value),
                                                       QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (!moment.isValid()) return {};
        return moment.time() == QTime(0, 0) ? QVariant(moment.date()) : QVariant(moment);
    }
    case FREEXL_CELL_TIME: {
        const QTime time = QTime::fromString(QString::fromLatin1(cell.value.text_value),
                                             QStringLiteral("HH:mm:ss"));
        return time.isValid() ? QVariant(clockText(time.msecsSinceStartOfDay() / 1000)) : QVariant();
    }
    default:
        return {};
    }
}

}  // namespace

XlsSpreadsheet::XlsSpreadsheet(const QString& path) : path_(path)
{
    unsigned int count = 0;
    if (freexl_open(QFile::encodeName(path).constData(), &handle_) != FREEXL_OK
        || freexl_get_info(handle_, FREEXL_BIFF_SHEET_COUNT, &count) != FREEXL_OK) {
        freexl_close(handle_);
        throw Error(unreadableFileMessage(path));
    }
    for (unsigned int i = 0; i < count && i <= 0xFFFF; ++i) {
        const char* name = nullptr;
        if (freexl_get_worksheet_name(handle_, static_cast<unsigned short>(i), &name) != FREEXL_OK)
            name = nullptr;
        names_ << QString::fromUtf8(name ? name : "");
    }
}

XlsSpreadsheet::~XlsSpreadsheet()
{
    freexl_close(handle_);
}

SheetCells XlsSpreadsheet::sheet(const QString& name) const
{
    const qsizetype index = names_.indexOf(name);
    if (index < 0)
        throw Error(QStringLiteral("W pliku %1 nie ma arkusza \"%2\"")
                        .arg(QDir::toNativeSeparators(path_), name));
    unsigned int rows = 0;
    unsigned short columns = 0;
    if (freexl_select_active_worksheet(handle_, static_cast<unsigned short>(index)) != FREEXL_OK
        || freexl_worksheet_dimensions(handle_, &rows, &columns) != FREEXL_OK)
        throw Error(unreadableFileMessage(path_));
    SheetBuilder builder;
    for (unsigned int row = 0; row < rows; ++row) {
        for (unsigned short column = 0; column < columns; ++column) {
            FreeXL_CellValue cell;
            // A cell that cannot be read counts as empty.
            if (freexl_get_cell_value(handle_, row, column, &cell) == FREEXL_OK)
                builder.set(int(row) + 1, int(column) + 1, cellValue(cell));
        }
    }
    // Formula cells, which libfreexl leaves empty, hold their saved result.
    QFile file(path_);
    if (file.open(QIODevice::ReadOnly))
        for (const XlsFormulaResult& result : xlsFormulaResults(file.readAll(), name))
            builder.set(result.row, result.column, result.value);
    return builder.finish();
}

}  // namespace import
