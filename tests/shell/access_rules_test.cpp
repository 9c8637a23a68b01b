// Which commands a user sees, how menus close up around hidden commands, and
// which rows the group and extra-class filters let through.

#include "shell/access_rules.h"
#include "shell/function_names.h"

#include <QSet>

using permissions::MenuEntry;

namespace {

QStringList list(std::initializer_list<const char*> items)
{
    QStringList out;
    for (const char* item : items)
        out << QString::fromUtf8(item);
    return out;
}

// Captions of what is left shown, "-" for a separator, "[...]" around a submenu.
QString shownLayout(const QList<MenuEntry>& entries)
{
    QStringList parts;
    for (const MenuEntry& entry : entries) {
        if (!entry.shown())
            continue;
        if (entry.separator)
            parts << QStringLiteral("-");
        else if (entry.submenu)
            parts << entry.name + QLatin1Char('[') + shownLayout(entry.children) + QLatin1Char(']');
        else
            parts << entry.name;
    }
    return parts.join(QLatin1Char(' '));
}

const MenuEntry* find(const QList<MenuEntry>& entries, const QString& name)
{
    for (const MenuEntry& entry : entries)
        if (entry.name == name)
            return &entry;
    return nullptr;
}

}  // namespace

TEST(AccessFunctionTable, EntriesInOrderWithExactTexts)
{
    const auto& table = functions::table();
    ASSERT_EQ(table.size(), 63);

    EXPECT_EQ(table.first().identifier, QStringLiteral("TFmMain.Eksportuj1"));
    EXPECT_EQ(table.first().caption, QStringLiteral("&Eksportuj"));
    EXPECT_EQ(table.first().function, QStringLiteral("Prawa dostepu"));
    EXPECT_EQ(table[21].identifier, QStringLiteral("TFmMain.Zajciadodatkowe1"));
    EXPECT_EQ(table[21].caption, QStringLiteral("&Zajęcia dodatkowe"));
    EXPECT_EQ(table[21].function, QStringLiteral("Zajecia dodatkowe"));
    EXPECT_EQ(table[30].identifier, QStringLiteral("TDMDzieci.Media1"));
    EXPECT_EQ(table[30].caption, QStringLiteral("&Składniki opłat dziecka"));
    EXPECT_EQ(table[57].identifier, QStringLiteral("TDMRozrach.Cofnijopaty1"));
    EXPECT_EQ(table[57].caption, QStringLiteral("Cofnij opłaty"));
    EXPECT_EQ(table.last().identifier, QStringLiteral("TDMWychow.Klasy1"));
    EXPECT_EQ(table.last().function, QStringLiteral("Grupy dzieci"));

    QSet<QString> identifiers;
    int mainWindow = 0;
    for (const auto& entry : table) {
        identifiers.insert(entry.identifier);
        mainWindow += entry.identifier.startsWith(QLatin1String("TFmMain.")) ? 1 : 0;
        // Function names are stored in users' memo fields as plain ASCII.
        for (QChar c : entry.function)
            EXPECT_LT(c.unicode(), 128) << entry.function.toStdString();
    }
    EXPECT_EQ(identifiers.size(), 63);
    EXPECT_EQ(mainWindow, 30);

    const QStringList names = functions::allFunctionNames();
    ASSERT_EQ(names.size(), 63);
    EXPECT_EQ(names[19], QStringLiteral("Czas bezplatny"));
    EXPECT_EQ(names.count(QStringLiteral("Prawa dostepu")), 9);

    EXPECT_EQ(functions::functionOf(QStringLiteral("TFmMain.Graniceobecnoci1")), QStringLiteral("Konfiguracja"));
    EXPECT_EQ(functions::functionOf(QStringLiteral("TDMUzyt.Widocznefunkcje1")), QStringLiteral("Prawa dostepu"));
    EXPECT_TRUE(functions::functionOf(QStringLiteral("TFmMain.Zamknij1")).isEmpty());
    EXPECT_TRUE(functions::functionOf(QStringLiteral("TDMInform.Dzieci1")).isEmpty());
}

TEST(AccessApplyFunctions, GrantedHiddenAndUntouchedCommands)
{
    QList<MenuEntry> menu{
        MenuEntry::command(QStringLiteral("Zajciadodatkowe1"), QStringLiteral("&Zajęcia dodatkowe")),
        MenuEntry::command(QStringLiteral("Dzieci1"), QStringLiteral("&Dzieci")),
        MenuEntry::command(QStringLiteral("Zamknij1"), QStringLiteral("&Zamknij")),
        MenuEntry::command(QStringLiteral("Nowehaso1"), QStringLiteral("&Nowe hasło")),
        MenuEntry::menu(QStringLiteral("Ochrona1"), QStringLiteral("&Ochrona"),
                        {MenuEntry::command(QStringLiteral("Uzytkownicy1"), QStringLiteral("&Użytkownicy"))}),
    };
    menu[3].visible = false;  // hidden by its owner: not the function table's business

    // One extra class is enough to keep the register's command.
    permissions::applyFunctions(QStringLiteral("TFmMain"), menu, list({"Zajecia dodatkowe - 3"}));
    EXPECT_EQ(shownLayout(menu), QStringLiteral("Zajciadodatkowe1 Zamknij1 Ochrona1[]"));
    EXPECT_FALSE(menu[3].visible);

    // Attendance at all classes does not open their register.
    permissions::applyFunctions(QStringLiteral("TFmMain"), menu, list({"Zajecia dodatkowe obecnosci", "Uzytkownicy"}));
    EXPECT_EQ(shownLayout(menu), QStringLiteral("Zamknij1 Ochrona1[Uzytkownicy1]"));

    // The next login grants again what the previous one hid.
    permissions::applyFunctions(QStringLiteral("TFmMain"), menu, list({"Dzieci", "Zajecia dodatkowe"}));
    EXPECT_EQ(shownLayout(menu), QStringLiteral("Zajciadodatkowe1 Dzieci1 Zamknij1 Ochrona1[]"));

    // The owner's class is part of the identifier.
    QList<MenuEntry> inform{MenuEntry::command(QStringLiteral("Dzieci1"), QStringLiteral("x")),
                            MenuEntry::command(QStringLiteral("Adresaci1"), QStringLiteral("Adresaci informacji"))};
    permissions::applyFunctions(QStringLiteral("TDMInform"), inform, {});
    EXPECT_EQ(shownLayout(inform), QStringLiteral("Dzieci1"));

    EXPECT_EQ(permissions::commandVisibility(QStringLiteral("TFmMain.Zamknij1"), {}), std::nullopt);
    EXPECT_EQ(permissions::commandVisibility(QStringLiteral("TFmMain.Zajciadodatkowe1"), list({"Zajecia dodatkowe 3"})),
              std::optional<bool>(false));
}

TEST(AccessTidyMenu, SeparatorsAndEmptyMenus)
{
    auto command = [](const char* name, bool visible = true) {
        MenuEntry entry = MenuEntry::command(QString::fromUtf8(name), QString::fromUtf8(name));
        entry.visible = visible;
        return entry;
    };
    const MenuEntry sep = MenuEntry::separatorLine();

    QList<MenuEntry> menu{sep, command("A"), sep, sep, command("H", false), command("B"), sep, command("C", false), sep};
    EXPECT_TRUE(permissions::tidyMenu(menu));
    EXPECT_EQ(shownLayout(menu), QStringLiteral("A - B"));

    // Nothing but separators left: the menu itself goes.
    MenuEntry dane = MenuEntry::menu(QStringLiteral("Dane1"), QStringLiteral("&Dane"),
                                     {command("A", false), sep, command("B", false), sep});
    EXPECT_FALSE(permissions::tidyMenu(dane));
    EXPECT_FALSE(dane.shown());
    EXPECT_TRUE(dane.visible);

    // An emptied submenu counts as hidden, so the separator before it trails.
    QList<MenuEntry> nested{command("A"), sep,
                            MenuEntry::menu(QStringLiteral("Sub"), QStringLiteral("Sub"), {sep, command("X", false)})};
    permissions::tidyMenu(nested);
    EXPECT_EQ(shownLayout(nested), QStringLiteral("A"));

    // Tidying again after another login brings back what is needed again.
    nested[2].children[1].visible = true;
    permissions::tidyMenu(nested);
    EXPECT_EQ(shownLayout(nested), QStringLiteral("A - Sub[X]"));
    dane.children[2].visible = true;
    EXPECT_TRUE(permissions::tidyMenu(dane));
    EXPECT_EQ(shownLayout(dane.children), QStringLiteral("B"));

    // A submenu hidden by its function stays hidden whatever it holds.
    nested[2].visible = false;
    permissions::tidyMenu(nested);
    EXPECT_EQ(shownLayout(nested), QStringLiteral("A"));
}

TEST(AccessVisibleGroups, AllGroupsListedGroupsAndEmptyGroupField)
{
    EXPECT_TRUE(permissions::groupVisible(list({"-1"}), QStringLiteral("7")));
    EXPECT_TRUE(permissions::groupVisible(list({"-1"}), QString()));
    EXPECT_TRUE(permissions::groupVisible(list({"2", "-1", ""}), QString()));

    // As the login leaves it: the list ends with an empty entry.
    const QStringList groups = list({"1", "12", ""});
    EXPECT_TRUE(permissions::groupVisible(groups, QStringLiteral("12")));
    EXPECT_FALSE(permissions::groupVisible(groups, QStringLiteral("2")));
    EXPECT_FALSE(permissions::groupVisible(groups, QString()));
    EXPECT_FALSE(permissions::groupVisible({}, QStringLiteral("1")));
}

TEST(AccessExtraClasses, RegisterAndAttendance)
{
    const QStringList oneClass = list({"Zajecia dodatkowe - 3"});
    const QStringList all = list({"-1"});
    const QStringList group5 = list({"5", ""});

    // Register: only the granted class, and only in a visible group.
    EXPECT_TRUE(permissions::extraClassInRegister(oneClass, all, QStringLiteral("5"), QStringLiteral("3")));
    EXPECT_FALSE(permissions::extraClassInRegister(oneClass, all, QStringLiteral("5"), QStringLiteral("4")));
    EXPECT_FALSE(permissions::extraClassInRegister(oneClass, all, QStringLiteral("5"), QStringLiteral("30")));
    EXPECT_FALSE(permissions::extraClassInRegister(oneClass, list({"6", ""}), QStringLiteral("5"), QStringLiteral("3")));
    EXPECT_FALSE(permissions::extraClassInRegister(oneClass, group5, QString(), QStringLiteral("3")));
    EXPECT_TRUE(permissions::extraClassInRegister(list({"Zajecia dodatkowe"}), group5, QStringLiteral("5"),
                                             QStringLiteral("9")));
    EXPECT_FALSE(permissions::extraClassInRegister(list({"Zajecia dodatkowe obecnosci"}), all, QStringLiteral("5"),
                                              QStringLiteral("9")));

    // Attendance: a class without a group passes the group test; a held class never does without one.
    EXPECT_TRUE(permissions::extraClassInAttendance(oneClass, group5, QString(), QStringLiteral("3")));
    EXPECT_FALSE(permissions::extraClassInAttendance(oneClass, group5, QStringLiteral("6"), QStringLiteral("3")));
    EXPECT_FALSE(permissions::extraClassInAttendance(oneClass, group5, QString(), QStringLiteral("4")));
    EXPECT_TRUE(permissions::extraClassInAttendance(list({"Zajecia dodatkowe obecnosci"}), group5, QStringLiteral("5"),
                                               QStringLiteral("4")));
    EXPECT_TRUE(permissions::heldClassInAttendance(oneClass, group5, QStringLiteral("5"), QStringLiteral("3")));
    EXPECT_FALSE(permissions::heldClassInAttendance(oneClass, group5, QString(), QStringLiteral("3")));
    EXPECT_FALSE(permissions::heldClassInAttendance(oneClass, group5, QStringLiteral("5"), QStringLiteral("4")));
    EXPECT_TRUE(permissions::heldClassInAttendance(list({"Zajecia dodatkowe"}), all, QString(), QStringLiteral("4")));
}

TEST(AccessOneGroup, NarrowingRemovesEveryOccurrence)
{
    // A user and his group both granting a name must not keep it.
    const QStringList granted = list({"Wychowawcy", "Dzieci", "Zajecia dodatkowe", "Zajecia dodatkowe - 3",
                                      "Wychowawcy", "Ceny", "Zajecia dodatkowe", "Obecnosci"});
    const QStringList narrowed = permissions::narrowToOneGroup(granted);
    EXPECT_EQ(narrowed, list({"Dzieci", "Zajecia dodatkowe obecnosci", "Zajecia dodatkowe - 3", "Ceny", "Obecnosci"}));
    EXPECT_EQ(permissions::narrowToOneGroup(narrowed), narrowed);

    // The service account's grant repeats names; the main window then shows
    // only the commands of the kept functions.
    const QStringList service = permissions::narrowToOneGroup(functions::allFunctionNames());
    QList<MenuEntry> main;
    QList<MenuEntry> children;
    for (const auto& entry : functions::table()) {
        const QString owner = entry.identifier.section(QLatin1Char('.'), 0, 0);
        MenuEntry command = MenuEntry::command(entry.identifier.section(QLatin1Char('.'), 1), entry.caption);
        if (owner == QLatin1String("TFmMain"))
            main << command;
        else if (owner == QLatin1String("TDMDzieci"))
            children << command;
    }
    permissions::applyFunctions(QStringLiteral("TFmMain"), main, service);
    permissions::applyFunctions(QStringLiteral("TDMDzieci"), children, service);
    EXPECT_EQ(shownLayout(main), QStringLiteral("Eksportuj1 Kompresjazbiorw1 Upgrade1 Eksportujgrup1 Importujgrup1 "
                                                "Uzytkownicy1 Grupy1 Dzieci1 Obecnosci1 Naldodat1 Informacje1"));
    ASSERT_NE(find(children, QStringLiteral("Media1")), nullptr);
    EXPECT_FALSE(find(children, QStringLiteral("Media1"))->visible);
    EXPECT_TRUE(find(children, QStringLiteral("Zadeklarowanyczaspobytu1"))->visible);
}
