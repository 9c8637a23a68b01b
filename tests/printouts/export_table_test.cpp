// The exports that read a report as rows: CSV, text, HTML, RTF and xlsx,
// each read back from the file written.

#include "export_test_pages.h"

#include "printouts/export_writers.h"
#include "printouts/exports.h"

#include <QDir>
#include <QMap>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

using namespace report;
using namespace exporttest;

namespace {

const ExportFormat& format(const char* extension)
{
    const ExportFormat* found = formatOfFile(QStringLiteral("x.") + QLatin1String(extension));
    EXPECT_NE(found, nullptr) << extension;
    return *found;
}

QByteArray exportedBytes(const PreparedPages& pages, const Job* job, const char* extension)
{
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("raport.") + QLatin1String(extension));
    const QString error = exportReport(pages, job, format(extension), name);
    EXPECT_EQ(error, QString());
    return readAll(name);
}

QString exported(const PreparedPages& pages, const Job* job, const char* extension)
{
    return QString::fromUtf8(exportedBytes(pages, job, extension));
}

// Cells of an xlsx sheet by reference ("B3"): shared strings resolved,
// numbers prefixed with '#'.
QMap<QString, QString> sheetCells(const QString& fileName)
{
    bool ok = false;
    const QByteArray shared = runTool(QStringLiteral("unzip"), {QStringLiteral("-p"), fileName, QStringLiteral("xl/sharedStrings.xml")}, &ok);
    EXPECT_TRUE(ok);
    QStringList strings;
    QXmlStreamReader sharedXml(shared);
    while (sharedXml.readNextStartElement() || !sharedXml.atEnd()) {
        if (sharedXml.isStartElement() && sharedXml.name() == QLatin1String("t"))
            strings.append(sharedXml.readElementText());
        else
            sharedXml.readNext();
    }
    const QByteArray sheet = runTool(QStringLiteral("unzip"), {QStringLiteral("-p"), fileName, QStringLiteral("xl/worksheets/sheet1.xml")}, &ok);
    EXPECT_TRUE(ok);
    QMap<QString, QString> cells;
    QXmlStreamReader xml(sheet);
    QString reference;
    QString type;
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("c")) {
            reference = xml.attributes().value(QLatin1String("r")).toString();
            type = xml.attributes().value(QLatin1String("t")).toString();
        } else if (xml.name() == QLatin1String("v")) {
            const QString value = xml.readElementText();
            cells[reference] = type == QLatin1String("s") ? strings.value(value.toInt()) : QLatin1Char('#') + value;
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return cells;
}

}  // namespace

TEST(ExportTableTest, CsvHoldsTheListOnceWithQuotingAndTheHeaderAtTheStart)
{
    const QString expected = QStringLiteral(
        "Zażółć gęślą jaźń\r\n"
        "Miasto;Kwota\r\n"
        "Łódź;1 234,50\r\n"
        "\"Kraków; \"\"stare\"\"\";-7,00\r\n"
        "\"Gdańsk\nOliwa\";0,5\r\n"
        "Zielona Góra;00-950\r\n"
        "Strona: 1;Stopka\r\n");
    FakeJob job(sampleRows());
    const PreparedPages pages = job.run(Purpose::Pages);
    ASSERT_EQ(pages.pages.size(), 2);

    // With a job the list is laid out again for the table, once.
    const QByteArray byteOrderMark("\xEF\xBB\xBF");
    EXPECT_EQ(exportedBytes(pages, &job, "csv"), byteOrderMark + expected.toUtf8());
    EXPECT_EQ(job.tableRuns, 1);

    // Pages read from a file: the headers of page one, the footer of the last.
    QString fromPages = expected;
    fromPages.replace(QStringLiteral("Strona: 1"), QStringLiteral("Strona: 2"));
    EXPECT_EQ(exportedBytes(pages, nullptr, "csv"), byteOrderMark + fromPages.toUtf8());
    EXPECT_EQ(job.tableRuns, 1);
}

TEST(ExportTableTest, TextKeepsPlacesPagesAndLinesOfEveryBand)
{
    const QString text = exported(listPages(sampleRows(), 2), nullptr, "txt");
    const QStringList lines = text.split(QStringLiteral("\r\n"));
    ASSERT_EQ(lines.size(), 12) << text.toStdString();
    // The centred title stands in the middle of the right-aligned amounts' span.
    EXPECT_TRUE(lines.at(0).trimmed() == QStringLiteral("Zażółć gęślą jaźń"));
    EXPECT_GT(lines.at(0).indexOf(QLatin1Char('Z')), 30);
    EXPECT_EQ(lines.at(1), QStringLiteral("Miasto                                 Kwota"));
    EXPECT_EQ(lines.at(2), QStringLiteral("Łódź                                1 234,50"));
    EXPECT_EQ(lines.at(3), QStringLiteral("Kraków; \"stare\"                        -7,00"));
    EXPECT_EQ(lines.at(4), QStringLiteral("Strona: 1                                   Stopka"));
    // The second page after a form feed, with its header again; a text of two
    // lines gives two lines.
    EXPECT_TRUE(lines.at(5).startsWith(QLatin1Char('\f')));
    EXPECT_EQ(lines.at(5).mid(1), lines.at(0));
    EXPECT_EQ(lines.at(7), QStringLiteral("Gdańsk                                   0,5"));
    EXPECT_EQ(lines.at(8), QStringLiteral("Oliwa"));
    EXPECT_EQ(lines.at(9), QStringLiteral("Zielona Góra                          00-950"));
    EXPECT_EQ(lines.at(10), QStringLiteral("Strona: 2                                   Stopka"));
    EXPECT_EQ(lines.at(11), QString());
}

TEST(ExportTableTest, HtmlIsWellFormedWithATablePerPageAndEscapedTexts)
{
    QList<QStringList> rows = sampleRows();
    rows[3][0] = QStringLiteral("<b>Tom & \"Jerry\"</b>");
    const QString html = exported(listPages(rows, 2), nullptr, "htm");

    QXmlStreamReader xml(html);
    QString title;
    QList<QList<QStringList>> tables;  // tables of rows of cell texts
    QString cell;
    bool inCell = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("title"))
                title = xml.readElementText();
            else if (xml.name() == QLatin1String("table"))
                tables.append(QList<QStringList>());
            else if (xml.name() == QLatin1String("tr"))
                tables.last().append(QStringList());
            else if (xml.name() == QLatin1String("td"))
                inCell = true, cell.clear();
            else if (xml.name() == QLatin1String("br"))
                cell += QLatin1Char('\n');
        } else if (xml.isCharacters() && inCell) {
            cell += xml.text();
        } else if (xml.isEndElement() && xml.name() == QLatin1String("td")) {
            tables.last().last().append(cell);
            inCell = false;
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    EXPECT_EQ(title, QStringLiteral("Zażółć gęślą jaźń"));
    ASSERT_EQ(tables.size(), 2);
    ASSERT_EQ(tables.at(1).size(), 5);
    EXPECT_EQ(tables.at(0).at(0), QStringList{QStringLiteral("Zażółć gęślą jaźń")});
    EXPECT_EQ(tables.at(0).at(2), (QStringList{QStringLiteral("Łódź"), QStringLiteral("1 234,50")}));
    EXPECT_EQ(tables.at(1).at(2), (QStringList{QStringLiteral("Gdańsk\nOliwa"), QStringLiteral("0,5")}));
    EXPECT_EQ(tables.at(1).at(3), (QStringList{QStringLiteral("<b>Tom & \"Jerry\"</b>"), QStringLiteral("00-950")}));
    // The title spreads over both columns; the amounts keep their alignment.
    EXPECT_TRUE(html.contains(QStringLiteral("<td colspan=\"2\" style=\"text-align:center;font-weight:bold\">")));
    EXPECT_TRUE(html.contains(QStringLiteral("<td style=\"text-align:right\">1 234,50</td>")));
}

TEST(ExportTableTest, RtfEscapesPolishLettersAndControlCharacters)
{
    QList<QStringList> rows = sampleRows();
    rows[3][0] = QStringLiteral("{x}\\y");
    const QString rtf = exported(listPages(rows, 2), nullptr, "rtf");
    ASSERT_TRUE(rtf.startsWith(QStringLiteral("{\\rtf1\\ansi")));
    EXPECT_TRUE(rtf.endsWith(QStringLiteral("}\r\n")));
    // Ł ó d ź: \uN with the code page 1250 byte for older readers.
    EXPECT_TRUE(rtf.contains(QStringLiteral("\\u321\\'a3\\u243\\'f3d\\u378\\'9f")));
    EXPECT_TRUE(rtf.contains(QStringLiteral("\\{x\\}\\\\y")));
    EXPECT_EQ(rtf.count(QStringLiteral("\\page")), 1);
    // Only ASCII in the file itself, and braces balance.
    int depth = 0;
    for (int i = 0; i < rtf.size(); ++i) {
        EXPECT_LT(rtf.at(i).unicode(), 0x80);
        if (rtf.at(i) == QLatin1Char('\\')) {
            ++i;
            continue;
        }
        depth += rtf.at(i) == QLatin1Char('{') ? 1 : rtf.at(i) == QLatin1Char('}') ? -1 : 0;
        ASSERT_GE(depth, 0);
    }
    EXPECT_EQ(depth, 0);
    // The amounts stand at right tab stops at the right edge of their texts.
    EXPECT_TRUE(rtf.contains(QStringLiteral("\\tqr\\tx4650")));
}

TEST(ExportTableTest, XlsxHoldsTextsAndPolishNumbersAsNumbers)
{
    if (!runTool(QStringLiteral("unzip"), {QStringLiteral("-v")}).size())
        GTEST_SKIP() << "unzip is not installed";
    FakeJob job(sampleRows());
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("lista.xlsx"));
    ASSERT_EQ(exportReport(job.run(Purpose::Pages), &job, format("xlsx"), name), QString());
    EXPECT_EQ(job.tableRuns, 1);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("lista.xlsx")});

    const QMap<QString, QString> cells = sheetCells(name);
    const QMap<QString, QString> expected = {
        {QStringLiteral("A1"), QStringLiteral("Zażółć gęślą jaźń")},
        {QStringLiteral("A2"), QStringLiteral("Miasto")},
        {QStringLiteral("B2"), QStringLiteral("Kwota")},
        {QStringLiteral("A3"), QStringLiteral("Łódź")},
        {QStringLiteral("B3"), QStringLiteral("#1234.5")},
        {QStringLiteral("A4"), QStringLiteral("Kraków; \"stare\"")},
        {QStringLiteral("B4"), QStringLiteral("#-7")},
        {QStringLiteral("A5"), QStringLiteral("Gdańsk\nOliwa")},
        {QStringLiteral("B5"), QStringLiteral("#0.5")},
        {QStringLiteral("A6"), QStringLiteral("Zielona Góra")},
        {QStringLiteral("B6"), QStringLiteral("00-950")},
        {QStringLiteral("A7"), QStringLiteral("Strona: 1")},
        {QStringLiteral("B7"), QStringLiteral("Stopka")},
    };
    EXPECT_EQ(cells, expected);
    const QByteArray core = runTool(QStringLiteral("unzip"), {QStringLiteral("-p"), name, QStringLiteral("docProps/core.xml")});
    EXPECT_TRUE(QString::fromUtf8(core).contains(QStringLiteral("<dc:title>Zażółć gęślą jaźń</dc:title>")));
}

TEST(ExportTableTest, PolishNumbersAreToldFromTextsThatLookLikeNumbers)
{
    const struct {
        const char* text;
        double value;
        int decimals;
    } numbers[] = {
        {"0", 0, 0},       {"12", 12, 0},           {"-7,00", -7, 2},          {"0,5", 0.5, 1},
        {"1 234,50", 1234.5, 2}, {"1 234 567", 1234567, 0}, {"123456789", 123456789, 0},
    };
    for (const auto& n : numbers) {
        const std::optional<PolishNumber> read = readPolishNumber(QString::fromUtf8(n.text));
        ASSERT_TRUE(read.has_value()) << n.text;
        EXPECT_DOUBLE_EQ(read->value, n.value) << n.text;
        EXPECT_EQ(read->decimals, n.decimals) << n.text;
    }
    EXPECT_TRUE(readPolishNumber(QStringLiteral("1 234,50"))->grouped);
    EXPECT_TRUE(readPolishNumber(QStringLiteral("1\u00A0234,50"))->grouped);
    EXPECT_FALSE(readPolishNumber(QStringLiteral("1234,50"))->grouped);

    for (const char* text : {"", "007", "00-950", "85010112345", "1.5", "12,", ",5", "1 23,00", "1  234", "12a",
                             "- 5", "12345678901234,56"})
        EXPECT_FALSE(readPolishNumber(QString::fromUtf8(text)).has_value()) << text;
}
