#pragma once
// The children register (DZIECI) with each child's dated detail lists:
//   Dziekla   groups the child belonged to before (history)
//   Dziemed   fee components, closed and restored by two commands
//   Dzieczas  declared time of stay, checked against the limits
//   Dziezaj   extra-class declarations
//   Odbiera   persons allowed to collect the child
// and the hub commands that open other areas for the current child
// through the area registry (each shown only when its area exists).
//
// Lists of children and groups keep to the login's visible groups. The
// sort order of the children list is kept in the user's settings
// ("Dzieci" / "PolaIndeksu").

#include "browser/module.h"
#include "child_group_change.h"

#include <QList>

#include <optional>

class KeyValueSettings;

namespace area {
inline QString children() { return QStringLiteral("Dzieci"); }
// Opened for the current child with area::forChild(...).
inline QString childExtraCharges() { return QStringLiteral("NaldodatDziecka"); }
inline QString childInformation() { return QStringLiteral("InformacjeDziecka"); }
inline QString childRequests() { return QStringLiteral("ZgloszeniaDziecka"); }
inline QString letters() { return QStringLiteral("Korespondencja"); }
// The operations on the children marked in the children list.
inline QString markedChildrenOperations() { return QStringLiteral("OperacjeDzieci"); }
}  // namespace area

// An operation on marked children: its code for the batch driver and the
// text the user chooses it by.
struct ChildOperation {
    int code = 0;
    QString text;
};
// In the order they are offered; code 14 is the preselected one.
QList<ChildOperation> childOperations();

class TDMDzieci : public TDMDane {
    Q_OBJECT
public:
    // Without settings the sort order is neither restored nor kept.
    explicit TDMDzieci(RunContext& context, KeyValueSettings* settings = nullptr, QObject* parent = nullptr);
    ~TDMDzieci() override;

    DataSet& children() const { return *dataSet(QStringLiteral("Dzieci")); }
    DataSet& groups() const { return *dataSet(QStringLiteral("Klasy")); }
    DataSet& history() const { return *dataSet(QStringLiteral("Dziekla")); }
    DataSet& components() const { return *dataSet(QStringLiteral("Dziemed")); }
    DataSet& stayTimes() const { return *dataSet(QStringLiteral("Dzieczas")); }
    DataSet& extraClasses() const { return *dataSet(QStringLiteral("Dziezaj")); }
    DataSet& collectors() const { return *dataSet(QStringLiteral("Odbiera")); }

    bool showsInactive() const { return m_showInactive; }
    void toggleInactive();      // "Pokaż &nieaktywnych"
    void closeComponents();     // "Zamknij składniki"
    void restoreComponents();   // "Przywróć składniki"
    void setInternetPassword(); // "Hasło w internecie"
    void editRemarks();         // "Uwagi"

    static QString defaultOrdering() { return QStringLiteral("AKTYWNY;NAZWA"); }
    static QString settingsGroup() { return QStringLiteral("Dzieci"); }
    static QString orderingKey() { return QStringLiteral("PolaIndeksu"); }
    static QString oneGroupInsertMessage();
    static QString oneGroupDeleteMessage();
    static QString aidPercentMessage();

private:
    void setUpChildren();
    void setUpDetails();
    void setUpCommands();
    void restoreOrdering();

    void newChild(Table& t);
    void fieldChanged(Table& t, const QString& field);
    void checkPesel(Table& t, bool peselChanged);
    void groupChanged(Table& t);
    void stayTimeChanged(Table& t, const QString& field);

    // A detail row carries the child's key: a child still being inserted
    // is saved first.
    void saveChildFirst();
    void saveChildFirst(Table& detail);
    void openDetail(DataSet& ds, const QString& commandName);
    void openArea(const QString& area, const QString& commandName);
    int currentChild() const;  // 0 when there is none

    KeyValueSettings* m_settings = nullptr;
    GroupChange m_groupChange;
    bool m_showInactive = false;
    QVariant m_groupBeforeEdit;
    QVariant m_deleted;
    bool m_collectorsToLast = true;
};
