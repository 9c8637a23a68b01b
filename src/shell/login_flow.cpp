#include "login_flow.h"

#include "tdm_ochrona.h"

#include "browser/prompts.h"
#include "store/database.h"
#include "store/error.h"

bool LoginFlow::prepare()
{
    if (!m_prepare)
        return true;
    try {
        m_prepare();
    } catch (const Error& e) {
        m_prompts.showError(e.message());
        return false;
    }
    m_prepare = nullptr;
    return true;
}

LoginFlow::Outcome LoginFlow::submit(const QString& name, const QString& password)
{
    if (!prepare())
        return Outcome::EndProgram;
    if (m_security.login(name, password))
        return Outcome::Accepted;
    const bool last = --m_attempts <= 0;
    if (last)
        m_prompts.showError(QStringLiteral("Autoryzacja negatywna\nAplikacja zostanie zamknięta"));
    m_prompts.showError(QStringLiteral("Autoryzacja negatywna"));
    return last ? Outcome::EndProgram : Outcome::TryAgain;
}

void LoginFlow::abandon()
{
    m_security.database().setCredentials({});
}

void PasswordChangeFlow::start(const QString& userName, bool checkOld)
{
    m_user = userName;
    m_checkOld = checkOld;
    m_attempts = 5;
}

PasswordChangeFlow::Outcome PasswordChangeFlow::submit(const QString& oldPassword, const QString& password,
                                                       const QString& repeated)
{
    if (password.isEmpty() && repeated.isEmpty()) {
        m_prompts.showError(QStringLiteral("Użytkownik musi miec określone hasło"));
        return Outcome::ClearNew;
    }
    if (password != repeated) {
        m_prompts.showError(QStringLiteral("Wprowadzone hasła nie są identyczne"));
        return Outcome::ClearNew;
    }
    const auto result = m_security.changePassword(m_user, oldPassword, password, m_checkOld);
    if (result == TDMOchrona::PasswordChange::Changed)
        return Outcome::Closed;
    if (result == TDMOchrona::PasswordChange::WrongOldPassword)
        m_prompts.showError(QStringLiteral("Błędne stare hasło"));
    return --m_attempts <= 0 ? Outcome::Aborted : Outcome::ClearAll;
}
