#include "quantity_data_loader.h"

#include "registers/child_caption.h"

#include "store/database.h"
#include "store/query.h"
#include "store/values.h"

#include <QSet>

#include <algorithm>

namespace fees {

namespace {

int timeAt(const Query& q, int column) { return minutesOf(values::toTime(q.value(column))); }
QDate dateAt(const Query& q, int column) { return values::toDate(q.value(column)); }
QChar markAt(const Query& q, int column)
{
    const QString s = q.value(column).toString().trimmed();
    return s.isEmpty() ? QChar() : s.front().toUpper();
}

// Rows in force from their first day: keep the one in force on `from` and
// every later one. Engines order empty dates differently, so sort here.
template <class Row>
void keepInForce(QList<Row>& rows, QDate from)
{
    std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
        return !a.from.isValid() ? b.from.isValid() : b.from.isValid() && a.from < b.from;
    });
    qsizetype firstKept = 0;
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (!rows[i].from.isValid() || rows[i].from <= from)
            firstKept = i;
        else
            break;
    }
    rows.erase(rows.begin(), rows.begin() + firstKept);
}

}  // namespace

QuantityData loadQuantityData(Database& db, QDate from, QDate to, const QList<int>& children)
{
    QuantityData data;
    data.from = from;
    data.to = to;
    const QSet<int> wanted(children.cbegin(), children.cend());
    // One child is filtered by the store; a set is read whole and filtered here.
    const bool one = children.size() == 1;
    const QString oneChild = one ? QStringLiteral(" AND OSOBA = :OSOBA") : QString();
    auto keep = [&](int child) { return wanted.isEmpty() || wanted.contains(child); };
    auto rowsOf = [&](int child) -> ChildRows* {
        if (!keep(child))
            return nullptr;
        ChildRows& rows = data.children[child];
        rows.child = child;
        return &rows;
    };
    auto bindChild = [&](Query& q) {
        if (one)
            q.bind(QStringLiteral("OSOBA"), children.front());
    };

    for (const int child : children)
        rowsOf(child);
    {
        Query q(db, QStringLiteral("SELECT KOD, NAZWA, ULICA, PESEL FROM DZIECI WHERE 1 = 1")
                        + QString(oneChild).replace(QStringLiteral("OSOBA ="), QStringLiteral("KOD =")) + QStringLiteral(" ORDER BY KOD"));
        bindChild(q);
        q.exec();
        while (q.next()) {
            if (ChildRows* rows = rowsOf(q.value(0).toInt()))
                rows->caption = ::childCaption(q.value(1).toString(), q.value(2).toString(), q.value(3).toString());
        }
    }
    {
        Query q(db, QStringLiteral("SELECT OSOBA, DATA, OBECNY, CZASP, CZASW FROM OBECN WHERE DATA >= :OD AND DATA <= :DO")
                        + oneChild + QStringLiteral(" ORDER BY OSOBA, DATA"));
        q.bind(QStringLiteral("OD"), from).bind(QStringLiteral("DO"), to);
        bindChild(q);
        q.exec();
        ChildRows* rows = nullptr;
        int current = 0;
        while (q.next()) {
            const int child = q.value(0).toInt();
            if (!rows || child != current) {
                rows = rowsOf(child);
                current = child;
            }
            if (rows)
                rows->attendance.append({dateAt(q, 1), markAt(q, 2), timeAt(q, 3), timeAt(q, 4)});
        }
    }
    {
        Query q(db, QStringLiteral("SELECT OSOBA, ROK, MIES, OBECNY, ILE FROM OBECM "
                                   "WHERE ROK * 100 + MIES >= :OD AND ROK * 100 + MIES <= :DO")
                        + oneChild + QStringLiteral(" ORDER BY OSOBA, ROK, MIES, OBECNY"));
        q.bind(QStringLiteral("OD"), from.year() * 100 + from.month()).bind(QStringLiteral("DO"), to.year() * 100 + to.month());
        bindChild(q);
        q.exec();
        while (q.next()) {
            if (ChildRows* rows = rowsOf(q.value(0).toInt()))
                rows->monthlyTotals.append({q.value(1).toInt(), q.value(2).toInt(), markAt(q, 3), q.value(4).toInt()});
        }
    }
    {
        Query q(db, QStringLiteral("SELECT OSOBA, ODDATY, CZASP, CZASW FROM DZIECZAS WHERE (ODDATY IS NULL OR ODDATY <= :DO)")
                        + oneChild + QStringLiteral(" ORDER BY OSOBA, ODDATY"));
        q.bind(QStringLiteral("DO"), to);
        bindChild(q);
        q.exec();
        while (q.next()) {
            if (ChildRows* rows = rowsOf(q.value(0).toInt()))
                rows->declaredTimes.append({dateAt(q, 1), timeAt(q, 2), timeAt(q, 3)});
        }
        for (ChildRows& rows : data.children)
            keepInForce(rows.declaredTimes, from);
    }
    {
        Query q(db, QStringLiteral("SELECT ODDATY, CZASP, CZASW FROM CZASBEZP WHERE (ODDATY IS NULL OR ODDATY <= :DO) ORDER BY ODDATY"));
        q.bind(QStringLiteral("DO"), to).exec();
        while (q.next())
            data.freeTime.append({dateAt(q, 0), timeAt(q, 1), timeAt(q, 2)});
        keepInForce(data.freeTime, from);
    }
    {
        Query q(db, QStringLiteral("SELECT ODDATY, CZASPD, CZASPG, CZASWD, CZASWG FROM CZASGRAN "
                                   "WHERE (ODDATY IS NULL OR ODDATY <= :DO) ORDER BY ODDATY"));
        q.bind(QStringLiteral("DO"), to).exec();
        while (q.next())
            data.limits.append({dateAt(q, 0), timeAt(q, 1), timeAt(q, 2), timeAt(q, 3), timeAt(q, 4)});
        keepInForce(data.limits, from);
    }
    {
        Query q(db, QStringLiteral("SELECT KOD, NAZWA FROM ZAJDOD ORDER BY KOD"));
        q.exec();
        while (q.next())
            data.classNames.insert(q.value(0).toInt(), q.value(1).toString());
    }
    {
        Query q(db, QStringLiteral("SELECT ZAJECIE, DZIENTYG, ODDATY, DODATY, CZASP, CZASW FROM ZAJDAT "
                                   "WHERE (ODDATY IS NULL OR ODDATY <= :DO) AND (DODATY IS NULL OR DODATY >= :OD) "
                                   "ORDER BY ZAJECIE, ODDATY"));
        q.bind(QStringLiteral("OD"), from).bind(QStringLiteral("DO"), to).exec();
        while (q.next())
            data.timetable.append({q.value(0).toInt(), q.value(1).toString().trimmed().toInt(), dateAt(q, 2), dateAt(q, 3),
                                   timeAt(q, 4), timeAt(q, 5)});
    }
    {
        Query q(db, QStringLiteral("SELECT OSOBA, ZAJECIE, ODDATY, DODATY FROM DZIEZAJ "
                                   "WHERE (ODDATY IS NULL OR ODDATY <= :DO) AND (DODATY IS NULL OR DODATY >= :OD)")
                        + oneChild + QStringLiteral(" ORDER BY OSOBA, ZAJECIE, ODDATY"));
        q.bind(QStringLiteral("OD"), from).bind(QStringLiteral("DO"), to);
        bindChild(q);
        q.exec();
        while (q.next()) {
            if (ChildRows* rows = rowsOf(q.value(0).toInt()))
                rows->declarations.append({q.value(1).toInt(), dateAt(q, 2), dateAt(q, 3)});
        }
    }
    auto keyAt = [](const Query& q, int column) {
        const QVariant group = q.value(column);
        return HeldClassKey{!values::isEmpty(group), values::isEmpty(group) ? 0 : group.toInt(), q.value(column + 1).toInt()};
    };
    {
        Query q(db, QStringLiteral("SELECT KLASA, ID, ZAJECIE, DATA, CZASP, CZASW FROM ZAJODB "
                                   "WHERE DATA >= :OD AND DATA <= :DO ORDER BY DATA, ZAJECIE"));
        q.bind(QStringLiteral("OD"), from).bind(QStringLiteral("DO"), to).exec();
        while (q.next())
            data.heldClasses.append({keyAt(q, 0), q.value(2).toInt(), dateAt(q, 3), timeAt(q, 4), timeAt(q, 5)});
    }
    {
        // Stores from before the mark column have presence only.
        const QString mark = db.hasColumn(QStringLiteral("ZAJOBEC"), QStringLiteral("OBECNY"))
            ? QStringLiteral("B.OBECNY") : QStringLiteral("NULL");
        Query q(db, QStringLiteral("SELECT B.KLASA, B.ID, B.OSOBA, %1 FROM ZAJOBEC B JOIN ZAJODB O ON B.ID = O.ID "
                                   "AND (B.KLASA = O.KLASA OR (B.KLASA IS NULL AND O.KLASA IS NULL)) "
                                   "WHERE O.DATA >= :OD AND O.DATA <= :DO%2 ORDER BY B.OSOBA, B.KLASA, B.ID")
                        .arg(mark, one ? QStringLiteral(" AND B.OSOBA = :OSOBA") : QString()));
        q.bind(QStringLiteral("OD"), from).bind(QStringLiteral("DO"), to);
        bindChild(q);
        q.exec();
        while (q.next()) {
            if (ChildRows* rows = rowsOf(q.value(2).toInt()))
                rows->heldAttendance.insert(keyAt(q, 0), markAt(q, 3));
        }
    }
    data.buildIndexes();
    return data;
}

}  // namespace fees
