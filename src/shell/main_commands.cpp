#include "main_commands.h"

namespace mainmenu {

namespace {

QString s(const char* text) { return QString::fromUtf8(text); }

CommandDef def(const char* menu, const char* name, const char* caption, int image, const char* hint, Action action,
               const char* area = nullptr, const char* shortcut = nullptr)
{
    CommandDef d;
    d.menu = s(menu);
    d.name = s(name);
    d.caption = s(caption);
    d.image = image;
    d.hint = s(hint);
    d.action = action;
    if (area)
        d.area = s(area);
    if (shortcut)
        d.shortcut = s(shortcut);
    return d;
}

CommandDef area(const char* menu, const char* name, const char* caption, int image, const char* hint)
{
    // A register's area carries its command's name without the trailing "1".
    QByteArray areaName(name);
    areaName.chop(1);
    return def(menu, name, caption, image, hint, Action::Area, areaName.constData());
}

// A separator in the menu, kept in the table so that menu order is one list.
CommandDef separator(const char* menu)
{
    CommandDef d;
    d.menu = s(menu);
    return d;
}

const QList<CommandDef>& all()
{
    static const QList<CommandDef> table = [] {
        QList<CommandDef> t;
        t << def("Plik1", "Zamknij1", "&Zamknij", -1, "", Action::Close, nullptr, "Alt+F4")
          << def("Plik1", "Eksportuj1", "&Eksportuj", -1, "Eksportuj", Action::Backup)
          << area("Plik1", "Naprawaindeksw1", "Naprawa indeksów", -1, "Naprawa indeksów")
          << area("Plik1", "Kompresjazbiorw1", "Kompresja zbiorów", -1, "Kompresja zbiorów")
          << area("Plik1", "Upgrade1", "Sprawdź wersję", -1, "Sprawdź wersję  bazy");

        t << area("Ochrona1", "Uzytkownicy1", "&Użytkownicy", 1, "Kartoteka użytkowników systemu")
          << area("Ochrona1", "Grupy1", "&Grupy", 2, "Grupy użytkowników systemu") << separator("Ochrona1")
          << def("Ochrona1", "Nowehaslo1", "&Nowe hasło", -1, "", Action::NewPassword)
          << def("Ochrona1", "Wylogowanie1", "&Wylogowanie", -1, "", Action::Logout)
          << def("Ochrona1", "Logowanie1", "&Logowanie", -1, "", Action::Login);

        t << area("Dane1", "Dzieci1", "&Dzieci", 3, "Kartoteka dzieci")
          << area("Dane1", "Wychowawcy1", "&Wychowawcy", 4, "Kartoteka wychowawców")
          << area("Dane1", "Obecnosci1", "Lista &obecności", 5, "Lista obecności")
          << area("Dane1", "Rozrachunki1", "&Rozrachunki", 6, "Rozrachunki")
          << area("Dane1", "Naldodat1", "&Naliczenia dodatkowe", 31, "Naliczenia dodatkowe")
          << area("Dane1", "Informacje1", "Informacje", 7, "Informacje")
          << area("Dane1", "Zgloszenia1", "Zgłoszenia", 8, "Zgłoszenia")
          << area("Dane1", "Terminy1", "Terminy", 9, "Terminy okresowe")
          << area("Dane1", "Przypomnienia1", "&Przypomnienia", 10, "Przypomnienia")
          << area("Dane1", "Posilki1", "Posiłki", 11, "Posiłki")
          << area("Dane1", "Korespondencja1", "Korespondencja", 12, "Korespondencja")
          << area("Dane1", "Media1", "&Składniki opłat", 13, "Składniki opłat")
          << area("Dane1", "Czasbezpatny1", "Czas bezpłatny", 47, "Czas bezpłatny")
          << area("Dane1", "Graniceobecnoci1", "Granice obecności", 48, "Granice obecności")
          << area("Dane1", "Zajciadodatkowe1", "&Zajęcia dodatkowe", 49, "Zajęcia dodatkowe") << separator("Dane1")
          << def("Dane1", "Synchronizacja1", "Synchronizacja z &internetem", 14, "Synchronizacja z internetem",
                 Action::Internet)
          << area("Dane1", "Eksportujgrup1", "Eksportuj grupę dzieci", 30, "Eksportuj grupę dzieci")
          << area("Dane1", "Importujgrup1", "Importuj grupę dzieci", 29, "Importuj grupę dzieci")
          << area("Dane1", "Wprowadzanieczasu1", "Wprowadzanie &czasu pobytu", 50, "Wprowadzanie czasu pobytu");

        t << area("Sowniki1", "Klasy1", "&Grupy dzieci", 15, "Grupy dzieci")
          << area("Sowniki1", "Grupyoplat1", "Grupy &opłat", 16, "Grupy opłat")
          << area("Sowniki1", "Sposoby1", "Sposoby &liczenia", 17, "Sposoby liczenia opłat")
          << area("Sowniki1", "Jednostkimiary1", "&Jednostki miary", 18, "Jednostki miary")
          << area("Sowniki1", "Stawkivat1", "Stawki VAT", -1, "Stawki VAT")
          << area("Sowniki1", "Obrazy1", "Obrazy", 19, "Obrazy")
          << area("Sowniki1", "Statusy1", "Statusy", 52, "Statusy");

        t << area("Ustawienia1", "Konfiguracja1", "&Konfiguracja", -1, "")
          << area("Ustawienia1", "Szablony1", "&Szablony", -1, "")
          << def("Ustawienia1", "Datasystemu1", "&Data systemu", -1, "", Action::SystemDate)
          << def("Ustawienia1", "Filtrujnadat1", "&Filtruj na datę systemu", -1, "", Action::DateFilter)
          << def("Ustawienia1", "Oknamodalne1", "Okna &modalne", -1, "", Action::ModalWindows)
          << def("Ustawienia1", "Wypukeprzyciski1", "Wypukłe &przyciski", -1, "", Action::RaisedButtons)
          << def("Ustawienia1", "Autoedycja1", "Auto &edycja", -1, "", Action::AutoEdit)
          << def("Ustawienia1", "Nawierzchu1", "&Na wierzchu", -1, "", Action::StayOnTop);

        t << area("Pomoc1", "Tematypomocy1", "&Tematy pomocy", -1, "Tematy pomocy")
          << def("Pomoc1", "Oprogramie1", "&O programie", -1, "O programie", Action::About);
        return t;
    }();
    return table;
}

const QList<CommandDef>& commandsOnly()
{
    static const QList<CommandDef> list = [] {
        QList<CommandDef> out;
        for (const CommandDef& d : all())
            if (!d.name.isEmpty())
                out << d;
        return out;
    }();
    return list;
}

}  // namespace

const QList<CommandDef>& commands() { return commandsOnly(); }

const CommandDef* command(const QString& name)
{
    for (const CommandDef& d : commandsOnly())
        if (d.name == name)
            return &d;
    return nullptr;
}

QString identifier(const QString& name) { return owner() + QLatin1Char('.') + name; }

QList<permissions::MenuEntry> menuTree()
{
    using permissions::MenuEntry;
    const QList<QPair<QString, QString>> menus{
        {fileMenu(), s("&Plik")},         {securityMenu(), s("&Ochrona")},      {dataMenu(), s("&Dane")},
        {dictionaryMenu(), s("&Słowniki")}, {settingsMenu(), s("&Ustawienia")}, {helpMenu(), s("Po&moc")},
    };
    QList<MenuEntry> tree;
    for (const auto& [menuName, caption] : menus) {
        QList<MenuEntry> children;
        for (const CommandDef& d : all()) {
            if (d.menu != menuName)
                continue;
            children << (d.name.isEmpty() ? MenuEntry::separatorLine() : MenuEntry::command(d.name, d.caption));
        }
        tree << MenuEntry::menu(menuName, caption, children);
    }
    return tree;
}

QStringList areaNames()
{
    QStringList names;
    for (const CommandDef& d : commandsOnly())
        if (d.action == Action::Area)
            names << d.area;
    names << syncArea() << syncConfigurationArea() << webLoginsArea();
    return names;
}

}  // namespace mainmenu
