// The extra-charges grid: its columns, cells, typed codes, sums and the
// rules of the charges themselves, on both engines.

#include "shell/register_fixture.h"

#include "browser/column_sums.h"
#include "fees/tdm_nalkla.h"
#include "fees/tdm_naldod.h"
#include "store/error.h"
#include "store/query.h"
#include "store/table.h"
#include "sync/sync_uploads.h"

namespace {

class ExtraChargesTest : public RegisterTest {
protected:
    void SetUp() override
    {
        RegisterTest::SetUp();
        if (IsSkipped())
            return;
        today = context().systemDate();
        groupA = addGroup(QStringLiteral("Motylki"), 1);
        groupB = addGroup(QStringLiteral("Żabki"), 2);
        childA = addChild(QStringLiteral("Adamska Ala"), groupA);
        childB = addChild(QStringLiteral("Bartek Bolek"), groupB);
        addCharge(groupA, 1, today, QStringLiteral("Teatr"), 10);
        addCharge(QVariant(), 1, today.addDays(-5), QStringLiteral("Wycieczka"), 25.5);
        addCharge(QVariant(), 2, today.addDays(-63), QStringLiteral("Kino"), 8);
    }

    int addGroup(const QString& name, int kolej)
    {
        Query(*db, QStringLiteral("INSERT INTO KLASY (NAZWA, KOLEJ) VALUES (:N, :K)"))
            .bind(QStringLiteral("N"), name).bind(QStringLiteral("K"), kolej).exec();
        return Query(*db, QStringLiteral("SELECT MAX(KOD) FROM KLASY")).scalar().toInt();
    }
    int addChild(const QString& name, int group)
    {
        Query(*db, QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, KLASA, AKTYWNY) VALUES (:N, 'Polna 1', :K, 'T')"))
            .bind(QStringLiteral("N"), name).bind(QStringLiteral("K"), group).exec();
        return Query(*db, QStringLiteral("SELECT MAX(KOD) FROM DZIECI")).scalar().toInt();
    }
    void addCharge(const QVariant& group, int code, const QDate& date, const QString& name, double amount)
    {
        Query(*db, QStringLiteral("INSERT INTO NALKLA (KLASA, KOD, DATA, SKROT, KWOTA) VALUES (:G, :K, :D, :S, :A)"))
            .bind(QStringLiteral("G"), group).bind(QStringLiteral("K"), code).bind(QStringLiteral("D"), date)
            .bind(QStringLiteral("S"), name).bind(QStringLiteral("A"), amount).exec();
    }

    TDMNalDod& grid()
    {
        if (!module) {
            module = std::make_unique<TDMNalDod>(context());
            module->children().table->open();
        }
        return *module;
    }
    Table& rows() { return *grid().children().table; }
    void at(int child, const QString& field)
    {
        ASSERT_TRUE(rows().locate({QStringLiteral("KOD")}, {child}));
        grid().currentFieldChanged(grid().children(), field);
    }
    QStringList chargeCaptions()
    {
        QStringList out;
        for (const FieldView& f : grid().children().fields)
            if (f.visible && f.role == roles::extraCharge())
                out << f.caption;
        return out;
    }
    QVariant cell(int child, const QString& field)
    {
        rows().locate({QStringLiteral("KOD")}, {child});
        return rows().value(field);
    }
    QString stored(int child, int code)
    {
        Query q(*db, QStringLiteral("SELECT WPLATA FROM NALDOD WHERE OSOBA = :O AND KOD = :K"));
        q.bind(QStringLiteral("O"), child).bind(QStringLiteral("K"), code).exec();
        if (!q.next())
            return QStringLiteral("brak");
        return q.value(0).isNull() ? QStringLiteral("pusta") : QString::number(q.value(0).toDouble());
    }
    void TearDown() override { module.reset(); }

    QDate today;
    int groupA = 0, groupB = 0, childA = 0, childB = 0;
    std::unique_ptr<TDMNalDod> module;
};

}  // namespace

TEST_P(ExtraChargesTest, CellsCodesAndSumsFollowTheGroups)
{
    // The charge from 63 days ago is left out; "Brak" before the groups on the same day order.
    EXPECT_EQ(chargeCaptions(), (QStringList{"Nadpłaty", "Wycieczka (25,50)", "Teatr (10,00)"}));
    const QString trip = TDMNalDod::chargeField(0);
    const QString theatre = TDMNalDod::chargeField(1);
    EXPECT_FALSE(cell(childB, theatre).isValid()) << "another group's charge is empty";
    EXPECT_EQ(cell(childA, theatre).toDouble(), 0.0);
    EXPECT_EQ(cell(childB, trip).toDouble(), 0.0);

    // Asked once per window; the other group's charge is refused.
    prompts.expectYesNo(TDMNalDod::editQuestion(), true);
    at(childB, theatre);
    grid().recordExact();
    EXPECT_TRUE(prompts.shown().contains(TDMNalDod::otherGroupRefusal()));
    EXPECT_EQ(stored(childB, 1), "brak");

    at(childA, theatre);
    EXPECT_TRUE(grid().typedKey(grid().children(), theatre, u't'));
    EXPECT_EQ(stored(childA, 1), "10");
    at(childA, trip);
    EXPECT_TRUE(grid().typedKey(grid().children(), trip, u'n'));
    EXPECT_TRUE(cell(childA, trip).isNull()) << "absent shows empty";
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT COUNT(*) FROM NALDOD WHERE KLASA IS NULL AND WPLATA IS NULL")).scalar().toInt(), 1);

    // A digit opens the amount box starting with it.
    prompts.expectLineAndMemo(TDMNalDod::title(), QStringLiteral("7,5"), QStringLiteral("połowa"));
    at(childB, trip);
    EXPECT_TRUE(grid().typedKey(grid().children(), trip, u'7'));
    EXPECT_TRUE(prompts.asked().last().preset.startsWith(QStringLiteral("7\n")));
    EXPECT_DOUBLE_EQ(cell(childB, trip).toDouble(), 7.5);
    // Not a number: nothing saved.
    prompts.expectLineAndMemo(TDMNalDod::title(), QStringLiteral("abc"), QString());
    at(childB, trip);
    grid().editPayment();
    EXPECT_DOUBLE_EQ(cell(childB, trip).toDouble(), 7.5);

    const QHash<QString, QString> sums = sums::footer(grid().children());
    EXPECT_EQ(sums.value(theatre), QStringLiteral("10,00"));
    EXPECT_EQ(sums.value(trip), QStringLiteral("7,50"));

    // Backspace deletes after its question; the cell is 0 again.
    prompts.expectYesNo(QStringLiteral("Skasować wpłatę od Bartek Bolek, Polna 1?"), true);
    at(childB, trip);
    EXPECT_TRUE(grid().typedKey(grid().children(), trip, u'\b'));
    EXPECT_EQ(cell(childB, trip).toDouble(), 0.0);
    EXPECT_TRUE(cell(childB, trip).isValid());
    // Keys of other columns are the grid's own.
    EXPECT_FALSE(grid().typedKey(grid().children(), QStringLiteral("NAZWA"), u'T'));
    EXPECT_TRUE(prompts.done());
}

TEST_P(ExtraChargesTest, RangeAndChargeRules)
{
    // Moving the starting date back shows the old charge; unticking a group hides its charges.
    prompts.expectDate(TDMNalDod::title(), today.addDays(-70));
    prompts.expectChecks(QStringLiteral("Naliczenia dla wybranych grup"), {QStringLiteral("Brak"), QStringLiteral("Żabki")});
    grid().chooseRange();
    EXPECT_EQ(chargeCaptions(), (QStringList{"Nadpłaty", "Kino (8,00)", "Wycieczka (25,50)"}));
    // Ticking everything again drops the choice, so later groups show at once.
    prompts.expectDate(TDMNalDod::title(), today.addDays(-70));
    prompts.expectChecks(QStringLiteral("Naliczenia dla wybranych grup"),
                         {QStringLiteral("Brak"), QStringLiteral("Żabki"), QStringLiteral("Nieaktywni"), QStringLiteral("Motylki")});
    grid().chooseRange();
    EXPECT_FALSE(grid().chosenGroups().has_value());
    EXPECT_TRUE(prompts.done());

    // A new charge is numbered within its group and the grid gains its column.
    TDMNalKla& charges = grid().chargesModule();
    Table& t = *charges.charges().table;
    t.open();
    t.insert();
    EXPECT_EQ(t.asDate(QStringLiteral("DATA")), today);
    t.setValue(QStringLiteral("KLASA"), groupA);
    t.setValue(QStringLiteral("SKROT"), QStringLiteral("Basen"));
    t.setValue(QStringLiteral("KWOTA"), 12.0);
    t.post();
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT KOD FROM NALKLA WHERE SKROT = 'Basen'")).scalar().toInt(), 2);
    EXPECT_TRUE(chargeCaptions().contains(QStringLiteral("Basen (12,00)")));

    // Its group stays; a charge somebody has a row of stays.
    t.edit();
    t.setValue(QStringLiteral("KLASA"), groupB);
    try {
        t.post();
        ADD_FAILURE() << "group change accepted";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), TDMNalKla::groupChangeRefusal());
    }
    t.cancel();
    Query(*db, QStringLiteral("INSERT INTO NALDOD (KLASA, KOD, OSOBA, WPLATA) VALUES (:G, 2, :O, 12)"))
        .bind(QStringLiteral("G"), groupA).bind(QStringLiteral("O"), childA).exec();
    ASSERT_TRUE(t.locate({QStringLiteral("SKROT")}, {QStringLiteral("Basen")}));
    try {
        t.remove();
        ADD_FAILURE() << "deletion accepted";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), TDMNalKla::deletionRefusal());
    }
    // Nobody's row: deleted.
    ASSERT_TRUE(t.locate({QStringLiteral("SKROT")}, {QStringLiteral("Kino")}));
    t.remove();
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT COUNT(*) FROM NALKLA WHERE SKROT = 'Kino'")).scalar().toInt(), 0);
}

TEST_P(ExtraChargesTest, PaymentsOfChargesWithoutGroupArePublished)
{
    Query(*db, QStringLiteral("INSERT INTO NALDOD (KLASA, KOD, OSOBA, WPLATA) VALUES (NULL, 1, :O, 25.5)"))
        .bind(QStringLiteral("O"), childB).exec();
    Query(*db, QStringLiteral("INSERT INTO NALDOD (KLASA, KOD, OSOBA, WPLATA) VALUES (:G, 1, :O, 10)"))
        .bind(QStringLiteral("G"), groupA).bind(QStringLiteral("O"), childA).exec();
    const QDate from = today.addDays(-40);
    for (const websync::Upload& u : websync::fullUploads(*db, Parameters{}, websync::StartMonth{from.year(), from.month()})) {
        if (u.table != QLatin1String("NALDOD"))
            continue;
        Query q(*db, u.select);
        q.exec();
        QStringList children;
        while (q.next())
            children << q.value(2).toString();
        children.sort();
        EXPECT_EQ(children, (QStringList{QString::number(childA), QString::number(childB)}));
        return;
    }
    ADD_FAILURE() << "no NALDOD upload";
}

INSTANTIATE_ENGINES(ExtraChargesTest);
