#include "schema.h"

#include "schema_tables.h"

const FieldDef* TableDef::field(const QString& fieldName) const
{
    const int i = fieldIndex(fieldName);
    return i < 0 ? nullptr : &fields[i];
}

int TableDef::fieldIndex(const QString& fieldName) const
{
    for (int i = 0; i < fields.size(); ++i)
        if (fields[i].name.compare(fieldName, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

const IndexDef* TableDef::index(const QString& indexName) const
{
    for (const IndexDef& ix : indexes)
        if (!ix.name.isEmpty() && ix.name.compare(indexName, Qt::CaseInsensitive) == 0)
            return &ix;
    return nullptr;
}

const IndexDef* TableDef::ordering(const QString& fieldList) const
{
    const QStringList wanted = schema::splitFieldList(fieldList);
    for (const IndexDef& ix : indexes)
        if (ix.fields == wanted)
            return &ix;
    return nullptr;
}

const FieldDef* TableDef::autoIncField() const
{
    for (const FieldDef& f : fields)
        if (f.type == FieldType::AutoInc)
            return &f;
    return nullptr;
}

namespace schema {

const QList<TableDef>& tables()
{
    static const QList<TableDef> all = buildSchemaTables();
    return all;
}

const TableDef* table(const QString& name)
{
    for (const TableDef& t : tables())
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

TableDef oneGroupChildren()
{
    TableDef t = *table(QStringLiteral("DZIECI"));
    for (FieldDef& f : t.fields)
        if (f.name == QLatin1String("KOD"))
            f.type = FieldType::Integer;
    for (IndexDef& ix : t.indexes)
        if (ix.fields == QStringList{QStringLiteral("KOD")})
            ix.primary = true;
    return t;
}

QStringList splitFieldList(const QString& fieldList)
{
    QStringList out;
    for (const QString& part : fieldList.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString name = part.trimmed().toUpper();
        if (!name.isEmpty())
            out << name;
    }
    return out;
}

}  // namespace schema
