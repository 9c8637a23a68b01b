#include "institution.h"

#include "query.h"

Institution Institution::read(Database& db)
{
    Institution inst;
    Query q(db, QStringLiteral("SELECT NAZWA, ADRES, NIP, KODKLI FROM FIRMA"));
    q.exec();
    if (q.next()) {
        inst.name = q.value(0).toString();
        inst.address = q.value(1).toString();
        inst.nip = q.value(2).toString();
        inst.clientNumber = q.value(3).toInt();
    }
    return inst;
}
