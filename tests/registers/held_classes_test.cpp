// Held extra classes: the schedule in force on a date, numbering per group,
// the save confirmations of both windows, the fixed group, the deletion
// refusal and the rights of the attendance window's list.

#include "shell/register_fixture.h"

#include "registers/held_classes.h"
#include "shell/access_rules.h"
#include "store/error.h"
#include "store/query.h"
#include "store/table.h"

namespace {

using heldclasses::Window;

const QString kQuestionTail = QStringLiteral("\r\nZatwierdzić mimo to?");

class HeldClassesTest : public RegisterTest {
protected:
    int addGroup(const QString& name)
    {
        Query(*db, QStringLiteral("INSERT INTO KLASY (NAZWA, KOLEJ) VALUES (:N, 1)")).bind(QStringLiteral("N"), name).exec();
        return Query(*db, QStringLiteral("SELECT KOD FROM KLASY WHERE NAZWA = :N")).bind(QStringLiteral("N"), name).scalar().toInt();
    }
    int addClass(const QString& name, const QVariant& group = QVariant())
    {
        Query(*db, QStringLiteral("INSERT INTO ZAJDOD (NAZWA, KOLEJ, KLASA) VALUES (:N, 1, :K)"))
            .bind(QStringLiteral("N"), name)
            .bind(QStringLiteral("K"), group)
            .exec();
        return Query(*db, QStringLiteral("SELECT KOD FROM ZAJDOD WHERE NAZWA = :N")).bind(QStringLiteral("N"), name).scalar().toInt();
    }
    void addSchedule(int cls, int weekday, const QDate& from, const QDate& to, const QTime& start, const QTime& end)
    {
        Query(*db, QStringLiteral("INSERT INTO ZAJDAT (ZAJECIE, ODDATY, DODATY, DZIENTYG, CZASP, CZASW) "
                                  "VALUES (:Z, :O, :D, :W, :P, :K)"))
            .bind(QStringLiteral("Z"), cls)
            .bind(QStringLiteral("O"), from)
            .bind(QStringLiteral("D"), to)
            .bind(QStringLiteral("W"), QString::number(weekday))
            .bind(QStringLiteral("P"), start)
            .bind(QStringLiteral("K"), end)
            .exec();
    }
    // A ZAJODB data set with the rules of a window kind, not yet open.
    DataSet& heldSet(Window window)
    {
        auto ds = std::make_unique<DataSet>();
        ds->name = QStringLiteral("Zajodb");
        ds->table = new Table(context().db(), QStringLiteral("ZAJODB"), &owner);
        ds->table->setOrdering(QStringLiteral("KLASA;ID"));
        heldclasses::installRules(*ds, context(), window);
        sets.push_back(std::move(ds));
        return *sets.back();
    }
    static QString refusal(const std::function<void()>& f)
    {
        try {
            f();
        } catch (const heldclasses::SaveDeclined&) {
            return QStringLiteral("(odmowa użytkownika)");
        } catch (const Error& e) {
            return e.message();
        }
        return QStringLiteral("(nie odmówiono)");
    }
    void newHeld(Table& t, int cls, const QDate& day, const QVariant& group)
    {
        t.insert();
        t.setValue(QStringLiteral("ZAJECIE"), cls);
        t.setValue(QStringLiteral("DATA"), day);
        t.setValue(QStringLiteral("KLASA"), group);
    }

    QObject owner;
    std::vector<std::unique_ptr<DataSet>> sets;
};

const QDate kMonday(2024, 3, 4);

TEST_P(HeldClassesTest, ScheduleInForceOnADate)
{
    const int cls = addClass(QStringLiteral("Angielski"));
    // Ends the day before: not used on the Monday.
    addSchedule(cls, 1, QDate(2024, 1, 1), kMonday.addDays(-1), QTime(10, 0), QTime(11, 0));
    // Ends on the Monday: used, and earlier in ODDATY order than the next one.
    addSchedule(cls, 1, QDate(2024, 2, 1), kMonday, QTime(12, 0), QTime(13, 0));
    addSchedule(cls, 1, QDate(2024, 3, 1), QDate(), QTime(14, 0), QTime(15, 30));
    // Starts after the Monday.
    addSchedule(cls, 1, kMonday.addDays(1), QDate(), QTime(8, 0), QTime(9, 0));

    Database& d = context().db();
    heldclasses::Schedule s = heldclasses::scheduleOn(d, cls, kMonday);
    ASSERT_TRUE(s.found);
    EXPECT_EQ(s.start, QTime(12, 0));
    EXPECT_EQ(s.end, QTime(13, 0));
    EXPECT_EQ(heldclasses::scheduleText(s), QStringLiteral("12:00 - 13:00"));

    // A week later the second row has ended; of the two open rows the earlier wins.
    s = heldclasses::scheduleOn(d, cls, kMonday.addDays(7));
    EXPECT_EQ(s.start, QTime(14, 0));
    EXPECT_EQ(s.end, QTime(15, 30));

    // Another weekday, another class: nothing.
    s = heldclasses::scheduleOn(d, cls, kMonday.addDays(1));
    EXPECT_FALSE(s.found);
    EXPECT_FALSE(s.start.isValid());
    EXPECT_EQ(heldclasses::scheduleText(s), QStringLiteral("Nie przewidziano"));
}

TEST_P(HeldClassesTest, NewRowsTakeTheScheduleAndNumbersPerGroup)
{
    const int g1 = addGroup(QStringLiteral("Misie"));
    const int g2 = addGroup(QStringLiteral("Żabki"));
    const int cls = addClass(QStringLiteral("Rytmika"), g1);
    addSchedule(cls, 1, QDate(2024, 1, 1), QDate(), QTime(10, 0), QTime(10, 45));
    context();
    m_baza->setSystemDate(kMonday);

    Table& t = *heldSet(Window::ExtraClasses).table;
    t.open();
    t.insert();
    EXPECT_EQ(t.asDate(QStringLiteral("DATA")), kMonday);
    t.setValue(QStringLiteral("ZAJECIE"), cls);
    EXPECT_EQ(t.asTime(QStringLiteral("CZASP")), QTime(10, 0));
    EXPECT_EQ(t.asTime(QStringLiteral("CZASW")), QTime(10, 45));
    EXPECT_EQ(t.text(heldclasses::weekdayField()), QStringLiteral("poniedziałek"));
    // A day without a schedule row empties the times.
    t.setValue(QStringLiteral("DATA"), kMonday.addDays(1));
    EXPECT_TRUE(t.isNull(QStringLiteral("CZASP")));
    EXPECT_TRUE(t.isNull(QStringLiteral("CZASW")));
    t.setValue(QStringLiteral("DATA"), kMonday);
    t.setValue(QStringLiteral("KLASA"), g1);
    t.post();
    EXPECT_EQ(t.asInt(QStringLiteral("ID")), 1);

    // Each group numbers from 1; a third row continues its group.
    newHeld(t, cls, kMonday, g2);
    t.post();
    EXPECT_EQ(t.asInt(QStringLiteral("ID")), 1);
    newHeld(t, cls, kMonday.addDays(7), g1);
    t.post();
    EXPECT_EQ(t.asInt(QStringLiteral("ID")), 2);

    // Held classes without a group have their own numbering, so a second
    // one can be saved next to the first.
    newHeld(t, cls, kMonday, QVariant());
    t.post();
    EXPECT_EQ(t.asInt(QStringLiteral("ID")), 1);
    newHeld(t, cls, kMonday.addDays(7), QVariant());
    t.post();
    EXPECT_EQ(t.asInt(QStringLiteral("ID")), 2);
    EXPECT_EQ(heldclasses::nextNumber(*db, g1), 3);
}

TEST_P(HeldClassesTest, SaveConfirmationsOfBothWindows)
{
    const int cls = addClass(QStringLiteral("Basen"));
    addSchedule(cls, 1, QDate(2024, 1, 1), QDate(), QTime(9, 0), QTime(10, 0));
    const QDate tuesday = kMonday.addDays(1);

    // Extra-classes window: no schedule row, a start given: the start question.
    Table& e = *heldSet(Window::ExtraClasses).table;
    e.open();
    newHeld(e, cls, tuesday, QVariant());
    e.setValue(QStringLiteral("CZASP"), QTime(9, 0));
    prompts.expectYesNo(QStringLiteral("Deklarowany czas przyjścia różny od wpisanego") + kQuestionTail, false);
    EXPECT_EQ(refusal([&] { e.post(); }), QStringLiteral("(odmowa użytkownika)"));
    EXPECT_EQ(e.state(), Table::State::Insert);
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT COUNT(*) FROM ZAJODB")).scalar().toInt(), 0);
    // The scheduled start with another end: the end question; Yes saves.
    e.setValue(QStringLiteral("DATA"), kMonday);
    e.setValue(QStringLiteral("CZASW"), QTime(10, 30));
    prompts.expectYesNo(QStringLiteral("Deklarowany czas wyjścia różny od wpisanego") + kQuestionTail, true);
    e.post();
    EXPECT_EQ(e.asInt(QStringLiteral("ID")), 1);
    // The scheduled times: no question at all.
    newHeld(e, cls, kMonday.addDays(7), QVariant());
    e.post();
    EXPECT_TRUE(prompts.done());

    // Attendance window: no schedule for the weekday asks even with no times.
    Table& a = *heldSet(Window::Attendance).table;
    a.open();
    newHeld(a, cls, tuesday, QVariant());
    prompts.expectYesNo(QStringLiteral("Na dany dzień nie przewidziano zajęć Basen") + kQuestionTail, false);
    EXPECT_EQ(refusal([&] { a.post(); }), QStringLiteral("(odmowa użytkownika)"));
    a.setValue(QStringLiteral("DATA"), kMonday);
    a.setValue(QStringLiteral("CZASP"), QTime(9, 15));
    a.setValue(QStringLiteral("CZASW"), QTime(9, 45));
    prompts.expectYesNo(QStringLiteral("Deklarowany czas przyjścia różny od wpisanego dla Basen") + kQuestionTail, false);
    EXPECT_EQ(refusal([&] { a.post(); }), QStringLiteral("(odmowa użytkownika)"));
    a.setValue(QStringLiteral("CZASP"), QTime(9, 0));
    prompts.expectYesNo(QStringLiteral("Deklarowany czas wyjścia różny od wpisanego dla Basen") + kQuestionTail, true);
    a.post();
    EXPECT_EQ(a.asInt(QStringLiteral("ID")), 3);
    EXPECT_EQ(a.text(heldclasses::scheduleTextField()), QStringLiteral("09:00 - 10:00"));
}

TEST_P(HeldClassesTest, GroupIsFixedAndAttendanceBlocksDeletion)
{
    const int g1 = addGroup(QStringLiteral("Misie"));
    const int g2 = addGroup(QStringLiteral("Żabki"));
    const int cls = addClass(QStringLiteral("Plastyka"));
    addSchedule(cls, 1, QDate(2024, 1, 1), QDate(), QTime(9, 0), QTime(10, 0));
    Table& t = *heldSet(Window::ExtraClasses).table;
    t.open();
    newHeld(t, cls, kMonday, g1);
    t.setValue(QStringLiteral("KLASA"), g2);  // still free while the row is new
    t.post();
    newHeld(t, cls, kMonday.addDays(7), g2);
    t.post();
    ASSERT_EQ(t.asInt(QStringLiteral("ID")), 2);

    t.edit();
    EXPECT_EQ(refusal([&] { t.setValue(QStringLiteral("KLASA"), g1); }), QStringLiteral("Nie można edytować grupy odbytych zajęć"));
    EXPECT_EQ(t.asInt(QStringLiteral("KLASA")), g2);
    t.cancel();

    // Attendance at held class (g2, 2) only: that one stays, (g2, 1) goes.
    Query(*db, QStringLiteral("INSERT INTO ZAJOBEC (KLASA, ID, OSOBA, OBECNY) VALUES (:K, 2, 1, 'T')"))
        .bind(QStringLiteral("K"), g2)
        .exec();
    ASSERT_TRUE(t.locate({QStringLiteral("KLASA"), QStringLiteral("ID")}, {g2, 2}));
    EXPECT_EQ(refusal([&] { t.remove(); }),
              QStringLiteral("Nie można skasować odbytych zajęć, ponieważ są dla nich wstawione obecności"));
    ASSERT_TRUE(t.locate({QStringLiteral("KLASA"), QStringLiteral("ID")}, {g2, 1}));
    t.remove();
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT COUNT(*) FROM ZAJODB")).scalar().toInt(), 1);
}

TEST_P(HeldClassesTest, AttendanceListFollowsGroupsAndClassRights)
{
    const int g1 = addGroup(QStringLiteral("Misie"));
    const int g2 = addGroup(QStringLiteral("Żabki"));
    const int art = addClass(QStringLiteral("Plastyka"));
    const int swim = addClass(QStringLiteral("Basen"));
    for (const auto& [group, cls, id] :
         {std::tuple{QVariant(g1), art, 1}, std::tuple{QVariant(g2), art, 1}, std::tuple{QVariant(), art, 1},
          std::tuple{QVariant(g1), swim, 2}})
        Query(*db, QStringLiteral("INSERT INTO ZAJODB (KLASA, ID, ZAJECIE, DATA) VALUES (:K, :I, :Z, :D)"))
            .bind(QStringLiteral("K"), group)
            .bind(QStringLiteral("I"), id)
            .bind(QStringLiteral("Z"), cls)
            .bind(QStringLiteral("D"), kMonday)
            .exec();
    context().login.visibleGroups = {QString::number(g1), QString()};
    context().login.functions = {permissions::extraClassFunction(QString::number(art))};

    Table& a = *heldSet(Window::Attendance).table;
    a.open();
    ASSERT_EQ(a.rowCount(), 1);  // group 1's art class only
    EXPECT_EQ(a.asInt(QStringLiteral("ZAJECIE")), art);
    EXPECT_EQ(a.asInt(QStringLiteral("KLASA")), g1);

    context().login.functions = {permissions::extraClassAttendanceFunction()};
    Table& all = *heldSet(Window::Attendance).table;
    all.open();
    EXPECT_EQ(all.rowCount(), 2);  // both classes of group 1, still none without a group
}

INSTANTIATE_ENGINES(HeldClassesTest);

}  // namespace
