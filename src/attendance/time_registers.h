#pragma once
// Two small dated registers edited as plain tables, each row in force from
// its first day (ODDATY) until the next row:
//   TDMCzasBezp  CZASBEZP, the free (unpaid) part of the day
//   TDMCzasGran  CZASGRAN, the limits of arrival and departure times

#include "browser/module.h"

class TDMCzasBezp : public TDMDane {
    Q_OBJECT
public:
    explicit TDMCzasBezp(RunContext& context, QObject* parent = nullptr);
    DataSet& freeTime() const { return *dataSet(QStringLiteral("Czasbezp")); }
};

class TDMCzasGran : public TDMDane {
    Q_OBJECT
public:
    explicit TDMCzasGran(RunContext& context, QObject* parent = nullptr);
    DataSet& limits() const { return *dataSet(QStringLiteral("Czasgran")); }
};

// The refusal of a row whose first day another row already has.
QString sameFirstDayMessage(const QDate& day);
