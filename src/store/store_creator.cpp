#include "store_creator.h"

#include "database.h"
#include "ddl.h"
#include "error.h"
#include "password_digest.h"
#include "query.h"
#include "rights.h"
#include "schema.h"
#include "schema_version.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace store {

namespace {

struct Code {
    const char* kind;
    const char* code;
    const char* name;
    const char* plural;
};

// Display names of the codes held in one-letter and short code fields.
const Code deliveredCodes[] = {
    {"szablo", "1", "List", "Listy"},
    {"szablo", "2", "Zestawienie", "Zestawienia"},
    {"szablo", "3", "Potwierdzenie", "Potwierdzenia"},
    {"szablo", "4", "Faktura", "Faktury"},
    {"przedr", "ul.", "ul.", nullptr},
    {"przedr", "al.", "al.", nullptr},
    {"przedr", "pl.", "pl.", nullptr},
    {"przedr", "os.", "os.", nullptr},
    {"taknie", "T", "Tak", nullptr},
    {"taknie", "N", "Nie", nullptr},
    {"inform", "I", "Informacja", nullptr},
    {"inform", "G", "Główna", nullptr},
    {"zgljak", "B", "Przelew bankowy", nullptr},
    {"zgljak", "G", "Gotówka", nullptr},
    {"zgljak", "I", "Internet", nullptr},
    {"okres", "D", "Dzień", nullptr},
    {"okres", "E", "Tydzień", nullptr},
    {"okres", "M", "Miesiąc", nullptr},
    {"okres", "R", "Rok", nullptr},
    {"dnityg", "1", "Poniedziałek", nullptr},
    {"dnityg", "2", "Wtorek", nullptr},
    {"dnityg", "3", "Środa", nullptr},
    {"dnityg", "4", "Czwartek", nullptr},
    {"dnityg", "5", "Piątek", nullptr},
    {"dnityg", "6", "Sobota", nullptr},
    {"dnityg", "7", "Niedziela", nullptr},
};

void exec(Database& db, const QString& sql)
{
    Query(db, sql).exec();
}

void seed(Database& db, const InstitutionData& inst)
{
    exec(db, QStringLiteral("INSERT INTO OPCJE (PARAMS) VALUES (NULL)"));
    Query(db, QStringLiteral("INSERT INTO FIRMA (NAZWA, ADRES, KODKLI, NIP) VALUES (:N, :A, :K, :P)"))
        .bind(QStringLiteral("N"), inst.name)
        .bind(QStringLiteral("A"), inst.address)
        .bind(QStringLiteral("K"), inst.clientNumber)
        .bind(QStringLiteral("P"), inst.nip)
        .exec();
    for (const Code& c : deliveredCodes)
        Query(db, QStringLiteral("INSERT INTO KODY (RODZAJ, TYP, NAZWA, NAZWAM) VALUES (:R, :T, :N, :M)"))
            .bind(QStringLiteral("R"), QString::fromUtf8(c.kind))
            .bind(QStringLiteral("T"), QString::fromUtf8(c.code))
            .bind(QStringLiteral("N"), QString::fromUtf8(c.name))
            .bind(QStringLiteral("M"), c.plural ? QString::fromUtf8(c.plural) : QString())
            .exec();
    // Group 0 holds the inactive children, status 0 is the default; both are protected rows.
    exec(db, QStringLiteral("INSERT INTO KLASY (KOD, NAZWA, KOLEJ) VALUES (0, 'Nieaktywni', 0)"));
    exec(db, QStringLiteral("INSERT INTO STATUSY (KOD, NAZWA, KOLEJ) VALUES (0, 'Brak statusu', 0)"));

    QStringList functions;
    QStringList seen;
    for (const char* f : {"Prawa dostepu", "Synchronizacja grupy", "Uzytkownicy", "Grupy uzytkownikow", "Dzieci",
                          "Wychowawcy", "Obecnosci", "Rozrachunki", "Naliczenia dodatkowe", "Informacje",
                          "Zgloszenia", "Terminy", "Przypomnienia", "Posilki", "Korespondencja", "Skladniki",
                          "Czas bezplatny", "Zajecia dodatkowe", "Internet", "Grupy dzieci", "Grupy oplat",
                          "Sposoby liczenia", "Jednostki miary", "Szablony", "Konfiguracja", "Czas pobytu",
                          "Odbiera", "Operacje", "Ceny", "Oplaty wyliczone", "Oplaty zatwierdzone", "Wplaty",
                          "Potwierdzenia wplat", "Zestawienia", "Dni wolne"})
        functions << QString::fromUtf8(f);
    Query(db, QStringLiteral("INSERT INTO UZYT (NAZWA, OPIS, AKTYWNY, HASLO, FUNKCJE, KLASY) "
                             "VALUES (:N, :O, 'T', :H, :F, '-1')"))
        .bind(QStringLiteral("N"), adminLogin())
        .bind(QStringLiteral("O"), QStringLiteral("Administrator"))
        .bind(QStringLiteral("H"), digest::userPassword(adminPassword()))
        .bind(QStringLiteral("F"), functions.join(QStringLiteral("\r\n")))
        .exec();
    const int adminCode = Query(db, QStringLiteral("SELECT KOD FROM UZYT WHERE NAZWA = :N"))
                              .bind(QStringLiteral("N"), adminLogin())
                              .scalar()
                              .toInt();
    for (const TableDef& t : schema::tables()) {
        RightsDescriptor d;
        d.credential = rights::userCredential(adminCode);
        d.tableRights = rights::All;
        for (int i = 0; i < t.fields.size(); ++i)
            d.fieldRights << rights::All;
        rights::writeDescriptors(db, t.name, rights::masterCredential(), {d});
    }
}

}  // namespace

void create(const StoreLocation& location, const InstitutionData& institution)
{
    const bool sqlite = location.engine == Engine::SQLite;
    if (sqlite && QFileInfo::exists(location.sqliteFile()))
        throw Error(QStringLiteral("W folderze %1 już istnieje baza danych")
                        .arg(QDir::toNativeSeparators(location.folder)));
    Database db(location);
    db.connectForCreation();
    Database::SystemAccess sys(db);
    if (!sqlite && (db.hasTable(QStringLiteral("OPCJE")) || db.hasTable(rights::systemTable())))
        throw Error(QStringLiteral("Baza %1 już zawiera dane programu").arg(location.describe()));
    try {
        db.batch([&] {
            for (const QString& sql : ddl::createRightsTable(location.engine))
                exec(db, sql);
            for (const TableDef& t : schema::tables())
                for (const QString& sql : ddl::createTable(t, location.engine) + ddl::createConstraints(t.name))
                    exec(db, sql);
            db.forgetStructure();
            seed(db, institution);
            schemaversion::write(db, schemaversion::kCurrent);
        });
    } catch (...) {
        db.close();
        if (sqlite) {
            for (const char* suffix : {"", "-wal", "-shm"})
                QFile::remove(location.sqliteFile() + QString::fromLatin1(suffix));
        }
        throw;
    }
    db.close();
}

}  // namespace store
