#include "group_import.h"

#include "group_transfer.h"

#include "browser/message_log.h"
#include "browser/prompts.h"
#include "store/database.h"
#include "store/ddl.h"
#include "store/error.h"
#include "store/polish_dates.h"
#include "store/query.h"
#include "store/rights.h"
#include "store/schema.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <QSqlQuery>

namespace groupimport {

namespace {

using grouptransfer::readRows;
using grouptransfer::text;

// Dates in the program's day format; everything else as compared.
QString shown(const QVariant& v, FieldType type)
{
    const QString t = text(v, type);
    if (type == FieldType::Date)
        return polish::shortDate(QDate::fromString(t, Qt::ISODate));
    if (type == FieldType::DateTime && t.size() >= 10)
        return polish::shortDate(QDate::fromString(t.left(10), Qt::ISODate)) + t.mid(10);
    return t;
}

QStringList keysOf(const QString& table)
{
    static const QHash<QString, QStringList> keys{
        {QStringLiteral("DZIECI"), {QStringLiteral("KOD")}},
        {QStringLiteral("ODBIERA"), {QStringLiteral("OSOBA"), QStringLiteral("ODDATY")}},
        {QStringLiteral("INFORM"), {QStringLiteral("KLASA"), QStringLiteral("KOD")}},
        {QStringLiteral("NALKLA"), {QStringLiteral("KLASA"), QStringLiteral("KOD")}},
        {QStringLiteral("NALDOD"), {QStringLiteral("KLASA"), QStringLiteral("KOD"), QStringLiteral("OSOBA")}},
        {QStringLiteral("OBECN"), {QStringLiteral("OSOBA"), QStringLiteral("DATA")}},
        {QStringLiteral("OBECM"),
         {QStringLiteral("OSOBA"), QStringLiteral("ROK"), QStringLiteral("MIES"), QStringLiteral("OBECNY")}},
        {QStringLiteral("ZAJODB"), {QStringLiteral("KLASA"), QStringLiteral("ID")}},
        {QStringLiteral("ZAJOBEC"), {QStringLiteral("KLASA"), QStringLiteral("ID"), QStringLiteral("OSOBA")}},
    };
    return keys.value(table);
}

bool ofChildren(const QString& table)
{
    return table == QLatin1String("ODBIERA") || table == QLatin1String("OBECN") || table == QLatin1String("OBECM")
        || table == QLatin1String("ZAJOBEC") || table == QLatin1String("NALDOD");
}

struct Row {
    QVariantList values;  // in the order of the table's common fields
};

struct TablePlan {
    QList<FieldDef> fields;  // present in both stores
    QStringList keys;
    QList<QVariantList> deletes;                        // key values
    QList<QPair<QVariantList, QPair<int, QVariant>>> updates;  // key values, field index, value
    QList<QVariantList> inserts;                        // whole rows
};

QString keyText(const QList<FieldDef>& fields, const QStringList& keys, const QVariantList& row)
{
    QStringList parts;
    for (const QString& k : keys)
        for (int i = 0; i < fields.size(); ++i)
            if (fields[i].name == k)
                parts << text(row[i], fields[i].type);
    return parts.join(QChar(0x1f));
}

// The schema's fields both stores have.
QList<FieldDef> commonFields(Database& local, Database& source, const QString& table)
{
    QList<FieldDef> out;
    for (const FieldDef& f : grouptransfer::presentFields(local, table))
        if (source.hasColumn(table, f.name))
            out << f;
    return out;
}

void insertRow(Database& db, const QString& table, const QList<FieldDef>& fields, const QVariantList& row)
{
    QStringList columns;
    QStringList marks;
    for (const FieldDef& f : fields) {
        columns << f.name;
        marks << QLatin1Char(':') + f.name;
    }
    Query q(db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                    .arg(table, columns.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))));
    for (int i = 0; i < fields.size(); ++i)
        q.bind(fields[i].name, grouptransfer::bindable(row[i], fields[i].type));
    q.exec();
}

QString keyCondition(const QList<FieldDef>& fields, const QStringList& keys, const QVariantList& keyValues,
                     Query* bindTo)
{
    QStringList parts;
    for (int k = 0; k < keys.size(); ++k) {
        if (!bindTo) {
            parts << (keyValues[k].isNull() ? QStringLiteral("%1 IS NULL").arg(keys[k])
                                            : QStringLiteral("%1 = :K%2").arg(keys[k]).arg(k));
            continue;
        }
        if (!keyValues[k].isNull())
            for (const FieldDef& f : fields)
                if (f.name == keys[k])
                    bindTo->bind(QStringLiteral("K%1").arg(k), grouptransfer::bindable(keyValues[k], f.type));
    }
    return parts.join(QStringLiteral(" AND "));
}

QVariantList keyValuesOf(const QList<FieldDef>& fields, const QStringList& keys, const QVariantList& row)
{
    QVariantList out;
    for (const QString& k : keys)
        for (int i = 0; i < fields.size(); ++i)
            if (fields[i].name == k)
                out << row[i];
    return out;
}

class Importer {
public:
    Importer(Database& db, Database& source, Prompts& prompts, MessageLog* log)
        : m_db(db), m_source(source), m_prompts(prompts), m_log(log), m_oneGroup(grouptransfer::oneGroupStore(db))
    {
        loadNames();
    }

    bool oneGroup() const { return m_oneGroup; }
    Summary summary;

    void refuseOtherGroups()
    {
        const auto incoming = grouptransfer::groups(m_source);
        const auto local = grouptransfer::groups(m_db);
        if (incoming.size() > 1 && local.size() < 2)
            throw Error(moreThanOneGroup());
        if (local.size() == 1 && !incoming.isEmpty() && incoming.first().first != local.first().first)
            throw Error(otherGroupPrefix() + local.first().second);
    }

    // Every replaced table in one unit of work.
    void replace(const QStringList& tables)
    {
        QString current;
        try {
            m_db.batch([&] {
                for (const QString& table : tables) {
                    if (!m_source.hasTable(table))
                        continue;
                    current = table;
                    if (!m_db.hasTable(table))
                        createLikeSource(table);
                    const QList<FieldDef> fields = commonFields(m_db, m_source, table);
                    Query(m_db, QStringLiteral("DELETE FROM %1").arg(table)).exec();
                    summary.added += grouptransfer::copyRows(
                        m_source, table, fields, {},
                        [&](const QVariantList& row) { insertRow(m_db, table, fields, row); }, m_log,
                        progressText(table));
                    grouptransfer::continueNumbering(m_db, table);
                    summary.tables << table;
                }
            });
        } catch (const Error& e) {
            throw Error(QStringLiteral("Nie wczytano tabeli %1\n%2").arg(current, e.message()));
        }
        m_db.forgetStructure();
        loadNames();
    }

    void merge(const QString& table)
    {
        if (!m_source.hasTable(table))
            return;
        if (!m_db.hasTable(table)) {
            if (!m_oneGroup)
                return;
            m_db.batch([&] { createLikeSource(table); });
        }
        TablePlan plan = planMerge(table);
        try {
            m_db.batch([&] {
                for (const QVariantList& key : plan.deletes) {
                    Query del(m_db, QStringLiteral("DELETE FROM %1 WHERE %2")
                                        .arg(table, keyCondition(plan.fields, plan.keys, key, nullptr)));
                    keyCondition(plan.fields, plan.keys, key, &del);
                    del.exec();
                }
                for (const auto& [key, change] : plan.updates) {
                    const FieldDef& f = plan.fields[change.first];
                    Query up(m_db, QStringLiteral("UPDATE %1 SET %2 = :V WHERE %3")
                                       .arg(table, f.name, keyCondition(plan.fields, plan.keys, key, nullptr)));
                    up.bind(QStringLiteral("V"), grouptransfer::bindable(change.second, f.type));
                    keyCondition(plan.fields, plan.keys, key, &up);
                    up.exec();
                }
                for (const QVariantList& row : plan.inserts)
                    insertRow(m_db, table, plan.fields, row);
                grouptransfer::continueNumbering(m_db, table);
            });
        } catch (const Error& e) {
            throw Error(QStringLiteral("Nie wczytano tabeli %1\n%2").arg(table, e.message()));
        }
        summary.added += int(plan.inserts.size());
        summary.updated += int(plan.updates.size());
        summary.deleted += int(plan.deletes.size());
        summary.tables << table;
        if (table == QLatin1String("DZIECI"))
            loadNames();
    }

private:
    static QString progressText(const QString& table) { return QStringLiteral("Import tabeli ") + table; }

    void progress(int total, const QString& table)
    {
        if (m_log)
            m_log->step(total, progressText(table));
    }

    void loadNames()
    {
        m_localChildren.clear();
        m_localChildNames.clear();
        m_sourceChildNames.clear();
        m_sourceClassNames.clear();
        {
            Query q(m_db, QStringLiteral("SELECT KOD, NAZWA FROM DZIECI"));
            q.exec();
            while (q.next()) {
                m_localChildren.insert(q.value(0).toInt());
                m_localChildNames.insert(q.value(0).toInt(), q.value(1).toString());
            }
        }
        if (m_source.hasTable(QStringLiteral("DZIECI"))) {
            Query q(m_source, QStringLiteral("SELECT KOD, NAZWA FROM DZIECI"));
            q.exec();
            while (q.next())
                m_sourceChildNames.insert(q.value(0).toInt(), q.value(1).toString());
        }
        if (m_source.hasTable(QStringLiteral("ZAJDOD"))) {
            Query q(m_source, QStringLiteral("SELECT KOD, NAZWA FROM ZAJDOD"));
            q.exec();
            while (q.next())
                m_sourceClassNames.insert(q.value(0).toInt(), q.value(1).toString());
        }
    }

    // The table made from the source's definition (its keys plain integers).
    void createLikeSource(const QString& table)
    {
        QList<FieldDef> fields;
        for (FieldDef f : schema::table(table)->fields) {
            if (!m_source.hasColumn(table, f.name))
                continue;
            if (f.type == FieldType::AutoInc)
                for (const StoreField& s : m_source.fields(table))
                    if (s.name == f.name && !s.autoInc)
                        f.type = FieldType::Integer;
            fields << f;
        }
        for (const QString& sql : ddl::createTable(grouptransfer::definitionWith(table, fields), m_db.engine()))
            Query(m_db, sql).exec();
        m_db.forgetStructure();
    }

    // A field of the row as the user reads it.
    QString value(const QList<FieldDef>& fields, const QVariantList& row, const QString& name) const
    {
        for (int i = 0; i < fields.size(); ++i)
            if (fields[i].name == name)
                return shown(row[i], fields[i].type);
        return QString();
    }

    QString label(const QString& table, const QList<FieldDef>& fields, const QVariantList& row) const
    {
        auto v = [&](const char* name) { return value(fields, row, QString::fromLatin1(name)); };
        const QString child = m_sourceChildNames.value(v("OSOBA").toInt());
        if (table == QLatin1String("DZIECI"))
            return v("NAZWA");
        if (table == QLatin1String("ODBIERA"))
            return child + QStringLiteral(", ") + v("ODDATY");
        if (table == QLatin1String("OBECN"))
            return child + QStringLiteral(", ") + v("DATA");
        if (table == QLatin1String("OBECM"))
            return child + QStringLiteral(", ") + v("MIES");
        if (table == QLatin1String("ZAJOBEC"))
            return child + QStringLiteral(", ") + v("ID");
        if (table == QLatin1String("NALDOD"))
            return child + QStringLiteral(", ") + v("KOD");
        if (table == QLatin1String("ZAJODB"))
            return m_sourceClassNames.value(v("ZAJECIE").toInt()) + QStringLiteral(", ") + v("DATA");
        if (table == QLatin1String("NALKLA"))
            return v("SKROT") + QStringLiteral(", ") + v("DATA");
        return v("OPIS") + QStringLiteral(", ") + v("DATA");  // INFORM
    }

    QString deletionQuestion(const QString& table, const QList<FieldDef>& fields, const QVariantList& row) const
    {
        auto v = [&](const char* name) { return value(fields, row, QString::fromLatin1(name)); };
        QString what;
        if (table == QLatin1String("DZIECI"))
            what = v("NAZWA");
        else if (table == QLatin1String("ODBIERA"))
            what = m_localChildNames.value(v("OSOBA").toInt()) + QStringLiteral(", od dnia ") + v("ODDATY");
        else
            what = v("OPIS") + QStringLiteral(", z dnia ") + v("DATA");
        return what + QStringLiteral(" - wczytywany zbiór \"%1\" nie posiada tej pozycji\nSkasować?").arg(table);
    }

    bool takeIncoming(const QString& table, const QString& label, const FieldDef& f, const QVariant& incomingValue,
                      const QVariant& localValue)
    {
        const QString incoming = text(incomingValue, f.type);
        const QString local = text(localValue, f.type);
        if (incoming == local)
            return false;
        if (local.isEmpty() && (m_oneGroup || table == QLatin1String("OBECN")))
            return true;
        if (!m_oneGroup && incoming.isEmpty())
            return false;
        return m_prompts.askYesNo(label + QStringLiteral(" - różnica dla zbioru \"%1\" w polu %2\n").arg(table, f.name)
                                  + QStringLiteral("Wczytywana wartość: ") + shown(incomingValue, f.type) + QLatin1Char('\n')
                                  + QStringLiteral("Obecna wartość: ") + shown(localValue, f.type) + QLatin1Char('\n')
                                  + QStringLiteral("Przyjąć wpis?"));
    }

    TablePlan planMerge(const QString& table)
    {
        TablePlan plan;
        plan.fields = commonFields(m_db, m_source, table);
        plan.keys = keysOf(table);
        const QList<QVariantList> incoming = readRows(m_source, table, plan.fields);
        const QList<QVariantList> local = readRows(m_db, table, plan.fields);
        QHash<QString, int> localByKey;
        for (int i = 0; i < local.size(); ++i)
            localByKey.insert(keyText(plan.fields, plan.keys, local[i]), i);
        QSet<QString> incomingKeys;
        for (const QVariantList& row : incoming)
            incomingKeys.insert(keyText(plan.fields, plan.keys, row));
        if (m_log) {
            m_log->resetProgress();
            m_log->step(0, progressText(table), false);
        }

        if (m_oneGroup && masterDataTables().contains(table))
            for (const QVariantList& row : local)
                if (!incomingKeys.contains(keyText(plan.fields, plan.keys, row))
                    && m_prompts.askYesNo(deletionQuestion(table, plan.fields, row)))
                    plan.deletes << keyValuesOf(plan.fields, plan.keys, row);

        QHash<int, int> skippedPerChild;
        for (const QVariantList& row : incoming) {
            progress(int(incoming.size()), table);
            const auto found = localByKey.constFind(keyText(plan.fields, plan.keys, row));
            if (found == localByKey.constEnd()) {
                if (!m_oneGroup) {
                    const int child = value(plan.fields, row, table == QLatin1String("DZIECI") ? QStringLiteral("KOD")
                                                                                             : QStringLiteral("OSOBA"))
                                          .toInt();
                    if ((table == QLatin1String("DZIECI") || ofChildren(table)) && !m_localChildren.contains(child)) {
                        ++skippedPerChild[child];
                        continue;
                    }
                }
                plan.inserts << row;
                continue;
            }
            const QVariantList& mine = local[*found];
            const QString rowLabel = label(table, plan.fields, row);
            for (int i = 0; i < plan.fields.size(); ++i) {
                const FieldDef& f = plan.fields[i];
                if (plan.keys.contains(f.name))
                    continue;
                if (takeIncoming(table, rowLabel, f, row[i], mine[i]))
                    plan.updates.append({keyValuesOf(plan.fields, plan.keys, row), {int(i), row[i]}});
            }
        }
        for (auto it = skippedPerChild.constBegin(); it != skippedPerChild.constEnd(); ++it) {
            summary.skipped += it.value();
            if (m_log)
                m_log->addRemark(QStringLiteral("Zbiór \"%1\": pominięto wiersze dziecka %2 (kod %3), którego nie ma "
                                                "w bazie: %4")
                                     .arg(table, m_sourceChildNames.value(it.key()))
                                     .arg(it.key())
                                     .arg(it.value()));
        }
        return plan;
    }

    Database& m_db;
    Database& m_source;
    Prompts& m_prompts;
    MessageLog* m_log;
    bool m_oneGroup;
    QSet<int> m_localChildren;
    QHash<int, QString> m_localChildNames;
    QHash<int, QString> m_sourceChildNames;
    QHash<int, QString> m_sourceClassNames;
};

QString canonicalFolder(const QString& folder)
{
    const QFileInfo info(folder);
    return info.exists() ? info.canonicalFilePath() : QDir::cleanPath(info.absoluteFilePath());
}

}  // namespace

const QStringList& replacedTables()
{
    static const QStringList list{
        QStringLiteral("KLASY"),    QStringLiteral("FIRMA"),    QStringLiteral("OPCJE"),   QStringLiteral("GRUPY"),
        QStringLiteral("UZYT"),     QStringLiteral("UZGR"),     QStringLiteral("KODY"),    QStringLiteral("MIESIACE"),
        QStringLiteral("CZASBEZP"), QStringLiteral("CZASGRAN"), QStringLiteral("DZIEINF"), QStringLiteral("LINKI"),
        QStringLiteral("DZIECZAS"), QStringLiteral("ZAJDOD"),   QStringLiteral("DZIEZAJ"), QStringLiteral("ZAJDAT"),
    };
    return list;
}

const QStringList& masterDataTables()
{
    static const QStringList list{QStringLiteral("DZIECI"), QStringLiteral("ODBIERA"), QStringLiteral("INFORM")};
    return list;
}

const QStringList& groupDataTables()
{
    static const QStringList list{QStringLiteral("OBECN"),   QStringLiteral("OBECM"),  QStringLiteral("ZAJODB"),
                                  QStringLiteral("ZAJOBEC"), QStringLiteral("NALKLA"), QStringLiteral("NALDOD")};
    return list;
}

void checkSource(Database& db, const QString& folder)
{
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        throw Error(grouptransfer::missingFolderMessage(folder));
    if (db.engine() == Engine::SQLite && canonicalFolder(folder) == canonicalFolder(db.dataDirectory()))
        throw Error(grouptransfer::storeFolderMessage(folder));
}

Summary run(Database& db, const QString& folder, Prompts& prompts, const Options& options, MessageLog* log)
{
    checkSource(db, folder);
    StoreLocation where;
    where.engine = Engine::SQLite;
    where.folder = folder;
    Database source(where);
    source.open();
    source.setCredentials({rights::masterCredential()});
    Database::SystemAccess sys(db);
    Importer importer(db, source, prompts, log);
    if (importer.oneGroup()) {
        importer.refuseOtherGroups();
        importer.replace(replacedTables());
    }
    if (importer.oneGroup() || !options.groupDataOnly)
        for (const QString& table : masterDataTables())
            importer.merge(table);
    for (const QString& table : groupDataTables())
        importer.merge(table);
    // Deleted rows leave free pages behind; a failure here changes nothing.
    if (db.engine() == Engine::SQLite && !db.inTransaction())
        QSqlQuery(db.connection()).exec(QStringLiteral("VACUUM"));
    return importer.summary;
}

}  // namespace groupimport
