#include "tdm_rozrach.h"

#include "fees/charge_run.h"
#include "fees/settlement_months.h"

#include "browser/area_arguments.h"
#include "browser/area_registry.h"
#include "browser/prompts.h"
#include "printouts/statement_print_area.h"
#include "registers/child_caption.h"
#include "store/database.h"
#include "store/error.h"
#include "store/polish_dates.h"
#include "store/table.h"

TDMRozrach::TDMRozrach(RunContext& context, FreeDaysEditor editor, int child, QObject* parent)
    : TDMDane(context, QStringLiteral("TDMRozrach"), parent),
      m_editor(std::move(editor)),
      m_child(child),
      m_oneChild(child != 0)
{
    m_children = new Table(context.db(), QStringLiteral("DZIECI"), this);
    m_children->setOrdering(QStringLiteral("KOD"));
    m_children->addCalculatedField(FieldDef::of(QStringLiteral("CAPTION"), FieldType::String, 200));
    m_children->events().onCalcFields = [](Table& t) {
        t.setCalculated(QStringLiteral("CAPTION"),
                        childCaption(t.text(QStringLiteral("NAZWA")), t.text(QStringLiteral("ULICA")),
                                     t.text(QStringLiteral("PESEL"))));
    };
    m_children->open();
    if (m_oneChild)
        m_childCaption = childCaption(context.db(), m_child);

    setUpMonths();
    setUpPayments();
    setUpNotifications();
    setUpCommands();
    applyFunctions();

    // The window opens on the latest month, the one being worked on.
    Table& m = *months().table;
    m.open();
    m.last();
}

void TDMRozrach::setUpMonths()
{
    DataSet& ds = addDataSet(QStringLiteral("Miesiace"), QStringLiteral("MIESIACE"), QStringLiteral("ROK;MIES"));
    Table& m = *ds.table;
    m.addCalculatedField(FieldDef::of(QStringLiteral("MIESIAC"), FieldType::String, 30));
    m.addCalculatedField(FieldDef::of(QStringLiteral("CAPTION"), FieldType::String, 240));
    m.addCalculatedField(FieldDef::of(QStringLiteral("TYP0"), FieldType::String, 1));
    m.addCalculatedField(FieldDef::of(QStringLiteral("TYP1"), FieldType::String, 1));
    m.addCalculatedField(FieldDef::of(QStringLiteral("OSOBA"), FieldType::Integer, 0));
    m.events().onCalcFields = [this](Table& t) {
        const QString month = polish::monthYear(t.asInt(QStringLiteral("ROK")), t.asInt(QStringLiteral("MIES")));
        t.setCalculated(QStringLiteral("MIESIAC"), month);
        t.setCalculated(QStringLiteral("CAPTION"),
                        m_oneChild ? m_childCaption + QLatin1Char(' ') + month : month);
        t.setCalculated(QStringLiteral("TYP0"), QStringLiteral("0"));
        t.setCalculated(QStringLiteral("TYP1"), QStringLiteral("1"));
        t.setCalculated(QStringLiteral("OSOBA"), m_oneChild ? QVariant(m_child) : QVariant());
    };
    m.events().onNewRecord = [this](Table& t) { newMonth(t); };
    m.events().beforeDelete = [this](Table& t) {
        fees::checkMonthDeletion(this->context().db(), t.asInt(QStringLiteral("KOD")));
    };

    FieldView month = FieldView::column(QStringLiteral("MIESIAC"), QStringLiteral("Miesiąc"), true);
    FieldView days = FieldView::column(QStringLiteral("DNIWOLNE"), QStringLiteral("Dni wolne"));
    ds.fields = {month,
                 days,
                 FieldView::hidden(QStringLiteral("ROK")),
                 FieldView::hidden(QStringLiteral("MIES")),
                 FieldView::hidden(QStringLiteral("TEKST1")),
                 FieldView::hidden(QStringLiteral("TEKST2"))};
}

void TDMRozrach::setUpCommands()
{
    DataSet& ds = months();
    Command computed = Command::make(QStringLiteral("Wyliczone1"), QStringLiteral("Wyliczone opłaty"),
                                     QStringLiteral("Wyliczone"), true);
    computed.handler = [this] { openChargeLines(false); };
    Command approved = Command::make(QStringLiteral("Zatwierdzone1"), QStringLiteral("Zatwierdzone opłaty"),
                                     QStringLiteral("Zatwierdzone"), true);
    approved.handler = [this] { openChargeLines(true); };
    // The charge and invoice lists are another area's; without it they are not offered.
    computed.wanted = approved.wanted = context().areas.has(area::chargeLines());
    Command paid = Command::make(QStringLiteral("Wplaty1"), QStringLiteral("Wpłaty"), QStringLiteral("Wpłaty"), true);
    paid.handler = [this] { openPayments(); };
    Command notified = Command::make(QStringLiteral("Deklaracjewplat1"), QStringLiteral("Potwierdzenia wpłat"),
                                     QStringLiteral("Potw. wpłat"), true);
    notified.handler = [this] { openNotifications(); };
    Command invoices =
        Command::make(QStringLiteral("Faktury1"), QStringLiteral("Faktury, rachunki"), QStringLiteral("Faktury"), true);
    invoices.handler = [this] { openInvoices(); };
    invoices.wanted = context().areas.has(area::invoices());
    Command freeDays = Command::make(QStringLiteral("Dniwolne1"), QStringLiteral("Zaznacz wolne dni"),
                                     QStringLiteral("Dni wolne"), false);
    freeDays.handler = [this] { editFreeDays(); };
    freeDays.wanted = bool(m_editor);
    Command compute =
        Command::make(QStringLiteral("Wyliczone2"), QStringLiteral("Wylicz opłaty"), QStringLiteral("Wylicz"), false);
    compute.handler = [this] { computeCharges(); };
    Command approve = Command::make(QStringLiteral("Zatwierdzone2"), QStringLiteral("Zatwierdź opłaty"),
                                    QStringLiteral("Zatwierdź"), false);
    approve.handler = [this] { approveCharges(); };
    Command undo = Command::make(QStringLiteral("Cofnijopaty1"), QStringLiteral("Cofnij opłaty"),
                                 QStringLiteral("Cofnij opłaty"), false);
    undo.handler = [this] { undoApprovals(); };
    // "Zestawienia": the statement of the month, or of the window's child.
    Command statements = Command::make(QStringLiteral("Zestawienia1"), QStringLiteral("Zestawienia"),
                                       QStringLiteral("Zestawienia"), true);
    statements.handler = [this] {
        if (currentMonthKod() == 0)
            return;
        QVariantMap a{{area::monthKey(), currentMonthKod()}};
        if (m_oneChild)
            a.insert(area::childKey(), m_child);
        context().areas.open(area::statementPrintout(), context(), a);
    };
    statements.wanted = context().areas.has(area::statementPrintout());
    ds.commands = {computed, approved, paid, notified, invoices, statements, Command::separatorLine(),
                   freeDays, compute, approve, undo};
}

void TDMRozrach::setChild(int kod)
{
    if (!m_oneChild || kod == m_child)
        return;
    m_child = kod;
    m_childCaption = childCaption(context().db(), kod);
    // The lists follow through their link to the month's OSOBA.
    months().table->refresh();
    if (m_children->isOpen())
        m_children->refresh();
}

int TDMRozrach::currentMonthKod() const
{
    const Table& m = *months().table;
    return m.isOpen() && !m.isEmpty() ? m.asInt(QStringLiteral("KOD")) : 0;
}

QDate TDMRozrach::monthFirstDay() const
{
    const Table& m = *months().table;
    if (!m.isOpen() || m.isEmpty())
        return {};
    return QDate(m.asInt(QStringLiteral("ROK")), m.asInt(QStringLiteral("MIES")), 1);
}

QDate TDMRozrach::monthLastDay() const
{
    const QDate first = monthFirstDay();
    return first.isValid() ? first.addMonths(1).addDays(-1) : QDate();
}

QString TDMRozrach::monthCaption() const
{
    const Table& m = *months().table;
    return m.isOpen() && !m.isEmpty() ? m.text(QStringLiteral("CAPTION")) : QString();
}

void TDMRozrach::newMonth(Table& t)
{
    // The record is made by the month picker and the calendar, not typed:
    // the row the browser began is given up either way.
    t.cancel();
    const QDate today = context().systemDate();
    int year = today.year();
    int month = today.month();
    if (!context().prompts.pickMonth(newMonthTitle(), newMonthPrompt(), year, month))
        return;
    int kod = fees::addMonth(context(), year, month);
    if (kod == 0)  // it exists already: the user is shown it
        kod = fees::monthKod(context().db(), year, month);
    t.refresh();
    if (kod != 0)
        t.locate({QStringLiteral("KOD")}, {kod});
}

QVariantMap TDMRozrach::listArguments(const QString& commandName) const
{
    Command* c = months().command(commandName);
    QVariantMap args{{area::monthKey(), currentMonthKod()},
                     {area::titleKey(), c ? c->plainCaption() : QString()},
                     {area::masterKey(), QVariant::fromValue(&months())},
                     {area::ownerKey(), QVariant::fromValue(static_cast<QObject*>(const_cast<TDMRozrach*>(this)))},
                     {area::commandKey(), QVariant::fromValue(c)}};
    if (m_oneChild)
        args.insert(area::childKey(), m_child);
    return args;
}

void TDMRozrach::openChargeLines(bool approved)
{
    if (currentMonthKod() == 0)
        return;
    QVariantMap args = listArguments(approved ? QStringLiteral("Zatwierdzone1") : QStringLiteral("Wyliczone1"));
    args.insert(area::typeKey(), approved ? QStringLiteral("1") : QStringLiteral("0"));
    context().areas.open(area::chargeLines(), context(), args);
}

void TDMRozrach::openInvoices()
{
    if (currentMonthKod() == 0)
        return;
    context().areas.open(area::invoices(), context(), listArguments(QStringLiteral("Faktury1")));
}

void TDMRozrach::editFreeDays()
{
    Table& m = *months().table;
    if (!m_editor || !m.isOpen() || m.isEmpty())
        return;
    const QDate first = monthFirstDay();
    const Command* c = months().command(QStringLiteral("Dniwolne1"));
    const QString title = m.text(QStringLiteral("MIESIAC")) + QStringLiteral(" - ") + c->plainCaption();
    QSet<int> ticked = fees::tickedDays(m.text(QStringLiteral("DNIWOLNE")), first.daysInMonth());
    if (!m_editor(context(), title, first.year(), first.month(), ticked))
        return;
    // The change is the user's to save, as any edit in the browser.
    m.edit();
    m.setValue(QStringLiteral("DNIWOLNE"), fees::freeDaysList(ticked));
}

void TDMRozrach::runCharges(bool approve)
{
    const QDate first = monthFirstDay();
    if (!first.isValid())
        return;
    Table& m = *months().table;
    if (m.isEditing())
        m.post();  // the free days just marked count in the run
    const fees::ChargeChildren children =
        m_oneChild ? fees::ChargeChildren::child(m_child) : fees::ChargeChildren::byGroups();
    // A stopping error is shown by the run itself.
    fees::runCharges(context(), approve ? fees::ChargeOperation::Approve : fees::ChargeOperation::Compute,
                     first.year(), first.month(), children);
    // The run may have made the month record it charges.
    m.refresh();
}

void TDMRozrach::computeCharges()
{
    runCharges(false);
}

void TDMRozrach::approveCharges()
{
    runCharges(true);
}

void TDMRozrach::undoApprovals()
{
    const int kod = currentMonthKod();
    if (kod == 0)
        return;
    fees::undoApproval(context(), kod, m_oneChild ? m_child : 0);
}
