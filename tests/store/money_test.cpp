// Rounding half away from zero on the decimal value, and Polish number text.

#include "store/money.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>

TEST(Money, RoundsHalfAwayFromZeroOnTheDecimalValue)
{
    EXPECT_DOUBLE_EQ(money::roundHalfAway(2.675, 2), 2.68);  // 2.67499999… in binary
    EXPECT_DOUBLE_EQ(money::roundHalfAway(1.005, 2), 1.01);
    EXPECT_DOUBLE_EQ(money::roundHalfAway(-1.005, 2), -1.01);
    EXPECT_DOUBLE_EQ(money::roundHalfAway(0.125, 2), 0.13);  // an exact binary tie goes away from zero
    EXPECT_DOUBLE_EQ(money::roundHalfAway(0.00048828125, 10), 0.0004882813);
    EXPECT_DOUBLE_EQ(money::roundHalfAway(9.995, 2), 10.0);
    EXPECT_DOUBLE_EQ(money::roundHalfAway(-0.004, 2), 0.0);
    EXPECT_DOUBLE_EQ(money::roundHalfAway(2.5, 0), 3.0);
    EXPECT_DOUBLE_EQ(money::round(1234567.891), 1234567.89);
    EXPECT_FALSE(std::signbit(money::round(-0.001)));
}

namespace {

// The decimal reference: the value's exact digits to 20 places (printf),
// rounded half away on the digits to 10 places, then to `decimals`.
std::string roundDigits(std::string text, int decimals)
{
    const size_t point = text.find('.');
    if (text.size() - point - 1 <= size_t(decimals))
        return text;
    bool carry = text[point + 1 + size_t(decimals)] >= '5';
    text.resize(decimals ? point + 1 + size_t(decimals) : point);
    for (size_t i = text.size(); carry && i-- > 0;) {
        if (text[i] == '.')
            continue;
        carry = text[i] == '9';
        text[i] = carry ? '0' : char(text[i] + 1);
    }
    if (carry)
        text.insert(text.begin(), '1');
    return text;
}

double decimalReference(double value, int decimals)
{
    char buf[512];
    std::snprintf(buf, sizeof buf, "%.20f", std::fabs(value));
    const double r = std::strtod(roundDigits(roundDigits(buf, 10), decimals).c_str(), nullptr);
    return value < 0 && r != 0 ? -r : r;
}

}  // namespace

TEST(Money, AgreesWithTheDecimalReferenceOnAMillionAmounts)
{
    std::mt19937_64 random(20261209);
    std::uniform_int_distribution<long long> grosze(-100000000, 100000000);
    std::uniform_int_distribution<int> small(1, 4000);
    std::uniform_int_distribution<int> places(0, 10);
    std::uniform_real_distribution<double> anyValue(-1e7, 1e7);
    int mismatches = 0;
    for (int i = 0; i < 1000000 && mismatches < 5; ++i) {
        double v = 0;
        switch (i % 4) {
        case 0: v = double(grosze(random)) / 1000.0; break;           // ties at the third place
        case 1: v = double(small(random)) * (double(grosze(random)) / 100.0) / 7.0; break;  // quantity × price
        case 2: v = std::nextafter(double(grosze(random)) / 1000.0, (i & 8) ? 1e9 : -1e9); break;  // beside a tie
        default: v = anyValue(random) / std::pow(10.0, double(i % 13)); break;
        }
        const int d = (i % 3 == 0) ? 2 : places(random);
        if (money::roundHalfAway(v, d) != decimalReference(v, d)) {
            ++mismatches;
            ADD_FAILURE() << "value " << std::hexfloat << v << " to " << d << " places";
        }
    }
    // Whole numbers, huge and tiny values keep their own answers.
    for (const double v : {4503599627370497.0, 1e300, 1e-300, 5e-11, -5e-11})
        for (int d = 0; d <= 10; ++d)
            EXPECT_EQ(money::roundHalfAway(v, d), decimalReference(v, d)) << v << " to " << d;
}

TEST(Money, PolishNumberText)
{
    EXPECT_EQ(money::format(1234567.5), QStringLiteral("1 234 567,50"));
    EXPECT_EQ(money::format(-1234.005), QStringLiteral("-1 234,01"));
    EXPECT_EQ(money::format(999.999, 2, false), QStringLiteral("1000,00"));
    EXPECT_EQ(money::format(12.5, 0), QStringLiteral("13"));
    EXPECT_EQ(money::parse(QStringLiteral(" 1 234 567,50 ")).value(), 1234567.5);
    EXPECT_EQ(money::parse(QString::fromUtf8("1\u00a0234,5")).value(), 1234.5);
    EXPECT_EQ(money::parse(QStringLiteral("-3")).value(), -3.0);
    EXPECT_FALSE(money::parse(QStringLiteral("1,2,3")).has_value());
    EXPECT_FALSE(money::parse(QStringLiteral("12zł")).has_value());
    EXPECT_FALSE(money::parse(QString()).has_value());
}
