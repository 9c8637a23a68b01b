#include "pg_copy.h"

#include "database.h"
#include "error.h"
#include "pg_connection.h"
#include "store_messages.h"



#include <charconv>
#include <cmath>

namespace copytext {

void appendNull(QByteArray& out)
{
    out += "\\N";
}

void appendInteger(QByteArray& out, qint64 value)
{
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end - digits);
}

void appendDouble(QByteArray& out, double value)
{
    // The words the server reads; a negative zero is written as the driver
    // writes it, as 0.
    if (std::isnan(value)) {
        out += "NaN";
    } else if (std::isinf(value)) {
        out += value < 0 ? "-Infinity" : "Infinity";
    } else if (value == 0) {
        out += '0';
    } else {
        char digits[32];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        out.append(digits, end - digits);
    }
}

void appendText(QByteArray& out, QStringView value)
{
    const QByteArray utf8 = value.toUtf8();
    if (!utf8.contains('\\') && !utf8.contains('\t') && !utf8.contains('\n') && !utf8.contains('\r')) {
        out += utf8;
        return;
    }
    for (const char c : utf8) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        default:
            out += c;
        }
    }
}

void appendBytes(QByteArray& out, const QByteArray& value)
{
    // "\x" introduces bytea's hex form; COPY wants its backslash doubled.
    out += "\\\\x";
    out += value.toHex();
}

}  // namespace copytext

namespace {

// The results of the finished COPY: the first tells how it went; the
// connection is left idle for the statements after it.
PGresult* finishCopy(PGconn* connection)
{
    PGresult* first = nullptr;
    while (PGresult* result = pq().getResult(connection)) {
        if (!first)
            first = result;
        else
            pq().clear(result);
    }
    return first;
}

}  // namespace

PgCopy::PgCopy(Database& db, const QString& table, const QStringList& columns) : m_db(db)
{
    m_statement = QStringLiteral("COPY %1 (%2) FROM STDIN").arg(table, columns.join(QStringLiteral(", "))).toUtf8();
}

void PgCopy::send(const QByteArray& rows)
{
    if (rows.isEmpty())
        return;
    PGconn* connection = requirePgConnection(m_db);
    const StoreLocation& location = m_db.location();

    PGresult* start = pq().exec(connection, m_statement.constData());
    if (pq().resultStatus(start) != PGRES_COPY_IN) {
        const QString message = pgErrorMessage(start, connection, location);
        pq().clear(start);
        throw Error(message);
    }
    pq().clear(start);

    QString failure;
    // In pieces: libpq takes a length of int, and buffers what it is given.
    constexpr qsizetype piece = 1 << 20;
    bool sent = true;
    for (qsizetype at = 0; sent && at < rows.size(); at += piece)
        sent = pq().putCopyData(connection, rows.constData() + at, int(qMin(piece, rows.size() - at))) == 1;
    if (!sent) {
        failure = storemsg::translate(QString::fromUtf8(pq().errorMessage(connection)), location);
        pq().putCopyEnd(connection, "aborted by the client");
    } else if (pq().putCopyEnd(connection, nullptr) != 1) {
        failure = storemsg::translate(QString::fromUtf8(pq().errorMessage(connection)), location);
    }
    PGresult* result = finishCopy(connection);
    if (failure.isEmpty() && pq().resultStatus(result) != PGRES_COMMAND_OK)
        failure = pgErrorMessage(result, connection, location);
    pq().clear(result);
    if (!failure.isEmpty())
        throw Error(failure);
}
