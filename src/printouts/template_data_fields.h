#pragma once
// The data fields a template may hold, by name: what each document fills in
// when it prints. The designer's "&Dana" menu lists those of the template's
// type in this order; three of them are band markers that print nothing.

#include "print_template.h"

#include <QStringList>

namespace printouts::field {

inline QString separator() { return QStringLiteral("Separator"); }
inline QString endSeparator() { return QStringLiteral("Separator końcowy"); }
inline QString footer() { return QStringLiteral("Stopka"); }
inline QString barcode() { return QStringLiteral("Kod kreskowy"); }

}  // namespace printouts::field

namespace printouts {

// Every data field, in menu order.
const QStringList& dataFieldNames();

// The fields a template of the type offers, in menu order.
QStringList dataFieldsOffered(TemplateType type);
bool isDataFieldOffered(TemplateType type, const QString& name);

// "Separator", "Separator końcowy" and "Stopka".
bool isBandMarker(const QString& name);

}  // namespace printouts
