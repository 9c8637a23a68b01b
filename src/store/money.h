#pragma once
// Rounding and Polish number text, the one place every amount goes through.
// Qt 6.4's Polish locale groups digits wrongly, so numbers are formatted and
// parsed here rather than by QLocale.

#include <QString>
#include <optional>

namespace money {

// Rounds half away from zero on the decimal value the number stands for,
// so 2.675 -> 2.68 and 1.005 -> 1.01 although neither is exact in binary.
// The value is first taken to 10 decimals, which removes binary noise.
double roundHalfAway(double value, int decimals);

// An amount of money: 2 decimals, half away from zero.
inline double round(double value) { return roundHalfAway(value, 2); }

// "1 234 567,50": comma as decimal separator; with grouping, a space
// between thousands. Negative values carry a leading "-".
QString format(double value, int decimals = 2, bool grouping = true);

// Accepts "1234,5", "1 234,50", "1234.5", "-3", leading/trailing blanks and
// the non-breaking space as a group separator. Returns nothing for any other text.
std::optional<double> parse(const QString& text);

}  // namespace money
