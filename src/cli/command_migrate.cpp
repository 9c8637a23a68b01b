// lunawactl migrate FOLDER STORE: a new store made from a folder of Paradox
// tables of an older installation. The store must not exist yet; when the
// migration fails a new SQLite store is removed again.

#include "cli.h"
#include "module_session.h"
#include "option_values.h"

#include "maintenance/paradox_migration.h"
#include "store/database.h"
#include "store/store_creator.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace cli {

namespace {

int runMigrate(Context& ctx)
{
    return guarded(ctx, [&] {
        if (ctx.arguments.size() != 2)
            throw UsageError(QStringLiteral("Użycie: lunawactl migrate FOLDER BAZA"));
        const QString folder = ctx.arguments.at(0);
        if (!QFileInfo(folder).isDir())
            throw Error(QStringLiteral("Nie ma folderu %1").arg(QDir::toNativeSeparators(folder)));
        const StoreLocation target = StoreLocation::parse(ctx.arguments.at(1));
        if (target.engine == Engine::SQLite && QDir(target.folder).absolutePath() == QDir(folder).absolutePath())
            throw Error(QStringLiteral("Nowa baza nie może powstać w folderze tabel źródłowych"));
        store::create(target, InstitutionData{});
        migration::Report report;
        try {
            Database db(target);
            db.open();
            report = migration::migrateParadoxFolder(db, folder);
        } catch (const Error&) {
            if (target.engine == Engine::SQLite)
                for (const char* suffix : {"", "-wal", "-shm"})
                    QFile::remove(target.sqliteFile() + QString::fromLatin1(suffix));
            throw;
        }
        for (const QString& line : migration::reportLines(report))
            ctx.out << line << '\n';
        return int(Success);
    });
}

const Registration migrateCommand{{
    QStringLiteral("migrate"),
    QStringLiteral("migrate FOLDER BAZA  (tabele Paradox do nowej bazy)"),
    runMigrate,
}};

}  // namespace

}  // namespace cli
