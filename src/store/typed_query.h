#pragma once
// A SELECT read row by row with typed values, for reads of tens of
// thousands of rows (a month of attendance). On SQLite the values come
// straight from SQLite's own interface, no QVariant or QString per value;
// on PostgreSQL through Query. Placeholders are named (":OD"); the
// connection's rights apply as for Query (the authorizer on SQLite).
//
//     TypedQuery q(db, "SELECT OSOBA, DATA FROM OBECN WHERE DATA >= :OD");
//     q.bind("OD", from).exec();
//     while (q.next())
//         use(q.integer(0), q.date(1));

#include <QChar>
#include <QDate>
#include <QString>
#include <QVariant>

#include <memory>

class Database;
class Query;
struct sqlite3_stmt;

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
    QVariant variant(int column) const;  // PostgreSQL

    Database& m_db;
    QString m_sql;
    sqlite3_stmt* m_statement = nullptr;
    std::unique_ptr<Query> m_query;  // PostgreSQL
    bool m_done = true;
};
