#include "tdm_wychow.h"

#include "child_caption.h"

#include "browser/prompts.h"
#include "shell/access_rules.h"
#include "store/database.h"
#include "store/error.h"
#include "store/query.h"
#include "store/table.h"
#include "store/values.h"

#include "display_order.h"

namespace {

FieldView column(const QString& name, const QString& caption, bool visible = true)
{
    FieldView v = FieldView::column(name, caption);
    v.visible = visible;
    return v;
}

bool nonZeroGroup(const QVariant& v)
{
    return !values::isEmpty(v) && v.toInt() != 0;
}

}  // namespace

TDMWychow::TDMWychow(RunContext& context, QObject* parent)
    : TDMDane(context, QStringLiteral("TDMWychow"), parent),
      m_groupChange(context, QStringLiteral("WYCHKLA"))
{
    Database& db = context.db();
    RunContext* ctx = &context;
    auto* groups = new Table(db, QStringLiteral("KLASY"), this);
    groups->setOrdering(QStringLiteral("KOLEJ"));
    groups->setRowTest([ctx](const Table& g) {
        return permissions::groupVisible(ctx->login.visibleGroups, g.text(QStringLiteral("KOD")));
    });
    groups->open();

    DataSet& ds = addDataSet(QStringLiteral("Wychow"), QStringLiteral("WYCHOW"), QStringLiteral("AKTYWNY;NAZWA"));
    Table& w = *ds.table;
    w.addLookupField(FieldDef::of(QStringLiteral("KLASANAZWA"), FieldType::String, 30), QStringLiteral("KLASA"), groups,
                     QStringLiteral("KOD"), QStringLiteral("NAZWA"));
    w.addCalculatedField(FieldDef::of(QStringLiteral("CAPTION"), FieldType::String, 200));
    w.events().onCalcFields = [](Table& t) {
        t.setCalculated(QStringLiteral("CAPTION"), childCaption(t.text(QStringLiteral("NAZWA")),
                                                                t.text(QStringLiteral("ULICA")),
                                                                t.text(QStringLiteral("PESEL"))));
    };
    w.setRowTest([this, ctx](const Table& t) {
        if (!permissions::groupVisible(ctx->login.visibleGroups, t.text(QStringLiteral("KLASA"))))
            return false;
        return m_showInactive || t.text(QStringLiteral("AKTYWNY")) == QLatin1String("T");
    });
    w.events().onNewRecord = [groups](Table& t) {
        groups->refresh();
        if (groups->isEmpty())
            return;
        groups->first();
        // The inactive group is no place for a new educator.
        if (groups->asInt(QStringLiteral("KOD")) == 0) {
            if (groups->rowCount() < 2)
                return;
            groups->next();
        }
        t.setValue(QStringLiteral("KLASA"), groups->value(QStringLiteral("KOD")));
    };
    w.events().beforeEdit = [this](Table& t) {
        m_groupBeforeEdit = t.value(QStringLiteral("KLASA"));
    };
    w.events().onFieldChange = [this](Table& t, const QString& field) {
        if (field.compare(QStringLiteral("KLASA"), Qt::CaseInsensitive) == 0 && t.state() == Table::State::Edit)
            groupChanged(t);
    };
    w.events().beforePost = [](Table& t) {
        t.setValue(QStringLiteral("AKTYWNY"),
                   nonZeroGroup(t.value(QStringLiteral("KLASA"))) ? QStringLiteral("T") : QStringLiteral("N"));
    };
    w.events().beforeDelete = [this](Table& t) {
        const QString lines = inUseLines(this->context().db(),
                                         {{QStringLiteral("K"), QStringLiteral("WYCHKLA"), QStringLiteral("OSOBA"),
                                           QStringLiteral("\r\n- poprzednich grupach")}},
                                         t.value(QStringLiteral("KOD")));
        if (!lines.isEmpty())
            throw Error(inUseHeading() + lines);
    };

    const QString* dane = context.params.wychowawcyDane;
    ds.fields = {
        column(QStringLiteral("NAZWA"), QStringLiteral("Nazwisko i imię")),
        column(QStringLiteral("PRZEDUL"), QStringLiteral("Przedrostek")),
        column(QStringLiteral("ULICA"), QStringLiteral("Ulica")),
        column(QStringLiteral("KODPOCZ"), QStringLiteral("Kod pocztowy")),
        column(QStringLiteral("MIASTO"), QStringLiteral("Miasto")),
        column(QStringLiteral("PESEL"), QStringLiteral("PESEL")),
        column(QStringLiteral("KLASANAZWA"), QStringLiteral("Grupa")),
        column(QStringLiteral("TELEFON"), QStringLiteral("Telefon")),
        column(QStringLiteral("EMAIL"), QStringLiteral("E-mail")),
        column(QStringLiteral("NAZWAKOR"), QStringLiteral("Nazwa do korespondencji")),
        column(QStringLiteral("PRZEDULKOR"), QStringLiteral("Przedrostek do korespondencji")),
        column(QStringLiteral("ULICAKOR"), QStringLiteral("Ulica do korespondencji")),
        column(QStringLiteral("KODPOCZKOR"), QStringLiteral("Kod pocztowy do korespondencji")),
        column(QStringLiteral("MIASTOKOR"), QStringLiteral("Miasto do korespondencji")),
        // Free fields are shown only under the caption the parameters give them.
        column(QStringLiteral("DANE1"), dane[0], !dane[0].isEmpty()),
        column(QStringLiteral("DANE2"), dane[1], !dane[1].isEmpty()),
        column(QStringLiteral("AKTYWNY"), QStringLiteral("Aktywny"), false),
    };
    ds.fields[0].role = roles::search();

    DataSet& hist = addDataSet(QStringLiteral("Wychkla"), QStringLiteral("WYCHKLA"), QStringLiteral("OSOBA;DODATY"));
    auto* allGroups = new Table(db, QStringLiteral("KLASY"), this);
    allGroups->setOrdering(QStringLiteral("KOLEJ"));
    allGroups->open();
    hist.table->addLookupField(FieldDef::of(QStringLiteral("KLASANAZWA"), FieldType::String, 30), QStringLiteral("KLASA"),
                               allGroups, QStringLiteral("KOD"), QStringLiteral("NAZWA"));
    hist.table->setMasterLink(&w, QStringLiteral("KOD"), QStringLiteral("OSOBA"));
    hist.master = &ds;
    FieldView until = column(QStringLiteral("DODATY"), QStringLiteral("Do daty"));
    until.displayFormat = QStringLiteral("dd.MM.yyyy");
    hist.fields = {until, column(QStringLiteral("KLASANAZWA"), QStringLiteral("Grupa")),
                   column(QStringLiteral("UWAGI"), QStringLiteral("Uwagi"))};

    Command inactive;
    inactive.name = QStringLiteral("Pokaznieaktywnych1");
    inactive.caption = QStringLiteral("Pokaż &nieaktywnych");
    inactive.label = QStringLiteral("Nieaktywni");
    inactive.handler = [this] { toggleInactive(); };
    Command previous;
    previous.name = QStringLiteral("Klasy1");
    previous.caption = QStringLiteral("Poprzednie grupy");
    previous.label = QStringLiteral("Pop. grupy");
    previous.opensWindow = true;
    previous.handler = [this] {
        Command* c = educators().command(QStringLiteral("Klasy1"));
        browse(history(), c->plainCaption(), c);
    };
    ds.commands = {inactive, previous};
    applyFunctions();
}

QString TDMWychow::inUseHeading()
{
    return QStringLiteral("Nie można skasować wychowawcy, gdyż występuje on w:");
}

void TDMWychow::toggleInactive()
{
    Table& w = *educators().table;
    m_showInactive = !m_showInactive;
    if (Command* c = educators().command(QStringLiteral("Pokaznieaktywnych1")))
        c->checked = m_showInactive;
    if (!m_showInactive && !w.ordering().toUpper().startsWith(QStringLiteral("AKTYWNY")))
        w.setOrdering(QStringLiteral("AKTYWNY;NAZWA"));
    if (w.isOpen())
        w.refresh();
}

void TDMWychow::groupChanged(Table& t)
{
    // Back to the group the edit began with: nothing has changed.
    if (values::same(t.value(QStringLiteral("KLASA")), m_groupBeforeEdit))
        return;
    if (m_groupChange.saveChange(t, m_groupBeforeEdit, context().systemDate()) && history().table->isOpen())
        history().table->refresh();
}
