// Index repair and compression on both engines: a repair that cannot be
// done leaves the indexes alone, one that can brings the dropped ones
// back, and compression reports every table and every failure.

#include "maintenance/compaction.h"
#include "maintenance/index_repair.h"

#include "browser/message_log.h"
#include "store/query.h"
#include "support/scripted_prompts.h"
#include "support/store_fixture.h"

#include <QSqlQuery>
#include <gtest/gtest.h>

namespace {

class StoreMaintenanceTest : public EngineTest {
protected:
    void sql(const QString& text)
    {
        Query(*db, text).exec();
        db->forgetStructure();
    }
    // The indexes as the engine has them, with their columns.
    QStringList physicalIndexes(const QString& table)
    {
        QSqlQuery q(db->connection());
        if (GetParam() == Engine::SQLite)
            q.prepare("SELECT l.name || ':' || group_concat(i.name) FROM pragma_index_list(:t) l, "
                      "pragma_index_info(l.name) i GROUP BY l.name ORDER BY l.name");
        else
            q.prepare("SELECT upper(indexname) || ':' || indexdef FROM pg_indexes WHERE tablename = lower(:t) "
                      "ORDER BY indexname");
        q.bindValue(":t", table);
        EXPECT_TRUE(q.exec());
        QStringList out;
        while (q.next())
            out << q.value(0).toString();
        return out;
    }
};

TEST_P(StoreMaintenanceTest, IndexRepairRebuildsFromTheModelOrLeavesTheTable)
{
    sql("CREATE TABLE NOTATKI (A INTEGER, B INTEGER)");
    sql("CREATE INDEX NOTATKI__AB ON NOTATKI (A, B)");
    const QStringList notes = physicalIndexes("NOTATKI");
    ASSERT_EQ(notes.size(), 1);
    {
        // No model of that name, and none chosen.
        ScriptedPrompts prompts;
        prompts.expectList(indexrepair::tableTitle(), "NOTATKI");
        prompts.expectCancel(ScriptedPrompts::Kind::List, indexrepair::modelTitle());
        EXPECT_FALSE(indexrepair::run(*db, prompts));
        EXPECT_TRUE(prompts.done());
        EXPECT_EQ(physicalIndexes("NOTATKI"), notes);
    }
    {
        // A model that does not fit the table is refused before anything goes.
        ScriptedPrompts prompts;
        prompts.expectList(indexrepair::tableTitle(), "NOTATKI");
        prompts.expectList(indexrepair::modelTitle(), "OBECN");
        prompts.expectError("Tabela NOTATKI nie posiada pola OSOBA wzorca");
        EXPECT_FALSE(indexrepair::run(*db, prompts));
        EXPECT_TRUE(prompts.done());
        EXPECT_EQ(physicalIndexes("NOTATKI"), notes);
    }
    for (const QString& table : {QStringLiteral("OBECN"), QStringLiteral("ZAJODB"), QStringLiteral("FAKT")}) {
        const QStringList before = physicalIndexes(table);
        ASSERT_FALSE(before.isEmpty());
        for (const StoreIndex& ix : db->indexes(table))
            if (!ix.primary)
                sql(QStringLiteral("DROP INDEX %1__%2")
                        .arg(table, ix.name.isEmpty() ? "BY_" + ix.fields.join('_') : ix.name));
        EXPECT_NE(physicalIndexes(table), before);
        ScriptedPrompts prompts;
        prompts.expectList(indexrepair::tableTitle(), table);
        prompts.expectInfo(indexrepair::finished());
        EXPECT_TRUE(indexrepair::run(*db, prompts));
        EXPECT_TRUE(prompts.done());
        EXPECT_EQ(physicalIndexes(table), before) << table.toStdString();
    }
}

// Follows the progress texts a window would show.
class ProgressTexts : public MessageLogView {
public:
    void messageLogChanged(const MessageLog& log) override
    {
        if (texts.isEmpty() || texts.last() != log.description())
            texts << log.description();
    }
    void showMessageLog(const MessageLog&) override {}
    void hideMessageLog() override {}
    void processPendingEvents() override {}
    QStringList texts;
};

TEST_P(StoreMaintenanceTest, CompressionShowsEachTableAndNeverEndsWellAfterAFailure)
{
    const QStringList units =
        GetParam() == Engine::SQLite ? QStringList{QStringLiteral("lunawa.db")} : db->tableNames();
    {
        ProgressTexts view;
        MessageLog log;
        log.attach(&view);
        ScriptedPrompts prompts;
        prompts.setStrictMessages(true);
        const compaction::Result result = compaction::run(*db, prompts, log);
        EXPECT_TRUE(result.failed.isEmpty());
        EXPECT_EQ(result.done, units);
        EXPECT_EQ(log.title(), compaction::title());
        EXPECT_EQ(view.texts, QStringList{""} + units + QStringList{compaction::finished()});
        EXPECT_EQ(log.bar(), 100);
    }
    // Inside another unit of work no table can be rebuilt: each is reported
    // and the next one is tried, and the end says what failed.
    ScriptedPrompts prompts;
    MessageLog log;
    compaction::Result result;
    db->batch([&] { result = compaction::run(*db, prompts, log); });
    EXPECT_TRUE(result.done.isEmpty());
    EXPECT_EQ(result.failed.size(), units.size());
    EXPECT_EQ(prompts.shown().size(), units.size());
    EXPECT_EQ(log.errors().size(), units.size());
    EXPECT_NE(log.description(), compaction::finished());
    EXPECT_TRUE(log.description().contains(units.last()));
}

INSTANTIATE_ENGINES(StoreMaintenanceTest);

}  // namespace
