#pragma once
// "Operacje dla zaznaczonych dzieci" on the desktop: the children marked in
// the register's grid, and the preview of the password sheet.

class AreaRegistry;

namespace fees {

// The areas area::markedChildrenOperations() and passwordSheetArea().
void registerMarkedChildrenAreas(AreaRegistry& areas);

}  // namespace fees
