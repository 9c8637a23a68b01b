#include "tdm_dzieci.h"

#include "child_caption.h"
#include "child_components.h"
#include "child_deletion.h"
#include "child_password.h"
#include "child_pesel.h"
#include "child_time_limits.h"
#include "zajdod_child_declarations.h"

#include "browser/area_arguments.h"
#include "browser/area_registry.h"
#include "browser/key_value_settings.h"
#include "browser/memo_windows.h"
#include "browser/message_log.h"
#include "browser/prompts.h"
#include "shell/access_rules.h"
#include "store/database.h"
#include "store/error.h"
#include "store/polish_dates.h"
#include "store/table.h"
#include "store/values.h"

#include <memory>

namespace {

const QString kDateFormat = QStringLiteral("dd.MM.yyyy");
const QString kTimeFormat = QStringLiteral("HH:mm");

FieldView column(const QString& name, const QString& caption, bool visible = true)
{
    FieldView v = FieldView::column(name, caption);
    v.visible = visible;
    return v;
}

FieldView dateColumn(const QString& name, const QString& caption)
{
    FieldView v = column(name, caption);
    v.displayFormat = kDateFormat;
    return v;
}

bool nonZeroGroup(const QVariant& v)
{
    return !values::isEmpty(v) && v.toInt() != 0;
}

bool sameField(const QString& a, const char* b)
{
    return a.compare(QLatin1String(b), Qt::CaseInsensitive) == 0;
}

}  // namespace

QList<ChildOperation> childOperations()
{
    return {
        {11, QStringLiteral("Powiel składniki na podstawie pierwszego zaznaczonego dziecka")},
        {12, QStringLiteral("Zmień sposoby liczenia składników opłat dla zaznaczonych dzieci")},
        {22, QStringLiteral("Zmień sposoby rozliczania składników opłat dla zaznaczonych dzieci")},
        {13, QStringLiteral("Nadaj dostęp internetowy (hasła) dla zaznaczonych dzieci")},
        {14, QStringLiteral("Wyślij e-mail do zaznaczonych dzieci")},
        {15, QStringLiteral("Zmień grupę dla zaznaczonych dzieci")},
    };
}

QString TDMDzieci::oneGroupInsertMessage()
{
    return QStringLiteral("W trybie jednej grupy nie można wprowadzać nowych dzieci");
}

QString TDMDzieci::oneGroupDeleteMessage()
{
    return QStringLiteral("W trybie jednej grupy nie można usuwać dzieci");
}

QString TDMDzieci::aidPercentMessage()
{
    return QStringLiteral("Procent pomocy musi mieścić się w granicach od 0 do 100");
}

TDMDzieci::TDMDzieci(RunContext& context, KeyValueSettings* settings, QObject* parent)
    : TDMDane(context, QStringLiteral("TDMDzieci"), parent),
      m_settings(settings),
      m_groupChange(context, QStringLiteral("DZIEKLA"))
{
    setUpChildren();
    setUpDetails();
    setUpCommands();
    restoreOrdering();
    applyFunctions();
}

TDMDzieci::~TDMDzieci()
{
    if (m_settings)
        m_settings->setValue(settingsGroup(), orderingKey(), children().table->ordering());
}

// ---- the children list -------------------------------------------------------

void TDMDzieci::setUpChildren()
{
    Database& db = context().db();
    RunContext* ctx = &context();

    DataSet& ds = addDataSet(QStringLiteral("Dzieci"), QStringLiteral("DZIECI"), defaultOrdering());
    Table& t = *ds.table;

    // The module's group list: the visible groups in their display order.
    DataSet& g = addDataSet(QStringLiteral("Klasy"), QStringLiteral("KLASY"), QStringLiteral("KOLEJ"));
    g.table->setRowTest([ctx](const Table& row) {
        return permissions::groupVisible(ctx->login.visibleGroups, row.text(QStringLiteral("KOD")));
    });
    g.fields = {column(QStringLiteral("NAZWA"), QStringLiteral("Nazwa"))};
    g.table->open();

    auto* prefixes = new Table(db, QStringLiteral("KODY"), this);
    prefixes->setOrdering(QStringLiteral("RODZAJ;TYP"));
    prefixes->setRowTest([](const Table& row) { return row.text(QStringLiteral("RODZAJ")) == QLatin1String("przedr"); });
    prefixes->open();

    t.addLookupField(FieldDef::of(QStringLiteral("PRZEDULNAZWA"), FieldType::String, 20), QStringLiteral("PRZEDUL"),
                     prefixes, QStringLiteral("TYP"), QStringLiteral("NAZWA"));
    t.addLookupField(FieldDef::of(QStringLiteral("PRZEDULKORNAZWA"), FieldType::String, 20), QStringLiteral("PRZEDULKOR"),
                     prefixes, QStringLiteral("TYP"), QStringLiteral("NAZWA"));
    t.addLookupField(FieldDef::of(QStringLiteral("KLASANAZWA"), FieldType::String, 30), QStringLiteral("KLASA"), g.table,
                     QStringLiteral("KOD"), QStringLiteral("NAZWA"));
    const bool statuses = db.hasColumn(QStringLiteral("DZIECI"), QStringLiteral("STATUS"))
        && db.hasTable(QStringLiteral("STATUSY"));
    if (statuses) {
        auto* st = new Table(db, QStringLiteral("STATUSY"), this);
        st->setOrdering(QStringLiteral("KOLEJ"));
        st->open();
        t.addLookupField(FieldDef::of(QStringLiteral("STATUSNAZWA"), FieldType::String, 30), QStringLiteral("STATUS"), st,
                         QStringLiteral("KOD"), QStringLiteral("NAZWA"));
    }
    t.addCalculatedField(FieldDef::of(QStringLiteral("CAPTION"), FieldType::String, 200));
    // Wide enough for any client number and code: the identifier is never cut.
    t.addCalculatedField(FieldDef::of(QStringLiteral("IDHASLO"), FieldType::String, 30));
    t.events().onCalcFields = [ctx](Table& row) {
        row.setCalculated(QStringLiteral("CAPTION"),
                          childCaption(row.text(QStringLiteral("NAZWA")), row.text(QStringLiteral("ULICA")),
                                       row.text(QStringLiteral("PESEL"))));
        QString id;
        if (!row.isNull(QStringLiteral("HASLO")) && !row.isNull(QStringLiteral("KOD")))
            id = child_password::identifier(ctx->institution.clientNumber, row.asInt(QStringLiteral("KOD")));
        row.setCalculated(QStringLiteral("IDHASLO"), id);
    };

    t.setRowTest([this, ctx](const Table& row) {
        if (!permissions::groupVisible(ctx->login.visibleGroups, row.text(QStringLiteral("KLASA"))))
            return false;
        return m_showInactive || row.text(QStringLiteral("AKTYWNY")) == QLatin1String("T");
    });

    Table::Events& ev = t.events();
    ev.onNewRecord = [this](Table& row) { newChild(row); };
    ev.beforeEdit = [this](Table& row) {
        m_groupBeforeEdit = row.value(QStringLiteral("KLASA"));
    };
    ev.onFieldChange = [this](Table& row, const QString& field) { fieldChanged(row, field); };
    ev.beforePost = [](Table& row) {
        row.setValue(QStringLiteral("AKTYWNY"),
                     nonZeroGroup(row.value(QStringLiteral("KLASA"))) ? QStringLiteral("T") : QStringLiteral("N"));
    };
    ev.beforeDelete = [this](Table& row) {
        m_deleted = QVariant();
        if (this->context().settings.oneGroupMode)
            throw Error(oneGroupDeleteMessage());
        const QString refusal = child_deletion::refusal(this->context().db(), row.asInt(QStringLiteral("KOD")));
        if (!refusal.isEmpty())
            throw Error(refusal);
        m_deleted = row.value(QStringLiteral("KOD"));
    };
    ev.afterDelete = [this](Table&) {
        if (!m_deleted.isValid())
            return;
        const int kod = m_deleted.toInt();
        m_deleted = QVariant();
        child_deletion::deleteOwnRows(this->context().db(), kod);
    };
    // The collecting persons' list goes to the last row of each new child.
    ev.afterScroll = [this](Table&) { m_collectorsToLast = true; };

    const QString* dane = context().params.dzieciDane;
    ds.fields = {
        column(QStringLiteral("NAZWA"), QStringLiteral("Nazwisko i imię")),
        column(QStringLiteral("PRZEDULNAZWA"), QStringLiteral("Przedr.")),
        column(QStringLiteral("ULICA"), QStringLiteral("Ulica")),
        column(QStringLiteral("KODPOCZ"), QStringLiteral("Kod poczt.")),
        column(QStringLiteral("MIASTO"), QStringLiteral("Miasto")),
        column(QStringLiteral("PESEL"), QStringLiteral("PESEL")),
        dateColumn(QStringLiteral("DATAUR"), QStringLiteral("Data urodzenia")),
        column(QStringLiteral("KLASANAZWA"), QStringLiteral("Grupa")),
    };
    if (statuses)
        ds.fields << column(QStringLiteral("STATUSNAZWA"), QStringLiteral("Status"));
    ds.fields << column(QStringLiteral("NAZWAKOR"), QStringLiteral("Nazwa kores."))
              << column(QStringLiteral("PRZEDULKORNAZWA"), QStringLiteral("Przedr. kores."))
              << column(QStringLiteral("ULICAKOR"), QStringLiteral("Ulica kores."))
              << column(QStringLiteral("KODPOCZKOR"), QStringLiteral("Kod poczt. kores."))
              << column(QStringLiteral("MIASTOKOR"), QStringLiteral("Miasto kores."))
              << column(QStringLiteral("TELEFON"), QStringLiteral("Telefon"))
              << column(QStringLiteral("EMAIL"), QStringLiteral("E-mail"))
              << column(QStringLiteral("IDHASLO"), QStringLiteral("Id w internecie"))
              // Free fields are shown only under the caption the parameters give them.
              << column(QStringLiteral("DANE1"), dane[0], !dane[0].isEmpty())
              << column(QStringLiteral("DANE2"), dane[1], !dane[1].isEmpty())
              << column(QStringLiteral("DANE3"), dane[2], !dane[2].isEmpty())
              << column(QStringLiteral("DANE4"), dane[3], !dane[3].isEmpty())
              << column(QStringLiteral("UWAGI"), QStringLiteral("Uwagi"))
              << column(QStringLiteral("AKTYWNY"), QStringLiteral("Aktywny"), false)
              << column(QStringLiteral("CAPTION"), QStringLiteral("Dziecko"), false);
    ds.field(QStringLiteral("NAZWA"))->role = roles::search();
    ds.field(QStringLiteral("PESEL"))->role = roles::search();
    ds.field(QStringLiteral("KLASANAZWA"))->role = roles::filter();
    ds.field(QStringLiteral("IDHASLO"))->readOnly = true;
    ds.field(QStringLiteral("CAPTION"))->readOnly = true;
    for (const char* n : {"DANE3", "DANE4"})
        ds.field(QLatin1String(n))->alignment = Qt::AlignRight;
}

void TDMDzieci::newChild(Table& t)
{
    if (context().settings.oneGroupMode)
        throw Error(oneGroupInsertMessage());
    Table& g = *groups().table;
    if (!g.isOpen())
        g.open();
    QVariant group;
    if (!g.isEmpty()) {
        const int at = std::max(0, g.position());
        QVariant current = g.valueAt(at, QStringLiteral("KOD"));
        // The inactive group is no place for a new child: the next one is
        // taken, else the first other visible group, else none.
        if (!values::isEmpty(current) && current.toInt() == 0) {
            current = QVariant();
            if (at + 1 < g.rowCount())
                current = g.valueAt(at + 1, QStringLiteral("KOD"));
            else
                for (int r = 0; r < g.rowCount(); ++r)
                    if (nonZeroGroup(g.valueAt(r, QStringLiteral("KOD")))) {
                        current = g.valueAt(r, QStringLiteral("KOD"));
                        break;
                    }
        }
        group = current;
    }
    if (!values::isEmpty(group))
        t.setValue(QStringLiteral("KLASA"), group);
    if (t.hasStoredField(QStringLiteral("STATUS")))
        t.setValue(QStringLiteral("STATUS"), 0);
}

void TDMDzieci::fieldChanged(Table& t, const QString& field)
{
    if (sameField(field, "KLASA")) {
        if (t.state() == Table::State::Edit)
            groupChanged(t);
    } else if (sameField(field, "PESEL")) {
        checkPesel(t, true);
    } else if (sameField(field, "DATAUR")) {
        checkPesel(t, false);
    }
}

void TDMDzieci::checkPesel(Table& t, bool peselChanged)
{
    const QString number = t.text(QStringLiteral("PESEL"));
    if (number.isEmpty())
        return;
    if (peselChanged)
        if (const auto other = pesel::activeNamesake(context().db(), number, t.value(QStringLiteral("KOD"))))
            context().prompts.showInfo(pesel::duplicateMessage(*other));
    const QDate birth = t.asDate(QStringLiteral("DATAUR"));
    if (birth.isValid() && !pesel::agreesWithBirthDate(number, birth))
        context().prompts.showInfo(pesel::birthDateMessage());
}

void TDMDzieci::groupChanged(Table& t)
{
    // Back to the group the edit began with: nothing has changed.
    if (values::same(t.value(QStringLiteral("KLASA")), m_groupBeforeEdit))
        return;
    if (m_groupChange.saveChange(t, m_groupBeforeEdit, context().systemDate()) && history().table->isOpen())
        history().table->refresh();
}

void TDMDzieci::restoreOrdering()
{
    if (!m_settings || !m_settings->contains(settingsGroup(), orderingKey()))
        return;
    const QStringList stored = schema::splitFieldList(m_settings->text(settingsGroup(), orderingKey()));
    if (stored.isEmpty())
        return;
    // Only an ordering the table has is taken; anything else is ignored.
    for (const StoreIndex& index : context().db().indexes(QStringLiteral("DZIECI"))) {
        if (index.fields.size() != stored.size())
            continue;
        bool same = true;
        for (int i = 0; i < stored.size() && same; ++i)
            same = index.fields[i].compare(stored[i], Qt::CaseInsensitive) == 0;
        if (same) {
            try {
                children().table->setOrdering(index.fields.join(QLatin1Char(';')));
            } catch (const Error&) {
                children().table->setOrdering(defaultOrdering());
            }
            return;
        }
    }
}

void TDMDzieci::toggleInactive()
{
    Table& t = *children().table;
    m_showInactive = !m_showInactive;
    if (Command* c = children().command(QStringLiteral("Pokaznieaktywnych1")))
        c->checked = m_showInactive;
    if (!m_showInactive && !t.ordering().toUpper().startsWith(QStringLiteral("AKTYWNY")))
        t.setOrdering(defaultOrdering());
    if (t.isOpen())
        t.refresh();
}

int TDMDzieci::currentChild() const
{
    const Table& t = *children().table;
    if (!t.isOpen() || t.isEmpty() || t.state() == Table::State::Insert || t.isNull(QStringLiteral("KOD")))
        return 0;
    return t.asInt(QStringLiteral("KOD"));
}

// ---- the detail lists ------------------------------------------------------------

void TDMDzieci::setUpDetails()
{
    Database& db = context().db();
    RunContext* ctx = &context();
    Table& kids = *children().table;
    auto byDate = [ctx](const Table& row) {
        return ctx->passesSystemDateFilter(row.asDate(QStringLiteral("ODDATY")), row.asDate(QStringLiteral("DODATY")));
    };
    auto link = [this, &kids](DataSet& ds, const QString& ordering) {
        ds.table->setOrdering(ordering);
        ds.table->setMasterLink(&kids, QStringLiteral("KOD"), QStringLiteral("OSOBA"));
        ds.master = &children();
        ds.table->events().onNewRecord = [this](Table& row) { saveChildFirst(row); };
    };

    // Previous groups: a history row may name a group the user no longer sees.
    DataSet& hist = addDataSet(QStringLiteral("Dziekla"), QStringLiteral("DZIEKLA"));
    link(hist, QStringLiteral("OSOBA;DODATY"));
    auto* allGroups = new Table(db, QStringLiteral("KLASY"), this);
    allGroups->setOrdering(QStringLiteral("KOLEJ"));
    allGroups->open();
    hist.table->addLookupField(FieldDef::of(QStringLiteral("KLASANAZWA"), FieldType::String, 30), QStringLiteral("KLASA"),
                               allGroups, QStringLiteral("KOD"), QStringLiteral("NAZWA"));
    hist.fields = {dateColumn(QStringLiteral("DODATY"), QStringLiteral("Do daty")),
                   column(QStringLiteral("KLASANAZWA"), QStringLiteral("Grupa")),
                   column(QStringLiteral("UWAGI"), QStringLiteral("Uwagi"))};

    // Fee components.
    DataSet& med = addDataSet(QStringLiteral("Dziemed"), QStringLiteral("DZIEMED"));
    link(med, QStringLiteral("OSOBA;MEDIUM;ODDATY"));
    med.table->setRowTest(byDate);
    auto* media = new Table(db, QStringLiteral("MEDIA"), this);
    media->setOrdering(QStringLiteral("KOLEJ"));
    media->open();
    auto* methods = new Table(db, QStringLiteral("SPOSOBY"), this);
    methods->setOrdering(QStringLiteral("KOD"));
    methods->open();
    med.table->addLookupField(FieldDef::of(QStringLiteral("MEDIUMNAZWA"), FieldType::String, 40), QStringLiteral("MEDIUM"),
                              media, QStringLiteral("KOD"), QStringLiteral("NAZWA"));
    med.table->addLookupField(FieldDef::of(QStringLiteral("SPOSOBNAZWA"), FieldType::String, 30), QStringLiteral("SPOSOB"),
                              methods, QStringLiteral("KOD"), QStringLiteral("NAZWA"));
    med.table->addLookupField(FieldDef::of(QStringLiteral("SPOROZNAZWA"), FieldType::String, 30), QStringLiteral("SPOROZ"),
                              methods, QStringLiteral("KOD"), QStringLiteral("NAZWA"));
    // Uniform methods belong to the component, not to the child.
    const bool ownMethods = !context().params.sposobyJednolite;
    med.fields = {column(QStringLiteral("MEDIUMNAZWA"), QStringLiteral("Składnik")),
                  dateColumn(QStringLiteral("ODDATY"), QStringLiteral("Od daty")),
                  dateColumn(QStringLiteral("DODATY"), QStringLiteral("Do daty")),
                  column(QStringLiteral("SPOSOBNAZWA"), QStringLiteral("Sposób liczenia"), ownMethods),
                  column(QStringLiteral("SPOROZNAZWA"), QStringLiteral("Sposób rozliczania"), ownMethods)};
    if (db.hasColumn(QStringLiteral("DZIEMED"), QStringLiteral("PROCOPIE"))) {
        FieldView aid = column(QStringLiteral("PROCOPIE"), QStringLiteral("Procent pomocy"));
        aid.alignment = Qt::AlignRight;
        med.fields << aid;
    }
    med.table->events().beforePost = [](Table& row) {
        // A share above the whole fee would leave the parents a negative one.
        if (row.hasStoredField(QStringLiteral("PROCOPIE")) && !row.isNull(QStringLiteral("PROCOPIE"))) {
            const double p = row.asDouble(QStringLiteral("PROCOPIE"));
            if (p < 0 || p > 100)
                throw Error(aidPercentMessage());
        }
    };
    Command closeCmd = Command::make(QStringLiteral("Zamknijskladniki1"), QStringLiteral("Zamknij składniki"),
                                     QStringLiteral("Zamknij"), false);
    closeCmd.handler = [this] { closeComponents(); };
    Command restoreCmd = Command::make(QStringLiteral("Przywrocskladniki1"), QStringLiteral("Przywróć składniki"),
                                       QStringLiteral("Przywróć"), false);
    restoreCmd.handler = [this] { restoreComponents(); };
    med.commands = {closeCmd, restoreCmd};

    // Declared time of stay.
    DataSet& stay = addDataSet(QStringLiteral("Dzieczas"), QStringLiteral("DZIECZAS"));
    link(stay, QStringLiteral("OSOBA;ODDATY"));
    FieldView arrival = column(QStringLiteral("CZASP"), QStringLiteral("Czas przyjścia"));
    arrival.displayFormat = kTimeFormat;
    FieldView departure = column(QStringLiteral("CZASW"), QStringLiteral("Czas wyjścia"));
    departure.displayFormat = kTimeFormat;
    stay.fields = {dateColumn(QStringLiteral("ODDATY"), QStringLiteral("Od daty")), arrival, departure};
    stay.table->events().onFieldChange = [this](Table& row, const QString& field) { stayTimeChanged(row, field); };
    stay.table->events().beforePost = [](Table& row) {
        const QTime p = row.asTime(QStringLiteral("CZASP"));
        const QTime w = row.asTime(QStringLiteral("CZASW"));
        if (p.isValid() && w.isValid() && w < p)
            throw Error(stay_limits::orderMessage());
    };

    // Extra-class declarations, the class shown by name.
    DataSet& zaj = addDataSet(QStringLiteral("Dziezaj"), QStringLiteral("DZIEZAJ"));
    link(zaj, QStringLiteral("OSOBA;ZAJECIE;ODDATY"));
    extraclasses::setUpChildDeclarations(zaj, context(), kids);

    // Persons allowed to collect the child, the latest row current.
    DataSet& odb = addDataSet(QStringLiteral("Odbiera"), QStringLiteral("ODBIERA"));
    link(odb, QStringLiteral("OSOBA;ODDATY"));
    odb.fields = {dateColumn(QStringLiteral("ODDATY"), QStringLiteral("Od daty")),
                  dateColumn(QStringLiteral("DODATY"), QStringLiteral("Do daty")),
                  column(QStringLiteral("ODBIERA"), QStringLiteral("Może odbierać"))};
    odb.table->events().afterScroll = [this](Table& row) {
        if (!m_collectorsToLast || row.isEditing())
            return;
        m_collectorsToLast = false;
        if (!row.isEmpty())
            row.last();
    };
}

void TDMDzieci::stayTimeChanged(Table& t, const QString& field)
{
    if (!sameField(field, "CZASP") && !sameField(field, "CZASW"))
        return;
    const QTime value = t.asTime(field);
    if (!value.isValid())
        return;
    const QString label = sameField(field, "CZASP") ? QStringLiteral("Czas przyjścia") : QStringLiteral("Czas wyjścia");
    const QString text = stay_limits::warning(
        label, value, stay_limits::inForce(context().db(), field, t.asDate(QStringLiteral("ODDATY"))));
    if (!text.isEmpty())
        context().prompts.showInfo(text);
}

void TDMDzieci::saveChildFirst()
{
    Table& kids = *children().table;
    if (kids.state() == Table::State::Insert)
        kids.post();
}

void TDMDzieci::saveChildFirst(Table& detail)
{
    Table& kids = *children().table;
    if (saveMasterFirst(kids, detail, QStringLiteral("KOD"), QStringLiteral("OSOBA")))
        detail.setValue(QStringLiteral("OSOBA"), kids.value(QStringLiteral("KOD")));
}

void TDMDzieci::closeComponents()
{
    saveChildFirst();
    const int kod = currentChild();
    if (kod == 0)
        return;
    QDate day = context().systemDate();
    if (!context().prompts.pickDate(QStringLiteral("Zamknąć składniki"), QStringLiteral("Na dzień"), day))
        return;
    QList<child_components::Skipped> skipped;
    try {
        skipped = child_components::close(context().db(), kod, day);
    } catch (...) {
        if (components().table->isOpen())
            components().table->refresh();
        throw;
    }
    if (components().table->isOpen())
        components().table->refresh();
    if (skipped.isEmpty())
        return;
    QStringList lines;
    for (const auto& s : skipped)
        lines << child_components::skippedRemark(s, day);
    if (MessageLog* log = context().messages) {
        log->clearMessages();
        for (const QString& line : lines)
            log->addRemark(line);
        log->showRemarksOnly();
    } else {
        context().prompts.showInfo(lines.join(QStringLiteral("\r\n")));
    }
}

void TDMDzieci::restoreComponents()
{
    saveChildFirst();
    const int kod = currentChild();
    if (kod == 0)
        return;
    const QString title = QStringLiteral("Przywróć składniki");
    QDate oldDay = context().systemDate();
    if (!context().prompts.pickDate(title, QStringLiteral("Stare składniki z dnia"), oldDay))
        return;
    QDate newDay = context().systemDate();
    if (!context().prompts.pickDate(title, QStringLiteral("Nowe składniki od dnia"), newDay))
        return;
    try {
        child_components::restore(context().db(), kod, oldDay, newDay);
    } catch (...) {
        if (components().table->isOpen())
            components().table->refresh();
        throw;
    }
    if (components().table->isOpen())
        components().table->refresh();
}

void TDMDzieci::setInternetPassword()
{
    child_password::set(context(), *children().table);
}

void TDMDzieci::editRemarks()
{
    Table& t = *children().table;
    Command* c = children().command(QStringLiteral("Uwagi1"));
    const bool closing = c && c->checked;
    if (!closing && (!t.isOpen() || (t.isEmpty() && t.state() != Table::State::Insert)))
        return;
    if (memowindow::toggle(*this, children(), QStringLiteral("UWAGI"), QStringLiteral("Uwagi"), c))
        return;
    QString text = t.text(QStringLiteral("UWAGI"));
    if (!context().prompts.editMemo(QStringLiteral("Uwagi"), text))
        return;
    const bool wasEditing = t.isEditing();
    t.edit();
    try {
        t.setValue(QStringLiteral("UWAGI"), text);
        if (!wasEditing)
            t.post();
    } catch (...) {
        if (!wasEditing)
            t.cancel();
        throw;
    }
}

// ---- commands ----------------------------------------------------------------------

void TDMDzieci::openDetail(DataSet& ds, const QString& commandName)
{
    saveChildFirst();
    Command* c = children().command(commandName);
    if (&ds == &collectors())
        m_collectorsToLast = true;
    browse(ds, c->plainCaption(), c);
}

void TDMDzieci::openArea(const QString& area, const QString& commandName)
{
    Command* c = children().command(commandName);
    if (c->checked) {
        context().opener.closeOwnedBy(c);
        c->checked = false;
        return;
    }
    saveChildFirst();
    const int kod = currentChild();
    if (kod == 0)
        return;
    const QString caption = c->caption;
    // The attendance of a child is titled with the system date; the
    // command's caption carries it while the window opens.
    if (area == area::childAttendance())
        c->caption = QStringLiteral("Lista obecności dziecka na ") + polish::longDate(context().systemDate());
    const QString title = c->plainCaption();
    try {
        context().areas.open(area, context(), area::forChild(kod, &children(), this, c, title));
    } catch (...) {
        c->caption = caption;
        throw;
    }
    c->caption = caption;
}

void TDMDzieci::setUpCommands()
{
    DataSet& ds = children();
    const AreaRegistry& areas = context().areas;
    auto detail = [this](const QString& name, const QString& caption, const QString& label, DataSet& target) {
        Command c = Command::make(name, caption, label, true);
        DataSet* d = &target;
        c.handler = [this, d, name] { openDetail(*d, name); };
        return c;
    };
    auto hub = [this, &areas](const QString& name, const QString& caption, const QString& label, const QString& area) {
        Command c = Command::make(name, caption, label, true);
        c.wanted = areas.has(area);
        c.handler = [this, area, name] { openArea(area, name); };
        return c;
    };

    Command inactive = Command::make(QStringLiteral("Pokaznieaktywnych1"), QStringLiteral("Pokaż &nieaktywnych"),
                                     QStringLiteral("Nieaktywni"), false);
    inactive.handler = [this] { toggleInactive(); };
    Command password =
        Command::make(QStringLiteral("Haslo1"), QStringLiteral("Hasło w internecie"), QStringLiteral("Hasło"), false);
    password.handler = [this] { setInternetPassword(); };
    Command remarks = Command::make(QStringLiteral("Uwagi1"), QStringLiteral("Uwagi"), QStringLiteral("Uwagi"), true);
    remarks.handler = [this] { editRemarks(); };
    Command operations = hub(QStringLiteral("Operacje1"), QStringLiteral("Operacje dla zaznaczonych dzieci"),
                             QStringLiteral("Operacje"), area::markedChildrenOperations());
    // The operations run once and open no window of their own.
    operations.opensWindow = false;

    ds.commands = {
        inactive,
        detail(QStringLiteral("Klasy1"), QStringLiteral("Poprzednie &grupy dziecka"), QStringLiteral("Pop. grupy"), history()),
        detail(QStringLiteral("Media1"), QStringLiteral("&Składniki opłat dziecka"), QStringLiteral("Składniki"), components()),
        detail(QStringLiteral("Zadeklarowanyczaspobytu1"), QStringLiteral("Zadeklarowany czas pobytu"),
               QStringLiteral("Czas pobytu"), stayTimes()),
        detail(QStringLiteral("Zajeciadodatkowe1"), QStringLiteral("Zajęcia dodatkowe dziecka"), QStringLiteral("Zajęcia dod."),
               extraClasses()),
        hub(QStringLiteral("Obecnosci1"), QStringLiteral("Lista &obecności dziecka"), QStringLiteral("Obecności"),
            area::childAttendance()),
        hub(QStringLiteral("Rozrachunki1"), QStringLiteral("Rozrachunki dziecka"), QStringLiteral("Rozrachunki"),
            area::childSettlements()),
        hub(QStringLiteral("Naldodat1"), QStringLiteral("Naliczenia dodatkowe dziecka"), QStringLiteral("Nal. dod."),
            area::childExtraCharges()),
        hub(QStringLiteral("Informacje1"), QStringLiteral("Informacje dziecka"), QStringLiteral("Informacje"),
            area::childInformation()),
        hub(QStringLiteral("Zgloszenia1"), QStringLiteral("Zgłoszenia dziecka"), QStringLiteral("Zgłoszenia"),
            area::childRequests()),
        hub(QStringLiteral("Korespondencja1"), QStringLiteral("Korespondencja"), QStringLiteral("Korespon."), area::letters()),
        password,
        detail(QStringLiteral("Odbiera1"), QStringLiteral("Osoby odbierające"), QStringLiteral("Odbiera"), collectors()),
        operations,
        remarks,
    };
}
