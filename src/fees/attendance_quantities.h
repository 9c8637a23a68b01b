#pragma once
// The quantities of one child's month computed from attendance, declared
// times, the free window and extra classes, over rows read beforehand
// (quantity_data_loader.h). Nothing here touches the store.
//
// Problems met in the data (a day without a mark, a missing time, a class
// starting after it ends) are collected as texts, each distinct text once,
// and the computation goes on with what was read.

#include "attendance/free_days.h"
#include "fees/attendance_rows.h"
#include "fees/day_time.h"
#include "fees/quantity_substitution.h"

#include <QHash>
#include <QSet>
#include <QStringList>
#include <QVarLengthArray>

struct Parameters;
class MessageLog;

namespace fees {

struct QuantitySettings {
    bool summaryAttendance = false;           // OBECNOŚCI SUMARYCZNIE
    bool independentClassAttendance = false;  // NIEZALEZNE OBECNOSCI DODATKOWE
    int accuracyMinutes = 1;                  // DOKŁADNOŚĆ MINUT: rounding of totals
    int chargeStepMinutes = 0;                // NALICZANIE MINUT: widening of pieces

    static QuantitySettings from(const Parameters& parameters);
};

struct QuantityPeriod {
    QDate monthFirst;
    QDate monthLast;
    QDate periodFirst;   // the charge period, inside the month
    QDate periodLast;

    static QuantityPeriod wholeMonth(int year, int month);
};

// Distinct texts in the order they were first met.
class DataProblems {
public:
    bool add(const QString& text);
    const QStringList& texts() const { return m_texts; }
private:
    QStringList m_texts;
    QSet<QString> m_seen;
};

enum class ClassIntervalKind {
    Declared,         // the timetable of the classes the child is enrolled in
    Attended,         // held classes at which the child was present
    HeldForEnrolled,  // held classes of the classes the child is enrolled in
};

// The class intervals of one day, disjoint and sorted, with their reports.
Intervals classIntervals(const QuantityData& data, const ChildRows& child, QDate day,
                         ClassIntervalKind kind, DataProblems& problems);

// The free window of a CZASBEZP row (none in force: no free time), read
// for `day`: an empty side takes the other's time, a start after the end is
// cut to the end and reported.
Interval freeWindow(const FreeTimeRow* row, QDate day, DataProblems& problems);

// The CZASBEZP row in force on `day` (the latest first day not after it).
const FreeTimeRow* freeTimeOn(const QuantityData& data, QDate day);

// Paid time of one day as the attendance window shows it: the minutes of
// the stay outside the free window in force, and the same less the extra
// classes attended. Zero unless the day is marked present with both times.
struct DayPaidTime {
    int minutes = 0;
    int lessClasses = 0;
};
DayPaidTime dayPaidTime(const QuantityData& data, const ChildRows& child, const AttendanceRow& day, int step,
                        DataProblems& problems);

class AttendanceQuantities {
public:
    // `data` must hold the rows of the period; a child it does not hold has
    // no rows at all.
    AttendanceQuantities(const QuantityData& data, const QuantitySettings& settings, int child,
                         const attendance::FreeDays& freeDays, const QuantityPeriod& period,
                         DataProblems& problems);

    // IA ... IW by letter (one of "ABCDTNZXEFGHJKSUVW"); 0 for any other.
    double simple(QChar letter);
    int scheduledClasses(int classCode);                        // IO[k]
    int classAttendance(int classCode, PresenceMark mark);      // IP[k,m]
    int classesDuringStay(int classCode);                       // IQ[k]
    int classesOnDaysPresent(int classCode);                    // IR[k]

    // Classes the child is enrolled in during the period or held with a
    // mark of the child, in code order.
    QList<int> classesOfChild() const;

    // A day's stay as read; a missing time stays `noTime`.
    struct Stay {
        int arrival = noTime;
        int departure = noTime;
        bool complete() const { return arrival != noTime && departure != noTime; }
    };

private:
    class DeclaredTracker;
    class FreeTracker;

    double markCount(QChar mark);
    double declaredHours(bool lessClasses);
    double actualHours(bool widened, int classKind);
    Stay readStay(int arrival, int departure, QDate day, bool declared);
    template <class F> void walkAttendance(F&& onPresentRow);
    void reportGap(QDate day);
    bool workingDay(QDate day) const;
    bool enrolled(int classCode, QDate day) const;
    int scheduledCount(int classCode, QDate day, int lo, int hi);
    int heldCount(int classCode, QDate day, PresenceMark mark, int lo, int hi);

    const QuantityData& m_data;
    QuantitySettings m_settings;
    const ChildRows* m_child;
    ChildRows m_noRows;
    const attendance::FreeDays& m_freeDays;
    QuantityPeriod m_period;
    DataProblems& m_problems;
};

// The quantity provider of the substitution for one child and period: each
// code is computed once, and every new problem text also goes to the
// message window's error list when one is given.
class AttendanceQuantityProvider : public QuantityProvider {
public:
    AttendanceQuantityProvider(const QuantityData& data, const QuantitySettings& settings, int child,
                               const attendance::FreeDays& freeDays, const QuantityPeriod& period,
                               MessageLog* log = nullptr);

    double simpleQuantity(QChar letter) override;
    int scheduledClasses(int classCode) override;
    int classAttendance(int classCode, PresenceMark mark) override;
    int classesDuringStay(int classCode) override;
    int classesOnDaysPresent(int classCode) override;

    const QStringList& problems() const { return m_problems.texts(); }
    AttendanceQuantities& engine() { return m_engine; }

private:
    template <class F> double remembered(QChar letter, int classCode, int mark, F&& compute);

    attendance::FreeDays m_freeDays;
    DataProblems m_problems;
    AttendanceQuantities m_engine;
    MessageLog* m_log;
    // The codes a definition asks for, a few dozen at most: a short list
    // searched in order costs less than a hash made per child and period.
    QVarLengthArray<std::pair<quint64, double>, 16> m_values;
};

}  // namespace fees
