#pragma once
// .xls workbooks (the binary format of older spreadsheets), read through
// libfreexl, which also tells date cells by their format.

#include "import/spreadsheet_reader.h"

namespace import {

class XlsSpreadsheet : public Spreadsheet {
public:
    explicit XlsSpreadsheet(const QString& path);
    ~XlsSpreadsheet() override;

    QStringList sheetNames() const override { return names_; }
    SheetCells sheet(const QString& name) const override;

private:
    QString path_;
    const void* handle_ = nullptr;
    QStringList names_;
};

}  // namespace import
