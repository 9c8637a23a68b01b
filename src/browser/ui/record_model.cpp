#include "record_model.h"

#include "browser/cell_colours.h"
#include "browser/cell_text.h"
#include "browser/module.h"
#include "browser/prompts.h"
#include "browser/refusal.h"
#include "store/error.h"
#include "store/table.h"

#include <QBrush>
#include <QColor>
#include <QFont>

RecordModel::RecordModel(DataSet& dataSet, Prompts& prompts, QObject* parent)
    : QAbstractTableModel(parent), m_ds(dataSet), m_table(*dataSet.table), m_prompts(prompts)
{
    connect(&m_table, &Table::dataChanged, this, &RecordModel::tableChanged);
    connect(&m_table, &Table::stateChanged, this, &RecordModel::tableChanged);
    connect(&m_table, &Table::scrolled, this, &RecordModel::tableChanged);
}

void RecordModel::setColumns(const QList<const FieldView*>& columns)
{
    beginResetModel();
    m_columns = columns;
    m_rows = rowCount();
    endResetModel();
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
    return m_table.position();
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
    if (isInsertRow(row) || (m_table.state() == Table::State::Edit && row == m_table.position()))
        return m_table.value(field);
    return m_table.valueAt(row, field);
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
        in.readOnlyTable = false;
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
        return v ? v->caption : QVariant();
    }
    if (orientation == Qt::Vertical && role == Qt::DisplayRole) {
        if (isInsertRow(section))
            return QStringLiteral("*");
        if (section == m_table.position() && m_table.state() == Table::State::Edit)
            return QStringLiteral("I");
        return section == m_table.position() ? QStringLiteral("▶") : QString();
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags RecordModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags fl = QAbstractTableModel::flags(index);
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
    const QString field = fieldAt(index.column());
    const Table::Field& f = m_table.field(field);
    const auto converted = cell::fromText(value.toString(), f.def.type);
    bool startedEdit = false;
    try {
        if (!converted)
            throw Error(QStringLiteral("\"%1\" nie jest poprawną wartością pola \"%2\"")
                            .arg(value.toString(), m_columns[index.column()]->caption));
        if (!isInsertRow(index.row())) {
            if (index.row() != m_table.position() && m_table.isEditing())
                m_table.post();
            if (index.row() != m_table.position())
                m_table.setPosition(index.row());
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
