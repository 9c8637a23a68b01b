// Rounding half away from zero on the decimal value, and Polish number text.

#include "store/money.h"

#include <gtest/gtest.h>

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
