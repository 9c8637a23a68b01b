#include "native_store.h"

#include <libpq-fe.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace native {

namespace {

[[noreturn]] void fail(const std::string& what, const std::string& detail)
{
    throw std::runtime_error(what + ": " + detail);
}

// "?" → "$1", "$2"… outside string literals.
std::string pgPlaceholders(const std::string& sql, int& count)
{
    std::string out;
    bool quoted = false;
    count = 0;
    for (const char ch : sql) {
        if (ch == '\'')
            quoted = !quoted;
        if (ch == '?' && !quoted)
            out += '$' + std::to_string(++count);
        else
            out += ch;
    }
    return out;
}

std::string text(const Value& v)
{
    if (const auto* i = std::get_if<long long>(&v))
        return std::to_string(*i);
    if (const auto* d = std::get_if<double>(&v)) {
        char buf[40];
        std::snprintf(buf, sizeof buf, "%.17g", *d);
        return buf;
    }
    if (const auto* s = std::get_if<std::string>(&v))
        return *s;
    return {};
}

void appendCopyField(std::string& line, const Value& v)
{
    if (std::holds_alternative<std::monostate>(v)) {
        line += "\\N";
        return;
    }
    for (const char ch : text(v)) {
        switch (ch) {
        case '\\': line += "\\\\"; break;
        case '\t': line += "\\t"; break;
        case '\n': line += "\\n"; break;
        case '\r': line += "\\r"; break;
        default: line += ch;
        }
    }
}

void checkPg(PGresult* r, pg_conn* c, const std::string& what)
{
    const ExecStatusType s = PQresultStatus(r);
    if (s != PGRES_COMMAND_OK && s != PGRES_TUPLES_OK && s != PGRES_COPY_IN) {
        PQclear(r);
        fail(what, PQerrorMessage(c));
    }
}

}  // namespace

std::string pgConnInfo(const StoreLocation& where)
{
    auto quoted = [](const QString& v) {
        QString s = v;
        s.replace(QLatin1Char('\\'), QStringLiteral("\\\\")).replace(QLatin1Char('\''), QStringLiteral("\\'"));
        return QStringLiteral("'%1'").arg(s);
    };
    QString info = QStringLiteral("host=%1 port=%2 dbname=%3").arg(quoted(where.host)).arg(where.port).arg(quoted(where.database));
    if (!where.user.isEmpty())
        info += QStringLiteral(" user=") + quoted(where.user);
    if (!where.password.isEmpty())
        info += QStringLiteral(" password=") + quoted(where.password);
    return info.toStdString();
}

void pgAdmin(const std::string& conninfo, const std::string& sql)
{
    pg_conn* c = PQconnectdb(conninfo.c_str());
    if (PQstatus(c) != CONNECTION_OK) {
        const std::string message = PQerrorMessage(c);
        PQfinish(c);
        fail("PostgreSQL", message);
    }
    PGresult* r = PQexec(c, sql.c_str());
    const bool ok = PQresultStatus(r) == PGRES_COMMAND_OK;
    const std::string message = PQerrorMessage(c);
    PQclear(r);
    PQfinish(c);
    if (!ok)
        fail(sql, message);
}

Connection::Connection(const StoreLocation& where) : m_engine(where.engine)
{
    if (m_engine == Engine::SQLite) {
        if (sqlite3_open_v2(where.sqliteFile().toUtf8().constData(), &m_lite, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            fail("sqlite3_open_v2", m_lite ? sqlite3_errmsg(m_lite) : "out of memory");
        sqlite3_busy_timeout(m_lite, 10000);
        // The program's own connection settings, so the floor is comparable.
        exec("PRAGMA synchronous=NORMAL");
    } else {
        m_pg = PQconnectdb(pgConnInfo(where).c_str());
        if (PQstatus(m_pg) != CONNECTION_OK)
            fail("PQconnectdb", PQerrorMessage(m_pg));
    }
}

Connection::~Connection()
{
    if (m_lite)
        sqlite3_close_v2(m_lite);
    if (m_pg)
        PQfinish(m_pg);
}

Statement Connection::prepare(const std::string& sql)
{
    return Statement(*this, sql, false);
}

Statement Connection::once(const std::string& sql)
{
    return Statement(*this, sql, true);
}

void Connection::exec(const std::string& sql)
{
    if (m_lite) {
        char* error = nullptr;
        if (sqlite3_exec(m_lite, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            const std::string message = error ? error : "";
            sqlite3_free(error);
            fail(sql, message);
        }
        return;
    }
    PGresult* r = PQexec(m_pg, sql.c_str());
    checkPg(r, m_pg, sql);
    PQclear(r);
}

std::vector<Row> Connection::rows(const std::string& sql, const Row& params)
{
    std::vector<Row> out;
    once(sql).exec(params, &out);
    return out;
}

long long Connection::scalar(const std::string& sql, const Row& params)
{
    const std::vector<Row> r = rows(sql, params);
    if (r.empty() || r.front().empty())
        return 0;
    const Value& v = r.front().front();
    if (const auto* i = std::get_if<long long>(&v))
        return *i;
    if (const auto* d = std::get_if<double>(&v))
        return (long long)*d;
    if (const auto* s = std::get_if<std::string>(&v))
        return std::stoll(*s);
    return 0;
}

void Connection::copyRows(const std::string& table, const std::vector<std::string>& columns, const std::vector<Row>& rows)
{
    std::string list;
    for (const std::string& c : columns)
        list += (list.empty() ? "" : ", ") + c;
    if (m_lite) {
        std::string marks;
        for (size_t i = 0; i < columns.size(); ++i)
            marks += i ? ", ?" : "?";
        Statement insert = prepare("INSERT INTO " + table + " (" + list + ") VALUES (" + marks + ")");
        for (const Row& r : rows)
            insert.exec(r);
        return;
    }
    PGresult* r = PQexec(m_pg, ("COPY " + table + " (" + list + ") FROM STDIN").c_str());
    checkPg(r, m_pg, "COPY " + table);
    PQclear(r);
    std::string chunk;
    auto flush = [&] {
        if (PQputCopyData(m_pg, chunk.data(), int(chunk.size())) != 1)
            fail("PQputCopyData", PQerrorMessage(m_pg));
        chunk.clear();
    };
    for (const Row& row : rows) {
        for (size_t i = 0; i < row.size(); ++i) {
            if (i)
                chunk += '\t';
            appendCopyField(chunk, row[i]);
        }
        chunk += '\n';
        if (chunk.size() > (1 << 20))
            flush();
    }
    flush();
    if (PQputCopyEnd(m_pg, nullptr) != 1)
        fail("PQputCopyEnd", PQerrorMessage(m_pg));
    PGresult* done = PQgetResult(m_pg);
    checkPg(done, m_pg, "COPY " + table);
    PQclear(done);
    while (PGresult* more = PQgetResult(m_pg))
        PQclear(more);
}

void Connection::begin()
{
    exec(m_lite ? "BEGIN IMMEDIATE" : "BEGIN");
}

void Connection::commit()
{
    exec("COMMIT");
}

void Connection::rollback()
{
    exec("ROLLBACK");
}

Statement::Statement(Connection& c, const std::string& sql, bool once) : m_conn(c)
{
    if (c.m_lite) {
        if (sqlite3_prepare_v3(c.m_lite, sql.c_str(), int(sql.size()), SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr) != SQLITE_OK)
            fail(sql, sqlite3_errmsg(c.m_lite));
        m_params = sqlite3_bind_parameter_count(m_stmt);
        return;
    }
    const std::string pgSql = pgPlaceholders(sql, m_params);
    if (once) {
        m_sql = pgSql;
        return;
    }
    m_name = "lwb" + std::to_string(++c.m_statements);
    PGresult* r = PQprepare(c.m_pg, m_name.c_str(), pgSql.c_str(), m_params, nullptr);
    checkPg(r, c.m_pg, sql);
    PQclear(r);
}

Statement::Statement(Statement&& o) noexcept
    : m_conn(o.m_conn), m_stmt(o.m_stmt), m_name(std::move(o.m_name)), m_sql(std::move(o.m_sql)), m_params(o.m_params),
      m_checksum(o.m_checksum)
{
    o.m_stmt = nullptr;
    o.m_name.clear();
}

Statement::~Statement()
{
    if (m_stmt)
        sqlite3_finalize(m_stmt);
    if (!m_name.empty() && m_conn.m_pg) {
        PGresult* r = PQexec(m_conn.m_pg, ("DEALLOCATE " + m_name).c_str());
        PQclear(r);
    }
}

void Statement::execAll(const std::vector<Row>& params)
{
    if (m_stmt) {
        for (const Row& r : params)
            exec(r);
        return;
    }
    pg_conn* pg = m_conn.m_pg;
    // Results come back while more is sent: a bounded batch per sync keeps
    // them within the socket buffers, so neither side waits on the other.
    constexpr size_t perSync = 1000;
    if (PQenterPipelineMode(pg) != 1)
        fail("PQenterPipelineMode", PQerrorMessage(pg));
    std::string error;
    for (size_t start = 0; start < params.size(); start += perSync) {
        const size_t end = std::min(params.size(), start + perSync);
        for (size_t i = start; i < end; ++i) {
            std::vector<std::string> texts(params[i].size());
            std::vector<const char*> values(params[i].size());
            for (size_t k = 0; k < params[i].size(); ++k) {
                if (std::holds_alternative<std::monostate>(params[i][k]))
                    continue;
                texts[k] = text(params[i][k]);
                values[k] = texts[k].c_str();
            }
            if (PQsendQueryPrepared(pg, m_name.c_str(), m_params, values.data(), nullptr, nullptr, 0) != 1)
                fail("PQsendQueryPrepared", PQerrorMessage(pg));
        }
        if (PQpipelineSync(pg) != 1)
            fail("PQpipelineSync", PQerrorMessage(pg));
        for (;;) {
            PGresult* r = PQgetResult(pg);
            if (!r)
                continue;
            const ExecStatusType status = PQresultStatus(r);
            if (status == PGRES_FATAL_ERROR && error.empty())
                error = PQresultErrorMessage(r);
            PQclear(r);
            if (status == PGRES_PIPELINE_SYNC)
                break;
        }
    }
    PQexitPipelineMode(pg);
    if (!error.empty())
        fail(m_name, error);
}

long long Statement::exec(const Row& params, std::vector<Row>* out)
{
    if (int(params.size()) != m_params)
        fail("Statement::exec", "expected " + std::to_string(m_params) + " parameters");
    long long count = 0;
    if (m_stmt) {
        sqlite3_reset(m_stmt);
        for (int i = 0; i < m_params; ++i) {
            const Value& v = params[size_t(i)];
            if (const auto* n = std::get_if<long long>(&v))
                sqlite3_bind_int64(m_stmt, i + 1, *n);
            else if (const auto* d = std::get_if<double>(&v))
                sqlite3_bind_double(m_stmt, i + 1, *d);
            else if (const auto* s = std::get_if<std::string>(&v))
                sqlite3_bind_text(m_stmt, i + 1, s->data(), int(s->size()), SQLITE_STATIC);
            else
                sqlite3_bind_null(m_stmt, i + 1);
        }
        int rc;
        const int columns = sqlite3_column_count(m_stmt);
        while ((rc = sqlite3_step(m_stmt)) == SQLITE_ROW) {
            ++count;
            Row row;
            if (out)
                row.reserve(size_t(columns));
            for (int c = 0; c < columns; ++c) {
                switch (sqlite3_column_type(m_stmt, c)) {
                case SQLITE_INTEGER: {
                    const long long v = sqlite3_column_int64(m_stmt, c);
                    m_checksum += v;
                    if (out)
                        row.emplace_back(v);
                    break;
                }
                case SQLITE_FLOAT: {
                    const double v = sqlite3_column_double(m_stmt, c);
                    m_checksum += (long long)v;
                    if (out)
                        row.emplace_back(v);
                    break;
                }
                case SQLITE_NULL:
                    if (out)
                        row.emplace_back(std::monostate{});
                    break;
                default: {
                    const auto* t = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, c));
                    const int n = sqlite3_column_bytes(m_stmt, c);
                    m_checksum += n ? t[0] : 0;
                    if (out)
                        row.emplace_back(std::string(t, size_t(n)));
                }
                }
            }
            if (out)
                out->push_back(std::move(row));
        }
        if (rc != SQLITE_DONE)
            fail("sqlite3_step", sqlite3_errmsg(m_conn.m_lite));
        return count;
    }
    std::vector<std::string> texts(params.size());
    std::vector<const char*> values(params.size());
    for (size_t i = 0; i < params.size(); ++i) {
        if (std::holds_alternative<std::monostate>(params[i]))
            continue;
        texts[i] = text(params[i]);
        values[i] = texts[i].c_str();
    }
    PGresult* r = m_sql.empty()
        ? PQexecPrepared(m_conn.m_pg, m_name.c_str(), m_params, values.data(), nullptr, nullptr, 0)
        : PQexecParams(m_conn.m_pg, m_sql.c_str(), m_params, nullptr, values.data(), nullptr, nullptr, 0);
    checkPg(r, m_conn.m_pg, m_sql.empty() ? m_name : m_sql);
    const int rows = PQntuples(r);
    const int columns = PQnfields(r);
    for (int i = 0; i < rows; ++i) {
        Row row;
        for (int c = 0; c < columns; ++c) {
            if (PQgetisnull(r, i, c)) {
                if (out)
                    row.emplace_back(std::monostate{});
                continue;
            }
            const char* t = PQgetvalue(r, i, c);
            m_checksum += t[0];
            if (out)
                row.emplace_back(std::string(t, size_t(PQgetlength(r, i, c))));
        }
        if (out)
            out->push_back(std::move(row));
    }
    count = rows;
    PQclear(r);
    return count;
}

}  // namespace native
