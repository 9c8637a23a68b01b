#pragma once
// How an invoice number is shown: its number within the month set into the
// format of the parameter "FAKTURY FORMAT" (default "/mm/rrrr").
//
// The first run of "@" in the format is the number, padded with zeros to
// that many digits (never cut); the text before it is the prefix and the
// text after it the suffix. In both, each "m" takes a digit of the two-digit
// month and each "r" a digit of the year, filled from the right; a letter
// left without a digit is dropped. A format without "@" is all suffix.
//
//   17, 2005-03, "/mm/rrrr"    -> "17/03/2005"
//   17, 2005-03, "FV/@@@@/rr"  -> "FV/0017/05"

#include <QString>

namespace fees {

QString invoiceNumberText(int number, int year, int month, const QString& format);

}  // namespace fees
