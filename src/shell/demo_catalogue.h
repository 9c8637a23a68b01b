#pragma once
// The demonstration store's fee catalogue: units, VAT rates, fee groups,
// the components (stay over the free hours, meals, rhythmics) with their
// prices, the extra class of rhythmics with its timetable, the calculation
// methods and the free hours of the day.

#include <QDate>

class Database;

namespace demo {

struct Catalogue {
    int stay = 0;
    int meals = 0;
    int rhythmics = 0;
    int rhythmicsClass = 0;  // ZAJDOD.KOD
    int stayDeclared = 0, staySettled = 0;
    int mealsPlanned = 0, mealsEaten = 0;
    int classesPlanned = 0, classesAttended = 0;
};

// The rhythmics class: Tuesdays from 10:00 to 10:45.
constexpr int rhythmicsWeekday = 2;

// Prices from `since`; the meals cost more from `priceChange` on.
Catalogue fillCatalogue(Database& db, const QDate& since, const QDate& priceChange);

}  // namespace demo
