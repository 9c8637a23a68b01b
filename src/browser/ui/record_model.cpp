#include "record_model.h"

#include "browser/cell_colours.h"
#include "browser/cell_text.h"
#include "browser/module.h"
#include "browser/prompts.h"
#include "browser/refusal.h"
#include "store/database.h"
#include "store/error.h"
#include "store/rights.h"
#include "store/table.h"

#include <QBrush>
#include <QCollator>
#include <QLocale>
#include <QColor>
#include <QFont>

#include <numeric>

RecordModel::RecordModel(DataSet& dataSet, Prompts& prompts, QObject* parent)
    : QAbstractTableModel(parent), m_ds(dataSet), m_table(*dataSet.table), m_prompts(prompts)
{
    connect(&m_table, &Table::dataChanged, this, [this] {
        if (m_sortColumn >= 0 && !m_table.isEditing())
            resort();
        tableChanged();
    });
    connect(&m_table, &Table::stateChanged, this, &RecordModel::tableChanged);
    connect(&m_table, &Table::scrolled, this, &RecordModel::tableChanged);
}

void RecordModel::setColumns(const QList<const FieldView*>& columns)
{
    beginResetModel();
    const QString sorted = fieldAt(m_sortColumn);
    m_columns = columns;
    m_sortColumn = columnOf(sorted);
    m_rows = rowCount();
    resort();
    endResetModel();
}

void RecordModel::sortInView(int column, Qt::SortOrder order)
{
    beginResetModel();
    m_sortColumn = column >= 0 && column < m_columns.size() ? column : -1;
    m_sortOrder = order;
    resort();
    m_rows = rowCount();
    endResetModel();
}

void RecordModel::resort()
{
    m_tableRowOf.clear();
    m_gridRowOf.clear();
    const FieldView* v = m_columns.value(m_sortColumn);
    if (!v || !m_table.isOpen())
        return;
    const int n = m_table.rowCount();
    const FieldType type = m_table.field(v->name).def.type;
    QList<QVariant> keys;
    keys.reserve(n);
    for (int r = 0; r < n; ++r)
        keys << m_table.valueAt(r, v->name);
    const bool numeric = cell::isNumeric(type);
    const bool textual = !numeric && type != FieldType::Date && type != FieldType::Time && type != FieldType::DateTime;
    QCollator collator{QLocale(QLocale::Polish)};
    collator.setNumericMode(true);
    QStringList texts;
    if (textual)
        for (const QVariant& k : keys)
            texts << k.toString();
    // Empty cells come first, as in the table's own orderings.
    const auto less = [&](int a, int b) {
        const bool na = keys[a].isNull() || (textual && texts[a].isEmpty());
        const bool nb = keys[b].isNull() || (textual && texts[b].isEmpty());
        if (na || nb)
            return na && !nb;
        if (numeric)
            return keys[a].toDouble() < keys[b].toDouble();
        if (!textual)
            return QVariant::compare(keys[a], keys[b]) == QPartialOrdering::Less;
        return collator.compare(texts[a], texts[b]) < 0;
    };
    m_tableRowOf.resize(n);
    std::iota(m_tableRowOf.begin(), m_tableRowOf.end(), 0);
    if (m_sortOrder == Qt::AscendingOrder)
        std::stable_sort(m_tableRowOf.begin(), m_tableRowOf.end(), less);
    else
        std::stable_sort(m_tableRowOf.begin(), m_tableRowOf.end(), [&](int a, int b) { return less(b, a); });
    m_gridRowOf.resize(n);
    for (int g = 0; g < n; ++g)
        m_gridRowOf[m_tableRowOf[g]] = g;
}

int RecordModel::tableRow(int grid) const
{
    return grid >= 0 && grid < m_tableRowOf.size() ? m_tableRowOf[grid] : grid;
}

int RecordModel::gridRow(int table) const
{
    return table >= 0 && table < m_gridRowOf.size() ? m_gridRowOf[table] : table;
}

void RecordModel::captionsChanged()
{
    if (!m_columns.isEmpty())
        emit headerDataChanged(Qt::Horizontal, 0, int(m_columns.size()) - 1);
}

QString RecordModel::fieldAt(int column) const
{
    const FieldView* v = m_columns.value(column);
    return v ? v->name : QString();
}

int RecordModel::columnOf(const QString& field) const
{
    for (int i = 0; i < m_columns.size(); ++i)
        if (m_columns[i]->name.compare(field, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int RecordModel::currentRow() const
{
    if (m_table.state() == Table::State::Insert)
        return m_table.rowCount();
    return gridRow(m_table.position());
}

bool RecordModel::isInsertRow(int row) const
{
    return m_table.state() == Table::State::Insert && row == m_table.rowCount();
}

int RecordModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid() || !m_table.isOpen())
        return 0;
    return m_table.rowCount() + (m_table.state() == Table::State::Insert ? 1 : 0);
}

int RecordModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

void RecordModel::tableChanged()
{
    m_tableReadOnly.reset();
    const int rows = rowCount();
    if (rows != m_rows) {
        beginResetModel();
        m_rows = rows;
        endResetModel();
        return;
    }
    if (rows > 0 && !m_columns.isEmpty())
        emit dataChanged(index(0, 0), index(rows - 1, int(m_columns.size()) - 1));
    // The row markers (current, edited, inserted) follow the state: a saved
    // new row keeps the row count but must lose its "*".
    if (rows > 0)
        emit headerDataChanged(Qt::Vertical, 0, rows - 1);
}

QVariant RecordModel::valueAt(int row, const QString& field) const
{
    if (isInsertRow(row) || (m_table.state() == Table::State::Edit && tableRow(row) == m_table.position()))
        return m_table.value(field);
    return m_table.valueAt(tableRow(row), field);
}

bool RecordModel::readOnly(int column) const
{
    const FieldView* v = m_columns.value(column);
    if (!v)
        return true;
    const Table::Field& f = m_table.field(v->name);
    // A value the module chooses is never typed in.
    return v->readOnly || v->choose || f.kind == Table::FieldKind::Calculated || f.def.type == FieldType::AutoInc;
}

bool RecordModel::tableReadOnly() const
{
    if (!m_tableReadOnly) {
        const Database& db = m_table.database();
        m_tableReadOnly = db.isReadOnly() || !db.tableRights(m_table.tableName()).can(rights::Modify);
    }
    return *m_tableReadOnly;
}

bool RecordModel::codedColumn(int column) const
{
    const FieldView* v = m_columns.value(column);
    return v && (v->role == roles::attendance() || v->role == roles::extraCharge());
}

QVariant RecordModel::data(const QModelIndex& index, int role) const
{
    const FieldView* v = m_columns.value(index.column());
    if (!v || !index.isValid())
        return {};
    const Table::Field& f = m_table.field(v->name);
    const QVariant value = valueAt(index.row(), v->name);
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return cell::text(value, f.def.type, v->displayFormat);
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::Alignment(v->alignment | Qt::AlignVCenter));
    case Qt::BackgroundRole:
    case Qt::ForegroundRole:
    case Qt::FontRole: {
        paint::CellInput in;
        in.role = v->role;
        in.fieldName = v->name;
        in.text = cell::text(value, f.def.type, v->displayFormat);
        in.value = value;
        in.mark = v->mark;
        in.calculated = f.kind == Table::FieldKind::Calculated;
        in.readOnlyTable = tableReadOnly();
        if (m_table.hasField(QStringLiteral("DNIWOLNE")))
            in.freeDays = valueAt(index.row(), QStringLiteral("DNIWOLNE")).toString();
        in.expectedAmount = v->expectedAmount;
        in.groupCode = v->groupCode;
        if (!v->groupCode.isEmpty() && m_table.hasField(QStringLiteral("KLASA")))
            in.rowGroup = valueAt(index.row(), QStringLiteral("KLASA")).toString();
        const paint::CellStyle s = paint::style(in);
        if (role == Qt::BackgroundRole && s.background)
            return QBrush(QColor::fromRgb(QRgb(*s.background)));
        if (role == Qt::ForegroundRole && s.text)
            return QBrush(QColor::fromRgb(QRgb(*s.text)));
        if (role == Qt::FontRole && s.bold) {
            QFont font;
            font.setBold(true);
            return font;
        }
        return {};
    }
    default:
        return {};
    }
}

QVariant RecordModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
        const FieldView* v = m_columns.value(section);
        if (!v)
            return {};
        // "12 pt" over a one-letter code: the day over its weekday, so the
        // column can be as narrow as the code.
        if (codedColumn(section) && m_table.hasField(v->name) && m_table.field(v->name).def.width == 1) {
            const qsizetype blank = v->caption.indexOf(QLatin1Char(' '));
            bool number = false;
            if (blank > 0 && (v->caption.left(blank).toInt(&number), number))
                return QString(v->caption).replace(blank, 1, QLatin1Char('\n'));
        }
        return v->caption;
    }
    if (orientation == Qt::Vertical && role == Qt::DisplayRole) {
        if (isInsertRow(section))
            return QStringLiteral("*");
        const int current = gridRow(m_table.position());
        if (section == current && m_table.state() == Table::State::Edit)
            return QStringLiteral("I");
        return section == current ? QStringLiteral("▶") : QString();
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags RecordModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags fl = QAbstractTableModel::flags(index);
    if (tableReadOnly())
        return fl;
    if (index.isValid() && !readOnly(index.column()) && m_table.field(fieldAt(index.column())).kind == Table::FieldKind::Data)
        fl |= Qt::ItemIsEditable;
    // The cell's editor of a chosen value is only its "..." button.
    if (const FieldView* v = m_columns.value(index.column()); index.isValid() && v && v->choose)
        fl |= Qt::ItemIsEditable;
    return fl;
}

bool RecordModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || readOnly(index.column()))
        return false;
    if (!m_autoEdit && !m_table.isEditing())
        return false;
    const QString field = fieldAt(index.column());
    const Table::Field& f = m_table.field(field);
    const auto converted = cell::fromText(value.toString(), f.def.type);
    bool startedEdit = false;
    try {
        if (!converted)
            throw Error(QStringLiteral("\"%1\" nie jest poprawną wartością pola \"%2\"")
                            .arg(value.toString(), m_columns[index.column()]->caption));
        if (!isInsertRow(index.row())) {
            const int row = tableRow(index.row());
            if (row != m_table.position() && m_table.isEditing())
                m_table.post();
            if (row != m_table.position())
                m_table.setPosition(row);
            startedEdit = !m_table.isEditing();
            m_table.edit();
        }
        m_table.setValue(field, *converted);
    } catch (const Error& e) {
        // An edit begun only for this value goes with it; one begun before
        // keeps the user's other changes.
        if (startedEdit && m_table.isEditing())
            m_table.cancel();
        refusal::show(m_prompts, e);
        return false;
    }
    return true;
}

const Table::Field& RecordModel::fieldDefinition(const QString& field) const
{
    return m_table.field(field);
}
