#pragma once
// The log of logins to the parents' web service (PRZEDLOGI): brought from
// the service by the synchronisation's login-records mode, only read here.

#include "browser/module.h"

class TDMDzieLog : public TDMDane {
    Q_OBJECT
public:
    explicit TDMDzieLog(RunContext& context, QObject* parent = nullptr);
    DataSet& logins() const { return *dataSet(QStringLiteral("Przedlogi")); }

    bool canInsert(const DataSet&) const override { return false; }
    bool canDelete(const DataSet&) const override { return false; }

    // The child column: "Administrator" for account 0, the child's caption
    // otherwise (empty for a child no longer registered).
    static QString accountCaption(Database& db, int account);
    static QString refreshQuestion();  // "Odświeżyć dane?"
};
