// Granting table and field rights to users and user groups: the merge of a
// chosen level into the credential's descriptor, how several credentials
// combine, what a new user or group may read, and a user given "Czyta" on
// the children with PESEL closed, through the cursor and through free SQL.

#include "register_fixture.h"

#include "shell/rights_descriptors.h"
#include "shell/rights_levels.h"
#include "shell/tdm_grupy.h"
#include "shell/tdm_ochrona.h"
#include "shell/tdm_uzyt.h"
#include "store/error.h"
#include "store/institution.h"
#include "store/params.h"
#include "store/query.h"
#include "store/table.h"
#include "store/user_sql.h"

using namespace rights_editing;

namespace {

class RightsEditingTest : public RegisterTest {
protected:
    void SetUp() override
    {
        RegisterTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Query(*db, QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, KLASA, AKTYWNY, PESEL) "
                                  "VALUES ('Wrona Wiktor', 'Leśna 2', 1, 'T', '18210112345')")).exec();
    }

    int levelOf(const TableLevels& t, const QString& field)
    {
        for (const FieldLevel& f : t.fields)
            if (f.name == field)
                return f.level;
        return -2;
    }

    void expectDenied(const std::function<void()>& op, const char* what)
    {
        try {
            op();
            ADD_FAILURE() << what << ": not refused";
        } catch (const Error& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Brak dostępu")) << what;
        }
    }

    int userCode(const QString& name)
    {
        Query(*db, QStringLiteral("INSERT INTO UZYT (NAZWA, OPIS, AKTYWNY) VALUES (:N, :N, 'T')"))
            .bind(QStringLiteral("N"), name)
            .exec();
        return Query(*db, QStringLiteral("SELECT KOD FROM UZYT WHERE NAZWA = :N")).bind(QStringLiteral("N"), name).scalar().toInt();
    }
};

TEST_P(RightsEditingTest, ChosenLevelsMergeIntoTheCredentialsDescriptor)
{
    const QString user = Subject::user(4).credential();
    const QString group = Subject::group(2).credential();
    EXPECT_EQ(user, rights::masterCredential() + QStringLiteral("U4"));
    EXPECT_EQ(group, rights::masterCredential() + QStringLiteral("G2"));

    // "Nic" where there is no descriptor changes nothing (the delivered
    // administrator's stay).
    const qsizetype delivered = rights::readDescriptors(*db, QStringLiteral("WPLATY")).size();
    grantTable(*db, QStringLiteral("WPLATY"), user, 0);
    EXPECT_EQ(rights::readDescriptors(*db, QStringLiteral("WPLATY")).size(), delivered);

    // A field choice on a table without rights grants it on the whole table,
    // every field open.
    grantField(*db, QStringLiteral("DZIECI"), user, QStringLiteral("PESEL"), 1);
    TableLevels mine = readLevels(*db, QStringLiteral("DZIECI"), user);
    EXPECT_TRUE(mine.described);
    EXPECT_EQ(mine.level, 1);
    EXPECT_EQ(mine.fields.size(), db->fields(QStringLiteral("DZIECI")).size());
    for (const FieldLevel& f : mine.fields)
        EXPECT_EQ(f.level, 5) << f.name.toStdString();

    // A field of an existing descriptor changes alone; raising the table keeps it.
    grantField(*db, QStringLiteral("DZIECI"), user, QStringLiteral("PESEL"), 0);
    grantTable(*db, QStringLiteral("DZIECI"), user, 4);
    mine = readLevels(*db, QStringLiteral("DZIECI"), user);
    EXPECT_EQ(mine.level, 4);
    EXPECT_EQ(levelOf(mine, QStringLiteral("PESEL")), 0);
    EXPECT_EQ(levelOf(mine, QStringLiteral("NAZWA")), 5);

    // A group's field set to "Nic" leaves the user's descriptor alone.
    grantTable(*db, QStringLiteral("DZIECI"), group, 2);
    grantField(*db, QStringLiteral("DZIECI"), group, QStringLiteral("HASLO"), 0);
    const TableLevels theirs = readLevels(*db, QStringLiteral("DZIECI"), group);
    EXPECT_EQ(theirs.level, 2);
    EXPECT_EQ(levelOf(theirs, QStringLiteral("HASLO")), 0);
    EXPECT_EQ(levelOf(theirs, QStringLiteral("PESEL")), 5);
    EXPECT_EQ(levelOf(readLevels(*db, QStringLiteral("DZIECI"), user), QStringLiteral("HASLO")), 5);

    // "Nic" on the table removes the user's descriptor, not the group's.
    grantTable(*db, QStringLiteral("DZIECI"), user, 0);
    mine = readLevels(*db, QStringLiteral("DZIECI"), user);
    EXPECT_FALSE(mine.described);
    EXPECT_EQ(mine.level, 0);
    EXPECT_EQ(levelOf(mine, QStringLiteral("NAZWA")), 0);
    EXPECT_TRUE(readLevels(*db, QStringLiteral("DZIECI"), group).described);
    EXPECT_EQ(rights::readDescriptors(*db, QStringLiteral("DZIECI")).size(), delivered + 1);

    // A mask outside the levels has no level and no image.
    RightsDescriptor odd;
    odd.credential = user;
    odd.tableRights = rights::Read | rights::Insert;
    rights::writeDescriptors(*db, QStringLiteral("KLASY"), rights::masterCredential(), {odd});
    EXPECT_EQ(readLevels(*db, QStringLiteral("KLASY"), user).level, -1);
    EXPECT_EQ(rights_levels::tableImage(-1), -1);

    EXPECT_THROW(readLevels(*db, QStringLiteral("NIEMA"), user), Error);
    EXPECT_THROW(grantField(*db, QStringLiteral("DZIECI"), user, QStringLiteral("NIEMA"), 1), Error);
}

TEST_P(RightsEditingTest, SeveralCredentialsGrantTheUnionOfWhatEachGrants)
{
    const QString user = Subject::user(4).credential();
    const QString group = Subject::group(2).credential();
    // The user reads everything; the group edits, but reads PESEL only.
    grantTable(*db, QStringLiteral("DZIECI"), user, 1);
    grantTable(*db, QStringLiteral("DZIECI"), group, 2);
    grantField(*db, QStringLiteral("DZIECI"), group, QStringLiteral("PESEL"), 1);
    auto both = store->connect({user, group});
    Table t(*both, QStringLiteral("DZIECI"));
    t.open();
    EXPECT_EQ(t.text(QStringLiteral("PESEL")), QStringLiteral("18210112345"));
    t.edit();
    t.setValue(QStringLiteral("MIASTO"), QStringLiteral("Opole"));
    // Neither credential lets PESEL be written.
    expectDenied([&] { t.setValue(QStringLiteral("PESEL"), QStringLiteral("1")); }, "PESEL by the union");
    t.post();
    expectDenied([&] { t.insert(); }, "insert");

    // The master credential opens everything.
    auto master = store->connect({user, rights::masterCredential()});
    Table m(*master, QStringLiteral("DZIECI"));
    m.open();
    m.edit();
    m.setValue(QStringLiteral("PESEL"), QStringLiteral("1"));
    m.post();
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT PESEL FROM DZIECI")).scalar().toString(), QStringLiteral("1"));
}

TEST_P(RightsEditingTest, NewUsersAndGroupsReadWhatEveryLoginNeeds)
{
    TDMUzyt users(context());
    Table& u = *users.users().table;
    u.open();
    u.insert();
    u.setValue(QStringLiteral("NAZWA"), QStringLiteral("kucharka"));
    u.setValue(QStringLiteral("OPIS"), QStringLiteral("Kuchnia"));
    u.post();
    const QString cook = Subject::user(u.value(QStringLiteral("KOD")).toInt()).credential();
    for (const QString& table : db->tableNames()) {
        const int expected = table == QLatin1String("FIRMA") || table == QLatin1String("OPCJE") ? 1 : 0;
        EXPECT_EQ(readLevels(*db, table, cook).level, expected) << table.toStdString();
    }
    // Saving the user again grants nothing more, nor back.
    grantTable(*db, QStringLiteral("FIRMA"), cook, 0);
    u.edit();
    u.setValue(QStringLiteral("OPIS"), QStringLiteral("Kuchnia główna"));
    u.post();
    EXPECT_FALSE(readLevels(*db, QStringLiteral("FIRMA"), cook).described);
    grantTable(*db, QStringLiteral("FIRMA"), cook, 1);

    // The user starts: the institution and the options are read, nothing else opens.
    auto conn = store->connect({});
    TDMOchrona security(*conn);
    ASSERT_TRUE(security.login(QStringLiteral("kucharka"), QStringLiteral("kucharka")));
    EXPECT_NO_THROW(Institution::read(*conn));
    Parameters params;
    EXPECT_NO_THROW(params.load(*conn));
    Table children(*conn, QStringLiteral("DZIECI"));
    expectDenied([&] { children.open(); }, "children");

    TDMGrupy groups(context());
    Table& g = *groups.groups().table;
    g.open();
    g.insert();
    g.setValue(QStringLiteral("NAZWA"), QStringLiteral("kuchnia"));
    g.setValue(QStringLiteral("OPIS"), QStringLiteral("Kuchnia"));
    g.post();
    const QString kitchen = Subject::group(g.value(QStringLiteral("KOD")).toInt()).credential();
    EXPECT_EQ(readLevels(*db, QStringLiteral("OPCJE"), kitchen).level, 1);
    EXPECT_FALSE(readLevels(*db, QStringLiteral("UZYT"), kitchen).described);
}

TEST_P(RightsEditingTest, ReaderWithoutPeselSeesChildrenAndWritesNothing)
{
    const int code = userCode(QStringLiteral("nauczycielka"));
    const QString teacher = Subject::user(code).credential();
    grantTable(*db, QStringLiteral("DZIECI"), teacher, 1);
    grantField(*db, QStringLiteral("DZIECI"), teacher, QStringLiteral("PESEL"), 0);
    auto conn = store->connect({teacher});

    // The browser's cursor: the children with an empty PESEL, no write.
    Table t(*conn, QStringLiteral("DZIECI"));
    t.open();
    ASSERT_EQ(t.rowCount(), 1);
    EXPECT_EQ(t.text(QStringLiteral("NAZWA")), QStringLiteral("Wrona Wiktor"));
    EXPECT_TRUE(t.isNull(QStringLiteral("PESEL")));
    expectDenied([&] { t.edit(); }, "edit");
    expectDenied([&] { t.insert(); }, "insert");
    expectDenied([&] { t.remove(); }, "delete");

    // Free SQL as lunawactl query runs it.
    const UserSqlResult names = user_sql::run(*conn, QStringLiteral("SELECT NAZWA FROM DZIECI"));
    ASSERT_EQ(names.rows.size(), 1);
    EXPECT_EQ(names.rows[0][0].toString(), QStringLiteral("Wrona Wiktor"));
    if (GetParam() == Engine::SQLite) {
        const UserSqlResult both = user_sql::run(*conn, QStringLiteral("SELECT NAZWA, PESEL FROM DZIECI"));
        ASSERT_EQ(both.rows.size(), 1);
        EXPECT_TRUE(both.rows[0][1].isNull());
    } else {
        expectDenied([&] { user_sql::run(*conn, QStringLiteral("SELECT PESEL FROM DZIECI")); }, "SQL PESEL");
    }
    expectDenied([&] { user_sql::run(*conn, QStringLiteral("UPDATE DZIECI SET MIASTO = 'Radom'")); }, "SQL update");
    expectDenied([&] { user_sql::run(*conn, QStringLiteral("DELETE FROM DZIECI")); }, "SQL delete");
    expectDenied([&] { user_sql::run(*conn, QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA) VALUES ('X', 'Y')")); },
                 "SQL insert");
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT COUNT(*) FROM DZIECI WHERE MIASTO IS NULL")).scalar().toInt(), 1);
}

INSTANTIATE_ENGINES(RightsEditingTest);

}  // namespace
