#pragma once
// Rows of one table written by a batch. SQLite is sent each row through one
// statement prepared once; PostgreSQL is sent the rows many to an INSERT, so
// a batch of thousands costs a handful of round trips. The rows reach the
// table in the order they were added.
//
//   BatchInsert lines(db, "NALICZ", {"KOD", "TYP", ...});
//   lines.set(0, month); lines.set(1, type); ... lines.add();
//   ...
//   lines.flush();  // before the batch ends: rows still queued are sent
//
// Rows queued and not flushed are dropped with the object; the batch they
// belonged to is failing anyway.

#include "store/prepared_statement.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

class Database;

class BatchInsert {
public:
    // `rowsPerStatement` is what PostgreSQL is sent at once.
    BatchInsert(Database& db, const QString& table, const QStringList& columns, int rowsPerStatement = 500);
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
    QString statementText(int rows) const;
    void sendQueued(int rows);

    Database& m_db;
    QString m_table;
    QStringList m_columns;
    int m_rowsPerStatement;
    bool m_direct;  // SQLite: each row is run at once
    std::unique_ptr<PreparedStatement> m_single;  // SQLite's statement
    std::unique_ptr<PreparedStatement> m_full;    // PostgreSQL's, for a full chunk
    QList<QVariant> m_queued;  // PostgreSQL: the rows not yet sent, column after column
    QList<QVariant> m_row;     // PostgreSQL: the row being made
    int m_added = 0;
};
