#pragma once
// Group export: one group's data written into a transfer folder as a store
// of its own (lunawa.db), every auto-numbered field a plain integer, so the
// folder can run a group installation in one-group mode or be imported by
// another installation. The rows are read from one snapshot of the live
// store, and the folder's store is replaced only when every table was
// written: a failure names the table and leaves the folder as it was.

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class Database;
class MessageLog;

namespace groupexport {

// The tables written, in this order.
const QStringList& tables();

struct Options {
    std::optional<int> group;  // KLASY.KOD; nothing exports every row
    bool skipGroupData = false;  // OBECN, OBECM, ZAJODB, ZAJOBEC, NALKLA, NALDOD left empty
    QDate attendanceFrom;        // attendance before it is left out; invalid: the whole history
};

struct Copied {
    QString table;
    int rows = 0;
};

// Refuses a folder named …BAZA that exists and one that is, holds or lies
// inside the live store; creates a missing folder. Throws Error.
void checkTarget(Database& db, const QString& folder);

// Progress "Eksport tabeli " + table, a step per row, in `log` when given.
QList<Copied> run(Database& db, const QString& folder, const Options& options, MessageLog* log = nullptr);

}  // namespace groupexport
