#pragma once
// Reads of several tables that must agree with each other (a copy of the
// store, a group export) see one state of the store while others keep
// writing: a deferred read transaction on SQLite (WAL keeps its snapshot),
// a repeatable-read one on PostgreSQL. Inside a running unit of work it
// does nothing, since that unit already sees one state.

class Database;

class ReadSnapshot {
public:
    explicit ReadSnapshot(Database& db);
    ~ReadSnapshot();
    ReadSnapshot(const ReadSnapshot&) = delete;
    ReadSnapshot& operator=(const ReadSnapshot&) = delete;

private:
    Database& m_db;
    bool m_active = false;
};
