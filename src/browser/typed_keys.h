#pragma once
// Keys typed in the attendance and extra-charge grids that go to their
// module instead of the cell editor.

#include <QChar>
#include <QString>
#include <optional>

namespace typed {

inline constexpr QChar kBackspace = QChar(u'\b');

// The key as the module gets it (codes upper-cased), nothing when the
// column's role does not take it. `moduleClass` is the data module's class.
std::optional<QChar> routed(const QString& moduleClass, const QString& role, QChar key);

}  // namespace typed
