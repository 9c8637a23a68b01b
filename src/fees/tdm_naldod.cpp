#include "tdm_naldod.h"

#include "fees/tdm_nalkla.h"

#include "browser/prompts.h"
#include "registers/child_caption.h"
#include "shell/access_rules.h"
#include "store/error.h"
#include "store/money.h"
#include "store/query.h"
#include "store/table.h"

namespace {

const QString kKod = QStringLiteral("KOD");
const QString kKlasa = QStringLiteral("KLASA");
const QString kGroupName = QStringLiteral("KLASANAZWA");
const QString kCaption = QStringLiteral("CAPTION");
const QString kAmountFormat = QStringLiteral("0.00");
// Charges older than this many days before today are left out at first.
constexpr int kDaysShown = 62;

FieldView chargeColumn(const QString& field, const extra::Charge& charge, const QString& caption)
{
    FieldView v = FieldView::formatted(field, caption, kAmountFormat);
    v.role = roles::extraCharge();
    v.alignment = Qt::AlignRight;
    v.readOnly = true;
    v.mark = 1;
    v.expectedAmount = QString::number(charge.amount, 'f', 2);
    v.groupCode = charge.groupText();
    return v;
}

}  // namespace

TDMNalDod::TDMNalDod(RunContext& context, QObject* parent) : TDMDane(context, QStringLiteral("TDMNalDod"), parent)
{
    build(nullptr);
}

TDMNalDod::TDMNalDod(RunContext& context, DataSet& master, QObject* parent)
    : TDMDane(context, QStringLiteral("TDMNalDod"), parent)
{
    build(&master);
}

TDMNalDod::~TDMNalDod() = default;

QString TDMNalDod::chargeField(int index)
{
    return QStringLiteral("NAL%1").arg(index + 1);
}

void TDMNalDod::build(DataSet* master)
{
    RunContext& ctx = context();
    m_master = master;
    m_from = ctx.systemDate().addDays(-kDaysShown);
    {
        Query q(ctx.db(), QStringLiteral("SELECT KOD, NAZWA FROM KLASY"));
        q.exec();
        while (q.next())
            m_groupNames.insert(q.value(0).toInt(), q.value(1).toString());
    }

    DataSet& ds = addDataSet(QStringLiteral("Dzieci"), QStringLiteral("DZIECI"),
                             master ? kKod : QStringLiteral("AKTYWNY;KLASA;NAZWA"));
    Table& t = *ds.table;
    t.addCalculatedField(FieldDef::of(kGroupName, FieldType::String, 30));
    t.addCalculatedField(FieldDef::of(kCaption, FieldType::String, 200));
    t.addCalculatedField(FieldDef::of(overpaymentField(), FieldType::Float));
    RunContext* c = &ctx;
    t.setRowTest([c](const Table& row) {
        return row.text(QStringLiteral("AKTYWNY")) == QLatin1String("T")
            && permissions::groupVisible(c->login.visibleGroups, row.text(kKlasa));
    });
    t.events().onCalcFields = [this](Table& row) {
        const int child = row.asInt(kKod);
        const QVariant group = row.isNull(kKlasa) ? QVariant() : QVariant(row.asInt(kKlasa));
        row.setCalculated(kGroupName, group.isNull() ? QString() : m_groupNames.value(group.toInt()));
        row.setCalculated(kCaption, childCaption(row.text(QStringLiteral("NAZWA")), row.text(QStringLiteral("ULICA")),
                                                 row.text(QStringLiteral("PESEL"))));
        row.setCalculated(overpaymentField(), m_payments.cell(child, group, m_overpayment));
        for (int i = 0; i < m_charges.size(); ++i)
            row.setCalculated(chargeField(i), m_payments.cell(child, group, m_charges[i]));
    };
    if (master) {
        t.setMasterLink(master->table, kKod, kKod);
        ds.master = master;
    }
    buildCommands();
    applyFunctions();
    m_payments.load(ctx.db());
    m_charges = extra::chargesFrom(ctx.db(), m_from, [this](const QString& g) { return groupShown(g); });
    ensureColumns(int(m_charges.size()));
    applyColumns();
}

void TDMNalDod::buildCommands()
{
    auto command = [](const QString& name, const QString& caption, const QString& label, const QString& key,
                      std::function<void()> handler) {
        Command c = Command::make(name, caption, label);
        c.shortcut = key;
        c.handler = std::move(handler);
        return c;
    };
    Command charges = command(QStringLiteral("Naliczenia1"), QStringLiteral("&Naliczenia"), QStringLiteral("Naliczenia"),
                              QString(), [this] { openCharges(); });
    charges.opensWindow = true;
    children().commands = {
        charges,
        command(QStringLiteral("Zakresnaliczen1"), QStringLiteral("&Zakres naliczeń"), QStringLiteral("Zakres naliczeń"),
                QString(), [this] { chooseRange(); }),
        Command::separatorLine(),
        command(QStringLiteral("Wplatadokladna1"), QStringLiteral("Wpłata dokładna"), QStringLiteral("Wpłata dokł."),
                QStringLiteral("Ctrl+T"), [this] { recordExact(); }),
        command(QStringLiteral("Edytujwplate1"), QStringLiteral("Edytuj wpłatę"), QStringLiteral("Edytuj wpłatę"),
                QStringLiteral("Ctrl+Y"), [this] { editPayment(); }),
        command(QStringLiteral("Nieobecny1"), QStringLiteral("Nieobecny"), QStringLiteral("Nieobecny"),
                QStringLiteral("Ctrl+N"), [this] { recordAbsent(); }),
        command(QStringLiteral("Usunwplate1"), QStringLiteral("Usuń wpłatę"), QStringLiteral("Usuń wpłatę"),
                QStringLiteral("Ctrl+U"), [this] { deletePayment(); }),
    };
}

bool TDMNalDod::groupShown(const QString& group) const
{
    // "Brak": the charge concerns every child, whoever looks.
    if (!group.isEmpty() && !permissions::groupVisible(context().login.visibleGroups, group))
        return false;
    return !m_chosen || m_chosen->contains(group);
}

QStringList TDMNalDod::allGroups() const
{
    QStringList groups{QString()};
    Query q(context().db(), QStringLiteral("SELECT KOD FROM KLASY ORDER BY KOLEJ, KOD"));
    q.exec();
    while (q.next())
        if (permissions::groupVisible(context().login.visibleGroups, q.value(0).toString()))
            groups << q.value(0).toString();
    return groups;
}

void TDMNalDod::ensureColumns(int count)
{
    Table& t = *children().table;
    // A cursor keeps the fields it was given; the pool only grows.
    while (m_columnPool < count)
        t.addCalculatedField(FieldDef::of(chargeField(m_columnPool++), FieldType::Float));
}

void TDMNalDod::applyColumns()
{
    DataSet& ds = children();
    FieldView name = FieldView::column(QStringLiteral("NAZWA"), QStringLiteral("Nazwisko i imię"), true);
    name.role = roles::search();
    FieldView pesel = FieldView::column(QStringLiteral("PESEL"), QStringLiteral("PESEL"), true);
    pesel.role = roles::search();
    FieldView group = FieldView::column(kGroupName, QStringLiteral("Grupa"), true);
    group.role = roles::filter();
    ds.fields = {name, FieldView::column(QStringLiteral("ULICA"), QStringLiteral("Ulica"), true), pesel, group,
                 chargeColumn(overpaymentField(), m_overpayment, QStringLiteral("Nadpłaty"))};
    for (int i = 0; i < m_columnPool; ++i) {
        if (i < m_charges.size()) {
            ds.fields << chargeColumn(chargeField(i), m_charges[i], m_charges[i].label());
        } else {
            FieldView unused = FieldView::hidden(chargeField(i));
            ds.fields << unused;
        }
    }
    ds.fields << FieldView::hidden(kKlasa) << FieldView::hidden(kCaption);
    emit dataSetChanged(&ds);
}

void TDMNalDod::rebuild()
{
    m_payments.load(context().db());
    m_charges = extra::chargesFrom(context().db(), m_from, [this](const QString& g) { return groupShown(g); });
    ensureColumns(int(m_charges.size()));
    applyColumns();
    refreshRows();
}

void TDMNalDod::refreshRows()
{
    Table& t = *children().table;
    if (t.isOpen())
        t.refresh();
}

TDMNalKla& TDMNalDod::chargesModule()
{
    if (!m_chargesModule)
        m_chargesModule = new TDMNalKla(context(), [this] { rebuild(); }, this);
    return *m_chargesModule;
}

void TDMNalDod::openCharges()
{
    Command* c = children().command(QStringLiteral("Naliczenia1"));
    TDMNalKla& charges = chargesModule();
    charges.browse(charges.charges(), c ? c->plainCaption() : QStringLiteral("Naliczenia"), c);
}

void TDMNalDod::chooseRange()
{
    QDate from = m_from;
    if (!context().prompts.pickDate(title(), QStringLiteral("Okreś datę początkową"), from))
        return;
    m_from = from;
    const QStringList all = allGroups();
    QStringList list = m_chosen.value_or(QStringList());
    const bool hadList = m_chosen.has_value();
    const int ticked = hadList ? int(list.size()) : int(all.size());
    for (const QString& g : all)
        if (!list.contains(g))
            list << g;
    if (list.size() > 1) {
        QList<PickEntry> entries;
        for (const QString& g : list)
            entries << PickEntry{g.isEmpty() ? TDMNalKla::noGroup() : m_groupNames.value(g.toInt()), g};
        if (context().prompts.pickChecks(QStringLiteral("Naliczenia dla wybranych grup"), entries, ticked)) {
            list.clear();
            for (const PickEntry& e : entries)
                list << e.value.toString();
        } else if (hadList) {
            list = *m_chosen;
        } else {
            list = all;
        }
    }
    bool every = true;
    for (const QString& g : all)
        every = every && list.contains(g);
    if (every)
        m_chosen.reset();
    else
        m_chosen = list;
    rebuild();
}

void TDMNalDod::currentFieldChanged(DataSet& ds, const QString& field)
{
    if (&ds == &children())
        m_selectedField = field;
}

const extra::Charge* TDMNalDod::currentCharge() const
{
    if (m_selectedField == overpaymentField())
        return &m_overpayment;
    for (int i = 0; i < m_charges.size(); ++i)
        if (m_selectedField == chargeField(i))
            return &m_charges[i];
    return nullptr;
}

int TDMNalDod::currentChild() const
{
    const Table& t = *children().table;
    return t.isOpen() && !t.isEmpty() ? t.asInt(kKod) : 0;
}

QVariant TDMNalDod::currentGroup() const
{
    const Table& t = *children().table;
    return t.isNull(kKlasa) ? QVariant() : QVariant(t.asInt(kKlasa));
}

bool TDMNalDod::askPermission()
{
    if (!m_editAllowed)
        m_editAllowed = context().prompts.askYesNo(editQuestion());
    return m_editAllowed;
}

void TDMNalDod::recordExact()
{
    record(Entry::Exact);
}

void TDMNalDod::recordAbsent()
{
    record(Entry::Absent);
}

void TDMNalDod::editPayment(const QString& preset)
{
    record(Entry::Edit, preset);
}

void TDMNalDod::record(Entry entry, const QString& preset)
{
    if (!askPermission())
        return;
    const extra::Charge* charge = currentCharge();
    const int child = currentChild();
    if (!charge || child == 0)
        return;
    Prompts& prompts = context().prompts;
    if (!charge->appliesTo(currentGroup())) {
        prompts.showError(otherGroupRefusal());
        return;
    }
    const extra::Charge target = *charge;
    try {
        switch (entry) {
        case Entry::Exact:
            extra::savePayment(context().db(), target, child, target.amount);
            break;
        case Entry::Absent:
            extra::savePayment(context().db(), target, child, QVariant());
            break;
        case Entry::Edit: {
            const extra::Payment* current = m_payments.find(child, target);
            QString line = !preset.isEmpty() ? preset : current ? extra::editText(current->amount) : QString();
            QString description = current ? current->description : QString();
            if (!prompts.askLineAndMemo(title(), QStringLiteral("Wprowadź kwotę i opis (kwota pusta oznacze nieobecność)"),
                                        line, description))
                return;
            QVariant amount;
            if (!line.trimmed().isEmpty()) {
                const auto parsed = money::parse(line);
                if (!parsed) {
                    prompts.showError(QStringLiteral("'") + line.trimmed() + QStringLiteral("' nie jest poprawną kwotą"));
                    return;
                }
                amount = *parsed;
            }
            extra::savePayment(context().db(), target, child, amount, description);
            break;
        }
        }
    } catch (const Error& e) {
        prompts.showError(e.message());
    }
    rebuild();
}

void TDMNalDod::deletePayment()
{
    if (!askPermission())
        return;
    const extra::Charge* charge = currentCharge();
    const int child = currentChild();
    if (!charge || child == 0 || !m_payments.find(child, *charge))
        return;
    const extra::Charge target = *charge;
    const QString caption = children().table->text(kCaption);
    if (!context().prompts.askYesNo(QStringLiteral("Skasować wpłatę od ") + caption + QStringLiteral("?")))
        return;
    try {
        extra::deletePayment(context().db(), target, child);
    } catch (const Error& e) {
        context().prompts.showError(e.message());
    }
    rebuild();
}

bool TDMNalDod::typedKey(DataSet& ds, const QString& field, QChar key)
{
    if (&ds != &children())
        return false;
    m_selectedField = field;
    if (!currentCharge())
        return false;
    const QChar up = key.toUpper();
    if (up == u'T')
        recordExact();
    else if (up == u'N')
        recordAbsent();
    else if (key == u'\b')
        deletePayment();
    else if (key.isDigit())
        editPayment(QString(key));
    else
        return false;
    return true;
}
