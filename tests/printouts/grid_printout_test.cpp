#include "printouts/grid_printout.h"
#include "printouts/text_layout.h"

#include "browser/module.h"
#include "store/query.h"
#include "store/table.h"
#include "support/store_fixture.h"

#include <gtest/gtest.h>

using namespace report;

namespace {

GridColumn column(const QString& field, const QString& caption, double width, bool summed = false,
                  bool numeric = false)
{
    GridColumn c;
    c.field = field;
    c.caption = caption;
    c.width = width;
    c.summed = summed;
    c.numeric = numeric;
    c.floating = numeric;
    c.displayFormat = numeric ? QStringLiteral("0.00") : QString();
    c.alignment = numeric ? Qt::AlignRight : Qt::AlignLeft;
    return c;
}

GridRow row(const QString& name, double amount, const QString& flag)
{
    return {{name, amount, flag}, {name, QString::number(amount, 'f', 2).replace('.', ','), flag}};
}

const BandRecord* findBand(const Page& page, BandKind kind)
{
    for (const BandRecord& b : page.bands)
        if (b.kind == kind)
            return &b;
    return nullptr;
}

QList<const TextBox*> boxes(const Page& page, const BandRecord& band)
{
    QList<const TextBox*> list;
    for (int i = band.first; i < band.first + band.count; ++i)
        if (const auto* box = std::get_if<TextBox>(&page.items[i]))
            list << box;
    return list;
}

GridLayout paymentsLayout()
{
    GridLayout layout;
    layout.title = QStringLiteral("Wpłaty");
    layout.footerLine = QStringLiteral("Vendrix \"Lunawa\" dla Przedszkole nr 1, Lipowa 1 ");
    layout.columns = {column("OPIS", "Opis", 120), column("WARTOSC", "Kwota", 60, true, true),
                    column("ZNAK", "Znak", 30, true)};
    return layout;
}

}  // namespace

TEST(GridPrintoutTest, SumsNumbersAndCountsOtherValuesAfreshOnEveryRun)
{
    const auto job = makeGridPrintout(
        paymentsLayout(), {row("Czesne", 100.5, "T"), row("Obiady", 20.25, "N"), row("Zajęcia", 7, "T"),
                         row("Wycieczka", 1, "."), row("Basen", 2, "_"), row("Teatr", 3, "A:x"), row("Kino", 4, "A")});
    for (int run = 0; run < 2; ++run) {
        const PreparedPages pages = job->run(Purpose::Pages);
        ASSERT_EQ(pages.pages.size(), 1);
        const Page& page = pages.pages.first();
        const BandRecord* summary = findBand(page, BandKind::Summary);
        ASSERT_TRUE(summary);
        const auto items = boxes(page, *summary);
        ASSERT_EQ(items.size(), 2);
        EXPECT_EQ(items[0]->text(), QStringLiteral("137,75"));
        EXPECT_EQ(items[0]->alignment & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        EXPECT_EQ(items[1]->lines,
                  (QStringList{" ", "T:     2", "N:     1", "D:     2", "A:x:     1", "A:     1"}));
        // The counts' lines stretch the band.
        EXPECT_GE(summary->rect.height(), 6 * items[1]->lineHeight);
    }
}

TEST(GridPrintoutTest, PlacesColumnsAndRepeatsTitleAndFilterOnEveryPage)
{
    GridLayout layout = paymentsLayout();
    layout.columns[1].summed = layout.columns[2].summed = false;
    layout.filterDescription = QStringLiteral("Data wpłaty od 01.09.2024 do 30.09.2024 i Opis zawiera „obiad”");
    // A long institution name and address must not lose the start of the line.
    layout.footerLine = QStringLiteral("Vendrix \"Lunawa\" dla Przedszkole Samorządowe nr 7 „Słoneczko”, "
                                       "ul. Słoneczna 1, 00-001 Warszawa ");
    QList<GridRow> rows;
    for (int i = 0; i < 150; ++i)
        rows << row(QStringLiteral("Wpłata %1").arg(i + 1), i, "T");
    const PreparedPages pages = makeGridPrintout(layout, rows)->run(Purpose::Pages);
    ASSERT_GT(pages.pages.size(), 1);
    EXPECT_EQ(pages.title, QStringLiteral("Wpłaty"));
    int details = 0;
    for (int p = 0; p < pages.pages.size(); ++p) {
        const Page& page = pages.pages[p];
        EXPECT_FALSE(findBand(page, BandKind::Summary));
        const auto header = boxes(page, *findBand(page, BandKind::PageHeader));
        ASSERT_EQ(header.size(), 2);
        EXPECT_EQ(header[0]->text(), QStringLiteral("Wpłaty"));
        EXPECT_EQ(header[0]->font.pointSize, 10);
        EXPECT_EQ(header[0]->alignment & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
        EXPECT_EQ(header[1]->text().replace('\n', ' '), layout.filterDescription);
        EXPECT_EQ(header[1]->rect.width(), 706);
        EXPECT_LE(header[1]->rect.bottom(), findBand(page, BandKind::ColumnHeader)->rect.top());

        const auto captions = boxes(page, *findBand(page, BandKind::ColumnHeader));
        ASSERT_EQ(captions.size(), 3);
        EXPECT_DOUBLE_EQ(captions[0]->rect.x(), defaultMargin + 4);
        EXPECT_DOUBLE_EQ(captions[1]->rect.x(), defaultMargin + 4 + 120 + 4);
        EXPECT_DOUBLE_EQ(captions[2]->rect.x(), defaultMargin + 4 + 120 + 4 + 60 + 4);
        EXPECT_EQ(captions[1]->text(), QStringLiteral("Kwota"));

        const auto footer = boxes(page, *findBand(page, BandKind::PageFooter));
        ASSERT_EQ(footer.size(), 2);
        EXPECT_EQ(footer[0]->text(), QStringLiteral("Strona: %1").arg(p + 1));
        EXPECT_EQ(footer[0]->font.pointSize, 8);
        EXPECT_EQ(footer[1]->text(), layout.footerLine);
        EXPECT_EQ(footer[1]->alignment & Qt::AlignHorizontal_Mask, Qt::AlignRight);
        EXPECT_LE(MeasuredFont(footer[1]->font).width(layout.footerLine), footer[1]->rect.width());
        EXPECT_LE(MeasuredFont(footer[0]->font).width(footer[0]->text()), footer[1]->rect.left() - footer[0]->rect.left());
        for (const BandRecord& b : page.bands)
            details += b.kind == BandKind::Detail;
    }
    EXPECT_EQ(details, 150);
}

// Positions in 1/96 inch as measured with Liberation Sans, the face Arial
// maps to: the header grows by the filter line, captions and rows sit at
// x = 4 and then width + 4 further, the footer at the foot of the body.
TEST(GridPrintoutTest, GoldenFirstPage)
{
    GridLayout layout = paymentsLayout();
    layout.filterDescription = QStringLiteral("Opis zawiera „a”");
    const PreparedPages pages =
        makeGridPrintout(layout, {row("Czesne", 100.5, "T"), row("Obiady", 20.25, "N")})->run(Purpose::Pages);
    ASSERT_EQ(pages.pages.size(), 1);
    const QString actual = dump(pages.pages.first());
    EXPECT_EQ(actual, QString::fromUtf8(R"(text 37.80 37.80 718.11 14.94 Arial 10.00 align=36 "Wpłaty"
text 43.85 54.73 706.00 14.94 Arial 10.00 align=36 "Opis zawiera „a”"
text 41.80 76.67 120.00 14.94 Arial 10.00 align=33 "Opis"
text 165.80 76.67 60.00 14.94 Arial 10.00 align=34 "Kwota"
text 229.80 76.67 30.00 14.94 Arial 10.00 align=33 "Znak"
text 41.80 93.61 120.00 14.94 Arial 10.00 align=33 "Czesne"
text 165.80 93.61 60.00 14.94 Arial 10.00 align=34 "100,50"
text 229.80 93.61 30.00 14.94 Arial 10.00 align=33 "T"
text 41.80 110.55 120.00 14.94 Arial 10.00 align=33 "Obiady"
text 165.80 110.55 60.00 14.94 Arial 10.00 align=34 "20,25"
text 229.80 110.55 30.00 14.94 Arial 10.00 align=33 "N"
text 165.80 127.48 60.00 14.94 Arial 10.00 align=34 "120,75"
text 229.80 127.48 30.00 44.81 Arial 10.00 align=33 " |T:     1|N:     1"
text 37.80 1071.08 89.76 12.64 Arial 8.00 align=33 "Strona: 1"
text 127.56 1071.08 628.35 12.64 Arial 8.00 align=34 "Vendrix "Lunawa" dla Przedszkole nr 1, Lipowa 1 "
)")) << actual.toStdString();
}

TEST(GridPrintoutTest, ReadsTheDataSetAsTheGridShowsIt)
{
    TestStore store(Engine::SQLite);
    auto db = store.connect();
    Query(*db, "UPDATE FIRMA SET NAZWA = 'Przedszkole „Słonko”', ADRES = 'Lipowa 1'").exec();
    Query insert(*db, "INSERT INTO WPLATY (KOD, DATA, OSOBA, WARTOSC, OPIS) VALUES (1, :D, 5, :W, :O)");
    insert.bind("D", QDate(2024, 9, 2)).bind("W", 12.5).bind("O", "Czesne").exec();
    insert.bind("D", QDate(2024, 9, 3)).bind("W", 3.0).bind("O", QVariant()).exec();
    EXPECT_EQ(footerLine(*db), QStringLiteral("Vendrix \"Lunawa\" dla Przedszkole „Słonko”, Lipowa 1 "));

    Table table(*db, "WPLATY");
    table.setOrdering("KOD;DATA");
    table.open();
    DataSet ds;
    ds.name = "Wplaty";
    ds.table = &table;
    ds.fields = {FieldView::column("DATA", "Data"), FieldView::formatted("WARTOSC", "Kwota", "0.00"),
                 FieldView::hidden("OSOBA"), FieldView::column("OPIS", "Opis")};
    ds.fields[1].mark = 1;
    ds.fields[1].alignment = Qt::AlignRight;
    table.last();

    const GridLayout layout = gridLayoutOfDataSet(ds, "Wpłaty");
    ASSERT_EQ(layout.columns.size(), 3);
    EXPECT_EQ(layout.columns[1].caption, QStringLiteral("Kwota"));
    EXPECT_TRUE(layout.columns[1].summed && layout.columns[1].numeric && layout.columns[1].floating);
    EXPECT_FALSE(layout.columns[0].summed || layout.columns[2].numeric);
    EXPECT_EQ(layout.columns[1].alignment, Qt::AlignRight);
    for (const GridColumn& c : layout.columns)
        EXPECT_GT(c.width, 20);

    const QList<GridRow> rows = gridRowsOfDataSet(ds, layout);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].texts, (QStringList{"02.09.2024", "12,50", "Czesne"}));
    EXPECT_EQ(rows[1].texts, (QStringList{"03.09.2024", "3,00", ""}));
    EXPECT_EQ(table.position(), 1);  // the cursor stayed where the grid had it

    const PreparedPages pages = makeGridPrintout(layout, rows)->run(Purpose::Pages);
    const Page& page = pages.pages.first();
    EXPECT_EQ(boxes(page, *findBand(page, BandKind::Summary)).first()->text(), QStringLiteral("15,50"));
}
