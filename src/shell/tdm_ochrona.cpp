#include "tdm_ochrona.h"

#include "function_names.h"

#include "store/database.h"
#include "store/error.h"
#include "store/params.h"
#include "store/password_digest.h"
#include "store/query.h"
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
        Query user(m_db, QStringLiteral("SELECT KOD, AKTYWNY, HASLO, FUNKCJE, KLASY FROM UZYT WHERE NAZWA = :N ORDER BY KOD"));
        user.bind(QStringLiteral("N"), name).exec();
        // The digests are compared exactly: lower-case digits never match.
        if (user.next() && user.value(1).toString() == QLatin1String("T")
            && digest::userPasswordMatches(user.value(2).toString(), password)) {
            const int code = user.value(0).toInt();
            credentials << rights::userCredential(code);
            QString functionsText = user.value(3).toString();
            QString groupsText = user.value(4).toString();
            Query memberships(m_db, QStringLiteral("SELECT U.KODGR, G.FUNKCJE, G.KLASY, G.KOD FROM UZGR U "
                                                   "LEFT JOIN GRUPY G ON G.KOD = U.KODGR WHERE U.KODUZ = :K "
                                                   "ORDER BY U.%1").arg(m_db.rowIdColumn(QStringLiteral("UZGR"))));
            memberships.bind(QStringLiteral("K"), code).exec();
            while (memberships.next()) {
                credentials << rights::groupCredential(memberships.value(0).toInt());
                if (memberships.value(3).isNull())
                    continue;  // a membership of a deleted group still carries its credential
                functionsText += QStringLiteral("\r\n") + memberships.value(1).toString();
                groupsText += QStringLiteral("\r\n") + memberships.value(2).toString();
            }
            m_current.userName = name;
            m_current.userCode = code;
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
    const QStringList before = m_db.credentials();
    m_db.setCredentials(QStringList(before) << rights::masterCredential());
    bool kept = false;
    try {
        Query user(m_db, QStringLiteral("SELECT HASLO FROM UZYT WHERE NAZWA = :N ORDER BY KOD"));
        user.bind(QStringLiteral("N"), deliveredLogin()).exec();
        kept = user.next() && digest::userPasswordMatches(user.value(0).toString(), deliveredPassword());
    } catch (...) {
        m_db.setCredentials(before);
        throw;
    }
    m_db.setCredentials(before);
    return kept;
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
