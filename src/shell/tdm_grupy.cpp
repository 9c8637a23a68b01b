#include "tdm_grupy.h"

#include "function_grants.h"
#include "rights_descriptors.h"
#include "visible_groups_editor.h"

#include "store/table.h"

namespace {

Command command(const QString& name, const QString& caption, const QString& label, bool opensWindow = false)
{
    Command c;
    c.name = name;
    c.caption = caption;
    c.label = label;
    c.opensWindow = opensWindow;
    return c;
}

}  // namespace

TDMGrupy::TDMGrupy(RunContext& context, RightsWindowOpener rightsWindow, QObject* parent)
    : TDMDane(context, QStringLiteral("TDMGrupy"), parent), m_rightsWindow(std::move(rightsWindow))
{
    DataSet& groups = addDataSet(QStringLiteral("Grupy"), QStringLiteral("GRUPY"), QStringLiteral("NAZWA"));
    Table& g = *groups.table;
    g.addCalculatedField(FieldDef::of(QStringLiteral("CAPTION"), FieldType::String, 200));
    g.events().onCalcFields = [](Table& t) { t.setCalculated(QStringLiteral("CAPTION"), t.value(QStringLiteral("NAZWA"))); };
    g.events().beforePost = [this](Table& t) { m_inserting = t.state() == Table::State::Insert; };
    g.events().afterPost = [this](Table& t) {
        if (!m_inserting)
            return;
        m_inserting = false;
        const int code = t.value(QStringLiteral("KOD")).toInt();
        rights_editing::grantLoginTables(this->context().db(), rights_editing::Subject::group(code).credential());
    };
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
        command(QStringLiteral("GrupUzyt1"), QStringLiteral("&Użytkownicy grupy"), QStringLiteral("Użytkownicy"), true),
        command(QStringLiteral("Prawadostepu1"), QStringLiteral("&Prawa dostępu"), QStringLiteral("Prawa")),
        command(QStringLiteral("Widocznefunkcje1"), QStringLiteral("Widoczne &funkcje"), QStringLiteral("Funkcje")),
        command(QStringLiteral("Widocznegrupydzieci1"), QStringLiteral("Widoczne grupy &dzieci"),
                QStringLiteral("Grupy dzieci")),
    };
    groups.commands[1].wanted = bool(m_rightsWindow);
    groups.commands[1].handler = [this] {
        if (this->groups().table->isOpen())
            m_rightsWindow(this->context(), *this->groups().table, QLatin1Char('G'));
    };
    groups.commands[2].handler = [this] { function_grants::edit(this->context(), *this->groups().table); };
    groups.commands[3].handler = [this] { visible_groups::edit(this->context(), *this->groups().table); };
    groups.commands[0].handler = [this, userNames] {
        userNames->refresh();  // users added since the register opened
        Command* c = this->groups().command(QStringLiteral("GrupUzyt1"));
        browse(memberships(), c->plainCaption(), c);
    };

    applyFunctions();
}
