#include "demo_attendance.h"

#include "demo_catalogue.h"

#include "attendance/free_days.h"
#include "fees/settlement_months.h"
#include "store/database.h"

namespace demo {

int fillAttendance(Database& db, Dice& dice, const QList<Child>& children, const QDate& month, const QDate& end,
                   Attendance& days)
{
    const attendance::FreeDays freeDays(fees::generatedFreeDays(month.year(), month.month(), false));
    int rows = 0;
    for (QDate d = month; d.month() == month.month() && d < end; d = d.addDays(1)) {
        if (!freeDays.isWorkingDay(d))
            continue;
        for (const Child& child : children) {
            if (child.admitted > d)
                continue;
            const int roll = dice.between(0, 99);
            Day day;
            Row row{{QStringLiteral("OSOBA"), child.kod}, {QStringLiteral("DATA"), d}};
            if (roll < 7) {
                day.mark = QStringLiteral("N");
            } else if (roll < 10) {
                day.mark = QStringLiteral("Z");
            } else {
                day.mark = QStringLiteral("T");
                day.in = child.arrival.addSecs(60 * 5 * dice.between(-3, 4));
                day.out = child.departure.addSecs(60 * 5 * dice.between(-6, 6));
                row << qMakePair(QStringLiteral("CZASP"), QVariant(day.in))
                    << qMakePair(QStringLiteral("CZASW"), QVariant(day.out));
            }
            row << qMakePair(QStringLiteral("OBECNY"), QVariant(day.mark));
            insert(db, QStringLiteral("OBECN"), row);
            days[child.kod].insert(d, day);
            ++rows;
        }
    }
    return rows;
}

int fillHeldClasses(Database& db, int classCode, const QList<Child>& children, const Attendance& days,
                    const QDate& from, const QDate& end)
{
    const QTime start = at(10, 0), finish = at(10, 45);
    int number = count(db, QStringLiteral("SELECT MAX(ID) FROM ZAJODB WHERE KLASA IS NULL"));
    int held = 0;
    for (QDate d = from; d < end; d = d.addDays(1)) {
        if (d.dayOfWeek() != rhythmicsWeekday)
            continue;
        const attendance::FreeDays freeDays(fees::generatedFreeDays(d.year(), d.month(), false));
        if (!freeDays.isWorkingDay(d))
            continue;
        // The class is for children of several groups: it belongs to none.
        insert(db, QStringLiteral("ZAJODB"),
               {{QStringLiteral("ZAJECIE"), classCode}, {QStringLiteral("DATA"), d},
                {QStringLiteral("CZASP"), start}, {QStringLiteral("CZASW"), finish},
                {QStringLiteral("KLASA"), QVariant()}, {QStringLiteral("ID"), ++number}});
        ++held;
        for (const Child& child : children) {
            if (!child.rhythmics || child.admitted > d)
                continue;
            const Day day = days.value(child.kod).value(d);
            const bool present = day.mark == QLatin1String("T") && day.in <= start && day.out >= finish;
            insert(db, QStringLiteral("ZAJOBEC"),
                   {{QStringLiteral("KLASA"), QVariant()}, {QStringLiteral("ID"), number},
                    {QStringLiteral("OSOBA"), child.kod},
                    {QStringLiteral("OBECNY"), present ? QStringLiteral("T") : QStringLiteral("N")}});
        }
    }
    return held;
}

}  // namespace demo
