#include "store/polish_dates.h"

#include <gtest/gtest.h>

namespace {
QString u8(const char* s) { return QString::fromUtf8(s); }
}  // namespace

TEST(PolishDates, ShortDateRoundTripsAndRefusesImpossibleDays) {
    EXPECT_EQ(polish::shortDate(QDate(2024, 3, 5)), u8("05.03.2024"));
    EXPECT_EQ(polish::shortDate(QDate()), QString());

    EXPECT_EQ(polish::parseShortDate(u8("5.3.2024")), QDate(2024, 3, 5));
    EXPECT_EQ(polish::parseShortDate(u8("05.03.2024")), QDate(2024, 3, 5));
    EXPECT_EQ(polish::parseShortDate(u8(" 31.12.1999 ")), QDate(1999, 12, 31));
    EXPECT_EQ(polish::parseShortDate(u8("29.02.2024")), QDate(2024, 2, 29));
    EXPECT_EQ(polish::parseShortDate(u8("29.02.2000")), QDate(2000, 2, 29));

    for (const char* bad : {"29.02.2023", "29.02.1900", "31.04.2024", "0.1.2024", "1.13.2024",
                            "5.3.24", "2024-03-05", "05/03/2024", "005.03.2024", "5.3.2024x", ""})
        EXPECT_FALSE(polish::parseShortDate(u8(bad)).isValid()) << bad;

    const QDate leap(2028, 2, 29);
    EXPECT_EQ(polish::parseShortDate(polish::shortDate(leap)), leap);
}

TEST(PolishDates, NamesUseNominativeAloneAndGenitiveAfterADay) {
    EXPECT_EQ(polish::weekdayName(1), u8("poniedziałek"));
    EXPECT_EQ(polish::weekdayName(3), u8("środa"));
    EXPECT_EQ(polish::weekdayName(5), u8("piątek"));
    EXPECT_EQ(polish::weekdayName(7), u8("niedziela"));
    EXPECT_EQ(polish::weekdayName(0), QString());
    EXPECT_EQ(polish::weekdayName(8), QString());

    const char* nominative[] = {"styczeń", "luty",     "marzec",   "kwiecień",    "maj",      "czerwiec",
                                "lipiec",  "sierpień", "wrzesień", "październik", "listopad", "grudzień"};
    const char* genitive[] = {"stycznia", "lutego",   "marca",    "kwietnia",     "maja",      "czerwca",
                              "lipca",    "sierpnia", "września", "października", "listopada", "grudnia"};
    for (int m = 1; m <= 12; ++m) {
        EXPECT_EQ(polish::monthName(m), u8(nominative[m - 1])) << m;
        EXPECT_EQ(polish::monthNameGenitive(m), u8(genitive[m - 1])) << m;
    }
    EXPECT_EQ(polish::monthName(13), QString());
    EXPECT_EQ(polish::monthNameGenitive(0), QString());

    EXPECT_EQ(polish::longDate(QDate(2024, 3, 5)), u8("wtorek 5 marca 2024"));
    EXPECT_EQ(polish::longDate(QDate(2024, 2, 29)), u8("czwartek 29 lutego 2024"));
    EXPECT_EQ(polish::longDate(QDate(2023, 10, 1)), u8("niedziela 1 października 2023"));
    EXPECT_EQ(polish::longDate(QDate()), QString());
    EXPECT_EQ(polish::monthYear(2024, 3), u8("marzec 2024"));
    EXPECT_EQ(polish::monthYear(2024, 0), QString());
}

TEST(PolishDates, TimesKeepHoursAndMinutesOnly) {
    EXPECT_EQ(polish::time(QTime(8, 5)), u8("08:05"));
    EXPECT_EQ(polish::time(QTime(23, 59, 59)), u8("23:59"));
    EXPECT_EQ(polish::time(QTime()), QString());

    EXPECT_EQ(polish::parseTime(u8("7:30")), QTime(7, 30));
    EXPECT_EQ(polish::parseTime(u8("07:30")), QTime(7, 30));
    EXPECT_EQ(polish::parseTime(u8("00:00")), QTime(0, 0));
    EXPECT_EQ(polish::parseTime(u8("16:45:59")), QTime(16, 45));  // seconds dropped, not rounded
    for (const char* bad : {"24:00", "12:60", "12:5", "123:00", "12:30:60", "12.30", "1230", "12:30:", ""})
        EXPECT_FALSE(polish::parseTime(u8(bad)).isValid()) << bad;
}
