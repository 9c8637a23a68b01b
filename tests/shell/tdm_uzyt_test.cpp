// The users and user groups registers: unique login names, the password a
// new user starts with, memberships, the change of password and which
// rights commands are offered.

#include "register_fixture.h"

#include "shell/tdm_grupy.h"
#include "shell/tdm_ochrona.h"
#include "shell/tdm_uzyt.h"
#include "store/error.h"
#include "store/password_digest.h"
#include "store/query.h"
#include "store/table.h"

namespace {

class UzytTest : public RegisterTest {
protected:
    int groupCode(const QString& name)
    {
        Query(*db, QStringLiteral("INSERT INTO GRUPY (NAZWA, OPIS) VALUES (:N, :O)"))
            .bind(QStringLiteral("N"), name)
            .bind(QStringLiteral("O"), name + QStringLiteral(" opis"))
            .exec();
        return Query(*db, QStringLiteral("SELECT KOD FROM GRUPY WHERE NAZWA = :N")).bind(QStringLiteral("N"), name).scalar().toInt();
    }
    void addUser(Table& u, const QString& name)
    {
        u.insert();
        u.setValue(QStringLiteral("NAZWA"), name);
        u.setValue(QStringLiteral("OPIS"), QStringLiteral("Opis ") + name);
        u.post();
    }
    QString storedDigest(const QString& name)
    {
        return Query(*db, QStringLiteral("SELECT HASLO FROM UZYT WHERE NAZWA = :N")).bind(QStringLiteral("N"), name).scalar().toString();
    }
    bool logsIn(const QString& name, const QString& password)
    {
        auto conn = store->connect();
        return TDMOchrona(*conn).login(name, password);
    }
};

TEST_P(UzytTest, UniqueNamesAndTheFirstPassword)
{
    TDMUzyt module(context());
    Table& u = *module.users().table;
    u.open();
    addUser(u, QStringLiteral("ola"));
    EXPECT_EQ(storedDigest(QStringLiteral("ola")), digest::userPassword(QStringLiteral("ola")));
    EXPECT_TRUE(logsIn(QStringLiteral("ola"), QStringLiteral("ola")));
    EXPECT_EQ(u.text(QStringLiteral("AKTYWNYTXT")), QStringLiteral("Tak"));

    // A second "ola" is refused and nothing is written; the row stays open.
    u.insert();
    u.setValue(QStringLiteral("NAZWA"), QStringLiteral("ola"));
    u.setValue(QStringLiteral("OPIS"), QStringLiteral("druga"));
    try {
        u.post();
        FAIL() << "a second user of the same name was saved";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Użytkownik o identyfikatorze \"ola\" już istnieje"));
    }
    EXPECT_TRUE(u.isEditing());
    u.setValue(QStringLiteral("NAZWA"), QStringLiteral("Ola"));  // names are exact, as at login
    EXPECT_NO_THROW(u.post());
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT COUNT(*) FROM UZYT WHERE NAZWA = 'ola'")).scalar().toInt(), 1);

    // Renaming onto another user is refused too; saving a user under his own
    // name is not, and a password he has is kept.
    Query(*db, QStringLiteral("UPDATE UZYT SET HASLO = :H WHERE NAZWA = 'ola'"))
        .bind(QStringLiteral("H"), digest::userPassword(QStringLiteral("tajne")))
        .exec();
    u.refresh();
    ASSERT_TRUE(u.locate({QStringLiteral("NAZWA")}, {QStringLiteral("ola")}));
    u.edit();
    u.setValue(QStringLiteral("OPIS"), QStringLiteral("zmieniony"));
    EXPECT_NO_THROW(u.post());
    EXPECT_TRUE(logsIn(QStringLiteral("ola"), QStringLiteral("tajne")));
    ASSERT_TRUE(u.locate({QStringLiteral("NAZWA")}, {QStringLiteral("Ola")}));
    u.edit();
    u.setValue(QStringLiteral("NAZWA"), QStringLiteral("ola"));
    EXPECT_THROW(u.post(), Error);
    u.cancel();

    // An emptied password starts again from the name.
    ASSERT_TRUE(u.locate({QStringLiteral("NAZWA")}, {QStringLiteral("ola")}));
    u.edit();
    u.clear(QStringLiteral("HASLO"));
    u.post();
    EXPECT_TRUE(logsIn(QStringLiteral("ola"), QStringLiteral("ola")));
}

TEST_P(UzytTest, CommandsAndMemberships)
{
    const int teachers = groupCode(QStringLiteral("nauczyciele"));
    const int office = groupCode(QStringLiteral("biuro"));
    TDMUzyt module(context());
    Table& u = *module.users().table;
    u.open();
    addUser(u, QStringLiteral("ewa"));
    Table& g = *module.memberships().table;
    g.open();
    for (int code : {teachers, office}) {
        g.insert();
        g.setValue(QStringLiteral("KODGR"), code);
        g.post();
    }
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT COUNT(*) FROM UZGR WHERE KODUZ = (SELECT KOD FROM UZYT WHERE NAZWA = 'ewa')")).scalar().toInt(), 2);
    QStringList names, descriptions;
    for (g.first(); !g.eof(); g.next()) {
        names << g.text(QStringLiteral("GRUPA"));
        descriptions << g.text(QStringLiteral("GRUPAOPIS"));
    }
    EXPECT_EQ(names, (QStringList{QStringLiteral("nauczyciele"), QStringLiteral("biuro")}));
    EXPECT_EQ(descriptions.first(), QStringLiteral("nauczyciele opis"));

    // Captions as in the function table; the rights window is offered only
    // where there is one (not here).
    for (const Command& c : module.users().commands) {
        const auto entry = std::find_if(functions::table().begin(), functions::table().end(),
                                        [&](const functions::Entry& e) { return e.identifier == QStringLiteral("TDMUzyt.") + c.name; });
        if (entry != functions::table().end()) {
            EXPECT_EQ(entry->caption, c.caption) << c.name.toStdString();
        }
    }
    const QStringList editors{QStringLiteral("Widoczne &funkcje"), QStringLiteral("Widoczne grupy &dzieci")};
    EXPECT_EQ(shownCaptions(module.users()),
              QStringList({QStringLiteral("&Grupy użytkownika"), QStringLiteral("Zmiana &hasła")}) + editors);
    context().login.functions = {QStringLiteral("Uzytkownicy")};
    module.applyFunctions();
    EXPECT_EQ(shownCaptions(module.users()), (QStringList{QStringLiteral("&Grupy użytkownika"), QStringLiteral("Zmiana &hasła")}));
    context().login.functions = {QStringLiteral("Prawa dostepu")};
    module.applyFunctions();
    EXPECT_EQ(shownCaptions(module.users()), QStringList{QStringLiteral("Zmiana &hasła")} + editors);
    TDMUzyt withWindow(context(), {}, [](RunContext&, Table&, QChar) {});
    EXPECT_EQ(shownCaptions(withWindow.users()),
              QStringList({QStringLiteral("Zmiana &hasła"), QStringLiteral("&Prawa dostępu")}) + editors);

    // The detail window opens owned by its command and closes when chosen again.
    Command* members = module.users().command(QStringLiteral("UzytGrup1"));
    members->handler();
    ASSERT_EQ(opener.open().size(), 1);
    EXPECT_EQ(opener.open()[0].dataSet, &module.memberships());
    EXPECT_EQ(opener.open()[0].owner, members);
    EXPECT_EQ(module.memberships().master, &module.users());
    EXPECT_EQ(u.text(QStringLiteral("CAPTION")), QStringLiteral("ewa"));
    members->handler();
    EXPECT_EQ(opener.log(), (QStringList{QStringLiteral("opened Grupy użytkownika"), QStringLiteral("closed Grupy użytkownika")}));
}

TEST_P(UzytTest, ChangeOfPassword)
{
    QStringList asked;
    TDMUzyt withDialog(context(), [&](RunContext&, const QString& name) { asked << name; });
    Table& u = *withDialog.users().table;
    u.open();
    addUser(u, QStringLiteral("ewa"));
    // An unsaved new user is saved first: the dialog changes a stored row.
    u.insert();
    u.setValue(QStringLiteral("NAZWA"), QStringLiteral("jan"));
    u.setValue(QStringLiteral("OPIS"), QStringLiteral("Jan"));
    withDialog.users().command(QStringLiteral("Zmianahasa1"))->handler();
    EXPECT_EQ(asked, QStringList{QStringLiteral("jan")});
    EXPECT_FALSE(u.isEditing());
    EXPECT_FALSE(storedDigest(QStringLiteral("jan")).isEmpty());

    // Without the desktop's dialog the prompts ask; the old password is not asked.
    TDMUzyt module(context());
    Table& t = *module.users().table;
    t.open();
    ASSERT_TRUE(t.locate({QStringLiteral("NAZWA")}, {QStringLiteral("ewa")}));
    const QString title = QStringLiteral("Autoryzacja - Zmiana hasła");
    prompts.expectText(title, QStringLiteral("Hasło:"), QStringLiteral("abc"));
    prompts.expectText(title, QStringLiteral("Powtórz hasło:"), QStringLiteral("abd"));
    prompts.expectText(title, QStringLiteral("Hasło:"), QStringLiteral("abc"));
    prompts.expectText(title, QStringLiteral("Powtórz hasło:"), QStringLiteral("abc"));
    module.users().command(QStringLiteral("Zmianahasa1"))->handler();
    EXPECT_TRUE(prompts.done());
    EXPECT_EQ(prompts.shown(), QStringList{QStringLiteral("Wprowadzone hasła nie są identyczne")});
    EXPECT_TRUE(logsIn(QStringLiteral("ewa"), QStringLiteral("abc")));
    // The cursor saw the change: editing the row afterwards is no conflict.
    t.edit();
    t.setValue(QStringLiteral("TELEFON"), QStringLiteral("123"));
    EXPECT_NO_THROW(t.post());
    EXPECT_TRUE(logsIn(QStringLiteral("ewa"), QStringLiteral("abc")));
}

TEST_P(UzytTest, GroupsRegister)
{
    const int office = groupCode(QStringLiteral("biuro"));
    Query(*db, QStringLiteral("INSERT INTO UZYT (NAZWA, OPIS) VALUES ('ewa', 'Ewa K.')")).exec();
    TDMGrupy module(context());
    Table& g = *module.groups().table;
    g.open();
    ASSERT_TRUE(g.locate({QStringLiteral("KOD")}, {office}));
    Table& m = *module.memberships().table;
    m.open();
    m.insert();
    m.setValue(QStringLiteral("KODUZ"), Query(*db, QStringLiteral("SELECT KOD FROM UZYT WHERE NAZWA = 'ewa'")).scalar());
    m.post();
    EXPECT_EQ(m.text(QStringLiteral("UZYTKOWNIK")), QStringLiteral("ewa"));
    EXPECT_EQ(m.text(QStringLiteral("UZYTKOWNIKOPIS")), QStringLiteral("Ewa K."));
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT KODGR FROM UZGR")).scalar().toInt(), office);
    EXPECT_EQ(shownCaptions(module.groups()), (QStringList{QStringLiteral("&Użytkownicy grupy"), QStringLiteral("Widoczne &funkcje"),
                                                          QStringLiteral("Widoczne grupy &dzieci")}));
    module.groups().command(QStringLiteral("GrupUzyt1"))->handler();
    EXPECT_EQ(opener.log(), QStringList{QStringLiteral("opened Użytkownicy grupy")});
}

INSTANTIATE_ENGINES(UzytTest);

}  // namespace
