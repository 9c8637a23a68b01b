// Educators: the active flag, the default group, the hidden inactive ones,
// the group history with its refusal, and the deletion check.

#include "shell/register_fixture.h"

#include "registers/tdm_wychow.h"
#include "store/error.h"
#include "store/query.h"
#include "store/table.h"
#include "store/values.h"

namespace {

class WychowTest : public RegisterTest {
protected:
    int group(const QString& name, int kolej)
    {
        Query(*db, QStringLiteral("INSERT INTO KLASY (NAZWA, KOLEJ) VALUES (:N, :K)"))
            .bind(QStringLiteral("N"), name)
            .bind(QStringLiteral("K"), kolej)
            .exec();
        return Query(*db, QStringLiteral("SELECT KOD FROM KLASY WHERE NAZWA = :N")).bind(QStringLiteral("N"), name).scalar().toInt();
    }
    int historyRows()
    {
        return Query(*db, QStringLiteral("SELECT COUNT(*) FROM WYCHKLA")).scalar().toInt();
    }
};

TEST_P(WychowTest, ActiveFlagGroupHistoryAndDeletion)
{
    const int misie = group(QStringLiteral("Misie"), 1);
    const int zabki = group(QStringLiteral("Żabki"), 2);
    context().params.wychowawcyDane[1] = QStringLiteral("Kwalifikacje");
    context().baza.setSystemDate(QDate(2024, 3, 5));
    TDMWychow module(context());
    EXPECT_FALSE(module.educators().field(QStringLiteral("DANE1"))->visible);
    EXPECT_TRUE(module.educators().field(QStringLiteral("DANE2"))->visible);
    EXPECT_EQ(module.educators().field(QStringLiteral("DANE2"))->caption, QStringLiteral("Kwalifikacje"));

    Table& w = *module.educators().table;
    w.open();
    w.insert();
    EXPECT_EQ(w.asInt(QStringLiteral("KLASA")), misie);  // group 0 comes first and is passed over
    w.setValue(QStringLiteral("NAZWA"), QStringLiteral("Nowak Anna"));
    w.setValue(QStringLiteral("ULICA"), QStringLiteral("Polna 1"));
    w.setValue(QStringLiteral("PESEL"), QStringLiteral("80010112345"));
    w.post();
    EXPECT_EQ(w.text(QStringLiteral("AKTYWNY")), QStringLiteral("T"));
    EXPECT_EQ(w.text(QStringLiteral("CAPTION")), QStringLiteral("Nowak Anna, Polna 1 (PESEL: 80010112345)"));
    const int kod = w.asInt(QStringLiteral("KOD"));

    // A change to another group records the earlier one up to the day before.
    prompts.expectDate(QStringLiteral("Data zmiany"), QDate(2024, 3, 1));
    prompts.expectText(QStringLiteral("Zmiana grupy"), QStringLiteral("Podaj przyczynę zmiany grupy"), QStringLiteral("reorganizacja"));
    w.edit();
    w.setValue(QStringLiteral("KLASA"), zabki);
    w.post();
    EXPECT_TRUE(prompts.done());
    {
        Query h(*db, QStringLiteral("SELECT DODATY, KLASA, UWAGI FROM WYCHKLA WHERE OSOBA = :O"));
        h.bind(QStringLiteral("O"), kod).exec();
        ASSERT_TRUE(h.next());
        EXPECT_EQ(values::toDate(h.value(0)), QDate(2024, 2, 29));
        EXPECT_EQ(h.value(1).toInt(), misie);
        EXPECT_EQ(h.value(2).toString(), QStringLiteral("reorganizacja"));
    }

    // An earlier day than the recorded change is refused and the group stays.
    prompts.expectDate(QStringLiteral("Data zmiany"), QDate(2024, 2, 20));
    w.edit();
    try {
        w.setValue(QStringLiteral("KLASA"), misie);
        ADD_FAILURE() << "an earlier change was accepted";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Zarejestrowano już zmianę grupy na dzień 01.03.2024"));
    }
    EXPECT_EQ(w.asInt(QStringLiteral("KLASA")), zabki);
    // The same day adds no row; moving to group 0 makes him inactive and hides him.
    prompts.expectDate(QStringLiteral("Data zmiany"), QDate(2024, 3, 1));
    w.setValue(QStringLiteral("KLASA"), 0);
    w.post();
    EXPECT_EQ(historyRows(), 1);
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT AKTYWNY FROM WYCHOW")).scalar().toString(), QStringLiteral("N"));
    EXPECT_TRUE(w.isEmpty());
    module.toggleInactive();
    ASSERT_EQ(w.rowCount(), 1);
    EXPECT_TRUE(module.educators().command(QStringLiteral("Pokaznieaktywnych1"))->checked);

    // History refuses the deletion; without it the educator goes.
    EXPECT_THROW(
        {
            try {
                w.remove();
            } catch (const Error& e) {
                EXPECT_EQ(e.message(), QStringLiteral("Nie można skasować wychowawcy, gdyż występuje on w:\r\n- poprzednich grupach"));
                throw;
            }
        },
        Error);
    Query(*db, QStringLiteral("DELETE FROM WYCHKLA")).exec();
    EXPECT_NO_THROW(w.remove());
    EXPECT_TRUE(w.isEmpty());
}

// The history row is written only with the educator: a save refused for a
// missing name leaves none, and the date question reads as for children.
TEST_P(WychowTest, RefusedSaveLeavesNoHistory)
{
    const int misie = group(QStringLiteral("Misie"), 1);
    const int zabki = group(QStringLiteral("Żabki"), 2);
    Query(*db, QStringLiteral("INSERT INTO WYCHOW (NAZWA, ULICA, KLASA, AKTYWNY) VALUES ('W', 'U', :K, 'T')"))
        .bind(QStringLiteral("K"), misie)
        .exec();
    TDMWychow module(context());
    Table& w = *module.educators().table;
    w.open();
    prompts.expectDate(QStringLiteral("Data zmiany"), QDate(2024, 3, 1))
        .withText(QStringLiteral("Przynależy do nowej grupy od dnia:\r\n(Anuluj - nie zapamięta poprzedniej)"));
    prompts.expectText(QStringLiteral("Zmiana grupy"), QStringLiteral("Podaj przyczynę zmiany grupy"), QStringLiteral("x"));
    w.edit();
    w.clear(QStringLiteral("NAZWA"));
    // The change saves the educator at once; the refused save takes the
    // history row back with it and leaves the old group in the edit.
    EXPECT_THROW(w.setValue(QStringLiteral("KLASA"), zabki), Error);
    EXPECT_TRUE(prompts.done());
    EXPECT_EQ(historyRows(), 0);
    EXPECT_TRUE(w.isEditing());
    EXPECT_EQ(w.asInt(QStringLiteral("KLASA")), misie);
    w.cancel();
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT KLASA FROM WYCHOW")).scalar().toInt(), misie);
}

TEST_P(WychowTest, OnlyVisibleGroups)
{
    const int misie = group(QStringLiteral("Misie"), 1);
    const int zabki = group(QStringLiteral("Żabki"), 2);
    for (int g : {misie, zabki})
        Query(*db, QStringLiteral("INSERT INTO WYCHOW (NAZWA, ULICA, KLASA, AKTYWNY) VALUES ('W', 'U', :K, 'T')"))
            .bind(QStringLiteral("K"), g)
            .exec();
    context().login.visibleGroups = {QString::number(zabki), QString()};
    TDMWychow module(context());
    Table& w = *module.educators().table;
    w.open();
    ASSERT_EQ(w.rowCount(), 1);
    EXPECT_EQ(w.asInt(QStringLiteral("KLASA")), zabki);
    w.insert();
    EXPECT_EQ(w.asInt(QStringLiteral("KLASA")), zabki);
    w.cancel();
}

INSTANTIATE_ENGINES(WychowTest);

}  // namespace
