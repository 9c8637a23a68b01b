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
    // Across months the list applies to each month's day numbers.
    EXPECT_EQ(days.workingDays(QDate(2024, 2, 28), QDate(2024, 3, 7)), 6);
    EXPECT_EQ(days.workingDays(QDate(2023, 12, 31), QDate(2024, 1, 1)), 1);
}

}  // namespace

namespace {

TEST(GeneratedFreeDays, WeekendsAndEveryPublicHoliday)
{
    using attendance::generatedFreeDays;
    EXPECT_EQ(attendance::easterSunday(2024), QDate(2024, 3, 31));
    EXPECT_EQ(attendance::easterSunday(2025), QDate(2025, 4, 20));
    EXPECT_EQ(attendance::easterSunday(2038), QDate(2038, 4, 25));  // the latest possible
    EXPECT_EQ(attendance::easterSunday(2285), QDate(2285, 3, 22));  // the earliest possible
    // 1 and 6 January.
    EXPECT_EQ(generatedFreeDays(2026, 1, false), QStringLiteral("1,3,4,6,10,11,17,18,24,25,31"));
    // Easter Monday the 6th.
    EXPECT_EQ(generatedFreeDays(2026, 4, false), QStringLiteral("4,5,6,11,12,18,19,25,26"));
    // Corpus Christi on Thursday the 4th.
    EXPECT_EQ(generatedFreeDays(2026, 6, false), QStringLiteral("4,6,7,13,14,20,21,27,28"));
    // Christmas Eve from 2025 on, not before.
    EXPECT_EQ(generatedFreeDays(2025, 12, false), QStringLiteral("6,7,13,14,20,21,24,25,26,27,28"));
    EXPECT_FALSE(attendance::isPublicHoliday(QDate(2024, 12, 24)));
    // Pentecost falls on a Sunday anyway; Easter Monday 2025 is 21 April.
    EXPECT_TRUE(attendance::isPublicHoliday(QDate(2025, 6, 8)));
    EXPECT_TRUE(attendance::isPublicHoliday(QDate(2025, 4, 21)));
    EXPECT_FALSE(attendance::isPublicHoliday(QDate(2025, 4, 22)));
}

}  // namespace
