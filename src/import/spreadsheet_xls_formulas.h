#pragma once
// libfreexl leaves formula cells empty. Their results, as the spreadsheet
// last computed and saved them, are read here from the workbook stream of
// the .xls file (BIFF8 inside a compound file).

#include <QByteArray>
#include <QList>
#include <QString>
#include <QVariant>

namespace import {

struct XlsFormulaResult {
    int row;     // from 1
    int column;  // from 1
    QVariant value;
};

// The formula results of the worksheet with the name, valued like other
// cells (dates by their format, booleans as text). Empty when the file is
// not a BIFF8 workbook or has no such sheet.
QList<XlsFormulaResult> xlsFormulaResults(const QByteArray& file, const QString& sheetName);

}  // namespace import
