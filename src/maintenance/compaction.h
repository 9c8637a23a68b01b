#pragma once
// "Kompresja zbiorów": rebuilds the store's tables without the space their
// deleted rows held. SQLite rebuilds its one file (VACUUM); PostgreSQL
// rebuilds table by table (VACUUM FULL), and a table it cannot rebuild is
// reported and the next one follows.

#include <QString>
#include <QStringList>

class Database;
class MessageLog;
class Prompts;

namespace compaction {

inline QString title() { return QStringLiteral("Kompresja zbiorów"); }
inline QString finished() { return QStringLiteral("Koniec operacji"); }
// The last progress text of a run in which some tables failed.
inline QString failedWith(const QStringList& tables)
{
    return QStringLiteral("Nie skompresowano: ") + tables.join(QStringLiteral(", "));
}

struct Result {
    QStringList done;    // tables (or the SQLite file) rebuilt
    QStringList failed;  // "TABLE: the store's message"
};

// Shows the progress in `log` (titled "Kompresja zbiorów", a step per table
// or for the SQLite file), each failure through prompts.showError with the
// store's text and in the log's errors, and "Koniec operacji" as the log's
// last progress text only when every table was rebuilt (failedWith() names
// the failed ones otherwise).
Result run(Database& db, Prompts& prompts, MessageLog& log);

}  // namespace compaction
