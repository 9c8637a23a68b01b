#include "import/spreadsheet_cells.h"
#include "import/spreadsheet_reader.h"

#include "store/error.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <zip.h>

using import::NumberFormatKind;
using import::SheetCells;
using import::Spreadsheet;

namespace {

QString samplePath(const QString& name)
{
    return QStringLiteral(LUNAWA_TEST_DATA "/import/") + name;
}

QString errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Error& e) {
        return e.message();
    }
    return {};
}

// Writes a zip archive of the given parts, as a generator of .xlsx files
// other than an office suite would.
void writeZip(const QString& path, const QList<std::pair<const char*, QByteArray>>& parts)
{
    int error = 0;
    zip_t* zip = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    ASSERT_NE(zip, nullptr);
    for (const auto& [name, bytes] : parts) {
        zip_source_t* source = zip_source_buffer(zip, bytes.constData(), zip_uint64_t(bytes.size()), 0);
        ASSERT_GE(zip_file_add(zip, name, source, ZIP_FL_OVERWRITE), 0);
    }
    ASSERT_EQ(zip_close(zip), 0);
}

}  // namespace

TEST(SpreadsheetReader, TheSameSheetSavedAsXlsxOdsAndXlsGivesTheSameCells)
{
    // The extension is recognised in any letter case.
    QTemporaryDir dir;
    const QString xls = dir.filePath(QStringLiteral("WPLATY.XLS"));
    ASSERT_TRUE(QFile::copy(samplePath(QStringLiteral("payments_sheet.xls")), xls));

    for (const QString& path : {samplePath(QStringLiteral("payments_sheet.xlsx")),
                                samplePath(QStringLiteral("payments_sheet.ods")), xls}) {
        SCOPED_TRACE(path.toStdString());
        const auto book = Spreadsheet::open(path);
        EXPECT_EQ(book->sheetNames(), QStringList({QStringLiteral("Wpłaty"), QStringLiteral("Obecności")}));

        const SheetCells sheet = book->sheet(QStringLiteral("Wpłaty"));
        // The last row with a value is the total; the formatted column below
        // it (a million rows in the .ods) does not count.
        EXPECT_EQ(sheet.rowCount(), 6);
        EXPECT_EQ(sheet.cell(1, 1), QVariant(QStringLiteral("Nazwisko i imię")));
        EXPECT_EQ(sheet.cell(2, 1), QVariant(QStringLiteral("Kowalski Jan")));
        EXPECT_EQ(sheet.cell(2, 2), QVariant(85010112345.0));
        EXPECT_EQ(sheet.cell(2, 3), QVariant(250.5));
        EXPECT_EQ(sheet.cell(2, 4), QVariant(QDate(2024, 3, 4)));
        EXPECT_EQ(sheet.cell(2, 6), QVariant(QDateTime(QDate(2024, 3, 4), QTime(10, 30))));
        EXPECT_EQ(sheet.cell(2, 7), QVariant(QStringLiteral("07:45")));
        EXPECT_EQ(sheet.cell(3, 1), QVariant(QStringLiteral("Żółkiewska Łucja")));
        EXPECT_EQ(sheet.cell(3, 2), QVariant(QStringLiteral("02270803628")));
        EXPECT_EQ(sheet.cell(3, 3), QVariant(1234.56));
        EXPECT_EQ(sheet.cell(3, 5), QVariant(QStringLiteral("Zażółć gęślą jaźń")));
        for (int column = 1; column <= 8; ++column) EXPECT_FALSE(sheet.cell(4, column).isValid());
        EXPECT_FALSE(sheet.cell(5, 2).isValid());
        EXPECT_EQ(sheet.cell(5, 4), QVariant(QDate(2024, 2, 29)));
        EXPECT_EQ(sheet.cell(6, 3), QVariant(1565.06));  // a formula's saved result
        EXPECT_FALSE(sheet.cell(7, 1).isValid());

        const SheetCells second = book->sheet(QStringLiteral("Obecności"));
        EXPECT_EQ(second.rowCount(), 2);
        EXPECT_EQ(second.cell(1, 3), QVariant(2.0));
        EXPECT_EQ(second.cell(2, 2), QVariant(QStringLiteral("T")));
        EXPECT_EQ(second.cell(2, 4), QVariant(QDate(2024, 3, 1)));  // a date formula

        EXPECT_EQ(errorOf([&] { book->sheet(QStringLiteral("Wplaty")); }),
                  QStringLiteral("W pliku %1 nie ma arkusza \"Wplaty\"").arg(path));
    }
}

TEST(SpreadsheetReader, FilesThatAreNoSheetsAreRefusedByName)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(QStringLiteral("brak.xlsx"));
    EXPECT_EQ(errorOf([&] { Spreadsheet::open(missing); }),
              QStringLiteral("Nie można odczytać pliku %1").arg(missing));
    for (const char* name : {"strona.xlsx", "strona.ods", "strona.xls"}) {
        const QString path = dir.filePath(QString::fromLatin1(name));
        ASSERT_TRUE(QFile::copy(samplePath(QStringLiteral("bank_statement.html")), path));
        EXPECT_EQ(errorOf([&] { Spreadsheet::open(path); }),
                  QStringLiteral("Nie można odczytać pliku %1").arg(path));
    }
    EXPECT_TRUE(errorOf([&] { Spreadsheet::open(samplePath(QStringLiteral("bank_statement.html"))); })
                    .startsWith(QStringLiteral("Nie można odczytać pliku ")));
}

TEST(SpreadsheetReader, XlsxAsOtherProgramsWriteIt)
{
    // No package relationships, rich and phonetic shared strings, inline
    // strings, booleans, errors, cells without references, the 1904 epoch
    // and a date format on the second cell style.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("generated.xlsx"));
    writeZip(path,
             {{"xl/workbook.xml",
               R"(<workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"
                   xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships">
                  <workbookPr date1904="1"/><sheets><sheet name="Lista" sheetId="1" r:id="rId7"/></sheets>
                  </workbook>)"},
              {"xl/_rels/workbook.xml.rels",
               R"(<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
                  <Relationship Id="rId7" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="/xl/sheets/s.xml"/>
                  <Relationship Id="rId8" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="strings.xml"/>
                  <Relationship Id="rId9" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>
                  </Relationships>)"},
              {"xl/strings.xml",
               R"(<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
                  <si><r><t>Łą</t></r><r><rPr><b/></rPr><t xml:space="preserve">cka </t></r><rPh><t>x</t></rPh></si>
                  </sst>)"},
              {"xl/styles.xml",
               R"(<styleSheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">
                  <numFmts><numFmt numFmtId="170" formatCode="[$-415]d\ mmmm\ yyyy"/></numFmts>
                  <cellStyleXfs><xf numFmtId="14"/></cellStyleXfs>
                  <cellXfs><xf numFmtId="0"/><xf numFmtId="170"/></cellXfs></styleSheet>)"},
              {"xl/sheets/s.xml",
               R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>
                  <row><c t="s"><v>0</v></c><c t="inlineStr"><is><t>Żak</t></is></c><c t="b"><v>1</v></c></row>
                  <row><c t="e"><v>#DIV/0!</v></c><c s="1"><v>0</v></c><c><v>0</v></c></row>
                  </sheetData></worksheet>)"}});
    const auto book = Spreadsheet::open(path);
    ASSERT_EQ(book->sheetNames(), QStringList({QStringLiteral("Lista")}));
    const SheetCells sheet = book->sheet(QStringLiteral("Lista"));
    EXPECT_EQ(sheet.rowCount(), 2);
    EXPECT_EQ(sheet.cell(1, 1), QVariant(QStringLiteral("Łącka ")));
    EXPECT_EQ(sheet.cell(1, 2), QVariant(QStringLiteral("Żak")));
    EXPECT_EQ(sheet.cell(1, 3), QVariant(QStringLiteral("PRAWDA")));
    EXPECT_FALSE(sheet.cell(2, 1).isValid());
    EXPECT_EQ(sheet.cell(2, 2), QVariant(QDate(1904, 1, 1)));
    EXPECT_EQ(sheet.cell(2, 3), QVariant(0.0));
}

TEST(SpreadsheetNumberFormats, DatesAreToldFromNumbersAndTimes)
{
    using K = NumberFormatKind;
    const std::pair<const char*, K> custom[] = {
        {"General", K::Number},
        {"#,##0.00", K::Number},
        {"0.00 \"dni\"", K::Number},
        {"#,##0.00\\ [$zł-415];[RED]\\-#,##0.00\\ [$zł-415]", K::Number},
        {"dd\\.mm\\.yyyy", K::Date},
        {"[$-415]d mmmm yyyy;@", K::Date},
        {"mmm-yy", K::Date},
        {"yyyy\\-mm\\-dd\\ hh:mm", K::DateTime},
        {"hh:mm", K::Time},
        {"mm:ss", K::Time},
        {"[h]:mm:ss", K::Time},
        {"h:mm AM/PM", K::Time},
    };
    for (const auto& [code, kind] : custom)
        EXPECT_EQ(import::numberFormatKind(-1, QString::fromUtf8(code)), kind) << code;
    EXPECT_EQ(import::numberFormatKind(14, {}), K::Date);
    EXPECT_EQ(import::numberFormatKind(22, {}), K::DateTime);
    EXPECT_EQ(import::numberFormatKind(46, {}), K::Time);
    EXPECT_EQ(import::numberFormatKind(4, {}), K::Number);

    // The 1900 system's day numbers around its leap-year slip, and a time
    // rounded to the minute it shows.
    EXPECT_EQ(import::serialValue(1, K::Date), QVariant(QDate(1900, 1, 1)));
    EXPECT_EQ(import::serialValue(59, K::Date), QVariant(QDate(1900, 2, 28)));
    EXPECT_EQ(import::serialValue(61, K::Date), QVariant(QDate(1900, 3, 1)));
    EXPECT_EQ(import::serialValue(45355.75, K::Date), QVariant(QDate(2024, 3, 4)));
    EXPECT_EQ(import::serialValue(0.322916666666667, K::Time), QVariant(QStringLiteral("07:45")));
    EXPECT_EQ(import::serialValue(45355.5000001, K::DateTime),
              QVariant(QDateTime(QDate(2024, 3, 4), QTime(12, 0))));
    EXPECT_FALSE(import::serialValue(-1, K::Date).isValid());
}
