#include "printouts/report_engine.h"
#include "printouts/text_layout.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace report;

namespace {

// The texts a band record produced, joined by "|".
QString bandText(const Page& page, const BandRecord& band)
{
    QStringList texts;
    for (int i = band.first; i < band.first + band.count; ++i)
        if (const auto* box = std::get_if<TextBox>(&page.items[i]))
            texts << box->text();
    return texts.join(QLatin1Char('|'));
}

// "kind:texts" of every band of every page, pages separated by "--".
QStringList outline(const PreparedPages& pages, bool withPageBreaks = true)
{
    static const char* names[] = {"title", "ph", "ch", "gh", "d", "gf", "sum", "pf", "child"};
    QStringList lines;
    for (const Page& page : pages.pages) {
        if (withPageBreaks && !lines.isEmpty())
            lines << QStringLiteral("--");
        for (const BandRecord& band : page.bands)
            lines << QLatin1String(names[int(band.kind)]) + QLatin1Char(':') + bandText(page, band);
    }
    return lines;
}

Band band(BandKind kind, double height, QList<Item> items = {})
{
    Band b;
    b.kind = kind;
    b.height = height;
    b.items = std::move(items);
    return b;
}

Rows numberedRows(int count)
{
    Rows rows;
    rows.fields = {QStringLiteral("N")};
    for (int i = 1; i <= count; ++i)
        rows.rows.append(QVariantList{i});
    return rows;
}

// A list: page header, column header, one line per row, "page n of m".
Report listReport()
{
    Report r;
    r.title = QStringLiteral("Lista");
    TextStyle centred;
    centred.alignment = Qt::AlignHCenter | Qt::AlignTop;
    r.pageHeader = band(BandKind::PageHeader, 20, {Item::label({0, 0, 700, 18}, QStringLiteral("Nagłówek"), centred)});
    r.columnHeader = band(BandKind::ColumnHeader, 20, {Item::label({4, 0, 100, 18}, QStringLiteral("Numer"))});
    r.detail = band(BandKind::Detail, 20, {Item::ofField({4, 0, 100, 18}, QStringLiteral("N"))});
    r.pageFooter = band(BandKind::PageFooter, 20,
                        {Item::pageNumber({0, 0, 300, 18}, QStringLiteral("Strona {page} z {pages}"))});
    return r;
}

}  // namespace

TEST(ReportEngineTest, LongListRepeatsHeadersOnEveryPageAndKeepsBandsAboveTheFooter)
{
    const Report report = listReport();
    QList<int> sunk;
    int lastPercent = -1;
    const PreparedPages pages = prepare(report, numberedRows(200), Purpose::Pages,
                                        [&](const Page&, int number, int percent) {
                                            sunk << number;
                                            EXPECT_GE(percent, lastPercent);
                                            lastPercent = percent;
                                            return true;
                                        });
    ASSERT_GT(pages.pages.size(), 3);
    const int count = int(pages.pages.size());
    EXPECT_EQ(sunk.size(), count);
    EXPECT_EQ(sunk.last(), count);
    EXPECT_EQ(lastPercent, 100);

    const double footerTop = report.pageSize.height() - report.marginBottom - 20;
    int expectedRow = 1;
    for (int p = 0; p < count; ++p) {
        const Page& page = pages.pages[p];
        ASSERT_GE(page.bands.size(), 4);
        EXPECT_EQ(page.bands[0].kind, BandKind::PageHeader);
        EXPECT_EQ(bandText(page, page.bands[0]), QStringLiteral("Nagłówek"));
        EXPECT_EQ(page.bands[1].kind, BandKind::ColumnHeader);
        EXPECT_EQ(page.bands.last().kind, BandKind::PageFooter);
        EXPECT_DOUBLE_EQ(page.bands.last().rect.top(), footerTop);
        EXPECT_EQ(bandText(page, page.bands.last()), QStringLiteral("Strona %1 z %2").arg(p + 1).arg(count));
        for (const BandRecord& b : page.bands) {
            if (b.kind != BandKind::Detail)
                continue;
            EXPECT_LE(b.rect.bottom(), footerTop + 0.001);
            EXPECT_EQ(bandText(page, b), QString::number(expectedRow++));
        }
        // A page is left only when the next row no longer fits.
        if (p + 1 < count) {
            EXPECT_GT(page.bands[page.bands.size() - 2].rect.bottom() + 20, footerTop);
        }
    }
    EXPECT_EQ(expectedRow, 201);

    // A sink that refuses stops the run with the pages finished so far.
    const PreparedPages stopped = prepare(report, numberedRows(200), Purpose::Pages,
                                          [](const Page&, int number, int) { return number < 2; });
    EXPECT_EQ(stopped.pages.size(), 2);
}

TEST(ReportEngineTest, GroupsCloseInnerFirstAndTotalTheirOwnRows)
{
    Report r;
    r.groups.append({{QStringLiteral("O")},
                     band(BandKind::GroupHeader, 10, {Item::ofField({0, 0, 100, 10}, QStringLiteral("O"))}),
                     band(BandKind::GroupFooter, 10, {Item::sum({0, 0, 100, 10}, QStringLiteral("K"), {}, "0.00")})});
    r.groups.append({{QStringLiteral("I")},
                     band(BandKind::GroupHeader, 10,
                          {Item::ofField({0, 0, 100, 10}, QStringLiteral("I")),
                           Item::count({100, 0, 50, 10})}),  // read ahead: the group's rows
                     band(BandKind::GroupFooter, 10, {Item::count({0, 0, 100, 10}, QStringLiteral("K"))})});
    r.detail = band(BandKind::Detail, 10, {Item::ofField({0, 0, 100, 10}, QStringLiteral("K"), {}, "0.00")});
    r.summary = band(BandKind::Summary, 10, {Item::sum({0, 0, 100, 10}, QStringLiteral("K"))});
    Rows rows;
    rows.fields = {QStringLiteral("O"), QStringLiteral("I"), QStringLiteral("K")};
    rows.rows = {{"A", "x", 1.5}, {"A", "x", QVariant()}, {"A", "y", 2.0}, {"B", "y", 4.25}};

    EXPECT_EQ(outline(prepare(r, rows)),
              (QStringList{"gh:A", "gh:x|2", "d:1,50", "d:", "gf:1", "gh:y|1", "d:2,00", "gf:1", "gf:3,50",
                           "gh:B", "gh:y|1", "d:4,25", "gf:1", "gf:4,25", "sum:7,75"}));
}

TEST(ReportEngineTest, GroupHeaderNeverStaysAloneAtThePageFoot)
{
    Report r;
    r.pageSize = {300, 200};
    r.marginLeft = r.marginTop = r.marginRight = r.marginBottom = 0;
    r.groups.append({{QStringLiteral("G")},
                     band(BandKind::GroupHeader, 15, {Item::ofField({0, 0, 100, 10}, QStringLiteral("G"))}),
                     std::nullopt});
    r.detail = band(BandKind::Detail, 30, {Item::ofField({0, 0, 100, 10}, QStringLiteral("N"))});
    Rows rows;
    rows.fields = {QStringLiteral("G"), QStringLiteral("N")};
    for (int i = 1; i <= 5; ++i)
        rows.rows.append({"A", i});
    rows.rows.append({"B", 6});
    // The header of B would fit under the five rows of A (165 + 15), its row not.
    EXPECT_EQ(outline(prepare(r, rows)),
              (QStringList{"gh:A", "d:1", "d:2", "d:3", "d:4", "d:5", "--", "gh:B", "d:6"}));
}

TEST(ReportEngineTest, DetailInColumnsAcrossAndDown)
{
    Report r;
    r.pageSize = {300, 100};
    r.marginLeft = 10;
    r.marginTop = r.marginRight = r.marginBottom = 0;
    r.detail = band(BandKind::Detail, 20, {Item::ofField({0, 0, 90, 18}, QStringLiteral("N"))});
    r.columns = {3, false, 95};

    auto cells = [](const PreparedPages& pages) {
        QStringList list;
        for (int p = 0; p < pages.pages.size(); ++p)
            for (const BandRecord& b : pages.pages[p].bands)
                list << QStringLiteral("%1@%2,%3,%4").arg(bandText(pages.pages[p], b)).arg(p + 1).arg(b.rect.x()).arg(b.rect.y());
        return list;
    };
    EXPECT_EQ(cells(prepare(r, numberedRows(7))),
              (QStringList{"1@1,10,0", "2@1,105,0", "3@1,200,0", "4@1,10,20", "5@1,105,20", "6@1,200,20", "7@1,10,40"}));

    // Labels cell by cell: position k × pitch, never accumulated.
    r.columns = {3, false, 0.1 + 1.0 / 3};
    r.detail->items.first().rect.setWidth(0.3);
    const PreparedPages tiny = prepare(r, numberedRows(3));
    EXPECT_EQ(tiny.pages[0].bands[2].rect.x(), 10 + 2 * (0.1 + 1.0 / 3));

    r.columns = {2, true, 100};
    r.detail->items.first().rect.setWidth(90);
    EXPECT_EQ(cells(prepare(r, numberedRows(12))),
              (QStringList{"1@1,10,0", "2@1,10,20", "3@1,10,40", "4@1,10,60", "5@1,10,80", "6@1,110,0", "7@1,110,20",
                           "8@1,110,40", "9@1,110,60", "10@1,110,80", "11@2,10,0", "12@2,10,20"}));
}

TEST(ReportEngineTest, WrappedTextBreaksAtWordsAndStretchesItsBand)
{
    Report r;
    TextStyle wrapped;
    wrapped.wordWrap = true;
    r.detail = band(BandKind::Detail, 20, {Item::ofField({0, 2, 120, 16}, QStringLiteral("T"), wrapped)});
    r.detail->stretch = true;
    r.summary = band(BandKind::Summary, 10, {Item::label({0, 0, 100, 10}, QStringLiteral("Koniec"))});
    Rows rows;
    rows.fields = {QStringLiteral("T")};
    const QString text = QStringLiteral("Zażółć gęślą jaźń, pchnąć w tę łódź jeża lub ośm skrzyń fig");
    rows.rows = {{text}, {QStringLiteral("Dwa\r\nwiersze")}, {QStringLiteral("Bardzodługiesłowobezspacjiktóreniemieścisię")}};
    const PreparedPages pages = prepare(r, rows);
    const Page& page = pages.pages.first();
    ASSERT_EQ(page.bands.size(), 4);

    MeasuredFont font{TextFont{}};
    const auto& first = std::get<TextBox>(page.items[page.bands[0].first]);
    ASSERT_GT(first.lines.size(), 2);
    EXPECT_EQ(first.lines.join(QLatin1Char(' ')), text);
    for (const QString& line : first.lines)
        EXPECT_LE(font.width(line), 120.01) << line.toStdString();
    EXPECT_DOUBLE_EQ(first.rect.height(), first.lines.size() * font.lineHeight());
    EXPECT_DOUBLE_EQ(page.bands[0].rect.height(), 2 + first.lines.size() * font.lineHeight());
    EXPECT_DOUBLE_EQ(page.bands[1].rect.top(), page.bands[0].rect.bottom());

    EXPECT_EQ(std::get<TextBox>(page.items[page.bands[1].first]).lines, (QStringList{"Dwa", "wiersze"}));
    const auto& word = std::get<TextBox>(page.items[page.bands[2].first]);
    EXPECT_GT(word.lines.size(), 1);
    EXPECT_EQ(word.lines.join(QString()), rows.rows[2][0].toString());
}

TEST(ReportEngineTest, TableExportRunsPageHeaderAndFooterOnceOnACopy)
{
    ReportJob job(listReport(), numberedRows(200));
    const PreparedPages exported = job.run(Purpose::TableExport);
    EXPECT_TRUE(exported.description.contains(QStringLiteral("ExportFilter")));
    ASSERT_GT(exported.pages.size(), 1);
    const QStringList lines = outline(exported, false);
    EXPECT_EQ(lines.filter(QStringLiteral("Nagłówek")), (QStringList{"title:Nagłówek"}));
    EXPECT_EQ(lines.first(), QStringLiteral("title:Nagłówek"));
    EXPECT_EQ(lines.filter(QStringLiteral("Strona")).size(), 1);
    EXPECT_TRUE(lines.last().startsWith(QStringLiteral("sum:Strona")));
    // The column header still heads every page.
    EXPECT_EQ(lines.filter(QStringLiteral("ch:")).size(), exported.pages.size());
    const Page& first = exported.pages.first();
    EXPECT_EQ(std::get<TextBox>(first.items[first.bands[0].first]).alignment, Qt::AlignLeft | Qt::AlignTop);

    // The job's own definition is untouched: pages still carry the header.
    const PreparedPages pages = job.run(Purpose::Pages);
    EXPECT_FALSE(pages.description.contains(QStringLiteral("ExportFilter")));
    for (const Page& page : pages.pages) {
        EXPECT_EQ(page.bands.first().kind, BandKind::PageHeader);
        EXPECT_EQ(std::get<TextBox>(page.items[page.bands[0].first]).alignment, Qt::AlignHCenter | Qt::AlignTop);
    }
}

TEST(ReportEngineTest, TitleSummaryConditionsAndEmptyData)
{
    Report r = listReport();
    r.titleBand = band(BandKind::Title, 30, {Item::label({0, 0, 100, 20}, QStringLiteral("Tytuł"))});
    r.summary = band(BandKind::Summary, 20, {Item::count({0, 0, 100, 18})});
    r.detail->printIf = [](const RunState& s) { return s.value(QStringLiteral("N")).toInt() % 2 == 0; };
    const PreparedPages pages = prepare(r, numberedRows(120));
    const QStringList lines = outline(pages, false);
    EXPECT_EQ(lines.mid(0, 3), (QStringList{"ph:Nagłówek", "title:Tytuł", "ch:Numer"}));
    EXPECT_EQ(lines.filter(QStringLiteral("title:")).size(), 1);
    EXPECT_EQ(lines.filter(QStringLiteral("sum:")), (QStringList{"sum:120"}));
    EXPECT_EQ(lines[lines.size() - 2], QStringLiteral("sum:120"));
    EXPECT_EQ(lines.filter(QRegularExpression(QStringLiteral("^d:"))).size(), 60);
    EXPECT_EQ(lines[3], QStringLiteral("d:2"));

    // No rows: one page with the fixed bands.
    const PreparedPages empty = prepare(r, Rows{{QStringLiteral("N")}, {}});
    ASSERT_EQ(empty.pages.size(), 1);
    EXPECT_EQ(outline(empty), (QStringList{"ph:Nagłówek", "title:Tytuł", "ch:Numer", "sum:0", "pf:Strona 1 z 1"}));
}
