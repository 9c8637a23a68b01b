#include "data_filter.h"

#include "browser/cell_text.h"
#include "browser/module.h"
#include "store/error.h"
#include "store/polish_dates.h"
#include "store/table.h"
#include "store/values.h"

#include <QCollator>
#include <QLocale>
#include <QPointer>

#include <cmath>

namespace datafilter {

namespace {

QString dateText(const QDate& d)
{
    return polish::shortDate(d);
}

QDate readDate(const QString& text)
{
    const QString t = text.trimmed();
    QDate d = polish::parseShortDate(t);
    if (!d.isValid())
        d = QDate::fromString(t, Qt::ISODate);
    return d;
}

Kind kindOf(FieldType type)
{
    switch (type) {
    case FieldType::AutoInc:
    case FieldType::Integer:
    case FieldType::SmallInt: return Kind::Integer;
    case FieldType::Float: return Kind::Float;
    case FieldType::Date:
    case FieldType::DateTime: return Kind::Date;
    default: return Kind::Text;
    }
}

// An upper bound of nothing but "z" is the untouched default meaning "to
// the end of the alphabet"; in Polish order "ź" and "ż" come after "z", so
// taken literally it would drop every name beginning with them.
bool endOfAlphabet(const QString& to)
{
    if (to.isEmpty())
        return false;
    for (QChar c : to)
        if (c != QLatin1Char('z') && c != QLatin1Char('Z'))
            return false;
    return true;
}

// The default range of ROK… and MIES… fields narrows to the system date's
// year or month when the declared bounds hold it.
void narrowToSystemDate(Entry& e, const QDate& today)
{
    const QString name = e.field.toUpper();
    int value = 0;
    if (name.startsWith(QLatin1String("ROK")))
        value = today.year();
    else if (name.startsWith(QLatin1String("MIES")))
        value = today.month();
    else
        return;
    if (value >= e.minValue && value <= e.maxValue)
        e.from = e.to = QString::number(value);
}

}  // namespace

QString textUpperDefault(int width)
{
    const int n = width > 0 && width < 10 ? width : 10;
    return QString(n, QLatin1Char('z'));
}

QString numberText(double value, Kind kind)
{
    if (kind == Kind::Integer)
        return QString::number(qRound64(value));
    QLocale polish(QLocale::Polish, QLocale::Poland);
    polish.setNumberOptions(QLocale::OmitGroupSeparator);
    return polish.toString(value, 'g', 15);
}

std::optional<double> readNumber(const QString& text)
{
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

bool acceptsNumberKey(const QString& text, QChar key)
{
    if (key == QLatin1Char('\b') || key == QLatin1Char('-') || (key >= QLatin1Char('0') && key <= QLatin1Char('9')))
        return true;
    if (key == QLatin1Char(',') || key == QLatin1Char('.'))
        return !text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('.'));
    return false;
}

void checkBound(const Entry& entry, double value)
{
    if (!entry.checksBounds())
        return;
    if (value > entry.maxValue)
        throw Error(QStringLiteral("Maksymalna wartość pola to ") + numberText(entry.maxValue, entry.kind));
    if (value < entry.minValue)
        throw Error(QStringLiteral("Minimalna wartość pola to ") + numberText(entry.minValue, entry.kind));
}

// One entry of the active filter with its bounds read as its type.
struct Active {
    int index = 0;
    QVariant from;  // invalid: an empty date bound
    QVariant to;
    bool openEnd = false;  // text: no upper bound
};

struct Filter::Impl {
    QList<Active> active;
    QCollator collator{QLocale(QLocale::Polish, QLocale::Poland)};
    Impl() { collator.setCaseSensitivity(Qt::CaseInsensitive); }
};

namespace {

QVariant readBound(const Entry& e, const QString& text)
{
    switch (e.kind) {
    case Kind::Integer: {
        bool ok = false;
        const qlonglong v = text.trimmed().toLongLong(&ok);
        if (!ok)
            throw Error(QStringLiteral("'%1' nie jest poprawną liczbą całkowitą").arg(text));
        return v;
    }
    case Kind::Float: {
        const std::optional<double> v = readNumber(text);
        if (!v)
            throw Error(QStringLiteral("'%1' nie jest poprawną liczbą").arg(text));
        return *v;
    }
    case Kind::Date: {
        if (text.trimmed().isEmpty())
            return QVariant();
        const QDate d = readDate(text);
        if (!d.isValid())
            throw Error(QStringLiteral("'%1' nie jest poprawną datą").arg(text));
        return d;
    }
    case Kind::Text:
    case Kind::Lookup: break;
    }
    return text;
}

}  // namespace

Filter::Filter(const DataSet& dataSet, std::function<QDate()> systemDate)
    : m_dataSet(dataSet), m_systemDate(std::move(systemDate)), m(std::make_unique<Impl>())
{
}

Filter::~Filter() = default;

void Filter::fill()
{
    m_filled = true;
    m_entries.clear();
    const Table* table = m_dataSet.table;
    if (!table)
        return;
    const QDate today = m_systemDate ? m_systemDate() : QDate::currentDate();
    try {
        for (const FieldView& v : m_dataSet.fields) {
            if (!v.visible || !table->hasField(v.name))
                continue;
            const Table::Field& f = table->field(v.name);
            const bool lookup = f.kind == Table::FieldKind::Lookup || cell::hasLookupSource(f);
            // Calculated values without a source to choose from, and
            // pictures, have nothing a range could compare.
            if ((f.kind == Table::FieldKind::Calculated && !lookup) || f.def.type == FieldType::Graphic)
                continue;
            Entry e;
            e.field = v.name;
            e.caption = v.caption;
            e.type = f.def.type;
            e.minValue = v.minValue;
            e.maxValue = v.maxValue;
            if (lookup) {
                e.kind = Kind::Lookup;
                e.keyField = f.keyFields.isEmpty() ? v.name : f.keyFields.last();
            } else {
                e.kind = kindOf(f.def.type);
                switch (e.kind) {
                case Kind::Integer:
                    e.from = numberText(e.minValue, e.kind);
                    e.to = numberText(e.maxValue, e.kind);
                    narrowToSystemDate(e, today);
                    break;
                case Kind::Float:
                    e.from = numberText(e.minValue, e.kind);
                    e.to = numberText(e.maxValue, e.kind);
                    break;
                case Kind::Date:
                    e.from = dateText(today.addDays(-30));
                    e.to = dateText(today);
                    break;
                case Kind::Text:
                    if (f.def.isText())
                        e.to = textUpperDefault(f.def.width);
                    break;
                case Kind::Lookup: break;
                }
            }
            e.appliedFrom = e.from;
            e.appliedTo = e.to;
            m_entries << e;
        }
    } catch (const Error&) {
        m_entries.clear();
    }
}

QList<Entry>& Filter::entries()
{
    if (!m_filled)
        fill();
    return m_entries;
}

int Filter::indexOf(const QString& field)
{
    const QList<Entry>& list = entries();
    for (int i = 0; i < list.size(); ++i)
        if (list[i].field.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

Entry* Filter::entry(const QString& field)
{
    const int i = indexOf(field);
    return i >= 0 ? &m_entries[i] : nullptr;
}

void Filter::setFrom(int index, const QString& text)
{
    if (index < 0 || index >= entries().size())
        return;
    m_entries[index].from = text;
    m_entries[index].on = true;
}

void Filter::setTo(int index, const QString& text)
{
    if (index < 0 || index >= entries().size())
        return;
    m_entries[index].to = text;
    m_entries[index].on = true;
}

void Filter::choose(int index, const QString& key, const QString& text)
{
    if (index < 0 || index >= entries().size())
        return;
    Entry& e = m_entries[index];
    e.from = key;
    e.to = text;
    e.on = true;
}

void Filter::switchAll(bool on)
{
    for (Entry& e : entries())
        e.on = on;
}

void Filter::chooseValue(const QString& field, const QVariant& from, const QString& to)
{
    if (Entry* e = entry(field)) {
        e->from = from.toString();
        e->to = to;
        e->on = true;
    }
}

void Filter::setActive(const QString& field, bool on)
{
    Entry* e = entry(field);
    if (!e)
        return;
    if (on && e->kind == Kind::Lookup && e->from.isEmpty())
        return;  // nothing chosen yet to filter on
    if (on && e->isRange())
        e->to = e->from;
    e->on = on;
}

void Filter::apply()
{
    QList<Active> active;
    QList<Entry>& list = entries();
    for (int i = 0; i < list.size(); ++i) {
        const Entry& e = list[i];
        if (!e.on)
            continue;
        Active a;
        a.index = i;
        a.from = readBound(e, e.from);
        a.to = readBound(e, e.to);
        a.openEnd = e.kind == Kind::Text && endOfAlphabet(e.to);
        active << a;
    }
    for (Entry& e : list) {
        e.applied = e.on;
        e.appliedFrom = e.from;
        e.appliedTo = e.to;
    }
    m->active = active;
}

void Filter::restore()
{
    for (Entry& e : entries()) {
        e.on = e.applied;
        e.from = e.appliedFrom;
        e.to = e.appliedTo;
    }
}

bool Filter::isActive() const
{
    return !m->active.isEmpty();
}

bool Filter::accepts(const Table& table) const
{
    for (const Active& a : m->active) {
        const Entry& e = m_entries[a.index];
        const QVariant value = table.value(e.field);
        switch (e.kind) {
        case Kind::Integer: {
            const qlonglong v = value.toLongLong();
            if (v < a.from.toLongLong() || v > a.to.toLongLong())
                return false;
            break;
        }
        case Kind::Float: {
            const double v = value.toDouble();
            if (v < a.from.toDouble() || v > a.to.toDouble())
                return false;
            break;
        }
        case Kind::Date: {
            // A date-time is compared by its day: "do" a date keeps that
            // whole day.
            const QDate v = e.type == FieldType::DateTime ? value.toDateTime().date() : value.toDate();
            const bool empty = !v.isValid();
            const bool hasFrom = a.from.isValid(), hasTo = a.to.isValid();
            if (hasFrom && !(empty ? !hasTo : v >= a.from.toDate()))
                return false;
            if (hasTo && !(empty ? !hasFrom : v <= a.to.toDate()))
                return false;
            break;
        }
        case Kind::Text: {
            const QString v = values::isEmpty(value) ? QString() : cell::text(value, e.type);
            if (m->collator.compare(a.from.toString(), v) > 0)
                return false;
            if (!a.openEnd && m->collator.compare(v, a.to.toString()) > 0)
                return false;
            break;
        }
        case Kind::Lookup:
            if (table.text(e.keyField) != a.from.toString())
                return false;
            break;
        }
    }
    return true;
}

QString Filter::description() const
{
    QString out;
    for (const Active& a : m->active) {
        const Entry& e = m_entries[a.index];
        out += QStringLiteral(", ") + e.caption + QStringLiteral(": ");
        if (e.kind == Kind::Date) {
            if (!e.appliedFrom.isEmpty())
                out += QStringLiteral("od ") + e.appliedFrom;
            if (!e.appliedTo.isEmpty())
                out += QStringLiteral(" do ") + e.appliedTo;
        } else if (e.kind == Kind::Lookup) {
            out += e.appliedTo;
        } else {
            out += QStringLiteral("od ") + e.appliedFrom + QStringLiteral(" do ") + e.appliedTo;
        }
    }
    return out.mid(2);
}

struct Installed::Impl {
    QPointer<Table> table;
    std::function<bool(const Table&)> previous;
};

Installed::Installed(Table& table, std::shared_ptr<const Filter> filter) : m(std::make_unique<Impl>())
{
    m->table = &table;
    m->previous = table.rowTest();
    auto previous = m->previous;
    table.setRowTest([previous, filter](const Table& t) { return (!previous || previous(t)) && filter->accepts(t); });
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

}  // namespace datafilter
