#include "tdm_zajdod.h"

#include "child_caption.h"
#include "display_order.h"
#include "held_classes.h"

#include "shell/access_rules.h"
#include "store/database.h"
#include "store/error.h"
#include "store/query.h"
#include "store/table.h"
#include "store/tdm_baza.h"

#include <memory>

namespace {

const QString kKod = QStringLiteral("KOD");
const QString kKlasa = QStringLiteral("KLASA");
const QString kZajecie = QStringLiteral("ZAJECIE");
const QString kDateFormat = QStringLiteral("dd.MM.yyyy");

// The groups the user sees, for the group lookups and their choice lists.
Table* groupNames(RunContext& context, QObject* owner)
{
    auto* groups = new Table(context.db(), QStringLiteral("KLASY"), owner);
    groups->setOrdering(QStringLiteral("KOLEJ"));
    RunContext* ctx = &context;
    groups->setRowTest(
        [ctx](const Table& g) { return permissions::groupVisible(ctx->login.visibleGroups, g.text(QStringLiteral("KOD"))); });
    groups->open();
    return groups;
}

}  // namespace

TDMZajDod::TDMZajDod(RunContext& context, QObject* parent)
    : TDMDane(context, QStringLiteral("TDMZajDod"), parent)
{
    // The first data set is the window's own.
    addDataSet(QStringLiteral("Zajdod"), QStringLiteral("ZAJDOD"), QStringLiteral("KOLEJ"));
    addDataSet(QStringLiteral("Zajdat"), QStringLiteral("ZAJDAT"), QStringLiteral("ZAJECIE;ODDATY"));
    addDataSet(QStringLiteral("Zajodb"), QStringLiteral("ZAJODB"), QStringLiteral("ZAJECIE;DATA;KLASA;ID"));
    addDataSet(QStringLiteral("Dziezaj"), QStringLiteral("DZIEZAJ"), QStringLiteral("ZAJECIE;OSOBA;ODDATY"));
    addDataSet(QStringLiteral("Dzieci"), QStringLiteral("DZIECI"), QStringLiteral("NAZWA"));
    setUpClasses();
    setUpSchedule();
    setUpHeldClasses();
    setUpDeclarations();
    applyFunctions();
}

QString TDMZajDod::inUseHeading()
{
    return QStringLiteral("Nie można skasować zajęcia dodatkowego, gdyż występuje ono w:");
}

QString TDMZajDod::scheduleTimesRefusal()
{
    return QStringLiteral("Czas przyjścia") + QStringLiteral(" nie może być większy niż ") + QStringLiteral("Czas wyjścia");
}

// ---- classes -------------------------------------------------------------------

void TDMZajDod::setUpClasses()
{
    RunContext& ctx = context();
    Database& db = ctx.db();
    DataSet& ds = classes();
    Table& t = *ds.table;
    m_noticeDeadline = db.hasColumn(QStringLiteral("ZAJDOD"), QStringLiteral("ZGLOSZG"));

    Table* groups = groupNames(context(), this);
    t.addLookupField(FieldDef::of(QStringLiteral("KLASANAZWA"), FieldType::String, 30), kKlasa, groups, kKod,
                     QStringLiteral("NAZWA"));
    t.addCalculatedField(FieldDef::of(QStringLiteral("CAPTION"), FieldType::String, 40));
    t.events().onCalcFields = [](Table& row) { row.setCalculated(QStringLiteral("CAPTION"), row.value(QStringLiteral("NAZWA"))); };

    RunContext* c = &ctx;
    t.setRowTest([c](const Table& row) {
        return permissions::extraClassInRegister(c->login.functions, c->login.visibleGroups, row.text(kKlasa),
                                                 row.text(kKod));
    });
    t.events().onNewRecord = [this, groups](Table& row) {
        groups->refresh();  // groups added since the window opened
        const QVariant group = defaultGroup();
        if (group.isValid())
            row.setValue(kKlasa, group);
    };
    t.events().beforePost = [](Table& row) { display_order::assignOnInsert(row); };
    t.events().beforeDelete = [this](Table& row) { checkDeletion(row.value(kKod)); };
    FieldView name = FieldView::column(QStringLiteral("NAZWA"), QStringLiteral("Nazwa"));
    name.role = roles::search();
    FieldView group = FieldView::column(QStringLiteral("KLASANAZWA"), QStringLiteral("Grupa"));
    group.role = roles::filter();
    ds.fields = {name, group};
    if (m_noticeDeadline)
        ds.fields << FieldView::formatted(QStringLiteral("ZGLOSZG"), QStringLiteral("Zgł. nieobec. do"), TDMBaza::timeFormat());
    ds.fields << FieldView::hidden(QStringLiteral("KOLEJ"), QStringLiteral("Kolejność"));

    Command terms =
        Command::make(QStringLiteral("Terminy1"), QStringLiteral("Terminy"), QStringLiteral("Terminy"), true);
    terms.handler = [this] { openDetail(schedule(), QStringLiteral("Terminy1")); };
    Command held = Command::make(QStringLiteral("Odbytezajecia1"), QStringLiteral("Odbyte zajęcia"),
                                 QStringLiteral("Odbyte zajęcia"), true);
    held.handler = [this] { openDetail(heldClasses(), QStringLiteral("Odbytezajecia1")); };
    Command declared = Command::make(QStringLiteral("Zapisanedzieci1"), QStringLiteral("Zapisane dzieci"),
                                     QStringLiteral("Zapisane dzieci"), true);
    declared.handler = [this] { openDetail(declarations(), QStringLiteral("Zapisanedzieci1")); };
    ds.commands = {display_order::moveUpCommand(ctx, ds), display_order::moveDownCommand(ctx, ds), terms, held,
                   declared};
}

QVariant TDMZajDod::defaultGroup() const
{
    const QStringList& visible = context().login.visibleGroups;
    if (visible.contains(QStringLiteral("-1")))
        return {};
    // The first group of the user's in the groups' own order.
    Query q(context().db(), QStringLiteral("SELECT KOD FROM KLASY ORDER BY KOLEJ, KOD"));
    q.exec();
    while (q.next())
        if (permissions::groupVisible(visible, q.value(0).toString()))
            return q.value(0);
    return {};
}

void TDMZajDod::checkDeletion(const QVariant& code)
{
    const QString lines = inUseLines(context().db(),
                                     {{QStringLiteral("T"), QStringLiteral("ZAJDAT"), kZajecie,
                                       QStringLiteral("\r\n- określeniu dat odbywania")},
                                      {QStringLiteral("D"), QStringLiteral("DZIEZAJ"), kZajecie,
                                       QStringLiteral("\r\n- przypisaniach do dzieci")},
                                      {QStringLiteral("O"), QStringLiteral("ZAJODB"), kZajecie,
                                       QStringLiteral("\r\n- odbytych zajęciach")}},
                                     code);
    if (!lines.isEmpty())
        throw Error(inUseHeading() + lines);
}

// ---- the detail lists --------------------------------------------------------------

void TDMZajDod::setUpSchedule()
{
    DataSet& ds = schedule();
    Table& t = *ds.table;
    Database& db = context().db();

    auto* weekdays = new Table(db, QStringLiteral("KODY"), this);
    weekdays->setOrdering(QStringLiteral("RODZAJ;TYP"));
    weekdays->setRange({QStringLiteral("dnityg")}, {QStringLiteral("dnityg")});
    weekdays->open();
    t.addLookupField(FieldDef::of(QStringLiteral("DZIENTYGNAZWA"), FieldType::String, 20), QStringLiteral("DZIENTYG"),
                     weekdays, QStringLiteral("TYP"), QStringLiteral("NAZWA"));
    t.setMasterLink(classes().table, kKod, kZajecie);
    ds.master = &classes();
    context().filterBySystemDate(t);
    t.events().onNewRecord = [this](Table& row) {
        saveClassFirst(row);
        Table& c = *classes().table;
        if (!c.isEmpty())
            row.setValue(kZajecie, c.value(kKod));
    };
    t.events().beforePost = [](Table& row) {
        const QString p = QStringLiteral("CZASP");
        const QString w = QStringLiteral("CZASW");
        if (!row.isNull(p) && !row.isNull(w) && row.asTime(w) < row.asTime(p))
            throw Error(scheduleTimesRefusal());
    };
    ds.fields = {
        FieldView::formatted(QStringLiteral("ODDATY"), QStringLiteral("Od daty"), kDateFormat),
        FieldView::formatted(QStringLiteral("DODATY"), QStringLiteral("Do daty"), kDateFormat),
        FieldView::column(QStringLiteral("DZIENTYGNAZWA"), QStringLiteral("Dzień tyg.")),
        FieldView::formatted(QStringLiteral("CZASP"), QStringLiteral("Czas przyjścia"), TDMBaza::timeFormat()),
        FieldView::formatted(QStringLiteral("CZASW"), QStringLiteral("Czas wyjścia"), TDMBaza::timeFormat()),
    };
}

void TDMZajDod::setUpHeldClasses()
{
    DataSet& ds = heldClasses();
    Table& t = *ds.table;
    t.setMasterLink(classes().table, kKod, kZajecie);
    ds.master = &classes();
    t.events().onNewRecord = [this](Table& row) {
        saveClassFirst(row);
        Table& c = *classes().table;
        if (!c.isEmpty())
            row.setValue(kZajecie, c.value(kKod));
    };
    heldclasses::installRules(ds, context(), heldclasses::Window::ExtraClasses);
    // Reloaded for another class, the list shows that class's last held
    // class; moves within one class's rows stay where the user put them.
    t.events().afterScroll = [this](Table& row) {
        if (!row.isEditing())
            showLastHeldClass();
    };
}

void TDMZajDod::setUpDeclarations()
{
    RunContext* ctx = &context();

    // The children picker: the children of the user's groups.
    DataSet& kids = children();
    Table& k = *kids.table;
    Table* groups = groupNames(context(), this);
    k.addLookupField(FieldDef::of(QStringLiteral("KLASANAZWA"), FieldType::String, 30), kKlasa, groups, kKod,
                     QStringLiteral("NAZWA"));
    k.addCalculatedField(FieldDef::of(QStringLiteral("CAPTION"), FieldType::String, 200));
    k.events().onCalcFields = [](Table& row) {
        row.setCalculated(QStringLiteral("CAPTION"),
                          childCaption(row.text(QStringLiteral("NAZWA")), row.text(QStringLiteral("ULICA")),
                                       row.text(QStringLiteral("PESEL"))));
    };
    k.setRowTest([ctx](const Table& row) { return permissions::groupVisible(ctx->login.visibleGroups, row.text(kKlasa)); });
    FieldView kidName = FieldView::column(QStringLiteral("NAZWA"), QStringLiteral("Nazwisko i imię"));
    kidName.role = roles::search();
    FieldView kidGroup = FieldView::column(QStringLiteral("KLASANAZWA"), QStringLiteral("Grupa"));
    kidGroup.role = roles::filter();
    kids.fields = {kidName, FieldView::column(QStringLiteral("ULICA"), QStringLiteral("Ulica")),
                   FieldView::column(QStringLiteral("PESEL"), QStringLiteral("PESEL")), kidGroup};
    for (FieldView& f : kids.fields)
        f.readOnly = true;
    k.open();

    DataSet& ds = declarations();
    Table& t = *ds.table;
    t.addLookupField(FieldDef::of(QStringLiteral("DZIECKO"), FieldType::String, 200), QStringLiteral("OSOBA"), &k, kKod,
                     QStringLiteral("CAPTION"));
    t.addLookupField(FieldDef::of(QStringLiteral("DZIECKOGRUPA"), FieldType::String, 30), QStringLiteral("OSOBA"), &k,
                     kKod, QStringLiteral("KLASANAZWA"));
    t.setMasterLink(classes().table, kKod, kZajecie);
    ds.master = &classes();
    t.addLookupField(FieldDef::of(QStringLiteral("DZIECKOKOD"), FieldType::Integer), QStringLiteral("OSOBA"), &k, kKod,
                     kKod);
    // Declarations of children the user does not see stay hidden with them;
    // dated rows far from the system date as in the children register.
    t.setRowTest([ctx](const Table& row) {
        return !row.isNull(QStringLiteral("DZIECKOKOD"))
            && ctx->passesSystemDateFilter(row.asDate(QStringLiteral("ODDATY")), row.asDate(QStringLiteral("DODATY")));
    });
    Table* picker = &k;
    t.events().onNewRecord = [this, picker](Table& row) {
        saveClassFirst(row);
        picker->refresh();  // children added since the window opened
        Table& c = *classes().table;
        if (!c.isEmpty())
            row.setValue(kZajecie, c.value(kKod));
    };
    t.events().beforePost = [](Table& row) {
        // A declaration stands for a child; without one it would count for nobody.
        if (row.isNull(QStringLiteral("OSOBA")))
            throw Error(QStringLiteral("Pole \"Dziecko\" musi posiadać wartość"));
    };
    FieldView child = FieldView::column(QStringLiteral("DZIECKO"), QStringLiteral("Dziecko"));
    child.role = roles::search();
    FieldView group = FieldView::column(QStringLiteral("DZIECKOGRUPA"), QStringLiteral("Grupa"));
    group.readOnly = true;
    ds.fields = {child, group, FieldView::formatted(QStringLiteral("ODDATY"), QStringLiteral("Od daty"), kDateFormat),
                 FieldView::formatted(QStringLiteral("DODATY"), QStringLiteral("Do daty"), kDateFormat)};
}

void TDMZajDod::saveClassFirst()
{
    Table& c = *classes().table;
    if (c.state() == Table::State::Insert)
        c.post();
}

void TDMZajDod::saveClassFirst(Table& detail)
{
    Table& c = *classes().table;
    saveMasterFirst(c, detail, kKod, kZajecie, [this, &detail, &c] {
        if (&detail == heldClasses().table)
            m_heldFor = c.value(kKod);
    });
}

void TDMZajDod::openDetail(DataSet& ds, const QString& commandName)
{
    saveClassFirst();
    Command* c = classes().command(commandName);
    if (&ds == &declarations())
        children().table->refresh();  // children added since the window opened
    if (&ds == &heldClasses() && !c->checked) {
        Table& held = *ds.table;
        if (!held.isOpen())
            held.open();
        m_heldFor = QVariant();
        showLastHeldClass();
    }
    browse(ds, c->plainCaption(), c);
}

void TDMZajDod::showLastHeldClass()
{
    Table& c = *classes().table;
    const QVariant current = c.isEmpty() || c.state() == Table::State::Insert ? QVariant() : c.value(kKod);
    if (current == m_heldFor && m_heldFor.isValid())
        return;
    m_heldFor = current;
    heldClasses().table->last();
}
