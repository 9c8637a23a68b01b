// The first registers opened by area name: the window's title and data set,
// and the module belonging to the window.

#include "register_fixture.h"

#include "shell/basic_areas.h"
#include "store/table.h"

namespace {

class BasicAreasTest : public RegisterTest {};

TEST_P(BasicAreasTest, OpenedByName)
{
    registerBasicAreas(areas);
    const QList<QPair<QString, QString>> expected{
        {QStringLiteral("Uzytkownicy"), QStringLiteral("Użytkownicy")},
        {QStringLiteral("Grupy"), QStringLiteral("Grupy")},
        {QStringLiteral("Konfiguracja"), QStringLiteral("Konfiguracja")},
        {QStringLiteral("Obrazy"), QStringLiteral("Obrazy")},
        {QStringLiteral("Czasbezpatny"), QStringLiteral("Czas bezpłatny")},
        {QStringLiteral("Graniceobecnoci"), QStringLiteral("Granice obecności")},
    };
    const QStringList tables{QStringLiteral("UZYT"), QStringLiteral("GRUPY"), QStringLiteral("OPCJE"),
                             QStringLiteral("OBRAZY"), QStringLiteral("CZASBEZP"), QStringLiteral("CZASGRAN")};
    for (int i = 0; i < expected.size(); ++i) {
        ASSERT_TRUE(areas.open(expected[i].first, context())) << expected[i].first.toStdString();
        ASSERT_EQ(opener.open().size(), i + 1);
        const RecordingOpener::Opened& w = opener.open().back();
        EXPECT_EQ(w.title, expected[i].second);
        EXPECT_EQ(w.dataSet, w.module->mainDataSet());
        EXPECT_EQ(w.dataSet->table->tableName(), tables[i]);
        EXPECT_EQ(w.owner, nullptr);
        EXPECT_TRUE(w.module->windowOwned());
        EXPECT_EQ(w.module->parent(), opener.windows.back().get());
    }
    EXPECT_FALSE(areas.has(QStringLiteral("Dzieci")));

    // A detail window leaves the module with the window that owns it.
    TDMDane* users = opener.open().first().module;
    QObject* window = users->parent();
    users->mainDataSet()->command(QStringLiteral("UzytGrup1"))->handler();
    EXPECT_EQ(users->parent(), window);
    EXPECT_EQ(opener.windows.size(), expected.size());
}

INSTANTIATE_ENGINES(BasicAreasTest);

}  // namespace
