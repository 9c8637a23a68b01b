#pragma once
// The users register (UZYT) with each user's memberships of groups (UZGR).
//
// The commands that edit rights, granted functions and visible groups of
// children are declared with their function names but not offered yet.

#include "browser/module.h"

#include <functional>

// Shows the change-of-password dialog for a user, without asking for the
// old password; the desktop passes its dialog. Without one the module asks
// for the new password twice through the prompts.
using PasswordDialog = std::function<void(RunContext&, const QString& userName)>;

class TDMUzyt : public TDMDane {
    Q_OBJECT
public:
    explicit TDMUzyt(RunContext& context, PasswordDialog passwordDialog = {}, QObject* parent = nullptr);

    DataSet& users() const { return *dataSet(QStringLiteral("Uzyt")); }
    DataSet& memberships() const { return *dataSet(QStringLiteral("UzytGrup")); }

    static QString duplicateNameMessage(const QString& name);

private:
    void beforePost(Table& t);
    void changePassword();
    void askNewPassword(const QString& userName);

    PasswordDialog m_passwordDialog;
};
