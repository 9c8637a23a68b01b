#pragma once
// The user groups register (GRUPY) with each group's members (UZGR), and
// the commands that edit a group's granted functions, visible groups of
// children and table rights. A new group may read what every login needs.

#include "rights_window_opener.h"

#include "browser/module.h"

class TDMGrupy : public TDMDane {
    Q_OBJECT
public:
    explicit TDMGrupy(RunContext& context, RightsWindowOpener rightsWindow = {}, QObject* parent = nullptr);

    DataSet& groups() const { return *dataSet(QStringLiteral("Grupy")); }
    DataSet& memberships() const { return *dataSet(QStringLiteral("GrupUzyt")); }

private:
    RightsWindowOpener m_rightsWindow;
    bool m_inserting = false;
};
