#include "time_registers.h"

#include "store/database.h"
#include "store/error.h"
#include "store/query.h"
#include "store/table.h"
#include "store/tdm_baza.h"

namespace {

FieldView dateColumn(const QString& name, const QString& caption)
{
    FieldView v;
    v.name = name;
    v.caption = caption;
    v.displayFormat = QStringLiteral("dd.MM.yyyy");
    return v;
}

FieldView timeColumn(const QString& name, const QString& caption)
{
    FieldView v;
    v.name = name;
    v.caption = caption;
    v.displayFormat = TDMBaza::timeFormat();
    return v;
}

// The row in force on a day is the latest one not after it: a row needs its
// first day, and no two rows may share one.
void checkFirstDay(Table& t, const DataSet& ds)
{
    if (t.isNull(QStringLiteral("ODDATY")))
        throw Error(QStringLiteral("Pole \"%1\" musi posiadać wartość").arg(ds.field(QStringLiteral("ODDATY"))->caption));
    const QDate day = t.asDate(QStringLiteral("ODDATY"));
    Database& db = t.database();
    Query same(db, QStringLiteral("SELECT %1 FROM %2 WHERE ODDATY = :D").arg(db.rowIdColumn(t.tableName()), t.tableName()));
    same.bind(QStringLiteral("D"), day).exec();
    const QVariant own = t.state() == Table::State::Insert ? QVariant() : t.rowId();
    while (same.next())
        if (own.isNull() || same.value(0).toLongLong() != own.toLongLong())
            throw Error(sameFirstDayMessage(day));
}

}  // namespace

QString sameFirstDayMessage(const QDate& day)
{
    return QStringLiteral("Istnieje już pozycja od dnia %1").arg(day.toString(QStringLiteral("dd.MM.yyyy")));
}

TDMCzasBezp::TDMCzasBezp(RunContext& context, QObject* parent)
    : TDMDane(context, QStringLiteral("TDMCzasBezp"), parent)
{
    DataSet& ds = addDataSet(QStringLiteral("Czasbezp"), QStringLiteral("CZASBEZP"), QStringLiteral("ODDATY"));
    ds.fields = {
        dateColumn(QStringLiteral("ODDATY"), QStringLiteral("Od daty")),
        timeColumn(QStringLiteral("CZASP"), QStringLiteral("Czas przyjścia")),
        timeColumn(QStringLiteral("CZASW"), QStringLiteral("Czas wyjścia")),
    };
    ds.table->events().beforePost = [this](Table& t) {
        const DataSet& d = freeTime();
        checkFirstDay(t, d);
        // An empty end means no free time that day, not an earlier end.
        if (!t.isNull(QStringLiteral("CZASP")) && !t.isNull(QStringLiteral("CZASW"))
            && t.asTime(QStringLiteral("CZASW")) < t.asTime(QStringLiteral("CZASP")))
            throw Error(d.field(QStringLiteral("CZASP"))->caption + QStringLiteral(" nie może być większy niż ")
                        + d.field(QStringLiteral("CZASW"))->caption);
    };
    applyFunctions();
}

TDMCzasGran::TDMCzasGran(RunContext& context, QObject* parent)
    : TDMDane(context, QStringLiteral("TDMCzasGran"), parent)
{
    DataSet& ds = addDataSet(QStringLiteral("Czasgran"), QStringLiteral("CZASGRAN"), QStringLiteral("ODDATY"));
    ds.fields = {
        dateColumn(QStringLiteral("ODDATY"), QStringLiteral("Od daty")),
        timeColumn(QStringLiteral("CZASPD"), QStringLiteral("Dolna granica przyjścia")),
        timeColumn(QStringLiteral("CZASPG"), QStringLiteral("Górna granica przyjścia")),
        timeColumn(QStringLiteral("CZASWD"), QStringLiteral("Dolna granica wyjścia")),
        timeColumn(QStringLiteral("CZASWG"), QStringLiteral("Górna granica wyjścia")),
    };
    ds.table->events().beforePost = [this](Table& t) { checkFirstDay(t, limits()); };
    applyFunctions();
}
