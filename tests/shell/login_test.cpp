// The login check: who gets in, what the connection holds afterwards, and
// what the login carries (functions and visible groups).

#include "shell/function_names.h"
#include "shell/tdm_ochrona.h"
#include "store/error.h"
#include "store/password_digest.h"
#include "store/query.h"
#include "store/rights.h"
#include "store/table.h"
#include "support/store_fixture.h"

namespace {

class LoginTest : public EngineTest {
protected:
    int addUser(const QString& name, const QString& password, const QString& active = QStringLiteral("T"),
                const QString& functions = QString(), const QString& groups = QString())
    {
        Query(*db, QStringLiteral("INSERT INTO UZYT (NAZWA, OPIS, AKTYWNY, HASLO, FUNKCJE, KLASY) VALUES (:N, 'x', :A, :H, :F, :K)"))
            .bind(QStringLiteral("N"), name)
            .bind(QStringLiteral("A"), active)
            .bind(QStringLiteral("H"), digest::userPassword(password))
            .bind(QStringLiteral("F"), functions)
            .bind(QStringLiteral("K"), groups)
            .exec();
        return Query(*db, QStringLiteral("SELECT KOD FROM UZYT WHERE NAZWA = :N")).bind(QStringLiteral("N"), name).scalar().toInt();
    }
    int addGroup(const QString& functions, const QString& groups)
    {
        Query(*db, QStringLiteral("INSERT INTO GRUPY (NAZWA, OPIS, FUNKCJE, KLASY) VALUES ('g', 'g', :F, :K)"))
            .bind(QStringLiteral("F"), functions)
            .bind(QStringLiteral("K"), groups)
            .exec();
        return Query(*db, QStringLiteral("SELECT MAX(KOD) FROM GRUPY")).scalar().toInt();
    }
    void join(int user, int group)
    {
        Query(*db, QStringLiteral("INSERT INTO UZGR (KODGR, KODUZ) VALUES (:G, :U)"))
            .bind(QStringLiteral("G"), group)
            .bind(QStringLiteral("U"), user)
            .exec();
    }
};

TEST_P(LoginTest, WhoGetsIn)
{
    auto conn = store->connect();
    TDMOchrona security(*conn);
    addUser(QStringLiteral("ola"), QStringLiteral("Łódź"), QStringLiteral("N"));
    addUser(QStringLiteral("Ewa"), QStringLiteral("sekret"));
    EXPECT_FALSE(security.login(QStringLiteral("ola"), QStringLiteral("Łódź")));  // inactive
    EXPECT_TRUE(conn->credentials().isEmpty());
    EXPECT_FALSE(security.login(QStringLiteral("ewa"), QStringLiteral("sekret")));  // names are exact
    EXPECT_FALSE(security.login(QStringLiteral("Ewa"), QStringLiteral("Sekret")));
    EXPECT_TRUE(security.login(QStringLiteral("Ewa"), QStringLiteral("sekret")));
    EXPECT_EQ(security.current().userName, QStringLiteral("Ewa"));

    // A digest written in lower-case digits never matches.
    Query(*db, QStringLiteral("UPDATE UZYT SET HASLO = :H WHERE NAZWA = 'Ewa'"))
        .bind(QStringLiteral("H"), digest::userPassword(QStringLiteral("sekret")).toLower())
        .exec();
    EXPECT_FALSE(security.login(QStringLiteral("Ewa"), QStringLiteral("sekret")));

    EXPECT_TRUE(security.login(QStringLiteral("admin"), QStringLiteral("tebov")));
    EXPECT_FALSE(conn->isMaster());
    EXPECT_NO_THROW(Table(*conn, QStringLiteral("DZIECI")).open());
    security.logout();
    try {
        Table(*conn, QStringLiteral("DZIECI")).open();
        FAIL() << "a table opened after logout";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Brak dostępu"));
    }
    EXPECT_EQ(security.current().userName, QStringLiteral("admin"));  // logout keeps the login values
}

TEST_P(LoginTest, ServiceAccountAndTheUnionWithGroups)
{
    auto conn = store->connect();
    TDMOchrona security(*conn);
    EXPECT_TRUE(security.login(QStringLiteral("kqvzat"), QStringLiteral("wolpemix")));
    EXPECT_EQ(security.current().userCode, -1);
    EXPECT_TRUE(security.current().userName.isEmpty());
    EXPECT_EQ(security.current().visibleGroups, QStringList{QStringLiteral("-1")});
    EXPECT_EQ(security.current().functions.size(), functions::table().size());
    EXPECT_TRUE(conn->isMaster());
    EXPECT_FALSE(security.login(QStringLiteral("kqvzat"), QStringLiteral("zle")));

    const int user = addUser(QStringLiteral("jan"), QStringLiteral("jan"), QStringLiteral("T"),
                             QStringLiteral("Dzieci\r\nObecnosci"), QStringLiteral("1\r\n2"));
    const int g1 = addGroup(QStringLiteral("Rozrachunki"), QStringLiteral("3"));
    const int g2 = addGroup(QStringLiteral("Dzieci"), QString());  // "…\r\n" + empty opens no line
    join(user, g1);
    join(user, g2);
    join(user, 999);  // a deleted group still lends its credential
    ASSERT_TRUE(security.login(QStringLiteral("jan"), QStringLiteral("jan")));
    EXPECT_EQ(security.current().userCode, user);
    EXPECT_EQ(security.current().functions,
              (QStringList{QStringLiteral("Dzieci"), QStringLiteral("Obecnosci"), QStringLiteral("Rozrachunki"),
                           QStringLiteral("Dzieci")}));
    EXPECT_EQ(security.current().visibleGroups,
              (QStringList{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"), QString()}));
    EXPECT_EQ(conn->credentials(), (QStringList{rights::userCredential(user), rights::groupCredential(g1),
                                                rights::groupCredential(g2), rights::groupCredential(999)}));

    // A later user of the same name lends nothing to the first one's login.
    addUser(QStringLiteral("jan"), QStringLiteral("inne"));
    const int twin = Query(*db, QStringLiteral("SELECT MAX(KOD) FROM UZYT")).scalar().toInt();
    ASSERT_NE(twin, user);
    join(twin, addGroup(QStringLiteral("Uzytkownicy"), QStringLiteral("9")));
    ASSERT_TRUE(security.login(QStringLiteral("jan"), QStringLiteral("jan")));
    EXPECT_EQ(conn->credentials().size(), 4);
    EXPECT_FALSE(security.current().functions.contains(QStringLiteral("Uzytkownicy")));
    EXPECT_FALSE(security.login(QStringLiteral("jan"), QStringLiteral("inne")));
}

TEST_P(LoginTest, ChangingAPassword)
{
    auto conn = store->connect();
    TDMOchrona security(*conn);
    addUser(QStringLiteral("ewa"), QStringLiteral("stare"));
    ASSERT_TRUE(security.login(QStringLiteral("ewa"), QStringLiteral("stare")));  // no rights on UZYT at all
    EXPECT_EQ(security.changePassword(QStringLiteral("ewa"), QStringLiteral("złe"), QStringLiteral("nowe"), true),
              TDMOchrona::PasswordChange::WrongOldPassword);
    EXPECT_EQ(security.changePassword(QStringLiteral("ewa"), QStringLiteral("stare"), QStringLiteral("nowe"), true),
              TDMOchrona::PasswordChange::Changed);
    EXPECT_FALSE(conn->isMaster());  // the borrowed master credential is given back
    EXPECT_EQ(security.changePassword(QString(), QString(), QStringLiteral("x"), true),
              TDMOchrona::PasswordChange::NoSuchUser);
    EXPECT_TRUE(security.login(QStringLiteral("ewa"), QStringLiteral("nowe")));
}

INSTANTIATE_ENGINES(LoginTest);

}  // namespace
