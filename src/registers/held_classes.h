#pragma once
// Held extra classes (ZAJODB rows: one occurrence of a class on a date,
// keyed by group KLASA and number ID) and the rules both windows that edit
// them share: the extra-classes register ("Odbyte zajęcia") and the
// attendance window ("Zajęcia dodatkowe dnia").
//
//   scheduleOn        the weekly schedule row (ZAJDAT) in force on a date
//   nextNumber        the ID a new held class of a group takes
//   installRules      calculated fields, defaults, checks of a ZAJODB cursor
//
// installRules chains with the handlers already on the cursor: each of its
// hooks first runs the handler that was there, then its own. A module that
// needs more (the attendance window's new-row default: the current day, the
// earliest class not yet held) installs its handler AFTER installRules and
// calls the previous one first:
//
//     heldclasses::installRules(ds, context, heldclasses::Window::Attendance);
//     auto previous = ds.table->events().onNewRecord;
//     ds.table->events().onNewRecord = [previous](Table& t) {
//         if (previous) previous(t);
//         t.setValue("DATA", day);      // each change of DATA or ZAJECIE
//         t.setValue("ZAJECIE", code);  // sets CZASP/CZASW from the schedule
//         t.setValue("KLASA", group);
//     };
//
// The row test is chained the same way (the one in place AND the rights).

#include "browser/module.h"
#include "store/error.h"

#include <QDate>
#include <QString>
#include <QTime>
#include <QVariant>

class Database;
class Table;

namespace heldclasses {

// Thrown by a save the user declined at a confirmation: the row stays in
// editing. It carries no text, so there is nothing to show.
class SaveDeclined : public Error {
public:
    SaveDeclined() : Error(QString()) {}
};

enum class Window { ExtraClasses, Attendance };

// The scheduled start and end of a class on a date; found is false (and
// the times invalid) when no schedule row is in force on it.
struct Schedule {
    bool found = false;
    QTime start;
    QTime end;
};

// The first ZAJDAT row of the class in ODDATY order with ODDATY not after
// the date, the date's weekday (DZIENTYG "1" Monday … "7" Sunday) and
// DODATY empty or not before the date.
Schedule scheduleOn(Database& db, int classCode, const QDate& date);

// "Deklarowany czas": "hh:mm - hh:mm", or "Nie przewidziano" without a schedule.
QString scheduleText(const Schedule& schedule);

// The full weekday name of a date ("poniedziałek" … "niedziela").
QString weekdayName(const QDate& date);

// The largest ID of the held classes of the group plus one (1 for the
// first). An empty group is a numbering of its own: the held classes
// without a group.
int nextNumber(Database& db, const QVariant& group);

// Whether attendance rows (ZAJOBEC) exist for the held class.
bool hasAttendance(Database& db, const QVariant& group, const QVariant& id);

// Fields installRules adds to the cursor.
inline QString weekdayField() { return QStringLiteral("DZIENTYGNAZWA"); }  // "Dzień tyg."
inline QString scheduledStartField() { return QStringLiteral("DEKLCZASP"); }  // "Dekl. czas przyjścia"
inline QString scheduledEndField() { return QStringLiteral("DEKLCZASW"); }  // "Dekl. czas wyjścia"
inline QString scheduleTextField() { return QStringLiteral("DEKLCZAS"); }  // "Deklarowany czas"
inline QString classNameField() { return QStringLiteral("ZAJECIENAZWA"); }  // lookup ZAJDOD.NAZWA
inline QString groupNameField() { return QStringLiteral("KLASANAZWA"); }  // lookup KLASY.NAZWA

// Installs on a ZAJODB data set:
// - the calculated fields above and the class and group name lookups;
// - the field views of the window kind, when the data set has none yet;
// - the rights: held classes of the user's visible groups and allowed
//   classes (the attendance window also admits "Zajecia dodatkowe obecnosci");
// - on a new row: DATA = the system date (extra-classes window only; there
//   also the class's own group), then CZASP/CZASW from the schedule;
// - when ZAJECIE or DATA of a new row changes: CZASP/CZASW from the schedule;
// - KLASA of a saved row cannot change;
// - before saving: the confirmations of the window kind (No cancels the
//   save with SaveDeclined), then, on insertion, ID = nextNumber;
// - before deleting: refused while attendance rows exist.
void installRules(DataSet& heldClasses, RunContext& context, Window window);

// The field views of a held-classes browser of the window kind.
QList<FieldView> fieldViews(Window window);

// Messages.
QString groupChangeRefusal();  // "Nie można edytować grupy odbytych zajęć"
QString deletionRefusal();     // "Nie można skasować odbytych zajęć, ponieważ są dla nich wstawione obecności"
// The confirmation a save of a held class asks, empty when none is needed.
QString saveQuestion(Window window, const Schedule& schedule, const QTime& start, const QTime& end,
                     const QString& className);

}  // namespace heldclasses
