#include "tdm_dzielog.h"

#include "registers/child_caption.h"
#include "store/error.h"
#include "store/table.h"

QString TDMDzieLog::refreshQuestion()
{
    return QStringLiteral("Odświeżyć dane?");
}

QString TDMDzieLog::accountCaption(Database& db, int account)
{
    return account == 0 ? QStringLiteral("Administrator") : childCaption(db, account).left(203);
}

TDMDzieLog::TDMDzieLog(RunContext& context, QObject* parent) : TDMDane(context, QStringLiteral("TDMDzieLog"), parent)
{
    DataSet& logins = addDataSet(QStringLiteral("Przedlogi"), QStringLiteral("PRZEDLOGI"), QStringLiteral("CZAS;KON"));
    Table& t = *logins.table;
    t.addCalculatedField(FieldDef::of(QStringLiteral("OOSOBA"), FieldType::String, 203));
    Database& db = context.db();
    t.events().onCalcFields = [&db](Table& row) {
        row.setCalculated(QStringLiteral("OOSOBA"), accountCaption(db, row.asInt(QStringLiteral("KON"))));
    };
    t.events().beforeEdit = [](Table&) { throw Error(QStringLiteral("Dziennik wejść jest tylko do odczytu")); };
    logins.fields = {
        FieldView::column(QStringLiteral("CZAS"), QStringLiteral("Czas"), true),
        FieldView::hidden(QStringLiteral("KON"), QStringLiteral("Dziecko")),
        FieldView::column(QStringLiteral("OOSOBA"), QStringLiteral("Dziecko"), true),
        FieldView::column(QStringLiteral("OK"), QStringLiteral("OK"), true),
    };
    applyFunctions();
}
