#pragma once
// What the attendance terminal reads from the store: the child a code
// names, the children found by name, today's free day and limits, the
// child's declared time and the current user's password.

#include "terminal_rules.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QTime>

#include <optional>

class Database;

namespace terminal {

struct ChildInfo {
    int kod = 0;
    QString name;
    QString group;  // the group's name, empty without one

    // "grupa: Motylki"
    QString groupText() const { return QStringLiteral("grupa: ") + group; }
};

std::optional<ChildInfo> findChild(Database& db, int kod);
// Children whose name contains the text, letter case ignored, by name.
QList<ChildInfo> childrenNamed(Database& db, const QString& text);

struct DayInfo {
    QDate day;
    bool freeDay = false;
    DayLimits limits;
};
// The day's place in its month's free days (MIESIACE) and the limits in force.
DayInfo readDayInfo(Database& db, QDate day);

// The child's declared arrival and departure in force on the day (the
// DZIECZAS row with the latest ODDATY not after it); invalid times when
// none is in force.
struct DeclaredTime {
    QTime arrival;
    QTime departure;
};
DeclaredTime declaredOn(Database& db, int child, QDate day);

// True when the password is the logged-in user's: the digest kept in UZYT
// for a user, the master credential for the service account.
bool userPasswordMatches(Database& db, int userCode, const QString& password);

}  // namespace terminal
