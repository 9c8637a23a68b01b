#pragma once
// The rows of the chosen file, by the format's file kind: the lines of a
// text file, the rows of the chosen table of an HTML page (asking "Wybierz
// tabelę"), or the cells of the chosen sheet of a spreadsheet (asking
// "Wybierz arkusz"). The engine reads them without knowing the kind.

#include "import_format.h"
#include "import_values.h"
#include "spreadsheet_reader.h"

#include <QByteArray>
#include <QList>
#include <QString>

class Prompts;

namespace import {

class ImportRows {
public:
    // Throws Error when the file cannot be read.
    static ImportRows open(const QString& path, const ImportFormat& format, Prompts& prompts);
    // Rows of text lines (for tests and benchmarks).
    static ImportRows fromText(const QByteArray& content);

    // Rows of a statement in the MT940 layout: row 1 the headings, then one
    // row per transaction; amounts written with `decimal`.
    static ImportRows fromMt940(const QByteArray& content, const ImportFormat& format, QChar decimal);

    int rowCount() const;
    // Text and HTML rows are lines; a sheet's rows are cells.
    bool isSheet() const { return m_sheet; }
    // An empty line (text and HTML; such rows are skipped without a question).
    bool isEmptyLine(int row) const { return !m_sheet && m_cellRows.isEmpty() && m_lines[row - 1].isEmpty(); }
    // The cells of row `row` (from 1), one per column code; text is converted
    // from the code page (none when `codePage` is empty) before it is cut.
    QList<ImportCell> cells(int row, const ImportFormat& format) const;
    // Every cell of the row, however many columns the format names (the
    // labelled cells are looked for among them).
    QList<ImportCell> allCells(int row, const ImportFormat& format) const;
    // The first row whose text (a sheet's: its first cell) begins with
    // `prefix`, or 0.
    int firstRowBeginning(const QString& prefix, const ImportFormat& format) const;

private:
    QString lineText(int row, const ImportFormat& format) const;
    QList<ImportCell> cut(int row, const ImportFormat& format, int columns) const;

    QList<QByteArray> m_lines;
    QList<QList<ImportCell>> m_cellRows;  // MT940
    bool m_utf8 = false;
    QString m_separator;  // HTML rows: the tab
    bool m_html = false;
    bool m_sheet = false;
    SheetCells m_cells;
};

QString htmlTableTitle();   // "Import pliku"
QString htmlTablePrompt();  // "Wybierz tabelę"
QString sheetTitle();       // "Wybierz arkusz"

}  // namespace import
