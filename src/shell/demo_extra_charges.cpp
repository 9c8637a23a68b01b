#include "demo_extra_charges.h"

#include "store/database.h"
#include "store/money.h"
#include "store/query.h"

#include <cmath>

namespace demo {

namespace {

struct Announced {
    int group;  // index into the groups; -1: every child
    QDate date;
    const char* shortName;
    double amount;
    const char* description;
};

int nextCode(Database& db, const QVariant& group)
{
    if (group.isNull())
        return 1 + count(db, QStringLiteral("SELECT MAX(KOD) FROM NALKLA WHERE KLASA IS NULL"));
    return 1 + Query(db, QStringLiteral("SELECT MAX(KOD) FROM NALKLA WHERE KLASA = :G"))
                   .bind(QStringLiteral("G"), group)
                   .scalar()
                   .toInt();
}

}  // namespace

int fillExtraCharges(Database& db, Dice& dice, const QList<Child>& children, const QList<int>& groups,
                     const QDate& today, const QDate& schoolYear)
{
    const QList<Announced> announced = {
        {-1, schoolYear.addDays(14), "Ubezpieczenie NNW", 48.00,
         "Ubezpieczenie od następstw nieszczęśliwych wypadków na cały rok szkolny."},
        {-1, today.addDays(-45), "Teatrzyk „Calineczka”", 12.50,
         "Przedstawienie teatru objazdowego w sali gimnastycznej przedszkola."},
        {1, today.addDays(-26), "Wycieczka do ZOO", 38.00,
         "Przejazd autokarem, bilety wstępu i zajęcia z przewodnikiem."},
        {0, today.addDays(-15), "Zdjęcia grupowe", 15.00, "Zdjęcie grupowe i portret w passe-partout."},
        {2, today.addDays(-8), "Warsztaty ceramiczne", 27.50,
         "Zajęcia w pracowni ceramiki; prace wypalone do odbioru po tygodniu."},
        {-1, today.addDays(9), "Koncert filharmonii", 9.90, "Koncert muzyków filharmonii w przedszkolu."},
    };
    int written = 0;
    for (const Announced& a : announced) {
        const QVariant group = a.group < 0 || a.group >= groups.size() ? QVariant() : QVariant(groups[a.group]);
        const int code = nextCode(db, group);
        const double amount = money::round(a.amount);
        insert(db, QStringLiteral("NALKLA"),
               {{QStringLiteral("KLASA"), group}, {QStringLiteral("KOD"), code}, {QStringLiteral("DATA"), a.date},
                {QStringLiteral("SKROT"), QString::fromUtf8(a.shortName)}, {QStringLiteral("KWOTA"), amount},
                {QStringLiteral("OPIS"), QString::fromUtf8(a.description)}});
        ++written;
        if (a.date > today)
            continue;  // announced, nobody has paid yet
        // The more recent the charge, the more parents still owe it.
        const int unpaid = a.date.daysTo(today) < 14 ? 30 : 6;
        for (const Child& child : children) {
            if ((!group.isNull() && child.group != group.toInt()) || child.admitted > a.date)
                continue;
            const int roll = dice.between(0, 99);
            if (roll < unpaid)
                continue;  // not recorded yet: the grid shows 0
            Row row{{QStringLiteral("KLASA"), group}, {QStringLiteral("KOD"), code}, {QStringLiteral("OSOBA"), child.kod}};
            if (roll < unpaid + 8) {
                row << qMakePair(QStringLiteral("WPLATA"), QVariant());  // absent: pays nothing
            } else if (roll < unpaid + 12) {
                row << qMakePair(QStringLiteral("WPLATA"), QVariant(money::round(std::floor(amount / 2))))
                    << qMakePair(QStringLiteral("OPIS"), QVariant(QStringLiteral("Reszta do dopłaty")));
            } else {
                row << qMakePair(QStringLiteral("WPLATA"), QVariant(amount));
            }
            insert(db, QStringLiteral("NALDOD"), row);
        }
    }
    // Overpayments, tied to no charge: no group, number 0.
    for (int i = 3; i < children.size(); i += 17)
        insert(db, QStringLiteral("NALDOD"),
               {{QStringLiteral("KLASA"), QVariant()}, {QStringLiteral("KOD"), 0},
                {QStringLiteral("OSOBA"), children[i].kod},
                {QStringLiteral("WPLATA"), money::round(2.5 * (1 + i % 4))},
                {QStringLiteral("OPIS"), QStringLiteral("Nadpłata do rozliczenia przy następnej zbiórce")}});
    return written;
}

}  // namespace demo
