#pragma once
// The libpq connection under the store's PostgreSQL connection, for the
// batches the driver makes slow (COPY, reads sent with their values in one
// round trip). Statements sent here run in the store's transaction.

#include "libpq.h"
#include "store_location.h"

#include <QString>

class Database;

inline const libpq::Functions& pq() { return libpq::functions(); }

// Null when the store is not on PostgreSQL or the connection is gone.
PGconn* pgConnection(Database& db);
// As pgConnection; throws the store's Error when there is none or libpq
// cannot be found.
PGconn* requirePgConnection(Database& db);

// A failed statement's error as the store words the driver's; `result` may
// be null (the connection's own error then).
QString pgErrorMessage(const PGresult* result, PGconn* connection, const StoreLocation& location);
