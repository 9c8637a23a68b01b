#include "function_names.h"

#include <QHash>

namespace functions {

const QList<Entry>& table()
{
    static const QList<Entry> entries{
        {QStringLiteral("TFmMain.Eksportuj1"), QStringLiteral("&Eksportuj"), QStringLiteral("Prawa dostepu")},
        {QStringLiteral("TFmMain.Kompresjazbiorw1"), QStringLiteral("Kompresja zbiorów"), QStringLiteral("Prawa dostepu")},
        {QStringLiteral("TFmMain.Upgrade1"), QStringLiteral("Sprawdź wersję"), QStringLiteral("Prawa dostepu")},
        {QStringLiteral("TFmMain.Eksportujgrup1"), QStringLiteral("Eksportuj grupę dzieci"), QStringLiteral("Synchronizacja grupy")},
        {QStringLiteral("TFmMain.Importujgrup1"), QStringLiteral("Importuj grupę dzieci"), QStringLiteral("Synchronizacja grupy")},
        {QStringLiteral("TFmMain.Uzytkownicy1"), QStringLiteral("&Użytkownicy"), QStringLiteral("Uzytkownicy")},
        {QStringLiteral("TFmMain.Grupy1"), QStringLiteral("&Grupy"), QStringLiteral("Grupy uzytkownikow")},
        {QStringLiteral("TFmMain.Dzieci1"), QStringLiteral("&Dzieci"), QStringLiteral("Dzieci")},
        {QStringLiteral("TFmMain.Wychowawcy1"), QStringLiteral("&Wychowawcy"), QStringLiteral("Wychowawcy")},
        {QStringLiteral("TFmMain.Obecnosci1"), QStringLiteral("Lista &obecności"), QStringLiteral("Obecnosci")},
        {QStringLiteral("TFmMain.Rozrachunki1"), QStringLiteral("&Rozrachunki"), QStringLiteral("Rozrachunki")},
        {QStringLiteral("TFmMain.Naldodat1"), QStringLiteral("&Naliczenia dodatkowe"), QStringLiteral("Naliczenia dodatkowe")},
        {QStringLiteral("TFmMain.Informacje1"), QStringLiteral("Informacje"), QStringLiteral("Informacje")},
        {QStringLiteral("TFmMain.Zgloszenia1"), QStringLiteral("Zgłoszenia"), QStringLiteral("Zgloszenia")},
        {QStringLiteral("TFmMain.Terminy1"), QStringLiteral("Terminy"), QStringLiteral("Terminy")},
        {QStringLiteral("TFmMain.Przypomnienia1"), QStringLiteral("&Przypomnienia"), QStringLiteral("Przypomnienia")},
        {QStringLiteral("TFmMain.Posilki1"), QStringLiteral("Posiłki"), QStringLiteral("Posilki")},
        {QStringLiteral("TFmMain.Korespondencja1"), QStringLiteral("Korespondencja"), QStringLiteral("Korespondencja")},
        {QStringLiteral("TFmMain.Media1"), QStringLiteral("&Składniki opłat"), QStringLiteral("Skladniki")},
        {QStringLiteral("TFmMain.Czasbezpatny1"), QStringLiteral("Czas bezpłatny"), QStringLiteral("Czas bezplatny")},
        {QStringLiteral("TFmMain.Graniceobecnoci1"), QStringLiteral("Granice obecności"), QStringLiteral("Konfiguracja")},
        {QStringLiteral("TFmMain.Zajciadodatkowe1"), QStringLiteral("&Zajęcia dodatkowe"), QStringLiteral("Zajecia dodatkowe")},
        {QStringLiteral("TFmMain.Synchronizacja1"), QStringLiteral("Synchronizacja z &internetem"), QStringLiteral("Internet")},
        {QStringLiteral("TFmMain.Klasy1"), QStringLiteral("&Grupy dzieci"), QStringLiteral("Grupy dzieci")},
        {QStringLiteral("TFmMain.Grupyoplat1"), QStringLiteral("Grupy &opłat"), QStringLiteral("Grupy oplat")},
        {QStringLiteral("TFmMain.Sposoby1"), QStringLiteral("Sposoby &liczenia"), QStringLiteral("Sposoby liczenia")},
        {QStringLiteral("TFmMain.Jednostkimiary1"), QStringLiteral("&Jednostki miary"), QStringLiteral("Jednostki miary")},
        {QStringLiteral("TFmMain.Obrazy1"), QStringLiteral("Obrazy"), QStringLiteral("Szablony")},
        {QStringLiteral("TFmMain.Konfiguracja1"), QStringLiteral("&Konfiguracja"), QStringLiteral("Konfiguracja")},
        {QStringLiteral("TFmMain.Szablony1"), QStringLiteral("&Szablony"), QStringLiteral("Szablony")},
        {QStringLiteral("TDMDzieci.Media1"), QStringLiteral("&Składniki opłat dziecka"), QStringLiteral("Skladniki")},
        {QStringLiteral("TDMDzieci.Klasy1"), QStringLiteral("Poprzednie &grupy dziecka"), QStringLiteral("Grupy dzieci")},
        {QStringLiteral("TDMDzieci.Zadeklarowanyczaspobytu1"), QStringLiteral("Zadeklarowany czas pobytu"), QStringLiteral("Czas pobytu")},
        {QStringLiteral("TDMDzieci.Obecnosci1"), QStringLiteral("Lista &obecności dziecka"), QStringLiteral("Obecnosci")},
        {QStringLiteral("TDMDzieci.Rozrachunki1"), QStringLiteral("Rozrachunki dziecka"), QStringLiteral("Rozrachunki")},
        {QStringLiteral("TDMDzieci.Informacje1"), QStringLiteral("Informacje dziecka"), QStringLiteral("Informacje")},
        {QStringLiteral("TDMDzieci.Zgloszenia1"), QStringLiteral("Zgłoszenia dziecka"), QStringLiteral("Zgloszenia")},
        {QStringLiteral("TDMDzieci.Korespondencja1"), QStringLiteral("Korespondencja"), QStringLiteral("Korespondencja")},
        {QStringLiteral("TDMDzieci.Haslo1"), QStringLiteral("Hasło w internecie"), QStringLiteral("Internet")},
        {QStringLiteral("TDMDzieci.Odbiera1"), QStringLiteral("Osoby odbierające"), QStringLiteral("Odbiera")},
        {QStringLiteral("TDMDzieci.Operacje1"), QStringLiteral("Operacje dla zaznaczonych dzieci"), QStringLiteral("Operacje")},
        {QStringLiteral("TDMGrupy.GrupUzyt1"), QStringLiteral("&Użytkownicy grupy"), QStringLiteral("Uzytkownicy")},
        {QStringLiteral("TDMGrupy.Prawadostepu1"), QStringLiteral("&Prawa dostępu"), QStringLiteral("Prawa dostepu")},
        {QStringLiteral("TDMGrupy.Widocznefunkcje1"), QStringLiteral("Widoczne &funkcje"), QStringLiteral("Prawa dostepu")},
        {QStringLiteral("TDMGrupy.Widocznegrupydzieci1"), QStringLiteral("Widoczne grupy &dzieci"), QStringLiteral("Prawa dostepu")},
        {QStringLiteral("TDMInform.Adresaci1"), QStringLiteral("Adresaci informacji"), QStringLiteral("Dzieci")},
        {QStringLiteral("TDMInform.Nowiadresaci1"), QStringLiteral("Przyporządkuj nowych adresatów"), QStringLiteral("Dzieci")},
        {QStringLiteral("TDMInform.Wylijemaildoadresatw1"), QStringLiteral("Wyślij e-mail do adresatów"), QStringLiteral("Dzieci")},
        {QStringLiteral("TDMMedia.Ceny1"), QStringLiteral("&Ceny"), QStringLiteral("Ceny")},
        {QStringLiteral("TDMRozrach.Wyliczone1"), QStringLiteral("Wyliczone opłaty"), QStringLiteral("Oplaty wyliczone")},
        {QStringLiteral("TDMRozrach.Zatwierdzone1"), QStringLiteral("Zatwierdzone opłaty"), QStringLiteral("Oplaty zatwierdzone")},
        {QStringLiteral("TDMRozrach.Wplaty1"), QStringLiteral("Wpłaty"), QStringLiteral("Wplaty")},
        {QStringLiteral("TDMRozrach.Deklaracjewplat1"), QStringLiteral("Potwierdzenia wpłat"), QStringLiteral("Potwierdzenia wplat")},
        {QStringLiteral("TDMRozrach.Zestawienia1"), QStringLiteral("Zestawienia"), QStringLiteral("Zestawienia")},
        {QStringLiteral("TDMRozrach.Dniwolne1"), QStringLiteral("Zaznacz wolne dni"), QStringLiteral("Dni wolne")},
        {QStringLiteral("TDMRozrach.Wyliczone2"), QStringLiteral("Wylicz opłaty"), QStringLiteral("Oplaty wyliczone")},
        {QStringLiteral("TDMRozrach.Zatwierdzone2"), QStringLiteral("Zatwierdź opłaty"), QStringLiteral("Oplaty zatwierdzone")},
        {QStringLiteral("TDMRozrach.Cofnijopaty1"), QStringLiteral("Cofnij opłaty"), QStringLiteral("Oplaty zatwierdzone")},
        {QStringLiteral("TDMUzyt.UzytGrup1"), QStringLiteral("&Grupy użytkownika"), QStringLiteral("Uzytkownicy")},
        {QStringLiteral("TDMUzyt.Prawadostepu1"), QStringLiteral("&Prawa dostępu"), QStringLiteral("Prawa dostepu")},
        {QStringLiteral("TDMUzyt.Widocznefunkcje1"), QStringLiteral("Widoczne &funkcje"), QStringLiteral("Prawa dostepu")},
        {QStringLiteral("TDMUzyt.Widocznegrupydzieci1"), QStringLiteral("Widoczne grupy &dzieci"), QStringLiteral("Prawa dostepu")},
        {QStringLiteral("TDMWychow.Klasy1"), QStringLiteral("Poprzednie grupy"), QStringLiteral("Grupy dzieci")},
    };
    return entries;
}

QStringList allFunctionNames()
{
    QStringList names;
    names.reserve(table().size());
    for (const Entry& entry : table())
        names << entry.function;
    return names;
}

QString functionOf(const QString& identifier)
{
    // Looked up for every command of every module created; a hash keeps that cheap.
    static const QHash<QString, QString> byIdentifier = [] {
        QHash<QString, QString> map;
        for (const Entry& entry : table())
            map.insert(entry.identifier, entry.function);
        return map;
    }();
    return byIdentifier.value(identifier);
}

}  // namespace functions
