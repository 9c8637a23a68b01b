// The dialogs' rules: five attempts, the exact messages, and the
// administrator's web password.

#include "shell/admin_web_password.h"
#include "shell/login_flow.h"
#include "shell/tdm_ochrona.h"
#include "store/institution.h"
#include "store/password_digest.h"
#include "store/query.h"
#include "store/tdm_baza.h"
#include "support/scripted_prompts.h"
#include "support/store_fixture.h"

#include <QTemporaryDir>

namespace {

class LoginFlowTest : public EngineTest {};

TEST_P(LoginFlowTest, FiveFailedAttemptsEndTheProgram)
{
    auto conn = store->connect();
    TDMOchrona security(*conn);
    ScriptedPrompts prompts;
    LoginFlow flow(security, prompts);
    flow.start();
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(flow.submit(QStringLiteral("admin"), QStringLiteral("zle")), LoginFlow::Outcome::TryAgain);
    EXPECT_EQ(flow.submit(QStringLiteral("admin"), QStringLiteral("tebov")), LoginFlow::Outcome::Accepted);
    flow.start();  // a new showing counts from five again
    for (int i = 0; i < 4; ++i)
        flow.submit(QStringLiteral("admin"), QString());
    EXPECT_EQ(flow.submit(QStringLiteral("admin"), QString()), LoginFlow::Outcome::EndProgram);
    QStringList expected;
    for (int i = 0; i < 8; ++i)
        expected << QStringLiteral("Autoryzacja negatywna");
    expected << QStringLiteral("Autoryzacja negatywna\nAplikacja zostanie zamknięta") << QStringLiteral("Autoryzacja negatywna");
    EXPECT_EQ(prompts.shown(), expected);
    EXPECT_TRUE(conn->credentials().isEmpty());
    flow.abandon();
    EXPECT_TRUE(conn->credentials().isEmpty());
}

TEST_P(LoginFlowTest, ChangingAPasswordThroughTheDialog)
{
    auto conn = store->connect();
    TDMOchrona security(*conn);
    ASSERT_TRUE(security.login(QStringLiteral("admin"), QStringLiteral("tebov")));
    ScriptedPrompts prompts;
    PasswordChangeFlow flow(security, prompts);
    flow.start(QStringLiteral("admin"), true);
    EXPECT_EQ(flow.submit(QStringLiteral("tebov"), QString(), QString()), PasswordChangeFlow::Outcome::ClearNew);
    EXPECT_EQ(flow.submit(QStringLiteral("tebov"), QStringLiteral("a"), QStringLiteral("b")),
              PasswordChangeFlow::Outcome::ClearNew);
    EXPECT_EQ(flow.submit(QStringLiteral("zle"), QStringLiteral("nowe"), QStringLiteral("nowe")),
              PasswordChangeFlow::Outcome::ClearAll);
    EXPECT_EQ(flow.submit(QStringLiteral("tebov"), QStringLiteral("nowe"), QStringLiteral("nowe")),
              PasswordChangeFlow::Outcome::Closed);
    EXPECT_EQ(prompts.shown(), (QStringList{QStringLiteral("Użytkownik musi miec określone hasło"),
                                            QStringLiteral("Wprowadzone hasła nie są identyczne"),
                                            QStringLiteral("Błędne stare hasło")}));
    EXPECT_TRUE(security.login(QStringLiteral("admin"), QStringLiteral("nowe")));

    // The service account has no row: five changes fail quietly and close the dialog.
    flow.start(QString(), false);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(flow.submit(QString(), QStringLiteral("x"), QStringLiteral("x")), PasswordChangeFlow::Outcome::ClearAll);
    EXPECT_EQ(flow.submit(QString(), QStringLiteral("x"), QStringLiteral("x")), PasswordChangeFlow::Outcome::Aborted);
}

TEST_P(LoginFlowTest, AdministratorWebPassword)
{
    Institution inst;
    inst.clientNumber = 57;
    auto stored = [&] { return Query(*db, QStringLiteral("SELECT HASLO FROM OPCJE")).scalar().toString(); };
    {
        ScriptedPrompts prompts;
        prompts.expectText(QStringLiteral("Hasło w internecie"), QStringLiteral("Hasło"), QStringLiteral("Łódź"));
        prompts.expectInfo(QStringLiteral("Dodano dostęp przez internet\nIdentyfikator: 57-0\nHasło: Łódź"));
        prompts.expectYesNo(QStringLiteral("Wysłać poprawkę na serwer internetowy?"), false);
        setAdministratorWebPassword(*db, prompts, inst);
    }
    EXPECT_EQ(stored(), digest::internetPassword(QStringLiteral("Łódź")));
    EXPECT_EQ(stored(), stored().toLower());
    {
        // Confirming the mask as it stands keeps the password.
        ScriptedPrompts prompts;
        prompts.expectText(QStringLiteral("Hasło w internecie"), QStringLiteral("Hasło"), QStringLiteral("******"));
        setAdministratorWebPassword(*db, prompts, inst);
    }
    EXPECT_EQ(stored(), digest::internetPassword(QStringLiteral("Łódź")));
    {
        ScriptedPrompts prompts;
        prompts.expectText(QStringLiteral("Hasło w internecie"), QStringLiteral("Hasło"), QString());
        prompts.expectInfo(QStringLiteral("Odebrano dostęp przez internet"));
        prompts.expectYesNo(QStringLiteral("Wysłać poprawkę na serwer internetowy?"), true);
        bool sent = false;
        setAdministratorWebPassword(*db, prompts, inst, [&] { sent = true; });
        EXPECT_TRUE(sent);
    }
    EXPECT_TRUE(stored().isEmpty());
}

// The dialog may be on the screen before the store is open: what is typed
// waits for the store, and a store that cannot be opened ends the program.
TEST_P(LoginFlowTest, TheStoreOpensBeforeTheFirstLoginReadsIt)
{
    TDMBaza baza(store->location(), TDMBaza::Opening::Later);
    EXPECT_FALSE(baza.isOpen());
    TDMOchrona security(baza.database());
    ScriptedPrompts prompts;
    LoginFlow flow(security, prompts);
    int opened = 0;
    flow.setPreparation([&] {
        ++opened;
        baza.open();
    });
    flow.start();
    EXPECT_EQ(flow.submit(QStringLiteral("admin"), QStringLiteral("zle")), LoginFlow::Outcome::TryAgain);
    EXPECT_TRUE(baza.isOpen());
    EXPECT_EQ(flow.submit(QStringLiteral("admin"), QStringLiteral("tebov")), LoginFlow::Outcome::Accepted);
    EXPECT_TRUE(flow.prepare());
    EXPECT_EQ(opened, 1);

    QTemporaryDir empty;
    TDMBaza missing(StoreLocation::parse(empty.path()), TDMBaza::Opening::Later);
    TDMOchrona nobody(missing.database());
    ScriptedPrompts told;
    LoginFlow refused(nobody, told);
    refused.setPreparation([&] { missing.open(); });
    refused.start();
    EXPECT_EQ(refused.submit(QStringLiteral("admin"), QStringLiteral("tebov")), LoginFlow::Outcome::EndProgram);
    ASSERT_EQ(told.shown().size(), 1);
    EXPECT_TRUE(told.shown().first().startsWith(QStringLiteral("Nie znaleziono bazy danych w folderze")));
    EXPECT_FALSE(missing.isOpen());
}

INSTANTIATE_ENGINES(LoginFlowTest);

}  // namespace
