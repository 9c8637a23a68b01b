#include "tdm_ochrona.h"

#include "function_names.h"

#include "store/database.h"
#include "store/error.h"
#include "store/params.h"
#include "store/password_digest.h"
#include "store/query.h"
#include "store/typed_query.h"
#include "store/rights.h"

bool TDMOchrona::login(const QString& name, const QString& password)
{
    m_db.setCredentials({rights::masterCredential()});
    if (name == serviceLogin() && password == rights::masterCredential()) {
        m_current.userName.clear();
        m_current.userCode = -1;
        m_current.functions = functions::allFunctionNames();
        m_current.visibleGroups = {QStringLiteral("-1")};
        return true;
    }
    QStringList credentials;
    bool ok = false;
    try {
        // The user and his memberships in one statement, sent with its value:
        // on a server every statement is a round trip.
        const QString membershipId = m_db.rowIdColumn(QStringLiteral("UZGR"));
        TypedQuery user(m_db, QStringLiteral("SELECT U.KOD, U.AKTYWNY, U.HASLO, U.FUNKCJE, U.KLASY, M.KODGR, G.FUNKCJE, "
                                             "G.KLASY, G.KOD, M.%1 FROM UZYT U LEFT JOIN UZGR M ON M.KODUZ = U.KOD "
                                             "LEFT JOIN GRUPY G ON G.KOD = M.KODGR WHERE U.NAZWA = :N "
                                             "ORDER BY U.KOD, M.%1")
                                  .arg(membershipId));
        user.bind(QStringLiteral("N"), name).exec();
        // The digests are compared exactly: lower-case digits never match.
        if (user.next() && user.text(1) == QLatin1String("T") && digest::userPasswordMatches(user.text(2), password)) {
            const qint64 code = user.integer(0);
            credentials << rights::userCredential(int(code));
            QString functionsText = user.text(3);
            QString groupsText = user.text(4);
            // Only the first user of that name; a later one with the same name has other memberships.
            do {
                if (user.integer(0) != code)
                    break;
                if (user.isNull(9))
                    continue;  // no memberships
                credentials << rights::groupCredential(int(user.integer(5)));
                if (user.isNull(8))
                    continue;  // a membership of a deleted group still carries its credential
                functionsText += QStringLiteral("\r\n") + user.text(6);
                groupsText += QStringLiteral("\r\n") + user.text(7);
            } while (user.next());
            m_current.userName = name;
            m_current.userCode = int(code);
            m_current.functions = memoLines(functionsText);
            m_current.visibleGroups = memoLines(groupsText) << QString();
            ok = true;
        }
    } catch (const Error&) {
        m_db.setCredentials({});
        throw;
    }
    m_db.setCredentials(credentials);
    return ok;
}

bool TDMOchrona::deliveredPasswordKept()
{
    // Read with the store's own access rather than by switching credentials,
    // which would read the rights table twice more. The name is our own
    // constant, so the statement needs no binding (one round trip).
    Database::SystemAccess sys(m_db);
    Query user(m_db, QStringLiteral("SELECT HASLO FROM UZYT WHERE NAZWA = '%1' ORDER BY KOD").arg(deliveredLogin()));
    return user.exec().next() && digest::userPasswordMatches(user.value(0).toString(), deliveredPassword());
}

void TDMOchrona::logout()
{
    m_db.setCredentials({});
}

TDMOchrona::PasswordChange TDMOchrona::changePassword(const QString& name, const QString& oldPassword,
                                                       const QString& newPassword, bool checkOld)
{
    const QStringList before = m_db.credentials();
    // A user may change his own password whatever his rights on the users table.
    if (checkOld)
        m_db.setCredentials(QStringList(before) << rights::masterCredential());
    auto restore = [&] {
        if (checkOld)
            m_db.setCredentials(before);
    };
    try {
        Query user(m_db, QStringLiteral("SELECT KOD, HASLO FROM UZYT WHERE NAZWA = :N ORDER BY KOD"));
        user.bind(QStringLiteral("N"), name).exec();
        if (!user.next()) {
            restore();
            return PasswordChange::NoSuchUser;
        }
        if (checkOld && !digest::userPasswordMatches(user.value(1).toString(), oldPassword)) {
            restore();
            return PasswordChange::WrongOldPassword;
        }
        Query(m_db, QStringLiteral("UPDATE UZYT SET HASLO = :H WHERE KOD = :K"))
            .bind(QStringLiteral("H"), digest::userPassword(newPassword))
            .bind(QStringLiteral("K"), user.value(0).toInt())
            .exec();
    } catch (...) {
        restore();
        throw;
    }
    restore();
    return PasswordChange::Changed;
}
