#include "admin_web_password.h"

#include "browser/prompts.h"
#include "store/institution.h"
#include "store/password_digest.h"
#include "store/query.h"
#include "store/values.h"

void setAdministratorWebPassword(Database& db, Prompts& prompts, const Institution& institution,
                                 const std::function<void()>& send)
{
    const QString preset = QStringLiteral("******");
    const bool hadPassword = !values::isEmpty(Query(db, QStringLiteral("SELECT HASLO FROM OPCJE")).scalar());
    QString answer = hadPassword ? preset : QString();
    if (!prompts.askText(QStringLiteral("Hasło w internecie"), QStringLiteral("Hasło"), answer, true))
        return;
    // Confirming the untouched mask keeps the password it stands for.
    if (hadPassword && answer == preset)
        return;
    Query(db, QStringLiteral("UPDATE OPCJE SET HASLO = :H"))
        .bind(QStringLiteral("H"), answer.isEmpty() ? QString() : digest::internetPassword(answer))
        .exec();
    if (answer.isEmpty())
        prompts.showInfo(QStringLiteral("Odebrano dostęp przez internet"));
    else
        prompts.showInfo(QStringLiteral("Dodano dostęp przez internet\nIdentyfikator: %1\nHasło: %2")
                             .arg(institution.administratorIdentifier(), answer));
    if (prompts.askYesNo(QStringLiteral("Wysłać poprawkę na serwer internetowy?")) && send)
        send();
}
