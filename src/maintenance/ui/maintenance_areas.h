#pragma once
// The main window's maintenance commands as areas:
//   "Upgrade"           schema upgrade ("Sprawdź wersję")
//   "Naprawaindeksw"    index repair of one table
//   "Kompresjazbiorw"   compression of the store
//   "Eksportujgrup"     group export
//   "Importujgrup"      group import

class AreaRegistry;
class KeyValueSettings;

void registerMaintenanceAreas(AreaRegistry& areas, KeyValueSettings* settings);
