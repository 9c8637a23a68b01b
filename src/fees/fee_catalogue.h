#pragma once
// What the fee catalogue offers the charge run, the charges register and
// the import: the components in their order, their dated prices, the VAT
// rates and the uniform methods. Every row is read, whatever the system-date
// filter hides in the windows.
//
// A dated row applies on day d when ODDATY <= d and (DODATY is empty or
// d <= DODATY); both ends are inclusive.

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

class Database;

namespace catalogue {

struct Component {
    int code = 0;
    QString name;
    int position = 0;    // KOLEJ
    QVariant feeGroup;   // GRUPAOP; null when none
};

struct PriceRow {
    int component = 0;
    QDate from;
    QDate to;  // invalid = open-ended
    double price = 0;
    QString unit;
    QVariant vatRate;  // STAVAT.KOD; null without a rate or without the column
};

struct MethodRow {
    int component = 0;
    QDate from;
    QDate to;  // invalid = open-ended
    int calculation = 0;  // SPOSOB
    int settlement = 0;   // SPOROZ
};

// Whether a dated row applies on `day`.
bool appliesOn(const QDate& from, const QDate& to, const QDate& day);
// Whether a dated row overlaps the period [first, last].
bool overlaps(const QDate& from, const QDate& to, const QDate& first, const QDate& last);

// Every component, in KOLEJ order (ties by code).
QList<Component> components(Database& db);

// The price of tariff 0 in force on `day`: of the rows applying that day,
// the one with the latest ODDATY. None when no row applies.
std::optional<PriceRow> priceInForce(Database& db, int component, const QDate& day);

// Every price row of tariff 0 overlapping [first, last], by ODDATY, for
// each of `components` (an empty list for one without prices).
QHash<int, QList<PriceRow>> pricesOverlapping(Database& db, const QList<int>& components, const QDate& first,
                                              const QDate& last);
QList<PriceRow> pricesOverlapping(Database& db, int component, const QDate& first, const QDate& last);

// The percentage of a VAT rate; none for an unknown rate or a store
// without rates.
std::optional<double> vatPercent(Database& db, const QVariant& rate);
// The percentage of every VAT rate, by its code; empty without rates.
QHash<int, double> vatPercents(Database& db);

// Every uniform method row overlapping [first, last], by ODDATY, for each
// of `components` (an empty list for one without rows).
QHash<int, QList<MethodRow>> methodsOverlapping(Database& db, const QList<int>& components, const QDate& first,
                                                const QDate& last);
QList<MethodRow> methodsOverlapping(Database& db, int component, const QDate& first, const QDate& last);

}  // namespace catalogue
