// The payments and payment notifications of the settlement months window.

#include "tdm_rozrach.h"

#include "browser/area_registry.h"
#include "browser/prompts.h"
#include "import/import_requests.h"
#include "printouts/confirmation_print_area.h"
#include "shell/access_rules.h"
#include "store/table.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>

namespace {

const QString dateFormat = QStringLiteral("dd.MM.yyyy");

}  // namespace

void TDMRozrach::setUpPayments()
{
    DataSet& ds = addDataSet(QStringLiteral("Wplaty"), QStringLiteral("WPLATY"),
                             m_oneChild ? QStringLiteral("KOD;OSOBA;DATA") : QStringLiteral("KOD;DATA"));
    Table& p = *ds.table;
    p.addLookupField(FieldDef::of(QStringLiteral("DZIECKO"), FieldType::String, 200), QStringLiteral("OSOBA"),
                     m_children, QStringLiteral("KOD"), QStringLiteral("CAPTION"));
    if (m_oneChild)
        p.setMasterLink(months().table, QStringLiteral("KOD;OSOBA"), QStringLiteral("KOD;OSOBA"));
    else
        p.setMasterLink(months().table, QStringLiteral("KOD"), QStringLiteral("KOD"));
    ds.master = &months();
    p.events().onNewRecord = [this](Table& t) { newPayment(t); };

    FieldView child = FieldView::column(QStringLiteral("DZIECKO"), QStringLiteral("Dziecko"));
    child.visible = !m_oneChild;
    FieldView amount = FieldView::formatted(QStringLiteral("WARTOSC"), QStringLiteral("Kwota"), QStringLiteral("0.00"));
    amount.alignment = Qt::AlignRight;
    amount.mark = 1;
    ds.fields = {FieldView::formatted(QStringLiteral("DATA"), QStringLiteral("Data wpłaty"), dateFormat),
                 child,
                 amount,
                 FieldView::column(QStringLiteral("OPIS"), QStringLiteral("Opis")),
                 FieldView::hidden(QStringLiteral("KOD")),
                 FieldView::hidden(QStringLiteral("OSOBA")),
                 FieldView::hidden(QStringLiteral("ID"))};

    // "Wydruk potwierdzenia": the confirmation of the payment under the cursor, once it is saved.
    Command confirm = Command::make(QStringLiteral("Potwierdzenie1"), QStringLiteral("Wydruk potwierdzenia"),
                                    QStringLiteral("Potwierdzenie"));
    confirm.wanted = context().areas.has(area::confirmationPrintout());
    confirm.handler = [this, &p] {
        if (p.isEditing())
            p.post();
        const int id = p.position() >= 0 && p.position() < p.rowCount() ? p.asInt(QStringLiteral("ID")) : 0;
        if (id != 0)
            context().areas.open(area::confirmationPrintout(), context(), {{area::paymentKey(), id}});
    };
    ds.commands << confirm;

    Command load = Command::make(QStringLiteral("Wczytaj1"), QStringLiteral("Wczytaj z pliku"),
                                 QStringLiteral("Wczytaj z pliku"));
    load.wanted = !m_oneChild;
    load.handler = [this, &p] {
        if (p.isEditing())
            p.post();
        const QDate first = monthFirstDay();
        if (currentMonthKod() == 0 || !first.isValid())
            return;
        if (import::importFromWindow(context(), import::paymentsRequest(context(), currentMonthKod(), first.year(),
                                                                        first.month())))
            p.refresh();
    };
    ds.commands << load;
}

void TDMRozrach::setUpNotifications()
{
    DataSet& ds = addDataSet(QStringLiteral("Zglwpl"), QStringLiteral("ZGLWPL"),
                             m_oneChild ? QStringLiteral("KOD;OSOBA;DATA") : QStringLiteral("KOD;DATA"));
    Table& z = *ds.table;
    z.addLookupField(FieldDef::of(QStringLiteral("DZIECKO"), FieldType::String, 200), QStringLiteral("OSOBA"),
                     m_children, QStringLiteral("KOD"), QStringLiteral("CAPTION"));
    auto* ways = new Table(context().db(), QStringLiteral("KODY"), this);
    ways->setOrdering(QStringLiteral("RODZAJ;TYP"));
    ways->setRange({QStringLiteral("zgljak")}, {QStringLiteral("zgljak")});
    ways->open();
    z.addLookupField(FieldDef::of(QStringLiteral("JAKNAZWA"), FieldType::String, 20), QStringLiteral("JAK"), ways,
                     QStringLiteral("TYP"), QStringLiteral("NAZWA"));
    if (m_oneChild)
        z.setMasterLink(months().table, QStringLiteral("KOD;OSOBA"), QStringLiteral("KOD;OSOBA"));
    else
        z.setMasterLink(months().table, QStringLiteral("KOD"), QStringLiteral("KOD"));
    ds.master = &months();
    z.events().onNewRecord = [this](Table& t) { newNotification(t); };

    FieldView child = FieldView::column(QStringLiteral("DZIECKO"), QStringLiteral("Dziecko"));
    child.visible = !m_oneChild;
    ds.fields = {FieldView::formatted(QStringLiteral("DATA"), QStringLiteral("Data wpłaty"), dateFormat),
                 child,
                 FieldView::column(QStringLiteral("JAKNAZWA"), QStringLiteral("Jak zgłoszono")),
                 FieldView::hidden(QStringLiteral("KOD")),
                 FieldView::hidden(QStringLiteral("OSOBA")),
                 FieldView::hidden(QStringLiteral("ID")),
                 FieldView::hidden(QStringLiteral("JAK"))};
}

QList<PickEntry> TDMRozrach::childrenList() const
{
    struct Row {
        QString name;
        PickEntry entry;
    };
    QList<Row> rows;
    m_children->refresh();  // children added since the window opened
    for (int r = 0; r < m_children->rowCount(); ++r) {
        if (!permissions::groupVisible(context().login.visibleGroups,
                                       m_children->valueAt(r, QStringLiteral("KLASA")).toString()))
            continue;
        rows << Row{m_children->valueAt(r, QStringLiteral("NAZWA")).toString(),
                    {m_children->valueAt(r, QStringLiteral("CAPTION")).toString(),
                     m_children->valueAt(r, QStringLiteral("KOD"))}};
    }
    QCollator polish{QLocale(QLocale::Polish)};
    std::stable_sort(rows.begin(), rows.end(), [&](const Row& a, const Row& b) {
        const int byName = polish.compare(a.name, b.name);
        if (byName != 0)
            return byName < 0;
        return polish.compare(a.entry.text, b.entry.text) < 0;
    });
    QList<PickEntry> out;
    for (const Row& r : rows)
        out << r.entry;
    return out;
}

void TDMRozrach::openPayments()
{
    Command* c = months().command(QStringLiteral("Wplaty1"));
    if (!c->checked)
        m_paymentChild = fees::NextChildEntry();  // the way of choosing children is asked anew
    browse(payments(), c->plainCaption(), c);
}

void TDMRozrach::openNotifications()
{
    Command* c = months().command(QStringLiteral("Deklaracjewplat1"));
    browse(notifications(), c->plainCaption(), c);
}

void TDMRozrach::newPayment(Table& t)
{
    // The row that was current gives the child to follow and the date; a
    // bank statement is typed child after child with one date.
    QVariant remembered;
    QDate date;
    if (t.position() >= 0 && t.position() < t.rowCount()) {
        remembered = t.valueAt(t.position(), QStringLiteral("OSOBA"));
        date = t.valueAt(t.position(), QStringLiteral("DATA")).toDate();
    }
    if (!date.isValid())
        date = context().systemDate();
    t.setValue(QStringLiteral("KOD"), currentMonthKod());
    if (m_oneChild) {
        t.setValue(QStringLiteral("OSOBA"), m_child);
    } else {
        const QVariant child = m_paymentChild.childForNewRow(context().prompts, childrenList(), remembered, childListTitle());
        if (child.isValid() && !child.isNull())
            t.setValue(QStringLiteral("OSOBA"), child);
    }
    t.setValue(QStringLiteral("DATA"), date);
}

void TDMRozrach::newNotification(Table& t)
{
    t.setValue(QStringLiteral("KOD"), currentMonthKod());
    if (m_oneChild) {
        t.setValue(QStringLiteral("OSOBA"), m_child);
    } else {
        int key = 0;
        if (context().prompts.pickRecord(childListTitle(), childrenList(), key, false) && key != 0)
            t.setValue(QStringLiteral("OSOBA"), key);
    }
    t.setValue(QStringLiteral("DATA"), monthLastDay());
}
