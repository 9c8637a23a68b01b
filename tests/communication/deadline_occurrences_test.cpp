#include "communication/deadline_occurrences.h"

#include <gtest/gtest.h>

namespace {

struct Case {
    const char* what;
    QDate base;
    int periods;
    const char* unit;
    QDate today;
    QDate next;
    QDate previous;
};

TEST(DeadlineOccurrences, NextAndPreviousAroundTheDay)
{
    const QDate none;
    const Case cases[] = {
        {"month end clipped to 29 February", {2024, 1, 31}, 1, "M", {2024, 3, 15}, {2024, 3, 31}, {2024, 2, 29}},
        {"month end clipped in a common year", {2023, 1, 31}, 1, "M", {2023, 3, 15}, {2023, 3, 31}, {2023, 2, 28}},
        {"monthly, occurrence today", {2024, 1, 10}, 1, "M", {2024, 3, 10}, {2024, 3, 10}, {2024, 2, 10}},
        {"monthly, day after", {2024, 1, 10}, 1, "M", {2024, 3, 11}, {2024, 4, 10}, {2024, 3, 10}},
        {"every 3 months across a year", {2023, 11, 30}, 3, "M", {2024, 3, 1}, {2024, 5, 30}, {2024, 2, 29}},
        {"clipped day is today", {2023, 1, 31}, 1, "M", {2023, 4, 30}, {2023, 4, 30}, {2023, 3, 31}},
        {"yearly from 29 February", {2020, 2, 29}, 1, "R", {2024, 3, 1}, {2025, 2, 28}, {2024, 2, 29}},
        {"every 2 years", {2019, 6, 10}, 2, "R", {2024, 1, 1}, {2025, 6, 10}, {2023, 6, 10}},
        {"weekly, occurrence today", {2024, 1, 1}, 1, "E", {2024, 1, 15}, {2024, 1, 15}, {2024, 1, 8}},
        {"weekly, day after", {2024, 1, 1}, 1, "E", {2024, 1, 16}, {2024, 1, 22}, {2024, 1, 15}},
        {"every 10 days", {2024, 1, 1}, 10, "D", {2024, 1, 25}, {2024, 1, 31}, {2024, 1, 21}},
        {"future base date", {2024, 6, 1}, 1, "M", {2024, 5, 15}, {2024, 6, 1}, none},
        {"base date today", {2024, 5, 15}, 0, "M", {2024, 5, 15}, {2024, 5, 15}, none},
        {"zero period", {2024, 1, 1}, 0, "M", {2024, 5, 15}, none, none},
        {"negative period", {2024, 1, 1}, -2, "D", {2024, 5, 15}, none, none},
        {"unknown unit", {2024, 1, 1}, 1, "X", {2024, 5, 15}, none, none},
        {"no unit", {2024, 1, 1}, 1, "", {2024, 5, 15}, none, none},
        {"no base date", none, 1, "M", {2024, 5, 15}, none, none},
    };
    for (const Case& c : cases) {
        const deadlines::Occurrences o =
            deadlines::occurrences(c.base, c.periods, QString::fromLatin1(c.unit), c.today);
        EXPECT_EQ(o.next, c.next) << c.what;
        EXPECT_EQ(o.previous, c.previous) << c.what;
    }
}

}  // namespace
