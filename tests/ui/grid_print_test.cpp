#include "browser/key_value_settings.h"
#include "browser/ui/record_model.h"
#include "browser/ui/tfm_kartot.h"
#include "browser/ui/ui_window_opener.h"
#include "printouts/ui/grid_print_command.h"
#include "printouts/ui/page_view.h"
#include "printouts/ui/report_preview.h"
#include "store/table.h"
#include "support/browser_run.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QPointer>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

namespace {

QStringList textsOf(const report::Page& page)
{
    QStringList out;
    for (const report::Primitive& item : page.items)
        if (const auto* box = std::get_if<report::TextBox>(&item))
            out << box->text();
    return out;
}

bool hasBand(const report::PreparedPages& pages, report::BandKind kind)
{
    for (const report::Page& page : pages.pages)
        for (const report::BandRecord& band : page.bands)
            if (band.kind == kind)
                return true;
    return false;
}

class GridPrint : public ::testing::Test {
protected:
    GridPrint() : windows(settings), run(&windows)
    {
        windows.setContext(run.context.get());
        run.seed({{"Motylki", 1}, {"Żabki", 2}});
        gridprint::install();
    }
    ~GridPrint() override
    {
        TFmKartot::hooks().print = nullptr;
        for (TFmKartot* w : windows.windows())
            delete w;
    }

    TFmKartot* openBrowser()
    {
        windows.browse(*run.module, run.module->klasy, "Grupy", nullptr);
        TFmKartot* w = windows.last();
        w->resize(900, 400);
        w->show();
        return w;
    }

    TReportPreview* print(TFmKartot* w)
    {
        w->action("&Drukuj")->trigger();
        TReportPreview* p = TReportPreview::openFor(w);
        if (p && !QTest::qWaitFor([p] { return p->isPrepared(); }, 10000))
            ADD_FAILURE() << "the printout was not prepared";
        return p;
    }

    MemorySettings settings;
    UiWindowOpener windows;
    BrowserRun run;
};

}  // namespace

TEST_F(GridPrint, PrintsTheGridAsShownIntoThePreview)
{
    TFmKartot* w = openBrowser();
    ASSERT_TRUE(w->action("&Drukuj")->isVisible());

    // The user moved the name to the front, hid the code and widened the order column.
    QHeaderView* header = w->grid()->horizontalHeader();
    RecordModel* model = w->model();
    header->moveSection(header->visualIndex(model->columnOf("NAZWA")), 0);
    header->setSectionHidden(model->columnOf("KOD"), true);
    header->resizeSection(model->columnOf("KOLEJ"), 150);

    const report::GridLayout layout = gridprint::layoutOfBrowser(*w);
    EXPECT_EQ(layout.title, w->windowTitle());
    ASSERT_EQ(layout.columns.size(), 2);
    EXPECT_EQ(layout.columns[0].field, "NAZWA");
    EXPECT_EQ(layout.columns[0].caption, "Nazwa");
    EXPECT_EQ(layout.columns[1].field, "KOLEJ");
    EXPECT_EQ(layout.columns[1].caption, "Kolejność");
    EXPECT_EQ(layout.columns[1].alignment & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    const double dpi = w->grid()->logicalDpiX();
    EXPECT_NEAR(layout.columns[1].width, 150 * 96.0 / dpi, 0.01);
    EXPECT_EQ(layout.columns[0].font.family, w->grid()->font().family());
    EXPECT_TRUE(layout.filterDescription.isEmpty());

    TReportPreview* p = print(w);
    ASSERT_TRUE(p);
    ASSERT_TRUE(p->isPrepared());
    EXPECT_EQ(p->windowTitle(), w->windowTitle());
    ASSERT_FALSE(p->pages().pages.isEmpty());
    const QStringList texts = textsOf(p->pages().pages.constFirst());
    EXPECT_TRUE(texts.contains(w->windowTitle())) << texts.join(" | ").toStdString();
    EXPECT_TRUE(texts.contains("Motylki")) << texts.join(" | ").toStdString();
    EXPECT_TRUE(texts.contains("Żabki"));
    EXPECT_FALSE(texts.contains("Kod"));
    EXPECT_EQ(p->pageText(), "Strona 1 z 1");
    // Nothing summed, no summary.
    EXPECT_FALSE(hasBand(p->pages(), report::BandKind::Summary));
}

TEST_F(GridPrint, FilterAndSumsComeFromTheBrowserAndPrintingAgainReplacesThePreview)
{
    run.module->klasy.fields[2].mark = 1;  // KOLEJ summed
    TFmKartot* w = openBrowser();
    datafilter::Filter& filters = w->controller().filters();
    filters.chooseValue("KOLEJ", "2", "2");
    w->controller().applyFilters();
    EXPECT_EQ(filters.description(), "Kolejność: od 2 do 2");

    QPointer<TReportPreview> first = print(w);
    ASSERT_TRUE(first);
    const QStringList texts = textsOf(first->pages().pages.constFirst());
    EXPECT_TRUE(texts.contains("Kolejność: od 2 do 2")) << texts.join(" | ").toStdString();
    EXPECT_TRUE(texts.contains("Żabki"));
    EXPECT_FALSE(texts.contains("Motylki"));
    EXPECT_TRUE(hasBand(first->pages(), report::BandKind::Summary));

    // A new printout for the same browser: the old preview goes.
    QPointer<TReportPreview> second = print(w);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    ASSERT_FALSE(second.isNull());
    EXPECT_EQ(TReportPreview::openFor(w), second.data());

    // Closing the browser closes its preview.
    delete w;
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(second.isNull());
}
