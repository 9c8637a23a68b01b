#pragma once
// Group import: the tables of a transfer folder read into the local store.
// In one-group mode the group's dictionaries and classes are replaced (all
// in one unit of work: a failure leaves the old rows) and its children,
// collecting persons and informations merged; then attendance, extra-class
// attendance and extra charges are merged. Merging matches rows by their
// keys, adds what is missing, and reconciles differing fields, asking
// where neither side obviously wins. Each merged table is written in one
// unit of work after its questions were answered.

#include <QString>
#include <QStringList>

class Database;
class MessageLog;
class Prompts;

namespace groupimport {

inline QString onlyGroupDataQuestion()
{
    return QStringLiteral("Tylko obecności, obecności na zajęcach dodatkowych i płatności dodatkowe?\n"
                          "(które domyślnie przychodzą tylko z grup)");
}
inline QString moreThanOneGroup() { return QStringLiteral("Nie można wczytywać więcej niż jednej grupy"); }
inline QString otherGroupPrefix() { return QStringLiteral("Nie można wczytywać innej grupy niż "); }

// The tables replaced in one-group mode, and the merged ones, in order.
const QStringList& replacedTables();
const QStringList& masterDataTables();
const QStringList& groupDataTables();

struct Options {
    // Outside one-group mode: only OBECN, OBECM, ZAJODB, ZAJOBEC, NALKLA, NALDOD.
    bool groupDataOnly = false;
};

struct Summary {
    int added = 0;
    int updated = 0;  // fields taken from the source
    int deleted = 0;
    int skipped = 0;  // rows of children missing locally
    QStringList tables;
};

// Refuses a folder that does not exist and the live store's own folder;
// throws Error with the message.
void checkSource(Database& db, const QString& folder);

// Reads the folder's store; questions through `prompts`, progress
// ("Import tabeli " + table, a step per row) and remarks about skipped rows
// in `log` when given. Throws Error for the refusals and for a failed table
// (named in the message; tables done before it stay).
Summary run(Database& db, const QString& folder, Prompts& prompts, const Options& options, MessageLog* log = nullptr);

}  // namespace groupimport
