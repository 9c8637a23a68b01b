#pragma once
// Value rules shared by the cursor and SQL: what a field of each type holds
// in the program (QDate, QTime with minutes only, QString, int, double) and
// how it is written to either engine. An empty string is an empty field.

#include "schema.h"
#include "store_location.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <QVariant>

namespace values {

bool isEmpty(const QVariant& v);

// A value read from the store, in the program's form for the field type;
// an empty value is an invalid QVariant.
QVariant fromStore(const QVariant& raw, FieldType type);

// A program value in the form bound to a statement (ISO text for dates and
// times, NULL for an empty value). Throws Error when it does not fit the type.
QVariant toStore(const QVariant& value, FieldType type, const QString& caption = QString());

// A value bound to a statement without a known field type.
QVariant bindable(const QVariant& value);

// Tolerant readers for results of SQL (which carry no field type).
QDate toDate(const QVariant& v);
QTime toTime(const QVariant& v);
QDateTime toDateTime(const QVariant& v);

// The value as the program keeps it for a field, with the width checked:
// throws Error "Pole "%1" może mieć najwyżej %2 znaków".
QVariant normalize(const QVariant& value, const FieldDef& field);

// Equality as the optimistic check sees it (doubles to 1e-9 relative).
bool same(const QVariant& a, const QVariant& b);

}  // namespace values
