#pragma once
// .xlsx workbooks (Office Open XML): the workbook's sheet list, shared
// strings and number formats read once, a sheet's cells on demand.

#include "import/spreadsheet_cells.h"
#include "import/spreadsheet_reader.h"
#include "import/spreadsheet_zip.h"

#include <QHash>

namespace import {

class XlsxSpreadsheet : public Spreadsheet {
public:
    explicit XlsxSpreadsheet(const QString& path);

    QStringList sheetNames() const override { return names_; }
    SheetCells sheet(const QString& name) const override;

private:
    QVariant cellValue(QStringView type, int style, const QString& value) const;

    QString path_;
    ZipArchive zip_;
    QStringList names_;
    QStringList sheetParts_;  // zip part of each sheet, in the order of names_
    QStringList sharedStrings_;
    QList<NumberFormatKind> styleKinds_;  // by cell style index
    bool epoch1904_ = false;
};

}  // namespace import
