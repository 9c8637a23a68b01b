#pragma once
// The educators' register (WYCHOW) with each educator's group history
// (WYCHKLA). An educator is active exactly while he has a non-zero group.

#include "browser/module.h"
#include "child_group_change.h"

#include <QDate>
#include <optional>

class TDMWychow : public TDMDane {
    Q_OBJECT
public:
    explicit TDMWychow(RunContext& context, QObject* parent = nullptr);

    DataSet& educators() const { return *dataSet(QStringLiteral("Wychow")); }
    DataSet& history() const { return *dataSet(QStringLiteral("Wychkla")); }

    bool showsInactive() const { return m_showInactive; }
    // "Pokaż &nieaktywnych".
    void toggleInactive();

    static QString inUseHeading();

private:
    void groupChanged(Table& t);

    GroupChange m_groupChange;
    bool m_showInactive = false;
    QVariant m_groupBeforeEdit;
};
