#pragma once
// The store's tables reached without the program: the SQLite C API or
// libpq, one prepared statement per shape. Benchmarks measure their floor
// with it and fill large tables through it.

#include "store/store_location.h"

#include <initializer_list>
#include <memory>
#include <string>
#include <variant>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;
struct pg_conn;

namespace native {

// SQLite keeps the type it was given; libpq exchanges text, so rows read
// from PostgreSQL hold strings.
using Value = std::variant<std::monostate, long long, double, std::string>;
using Row = std::vector<Value>;

class Connection;

class Statement {
public:
    Statement(Statement&&) noexcept;
    ~Statement();

    // Runs with the parameters and reads every value of every row (into
    // `out` when given). Returns the number of rows read.
    long long exec(const Row& params = {}, std::vector<Row>* out = nullptr);
    // Runs once for each row of parameters, reading nothing back; a server
    // gets them pipelined, a thousand to a round trip.
    void execAll(const std::vector<Row>& params);
    // A sum over what was read, so the reading cannot be optimised away.
    long long checksum() const { return m_checksum; }

private:
    friend class Connection;
    Statement(Connection& c, const std::string& sql, bool once);

    Connection& m_conn;
    sqlite3_stmt* m_stmt = nullptr;
    std::string m_name;  // PostgreSQL prepared statement
    std::string m_sql;   // PostgreSQL statement run once, unnamed
    int m_params = 0;
    long long m_checksum = 0;
};

class Connection {
public:
    explicit Connection(const StoreLocation& where);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    Engine engine() const { return m_engine; }
    // Statements are written with "?" placeholders on both engines.
    Statement prepare(const std::string& sql);
    // A statement run once: a server gets it with its values in one round
    // trip, not prepared first.
    Statement once(const std::string& sql);
    void exec(const std::string& sql);
    // One statement, its rows.
    std::vector<Row> rows(const std::string& sql, const Row& params = {});
    long long scalar(const std::string& sql, const Row& params = {});

    // Writes rows through PostgreSQL's COPY (SQLite: one prepared insert),
    // inside the caller's transaction if one is open.
    void copyRows(const std::string& table, const std::vector<std::string>& columns, const std::vector<Row>& rows);

    // The transaction the program's batches use: BEGIN IMMEDIATE on SQLite.
    void begin();
    void commit();
    void rollback();

private:
    friend class Statement;
    Engine m_engine;
    sqlite3* m_lite = nullptr;
    pg_conn* m_pg = nullptr;
    int m_statements = 0;
};

// A libpq connection string for a location ("host=… port=… dbname=…").
std::string pgConnInfo(const StoreLocation& where);

// Runs one statement on a libpq connection string (CREATE/DROP DATABASE).
void pgAdmin(const std::string& conninfo, const std::string& sql);

}  // namespace native
