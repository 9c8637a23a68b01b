#include "tdm_zglosz.h"

#include "execution_report.h"
#include "follow_up_lookups.h"

#include "browser/area_registry.h"
#include "store/table.h"

namespace {

const QString kOsoba = QStringLiteral("OSOBA");

}  // namespace

TDMZglosz::TDMZglosz(RunContext& context, DataSet* children, QObject* parent)
    : TDMDane(context, QStringLiteral("TDMZglosz"), parent), m_children(children), m_tied(children != nullptr)
{
    Database& db = context.db();
    // A child's requests are a detail of the children list: the link field
    // leads the ordering, open requests still first.
    DataSet& ds = addDataSet(QStringLiteral("Zglosz"), QStringLiteral("ZGLOSZ"),
                             followsChild() ? QStringLiteral("OSOBA;DATAZAL;DATAPRZY")
                                            : QStringLiteral("DATAZAL;DATAPRZY"));
    Table& t = *ds.table;
    Table* kids = followup::childrenLookup(db, this);
    Table* users = followup::usersLookup(db, this);
    t.addLookupField(FieldDef::of(QStringLiteral("OOSOBA"), FieldType::String, 203), kOsoba, kids,
                     QStringLiteral("KOD"), QStringLiteral("CAPTION"));
    t.addLookupField(FieldDef::of(QStringLiteral("OPISPRZY"), FieldType::String, 200), QStringLiteral("KTOPRZY"), users,
                     QStringLiteral("KOD"), QStringLiteral("OPIS"));
    t.addLookupField(FieldDef::of(QStringLiteral("OPISZAL"), FieldType::String, 200), QStringLiteral("KTOZAL"), users,
                     QStringLiteral("KOD"), QStringLiteral("OPIS"));
    t.addLookupField(FieldDef::of(QStringLiteral("KLASA"), FieldType::String, 3), kOsoba, kids, QStringLiteral("KOD"),
                     QStringLiteral("KLASA"));
    RunContext* ctx = &context;
    t.events().onNewRecord = [ctx, users, kids](Table& row) {
        // Users and children added since the window opened can be chosen.
        users->refresh();
        kids->refresh();
        row.setValue(QStringLiteral("DATAPRZY"), ctx->systemDate());
        if (ctx->login.userCode > 0)
            row.setValue(QStringLiteral("KTOPRZY"), ctx->login.userCode);
    };
    if (m_children && m_children->table) {
        t.setMasterLink(m_children->table, QStringLiteral("KOD"), kOsoba);
        ds.master = m_children;  // the window's title names the child
    }

    FieldView child = FieldView::column(QStringLiteral("OOSOBA"), QStringLiteral("Dziecko"));
    child.visible = !followsChild();
    ds.fields = {
        FieldView::column(QStringLiteral("DATAPRZY"), QStringLiteral("Data przyjęcia")),
        FieldView::hidden(kOsoba, QStringLiteral("Dziecko")),
        child,
        FieldView::column(QStringLiteral("OPIS"), QStringLiteral("Opis sprawy")),
        FieldView::hidden(QStringLiteral("KTOPRZY"), QStringLiteral("Osoba przyjmująca")),
        FieldView::column(QStringLiteral("OPISPRZY"), QStringLiteral("Osoba przyjmująca")),
        FieldView::hidden(QStringLiteral("KTOZAL"), QStringLiteral("Osoba załatwiająca")),
        FieldView::column(QStringLiteral("OPISZAL"), QStringLiteral("Osoba załatwiająca")),
        FieldView::column(QStringLiteral("DATAZAL"), QStringLiteral("Data załatwienia")),
        FieldView::hidden(QStringLiteral("WYKONANIE"), QStringLiteral("Wykonanie")),
        FieldView::hidden(QStringLiteral("ZGLID"), QStringLiteral("Id")),
        FieldView::hidden(QStringLiteral("KLASA"), QStringLiteral("Grupa dziecka")),
    };

    Command describe = Command::make(QStringLiteral("Opiswykonania1"), QStringLiteral("Opis &wykonania"),
                                     QStringLiteral("Opis wykonania"));
    describe.handler = [this] { followup::editExecutionText(*requests().table, this->context().prompts,
                                                            QStringLiteral("Wykonanie")); };
    Command report = Command::make(QStringLiteral("Raportzgoszen1"), QStringLiteral("&Raport zgłoszeń"),
                                   QStringLiteral("Raport"), true);
    report.wanted = context.areas.has(executions::printArea());
    report.handler = [this] { openReport(); };
    ds.commands = {describe, report};
    applyFunctions();
}

void TDMZglosz::restrictTo(int requestId)
{
    m_tied = true;
    requests().table->setRowTest(
        [requestId](const Table& row) { return row.asInt(QStringLiteral("ZGLID")) == requestId; });
}

int TDMZglosz::tiedChild() const
{
    if (!m_tied)
        return 0;
    const Table& t = *requests().table;
    if (t.isOpen() && !t.isEmpty())
        return t.asInt(kOsoba);
    const Table* kids = m_children ? m_children->table : nullptr;
    return kids && kids->isOpen() && !kids->isEmpty() ? kids->asInt(QStringLiteral("KOD")) : 0;
}

void TDMZglosz::openReport()
{
    Command* command = requests().command(QStringLiteral("Raportzgoszen1"));
    executions::PrintRequest request;
    request.kind = executions::Kind::Requests;
    request.child = tiedChild();
    context().areas.open(executions::printArea(), context(), executions::arguments(request, command, this));
}
