// The schema upgrade on stores made older with plain SQL, on both engines.

#include "maintenance/schema_upgrade.h"
#include "store/database.h"
#include "store/query.h"
#include "store/schema_version.h"
#include "support/scripted_prompts.h"
#include "support/store_fixture.h"

#include <gtest/gtest.h>

class SchemaUpgradeTest : public EngineTest {
protected:
    void sql(const QString& text)
    {
        Query(*db, text).exec();
        db->forgetStructure();
    }
};

TEST_P(SchemaUpgradeTest, CurrentStoreIsToldSoAndKept)
{
    ScriptedPrompts prompts;
    prompts.expectInfo(upgrade::newest());
    EXPECT_EQ(upgrade::run(*db, prompts), upgrade::Outcome::Current);
    EXPECT_TRUE(prompts.done());
    EXPECT_EQ(schemaversion::read(*db), schemaversion::kCurrent);
}

TEST_P(SchemaUpgradeTest, OlderStoreIsAskedOnceAndBroughtUp)
{
    sql("INSERT INTO ZAJOBEC (KLASA, ID, OSOBA) VALUES (1, 1, 1)");
    sql("DROP TABLE FAKT");
    sql("ALTER TABLE ZAJOBEC DROP COLUMN OBECNY");
    sql("DROP INDEX NALICZ__FAKT");
    sql("CREATE INDEX NALICZ__BY_KOD_TYP_OSOBA ON NALICZ (KOD, TYP, OSOBA)");
    sql("DROP INDEX OBECN__DZIEN");
    {
        ScriptedPrompts no;
        no.expectYesNo(upgrade::question(), false);
        EXPECT_EQ(upgrade::run(*db, no), upgrade::Outcome::Declined);
        EXPECT_TRUE(no.done());
        EXPECT_FALSE(db->hasTable("FAKT"));
    }
    ScriptedPrompts prompts;
    prompts.expectYesNo(upgrade::question(), true);
    prompts.expectInfo(upgrade::finished());
    EXPECT_EQ(upgrade::run(*db, prompts), upgrade::Outcome::Upgraded);
    EXPECT_TRUE(prompts.done());
    db->forgetStructure();
    EXPECT_TRUE(db->hasIndex("FAKT", "OSKODWYST"));
    EXPECT_TRUE(db->hasIndex("FAKT", "KODNUM"));
    EXPECT_TRUE(db->hasIndex("NALICZ", "FAKT"));
    EXPECT_TRUE(db->hasIndex("OBECN", "DZIEN"));
    EXPECT_EQ(Query(*db, "SELECT OBECNY FROM ZAJOBEC").scalar().toString(), "T");
    for (const StoreIndex& ix : db->indexes("NALICZ"))
        EXPECT_NE(ix.fields, QStringList({"KOD", "TYP", "OSOBA"}));
}

TEST_P(SchemaUpgradeTest, MissingTemplateCodeAloneIsAddedWithoutAsking)
{
    sql("DELETE FROM KODY WHERE RODZAJ = 'szablo' AND TYP = '4'");
    ScriptedPrompts prompts;
    prompts.expectInfo(upgrade::newest());
    upgrade::run(*db, prompts);
    EXPECT_TRUE(prompts.done());
    EXPECT_EQ(Query(*db, "SELECT NAZWA FROM KODY WHERE RODZAJ = 'szablo' AND TYP = '4'").scalar().toString(),
              "Faktura");
}

INSTANTIATE_ENGINES(SchemaUpgradeTest);
