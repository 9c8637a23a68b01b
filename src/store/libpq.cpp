#include "libpq.h"

#include <QLibrary>

#include <dlfcn.h>

#include <type_traits>

namespace libpq {

const Functions& functions()
{
    static const Functions loaded = [] {
        Functions f;
        static QLibrary lib;
        lib.setFileNameAndVersion(QStringLiteral("pq"), 5);
        if (!lib.load()) {
            lib.setFileName(QStringLiteral("libpq"));
            if (!lib.load())
                return f;
        }
        // A program's own definition comes first, as it does for the driver's
        // calls (the benchmarks count round trips so).
        auto get = [](auto& slot, const char* name) {
            using Slot = std::remove_reference_t<decltype(slot)>;
            void* found = dlsym(RTLD_DEFAULT, name);
            slot = found ? reinterpret_cast<Slot>(found) : reinterpret_cast<Slot>(lib.resolve(name));
            return slot != nullptr;
        };
        f.complete = get(f.exec, "PQexec") && get(f.execParams, "PQexecParams")
            && get(f.resultStatus, "PQresultStatus") && get(f.errorField, "PQresultErrorField")
            && get(f.resultErrorMessage, "PQresultErrorMessage") && get(f.errorMessage, "PQerrorMessage")
            && get(f.tupleCount, "PQntuples") && get(f.fieldCount, "PQnfields") && get(f.fieldName, "PQfname")
            && get(f.fieldType, "PQftype") && get(f.getValue, "PQgetvalue") && get(f.getLength, "PQgetlength")
            && get(f.isNull, "PQgetisnull") && get(f.commandTuples, "PQcmdTuples")
            && get(f.unescapeBytea, "PQunescapeBytea") && get(f.freeMemory, "PQfreemem") && get(f.clear, "PQclear")
            && get(f.putCopyData, "PQputCopyData") && get(f.putCopyEnd, "PQputCopyEnd")
            && get(f.getResult, "PQgetResult");
        return f;
    }();
    return loaded;
}

}  // namespace libpq
