#pragma once
// The child code printed on labels and typed at the attendance terminal:
// the client number, the child's KOD filled with zeros to three digits,
// and a check digit over both.

#include <QString>

namespace printouts {

// The check digit over a string of decimal digits: weights 1, 3, 7, 9, ...
// from the first digit; (10 - sum mod 10) mod 10.
int childCodeCheckDigit(const QString& digits);

// (12, 5) -> "120058", (1, 1234) -> "112341".
QString childCode(int clientNumber, int childKod);

}  // namespace printouts
