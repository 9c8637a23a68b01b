#pragma once
// A new store for one test, on either engine. PostgreSQL stores are
// databases made through LUNAWA_TEST_PG and dropped afterwards; without it
// those tests are skipped, unless LUNAWA_REQUIRE_PG asks for them.

#include "store/database.h"
#include "store/store_location.h"

#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

class TestStore {
public:
    explicit TestStore(Engine engine, bool create = true);
    ~TestStore();

    const StoreLocation& location() const { return m_location; }
    // A new connection; the master credential unless others are given.
    std::unique_ptr<Database> connect(const QStringList& credentials = {});

    static bool postgresAvailable();

private:
    StoreLocation m_location;
    QTemporaryDir m_dir;
    QString m_pgDatabase;
};

// Parameterised over the engines: TEST_P(X, …) runs as X/Sqlite and X/Pg.
class EngineTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override;
    std::unique_ptr<TestStore> store;
    std::unique_ptr<Database> db;  // master connection
};

std::string engineName(const ::testing::TestParamInfo<Engine>& info);

#define INSTANTIATE_ENGINES(Suite) \
    INSTANTIATE_TEST_SUITE_P(Engines, Suite, ::testing::Values(Engine::SQLite, Engine::PostgreSQL), engineName)
