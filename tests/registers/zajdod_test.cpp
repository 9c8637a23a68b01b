// The extra classes register: deletion checks, the schedule list, the held
// classes list kept on its last row, the declarations (of a class, with the
// children picker, and of a child), the rights and defaults of a limited
// user, the optional column and the area.

#include "shell/register_fixture.h"

#include "browser/area_arguments.h"
#include "registers/extra_class_areas.h"
#include "registers/held_classes.h"
#include "registers/tdm_zajdod.h"
#include "registers/zajdod_child_declarations.h"
#include "shell/access_rules.h"
#include "store/error.h"
#include "store/query.h"
#include "store/table.h"

namespace {

class ZajDodTest : public RegisterTest {
protected:
    int insertReturning(const QString& table, const QString& name, const QString& sql, const QVariant& group)
    {
        Query(*db, sql).bind(QStringLiteral("N"), name).bind(QStringLiteral("K"), group).exec();
        return Query(*db, QStringLiteral("SELECT MAX(KOD) FROM %1 WHERE NAZWA = :N").arg(table))
            .bind(QStringLiteral("N"), name)
            .scalar()
            .toInt();
    }
    int addGroup(const QString& name, int kolej)
    {
        return insertReturning(QStringLiteral("KLASY"), name,
                               QStringLiteral("INSERT INTO KLASY (NAZWA, KOLEJ) VALUES (:N, %1)").arg(kolej), QVariant());
    }
    int addClass(const QString& name, const QVariant& group = QVariant())
    {
        return insertReturning(QStringLiteral("ZAJDOD"), name,
                               QStringLiteral("INSERT INTO ZAJDOD (NAZWA, KOLEJ, KLASA) VALUES (:N, 1, :K)"), group);
    }
    int addChild(const QString& name, const QVariant& group)
    {
        return insertReturning(
            QStringLiteral("DZIECI"), name,
            QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, PESEL, KLASA) VALUES (:N, 'Polna 1', '18210112345', :K)"),
            group);
    }
    void addHeld(int cls, const QDate& day, int id)
    {
        Query(*db, QStringLiteral("INSERT INTO ZAJODB (ZAJECIE, DATA, ID) VALUES (:Z, :D, :I)"))
            .bind(QStringLiteral("Z"), cls)
            .bind(QStringLiteral("D"), day)
            .bind(QStringLiteral("I"), id)
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
    static QStringList column(const Table& t, const QString& field)
    {
        QStringList out;
        for (int r = 0; r < t.rowCount(); ++r)
            out << t.valueAt(r, field).toString();
        return out;
    }
};

TEST_P(ZajDodTest, DeletionNamesEveryUseInOrder)
{
    const int onlySchedule = addClass(QStringLiteral("Angielski"));
    const int everywhere = addClass(QStringLiteral("Basen"));
    const int unused = addClass(QStringLiteral("Szachy"));
    for (int cls : {onlySchedule, everywhere})
        Query(*db, QStringLiteral("INSERT INTO ZAJDAT (ZAJECIE, ODDATY, DZIENTYG) VALUES (:Z, '2024-01-01', '1')"))
            .bind(QStringLiteral("Z"), cls)
            .exec();
    addHeld(everywhere, QDate(2024, 3, 4), 1);
    Query(*db, QStringLiteral("INSERT INTO DZIEZAJ (OSOBA, ZAJECIE, ODDATY) VALUES (1, :Z, '2024-01-01')"))
        .bind(QStringLiteral("Z"), everywhere)
        .exec();

    TDMZajDod module(context());
    Table& t = *module.classes().table;
    t.open();
    const QString heading = QStringLiteral("Nie można skasować zajęcia dodatkowego, gdyż występuje ono w:");
    ASSERT_TRUE(t.locate({QStringLiteral("KOD")}, {onlySchedule}));
    EXPECT_EQ(refusal([&] { t.remove(); }), heading + QStringLiteral("\r\n- określeniu dat odbywania"));
    ASSERT_TRUE(t.locate({QStringLiteral("KOD")}, {everywhere}));
    EXPECT_EQ(refusal([&] { t.remove(); }),
              heading
                  + QStringLiteral("\r\n- określeniu dat odbywania\r\n- przypisaniach do dzieci\r\n- odbytych zajęciach"));
    ASSERT_TRUE(t.locate({QStringLiteral("KOD")}, {unused}));
    t.remove();
    EXPECT_EQ(column(t, QStringLiteral("NAZWA")), (QStringList{QStringLiteral("Angielski"), QStringLiteral("Basen")}));
}

TEST_P(ZajDodTest, ScheduleRowsOfANewClassAndTheirChecks)
{
    context();
    m_baza->setSystemDate(QDate(2024, 3, 4));
    TDMZajDod module(context());
    Table& c = *module.classes().table;
    Table& s = *module.schedule().table;
    c.open();
    s.open();

    // A schedule row begun while the class is new saves the class first.
    c.insert();
    c.setValue(QStringLiteral("NAZWA"), QStringLiteral("Rytmika"));
    s.insert();
    ASSERT_EQ(c.state(), Table::State::Browse);
    const int cls = c.asInt(QStringLiteral("KOD"));
    EXPECT_EQ(c.asInt(QStringLiteral("KOLEJ")), 1);
    EXPECT_EQ(s.asInt(QStringLiteral("ZAJECIE")), cls);
    EXPECT_EQ(s.text(QStringLiteral("DZIENTYGNAZWA")), QStringLiteral("Poniedziałek"));
    s.setValue(QStringLiteral("ODDATY"), QDate(2024, 1, 1));
    s.setValue(QStringLiteral("DZIENTYG"), QStringLiteral("3"));
    s.setValue(QStringLiteral("CZASP"), QTime(10, 0));
    s.setValue(QStringLiteral("CZASW"), QTime(9, 59));
    EXPECT_EQ(refusal([&] { s.post(); }), QStringLiteral("Czas przyjścia nie może być większy niż Czas wyjścia"));
    EXPECT_TRUE(s.isEditing());
    s.setValue(QStringLiteral("CZASW"), QTime(10, 0));  // a class may start and end at once
    s.post();
    EXPECT_EQ(s.text(QStringLiteral("DZIENTYGNAZWA")), QStringLiteral("Środa"));
    EXPECT_EQ(s.rowCount(), 1);

    // A row that ended more than a year before the system date is hidden.
    Query(*db, QStringLiteral("INSERT INTO ZAJDAT (ZAJECIE, ODDATY, DODATY, DZIENTYG) VALUES (:Z, '2021-01-01', '2023-03-01', '1')"))
        .bind(QStringLiteral("Z"), cls)
        .exec();
    s.refresh();
    EXPECT_EQ(s.rowCount(), 1);
    m_baza->setSystemDateFilter(false);
    s.refresh();
    EXPECT_EQ(s.rowCount(), 2);
}

TEST_P(ZajDodTest, HeldClassesListStaysOnTheLastRowOfTheCurrentClass)
{
    const int group = addGroup(QStringLiteral("Misie"), 1);
    const int first = addClass(QStringLiteral("Angielski"), group);
    const int second = addClass(QStringLiteral("Basen"));
    Query(*db, QStringLiteral("UPDATE ZAJDOD SET KOLEJ = 2 WHERE KOD = :K")).bind(QStringLiteral("K"), second).exec();
    for (int i = 1; i <= 3; ++i)
        addHeld(first, QDate(2024, 3, i), i);
    addHeld(second, QDate(2024, 2, 1), 4);
    addHeld(second, QDate(2024, 2, 8), 5);
    Query(*db, QStringLiteral("INSERT INTO ZAJDAT (ZAJECIE, ODDATY, DZIENTYG, CZASP, CZASW) "
                              "VALUES (:Z, '2024-01-01', '1', '16:00', '17:00')"))
        .bind(QStringLiteral("Z"), first)
        .exec();
    context();
    m_baza->setSystemDate(QDate(2024, 3, 4));

    TDMZajDod module(context());
    Table& c = *module.classes().table;
    c.open();
    ASSERT_EQ(c.asInt(QStringLiteral("KOD")), first);
    module.classes().command(QStringLiteral("Odbytezajecia1"))->handler();
    Table& h = *module.heldClasses().table;
    ASSERT_EQ(h.rowCount(), 3);
    EXPECT_EQ(h.position(), 2);

    // The user's own moves stay; another class puts the list on its last row.
    h.first();
    EXPECT_EQ(h.position(), 0);
    c.next();
    EXPECT_EQ(h.rowCount(), 2);
    EXPECT_EQ(h.asInt(QStringLiteral("ID")), 5);
    c.prior();
    EXPECT_EQ(h.asDate(QStringLiteral("DATA")), QDate(2024, 3, 3));

    // A new held class: the system date, the class's group, the scheduled
    // times, the next number of the group; it stays current once saved.
    h.insert();
    EXPECT_EQ(h.asDate(QStringLiteral("DATA")), QDate(2024, 3, 4));
    EXPECT_EQ(h.asInt(QStringLiteral("KLASA")), group);
    EXPECT_EQ(h.asTime(QStringLiteral("CZASP")), QTime(16, 0));
    EXPECT_EQ(h.asTime(heldclasses::scheduledEndField()), QTime(17, 0));
    h.post();
    EXPECT_EQ(h.asInt(QStringLiteral("ID")), 1);
    EXPECT_EQ(h.asDate(QStringLiteral("DATA")), QDate(2024, 3, 4));
}

TEST_P(ZajDodTest, DeclarationsShowTheChildAndItsGroup)
{
    const int misie = addGroup(QStringLiteral("Misie"), 1);
    const int zabki = addGroup(QStringLiteral("Żabki"), 2);
    const int cls = addClass(QStringLiteral("Angielski"));
    const int ala = addChild(QStringLiteral("Nowak Ala"), misie);
    const int ola = addChild(QStringLiteral("Kowal Ola"), zabki);
    for (int child : {ala, ola})
        Query(*db, QStringLiteral("INSERT INTO DZIEZAJ (OSOBA, ZAJECIE, ODDATY) VALUES (:O, :Z, '2024-01-01')"))
            .bind(QStringLiteral("O"), child)
            .bind(QStringLiteral("Z"), cls)
            .exec();
    // Ended years before the system date: hidden while the filter is on.
    Query(*db, QStringLiteral("INSERT INTO DZIEZAJ (OSOBA, ZAJECIE, ODDATY, DODATY) VALUES (:O, :Z, '2019-01-01', '2020-01-31')"))
        .bind(QStringLiteral("O"), ala)
        .bind(QStringLiteral("Z"), cls)
        .exec();
    context();
    m_baza->setSystemDate(QDate(2024, 3, 4));

    TDMZajDod module(context());
    module.classes().table->open();
    module.classes().command(QStringLiteral("Zapisanedzieci1"))->handler();
    Table& d = *module.declarations().table;
    d.open();
    ASSERT_EQ(d.rowCount(), 2);
    ASSERT_TRUE(d.locate({QStringLiteral("OSOBA")}, {ala}));
    EXPECT_EQ(d.text(QStringLiteral("DZIECKO")), QStringLiteral("Nowak Ala, Polna 1 (PESEL: 18210112345)"));
    EXPECT_EQ(d.text(QStringLiteral("DZIECKOGRUPA")), QStringLiteral("Misie"));
    // The children picker is a data set of the module, so the browser picks from it.
    const Table::Field& f = d.field(QStringLiteral("DZIECKO"));
    EXPECT_EQ(f.lookupTable, module.children().table);

    // A declaration needs its child.
    d.insert();
    EXPECT_EQ(d.asInt(QStringLiteral("ZAJECIE")), cls);
    EXPECT_EQ(refusal([&] { d.post(); }), QStringLiteral("Pole \"Dziecko\" musi posiadać wartość"));
    d.cancel();

    // The same declarations as the detail list of a child.
    Table kids(context().db(), QStringLiteral("DZIECI"));
    kids.setOrdering(QStringLiteral("KOD"));
    kids.open();
    DataSet ofChild;
    ofChild.table = new Table(context().db(), QStringLiteral("DZIEZAJ"), &kids);
    extraclasses::setUpChildDeclarations(ofChild, context(), kids);
    Table& mine = *ofChild.table;
    mine.open();
    ASSERT_TRUE(kids.locate({QStringLiteral("KOD")}, {ala}));
    EXPECT_EQ(column(mine, QStringLiteral("ZAJECIENAZWA")), QStringList{QStringLiteral("Angielski")});
    mine.insert();
    EXPECT_EQ(mine.asInt(QStringLiteral("OSOBA")), ala);
    EXPECT_EQ(refusal([&] { mine.post(); }), QStringLiteral("Pole \"Zajęcia\" musi posiadać wartość"));
    mine.cancel();

    // A user of one group sees its children only, in the picker and in the list.
    context().login.visibleGroups = {QString::number(zabki), QString()};
    context().login.functions = {permissions::extraClassesFunction()};
    TDMZajDod limited(context());
    Table& lc = *limited.classes().table;
    lc.open();
    EXPECT_EQ(lc.rowCount(), 0);  // a class without a group is for users of every group
    EXPECT_EQ(column(*limited.children().table, QStringLiteral("NAZWA")), QStringList{QStringLiteral("Kowal Ola")});
}

TEST_P(ZajDodTest, LimitedUserDefaultsAndOptionalColumn)
{
    const int misie = addGroup(QStringLiteral("Misie"), 2);
    const int zabki = addGroup(QStringLiteral("Żabki"), 1);
    const int mine = addClass(QStringLiteral("Angielski"), misie);
    addClass(QStringLiteral("Basen"), misie);
    addClass(QStringLiteral("Szachy"), zabki);
    {
        TDMZajDod withColumn(context());
        EXPECT_EQ(captions(withColumn.classes()),
                  (QStringList{QStringLiteral("Nazwa"), QStringLiteral("Grupa"), QStringLiteral("Zgł. nieobec. do")}));
    }
    Query(*db, QStringLiteral("ALTER TABLE ZAJDOD DROP COLUMN ZGLOSZG")).exec();
    context().db().forgetStructure();

    context().login.visibleGroups = {QString::number(misie), QString::number(zabki), QString()};
    context().login.functions = {permissions::extraClassFunction(QString::number(mine))};
    TDMZajDod module(context());
    EXPECT_FALSE(module.hasNoticeDeadline());
    EXPECT_EQ(captions(module.classes()), (QStringList{QStringLiteral("Nazwa"), QStringLiteral("Grupa")}));
    EXPECT_EQ(shownCaptions(module.classes()),
              (QStringList{QStringLiteral("Przesuń do &góry"), QStringLiteral("Przesuń na &dół"), QStringLiteral("Terminy"),
                           QStringLiteral("Odbyte zajęcia"), QStringLiteral("Zapisane dzieci")}));
    Table& c = *module.classes().table;
    c.open();
    EXPECT_EQ(column(c, QStringLiteral("NAZWA")), QStringList{QStringLiteral("Angielski")});
    // The first of the user's groups in the groups' order.
    c.insert();
    EXPECT_EQ(c.asInt(QStringLiteral("KLASA")), zabki);
    EXPECT_EQ(c.text(QStringLiteral("KLASANAZWA")), QStringLiteral("Żabki"));
    c.cancel();

    // With every group, a new class has none.
    context().login.visibleGroups = {QStringLiteral("-1")};
    registerExtraClassAreas(areas);
    EXPECT_TRUE(areas.open(QStringLiteral("Zajciadodatkowe"), context(), {{area::titleKey(), QStringLiteral("Zajęcia dodatkowe")}}));
    ASSERT_FALSE(opener.open().isEmpty());
    EXPECT_EQ(opener.open().last().title, QStringLiteral("Zajęcia dodatkowe"));
    auto* opened = dynamic_cast<TDMZajDod*>(opener.open().last().module);
    ASSERT_TRUE(opened);
    Table& all = *opened->classes().table;
    all.open();
    all.insert();
    EXPECT_TRUE(all.isNull(QStringLiteral("KLASA")));
    all.cancel();
}

INSTANTIATE_ENGINES(ZajDodTest);

}  // namespace
