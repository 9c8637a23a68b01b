#pragma once
// The printout of what was done about requests or deadlines: every
// execution, or those of a period, of the requests (of all children or of
// one), of one deadline or of all deadlines (of one child when the window is
// tied to one). Each execution takes two lines: its dates and name, then
// the description across the page, growing with its text.

#include "printouts/report.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <memory>

class Database;
class QObject;
struct Command;

namespace executions {

enum class Kind { Requests, OneDeadline, AllDeadlines };

struct PrintRequest {
    Kind kind = Kind::Requests;
    int child = 0;         // DZIECI.KOD when tied to a child, else 0
    int deadline = 0;      // TERMINY.TERMID of the one-deadline printout
    QString deadlineText;  // its OPIS
    bool period = false;   // "Wykonania z okresu"
    QDate from;
    QDate to;
};

// "Wydruk wykonań zgłoszeń dzieci", "… dziecka", "Wydruk wykonań terminu",
// "Wydruk wykonań terminów".
QString windowTitle(Kind kind, bool oneChild);
// "Zgłoszenia: " or "Terminy: " with the child's caption when tied.
QString reportTitle(Database& db, const PrintRequest& request);
// The deadline's description (one deadline), then "za okres od … do …".
QStringList subtitle(const PrintRequest& request);

// The executions, by the date they were done (those not yet done first).
report::Rows readRows(Database& db, const PrintRequest& request);
report::Report layout(const QString& title, const QStringList& subtitle, Kind kind, const QString& footerLine);
std::unique_ptr<report::Job> makeReport(Database& db, const PrintRequest& request);

// The printout window's area, opened by the registers' report commands with
// the arguments below; absent where there are no windows.
inline QString printArea() { return QStringLiteral("WydrukWykonan"); }
// `module`: the module whose `command` opened the window (it owns the command).
QVariantMap arguments(const PrintRequest& request, Command* command, QObject* module);
PrintRequest fromArguments(const QVariantMap& arguments);

}  // namespace executions
