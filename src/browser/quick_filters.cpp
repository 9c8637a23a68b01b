#include "quick_filters.h"

#include "browser/cell_text.h"
#include "browser/module.h"
#include "store/table.h"

#include <QPointer>

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

void Filters::setFields(const QStringList& fields)
{
    QList<Entry> kept;
    for (const QString& f : fields) {
        const Entry* old = entry(f);
        Entry fresh;
        fresh.field = f;
        kept << (old ? *old : fresh);
    }
    m_entries = kept;
}

QStringList Filters::fields() const
{
    QStringList out;
    for (const Entry& e : m_entries)
        out << e.field;
    return out;
}

const Entry* Filters::entry(const QString& field) const
{
    return const_cast<Filters*>(this)->find(field);
}

Entry* Filters::find(const QString& field)
{
    for (Entry& e : m_entries)
        if (e.field.compare(field, Qt::CaseInsensitive) == 0)
            return &e;
    return nullptr;
}

void Filters::chooseValue(const QString& field, const QVariant& from, const QString& to)
{
    if (Entry* e = find(field)) {
        e->from = from;
        e->to = to;
        e->active = true;
    }
}

void Filters::setActive(const QString& field, bool on)
{
    if (Entry* e = find(field))
        e->active = on && e->from.isValid();
}

bool Filters::anyActive() const
{
    for (const Entry& e : m_entries)
        if (e.active)
            return true;
    return false;
}

bool Filters::accepts(const Table& table) const
{
    for (const Entry& e : m_entries) {
        if (!e.active || !table.hasField(e.field))
            continue;
        const Table::Field& f = table.field(e.field);
        if (f.kind == Table::FieldKind::Lookup || cell::hasLookupSource(f)) {
            if (f.keyFields.isEmpty() || table.value(f.keyFields.last()).toString() != e.from.toString())
                return false;
        } else if (table.text(e.field) != e.from.toString()) {
            return false;
        }
    }
    return true;
}

struct Installed::Impl {
    QPointer<Table> table;
    std::function<bool(const Table&)> previous;
};

Installed::Installed(Table& table, std::shared_ptr<const Filters> filters) : m(std::make_unique<Impl>())
{
    m->table = &table;
    m->previous = table.rowTest();
    auto previous = m->previous;
    table.setRowTest([previous, filters](const Table& t) { return (!previous || previous(t)) && filters->accepts(t); });
}

Installed::~Installed()
{
    if (!m->table)
        return;
    try {
        m->table->setRowTest(m->previous);
    } catch (...) {
        // the re-read after closing a window is not worth a crash
    }
}

}  // namespace quickfilter
