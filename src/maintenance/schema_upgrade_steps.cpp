#include "schema_upgrade_steps.h"

#include "store/database.h"
#include "store/ddl.h"
#include "store/error.h"
#include "store/query.h"
#include "store/rights.h"
#include "store/schema.h"

namespace upgrade {

namespace {

const TableDef& catalogue(const QString& table)
{
    const TableDef* t = schema::table(table);
    if (!t)
        throw Error(QStringLiteral("Tabela %1 nie istnieje").arg(table));
    return *t;
}

void exec(Database& db, const QString& sql)
{
    Query(db, sql).exec();
}

// A table the upgrade adds is open to whoever may use `like`: a table
// without rights descriptors would be closed to every login but the master.
void grantLike(Database& db, const QString& table, const QString& like)
{
    const int fieldCount = int(catalogue(table).fields.size());
    QList<RightsDescriptor> given;
    for (const RightsDescriptor& d : rights::readDescriptors(db, like)) {
        RightsDescriptor copy = d;
        copy.fieldRights = QList<int>(fieldCount, rights::All);
        given << copy;
    }
    if (!given.isEmpty())
        rights::writeDescriptors(db, table, rights::masterCredential(), given);
}

Step tableStep(const QString& table, const QString& rightsLike)
{
    return {QStringLiteral("tabela ") + table, true, [table](Database& db) { return !db.hasTable(table); },
            [table, rightsLike](Database& db) {
                for (const QString& sql : ddl::createTable(catalogue(table), db.engine()) + ddl::createConstraints(table))
                    exec(db, sql);
                db.forgetStructure();
                grantLike(db, table, rightsLike);
            }};
}

// Adds whichever of the columns are missing, in the catalogue's types.
Step columnStep(const QString& table, const QStringList& columns)
{
    auto missing = [table, columns](Database& db) {
        QStringList out;
        for (const QString& c : columns)
            if (!db.hasColumn(table, c))
                out << c;
        return out;
    };
    return {QStringLiteral("kolumna %1.%2").arg(table, columns.first()), true,
            [missing](Database& db) { return !missing(db).isEmpty(); },
            [table, missing](Database& db) {
                for (const QString& c : missing(db))
                    exec(db, ddl::addColumn(table, *catalogue(table).field(c), db.engine()));
                db.forgetStructure();
            }};
}

Step indexStep(const QString& table, const QString& indexName)
{
    return {QStringLiteral("indeks %1.%2").arg(table, indexName), true,
            [table, indexName](Database& db) { return !db.hasIndex(table, indexName); },
            [table, indexName](Database& db) {
                exec(db, ddl::createIndex(table, *catalogue(table).index(indexName), db.engine()));
            }};
}

bool hasOrdering(Database& db, const QString& table, const QStringList& fields)
{
    for (const StoreIndex& ix : db.indexes(table))
        if (ix.name.isEmpty() && !ix.primary && ix.fields == fields)
            return true;
    return false;
}

// Orderings a longer index now serves lose their own index (fewer indexes
// to keep up on every insert of a charge run).
Step redundantOrderingsStep()
{
    auto redundant = [](Database& db) {
        QList<IndexDef> out;
        if (!db.hasTable(QStringLiteral("NALICZ")))
            return out;
        for (const IndexDef& ix : catalogue(QStringLiteral("NALICZ")).indexes)
            if (ddl::servedByLongerIndex(QStringLiteral("NALICZ"), ix)
                && hasOrdering(db, QStringLiteral("NALICZ"), ix.fields))
                out << ix;
        return out;
    };
    return {QStringLiteral("zbędne indeksy NALICZ"), true, [redundant](Database& db) { return !redundant(db).isEmpty(); },
            [redundant](Database& db) {
                for (const IndexDef& ix : redundant(db))
                    exec(db, ddl::dropIndex(QStringLiteral("NALICZ"), ix));
            }};
}

Step invoiceTemplateCode()
{
    auto present = [](Database& db) {
        return Query(db, QStringLiteral("SELECT COUNT(*) FROM KODY WHERE RODZAJ = 'szablo' AND TYP = '4'"))
                   .scalar()
                   .toInt()
            > 0;
    };
    return {QStringLiteral("wiersz KODY szablo 4"), false, [present](Database& db) { return !present(db); },
            [](Database& db) {
                exec(db, QStringLiteral("INSERT INTO KODY (RODZAJ, TYP, NAZWA, NAZWAM) "
                                        "VALUES ('szablo', '4', 'Faktura', 'Faktury')"));
            }};
}

Step attendanceMarks()
{
    Step s = columnStep(QStringLiteral("ZAJOBEC"), {QStringLiteral("OBECNY")});
    const auto add = s.apply;
    // Rows held before the column existed were all attendances.
    s.apply = [add](Database& db) {
        add(db);
        exec(db, QStringLiteral("UPDATE ZAJOBEC SET OBECNY = 'T'"));
    };
    return s;
}

QList<Step> build()
{
    const QString nalicz = QStringLiteral("NALICZ");
    return {
        tableStep(QStringLiteral("STATUSY"), QStringLiteral("KLASY")),
        tableStep(QStringLiteral("STAVAT"), QStringLiteral("KLASY")),
        tableStep(QStringLiteral("FAKT"), nalicz),
        columnStep(QStringLiteral("DZIECI"), {QStringLiteral("STATUS")}),
        columnStep(nalicz, {QStringLiteral("IDF"), QStringLiteral("LPF"), QStringLiteral("STAWKA"),
                            QStringLiteral("VAT"), QStringLiteral("IDOPIE")}),
        indexStep(nalicz, QStringLiteral("FAKT")),
        columnStep(QStringLiteral("TARMED"), {QStringLiteral("STAWKA")}),
        columnStep(QStringLiteral("OPCJE"), {QStringLiteral("OPIE")}),
        columnStep(QStringLiteral("DZIEMED"), {QStringLiteral("PROCOPIE")}),
        invoiceTemplateCode(),
        attendanceMarks(),
        columnStep(QStringLiteral("ZAJDOD"), {QStringLiteral("ZGLOSZG")}),
        redundantOrderingsStep(),
        indexStep(QStringLiteral("OBECN"), QStringLiteral("DZIEN")),
    };
}

}  // namespace

const QList<Step>& steps()
{
    static const QList<Step> all = build();
    return all;
}

}  // namespace upgrade
