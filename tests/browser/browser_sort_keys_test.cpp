#include "browser/sort_choice.h"
#include "browser/typed_keys.h"
#include "store/table.h"
#include "support/browser_run.h"

#include <gtest/gtest.h>

namespace {

QStringList fieldsOf(const QList<SortOption>& options)
{
    QStringList out;
    for (const SortOption& o : options)
        out << o.fields;
    return out;
}

}  // namespace

TEST(BrowserSort, DetailTablesOfferOnlyIndexesBeginningWithTheMasterFields)
{
    BrowserRun run;
    Table children(run.baza->database(), "DZIECI");
    children.setOrdering("AKTYWNY;NAZWA");
    children.open();
    DataSet ds;
    ds.name = "Dzieci";
    ds.table = &children;
    ds.addRemainingFields();
    EXPECT_TRUE(fieldsOf(sorting::options(ds)).contains("KOD"));
    EXPECT_EQ(sorting::masterPrefix(children), "");

    Table master(run.baza->database(), "DZIECI");
    master.open();
    children.setMasterLink(&master, "AKTYWNY", "AKTYWNY");
    EXPECT_EQ(sorting::masterPrefix(children), "AKTYWNY");
    const QStringList offered = fieldsOf(sorting::options(ds));
    EXPECT_FALSE(offered.contains("KOD"));
    EXPECT_TRUE(offered.contains("AKTYWNY;NAZWA"));
    EXPECT_TRUE(offered.contains("AKTYWNY;KLASA;NAZWA"));
    for (const QString& f : offered)
        EXPECT_TRUE(f.startsWith("AKTYWNY;")) << f.toStdString();

    run.prompts.expectSortOrder("Sortowanie", "AKTYWNY;PESEL");
    ASSERT_TRUE(sorting::choose(run.prompts, ds));
    EXPECT_EQ(children.ordering(), "AKTYWNY;PESEL");
    children.clearMasterLink();
    EXPECT_TRUE(run.prompts.done());
}

TEST(BrowserTypedKeys, OnlyTheKeysOfTheRoleGoToTheModule)
{
    using typed::routed;
    EXPECT_EQ(routed("TDMObecn", roles::attendance(), u't'), QChar(u'T'));
    EXPECT_EQ(routed("TDMObecn", roles::attendance(), u'z'), QChar(u'Z'));
    EXPECT_EQ(routed("TDMObecn", roles::attendance(), typed::kBackspace), typed::kBackspace);
    EXPECT_FALSE(routed("TDMObecn", roles::attendance(), u'x'));
    EXPECT_FALSE(routed("TDMObecn", roles::attendance(), u'5'));
    EXPECT_EQ(routed("TDMObecn", roles::count(), u'5'), QChar(u'5'));
    EXPECT_FALSE(routed("TDMObecn", roles::count(), u'T'));
    EXPECT_EQ(routed("TDMObecn", roles::arrival(), u't'), QChar(u't'));
    EXPECT_EQ(routed("TDMObecn", roles::departure(), u'7'), QChar(u'7'));
    EXPECT_EQ(routed("TDMNalDod", roles::extraCharge(), u'n'), QChar(u'n'));
    EXPECT_FALSE(routed("TDMNalDod", roles::extraCharge(), u'Z'));
    // Another module's grid types as any grid.
    EXPECT_FALSE(routed("TDMDzieci", roles::attendance(), u'T'));
    EXPECT_FALSE(routed("TDMObecn", roles::extraCharge(), u'5'));
}
