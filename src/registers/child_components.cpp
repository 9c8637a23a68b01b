#include "child_components.h"

#include "store/database.h"
#include "store/polish_dates.h"
#include "store/query.h"
#include "store/values.h"

namespace child_components {

QList<Skipped> close(Database& db, int child, const QDate& day)
{
    QList<Skipped> skipped;
    db.batch([&] {
        Query later(db, QStringLiteral("select M.NAZWA, D.ODDATY from DZIEMED D left join MEDIA M on M.KOD = D.MEDIUM "
                                       "where D.OSOBA = :O and D.DODATY is null and D.ODDATY > :D "
                                       "order by D.MEDIUM, D.ODDATY"));
        later.bind(QStringLiteral("O"), child).bind(QStringLiteral("D"), day).exec();
        while (later.next())
            skipped << Skipped{later.value(0).toString(), values::toDate(later.value(1))};
        // A row without a start date is open from the beginning: it is closed too.
        Query(db, QStringLiteral("update DZIEMED set DODATY = :D where OSOBA = :O and DODATY is null "
                                 "and (ODDATY is null or ODDATY <= :D2)"))
            .bind(QStringLiteral("D"), day)
            .bind(QStringLiteral("O"), child)
            .bind(QStringLiteral("D2"), day)
            .exec();
    });
    return skipped;
}

QString skippedRemark(const Skipped& s, const QDate& day)
{
    return QStringLiteral("Składnik %1 od %2 nie został zamknięty, gdyż zaczyna się po dniu %3")
        .arg(s.component, polish::shortDate(s.from), polish::shortDate(day));
}

int restore(Database& db, int child, const QDate& oldDay, const QDate& newDay)
{
    const bool aid = db.hasColumn(QStringLiteral("DZIEMED"), QStringLiteral("PROCOPIE"));
    int added = 0;
    db.batch([&] {
        Query rows(db, QStringLiteral("select MEDIUM, SPOSOB, SPOROZ%1 from DZIEMED where OSOBA = :O "
                                      "and ODDATY <= :OLD and DODATY is not null and DODATY >= :OLD2 "
                                      "and DODATY < :NEW order by MEDIUM, ODDATY")
                           .arg(aid ? QStringLiteral(", PROCOPIE") : QString()));
        rows.bind(QStringLiteral("O"), child)
            .bind(QStringLiteral("OLD"), oldDay)
            .bind(QStringLiteral("OLD2"), oldDay)
            .bind(QStringLiteral("NEW"), newDay)
            .exec();
        struct Row {
            QVariant medium, sposob, sporoz, procopie;
        };
        QList<Row> found;
        while (rows.next())
            found << Row{rows.value(0), rows.value(1), rows.value(2), aid ? rows.value(3) : QVariant()};
        Query insert(db, QStringLiteral("insert into DZIEMED (OSOBA, MEDIUM, ODDATY, SPOSOB, SPOROZ%1) "
                                        "values (:O, :M, :D, :S, :R%2)")
                             .arg(aid ? QStringLiteral(", PROCOPIE") : QString(), aid ? QStringLiteral(", :P") : QString()));
        for (const Row& r : found) {
            insert.bind(QStringLiteral("O"), child)
                .bind(QStringLiteral("M"), r.medium)
                .bind(QStringLiteral("D"), newDay)
                .bind(QStringLiteral("S"), r.sposob)
                .bind(QStringLiteral("R"), r.sporoz);
            if (aid)
                insert.bind(QStringLiteral("P"), r.procopie);
            insert.exec();
            ++added;
        }
    });
    return added;
}

}  // namespace child_components
