#include "tdm_terminy.h"

#include "deadline_occurrences.h"
#include "execution_report.h"
#include "follow_up_lookups.h"

#include "browser/area_registry.h"
#include "store/query.h"
#include "store/table.h"

namespace {

const QString kTermid = QStringLiteral("TERMID");

}  // namespace

QDate TDMTerminy::lastExecution(Database& db, int deadlineId)
{
    Query q(db, QStringLiteral("SELECT MAX(DATAZAL) FROM TERMWYK WHERE TERMID = :T"));
    return q.bind(QStringLiteral("T"), deadlineId).scalar().toDate();
}

TDMTerminy::TDMTerminy(RunContext& context, QObject* parent) : TDMDane(context, QStringLiteral("TDMTerminy"), parent)
{
    Database& db = context.db();
    DataSet& ds = addDataSet(QStringLiteral("Terminy"), QStringLiteral("TERMINY"),
                             QStringLiteral("DATA;DNIPRZED;OKRES;ILOKRESOW"));
    Table& t = *ds.table;
    Table* kids = followup::childrenLookup(db, this);
    Table* units = followup::periodUnitsLookup(db, this);
    t.addLookupField(FieldDef::of(QStringLiteral("OOSOBA"), FieldType::String, 203), QStringLiteral("OSOBA"), kids,
                     QStringLiteral("KOD"), QStringLiteral("CAPTION"));
    t.addLookupField(FieldDef::of(QStringLiteral("KLASA"), FieldType::String, 3), QStringLiteral("OSOBA"), kids,
                     QStringLiteral("KOD"), QStringLiteral("KLASA"));
    t.addLookupField(FieldDef::of(QStringLiteral("OPISOKRESU"), FieldType::String, 30), QStringLiteral("OKRES"), units,
                     QStringLiteral("TYP"), QStringLiteral("NAZWA"));
    t.addCalculatedField(FieldDef::of(QStringLiteral("NASTDATA"), FieldType::Date));
    t.addCalculatedField(FieldDef::of(QStringLiteral("OSTDATA"), FieldType::Date));
    t.addCalculatedField(FieldDef::of(QStringLiteral("DATAZAL"), FieldType::Date));
    // The executions window's title names its deadline.
    t.addCalculatedField(FieldDef::of(QStringLiteral("CAPTION"), FieldType::String, 200));
    RunContext* ctx = &context;
    t.events().onCalcFields = [ctx](Table& row) {
        const deadlines::Occurrences o =
            deadlines::occurrences(row.asDate(QStringLiteral("DATA")), row.asInt(QStringLiteral("ILOKRESOW")),
                                   row.text(QStringLiteral("OKRES")), ctx->systemDate());
        row.setCalculated(QStringLiteral("NASTDATA"), o.next.isValid() ? QVariant(o.next) : QVariant());
        row.setCalculated(QStringLiteral("OSTDATA"), o.previous.isValid() ? QVariant(o.previous) : QVariant());
        const int id = row.asInt(kTermid);
        const QDate last = id > 0 ? lastExecution(ctx->db(), id) : QDate();
        row.setCalculated(QStringLiteral("DATAZAL"), last.isValid() ? QVariant(last) : QVariant());
        row.setCalculated(QStringLiteral("CAPTION"), row.value(QStringLiteral("OPIS")));
    };
    FieldView child = FieldView::column(QStringLiteral("OOSOBA"), QStringLiteral("Dziecko"));
    child.visible = false;
    ds.fields = {
        FieldView::hidden(QStringLiteral("OSOBA"), QStringLiteral("Dziecko")),
        child,
        FieldView::column(QStringLiteral("OPIS"), QStringLiteral("Opis terminu")),
        FieldView::column(QStringLiteral("DATA"), QStringLiteral("Data bazowa")),
        FieldView::column(QStringLiteral("ILOKRESOW"), QStringLiteral("Il. okresów")),
        FieldView::hidden(QStringLiteral("OKRES"), QStringLiteral("Okres")),
        FieldView::column(QStringLiteral("OPISOKRESU"), QStringLiteral("Okres")),
        FieldView::column(QStringLiteral("DNIPRZED"), QStringLiteral("Przyp. x dni przed")),
        FieldView::column(QStringLiteral("NASTDATA"), QStringLiteral("Najbliższy termin"), true),
        FieldView::column(QStringLiteral("OSTDATA"), QStringLiteral("Poprzedni termin"), true),
        FieldView::hidden(kTermid, QStringLiteral("Id")),
        FieldView::hidden(QStringLiteral("DATAZAL"), QStringLiteral("Data wykonania")),
        FieldView::hidden(QStringLiteral("KLASA"), QStringLiteral("Grupa dziecka")),
        FieldView::hidden(QStringLiteral("CAPTION")),
    };

    DataSet& ex = addDataSet(QStringLiteral("Termwyk"), QStringLiteral("TERMWYK"), QStringLiteral("TERMID;DATAZAL"));
    Table& e = *ex.table;
    e.setMasterLink(&t, kTermid, kTermid);
    ex.master = &ds;
    Table* deadlineTable = &t;
    e.events().onNewRecord = [deadlineTable](Table& row) {
        if (deadlineTable->isOpen() && !deadlineTable->isEmpty())
            row.setValue(kTermid, deadlineTable->value(kTermid));
    };
    ex.fields = {
        FieldView::hidden(kTermid, QStringLiteral("Termin")),
        FieldView::column(QStringLiteral("DATAZAL"), QStringLiteral("Data wykonania")),
        FieldView::hidden(QStringLiteral("WYKONANIE"), QStringLiteral("Wykonanie")),
    };
    Command describe = Command::make(QStringLiteral("Opiswykonania1"), QStringLiteral("Opis &wykonania"),
                                     QStringLiteral("Opis wykonania"));
    describe.handler = [this] {
        followup::editExecutionText(*executions().table, this->context().prompts, QStringLiteral("Wykonanie"));
    };
    ex.commands = {describe};

    const bool printable = context.areas.has(executions::printArea());
    Command done = Command::make(QStringLiteral("Wykonania1"), QStringLiteral("&Wykonania"),
                                 QStringLiteral("Wykonania"), true);
    done.handler = [this] { openExecutions(); };
    Command one = Command::make(QStringLiteral("Raportterminu1"), QStringLiteral("&Raport terminu"),
                                QStringLiteral("Raport terminu"), true);
    one.wanted = printable;
    one.handler = [this] { openReport(true); };
    Command all = Command::make(QStringLiteral("Raportterminw1"), QStringLiteral("R&aport terminów"),
                                QStringLiteral("Raport terminów"), true);
    all.wanted = printable;
    all.handler = [this] { openReport(false); };
    ds.commands = {done, one, all};
    applyFunctions();
}

void TDMTerminy::restrictTo(int deadlineId)
{
    m_tied = true;
    deadlines().table->setRowTest([deadlineId](const Table& row) { return row.asInt(kTermid) == deadlineId; });
}

int TDMTerminy::tiedChild() const
{
    const Table& t = *deadlines().table;
    return m_tied && t.isOpen() && !t.isEmpty() ? t.asInt(QStringLiteral("OSOBA")) : 0;
}

void TDMTerminy::openExecutions()
{
    Table& t = *deadlines().table;
    if (t.isEditing())
        t.post();
    Command* c = deadlines().command(QStringLiteral("Wykonania1"));
    browse(executions(), QStringLiteral("Wykonania"), c);
}

void TDMTerminy::openReport(bool currentOnly)
{
    Table& t = *deadlines().table;
    Command* command = deadlines().command(currentOnly ? QStringLiteral("Raportterminu1")
                                                       : QStringLiteral("Raportterminw1"));
    executions::PrintRequest request;
    request.kind = currentOnly ? executions::Kind::OneDeadline : executions::Kind::AllDeadlines;
    request.child = tiedChild();
    if (currentOnly) {
        if (!t.isOpen() || t.isEmpty())
            return;
        request.deadline = t.asInt(kTermid);
        request.deadlineText = t.text(QStringLiteral("OPIS"));
    }
    context().areas.open(executions::printArea(), context(), executions::arguments(request, command, this));
}
