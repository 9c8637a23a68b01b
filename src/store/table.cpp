#include "table.h"

#include "database.h"
#include "error.h"
#include "query.h"
#include "values.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

namespace {

const QCollator& polishCollator()
{
    static thread_local const QCollator collator = [] {
        QCollator c{QLocale(QLocale::Polish, QLocale::Poland)};
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return collator;
}

// Codes (T/N, '0'/'1', "ul.") order by their characters; names and other
// longer texts in Polish alphabetical order without regard to case.
bool collated(const FieldDef& f)
{
    return f.type == FieldType::Memo || (f.type == FieldType::String && f.width > 3);
}

int compareValues(const QVariant& a, const QVariant& b, const FieldDef& f)
{
    const bool ea = values::isEmpty(a), eb = values::isEmpty(b);
    if (ea || eb)
        return ea == eb ? 0 : (ea ? -1 : 1);
    auto cmp = [](const auto& x, const auto& y) { return x < y ? -1 : (y < x ? 1 : 0); };
    switch (f.type) {
    case FieldType::AutoInc:
    case FieldType::Integer:
    case FieldType::SmallInt:
        return cmp(a.toLongLong(), b.toLongLong());
    case FieldType::Float:
        return cmp(a.toDouble(), b.toDouble());
    case FieldType::Date:
        return cmp(a.toDate(), b.toDate());
    case FieldType::Time:
        return cmp(a.toTime(), b.toTime());
    case FieldType::DateTime:
        return cmp(a.toDateTime(), b.toDateTime());
    case FieldType::String:
    case FieldType::Memo: {
        if (collated(f))
            return polishCollator().compare(a.toString(), b.toString());
        const int r = QString::compare(a.toString(), b.toString());
        return r < 0 ? -1 : (r > 0 ? 1 : 0);
    }
    case FieldType::Graphic:
        return 0;
    }
    return 0;
}

// Equal for the purpose of "did the user change it": exact, unlike the
// tolerant comparison the optimistic check uses.
bool identical(const QVariant& a, const QVariant& b)
{
    const bool ea = values::isEmpty(a), eb = values::isEmpty(b);
    if (ea || eb)
        return ea == eb;
    return a == b;
}

QString changedMessage()
{
    return QStringLiteral("Dane zostały w międzyczasie zmienione przez innego użytkownika.\n"
                          "Zmiany nie zostały zapisane: odśwież dane i wprowadź je ponownie.");
}

QString deletedMessage()
{
    return QStringLiteral("Dane zostały w międzyczasie usunięte przez innego użytkownika.");
}

QString keyText(const QVariantList& key)
{
    QStringList parts;
    for (const QVariant& v : key)
        parts << values::bindable(v).toString();
    return parts.join(QChar(0x1f));
}

}  // namespace

Table::Table(Database& db, const QString& tableName, QObject* parent)
    : QObject(parent), m_db(db), m_table(tableName.toUpper())
{
}

Table::~Table()
{
    if (m_master)
        m_master->m_details.removeAll(this);
    for (Table* d : m_details)
        d->m_master = nullptr;
}

// ---- structure ----

int Table::fieldIndex(const QString& name) const
{
    // Names are nearly always written as stored (upper case).
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].def.name == name)
            return i;
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].def.name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int Table::requireField(const QString& name) const
{
    const int i = fieldIndex(name);
    if (i < 0)
        throw Error(QStringLiteral("Tabela %1 nie ma pola %2").arg(m_table, name));
    return i;
}

const Table::Field& Table::field(const QString& name) const
{
    return m_fields[requireField(name)];
}

bool Table::hasStoredField(const QString& name) const
{
    const int i = fieldIndex(name);
    return i >= 0 && m_fields[i].kind == FieldKind::Data && m_fields[i].present;
}

void Table::addCalculatedField(const FieldDef& def)
{
    Field f;
    f.def = def;
    f.def.name = def.name.toUpper();
    f.kind = FieldKind::Calculated;
    m_extraFields << f;
    if (isOpen()) {
        loadStructure();
        refresh();
    }
}

void Table::addLookupField(const FieldDef& def, const QString& keyFields, Table* lookupTable,
                           const QString& lookupKeyFields, const QString& resultField)
{
    Field f;
    f.def = def;
    f.def.name = def.name.toUpper();
    f.kind = FieldKind::Lookup;
    f.keyFields = schema::splitFieldList(keyFields);
    f.lookupTable = lookupTable;
    f.lookupKeys = schema::splitFieldList(lookupKeyFields);
    f.lookupResult = resultField.toUpper();
    m_extraFields << f;
    if (isOpen()) {
        loadStructure();
        refresh();
    }
}

void Table::loadStructure()
{
    const TableDef* def = schema::table(m_table);
    const QList<StoreField> stored = m_db.fields(m_table);
    QList<Field> fields;
    for (const StoreField& sf : stored) {
        Field f;
        const FieldDef* known = def ? def->field(sf.name) : nullptr;
        if (known)
            f.def = *known;
        else
            f.def = FieldDef::of(sf.name, sf.type, sf.width);
        // The store decides whether a key is numbered (one-group children).
        if (sf.autoInc)
            f.def.type = FieldType::AutoInc;
        else if (f.def.type == FieldType::AutoInc)
            f.def.type = FieldType::Integer;
        if (sf.width > 0 && f.def.type == FieldType::String)
            f.def.width = sf.width;
        fields << f;
    }
    if (def) {
        for (const FieldDef& fd : def->fields) {
            const bool there = std::any_of(fields.begin(), fields.end(),
                                           [&](const Field& f) { return f.def.name == fd.name; });
            if (!there) {
                Field f;
                f.def = fd;
                f.present = false;
                fields << f;
            }
        }
    }
    fields << m_extraFields;
    m_fields = fields;
    m_orderFields.clear();
    for (const QString& name : m_ordering) {
        const int i = requireField(name);
        if (m_fields[i].kind != FieldKind::Data || !m_fields[i].present)
            throw Error(QStringLiteral("Tabela %1 nie ma pola %2").arg(m_table, name));
        m_orderFields << i;
    }
    m_lookupCache.clear();
}

TableRights Table::rights() const
{
    return m_db.tableRights(m_table);
}

// ---- reading ----

void Table::open()
{
    if (isOpen())
        return;
    loadStructure();
    if (!rights().can(rights::Read))
        throw AccessDenied();
    m_state = State::Browse;
    try {
        load();
    } catch (...) {
        m_state = State::Inactive;
        m_rows.clear();
        throw;
    }
    m_pos = m_rows.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.isEmpty();
    emit stateChanged();
    emit dataChanged();
    changedPosition(-2);
}

void Table::close()
{
    if (!isOpen())
        return;
    m_state = State::Inactive;
    m_rows.clear();
    m_buffer = Row();
    m_pos = -1;
    m_eof = m_bof = true;
    ++m_generation;
    emit stateChanged();
    emit dataChanged();
    for (Table* d : m_details)
        d->masterMoved();
}

void Table::refresh()
{
    if (!isOpen())
        return;
    if (isEditing())
        post();
    const QVariant id = rowId();
    const int oldPos = m_pos;
    load();
    m_pos = -1;
    for (int i = 0; i < m_rows.size() && id.isValid(); ++i)
        if (m_rows[i].id == id) {
            m_pos = i;
            break;
        }
    if (m_pos < 0 && !m_rows.isEmpty())
        m_pos = std::clamp(oldPos, 0, int(m_rows.size()) - 1);
    m_eof = m_rows.isEmpty();
    m_bof = m_pos <= 0;
    emit dataChanged();
    changedPosition(-2);
}

void Table::load()
{
    m_rows.clear();
    ++m_generation;
    m_lookupCache.clear();
    const bool pg = m_db.engine() == Engine::PostgreSQL;
    const QString idColumn = m_db.rowIdColumn(m_table);
    QStringList columns{idColumn};
    QList<int> dataIndexes;
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].kind == FieldKind::Data && m_fields[i].present) {
            columns << m_fields[i].def.name;
            dataIndexes << i;
        }

    QStringList where;
    QList<QPair<QString, QVariant>> binds;
    auto equal = [&](const QString& field, const QVariant& v) {
        if (values::isEmpty(v)) {
            where << field + QStringLiteral(" IS NULL");
        } else {
            const QString p = QStringLiteral("p%1").arg(binds.size());
            where << QStringLiteral("%1 = :%2").arg(field, p);
            binds.append({p, v});
        }
    };
    if (m_master) {
        const QVariantList mv = masterValues();
        if (mv.isEmpty())
            return;  // no master row: no details
        for (int k = 0; k < m_detailFields.size(); ++k)
            equal(m_detailFields[k], mv.value(k));
    }
    for (int j = 0; j < m_rangeLow.size() && j < m_orderFields.size(); ++j) {
        const FieldDef& f = m_fields[m_orderFields[j]].def;
        const QVariant lo = m_rangeLow.value(j), hi = m_rangeHigh.value(j);
        if (identical(lo, hi)) {
            equal(f.name, lo);
            continue;
        }
        // Past the equal prefix the range is checked row by row; a numeric
        // or date field narrows the read here first.
        if (!f.isText()) {
            if (!values::isEmpty(lo)) {
                const QString p = QStringLiteral("p%1").arg(binds.size());
                where << QStringLiteral("%1 >= :%2").arg(f.name, p);
                binds.append({p, lo});
            }
            if (!values::isEmpty(hi)) {
                const QString p = QStringLiteral("p%1").arg(binds.size());
                where << QStringLiteral("%1 <= :%2").arg(f.name, p);
                binds.append({p, hi});
            }
        }
        break;
    }
    QStringList order;
    for (int i : m_orderFields) {
        const FieldDef& f = m_fields[i].def;
        QString item = f.name;
        if (pg && f.isText())
            item += QStringLiteral(" COLLATE \"C\"");
        if (pg)
            item += QStringLiteral(" NULLS FIRST");
        order << item;
    }
    order << idColumn;
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(columns.join(QStringLiteral(", ")), m_table);
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where.join(QStringLiteral(" AND "));
    sql += QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));

    Query q(m_db, sql);
    for (const auto& [name, v] : binds)
        q.bind(name, v);
    q.exec();
    const TableRights r = rights();
    QList<bool> hidden;
    for (int i : dataIndexes)
        hidden << !r.canRead(m_fields[i].def.name);
    const int fieldCount = int(m_fields.size());
    while (q.next()) {
        Row row;
        row.id = q.value(0).toLongLong();
        row.values.resize(fieldCount);
        for (int c = 0; c < dataIndexes.size(); ++c)
            if (!hidden[c])
                row.values[dataIndexes[c]] = values::fromStore(q.value(c + 1), m_fields[dataIndexes[c]].def.type);
        if (accepted(row))
            m_rows.append(std::move(row));
    }
    const bool memorySort = std::any_of(m_orderFields.begin(), m_orderFields.end(),
                                        [&](int i) { return m_fields[i].def.isText(); });
    if (memorySort) {
        auto less = [this](const Row& a, const Row& b) { return compareRows(a, b) < 0; };
        if (!std::is_sorted(m_rows.begin(), m_rows.end(), less))
            std::stable_sort(m_rows.begin(), m_rows.end(), less);
    }
}

Table::Row Table::readRow(const QVariant& id) const
{
    Row row;
    row.values.resize(m_fields.size());
    QStringList columns;
    QList<int> dataIndexes;
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].kind == FieldKind::Data && m_fields[i].present) {
            columns << m_fields[i].def.name;
            dataIndexes << i;
        }
    Query q(m_db, QStringLiteral("SELECT %1 FROM %2 WHERE %3 = :ID")
                      .arg(columns.join(QStringLiteral(", ")), m_table, m_db.rowIdColumn(m_table)));
    q.bind(QStringLiteral("ID"), id).exec();
    if (!q.next())
        return row;
    row.id = id;
    const TableRights r = rights();
    for (int c = 0; c < dataIndexes.size(); ++c)
        if (r.canRead(m_fields[dataIndexes[c]].def.name))
            row.values[dataIndexes[c]] = values::fromStore(q.value(c), m_fields[dataIndexes[c]].def.type);
    return row;
}

bool Table::inRange(const Row& row) const
{
    if (m_rangeLow.isEmpty())
        return true;
    const int k = int(std::min(m_rangeLow.size(), qsizetype(m_orderFields.size())));
    for (int j = 0; j < k; ++j) {
        const FieldDef& f = m_fields[m_orderFields[j]].def;
        const QVariant& v = row.values[m_orderFields[j]];
        const int lo = compareValues(v, m_rangeLow.value(j), f);
        const bool openHigh = values::isEmpty(m_rangeHigh.value(j)) && !values::isEmpty(m_rangeLow.value(j));
        const int hi = openHigh ? -1 : compareValues(v, m_rangeHigh.value(j), f);
        if (lo < 0 || hi > 0)
            return false;
        if (lo > 0 && hi < 0)
            return true;  // strictly inside on this field: later fields don't matter
        if (lo > 0) {
            // equal to the high bound: the rest must not exceed it
            for (int m = j + 1; m < k; ++m) {
                const int c = compareValues(row.values[m_orderFields[m]], m_rangeHigh.value(m),
                                            m_fields[m_orderFields[m]].def);
                if (c != 0)
                    return c < 0;
            }
            return true;
        }
        if (hi < 0) {
            for (int m = j + 1; m < k; ++m) {
                const int c = compareValues(row.values[m_orderFields[m]], m_rangeLow.value(m),
                                            m_fields[m_orderFields[m]].def);
                if (c != 0)
                    return c > 0;
            }
            return true;
        }
    }
    return true;
}

bool Table::accepted(const Row& row) const
{
    if (!inRange(row))
        return false;
    if (m_filter.isEmpty() && !m_rowTest)
        return true;
    const Row* saved = m_probe;
    m_probe = &row;
    bool ok = true;
    try {
        if (!m_filter.isEmpty())
            ok = m_filter.matches([this](const QString& name) { return value(name); });
        if (ok && m_rowTest)
            ok = m_rowTest(*this);
    } catch (...) {
        m_probe = saved;
        throw;
    }
    m_probe = saved;
    return ok;
}

int Table::compareRows(const Row& a, const Row& b) const
{
    for (int i : m_orderFields) {
        const int c = compareValues(a.values[i], b.values[i], m_fields[i].def);
        if (c != 0)
            return c;
    }
    const qlonglong x = a.id.toLongLong(), y = b.id.toLongLong();
    return x < y ? -1 : (x > y ? 1 : 0);
}

int Table::compareKey(const Row& row, const QVariantList& key) const
{
    for (int k = 0; k < key.size() && k < m_orderFields.size(); ++k) {
        const int i = m_orderFields[k];
        const int c = compareValues(row.values[i], key[k], m_fields[i].def);
        if (c != 0)
            return c;
    }
    return 0;
}

int Table::lowerBound(const Row& row) const
{
    auto it = std::lower_bound(m_rows.begin(), m_rows.end(), row,
                               [this](const Row& a, const Row& b) { return compareRows(a, b) < 0; });
    return int(it - m_rows.begin());
}

// Puts a saved row where the ordering wants it and makes it current; a row
// that no longer passes the range or filters leaves the snapshot.
void Table::placeRow(Row row, int oldIndex)
{
    if (oldIndex >= 0 && oldIndex < m_rows.size())
        m_rows.removeAt(oldIndex);
    int pos = -1;
    if (row.id.isValid() && accepted(row)) {
        pos = lowerBound(row);
        m_rows.insert(pos, std::move(row));
    }
    if (pos < 0 && !m_rows.isEmpty())
        pos = std::clamp(oldIndex >= 0 ? oldIndex : m_pos, 0, int(m_rows.size()) - 1);
    m_pos = m_rows.isEmpty() ? -1 : pos;
    m_eof = m_rows.isEmpty();
    m_bof = m_pos <= 0;
}

// ---- values ----

const Table::Row* Table::currentRow() const
{
    if (m_probe)
        return m_probe;
    if (isEditing())
        return &m_buffer;
    if (m_pos >= 0 && m_pos < m_rows.size())
        return &m_rows[m_pos];
    return nullptr;
}

QVariant Table::rowId() const
{
    if (m_state == State::Insert)
        return {};
    if (m_pos >= 0 && m_pos < m_rows.size())
        return m_rows[m_pos].id;
    return {};
}

void Table::compute(const Row& row) const
{
    row.computed = true;
    const Row* saved = m_probe;
    m_probe = &row;
    try {
        for (int i = 0; i < m_fields.size(); ++i) {
            const Field& f = m_fields[i];
            if (f.kind == FieldKind::Calculated) {
                row.values[i] = QVariant();
            } else if (f.kind == FieldKind::Lookup) {
                QVariant result;
                Table* lt = f.lookupTable;
                if (lt && lt->isOpen()) {
                    auto& cache = m_lookupCache[i];
                    if (cache.first != lt->m_generation || cache.second.isEmpty()) {
                        cache.first = lt->m_generation;
                        cache.second.clear();
                        for (int r = 0; r < lt->rowCount(); ++r) {
                            QVariantList k;
                            for (const QString& name : f.lookupKeys)
                                k << lt->valueAt(r, name);
                            const QString text = keyText(k);
                            if (!cache.second.contains(text))
                                cache.second.insert(text, lt->valueAt(r, f.lookupResult));
                        }
                    }
                    QVariantList k;
                    for (const QString& name : f.keyFields)
                        k << value(name);
                    result = cache.second.value(keyText(k));
                }
                row.values[i] = result;
            }
        }
        if (m_events.onCalcFields)
            m_events.onCalcFields(const_cast<Table&>(*this));
    } catch (...) {
        m_probe = saved;
        throw;
    }
    m_probe = saved;
}

void Table::computeBuffer()
{
    m_buffer.computed = false;
    if (!m_extraFields.isEmpty())
        compute(m_buffer);
    else
        m_buffer.computed = true;
}

QVariant Table::value(const QString& name) const
{
    const int i = requireField(name);
    const Row* row = currentRow();
    if (!row)
        return {};
    if (m_fields[i].kind != FieldKind::Data && !row->computed)
        compute(*row);
    return row->values.value(i);
}

QVariant Table::valueAt(int rowIndex, const QString& name) const
{
    if (rowIndex < 0 || rowIndex >= m_rows.size())
        return {};
    const Row* saved = m_probe;
    m_probe = &m_rows[rowIndex];
    QVariant v;
    try {
        v = value(name);
    } catch (...) {
        m_probe = saved;
        throw;
    }
    m_probe = saved;
    return v;
}

bool Table::isNull(const QString& name) const
{
    return values::isEmpty(value(name));
}

void Table::setCalculated(const QString& name, const QVariant& v)
{
    const int i = requireField(name);
    if (m_fields[i].kind != FieldKind::Calculated)
        throw Error(QStringLiteral("Pole %1 nie jest polem wyliczanym").arg(name));
    const Row* row = currentRow();
    if (row)
        row->values[i] = v;
}

void Table::setValue(const QString& name, const QVariant& v)
{
    const int i = requireField(name);
    const Field& f = m_fields[i];
    if (!isEditing())
        throw Error(QStringLiteral("Dane tabeli %1 nie są w trybie edycji").arg(m_table));
    if (f.kind != FieldKind::Data)
        throw Error(QStringLiteral("Pole \"%1\" jest wyliczane i nie może być zmieniane").arg(f.def.displayCaption()));
    if (!f.present)
        return;  // an optional column this store lacks
    if (f.def.type == FieldType::AutoInc)
        throw Error(QStringLiteral("Pole \"%1\" jest numerowane automatycznie i nie może być zmieniane")
                        .arg(f.def.displayCaption()));
    const TableRights r = rights();
    const bool tableAllows = m_state == State::Insert ? r.can(rights::Insert) : r.can(rights::Modify);
    if (!tableAllows || !(r.field(f.def.name) & rights::Modify))
        throw AccessDenied();
    const QVariant nv = values::normalize(v, f.def);
    const QVariant old = m_buffer.values[i];
    if (identical(old, nv))
        return;
    m_buffer.values[i] = nv;
    m_modified = true;
    try {
        computeBuffer();
        if (m_events.onFieldChange)
            m_events.onFieldChange(*this, f.def.name);
    } catch (...) {
        // A handler may have saved the row before failing: then there is no
        // edit buffer left to restore.
        if (isEditing()) {
            m_buffer.values[i] = old;
            computeBuffer();
        }
        throw;
    }
    emit dataChanged();
}

// ---- moving ----

void Table::changedPosition(int oldPos)
{
    if (oldPos == m_pos)
        return;
    if (m_events.afterScroll)
        m_events.afterScroll(*this);
    emit scrolled();
    for (Table* d : m_details)
        d->masterMoved();
}

bool Table::setPosition(int row)
{
    if (row < 0 || row >= m_rows.size())
        return false;
    if (isEditing())
        post();
    const int old = m_pos;
    m_pos = row;
    m_eof = m_bof = false;
    changedPosition(old);
    return true;
}

void Table::first()
{
    if (isEditing())
        post();
    const int old = m_pos;
    m_pos = m_rows.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.isEmpty();
    changedPosition(old);
}

void Table::last()
{
    if (isEditing())
        post();
    const int old = m_pos;
    m_pos = int(m_rows.size()) - 1;
    m_eof = true;
    m_bof = m_rows.isEmpty();
    changedPosition(old);
}

void Table::next()
{
    if (isEditing())
        post();
    if (m_pos + 1 < m_rows.size()) {
        const int old = m_pos;
        ++m_pos;
        m_bof = m_eof = false;
        changedPosition(old);
    } else {
        m_eof = true;
    }
}

void Table::prior()
{
    if (isEditing())
        post();
    if (m_pos > 0) {
        const int old = m_pos;
        --m_pos;
        m_bof = m_eof = false;
        changedPosition(old);
    } else {
        m_bof = true;
    }
}

bool Table::find(const QVariantList& key)
{
    if (isEditing())
        post();
    if (key.size() > m_orderFields.size())
        throw Error(QStringLiteral("Porządek tabeli %1 nie ma tylu pól").arg(m_table));
    QVariantList k;
    for (int j = 0; j < key.size(); ++j)
        k << values::normalize(key[j], m_fields[m_orderFields[j]].def);
    int lo = 0, hi = int(m_rows.size());
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (compareKey(m_rows[mid], k) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    for (int r = lo; r < m_rows.size() && compareKey(m_rows[r], k) == 0; ++r) {
        bool exact = true;
        for (int j = 0; j < k.size() && exact; ++j)
            exact = identical(m_rows[r].values[m_orderFields[j]], k[j]);
        if (exact)
            return setPosition(r);
    }
    return false;
}

bool Table::locate(const QStringList& fieldNames, const QVariantList& wanted)
{
    if (isEditing())
        post();
    QList<int> idx;
    QVariantList normalized;
    for (int j = 0; j < fieldNames.size(); ++j) {
        idx << requireField(fieldNames[j]);
        normalized << values::normalize(wanted.value(j), m_fields[idx.last()].def);
    }
    for (int r = 0; r < m_rows.size(); ++r) {
        bool match = true;
        for (int j = 0; j < idx.size() && match; ++j)
            match = identical(valueAt(r, m_fields[idx[j]].def.name), normalized[j]);
        if (match)
            return setPosition(r);
    }
    return false;
}

// ---- what the snapshot holds ----

void Table::setOrdering(const QString& fieldList)
{
    m_ordering = schema::splitFieldList(fieldList);
    if (isOpen()) {
        loadStructure();
        refresh();
    }
}

void Table::setRange(const QVariantList& low, const QVariantList& high)
{
    if (low.size() > m_ordering.size() || high.size() > m_ordering.size())
        throw Error(QStringLiteral("Porządek tabeli %1 nie ma tylu pól").arg(m_table));
    if (isOpen() && isEditing())
        post();
    if (m_fields.isEmpty())
        loadStructure();
    m_rangeLow.clear();
    m_rangeHigh.clear();
    const qsizetype k = std::max(low.size(), high.size());
    for (qsizetype j = 0; j < k; ++j) {
        const FieldDef& f = m_fields[m_orderFields[j]].def;
        m_rangeLow << values::normalize(low.value(j), f);
        m_rangeHigh << values::normalize(high.value(j), f);
    }
    if (isOpen()) {
        load();
        first();
        changedPosition(-2);
    }
}

void Table::cancelRange()
{
    m_rangeLow.clear();
    m_rangeHigh.clear();
    if (isOpen())
        refresh();
}

void Table::setMasterLink(Table* master, const QString& masterFields, const QString& detailFields)
{
    clearMasterLink();
    m_master = master;
    m_masterFields = schema::splitFieldList(masterFields);
    m_detailFields = schema::splitFieldList(detailFields);
    if (m_masterFields.size() != m_detailFields.size())
        throw Error(QStringLiteral("Niezgodne pola powiązania tabeli %1").arg(m_table));
    master->m_details << this;
    masterMoved();
}

void Table::clearMasterLink()
{
    if (m_master)
        m_master->m_details.removeAll(this);
    m_master = nullptr;
    m_masterFields.clear();
    m_detailFields.clear();
}

QVariantList Table::masterValues() const
{
    if (!m_master || !m_master->isOpen() || !m_master->currentRow())
        return {};
    QVariantList out;
    bool any = false;
    for (const QString& f : m_masterFields) {
        out << m_master->value(f);
        any = any || !values::isEmpty(out.last());
    }
    return any ? out : QVariantList();
}

void Table::masterMoved()
{
    if (!isOpen())
        return;
    if (isEditing())
        post();
    load();
    const int old = m_pos;
    m_pos = m_rows.isEmpty() ? -1 : 0;
    m_bof = true;
    m_eof = m_rows.isEmpty();
    emit dataChanged();
    changedPosition(old == m_pos ? -2 : old);
}

void Table::setFilter(const QString& expression)
{
    m_filter = FilterExpression::parse(expression);
    if (isOpen())
        refresh();
}

void Table::setRowTest(std::function<bool(const Table&)> test)
{
    m_rowTest = std::move(test);
    if (isOpen())
        refresh();
}

// ---- editing ----

void Table::insert()
{
    if (!isOpen())
        throw Error(QStringLiteral("Tabela %1 nie jest otwarta").arg(m_table));
    if (isEditing())
        post();
    if (!rights().can(rights::Insert))
        throw AccessDenied();
    m_buffer = Row();
    m_buffer.values.resize(m_fields.size());
    for (int i = 0; i < m_fields.size(); ++i) {
        const Field& f = m_fields[i];
        if (f.kind == FieldKind::Data && f.present && f.def.defaultValue.isValid())
            m_buffer.values[i] = values::normalize(f.def.defaultValue, f.def);
    }
    const QVariantList mv = masterValues();
    for (int k = 0; k < m_detailFields.size() && k < mv.size(); ++k) {
        const int i = fieldIndex(m_detailFields[k]);
        if (i >= 0)
            m_buffer.values[i] = values::normalize(mv[k], m_fields[i].def);
    }
    m_original = m_buffer;
    m_state = State::Insert;
    try {
        computeBuffer();
        if (m_events.onNewRecord)
            m_events.onNewRecord(*this);
    } catch (...) {
        m_state = State::Browse;
        m_buffer = Row();
        throw;
    }
    m_modified = false;
    emit stateChanged();
}

void Table::edit()
{
    if (isEditing())
        return;
    if (!isOpen())
        throw Error(QStringLiteral("Tabela %1 nie jest otwarta").arg(m_table));
    if (m_pos < 0) {
        insert();
        return;
    }
    if (!rights().can(rights::Modify))
        throw AccessDenied();
    if (m_events.beforeEdit)
        m_events.beforeEdit(*this);
    m_buffer = m_rows[m_pos];
    m_original = m_buffer;
    m_state = State::Edit;
    m_modified = false;
    computeBuffer();
    emit stateChanged();
}

void Table::cancel()
{
    if (!isEditing())
        return;
    m_state = State::Browse;
    m_buffer = Row();
    m_modified = false;
    emit stateChanged();
    emit dataChanged();
}

void Table::checkRequired() const
{
    for (int i = 0; i < m_fields.size(); ++i) {
        const Field& f = m_fields[i];
        if (f.kind == FieldKind::Data && f.present && f.def.required && f.def.type != FieldType::AutoInc
            && values::isEmpty(m_buffer.values[i]))
            throw Error(QStringLiteral("Pole \"%1\" musi posiadać wartość").arg(f.def.displayCaption()));
    }
}

void Table::checkUnchanged(const Row& original) const
{
    QStringList columns;
    QList<int> idx;
    const TableRights r = rights();
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].kind == FieldKind::Data && m_fields[i].present && r.canRead(m_fields[i].def.name)) {
            columns << m_fields[i].def.name;
            idx << i;
        }
    QString sql = QStringLiteral("SELECT %1 FROM %2 WHERE %3 = :ID")
                      .arg(columns.isEmpty() ? QStringLiteral("1") : columns.join(QStringLiteral(", ")), m_table,
                           m_db.rowIdColumn(m_table));
    if (m_db.engine() == Engine::PostgreSQL)
        sql += QStringLiteral(" FOR UPDATE");
    Query q(m_db, sql);
    q.bind(QStringLiteral("ID"), original.id).exec();
    if (!q.next())
        throw Error(deletedMessage());
    for (int c = 0; c < idx.size(); ++c) {
        const QVariant now = values::fromStore(q.value(c), m_fields[idx[c]].def.type);
        if (!values::same(now, original.values[idx[c]]))
            throw Error(changedMessage());
    }
}

void Table::writeEdit()
{
    QStringList sets;
    QList<QPair<QString, QVariant>> binds;
    for (int i = 0; i < m_fields.size(); ++i) {
        const Field& f = m_fields[i];
        if (f.kind != FieldKind::Data || !f.present || identical(m_buffer.values[i], m_original.values[i]))
            continue;
        const QString p = QStringLiteral("p%1").arg(binds.size());
        sets << QStringLiteral("%1 = :%2").arg(f.def.name, p);
        binds.append({p, m_buffer.values[i]});
    }
    if (sets.isEmpty())
        return;
    Transaction tx(m_db);
    checkUnchanged(m_original);
    Query q(m_db, QStringLiteral("UPDATE %1 SET %2 WHERE %3 = :ID")
                      .arg(m_table, sets.join(QStringLiteral(", ")), m_db.rowIdColumn(m_table)));
    for (const auto& [name, v] : binds)
        q.bind(name, v);
    q.bind(QStringLiteral("ID"), m_original.id).exec();
    tx.commit();
}

QVariant Table::writeInsert()
{
    QStringList columns, params;
    QList<QPair<QString, QVariant>> binds;
    for (int i = 0; i < m_fields.size(); ++i) {
        const Field& f = m_fields[i];
        if (f.kind != FieldKind::Data || !f.present || f.def.type == FieldType::AutoInc
            || values::isEmpty(m_buffer.values[i]))
            continue;
        const QString p = QStringLiteral("p%1").arg(binds.size());
        columns << f.def.name;
        params << QLatin1Char(':') + p;
        binds.append({p, m_buffer.values[i]});
    }
    const QString idColumn = m_db.rowIdColumn(m_table);
    QString sql = columns.isEmpty()
        ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(m_table)
        : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
              .arg(m_table, columns.join(QStringLiteral(", ")), params.join(QStringLiteral(", ")));
    const bool pg = m_db.engine() == Engine::PostgreSQL;
    if (pg)
        sql += QStringLiteral(" RETURNING ") + idColumn;
    Transaction tx(m_db);
    Query q(m_db, sql);
    for (const auto& [name, v] : binds)
        q.bind(name, v);
    q.exec();
    QVariant id;
    if (pg) {
        if (q.next())
            id = q.value(0).toLongLong();
    } else {
        id = Query(m_db, QStringLiteral("SELECT last_insert_rowid()")).scalar().toLongLong();
    }
    tx.commit();
    return id;
}

void Table::post()
{
    if (!isEditing())
        return;
    if (m_events.beforePost)
        m_events.beforePost(*this);
    checkRequired();
    const bool wasInsert = m_state == State::Insert;
    if (!wasInsert) {
        writeEdit();
    } else {
        m_buffer.id = writeInsert();
    }
    Row fresh = readRow(m_buffer.id);
    m_state = State::Browse;
    m_modified = false;
    m_buffer = Row();
    ++m_generation;
    const int old = m_pos;
    placeRow(std::move(fresh), wasInsert ? -1 : m_pos);
    emit stateChanged();
    emit dataChanged();
    if (m_events.afterPost)
        m_events.afterPost(*this);
    // A new or changed key must reach the detail lists even if the row
    // kept its place.
    changedPosition(old == m_pos ? -2 : old);
}

void Table::remove()
{
    if (m_state == State::Insert) {
        cancel();
        return;
    }
    if (m_state == State::Edit)
        cancel();
    if (!isOpen() || m_pos < 0)
        return;
    if (!rights().can(rights::Delete))
        throw AccessDenied();
    if (m_events.beforeDelete)
        m_events.beforeDelete(*this);
    {
        Transaction tx(m_db);
        checkUnchanged(m_rows[m_pos]);
        Query(m_db, QStringLiteral("DELETE FROM %1 WHERE %2 = :ID").arg(m_table, m_db.rowIdColumn(m_table)))
            .bind(QStringLiteral("ID"), m_rows[m_pos].id)
            .exec();
        tx.commit();
    }
    m_rows.removeAt(m_pos);
    ++m_generation;
    if (m_pos >= m_rows.size())
        m_pos = int(m_rows.size()) - 1;
    m_eof = m_rows.isEmpty();
    m_bof = m_pos <= 0;
    emit dataChanged();
    if (m_events.afterDelete)
        m_events.afterDelete(*this);
    changedPosition(-2);
}
