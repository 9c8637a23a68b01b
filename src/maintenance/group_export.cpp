#include "group_export.h"

#include "group_transfer.h"

#include "browser/message_log.h"
#include "store/database.h"
#include "store/ddl.h"
#include "store/error.h"
#include "store/query.h"
#include "store/read_snapshot.h"
#include "store/rights.h"
#include "store/schema.h"
#include "store/schema_version.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace groupexport {

namespace {

const QStringList groupDataTables{QStringLiteral("OBECN"), QStringLiteral("OBECM"), QStringLiteral("ZAJODB"),
                                  QStringLiteral("ZAJOBEC"), QStringLiteral("NALKLA"), QStringLiteral("NALDOD")};

const QString childOfGroup = QStringLiteral("OSOBA IN (SELECT KOD FROM DZIECI WHERE KLASA = :G)");
const QString classOfGroup = QStringLiteral("(KLASA = :G OR KLASA IS NULL)");

// The rows of a table that belong to the group (empty: every row).
QString groupCondition(const QString& table)
{
    if (table == QLatin1String("KLASY"))
        return QStringLiteral("KOD = :G");
    if (table == QLatin1String("DZIECI") || table == QLatin1String("INFORM") || table == QLatin1String("NALKLA")
        || table == QLatin1String("NALDOD"))
        return QStringLiteral("KLASA = :G");
    if (table == QLatin1String("ODBIERA") || table == QLatin1String("DZIECZAS") || table == QLatin1String("OBECN")
        || table == QLatin1String("OBECM") || table == QLatin1String("DZIEZAJ"))
        return childOfGroup;
    if (table == QLatin1String("ZAJDOD") || table == QLatin1String("ZAJODB") || table == QLatin1String("ZAJOBEC"))
        return classOfGroup;
    if (table == QLatin1String("ZAJDAT"))
        return QStringLiteral("ZAJECIE IN (SELECT KOD FROM ZAJDOD WHERE ") + classOfGroup + QLatin1Char(')');
    return QString();
}

// Attendance older than the lower bound stays at the group installation.
QString dateCondition(const QString& table)
{
    if (table == QLatin1String("OBECN") || table == QLatin1String("ZAJODB"))
        return QStringLiteral("DATA >= :B");
    if (table == QLatin1String("OBECM"))
        return QStringLiteral("(ROK > :Y OR (ROK = :Y AND MIES >= :M))");
    if (table == QLatin1String("ZAJOBEC"))
        return QStringLiteral("EXISTS (SELECT 1 FROM ZAJODB Z WHERE Z.ID = ZAJOBEC.ID AND "
                              "(Z.KLASA = ZAJOBEC.KLASA OR (Z.KLASA IS NULL AND ZAJOBEC.KLASA IS NULL)) "
                              "AND Z.DATA >= :B)");
    return QString();
}

// The table as the transfer store has it: the source's fields, every
// auto-numbered one a plain integer key.
TableDef transferDefinition(Database& db, const QString& table)
{
    QList<FieldDef> fields = grouptransfer::presentFields(db, table);
    for (FieldDef& f : fields)
        if (f.type == FieldType::AutoInc)
            f.type = FieldType::Integer;
    return grouptransfer::definitionWith(table, fields);
}

QVariant storedForm(const QVariant& v, FieldType type)
{
    switch (type) {
    case FieldType::Date:
    case FieldType::Time:
    case FieldType::DateTime:
    case FieldType::String:
    case FieldType::Memo: {
        const QString t = grouptransfer::text(v, type);
        return t.isEmpty() ? QVariant() : QVariant(t);
    }
    default:
        return v.isNull() ? QVariant() : v;
    }
}

void run(QSqlQuery& q, const QString& sql)
{
    if (!q.exec(sql))
        throw Error(q.lastError().databaseText().isEmpty() ? q.lastError().text() : q.lastError().databaseText());
}

class Writer {
public:
    Writer(Database& db, QSqlDatabase out, const Options& options, MessageLog* log)
        : m_db(db), m_out(out), m_options(options), m_log(log), m_mainInstallation(!grouptransfer::oneGroupStore(db))
    {
    }

    int table(const QString& name)
    {
        const TableDef def = transferDefinition(m_db, name);
        QSqlQuery ddlQuery(m_out);
        for (const QString& sql : ddl::createTable(def, Engine::SQLite))
            run(ddlQuery, sql);
        if (m_mainInstallation)
            copyRights(name);
        if (name == QLatin1String("DZIEINF") || name == QLatin1String("LINKI")
            || (m_options.skipGroupData && groupDataTables.contains(name)))
            return 0;
        QStringList conditions;
        const QString group = m_options.group ? groupCondition(name) : QString();
        if (!group.isEmpty())
            conditions << group;
        const QString dated = m_options.attendanceFrom.isValid() ? dateCondition(name) : QString();
        if (!dated.isEmpty())
            conditions << dated;
        grouptransfer::RowSelection selection;
        selection.where = conditions.join(QStringLiteral(" AND "));
        selection.bind = [&](Query& read) {
            if (!group.isEmpty())
                read.bind(QStringLiteral("G"), *m_options.group);
            if (dated.isEmpty())
                return;
            const QDate b = m_options.attendanceFrom;
            if (name == QLatin1String("OBECM"))
                read.bind(QStringLiteral("Y"), b.year()).bind(QStringLiteral("M"), b.month());
            else
                read.bind(QStringLiteral("B"), b);
        };
        QStringList columns;
        for (const FieldDef& f : def.fields)
            columns << f.name;
        QStringList marks(columns.size(), QStringLiteral("?"));
        QSqlQuery write(m_out);
        if (!write.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(name, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")))))
            throw Error(write.lastError().text());
        return grouptransfer::copyRows(
            m_db, name, def.fields, selection,
            [&](const QVariantList& row) {
                for (int i = 0; i < row.size(); ++i)
                    write.bindValue(i, storedForm(row[i], def.fields[i].type));
                if (!write.exec())
                    throw Error(write.lastError().databaseText().isEmpty() ? write.lastError().text()
                                                                          : write.lastError().databaseText());
            },
            m_log, QStringLiteral("Eksport tabeli ") + name);
    }

    void rightsTable()
    {
        QSqlQuery q(m_out);
        for (const QString& sql : ddl::createRightsTable(Engine::SQLite))
            run(q, sql);
    }

    void level()
    {
        QSqlQuery q(m_out);
        for (const QString& sql : schemaversion::createTable(Engine::SQLite))
            run(q, sql);
        q.prepare(QStringLiteral("INSERT INTO %1 (WERSJA) VALUES (?)").arg(schemaversion::table()));
        q.addBindValue(schemaversion::read(m_db));
        if (!q.exec())
            throw Error(q.lastError().text());
    }

private:
    // The table keeps the logins' rights it had in the main installation.
    void copyRights(const QString& table)
    {
        Query read(m_db, QStringLiteral("SELECT NR, HASLO, PRAWA, RODZINA, POLA FROM %1 WHERE TABELA = :T")
                             .arg(rights::systemTable()));
        read.bind(QStringLiteral("T"), table).exec();
        QSqlQuery write(m_out);
        write.prepare(QStringLiteral("INSERT INTO %1 (TABELA, NR, HASLO, PRAWA, RODZINA, POLA) VALUES (?, ?, ?, ?, ?, ?)")
                          .arg(rights::systemTable()));
        while (read.next()) {
            write.addBindValue(table);
            for (int i = 0; i < 5; ++i)
                write.addBindValue(read.value(i));
            if (!write.exec())
                throw Error(write.lastError().text());
        }
    }

    Database& m_db;
    QSqlDatabase m_out;
    const Options& m_options;
    MessageLog* m_log;
    bool m_mainInstallation;
};

void removeStoreFiles(const QString& file)
{
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
        QFile::remove(file + QString::fromLatin1(suffix));
}

}  // namespace

const QStringList& tables()
{
    static const QStringList list{
        QStringLiteral("FIRMA"),   QStringLiteral("OPCJE"),    QStringLiteral("GRUPY"),   QStringLiteral("UZYT"),
        QStringLiteral("UZGR"),    QStringLiteral("KODY"),     QStringLiteral("KLASY"),   QStringLiteral("MIESIACE"),
        QStringLiteral("CZASBEZP"), QStringLiteral("CZASGRAN"), QStringLiteral("DZIECI"),  QStringLiteral("ODBIERA"),
        QStringLiteral("DZIECZAS"), QStringLiteral("OBECN"),    QStringLiteral("OBECM"),   QStringLiteral("ZAJDOD"),
        QStringLiteral("DZIEZAJ"), QStringLiteral("ZAJDAT"),   QStringLiteral("ZAJODB"),  QStringLiteral("ZAJOBEC"),
        QStringLiteral("INFORM"),  QStringLiteral("DZIEINF"),  QStringLiteral("LINKI"),   QStringLiteral("NALKLA"),
        QStringLiteral("NALDOD"),
    };
    return list;
}

void checkTarget(Database& db, const QString& folder)
{
    const QFileInfo info(folder);
    if ((info.exists() && QDir::cleanPath(folder).endsWith(QLatin1String("BAZA"), Qt::CaseInsensitive))
        || grouptransfer::overlapsStore(db, folder))
        throw Error(grouptransfer::storeFolderMessage(folder));
    if (!info.exists() && !QDir().mkpath(folder))
        throw Error(QStringLiteral("Nie można utworzyć ") + QDir::toNativeSeparators(folder));
}

QList<Copied> run(Database& db, const QString& folder, const Options& options, MessageLog* log)
{
    checkTarget(db, folder);
    Database::SystemAccess sys(db);
    const QString target = grouptransfer::transferFile(folder);
    const QString building = target + QStringLiteral(".nowa");
    removeStoreFiles(building);
    const QString connectionName = QStringLiteral("lunawa-export-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    QList<Copied> copied;
    QString failure;
    {
        QSqlDatabase out = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        out.setDatabaseName(building);
        if (!out.open()) {
            failure = out.lastError().text();
        } else {
            QString current;
            try {
                ReadSnapshot snapshot(db);
                out.transaction();
                Writer writer(db, out, options, log);
                writer.rightsTable();
                writer.level();
                for (const QString& table : tables()) {
                    if (!db.hasTable(table))
                        continue;
                    current = table;
                    if (log)
                        log->step(0, QStringLiteral("Eksport tabeli ") + table, false);
                    copied << Copied{table, writer.table(table)};
                }
                current.clear();
                if (!out.commit())
                    throw Error(out.lastError().text());
            } catch (const Error& e) {
                out.rollback();
                failure = current.isEmpty() ? e.message()
                                            : QStringLiteral("Nie wyeksportowano tabeli %1\n%2").arg(current, e.message());
            }
            out.close();
        }
    }
    QSqlDatabase::removeDatabase(connectionName);
    if (!failure.isEmpty()) {
        removeStoreFiles(building);
        throw Error(failure);
    }
    removeStoreFiles(target);
    if (!QFile::rename(building, target)) {
        removeStoreFiles(building);
        throw Error(QStringLiteral("Nie można utworzyć ") + QDir::toNativeSeparators(target));
    }
    return copied;
}

}  // namespace groupexport
