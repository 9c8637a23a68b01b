#pragma once
// The user's filter of a browser: one entry per visible field, a range
// ("Od" … "Do") or, for a field shown through a lookup, one chosen value.
// The entries switched on at the last apply narrow the data set row by row
// after its module's own row test. The filter dialog and the quick filters
// of the browser edit the same entries.
//
//   Entry, Kind             one field's bounds, switch and applied copies
//   Filter::entries         filled once, with defaults by field kind
//   setFrom/setTo/choose    editing switches the entry on
//   apply / restore         the dialog's "&Wykonaj" and its closing
//   accepts                 the row test
//   description             the text printouts show under their title
//   Installed               chains the row test after the module's own

#include "store/schema.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QVariant>

#include <functional>
#include <memory>
#include <optional>

class Table;
struct DataSet;

namespace datafilter {

enum class Kind { Integer, Float, Date, Text, Lookup };

struct Entry {
    QString field;
    QString caption;
    Kind kind = Kind::Text;
    FieldType type = FieldType::String;
    bool on = false;
    QString from;  // lookup: the chosen key
    QString to;    // lookup: the chosen value's shown text
    bool applied = false;  // switched on at the last apply
    QString appliedFrom;
    QString appliedTo;
    QString keyField;  // lookup: the data set's field holding the key
    double minValue = 0;  // declared bounds (0 and 0: none)
    double maxValue = 0;

    bool isRange() const { return kind != Kind::Lookup; }
    // Both declared bounds non-zero: the editors refuse values outside them.
    bool checksBounds() const { return minValue != 0 && maxValue != 0; }
};

// The default upper bound of a text field ("zzzzzzzzzz" cut to its width).
QString textUpperDefault(int width);

// A number as the filter writes it ("12", "2,5").
QString numberText(double value, Kind kind);
// A number typed into a floating-point bound ("2,5", "2.5", "-1"); none
// when it does not read.
std::optional<double> readNumber(const QString& text);
// Whether a key may go into a floating-point bound's box that holds
// `text`: Backspace, "-", digits and one decimal separator.
bool acceptsNumberKey(const QString& text, QChar key);
// The bound check of a number editor left with `value`: throws Error
// "Maksymalna wartość pola to …" / "Minimalna wartość pola to …".
void checkBound(const Entry& entry, double value);

class Filter {
public:
    // `systemDate` gives the date the defaults of date fields are built
    // around, read when the entries are filled.
    Filter(const DataSet& dataSet, std::function<QDate()> systemDate);
    ~Filter();
    Filter(const Filter&) = delete;
    Filter& operator=(const Filter&) = delete;

    // Filled on first use.
    QList<Entry>& entries();
    Entry* entry(const QString& field);
    int indexOf(const QString& field);

    // An editor's change: the bound, and the entry switched on.
    void setFrom(int index, const QString& text);
    void setTo(int index, const QString& text);
    // A lookup value chosen: its key and shown text, switched on.
    void choose(int index, const QString& key, const QString& text);
    void switchAll(bool on);

    // Quick filters. A chosen value (data field: from = to = the text;
    // lookup: the key and the shown text) switches the entry on; the check
    // box switches it on or off, a range first narrowed to its lower bound.
    // Neither applies: the caller does.
    void chooseValue(const QString& field, const QVariant& from, const QString& to);
    void setActive(const QString& field, bool on);

    // The entries switched on become the active filter. A switched-on bound
    // that does not read as its field's type throws Error and leaves the
    // active filter as it was.
    void apply();
    // Every entry back to its state at the last apply.
    void restore();

    bool isActive() const;
    // The row test of the active filter, for the table's current row.
    bool accepts(const Table& table) const;
    QString description() const;

private:
    void fill();

    const DataSet& m_dataSet;
    std::function<QDate()> m_systemDate;
    bool m_filled = false;
    QList<Entry> m_entries;
    struct Impl;  // the active filter with its bounds read
    std::unique_ptr<Impl> m;
};

// Chains a filter after the table's own row test for as long as it lives,
// then puts the old test back.
class Installed {
public:
    Installed(Table& table, std::shared_ptr<const Filter> filter);
    ~Installed();
    Installed(const Installed&) = delete;
    Installed& operator=(const Installed&) = delete;

private:
    struct Impl;
    std::unique_ptr<Impl> m;
};

}  // namespace datafilter
