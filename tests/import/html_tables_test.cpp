#include "import/html_tables.h"

#include "store/cp1250.h"

#include <QFile>
#include <gtest/gtest.h>

using import::htmlTableListing;
using import::htmlTableRows;

namespace {

QByteArray readSample(const char* name)
{
    QFile file(QStringLiteral(LUNAWA_TEST_DATA "/import/") + QLatin1String(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name;
    return file.readAll();
}

// Rows come back as Windows-1250 bytes; compared as text for readability.
QStringList decoded(const QList<QByteArray>& lines)
{
    QStringList out;
    for (const QByteArray& line : lines) out << cp1250::decode(line);
    return out;
}

}  // namespace

TEST(HtmlTables, StatementPageListsEachTableByItsFirstRowAndReadsTheChosenOne)
{
    const QByteArray page = readSample("bank_statement.html");

    EXPECT_EQ(decoded(htmlTableListing(page)),
              QStringList({QStringLiteral("1. | Rachunek | 12 1020 1234 0000 1234 5678 9012 | "),
                           QStringLiteral("2. | Data | Nadawca | Tytuł | Kwota | "),
                           QStringLiteral("3. | Saldo końcowe | 1 745,50 | ")}));

    // Bold text inside a font tag, &#321; as Ł, &#999; dropped, &nbsp; as a
    // blank, UTF-8 letters as code page bytes, a name broken over two lines.
    EXPECT_EQ(decoded(htmlTableRows(page, 2)),
              QStringList({QStringLiteral("Data\tNadawca\tTytuł\tKwota\t"),
                           QStringLiteral("2024-03-04\tŁukasz Żółć\tOpłata za marzec\t1 250,00\t"),
                           QStringLiteral("2024-03-05\tAnna Śliwa\tCzesne\t480,50\t"),
                           QStringLiteral("2024-03-06\tJan Kowalski\t\t15,00\t")}));
    EXPECT_EQ(htmlTableRows(page, 3), QList<QByteArray>({"Saldo ko\xF1" "cowe\t1 745,50\t"}));
    EXPECT_TRUE(htmlTableRows(page, 4).isEmpty());
    EXPECT_TRUE(htmlTableRows(page, 0).isEmpty());
}

TEST(HtmlTables, PagesAsOtherProgramsWriteThem)
{
    EXPECT_TRUE(htmlTableListing("<html><body><p>Brak operacji</p></body></html>").isEmpty());

    // A table in the head does not count; <THEAD> is no heading cell.
    const QByteArray headed =
        "<html><head><table><tr><td>x</td></tr></table></head>\n"
        "<body><table><thead><tr><th>A</th></tr></thead><tr><td>B</td></tr></table></body>";
    EXPECT_EQ(htmlTableListing(headed), QList<QByteArray>({"1. | A | "}));
    EXPECT_EQ(htmlTableRows(headed, 1), QList<QByteArray>({"A\t", "B\t"}));

    // Without a body the whole page counts; end tags left out close with the
    // next row or the table; a tag spread over lines; a tab in a cell and
    // named entities; an empty row is kept.
    const QByteArray bare =
        "<TABLE><TR><TD>Kowalski\tJan<TD>A&amp;B &lt;1&gt; &#38;\n"
        "<TR><TD\n class=\"x\">12,50</TD></TR><TR></TR></TABLE>";
    EXPECT_EQ(htmlTableListing(bare), QList<QByteArray>({"1. | Kowalski Jan | A&B <1> &  | "}));
    EXPECT_EQ(htmlTableRows(bare, 1),
              QList<QByteArray>({"Kowalski Jan\tA&B <1> & \t", "12,50\t", ""}));
}
