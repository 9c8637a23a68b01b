#pragma once
// Closing and restoring a child's fee components (DZIEMED). Both read
// every row of the child, whatever the system-date filter hides, and write
// in one transaction.

#include <QDate>
#include <QList>
#include <QString>

class Database;

namespace child_components {

// A component left open because it starts after the closing day: closing
// it there would end it before it begins.
struct Skipped {
    QString component;  // MEDIA.NAZWA
    QDate from;
};

// Gives every open component of the child DODATY = `day`; returns those
// it left open.
QList<Skipped> close(Database& db, int child, const QDate& day);

// The line of the message window for a component left open.
QString skippedRemark(const Skipped& s, const QDate& day);

// For every component in force on `oldDay` and closed before `newDay`, a
// new open row from `newDay` with the same component, methods and aid
// percentage. Returns the rows added.
int restore(Database& db, int child, const QDate& oldDay, const QDate& newDay);

}  // namespace child_components
