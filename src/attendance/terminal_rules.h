#pragma once
// The rules of the attendance terminal that need no store: the mode and its
// texts, the child code read from a card, rounding of the current time, the
// idle switch of the mode by today's limits, the declared-time lines and
// the questions the terminal asks inside its window.

#include "registers/child_time_limits.h"

#include <QDate>
#include <QString>
#include <QTime>

#include <optional>

namespace terminal {

// Whether "OK" records an arrival (CZASP) or a departure (CZASW).
enum class Mode { Arrival, Departure };

// "Czas przyjścia" / "Czas wyjścia": the caption of the field written.
QString fieldLabel(Mode mode);
// OBECN's column written in the mode.
QString fieldName(Mode mode);
// "Czas przyjścia w dniu:" / "Czas wyjścia w dniu:".
QString modeCaption(Mode mode);
// The context-menu command that toggles the mode, named for the other one.
QString toggleCaption(Mode mode);
Mode other(Mode mode);

// The KOD named by a code of digits: client number, child KOD, check digit
// over all digits before it. 0 when the code is not all digits, too short,
// names another client, fails its check digit or does not fit a KOD.
int childKod(const QString& code, int clientNumber);
// True when the code is made of decimal digits only (a card or a typed
// number); anything else is a name search.
bool isNumber(const QString& code);

// The moment's time to the minute, rounded to the nearest multiple of
// `step` minutes when it is 2 or more, never past 23:59.
QTime roundedTime(QTime time, int step);

// The limits of arrival and departure in force on a day.
struct DayLimits {
    stay_limits::Limits arrival;
    stay_limits::Limits departure;
};

// After a long idle time the terminal follows the time of day: back to
// arrivals in the morning, on to departures in the afternoon. Nothing when
// the mode stays.
std::optional<Mode> idleSwitch(Mode current, QTime now, const DayLimits& limits);

// "przyjście przed czasem deklarowanym!" for an arrival before the declared
// one, "wyjście po czasie deklarowanym!" for a departure after it; empty
// otherwise or without a declared time.
QString declaredLine(Mode mode, QTime stored, QTime declared);

// "wtorek" or "sobota (dzień wolny)".
QString weekdayText(QDate day, bool freeDay);

// A question shown inside the terminal's window. A question without
// "Anuluj" is a message that only waits for OK.
struct Question {
    QString text;
    bool cancel = true;
    bool remove = false;    // "Usuń" offered
    bool password = false;  // the masked password box shown

    bool isOpen() const { return !text.isEmpty(); }
    static Question message(const QString& text) { return {text, false, false, false}; }
};

enum class Reply { Ok, Cancel, Delete };

// The texts of the terminal.
namespace texts {
QString noChild();
QString freeDayQuestion();
QString alreadySet(Mode mode);
QString absenceSet();
QString wrongPassword();
QString noArrival();
QString order();
QString nameSearchPassword();
QString cleared(Mode mode);
QString stored(Mode mode, QTime time, const QString& declaredLine);
}  // namespace texts

}  // namespace terminal
