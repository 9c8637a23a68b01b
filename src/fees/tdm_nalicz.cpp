#include "tdm_nalicz.h"

#include "import/import_requests.h"

#include "fee_catalogue.h"
#include "invoice_number.h"
#include "nalicz_pricing.h"

#include "browser/area_arguments.h"
#include "browser/area_registry.h"
#include "printouts/invoice_print_area.h"
#include "registers/child_caption.h"
#include "shell/access_rules.h"
#include "store/database.h"
#include "store/error.h"
#include "store/polish_dates.h"
#include "store/query.h"
#include "store/table.h"
#include "store/values.h"

namespace {

const QString kLines = QStringLiteral("Nalicz");
const QString kInvoices = QStringLiteral("Fakt");
const QString kInvoiceLines = QStringLiteral("Pozycje");
const QString kPozycjeCommand = QStringLiteral("Pozycje1");
const QString dateFormat = QStringLiteral("dd.MM.yyyy");

FieldView column(const QString& name, const QString& caption, const QString& format = QString(),
                 bool readOnly = false)
{
    FieldView v = FieldView::column(name, caption, readOnly);
    v.displayFormat = format;
    if (!format.isEmpty() && format != dateFormat)
        v.alignment = Qt::AlignRight;
    return v;
}

// The stored columns of the current row (or of the row being edited).
QVariantMap storedValues(const Table& t)
{
    QVariantMap out;
    for (const Table::Field& f : t.fields())
        if (f.kind == Table::FieldKind::Data && f.present)
            out.insert(f.def.name, t.value(f.def.name));
    return out;
}

bool sameRow(const QVariantMap& a, const QVariantMap& b)
{
    for (auto it = a.constBegin(); it != a.constEnd(); ++it)
        if (!values::same(it.value(), b.value(it.key())))
            return false;
    return true;
}

Table* lookupTable(Database& db, const QString& name, const QString& ordering, QObject* owner)
{
    auto* t = new Table(db, name, owner);
    t->setOrdering(ordering);
    return t;
}

}  // namespace

TDMNalicz::TDMNalicz(RunContext& context, const NaliczOptions& options, QObject* parent)
    : TDMDane(context, QStringLiteral("TDMNalicz"), parent), m_options(options), m_months(context.db())
{
    Database& db = context.db();
    m_invoicing = context.params.invoicing() && db.hasTable(QStringLiteral("FAKT"))
        && db.hasColumn(QStringLiteral("NALICZ"), QStringLiteral("IDF"));
    RunContext* ctx = &context;
    m_book = std::make_unique<fees::CorrectionBook>(db, context.prompts, [ctx] { return ctx->systemDate(); });

    // Every child, so that lines and invoices of any child are named; the
    // new-line entry takes the active ones of the visible groups.
    m_children = lookupTable(db, QStringLiteral("DZIECI"), QStringLiteral("NAZWA"), this);
    m_children->addCalculatedField(FieldDef::of(QStringLiteral("CAPTION"), FieldType::String, 200));
    const bool pesel = db.hasColumn(QStringLiteral("DZIECI"), QStringLiteral("PESEL"));
    m_children->events().onCalcFields = [pesel](Table& t) {
        t.setCalculated(QStringLiteral("CAPTION"),
                        childCaption(t.text(QStringLiteral("NAZWA")), t.text(QStringLiteral("ULICA")),
                                     pesel ? t.text(QStringLiteral("PESEL")) : QString()));
    };
    m_children->open();
    m_components = lookupTable(db, QStringLiteral("MEDIA"), QStringLiteral("KOLEJ"), this);
    m_components->open();

    DataSet& l = addDataSet(kLines, QStringLiteral("NALICZ"),
                            oneChild() ? QStringLiteral("KOD;TYP;OSOBA") : QStringLiteral("KOD;TYP;ID"));
    setUpLines(l, false);
    Table& lt = *l.table;
    Command load = Command::make(QStringLiteral("Wczytaj1"), QStringLiteral("Wczytaj z pliku"),
                                 QStringLiteral("Wczytaj z pliku"));
    load.handler = [this, &lt] {
        if (lt.isEditing())
            lt.post();
        int year = 0, month = 0;
        if (!import::monthOfRecord(this->context().db(), currentMonth(), year, month))
            return;
        if (import::importFromWindow(this->context(), import::chargesRequest(this->context(), currentMonth(), year,
                                                                             month, m_options.type)))
            lt.refresh();
    };
    l.commands << load;
    const QString type = m_options.type;
    const int child = m_options.child;
    if (m_options.months) {
        lt.setMasterLink(m_options.months->table, QStringLiteral("KOD"), QStringLiteral("KOD"));
        lt.setRowTest([type, child](const Table& t) {
            return t.text(QStringLiteral("TYP")) == type && (child == 0 || t.asInt(QStringLiteral("OSOBA")) == child);
        });
        l.master = m_options.months;
    } else {
        QVariantList key{m_options.month, type};
        if (oneChild())
            key << child;
        lt.setRange(key, key);
    }

    if (db.hasTable(QStringLiteral("FAKT"))) {
        DataSet& f = addDataSet(kInvoices, QStringLiteral("FAKT"), QStringLiteral("KOD;NUMER;ID"));
        setUpInvoices(f);
        if (m_options.months) {
            f.table->setMasterLink(m_options.months->table, QStringLiteral("KOD"), QStringLiteral("KOD"));
            f.master = m_options.months;
        } else {
            f.table->setRange({m_options.month}, {m_options.month});
        }
        if (oneChild())
            f.table->setRowTest([child](const Table& t) { return t.asInt(QStringLiteral("OSOBA")) == child; });

        // "Wydruk": the invoices print dialog for the month (and the child).
        Command print = Command::make(QStringLiteral("Wydruk1"), QStringLiteral("Wydruk"), QStringLiteral("Wydruk"));
        print.wanted = context.areas.has(area::invoicePrintout());
        print.handler = [this] {
            const int month = currentMonth();
            if (month == 0)
                return;
            QVariantMap a{{area::monthKey(), month}};
            if (oneChild())
                a.insert(area::childKey(), m_options.child);
            this->context().areas.open(area::invoicePrintout(), this->context(), a);
        };
        f.commands << print;
        if (db.hasColumn(QStringLiteral("NALICZ"), QStringLiteral("IDF"))) {
            DataSet& p = addDataSet(kInvoiceLines, QStringLiteral("NALICZ"), QStringLiteral("IDF;LPF"));
            setUpLines(p, true);
            p.table->setMasterLink(f.table, QStringLiteral("ID"), QStringLiteral("IDF"));
            p.master = &f;
            Command pozycje;
            pozycje.name = kPozycjeCommand;
            pozycje.caption = QStringLiteral("Pozycje");
            pozycje.label = QStringLiteral("Pozycje");
            pozycje.opensWindow = true;
            pozycje.handler = [this] {
                Command* c = invoices()->command(kPozycjeCommand);
                browse(*invoiceLines(), c->plainCaption(), c);
            };
            f.commands << pozycje;
        }
    }
    applyFunctions();
}

TDMNalicz::~TDMNalicz() = default;

DataSet* TDMNalicz::mainDataSet() const
{
    if (m_options.invoicesFirst && invoices())
        return invoices();
    return &lines();
}

int TDMNalicz::currentMonth() const
{
    if (m_options.months)
        return m_options.months->table->isOpen() ? m_options.months->table->asInt(QStringLiteral("KOD")) : 0;
    return m_options.month;
}

bool TDMNalicz::canInsert(const DataSet& ds) const
{
    return &ds != invoiceLines();
}

bool TDMNalicz::canDelete(const DataSet& ds) const
{
    return &ds != invoices();
}

// ---- charge lines ------------------------------------------------------------

QList<FieldView> TDMNalicz::lineFields(bool invoiceView) const
{
    const Parameters& params = context().params;
    QList<FieldView> f;
    FieldView child = column(QStringLiteral("DZIECKO"), QStringLiteral("Dziecko"));
    child.visible = !oneChild() && !invoiceView;
    f << child;
    f << column(QStringLiteral("SKLADNIK"), QStringLiteral("Składnik"));
    f << column(QStringLiteral("ILOSC"), QStringLiteral("Ilość"), QStringLiteral("#0.00##"));
    f << column(QStringLiteral("JEDN"), QStringLiteral("Jedn."));
    f << column(QStringLiteral("CENA"), QStringLiteral("Cena"), QStringLiteral("#0.00##"));
    FieldView value = column(QStringLiteral("WARTOSC"), QStringLiteral("Wartość"), QStringLiteral("#0.00"));
    value.mark = 1;
    f << value;
    f << column(QStringLiteral("ROZLICZNAZWA"), params.tekstNaRozliczenie);
    f << column(QStringLiteral("DOTYCZY"), QStringLiteral("Dotyczy"), QString(), true);
    if (m_invoicing) {
        f << column(QStringLiteral("STAWKANAZWA"), QStringLiteral("Stawka VAT"));
        f << column(QStringLiteral("VAT"), QStringLiteral("Kwota VAT"), QStringLiteral("#0.00"));
        f << column(QStringLiteral("OSRODEK"), QStringLiteral("Ośrodek pomocy"), QString(), true);
        f << FieldView::hidden(QStringLiteral("IDF"), QStringLiteral("Id faktury"));
        FieldView lpf = FieldView::hidden(QStringLiteral("LPF"), QStringLiteral("Poz. faktury"));
        lpf.visible = invoiceView;
        f << lpf;
    }
    return f;
}

void TDMNalicz::setUpLines(DataSet& ds, bool invoiceView)
{
    Database& db = context().db();
    Table& t = *ds.table;
    t.addLookupField(FieldDef::of(QStringLiteral("DZIECKO"), FieldType::String, 200), QStringLiteral("OSOBA"),
                     m_children, QStringLiteral("KOD"), QStringLiteral("CAPTION"));
    t.addLookupField(FieldDef::of(QStringLiteral("SKLADNIK"), FieldType::String, 40), QStringLiteral("MEDIUM"),
                     m_components, QStringLiteral("KOD"), QStringLiteral("NAZWA"));
    Table* units = lookupTable(db, QStringLiteral("JEDNOST"), QStringLiteral("JM"), this);
    units->open();
    t.addLookupField(FieldDef::of(QStringLiteral("JEDN"), FieldType::String, 6), QStringLiteral("JM"), units,
                     QStringLiteral("JM"), QStringLiteral("JM"));
    Table* yesNo = lookupTable(db, QStringLiteral("KODY"), QStringLiteral("RODZAJ;TYP"), this);
    yesNo->setRange({QStringLiteral("taknie")}, {QStringLiteral("taknie")});
    yesNo->open();
    t.addLookupField(FieldDef::of(QStringLiteral("ROZLICZNAZWA"), FieldType::String, 20), QStringLiteral("ROZLICZ"),
                     yesNo, QStringLiteral("TYP"), QStringLiteral("NAZWA"));
    t.addCalculatedField(FieldDef::of(QStringLiteral("DOTYCZY"), FieldType::String, 60));
    if (m_invoicing) {
        Table* rates = lookupTable(db, QStringLiteral("STAVAT"), QStringLiteral("KOD"), this);
        rates->open();
        t.addLookupField(FieldDef::of(QStringLiteral("STAWKANAZWA"), FieldType::String, 20), QStringLiteral("STAWKA"),
                         rates, QStringLiteral("KOD"), QStringLiteral("NAZWA"));
        t.addCalculatedField(FieldDef::of(QStringLiteral("OSRODEK"), FieldType::String, 3));
    }
    const bool invoicing = m_invoicing;
    t.events().onCalcFields = [this, invoicing](Table& row) {
        row.setCalculated(QStringLiteral("DOTYCZY"),
                          fees::dotyczyText(m_months, row.value(QStringLiteral("DOT")), this->context().params));
        if (invoicing)
            row.setCalculated(QStringLiteral("OSRODEK"),
                              row.asInt(QStringLiteral("IDOPIE")) != 0 ? QStringLiteral("Tak") : QString());
    };
    ds.fields = lineFields(invoiceView);
    // "Dotyczy" shows DOT as text; the month is chosen from the module's list.
    ds.field(QStringLiteral("DOTYCZY"))->choose = [this, &ds] { return chooseDotyczy(ds); };

    Table::Events& ev = t.events();
    if (invoiceView) {
        // Lines reach an invoice only by approval and by corrections.
        ev.onNewRecord = [](Table&) { fees::refuseSilently(); };
    } else {
        ev.onNewRecord = [this](Table& row) { newLine(row); };
    }
    ev.onFieldChange = [this](Table& row, const QString& field) { lineFieldChanged(row, field); };
    ev.beforeEdit = [this](Table& row) { beforeLineEdit(row); };
    ev.beforePost = [this](Table& row) { beforeLinePost(row); };
    ev.afterPost = [this](Table& row) {
        if (m_refreshAfterPost) {
            m_refreshAfterPost = false;
            refreshAfterCorrection(row);
        }
    };
    ev.beforeDelete = [this](Table& row) { beforeLineDelete(row); };
    Table* tp = &t;
    connect(tp, &Table::stateChanged, this, [this, tp] { lineStateChanged(*tp); });
}

QList<PickEntry> TDMNalicz::childrenForEntry() const
{
    QList<PickEntry> out;
    const QStringList& visible = context().login.visibleGroups;
    for (int r = 0; r < m_children->rowCount(); ++r) {
        if (m_children->valueAt(r, QStringLiteral("AKTYWNY")).toString() != QStringLiteral("T"))
            continue;
        if (!permissions::groupVisible(visible, m_children->valueAt(r, QStringLiteral("KLASA")).toString()))
            continue;
        out << PickEntry{m_children->valueAt(r, QStringLiteral("CAPTION")).toString(),
                         m_children->valueAt(r, QStringLiteral("KOD"))};
    }
    return out;
}

void TDMNalicz::newLine(Table& t)
{
    const QVariant remembered =
        t.position() >= 0 ? t.valueAt(t.position(), QStringLiteral("OSOBA")) : QVariant();
    if (currentMonth() != 0)
        t.setValue(QStringLiteral("KOD"), currentMonth());
    t.setValue(QStringLiteral("TYP"), m_options.type);
    const QList<catalogue::Component> components = catalogue::components(context().db());
    if (!components.isEmpty())
        t.setValue(QStringLiteral("MEDIUM"), components.first().code);
    if (oneChild()) {
        t.setValue(QStringLiteral("OSOBA"), m_options.child);
        return;
    }
    m_children->refresh();  // children added since the list opened
    const QVariant child = m_childEntry.childForNewRow(context().prompts, childrenForEntry(), remembered,
                                                       QStringLiteral("Dziecko"));
    if (!values::isEmpty(child))
        t.setValue(QStringLiteral("OSOBA"), child);
}

void TDMNalicz::lineFieldChanged(Table& t, const QString& field)
{
    if (m_restoring)
        return;
    fees::LinePricing pricing;
    pricing.db = &context().db();
    pricing.withVat = m_invoicing;
    if (const auto m = m_months.find(t.asInt(QStringLiteral("KOD"))))
        pricing.priceDay = QDate(m->year, m->month, 1);
    if (!pricing.priceDay.isValid())
        pricing.priceDay = context().systemDate();
    pricing.fieldChanged(t, field);
}

void TDMNalicz::beforeLineEdit(Table& t)
{
    if (!m_invoicing || t.isNull(QStringLiteral("IDF")))
        return;
    if (m_book->hasPending())
        m_book->discard();
    m_correcting = nullptr;
    const QVariantMap original = storedValues(t);
    if (m_book->start(original) == fees::CorrectionBook::Start::Correction) {
        m_correcting = &t;
        m_original = original;
    }
}

void TDMNalicz::beforeLinePost(Table& t)
{
    if (!t.isNull(QStringLiteral("DOT")) && t.text(QStringLiteral("ROZLICZ")) != QStringLiteral("T")) {
        if (!context().prompts.askYesNo(dotWithoutSettlementQuestion()))
            fees::refuseSilently();
        t.clear(QStringLiteral("DOT"));
    }
    if (m_correcting != &t || !m_book->hasPending() || t.state() != Table::State::Edit)
        return;
    const QVariantMap changed = storedValues(t);
    if (sameRow(changed, m_original)) {
        m_book->discard();
        m_correcting = nullptr;
        return;
    }
    m_book->book(&changed);
    m_correcting = nullptr;
    // The line itself stays as it was: the change lives on the correction.
    m_restoring = true;
    try {
        for (auto it = m_original.constBegin(); it != m_original.constEnd(); ++it)
            if (t.field(it.key()).def.type != FieldType::AutoInc && !values::same(t.value(it.key()), it.value()))
                t.setValue(it.key(), it.value());
    } catch (...) {
        m_restoring = false;
        throw;
    }
    m_restoring = false;
    m_refreshAfterPost = true;
}

void TDMNalicz::beforeLineDelete(Table& t)
{
    if (!m_invoicing || t.isNull(QStringLiteral("IDF")))
        return;
    if (m_book->hasPending())
        m_book->discard();
    m_correcting = nullptr;
    if (m_book->start(storedValues(t)) == fees::CorrectionBook::Start::InPlace)
        fees::refuseSilently();
    m_book->book(nullptr);
    refreshAfterCorrection(t);
    // The line stays: its reversal on the correction does the deleting.
    fees::refuseSilently();
}

void TDMNalicz::lineStateChanged(Table& t)
{
    if (t.isEditing() || m_correcting != &t)
        return;
    m_book->discard();
    m_correcting = nullptr;
}

void TDMNalicz::refreshAfterCorrection(Table& t)
{
    // The correction's lines belong to the corrected line's month, and its
    // invoice to the booking month: every open list may show them.
    for (DataSet* ds : dataSets())
        if (ds->table->isOpen() && !ds->table->isEditing() && ds->table != &t)
            ds->table->refresh();
    if (t.isOpen() && !t.isEditing())
        t.refresh();
}

bool TDMNalicz::chooseDotyczy(DataSet& ds)
{
    Table& t = *ds.table;
    QVariant value = t.value(QStringLiteral("DOT"));
    if (!context().prompts.pickFromList(QStringLiteral("Dotyczy"), QString(),
                                        fees::dotyczyChoices(context().db(), context().params), value))
        return false;
    t.edit();
    t.setValue(QStringLiteral("DOT"), value);
    return true;
}

// ---- invoices ---------------------------------------------------------------------

QString TDMNalicz::invoiceNumber(int number, int month)
{
    const auto m = m_months.find(month);
    if (!m)
        return QString::number(number);
    return fees::invoiceNumberText(number, m->year, m->month, context().params.fakturyFormat);
}

void TDMNalicz::invoiceCalcFields(Table& t)
{
    const bool correction = !t.isNull(QStringLiteral("PIERW"));
    const QString kind = correction ? QStringLiteral("Faktura korygująca VAT") : QStringLiteral("Faktura VAT");
    const int month = t.asInt(QStringLiteral("KOD"));
    const QString number = invoiceNumber(t.asInt(QStringLiteral("NUMER")), month);
    t.setCalculated(QStringLiteral("RODZAJ"), kind);
    t.setCalculated(QStringLiteral("NUMERTEKST"), number);
    QString original;
    if (correction) {
        Query q(context().db(), QStringLiteral("SELECT NUMER, KOD FROM FAKT WHERE ID = :ID"));
        q.bind(QStringLiteral("ID"), t.value(QStringLiteral("PIERW"))).exec();
        if (q.next())
            original = invoiceNumber(q.value(0).toInt(), q.value(1).toInt());
    }
    t.setCalculated(QStringLiteral("PIERWOTNA"), original);
    QString monthCaption;
    if (const auto m = m_months.find(month))
        monthCaption = polish::monthYear(m->year, m->month);
    if (oneChild())
        monthCaption = childCaption(context().db(), m_options.child) + QLatin1Char(' ') + monthCaption;
    t.setCalculated(QStringLiteral("CAPTION"), kind + QLatin1Char(' ') + number + QStringLiteral(", ") + monthCaption);
}

void TDMNalicz::setUpInvoices(DataSet& ds)
{
    Table& t = *ds.table;
    t.addLookupField(FieldDef::of(QStringLiteral("DZIECKO"), FieldType::String, 200), QStringLiteral("OSOBA"),
                     m_children, QStringLiteral("KOD"), QStringLiteral("CAPTION"));
    for (const char* name : {"RODZAJ", "NUMERTEKST", "PIERWOTNA"})
        t.addCalculatedField(FieldDef::of(QString::fromLatin1(name), FieldType::String, 40));
    t.addCalculatedField(FieldDef::of(QStringLiteral("CAPTION"), FieldType::String, 300));
    t.events().onCalcFields = [this](Table& row) { invoiceCalcFields(row); };
    // An invoice goes only with the undo of its month's approval.
    t.events().beforeDelete = [](Table&) { fees::refuseSilently(); };

    FieldView child = column(QStringLiteral("DZIECKO"), QStringLiteral("Dziecko"), QString(), true);
    child.visible = !oneChild();
    ds.fields = {
        column(QStringLiteral("RODZAJ"), QStringLiteral("Rodzaj"), QString(), true),
        column(QStringLiteral("NUMERTEKST"), QStringLiteral("Numer"), QString(), true),
        column(QStringLiteral("WYST"), QStringLiteral("Data wystawienia"), dateFormat),
        column(QStringLiteral("TERMIN"), QStringLiteral("Termin płatności"), dateFormat),
        child,
        column(QStringLiteral("TYTUL"), QStringLiteral("Tytułem")),
        column(QStringLiteral("PIERWOTNA"), QStringLiteral("Pierwotna"), QString(), true),
        FieldView::hidden(QStringLiteral("CAPTION"), QStringLiteral("Faktura")),
    };
}
