#pragma once
// The area of the invoices print dialog, opened by the invoices list's
// "Wydruk" with {area::monthKey(): MIESIACE.KOD, area::childKey(): DZIECI.KOD
// or absent}. The desktop registers it; without it the command is not
// offered.

#include <QString>

namespace area {
inline QString invoicePrintout() { return QStringLiteral("WydrukFaktur"); }
}  // namespace area
