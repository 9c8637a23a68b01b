#pragma once
// The areas of requests, deadlines and reminders:
//   "Zgloszenia"         all requests
//   "ZgloszeniaDziecka"  the requests of the children register's current child
//   "Terminy"            periodic deadlines and their executions
//   "Przypomnienia"      the reminders list; {"atStart": true} when shown
//                        after login, which shows it only when not empty

#include "reminders.h"

#include <QString>

#include <functional>

class AreaRegistry;
struct RunContext;

namespace reminders {

// The user's "Przypomnienie" setting, kept by the main window.
struct Setting {
    std::function<QString()> get;
    std::function<void(const QString&)> set;
};

inline QString atStartKey() { return QStringLiteral("atStart"); }

// Collects the list on the system date and shows it (at start only when it
// holds an entry); a double-click opens an entry's record, and OK keeps
// the "Pokaż" choice in the setting.
void show(RunContext& context, const Setting& setting, bool starting);

// The record of an entry in a browser of its own, modal whatever the
// modal-windows setting, titled with the entry's own child; the module goes
// when the browser closes.
void openEntry(RunContext& context, const Entry& entry);
QString entryTitle(Database& db, const Entry& entry);

}  // namespace reminders

void registerFollowUpAreas(AreaRegistry& areas, reminders::Setting setting);
