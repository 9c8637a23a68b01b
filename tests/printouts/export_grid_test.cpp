// A list printout of several pages through the table exports: the report's
// own table layout, read back from the file.

#include "export_test_pages.h"

#include "printouts/exports.h"
#include "printouts/grid_printout.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace report;
using namespace exporttest;

TEST(ExportGridTest, CsvOfAListOfManyPagesHoldsTitleCaptionsAndFooterOnce)
{
    GridLayout layout;
    layout.title = QStringLiteral("Wpłaty – Łódź");
    layout.footerLine = QStringLiteral("Stopka");
    GridColumn name;
    name.field = QStringLiteral("OPIS");
    name.caption = QStringLiteral("Opis");
    name.width = 150;
    GridColumn amount;
    amount.field = QStringLiteral("WARTOSC");
    amount.caption = QStringLiteral("Kwota");
    amount.width = 70;
    amount.alignment = Qt::AlignRight;
    layout.columns = {name, amount};
    QList<GridRow> rows;
    for (int i = 1; i <= 150; ++i) {
        const QString text = QStringLiteral("Wpłata %1").arg(i);
        const QString shown = QStringLiteral("%1,50").arg(i);
        rows.append({{text, i + 0.5}, {text, shown}});
    }
    const auto job = makeGridPrintout(layout, rows);
    const PreparedPages pages = job->run(Purpose::Pages);
    ASSERT_GT(pages.pages.size(), 1);

    QTemporaryDir dir;
    const QString fileName = dir.filePath(QStringLiteral("wplaty.csv"));
    ASSERT_EQ(exportReport(pages, job.get(), *formatOfFile(fileName), fileName), QString());
    const QStringList lines = QString::fromUtf8(readAll(fileName)).remove(QChar(0xFEFF)).split(QStringLiteral("\r\n"));
    ASSERT_GE(lines.size(), 153);
    EXPECT_EQ(lines.at(0), layout.title);
    EXPECT_EQ(lines.at(1), QStringLiteral("Opis;Kwota"));
    for (int i = 1; i <= 150; ++i)
        ASSERT_EQ(lines.at(1 + i), QStringLiteral("Wpłata %1;%1,50").arg(i));
    EXPECT_EQ(lines.filter(layout.title).size(), 1);
    EXPECT_EQ(lines.filter(QStringLiteral("Opis;Kwota")).size(), 1);
    EXPECT_EQ(lines.filter(QStringLiteral("Strona")).size(), 1);

    // The preview's pages keep their header on every page.
    const PreparedPages again = job->run(Purpose::Pages);
    EXPECT_EQ(again, pages);
    for (const Page& page : again.pages) {
        bool header = false;
        for (const BandRecord& band : page.bands)
            header = header || band.kind == BandKind::PageHeader;
        EXPECT_TRUE(header);
    }
}
