#pragma once
// Making a new store: every table of the catalogue (upgrade columns and
// tables included) and the rows a store is delivered with.

#include "store_location.h"

#include <QString>

struct InstitutionData {
    QString name;
    QString address;
    int clientNumber = 0;
    QString nip;
};

namespace store {

// Refuses a location that already holds a store. On failure nothing is left
// behind: a new SQLite file is removed, PostgreSQL rolls the work back.
void create(const StoreLocation& location, const InstitutionData& institution);

// The delivered administrator account.
inline QString adminLogin() { return QStringLiteral("admin"); }
inline QString adminPassword() { return QStringLiteral("tebov"); }

}  // namespace store
