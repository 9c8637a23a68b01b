#pragma once
// Place and width of the grid's columns, kept per window as
// "Pole: " + field name = 100000 + 1000 × position + width.
//
// Position and width are clamped (positions 0-399, widths 0-999) so that
// every value keeps six digits and stays below those of columns never
// stored: a wide column would otherwise spill into the position and a late
// position into the unstored range.

#include <QList>
#include <QString>
#include <functional>
#include <optional>

namespace layout {

inline constexpr int kMaxPosition = 399;
inline constexpr int kMaxWidth = 999;

QString columnKey(const QString& fieldName);  // "Pole: NAZWA"
QString encodeColumn(int position, int width);
// The sort key of a stored value; nothing for a value that is not one.
std::optional<int> decodeColumn(const QString& stored);

struct Column {
    QString field;
    int width = 0;
};

// `columns` in the data set's field order with their default widths,
// `stored[i]` the value kept for columns[i] (empty when none). Stored
// columns come first in their stored order, the others after them in
// field order.
QList<Column> arrange(const QList<Column>& columns, const QStringList& stored);

// The columns after the module changed which fields are shown: `shown` as
// they are on screen, `fields` the fields now shown in the module's order,
// `width` the width of a field coming in (0 or less for the default 100).
// Columns still shown keep their order and width; one coming in goes right
// after the nearest field before it in the module's order that is placed.
QList<Column> rearrange(const QList<Column>& shown, const QStringList& fields,
                        const std::function<int(const QString& field)>& width);

// Columns whose width the user never set are as wide as their content:
// the wider of the caption and the cells shown, within these bounds, so a
// long memo does not push every other column out of sight.
inline constexpr int kMinContentWidth = 20;
inline constexpr int kMaxContentWidth = 320;
int contentWidth(int captionWidth, int cellsWidth);

// "AutoWidths": the fields of a window whose width follows the content,
// one per line; their stored "Pole: " value keeps only the place.
QString autoWidthsKey();
QString autoWidthsToStored(const QStringList& fields);
QStringList autoWidthsFromStored(const QString& stored);

}  // namespace layout
