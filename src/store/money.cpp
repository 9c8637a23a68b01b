#include "money.h"

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

double roundHalfAway(double value, int decimals)
{
    if (!std::isfinite(value))
        return value;
    if (decimals < 0)
        decimals = 0;
    const bool negative = value < 0;
    // More digits than needed, so that the step to 10 decimals is our own
    // half-away rounding and not printf's round-half-to-even.
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.20f", std::fabs(value));
    std::string text = roundDecimalText(buf, 10);
    if (decimals < 10)
        text = roundDecimalText(text, decimals);
    const double result = std::strtod(text.c_str(), nullptr);
    return negative && result != 0.0 ? -result : result;
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
