#include "backup.h"

#include "database.h"
#include "ddl.h"
#include "read_snapshot.h"
#include "error.h"
#include "rights.h"
#include "schema.h"
#include "schema_version.h"
#include "store_messages.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTime>
#include <QUuid>

#include "sqlite_statement.h"

#include <sqlite3.h>

namespace backup {

namespace {

const QString kStoreFile = QStringLiteral("lunawa.db");

// Files the SQLite engine keeps beside its database, and the lock and
// control files of the older table format: never part of a copy.
bool skipped(const QString& fileName)
{
    const QString lower = fileName.toLower();
    return lower.endsWith(QLatin1String(".net")) || lower.endsWith(QLatin1String(".lck"))
        || lower == QLatin1String("lunawa.db-wal") || lower == QLatin1String("lunawa.db-shm")
        || lower == QLatin1String("lunawa.db-journal");
}

void copySqlite(Database& db, const QString& target)
{
    sqlite3* source = sqliteHandle(db.connection());
    if (!source)
        throw Error(QStringLiteral("Nie można odczytać bazy danych %1").arg(db.location().describe()));
    sqlite3* dest = nullptr;
    const QByteArray path = QFile::encodeName(target);
    if (sqlite3_open_v2(path.constData(), &dest, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        const QString msg = QString::fromUtf8(sqlite3_errmsg(dest));
        sqlite3_close(dest);
        throw Error(QStringLiteral("Nie można utworzyć %1\n%2").arg(QDir::toNativeSeparators(target), msg));
    }
    sqlite3_backup* job = sqlite3_backup_init(dest, "main", source, "main");
    int rc = SQLITE_OK;
    if (job) {
        // Every page in one step under one read snapshot: copying in slices
        // starts again whenever another program writes, which on a busy store
        // may never end. A lock held by a writer is waited for, but only as
        // long as any other wait of the store.
        QElapsedTimer waited;
        waited.start();
        do {
            rc = sqlite3_backup_step(job, -1);
            if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
                sqlite3_sleep(50);
        } while ((rc == SQLITE_OK || rc == SQLITE_BUSY || rc == SQLITE_LOCKED)
                 && waited.elapsed() < db.location().lockTimeoutMs);
        sqlite3_backup_finish(job);
    }
    const int result = sqlite3_errcode(dest);
    const QString msg = QString::fromUtf8(sqlite3_errmsg(dest));
    sqlite3_close(dest);
    if (!job || (rc != SQLITE_DONE) || (result != SQLITE_OK && result != SQLITE_DONE)) {
        QFile::remove(target);
        const bool busy = rc == SQLITE_BUSY || rc == SQLITE_LOCKED;
        throw Error(QStringLiteral("Kopiowanie bazy danych nie powiodło się\n%1")
                        .arg(busy ? storemsg::busy() : msg));
    }
}

// The SQLite form of a value read from PostgreSQL, as the store layer
// writes it (dates as ISO text, times without seconds).
QVariant sqliteValue(const QVariant& v, FieldType type)
{
    if (v.isNull())
        return QVariant();
    switch (type) {
    case FieldType::Date:
        return v.toDate().toString(Qt::ISODate);
    case FieldType::Time:
        return v.toTime().toString(QStringLiteral("HH:mm"));
    case FieldType::DateTime:
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case FieldType::String:
    case FieldType::Memo:
        return v.toString().isEmpty() ? QVariant() : QVariant(v.toString());
    default:
        return v;
    }
}

// The catalogue's definition of a table as the source store has it: an
// older store lacks upgrade columns, a one-group store numbers children
// itself.
TableDef sourceDefinition(Database& db, const TableDef& catalogue)
{
    TableDef def = catalogue;
    const QList<StoreField> present = db.fields(catalogue.name);
    if (catalogue.name == QLatin1String("DZIECI")) {
        for (const StoreField& f : present)
            if (f.name == QLatin1String("KOD") && !f.autoInc)
                def = schema::oneGroupChildren();
    }
    auto has = [&](const QString& name) {
        for (const StoreField& f : present)
            if (f.name == name)
                return true;
        return false;
    };
    QList<FieldDef> fields;
    for (const FieldDef& f : def.fields)
        if (has(f.name))
            fields << f;
    def.fields = fields;
    QList<IndexDef> indexes;
    for (const IndexDef& index : def.indexes) {
        bool complete = true;
        for (const QString& f : index.fields)
            complete = complete && has(f);
        if (complete)
            indexes << index;
    }
    def.indexes = indexes;
    return def;
}

void exec(QSqlQuery& q, const QString& sql)
{
    if (!q.exec(sql))
        throw Error(q.lastError().databaseText().isEmpty() ? q.lastError().text() : q.lastError().databaseText());
}

void copyRows(QSqlDatabase from, QSqlDatabase to, const QString& table, const QStringList& columns,
              const QList<FieldType>& types)
{
    QSqlQuery read(from);
    read.setForwardOnly(true);
    exec(read, QStringLiteral("SELECT %1 FROM %2").arg(columns.join(QStringLiteral(", ")), table));
    QStringList marks;
    for (int i = 0; i < columns.size(); ++i)
        marks << QStringLiteral("?");
    QSqlQuery write(to);
    if (!write.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                           .arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")))))
        throw Error(write.lastError().text());
    while (read.next()) {
        for (int i = 0; i < columns.size(); ++i)
            write.bindValue(i, sqliteValue(read.value(i), types.at(i)));
        if (!write.exec())
            throw Error(write.lastError().databaseText().isEmpty() ? write.lastError().text()
                                                                  : write.lastError().databaseText());
    }
}

void copyPostgres(Database& db, const QString& target, const Progress& progress)
{
    const QString connectionName = QStringLiteral("lunawa-backup-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    bool ok = false;
    QString failure;
    {
        QSqlDatabase out = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        out.setDatabaseName(target);
        if (!out.open()) {
            failure = out.lastError().text();
        } else {
            QString current;
            try {
                Database::SystemAccess sys(db);
                // Every table from one state of the store, however long the copy takes.
                ReadSnapshot snapshot(db);
                QSqlDatabase in = db.connection();
                QSqlQuery ddlQuery(out);
                exec(ddlQuery, QStringLiteral("PRAGMA journal_mode=WAL"));
                if (!out.transaction())
                    throw Error(out.lastError().text());
                QList<const TableDef*> tables;
                for (const TableDef& t : schema::tables())
                    if (db.hasTable(t.name))
                        tables << &t;
                const int total = int(tables.size()) + 1;
                for (const QString& sql : ddl::createRightsTable(Engine::SQLite))
                    exec(ddlQuery, sql);
                if (progress)
                    progress(total, rights::systemTable());
                for (const QString& sql : schemaversion::createTable(Engine::SQLite))
                    exec(ddlQuery, sql);
                exec(ddlQuery, QStringLiteral("INSERT INTO %1 (WERSJA) VALUES (%2)")
                                   .arg(schemaversion::table())
                                   .arg(schemaversion::read(db)));
                current = rights::systemTable();
                copyRows(in, out, rights::systemTable(),
                         {QStringLiteral("TABELA"), QStringLiteral("NR"), QStringLiteral("HASLO"),
                          QStringLiteral("PRAWA"), QStringLiteral("RODZINA"), QStringLiteral("POLA")},
                         {FieldType::String, FieldType::Integer, FieldType::String, FieldType::Integer,
                          FieldType::Integer, FieldType::Memo});
                for (const TableDef* catalogue : tables) {
                    current = catalogue->name;
                    if (progress)
                        progress(total, catalogue->name);
                    const TableDef def = sourceDefinition(db, *catalogue);
                    for (const QString& sql : ddl::createTable(def, Engine::SQLite))
                        exec(ddlQuery, sql);
                    QStringList columns;
                    QList<FieldType> types;
                    for (const FieldDef& f : def.fields) {
                        columns << f.name;
                        types << f.type;
                    }
                    if (!columns.isEmpty())
                        copyRows(in, out, def.name, columns, types);
                }
                current.clear();
                if (!out.commit())
                    throw Error(out.lastError().text());
                ok = true;
            } catch (const Error& e) {
                out.rollback();
                failure = current.isEmpty() ? e.message()
                                            : QStringLiteral("Nie skopiowano tabeli %1\n%2").arg(current, e.message());
            }
            out.close();
        }
    }
    QSqlDatabase::removeDatabase(connectionName);
    if (!ok) {
        for (const char* suffix : {"", "-wal", "-shm"})
            QFile::remove(target + QString::fromLatin1(suffix));
        throw Error(QStringLiteral("Kopiowanie bazy danych nie powiodło się\n%1").arg(failure));
    }
}

}  // namespace

QString defaultTarget(const QString& currentFolder)
{
    QString base = QDir::fromNativeSeparators(currentFolder);
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/');
    QString candidate;
    for (int n = 0; n < 1000; ++n) {
        candidate = base + QStringLiteral("Kopia") + QString::number(n);
        if (!QFileInfo::exists(candidate))
            break;
    }
    return candidate;
}

void copyStore(Database& db, const QString& bazaFolder, const Progress& progress)
{
    const QString target = QDir(bazaFolder).filePath(kStoreFile);
    if (QFileInfo::exists(target))
        throw Error(QStringLiteral("W folderze %1 już istnieje baza danych").arg(QDir::toNativeSeparators(bazaFolder)));
    if (db.engine() == Engine::PostgreSQL) {
        copyPostgres(db, target, progress);
        return;
    }
    const QDir data(db.dataDirectory());
    const QFileInfoList entries = data.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDir::Name);
    const int total = int(entries.size());
    for (const QFileInfo& entry : entries) {
        if (progress)
            progress(total, entry.fileName());
        if (entry.isDir() || skipped(entry.fileName()))
            continue;
        if (entry.fileName().compare(kStoreFile, Qt::CaseInsensitive) == 0)
            copySqlite(db, target);
        else
            QFile::copy(entry.filePath(), QDir(bazaFolder).filePath(entry.fileName()));  // a failed copy is passed over
    }
}

}  // namespace backup
