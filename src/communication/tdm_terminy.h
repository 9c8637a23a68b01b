#pragma once
// "Terminy okresowe": periodic deadlines (TERMINY) with their next and
// previous occurrence from the system date, and their executions (TERMWYK)
// with the latest one shown beside each deadline. Nothing of the dates is
// stored: they follow the system date whenever a row is read.

#include "browser/module.h"

class Database;

class TDMTerminy : public TDMDane {
    Q_OBJECT
public:
    explicit TDMTerminy(RunContext& context, QObject* parent = nullptr);

    DataSet& deadlines() const { return *dataSet(QStringLiteral("Terminy")); }
    DataSet& executions() const { return *dataSet(QStringLiteral("Termwyk")); }

    // Only the deadline TERMID is shown; the window is tied to its child.
    void restrictTo(int deadlineId);
    // The child of the current deadline in a tied window, else 0.
    int tiedChild() const;

    void openExecutions();                 // "&Wykonania"
    void openReport(bool currentOnly);     // "&Raport terminu" / "R&aport terminów"

    // The latest execution date of the deadline; invalid when there is none.
    static QDate lastExecution(Database& db, int deadlineId);

private:
    bool m_tied = false;
};
