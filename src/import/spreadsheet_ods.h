#pragma once
// .ods workbooks (OpenDocument): the sheets of content.xml, whose cells
// carry their own value types; repeated rows and columns are expanded only
// where they hold a value.

#include "import/spreadsheet_reader.h"

#include <QByteArray>

namespace import {

class OdsSpreadsheet : public Spreadsheet {
public:
    explicit OdsSpreadsheet(const QString& path);

    QStringList sheetNames() const override { return names_; }
    SheetCells sheet(const QString& name) const override;

private:
    QString path_;
    QByteArray content_;
    QStringList names_;
};

}  // namespace import
