#pragma once
// SQL on the store: parameterised statements (":NAME"), rewritten for the
// engine, checked against the connection's rights. Results are read only.

#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

class Database;

class Query {
public:
    Query(Database& db, const QString& sql);

    // Binds :name (given without the colon). QDate/QTime/empty strings are
    // written the way the store keeps them.
    Query& bind(const QString& name, const QVariant& value);

    // Runs the statement (again, with the values bound since); throws Error
    // with the store's message, or AccessDenied ("Brak dostępu").
    Query& exec();

    bool next();
    QVariant value(int column) const;
    QVariant value(const QString& column) const;
    int columnCount() const;
    QString columnName(int column) const;
    int rowsAffected() const;
    bool returnsRows() const { return m_returnsRows; }

    // Convenience: runs and returns the first column of the first row.
    QVariant scalar();

private:
    void checkRights() const;

    Database& m_db;
    QString m_sql;
    QSqlQuery m_query;
    QList<QPair<QString, QVariant>> m_binds;
    bool m_returnsRows = false;
    bool m_prepared = false;
};
