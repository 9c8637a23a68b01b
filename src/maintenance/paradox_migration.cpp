#include "paradox_migration.h"

#include "paradox_table.h"

#include "shell/function_names.h"
#include "store/database.h"
#include "store/error.h"
#include "store/password_digest.h"
#include "store/query.h"
#include "store/rights.h"
#include "store/schema.h"
#include "store/store_creator.h"
#include "store/values.h"

#include <QDateTime>
#include <QDir>
#include <QSqlError>
#include <QSqlQuery>

#include <cmath>

namespace migration {

namespace {

QString text(const QVariant& v)
{
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? QStringLiteral("T") : QStringLiteral("N");
    if (v.typeId() == QMetaType::Double) {
        const double d = v.toDouble();
        return d == std::floor(d) && std::abs(d) < 1e15 ? QString::number(qlonglong(d)) : QString::number(d, 'g', 15);
    }
    return v.toString();
}

// The source value in the form the field keeps; null with `problem` set
// when it cannot be one.
QVariant fieldValue(const QVariant& v, const FieldDef& field, QString& problem)
{
    if (!v.isValid() || v.isNull())
        return {};
    const int type = v.typeId();
    const bool numeric = type == QMetaType::LongLong || type == QMetaType::Int || type == QMetaType::Double;
    auto refuse = [&] {
        problem = QStringLiteral("pole %1: wartość %2 nie pasuje do typu pola").arg(field.name, text(v).left(40));
        return QVariant();
    };
    switch (field.type) {
    case FieldType::String:
    case FieldType::Memo:
        if (type == QMetaType::QByteArray)
            return refuse();
        return text(v);
    case FieldType::AutoInc:
    case FieldType::Integer:
    case FieldType::SmallInt: {
        if (type == QMetaType::Bool)
            return v.toBool() ? 1 : 0;
        if (numeric || type == QMetaType::QString) {
            bool ok = false;
            const double d = type == QMetaType::QString ? v.toString().trimmed().toDouble(&ok) : (ok = true, v.toDouble());
            if (ok && d == std::floor(d) && std::abs(d) <= 2147483647.0)
                return int(d);
        }
        return refuse();
    }
    case FieldType::Float: {
        bool ok = numeric;
        const double d = type == QMetaType::QString ? v.toString().trimmed().replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok)
                                                    : v.toDouble();
        return ok ? QVariant(d) : refuse();
    }
    case FieldType::Date:
        if (type == QMetaType::QDate)
            return v;
        if (type == QMetaType::QDateTime)
            return v.toDateTime().date();
        return refuse();
    case FieldType::Time:
        if (type == QMetaType::QTime)
            return v;
        if (type == QMetaType::QDateTime)
            return v.toDateTime().time();
        return refuse();
    case FieldType::DateTime:
        if (type == QMetaType::QDateTime)
            return v;
        if (type == QMetaType::QDate)
            return QDateTime(v.toDate(), QTime(0, 0));
        return refuse();
    case FieldType::Graphic:
        return type == QMetaType::QByteArray ? v : refuse();
    }
    return refuse();
}

// A failed row must not end the transaction: PostgreSQL needs a savepoint
// around it, SQLite undoes the one statement by itself.
class RowGuard {
public:
    explicit RowGuard(Database& db) : m_db(db), m_pg(db.engine() == Engine::PostgreSQL)
    {
        if (m_pg)
            run(QStringLiteral("SAVEPOINT lw_wiersz"));
    }
    void keep()
    {
        if (m_pg)
            run(QStringLiteral("RELEASE SAVEPOINT lw_wiersz"));
    }
    void undo()
    {
        if (m_pg)
            run(QStringLiteral("ROLLBACK TO SAVEPOINT lw_wiersz"));
    }

private:
    void run(const QString& sql)
    {
        QSqlQuery q(m_db.connection());
        if (!q.exec(sql))
            throw Error(q.lastError().text());
    }
    Database& m_db;
    bool m_pg;
};

// The store's numbering continues after the highest number taken and
// after the source's own counter.
void continueNumbering(Database& db, const TableDef& def, int sourceCounter, TableReport& report)
{
    const FieldDef* key = def.autoIncField();
    if (!key)
        return;
    const int highest = Query(db, QStringLiteral("SELECT MAX(%1) FROM %2").arg(key->name, def.name)).scalar().toInt();
    const int last = std::max(highest, sourceCounter);
    if (last <= 0)
        return;
    QSqlQuery q(db.connection());
    if (db.engine() == Engine::PostgreSQL) {
        q.prepare(QStringLiteral("SELECT setval(pg_get_serial_sequence(?, ?), ?)"));
        q.addBindValue(def.name.toLower());
        q.addBindValue(key->name.toLower());
        q.addBindValue(last);
        if (!q.exec())
            throw Error(q.lastError().text());
    } else {
        q.prepare(QStringLiteral("UPDATE sqlite_sequence SET seq = ? WHERE name = ? AND seq < ?"));
        q.addBindValue(last);
        q.addBindValue(def.name);
        q.addBindValue(last);
        if (!q.exec())
            throw Error(q.lastError().text());
        QSqlQuery present(db.connection());
        present.prepare(QStringLiteral("SELECT COUNT(*) FROM sqlite_sequence WHERE name = ?"));
        present.addBindValue(def.name);
        if (present.exec() && present.next() && present.value(0).toInt() == 0) {
            q.prepare(QStringLiteral("INSERT INTO sqlite_sequence (name, seq) VALUES (?, ?)"));
            q.addBindValue(def.name);
            q.addBindValue(last);
            if (!q.exec())
                throw Error(q.lastError().text());
        }
    }
    report.notes << QStringLiteral("numeracja pola %1 od %2").arg(key->name).arg(last + 1);
}

void migrateTable(Database& db, const TableDef& def, const QString& path, TableReport& report)
{
    paradox::Table source;
    if (!source.open(path))
        throw Error(QStringLiteral("Nie można odczytać tabeli %1: %2").arg(QDir::toNativeSeparators(path), source.error()));
    QList<int> sourceColumns;  // index in the source record of each written field
    QList<const FieldDef*> fields;
    for (int i = 0; i < source.columns().size(); ++i) {
        const paradox::Column& c = source.columns().at(i);
        const FieldDef* field = def.field(c.name);
        if (!field || !db.hasColumn(def.name, c.name)) {
            report.notes << QStringLiteral("pole %1 pominięte: nie ma go w bazie").arg(c.name);
            continue;
        }
        sourceColumns << i;
        fields << field;
    }
    Query(db, QStringLiteral("DELETE FROM %1").arg(def.name)).exec();
    if (fields.isEmpty())
        return;
    QStringList names, marks;
    for (int i = 0; i < fields.size(); ++i) {
        names << fields[i]->name;
        marks << QStringLiteral(":P%1").arg(i);
    }
    Query insert(db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                         .arg(def.name, names.join(QStringLiteral(", ")), marks.join(QStringLiteral(", "))));
    QVariantList record;
    for (int r = 0; r < source.recordCount(); ++r) {
        ++report.read;
        QString problem;
        if (!source.record(r, record, problem)) {
            report.refused << QStringLiteral("rekord %1: %2").arg(r + 1).arg(problem);
            continue;
        }
        QVariantList row;
        for (int i = 0; i < fields.size() && problem.isEmpty(); ++i) {
            QVariant v = fieldValue(record.at(sourceColumns[i]), *fields[i], problem);
            // Plain inserts skip the cursor's check, and the program's
            // windows expect a required field to be filled.
            if (problem.isEmpty() && fields[i]->required && values::isEmpty(v))
                problem = QStringLiteral("Pole \"%1\" musi posiadać wartość").arg(fields[i]->displayCaption());
            if (problem.isEmpty()) {
                try {
                    row << values::toStore(values::normalize(v, *fields[i]), fields[i]->type, fields[i]->name);
                } catch (const Error& e) {
                    problem = QStringLiteral("pole %1: %2").arg(fields[i]->name, e.message());
                }
            }
        }
        if (!problem.isEmpty()) {
            report.refused << QStringLiteral("rekord %1: %2").arg(r + 1).arg(problem);
            continue;
        }
        for (int i = 0; i < row.size(); ++i)
            insert.bind(QStringLiteral("P%1").arg(i), row[i]);
        RowGuard guard(db);
        try {
            insert.exec();
            guard.keep();
            ++report.written;
        } catch (const Error& e) {
            guard.undo();
            report.refused << QStringLiteral("rekord %1: %2").arg(r + 1).arg(e.message().simplified());
        }
    }
    continueNumbering(db, def, source.autoIncrementCounter(), report);
}

int userCode(Database& db, const QString& name)
{
    Query q(db, QStringLiteral("SELECT KOD FROM UZYT WHERE UPPER(NAZWA) = :N"));
    q.bind(QStringLiteral("N"), name.toUpper()).exec();
    return q.next() ? q.value(0).toInt() : 0;
}

void setAllRights(Database& db, int code, bool grant)
{
    for (const TableDef& t : schema::tables()) {
        if (!db.hasTable(t.name))
            continue;
        RightsDescriptor d;
        d.credential = rights::userCredential(code);
        d.tableRights = grant ? rights::All : 0;
        for (int i = 0; grant && i < t.fields.size(); ++i)
            d.fieldRights << rights::All;
        rights::writeDescriptors(db, t.name, rights::masterCredential(), {d});
    }
}

// The delivered administrator's rights belong to its row, which the
// source's users replace; they go to whoever is "admin" now.
void keepAdministrator(Database& db, int deliveredCode, Report& report)
{
    setAllRights(db, deliveredCode, false);
    int code = userCode(db, store::adminLogin());
    if (code == 0) {
        Query(db, QStringLiteral("INSERT INTO UZYT (NAZWA, OPIS, AKTYWNY, HASLO, FUNKCJE, KLASY) "
                                 "VALUES (:N, :O, 'T', :H, :F, '-1')"))
            .bind(QStringLiteral("N"), store::adminLogin())
            .bind(QStringLiteral("O"), QStringLiteral("Administrator"))
            .bind(QStringLiteral("H"), digest::userPassword(store::adminPassword()))
            .bind(QStringLiteral("F"), functions::allFunctionNames().join(QStringLiteral("\r\n")))
            .exec();
        code = userCode(db, store::adminLogin());
        report.notes << QStringLiteral("Dodano użytkownika %1 z pełnymi prawami (hasło jak w nowej bazie).")
                            .arg(store::adminLogin());
    } else {
        report.notes << QStringLiteral("Użytkownik %1 z przenoszonych danych otrzymał pełne prawa.").arg(store::adminLogin());
    }
    setAllRights(db, code, true);
    report.notes << QStringLiteral("Pozostali użytkownicy nie mają praw dostępu: nadaj je w oknie praw dostępu.");
}

// Group 0 holds the inactive children and status 0 is the default: both
// must exist whatever the source held.
void keepProtectedRows(Database& db)
{
    for (const auto& [table, name] : {std::pair{QStringLiteral("KLASY"), QStringLiteral("Nieaktywni")},
                                      std::pair{QStringLiteral("STATUSY"), QStringLiteral("Brak statusu")}}) {
        if (Query(db, QStringLiteral("SELECT COUNT(*) FROM %1 WHERE KOD = 0").arg(table)).scalar().toInt() == 0)
            Query(db, QStringLiteral("INSERT INTO %1 (KOD, NAZWA, KOLEJ) VALUES (0, :N, 0)").arg(table))
                .bind(QStringLiteral("N"), name)
                .exec();
    }
}

}  // namespace

QMap<QString, QString> findTables(const QString& folder, QStringList* others)
{
    QMap<QString, QString> found;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo& f : files) {
        if (f.suffix().compare(QLatin1String("DB"), Qt::CaseInsensitive) != 0)
            continue;
        const QString name = f.completeBaseName().toUpper();
        if (schema::table(name))
            found.insert(name, f.absoluteFilePath());
        else if (others)
            *others << f.fileName();
    }
    return found;
}

bool storeIsEmpty(Database& db)
{
    Database::SystemAccess sys(db);
    auto count = [&](const QString& sql) { return Query(db, sql).scalar().toInt(); };
    return count(QStringLiteral("SELECT COUNT(*) FROM DZIECI")) == 0
           && count(QStringLiteral("SELECT COUNT(*) FROM KLASY WHERE KOD <> 0")) == 0
           && count(QStringLiteral("SELECT COUNT(*) FROM NALICZ")) == 0
           && count(QStringLiteral("SELECT COUNT(*) FROM WPLATY")) == 0
           && count(QStringLiteral("SELECT COUNT(*) FROM UZYT")) <= 1;
}

Report migrateParadoxFolder(Database& db, const QString& folder,
                            const std::function<void(const QString& table)>& progress)
{
    if (!storeIsEmpty(db))
        throw Error(QStringLiteral("Baza danych zawiera już dane: tabele Paradox można przenieść tylko do nowej bazy"));
    Report report;
    QStringList others;
    const QMap<QString, QString> found = findTables(folder, &others);
    if (found.isEmpty())
        throw Error(QStringLiteral("W folderze %1 nie ma tabel programu").arg(QDir::toNativeSeparators(folder)));
    for (const QString& other : others)
        report.notes << QStringLiteral("Plik %1 pominięty: nie jest tabelą programu.").arg(other);
    Database::SystemAccess sys(db);
    const int deliveredAdmin = userCode(db, store::adminLogin());
    db.batch([&] {
        for (const TableDef& def : schema::tables()) {
            if (!found.contains(def.name))
                continue;
            if (!db.hasTable(def.name))
                throw Error(QStringLiteral("W bazie nie ma tabeli %1").arg(def.name));
            if (progress)
                progress(def.name);
            TableReport table;
            table.table = def.name;
            migrateTable(db, def, found.value(def.name), table);
            report.tables << table;
        }
        if (found.contains(QStringLiteral("UZYT")))
            keepAdministrator(db, deliveredAdmin, report);
        keepProtectedRows(db);
    });
    db.reloadRights();
    return report;
}

QStringList reportLines(const Report& report)
{
    QStringList lines;
    for (const TableReport& t : report.tables) {
        lines << QStringLiteral("%1: odczytano %2, zapisano %3").arg(t.table).arg(t.read).arg(t.written);
        for (const QString& note : t.notes)
            lines << QStringLiteral("  ") + note;
        for (const QString& refused : t.refused)
            lines << QStringLiteral("  odrzucono ") + refused;
    }
    lines << report.notes;
    return lines;
}

}  // namespace migration
