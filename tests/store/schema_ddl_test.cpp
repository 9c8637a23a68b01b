// The store made from the catalogue must be the catalogue, read back
// through introspection, on both engines.

#include "store/ddl.h"
#include "store/error.h"
#include "store/query.h"
#include "store/schema.h"
#include "support/store_fixture.h"

namespace {

class SchemaTest : public EngineTest {};

TEST_P(SchemaTest, EveryTableFieldAndOrderingRoundTrips)
{
    const QStringList stored = db->tableNames();
    ASSERT_EQ(stored.size(), schema::tables().size());
    for (const TableDef& t : schema::tables()) {
        SCOPED_TRACE(t.name.toStdString());
        ASSERT_TRUE(db->hasTable(t.name));
        const QList<StoreField> fields = db->fields(t.name);
        ASSERT_EQ(fields.size(), t.fields.size());
        for (int i = 0; i < fields.size(); ++i) {
            EXPECT_EQ(fields[i].name, t.fields[i].name);
            const FieldType want = t.fields[i].type == FieldType::SmallInt ? FieldType::Integer : t.fields[i].type;
            EXPECT_EQ(fields[i].type, want) << fields[i].name.toStdString();
            EXPECT_EQ(fields[i].autoInc, t.fields[i].type == FieldType::AutoInc);
            if (t.fields[i].type == FieldType::String) {
                EXPECT_EQ(fields[i].width, t.fields[i].width);
            }
        }
        const QList<StoreIndex> indexes = db->indexes(t.name);
        for (const IndexDef& ix : t.indexes) {
            if (ddl::servedByLongerIndex(t.name, ix))
                continue;  // a longer index serves this ordering; none is made for it
            const bool found = std::any_of(indexes.begin(), indexes.end(), [&](const StoreIndex& s) {
                return s.fields == ix.fields && (ix.name.isEmpty() || ix.primary || s.name == ix.name);
            });
            EXPECT_TRUE(found) << ix.fieldList().toStdString();
        }
    }
    EXPECT_TRUE(db->hasIndex(QStringLiteral("NALICZ"), QStringLiteral("FAKT")));
    EXPECT_TRUE(db->hasIndex(QStringLiteral("FAKT"), QStringLiteral("OSKODWYST")));
    EXPECT_TRUE(db->hasIndex(QStringLiteral("STATUSY"), QStringLiteral("KOLEJ")));
    EXPECT_FALSE(db->hasIndex(QStringLiteral("DZIECI"), QStringLiteral("FAKT")));
    EXPECT_TRUE(db->hasColumn(QStringLiteral("NALICZ"), QStringLiteral("IDOPIE")));
    EXPECT_FALSE(db->hasColumn(QStringLiteral("NALICZ"), QStringLiteral("NIEMA")));
    EXPECT_FALSE(db->tableNames().contains(QStringLiteral("LW_PRAWA")));
}

TEST_P(SchemaTest, OneGroupChildrenKeepTheirOwnCodes)
{
    Query(*db, QStringLiteral("DROP TABLE DZIECI")).exec();
    db->forgetStructure();
    for (const QString& sql : ddl::createTable(schema::oneGroupChildren(), db->engine()))
        Query(*db, sql).exec();
    db->forgetStructure();
    const StoreField kod = db->fields(QStringLiteral("DZIECI")).first();
    EXPECT_EQ(kod.type, FieldType::Integer);
    EXPECT_FALSE(kod.autoInc);
    Query(*db, QStringLiteral("INSERT INTO DZIECI (KOD, NAZWA, ULICA) VALUES (7001, 'Nowak Jan', 'Polna 1')")).exec();
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT KOD FROM DZIECI")).scalar().toInt(), 7001);
    // A code is not made up by the store, and it stays unique.
    EXPECT_THROW(Query(*db, QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA) VALUES ('Bez Kodu', 'Polna 2')")).exec(), Error);
    EXPECT_THROW(Query(*db, QStringLiteral("INSERT INTO DZIECI (KOD, NAZWA, ULICA) VALUES (7001, 'Drugi', 'Polna 3')")).exec(), Error);
}

INSTANTIATE_ENGINES(SchemaTest);

TEST(PhysicalNames, IndexesAreQualifiedByTheirTable)
{
    IndexDef named{QStringLiteral("FAKT"), {QStringLiteral("IDF"), QStringLiteral("LPF")}};
    IndexDef ordering{QString(), {QStringLiteral("KOD"), QStringLiteral("TYP"), QStringLiteral("ID")}};
    EXPECT_EQ(ddl::physicalIndexName(QStringLiteral("NALICZ"), named), QStringLiteral("NALICZ__FAKT"));
    EXPECT_EQ(ddl::physicalIndexName(QStringLiteral("NALICZ"), ordering), QStringLiteral("NALICZ__BY_KOD_TYP_ID"));
}

}  // namespace
