// The attendance window over a store: its columns and titles, entering
// codes and times (typed and by command), the permission question, free
// days, counts, extra-class cells, and the fill and copy operations.

#include "shell/register_fixture.h"

#include "attendance/attendance_areas.h"
#include "attendance/obecn_columns.h"
#include "attendance/tdm_obecn.h"
#include "browser/area_arguments.h"
#include "browser/key_value_settings.h"
#include "browser/message_log.h"
#include "store/error.h"
#include "store/polish_dates.h"
#include "store/query.h"
#include "store/table.h"
#include "store/values.h"

using namespace obecn;

namespace {

const QString editQ = QStringLiteral("Chcesz edytować listę obecności?");

class ObecnTest : public RegisterTest {
protected:
    void SetUp() override
    {
        RegisterTest::SetUp();
        if (IsSkipped())
            return;
        m_group = addGroup(QStringLiteral("Motylki"), 1);
        m_other = addGroup(QStringLiteral("Biedronki"), 2);
        ala = addChild(QStringLiteral("Ala"), m_group);
        bartek = addChild(QStringLiteral("Bartek"), m_group);
        addChild(QStringLiteral("Zenon"), 0);  // inactive: not listed
        context().baza.setSystemDate(QDate(2024, 3, 5));  // a Tuesday
        context().params.wprowadzanieMinut = 15;
    }

    int addGroup(const QString& name, int kolej)
    {
        sql(QStringLiteral("INSERT INTO KLASY (NAZWA, KOLEJ) VALUES (:N, :K)"), {{"N", name}, {"K", kolej}});
        return sql(QStringLiteral("SELECT KOD FROM KLASY WHERE NAZWA = :N"), {{"N", name}}).toInt();
    }
    int addChild(const QString& name, int group)
    {
        sql(QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, KLASA, AKTYWNY) VALUES (:N, 'Polna', :K, :A)"),
            {{"N", name}, {"K", group}, {"A", group ? QStringLiteral("T") : QStringLiteral("N")}});
        return sql(QStringLiteral("SELECT KOD FROM DZIECI WHERE NAZWA = :N"), {{"N", name}}).toInt();
    }
    QVariant sql(const QString& text, const QList<QPair<const char*, QVariant>>& binds = {})
    {
        Query q(*db, text);
        for (const auto& b : binds)
            q.bind(QString::fromLatin1(b.first), b.second);
        q.exec();
        return q.returnsRows() && q.next() ? q.value(0) : QVariant();
    }
    void attendance(int child, QDate day, const QString& code, const QString& from = {}, const QString& to = {})
    {
        sql(QStringLiteral("INSERT INTO OBECN (OSOBA, DATA, OBECNY, CZASP, CZASW) VALUES (:O, :D, :C, :P, :W)"),
            {{"O", child}, {"D", day}, {"C", code}, {"P", polish::parseTime(from)}, {"W", polish::parseTime(to)}});
    }
    // "T 08:00-16:00", "N -", or "" when the day has no row.
    QString stored(int child, QDate day)
    {
        Query q(*db, QStringLiteral("SELECT OBECNY, CZASP, CZASW FROM OBECN WHERE OSOBA = :O AND DATA = :D"));
        q.bind(QStringLiteral("O"), child).bind(QStringLiteral("D"), day).exec();
        if (!q.next())
            return QString();
        return q.value(0).toString() + QLatin1Char(' ') + polish::time(values::toTime(q.value(1))) + QLatin1Char('-')
            + polish::time(values::toTime(q.value(2)));
    }
    static QString refusal(const std::function<void()>& f)
    {
        try {
            f();
        } catch (const Error& e) {
            return e.message();
        }
        return QStringLiteral("(nie odmówiono)");
    }
    static QStringList visibleCaptions(const DataSet& ds)
    {
        QStringList out;
        for (const FieldView& f : ds.fields)
            if (f.visible)
                out << f.caption;
        return out;
    }
    static void select(TDMObecn& m, int child)
    {
        ASSERT_TRUE(m.children().table->locate({QStringLiteral("KOD")}, {child}));
    }
    static QString cell(TDMObecn& m, int child, const QString& field)
    {
        select(m, child);
        return m.children().table->text(field);
    }
    QString lastTimePreset() const
    {
        for (qsizetype i = prompts.asked().size() - 1; i >= 0; --i)
            if (prompts.asked()[i].kind == ScriptedPrompts::Kind::TimeText)
                return prompts.asked()[i].preset;
        return QStringLiteral("(none)");
    }
    bool typed(TDMObecn& m, int child, const QString& field, QChar key)
    {
        select(m, child);
        return m.typedKey(m.children(), field, key);
    }

    int m_group = 0;
    int m_other = 0;
    int ala = 0;
    int bartek = 0;
    MemorySettings settings;
};

TEST_P(ObecnTest, ColumnsTitlesAndViewToggle)
{
    TDMObecn m(context(), &settings);
    EXPECT_EQ(m.title(), QStringLiteral("Lista obecności na: wtorek 5 marca 2024"));
    EXPECT_EQ(m.children().table->rowCount(), 2);  // the inactive child is not listed
    EXPECT_EQ(visibleCaptions(m.children()),
              (QStringList{QStringLiteral("Nazwisko i imię"), QStringLiteral("Ulica"), QStringLiteral("PESEL"),
                           QStringLiteral("Grupa"), QStringLiteral("Czas deklarowany"),
                           QStringLiteral("Obecność, Wt 5 mar 2024"), QStringLiteral("Czas przyjścia"),
                           QStringLiteral("Czas wyjścia"), QStringLiteral("Czas płatny"), QStringLiteral("Czas pł.-zaj.dod.")}));
    EXPECT_EQ(cell(m, ala, field::groupName()), QStringLiteral("Motylki"));
    EXPECT_FALSE(m.canInsert(m.children()));

    prompts.expectText(QStringLiteral("Widok miesiąca"), QStringLiteral("Zakres dni:"), QStringLiteral("5-20"));
    m.toggleMonthView();
    EXPECT_EQ(m.title(), QStringLiteral("Lista obecności na: marzec 2024 (w przedziale dni 5 - 20)"));
    QStringList captions = visibleCaptions(m.children());
    EXPECT_FALSE(captions.contains(QStringLiteral("Czas przyjścia")));
    EXPECT_FALSE(captions.contains(QStringLiteral("Czas deklarowany")));
    EXPECT_EQ(captions.at(4), QStringLiteral("Czas płatny"));
    EXPECT_EQ(captions.at(5), QStringLiteral("5 Wt"));
    EXPECT_EQ(captions.at(20), QStringLiteral("20 Śr"));
    EXPECT_EQ(captions.last(), QStringLiteral("Czas pł.-zaj.dod."));
    EXPECT_EQ(captions.size(), 4 + 1 + 16 + 1);
    EXPECT_EQ(m.children().command(QStringLiteral("Nastepny1"))->caption, QStringLiteral("Następny miesiąc sprawdzania obecności"));
    EXPECT_EQ(m.children().command(QStringLiteral("Poprzedni1"))->label, QStringLiteral("Poprzedni miesiąc"));

    m.next();
    EXPECT_EQ(m.view().day, QDate(2024, 4, 5));
    m.toggleMonthView();  // back: the whole month again, "dzień" in the captions
    EXPECT_EQ(m.view().from, 1);
    EXPECT_EQ(m.view().to, 31);
    EXPECT_EQ(m.children().command(QStringLiteral("Nastepny1"))->caption, QStringLiteral("Następny dzień sprawdzania obecności"));
    EXPECT_TRUE(visibleCaptions(m.children()).contains(QStringLiteral("Obecność, Pt 5 kwi 2024")));

    prompts.expectCancel(ScriptedPrompts::Kind::Text, QStringLiteral("Widok miesiąca"));
    m.toggleMonthView();
    EXPECT_EQ(m.title(), QStringLiteral("Lista obecności na: kwiecień 2024"));
    m.setDay(QDate(2024, 1, 31));
    m.next();
    EXPECT_EQ(m.view().day, QDate(2024, 2, 29));
    EXPECT_TRUE(prompts.done());
}

TEST_P(ObecnTest, EnteringCodesAndTimes)
{
    sql(QStringLiteral("INSERT INTO CZASGRAN (ODDATY, CZASPD, CZASPG, CZASWD, CZASWG) VALUES (:D, :PD, :PG, :WD, :WG)"),
        {{"D", QDate(2024, 1, 1)}, {"PD", QTime(6, 30)}, {"PG", QTime(9, 0)}, {"WD", QTime(12, 0)}, {"WG", QTime(17, 0)}});
    TDMObecn m(context(), &settings);
    m.setClock([] { return QTime(7, 53); });
    const QDate day(2024, 3, 5);

    // The question comes once per view; No leaves everything as it was.
    prompts.expectYesNo(editQ, false);
    EXPECT_TRUE(typed(m, ala, field::code(), u'T'));
    EXPECT_EQ(stored(ala, day), QString());
    prompts.expectYesNo(editQ, true);
    typed(m, ala, field::code(), u'T');
    EXPECT_EQ(stored(ala, day), QStringLiteral("T -"));
    EXPECT_EQ(cell(m, ala, field::code()), QStringLiteral("T"));

    // "T" in the arrival column: now, to the nearest quarter of an hour.
    typed(m, ala, field::arrival(), u't');
    EXPECT_EQ(stored(ala, day), QStringLiteral("T 08:00-"));

    // A digit opens the prompt on that hour; a departure before the arrival is refused.
    prompts.expectTimeText(QStringLiteral("Określ"), QStringLiteral("07:30:00")).withText(QStringLiteral("Czas wyjścia"));
    EXPECT_EQ(refusal([&] { typed(m, ala, field::departure(), u'7'); }), TDMObecn::timeOrderRefusal());
    EXPECT_EQ(lastTimePreset(), QStringLiteral("07:00"));
    EXPECT_EQ(stored(ala, day), QStringLiteral("T 08:00-"));
    prompts.expectTimeText(QStringLiteral("Określ"), QStringLiteral("17:30:00"));
    typed(m, ala, field::departure(), u'1');
    EXPECT_EQ(lastTimePreset(), QStringLiteral("1"));
    EXPECT_EQ(stored(ala, day), QStringLiteral("T 08:00-17:30"));
    EXPECT_EQ(prompts.shown().last(), QStringLiteral("Czas wyjścia - przekroczona granica górna (17:00)"));
    EXPECT_EQ(cell(m, ala, field::paid()), QStringLiteral("9:30"));

    // N on a day with times asks before clearing them.
    prompts.expectYesNo(QStringLiteral("Skasować czas przyjścia i wyjścia dla Ala, Polna?"), false);
    typed(m, ala, field::code(), u'n');
    EXPECT_EQ(stored(ala, day), QStringLiteral("T 08:00-17:30"));
    prompts.expectYesNo(QStringLiteral("Skasować czas przyjścia i wyjścia dla Ala, Polna?"), true);
    m.setSelectedField(field::code());
    m.enterCode(u'N');
    EXPECT_EQ(stored(ala, day), QStringLiteral("N -"));

    // An arrival on an undetermined day makes the row present; clearing a
    // day without times asks nothing.
    prompts.expectTimeText(QStringLiteral("Określ"), QStringLiteral("08:10:00")).withText(QStringLiteral("Czas przyjścia"));
    select(m, bartek);
    m.enterArrival();
    EXPECT_EQ(stored(bartek, day), QStringLiteral("T 08:10-"));
    typed(m, ala, field::code(), u'\b');
    EXPECT_EQ(stored(ala, day), QString());

    // A cancelled time prompt on an undetermined day adds nothing; another
    // day of the same view asks no permission again.
    m.setDay(day.addDays(1));
    prompts.expectCancel(ScriptedPrompts::Kind::TimeText, QStringLiteral("Określ"));
    typed(m, ala, field::arrival(), u'8');
    EXPECT_EQ(stored(ala, day.addDays(1)), QString());
    EXPECT_TRUE(prompts.done());
}

TEST_P(ObecnTest, FreeDaysAndRoundingNearMidnight)
{
    sql(QStringLiteral("INSERT INTO MIESIACE (ROK, MIES, DNIWOLNE) VALUES (2024, 3, ' 5 , 15')"));
    attendance(ala, QDate(2024, 3, 5), QStringLiteral("N"));
    TDMObecn m(context(), &settings);
    prompts.expectYesNo(editQ, true);
    EXPECT_EQ(refusal([&] { typed(m, bartek, field::code(), u'T'); }), TDMObecn::freeDayRefusal());
    EXPECT_EQ(stored(bartek, QDate(2024, 3, 5)), QString());
    typed(m, ala, field::code(), u'\b');  // clearing a free day is allowed
    EXPECT_EQ(stored(ala, QDate(2024, 3, 5)), QString());

    m.setDay(QDate(2024, 3, 6));
    context().params.wprowadzanieMinut = 30;
    m.setClock([] { return QTime(23, 50); });
    typed(m, ala, field::arrival(), u'T');
    EXPECT_EQ(stored(ala, QDate(2024, 3, 6)), QStringLiteral("T 23:30-"));

    // In the month view the selected day column is the target, and "-" frees every day.
    sql(QStringLiteral("UPDATE MIESIACE SET DNIWOLNE = '-'"));
    prompts.expectText(QStringLiteral("Widok miesiąca"), QStringLiteral("Zakres dni:"), QStringLiteral("1-31"));
    m.toggleMonthView();
    EXPECT_EQ(cell(m, ala, field::freeDays()).split(QLatin1Char(',')).size(), 31);
    m.setSelectedField(field::code());  // not a day column: nothing happens, nothing is asked
    select(m, bartek);
    m.enterCode(u'T');
    prompts.expectYesNo(editQ, true);
    EXPECT_EQ(refusal([&] { typed(m, bartek, field::day(7), u'Z'); }), TDMObecn::freeDayRefusal());
    EXPECT_TRUE(prompts.done());
}

TEST_P(ObecnTest, MonthCellsAndPaidTime)
{
    sql(QStringLiteral("INSERT INTO CZASBEZP (ODDATY, CZASP, CZASW) VALUES (:D, :P, :W)"),
        {{"D", QDate(2024, 1, 1)}, {"P", QTime(12, 0)}, {"W", QTime(13, 0)}});
    attendance(ala, QDate(2024, 3, 4), QStringLiteral("T"), QStringLiteral("07:30"), QStringLiteral("16:00"));
    attendance(ala, QDate(2024, 3, 5), QStringLiteral("T"), QStringLiteral("08:00"));
    attendance(ala, QDate(2024, 3, 6), QStringLiteral("T"), QStringLiteral("12:15"), QStringLiteral("12:45"));
    attendance(ala, QDate(2024, 3, 7), QStringLiteral("Z"));
    attendance(ala, QDate(2024, 3, 8), QStringLiteral("T"), QStringLiteral("08:00"), QStringLiteral("15:00"));
    // Attended class 14:00–15:00 on the 4th.
    sql(QStringLiteral("INSERT INTO ZAJDOD (NAZWA, KOLEJ) VALUES ('Rytmika', 1)"));
    const int cls = sql(QStringLiteral("SELECT KOD FROM ZAJDOD")).toInt();
    sql(QStringLiteral("INSERT INTO ZAJODB (ZAJECIE, DATA, CZASP, CZASW, KLASA, ID) VALUES (:Z, :D, :P, :W, :K, 1)"),
        {{"Z", cls}, {"D", QDate(2024, 3, 4)}, {"P", QTime(14, 0)}, {"W", QTime(15, 0)}, {"K", m_group}});
    sql(QStringLiteral("INSERT INTO ZAJOBEC (KLASA, ID, OSOBA, OBECNY) VALUES (:K, 1, :O, 'T')"), {{"K", m_group}, {"O", ala}});
    context().baza.setSystemDate(QDate(2024, 3, 4));

    TDMObecn m(context(), &settings);
    EXPECT_EQ(cell(m, ala, field::paid()), QStringLiteral("7:30"));
    EXPECT_EQ(cell(m, ala, field::paidLessClasses()), QStringLiteral("6:30"));
    m.next();  // only an arrival: no paid time
    EXPECT_EQ(cell(m, ala, field::paid()), QString());
    m.next();  // a stay inside the free window costs nothing
    EXPECT_EQ(cell(m, ala, field::paid()), QStringLiteral("0:00"));

    prompts.expectText(QStringLiteral("Widok miesiąca"), QStringLiteral("Zakres dni:"), QStringLiteral("4-7"));
    m.toggleMonthView();
    EXPECT_EQ(cell(m, ala, field::day(4)), QStringLiteral("T"));
    EXPECT_EQ(cell(m, ala, field::day(5)), QStringLiteral("t"));
    EXPECT_EQ(cell(m, ala, field::day(7)), QStringLiteral("Z"));
    EXPECT_EQ(cell(m, bartek, field::day(4)), QString());
    // Days 4–7 only: the 8th is outside the range.
    EXPECT_EQ(cell(m, ala, field::paid()), QStringLiteral("7:30"));
    EXPECT_EQ(cell(m, ala, field::paidLessClasses()), QStringLiteral("6:30"));
    EXPECT_TRUE(prompts.done());
}

TEST_P(ObecnTest, MonthlyCounts)
{
    context().params.obecnosciSumarycznie = true;
    context().baza.setSystemDate(QDate(2007, 2, 10));
    TDMObecn m(context(), &settings);
    EXPECT_TRUE(visibleCaptions(m.children()).contains(QStringLiteral("Ile zgł. nieob.")));
    prompts.expectYesNo(editQ, true);
    typed(m, ala, field::count(u'T'), u'2');
    EXPECT_EQ(sql(QStringLiteral("SELECT ILE FROM OBECM WHERE OSOBA = :O AND OBECNY = 'T'"), {{"O", ala}}).toInt(), 2);
    EXPECT_EQ(refusal([&] { typed(m, ala, field::count(u'T'), u'9'); }), QStringLiteral("luty nie ma 29 dni"));
    EXPECT_EQ(sql(QStringLiteral("SELECT ILE FROM OBECM WHERE OSOBA = :O AND OBECNY = 'T'"), {{"O", ala}}).toInt(), 2);
    typed(m, ala, field::count(u'N'), u'1');
    typed(m, ala, field::count(u'N'), u'5');
    EXPECT_EQ(cell(m, ala, field::count(u'N')), QStringLiteral("15"));
    typed(m, ala, field::count(u'N'), u'\b');
    EXPECT_EQ(cell(m, ala, field::count(u'N')), QStringLiteral("1"));
    // Another cell starts anew: Backspace empties it and the row goes.
    typed(m, ala, field::count(u'T'), u'\b');
    EXPECT_FALSE(sql(QStringLiteral("SELECT ILE FROM OBECM WHERE OSOBA = :O AND OBECNY = 'T'"), {{"O", ala}}).isValid());
    EXPECT_FALSE(typed(m, ala, field::count(u'T'), u'x'));
    EXPECT_TRUE(prompts.done());
}

TEST_P(ObecnTest, ExtraClassColumns)
{
    const int celina = addChild(QStringLiteral("Celina"), m_other);
    sql(QStringLiteral("INSERT INTO ZAJDOD (NAZWA, KOLEJ, KLASA) VALUES ('Angielski', 1, :K)"), {{"K", m_group}});
    sql(QStringLiteral("INSERT INTO ZAJDOD (NAZWA, KOLEJ) VALUES ('Basen', 2)"));
    sql(QStringLiteral("INSERT INTO ZAJDOD (NAZWA, KOLEJ) VALUES ('Szachy', 3)"));
    const int eng = sql(QStringLiteral("SELECT KOD FROM ZAJDOD WHERE NAZWA = 'Angielski'")).toInt();
    const int pool = sql(QStringLiteral("SELECT KOD FROM ZAJDOD WHERE NAZWA = 'Basen'")).toInt();
    const int chess = sql(QStringLiteral("SELECT KOD FROM ZAJDOD WHERE NAZWA = 'Szachy'")).toInt();
    for (const auto& [code, from, to] : {std::tuple{eng, QTime(14, 0), QTime(15, 0)}, std::tuple{pool, QTime(10, 0), QTime(11, 0)},
                                         std::tuple{chess, QTime(9, 0), QTime(10, 0)}})
        sql(QStringLiteral("INSERT INTO ZAJDAT (ZAJECIE, ODDATY, DZIENTYG, CZASP, CZASW) VALUES (:Z, :D, '2', :P, :W)"),
            {{"Z", code}, {"D", QDate(2024, 1, 1)}, {"P", from}, {"W", to}});
    sql(QStringLiteral("INSERT INTO DZIEZAJ (OSOBA, ZAJECIE, ODDATY) VALUES (:O, :Z, :D)"),
        {{"O", ala}, {"Z", eng}, {"D", QDate(2024, 1, 1)}});
    sql(QStringLiteral("INSERT INTO DZIEZAJ (OSOBA, ZAJECIE, ODDATY) VALUES (:O, :Z, :D)"),
        {{"O", celina}, {"Z", pool}, {"D", QDate(2024, 1, 1)}});
    // A declaration that has ended does not count.
    sql(QStringLiteral("INSERT INTO DZIEZAJ (OSOBA, ZAJECIE, ODDATY, DODATY) VALUES (:O, :Z, :D, :E)"),
        {{"O", bartek}, {"Z", chess}, {"D", QDate(2024, 1, 1)}, {"E", QDate(2024, 3, 4)}});
    attendance(ala, QDate(2024, 3, 5), QStringLiteral("T"), QStringLiteral("08:00"), QStringLiteral("16:00"));

    TDMObecn m(context(), &settings);
    // By start time; chess has no child declared that day.
    ASSERT_EQ(m.viewData().classes.size(), 2);
    EXPECT_EQ(m.children().field(field::extraClass(1))->caption, QStringLiteral("Basen (10:00 - 11:00)"));
    EXPECT_EQ(m.children().field(field::extraClass(2))->caption, QStringLiteral("Angielski (14:00 - 15:00)"));
    EXPECT_TRUE(m.children().field(field::extraClass(2))->visible);
    EXPECT_FALSE(m.children().field(field::extraClass(3))->visible);
    EXPECT_EQ(visibleCaptions(m.children()).last(), QStringLiteral("Czas pł.-zaj.dod."));
    EXPECT_EQ(cell(m, ala, field::extraClass(2)), QStringLiteral("_"));
    EXPECT_EQ(cell(m, bartek, field::extraClass(2)), QString());
    EXPECT_EQ(cell(m, celina, field::extraClass(1)), QStringLiteral("."));

    EXPECT_EQ(refusal([&] { m.setSelectedField(field::code()); m.defaultParticipants(); }), TDMObecn::noClassColumn());

    // Attendance at a class of another group is refused, and no held class is left behind.
    prompts.expectYesNo(editQ, true);
    EXPECT_EQ(refusal([&] { typed(m, celina, field::extraClass(2), u'T'); }), TDMObecn::otherGroupRefusal());
    EXPECT_EQ(sql(QStringLiteral("SELECT COUNT(*) FROM ZAJODB")).toInt(), 0);

    // The first mark makes the held class, numbered in its group.
    typed(m, ala, field::extraClass(2), u'n');
    EXPECT_EQ(sql(QStringLiteral("SELECT ID FROM ZAJODB WHERE ZAJECIE = :Z AND KLASA = :K"), {{"Z", eng}, {"K", m_group}}).toInt(), 1);
    EXPECT_EQ(cell(m, ala, field::extraClass(2)), QStringLiteral("N"));
    EXPECT_EQ(cell(m, ala, field::paidLessClasses()), QStringLiteral("8:00"));
    typed(m, ala, field::extraClass(2), u'T');
    EXPECT_EQ(cell(m, ala, field::paidLessClasses()), QStringLiteral("7:00"));
    prompts.expectYesNo(QStringLiteral("Skasować obecność Ala, Polna na Angielski (14:00 - 15:00)?"), true);
    typed(m, ala, field::extraClass(2), u'\b');
    EXPECT_EQ(sql(QStringLiteral("SELECT COUNT(*) FROM ZAJOBEC")).toInt(), 0);

    // A class without a group gets its own numbering; default participants
    // with "No" take the declared children not present too.
    m.setSelectedField(field::extraClass(1));
    prompts.expectYesNoClosable(QStringLiteral("Tylko dla obecnych?"), Answer::Yes);
    prompts.expectInfo(QStringLiteral("Brak zadeklarowanych dzieci na Basen (10:00 - 11:00) wśród obecnych"));
    m.defaultParticipants();
    prompts.expectYesNoClosable(QStringLiteral("Tylko dla obecnych?"), Answer::No);
    prompts.expectChecks(QStringLiteral("Obecni na zajęciach: Basen (10:00 - 11:00)"), {QStringLiteral("Celina, Polna")});
    m.defaultParticipants();
    EXPECT_EQ(sql(QStringLiteral("SELECT ID FROM ZAJODB WHERE ZAJECIE = :Z AND KLASA IS NULL"), {{"Z", pool}}).toInt(), 1);
    EXPECT_EQ(sql(QStringLiteral("SELECT OBECNY FROM ZAJOBEC WHERE OSOBA = :O"), {{"O", celina}}).toString(), QStringLiteral("T"));
    EXPECT_EQ(cell(m, celina, field::extraClass(1)), QStringLiteral("T"));

    // The day's held classes, and only the day's.
    m.openDayClasses();
    ASSERT_FALSE(opener.open().isEmpty());
    EXPECT_EQ(opener.open().back().title, QStringLiteral("Zajęcia dodatkowe dnia"));
    EXPECT_EQ(opener.open().back().dataSet, &m.heldClasses());
    m.heldClasses().table->isOpen() ? m.heldClasses().table->refresh() : m.heldClasses().table->open();
    EXPECT_EQ(m.heldClasses().table->rowCount(), 2);
    m.next();
    EXPECT_EQ(m.heldClasses().table->rowCount(), 0);
    EXPECT_TRUE(prompts.done());
}

TEST_P(ObecnTest, FillingAndCopying)
{
    MessageLog log;
    context().messages = &log;
    sql(QStringLiteral("INSERT INTO DZIECZAS (OSOBA, ODDATY, CZASP, CZASW) VALUES (:O, :D, :P, :W)"),
        {{"O", ala}, {"D", QDate(2024, 1, 1)}, {"P", QTime(8, 0)}, {"W", QTime(15, 0)}});
    // Bartek's declaration ends before it starts: it must never be stored as a stay.
    sql(QStringLiteral("INSERT INTO DZIECZAS (OSOBA, ODDATY, CZASP, CZASW) VALUES (:O, :D, :P, :W)"),
        {{"O", bartek}, {"D", QDate(2024, 1, 1)}, {"P", QTime(16, 0)}, {"W", QTime(9, 0)}});
    const QDate day(2024, 3, 5);
    attendance(ala, day, QStringLiteral("T"), QString(), QStringLiteral("14:00"));
    attendance(bartek, day, QStringLiteral("T"));

    TDMObecn m(context(), &settings);
    select(m, bartek);
    prompts.expectChoice(QStringLiteral("Wybór"), -2).withText(QStringLiteral("Nieokreślone czasy przyjścia/wyjścia uzupełnić wg"));
    m.fillUndetermined();
    EXPECT_EQ(stored(ala, day), QStringLiteral("T 08:00-14:00"));
    EXPECT_EQ(stored(bartek, day), QStringLiteral("T -"));
    EXPECT_EQ(log.title(), QStringLiteral("Uzupełnianie nieokreślonych obecności"));
    EXPECT_EQ(log.description(), QStringLiteral("Koniec operacji"));
    EXPECT_EQ(log.remarks(), (QStringList{QStringLiteral("Motylki, Ala na 05.03.2024 - Czas przyjścia: 08:00"),
                                          QStringLiteral("Motylki, Bartek na 05.03.2024 - Czas przyjścia nie może być większy niż Czas wyjścia")}));
    EXPECT_EQ(m.children().table->asInt(QStringLiteral("KOD")), bartek);  // the position is kept

    // The month view fills absences only, skipping free days.
    sql(QStringLiteral("INSERT INTO MIESIACE (ROK, MIES, DNIWOLNE) VALUES (2024, 3, '2,3')"));
    prompts.expectText(QStringLiteral("Widok miesiąca"), QStringLiteral("Zakres dni:"), QStringLiteral("0-3"));
    m.toggleMonthView();
    prompts.expectYesNo(QStringLiteral("Uzupełnić nieokreślone obecności na wszystkie wybrane dni miesiąca?"), true);
    prompts.expectYesNo(QStringLiteral("Czy dni wolne danego miesiąca określone są poprawnie?\r\n2,3"), true);
    m.fillUndetermined();
    EXPECT_EQ(stored(ala, QDate(2024, 3, 1)), QStringLiteral("N -"));
    EXPECT_EQ(stored(ala, QDate(2024, 3, 2)), QString());
    EXPECT_TRUE(log.remarks().contains(QStringLiteral("Motylki, Bartek na 01.03.2024 - nieobecny")));

    // Copying declared times over days 1–4: absences stay, new days are present with times.
    sql(QStringLiteral("UPDATE MIESIACE SET DNIWOLNE = ''"));
    prompts.expectText(QStringLiteral("Widok miesiąca"), QStringLiteral("Zakres dni:"), QStringLiteral("1-4"));
    m.toggleMonthView();  // off
    m.toggleMonthView();  // on again with the new range
    prompts.expectYesNoClosable(QStringLiteral("Przepisać same obecności bez czasów deklarowanych?"), Answer::No);
    prompts.expectYesNo(QStringLiteral("Przepisać czasy deklarowane na wszystkie wybrane dni miesiąca?"), true);
    prompts.expectYesNo(QStringLiteral("Czy dni wolne danego miesiąca określone są poprawnie?\r\n"), true);
    m.copyDeclaredTimes();
    EXPECT_EQ(stored(ala, QDate(2024, 3, 1)), QStringLiteral("N -"));
    EXPECT_EQ(stored(ala, QDate(2024, 3, 4)), QStringLiteral("T 08:00-15:00"));
    EXPECT_EQ(stored(bartek, QDate(2024, 3, 4)), QString());  // skipped, reported
    EXPECT_TRUE(log.remarks().contains(
        QStringLiteral("Motylki, Bartek na 04.03.2024 - Czas przyjścia nie może być większy niż Czas wyjścia")));

    // Presence only, in the day view, without further questions.
    m.toggleMonthView();
    m.setDay(QDate(2024, 3, 6));
    prompts.expectYesNoClosable(QStringLiteral("Przepisać same obecności bez czasów deklarowanych?"), Answer::Yes);
    m.copyDeclaredTimes();
    EXPECT_EQ(stored(ala, QDate(2024, 3, 6)), QStringLiteral("T -"));
    prompts.expectYesNoClosable(QStringLiteral("Przepisać same obecności bez czasów deklarowanych?"), Answer::Cancel);
    m.copyDeclaredTimes();
    EXPECT_TRUE(prompts.done());
}

TEST_P(ObecnTest, SortOrderAndSingleChildWindow)
{
    settings.setValue(QStringLiteral("Obecn"), QStringLiteral("PolaIndeksu"), QStringLiteral("NIE;ISTNIEJE"));
    {
        TDMObecn m(context(), &settings);
        EXPECT_EQ(m.children().table->ordering(), QStringLiteral("AKTYWNY;KLASA;NAZWA"));
        m.children().table->setOrdering(QStringLiteral("AKTYWNY;NAZWA"));
    }
    EXPECT_EQ(settings.text(QStringLiteral("Obecn"), QStringLiteral("PolaIndeksu")), QStringLiteral("AKTYWNY;NAZWA"));
    {
        TDMObecn m(context(), &settings);
        EXPECT_EQ(m.children().table->ordering(), QStringLiteral("AKTYWNY;NAZWA"));
    }

    attendance(bartek, QDate(2024, 3, 5), QStringLiteral("Z"));
    DataSet master;
    Table register_(context().db(), QStringLiteral("DZIECI"));
    register_.setOrdering(QStringLiteral("KOD"));
    register_.open();
    master.name = QStringLiteral("Dzieci");
    master.table = &register_;
    QObject owner;
    Command cmd;
    cmd.opensWindow = true;
    registerAttendanceAreas(areas, &settings);
    ASSERT_TRUE(areas.open(area::childAttendance(), context(), area::forChild(ala, &master, &owner, &cmd, QStringLiteral("x"))));
    auto* m = owner.findChild<TDMObecn*>();
    ASSERT_NE(m, nullptr);
    ASSERT_EQ(opener.open().size(), 1);
    EXPECT_EQ(opener.open().back().title, QStringLiteral("Lista obecności dziecka na: wtorek 5 marca 2024"));
    EXPECT_EQ(visibleCaptions(m->children()).first(), QStringLiteral("Czas deklarowany"));
    register_.locate({QStringLiteral("KOD")}, {ala});
    EXPECT_EQ(m->children().table->rowCount(), 1);
    EXPECT_EQ(m->children().table->text(field::code()), QString());
    register_.locate({QStringLiteral("KOD")}, {bartek});
    EXPECT_EQ(m->children().table->text(field::code()), QStringLiteral("Z"));
    // Opened again, the same module serves.
    areas.open(area::childAttendance(), context(), area::forChild(bartek, &master, &owner, &cmd, QStringLiteral("x")));
    EXPECT_EQ(std::count_if(owner.children().cbegin(), owner.children().cend(),
                            [](QObject* o) { return qobject_cast<TDMObecn*>(o) != nullptr; }),
              1);
}

INSTANTIATE_ENGINES(ObecnTest);

}  // namespace
