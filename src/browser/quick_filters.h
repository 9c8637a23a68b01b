#pragma once
// Quick filters of a browser: a check box and a chooser per field, above
// the grid. They narrow the data set after its own row filter.

#include "browser/prompts.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

class Table;
struct DataSet;

namespace quickfilter {

// Months "1"-"12" for MIES…, seven years around the system date for ROK…,
// nothing for other data fields.
QStringList fixedValues(const QString& fieldName, const QDate& systemDate);

// A field chosen from another table (its chooser lists that table).
bool isLookup(const Table& table, const QString& field);
// (shown text, key) of every row of the field's lookup table.
QList<PickEntry> lookupValues(const Table& table, const QString& field);

// Fields that may have one: visible lookup fields and visible integer data
// fields named ROK… or MIES….
QStringList candidates(const DataSet& ds);
// Fields with role "Filtruj" always, then those stored in "Filters".
QStringList atOpening(const DataSet& ds, const QString& stored);
QString toStored(const QStringList& fields);
// "&Ustaw szybkie filtry"; false and `fields` unchanged when cancelled.
bool choose(Prompts& prompts, const DataSet& ds, QStringList& fields);

struct Entry {
    QString field;
    bool active = false;
    QVariant from;  // data field: the chosen text; lookup: the key
    QString to;     // data field: the same text; lookup: the shown text
};

class Filters {
public:
    void setFields(const QStringList& fields);
    QStringList fields() const;
    const Entry* entry(const QString& field) const;

    // Choosing a value switches the field's filter on.
    void chooseValue(const QString& field, const QVariant& from, const QString& to);
    void setActive(const QString& field, bool on);
    bool anyActive() const;
    bool accepts(const Table& table) const;

private:
    Entry* find(const QString& field);
    QList<Entry> m_entries;
};

// Chains the filters after the table's own row test for as long as the
// returned handle lives; the handle puts the old test back.
class Installed {
public:
    Installed(Table& table, std::shared_ptr<const Filters> filters);
    ~Installed();
    Installed(const Installed&) = delete;
    Installed& operator=(const Installed&) = delete;

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

}  // namespace quickfilter
