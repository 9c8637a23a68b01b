// The benchmarks' direct store access: what it writes must read back as
// written on both engines, and a refused write must not pass unnoticed,
// or every floor measured with it would be wrong.

#include "bench/native_store.h"
#include "support/store_fixture.h"

#include <stdexcept>

namespace {

using native::Row;

class NativeStoreTest : public EngineTest {};

// Values as the engine gives them back: SQLite keeps types, libpq gives text.
std::string asText(const native::Value& v)
{
    if (const auto* i = std::get_if<long long>(&v))
        return std::to_string(*i);
    if (const auto* s = std::get_if<std::string>(&v))
        return *s;
    return std::holds_alternative<std::monostate>(v) ? "NULL" : "?";
}

TEST_P(NativeStoreTest, RowsReadBackAsWrittenThroughEveryPath)
{
    native::Connection c(store->location());
    const std::string awkward = "Łódź\ttab\\back\nline 'quoted?'";
    c.begin();
    c.copyRows("KLASY", {"KOD", "NAZWA", "KOLEJ"}, {{1LL, awkward, 1LL}, {2LL, std::monostate{}, 2LL}});
    c.prepare("INSERT INTO KLASY (KOD, NAZWA, KOLEJ) VALUES (?, ?, ?)").execAll({{3LL, std::string("Misie?"), 3LL}});
    c.commit();

    const std::vector<Row> rows = c.rows("SELECT KOD, NAZWA FROM KLASY WHERE KOD >= ? AND NAZWA <> '?' ORDER BY KOD", {1LL});
    ASSERT_EQ(rows.size(), 2u);  // the NULL name is not <> '?'
    EXPECT_EQ(asText(rows[0][0]), "1");
    EXPECT_EQ(asText(rows[0][1]), awkward);
    EXPECT_EQ(asText(rows[1][1]), "Misie?");
    EXPECT_EQ(c.scalar("SELECT COUNT(*) FROM KLASY WHERE NAZWA IS NULL"), 1);
}

TEST_P(NativeStoreTest, RefusedWriteInABatchThrows)
{
    native::Connection c(store->location());
    std::vector<Row> rows;
    for (long long i = 1; i <= 1500; ++i)  // past one pipeline sync
        rows.push_back({i, std::string("Grupa"), i});
    rows.push_back({7LL, std::string("Ta sama"), 7LL});  // the key again
    c.begin();
    EXPECT_THROW(c.prepare("INSERT INTO KLASY (KOD, NAZWA, KOLEJ) VALUES (?, ?, ?)").execAll(rows), std::runtime_error);
    c.rollback();
    EXPECT_EQ(c.scalar("SELECT COUNT(*) FROM KLASY WHERE KOD > 0"), 0);
}

INSTANTIATE_ENGINES(NativeStoreTest);

}  // namespace
