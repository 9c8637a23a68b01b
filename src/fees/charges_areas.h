#pragma once
// The areas of the charges register, opened from the settlement months:
//   area::chargeLines()  {monthKey: MIESIACE.KOD, typeKey: "0"/"1",
//                         childKey: DZIECI.KOD or absent, titleKey,
//                         and optionally masterKey (the months list to
//                         follow), ownerKey, commandKey}
//   area::invoices()     {monthKey, childKey or absent, titleKey, and the
//                         same optional keys}

class AreaRegistry;

void registerChargesAreas(AreaRegistry& areas);
