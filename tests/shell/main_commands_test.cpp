// The main window's command table, its toolbar rules and its settings.

#include "browser/key_value_settings.h"
#include "shell/function_names.h"
#include "shell/main_commands.h"
#include "shell/main_settings.h"
#include "shell/main_toolbar.h"

#include <gtest/gtest.h>

using permissions::MenuEntry;

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

QStringList namesOf(const MenuEntry& menu)
{
    QStringList names;
    for (const MenuEntry& e : menu.children)
        names << (e.separator ? QStringLiteral("-") : e.name);
    return names;
}

MenuEntry* command(QList<MenuEntry>& menus, const QString& name)
{
    for (MenuEntry& menu : menus)
        for (MenuEntry& e : menu.children)
            if (e.name == name)
                return &e;
    return nullptr;
}

}  // namespace

TEST(MainCommands, TableMatchesMenusAndFunctionNames)
{
    const QList<MenuEntry> menus = mainmenu::menuTree();
    ASSERT_EQ(menus.size(), 6);
    QStringList captions;
    for (const MenuEntry& m : menus)
        captions << m.caption;
    EXPECT_EQ(captions, (QStringList{u("&Plik"), u("&Ochrona"), u("&Dane"), u("&Słowniki"), u("&Ustawienia"),
                                     u("Po&moc")}));
    EXPECT_EQ(namesOf(menus[1]), (QStringList{"Uzytkownicy1", "Grupy1", "-", "Nowehaslo1", "Wylogowanie1",
                                              "Logowanie1"}));
    const QStringList data = namesOf(menus[2]);
    ASSERT_EQ(data.size(), 20);
    EXPECT_EQ(data.indexOf("-"), 15);
    EXPECT_EQ(data.at(16), "Synchronizacja1");
    EXPECT_EQ(data.last(), "Wprowadzanieczasu1");

    const mainmenu::CommandDef* attendance = mainmenu::command("Obecnosci1");
    ASSERT_TRUE(attendance);
    EXPECT_EQ(attendance->caption, u("Lista &obecności"));
    EXPECT_EQ(attendance->image, 5);
    EXPECT_EQ(attendance->hint, u("Lista obecności"));
    EXPECT_EQ(mainmenu::command("Upgrade1")->hint, u("Sprawdź wersję  bazy"));
    EXPECT_EQ(mainmenu::command("Zamknij1")->shortcut, "Alt+F4");
    EXPECT_EQ(mainmenu::command("Naldodat1")->image, 31);
    EXPECT_EQ(mainmenu::command("Statusy1")->image, 52);
    EXPECT_EQ(mainmenu::command("Sposoby1")->hint, u("Sposoby liczenia opłat"));

    // Every main-window entry of the function table names a command of the
    // menus with the same caption; otherwise a grant would miss its command.
    int granted = 0;
    for (const functions::Entry& e : functions::table()) {
        if (!e.identifier.startsWith("TFmMain."))
            continue;
        ++granted;
        const mainmenu::CommandDef* def = mainmenu::command(e.identifier.mid(8));
        ASSERT_TRUE(def) << e.identifier.toStdString();
        EXPECT_EQ(def->caption, e.caption) << e.identifier.toStdString();
    }
    EXPECT_EQ(granted, 30);
    EXPECT_EQ(functions::functionOf(mainmenu::identifier("Graniceobecnoci1")), "Konfiguracja");
    EXPECT_TRUE(functions::functionOf(mainmenu::identifier("Stawkivat1")).isEmpty());

    const QStringList areas = mainmenu::areaNames();
    for (const char* a : {"Uzytkownicy", "Grupy", "Konfiguracja", "Obrazy", "Czasbezpatny", "Graniceobecnoci"})
        EXPECT_TRUE(areas.contains(a)) << a;
    EXPECT_FALSE(areas.contains("Eksportuj"));  // the backup is the shell's own
}

TEST(MainToolbar, ButtonsFromStoredNames)
{
    QList<MenuEntry> menus = mainmenu::menuTree();
    command(menus, "Rozrachunki1")->visible = false;

    // An unknown name and an empty line give separators; a hidden command
    // nothing; a repeated one a single button; a command of another menu is fine.
    EXPECT_EQ(maintoolbar::fromStored(QString("Dzieci1\r\nNieznana\r\nRozrachunki1\r\n\r\nDzieci1\r\nKlasy1\r\n"), menus),
              (QStringList{"Dzieci1", "", "", "Klasy1"}));

    // Nothing stored: the shown commands of "&Dane", then a separator.
    const QStringList defaults = maintoolbar::fromStored(std::nullopt, menus);
    EXPECT_EQ(defaults.first(), "Dzieci1");
    EXPECT_FALSE(defaults.contains("Rozrachunki1"));
    EXPECT_TRUE(defaults.contains("Synchronizacja1"));
    EXPECT_EQ(defaults.last(), "");
    EXPECT_EQ(defaults.size(), 19 - 1 + 1);
    EXPECT_EQ(maintoolbar::fromStored(QString(""), menus), defaults);

    // What is written reads back the same.
    const QStringList buttons{"Obecnosci1", "", "Klasy1"};
    EXPECT_EQ(maintoolbar::fromStored(maintoolbar::toStored(buttons), menus), buttons);
}

TEST(MainToolbar, ChoiceOffersButtonsThenDataDictionariesSecurity)
{
    QList<MenuEntry> menus = mainmenu::menuTree();
    command(menus, "Posilki1")->visible = false;
    int checked = 0;
    const QList<OrderedEntry> entries = maintoolbar::choiceEntries({"Klasy1", "", "Dzieci1"}, menus, checked);
    EXPECT_EQ(checked, 3);
    ASSERT_GT(entries.size(), 5);
    EXPECT_EQ(entries[0].text, u("Grupy dzieci"));
    EXPECT_EQ(entries[0].image, 15);
    EXPECT_TRUE(entries[1].separator);
    EXPECT_EQ(entries[3].value.toString(), "Wychowawcy1");  // "&Dane" first, without the present buttons
    QStringList offered;
    for (const OrderedEntry& e : entries)
        offered << e.value.toString();
    EXPECT_FALSE(offered.contains("Posilki1"));
    EXPECT_EQ(offered.count("Klasy1"), 1);
    EXPECT_LT(offered.indexOf("Wprowadzanieczasu1"), offered.indexOf("Grupyoplat1"));
    EXPECT_LT(offered.indexOf("Statusy1"), offered.indexOf("Uzytkownicy1"));
    EXPECT_FALSE(offered.contains("Nowehaslo1"));  // no hint
    EXPECT_EQ(offered.last(), "Grupy1");
}

TEST(MainSettings, LoadSaveAndPlacement)
{
    MemorySettings store;
    MainSettings defaults = MainSettings::load(store);
    EXPECT_FALSE(defaults.modalWindows);
    EXPECT_TRUE(defaults.autoEdit);
    EXPECT_FALSE(defaults.raisedButtons);
    EXPECT_FALSE(defaults.buttons.has_value());
    const QRect screen(0, 0, 1280, 800);
    EXPECT_TRUE(defaults.placement(screen).maximized);

    MainSettings s;
    s.modalWindows = false;
    s.autoEdit = false;
    s.raisedButtons = true;
    s.top = 100;
    s.left = 50;
    s.width = 700;
    s.height = 500;
    s.reminder = "Przy starcie";
    s.buttons = QString("Dzieci1\r\n\r\n");
    s.save(store);
    const MainSettings back = MainSettings::load(store);
    EXPECT_FALSE(back.autoEdit);
    EXPECT_TRUE(back.raisedButtons);
    EXPECT_EQ(back.reminder, "Przy starcie");
    EXPECT_EQ(back.buttons, s.buttons);
    EXPECT_FALSE(back.placement(screen).maximized);
    EXPECT_EQ(back.placement(screen).frame, QRect(50, 100, 700, 500));

    // Modal windows: the stored place is ignored.
    MainSettings modal = back;
    modal.modalWindows = true;
    EXPECT_TRUE(modal.placement(screen).maximized);
    // Only a width, as the bar-shaped window stored it: no size of the user's.
    MainSettings bar = back;
    bar.height.reset();
    EXPECT_TRUE(bar.placement(screen).maximized);
    // Maximised, with the frame to come back to.
    MainSettings max = back;
    max.maximized = true;
    EXPECT_TRUE(max.placement(screen).maximized);
    EXPECT_EQ(max.placement(screen).frame, QRect(50, 100, 700, 500));

    // A place on a monitor no longer there comes back onto the screen.
    MainSettings off = back;
    off.left = 3000;
    off.top = -400;
    EXPECT_EQ(off.placement(screen).frame, QRect(580, 0, 700, 500));
    off.left = -900;
    off.top = 2000;
    off.width = 5000;
    EXPECT_EQ(off.placement(screen).frame, QRect(0, 300, 1280, 500));
    EXPECT_EQ(off.placement(QRect(1280, 0, 1024, 768)).frame, QRect(1280, 268, 1024, 500));

    // Settings stored as text by an ini file read as the same flags.
    MemorySettings text;
    text.setValue("Main", "Okna modalne", "true");
    text.setValue("Main", "Top", "12");
    EXPECT_TRUE(MainSettings::load(text).modalWindows);
    EXPECT_EQ(MainSettings::load(text).top, 12);
}
