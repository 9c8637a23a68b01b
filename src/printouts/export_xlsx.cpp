#include "export_writers.h"

#include "export_files.h"

#include <QFile>
#include <QRegularExpression>

#include <xlsxwriter.h>

#include <cmath>
#include <map>
#include <tuple>

namespace report {

std::optional<PolishNumber> readPolishNumber(const QString& text)
{
    // "1234", "-12,50", "1 234 567,89" (space or no-break space grouping).
    static const QRegularExpression pattern(
        QStringLiteral("^(-?)(\\d{1,3}(?:[ \\x{00A0}\\x{202F}]\\d{3})+|\\d+)(?:,(\\d+))?$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const QString digitsAndSpaces = match.captured(2);
    const bool grouped = digitsAndSpaces.size() > 3 && !digitsAndSpaces.at(digitsAndSpaces.size() - 4).isDigit();
    QString whole;
    for (const QChar ch : digitsAndSpaces) {
        if (ch.isDigit())
            whole += ch;
    }
    const QString fraction = match.captured(3);
    // Leading zeros, long plain integers (identity numbers, account numbers)
    // and more digits than a spreadsheet keeps are texts, not numbers.
    if (whole.size() > 1 && whole.front() == QLatin1Char('0'))
        return std::nullopt;
    if (!grouped && fraction.isEmpty() && whole.size() > 9)
        return std::nullopt;
    if (whole.size() + fraction.size() > 15)
        return std::nullopt;
    bool ok = false;
    const double value = QString(match.captured(1) + whole + QLatin1Char('.') + (fraction.isEmpty() ? QStringLiteral("0") : fraction))
                             .toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return PolishNumber{value, int(fraction.size()), grouped};
}

namespace {

// Characters of a default-width spreadsheet column per report unit.
constexpr double charactersPerUnit = 1.0 / 7.0;

QString sheetName(const QString& title)
{
    QString name = title;
    name.remove(QRegularExpression(QStringLiteral("[\\[\\]:*?/\\\\]")));
    name = name.simplified().left(31);
    while (name.startsWith(QLatin1Char('\'')))
        name.remove(0, 1);
    while (name.endsWith(QLatin1Char('\'')))
        name.chop(1);
    return name.isEmpty() ? QStringLiteral("Raport") : name;
}

QByteArray numberFormat(const PolishNumber& number)
{
    QByteArray format = number.grouped ? "#,##0" : "0";
    if (number.decimals > 0)
        format += '.' + QByteArray(number.decimals, '0');
    return format;
}

class Formats {
public:
    explicit Formats(lxw_workbook* workbook) : m_workbook(workbook) {}

    lxw_format* of(const TableCell& cell, const QByteArray& numberFormat)
    {
        const bool wraps = cell.lines.size() > 1;
        const QColor colour = cell.colour.isValid() ? cell.colour : QColor(Qt::black);
        const Key key{cell.font.family,
                      cell.font.pointSize,
                      (cell.font.bold ? 1 : 0) | (cell.font.italic ? 2 : 0) | (cell.font.underline ? 4 : 0)
                          | (cell.font.strikeOut ? 8 : 0) | (wraps ? 16 : 0),
                      int(cell.alignment & Qt::AlignHorizontal_Mask),
                      colour.rgb(),
                      numberFormat};
        const auto known = m_formats.find(key);
        if (known != m_formats.end())
            return known->second;
        lxw_format* format = workbook_add_format(m_workbook);
        const QByteArray family = cell.font.family.toUtf8();
        format_set_font_name(format, family.constData());
        if (cell.font.pointSize > 0)
            format_set_font_size(format, cell.font.pointSize);
        if (cell.font.bold)
            format_set_bold(format);
        if (cell.font.italic)
            format_set_italic(format);
        if (cell.font.underline)
            format_set_underline(format, LXW_UNDERLINE_SINGLE);
        if (cell.font.strikeOut)
            format_set_font_strikeout(format);
        if (colour != QColor(Qt::black))
            format_set_font_color(format, lxw_color_t(colour.rgb() & 0xFFFFFF));
        if (cell.alignment & Qt::AlignRight)
            format_set_align(format, LXW_ALIGN_RIGHT);
        else if (cell.alignment & Qt::AlignHCenter)
            format_set_align(format, LXW_ALIGN_CENTER);
        format_set_align(format, LXW_ALIGN_VERTICAL_TOP);
        if (wraps)
            format_set_text_wrap(format);
        if (!numberFormat.isEmpty())
            format_set_num_format(format, numberFormat.constData());
        m_formats.emplace(key, format);
        return format;
    }

private:
    using Key = std::tuple<QString, double, int, int, QRgb, QByteArray>;
    lxw_workbook* m_workbook;
    std::map<Key, lxw_format*> m_formats;
};

QString libraryFailure(const QString& fileName, lxw_error error)
{
    if (error == LXW_ERROR_CREATING_XLSX_FILE || error == LXW_ERROR_CREATING_TMPFILE)
        return cannotWriteMessage(fileName, QFileDevice::WriteError);
    return QStringLiteral("Nie można zapisać pliku %1: %2")
        .arg(fileName.section(QLatin1Char('/'), -1), QString::fromUtf8(lxw_strerror(error)));
}

}  // namespace

QString writeXlsx(const QList<TableRow>& rows, const QString& title, const QString& fileName)
{
    QString error;
    // The library names its own output: let it write beside the target and
    // rename only a finished workbook.
    const QString temporary = temporaryFileBeside(fileName, error);
    if (temporary.isEmpty())
        return error;

    const QByteArray path = QFile::encodeName(temporary);
    lxw_workbook* workbook = workbook_new(path.constData());
    if (!workbook) {
        QFile::remove(temporary);
        return cannotWriteMessage(fileName, QFileDevice::OpenError);
    }
    const QByteArray name = sheetName(title).toUtf8();
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, name.constData());
    const QByteArray titleText = title.toUtf8();
    lxw_doc_properties properties{};
    properties.title = const_cast<char*>(titleText.constData());
    workbook_set_properties(workbook, &properties);

    const ColumnGrid grid(rows);
    for (int column = 0; column < grid.count(); ++column)
        worksheet_set_column(sheet, lxw_col_t(column), lxw_col_t(column), qMax(4.0, grid.width(column) * charactersPerUnit),
                             nullptr);

    Formats formats(workbook);
    lxw_row_t sheetRow = 0;
    lxw_error failure = LXW_NO_ERROR;
    for (const TableRow& row : rows) {
        bool written = false;
        int previousColumn = -1;
        for (const TableCell& cell : row.cells) {
            const QString text = cell.text(QStringLiteral("\n"));
            if (text.isEmpty())
                continue;
            // Texts overlapping one column move to the next free one.
            const int column = qMax(previousColumn + 1, grid.columnOf(cell.rect.left()));
            previousColumn = column;
            written = true;
            lxw_error result = LXW_NO_ERROR;
            if (const std::optional<PolishNumber> number = readPolishNumber(text.trimmed())) {
                result = worksheet_write_number(sheet, sheetRow, lxw_col_t(column), number->value,
                                                formats.of(cell, numberFormat(*number)));
            } else {
                const QByteArray utf8 = text.toUtf8();
                result = worksheet_write_string(sheet, sheetRow, lxw_col_t(column), utf8.constData(),
                                                formats.of(cell, {}));
            }
            if (result != LXW_NO_ERROR && failure == LXW_NO_ERROR)
                failure = result;
        }
        if (written)
            ++sheetRow;
    }

    const lxw_error closed = workbook_close(workbook);
    if (failure == LXW_NO_ERROR)
        failure = closed;
    if (failure != LXW_NO_ERROR) {
        QFile::remove(temporary);
        return libraryFailure(fileName, failure);
    }
    error = replaceFile(temporary, fileName);
    if (!error.isEmpty())
        QFile::remove(temporary);
    return error;
}

}  // namespace report
