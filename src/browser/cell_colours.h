#pragma once
// How the browser paints a cell that is not selected: the attendance codes,
// arrival and departure times, extra charges against their expected amount,
// and read-only or calculated values.

#include <QString>
#include <QVariant>
#include <optional>

namespace paint {

// Colours as 0xRRGGBB; nothing = the grid's own.
struct CellStyle {
    std::optional<int> background;
    std::optional<int> text;
    bool bold = false;
    bool custom = false;  // drawn by the browser rather than the grid

    bool operator==(const CellStyle&) const = default;
};

inline constexpr int rgb(int r, int g, int b) { return (r << 16) | (g << 8) | b; }
inline constexpr int kMaroon = rgb(128, 0, 0);
inline constexpr int kBlack = rgb(0, 0, 0);
inline constexpr int kSilver = rgb(192, 192, 192);
inline constexpr int kGreen = rgb(0, 128, 0);
inline constexpr int kLightGreen = rgb(0, 240, 15);
inline constexpr int kRed = rgb(255, 0, 0);
inline constexpr int kOrange = rgb(255, 79, 0);
inline constexpr int kYellow = rgb(255, 255, 0);
inline constexpr int kLightYellow = rgb(255, 255, 159);

struct CellInput {
    QString role;
    QString fieldName;
    QString text;     // as shown
    QVariant value;   // as stored
    int mark = 0;
    bool readOnlyTable = false;
    bool calculated = false;
    // Attendance: the row's free days ("1,15"), when it has DNIWOLNE.
    std::optional<QString> freeDays;
    // Extra charges.
    QString expectedAmount;
    QString groupCode;
    QString rowGroup;  // the row's KLASA
};

CellStyle style(const CellInput& in);

// "D15" with free days "1,15" -> true; "D1" with "11,15" -> false.
bool isFreeDay(const QString& fieldName, const QString& freeDays);

}  // namespace paint
