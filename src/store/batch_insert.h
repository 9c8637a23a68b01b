#pragma once
// Rows of one table written by a batch. SQLite is sent each row through one
// statement prepared once; PostgreSQL is sent the rows as text through COPY,
// a chunk of thousands at a time, so a batch costs a handful of round trips.
// The rows reach the table in the order they were added, stored as an
// INSERT of the same values would store them, under the same rights.
//
//   BatchInsert lines(db, "NALICZ", {"KOD", "TYP", ...});
//   lines.set(0, month); lines.set(1, type); ... lines.add();
//   ...
//   lines.flush();  // before the batch ends: rows still queued are sent
//
// Rows queued and not flushed are dropped with the object; the batch they
// belonged to is failing anyway.

#include "store/prepared_statement.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

class Database;
class PgCopy;

class BatchInsert {
public:
    // `rowsPerChunk` is how many rows PostgreSQL is sent at once.
    BatchInsert(Database& db, const QString& table, const QStringList& columns, int rowsPerChunk = 4000);
    ~BatchInsert();

    // A value of the row being made, by column position; an empty text is NULL.
    void set(int column, qint64 value);
    void set(int column, int value) { set(column, qint64(value)); }
    void set(int column, double value);
    void set(int column, const QString& value);
    void set(int column, const QVariant& value);
    void setNull(int column);

    // The row made is written (or queued); its values are cleared.
    void add();
    // Sends the queued rows.
    void flush();

    int rowsAdded() const { return m_added; }

private:
    QString statementText() const;
    QByteArray& cell(int column);
    void sendQueued();

    Database& m_db;
    QString m_table;
    QStringList m_columns;
    int m_rowsPerChunk;
    bool m_direct;  // SQLite: each row is run at once
    std::unique_ptr<PreparedStatement> m_single;  // SQLite's statement
    // PostgreSQL: the row being made, a field of COPY text per column, and
    // the rows made and not sent yet.
    std::unique_ptr<PgCopy> m_copy;
    QList<QByteArray> m_cells;
    QList<bool> m_integerColumn;  // a number given there is written whole
    QByteArray m_queued;
    int m_queuedRows = 0;
    bool m_rightsChecked = false;
    int m_added = 0;
};
