#include "store_fixture.h"

#include "store/error.h"
#include "store/rights.h"
#include "store/store_creator.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace {

StoreLocation adminLocation()
{
    return StoreLocation::parse(qEnvironmentVariable("LUNAWA_TEST_PG"));
}

void adminExec(const QString& sql)
{
    const QString name = QStringLiteral("pg-admin-") + QUuid::createUuid().toString(QUuid::Id128);
    {
        const StoreLocation a = adminLocation();
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(a.host);
        db.setPort(a.port);
        db.setDatabaseName(a.database);
        db.setUserName(a.user);
        db.setPassword(a.password);
        if (!db.open())
            throw Error(db.lastError().text());
        QSqlQuery q(db);
        if (!q.exec(sql))
            throw Error(q.lastError().text());
    }
    QSqlDatabase::removeDatabase(name);
}

}  // namespace

bool TestStore::postgresAvailable()
{
    return !qEnvironmentVariableIsEmpty("LUNAWA_TEST_PG");
}

TestStore::TestStore(Engine engine, bool create)
{
    if (engine == Engine::SQLite) {
        m_location = StoreLocation::parse(m_dir.path() + QStringLiteral("/Baza"));
    } else {
        m_pgDatabase = QStringLiteral("lwtest_") + QUuid::createUuid().toString(QUuid::Id128).left(12);
        adminExec(QStringLiteral("CREATE DATABASE %1").arg(m_pgDatabase));
        m_location = adminLocation();
        m_location.database = m_pgDatabase;
    }
    if (create) {
        InstitutionData inst;
        inst.name = QStringLiteral("Przedszkole Testowe");
        inst.address = QStringLiteral("ul. Słoneczna 1, Łódź");
        inst.clientNumber = 1234;
        inst.nip = QStringLiteral("123-456-78-90");
        store::create(m_location, inst);
    }
}

TestStore::~TestStore()
{
    if (!m_pgDatabase.isEmpty()) {
        try {
            adminExec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_pgDatabase));
        } catch (const Error&) {
        }
    }
}

std::unique_ptr<Database> TestStore::connect(const QStringList& credentials)
{
    auto db = std::make_unique<Database>(m_location);
    db->open();
    db->setCredentials(credentials.isEmpty() ? QStringList{rights::masterCredential()} : credentials);
    return db;
}

void EngineTest::SetUp()
{
    if (GetParam() == Engine::PostgreSQL && !TestStore::postgresAvailable()) {
        if (!qEnvironmentVariableIsEmpty("LUNAWA_REQUIRE_PG"))
            FAIL() << "LUNAWA_TEST_PG is not set";
        GTEST_SKIP() << "PostgreSQL not configured (LUNAWA_TEST_PG)";
    }
    store = std::make_unique<TestStore>(GetParam());
    db = store->connect();
}

std::string engineName(const ::testing::TestParamInfo<Engine>& info)
{
    return info.param == Engine::SQLite ? "Sqlite" : "Pg";
}
