// The questions and folder dialogs of "Eksportuj grupę dzieci" and
// "Importuj grupę dzieci", in a main and in a group installation, with the
// folders they remember.

#include "shell/register_fixture.h"

#include "browser/key_value_settings.h"
#include "browser/message_log.h"
#include "maintenance/group_import.h"
#include "maintenance/group_transfer_flow.h"
#include "store/ddl.h"
#include "store/query.h"
#include "store/schema.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

class GroupFlowTest : public RegisterTest {
protected:
    int addGroup(const QString& name, int kolej)
    {
        Query(*db, QStringLiteral("INSERT INTO KLASY (NAZWA, KOLEJ) VALUES (:N, :K)"))
            .bind(QStringLiteral("N"), name)
            .bind(QStringLiteral("K"), kolej)
            .exec();
        return Query(*db, QStringLiteral("SELECT MAX(KOD) FROM KLASY")).scalar().toInt();
    }
    QString path(const QString& name) const { return QDir(m_dir.path()).filePath(name); }
    QString remembered(const QString& key) { return settings.text(groupflow::settingsGroup(), key); }

    QTemporaryDir m_dir;
    MemorySettings settings;
    MessageLog log;
};

TEST_P(GroupFlowTest, MainInstallationAsksForTheGroupAndRemembersFolders)
{
    const int misie = addGroup(QStringLiteral("Misie"), 1);
    addGroup(QStringLiteral("Żabki"), 2);
    context().messages = &log;
    const QString root = path("Grupa");

    prompts.expectCancel(ScriptedPrompts::Kind::List, QStringLiteral("Wybierz grupę dzieci do wyeksportowania"));
    EXPECT_FALSE(groupflow::exportGroup(context(), settings, root));
    EXPECT_TRUE(prompts.done());

    const QString target = path("Misie_marzec");
    prompts.expectList(QStringLiteral("Wybierz grupę dzieci do wyeksportowania"), misie);
    prompts.expectYesNo(groupflow::skipGroupDataQuestion(), false);
    prompts.expectSaveFile(QStringLiteral("Określ nazwę katalogu"), target);
    EXPECT_TRUE(groupflow::exportGroup(context(), settings, root));
    EXPECT_TRUE(prompts.done());
    EXPECT_EQ(prompts.asked().last().preset, root + "_Misie");
    EXPECT_EQ(remembered(groupflow::exportKey()), target);
    EXPECT_EQ(remembered(groupflow::exportKey() + QString::number(misie)), target);
    EXPECT_TRUE(QFileInfo::exists(target + "/lunawa.db"));
    EXPECT_EQ(log.title(), QStringLiteral("Eksportuj grupę dzieci"));
    EXPECT_EQ(log.description(), QStringLiteral("Koniec operacji"));

    // A name typed inside an earlier transfer folder means that folder.
    prompts.expectList(QStringLiteral("Wybierz grupę dzieci do wyeksportowania"), misie);
    prompts.expectYesNo(groupflow::skipGroupDataQuestion(), true);
    prompts.expectSaveFile(QStringLiteral("Określ nazwę katalogu"), target + "/cokolwiek");
    EXPECT_TRUE(groupflow::exportGroup(context(), settings, root));
    EXPECT_EQ(prompts.asked().last().preset, target);
    EXPECT_EQ(remembered(groupflow::exportKey()), target);

    const int asked = int(prompts.asked().size());
    prompts.expectOpenFile(QStringLiteral("Wybierz katalog z danymi"), target + "/lunawa.db");
    prompts.expectYesNo(groupimport::onlyGroupDataQuestion(), true);
    EXPECT_TRUE(groupflow::importGroup(context(), settings, root));
    EXPECT_TRUE(prompts.done());
    EXPECT_EQ(prompts.asked().at(asked).preset, root + "/lunawa.db");
    EXPECT_EQ(remembered(groupflow::importKey()), target);
    EXPECT_EQ(log.title(), QStringLiteral("Importuj grupę dzieci"));
    EXPECT_EQ(log.description(), QStringLiteral("Koniec operacji"));

    if (GetParam() == Engine::SQLite) {
        const QString live = db->dataDirectory();
        prompts.expectOpenFile(QStringLiteral("Wybierz katalog z danymi"), live + "/lunawa.db");
        prompts.expectError(QStringLiteral("Katalog \"%1\" jest katalogiem bazy, określ inny").arg(QDir::toNativeSeparators(live)));
        EXPECT_FALSE(groupflow::importGroup(context(), settings, root));
        EXPECT_TRUE(prompts.done());
    }
}

TEST_P(GroupFlowTest, GroupInstallationOffersTheRememberedFolder)
{
    Query(*db, QStringLiteral("DROP TABLE DZIECI")).exec();
    for (const QString& sql : ddl::createTable(schema::oneGroupChildren(), GetParam()))
        Query(*db, sql).exec();
    db->forgetStructure();
    addGroup(QStringLiteral("Misie"), 1);
    context().messages = &log;
    context().baza.setSystemDate(QDate(2024, 3, 10));
    const QString folder = path("Do_przedszkola");
    settings.setValue(groupflow::settingsGroup(), groupflow::exportKey(), folder);

    // Attendance from the previous month early in a month; "OK" keeps the folder.
    prompts.expectMonth(QStringLiteral("Granica obecności"), 2024, 2);
    prompts.expectChoice(QStringLiteral("Katalog docelowy eksportu dzieci"), -1).withText(QDir::toNativeSeparators(folder));
    EXPECT_TRUE(groupflow::exportGroup(context(), settings, path("Grupa")));
    EXPECT_TRUE(prompts.done());
    EXPECT_EQ(prompts.asked().first().preset, QStringLiteral("2024-2"));
    EXPECT_TRUE(QFileInfo::exists(folder + "/lunawa.db"));

    // "Inny" then cancel touches nothing; a remembered folder gone is refused.
    prompts.expectChoice(QStringLiteral("Katalog z danymi"), -2);
    prompts.expectCancel(ScriptedPrompts::Kind::OpenFile, QStringLiteral("Wybierz katalog z danymi"));
    EXPECT_FALSE(groupflow::importGroup(context(), settings, path("Grupa")));
    prompts.expectChoice(QStringLiteral("Katalog z danymi"), -1);
    prompts.expectError(QStringLiteral("Katalog \"%1\" nie istnieje, określ inny").arg(QDir::toNativeSeparators(path("Grupa"))));
    EXPECT_FALSE(groupflow::importGroup(context(), settings, path("Grupa")));
    EXPECT_TRUE(prompts.done());
}

INSTANTIATE_ENGINES(GroupFlowTest);

}  // namespace
