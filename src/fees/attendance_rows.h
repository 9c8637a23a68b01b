#pragma once
// The rows the attendance-derived quantities read, as plain data: times of
// day are whole minutes from midnight (noTime when the field is empty),
// dates are QDate (invalid when empty). Rows of one child are kept together;
// rows shared by all children (free time, limits, classes) once.

#include <QChar>
#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QTime>

#include <array>
#include <span>

namespace fees {

inline constexpr int noTime = -1;
inline constexpr int minutesPerDay = 24 * 60;

// Minutes from midnight of a time read from the store; noTime when invalid.
int minutesOf(QTime time);

// A dated row applies on `day` when `day` lies between its first and last
// day, an empty first or last day leaving that side open.
inline bool validOn(QDate from, QDate to, QDate day)
{
    return (!from.isValid() || from <= day) && (!to.isValid() || day <= to);
}

struct AttendanceRow {      // OBECN
    QDate date;
    QChar mark;             // T, N, Z; null when empty
    int arrival = noTime;
    int departure = noTime;
};

struct MonthlyTotalRow {    // OBECM
    int year = 0;
    int month = 0;
    QChar mark;
    int count = 0;       // 0 when ILE is empty
    bool hasCount = true;
};

struct DeclaredTimeRow {    // DZIECZAS: in force from `from` until the next row
    QDate from;
    int arrival = noTime;
    int departure = noTime;
};

struct FreeTimeRow {        // CZASBEZP: in force from `from` until the next row
    QDate from;
    int start = noTime;
    int end = noTime;
};

struct TimeLimitsRow {      // CZASGRAN
    QDate from;
    int arrivalLow = noTime;
    int arrivalHigh = noTime;
    int departureLow = noTime;
    int departureHigh = noTime;
};

struct TimetableRow {       // ZAJDAT
    int classCode = 0;
    int weekday = 0;        // 1 Monday ... 7 Sunday
    QDate from;
    QDate to;
    int start = noTime;
    int end = noTime;
};

struct ClassDeclarationRow {  // DZIEZAJ
    int classCode = 0;
    QDate from;
    QDate to;
};

// A held class is keyed by its group and number; a held class without a
// group has its own numbering, so the key keeps "no group" apart from any group.
struct HeldClassKey {
    bool hasGroup = false;
    int group = 0;
    int id = 0;
    bool operator==(const HeldClassKey&) const = default;
};
inline size_t qHash(const HeldClassKey& k, size_t seed = 0)
{
    return ::qHash((quint64(quint32(k.group)) << 32 | quint32(k.id)) ^ (k.hasGroup ? 0x9e3779b9U : 0U), seed);
}

// Every day of every child is visited: the next day and the weekday by the
// day's number, without the calendar's general arithmetic.
inline QDate nextDay(QDate day) { return QDate::fromJulianDay(day.toJulianDay() + 1); }
inline int weekday(QDate day) { return int((day.toJulianDay() % 7 + 7) % 7) + 1; }  // 1 Monday ... 7 Sunday

struct HeldClassRow {       // ZAJODB
    HeldClassKey key;
    int classCode = 0;
    QDate date;
    int start = noTime;
    int end = noTime;
};

struct ChildRows {
    int child = 0;
    QString caption;  // as messages name the child
    QList<AttendanceRow> attendance;           // by date
    QList<MonthlyTotalRow> monthlyTotals;
    QList<DeclaredTimeRow> declaredTimes;      // by first day
    QList<ClassDeclarationRow> declarations;   // by class, first day
    QHash<HeldClassKey, QChar> heldAttendance; // ZAJOBEC marks (empty reads as T)
};

struct QuantityData {
    QDate from;  // the period the rows were read for
    QDate to;
    QHash<int, ChildRows> children;
    QList<FreeTimeRow> freeTime;     // by first day
    QList<TimeLimitsRow> limits;     // by first day
    QHash<int, QString> classNames;  // ZAJDOD
    QList<TimetableRow> timetable;   // by class, first day
    QList<HeldClassRow> heldClasses; // by date, class

    // Indexes over the rows above; buildIndexes() makes them.
    std::array<QList<int>, 8> timetableByWeekday;  // positions in `timetable`
    QList<int> heldByDate;                         // positions in `heldClasses` of dated rows, by date
    qint64 heldFirstDay = 0;                       // julian day of the first dated row
    QList<int> heldDayStart;                       // per day from it: where its rows start in `heldByDate`
    void buildIndexes();
    // Positions in `heldClasses` of the classes held on `day`.
    std::span<const int> heldOn(QDate day) const;

    QString className(int code) const { return classNames.value(code); }
    const ChildRows* childRows(int child) const;
};

}  // namespace fees
