// The attendance window's view rules without a store: day ranges, moving
// between days and months, titles, captions and message texts.

#include "attendance/obecn_data.h"
#include "attendance/obecn_store.h"
#include "attendance/obecn_view.h"

#include <gtest/gtest.h>

using namespace obecn;

namespace {

TEST(ObecnView, DayRangeParsing)
{
    EXPECT_EQ(parseDayRange(QStringLiteral("5-20")), (DayRange{5, 20}));
    EXPECT_EQ(parseDayRange(QStringLiteral(" 5 - 20 ")), (DayRange{5, 20}));
    EXPECT_EQ(parseDayRange(QStringLiteral("abc")), (DayRange{1, 31}));
    EXPECT_EQ(parseDayRange(QStringLiteral("-20")), (DayRange{1, 31}));  // no from: the whole month
    EXPECT_EQ(parseDayRange(QStringLiteral("5")), (DayRange{5, 31}));
    EXPECT_EQ(parseDayRange(QStringLiteral("5-x")), (DayRange{5, 31}));
    EXPECT_EQ(parseDayRange(QStringLiteral("0-0")), (DayRange{1, 1}));
    EXPECT_EQ(parseDayRange(QStringLiteral("20-5")), (DayRange{5, 5}));
    EXPECT_EQ(parseDayRange(QStringLiteral("0-40")), (DayRange{1, 31}));
    // A negative "to" is clamped to the month's first day, not taken as a day.
    EXPECT_EQ(parseDayRange(QStringLiteral("5--3")), (DayRange{1, 1}));
}

TEST(ObecnView, MovingByDayAndMonth)
{
    EXPECT_EQ(stepped(QDate(2024, 2, 29), false, 1), QDate(2024, 3, 1));
    EXPECT_EQ(stepped(QDate(2024, 3, 1), false, -1), QDate(2024, 2, 29));
    EXPECT_EQ(stepped(QDate(2024, 1, 31), true, 1), QDate(2024, 2, 29));
    EXPECT_EQ(stepped(QDate(2023, 1, 31), true, 1), QDate(2023, 2, 28));
    EXPECT_EQ(stepped(QDate(2024, 1, 30), true, 1), QDate(2024, 2, 29));
    EXPECT_EQ(stepped(QDate(2024, 1, 15), true, 1), QDate(2024, 2, 15));
    // The last day of a month stays the last day of the next one.
    EXPECT_EQ(stepped(QDate(2024, 4, 30), true, 1), QDate(2024, 5, 31));
    EXPECT_EQ(stepped(QDate(2023, 12, 15), true, 1), QDate(2024, 1, 15));
    EXPECT_EQ(stepped(QDate(2024, 1, 10), true, -1), QDate(2023, 12, 10));
    EXPECT_EQ(stepped(QDate(2024, 3, 31), true, -1), QDate(2024, 2, 29));
}

TEST(ObecnView, TitlesAndCaptions)
{
    ViewState v;
    v.day = QDate(2024, 3, 5);
    EXPECT_EQ(windowTitle(v, false), QStringLiteral("Lista obecności na: wtorek 5 marca 2024"));
    EXPECT_EQ(windowTitle(v, true), QStringLiteral("Lista obecności dziecka na: wtorek 5 marca 2024"));
    v.monthView = true;
    EXPECT_EQ(windowTitle(v, false), QStringLiteral("Lista obecności na: marzec 2024"));
    v.day = QDate(2024, 4, 10);
    v.from = 5;
    v.to = 20;
    EXPECT_EQ(windowTitle(v, false), QStringLiteral("Lista obecności na: kwiecień 2024 (w przedziale dni 5 - 20)"));
    v.to = 31;
    EXPECT_EQ(windowTitle(v, false), QStringLiteral("Lista obecności na: kwiecień 2024 (w przedziale dni 5 - 30)"));
    v.from = 1;
    v.to = 30;  // the whole of April
    EXPECT_EQ(windowTitle(v, false), QStringLiteral("Lista obecności na: kwiecień 2024"));

    EXPECT_EQ(dayColumnCaption(QDate(2024, 3, 5)), QStringLiteral("5 Wt"));
    EXPECT_EQ(dayColumnCaption(QDate(2024, 3, 10)), QStringLiteral("10 N"));
    EXPECT_EQ(codeColumnCaption(QDate(2024, 10, 16)), QStringLiteral("Obecność, Śr 16 paź 2024"));
    EXPECT_EQ(monthTooShort(2, 29), QStringLiteral("luty nie ma 29 dni"));
    EXPECT_EQ(hoursText(435), QStringLiteral("7:15"));
    EXPECT_EQ(hoursText(605), QStringLiteral("10:05"));
}

TEST(ObecnView, LimitWarningsAndFreeDayCells)
{
    const QString arrival = QStringLiteral("Czas przyjścia");
    EXPECT_EQ(limitWarning(arrival, QTime(6, 15), QTime(6, 30), QTime(9, 0)),
              QStringLiteral("Czas przyjścia - przekroczona granica dolna (06:30)"));
    EXPECT_EQ(limitWarning(arrival, QTime(9, 1), QTime(6, 30), QTime(9, 0)),
              QStringLiteral("Czas przyjścia - przekroczona granica górna (09:00)"));
    EXPECT_EQ(limitWarning(arrival, QTime(7, 30), QTime(8, 0), QTime(7, 0)),
              QStringLiteral("Czas przyjścia - przekroczona granica dolna (08:00), górna (07:00)"));
    EXPECT_TRUE(limitWarning(arrival, QTime(6, 30), QTime(6, 30), QTime(9, 0)).isEmpty());
    EXPECT_TRUE(limitWarning(arrival, QTime(5, 0), QTime(), QTime()).isEmpty());

    EXPECT_EQ(freeDaysForCells(QStringLiteral(" 1, 15 ;x")), QStringLiteral("1,15"));
    const QString all = freeDaysForCells(QStringLiteral("-"));
    EXPECT_TRUE(all.startsWith(QStringLiteral("1,2,3,")));
    EXPECT_TRUE(all.endsWith(QStringLiteral(",31")));
}

TEST(ObecnView, MonthCells)
{
    fees::AttendanceRow r;
    r.mark = QLatin1Char('T');
    r.arrival = 8 * 60;
    EXPECT_EQ(monthCell(&r), QStringLiteral("t"));
    r.departure = 16 * 60;
    EXPECT_EQ(monthCell(&r), QStringLiteral("T"));
    r.mark = QLatin1Char('Z');
    EXPECT_EQ(monthCell(&r), QStringLiteral("Z"));
    EXPECT_EQ(monthCell(nullptr), QString());
}

}  // namespace
