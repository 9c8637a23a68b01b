#pragma once
// "Sprawy do załatwienia oraz nadchodzące terminy": the open requests the
// logged-in user receives or deals with, the deadlines coming within their
// reminding days and the occurrences that passed without an execution, for
// the groups the user sees. Entries are sorted by their text, without
// regard to case, and a text already listed is not listed again.

#include "shell/current_login.h"

#include <QDate>
#include <QList>
#include <QString>

class Database;

namespace reminders {

struct Entry {
    enum class Kind { Request, Deadline };
    QString text;
    Kind kind = Kind::Request;
    int id = 0;     // ZGLOSZ.ZGLID or TERMINY.TERMID
    int child = 0;  // DZIECI.KOD, 0 for a deadline without a child
};

// The list for the login on `today` (the system date).
QList<Entry> collect(Database& db, const CurrentLogin& login, const QDate& today);

// The reminders list's texts.
inline QString title() { return QStringLiteral("Sprawy do załatwienia oraz nadchodzące terminy"); }
inline QString showLabel() { return QStringLiteral("Pokaż"); }
inline QString atStart() { return QStringLiteral("Przy starcie"); }
inline QString onRequest() { return QStringLiteral("Tylko na żądanie"); }

}  // namespace reminders
