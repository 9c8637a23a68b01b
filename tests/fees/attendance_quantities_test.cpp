// Quantities of a child's month over hand-built rows, and once through a
// store filled with plain SQL.

#include "browser/message_log.h"
#include "fees/attendance_quantities.h"
#include "fees/quantity_data_loader.h"
#include "store/query.h"
#include "support/store_fixture.h"

#include <gtest/gtest.h>

using namespace fees;
using attendance::FreeDays;

namespace {

int t(const char* hhmm)
{
    const QTime time = QTime::fromString(QString::fromLatin1(hhmm), QStringLiteral("H:mm"));
    return minutesOf(time);
}

QDate mar(int day) { return QDate(2024, 3, day); }  // 1 March 2024 is a Friday

const QString kid = QStringLiteral("Kowalska Ala, Lipowa 1 (PESEL: 19230112345)");
const char* weekends = "2,3,9,10,16,17,23,24,30,31";

// One child (code 1) in March 2024 with rows added by the test.
struct Month {
    QuantityData data;
    QuantitySettings settings;
    QString freeDays = QString::fromLatin1(weekends);
    QuantityPeriod period = QuantityPeriod::wholeMonth(2024, 3);
    DataProblems problems;

    Month()
    {
        child().child = 1;
        child().caption = kid;
        data.classNames = {{5, QStringLiteral("Rytmika")}, {6, QStringLiteral("Angielski")}};
    }
    ChildRows& child() { return data.children[1]; }
    Month& day(int d, char mark, const char* in = nullptr, const char* out = nullptr)
    {
        child().attendance.append({mar(d), mark ? QChar(mark) : QChar(), in ? t(in) : noTime, out ? t(out) : noTime});
        return *this;
    }
    Month& declared(QDate from, const char* in, const char* out)
    {
        child().declaredTimes.append({from, in ? t(in) : noTime, out ? t(out) : noTime});
        return *this;
    }
    Month& free(QDate from, const char* start, const char* end)
    {
        data.freeTime.append({from, start ? t(start) : noTime, end ? t(end) : noTime});
        return *this;
    }
    Month& timetable(int cls, int weekday, const char* start, const char* end, QDate from = {}, QDate to = {})
    {
        data.timetable.append({cls, weekday, from, to, start ? t(start) : noTime, end ? t(end) : noTime});
        return *this;
    }
    Month& enrol(int cls, QDate from = {}, QDate to = {})
    {
        child().declarations.append({cls, from, to});
        return *this;
    }
    Month& held(int id, int cls, int d, const char* start, const char* end, char mark = 'T')
    {
        const HeldClassKey key{true, 1, id};
        data.heldClasses.append({key, cls, mar(d), start ? t(start) : noTime, end ? t(end) : noTime});
        if (mark)
            child().heldAttendance.insert(key, mark == '_' ? QChar() : QChar(mark));
        return *this;
    }
    Month& only(int first, int last)
    {
        period.periodFirst = mar(first);
        period.periodLast = mar(last);
        return *this;
    }

    AttendanceQuantities engine()
    {
        data.buildIndexes();
        m_free = FreeDays(freeDays);
        return AttendanceQuantities(data, settings, 1, m_free, period, problems);
    }
    double q(char letter) { return engine().simple(QLatin1Char(letter)); }
    QStringList reported() const { return problems.texts(); }

private:
    FreeDays m_free;
};

TEST(AttendanceQuantities, DayCountsMarksAndGaps)
{
    Month m;
    m.freeDays = QStringLiteral("1, 6 ,7,13,14");
    EXPECT_EQ(m.q('A'), 31);
    EXPECT_EQ(m.q('C'), 26);
    m.only(4, 8);
    EXPECT_EQ(m.q('B'), 5);
    EXPECT_EQ(m.q('D'), 3);

    // Rows on days 1 and 4 only, days 2 and 3 working: two gap reports.
    Month g;
    g.freeDays = QString();
    g.only(1, 5).day(1, 'T', "8:00", "9:00").day(4, 'N');
    EXPECT_EQ(g.q('T'), 1);
    EXPECT_EQ(g.q('N'), 1);
    EXPECT_EQ(g.q('Z'), 0);
    const QString gap = kid + QStringLiteral(" - brak określenia obecności/nieobecności w dniu ");
    EXPECT_EQ(g.reported(), QStringList({gap + "02.03.2024", gap + "03.03.2024", gap + "05.03.2024"}));
    EXPECT_EQ(g.q('X'), 3);  // days 2, 3 and 5

    // A row without one of the three marks is undetermined too; free days
    // are not reported as gaps.
    Month x;
    x.only(1, 4).day(1, 'Z').day(4, 0);
    EXPECT_EQ(x.q('X'), 3);
    EXPECT_EQ(x.q('Z'), 1);
    EXPECT_TRUE(x.reported().isEmpty());

    // A wholly free month: no working day, no declared hours, no report.
    Month dash;
    dash.freeDays = QStringLiteral("-");
    dash.declared(mar(1), "8:00", "15:00").day(5, 'T', "8:00", "15:00");
    EXPECT_EQ(dash.q('C'), 0);
    EXPECT_EQ(dash.q('D'), 0);
    EXPECT_EQ(dash.q('E'), 0);
    EXPECT_EQ(dash.q('T'), 1);
    EXPECT_EQ(dash.q('F'), 7);
    EXPECT_EQ(dash.engine().scheduledClasses(5), 0);
    EXPECT_TRUE(dash.reported().isEmpty());
}

TEST(AttendanceQuantities, HoursOfTheWorkedExample)
{
    auto example = [](const char* in, const char* out, int step) {
        Month m;
        m.settings.chargeStepMinutes = step;
        m.only(4, 4).day(4, 'T', in, out).declared(mar(1), "8:00", "15:00").free(mar(1), "12:00", "13:00");
        m.held(1, 5, 4, "14:00", "15:00");
        return m;
    };
    Month m = example("7:30", "16:00", 0);
    EXPECT_DOUBLE_EQ(m.q('F'), 7.5);
    EXPECT_DOUBLE_EQ(m.q('H'), 6.5);
    EXPECT_DOUBLE_EQ(m.q('S'), 7.5);
    EXPECT_DOUBLE_EQ(m.q('U'), 6.5);
    EXPECT_DOUBLE_EQ(m.q('E'), 6);
    EXPECT_DOUBLE_EQ(m.q('K'), 7.5);  // not enrolled in the held class
    EXPECT_TRUE(m.reported().isEmpty());

    Month w = example("7:40", "16:05", 30);
    EXPECT_DOUBLE_EQ(w.q('F'), 4.5 + 3.5);

    // The attendance window's paid-time columns of that day.
    m.data.buildIndexes();
    DataProblems none;
    const DayPaidTime paid = dayPaidTime(m.data, m.child(), m.child().attendance[0], 0, none);
    EXPECT_EQ(paid.minutes, 450);
    EXPECT_EQ(paid.lessClasses, 390);
    const AttendanceRow open{mar(4), QChar('T'), t("7:30"), noTime};
    EXPECT_EQ(dayPaidTime(m.data, m.child(), open, 0, none).minutes, 0);

    // Widening to the declared stay, and declared hours over changing rows.
    Month s;
    s.only(4, 5).day(4, 'T', "9:00", "14:00").day(5, 'T', "7:00", "16:00");
    s.declared(mar(1), "8:00", "15:00").declared(mar(5), "8:30", "17:00");
    EXPECT_DOUBLE_EQ(s.q('F'), 5 + 9);
    EXPECT_DOUBLE_EQ(s.q('S'), 7 + 10);
    EXPECT_DOUBLE_EQ(s.q('E'), 7 + 8.5);
}

TEST(AttendanceQuantities, PiecesOutsideTheFreeWindowAndClasses)
{
    struct Case {
        const char *in, *out, *freeStart, *freeEnd;
        int minutes;
    };
    const Case cases[] = {
        {"8:00", "16:00", "12:00", "13:00", 7 * 60},  // inside: two pieces
        {"8:00", "16:00", "6:00", "9:00", 7 * 60},    // before and into the stay
        {"8:00", "16:00", "15:00", "18:00", 7 * 60},  // into and after
        {"8:00", "16:00", "7:00", "17:00", 0},        // covering the stay
        {"8:00", "16:00", "17:00", "18:00", 8 * 60},  // after the stay
        {"8:00", "16:00", "0:00", "0:00", 8 * 60},    // no free time
    };
    for (const Case& c : cases)
        EXPECT_EQ(paidMinutes({t(c.in), t(c.out)}, {t(c.freeStart), t(c.freeEnd)}, {}, 0), c.minutes) << c.in << c.freeStart;

    Intervals classes;
    addClassInterval(classes, {t("14:30"), t("15:30")});
    addClassInterval(classes, {t("9:00"), t("10:00")});
    addClassInterval(classes, {t("14:00"), t("15:00")});
    EXPECT_EQ(classes, Intervals({{t("9:00"), t("10:00")}, {t("14:00"), t("15:30")}}));
    addClassInterval(classes, {t("10:00"), t("14:00")});  // touching joins
    EXPECT_EQ(classes, Intervals({{t("9:00"), t("15:30")}}));

    Intervals two;
    addClassInterval(two, {t("14:00"), t("15:00")});
    addClassInterval(two, {t("14:30"), t("15:30")});
    EXPECT_EQ(pieceMinutes({t("8:00"), t("16:00")}, two, 0), 8 * 60 - 90);

    EXPECT_EQ(pieceMinutes({t("8:00"), t("12:00")}, {}, 15), 240);
    EXPECT_EQ(pieceMinutes({t("8:01"), t("12:01")}, {}, 15), 255);
    // With a step, an end inside a class moves to its edge before widening.
    EXPECT_EQ(pieceMinutes({t("8:00"), t("14:20")}, two, 15), 6 * 60);
    // A piece inside a class, with another class later that day: nothing,
    // never a negative time.
    Intervals apart;
    addClassInterval(apart, {t("14:00"), t("15:00")});
    addClassInterval(apart, {t("16:00"), t("17:00")});
    EXPECT_EQ(pieceMinutes({t("14:10"), t("14:50")}, apart, 15), 0);
    // A stay cut to nothing charges no widening step.
    EXPECT_EQ(paidMinutes({t("8:05"), t("8:05")}, {0, 0}, {}, 15), 0);
    EXPECT_EQ(paidMinutes({t("12:00"), t("16:05")}, {t("13:00"), t("16:05")}, {}, 15), 60);
}

TEST(AttendanceQuantities, MinuteAccuracyRoundsTotalsTiesToEven)
{
    EXPECT_DOUBLE_EQ(roundedHours(612, 30), 10);    // 10.2 h
    EXPECT_DOUBLE_EQ(roundedHours(618, 30), 10.5);  // 10.3 h
    EXPECT_DOUBLE_EQ(roundedHours(615, 30), 10);    // 10.25 h: 20.5 units
    EXPECT_DOUBLE_EQ(roundedHours(645, 30), 11);    // 10.75 h: 21.5 units
    EXPECT_DOUBLE_EQ(roundedHours(617, 0), 617 / 60.0);
    EXPECT_DOUBLE_EQ(roundedHours(617, 1), 617 / 60.0);

    Month m;
    m.settings.accuracyMinutes = 30;
    m.only(4, 5).day(4, 'T', "8:00", "13:06").day(5, 'T', "8:00", "13:09");  // 612 minutes
    EXPECT_DOUBLE_EQ(m.q('F'), 10);
}

TEST(AttendanceQuantities, StayProblemsCountNothingFromMidnight)
{
    Month m;
    m.only(4, 7).declared(mar(1), "8:00", "15:00");
    m.day(4, 'T', "17:00", "8:00").day(5, 'T', "9:00", nullptr).day(6, 'T', nullptr, "13:00").day(7, 'N');
    EXPECT_EQ(m.q('F'), 0);
    EXPECT_EQ(m.reported(), QStringList({kid + " - czas przyjścia większy od czasu wyjścia na dzień 04.03.2024",
                                         kid + " - brak czasu wyjścia na dzień 05.03.2024",
                                         kid + " - brak czasu przyjścia na dzień 06.03.2024"}));
    // Widened: each day covers the declared 8-15, a missing side taken
    // from the declaration.
    EXPECT_DOUBLE_EQ(m.q('S'), 7 + 7 + 7);

    // A declaration missing a side is not widened to midnight, and counts
    // no declared hours; a child without one is not widened at all.
    Month d;
    d.only(4, 4).declared(mar(1), "8:00", nullptr).day(4, 'T', "9:00", "14:00");
    EXPECT_DOUBLE_EQ(d.q('S'), 6);
    EXPECT_DOUBLE_EQ(d.q('E'), 0);
    EXPECT_EQ(d.reported(), QStringList({kid + " - brak dekl. czasu wyjścia na dzień 04.03.2024"}));
    Month none;
    none.only(4, 4).day(4, 'T', "9:00", "14:00");
    EXPECT_DOUBLE_EQ(none.q('S'), 5);
    Month back;
    back.only(4, 4).declared(mar(1), "15:00", "8:00").day(4, 'T', "9:00", "14:00");
    EXPECT_DOUBLE_EQ(back.q('S'), 6);  // the declaration cut to 8:00-8:00
    EXPECT_EQ(back.reported(), QStringList({kid + " - dekl. czas przyjścia większy od czasu wyjścia na dzień 04.03.2024"}));

    // A free window written backwards is cut and reported on the day it
    // comes into force.
    Month f;
    f.only(4, 5).day(4, 'T', "8:00", "16:00").day(5, 'T', "8:00", "16:00");
    f.free(mar(1), "12:00", "13:00").free(mar(5), "13:00", "12:00");
    EXPECT_DOUBLE_EQ(f.q('F'), 7 + 8);
    EXPECT_EQ(f.reported(), QStringList({"Bezpłatny czas przyjścia większy od czasu wyjścia na dzień 05.03.2024"}));
    Month half;
    half.only(4, 4).day(4, 'T', "8:00", "16:00").free(mar(1), nullptr, "12:00");
    EXPECT_DOUBLE_EQ(half.q('F'), 8);
}

TEST(AttendanceQuantities, SummaryModeReadsMonthlyTotals)
{
    Month m;
    m.settings.summaryAttendance = true;
    m.only(10, 12).day(11, 'T', "8:00", "16:00").enrol(5).timetable(5, 1, "10:00", "11:00").held(1, 5, 11, "10:00", "11:00");
    m.child().monthlyTotals = {{2024, 3, QChar('T'), 15}, {2024, 3, QChar('N'), 4}, {2024, 3, QChar('Z'), 2},
                               {2024, 2, QChar('T'), 19}};
    EXPECT_EQ(m.q('T'), 15);  // the whole month, whatever the period
    EXPECT_EQ(m.q('N'), 4);
    EXPECT_EQ(m.q('Z'), 2);
    EXPECT_EQ(m.q('X'), 31 - 21);
    for (const char c : std::string("EFGHJKSUVW"))
        EXPECT_EQ(m.q(c), 0) << c;
    AttendanceQuantities e = m.engine();
    EXPECT_EQ(e.scheduledClasses(5), 0);
    EXPECT_EQ(e.classAttendance(5, PresenceMark::Present), 0);
    EXPECT_EQ(e.classesDuringStay(5), 0);
    EXPECT_EQ(e.classesOnDaysPresent(5), 0);
    EXPECT_TRUE(m.reported().isEmpty());
}

TEST(AttendanceQuantities, ExtraClassCountsAndDeductions)
{
    // Class 5 on Mondays 10-11 (4, 11, 18, 25 March) and Wednesdays 15-16;
    // enrolled twice over overlapping dates. Class 6 on Tuesdays, not enrolled.
    Month m;
    m.only(4, 12).declared(mar(1), "8:00", "14:00");
    m.timetable(5, 1, "10:00", "11:00").timetable(5, 3, "15:00", "16:00").timetable(6, 2, "9:00", "10:00");
    m.enrol(5, mar(1)).enrol(5, mar(4), mar(30));
    m.day(4, 'T', "8:00", "14:00").day(5, 'T', "8:00", "14:00").day(6, 'T', "8:00", "14:00");
    m.day(7, 'N').day(8, 'T', "8:00", "9:00").day(11, 'Z').day(12, 'T', "8:00", "14:00");
    m.held(1, 5, 4, "10:00", "11:00").held(2, 5, 6, "15:00", "16:00").held(3, 6, 5, "9:00", "10:00");
    m.held(4, 5, 11, "10:00", "11:00", 'N').held(5, 5, 8, "11:00", "12:00", 'Z');

    AttendanceQuantities e = m.engine();
    EXPECT_EQ(e.scheduledClasses(5), 3);      // 4, 6, 11 (occurrences counted once)
    EXPECT_EQ(e.classesOnDaysPresent(5), 2);  // 4, 6
    EXPECT_EQ(e.classesDuringStay(5), 1);     // 4; 6 is after the stay
    EXPECT_EQ(e.scheduledClasses(6), 0);
    EXPECT_EQ(e.classAttendance(5, PresenceMark::Present), 1);  // 6 lies outside the stay
    EXPECT_EQ(e.classAttendance(5, PresenceMark::Absent), 0);   // day 11 not present
    EXPECT_EQ(e.classAttendance(5, PresenceMark::NotifiedAbsence), 0);  // 11-12 outside 8-9
    EXPECT_EQ(m.reported(), QStringList({"Obecność na zajęciach dodatkowych poza czasem ogólnej obecności: Rytmika w dniu 06.03.2024",
                                         "Obecność na zajęciach dodatkowych poza czasem ogólnej obecności: Rytmika w dniu 08.03.2024"}));

    // Hours: 5 present days of 6 h and 1 h (day 8), less classes.
    EXPECT_DOUBLE_EQ(m.q('F'), 25);
    EXPECT_DOUBLE_EQ(m.q('H'), 25 - 1 - 1);  // attended: class 5 on day 4, class 6 on day 5
    EXPECT_DOUBLE_EQ(m.q('J'), 25 - 1);      // declared: Monday 4
    EXPECT_DOUBLE_EQ(m.q('K'), 25 - 1);      // held and enrolled: day 4 (day 6 is outside)
    EXPECT_DOUBLE_EQ(m.q('E'), 6 * 7);
    EXPECT_DOUBLE_EQ(m.q('G'), 6 * 7 - 1 - 1);  // Mondays 4 and 11 inside the declared stay
    EXPECT_DOUBLE_EQ(m.q('V'), 25 + 5 - 1);     // day 8 widened to 8-14
    EXPECT_DOUBLE_EQ(m.q('S'), 30);

    // Counted independently of the day's attendance: every held occurrence.
    Month i = m;
    i.problems = DataProblems();
    i.settings.independentClassAttendance = true;
    AttendanceQuantities ie = i.engine();
    EXPECT_EQ(ie.classAttendance(5, PresenceMark::Present), 2);
    EXPECT_EQ(ie.classAttendance(5, PresenceMark::Absent), 1);  // day 11 has no presence
    EXPECT_EQ(ie.classAttendance(5, PresenceMark::NotifiedAbsence), 1);
    EXPECT_TRUE(i.reported().isEmpty());

    // With the flag on, a held class counts on a day with no row at all.
    Month norow;
    norow.settings.independentClassAttendance = true;
    norow.only(13, 13).held(1, 5, 13, "10:00", "11:00", '_');  // empty mark: present
    EXPECT_EQ(norow.engine().classAttendance(5, PresenceMark::Present), 1);
    norow.settings.independentClassAttendance = false;
    EXPECT_EQ(norow.engine().classAttendance(5, PresenceMark::Present), 0);

    EXPECT_EQ(m.engine().classesOfChild(), QList<int>({5, 6}));
}

TEST(AttendanceQuantities, ClassesOfAStayMissingATimeCountFromMidnight)
{
    // Present with only a departure: the classes before it were attended.
    Month m;
    m.only(4, 4).day(4, 'T', nullptr, "16:00").enrol(5).timetable(5, 1, "14:00", "15:00").held(1, 5, 4, "14:00", "15:00");
    AttendanceQuantities e = m.engine();
    EXPECT_EQ(e.classAttendance(5, PresenceMark::Present), 1);
    EXPECT_EQ(e.classesDuringStay(5), 1);
    EXPECT_EQ(m.reported(), QStringList({kid + " - brak czasu przyjścia na dzień 04.03.2024"}));

    // Only an arrival: the window ends at midnight before it, so nothing counts.
    Month a;
    a.only(4, 4).day(4, 'T', "8:00", nullptr).enrol(5).timetable(5, 1, "14:00", "15:00").held(1, 5, 4, "14:00", "15:00");
    AttendanceQuantities ae = a.engine();
    EXPECT_EQ(ae.classAttendance(5, PresenceMark::Present), 0);
    EXPECT_EQ(ae.classesDuringStay(5), 0);
}

TEST(AttendanceQuantities, ClassDataProblemTexts)
{
    Month m;
    m.only(4, 4).day(4, 'T', "8:00", "16:00").enrol(5).enrol(6);
    m.timetable(5, 1, nullptr, "11:00").timetable(5, 1, "10:00", nullptr).timetable(6, 1, "12:00", "11:00");
    EXPECT_DOUBLE_EQ(m.q('J'), 8);
    EXPECT_EQ(m.reported(), QStringList({"Brak określenia deklaracji czasu rozpoczęcia zajęć dodatkowych: Rytmika",
                                         "Brak określenia deklaracji czasu zakończenia zajęć dodatkowych: Rytmika",
                                         "Deklaracja czasu rozpoczęcia zajęć dodatkowych większa od czasu zakończenia: Angielski"}));
    EXPECT_EQ(m.engine().scheduledClasses(5), 0);

    Month h;
    h.only(4, 4).day(4, 'T', "8:00", "16:00").enrol(6);
    h.held(1, 5, 4, nullptr, "11:00").held(2, 5, 4, "10:00", nullptr).held(3, 6, 4, "12:00", "11:00");
    EXPECT_DOUBLE_EQ(h.q('H'), 8);
    EXPECT_DOUBLE_EQ(h.q('K'), 8);
    EXPECT_EQ(h.engine().classAttendance(6, PresenceMark::Present), 0);
    const QString on = QStringLiteral(" w dniu 04.03.2024");
    EXPECT_EQ(h.reported(), QStringList({"Brak określenia czasu rozpoczęcia zajęć dodatkowych: Rytmika" + on,
                                         "Brak określenia czasu zakończenia zajęć dodatkowych: Rytmika" + on,
                                         "Czas rozpoczęcia zajęć dodatkowych większy od czasu zakończenia: Angielski" + on,
                                         "Czas rozpoczęcia zajęć dodatkowych większa od czasu zakończenia: Angielski" + on}));
}

TEST(AttendanceQuantities, ProviderRemembersAndFillsTheMessageWindow)
{
    Month m;
    m.only(4, 6).day(4, 'T', "8:00", "12:00").day(6, 'T', "8:00", "11:30").enrol(5).timetable(5, 1, "9:00", "10:00");
    m.data.buildIndexes();
    MessageLog log;
    log.addError(QStringLiteral("wcześniejszy"));
    AttendanceQuantityProvider provider(m.data, m.settings, 1, FreeDays(m.freeDays), m.period, &log);
    EXPECT_EQ(substituteQuantities(u"IT*10+IF-IJ+IO[5]", provider), QStringLiteral("2*10+7,5-6,5+1"));
    EXPECT_EQ(substituteQuantities(u"IN+IT", provider), QStringLiteral("0+2"));
    const QString gap = kid + QStringLiteral(" - brak określenia obecności/nieobecności w dniu 05.03.2024");
    EXPECT_EQ(provider.problems(), QStringList({gap}));
    EXPECT_EQ(log.errors(), QStringList({QStringLiteral("wcześniejszy"), gap}));

    // A child the rows do not hold has no attendance at all.
    AttendanceQuantityProvider stranger(m.data, m.settings, 99, FreeDays(m.freeDays), m.period);
    EXPECT_EQ(stranger.simpleQuantity(QLatin1Char('X')), 3);
    EXPECT_EQ(stranger.simpleQuantity(QLatin1Char('F')), 0);
    EXPECT_EQ(stranger.problems().size(), 3);  // gaps on the working days 4, 5 and 6
}

class QuantityLoaderTest : public EngineTest {};

TEST_P(QuantityLoaderTest, ReadsWhatPlainSqlWrote)
{
    auto sql = [&](const char* text) { Query(*db, QString::fromUtf8(text)).exec(); };
    sql("INSERT INTO DZIECI (KOD, NAZWA, ULICA, PESEL) VALUES (1, 'Kowalska Ala', 'Lipowa 1', '19230112345'), "
        "(2, 'Nowak Jan', 'Polna 2', NULL)");
    sql("INSERT INTO OBECN (OSOBA, DATA, OBECNY, CZASP, CZASW) VALUES (1, '2024-03-04', 'T', '07:30', '16:00'), "
        "(1, '2024-03-05', 'N', NULL, NULL), (1, '2024-02-29', 'T', '08:00', '09:00'), (2, '2024-03-04', 'T', '08:00', '12:00')");
    sql("INSERT INTO OBECM (OSOBA, ROK, MIES, OBECNY, ILE) VALUES (1, 2024, 3, 'T', 12), (1, 2024, 4, 'T', 3)");
    sql("INSERT INTO DZIECZAS (OSOBA, ODDATY, CZASP, CZASW) VALUES (1, '2023-09-01', '07:00', '14:00'), "
        "(1, '2024-01-01', '08:00', '15:00'), (1, '2024-03-05', '08:30', '15:30'), (1, '2024-04-01', '09:00', '10:00')");
    sql("INSERT INTO CZASBEZP (ODDATY, CZASP, CZASW) VALUES ('2023-09-01', '12:00', '13:00')");
    sql("INSERT INTO CZASGRAN (ODDATY, CZASPD, CZASPG, CZASWD, CZASWG) VALUES ('2024-01-01', '06:30', '09:00', '13:00', '17:30')");
    sql("INSERT INTO ZAJDOD (KOD, NAZWA, KOLEJ) VALUES (5, 'Rytmika', 1)");
    sql("INSERT INTO ZAJDAT (ZAJECIE, DZIENTYG, ODDATY, DODATY, CZASP, CZASW) VALUES (5, '1', '2024-01-01', NULL, '14:00', '15:00'), "
        "(5, '2', '2023-01-01', '2023-12-31', '14:00', '15:00')");
    sql("INSERT INTO DZIEZAJ (OSOBA, ZAJECIE, ODDATY, DODATY) VALUES (1, 5, '2024-02-01', NULL)");
    sql("INSERT INTO ZAJODB (KLASA, ID, ZAJECIE, DATA, CZASP, CZASW) VALUES (NULL, 1, 5, '2024-03-04', '14:00', '15:00'), "
        "(3, 1, 5, '2024-03-11', '14:00', '15:00')");
    sql("INSERT INTO ZAJOBEC (KLASA, ID, OSOBA, OBECNY) VALUES (NULL, 1, 1, 'T'), (3, 1, 1, 'N')");

    const QuantityData all = loadQuantityData(*db, QDate(2024, 3, 1), QDate(2024, 3, 31));
    EXPECT_EQ(all.children.size(), 2);
    const QuantityData data = loadQuantityData(*db, QDate(2024, 3, 1), QDate(2024, 3, 31), {1});
    ASSERT_EQ(data.children.size(), 1);
    const ChildRows& c = data.children[1];
    EXPECT_EQ(c.caption, kid);
    ASSERT_EQ(c.attendance.size(), 2);
    EXPECT_EQ(c.attendance[0].date, QDate(2024, 3, 4));
    EXPECT_EQ(c.attendance[0].arrival, t("7:30"));
    EXPECT_EQ(c.attendance[1].mark, QChar('N'));
    EXPECT_EQ(c.attendance[1].departure, noTime);
    ASSERT_EQ(c.monthlyTotals.size(), 1);
    EXPECT_EQ(c.monthlyTotals[0].count, 12);
    ASSERT_EQ(c.declaredTimes.size(), 2);  // the one in force on the 1st, and the 5th
    EXPECT_EQ(c.declaredTimes[0].from, QDate(2024, 1, 1));
    EXPECT_EQ(c.declaredTimes[1].arrival, t("8:30"));
    ASSERT_EQ(data.freeTime.size(), 1);
    ASSERT_EQ(data.limits.size(), 1);
    EXPECT_EQ(data.limits[0].departureHigh, t("17:30"));
    EXPECT_EQ(data.className(5), QStringLiteral("Rytmika"));
    ASSERT_EQ(data.timetable.size(), 1);
    EXPECT_EQ(data.timetable[0].weekday, 1);
    ASSERT_EQ(c.declarations.size(), 1);
    ASSERT_EQ(data.heldClasses.size(), 2);
    EXPECT_EQ(c.heldAttendance.value(HeldClassKey{false, 0, 1}), QChar('T'));
    EXPECT_EQ(c.heldAttendance.value(HeldClassKey{true, 3, 1}), QChar('N'));

    const FreeDays free(QString::fromLatin1(weekends));
    AttendanceQuantityProvider p(data, QuantitySettings(), 1, free, QuantityPeriod::wholeMonth(2024, 3));
    EXPECT_EQ(p.simpleQuantity(QLatin1Char('T')), 1);
    EXPECT_DOUBLE_EQ(p.simpleQuantity(QLatin1Char('F')), 7.5);
    EXPECT_DOUBLE_EQ(p.simpleQuantity(QLatin1Char('H')), 6.5);
    EXPECT_EQ(p.classAttendance(5, PresenceMark::Absent), 0);  // day 11 has no row
    EXPECT_EQ(p.scheduledClasses(5), 4);                       // Mondays 4, 11, 18, 25
}

INSTANTIATE_ENGINES(QuantityLoaderTest);

}  // namespace

TEST(AttendanceQuantities, DayArithmeticByTheDaysNumberAgreesWithTheCalendar)
{
    for (QDate d(1899, 12, 25); d < QDate(2031, 1, 10); d = d.addDays(5)) {
        EXPECT_EQ(weekday(d), d.dayOfWeek()) << d.toString(Qt::ISODate).toStdString();
        EXPECT_EQ(nextDay(d), d.addDays(1));
    }
    EXPECT_EQ(weekday(QDate(-4800, 3, 1)), QDate(-4800, 3, 1).dayOfWeek());  // a negative day number
}
