// Group export and import between a main installation and a group
// installation, on both engines: what a transfer folder holds, merging
// back without duplicates, one-group replacement and its refusals, and the
// folders a transfer must not touch.

#include "maintenance/group_export.h"
#include "maintenance/group_import.h"
#include "maintenance/group_transfer.h"

#include "browser/message_log.h"
#include "store/ddl.h"
#include "store/error.h"
#include "store/query.h"
#include "store/rights.h"
#include "store/schema.h"
#include "support/scripted_prompts.h"
#include "support/store_fixture.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void sql(Database& db, const QString& text)
{
    Query(db, text).exec();
}

QStringList column(Database& db, const QString& select)
{
    QStringList out;
    Query q(db, select);
    q.exec();
    while (q.next())
        out << q.value(0).toString();
    return out;
}

int count(Database& db, const QString& table)
{
    return Query(db, QStringLiteral("SELECT COUNT(*) FROM %1").arg(table)).scalar().toInt();
}

int addGroup(Database& db, const QString& name, int kolej)
{
    Query(db, QStringLiteral("INSERT INTO KLASY (NAZWA, KOLEJ) VALUES (:N, :K)"))
        .bind(QStringLiteral("N"), name)
        .bind(QStringLiteral("K"), kolej)
        .exec();
    return Query(db, QStringLiteral("SELECT KOD FROM KLASY WHERE NAZWA = :N")).bind(QStringLiteral("N"), name).scalar().toInt();
}

int addChild(Database& db, const QString& name, int group)
{
    Query(db, QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, KLASA, AKTYWNY) VALUES (:N, 'Polna 1', :K, 'T')"))
        .bind(QStringLiteral("N"), name)
        .bind(QStringLiteral("K"), group)
        .exec();
    return Query(db, QStringLiteral("SELECT MAX(KOD) FROM DZIECI")).scalar().toInt();
}

int addClass(Database& db, const QString& name, const QVariant& group)
{
    Query(db, QStringLiteral("INSERT INTO ZAJDOD (NAZWA, KLASA) VALUES (:N, :K)"))
        .bind(QStringLiteral("N"), name)
        .bind(QStringLiteral("K"), group)
        .exec();
    return Query(db, QStringLiteral("SELECT MAX(KOD) FROM ZAJDOD")).scalar().toInt();
}

void addAttendance(Database& db, int child, const QString& date, const QString& mark, const QVariant& from = {},
                   const QVariant& to = {})
{
    Query(db, QStringLiteral("INSERT INTO OBECN (OSOBA, DATA, OBECNY, CZASP, CZASW) VALUES (:O, :D, :M, :P, :W)"))
        .bind(QStringLiteral("O"), child)
        .bind(QStringLiteral("D"), QDate::fromString(date, Qt::ISODate))
        .bind(QStringLiteral("M"), mark)
        .bind(QStringLiteral("P"), from)
        .bind(QStringLiteral("W"), to)
        .exec();
}

// The installation of one group: its children numbered by the program.
void makeOneGroup(Database& db)
{
    sql(db, QStringLiteral("DROP TABLE DZIECI"));
    for (const QString& statement : ddl::createTable(schema::oneGroupChildren(), db.engine()))
        sql(db, statement);
    db.forgetStructure();
}

std::unique_ptr<Database> openFolder(const QString& folder)
{
    StoreLocation where;
    where.engine = Engine::SQLite;
    where.folder = folder;
    auto db = std::make_unique<Database>(where);
    db->open();
    db->setCredentials({rights::masterCredential()});
    return db;
}

QString conflict(const QString& label, const QString& table, const QString& field, const QString& incoming,
                 const QString& local)
{
    return label + QStringLiteral(" - różnica dla zbioru \"%1\" w polu %2\nWczytywana wartość: %3\nObecna wartość: %4\n"
                                  "Przyjąć wpis?")
                       .arg(table, field, incoming, local);
}

class GroupTransferTest : public EngineTest {
protected:
    // A main installation with two groups and some of each kind of row.
    void seedMain(Database& d)
    {
        misie = addGroup(d, QStringLiteral("Misie"), 1);
        zabki = addGroup(d, QStringLiteral("Żabki"), 2);
        ala = addChild(d, QStringLiteral("Ala"), misie);
        bartek = addChild(d, QStringLiteral("Bartek"), misie);
        celina = addChild(d, QStringLiteral("Celina"), zabki);
        addAttendance(d, ala, QStringLiteral("2024-03-04"), QStringLiteral("T"), {}, QStringLiteral("15:00"));
        addAttendance(d, celina, QStringLiteral("2024-03-04"), QStringLiteral("T"));
        english = addClass(d, QStringLiteral("Angielski"), misie);
        addClass(d, QStringLiteral("Basen"), QVariant());
        addClass(d, QStringLiteral("Szachy"), zabki);
        sql(d, QStringLiteral("INSERT INTO INFORM (KLASA, DATA, OPIS) VALUES (%1, '2024-03-01', 'Zebranie')").arg(misie));
        sql(d, QStringLiteral("INSERT INTO INFORM (KLASA, DATA, OPIS) VALUES (%1, '2024-03-01', 'Wycieczka')").arg(zabki));
        sql(d, QStringLiteral("INSERT INTO NALKLA (KLASA, KOD, DATA, SKROT, KWOTA) VALUES (%1, 1, '2024-03-01', 'Teatr', 20)")
                   .arg(zabki));
    }

    QString folder(const QString& name) { return QDir(m_folders.path()).filePath(name); }

    int misie = 0, zabki = 0, ala = 0, bartek = 0, celina = 0, english = 0;
    QTemporaryDir m_folders;
};

TEST_P(GroupTransferTest, ExportHoldsTheGroupsRowsAsAGroupInstallation)
{
    seedMain(*db);
    MessageLog log;
    groupexport::Options options;
    options.group = misie;
    groupexport::run(*db, folder("Grupa_Misie"), options, &log);
    auto group = openFolder(folder("Grupa_Misie"));
    EXPECT_TRUE(grouptransfer::oneGroupStore(*group));
    EXPECT_EQ(column(*group, "SELECT NAZWA FROM DZIECI ORDER BY KOD"), (QStringList{"Ala", "Bartek"}));
    EXPECT_EQ(column(*group, "SELECT NAZWA FROM KLASY"), QStringList{"Misie"});
    EXPECT_EQ(column(*group, "SELECT OSOBA FROM OBECN"), QStringList{QString::number(ala)});
    EXPECT_EQ(column(*group, "SELECT NAZWA FROM ZAJDOD ORDER BY KOD"), (QStringList{"Angielski", "Basen"}));
    EXPECT_EQ(column(*group, "SELECT OPIS FROM INFORM"), QStringList{"Zebranie"});
    EXPECT_EQ(count(*group, "NALKLA"), 0);
    EXPECT_EQ(column(*group, "SELECT CZASW FROM OBECN"), QStringList{"15:00"});
    EXPECT_EQ(log.description(), QStringLiteral("Eksport tabeli NALDOD"));
    EXPECT_EQ(log.counter(), QString());  // each table counts its own rows; NALDOD has none

    // Skipping the group data leaves those tables empty but present.
    options.skipGroupData = true;
    groupexport::run(*db, folder("Bez"), options);
    auto without = openFolder(folder("Bez"));
    EXPECT_EQ(count(*without, "OBECN"), 0);
    EXPECT_EQ(count(*without, "DZIECI"), 2);

    // A transfer never goes into, around or over a store.
    const QString baza = folder("KopiaBaza");
    QDir().mkpath(baza);
    try {
        groupexport::run(*db, baza, {});
        ADD_FAILURE() << "exported into a store folder";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Katalog \"%1\" jest katalogiem bazy, określ inny").arg(QDir::toNativeSeparators(baza)));
    }
    if (GetParam() == Engine::SQLite) {
        const QString live = db->dataDirectory();
        for (const QString& bad : {live, live + "/Grupa", QFileInfo(live).absolutePath()})
            EXPECT_THROW(groupexport::run(*db, bad, {}), Error) << bad.toStdString();
        EXPECT_TRUE(QFileInfo::exists(live + "/lunawa.db"));
        EXPECT_FALSE(QFileInfo::exists(live + "/Grupa"));
        ScriptedPrompts prompts;
        EXPECT_THROW(groupimport::run(*db, live, prompts, {}), Error);
    }
    ScriptedPrompts prompts;
    try {
        groupimport::run(*db, folder("Brak"), prompts, {});
        ADD_FAILURE() << "imported a missing folder";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("Katalog \"%1\" nie istnieje, określ inny").arg(QDir::toNativeSeparators(folder("Brak"))));
    }
}

// Main → group installation → back: the group's new rows come in once,
// per-group numbers are kept, unknown children are reported, and an
// incoming empty value never clears a local one.
TEST_P(GroupTransferTest, GroupWorkMergesBackIntoTheMainInstallation)
{
    seedMain(*db);
    groupexport::Options options;
    options.group = misie;
    groupexport::run(*db, folder("Grupa"), options);
    {
        auto group = openFolder(folder("Grupa"));
        sql(*group, QStringLiteral("UPDATE OBECN SET OBECNY = 'N', CZASP = '08:00', CZASW = NULL"));
        addAttendance(*group, bartek, QStringLiteral("2024-03-05"), QStringLiteral("N"));
        sql(*group, QStringLiteral("INSERT INTO DZIECI (KOD, NAZWA, ULICA, KLASA) VALUES (99, 'Nowy', 'Polna 2', %1)").arg(misie));
        addAttendance(*group, 99, QStringLiteral("2024-03-05"), QStringLiteral("T"));
        sql(*group, QStringLiteral("INSERT INTO INFORM (KLASA, KOD, DATA, OPIS) VALUES (%1, 7, '2024-03-06', 'Bal')").arg(misie));
        sql(*group, QStringLiteral("INSERT INTO NALKLA (KLASA, KOD, DATA, SKROT, KWOTA) VALUES (%1, 1, '2024-03-06', 'Kino', 15)")
                        .arg(misie));
        sql(*group, QStringLiteral("INSERT INTO ZAJODB (ZAJECIE, DATA, KLASA, ID) VALUES (%1, '2024-03-05', %2, 1)")
                        .arg(english)
                        .arg(misie));
        sql(*group, QStringLiteral("INSERT INTO ZAJOBEC (KLASA, ID, OSOBA, OBECNY) VALUES (%1, 1, %2, 'T')").arg(misie).arg(ala));
        ASSERT_TRUE(grouptransfer::oneGroupStore(*group));
        groupexport::run(*group, folder("Powrot"), {});
    }

    ScriptedPrompts prompts;
    prompts.expectYesNo(conflict("Ala, 04.03.2024", "OBECN", "OBECNY", "N", "T"), true);
    MessageLog log;
    const groupimport::Summary first = groupimport::run(*db, folder("Powrot"), prompts, {}, &log);
    EXPECT_TRUE(prompts.done());
    EXPECT_EQ(first.skipped, 2);  // Nowy and his attendance
    ASSERT_EQ(log.remarks().size(), 2);
    EXPECT_TRUE(log.remarks().first().contains("Nowy"));
    EXPECT_EQ(column(*db, "SELECT NAZWA FROM DZIECI ORDER BY KOD"), (QStringList{"Ala", "Bartek", "Celina"}));
    Query ala04(*db, QStringLiteral("SELECT OBECNY, CZASP, CZASW FROM OBECN WHERE OSOBA = %1").arg(ala));
    ala04.exec();
    ASSERT_TRUE(ala04.next());
    EXPECT_EQ(ala04.value(0).toString() + ala04.value(1).toString().left(5) + ala04.value(2).toString().left(5),
              "N08:0015:00");
    EXPECT_EQ(count(*db, "OBECN"), 3);
    EXPECT_EQ(column(*db, "SELECT KLASA || '/' || KOD || ' ' || SKROT FROM NALKLA ORDER BY KLASA"),
              (QStringList{QString::number(misie) + "/1 Kino", QString::number(zabki) + "/1 Teatr"}));
    EXPECT_EQ(Query(*db, "SELECT KOD FROM INFORM WHERE OPIS = 'Bal'").scalar().toInt(), 7);
    EXPECT_EQ(count(*db, "ZAJODB"), 1);
    EXPECT_EQ(count(*db, "ZAJOBEC"), 1);
    // The local numbering goes on after the incoming number.
    sql(*db, "INSERT INTO INFORM (KLASA, DATA, OPIS) VALUES (0, '2024-03-07', 'Nowa')");
    EXPECT_GT(Query(*db, "SELECT KOD FROM INFORM WHERE OPIS = 'Nowa'").scalar().toInt(), 7);

    // The same folder again adds nothing and asks nothing.
    ScriptedPrompts again;
    groupimport::Options onlyGroupData;
    onlyGroupData.groupDataOnly = true;
    const groupimport::Summary second = groupimport::run(*db, folder("Powrot"), again, onlyGroupData);
    EXPECT_TRUE(again.done());
    EXPECT_EQ(second.added, 0);
    EXPECT_EQ(second.updated, 0);
    EXPECT_EQ(count(*db, "OBECN"), 3);
    EXPECT_EQ(count(*db, "INFORM"), 4);
}

// A group installation takes the main installation's dictionaries in
// place of its own, all or nothing, and only for its own group.
TEST_P(GroupTransferTest, GroupInstallationReplacesItsTablesAndRefusesOtherGroups)
{
    TestStore mainStore(Engine::SQLite);
    auto main = mainStore.connect();
    seedMain(*main);
    groupexport::run(*main, folder("Wszystkie"), {});
    groupexport::Options one;
    one.group = zabki;
    groupexport::run(*main, folder("Zabki"), one);
    one.group = misie;
    groupexport::run(*main, folder("Misie"), one);
    sql(*main, "UPDATE FIRMA SET NAZWA = 'Przedszkole Główne'");
    groupexport::run(*main, folder("Zepsuta"), one);
    {
        // A broken folder: its second class repeats the first one's number.
        auto broken = openFolder(folder("Zepsuta"));
        sql(*broken, "DROP INDEX ZAJDOD__BY_KOD");
        sql(*broken, QStringLiteral("INSERT INTO ZAJDOD (KOD, NAZWA, KLASA) VALUES (%1, 'Duplikat', %2)").arg(english).arg(misie));
    }

    makeOneGroup(*db);
    ASSERT_TRUE(grouptransfer::oneGroupStore(*db));
    sql(*db, QStringLiteral("INSERT INTO KLASY (KOD, NAZWA, KOLEJ) VALUES (%1, 'Misie', 1)").arg(misie));
    sql(*db, "UPDATE FIRMA SET NAZWA = 'Grupa lokalna'");
    sql(*db, QStringLiteral("INSERT INTO DZIECI (KOD, NAZWA, ULICA, KLASA) VALUES (50, 'Zenon', 'Leśna 3', %1)").arg(misie));
    addClass(*db, QStringLiteral("Rytmika"), misie);
    const QStringList kody = column(*db, "SELECT RODZAJ || TYP FROM KODY ORDER BY RODZAJ, TYP");
    sql(*db, "INSERT INTO KODY (RODZAJ, TYP, NAZWA) VALUES ('lokal', '1', 'Tylko tu')");

    auto refusal = [&](const QString& from) {
        ScriptedPrompts prompts;
        try {
            groupimport::run(*db, folder(from), prompts, {});
        } catch (const Error& e) {
            EXPECT_TRUE(prompts.done());
            return e.message();
        }
        return QStringLiteral("(wczytano)");
    };
    EXPECT_EQ(refusal("Wszystkie"), QStringLiteral("Nie można wczytywać więcej niż jednej grupy"));
    EXPECT_EQ(refusal("Zabki"), QStringLiteral("Nie można wczytywać innej grupy niż Misie"));
    EXPECT_TRUE(refusal("Zepsuta").startsWith(QStringLiteral("Nie wczytano tabeli ZAJDOD\n")));
    // Nothing of the failed replacement stays.
    EXPECT_EQ(column(*db, "SELECT NAZWA FROM FIRMA"), QStringList{"Grupa lokalna"});
    EXPECT_EQ(column(*db, "SELECT NAZWA FROM ZAJDOD"), QStringList{"Rytmika"});
    EXPECT_EQ(count(*db, "KODY"), kody.size() + 1);
    EXPECT_EQ(column(*db, "SELECT NAZWA FROM DZIECI"), QStringList{"Zenon"});

    ScriptedPrompts prompts;
    prompts.expectYesNo(QStringLiteral("Zenon - wczytywany zbiór \"DZIECI\" nie posiada tej pozycji\nSkasować?"), true);
    groupimport::run(*db, folder("Misie"), prompts, {});
    EXPECT_TRUE(prompts.done());
    EXPECT_EQ(column(*db, "SELECT NAZWA FROM FIRMA"), QStringList{"Przedszkole Testowe"});
    EXPECT_EQ(column(*db, "SELECT NAZWA FROM ZAJDOD ORDER BY KOD"), (QStringList{"Angielski", "Basen"}));
    EXPECT_EQ(column(*db, "SELECT RODZAJ || TYP FROM KODY ORDER BY RODZAJ, TYP"), kody);
    EXPECT_EQ(column(*db, "SELECT KOD FROM DZIECI ORDER BY KOD"), (QStringList{QString::number(ala), QString::number(bartek)}));
    EXPECT_EQ(column(*db, "SELECT OSOBA FROM OBECN"), QStringList{QString::number(ala)});
}

INSTANTIATE_ENGINES(GroupTransferTest);

}  // namespace
