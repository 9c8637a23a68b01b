// The terminal's rules without a store: reading child codes, rounding the
// time, the idle switch of the mode, declared-time lines and the log's
// names and lines.

#include "attendance/terminal_log.h"
#include "attendance/terminal_rules.h"
#include "printouts/child_code.h"

#include <gtest/gtest.h>

using namespace terminal;

namespace {

TEST(TerminalRules, ChildCodes)
{
    EXPECT_EQ(childKod(QStringLiteral("570123"), 57), 12);
    EXPECT_EQ(childKod(QStringLiteral("570124"), 57), 0);  // check digit
    EXPECT_EQ(childKod(QStringLiteral("570123"), 58), 0);  // another client
    // A child's code typed without the leading zeros still names it.
    const QString shortCode = QStringLiteral("5712") + QString::number(printouts::childCodeCheckDigit(QStringLiteral("5712")));
    EXPECT_EQ(childKod(shortCode, 57), 12);
    // Long client numbers and long child codes.
    EXPECT_EQ(childKod(printouts::childCode(1234567, 5), 1234567), 5);
    EXPECT_EQ(childKod(printouts::childCode(3, 104321), 3), 104321);
    EXPECT_EQ(childKod(printouts::childCode(1234567, 5), 1234568), 0);
    // Nothing between the client and the check digit, letters, a KOD beyond int.
    EXPECT_EQ(childKod(QStringLiteral("573"), 57), 0);
    EXPECT_EQ(childKod(QStringLiteral("57a123"), 57), 0);
    EXPECT_EQ(childKod(QStringLiteral(""), 57), 0);
    const QString huge = QStringLiteral("57") + QStringLiteral("9").repeated(30);
    EXPECT_EQ(childKod(huge + QString::number(printouts::childCodeCheckDigit(huge)), 57), 0);
    EXPECT_FALSE(isNumber(QStringLiteral("Kowal")));
    EXPECT_FALSE(isNumber(QStringLiteral("-12")));
}

TEST(TerminalRules, RoundingAndDeclaredLines)
{
    EXPECT_EQ(roundedTime(QTime(7, 52, 40), 5), QTime(7, 50));
    EXPECT_EQ(roundedTime(QTime(7, 53), 5), QTime(7, 55));
    EXPECT_EQ(roundedTime(QTime(7, 53, 59), 1), QTime(7, 53));
    EXPECT_EQ(roundedTime(QTime(7, 53), 0), QTime(7, 53));
    EXPECT_EQ(roundedTime(QTime(23, 55), 15), QTime(23, 45));  // never 24:00

    EXPECT_EQ(declaredLine(Mode::Arrival, QTime(7, 0), QTime(7, 30)), QStringLiteral("przyjście przed czasem deklarowanym!"));
    EXPECT_EQ(declaredLine(Mode::Arrival, QTime(7, 30), QTime(7, 30)), QString());
    EXPECT_EQ(declaredLine(Mode::Departure, QTime(16, 1), QTime(16, 0)), QStringLiteral("wyjście po czasie deklarowanym!"));
    EXPECT_EQ(declaredLine(Mode::Departure, QTime(15, 0), QTime(16, 0)), QString());
    EXPECT_EQ(declaredLine(Mode::Departure, QTime(18, 0), QTime()), QString());

    EXPECT_EQ(weekdayText(QDate(2024, 3, 9), true), QStringLiteral("sobota (dzień wolny)"));
    EXPECT_EQ(logFileName(QDate(2007, 3, 5)), QStringLiteral("O0703.txt"));
    EXPECT_EQ(logLine(QDateTime(QDate(2007, 3, 5), QTime(7, 31, 2)), QStringLiteral("570123")),
              QStringLiteral("05 07:31:02\t570123"));
}

TEST(TerminalRules, IdleSwitchFollowsTheLimits)
{
    DayLimits limits;
    limits.arrival = {QTime(6, 30), QTime(9, 0)};
    limits.departure = {QTime(13, 0), QTime(17, 0)};
    EXPECT_EQ(idleSwitch(Mode::Arrival, QTime(14, 0), limits), Mode::Departure);
    EXPECT_EQ(idleSwitch(Mode::Arrival, QTime(12, 0), limits), std::nullopt);
    EXPECT_EQ(idleSwitch(Mode::Arrival, QTime(17, 30), limits), std::nullopt);
    EXPECT_EQ(idleSwitch(Mode::Departure, QTime(7, 0), limits), Mode::Arrival);
    EXPECT_EQ(idleSwitch(Mode::Departure, QTime(10, 0), limits), std::nullopt);
    EXPECT_EQ(idleSwitch(Mode::Departure, QTime(14, 0), limits), std::nullopt);
    EXPECT_EQ(idleSwitch(Mode::Arrival, QTime(14, 0), DayLimits{}), std::nullopt);
}

}  // namespace
