#include "demo_catalogue.h"

#include "demo_rows.h"

namespace demo {

Catalogue fillCatalogue(Database& db, const QDate& since, const QDate& priceChange)
{
    Catalogue c;
    for (const char* unit : {"godz.", "dzień", "zaj."})
        insert(db, QStringLiteral("JEDNOST"), {{QStringLiteral("JM"), QString::fromUtf8(unit)}});
    const int exempt = insertKeyed(db, QStringLiteral("STAVAT"),
                                   {{QStringLiteral("NAZWA"), QStringLiteral("zw.")}, {QStringLiteral("VAT"), 0.0},
                                    {QStringLiteral("KOLEJ"), 1}});
    const int reduced = insertKeyed(db, QStringLiteral("STAVAT"),
                                    {{QStringLiteral("NAZWA"), QStringLiteral("8%")}, {QStringLiteral("VAT"), 8.0},
                                     {QStringLiteral("KOLEJ"), 2}});
    const int standard = insertKeyed(db, QStringLiteral("STAVAT"),
                                     {{QStringLiteral("NAZWA"), QStringLiteral("23%")},
                                      {QStringLiteral("VAT"), 23.0}, {QStringLiteral("KOLEJ"), 3}});
    const int basic = insertKeyed(db, QStringLiteral("GRUPYOP"),
                                  {{QStringLiteral("NAZWA"), QStringLiteral("Opłaty podstawowe")},
                                   {QStringLiteral("KOLEJ"), 1}});
    const int extra = insertKeyed(db, QStringLiteral("GRUPYOP"),
                                  {{QStringLiteral("NAZWA"), QStringLiteral("Zajęcia dodatkowe")},
                                   {QStringLiteral("KOLEJ"), 2}});
    auto component = [&](const QString& name, int group, int order) {
        return insertKeyed(db, QStringLiteral("MEDIA"),
                           {{QStringLiteral("NAZWA"), name}, {QStringLiteral("GRUPAOP"), group},
                            {QStringLiteral("KOLEJ"), order}});
    };
    c.stay = component(QStringLiteral("Pobyt ponad czas bezpłatny"), basic, 1);
    c.meals = component(QStringLiteral("Wyżywienie"), basic, 2);
    c.rhythmics = component(QStringLiteral("Rytmika"), extra, 3);

    auto price = [&](int medium, const QDate& from, const QDate& to, double amount, const QString& unit, int vat) {
        insert(db, QStringLiteral("TARMED"),
               {{QStringLiteral("TARYFA"), 0}, {QStringLiteral("MEDIUM"), medium}, {QStringLiteral("ODDATY"), from},
                {QStringLiteral("DODATY"), to}, {QStringLiteral("CENA"), amount}, {QStringLiteral("JM"), unit},
                {QStringLiteral("STAWKA"), vat}});
    };
    price(c.stay, since, QDate(), 1.30, QStringLiteral("godz."), exempt);
    // The meals price went up from the second month: the settlement of the
    // first month keeps the old one.
    price(c.meals, since, priceChange.addDays(-1), 9.50, QStringLiteral("dzień"), reduced);
    price(c.meals, priceChange, QDate(), 10.00, QStringLiteral("dzień"), reduced);
    price(c.rhythmics, since, QDate(), 15.00, QStringLiteral("zaj."), standard);

    c.rhythmicsClass = insertKeyed(db, QStringLiteral("ZAJDOD"),
                                   {{QStringLiteral("NAZWA"), QStringLiteral("Rytmika")},
                                    {QStringLiteral("KOLEJ"), 1}});
    insert(db, QStringLiteral("ZAJDAT"),
           {{QStringLiteral("ZAJECIE"), c.rhythmicsClass}, {QStringLiteral("ODDATY"), since},
            {QStringLiteral("DZIENTYG"), QString::number(rhythmicsWeekday)}, {QStringLiteral("CZASP"), at(10, 0)},
            {QStringLiteral("CZASW"), at(10, 45)}});

    auto method = [&](const QString& name, const QString& definition) {
        return insertKeyed(db, QStringLiteral("SPOSOBY"),
                           {{QStringLiteral("NAZWA"), name}, {QStringLiteral("OPIS"), definition}});
    };
    c.stayDeclared = method(QStringLiteral("Pobyt wg deklaracji"), QStringLiteral("IE"));
    c.staySettled = method(QStringLiteral("Pobyt wg obecności"), QStringLiteral("IS"));
    c.mealsPlanned = method(QStringLiteral("Posiłki w dni robocze"), QStringLiteral("ID"));
    c.mealsEaten = method(QStringLiteral("Posiłki w dni obecności"), QStringLiteral("IT"));
    const QString k = QString::number(c.rhythmicsClass);
    c.classesPlanned = method(QStringLiteral("Rytmika wg planu"), QStringLiteral("IO[%1]").arg(k));
    c.classesAttended = method(QStringLiteral("Rytmika wg obecności"), QStringLiteral("IQ[%1]").arg(k));

    // The free five hours of the day, for every child.
    insert(db, QStringLiteral("CZASBEZP"),
           {{QStringLiteral("ODDATY"), since.addYears(-1)}, {QStringLiteral("CZASP"), at(8, 0)},
            {QStringLiteral("CZASW"), at(13, 0)}});
    return c;
}

}  // namespace demo
