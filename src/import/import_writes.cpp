#include "import_writes.h"

#include "attendance/obecn_store.h"
#include "store/database.h"
#include "store/query.h"

namespace import {

void writePending(Database& db, const QList<PendingWrite>& writes)
{
    if (writes.isEmpty())
        return;
    db.batch([&] {
        std::optional<Query> charge, payment;
        for (const PendingWrite& w : writes) {
            switch (w.kind) {
            case PendingWrite::Kind::ChargeLine:
                if (!charge)
                    charge.emplace(db, QStringLiteral(
                        "INSERT INTO NALICZ (KOD, TYP, OSOBA, MEDIUM, ILOSC, JM, CENA, WARTOSC, ROZLICZ) "
                        "VALUES (:K, :T, :O, :M, :I, :J, :C, :W, :R)"));
                charge->bind(QStringLiteral("K"), w.monthKod)
                    .bind(QStringLiteral("T"), w.type)
                    .bind(QStringLiteral("O"), w.child)
                    .bind(QStringLiteral("M"), w.component)
                    .bind(QStringLiteral("I"), w.quantity)
                    .bind(QStringLiteral("J"), w.unit)
                    .bind(QStringLiteral("C"), w.price)
                    .bind(QStringLiteral("W"), w.value)
                    .bind(QStringLiteral("R"), w.settlement ? QStringLiteral("T") : QStringLiteral("N"))
                    .exec();
                break;
            case PendingWrite::Kind::Payment:
                if (!payment)
                    payment.emplace(db, QStringLiteral("INSERT INTO WPLATY (KOD, DATA, OSOBA, WARTOSC, OPIS) "
                                                       "VALUES (:K, :D, :O, :W, :P)"));
                payment->bind(QStringLiteral("K"), w.monthKod)
                    .bind(QStringLiteral("D"), w.date)
                    .bind(QStringLiteral("O"), w.child)
                    .bind(QStringLiteral("W"), w.value)
                    .bind(QStringLiteral("P"), w.description)
                    .exec();
                break;
            case PendingWrite::Kind::Day:
                if (w.mark.isEmpty()) {
                    obecn::deleteDay(db, w.child, w.date);
                } else {
                    obecn::StoredDay day;
                    day.code = w.mark;
                    day.arrival = w.arrival;
                    day.departure = w.departure;
                    obecn::writeDay(db, w.child, w.date, day);
                }
                break;
            case PendingWrite::Kind::Count:
                obecn::writeCount(db, w.child, w.year, w.month, w.mark.at(0), w.count);
                break;
            }
        }
    });
}

}  // namespace import
