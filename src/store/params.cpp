#include "params.h"

#include "config_sections.h"
#include "database.h"
#include "query.h"

QStringList memoLines(const QString& text)
{
    if (text.isEmpty())
        return {};
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& l : lines)
        if (l.endsWith(QLatin1Char('\r')))
            l.chop(1);
    if (text.endsWith(QLatin1Char('\n')))
        lines.removeLast();
    return lines;
}

namespace {

// Flags look at the first character only, and exactly: a stored "t" is not
// "T", as the options text has always been read.
bool onWhenT(const QString& v) { return v.startsWith(QLatin1Char('T')); }
bool offWhenN(const QString& v) { return !v.startsWith(QLatin1Char('N')); }

// A number parameter is one unsigned byte; a value that is not a decimal
// integer leaves the parameter as it was.
void readByte(const QString& v, int& target)
{
    bool ok = false;
    const qlonglong n = v.toLongLong(&ok, 10);
    if (ok)
        target = int(((n % 256) + 256) % 256);
}

QString flag(bool on) { return on ? QStringLiteral("T") : QStringLiteral("N"); }

}  // namespace

void Parameters::read(const QString& configurationText)
{
    obecnosciSumarycznie = false;
    // Only these start afresh at every reading; the other keys keep what
    // an earlier reading gave them.
    dzieciDane[0].clear();
    dzieciDane[1].clear();
    wychowawcyDane[0].clear();
    wychowawcyDane[1].clear();

    const auto entries = configSection(memoLines(configurationText), [](const QString& line) {
        return line.toUpper() == QLatin1String("[PARAMETRY]");
    });
    for (const auto& [key, value] : entries.value_or(QList<ConfigEntry>())) {
        if (value.isEmpty())
            continue;
        if (key == QStringLiteral("OBECNOŚCI SUMARYCZNIE"))
            obecnosciSumarycznie = onWhenT(value);
        else if (key == QLatin1String("SPOSOBY JEDNOLITE"))
            sposobyJednolite = offWhenN(value);
        else if (key == QLatin1String("GRUPUJ OPLATY"))
            grupujOplaty = onWhenT(value);
        else if (key == QLatin1String("NIEZALEZNE OBECNOSCI DODATKOWE"))
            niezalezneObecnosciDodatkowe = onWhenT(value);
        else if (key.startsWith(QLatin1String("DZIECI DANE ")) && key.size() == 13 && key[12] >= QLatin1Char('1')
                 && key[12] <= QLatin1Char('4'))
            dzieciDane[key[12].unicode() - '1'] = value;
        else if (key == QLatin1String("WYCHOWAWCY DANE 1"))
            wychowawcyDane[0] = value;
        else if (key == QLatin1String("WYCHOWAWCY DANE 2"))
            wychowawcyDane[1] = value;
        else if (key == QLatin1String("FAKTURY TYTULEM"))
            fakturyTytulem = value;
        else if (key == QLatin1String("FAKTURY FORMAT"))
            fakturyFormat = value;
        else if (key == QLatin1String("TEKST NA ROZLICZENIE"))
            tekstNaRozliczenie = value;
        else if (key == QLatin1String("TEKST NA ZALICZKA"))
            tekstNaZaliczka = value;
        else if (key == QLatin1String("TEKST NA WPLATY"))
            tekstNaWplaty = value;
        else if (key == QLatin1String("TEKST NA ZALEGLOSC"))
            tekstNaZaleglosc = value;
        else if (key == QLatin1String("SORT ZESTAWIENIA"))
            sortZestawienia = value;
        else if (key == QLatin1String("DANE ZESTAWIENIA"))
            daneZestawienia = value;
        else if (key == QStringLiteral("ILOŚĆ PO PRZECINKU"))
            readByte(value, iloscPoPrzecinku);
        else if (key == QStringLiteral("PO PRZECINKU DO GÓRY"))
            readByte(value, poPrzecinkuDoGory);
        else if (key == QStringLiteral("DOKŁADNOŚĆ MINUT"))
            readByte(value, dokladnoscMinut);
        else if (key == QLatin1String("WPROWADZANIE MINUT"))
            readByte(value, wprowadzanieMinut);
        else if (key == QLatin1String("NALICZANIE MINUT"))
            readByte(value, naliczanieMinut);
    }
}

void Parameters::load(Database& db)
{
    read(Query(db, QStringLiteral("SELECT PARAMS FROM OPCJE")).scalar().toString());
}

QList<QPair<QString, QString>> Parameters::listing() const
{
    return {
        {QStringLiteral("OBECNOŚCI SUMARYCZNIE"), flag(obecnosciSumarycznie)},
        {QStringLiteral("SPOSOBY JEDNOLITE"), flag(sposobyJednolite)},
        {QStringLiteral("GRUPUJ OPLATY"), flag(grupujOplaty)},
        {QStringLiteral("NIEZALEZNE OBECNOSCI DODATKOWE"), flag(niezalezneObecnosciDodatkowe)},
        {QStringLiteral("DZIECI DANE 1"), dzieciDane[0]},
        {QStringLiteral("DZIECI DANE 2"), dzieciDane[1]},
        {QStringLiteral("DZIECI DANE 3"), dzieciDane[2]},
        {QStringLiteral("DZIECI DANE 4"), dzieciDane[3]},
        {QStringLiteral("WYCHOWAWCY DANE 1"), wychowawcyDane[0]},
        {QStringLiteral("WYCHOWAWCY DANE 2"), wychowawcyDane[1]},
        {QStringLiteral("FAKTURY TYTULEM"), fakturyTytulem},
        {QStringLiteral("FAKTURY FORMAT"), fakturyFormat},
        {QStringLiteral("TEKST NA ROZLICZENIE"), tekstNaRozliczenie},
        {QStringLiteral("TEKST NA ZALICZKA"), tekstNaZaliczka},
        {QStringLiteral("TEKST NA WPLATY"), tekstNaWplaty},
        {QStringLiteral("TEKST NA ZALEGLOSC"), tekstNaZaleglosc},
        {QStringLiteral("SORT ZESTAWIENIA"), sortZestawienia},
        {QStringLiteral("DANE ZESTAWIENIA"), daneZestawienia},
        {QStringLiteral("ILOŚĆ PO PRZECINKU"), QString::number(iloscPoPrzecinku)},
        {QStringLiteral("PO PRZECINKU DO GÓRY"), QString::number(poPrzecinkuDoGory)},
        {QStringLiteral("DOKŁADNOŚĆ MINUT"), QString::number(dokladnoscMinut)},
        {QStringLiteral("WPROWADZANIE MINUT"), QString::number(wprowadzanieMinut)},
        {QStringLiteral("NALICZANIE MINUT"), QString::number(naliczanieMinut)},
    };
}
