#include "statement_options.h"

#include "store/database.h"
#include "store/query.h"

namespace printouts {

QStringList settlementModeNames()
{
    return {QStringLiteral("tylko wartość rozliczenia"), QStringLiteral("ilość i cena rozliczenia"),
            QStringLiteral("pełne rozliczenie"), QStringLiteral("sumaryczny podział cen dla grupy opłat"),
            QStringLiteral("rozliczenie dla grupy opłat")};
}

StatementOptions StatementOptions::effective(bool landscape) const
{
    StatementOptions o = *this;
    if (!landscape) {
        o.mode = SettlementMode::ValueOnly;
        o.pesel = o.sum = o.extra = false;
    }
    if (o.child && int(o.mode) > int(SettlementMode::Full))
        o.mode = SettlementMode::ValueOnly;
    if (o.feeGroupMode()) {
        o.payments = false;
        o.historyFrom.reset();
    }
    if (o.historyFrom)
        o.pesel = o.sum = o.extra = false;
    if (!o.payments)
        o.confirmations = false;
    return o;
}

SortSetting parseSortSetting(const QString& parameter)
{
    SortSetting s;
    s.field = parameter.section(QLatin1Char(','), 0, 0).trimmed();
    bool ok = false;
    const int width = parameter.section(QLatin1Char(','), 1, 1).trimmed().toInt(&ok);
    if (ok && width > 0)
        s.numberWidth = width;
    return s;
}

QList<ExtraColumn> parseExtraColumns(const QString& parameter)
{
    QList<ExtraColumn> columns;
    for (const QString& item : parameter.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        ExtraColumn c;
        c.field = item.section(QLatin1Char('/'), 0, 0).trimmed();
        if (c.field.isEmpty())
            continue;
        bool ok = false;
        const int width = item.section(QLatin1Char('/'), 1, 1).trimmed().toInt(&ok);
        if (ok && width > 0)
            c.width = width;
        c.caption = item.section(QLatin1Char('/'), 2);
        columns.append(c);
    }
    return columns;
}

int earliestHistoryStart(Database& db, int monthKod)
{
    Query m(db, QStringLiteral("select ROK, MIES from MIESIACE where KOD=:KOD"));
    m.bind(QStringLiteral("KOD"), monthKod).exec();
    if (!m.next())
        return 0;
    const int ym = 12 * m.value(0).toInt() + m.value(1).toInt();
    Query q(db, QStringLiteral("select ROK, MIES, DNIWOLNE from MIESIACE where 12*ROK+MIES<=:YM order by ROK, MIES"));
    q.bind(QStringLiteral("YM"), ym).exec();
    struct Month {
        int code;
        bool free;
    };
    QList<Month> months;
    while (q.next())
        months.append({q.value(0).toInt() * 100 + q.value(1).toInt(), q.value(2).toString() == QLatin1String("-")});
    // Walk back from the statement month: a wholly free month ends the
    // history, the month after it starts it.
    int start = months.isEmpty() ? 0 : months.last().code;
    for (int i = int(months.size()) - 1, taken = 0; i >= 0 && taken < 12; --i, ++taken) {
        if (months[i].free && i != int(months.size()) - 1)
            break;
        start = months[i].code;
    }
    return start;
}

}  // namespace printouts
