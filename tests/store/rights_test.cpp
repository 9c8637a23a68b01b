// What a credential list opens: the cursor and SQL are refused alike with
// "Brak dostępu" where the rights descriptors grant nothing.

#include "store/error.h"
#include "store/query.h"
#include "store/rights.h"
#include "store/table.h"
#include "support/store_fixture.h"

namespace {

class RightsTest : public EngineTest {
protected:
    void grant(const QString& credential, const QString& table, int tableMask, const QMap<QString, int>& fieldMasks = {})
    {
        RightsDescriptor d;
        d.credential = credential;
        d.tableRights = tableMask;
        for (const StoreField& f : db->fields(table))
            d.fieldRights << fieldMasks.value(f.name, rights::All);
        rights::writeDescriptors(*db, table, rights::masterCredential(), {d});
    }

    void expectDenied(const std::function<void()>& op)
    {
        try {
            op();
            ADD_FAILURE() << "not refused";
        } catch (const Error& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Brak dostępu"));
        }
    }

    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        Query(*db, QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, KLASA, AKTYWNY, HASLO) "
                                  "VALUES ('Wrona Wiktor', 'Leśna 2', 1, 'T', 'abc')")).exec();
    }
};

TEST_P(RightsTest, NothingOpensWithoutCredentials)
{
    auto none = store->connect({QStringLiteral("wolpemixU999")});
    Table t(*none, QStringLiteral("DZIECI"));
    expectDenied([&] { t.open(); });
    expectDenied([&] { Query(*none, QStringLiteral("SELECT * FROM DZIECI")).exec(); });
    expectDenied([&] { Query(*none, QStringLiteral("SELECT * FROM LW_PRAWA")).exec(); });
    // The store's description needs no rights.
    EXPECT_TRUE(none->hasTable(QStringLiteral("DZIECI")));
    EXPECT_FALSE(none->fields(QStringLiteral("DZIECI")).isEmpty());
}

TEST_P(RightsTest, ReadOnlyTableRefusesEveryChange)
{
    grant(rights::userCredential(5), QStringLiteral("DZIECI"), rights::tableMaskOfLevel(1));
    auto user = store->connect({rights::userCredential(5)});
    Table t(*user, QStringLiteral("DZIECI"));
    t.open();
    EXPECT_EQ(t.rowCount(), 1);
    expectDenied([&] { t.edit(); });
    expectDenied([&] { t.insert(); });
    expectDenied([&] { t.remove(); });
    EXPECT_EQ(t.rowCount(), 1);
    expectDenied([&] { Query(*user, QStringLiteral("UPDATE DZIECI SET MIASTO = 'Radom'")).exec(); });
    expectDenied([&] { Query(*user, QStringLiteral("DELETE FROM DZIECI")).exec(); });
    expectDenied([&] { Query(*user, QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA) VALUES ('X', 'Y')")).exec(); });
    expectDenied([&] { Query(*user, QStringLiteral("SELECT D.NAZWA FROM DZIECI D, KLASY K WHERE D.KLASA = K.KOD")).exec(); });
    expectDenied([&] { Query(*user, QStringLiteral("ALTER TABLE DZIECI ADD NOWE INTEGER")).exec(); });
    EXPECT_EQ(Query(*user, QStringLiteral("SELECT COUNT(*) FROM DZIECI")).scalar().toInt(), 1);
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT COUNT(*) FROM DZIECI WHERE MIASTO IS NULL")).scalar().toInt(), 1);
}

TEST_P(RightsTest, UserAndGroupRightsAddUp)
{
    grant(rights::userCredential(5), QStringLiteral("DZIECI"), rights::tableMaskOfLevel(1));
    grant(rights::groupCredential(2), QStringLiteral("DZIECI"), rights::tableMaskOfLevel(2));
    grant(rights::groupCredential(3), QStringLiteral("KLASY"), rights::tableMaskOfLevel(4));
    auto user = store->connect({rights::userCredential(5), rights::groupCredential(2), rights::groupCredential(3)});
    Table t(*user, QStringLiteral("DZIECI"));
    t.open();
    t.edit();
    t.setValue(QStringLiteral("MIASTO"), QStringLiteral("Gdańsk"));
    t.post();
    expectDenied([&] { t.insert(); });
    Table groups(*user, QStringLiteral("KLASY"));
    groups.open();
    groups.insert();
    groups.setValue(QStringLiteral("NAZWA"), QStringLiteral("Motylki"));
    groups.post();
    groups.remove();
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT MIASTO FROM DZIECI")).scalar().toString(), QStringLiteral("Gdańsk"));
}

TEST_P(RightsTest, FieldMasksHideAndProtectFields)
{
    grant(rights::userCredential(5), QStringLiteral("DZIECI"), rights::tableMaskOfLevel(4),
          {{QStringLiteral("HASLO"), 0}, {QStringLiteral("PESEL"), 1}});
    auto user = store->connect({rights::userCredential(5)});
    Table t(*user, QStringLiteral("DZIECI"));
    t.open();
    EXPECT_TRUE(t.isNull(QStringLiteral("HASLO")));
    EXPECT_EQ(t.text(QStringLiteral("NAZWA")), QStringLiteral("Wrona Wiktor"));
    t.edit();
    expectDenied([&] { t.setValue(QStringLiteral("HASLO"), QStringLiteral("x")); });
    expectDenied([&] { t.setValue(QStringLiteral("PESEL"), QStringLiteral("1")); });
    t.setValue(QStringLiteral("MIASTO"), QStringLiteral("Opole"));
    t.post();  // the hidden field is neither read nor written back
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT HASLO FROM DZIECI")).scalar().toString(), QStringLiteral("abc"));
    if (GetParam() == Engine::SQLite) {
        // SQL reads a hidden field as empty and may not write it.
        EXPECT_TRUE(Query(*user, QStringLiteral("SELECT HASLO FROM DZIECI")).scalar().isNull());
        expectDenied([&] { Query(*user, QStringLiteral("UPDATE DZIECI SET PESEL = '1'")).exec(); });
    }
}

TEST_P(RightsTest, DescriptorsMergeByCredential)
{
    const QString user = rights::userCredential(7);
    grant(user, QStringLiteral("WPLATY"), rights::tableMaskOfLevel(3));
    grant(rights::groupCredential(1), QStringLiteral("WPLATY"), rights::tableMaskOfLevel(1));
    QList<RightsDescriptor> d = rights::readDescriptors(*db, QStringLiteral("WPLATY"));
    auto of = [&](const QString& c) {
        for (const RightsDescriptor& r : rights::readDescriptors(*db, QStringLiteral("WPLATY")))
            if (r.credential == c)
                return r.tableRights;
        return -1;
    };
    EXPECT_EQ(of(user), 7);
    grant(user, QStringLiteral("WPLATY"), rights::tableMaskOfLevel(5));
    EXPECT_EQ(of(user), 31);
    grant(user, QStringLiteral("WPLATY"), 0);  // "Nic" removes the descriptor
    EXPECT_EQ(of(user), -1);
    EXPECT_EQ(of(rights::groupCredential(1)), 1);
    EXPECT_THROW(rights::writeDescriptors(*db, QStringLiteral("WPLATY"), QStringLiteral("zgadnij"), {}), Error);
    EXPECT_EQ(rights::levelOfTableMask(15), 4);
    EXPECT_EQ(rights::levelOfTableMask(5), -1);
    EXPECT_EQ(rights::tableMaskOfLevel(9), 255);
}

INSTANTIATE_ENGINES(RightsTest);

}  // namespace
