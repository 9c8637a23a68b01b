#include "pg_round_trips.h"

#include <libpq-fe.h>

#include <atomic>
#include <dlfcn.h>

// The benchmark exports these (ENABLE_EXPORTS), so the Qt driver's calls into
// libpq come here first and go on to libpq's own functions.

namespace {

std::atomic<long long> trips{0};
std::atomic<long long> connections{0};
thread_local bool insideExec = false;

template <class F>
F next(const char* name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

}  // namespace

extern "C" {

PGconn* PQconnectdb(const char* conninfo)
{
    static const auto real = next<PGconn* (*)(const char*)>("PQconnectdb");
    ++connections;
    return real(conninfo);
}

PGresult* PQexec(PGconn* conn, const char* query)
{
    static const auto real = next<PGresult* (*)(PGconn*, const char*)>("PQexec");
    ++trips;
    // libpq's PQexec sends through PQsendQuery, which comes here too: one trip.
    insideExec = true;
    PGresult* result = real(conn, query);
    insideExec = false;
    return result;
}

int PQsendQuery(PGconn* conn, const char* query)
{
    static const auto real = next<int (*)(PGconn*, const char*)>("PQsendQuery");
    if (!insideExec)
        ++trips;
    return real(conn, query);
}

PGresult* PQprepare(PGconn* conn, const char* name, const char* query, int nParams, const Oid* paramTypes)
{
    static const auto real = next<PGresult* (*)(PGconn*, const char*, const char*, int, const Oid*)>("PQprepare");
    ++trips;
    return real(conn, name, query, nParams, paramTypes);
}

PGresult* PQexecPrepared(PGconn* conn, const char* name, int nParams, const char* const* values, const int* lengths,
                         const int* formats, int resultFormat)
{
    static const auto real =
        next<PGresult* (*)(PGconn*, const char*, int, const char* const*, const int*, const int*, int)>("PQexecPrepared");
    ++trips;
    return real(conn, name, nParams, values, lengths, formats, resultFormat);
}

PGresult* PQexecParams(PGconn* conn, const char* command, int nParams, const Oid* paramTypes,
                       const char* const* values, const int* lengths, const int* formats, int resultFormat)
{
    static const auto real =
        next<PGresult* (*)(PGconn*, const char*, int, const Oid*, const char* const*, const int*, const int*, int)>(
            "PQexecParams");
    ++trips;
    return real(conn, command, nParams, paramTypes, values, lengths, formats, resultFormat);
}

// A pipeline's statements travel together: one round trip per sync.
int PQpipelineSync(PGconn* conn)
{
    static const auto real = next<int (*)(PGconn*)>("PQpipelineSync");
    ++trips;
    return real(conn);
}

}  // extern "C"

namespace bench {

long long pgRoundTrips()
{
    return trips;
}

long long pgConnections()
{
    return connections;
}

}  // namespace bench
