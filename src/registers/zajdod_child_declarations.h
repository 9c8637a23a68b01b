#pragma once
// A child's declarations for extra classes (DZIEZAJ, "Zajęcia dodatkowe
// dziecka") as a detail list of the children register.

struct DataSet;
struct RunContext;
class Table;

namespace extraclasses {

// Makes a DZIEZAJ data set (cursor not yet open) the detail list of the
// children cursor: ordered OSOBA;ZAJECIE;ODDATY and linked KOD -> OSOBA,
// the class shown by name ("Zajęcia", field ZAJECIENAZWA, chosen from the
// classes the user may work with), the dates, the system-date filter, and
// a class required on saving. A row begun while the child is still being
// inserted needs the child saved first; the children register does that in
// its own onNewRecord.
void setUpChildDeclarations(DataSet& declarations, RunContext& context, Table& children);

}  // namespace extraclasses
