#pragma once
// The groups of children (KLASY) and the statuses (STATUSY): one module,
// shown as the groups window or, after its hidden command ZmienNaStatusy,
// as the statuses window. The row with code 0 of either (the inactive
// children, the status of a new child) cannot be edited nor deleted.

#include "browser/module.h"

class TDMKlasy : public TDMDane {
    Q_OBJECT
public:
    explicit TDMKlasy(RunContext& context, QObject* parent = nullptr);

    DataSet& groups() const { return *dataSet(QStringLiteral("Klasy")); }
    DataSet& statuses() const { return *dataSet(QStringLiteral("Statusy")); }
    bool showsStatuses() const { return m_statuses; }
    // The hidden command ZmienNaStatusy: the window shows statuses.
    void switchToStatuses();

    DataSet* mainDataSet() const override;

    static QString groupInUseHeading();
    static QString statusInUseHeading();

private:
    void checkGroupDeletion(const QVariant& code);
    void checkStatusDeletion(const QVariant& code);

    bool m_statuses = false;
};
