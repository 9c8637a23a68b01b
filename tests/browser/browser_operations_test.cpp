#include "browser/browser_controller.h"
#include "browser/key_value_settings.h"
#include "browser/quick_filters.h"
#include "browser/record_search.h"
#include "browser/toolbar_buttons.h"
#include "support/browser_run.h"
#include "store/table.h"

#include <gtest/gtest.h>

namespace {

Command command(const QString& caption, const QString& label, bool withAction = true)
{
    Command c;
    c.name = caption;
    c.caption = caption;
    c.label = label;
    if (withAction)
        c.handler = [] {};
    return c;
}

}  // namespace

TEST(BrowserToolbar, ButtonsFromStoredCaptionsAndTheChoiceList)
{
    QList<Command> list = {command("&Dodaj", "Dodaj"), Command::separatorLine(), command("&Usuń", "Usuń"),
                           command("&Bez akcji", "Nic", false), command("&Ukryta", "Ukr"), command("&Drukuj", "Druk")};
    list[4].visible = false;
    const QList<Command*> commands = browser::tidiedCommands(list);
    ASSERT_EQ(commands.size(), 5);  // the hidden one is out

    // Nothing stored: every shown command with an action, in order.
    QList<toolbar::Slot> slotsNow = toolbar::fromStored(commands, QString());
    EXPECT_EQ(slotsNow, (QList<toolbar::Slot>{{0}, {2}, {4}}));
    // Stored captions in their order; unknown, actionless and hidden ones give nothing.
    slotsNow = toolbar::fromStored(commands, "&Drukuj\r\n&Nieznana\r\n&Bez akcji\r\n&Ukryta\r\n&Dodaj");
    EXPECT_EQ(slotsNow, (QList<toolbar::Slot>{{4}, {0}}));
    EXPECT_EQ(toolbar::toStored(commands, {{4}, {}, {0}}), "&Drukuj\r\n&Dodaj");

    ScriptedPrompts prompts;
    QStringList offered;
    prompts.expectOrderedChecks("Lista dostępnych operacji", [&](picker::OrderedCheckList& l) {
        for (int i = 0; i < l.size(); ++i)
            offered << l.entry(i).text + (l.isChecked(i) ? "+" : "-");
        l.setChecked(2, true);  // "Usuń"
    });
    ASSERT_TRUE(toolbar::choose(prompts, commands, slotsNow));
    EXPECT_EQ(offered, (QStringList{"Druk+", "Dodaj+", "Usuń-"}));
    EXPECT_EQ(slotsNow, (QList<toolbar::Slot>{{4}, {0}, {2}}));
}

TEST(BrowserQuickFilter, ListsAroundTheSystemDateAndChosenFields)
{
    const QDate day(2024, 3, 5);
    EXPECT_EQ(quickfilter::fixedValues("ROK", day),
              (QStringList{"2021", "2022", "2023", "2024", "2025", "2026", "2027"}));
    EXPECT_EQ(quickfilter::fixedValues("MIESIAC", day).size(), 12);
    EXPECT_EQ(quickfilter::fixedValues("MIESIAC", day).first(), "1");
    EXPECT_EQ(quickfilter::fixedValues("MIESIAC", day).last(), "12");
    EXPECT_TRUE(quickfilter::fixedValues("NAZWA", day).isEmpty());

    BrowserRun run;
    DataSet& ds = run.module->klasy;
    ds.fields[2].role = roles::filter();
    // "Filtruj" fields always, stored ones after; unknown names are dropped.
    EXPECT_EQ(quickfilter::atOpening(ds, "NAZWA\r\nBRAK\r\nKOLEJ"), (QStringList{"KOLEJ", "NAZWA"}));
}

TEST(BrowserQuickFilter, FilterNarrowsTheTableAndGoesAwayWithTheWindow)
{
    BrowserRun run;
    run.seed({{"Motylki", 1}, {"Żabki", 2}, {"Biedronki", 3}});
    Table& t = *run.module->klasy.table;
    t.setRowTest([](const Table& row) { return row.text("NAZWA") != "Biedronki"; });  // the module's own
    t.refresh();
    ASSERT_EQ(t.rowCount(), 2);
    MemorySettings settings;
    {
        browser::Controller c(run.module.get(), run.module->klasy, *run.context, settings, {});
        c.setQuickFilters({"KOLEJ"});
        c.applyFilters();
        EXPECT_EQ(t.rowCount(), 2);
        c.filters().chooseValue("KOLEJ", "2", "2");
        c.applyFilters();
        ASSERT_EQ(t.rowCount(), 1);
        EXPECT_EQ(t.text("NAZWA"), "Żabki");
        c.filters().setActive("KOLEJ", false);
        c.applyFilters();
        EXPECT_EQ(t.rowCount(), 2);
        c.filters().setActive("KOLEJ", true);
        c.filters().chooseValue("KOLEJ", "3", "3");
        c.applyFilters();
        EXPECT_EQ(t.rowCount(), 0);  // the module's filter still applies
    }
    EXPECT_EQ(t.rowCount(), 2);
}

TEST(BrowserSearch, TextPrefixFragmentNumbersAndDates)
{
    EXPECT_TRUE(search::matches("Abc", FieldType::String, "ab", false));
    EXPECT_FALSE(search::matches("Cab", FieldType::String, "ab", false));
    EXPECT_TRUE(search::matches("Cab", FieldType::String, "ab", true));
    EXPECT_TRUE(search::matches(12, FieldType::Integer, "12", false));
    EXPECT_FALSE(search::matches(123, FieldType::Integer, "12", false));
    EXPECT_TRUE(search::matches(12.5, FieldType::Float, "12,5", false));
    EXPECT_TRUE(search::matches(QDate(2024, 3, 5), FieldType::Date, "5.03.2024", false));
    EXPECT_FALSE(search::matches(QDate(2024, 3, 5), FieldType::Date, "ab", false));
    EXPECT_TRUE(search::matches(QTime(8, 5), FieldType::Time, "08:05", false));

    BrowserRun run;
    run.seed({{"Cab", 1}, {"Abc", 2}, {"Xab", 3}});
    Table& t = *run.module->klasy.table;
    search::State state;
    run.prompts.expectTextWithOption("Wyszukiwanie", "Nazwa", "ab", false);
    EXPECT_EQ(search::ask(run.prompts, t, "NAZWA", "Nazwa", state), 1);
    t.setPosition(1);
    EXPECT_EQ(search::again(t, "NAZWA", state), -1);  // F3: nothing after
    run.prompts.expectTextWithOption("Wyszukiwanie", "Nazwa", "ab", true);
    EXPECT_EQ(search::ask(run.prompts, t, "NAZWA", "Nazwa", state), 0);
    EXPECT_TRUE(state.anyFragment);
    t.setPosition(0);
    EXPECT_EQ(search::again(t, "NAZWA", state), 1);
    // Non-text fields get the plain prompt.
    run.prompts.expectText("Wyszukiwanie", "Kolejność", "3");
    EXPECT_EQ(search::ask(run.prompts, t, "KOLEJ", "Kolejność", state), 2);
    // The quick search stays on a matching row and wraps once.
    t.setPosition(2);
    EXPECT_EQ(search::quick(t, "NAZWA", "x"), 2);
    EXPECT_EQ(search::quick(t, "NAZWA", "c"), 0);
    EXPECT_EQ(search::quick(t, "NAZWA", "zzz"), -1);
    EXPECT_TRUE(run.prompts.done());
}

TEST(BrowserController, CommandsDoubleClickAndNextWindow)
{
    BrowserRun run;
    DataSet& ds = run.module->klasy;
    ds.commands = {Command::separatorLine(), command("&Jeden", "J"), Command::separatorLine(),
                   Command::separatorLine(), command("&Dwa", "D"), Command::separatorLine()};
    MemorySettings settings;
    browser::Controller c(run.module.get(), ds, *run.context, settings, {});
    ASSERT_EQ(c.commands().size(), 3);
    EXPECT_TRUE(c.commands()[1]->separator);
    EXPECT_EQ(c.doubleClick(false), browser::DoubleClick::Nothing);
    run.prompts.expectCommand("Akcja na podwójne kliknięcie", "Dwa");
    ASSERT_TRUE(c.chooseDoubleClick());
    EXPECT_EQ(c.doubleClick(false), browser::DoubleClick::Command);
    EXPECT_EQ(c.doubleClickCommand(), 2);
    EXPECT_EQ(c.doubleClick(true), browser::DoubleClick::Calculator);

    browser::Layout l;
    l.doubleClickCommand = 2;
    c.saveLayout(l);
    EXPECT_EQ(settings.text("Klasy", "DblClickAkcja"), "&Dwa");

    browser::Controller pick(run.module.get(), ds, *run.context, settings, {browser::OpenedFrom::PickField, "Grupa", true});
    EXPECT_EQ(pick.baseTitle(), "Grupa - WYBÓR");
    EXPECT_EQ(pick.doubleClick(false), browser::DoubleClick::Choose);

    QObject a, b;
    EXPECT_EQ(c.chooseNext(), nullptr);
    c.addNext(&a, "Obecności");
    EXPECT_EQ(c.chooseNext(), &a);
    c.addNext(&b, "Wpłaty");
    run.prompts.expectListEntry("Wybór okna", "Wpłaty");
    EXPECT_EQ(c.chooseNext(), &b);
    run.prompts.expectCancel(ScriptedPrompts::Kind::List, "Wybór okna");
    EXPECT_EQ(c.chooseNext(), nullptr);
    EXPECT_TRUE(run.prompts.done());
}
