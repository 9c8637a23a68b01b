#include "group_transfer.h"

#include "browser/message_log.h"
#include "store/database.h"
#include "store/query.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTime>

namespace grouptransfer {

bool oneGroupStore(Database& db)
{
    if (!db.hasTable(QStringLiteral("DZIECI")))
        return false;
    for (const StoreField& f : db.fields(QStringLiteral("DZIECI")))
        if (f.name == QLatin1String("KOD"))
            return !f.autoInc;
    return false;
}

QList<QPair<int, QString>> groups(Database& db)
{
    QList<QPair<int, QString>> out;
    Query q(db, QStringLiteral("SELECT KOD, NAZWA FROM KLASY WHERE KOD <> 0 ORDER BY KOLEJ, KOD"));
    q.exec();
    while (q.next())
        out.append({q.value(0).toInt(), q.value(1).toString()});
    return out;
}

QString transferFile(const QString& folder)
{
    return QDir(folder).filePath(QStringLiteral("lunawa.db"));
}

namespace {

QString canonical(const QString& path)
{
    const QFileInfo info(path);
    QString c = info.exists() ? info.canonicalFilePath() : QDir::cleanPath(info.absoluteFilePath());
    if (!c.endsWith(QLatin1Char('/')))
        c += QLatin1Char('/');
    return c;
}

}  // namespace

bool overlapsStore(Database& db, const QString& folder)
{
    if (db.engine() != Engine::SQLite)
        return false;
    const QString store = canonical(db.dataDirectory());
    // A folder not made yet may still name one inside the store.
    const QString target = canonical(folder);
    const Qt::CaseSensitivity cs =
#ifdef Q_OS_WIN
        Qt::CaseInsensitive;
#else
        Qt::CaseSensitive;
#endif
    return target.startsWith(store, cs) || store.startsWith(target, cs);
}

QString storeFolderMessage(const QString& folder)
{
    return QStringLiteral("Katalog \"%1\" jest katalogiem bazy, określ inny").arg(QDir::toNativeSeparators(folder));
}

QString missingFolderMessage(const QString& folder)
{
    return QStringLiteral("Katalog \"%1\" nie istnieje, określ inny").arg(QDir::toNativeSeparators(folder));
}

QString text(const QVariant& v, FieldType type)
{
    if (v.isNull() || !v.isValid())
        return QString();
    switch (type) {
    case FieldType::Date:
        return v.typeId() == QMetaType::QDate ? v.toDate().toString(Qt::ISODate) : v.toString().left(10);
    case FieldType::Time:
        return v.typeId() == QMetaType::QTime ? v.toTime().toString(QStringLiteral("HH:mm")) : v.toString().left(5);
    case FieldType::DateTime:
        return v.typeId() == QMetaType::QDateTime ? v.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))
                                                  : v.toString().replace(QLatin1Char('T'), QLatin1Char(' ')).left(19);
    case FieldType::Float:
        return QString::number(v.toDouble(), 'g', 15);
    case FieldType::AutoInc:
    case FieldType::Integer:
    case FieldType::SmallInt:
        return QString::number(v.toLongLong());
    case FieldType::Graphic:
        return QString::fromLatin1(v.toByteArray().toBase64());
    default:
        return v.toString();
    }
}

QVariant bindable(const QVariant& v, FieldType type)
{
    if (v.isNull() || !v.isValid())
        return QVariant();
    const QString t = text(v, type);
    switch (type) {
    case FieldType::Date:
        return QDate::fromString(t, Qt::ISODate);
    case FieldType::Time:
        return QTime::fromString(t, QStringLiteral("HH:mm"));
    case FieldType::DateTime:
        return QDateTime::fromString(t, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    case FieldType::String:
    case FieldType::Memo:
        return t.isEmpty() ? QVariant() : QVariant(t);
    case FieldType::Graphic:
        return v.toByteArray();
    default:
        return v;
    }
}

void continueNumbering(Database& db, const QString& table)
{
    if (db.engine() != Engine::PostgreSQL)
        return;
    for (const StoreField& f : db.fields(table)) {
        if (!f.autoInc)
            continue;
        Query(db, QStringLiteral("SELECT setval(pg_get_serial_sequence(lower(:T), lower(:F)), "
                                 "COALESCE((SELECT MAX(%1) FROM %2), 0) + 1, false)")
                      .arg(f.name, table))
            .bind(QStringLiteral("T"), table)
            .bind(QStringLiteral("F"), f.name)
            .exec();
    }
}

QList<FieldDef> presentFields(Database& db, const QString& table)
{
    QList<FieldDef> out;
    const TableDef* def = schema::table(table);
    if (!def)
        return out;
    for (const FieldDef& f : def->fields)
        if (db.hasColumn(table, f.name))
            out << f;
    return out;
}

TableDef definitionWith(const QString& table, const QList<FieldDef>& fields)
{
    TableDef def = *schema::table(table);
    def.fields = fields;
    QList<IndexDef> indexes;
    for (const IndexDef& ix : def.indexes) {
        bool complete = true;
        for (const QString& f : ix.fields)
            complete = complete && def.field(f);
        if (complete)
            indexes << ix;
    }
    def.indexes = indexes;
    return def;
}

QList<QVariantList> readRows(Database& db, const QString& table, const QList<FieldDef>& fields,
                             const RowSelection& selection)
{
    QStringList columns;
    for (const FieldDef& f : fields)
        columns << f.name;
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(columns.join(QStringLiteral(", ")), table);
    if (!selection.where.isEmpty())
        sql += QStringLiteral(" WHERE ") + selection.where;
    Query q(db, sql);
    if (selection.bind)
        selection.bind(q);
    q.exec();
    QList<QVariantList> out;
    while (q.next()) {
        QVariantList row;
        row.reserve(fields.size());
        for (int i = 0; i < fields.size(); ++i)
            row << q.value(i);
        out << row;
    }
    return out;
}

int copyRows(Database& from, const QString& table, const QList<FieldDef>& fields, const RowSelection& selection,
             const std::function<void(const QVariantList&)>& write, MessageLog* log, const QString& progress)
{
    const QList<QVariantList> rows = readRows(from, table, fields, selection);
    // The bar and counter go over each table's rows.
    if (log) {
        log->resetProgress();
        log->step(0, progress, false);
    }
    for (const QVariantList& row : rows) {
        if (log)
            log->step(int(rows.size()), progress);
        write(row);
    }
    return int(rows.size());
}

}  // namespace grouptransfer
