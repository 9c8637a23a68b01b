#include "browser/browser_controller.h"
#include "browser/column_layout.h"
#include "browser/key_value_settings.h"
#include "browser/window_title.h"
#include "support/browser_run.h"
#include "store/table.h"

#include <gtest/gtest.h>

using namespace browser;

TEST(BrowserTitle, BaseTitleAndSettingsKey)
{
    EXPECT_EQ(baseTitle(OpenedFrom::MenuCommand, "Lista &dzieci", "Dzieci"), "Lista dzieci");
    EXPECT_EQ(baseTitle(OpenedFrom::Button, "Gru&py", "X"), "Grupy");
    EXPECT_EQ(baseTitle(OpenedFrom::PickField, "Grupa", "Klasy"), "Grupa - WYBÓR");
    EXPECT_EQ(baseTitle(OpenedFrom::Other, "", "Klasy"), "Klasy");

    EXPECT_EQ(settingsKey("Wpłaty: Kowalski Jan"), "Wpłaty");
    EXPECT_EQ(settingsKey("Dzieci"), "Dzieci");
    // A date in the title must not give a new key every day.
    EXPECT_EQ(settingsKey("Lista obecności 05.03.2024"), "Lista obecności");
    EXPECT_EQ(settingsKey("Lista obecności 06.03.2024"), settingsKey("Lista obecności 05.03.2024"));
    EXPECT_EQ(settingsKey("Naliczenia dodatkowe marzec 2024 - Motylki"), "Naliczenia dodatkowe - Motylki");
    EXPECT_EQ(settingsKey("Obecności za 5 marca 2024"), "Obecności za");
    EXPECT_EQ(settingsKey("Rozliczenia 2024-03-05"), "Rozliczenia");
    EXPECT_EQ(settingsKey("Miesiąc 03.2024: szczegóły"), "Miesiąc");
    // Numbers that are not dates stay.
    EXPECT_EQ(settingsKey("Grupa 12"), "Grupa 12");

    EXPECT_FALSE(hasDataSheet("Lista obecności 05.03.2024"));
    EXPECT_FALSE(hasDataSheet("Naliczenia dodatkowe"));
    EXPECT_TRUE(hasDataSheet("Dzieci"));
}

TEST(BrowserTitle, EscapedSettingsGroups)
{
    EXPECT_EQ(UserSettings::escapedGroup("Wpłaty/zwroty\\x 100%"), "Wpłaty%2Fzwroty%5Cx 100%25");
}

TEST(BrowserTitle, DetailWindowTakesMasterCaption)
{
    BrowserRun run;
    Table& master = *run.module->klasy.table;
    master.events().onCalcFields = [](Table& t) { t.setCalculated("CAPTION", "grupa " + t.text("NAZWA")); };
    master.addCalculatedField(FieldDef::of("CAPTION", FieldType::String, 60));
    run.seed({{"Motylki", 1}, {"Żabki", 2}});
    DataSet detail;
    detail.name = "Detal";
    detail.table = &master;
    detail.master = &run.module->klasy;
    MemorySettings settings;
    Controller c(run.module.get(), detail, *run.context, settings, {OpenedFrom::MenuCommand, "&Dzieci w grupie"});
    master.first();
    EXPECT_EQ(c.title(), "Dzieci w grupie grupa Motylki");
    master.next();
    EXPECT_EQ(c.title(), "Dzieci w grupie grupa Żabki");
}

TEST(ColumnLayout, ValuesAreClampedToSixDigits)
{
    EXPECT_EQ(layout::encodeColumn(2, 120), "102120");
    // Widths of 1000 or more and positions of 400 or more would spill over.
    EXPECT_EQ(layout::encodeColumn(2, 1500), "102999");
    EXPECT_EQ(layout::encodeColumn(450, 80), "499080");
    EXPECT_EQ(layout::encodeColumn(-1, -5), "100000");
    EXPECT_EQ(layout::decodeColumn("102120"), 102120);
    EXPECT_FALSE(layout::decodeColumn("abc"));
    EXPECT_FALSE(layout::decodeColumn("1102120"));
    EXPECT_FALSE(layout::decodeColumn("502120"));
}

TEST(ColumnLayout, StoredColumnsFirstThenTheOthersInFieldOrder)
{
    const QList<layout::Column> columns = {{"A", 100}, {"B", 100}, {"C", 60}, {"D", 70}};
    // C and A stored (C first, A second); B and D never stored.
    const auto out = layout::arrange(columns, {"101050", "", "100200", ""});
    ASSERT_EQ(out.size(), 4);
    EXPECT_EQ(out[0].field, "C");
    EXPECT_EQ(out[0].width, 200);
    EXPECT_EQ(out[1].field, "A");
    EXPECT_EQ(out[1].width, 50);
    EXPECT_EQ(out[2].field, "B");
    EXPECT_EQ(out[2].width, 100);
    EXPECT_EQ(out[3].field, "D");
    EXPECT_EQ(out[3].width, 70);
}

TEST(ColumnLayout, ColumnsComingInGoAfterTheirModuleNeighbours)
{
    const auto names = [](const QList<layout::Column>& cs) {
        QStringList out;
        for (const layout::Column& c : cs)
            out << c.field + ":" + QString::number(c.width);
        return out;
    };
    // The user has moved NAME behind PAID and widened it; CODE goes, the days
    // come in after PAID (one as wide as it was last shown), LESS stays last.
    const QList<layout::Column> shown = {{"GROUP", 80}, {"CODE", 40}, {"PAID", 60}, {"NAME", 250}, {"LESS", 70}};
    const QStringList fields = {"NAME", "GROUP", "PAID", "D1", "D2", "LESS"};
    const auto width = [](const QString& f) { return f == "D2" ? 30 : 0; };
    EXPECT_EQ(names(layout::rearrange(shown, fields, width)),
              (QStringList{"GROUP:80", "PAID:60", "D1:100", "D2:30", "NAME:250", "LESS:70"}));
    // A field first in the module's order comes in first; nothing shown before.
    EXPECT_EQ(names(layout::rearrange(shown, {"EXTRA", "GROUP"}, {})), (QStringList{"EXTRA:100", "GROUP:80"}));
    EXPECT_EQ(names(layout::rearrange({}, {"A", "B"}, width)), (QStringList{"A:100", "B:100"}));
}

TEST(ColumnLayout, ControllerKeepsLayoutPerWindowKey)
{
    BrowserRun run;
    MemorySettings settings;
    const QList<layout::Column> defaults = {{"KOD", 100}, {"NAZWA", 100}, {"KOLEJ", 100}};
    {
        Controller c(run.module.get(), run.module->klasy, *run.context, settings, {OpenedFrom::MenuCommand, "&Grupy: 2024"});
        Layout l = c.loadLayout(defaults);
        // Nothing stored: field order, default widths, every command on the toolbar.
        EXPECT_EQ(l.columns[0].field, "KOD");
        EXPECT_TRUE(l.dataSheet);
        EXPECT_TRUE(l.toolbarShown);
        l.columns = {{"NAZWA", 1200}, {"KOD", 40}};
        l.dataSheet = false;
        l.dataSheetWidth = 300;
        c.saveLayout(l);
    }
    EXPECT_EQ(settings.text("Grupy", "Pole: NAZWA"), "100999");
    EXPECT_EQ(settings.text("Grupy", "Pole: KOD"), "101040");
    Controller c(run.module.get(), run.module->klasy, *run.context, settings, {OpenedFrom::MenuCommand, "Grupy"});
    const Layout l = c.loadLayout(defaults);
    ASSERT_EQ(l.columns.size(), 3);
    EXPECT_EQ(l.columns[0].field, "NAZWA");
    EXPECT_EQ(l.columns[1].field, "KOD");
    EXPECT_EQ(l.columns[2].field, "KOLEJ");  // added after the layout was stored
    EXPECT_FALSE(l.dataSheet);
    EXPECT_EQ(l.dataSheetWidth, 300);
}
