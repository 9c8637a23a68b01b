// The backup copy opens as a store, with its rows and rights, from either engine.

#include "browser/message_log.h"
#include "shell/backup_command.h"
#include "shell/tdm_ochrona.h"
#include "store/backup.h"
#include "store/database.h"
#include "store/query.h"
#include "support/scripted_prompts.h"
#include "support/store_fixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void touch(const QString& path, const QByteArray& content = "x")
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
}

}  // namespace

class BackupTest : public EngineTest {};

TEST_P(BackupTest, CopyOpensAsStoreWithRowsAndLogins)
{
    Query(*db, "INSERT INTO KLASY (NAZWA, KOLEJ) VALUES (:N, 3)").bind("N", QString::fromUtf8("Żabki")).exec();
    Query(*db, "INSERT INTO POSILKI (DATA, OPIS) VALUES (:D, 'zupa')").bind("D", QDate(2024, 3, 5)).exec();
    if (GetParam() == Engine::SQLite) {
        touch(QDir(db->dataDirectory()).filePath("notatki.txt"));
        touch(QDir(db->dataDirectory()).filePath("PDOXUSRS.NET"));
        touch(QDir(db->dataDirectory()).filePath("stary.lck"));
    }

    QTemporaryDir work;
    QDir(work.path()).mkdir("Kopia0");
    QDir(work.path()).mkdir("Kopia1");
    const QString program = work.filePath("lunawa-program");
    touch(program, "program");
    const QString target = work.filePath("Nowa");

    ScriptedPrompts prompts;
    prompts.expectSaveFile("Kopiuj bazę do", target);
    prompts.expectYesNo("Uwzględnić plik wykonywalny?", true);
    MessageLog log;
    BackupEnvironment env;
    env.currentFolder = work.path();
    env.programFile = program;
    QString shownProgram;
    env.programCopied = [&](const QString& name) { shownProgram = name; };
    ASSERT_TRUE(runBackupCopy(*db, prompts, log, env));
    ASSERT_TRUE(prompts.done());
    EXPECT_TRUE(prompts.asked().first().preset.endsWith("Kopia2"));
    EXPECT_EQ(log.title(), QString::fromUtf8("Kopiowanie zbiorów"));
    EXPECT_EQ(log.description(), "Koniec operacji");
    EXPECT_EQ(log.bar(), 100);
    EXPECT_EQ(shownProgram, "lunawa-program");
    EXPECT_TRUE(QFile::exists(target + "/lunawa-program"));

    const QString baza = target + "/Baza";
    if (GetParam() == Engine::SQLite) {
        EXPECT_TRUE(QFile::exists(baza + "/notatki.txt"));
        EXPECT_FALSE(QFile::exists(baza + "/PDOXUSRS.NET"));
        EXPECT_FALSE(QFile::exists(baza + "/stary.lck"));
        EXPECT_FALSE(QFile::exists(baza + "/lunawa.db-wal"));
    }

    // The copy is a store: it opens, holds the rows and lets the administrator in.
    Database copy(StoreLocation::parse(baza));
    copy.open();
    TDMOchrona security(copy);
    ASSERT_TRUE(security.login("admin", "tebov"));
    Query klasy(copy, "SELECT NAZWA, KOLEJ FROM KLASY WHERE KOLEJ = 3");
    klasy.exec();
    ASSERT_TRUE(klasy.next());
    EXPECT_EQ(klasy.value(0).toString(), QString::fromUtf8("Żabki"));
    copy.setCredentials({"wolpemix"});
    Query meals(copy, "SELECT OPIS FROM POSILKI WHERE DATA = :D");
    meals.bind("D", QDate(2024, 3, 5)).exec();
    ASSERT_TRUE(meals.next());
    EXPECT_EQ(meals.value(0).toString(), "zupa");
    EXPECT_EQ(Query(copy, "SELECT COUNT(*) FROM KODY").scalar().toInt(),
              Query(*db, "SELECT COUNT(*) FROM KODY").scalar().toInt());
    // Numbering goes on after the copied codes.
    Query(copy, "INSERT INTO KLASY (NAZWA, KOLEJ) VALUES ('Nowa', 4)").exec();
    EXPECT_GT(Query(copy, "SELECT KOD FROM KLASY WHERE NAZWA = 'Nowa'").scalar().toInt(),
              Query(copy, "SELECT KOD FROM KLASY WHERE KOLEJ = 3").scalar().toInt());
}

TEST_P(BackupTest, ExistingOrImpossibleFolderEndsWithItsMessage)
{
    QTemporaryDir work;
    ScriptedPrompts prompts;
    MessageLog log;
    BackupEnvironment env;
    env.currentFolder = work.path();

    QDir(work.path()).mkdir("Jest");
    prompts.expectSaveFile("Kopiuj bazę do", work.filePath("Jest"));
    EXPECT_FALSE(runBackupCopy(*db, prompts, log, env));
    EXPECT_EQ(prompts.shown().last(),
              QString::fromUtf8("Folder o nazwie %1 już istnieje").arg(QDir::toNativeSeparators(work.filePath("Jest"))));

    touch(work.filePath("plik"));
    prompts.expectSaveFile("Kopiuj bazę do", work.filePath("plik/Kopia"));
    EXPECT_FALSE(runBackupCopy(*db, prompts, log, env));
    EXPECT_TRUE(prompts.shown().last().startsWith(QString::fromUtf8("Nie można utworzyć ")));

    // Cancel says nothing.
    const qsizetype shown = prompts.shown().size();
    prompts.expectCancel(ScriptedPrompts::Kind::SaveFile, "Kopiuj bazę do");
    EXPECT_FALSE(runBackupCopy(*db, prompts, log, env));
    EXPECT_EQ(prompts.shown().size(), shown);
    EXPECT_TRUE(prompts.done());
    EXPECT_TRUE(log.title().isEmpty());
}

INSTANTIATE_ENGINES(BackupTest);

TEST(Backup, DefaultTargetIsFirstFreeNumber)
{
    QTemporaryDir work;
    EXPECT_EQ(backup::defaultTarget(work.path()), work.path() + "/Kopia0");
    QDir(work.path()).mkdir("Kopia0");
    QDir(work.path()).mkdir("Kopia1");
    QDir(work.path()).mkdir("Kopia3");
    EXPECT_EQ(backup::defaultTarget(work.path() + "/"), work.path() + "/Kopia2");
}
