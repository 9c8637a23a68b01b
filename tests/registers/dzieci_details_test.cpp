// A child's detail lists: the deletion check and what goes with a deleted
// child, closing and restoring fee components, the declared time against
// its limits, the collecting persons' last row, and detail rows of a child
// still being inserted.

#include "dzieci_fixture.h"

#include "browser/message_log.h"
#include "registers/child_deletion.h"

namespace {

using DzieciDetailsTest = DzieciTest;

// An invalid date (an empty field) for an empty text.
QDate day(const char* iso)
{
    return QDate::fromString(QString::fromLatin1(iso), Qt::ISODate);
}

void exec(Database& db, const QString& sql, int kod)
{
    Query(db, sql).bind(QStringLiteral("O"), kod).exec();
}

TEST_P(DzieciDetailsTest, DeletionCheckAndOwnRows)
{
    const int misie = addGroup(QStringLiteral("Misie"), 1);
    const int used = addChild(QStringLiteral("Używany"), misie);
    const int own = addChild(QStringLiteral("Własne"), misie);
    exec(*db, QStringLiteral("insert into DZIEKLA (OSOBA, DODATY, KLASA) values (:O, '2024-01-31', 0)"), used);
    exec(*db, QStringLiteral("insert into NALICZ (OSOBA) values (:O)"), used);
    exec(*db, QStringLiteral("insert into OBECM (OSOBA, ROK, MIES, ILE) values (:O, 2024, 1, 3)"), used);
    exec(*db, QStringLiteral("insert into ZAJOBEC (KLASA, ID, OSOBA) values (1, 1, :O)"), used);
    for (const char* table : {"DZIECZAS", "DZIEZAJ", "ODBIERA"}) {
        exec(*db, QStringLiteral("insert into %1 (OSOBA, ODDATY) values (:O, '2024-01-01')").arg(QLatin1String(table)), own);
        exec(*db, QStringLiteral("insert into %1 (OSOBA, ODDATY) values (:O, '2024-01-01')").arg(QLatin1String(table)), used);
    }

    goTo(used);
    EXPECT_EQ(refusal([&] { kids().remove(); }),
              QStringLiteral("Nie można skasować dziecka, gdyż występuje ono w:\r\n- poprzednich grupach"
                             "\r\n- opłatach miesięcznych\r\n- liście obecności\r\n- obecnościach na zajęciach dodatkowych"));
    exec(*db, QStringLiteral("delete from OBECM where OSOBA = :O"), used);
    exec(*db, QStringLiteral("insert into OBECN (OSOBA, DATA) values (:O, '2024-01-02')"), used);
    EXPECT_TRUE(refusal([&] { kids().remove(); }).endsWith(QStringLiteral("\r\n- liście obecności\r\n- obecnościach na zajęciach dodatkowych")));

    // Rows only in the child's own lists do not refuse it and go with it.
    goTo(own);
    kids().remove();
    for (const char* table : {"DZIECZAS", "DZIEZAJ", "ODBIERA"}) {
        EXPECT_EQ(count(QStringLiteral("select count(*) from %1 where OSOBA = :O").arg(QLatin1String(table)), own), 0) << table;
        EXPECT_EQ(count(QStringLiteral("select count(*) from %1 where OSOBA = :O").arg(QLatin1String(table)), used), 1) << table;
    }
    EXPECT_EQ(count(QStringLiteral("select count(*) from DZIECI")), 1);
}

TEST_P(DzieciDetailsTest, ClosingAndRestoringComponents)
{
    const int misie = addGroup(QStringLiteral("Misie"), 1);
    const int kod = addChild(QStringLiteral("Ala"), misie);
    const int other = addChild(QStringLiteral("Ola"), misie);
    Query(*db, QStringLiteral("insert into MEDIA (NAZWA, KOLEJ) values ('Czesne', 1)")).exec();
    Query(*db, QStringLiteral("insert into MEDIA (NAZWA, KOLEJ) values ('Wyżywienie', 2)")).exec();
    const int czesne = count(QStringLiteral("select KOD from MEDIA where NAZWA = 'Czesne'"));
    const int jedz = count(QStringLiteral("select KOD from MEDIA where NAZWA = 'Wyżywienie'"));
    auto add = [this](int child, int medium, const char* from, const char* to, int sposob, double aid) {
        Query(*db, QStringLiteral("insert into DZIEMED (OSOBA, MEDIUM, ODDATY, DODATY, SPOSOB, SPOROZ, PROCOPIE) "
                                  "values (:O, :M, :F, :T, :S, 2, :P)"))
            .bind(QStringLiteral("O"), child).bind(QStringLiteral("M"), medium)
            .bind(QStringLiteral("F"), day(from)).bind(QStringLiteral("T"), day(to))
            .bind(QStringLiteral("S"), sposob).bind(QStringLiteral("P"), aid)
            .exec();
    };
    add(kod, czesne, "2024-01-01", "", 3, 50);
    add(kod, jedz, "2024-07-01", "", 0, 0);  // starts after the closing day
    add(other, czesne, "2024-01-01", "", 3, 0);
    MessageLog log;
    context().messages = &log;
    context().baza.setSystemDate(QDate(2024, 6, 30));
    goTo(kod);
    Table& med = *module().components().table;
    med.open();

    prompts.expectCancel(ScriptedPrompts::Kind::Date, QStringLiteral("Zamknąć składniki"));
    module().closeComponents();
    EXPECT_EQ(count(QStringLiteral("select count(*) from DZIEMED where DODATY is null")), 3);

    prompts.expectDate(QStringLiteral("Zamknąć składniki"), QDate(2024, 6, 30)).withText(QStringLiteral("Na dzień"));
    module().closeComponents();
    EXPECT_EQ(count(QStringLiteral("select count(*) from DZIEMED where DODATY = '2024-06-30'")), 1);
    EXPECT_EQ(count(QStringLiteral("select count(*) from DZIEMED where DODATY is null and OSOBA = :O"), kod), 1);
    EXPECT_EQ(count(QStringLiteral("select count(*) from DZIEMED where DODATY is null and OSOBA = :O"), other), 1);
    EXPECT_EQ(log.remarks(), QStringList{QStringLiteral("Składnik Wyżywienie od 01.07.2024 nie został zamknięty, gdyż zaczyna się po dniu 30.06.2024")});
    EXPECT_EQ(med.rowCount(), 2);
    EXPECT_FALSE(med.isNull(QStringLiteral("DODATY")));  // the list shows the closed row

    // An old day with no closed component in force adds nothing.
    prompts.expectDate(QStringLiteral("Przywróć składniki"), QDate(2023, 12, 1)).withText(QStringLiteral("Stare składniki z dnia"));
    prompts.expectDate(QStringLiteral("Przywróć składniki"), QDate(2024, 9, 1)).withText(QStringLiteral("Nowe składniki od dnia"));
    module().restoreComponents();
    EXPECT_EQ(count(QStringLiteral("select count(*) from DZIEMED")), 3);

    // A component closed before the new day comes back with its methods and aid.
    prompts.expectDate(QStringLiteral("Przywróć składniki"), QDate(2024, 6, 30));
    prompts.expectDate(QStringLiteral("Przywróć składniki"), QDate(2024, 9, 1));
    module().restoreComponents();
    Query q(*db, QStringLiteral("select MEDIUM, SPOSOB, SPOROZ, PROCOPIE from DZIEMED where ODDATY = '2024-09-01' and DODATY is null"));
    q.exec();
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toInt(), czesne);
    EXPECT_EQ(q.value(1).toInt(), 3);
    EXPECT_EQ(q.value(2).toInt(), 2);
    EXPECT_DOUBLE_EQ(q.value(3).toDouble(), 50);
    EXPECT_FALSE(q.next());

    // An aid above the whole fee is refused.
    med.insert();
    med.setValue(QStringLiteral("MEDIUM"), jedz);
    med.setValue(QStringLiteral("PROCOPIE"), 100.5);
    EXPECT_EQ(refusal([&] { med.post(); }), TDMDzieci::aidPercentMessage());
    med.cancel();
}

TEST_P(DzieciDetailsTest, DeclaredTimeAgainstItsLimits)
{
    const int misie = addGroup(QStringLiteral("Misie"), 1);
    const int kod = addChild(QStringLiteral("Ala"), misie);
    Query(*db, QStringLiteral("insert into CZASGRAN (ODDATY, CZASPD, CZASPG, CZASWD, CZASWG) values ('2024-01-01', '06:30', '09:00', '13:00', '17:00')")).exec();
    Query(*db, QStringLiteral("insert into CZASGRAN (ODDATY, CZASPD, CZASPG, CZASWD, CZASWG) values ('2024-09-01', '07:00', '06:00', '13:00', '17:00')")).exec();
    goTo(kod);
    Table& t = *module().stayTimes().table;
    t.open();

    t.insert();
    EXPECT_EQ(t.asInt(QStringLiteral("OSOBA")), kod);
    t.setValue(QStringLiteral("ODDATY"), QDate(2024, 3, 1));
    t.setValue(QStringLiteral("CZASP"), QTime(8, 0));
    t.setValue(QStringLiteral("CZASW"), QTime(16, 0));
    EXPECT_TRUE(prompts.shown().isEmpty());
    t.setValue(QStringLiteral("CZASP"), QTime(6, 15));
    t.setValue(QStringLiteral("CZASW"), QTime(17, 30));
    EXPECT_EQ(prompts.shown(), (QStringList{QStringLiteral("Czas przyjścia - przekroczona granica dolna (06:30)"),
                                            QStringLiteral("Czas wyjścia - przekroczona granica górna (17:00)")}));
    // The limits in force on the row's own day; both named, the lower first.
    t.setValue(QStringLiteral("ODDATY"), QDate(2024, 9, 2));
    t.setValue(QStringLiteral("CZASP"), QTime(6, 30));
    EXPECT_EQ(prompts.shown().last(), QStringLiteral("Czas przyjścia - przekroczona granica dolna (07:00), górna (06:00)"));

    // A departure before the arrival is refused; equal times are not.
    t.setValue(QStringLiteral("CZASW"), QTime(6, 29));
    EXPECT_EQ(refusal([&] { t.post(); }), QStringLiteral("Czas przyjścia nie może być większy niż Czas wyjścia"));
    EXPECT_TRUE(t.isEditing());
    t.setValue(QStringLiteral("CZASW"), QTime(6, 30));
    EXPECT_NO_THROW(t.post());
    EXPECT_EQ(count(QStringLiteral("select count(*) from DZIECZAS where OSOBA = :O"), kod), 1);
}

TEST_P(DzieciDetailsTest, CollectorsOnLastRowAndRowsOfANewChild)
{
    const int misie = addGroup(QStringLiteral("Misie"), 1);
    const int a = addChild(QStringLiteral("Ala"), misie);
    const int b = addChild(QStringLiteral("Bolek"), misie);
    for (const auto& [kod, when, who] : {std::tuple{a, "2024-01-01", "Mama"}, std::tuple{a, "2024-05-01", "Tata"},
                                        std::tuple{b, "2023-01-01", "Babcia"}, std::tuple{b, "2024-02-01", "Dziadek"},
                                        std::tuple{b, "2024-03-01", "Ciocia"}})
        Query(*db, QStringLiteral("insert into ODBIERA (OSOBA, ODDATY, ODBIERA) values (:O, :D, :W)"))
            .bind(QStringLiteral("O"), kod).bind(QStringLiteral("D"), day(when))
            .bind(QStringLiteral("W"), QString::fromUtf8(who)).exec();
    goTo(a);
    Command* c = module().children().command(QStringLiteral("Odbiera1"));
    ASSERT_TRUE(c && c->shown());
    c->handler();
    ASSERT_EQ(opener.open().size(), 1);
    Table& o = *module().collectors().table;
    o.open();
    EXPECT_EQ(o.text(QStringLiteral("ODBIERA")), QStringLiteral("Tata"));
    o.first();
    goTo(b);
    EXPECT_EQ(o.text(QStringLiteral("ODBIERA")), QStringLiteral("Ciocia"));
    o.first();
    EXPECT_EQ(o.text(QStringLiteral("ODBIERA")), QStringLiteral("Babcia"));  // the user's own moves stay

    // A detail row begun for a child being inserted saves the child first.
    Table& t = kids();
    t.insert();
    t.setValue(QStringLiteral("NAZWA"), QStringLiteral("Cezary"));
    t.setValue(QStringLiteral("ULICA"), QStringLiteral("Leśna"));
    o.insert();
    EXPECT_EQ(t.state(), Table::State::Browse);
    const int kod = t.asInt(QStringLiteral("KOD"));
    EXPECT_GT(kod, b);
    EXPECT_EQ(o.asInt(QStringLiteral("OSOBA")), kod);
    o.setValue(QStringLiteral("ODBIERA"), QStringLiteral("Sąsiadka"));
    o.post();
    EXPECT_EQ(count(QStringLiteral("select count(*) from ODBIERA where OSOBA = :O"), kod), 1);
    EXPECT_EQ(o.rowCount(), 1);  // linked to the new child again
}

TEST_P(DzieciDetailsTest, SystemDateFilterOnDatedLists)
{
    const int misie = addGroup(QStringLiteral("Misie"), 1);
    const int kod = addChild(QStringLiteral("Ala"), misie);
    Query(*db, QStringLiteral("insert into ZAJDOD (NAZWA, KOLEJ, KLASA) values ('Angielski', 1, :K)")).bind(QStringLiteral("K"), misie).exec();
    const int eng = count(QStringLiteral("select KOD from ZAJDOD"));
    for (const char* from : {"2020-01-01", "2024-02-01"})
        for (const char* table : {"DZIEMED", "DZIEZAJ"})
            Query(*db, QStringLiteral("insert into %1 (OSOBA, %2, ODDATY, DODATY) values (:O, :Z, :F, :T)")
                           .arg(QLatin1String(table), QLatin1String(table[4] == 'M' ? "MEDIUM" : "ZAJECIE")))
                .bind(QStringLiteral("O"), kod).bind(QStringLiteral("Z"), eng)
                .bind(QStringLiteral("F"), day(from))
                .bind(QStringLiteral("T"), from[3] == '0' ? QVariant(QDate(2021, 12, 31)) : QVariant())
                .exec();
    context().baza.setSystemDate(QDate(2024, 3, 5));
    context().baza.setSystemDateFilter(true);
    goTo(kod);
    Table& zaj = *module().extraClasses().table;
    Table& med = *module().components().table;
    zaj.open();
    med.open();
    EXPECT_EQ(zaj.rowCount(), 1);
    EXPECT_EQ(med.rowCount(), 1);
    EXPECT_EQ(zaj.text(QStringLiteral("ZAJECIENAZWA")), QStringLiteral("Angielski"));
    context().baza.setSystemDateFilter(false);
    zaj.refresh();
    EXPECT_EQ(zaj.rowCount(), 2);
}

INSTANTIATE_ENGINES(DzieciDetailsTest);

}  // namespace
