#pragma once
// A field's value as the grid shows it and as text typed or pasted turns
// into a value.

#include "store/schema.h"
#include "store/table.h"

#include <QString>
#include <QVariant>

namespace cell {

// "05.03.2024", "08:05", "12,50" (the display format's decimals for
// floats, "0.00" -> two), other values as text.
QString text(const QVariant& value, FieldType type, const QString& displayFormat = QString());

// The value for a field of the type; an invalid QVariant for an empty
// text; nothing when the text does not read as the type.
std::optional<QVariant> fromText(const QString& text, FieldType type);

// A calculated field fed from a lookup: copied as its key and its text.
bool hasLookupSource(const Table::Field& f);
bool isNumeric(FieldType type);

}  // namespace cell
