#include "quick_filters.h"

#include "browser/cell_text.h"
#include "browser/data_filter.h"
#include "browser/module.h"
#include "store/table.h"

namespace quickfilter {

QStringList fixedValues(const QString& fieldName, const QDate& systemDate)
{
    QStringList out;
    const QString name = fieldName.toUpper();
    if (name.startsWith(QLatin1String("MIES"))) {
        for (int m = 1; m <= 12; ++m)
            out << QString::number(m);
    } else if (name.startsWith(QLatin1String("ROK"))) {
        const int y = systemDate.isValid() ? systemDate.year() : QDate::currentDate().year();
        for (int k = y - 3; k <= y + 3; ++k)
            out << QString::number(k);
    }
    return out;
}

bool isLookup(const Table& table, const QString& field)
{
    if (!table.hasField(field))
        return false;
    const Table::Field& f = table.field(field);
    return f.kind == Table::FieldKind::Lookup || cell::hasLookupSource(f);
}

QList<PickEntry> lookupValues(const Table& table, const QString& field)
{
    QList<PickEntry> out;
    if (!isLookup(table, field))
        return out;
    const Table::Field& f = table.field(field);
    Table* source = f.lookupTable;
    if (!source || f.lookupKeys.isEmpty())
        return out;
    if (!source->isOpen())
        source->open();
    const QString key = f.lookupKeys.last();
    for (int r = 0; r < source->rowCount(); ++r)
        out << PickEntry{source->valueAt(r, f.lookupResult).toString(), source->valueAt(r, key)};
    return out;
}

QStringList candidates(const DataSet& ds)
{
    QStringList out;
    if (!ds.table)
        return out;
    for (const FieldView& v : ds.fields) {
        if (!v.visible || !ds.table->hasField(v.name))
            continue;
        const Table::Field& f = ds.table->field(v.name);
        const QString up = v.name.toUpper();
        const bool integer = f.def.type == FieldType::Integer || f.def.type == FieldType::SmallInt;
        if (isLookup(*ds.table, v.name)
            || (f.kind == Table::FieldKind::Data && integer
                && (up.startsWith(QLatin1String("ROK")) || up.startsWith(QLatin1String("MIES")))))
            out << v.name;
    }
    return out;
}

QStringList atOpening(const DataSet& ds, const QString& stored)
{
    QStringList out;
    for (const FieldView& v : ds.fields)
        if (v.role == roles::filter())
            out << v.name;
    const QStringList lines = QString(stored).remove(QLatin1Char('\r')).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString& name : lines)
        if (ds.field(name) && !out.contains(name, Qt::CaseInsensitive))
            out << ds.field(name)->name;
    return out;
}

QString toStored(const QStringList& fields)
{
    return fields.join(QStringLiteral("\r\n"));
}

bool choose(Prompts& prompts, const DataSet& ds, QStringList& fields)
{
    QList<PickEntry> entries;
    auto captionOf = [&](const QString& name) {
        const FieldView* v = ds.field(name);
        return v ? v->caption : name;
    };
    for (const QString& f : fields)
        entries << PickEntry{captionOf(f), f};
    for (const QString& f : candidates(ds))
        if (!fields.contains(f, Qt::CaseInsensitive))
            entries << PickEntry{captionOf(f), f};
    if (!prompts.pickChecks(QStringLiteral("Lista dostępnych pól szybkiego filtrowania"), entries, int(fields.size())))
        return false;
    fields.clear();
    for (const PickEntry& e : entries)
        fields << e.value.toString();
    return true;
}

Mirror mirrorOf(const datafilter::Entry& entry)
{
    Mirror m;
    m.value = entry.from;
    if (!entry.on)
        m.check = Qt::Unchecked;
    else if (entry.isRange() && entry.from != entry.to)
        m.check = Qt::PartiallyChecked;
    else
        m.check = Qt::Checked;
    return m;
}

}  // namespace quickfilter
