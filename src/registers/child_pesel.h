#pragma once
// What the children register tells the user about a PESEL: another active
// child with the same number, and a number that does not begin with the
// date of birth. Both only inform; the record may be saved anyway.

#include <QDate>
#include <QString>

#include <optional>

class Database;

namespace pesel {

// The six digits a PESEL of someone born on `birth` begins with: year,
// month (plus 20 from the year 2000 on) and day, two digits each.
QString birthPrefix(const QDate& birth);

// False when the first six characters differ from birthPrefix.
bool agreesWithBirthDate(const QString& number, const QDate& birth);

// The name of the first active child (in the order of AKTYWNY;PESEL) with
// this PESEL that is not the child `kod` (null for a child not yet saved).
std::optional<QString> activeNamesake(Database& db, const QString& number, const QVariant& kod);

QString duplicateMessage(const QString& otherName);  // "Powtórzony PESEL (…)"
QString birthDateMessage();                          // "PESEL nie zgadza się z datą urodzenia"

}  // namespace pesel
