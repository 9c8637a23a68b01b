#include "tdm_grupy.h"

#include "store/table.h"

namespace {

Command command(const QString& name, const QString& caption, const QString& label, bool wanted = true)
{
    Command c;
    c.name = name;
    c.caption = caption;
    c.label = label;
    c.opensWindow = true;
    c.wanted = wanted;
    return c;
}

}  // namespace

TDMGrupy::TDMGrupy(RunContext& context, QObject* parent) : TDMDane(context, QStringLiteral("TDMGrupy"), parent)
{
    DataSet& groups = addDataSet(QStringLiteral("Grupy"), QStringLiteral("GRUPY"), QStringLiteral("NAZWA"));
    Table& g = *groups.table;
    g.addCalculatedField(FieldDef::of(QStringLiteral("CAPTION"), FieldType::String, 200));
    g.events().onCalcFields = [](Table& t) { t.setCalculated(QStringLiteral("CAPTION"), t.value(QStringLiteral("NAZWA"))); };
    groups.fields = {
        FieldView::column(QStringLiteral("NAZWA"), QStringLiteral("Identyfikator")),
        FieldView::column(QStringLiteral("OPIS"), QStringLiteral("Opis")),
    };

    DataSet& members = addDataSet(QStringLiteral("GrupUzyt"), QStringLiteral("UZGR"), QStringLiteral("KODGR"));
    Table& m = *members.table;
    auto* userNames = new Table(context.db(), QStringLiteral("UZYT"), this);
    userNames->setOrdering(QStringLiteral("NAZWA"));
    userNames->open();
    m.addLookupField(FieldDef::of(QStringLiteral("UZYTKOWNIK"), FieldType::String, 200), QStringLiteral("KODUZ"),
                     userNames, QStringLiteral("KOD"), QStringLiteral("NAZWA"));
    m.addLookupField(FieldDef::of(QStringLiteral("UZYTKOWNIKOPIS"), FieldType::String, 200), QStringLiteral("KODUZ"),
                     userNames, QStringLiteral("KOD"), QStringLiteral("OPIS"));
    m.setMasterLink(&g, QStringLiteral("KOD"), QStringLiteral("KODGR"));
    members.master = &groups;
    members.fields = {
        FieldView::column(QStringLiteral("UZYTKOWNIK"), QStringLiteral("Identyfikator użytkownika")),
        FieldView::column(QStringLiteral("UZYTKOWNIKOPIS"), QStringLiteral("Opis użytkownika"), true),
    };

    groups.commands = {
        command(QStringLiteral("GrupUzyt1"), QStringLiteral("&Użytkownicy grupy"), QStringLiteral("Użytkownicy")),
        command(QStringLiteral("Prawadostepu1"), QStringLiteral("&Prawa dostępu"), QStringLiteral("Prawa"), false),
        command(QStringLiteral("Widocznefunkcje1"), QStringLiteral("Widoczne &funkcje"), QStringLiteral("Funkcje"), false),
        command(QStringLiteral("Widocznegrupydzieci1"), QStringLiteral("Widoczne grupy &dzieci"),
                QStringLiteral("Grupy dzieci"), false),
    };
    groups.commands[0].handler = [this, userNames] {
        userNames->refresh();  // users added since the register opened
        Command* c = this->groups().command(QStringLiteral("GrupUzyt1"));
        browse(memberships(), c->plainCaption(), c);
    };

    applyFunctions();
}
