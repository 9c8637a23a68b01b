#pragma once
// The grid's model over a browser's table: every cell is read from the
// table's snapshot (no SQL), the row being edited from its edit buffer and
// a row being inserted shown last.

#include <QAbstractTableModel>
#include <QList>
#include <optional>

#include "store/table.h"

class Prompts;
struct DataSet;
struct FieldView;

class RecordModel : public QAbstractTableModel {
    Q_OBJECT
public:
    RecordModel(DataSet& dataSet, Prompts& prompts, QObject* parent = nullptr);

    // The columns, in field order (the header view moves them on screen).
    void setColumns(const QList<const FieldView*>& columns);
    const FieldView* column(int index) const { return m_columns.value(index); }
    QString fieldAt(int column) const;
    int columnOf(const QString& field) const;
    int columns() const { return int(m_columns.size()); }
    // The columns' captions were changed in place.
    void captionsChanged();

    // The grid row of the table's current row (the new row while inserting).
    int currentRow() const;
    bool isInsertRow(int row) const;

    // Sorting in the view, for a column no ordering of the table starts
    // with: grid rows then stand for table rows through a permutation,
    // kept in step with the table (a row being edited stays in place until
    // it is saved). Column -1: the table's own order.
    void sortInView(int column, Qt::SortOrder order);
    int viewSortColumn() const { return m_sortColumn; }
    Qt::SortOrder viewSortOrder() const { return m_sortOrder; }
    int tableRow(int gridRow) const;
    int gridRow(int tableRow) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    bool readOnly(int column) const;
    // The user may only read the table (rights, or a store opened for reading).
    bool tableReadOnly() const;
    // Without "Auto edycja" typing starts no edit: a value is taken only
    // while its row is already being edited.
    void setAutoEdit(bool on) { m_autoEdit = on; }
    bool autoEdit() const { return m_autoEdit; }
    // A column of typed codes (attendance, extra charges), whose colours
    // say what the cell holds.
    bool codedColumn(int column) const;
    const Table::Field& fieldDefinition(const QString& field) const;

private:
    void tableChanged();
    void resort();
    QVariant valueAt(int row, const QString& field) const;

    DataSet& m_ds;
    Table& m_table;
    Prompts& m_prompts;
    QList<const FieldView*> m_columns;
    int m_rows = 0;
    bool m_autoEdit = true;
    mutable std::optional<bool> m_tableReadOnly;  // asked once per change of the table
    int m_sortColumn = -1;
    Qt::SortOrder m_sortOrder = Qt::AscendingOrder;
    QList<int> m_tableRowOf;  // grid row -> table row; empty: the same
    QList<int> m_gridRowOf;
};
