#pragma once
// The columns of the attendance grid over the children list: which exist,
// which the day and the month view show, their captions and the values of
// one child's row, computed from the view's data.

#include "obecn_data.h"

#include <QString>

struct DataSet;
struct Parameters;
class Table;

namespace obecn {

namespace field {
inline QString freeDays() { return QStringLiteral("DNIWOLNE"); }
inline QString groupName() { return QStringLiteral("KLASANAZWA"); }
inline QString declared() { return QStringLiteral("CZASDEKL"); }
inline QString code() { return QStringLiteral("OBECNOSC"); }
inline QString arrival() { return QStringLiteral("CZASP"); }
inline QString departure() { return QStringLiteral("CZASW"); }
inline QString paid() { return QStringLiteral("CZASPL"); }
inline QString paidLessClasses() { return QStringLiteral("CZASPLZ"); }
// "ILET", "ILEN", "ILEZ"
QString count(QChar code);
// "D1" … "D31"
QString day(int number);
// "ZAJ1" …
QString extraClass(int number);
}  // namespace field

inline constexpr int kClassColumns = 12;

// The count code of a count column, null for another column.
QChar countCodeOf(const QString& fieldName);
// The day of a day column of the month view, 0 for another column.
int dayOf(const QString& fieldName);
// The extra-class column's position in ViewData::classes, -1 for another.
int classIndexOf(const QString& fieldName);

// Adds the calculated fields to the children cursor and lists the columns.
// The stored columns are hidden in the single-child window.
void declareColumns(DataSet& children, Table& groups, const Parameters& params, bool singleChild);

// Shows and captions the columns for the view.
void applyView(DataSet& children, const ViewState& view, const ViewData& data, bool summary);

// The calculated fields of the cursor's current row.
void computeRow(Table& row, const ViewState& view, const ViewData& data, int chargeStep);

}  // namespace obecn
