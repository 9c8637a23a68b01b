#pragma once
// The cursor: one table of the store read in an ordering, as a cached
// snapshot of its range, with editing that writes straight to the store.
//
//   open / close / refresh            the snapshot
//   value / setValue / fields         fields by name (data, calculated, lookup)
//   first … next, find, locate        moving
//   setRange, setMasterLink,          what the snapshot holds
//   setFilter, setRowTest
//   insert, edit, post, cancel, remove
//   events()                          the rules of a module, as hooks

#include "filter_expression.h"
#include "schema.h"

#include <QDate>
#include <QObject>
#include <QTime>
#include <QStringList>
#include <QVariant>

#include <functional>

class Database;
struct TableRights;

class Table : public QObject {
    Q_OBJECT
public:
    enum class State { Inactive, Browse, Edit, Insert };
    enum class FieldKind { Data, Calculated, Lookup };

    struct Field {
        FieldDef def;
        FieldKind kind = FieldKind::Data;
        // A catalogue column an older store lacks: it holds nothing and
        // writing it does nothing.
        bool present = true;
        // Lookup: the row of `lookupTable` whose `lookupKeys` equal this
        // row's `keyFields` gives `lookupResult`.
        QStringList keyFields;
        Table* lookupTable = nullptr;
        QStringList lookupKeys;
        QString lookupResult;
    };

    // A hook refuses by throwing Error; the operation is then undone.
    struct Events {
        std::function<void(Table&)> onNewRecord;
        std::function<void(Table&)> beforeEdit;
        std::function<void(Table&)> beforePost;
        std::function<void(Table&)> afterPost;
        std::function<void(Table&)> beforeDelete;
        std::function<void(Table&)> afterDelete;
        std::function<void(Table&)> afterScroll;
        std::function<void(Table&)> onCalcFields;  // sets calculated fields by setCalculated
        std::function<void(Table&, const QString& field)> onFieldChange;
    };

    Table(Database& db, const QString& tableName, QObject* parent = nullptr);
    ~Table() override;

    Database& database() const { return m_db; }
    const QString& tableName() const { return m_table; }

    // Configuration; takes effect at once on an open cursor.
    void setOrdering(const QString& fieldList);  // "" = the order rows were added
    QString ordering() const { return m_ordering.join(QLatin1Char(';')); }
    void addCalculatedField(const FieldDef& def);
    void addLookupField(const FieldDef& def, const QString& keyFields, Table* lookupTable,
                        const QString& lookupKeyFields, const QString& resultField);
    Events& events() { return m_events; }

    void open();  // throws AccessDenied without the read right
    void close();
    bool isOpen() const { return m_state != State::Inactive; }
    void refresh();  // reads the snapshot again, keeping the current row

    // Fields.
    const QList<Field>& fields() const { return m_fields; }
    bool hasField(const QString& name) const { return fieldIndex(name) >= 0; }
    // True when the field is stored (not an absent optional column).
    bool hasStoredField(const QString& name) const;
    const Field& field(const QString& name) const;
    QVariant value(const QString& name) const;
    QVariant valueAt(int row, const QString& name) const;
    QString text(const QString& name) const { return value(name).toString(); }
    int asInt(const QString& name) const { return value(name).toInt(); }
    double asDouble(const QString& name) const { return value(name).toDouble(); }
    QDate asDate(const QString& name) const { return value(name).toDate(); }
    QTime asTime(const QString& name) const { return value(name).toTime(); }
    bool isNull(const QString& name) const;
    void setValue(const QString& name, const QVariant& value);
    void clear(const QString& name) { setValue(name, QVariant()); }
    void setCalculated(const QString& name, const QVariant& value);  // from onCalcFields

    // Moving.
    int rowCount() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    int position() const { return m_pos; }  // -1 when empty
    bool setPosition(int row);
    void first();
    void last();
    void next();
    void prior();
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    // Positions on the first row whose leading ordering fields equal `key`
    // exactly; stays put and returns false when there is none.
    bool find(const QVariantList& key);
    // Any fields, scanning in order.
    bool locate(const QStringList& fieldNames, const QVariantList& values);

    // What the snapshot holds.
    void setRange(const QVariantList& low, const QVariantList& high);
    void cancelRange();
    void setMasterLink(Table* master, const QString& masterFields, const QString& detailFields);
    void clearMasterLink();
    Table* masterTable() const { return m_master; }
    const QStringList& masterLinkFields() const { return m_detailFields; }  // this table's side
    void setFilter(const QString& expression);  // throws Error for unreadable text
    void setRowTest(std::function<bool(const Table&)> test);
    // The test in force, so that a browser can chain its own after it.
    const std::function<bool(const Table&)>& rowTest() const { return m_rowTest; }

    // Editing.
    State state() const { return m_state; }
    bool isEditing() const { return m_state == State::Edit || m_state == State::Insert; }
    bool modified() const { return m_modified; }
    void insert();
    void append() { insert(); }
    void edit();
    void post();
    void cancel();
    void remove();

    // The row identity of the current row (for tools and tests).
    QVariant rowId() const;

signals:
    void scrolled();
    void dataChanged();
    void stateChanged();

private:
    struct Row {
        QVariant id;
        mutable QVariantList values;  // one per field of m_fields; calculated ones filled lazily
        mutable bool computed = false;  // calculated and lookup values filled
    };

    int fieldIndex(const QString& name) const;
    int requireField(const QString& name) const;
    void loadStructure();
    void load();
    Row readRow(const QVariant& id) const;
    bool accepted(const Row& row) const;
    int compareRows(const Row& a, const Row& b) const;
    bool inRange(const Row& row) const;
    int compareKey(const Row& row, const QVariantList& key) const;
    int lowerBound(const Row& row) const;
    void placeRow(Row row, int oldIndex);  // oldIndex -1 for a new row
    void compute(const Row& row) const;
    void computeBuffer();
    void changedPosition(int oldPos);
    void masterMoved();
    QVariantList masterValues() const;
    TableRights rights() const;
    void checkRequired() const;
    void writeEdit();
    QVariant writeInsert();
    void checkUnchanged(const Row& original) const;
    const Row* currentRow() const;

    Database& m_db;
    QString m_table;
    QStringList m_ordering;
    QList<int> m_orderFields;  // indexes into m_fields
    QList<Field> m_fields;
    QList<Field> m_extraFields;  // declared calculated and lookup fields
    Events m_events;

    QList<Row> m_rows;
    int m_pos = -1;
    bool m_eof = true;
    bool m_bof = true;
    State m_state = State::Inactive;
    Row m_buffer;
    Row m_original;
    bool m_modified = false;
    mutable const Row* m_probe = nullptr;  // row seen by value() during hooks

    QVariantList m_rangeLow;
    QVariantList m_rangeHigh;
    Table* m_master = nullptr;
    QStringList m_masterFields;
    QStringList m_detailFields;
    QList<Table*> m_details;
    FilterExpression m_filter;
    std::function<bool(const Table&)> m_rowTest;
    quint64 m_generation = 0;  // bumped whenever the snapshot changes
    mutable QHash<int, QPair<quint64, QHash<QString, QVariant>>> m_lookupCache;  // per lookup field
};
