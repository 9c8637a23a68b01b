#include "settlement_months.h"

#include "charge_run.h"

#include "attendance/free_days.h"

#include "browser/prompts.h"
#include "browser/run_context.h"
#include "store/database.h"
#include "store/error.h"
#include "store/money.h"
#include "store/polish_dates.h"
#include "store/query.h"

#include <QDate>
#include <QSet>

#include <cmath>

namespace fees {

namespace {

qint64 grosze(const QVariant& value)
{
    return std::llround(money::round(value.toDouble()) * 100.0);
}

qint64 sumGrosze(Query& q)
{
    qint64 sum = 0;
    q.exec();
    while (q.next())
        sum += grosze(q.value(0));
    return sum;
}

bool invoicesStored(Database& db)
{
    return db.hasTable(QStringLiteral("FAKT")) && db.hasColumn(QStringLiteral("NALICZ"), QStringLiteral("IDF"));
}

}  // namespace

QString generatedFreeDays(int year, int month, bool wholeMonthFree)
{
    return attendance::generatedFreeDays(year, month, wholeMonthFree);
}

int monthKod(Database& db, int year, int month)
{
    return Query(db, QStringLiteral("select KOD from MIESIACE where ROK = :ROK and MIES = :MIES"))
        .bind(QStringLiteral("ROK"), year)
        .bind(QStringLiteral("MIES"), month)
        .scalar()
        .toInt();
}

QString freeDaysOf(Database& db, int year, int month)
{
    Query q(db, QStringLiteral("select DNIWOLNE from MIESIACE where ROK = :ROK and MIES = :MIES"));
    q.bind(QStringLiteral("ROK"), year).bind(QStringLiteral("MIES"), month).exec();
    if (!q.next())
        return QStringLiteral("-");
    return q.value(0).toString();
}

QList<MonthRecord> monthsInOrder(Database& db)
{
    Query q(db, QStringLiteral("select KOD, ROK, MIES, DNIWOLNE from MIESIACE order by ROK, MIES"));
    q.exec();
    QList<MonthRecord> out;
    while (q.next())
        out << MonthRecord{q.value(0).toInt(), q.value(1).toInt(), q.value(2).toInt(), q.value(3).toString()};
    return out;
}

QString wholeMonthFreeQuestion()
{
    return QStringLiteral("Jest to miesiąc całkowicie wolny od pracy?");
}

QString monthExistsMessage(int year, int month)
{
    return QStringLiteral("Miesiąc rozrachunkowy %1 już istnieje").arg(polish::monthYear(year, month));
}

int addMonth(RunContext& context, int year, int month)
{
    if (month < 1 || month > 12 || !QDate(year, month, 1).isValid())
        throw Error(QStringLiteral("Niepoprawny miesiąc: %1-%2").arg(year).arg(month));
    Database& db = context.db();
    // One record per year and month: charges and payments find a month by it.
    if (monthKod(db, year, month) != 0) {
        context.prompts.showInfo(monthExistsMessage(year, month));
        return 0;
    }
    bool wholeMonth = false;
    if (month == 7 || month == 8)
        wholeMonth = context.prompts.askYesNo(wholeMonthFreeQuestion());
    int kod = 0;
    bool madeMeanwhile = false;
    db.batch([&] {
        // Another station may have made it while the question was open.
        if (monthKod(db, year, month) != 0) {
            madeMeanwhile = true;
            return;
        }
        Query(db, QStringLiteral("insert into MIESIACE (ROK, MIES, DNIWOLNE) values (:ROK, :MIES, :DNI)"))
            .bind(QStringLiteral("ROK"), year)
            .bind(QStringLiteral("MIES"), month)
            .bind(QStringLiteral("DNI"), generatedFreeDays(year, month, wholeMonth))
            .exec();
        kod = monthKod(db, year, month);
    });
    if (madeMeanwhile)
        context.prompts.showInfo(monthExistsMessage(year, month));
    return kod;
}

qint64 childBalance(Database& db, int child, int year, int month)
{
    const int upTo = 12 * year + month;
    Query paid(db, QStringLiteral("select W.WARTOSC from WPLATY W, MIESIACE M"
                                  " where W.KOD = M.KOD and W.OSOBA = :OSOBA and 12*M.ROK+M.MIES <= :DO"));
    paid.bind(QStringLiteral("OSOBA"), child).bind(QStringLiteral("DO"), upTo);
    Query charged(db, QStringLiteral("select N.WARTOSC from NALICZ N, MIESIACE M"
                                     " where N.KOD = M.KOD and N.TYP = '1' and N.OSOBA = :OSOBA"
                                     " and 12*M.ROK+M.MIES <= :DO"));
    charged.bind(QStringLiteral("OSOBA"), child).bind(QStringLiteral("DO"), upTo);
    return sumGrosze(paid) - sumGrosze(charged);
}

QString balanceText(qint64 grosze)
{
    const qint64 whole = grosze < 0 ? -grosze : grosze;
    return QStringLiteral("%1%2.%3")
        .arg(grosze < 0 ? QStringLiteral("-") : QString())
        .arg(whole / 100)
        .arg(int(whole % 100), 2, 10, QLatin1Char('0'));
}

QString monthDeletionLines(Database& db, int monthKod)
{
    Query q(db, QStringLiteral("select count(*) as IL, 'M' as CO from NALICZ where KOD = :KOD"
                               " union all"
                               " select count(*) as IL, 'W' as CO from WPLATY where KOD = :KOD2"));
    q.bind(QStringLiteral("KOD"), monthKod).bind(QStringLiteral("KOD2"), monthKod).exec();
    bool charges = false;
    bool payments = false;
    while (q.next()) {
        if (q.value(0).toInt() <= 0)
            continue;
        if (q.value(1).toString() == QLatin1String("M"))
            charges = true;
        else
            payments = true;
    }
    QString lines;
    if (charges)
        lines += QStringLiteral("\r\n- opłatach miesięcznych");
    if (payments)
        lines += QStringLiteral("\r\n- wpłatach miesięcznych");
    return lines;
}

QString monthInUseHeading()
{
    return QStringLiteral("Nie można skasować miesiąca, gdyż występuje on w:");
}

void checkMonthDeletion(Database& db, int monthKod)
{
    const QString lines = monthDeletionLines(db, monthKod);
    if (!lines.isEmpty())
        throw Error(monthInUseHeading() + lines);
}

QString laterChargesRefusal()
{
    return QStringLiteral("Aby cofnąć naliczenia nie może być naliczeń na późniejsze miesiące");
}

QString invoicedLinesQuestion()
{
    return QStringLiteral("Pozycje naliczeń mogą pochodzić z faktur/rachunków\r\nCofnąć wszystko?");
}

QString undoConfirmation()
{
    return QStringLiteral("Funkcja skasuje wszystkie zatwierdzone naliczenia");
}

QString operationEnd()
{
    return QStringLiteral("Koniec operacji");
}

bool undoApproval(RunContext& context, int monthKod, int child)
{
    // The run would write lines of the month while they are deleted.
    if (chargeRunInProgress())
        return false;
    Database& db = context.db();
    Query month(db, QStringLiteral("select ROK, MIES from MIESIACE where KOD = :KOD"));
    month.bind(QStringLiteral("KOD"), monthKod).exec();
    if (!month.next())
        return false;
    const int position = 12 * month.value(0).toInt() + month.value(1).toInt();

    // Settling a later month has read this month's approved lines; undoing
    // them under it would leave that settlement wrong. Every child counts.
    Query later(db, QStringLiteral("select M.KOD from MIESIACE M, NALICZ N"
                                   " where 12*M.ROK+M.MIES > :POZ and M.KOD = N.KOD"));
    later.bind(QStringLiteral("POZ"), position).exec();
    if (later.next()) {
        context.prompts.showError(laterChargesRefusal());
        return false;
    }

    const bool invoices = invoicesStored(db);
    if (db.hasColumn(QStringLiteral("NALICZ"), QStringLiteral("IDF")) && !context.prompts.askYesNo(invoicedLinesQuestion()))
        return false;
    if (!context.prompts.askYesNo(undoConfirmation()))
        return false;

    const QString childCondition = child != 0 ? QStringLiteral(" and OSOBA = :OSOBA") : QString();
    auto bound = [&](Query& q) -> Query& {
        q.bind(QStringLiteral("KOD"), monthKod);
        if (child != 0)
            q.bind(QStringLiteral("OSOBA"), child);
        return q;
    };

    bool chargedMeanwhile = false;
    db.batch([&] {
        // Under the batch lock: another station may have charged a later
        // month while the questions were open.
        later.exec();
        if (later.next()) {
            chargedMeanwhile = true;
            return;
        }
        // The invoices the deleted lines stood on may belong to another payer
        // (the help centre) or another month (a correction booked later).
        QSet<int> candidates;
        if (invoices) {
            Query held(db, QStringLiteral("select distinct IDF from NALICZ where KOD = :KOD and TYP = '1'")
                               + childCondition + QStringLiteral(" and IDF is not null"));
            bound(held).exec();
            while (held.next())
                candidates.insert(held.value(0).toInt());
            Query own(db, QStringLiteral("select ID from FAKT where KOD = :KOD") + childCondition);
            bound(own).exec();
            while (own.next())
                candidates.insert(own.value(0).toInt());
        }

        Query lines(db, QStringLiteral("delete from NALICZ where KOD = :KOD and TYP = '1'") + childCondition);
        bound(lines).exec();

        // An invoice that still carries lines (a correction of another
        // month booked in this one) documents them and stays.
        for (const int id : std::as_const(candidates))
            Query(db, QStringLiteral("delete from FAKT where ID = :ID"
                                     " and not exists (select 1 from NALICZ where NALICZ.IDF = FAKT.ID)"))
                .bind(QStringLiteral("ID"), id)
                .exec();
    });
    if (chargedMeanwhile) {
        context.prompts.showError(laterChargesRefusal());
        return false;
    }
    context.prompts.showInfo(operationEnd());
    return true;
}

}  // namespace fees
