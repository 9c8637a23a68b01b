#pragma once
// The users register (UZYT) with each user's memberships of groups (UZGR),
// and the commands that edit a user's granted functions, visible groups of
// children and table rights. A new user may read what every login needs.

#include "rights_window_opener.h"

#include "browser/module.h"

#include <functional>

// Shows the change-of-password dialog for a user, without asking for the
// old password; the desktop passes its dialog. Without one the module asks
// for the new password twice through the prompts.
using PasswordDialog = std::function<void(RunContext&, const QString& userName)>;

class TDMUzyt : public TDMDane {
    Q_OBJECT
public:
    explicit TDMUzyt(RunContext& context, PasswordDialog passwordDialog = {}, RightsWindowOpener rightsWindow = {},
                     QObject* parent = nullptr);

    DataSet& users() const { return *dataSet(QStringLiteral("Uzyt")); }
    DataSet& memberships() const { return *dataSet(QStringLiteral("UzytGrup")); }

    static QString duplicateNameMessage(const QString& name);

private:
    void beforePost(Table& t);
    void afterPost(Table& t);
    void changePassword();
    void askNewPassword(const QString& userName);

    PasswordDialog m_passwordDialog;
    RightsWindowOpener m_rightsWindow;
    bool m_inserting = false;
};
