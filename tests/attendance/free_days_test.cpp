// Free days of a month as its record writes them.

#include "attendance/free_days.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

using attendance::FreeDays;

namespace {

TEST(FreeDays, WholeItemsOnlyAndBlanksIgnored)
{
    struct Case {
        const char* list;
        std::vector<int> free;
    };
    const Case cases[] = {
        {"1,6,7,13,14", {1, 6, 7, 13, 14}},
        {" 1 , 6 ,7", {1, 6, 7}},        // blanks around commas
        {"16", {16}},                    // neither 1 nor 6
        {"1 6", {16}},                   // a blank inside an item joins its digits
        {"06,x7,,31", {7, 31}},          // "06" is not the plain number 6; letters dropped
        {"", {}},
        {",,", {}},
        {"0,32,100", {}},
    };
    for (const Case& c : cases) {
        const FreeDays days(QString::fromUtf8(c.list));
        EXPECT_FALSE(days.wholeMonth()) << c.list;
        for (int d = 1; d <= 31; ++d) {
            const bool expected = std::find(c.free.begin(), c.free.end(), d) != c.free.end();
            EXPECT_EQ(days.isFree(d), expected) << c.list << " day " << d;
        }
    }
}

TEST(FreeDays, DashMakesTheWholeMonthFree)
{
    for (const char* text : {"-", " - "}) {
        const FreeDays days{QString::fromUtf8(text)};
        EXPECT_TRUE(days.wholeMonth());
        EXPECT_TRUE(days.isFree(15));
        EXPECT_FALSE(days.isWorkingDay(QDate(2024, 3, 4)));
        EXPECT_EQ(days.workingDays(QDate(2024, 3, 1), QDate(2024, 3, 31)), 0);
    }
    // A dash among numbers is just another ignored character.
    EXPECT_FALSE(FreeDays(QStringLiteral("-1")).wholeMonth());
    EXPECT_TRUE(FreeDays(QStringLiteral("-1")).isFree(1));
}

TEST(FreeDays, WorkingDaysOfARange)
{
    const FreeDays days(QStringLiteral("1,6,7,13,14"));
    EXPECT_EQ(days.workingDays(QDate(2024, 3, 1), QDate(2024, 3, 31)), 26);
    EXPECT_EQ(days.workingDays(QDate(2024, 3, 5), QDate(2024, 3, 8)), 2);
    EXPECT_EQ(days.workingDays(QDate(2024, 3, 8), QDate(2024, 3, 5)), 0);
    EXPECT_EQ(FreeDays().workingDays(QDate(2024, 2, 1), QDate(2024, 2, 29)), 29);
}

}  // namespace
