#include "tdm_uzyt.h"

#include "function_grants.h"
#include "login_flow.h"
#include "rights_descriptors.h"
#include "tdm_ochrona.h"
#include "visible_groups_editor.h"

#include "browser/prompts.h"
#include "store/error.h"
#include "store/password_digest.h"
#include "store/query.h"
#include "store/table.h"

namespace {

Command command(const QString& name, const QString& caption, const QString& label)
{
    Command c;
    c.name = name;
    c.caption = caption;
    c.label = label;
    return c;
}

}  // namespace

TDMUzyt::TDMUzyt(RunContext& context, PasswordDialog passwordDialog, RightsWindowOpener rightsWindow,
                 QObject* parent)
    : TDMDane(context, QStringLiteral("TDMUzyt"), parent),
      m_passwordDialog(std::move(passwordDialog)),
      m_rightsWindow(std::move(rightsWindow))
{
    DataSet& users = addDataSet(QStringLiteral("Uzyt"), QStringLiteral("UZYT"), QStringLiteral("NAZWA"));
    Table& u = *users.table;

    auto* yesNo = new Table(context.db(), QStringLiteral("KODY"), this);
    yesNo->setOrdering(QStringLiteral("RODZAJ;TYP"));
    yesNo->setRange({QStringLiteral("taknie")}, {QStringLiteral("taknie")});
    yesNo->open();
    u.addLookupField(FieldDef::of(QStringLiteral("AKTYWNYTXT"), FieldType::String, 20), QStringLiteral("AKTYWNY"),
                     yesNo, QStringLiteral("TYP"), QStringLiteral("NAZWA"));
    // Detail windows carry the user's name in their titles.
    u.addCalculatedField(FieldDef::of(QStringLiteral("CAPTION"), FieldType::String, 200));
    u.events().onCalcFields = [](Table& t) { t.setCalculated(QStringLiteral("CAPTION"), t.value(QStringLiteral("NAZWA"))); };
    u.events().beforePost = [this](Table& t) { beforePost(t); };
    u.events().afterPost = [this](Table& t) { afterPost(t); };

    users.fields = {
        FieldView::column(QStringLiteral("NAZWA"), QStringLiteral("Identyfikator")),
        FieldView::column(QStringLiteral("OPIS"), QStringLiteral("Opis")),
        FieldView::column(QStringLiteral("TELEFON"), QStringLiteral("Telefon")),
        FieldView::column(QStringLiteral("EMAIL"), QStringLiteral("E-mail")),
        FieldView::column(QStringLiteral("AKTYWNYTXT"), QStringLiteral("Aktywny")),
    };

    DataSet& groups = addDataSet(QStringLiteral("UzytGrup"), QStringLiteral("UZGR"), QStringLiteral("KODUZ"));
    Table& g = *groups.table;
    auto* groupNames = new Table(context.db(), QStringLiteral("GRUPY"), this);
    groupNames->setOrdering(QStringLiteral("NAZWA"));
    groupNames->open();
    g.addLookupField(FieldDef::of(QStringLiteral("GRUPA"), FieldType::String, 200), QStringLiteral("KODGR"), groupNames,
                     QStringLiteral("KOD"), QStringLiteral("NAZWA"));
    g.addLookupField(FieldDef::of(QStringLiteral("GRUPAOPIS"), FieldType::String, 200), QStringLiteral("KODGR"),
                     groupNames, QStringLiteral("KOD"), QStringLiteral("OPIS"));
    g.setMasterLink(&u, QStringLiteral("KOD"), QStringLiteral("KODUZ"));
    groups.master = &users;
    groups.fields = {
        FieldView::column(QStringLiteral("GRUPA"), QStringLiteral("Identyfikator grupy")),
        FieldView::column(QStringLiteral("GRUPAOPIS"), QStringLiteral("Opis grupy"), true),
    };

    Command members = command(QStringLiteral("UzytGrup1"), QStringLiteral("&Grupy użytkownika"), QStringLiteral("Grupy"));
    members.opensWindow = true;
    Command password = command(QStringLiteral("Zmianahasa1"), QStringLiteral("Zmiana &hasła"), QStringLiteral("Hasło"));
    password.handler = [this] { changePassword(); };
    users.commands = {
        members,
        password,
        command(QStringLiteral("Prawadostepu1"), QStringLiteral("&Prawa dostępu"), QStringLiteral("Prawa")),
        command(QStringLiteral("Widocznefunkcje1"), QStringLiteral("Widoczne &funkcje"), QStringLiteral("Funkcje")),
        command(QStringLiteral("Widocznegrupydzieci1"), QStringLiteral("Widoczne grupy &dzieci"),
                QStringLiteral("Grupy dzieci")),
    };
    Command& rightsCommand = users.commands[2];
    rightsCommand.wanted = bool(m_rightsWindow);
    rightsCommand.handler = [this] {
        if (this->users().table->isOpen())
            m_rightsWindow(this->context(), *this->users().table, QLatin1Char('U'));
    };
    users.commands[3].handler = [this] { function_grants::edit(this->context(), *this->users().table); };
    users.commands[4].handler = [this] { visible_groups::edit(this->context(), *this->users().table); };
    // The handler finds its command by name: the list is fixed now.
    users.commands[0].handler = [this, groupNames] {
        groupNames->refresh();  // groups added since the register opened
        Command* c = this->users().command(QStringLiteral("UzytGrup1"));
        browse(memberships(), c->plainCaption(), c);
    };

    applyFunctions();
}

QString TDMUzyt::duplicateNameMessage(const QString& name)
{
    return QStringLiteral("Użytkownik o identyfikatorze \"%1\" już istnieje").arg(name);
}

void TDMUzyt::beforePost(Table& t)
{
    m_inserting = t.state() == Table::State::Insert;
    const QString name = t.text(QStringLiteral("NAZWA"));
    if (name.isEmpty())
        return;  // the required-field check refuses it
    // Names are compared exactly, as the login compares them.
    Query same(context().db(), QStringLiteral("SELECT KOD FROM UZYT WHERE NAZWA = :N"));
    same.bind(QStringLiteral("N"), name).exec();
    const QVariant own = t.value(QStringLiteral("KOD"));
    while (same.next())
        if (own.isNull() || same.value(0).toInt() != own.toInt())
            throw Error(duplicateNameMessage(name));
    // A new user logs in with his name until he chooses a password.
    if (t.isNull(QStringLiteral("HASLO")))
        t.setValue(QStringLiteral("HASLO"), digest::userPassword(name));
}

void TDMUzyt::afterPost(Table& t)
{
    if (!m_inserting)
        return;
    m_inserting = false;
    rights_editing::grantLoginTables(context().db(),
                                     rights_editing::Subject::user(t.value(QStringLiteral("KOD")).toInt()).credential());
}

void TDMUzyt::changePassword()
{
    Table& u = *users().table;
    if (!u.isOpen())
        return;
    // The change is written to the store at once; an unsaved row is saved
    // first so that it exists and the cursor does not hold stale values.
    if (u.isEditing())
        u.post();
    if (u.isEmpty())
        return;
    const QString name = u.text(QStringLiteral("NAZWA"));
    if (m_passwordDialog)
        m_passwordDialog(context(), name);
    else
        askNewPassword(name);
    u.refresh();
}

void TDMUzyt::askNewPassword(const QString& userName)
{
    TDMOchrona security(context().db());
    PasswordChangeFlow flow(security, context().prompts);
    flow.start(userName, false);
    const QString title = QStringLiteral("Autoryzacja - Zmiana hasła");
    for (;;) {
        QString password, repeated;
        if (!context().prompts.askText(title, QStringLiteral("Hasło:"), password, true))
            return;
        if (!context().prompts.askText(title, QStringLiteral("Powtórz hasło:"), repeated, true))
            return;
        const auto outcome = flow.submit(QString(), password, repeated);
        if (outcome == PasswordChangeFlow::Outcome::Closed || outcome == PasswordChangeFlow::Outcome::Aborted)
            return;
    }
}
