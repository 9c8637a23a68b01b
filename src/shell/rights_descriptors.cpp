#include "rights_descriptors.h"

#include "store/database.h"
#include "store/error.h"
#include "store/rights.h"

namespace rights_editing {

namespace {

QList<RightsDescriptor> descriptorsOf(Database& db, const QString& table)
{
    if (!db.hasTable(table))
        throw Error(QStringLiteral("Tabela %1 nie istnieje").arg(table.toUpper()));
    return rights::readDescriptors(db, table);
}

// The credential's own descriptor of the table, or a new one opening every
// field with `tableMask` on the table.
RightsDescriptor descriptorFor(Database& db, const QString& table, const QString& credential, int newTableMask,
                               bool& found)
{
    for (const RightsDescriptor& d : descriptorsOf(db, table))
        if (d.credential == credential) {
            found = true;
            return d;
        }
    found = false;
    RightsDescriptor d;
    d.credential = credential;
    d.tableRights = newTableMask;
    d.familyRights = 0;
    for (int i = 0; i < db.fields(table).size(); ++i)
        d.fieldRights << rights::All;
    return d;
}

void write(Database& db, const QString& table, const RightsDescriptor& d)
{
    rights::writeDescriptors(db, table, rights::masterCredential(), {d});
}

}  // namespace

QString Subject::credential() const
{
    return letter == QLatin1Char('G') ? rights::groupCredential(code) : rights::userCredential(code);
}

TableLevels readLevels(Database& db, const QString& table, const QString& credential)
{
    TableLevels out;
    out.table = table.toUpper();
    const QList<RightsDescriptor> all = descriptorsOf(db, out.table);
    const RightsDescriptor* own = nullptr;
    for (const RightsDescriptor& d : all)
        if (d.credential == credential)
            own = &d;
    out.described = own != nullptr;
    out.level = own ? rights::levelOfTableMask(own->tableRights) : 0;
    const QList<StoreField> fields = db.fields(out.table);
    for (int i = 0; i < fields.size(); ++i) {
        // Fields added to the table after the descriptor was written are open.
        const int mask = own ? own->fieldRights.value(i, rights::All) : 0;
        out.fields.append({fields[i].name, rights::levelOfFieldMask(mask)});
    }
    return out;
}

void grantTable(Database& db, const QString& table, const QString& credential, int level)
{
    const int mask = rights::tableMaskOfLevel(level);
    bool found = false;
    RightsDescriptor d = descriptorFor(db, table, credential, mask, found);
    d.tableRights = mask;
    write(db, table, d);
}

void grantField(Database& db, const QString& table, const QString& credential, const QString& field, int level)
{
    const QList<StoreField> fields = db.fields(table);
    int index = -1;
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(field, Qt::CaseInsensitive) == 0)
            index = i;
    if (index < 0)
        throw Error(QStringLiteral("Tabela %1 nie ma pola %2").arg(table.toUpper(), field.toUpper()));
    const int mask = rights::fieldMaskOfLevel(level);
    bool found = false;
    RightsDescriptor d = descriptorFor(db, table, credential, mask, found);
    if (found) {
        while (d.fieldRights.size() <= index)
            d.fieldRights << rights::All;
        d.fieldRights[index] = mask;
    }
    write(db, table, d);
}

QStringList loginTables()
{
    return {QStringLiteral("FIRMA"), QStringLiteral("OPCJE")};
}

void grantLoginTables(Database& db, const QString& credential)
{
    for (const QString& table : loginTables()) {
        if (!db.hasTable(table) || readLevels(db, table, credential).described)
            continue;
        grantTable(db, table, credential, 1);
    }
}

}  // namespace rights_editing
