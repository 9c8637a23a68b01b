#pragma once
// Money amounts written out in Polish words for printed documents.

#include <QString>

namespace printouts {

// «Sto dwadzieścia trzy złote i czterdzieści pięć groszy». The sign is
// ignored and the amount is first rounded to grosze, half away from zero.
// An amount that rounds to 0,00 gives an empty text, and so does one that
// cannot be written with the words up to bilion (1e15 złotych and more) or is
// not a number.
QString amountInWords(double amount);

}  // namespace printouts
