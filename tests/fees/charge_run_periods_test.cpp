// The charge periods of a child's component (cut by the child's rows, the
// uniform methods and the prices) and the half-unit adjustment.

#include "fees/charge_lines.h"
#include "fees/charge_periods.h"

#include <gtest/gtest.h>

using namespace fees;

namespace {

QDate mar(int day) { return QDate(2024, 3, day); }

QStringList spans(const QList<ChargePeriod>& periods)
{
    QStringList out;
    for (const ChargePeriod& p : periods)
        out << QStringLiteral("%1-%2 m%3/%4 c%5").arg(p.first.day()).arg(p.last.day()).arg(p.calculation)
                   .arg(p.settlement).arg(p.price ? p.price->price : -1);
    return out;
}

catalogue::PriceRow price(QDate from, QDate to, double value)
{
    catalogue::PriceRow p;
    p.from = from;
    p.to = to;
    p.price = value;
    return p;
}

TEST(ChargePeriods, CutByRowsMethodsAndPrices)
{
    const QList<catalogue::PriceRow> prices = {price(QDate(2023, 1, 1), mar(14), 10), price(mar(15), {}, 12)};
    const QList<ChildComponentRow> rows = {
        {mar(10), mar(20), 1, 2, 0},
        {mar(25), {}, 3, 4, 0},
        {QDate(2024, 4, 1), {}, 5, 6, 0},  // starts after the month
        {QDate(2023, 1, 1), QDate(2024, 2, 28), 7, 8, 0},  // ended before it
    };
    // Per child: each row cut to the month, then by the price change on the 15th.
    EXPECT_EQ(spans(chargePeriods(mar(1), mar(31), mar(31), rows, nullptr, prices)),
              (QStringList{"10-14 m1/2 c10", "15-20 m1/2 c12", "25-31 m3/4 c12"}));

    // Uniform methods replace the child's and cut the period again.
    const QList<catalogue::MethodRow> uniform = {{0, QDate(2023, 9, 1), mar(17), 11, 12},
                                                 {0, mar(18), {}, 13, 14}};
    EXPECT_EQ(spans(chargePeriods(mar(1), mar(31), mar(31), {rows[0]}, &uniform, prices)),
              (QStringList{"10-14 m11/12 c10", "15-17 m11/12 c12", "18-20 m13/14 c12"}));
    const QList<catalogue::MethodRow> none;
    EXPECT_TRUE(chargePeriods(mar(1), mar(31), mar(31), {rows[0]}, &none, prices).isEmpty());

    // The settled month takes rows that began by the end of the charge
    // month: a row from 5 March counts for February only up to its start.
    const QList<ChildComponentRow> fromMarch = {{mar(5), {}, 1, 2, 30}};
    EXPECT_TRUE(chargePeriods(QDate(2024, 2, 1), QDate(2024, 2, 29), mar(31), fromMarch, nullptr, prices).isEmpty());
    const QList<ChildComponentRow> open = {{{}, {}, 1, 2, 30}};
    const QList<ChargePeriod> february =
        chargePeriods(QDate(2024, 2, 1), QDate(2024, 2, 29), mar(31), open, nullptr, prices);
    ASSERT_EQ(spans(february), (QStringList{"1-29 m1/2 c10"}));
    EXPECT_EQ(february[0].helpShare, 30);

    // A price or uniform-method row saved without a start applies from the
    // beginning instead of never.
    const QList<catalogue::PriceRow> undated = {price({}, {}, 9)};
    const QList<catalogue::MethodRow> undatedMethods = {{0, {}, {}, 21, 22}};
    EXPECT_EQ(spans(chargePeriods(mar(1), mar(31), mar(31), {rows[0]}, &undatedMethods, undated)),
              (QStringList{"10-20 m21/22 c9"}));
}

TEST(ChargeLineArithmetic, HalfUnitsValuesAndVat)
{
    EXPECT_EQ(roundUpToHalf(4), 4);
    EXPECT_EQ(roundUpToHalf(4.2), 4.5);
    EXPECT_EQ(roundUpToHalf(4.5), 5);
    EXPECT_EQ(roundUpToHalf(4.6), 5);
    EXPECT_EQ(roundUpToHalf(2.3), 2.5);
    EXPECT_EQ(roundUpToHalf(-2.3), -2.5);
    EXPECT_EQ(roundUpToHalf(-2.5), -3);
    EXPECT_EQ(roundUpToHalf(0.0001), 0.5);

    EXPECT_EQ(lineValue(10.5, 0.3333), 3.5);      // 3.49965
    EXPECT_EQ(lineValue(2.675, 1), 2.68);
    EXPECT_EQ(lineValue(-1.005, 1), -1.01);       // half away from zero
    EXPECT_EQ(containedVat(108, 8), 8);
    EXPECT_EQ(containedVat(100, 23), 18.70);      // 18.699...
    EXPECT_EQ(containedVat(-100, 23), -18.70);
    EXPECT_EQ(containedVat(50, 0), 0);
}

}  // namespace
