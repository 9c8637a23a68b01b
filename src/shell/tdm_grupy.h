#pragma once
// The user groups register (GRUPY) with each group's members (UZGR).
//
// As for users, the rights commands are declared but not offered yet.

#include "browser/module.h"

class TDMGrupy : public TDMDane {
    Q_OBJECT
public:
    explicit TDMGrupy(RunContext& context, QObject* parent = nullptr);

    DataSet& groups() const { return *dataSet(QStringLiteral("Grupy")); }
    DataSet& memberships() const { return *dataSet(QStringLiteral("GrupUzyt")); }
};
