#pragma once
// "Dotyczy" of a charge line: the month a settlement line settles (DOT > 0)
// or whose advance it reverses (DOT < 0), as "luty 2024, rozliczenie" or
// "luty 2024, zaliczka" with the words of the parameters "TEKST NA
// ROZLICZENIE" and "TEKST NA ZALICZKA"; and the list it is chosen from,
// every month twice (advance, then settlement), in calendar order.

#include "browser/prompts.h"

#include <QHash>
#include <QList>
#include <QVariant>

#include <optional>

class Database;
struct Parameters;

namespace fees {

struct MonthRef {
    int code = 0;  // MIESIACE.KOD
    int year = 0;
    int month = 0;
};

// The month records by code, read once and read again when a code is not
// known (a month added while a list is open).
class MonthDirectory {
public:
    explicit MonthDirectory(Database& db) : m_db(db) {}
    std::optional<MonthRef> find(int code);
    // The record of a year and month.
    std::optional<MonthRef> find(int year, int month);

private:
    void load();
    Database& m_db;
    QHash<int, MonthRef> m_byCode;
    bool m_loaded = false;
};

// The text for a DOT of the month year-month (DOT's sign decides the word).
QString dotyczyText(int dot, int year, int month, const Parameters& params);
// Empty for an empty or zero DOT and for a month that does not exist.
QString dotyczyText(MonthDirectory& months, const QVariant& dot, const Parameters& params);

// The choices of "Dotyczy": text and the signed DOT value.
QList<PickEntry> dotyczyChoices(Database& db, const Parameters& params);

}  // namespace fees
