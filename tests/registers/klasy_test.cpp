// Groups and statuses: the protected rows 0, the position of a new row, the
// moves, the deletion checks and the visible-groups limit.

#include "shell/register_fixture.h"

#include "registers/display_order.h"
#include "registers/register_areas.h"
#include "registers/tdm_klasy.h"
#include "store/error.h"
#include "store/query.h"
#include "store/table.h"

namespace {

class KlasyTest : public RegisterTest {
protected:
    int addRow(const QString& table, const QString& name, int kolej)
    {
        Query(*db, QStringLiteral("INSERT INTO %1 (NAZWA, KOLEJ) VALUES (:N, :K)").arg(table))
            .bind(QStringLiteral("N"), name)
            .bind(QStringLiteral("K"), kolej)
            .exec();
        return Query(*db, QStringLiteral("SELECT KOD FROM %1 WHERE NAZWA = :N").arg(table))
            .bind(QStringLiteral("N"), name)
            .scalar()
            .toInt();
    }
    void addChild(int group, int status)
    {
        Query(*db, QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, KLASA, STATUS) VALUES ('Ala', 'Polna', :K, :S)"))
            .bind(QStringLiteral("K"), group)
            .bind(QStringLiteral("S"), status)
            .exec();
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
    int kolejOf(const QString& table, int code)
    {
        return Query(*db, QStringLiteral("SELECT KOLEJ FROM %1 WHERE KOD = :K").arg(table))
            .bind(QStringLiteral("K"), code)
            .scalar()
            .toInt();
    }
};

TEST_P(KlasyTest, ProtectedZeroRowsAndNewPositions)
{
    TDMKlasy module(context());
    Table& g = *module.groups().table;
    g.open();
    ASSERT_TRUE(g.locate({QStringLiteral("KOD")}, {0}));
    EXPECT_EQ(refusal([&] { g.edit(); }), QStringLiteral("Nie można edytować grupy nieaktywnych"));
    EXPECT_FALSE(g.isEditing());
    EXPECT_EQ(refusal([&] { g.remove(); }), QStringLiteral("Nie można skasować grupy nieaktywnych"));

    // New rows go last, whatever gaps the order has; a failed save does not
    // keep a stale position.
    addRow(QStringLiteral("KLASY"), QStringLiteral("Misie"), 7);
    g.refresh();
    g.insert();
    g.setValue(QStringLiteral("NAZWA"), QStringLiteral("Żabki"));
    g.post();
    EXPECT_EQ(g.asInt(QStringLiteral("KOLEJ")), 8);
    g.insert();
    g.setValue(QStringLiteral("NAZWA"), QStringLiteral("Słonie"));
    g.post();
    EXPECT_EQ(g.asInt(QStringLiteral("KOLEJ")), 9);

    module.switchToStatuses();
    EXPECT_EQ(module.mainDataSet(), &module.statuses());
    Table& s = *module.statuses().table;
    s.open();
    ASSERT_TRUE(s.locate({QStringLiteral("KOD")}, {0}));
    EXPECT_EQ(refusal([&] { s.edit(); }), QStringLiteral("Nie można edytować zerowego statusu"));
    EXPECT_EQ(refusal([&] { s.remove(); }), QStringLiteral("Nie można skasować zerowego statusu"));
    s.insert();
    s.setValue(QStringLiteral("NAZWA"), QStringLiteral("Dojeżdżający"));
    s.post();
    EXPECT_EQ(s.asInt(QStringLiteral("KOLEJ")), 1);  // the zero status holds 0
    EXPECT_EQ(s.rowCount(), 2);
}

TEST_P(KlasyTest, DeletionChecksNameEveryPlaceInOrder)
{
    const int used = addRow(QStringLiteral("KLASY"), QStringLiteral("Misie"), 1);
    const int free = addRow(QStringLiteral("KLASY"), QStringLiteral("Żabki"), 2);
    const int status = addRow(QStringLiteral("STATUSY"), QStringLiteral("Dojeżdżający"), 1);
    const int unusedStatus = addRow(QStringLiteral("STATUSY"), QStringLiteral("Inny"), 2);
    Query(*db, QStringLiteral("INSERT INTO WYCHOW (NAZWA, ULICA, KLASA) VALUES ('Pani', 'Leśna', :K)"))
        .bind(QStringLiteral("K"), used)
        .exec();
    addChild(used, status);

    TDMKlasy module(context());
    Table& g = *module.groups().table;
    g.open();
    ASSERT_TRUE(g.locate({QStringLiteral("KOD")}, {used}));
    EXPECT_EQ(refusal([&] { g.remove(); }),
              QStringLiteral("Nie można skasować grupy, gdyż występuje ona w:\r\n- kartotece dzieci\r\n- kartotece wychowawców"));

    // An extra class of the group refuses it alone.
    Query(*db, QStringLiteral("INSERT INTO ZAJDOD (NAZWA, KOLEJ, KLASA) VALUES ('Angielski', 1, :K)"))
        .bind(QStringLiteral("K"), free)
        .exec();
    ASSERT_TRUE(g.locate({QStringLiteral("KOD")}, {free}));
    EXPECT_EQ(refusal([&] { g.remove(); }),
              QStringLiteral("Nie można skasować grupy, gdyż występuje ona w:\r\n- zajęciach dodatkowych"));
    Query(*db, QStringLiteral("DELETE FROM ZAJDOD")).exec();
    g.remove();
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT COUNT(*) FROM KLASY WHERE KOD = :K")).bind(QStringLiteral("K"), free).scalar().toInt(), 0);

    Table& s = *module.statuses().table;
    s.open();
    ASSERT_TRUE(s.locate({QStringLiteral("KOD")}, {status}));
    EXPECT_EQ(refusal([&] { s.remove(); }),
              QStringLiteral("Nie można skasować statusu, gdyż występuje on w:\r\n- kartotece dzieci"));
    ASSERT_TRUE(s.locate({QStringLiteral("KOD")}, {unusedStatus}));
    EXPECT_NO_THROW(s.remove());
    EXPECT_EQ(s.rowCount(), 2);
}

TEST_P(KlasyTest, MovesAndVisibleGroups)
{
    const int a = addRow(QStringLiteral("KLASY"), QStringLiteral("A"), 1);
    const int b = addRow(QStringLiteral("KLASY"), QStringLiteral("B"), 2);
    const int c = addRow(QStringLiteral("KLASY"), QStringLiteral("C"), 3);

    context().login.visibleGroups = {QStringLiteral("0"), QString::number(a), QString::number(c), QString()};
    TDMKlasy module(context());
    Table& g = *module.groups().table;
    g.open();
    QStringList names;
    for (int r = 0; r < g.rowCount(); ++r)
        names << g.valueAt(r, QStringLiteral("NAZWA")).toString();
    EXPECT_EQ(names, (QStringList{QStringLiteral("Nieaktywni"), QStringLiteral("A"), QStringLiteral("C")}));

    // The neighbour in the list is the visible one; the hidden row keeps its place.
    ASSERT_TRUE(g.locate({QStringLiteral("KOD")}, {a}));
    display_order::move(g, true);
    EXPECT_EQ(g.asInt(QStringLiteral("KOD")), a);
    EXPECT_EQ(kolejOf(QStringLiteral("KLASY"), a), 3);
    EXPECT_EQ(kolejOf(QStringLiteral("KLASY"), c), 1);
    EXPECT_EQ(kolejOf(QStringLiteral("KLASY"), b), 2);
    // The last row moved down changes nothing.
    display_order::move(g, true);
    EXPECT_EQ(kolejOf(QStringLiteral("KLASY"), a), 3);

    // Another order refuses through the command's message.
    g.setOrdering(QStringLiteral("NAZWA"));
    Command* down = module.groups().command(QStringLiteral("Przesunnadol1"));
    ASSERT_TRUE(down);
    down->handler();
    ASSERT_FALSE(prompts.shown().isEmpty());
    EXPECT_EQ(prompts.shown().last(), QStringLiteral("Sort zbioru musi być wg definiowalnej kolejności"));

    // The areas open the two windows of the one module.
    registerRegisterAreas(areas);
    EXPECT_TRUE(areas.open(QStringLiteral("Statusy"), context()));
    ASSERT_FALSE(opener.open().isEmpty());
    EXPECT_EQ(opener.open().last().dataSet->name, QStringLiteral("Statusy"));
    EXPECT_EQ(opener.open().last().title, QStringLiteral("Statusy"));
}

INSTANTIATE_ENGINES(KlasyTest);

}  // namespace
