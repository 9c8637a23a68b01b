#pragma once
// The area of the payment confirmation print dialog, opened by the payments
// list's "Wydruk potwierdzenia" with {area::paymentKey(): WPLATY.ID}. The
// desktop registers it; without it the command is not offered.

#include <QString>

namespace area {
inline QString confirmationPrintout() { return QStringLiteral("WydrukPotwierdzenia"); }
inline QString paymentKey() { return QStringLiteral("ID"); }  // int, WPLATY.ID
}  // namespace area
