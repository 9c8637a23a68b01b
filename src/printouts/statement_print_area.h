#pragma once
// The area of the statements print dialog, opened by the settlement months'
// "Zestawienia" with {area::monthKey(): MIESIACE.KOD, area::childKey():
// DZIECI.KOD or absent}. The desktop registers it; without it the command
// is not offered.

#include <QString>

namespace area {
inline QString statementPrintout() { return QStringLiteral("WydrukRozrachunkow"); }
}  // namespace area
