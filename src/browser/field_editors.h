#pragma once
// Which columns get an ellipsis button ("...") and what it opens.

#include "store/table.h"

namespace editors {

enum class Kind { None, Date, Time, Memo, File, Lookup };

// Date and time data fields, memo data fields, a text data field named
// PLIK, and fields fed from a lookup table.
Kind kindOf(const Table::Field& f);
inline bool hasEllipsis(const Table::Field& f) { return kindOf(f) != Kind::None; }

}  // namespace editors
