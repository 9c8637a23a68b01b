#include "attendance_quantities.h"

#include "browser/message_log.h"
#include "store/params.h"
#include "store/polish_dates.h"

#include <algorithm>
#include <optional>

namespace fees {

namespace {

// ZAJOBEC marks: an empty mark is the default, present.
bool markMatches(QChar stored, PresenceMark mark)
{
    switch (mark) {
    case PresenceMark::Present: return stored.isNull() || stored == QLatin1Char('T');
    case PresenceMark::Absent: return stored == QLatin1Char('N');
    case PresenceMark::NotifiedAbsence: return stored == QLatin1Char('Z');
    }
    return false;
}

// Latest row with a first day not after `day` (an empty first day counts as
// the earliest); -1 when none.
template <class Row>
int inForce(const QList<Row>& rows, QDate day)
{
    int found = -1;
    for (int i = 0; i < rows.size(); ++i) {
        if (rows[i].from.isValid() && rows[i].from > day)
            break;
        found = i;
    }
    return found;
}

void classReports(const HeldClassRow& held, const QString& name, bool enrolledWording, DataProblems& problems)
{
    if (held.start != noTime && held.end != noTime && held.end >= held.start)
        return;
    const QString on = QStringLiteral(" w dniu ") + polish::shortDate(held.date);
    if (held.start == noTime)
        problems.add(QStringLiteral("Brak określenia czasu rozpoczęcia zajęć dodatkowych: ") + name + on);
    if (held.end == noTime)
        problems.add(QStringLiteral("Brak określenia czasu zakończenia zajęć dodatkowych: ") + name + on);
    if (held.start != noTime && held.end != noTime && held.end < held.start)
        problems.add((enrolledWording ? QStringLiteral("Czas rozpoczęcia zajęć dodatkowych większa od czasu zakończenia: ")
                                      : QStringLiteral("Czas rozpoczęcia zajęć dodatkowych większy od czasu zakończenia: "))
                     + name + on);
}

void timetableReports(const TimetableRow& row, const QString& name, DataProblems& problems)
{
    if (row.start == noTime)
        problems.add(QStringLiteral("Brak określenia deklaracji czasu rozpoczęcia zajęć dodatkowych: ") + name);
    if (row.end == noTime)
        problems.add(QStringLiteral("Brak określenia deklaracji czasu zakończenia zajęć dodatkowych: ") + name);
    if (row.start != noTime && row.end != noTime && row.end < row.start)
        problems.add(QStringLiteral("Deklaracja czasu rozpoczęcia zajęć dodatkowych większa od czasu zakończenia: ") + name);
}

bool childEnrolled(const ChildRows& child, int classCode, QDate day)
{
    for (const ClassDeclarationRow& d : child.declarations) {
        if (d.classCode == classCode && validOn(d.from, d.to, day))
            return true;
    }
    return false;
}

bool complete(int start, int end) { return start != noTime && end != noTime; }

}  // namespace

// ---------------------------------------------------------------------------

QuantitySettings QuantitySettings::from(const Parameters& p)
{
    QuantitySettings s;
    s.summaryAttendance = p.obecnosciSumarycznie;
    s.independentClassAttendance = p.niezalezneObecnosciDodatkowe;
    s.accuracyMinutes = p.dokladnoscMinut;
    s.chargeStepMinutes = p.naliczanieMinut;
    return s;
}

QuantityPeriod QuantityPeriod::wholeMonth(int year, int month)
{
    const QDate first(year, month, 1);
    const QDate last(year, month, first.daysInMonth());
    return {first, last, first, last};
}

bool DataProblems::add(const QString& text)
{
    if (m_seen.contains(text))
        return false;
    m_seen.insert(text);
    m_texts.append(text);
    return true;
}

Intervals classIntervals(const QuantityData& data, const ChildRows& child, QDate day,
                         ClassIntervalKind kind, DataProblems& problems)
{
    Intervals intervals;
    if (kind == ClassIntervalKind::Declared) {
        for (const int i : data.timetableByWeekday[weekday(day)]) {
            const TimetableRow& row = data.timetable[i];
            if (!validOn(row.from, row.to, day) || !childEnrolled(child, row.classCode, day))
                continue;
            timetableReports(row, data.className(row.classCode), problems);
            if (complete(row.start, row.end) && row.end >= row.start)
                addClassInterval(intervals, {row.start, row.end});
        }
        return intervals;
    }
    for (const int i : data.heldOn(day)) {
        const HeldClassRow& held = data.heldClasses[i];
        if (kind == ClassIntervalKind::Attended) {
            const auto mark = child.heldAttendance.constFind(held.key);
            if (mark == child.heldAttendance.cend() || !markMatches(mark.value(), PresenceMark::Present))
                continue;
        } else if (!childEnrolled(child, held.classCode, day)) {
            continue;
        }
        classReports(held, data.className(held.classCode), kind == ClassIntervalKind::HeldForEnrolled, problems);
        if (complete(held.start, held.end) && held.end >= held.start)
            addClassInterval(intervals, {held.start, held.end});
    }
    return intervals;
}

Interval freeWindow(const FreeTimeRow* row, QDate day, DataProblems& problems)
{
    if (!row)
        return {0, 0};
    int fp = row->start, fw = row->end;
    if (fp == noTime)
        fp = fw;
    if (fw == noTime)
        fw = fp;
    if (fp == noTime)
        return {0, 0};
    if (fp > fw) {
        fp = fw;
        problems.add(QStringLiteral("Bezpłatny czas przyjścia większy od czasu wyjścia na dzień ") + polish::shortDate(day));
    }
    return {fp, fw};
}

const FreeTimeRow* freeTimeOn(const QuantityData& data, QDate day)
{
    const int i = inForce(data.freeTime, day);
    return i < 0 ? nullptr : &data.freeTime[i];
}

DayPaidTime dayPaidTime(const QuantityData& data, const ChildRows& child, const AttendanceRow& day, int step,
                        DataProblems& problems)
{
    if (day.mark != QLatin1Char('T') || day.arrival == noTime || day.departure == noTime)
        return {};
    const Interval stay{day.arrival, day.departure};
    const Interval free = freeWindow(freeTimeOn(data, day.date), day.date, problems);
    const Intervals attended = classIntervals(data, child, day.date, ClassIntervalKind::Attended, problems);
    return {paidMinutes(stay, free, {}, step), paidMinutes(stay, free, attended, step)};
}

// ---------------------------------------------------------------------------
// Rows in force change on their first day; the walks below take them on in
// date order, reading each once, dated the day it was taken on.

class AttendanceQuantities::DeclaredTracker {
public:
    DeclaredTracker(AttendanceQuantities& q, QDate start) : m_q(q), m_rows(q.m_child->declaredTimes)
    {
        const int i = inForce(m_rows, start);
        m_next = i + 1;
        read(i, start);
    }
    void advance(QDate day)
    {
        while (m_next < m_rows.size() && (!m_rows[m_next].from.isValid() || m_rows[m_next].from <= day))
            read(m_next++, day);
    }
    const Stay& stay() const { return m_stay; }

private:
    void read(int i, QDate day)
    {
        const DeclaredTimeRow none;
        const DeclaredTimeRow& row = i < 0 ? none : m_rows[i];
        m_stay = m_q.readStay(row.arrival, row.departure, day, true);
    }
    AttendanceQuantities& m_q;
    const QList<DeclaredTimeRow>& m_rows;
    int m_next = 0;
    Stay m_stay;
};

class AttendanceQuantities::FreeTracker {
public:
    FreeTracker(AttendanceQuantities& q, QDate start) : m_q(q), m_rows(q.m_data.freeTime)
    {
        const int i = inForce(m_rows, start);
        m_next = i + 1;
        m_window = freeWindow(i < 0 ? nullptr : &m_rows[i], start, m_q.m_problems);
    }
    void advance(QDate day)
    {
        while (m_next < m_rows.size() && (!m_rows[m_next].from.isValid() || m_rows[m_next].from <= day)) {
            m_window = freeWindow(&m_rows[m_next], day, m_q.m_problems);
            ++m_next;
        }
    }
    Interval window() const { return m_window; }

private:
    AttendanceQuantities& m_q;
    const QList<FreeTimeRow>& m_rows;
    int m_next = 0;
    Interval m_window;
};

// ---------------------------------------------------------------------------

AttendanceQuantities::AttendanceQuantities(const QuantityData& data, const QuantitySettings& settings, int child,
                                           const attendance::FreeDays& freeDays, const QuantityPeriod& period,
                                           DataProblems& problems)
    : m_data(data), m_settings(settings), m_child(data.childRows(child)), m_freeDays(freeDays),
      m_period(period), m_problems(problems)
{
    if (!m_child) {
        m_noRows.child = child;
        m_child = &m_noRows;
    }
}

double AttendanceQuantities::simple(QChar letter)
{
    const QuantityPeriod& p = m_period;
    switch (letter.unicode()) {
    case 'A': return double(p.monthFirst.daysTo(p.monthLast) + 1);
    case 'B': return double(std::max<qint64>(0, p.periodFirst.daysTo(p.periodLast) + 1));
    case 'C': return m_freeDays.workingDays(p.monthFirst, p.monthLast);
    case 'D': return m_freeDays.workingDays(p.periodFirst, p.periodLast);
    case 'T': case 'N': case 'Z': case 'X': return markCount(letter);
    case 'E': return declaredHours(false);
    case 'G': return declaredHours(true);
    case 'F': return actualHours(false, -1);
    case 'H': return actualHours(false, int(ClassIntervalKind::Attended));
    case 'J': return actualHours(false, int(ClassIntervalKind::Declared));
    case 'K': return actualHours(false, int(ClassIntervalKind::HeldForEnrolled));
    case 'S': return actualHours(true, -1);
    case 'U': return actualHours(true, int(ClassIntervalKind::Attended));
    case 'V': return actualHours(true, int(ClassIntervalKind::Declared));
    case 'W': return actualHours(true, int(ClassIntervalKind::HeldForEnrolled));
    default: return 0;
    }
}

AttendanceQuantities::Stay AttendanceQuantities::readStay(int arrival, int departure, QDate day, bool declared)
{
    if (arrival != noTime && departure != noTime && departure >= arrival)
        return {arrival, departure};
    const QString kind = declared ? QStringLiteral(" dekl.") : QString();
    const QString on = polish::shortDate(day);
    if (arrival == noTime)
        m_problems.add(m_child->caption + QStringLiteral(" - brak") + kind + QStringLiteral(" czasu przyjścia na dzień ") + on);
    if (departure == noTime)
        m_problems.add(m_child->caption + QStringLiteral(" - brak") + kind + QStringLiteral(" czasu wyjścia na dzień ") + on);
    if (arrival != noTime && departure != noTime && departure < arrival) {
        arrival = departure;
        m_problems.add(m_child->caption + QStringLiteral(" -") + kind
                       + QStringLiteral(" czas przyjścia większy od czasu wyjścia na dzień ") + on);
    }
    return {arrival, departure};
}

bool AttendanceQuantities::workingDay(QDate day) const
{
    // The day's number from the month's first day: cheaper than splitting
    // every date into its parts.
    return !m_freeDays.isFree(int(m_period.monthFirst.daysTo(day)) + 1);
}

void AttendanceQuantities::reportGap(QDate day)
{
    if (workingDay(day))
        m_problems.add(m_child->caption + QStringLiteral(" - brak określenia obecności/nieobecności w dniu ")
                       + polish::shortDate(day));
}

// Visits the child's rows of the period in date order, reporting the
// working days that have no row; `onRow` sees every row.
template <class F>
void AttendanceQuantities::walkAttendance(F&& onRow)
{
    const QList<AttendanceRow>& rows = m_child->attendance;
    auto it = std::lower_bound(rows.cbegin(), rows.cend(), m_period.periodFirst,
                               [](const AttendanceRow& r, QDate d) { return r.date < d; });
    QDate expected = m_period.periodFirst;
    for (; it != rows.cend() && it->date <= m_period.periodLast; ++it) {
        for (; expected < it->date; expected = nextDay(expected))
            reportGap(expected);
        if (it->date >= expected)
            expected = nextDay(it->date);
        onRow(*it);
    }
    for (; expected <= m_period.periodLast; expected = nextDay(expected))
        reportGap(expected);
}

double AttendanceQuantities::markCount(QChar mark)
{
    const bool undetermined = mark == QLatin1Char('X');
    if (m_settings.summaryAttendance) {
        const int year = m_period.periodFirst.year(), month = m_period.periodFirst.month();
        int count = 0, all = 0;
        for (const MonthlyTotalRow& r : m_child->monthlyTotals) {
            if (r.year != year || r.month != month)
                continue;
            all += r.count;
            if (r.mark == mark)
                count += r.count;
        }
        return undetermined ? QDate(year, month, 1).daysInMonth() - all : count;
    }
    int count = 0;
    if (undetermined) {
        // Days without a row and rows without one of the three marks.
        const QList<AttendanceRow>& rows = m_child->attendance;
        // Rows are by date: a day with two marked rows counts once.
        qint64 marked = 0;
        QDate last;
        for (const AttendanceRow& r : rows) {
            if (r.date >= m_period.periodFirst && r.date <= m_period.periodLast && r.date != last
                && (r.mark == QLatin1Char('T') || r.mark == QLatin1Char('N') || r.mark == QLatin1Char('Z'))) {
                ++marked;
                last = r.date;
            }
        }
        const qint64 days = m_period.periodFirst.daysTo(m_period.periodLast) + 1;
        return double(std::max<qint64>(0, days - marked));
    }
    walkAttendance([&](const AttendanceRow& r) { count += r.mark == mark ? 1 : 0; });
    return count;
}

double AttendanceQuantities::declaredHours(bool lessClasses)
{
    if (m_settings.summaryAttendance || m_freeDays.wholeMonth())
        return 0;
    DeclaredTracker declared(*this, m_period.periodFirst);
    FreeTracker free(*this, m_period.periodFirst);
    long long total = 0;
    for (QDate d = m_period.periodFirst; d <= m_period.periodLast; d = nextDay(d)) {
        if (!workingDay(d))
            continue;
        declared.advance(d);
        free.advance(d);
        const Intervals classes = lessClasses
            ? classIntervals(m_data, *m_child, d, ClassIntervalKind::Declared, m_problems) : Intervals();
        // A declaration missing a time counts nothing rather than a stay
        // from or to midnight.
        const Stay& s = declared.stay();
        if (s.complete())
            total += paidMinutes({s.arrival, s.departure}, free.window(), classes, m_settings.chargeStepMinutes);
    }
    return roundedHours(total, m_settings.accuracyMinutes);
}

double AttendanceQuantities::actualHours(bool widened, int classKind)
{
    if (m_settings.summaryAttendance)
        return 0;
    FreeTracker free(*this, m_period.periodFirst);
    std::optional<DeclaredTracker> declared;
    if (widened)
        declared.emplace(*this, m_period.periodFirst);
    long long total = 0;
    walkAttendance([&](const AttendanceRow& row) {
        if (row.mark != QLatin1Char('T'))
            return;
        Stay stay = readStay(row.arrival, row.departure, row.date, false);
        if (widened) {
            // The day covers the declared stay as well; a side left empty on
            // either stay is taken from the other, never from midnight.
            declared->advance(row.date);
            const Stay& d = declared->stay();
            if (d.arrival != noTime && (stay.arrival == noTime || d.arrival < stay.arrival))
                stay.arrival = d.arrival;
            if (d.departure != noTime && (stay.departure == noTime || d.departure > stay.departure))
                stay.departure = d.departure;
        }
        free.advance(row.date);
        const Intervals classes = classKind < 0
            ? Intervals()
            : classIntervals(m_data, *m_child, row.date, ClassIntervalKind(classKind), m_problems);
        // A stay missing a time counts nothing (it has been reported).
        if (stay.complete())
            total += paidMinutes({stay.arrival, stay.departure}, free.window(), classes, m_settings.chargeStepMinutes);
    });
    return roundedHours(total, m_settings.accuracyMinutes);
}

bool AttendanceQuantities::enrolled(int classCode, QDate day) const
{
    return childEnrolled(*m_child, classCode, day);
}

int AttendanceQuantities::scheduledCount(int classCode, QDate day, int lo, int hi)
{
    int count = 0;
    for (const int i : m_data.timetableByWeekday[weekday(day)]) {
        const TimetableRow& row = m_data.timetable[i];
        // Several declarations in force together still make one occurrence.
        if (row.classCode != classCode || !validOn(row.from, row.to, day) || !enrolled(classCode, day))
            continue;
        timetableReports(row, m_data.className(classCode), m_problems);
        if (complete(row.start, row.end) && row.end >= row.start && row.start < hi && row.end > lo)
            ++count;
    }
    return count;
}

int AttendanceQuantities::heldCount(int classCode, QDate day, PresenceMark mark, int lo, int hi)
{
    int count = 0;
    for (const int i : m_data.heldOn(day)) {
        const HeldClassRow& held = m_data.heldClasses[i];
        if (held.classCode != classCode)
            continue;
        const auto stored = m_child->heldAttendance.constFind(held.key);
        if (stored == m_child->heldAttendance.cend() || !markMatches(stored.value(), mark))
            continue;
        classReports(held, m_data.className(classCode), false, m_problems);
        if (!complete(held.start, held.end) || held.end < held.start)
            continue;
        if (held.start < hi && lo < held.end)
            ++count;
        else
            m_problems.add(QStringLiteral("Obecność na zajęciach dodatkowych poza czasem ogólnej obecności: ")
                           + m_data.className(classCode) + QStringLiteral(" w dniu ") + polish::shortDate(day));
    }
    return count;
}

int AttendanceQuantities::scheduledClasses(int classCode)
{
    if (m_settings.summaryAttendance || m_freeDays.wholeMonth())
        return 0;
    int count = 0;
    for (QDate d = m_period.periodFirst; d <= m_period.periodLast; d = nextDay(d)) {
        if (workingDay(d))
            count += scheduledCount(classCode, d, 0, minutesPerDay);
    }
    return count;
}

namespace {

struct Window {
    int lo;
    int hi;
};

// The window in which a day's classes count. Unlike the hours, class counts
// read a missing time as midnight: a child marked present with only a
// departure time still attended the classes held before it. A start after
// the end leaves no window.
Window classWindow(const AttendanceQuantities::Stay& s)
{
    const int lo = s.arrival == noTime ? 0 : s.arrival;
    const int hi = s.departure == noTime ? 0 : s.departure;
    return {std::min(lo, hi), hi};
}

}  // namespace

int AttendanceQuantities::classAttendance(int classCode, PresenceMark mark)
{
    if (m_settings.summaryAttendance)
        return 0;
    int count = 0;
    if (m_settings.independentClassAttendance) {
        for (QDate d = m_period.periodFirst; d <= m_period.periodLast; d = nextDay(d))
            count += heldCount(classCode, d, mark, 0, minutesPerDay);
        return count;
    }
    walkAttendance([&](const AttendanceRow& row) {
        if (row.mark != QLatin1Char('T'))
            return;
        const Window w = classWindow(readStay(row.arrival, row.departure, row.date, false));
        count += heldCount(classCode, row.date, mark, w.lo, w.hi);
    });
    return count;
}

int AttendanceQuantities::classesDuringStay(int classCode)
{
    if (m_settings.summaryAttendance)
        return 0;
    int count = 0;
    walkAttendance([&](const AttendanceRow& row) {
        if (row.mark != QLatin1Char('T'))
            return;
        const Window w = classWindow(readStay(row.arrival, row.departure, row.date, false));
        count += scheduledCount(classCode, row.date, w.lo, w.hi);
    });
    return count;
}

int AttendanceQuantities::classesOnDaysPresent(int classCode)
{
    if (m_settings.summaryAttendance)
        return 0;
    int count = 0;
    walkAttendance([&](const AttendanceRow& row) {
        if (row.mark == QLatin1Char('T'))
            count += scheduledCount(classCode, row.date, 0, minutesPerDay);
    });
    return count;
}

QList<int> AttendanceQuantities::classesOfChild() const
{
    QSet<int> codes;
    for (const ClassDeclarationRow& d : m_child->declarations) {
        if ((!d.from.isValid() || d.from <= m_period.periodLast) && (!d.to.isValid() || d.to >= m_period.periodFirst))
            codes.insert(d.classCode);
    }
    for (const HeldClassRow& held : m_data.heldClasses) {
        if (held.date >= m_period.periodFirst && held.date <= m_period.periodLast
            && m_child->heldAttendance.contains(held.key))
            codes.insert(held.classCode);
    }
    QList<int> list(codes.cbegin(), codes.cend());
    std::sort(list.begin(), list.end());
    return list;
}

// ---------------------------------------------------------------------------

AttendanceQuantityProvider::AttendanceQuantityProvider(const QuantityData& data, const QuantitySettings& settings,
                                                       int child, const attendance::FreeDays& freeDays,
                                                       const QuantityPeriod& period, MessageLog* log)
    : m_freeDays(freeDays), m_engine(data, settings, child, m_freeDays, period, m_problems), m_log(log)
{
}

template <class F>
double AttendanceQuantityProvider::remembered(QChar letter, int classCode, int mark, F&& compute)
{
    const quint64 code = quint64(letter.unicode()) << 40 | quint64(quint32(classCode)) << 8 | quint64(mark & 0xff);
    for (const auto& [known, value] : m_values)
        if (known == code)
            return value;
    const qsizetype before = m_problems.texts().size();
    const double value = compute();
    if (m_log) {
        for (qsizetype i = before; i < m_problems.texts().size(); ++i)
            m_log->addError(m_problems.texts()[i]);
    }
    m_values.append({code, value});
    return value;
}

double AttendanceQuantityProvider::simpleQuantity(QChar letter)
{
    return remembered(letter, 0, 0, [&] { return m_engine.simple(letter); });
}

int AttendanceQuantityProvider::scheduledClasses(int classCode)
{
    return int(remembered(QLatin1Char('O'), classCode, 0, [&] { return double(m_engine.scheduledClasses(classCode)); }));
}

int AttendanceQuantityProvider::classAttendance(int classCode, PresenceMark mark)
{
    return int(remembered(QLatin1Char('P'), classCode, int(mark) + 1, [&] { return double(m_engine.classAttendance(classCode, mark)); }));
}

int AttendanceQuantityProvider::classesDuringStay(int classCode)
{
    return int(remembered(QLatin1Char('Q'), classCode, 0, [&] { return double(m_engine.classesDuringStay(classCode)); }));
}

int AttendanceQuantityProvider::classesOnDaysPresent(int classCode)
{
    return int(remembered(QLatin1Char('R'), classCode, 0, [&] { return double(m_engine.classesOnDaysPresent(classCode)); }));
}

}  // namespace fees
