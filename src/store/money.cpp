#include "money.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace money {

namespace {

// Rounds the decimal text "digits.fraction" (no sign) to `decimals` places,
// half away from zero, working on the digits themselves.
std::string roundDecimalText(const std::string& text, int decimals)
{
    const auto point = text.find('.');
    std::string whole = point == std::string::npos ? text : text.substr(0, point);
    std::string frac = point == std::string::npos ? std::string() : text.substr(point + 1);
    if (static_cast<int>(frac.size()) <= decimals)
        return whole + (frac.empty() ? "" : "." + frac);
    const bool up = frac[static_cast<size_t>(decimals)] >= '5';
    std::string digits = whole + frac.substr(0, static_cast<size_t>(decimals));
    if (up) {
        int i = static_cast<int>(digits.size()) - 1;
        while (i >= 0 && digits[static_cast<size_t>(i)] == '9') {
            digits[static_cast<size_t>(i)] = '0';
            --i;
        }
        if (i < 0) {
            digits.insert(digits.begin(), '1');
            whole.insert(whole.begin(), '0');  // one more whole digit
        } else {
            ++digits[static_cast<size_t>(i)];
        }
    }
    const size_t wholeLen = whole.size();
    if (decimals == 0)
        return digits.substr(0, wholeLen);
    return digits.substr(0, wholeLen) + "." + digits.substr(wholeLen);
}

}  // namespace

namespace {

// The same rounding as the decimal text below, in integers: the value to 20
// decimals (ties to even, as printf gives them), then half away to 10, then
// half away to `decimals`. Returns nothing where the result would not be
// exact in this form; the text path then answers.
std::optional<double> roundInIntegers(double magnitude, int decimals)
{
    using u128 = unsigned __int128;
    int exponent = 0;
    const double fraction = std::frexp(magnitude, &exponent);
    const int shift = 53 - exponent;  // magnitude = mantissa / 2^shift
    if (shift <= 0)
        return magnitude;  // a whole number: nothing after the point
    if (shift > 120)
        return std::nullopt;
    const auto mantissa = static_cast<u128>(std::ldexp(fraction, 53));
    u128 e20 = 1;
    for (int i = 0; i < 20; ++i)
        e20 *= 10;
    const u128 scaled = mantissa * e20;  // < 2^53 * 2^67
    u128 units20 = scaled >> shift;
    const u128 rest = scaled & ((u128(1) << shift) - 1);
    const u128 half = u128(1) << (shift - 1);
    if (rest > half || (rest == half && (units20 & 1)))
        ++units20;
    // To 10 decimals, then to the wanted number.
    const u128 e10 = 10000000000ULL;
    u128 units = units20 / e10 + (units20 % e10 >= e10 / 2 ? 1 : 0);
    u128 step = 1;
    for (int i = decimals; i < 10; ++i)
        step *= 10;
    units = units / step + (units % step >= step / 2 && step > 1 ? 1 : 0);
    // Exact as a quotient of two exact doubles, so the division rounds
    // correctly, as reading the decimal text would.
    if (units >= (u128(1) << 53))
        return std::nullopt;
    double scale = 1;
    for (int i = 0; i < std::min(decimals, 10); ++i)
        scale *= 10;
    return static_cast<double>(units) / scale;
}

}  // namespace

double roundHalfAway(double value, int decimals)
{
    if (!std::isfinite(value))
        return value;
    if (decimals < 0)
        decimals = 0;
    const bool negative = value < 0;
    std::optional<double> result = decimals <= 10 ? roundInIntegers(std::fabs(value), decimals) : std::nullopt;
    if (!result) {
        // More digits than needed, so that the step to 10 decimals is our own
        // half-away rounding and not printf's round-half-to-even.
        char buf[512];
        std::snprintf(buf, sizeof buf, "%.20f", std::fabs(value));
        std::string text = roundDecimalText(buf, 10);
        if (decimals < 10)
            text = roundDecimalText(text, decimals);
        result = std::strtod(text.c_str(), nullptr);
    }
    return negative && *result != 0.0 ? -*result : *result;
}

QString format(double value, int decimals, bool grouping)
{
    const double rounded = roundHalfAway(value, decimals);
    QString text = QString::number(std::fabs(rounded), 'f', decimals);
    const bool negative = rounded < 0;
    qsizetype point = text.indexOf(QLatin1Char('.'));
    if (point >= 0)
        text[point] = QLatin1Char(',');
    else
        point = text.size();
    if (grouping) {
        for (qsizetype i = point - 3; i > 0; i -= 3)
            text.insert(i, QLatin1Char(' '));
    }
    return negative ? QLatin1Char('-') + text : text;
}

std::optional<double> parse(const QString& input)
{
    QString text = input.trimmed();
    text.remove(QLatin1Char(' '));
    text.remove(QChar(0x00A0));
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    int points = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == QLatin1Char('.'))
            ++points;
        else if ((c == QLatin1Char('-') || c == QLatin1Char('+')) && i == 0)
            continue;
        else if (!c.isDigit())
            return std::nullopt;
    }
    if (points > 1)
        return std::nullopt;
    const double v = text.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return v;
}

}  // namespace money
