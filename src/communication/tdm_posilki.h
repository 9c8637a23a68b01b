#pragma once
// "Posiłki": the menu of each day (POSILKI), published to the parents'
// web service by the synchronisation.

#include "browser/module.h"

class TDMPosilki : public TDMDane {
    Q_OBJECT
public:
    explicit TDMPosilki(RunContext& context, QObject* parent = nullptr);
    DataSet& meals() const { return *dataSet(QStringLiteral("Posilki")); }
};
