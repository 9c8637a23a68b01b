#pragma once
// What the user reads when the store fails: the engines' common errors
// (locks, constraints, read-only, full disk, damage, lost connections,
// timeouts) in Polish, and never a password.

#include "store_location.h"

#include <QString>

class QSqlError;

namespace storemsg {

// A batch or a write found another connection's lock held past the wait.
QString busy();
QString readOnly();
QString diskFull();
// Names the commands that check and repair the store.
QString damaged();
QString statementTimeout(int seconds);
QString connectTimeout(const QString& where, int seconds);

// The engine's text turned into the user's; texts it does not know (a
// syntax error of free SQL, a message already in Polish) pass unchanged.
QString translate(const QString& engineText, const StoreLocation& location);
QString fromSqlError(const QSqlError& error, const StoreLocation& location);

// The text with the location's password, and any password written in a
// postgresql:// address, replaced by asterisks.
QString withoutPassword(const QString& text, const StoreLocation& location = {});

}  // namespace storemsg
