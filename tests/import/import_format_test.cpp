// Import formats: the section's reading rules, code pages, cell values and
// the cutting of text lines.

#include "import/child_matching.h"
#include "import/code_pages.h"
#include "import/import_format.h"
#include "import/import_values.h"
#include "import/text_rows.h"
#include "store/error.h"

#include <gtest/gtest.h>

using namespace import;

namespace {

QString thrown(const std::function<void()>& f)
{
    try {
        f();
    } catch (const Error& e) {
        return e.message();
    }
    return {};
}

TEST(ImportFormat, SectionAndKeyRules)
{
    const QString text = QStringLiteral(
        "[PARAMETRY]\nKOLUMNY=XX\n[import wpłat]\nKOLUMNY=PP\n"
        "[IMPORT WPŁAT]\n"
        "kolumny=KDB\n"
        "KOLUMNY = ZZZ\n"          // blank before "=": another key
        "\n"
        "start=3\nSTART=4\n"        // the last value wins
        "b=-Opłata stała\nB=Wyżywienie\n"
        "ok dla pesel=Tak\nOK DLA NAZWA=tak\n"  // flags need an upper-case T
        "ROSNĄCO=\n"                // empty: as if absent
        "TABELA HTML=2\nARKUSZ KALKULACYJNY=Wpłaty\n"
        "SEPARATOR DZIESIĘTNY=,\n"
        "[IMPORT NALICZEŃ]\nKOLUMNY=KB\n");
    const ImportFormat f = readImportFormat(text, paymentsSection());
    EXPECT_EQ(f.columns, QStringLiteral("KDB"));
    EXPECT_EQ(f.start, 4);
    ASSERT_EQ(f.amountLines.size(), 2);
    EXPECT_TRUE(f.amountLines[0].settlement);
    EXPECT_EQ(f.amountLines[0].component, QStringLiteral("Opłata stała"));
    EXPECT_FALSE(f.amountLines[1].settlement);
    EXPECT_EQ(f.amountLines[1].component, QStringLiteral("yżywienie"));  // the first character is the sign
    EXPECT_TRUE(f.okForPesel);
    EXPECT_FALSE(f.okForName);
    EXPECT_FALSE(f.descending);
    EXPECT_EQ(f.fileKind, FileKind::Spreadsheet);  // written after TABELA HTML
    EXPECT_EQ(f.sheetName, QStringLiteral("Wpłaty"));
    EXPECT_EQ(f.decimalSeparator, QChar(QLatin1Char(',')));
    EXPECT_EQ(f.separator, QStringLiteral(";"));

    // The section header counts letter case; KOLUMNY is required.
    EXPECT_EQ(thrown([&] { readImportFormat(text, attendanceSection()); }), noFormatMessage());
    EXPECT_EQ(thrown([&] { readImportFormat(QStringLiteral("[IMPORT WPŁAT]\nKOLUMNY =KB\n"), paymentsSection()); }),
              noFormatMessage());
    EXPECT_FALSE(thrown([&] { readImportFormat(QStringLiteral("[IMPORT WPŁAT]\nSTART=x\nKOLUMNY=K"), paymentsSection()); })
                     .isEmpty());
    EXPECT_FALSE(thrown([&] {
        readImportFormat(QStringLiteral("[IMPORT WPŁAT]\nKOLUMNY=KDB\nSEPARATOR KOLUMN=\nSZEROKOŚĆ KOLUMN=10,30"),
                         paymentsSection());
    }).isEmpty());
    EXPECT_FALSE(thrown([&] { readImportFormat(QStringLiteral("[IMPORT WPŁAT]\nKOLUMNY=K\nSTRONA KODOWA=21"), paymentsSection()); })
                     .isEmpty());

    const ImportFormat html = readImportFormat(
        QStringLiteral("[IMPORT WPŁAT]\nKOLUMNY=K\nARKUSZ KALKULACYJNY=A\nTABELA HTML=x\nROZSZERZENIE=csv"),
        paymentsSection());
    EXPECT_EQ(html.fileKind, FileKind::Html);
    EXPECT_EQ(html.htmlTable, 1);
    EXPECT_EQ(html.fileFilter(), QStringLiteral("Pliki csv|*.csv"));
}

TEST(ImportCodePages, OneMappingPerByte)
{
    // CP852 writes ą as A5, which is Ą in Windows-1250; Ą is A4. Replacing
    // letter by letter would turn the converted Ą into ą.
    const QByteArray cp852("\xA4\xA5\x9D\x88", 4);
    EXPECT_EQ(toWindows1250(cp852, 4), QByteArray("\xA5\xB9\xA3\xB3", 4));
    // Mazovia: Ą is 8F, ą is 86.
    EXPECT_EQ(toWindows1250(QByteArray("\x8F\x86", 2), 5), QByteArray("\xA5\xB9", 2));
    // ISO-8859-2: Ś is A6 (¦ in Windows-1250).
    EXPECT_EQ(toWindows1250(QByteArray("\xA6", 1), 2), QByteArray("\x8C", 1));
    EXPECT_EQ(toWindows1250(QByteArray("ABC"), 1), QByteArray("ABC"));
    EXPECT_EQ(withoutDiacritics(QStringLiteral("Żółć Źdźbło")), QStringLiteral("Zolc Zdzblo"));
}

TEST(ImportValues, NumbersDatesMarksCounts)
{
    ImportFormat f;
    f.decimalSeparator = QLatin1Char(',');
    f.thousandsSeparator = QLatin1Char('.');
    ValueFormat vf = ValueFormat::of(f);
    auto num = [&](const QString& t) { return readNumber(ImportCell{t, {}}, vf); };
    EXPECT_EQ(num(QStringLiteral(" 1.234,50\r")), 1234.5);
    EXPECT_EQ(num(QStringLiteral("1 234,5")), 1234.5);
    EXPECT_FALSE(num(QStringLiteral("12x")));
    EXPECT_FALSE(num(QStringLiteral("")));
    EXPECT_EQ(readNumber(ImportCell{{}, 12.5}, vf), 12.5);  // a sheet's number

    f.commaShift = 2;
    vf = ValueFormat::of(f);
    EXPECT_EQ(num(QStringLiteral("12345")), 123.45);
    EXPECT_EQ(num(QStringLiteral("-5")), -0.05);

    // Positional dates: the pattern has no separator in force.
    f.dateFormat = QStringLiteral("yyyymmdd");
    vf = ValueFormat::of(f);
    EXPECT_EQ(readDate(ImportCell{QStringLiteral("20240315"), {}}, vf), QDate(2024, 3, 15));
    f.dateFormat = QStringLiteral("ddmmyyyy");
    vf = ValueFormat::of(f);
    EXPECT_EQ(readDate(ImportCell{QStringLiteral("15032024"), {}}, vf), QDate(2024, 3, 15));
    // With the separator: the pattern's order, parts of any length.
    f.dateSeparator = QLatin1Char('-');
    f.dateFormat = QStringLiteral("yyyy-mm-dd");
    vf = ValueFormat::of(f);
    EXPECT_EQ(readDate(ImportCell{QStringLiteral("2024-3-5"), {}}, vf), QDate(2024, 3, 5));
    EXPECT_FALSE(readDate(ImportCell{QStringLiteral("2024-13-5"), {}}, vf).isValid());
    EXPECT_EQ(vf.dateText(QDate(2024, 3, 5)), QStringLiteral("2024-03-05"));
    EXPECT_EQ(readDate(ImportCell{{}, 45366.0}, vf), QDate(2024, 3, 15));  // a day number

    EXPECT_EQ(readDayMark(QStringLiteral("T"), f), QLatin1Char('T'));
    EXPECT_EQ(readDayMark(QStringLiteral("t"), f), QLatin1Char(' '));
    EXPECT_EQ(readCount(QStringLiteral("31")), 31);
    EXPECT_FALSE(readCount(QStringLiteral("32")));
    EXPECT_EQ(trimCell(QStringLiteral("\t x \r")), QStringLiteral("x"));
}

TEST(ImportTextRows, SeparatedAndFixedWidth)
{
    auto texts = [](const QList<ImportCell>& cells) {
        QStringList out;
        for (const ImportCell& c : cells)
            out << c.text;
        return out;
    };
    EXPECT_EQ(texts(cutLine(QStringLiteral("a;;\"b;c\";d;e"), QStringLiteral(";"), {}, 4)),
              (QStringList{"a", "", "\"b", "c\";d;e"}));
    EXPECT_EQ(texts(cutLine(QStringLiteral("a||b"), QStringLiteral("||"), {}, 3)), (QStringList{"a", "b", ""}));
    const QString line = QStringLiteral("0123456789") + QString(30, QLatin1Char('x')) + QStringLiteral("12345678");
    EXPECT_EQ(texts(cutLine(line, {}, {10, 30, 8}, 3)),
              (QStringList{"0123456789", QString(30, QLatin1Char('x')), "12345678"}));
    EXPECT_EQ(texts(cutLine(QStringLiteral("0123"), {}, {10, 30, 8}, 3)), (QStringList{"0123", "", ""}));

    EXPECT_EQ(fileLines("a\r\n\r\nb\n").size(), 3);
    EXPECT_TRUE(looksLikeUtf8("Zaż\xC3\xB3\xC5\x82\xC4\x87"));
    EXPECT_FALSE(looksLikeUtf8("\xAF\xF3\xB3w"));
}

}  // namespace

namespace {

TEST(ImportMatching, RulesInOrderAndEmptyTextsNeverMatch)
{
    ChildDirectory list;
    list.setChildren({
        {1, QStringLiteral("Nowak Ewa"), QString(), QStringLiteral("18010112345"), {}, {}, {}},
        {2, QStringLiteral("Nowak Ewa"), QString(), QString(), {}, {}, {}},
        {3, QStringLiteral("Łącki Jan Paweł"), QStringLiteral("Łącka Maria"), QString(), {}, {QStringLiteral("Zięba Anna")}, {}},
        {4, QStringLiteral("Kos Piotr"), QString(), QString(), {}, {QString()}, {}},
    });
    MatchOptions ok;
    ok.okForPesel = ok.okForName = true;

    EXPECT_EQ(matchChild(list, QStringLiteral("Ktoś"), QStringLiteral("18010112345"), ok).child, 1);
    EXPECT_FALSE(matchChild(list, QStringLiteral("Ktoś"), QStringLiteral("18010112345"), ok).confirm);
    // Two children of that name: the first, confirmed although "OK DLA NAZWA" is on.
    const ChildMatch twins = matchChild(list, QStringLiteral("NOWAK EWA"), {}, ok);
    EXPECT_EQ(twins.child, 1);
    EXPECT_TRUE(twins.confirm);
    EXPECT_FALSE(matchChild(list, QStringLiteral("łącka maria"), {}, ok).confirm);

    // The scan: prefixes when the file's name has a blank, whole texts otherwise.
    EXPECT_EQ(matchChild(list, QStringLiteral("ŁĄCKI JAN"), {}, ok).child, 3);
    EXPECT_EQ(matchChild(list, QStringLiteral("ŁĄCKI"), {}, ok).child, 0);
    EXPECT_EQ(matchChild(list, QStringLiteral("LACKI JAN"), {}, ok).child, 0);
    MatchOptions plain = ok;
    plain.withoutDiacritics = true;
    EXPECT_EQ(matchChild(list, QStringLiteral("LACKI JAN"), {}, plain).child, 3);

    // A collecting person identifies the child, always with a confirmation;
    // an empty name (of the file or of a person) matches nobody.
    plain.withCollectors = true;
    const ChildMatch collector = matchChild(list, QStringLiteral("ZIĘBA ANNA"), {}, plain);
    EXPECT_EQ(collector.child, 3);
    EXPECT_TRUE(collector.confirm);
    EXPECT_EQ(matchChild(list, QString(), {}, plain).child, 0);
    EXPECT_EQ(matchChild(list, QStringLiteral("Kowal"), QStringLiteral(""), plain).child, 0);
}

}  // namespace
