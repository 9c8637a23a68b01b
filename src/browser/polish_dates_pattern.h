#pragma once
// Finding dates written in a text: "05.03.2024", "2024-03-05", "03.2024",
// "5 marca 2024", "marzec 2024".

#include <QString>

namespace browser {

// The text with every date in it removed, blanks and dangling separators
// between the remaining words tidied.
QString withoutDates(const QString& text);

}  // namespace browser
