#include "sort_choice.h"

#include "browser/module.h"
#include "browser/picker_logic.h"
#include "store/database.h"
#include "store/table.h"

#include <QHash>

namespace sorting {

QString masterPrefix(const Table& table)
{
    if (!table.masterTable())
        return QString();
    QStringList linked;
    for (const QString& f : table.masterLinkFields())
        linked << f.toUpper();
    QStringList prefix;
    for (const QString& f : table.ordering().split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (!linked.contains(f.trimmed().toUpper()))
            break;
        prefix << f.trimmed().toUpper();
    }
    return prefix.join(QLatin1Char(';'));
}

QList<SortOption> options(const DataSet& ds)
{
    Table& t = *ds.table;
    QHash<QString, QString> captions;
    for (const Table::Field& f : t.fields()) {
        const FieldView* v = ds.field(f.def.name);
        captions.insert(f.def.name.toUpper(), v ? v->caption : f.def.displayCaption());
    }
    QList<QStringList> indexFields;
    for (const StoreIndex& ix : t.database().indexes(t.tableName()))
        indexFields << ix.fields;
    return picker::sortOrderOptions(indexFields, captions, masterPrefix(t));
}

bool choose(Prompts& prompts, DataSet& ds)
{
    QString fields = ds.table->ordering();
    if (!prompts.chooseSortOrder(QStringLiteral("Sortowanie"), options(ds), fields))
        return false;
    ds.table->setOrdering(fields);
    return true;
}

QString orderingStartingWith(const DataSet& ds, const QString& field)
{
    const qsizetype prefix = schema::splitFieldList(masterPrefix(*ds.table)).size();
    for (const SortOption& o : options(ds)) {
        const QStringList fields = o.fields.split(QLatin1Char(';'));
        if (fields.size() > prefix && fields[prefix].compare(field, Qt::CaseInsensitive) == 0)
            return o.fields;
    }
    return QString();
}

QString leadingField(const Table& table)
{
    const qsizetype prefix = schema::splitFieldList(masterPrefix(table)).size();
    const QStringList fields = schema::splitFieldList(table.ordering());
    return fields.value(prefix).trimmed().toUpper();
}

}  // namespace sorting
