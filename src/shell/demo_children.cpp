#include "demo_children.h"

#include "demo_catalogue.h"

#include <QSet>

namespace demo {

namespace {

const QList<QString> surnames = {
    QStringLiteral("Nowak"), QStringLiteral("Kowalski"), QStringLiteral("Wiśniewski"), QStringLiteral("Wójcik"),
    QStringLiteral("Kowalczyk"), QStringLiteral("Kamiński"), QStringLiteral("Lewandowski"),
    QStringLiteral("Zieliński"), QStringLiteral("Szymański"), QStringLiteral("Woźniak"),
    QStringLiteral("Dąbrowski"), QStringLiteral("Kozłowski"), QStringLiteral("Jankowski"), QStringLiteral("Mazur"),
    QStringLiteral("Wojciechowski"), QStringLiteral("Kwiatkowski"), QStringLiteral("Krawczyk"),
    QStringLiteral("Kaczmarek"), QStringLiteral("Piotrowski"), QStringLiteral("Grabowski"), QStringLiteral("Zając"),
    QStringLiteral("Pawłowski"), QStringLiteral("Michalski"), QStringLiteral("Król"), QStringLiteral("Wieczorek"),
    QStringLiteral("Jabłoński"), QStringLiteral("Wróbel"), QStringLiteral("Nowakowski"), QStringLiteral("Majewski"),
    QStringLiteral("Olszewski"), QStringLiteral("Stępień"), QStringLiteral("Malinowski"), QStringLiteral("Jaworski"),
    QStringLiteral("Adamczyk"), QStringLiteral("Dudek"), QStringLiteral("Nowicki"), QStringLiteral("Pawlak"),
    QStringLiteral("Górski"), QStringLiteral("Witkowski"), QStringLiteral("Walczak"), QStringLiteral("Sikora"),
    QStringLiteral("Baran"), QStringLiteral("Rutkowski"), QStringLiteral("Michalak"), QStringLiteral("Szewczyk"),
    QStringLiteral("Ostrowski"), QStringLiteral("Tomaszewski"), QStringLiteral("Pietrzak"), QStringLiteral("Marciniak"),
    QStringLiteral("Wróblewski"),
};
const QList<QString> girls = {
    QStringLiteral("Zofia"), QStringLiteral("Zuzanna"), QStringLiteral("Hanna"), QStringLiteral("Julia"),
    QStringLiteral("Maja"), QStringLiteral("Lena"), QStringLiteral("Alicja"), QStringLiteral("Oliwia"),
    QStringLiteral("Laura"), QStringLiteral("Amelia"), QStringLiteral("Pola"), QStringLiteral("Maria"),
    QStringLiteral("Emilia"), QStringLiteral("Antonina"), QStringLiteral("Natalia"), QStringLiteral("Wiktoria"),
    QStringLiteral("Helena"), QStringLiteral("Liliana"), QStringLiteral("Nadia"), QStringLiteral("Gabriela"),
};
const QList<QString> boys = {
    QStringLiteral("Antoni"), QStringLiteral("Jan"), QStringLiteral("Aleksander"), QStringLiteral("Franciszek"),
    QStringLiteral("Nikodem"), QStringLiteral("Jakub"), QStringLiteral("Leon"), QStringLiteral("Stanisław"),
    QStringLiteral("Mikołaj"), QStringLiteral("Szymon"), QStringLiteral("Filip"), QStringLiteral("Ignacy"),
    QStringLiteral("Wojciech"), QStringLiteral("Adam"), QStringLiteral("Kacper"), QStringLiteral("Tymon"),
    QStringLiteral("Michał"), QStringLiteral("Marcel"), QStringLiteral("Wiktor"), QStringLiteral("Józef"),
};
const QList<QString> mothers = {
    QStringLiteral("Anna"), QStringLiteral("Katarzyna"), QStringLiteral("Magdalena"), QStringLiteral("Agnieszka"),
    QStringLiteral("Monika"), QStringLiteral("Joanna"), QStringLiteral("Ewa"), QStringLiteral("Marta"),
    QStringLiteral("Aleksandra"), QStringLiteral("Karolina"),
};
const QList<QString> fathers = {
    QStringLiteral("Tomasz"), QStringLiteral("Piotr"), QStringLiteral("Paweł"), QStringLiteral("Marcin"),
    QStringLiteral("Krzysztof"), QStringLiteral("Michał"), QStringLiteral("Łukasz"), QStringLiteral("Andrzej"),
};
const QList<QString> streets = {
    QStringLiteral("Słoneczna"), QStringLiteral("Lipowa"), QStringLiteral("Polna"), QStringLiteral("Leśna"),
    QStringLiteral("Ogrodowa"), QStringLiteral("Kwiatowa"), QStringLiteral("Klonowa"), QStringLiteral("Brzozowa"),
    QStringLiteral("Szkolna"), QStringLiteral("Kościuszki"), QStringLiteral("Mickiewicza"),
    QStringLiteral("Kopernika"), QStringLiteral("Sienkiewicza"), QStringLiteral("Wiosenna"),
    QStringLiteral("Akacjowa"), QStringLiteral("Różana"), QStringLiteral("Parkowa"), QStringLiteral("Łąkowa"),
    QStringLiteral("Dębowa"), QStringLiteral("Jaśminowa"),
};

// Polish surnames ending in -ski, -cki, -dzki take -ska, -cka, -dzka for women.
QString feminine(const QString& surname)
{
    if (surname.endsWith(QLatin1String("ski")) || surname.endsWith(QLatin1String("cki"))
        || surname.endsWith(QLatin1String("dzki")))
        return surname.left(surname.size() - 1) + QLatin1Char('a');
    return surname;
}

// A PESEL number with a valid check digit; the tenth digit is even for girls.
QString pesel(const QDate& born, bool girl, Dice& dice)
{
    const int monthCode = born.month() + (born.year() >= 2000 ? 20 : 0);
    QString digits = QStringLiteral("%1%2%3%4")
                         .arg(born.year() % 100, 2, 10, QLatin1Char('0'))
                         .arg(monthCode, 2, 10, QLatin1Char('0'))
                         .arg(born.day(), 2, 10, QLatin1Char('0'))
                         .arg(dice.between(0, 999), 3, 10, QLatin1Char('0'));
    digits += QString::number(dice.between(0, 4) * 2 + (girl ? 0 : 1));
    static const int weights[] = {1, 3, 7, 9, 1, 3, 7, 9, 1, 3};
    int sum = 0;
    for (int i = 0; i < 10; ++i)
        sum += digits[i].digitValue() * weights[i];
    return digits + QString::number((10 - sum % 10) % 10);
}

struct Group {
    const char* name;
    int age;
};

}  // namespace

QList<Child> fillChildren(Database& db, Dice& dice, const Catalogue& c, const QDate& since, const QDate& newcomer,
                          int perGroup, int& groups)
{
    static const Group groupList[] = {{"Biedronki", 3}, {"Motylki", 4}, {"Sówki", 5}};
    static const QList<QTime> arrivals = {at(7, 0), at(7, 15), at(7, 30), at(7, 45), at(8, 0), at(8, 30)};
    static const QList<QTime> departures = {at(14, 0), at(14, 30), at(15, 0), at(15, 30),
                                            at(16, 0), at(16, 30), at(17, 0)};
    QList<Child> children;
    QSet<QString> names;
    int order = 0;
    for (const Group& g : groupList) {
        const int group = insertKeyed(db, QStringLiteral("KLASY"),
                                      {{QStringLiteral("NAZWA"), QString::fromUtf8(g.name)},
                                       {QStringLiteral("KOLEJ"), ++order}});
        ++groups;
        for (int i = 0; i < perGroup; ++i) {
            const bool girl = dice.percent(50);
            QString surname, name;
            for (int attempt = 0; attempt < 50 && (name.isEmpty() || names.contains(name)); ++attempt) {
                surname = dice.pick(surnames);
                name = (girl ? feminine(surname) : surname) + QLatin1Char(' ') + dice.pick(girl ? girls : boys);
            }
            if (names.contains(name))
                name += QLatin1Char(' ') + dice.pick(girl ? girls : boys);
            names.insert(name);

            const QDate born(since.year() - g.age, dice.between(1, 12), dice.between(1, 28));
            const QString street = QStringLiteral("%1 %2").arg(dice.pick(streets)).arg(dice.between(1, 120))
                                 + (dice.percent(40) ? QStringLiteral("/%1").arg(dice.between(1, 40)) : QString());
            const QString postCode = QStringLiteral("02-%1").arg(dice.between(1, 999), 3, 10, QLatin1Char('0'));
            const bool mother = dice.percent(70);
            const QString parent = (mother ? feminine(surname) : surname) + QLatin1Char(' ')
                                 + dice.pick(mother ? mothers : fathers);
            const QString phone = QStringLiteral("%1 %2 %3")
                                      .arg(dice.between(500, 799))
                                      .arg(dice.between(100, 999))
                                      .arg(dice.between(100, 999));
            Child child;
            // The last child of the first group joins during the second month.
            child.admitted = order == 1 && i == perGroup - 1 ? newcomer : since;
            child.arrival = dice.pick(arrivals);
            child.departure = dice.pick(departures);
            child.group = group;
            child.kod = insertKeyed(
                db, QStringLiteral("DZIECI"),
                {{QStringLiteral("NAZWA"), name},
                 {QStringLiteral("PRZEDUL"), QStringLiteral("ul.")},
                 {QStringLiteral("ULICA"), street},
                 {QStringLiteral("KODPOCZ"), postCode},
                 {QStringLiteral("MIASTO"), QStringLiteral("Warszawa")},
                 {QStringLiteral("PESEL"), pesel(born, girl, dice)},
                 {QStringLiteral("DATAUR"), born},
                 {QStringLiteral("KLASA"), group},
                 {QStringLiteral("NAZWAKOR"), parent},
                 {QStringLiteral("PRZEDULKOR"), QStringLiteral("ul.")},
                 {QStringLiteral("ULICAKOR"), street},
                 {QStringLiteral("KODPOCZKOR"), postCode},
                 {QStringLiteral("MIASTOKOR"), QStringLiteral("Warszawa")},
                 {QStringLiteral("TELEFON"), phone},
                 {QStringLiteral("EMAIL"),
                  QStringLiteral("rodzic%1@example.com").arg(children.size() + 1)},
                 {QStringLiteral("STATUS"), 0},
                 {QStringLiteral("AKTYWNY"), QStringLiteral("T")}});
            insert(db, QStringLiteral("DZIECZAS"),
                   {{QStringLiteral("OSOBA"), child.kod}, {QStringLiteral("ODDATY"), child.admitted},
                    {QStringLiteral("CZASP"), child.arrival}, {QStringLiteral("CZASW"), child.departure}});
            auto enrol = [&](int medium, int method, int settlement, double helpShare) {
                insert(db, QStringLiteral("DZIEMED"),
                       {{QStringLiteral("OSOBA"), child.kod}, {QStringLiteral("MEDIUM"), medium},
                        {QStringLiteral("ODDATY"), child.admitted}, {QStringLiteral("SPOSOB"), method},
                        {QStringLiteral("SPOROZ"), settlement},
                        {QStringLiteral("PROCOPIE"), helpShare > 0 ? QVariant(helpShare) : QVariant()}});
            };
            enrol(c.stay, c.stayDeclared, c.staySettled, 0);
            // The help centre pays half of the meals of every twentieth child.
            enrol(c.meals, c.mealsPlanned, c.mealsEaten, children.size() % 20 == 7 ? 50.0 : 0);
            if (g.age >= 4 && dice.percent(50)) {
                enrol(c.rhythmics, c.classesPlanned, c.classesAttended, 0);
                child.rhythmics = true;
                insert(db, QStringLiteral("DZIEZAJ"),
                       {{QStringLiteral("OSOBA"), child.kod}, {QStringLiteral("ZAJECIE"), c.rhythmicsClass},
                        {QStringLiteral("ODDATY"), child.admitted}});
            }
            children << child;
        }
    }
    return children;
}

}  // namespace demo
