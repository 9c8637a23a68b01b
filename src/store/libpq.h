#pragma once
// libpq's functions, taken at run time from the library the PostgreSQL
// driver loads, rather than linked: a program on an SQLite store never loads
// it, and start-up does not pay for it.

#include <libpq-fe.h>

namespace libpq {

struct Functions {
    decltype(&PQexec) exec = nullptr;
    decltype(&PQexecParams) execParams = nullptr;
    decltype(&PQresultStatus) resultStatus = nullptr;
    decltype(&PQresultErrorField) errorField = nullptr;
    decltype(&PQresultErrorMessage) resultErrorMessage = nullptr;
    decltype(&PQerrorMessage) errorMessage = nullptr;
    decltype(&PQntuples) tupleCount = nullptr;
    decltype(&PQnfields) fieldCount = nullptr;
    decltype(&PQfname) fieldName = nullptr;
    decltype(&PQftype) fieldType = nullptr;
    decltype(&PQgetvalue) getValue = nullptr;
    decltype(&PQgetlength) getLength = nullptr;
    decltype(&PQgetisnull) isNull = nullptr;
    decltype(&PQcmdTuples) commandTuples = nullptr;
    decltype(&PQunescapeBytea) unescapeBytea = nullptr;
    decltype(&PQfreemem) freeMemory = nullptr;
    decltype(&PQclear) clear = nullptr;
    decltype(&PQputCopyData) putCopyData = nullptr;
    decltype(&PQputCopyEnd) putCopyEnd = nullptr;
    decltype(&PQgetResult) getResult = nullptr;
    bool complete = false;  // the library and every function above were found
};

const Functions& functions();

}  // namespace libpq
