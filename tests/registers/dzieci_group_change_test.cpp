// The group change: its history row, the recorded-change refusal, the
// prompts, and the batch form the operations on marked children use.

#include "dzieci_fixture.h"

#include "browser/message_log.h"
#include "registers/child_group_change.h"

namespace {

using DzieciGroupChangeTest = DzieciTest;

struct History {
    QDate until;
    int group;
    QString reason;
    bool operator==(const History&) const = default;
};

QList<History> historyOf(Database& db, int kod)
{
    Query q(db, QStringLiteral("select DODATY, KLASA, UWAGI from DZIEKLA where OSOBA = :O order by DODATY"));
    q.bind(QStringLiteral("O"), kod).exec();
    QList<History> out;
    while (q.next())
        out << History{values::toDate(q.value(0)), q.value(1).toInt(), q.value(2).toString()};
    return out;
}

TEST_P(DzieciGroupChangeTest, HistoryRowsAndRefusals)
{
    const int a = addGroup(QStringLiteral("A"), 1);
    const int b = addGroup(QStringLiteral("B"), 2);
    const int c = addGroup(QStringLiteral("C"), 3);
    context().baza.setSystemDate(QDate(2024, 3, 5));
    Table& t = kids();

    // A new child gets no history, whatever its group becomes.
    t.insert();
    t.setValue(QStringLiteral("NAZWA"), QStringLiteral("Nowak Ala"));
    t.setValue(QStringLiteral("ULICA"), QStringLiteral("Leśna"));
    t.setValue(QStringLiteral("KLASA"), b);
    t.post();
    const int kod = t.asInt(QStringLiteral("KOD"));
    EXPECT_TRUE(historyOf(*db, kod).isEmpty());

    // A change ends the old group the day before, with the reason given.
    t.edit();
    prompts.expectDate(QStringLiteral("Data zmiany"), QDate(2024, 4, 1)).withText(GroupChange::datePrompt());
    prompts.expectText(QStringLiteral("Zmiana grupy"), QStringLiteral("Podaj przyczynę zmiany grupy"), QStringLiteral("Przeprowadzka"));
    t.setValue(QStringLiteral("KLASA"), c);
    t.post();
    EXPECT_EQ(historyOf(*db, kod), (QList<History>{{QDate(2024, 3, 31), b, QStringLiteral("Przeprowadzka")}}));
    EXPECT_TRUE(prompts.asked().first().preset.startsWith(QStringLiteral("2024-03-05")));

    // A second change on that same day adds nothing: C never took effect.
    t.edit();
    prompts.expectDate(QStringLiteral("Data zmiany"), QDate(2024, 4, 1));
    t.setValue(QStringLiteral("KLASA"), a);
    t.post();
    EXPECT_EQ(historyOf(*db, kod).size(), 1);
    EXPECT_EQ(count(QStringLiteral("select KLASA from DZIECI where KOD = :O"), kod), a);

    // A day before the recorded change is refused; the group stays.
    t.edit();
    prompts.expectDate(QStringLiteral("Data zmiany"), QDate(2024, 3, 20));
    EXPECT_EQ(refusal([&] { t.setValue(QStringLiteral("KLASA"), b); }),
              QStringLiteral("Zarejestrowano już zmianę grupy na dzień 01.04.2024"));
    EXPECT_EQ(t.asInt(QStringLiteral("KLASA")), a);
    EXPECT_TRUE(t.isEditing());

    // Cancelling the date changes the group without history.
    prompts.expectCancel(ScriptedPrompts::Kind::Date, QStringLiteral("Data zmiany"));
    t.setValue(QStringLiteral("KLASA"), b);
    EXPECT_TRUE(t.isEditing());
    t.post();
    EXPECT_EQ(historyOf(*db, kod).size(), 1);
    EXPECT_EQ(t.asInt(QStringLiteral("KLASA")), b);

    // The change saves the child with its history at once, together with
    // what else was typed: a cancel afterwards loses neither.
    t.edit();
    t.setValue(QStringLiteral("TELEFON"), QStringLiteral("123"));
    prompts.expectDate(QStringLiteral("Data zmiany"), QDate(2024, 6, 1));
    prompts.expectText(QStringLiteral("Zmiana grupy"), QStringLiteral("Podaj przyczynę zmiany grupy"), QString());
    t.setValue(QStringLiteral("KLASA"), c);
    EXPECT_FALSE(t.isEditing());
    t.cancel();
    EXPECT_EQ(historyOf(*db, kod).size(), 2);
    EXPECT_EQ(count(QStringLiteral("select KLASA from DZIECI where KOD = :O"), kod), c);
    EXPECT_EQ(t.text(QStringLiteral("TELEFON")), QStringLiteral("123"));
    EXPECT_TRUE(prompts.done());
}

TEST_P(DzieciGroupChangeTest, BatchAsksOnceAndReportsRecordedChanges)
{
    const int a = addGroup(QStringLiteral("A"), 1);
    const int first = addChild(QStringLiteral("Pierwszy"), a);
    const int second = addChild(QStringLiteral("Drugi"), a);
    const int third = addChild(QStringLiteral("Trzeci"), a);
    Query(*db, QStringLiteral("insert into DZIEKLA (OSOBA, DODATY, KLASA) values (:O, '2024-09-10', 0)"))
        .bind(QStringLiteral("O"), third)
        .exec();
    MessageLog log;
    context().messages = &log;
    GroupChange change(context(), QStringLiteral("DZIEKLA"));
    GroupChangeBatch batch;

    prompts.expectDate(QStringLiteral("Data zmiany"), QDate(2024, 9, 1));
    prompts.expectText(QStringLiteral("Zmiana grupy"), QStringLiteral("Podaj przyczynę zmiany grupy"), QStringLiteral("Nowy rok"));
    const auto r1 = change.prepare(first, a, QStringLiteral("Pierwszy, Polna 1"), QDate(2024, 9, 1), &batch);
    const auto r2 = change.prepare(second, a, QStringLiteral("Drugi, Polna 1"), QDate(2024, 9, 1), &batch);
    const auto r3 = change.prepare(third, a, QStringLiteral("Trzeci, Polna 1"), QDate(2024, 9, 1), &batch);
    ASSERT_TRUE(r1 && r2);
    EXPECT_EQ(r1->until, QDate(2024, 8, 31));
    EXPECT_EQ(r1->reason, QStringLiteral("Nowy rok"));
    EXPECT_EQ(r2->reason, QStringLiteral("Nowy rok "));
    EXPECT_FALSE(r3);
    EXPECT_EQ(log.errors(), QStringList{QStringLiteral("Trzeci, Polna 1 - zarejestrowano już zmianę grupy na dzień 11.09.2024")});
    EXPECT_TRUE(prompts.done());

    // Cancelling the first date records nothing for the whole batch.
    GroupChangeBatch cancelled;
    prompts.expectCancel(ScriptedPrompts::Kind::Date, QStringLiteral("Data zmiany"));
    EXPECT_FALSE(change.prepare(first, a, QString(), QDate(2024, 9, 1), &cancelled));
    EXPECT_FALSE(change.prepare(second, a, QString(), QDate(2024, 9, 1), &cancelled));
    EXPECT_TRUE(prompts.done());
}

INSTANTIATE_ENGINES(DzieciGroupChangeTest);

}  // namespace
