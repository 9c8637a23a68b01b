#pragma once
// A statement the program prepares once and runs for thousands of rows of a
// batch, its values bound by position ("?" in the text, counted from 0).
// SQLite runs it through its own interface, each value bound as it is; on
// PostgreSQL it is the driver's prepared statement. The connection's rights
// are checked when it is first run (the authorizer on SQLite), as for Query;
// its errors carry the store's message.

#include <QString>
#include <QVariant>

#include <memory>

class Database;
struct sqlite3_stmt;
class QSqlQuery;

class PreparedStatement {
public:
    PreparedStatement(Database& db, const QString& sql);
    ~PreparedStatement();
    PreparedStatement(const PreparedStatement&) = delete;
    PreparedStatement& operator=(const PreparedStatement&) = delete;

    // The value of placeholder `index` for the next runs; an empty text is NULL.
    void bind(int index, qint64 value);
    void bind(int index, int value) { bind(index, qint64(value)); }
    void bind(int index, double value);
    void bind(int index, const QString& value);
    void bindNull(int index);
    // Integers, numbers and text by their type; empty or invalid is NULL.
    void bind(int index, const QVariant& value);

    // Runs with the values bound so far.
    void exec();

    // The rows of the last run (PostgreSQL only, e.g. INSERT ... RETURNING).
    bool next();
    QVariant value(int column) const;

    // SQLite: the key the last insert on the connection was given.
    qint64 lastInsertId() const;

private:
    void prepare();

    Database& m_db;
    QString m_sql;
    sqlite3_stmt* m_statement = nullptr;
    std::unique_ptr<QSqlQuery> m_query;  // PostgreSQL
    bool m_prepared = false;
};
