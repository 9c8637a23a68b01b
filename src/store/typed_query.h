#pragma once
// A SELECT read row by row with typed values, for reads of tens of
// thousands of rows (a month of attendance). The values come straight from
// the engine's own interface, no QVariant or QString per value: SQLite's
// statement, or on PostgreSQL libpq's result of one round trip with the
// values sent along. Placeholders are named (":OD"); the connection's rights
// apply as for Query (the authorizer on SQLite).
//
//     TypedQuery q(db, "SELECT OSOBA, DATA FROM OBECN WHERE DATA >= :OD");
//     q.bind("OD", from).exec();
//     while (q.next())
//         use(q.integer(0), q.date(1));

#include <QByteArray>
#include <QChar>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class Database;
struct sqlite3_stmt;
struct pg_result;

class TypedQuery {
public:
    TypedQuery(Database& db, const QString& sql);
    ~TypedQuery();
    TypedQuery(const TypedQuery&) = delete;
    TypedQuery& operator=(const TypedQuery&) = delete;

    // Dates and times are bound the way the store keeps them; an empty value is NULL.
    TypedQuery& bind(const QString& name, const QVariant& value);
    // Runs (again, with the values bound since); throws the store's Error or AccessDenied.
    TypedQuery& exec();
    bool next();

    bool isNull(int column) const;
    qint64 integer(int column) const;  // 0 for NULL
    double number(int column) const;   // 0 for NULL
    QDate date(int column) const;      // invalid for NULL or text that is no date
    int minutes(int column) const;     // a time of day as minutes from midnight; -1 for NULL
    // The first character that is not a space, upper case; null for none.
    QChar mark(int column) const;
    QString text(int column) const;

private:
    void prepareSqlite();
    void execPg();
    // The value as text, null for NULL; `size` its length in bytes.
    const unsigned char* raw(int column, int* size) const;

    Database& m_db;
    QString m_sql;
    sqlite3_stmt* m_statement = nullptr;
    bool m_done = true;
    // PostgreSQL
    QByteArray m_pgSql;          // with $1, $2 ... for the names
    QStringList m_pgNames;       // ":OD" for $1 ...
    QList<QByteArray> m_pgValues;  // null for NULL
    pg_result* m_result = nullptr;
    int m_row = -1;
};
