#include "quantity_data_loader.h"

#include "registers/child_caption.h"

#include "store/database.h"
#include "store/query.h"
#include "store/typed_query.h"
#include "store/values.h"

#include <QSet>

#include <algorithm>

namespace fees {

namespace {

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
    auto bindChild = [&](TypedQuery& q) {
        if (one)
            q.bind(QStringLiteral("OSOBA"), children.front());
    };
    // Rows of one child come together: the last child's rows are found again
    // without a lookup.
    ChildRows* lastRows = nullptr;
    int lastChild = 0;
    auto rowsOfNext = [&](int child) {
        if (!lastRows || child != lastChild) {
            lastRows = rowsOf(child);
            lastChild = child;
        }
        return lastRows;
    };

    for (const int child : children)
        rowsOf(child);
    {
        TypedQuery q(db, QStringLiteral("SELECT KOD, NAZWA, ULICA, PESEL FROM DZIECI WHERE 1 = 1")
                             + QString(oneChild).replace(QStringLiteral("OSOBA ="), QStringLiteral("KOD ="))
                             + QStringLiteral(" ORDER BY KOD"));
        bindChild(q);
        q.exec();
        while (q.next()) {
            if (ChildRows* rows = rowsOf(int(q.integer(0))))
                rows->caption = ::childCaption(q.text(1), q.text(2), q.text(3));
        }
    }
    {
        // Every child's days of the period lie together in the index by day
        // (DZIEN), which holds the whole row: the read costs what the period
        // holds, however many years the table keeps. No order is asked of
        // the store (PostgreSQL would sort the month); each child's days are
        // put in date order below, which costs nothing when they came so.
        TypedQuery q(db, one ? QStringLiteral("SELECT OSOBA, DATA, OBECNY, CZASP, CZASW FROM OBECN "
                                              "WHERE OSOBA = :OSOBA AND DATA >= :OD AND DATA <= :DO")
                             : QStringLiteral("SELECT OSOBA, DATA, OBECNY, CZASP, CZASW FROM OBECN "
                                              "WHERE DATA >= :OD AND DATA <= :DO"));
        q.bind(QStringLiteral("OD"), from).bind(QStringLiteral("DO"), to);
        bindChild(q);
        q.exec();
        while (q.next()) {
            if (ChildRows* rows = rowsOf(int(q.integer(0))))
                rows->attendance.append({q.date(1), q.mark(2), q.minutes(3), q.minutes(4)});
        }
        const auto byDate = [](const AttendanceRow& a, const AttendanceRow& b) { return a.date < b.date; };
        for (ChildRows& rows : data.children)
            if (!std::is_sorted(rows.attendance.cbegin(), rows.attendance.cend(), byDate))
                std::stable_sort(rows.attendance.begin(), rows.attendance.end(), byDate);
    }
    {
        TypedQuery q(db, one ? QStringLiteral("SELECT OSOBA, ROK, MIES, OBECNY, ILE FROM OBECM WHERE OSOBA = :OSOBA "
                                              "AND ROK >= :RA AND ROK <= :RB AND ROK * 100 + MIES >= :OD AND ROK * 100 + MIES <= :DO "
                                              "ORDER BY ROK, MIES, OBECNY")
                             : QStringLiteral("SELECT M.OSOBA, M.ROK, M.MIES, M.OBECNY, M.ILE FROM DZIECI D CROSS JOIN OBECM M "
                                              "WHERE M.OSOBA = D.KOD AND M.ROK >= :RA AND M.ROK <= :RB "
                                              "AND M.ROK * 100 + M.MIES >= :OD AND M.ROK * 100 + M.MIES <= :DO "
                                              "ORDER BY D.KOD, M.ROK, M.MIES, M.OBECNY"));
        q.bind(QStringLiteral("RA"), from.year()).bind(QStringLiteral("RB"), to.year());
        q.bind(QStringLiteral("OD"), from.year() * 100 + from.month()).bind(QStringLiteral("DO"), to.year() * 100 + to.month());
        bindChild(q);
        q.exec();
        while (q.next()) {
            if (ChildRows* rows = rowsOfNext(int(q.integer(0))))
                rows->monthlyTotals.append({int(q.integer(1)), int(q.integer(2)), q.mark(3), int(q.integer(4)), !q.isNull(4)});
        }
        lastRows = nullptr;
    }
    {
        TypedQuery q(db, QStringLiteral("SELECT OSOBA, ODDATY, CZASP, CZASW FROM DZIECZAS WHERE (ODDATY IS NULL OR ODDATY <= :DO)")
                             + oneChild + QStringLiteral(" ORDER BY OSOBA, ODDATY"));
        q.bind(QStringLiteral("DO"), to);
        bindChild(q);
        q.exec();
        while (q.next()) {
            if (ChildRows* rows = rowsOfNext(int(q.integer(0))))
                rows->declaredTimes.append({q.date(1), q.minutes(2), q.minutes(3)});
        }
        lastRows = nullptr;
        for (ChildRows& rows : data.children)
            keepInForce(rows.declaredTimes, from);
    }
    {
        TypedQuery q(db, QStringLiteral("SELECT ODDATY, CZASP, CZASW FROM CZASBEZP WHERE (ODDATY IS NULL OR ODDATY <= :DO) ORDER BY ODDATY"));
        q.bind(QStringLiteral("DO"), to).exec();
        while (q.next())
            data.freeTime.append({q.date(0), q.minutes(1), q.minutes(2)});
        keepInForce(data.freeTime, from);
    }
    {
        TypedQuery q(db, QStringLiteral("SELECT ODDATY, CZASPD, CZASPG, CZASWD, CZASWG FROM CZASGRAN "
                                        "WHERE (ODDATY IS NULL OR ODDATY <= :DO) ORDER BY ODDATY"));
        q.bind(QStringLiteral("DO"), to).exec();
        while (q.next())
            data.limits.append({q.date(0), q.minutes(1), q.minutes(2), q.minutes(3), q.minutes(4)});
        keepInForce(data.limits, from);
    }
    {
        TypedQuery q(db, QStringLiteral("SELECT KOD, NAZWA FROM ZAJDOD ORDER BY KOD"));
        q.exec();
        while (q.next())
            data.classNames.insert(int(q.integer(0)), q.text(1));
    }
    {
        TypedQuery q(db, QStringLiteral("SELECT ZAJECIE, DZIENTYG, ODDATY, DODATY, CZASP, CZASW FROM ZAJDAT "
                                        "WHERE (ODDATY IS NULL OR ODDATY <= :DO) AND (DODATY IS NULL OR DODATY >= :OD) "
                                        "ORDER BY ZAJECIE, ODDATY"));
        q.bind(QStringLiteral("OD"), from).bind(QStringLiteral("DO"), to).exec();
        while (q.next())
            data.timetable.append({int(q.integer(0)), q.text(1).trimmed().toInt(), q.date(2), q.date(3), q.minutes(4),
                                   q.minutes(5)});
    }
    {
        TypedQuery q(db, QStringLiteral("SELECT OSOBA, ZAJECIE, ODDATY, DODATY FROM DZIEZAJ "
                                        "WHERE (ODDATY IS NULL OR ODDATY <= :DO) AND (DODATY IS NULL OR DODATY >= :OD)")
                             + oneChild + QStringLiteral(" ORDER BY OSOBA, ZAJECIE, ODDATY"));
        q.bind(QStringLiteral("OD"), from).bind(QStringLiteral("DO"), to);
        bindChild(q);
        q.exec();
        while (q.next()) {
            if (ChildRows* rows = rowsOfNext(int(q.integer(0))))
                rows->declarations.append({int(q.integer(1)), q.date(2), q.date(3)});
        }
        lastRows = nullptr;
    }
    auto keyAt = [](const TypedQuery& q, int column) {
        const bool hasGroup = !q.isNull(column);
        return HeldClassKey{hasGroup, hasGroup ? int(q.integer(column)) : 0, int(q.integer(column + 1))};
    };
    {
        TypedQuery q(db, QStringLiteral("SELECT KLASA, ID, ZAJECIE, DATA, CZASP, CZASW FROM ZAJODB "
                                        "WHERE DATA >= :OD AND DATA <= :DO ORDER BY DATA, ZAJECIE"));
        q.bind(QStringLiteral("OD"), from).bind(QStringLiteral("DO"), to).exec();
        while (q.next())
            data.heldClasses.append({keyAt(q, 0), int(q.integer(2)), q.date(3), q.minutes(4), q.minutes(5)});
    }
    {
        // Marks are looked up by key: no order is asked for, which would
        // cost the store a sort. Stores from before the mark column have
        // presence only.
        const QString mark = db.hasColumn(QStringLiteral("ZAJOBEC"), QStringLiteral("OBECNY"))
            ? QStringLiteral("B.OBECNY") : QStringLiteral("NULL");
        TypedQuery q(db, QStringLiteral("SELECT B.KLASA, B.ID, B.OSOBA, %1 FROM ZAJOBEC B JOIN ZAJODB O ON B.ID = O.ID "
                                        "AND (B.KLASA = O.KLASA OR (B.KLASA IS NULL AND O.KLASA IS NULL)) "
                                        "WHERE O.DATA >= :OD AND O.DATA <= :DO%2")
                             .arg(mark, one ? QStringLiteral(" AND B.OSOBA = :OSOBA") : QString()));
        q.bind(QStringLiteral("OD"), from).bind(QStringLiteral("DO"), to);
        bindChild(q);
        q.exec();
        while (q.next()) {
            if (ChildRows* rows = rowsOf(int(q.integer(2))))
                rows->heldAttendance.insert(keyAt(q, 0), q.mark(3));
        }
    }
    data.buildIndexes();
    return data;
}

}  // namespace fees
