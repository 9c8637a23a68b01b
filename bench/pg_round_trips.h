#pragma once
// Requests sent to a PostgreSQL server by this process (the program's
// driver and the floors alike): every statement is a round trip on a
// server, so their count explains a batch's figure where timing cannot.

namespace bench {

// Statements sent (PQexec, PQexecParams, PQsendQuery, PQprepare,
// PQexecPrepared, each pipeline sync) and connections made since the
// process started.
long long pgRoundTrips();
long long pgConnections();

}  // namespace bench
