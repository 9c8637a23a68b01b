#pragma once
// The areas of the exchange with the web service:
//   "Synchronizacja"             {"mode": 1 (default) or 2, "key": DZIECI key, 0 the administrator}
//   "Synchronizacjakonfiguracja" reads the configuration, then edits and writes it
//   "Przedlogi"                  the login log, refreshed from the service on request

class AreaRegistry;

void registerSyncAreas(AreaRegistry& areas);
