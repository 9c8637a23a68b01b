#include "rights.h"

#include "database.h"
#include "error.h"
#include "pg_user_roles.h"
#include "query.h"

#include <algorithm>

int TableRights::field(const QString& name) const
{
    if (everything)
        return rights::All;
    return fields.value(name.toUpper(), rights::All);
}

namespace rights {

namespace {

const int tableMasks[] = {0, 1, 3, 7, 15, 31};

QString encodeFields(const QList<int>& masks)
{
    QStringList parts;
    for (int m : masks)
        parts << QString::number(m);
    return parts.join(QLatin1Char(','));
}

QList<int> decodeFields(const QString& text)
{
    QList<int> out;
    for (const QString& p : text.split(QLatin1Char(','), Qt::SkipEmptyParts))
        out << p.trimmed().toInt();
    return out;
}

}  // namespace

int tableMaskOfLevel(int level)
{
    return level >= 0 && level <= 5 ? tableMasks[level] : 255;
}

int fieldMaskOfLevel(int level)
{
    switch (level) {
    case 0: return 0;
    case 1: return 1;
    case 5: return 31;
    default: return 255;
    }
}

int levelOfTableMask(int mask)
{
    for (int level = 0; level <= 5; ++level)
        if (tableMasks[level] == mask)
            return level;
    return -1;
}

int levelOfFieldMask(int mask)
{
    switch (mask) {
    case 0: return 0;
    case 1: return 1;
    case 31: return 5;
    default: return -1;
    }
}

QList<RightsDescriptor> readDescriptors(Database& db, const QString& table)
{
    Database::SystemAccess sys(db);
    Query q(db, QStringLiteral("SELECT NR, HASLO, PRAWA, RODZINA, POLA FROM LW_PRAWA WHERE TABELA = :T ORDER BY NR"));
    q.bind(QStringLiteral("T"), table.toUpper()).exec();
    QList<RightsDescriptor> out;
    while (q.next())
        out.append({q.value(0).toInt(), q.value(1).toString(), q.value(2).toInt(), q.value(3).toInt(),
                    decodeFields(q.value(4).toString())});
    return out;
}

void writeDescriptors(Database& db, const QString& tableName, const QString& master,
                      const QList<RightsDescriptor>& given)
{
    if (master != masterCredential())
        throw AccessDenied();
    const QString table = tableName.toUpper();
    if (!db.hasTable(table))
        throw Error(QStringLiteral("Tabela %1 nie istnieje").arg(table));
    Database::SystemAccess sys(db);
    db.batch([&] {
        const QList<RightsDescriptor> existing = readDescriptors(db, table);
        QList<bool> used(given.size(), false);
        for (const RightsDescriptor& old : existing) {
            const auto it = std::find_if(given.begin(), given.end(),
                                         [&](const RightsDescriptor& g) { return g.credential == old.credential; });
            if (it == given.end())
                continue;
            used[it - given.begin()] = true;
            if (it->tableRights != 0) {
                Query(db, QStringLiteral("UPDATE LW_PRAWA SET PRAWA = :P, RODZINA = :R, POLA = :F "
                                         "WHERE TABELA = :T AND NR = :N"))
                    .bind(QStringLiteral("P"), it->tableRights)
                    .bind(QStringLiteral("R"), it->familyRights)
                    .bind(QStringLiteral("F"), encodeFields(it->fieldRights))
                    .bind(QStringLiteral("T"), table)
                    .bind(QStringLiteral("N"), old.sequence)
                    .exec();
            } else {
                Query(db, QStringLiteral("DELETE FROM LW_PRAWA WHERE TABELA = :T AND NR = :N"))
                    .bind(QStringLiteral("T"), table)
                    .bind(QStringLiteral("N"), old.sequence)
                    .exec();
            }
        }
        int next = existing.isEmpty() ? 1 : existing.last().sequence + 1;
        for (int i = 0; i < given.size(); ++i) {
            if (used[i] || given[i].tableRights == 0)
                continue;
            Query(db, QStringLiteral("INSERT INTO LW_PRAWA (TABELA, NR, HASLO, PRAWA, RODZINA, POLA) "
                                     "VALUES (:T, :N, :H, :P, :R, :F)"))
                .bind(QStringLiteral("T"), table)
                .bind(QStringLiteral("N"), next++)
                .bind(QStringLiteral("H"), given[i].credential)
                .bind(QStringLiteral("P"), given[i].tableRights)
                .bind(QStringLiteral("R"), given[i].familyRights)
                .bind(QStringLiteral("F"), encodeFields(given[i].fieldRights))
                .exec();
        }
    });
    db.reloadRights();
    // Free SQL on PostgreSQL runs as roles mirroring the descriptors; a role
    // is brought in line again whenever it logs in, so a server where roles
    // cannot be managed loses nothing here.
    try {
        pg_roles::refreshRoles(db);
    } catch (const Error&) {
    }
}

QHash<QString, TableRights> effectiveRights(Database& db, const QStringList& credentials)
{
    QHash<QString, TableRights> out;
    if (credentials.isEmpty())
        return out;
    Database::SystemAccess sys(db);
    Query q(db, QStringLiteral("SELECT TABELA, HASLO, PRAWA, POLA FROM LW_PRAWA"));
    q.exec();
    QHash<QString, QList<QString>> fieldNames;
    while (q.next()) {
        if (!credentials.contains(q.value(1).toString()))
            continue;
        const QString table = q.value(0).toString().toUpper();
        TableRights& r = out[table];
        const int tableMask = q.value(2).toInt();
        r.table |= tableMask;
        // A field's Modify bit also lets an inserted row give it a value.
        const int fieldLimit = tableMask | ((tableMask & Insert) ? Modify : 0);
        if (!fieldNames.contains(table)) {
            QList<QString> names;
            if (db.hasTable(table))
                for (const StoreField& f : db.fields(table))
                    names << f.name;
            fieldNames.insert(table, names);
        }
        const QList<QString>& names = fieldNames[table];
        const QList<int> masks = decodeFields(q.value(3).toString());
        for (int i = 0; i < names.size(); ++i) {
            const int m = i < masks.size() ? masks[i] : All;
            r.fields[names[i]] = r.fields.value(names[i], 0) | (m & fieldLimit);
        }
    }
    return out;
}

}  // namespace rights
