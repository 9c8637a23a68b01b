#pragma once
// Bringing the data of an older installation, a folder of Paradox tables
// with the program's schema, into one of our stores. Every table found is
// written in one transaction; a row that cannot be taken is refused with
// its reason and the rest go on. The source folder is only read.

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>

#include <functional>

class Database;

namespace migration {

struct TableReport {
    QString table;
    int read = 0;
    int written = 0;
    QStringList refused;  // "rekord 12: <reason>"
    QStringList notes;    // fields left out, counters set
};

struct Report {
    QList<TableReport> tables;
    QStringList notes;  // files left out, the administrator's account
};

// The Paradox files of the folder that hold tables of the schema, by table
// name in the schema's order; other .DB files are listed in `others`.
QMap<QString, QString> findTables(const QString& folder, QStringList* others = nullptr);

// True when the store holds nothing but what a new store is delivered with:
// no children, groups beyond the inactive one, users beyond the
// administrator, charges or payments.
bool storeIsEmpty(Database& db);

// Writes the folder's tables into `db`, replacing the delivered rows of
// every table found. The user named "admin" (the delivered one when the
// folder has none) keeps every right; the other users start without rights.
// Throws Error, leaving the store as it was, when the store is not empty,
// the folder holds no table of the schema or a table cannot be written.
Report migrateParadoxFolder(Database& db, const QString& folder,
                            const std::function<void(const QString& table)>& progress = {});

// The report as printed: per table "TABELA: odczytano N, zapisano M", its
// notes and refused rows indented below.
QStringList reportLines(const Report& report);

}  // namespace migration
