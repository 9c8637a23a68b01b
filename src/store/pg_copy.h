#pragma once
// Rows sent to a PostgreSQL table with COPY ... FROM STDIN in text format,
// over the store's own connection and so inside its running transaction.
// The rows are written into a buffer as text first (copytext::append…), then
// sent in one COPY; a server error becomes the store's message, as for an
// INSERT of the same rows.
//
//   QByteArray rows;
//   copytext::appendInteger(rows, 7); rows += '\t'; copytext::appendText(rows, name); rows += '\n';
//   PgCopy(db, "NALKLA", {"KOD", "SKROT"}).send(rows);

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

class Database;

namespace copytext {

// A field of COPY's text format; NULL is \N.
void appendNull(QByteArray& out);
void appendInteger(QByteArray& out, qint64 value);
// In the shortest form that reads back as the same double.
void appendDouble(QByteArray& out, double value);
// UTF-8, with backslash, tab, newline and carriage return escaped.
void appendText(QByteArray& out, QStringView value);
// bytea in hex form.
void appendBytes(QByteArray& out, const QByteArray& value);

}  // namespace copytext

class PgCopy {
public:
    PgCopy(Database& db, const QString& table, const QStringList& columns);

    // Sends `rows` (lines of tab-separated fields, each ending with '\n')
    // in one COPY. Throws Error with the store's message; the transaction is
    // then failed, as after any refused statement.
    void send(const QByteArray& rows);

private:
    Database& m_db;
    QByteArray m_statement;
};
