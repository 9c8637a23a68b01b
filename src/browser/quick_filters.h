#pragma once
// Quick filters of a browser: a check box and a chooser per field, above
// the grid. They edit the entries of the browser's data filter.

#include "browser/prompts.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

class Table;
struct DataSet;

namespace datafilter {
struct Entry;
}

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

// What a quick filter shows of its field's filter entry: the check box
// (a range switched on over more than one value is grayed) and the value
// its chooser selects (the lower bound, or a lookup's key).
struct Mirror {
    Qt::CheckState check = Qt::Unchecked;
    QString value;
};
Mirror mirrorOf(const datafilter::Entry& entry);

}  // namespace quickfilter
