#pragma once
// The backup copy of a store: a folder "Baza" that opens as an SQLite
// store whichever engine the copied store runs on. A live SQLite file is
// never copied byte by byte (its WAL may hold the newest rows): the online
// backup of SQLite takes a consistent copy while others keep working.

#include <QString>

#include <functional>

class Database;

namespace backup {

// Folder + "/Kopia" + the first number from 0 to 999 without such a folder;
// the last candidate when all exist (creating it then fails as it should).
QString defaultTarget(const QString& currentFolder);

// Called before each entry is copied: the number of entries and its name.
using Progress = std::function<void(int total, const QString& entry)>;

// Writes the store into `bazaFolder` (which must exist and hold no store):
// lunawa.db with every table and the rights, and for an SQLite store every
// other file of its data folder except lock and control files. Throws Error
// when the store cannot be copied.
void copyStore(Database& db, const QString& bazaFolder, const Progress& progress = {});

}  // namespace backup
