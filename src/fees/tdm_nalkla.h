#pragma once
// The extra charges announced for groups (NALKLA): a group ("Brak" for
// every child) fixed once the charge is saved, a number within the group
// given on the first save, a date, a short name, the amount per child and a
// description. A charge some child has a row of cannot be deleted.

#include "browser/module.h"

#include <QHash>

#include <functional>

class TDMNalKla : public TDMDane {
    Q_OBJECT
public:
    // `changed` runs after every save and deletion of a charge.
    TDMNalKla(RunContext& context, std::function<void()> changed, QObject* parent = nullptr);

    DataSet& charges() const { return *dataSet(QStringLiteral("Nalkla")); }

    // "&Opis naliczenia": the memo editor on OPIS.
    void editDescription();
    // The group of the current charge chosen from "Brak" and the visible groups.
    bool chooseGroup();

    static QString deletionRefusal() { return QStringLiteral("Nie można skasować naliczenia, ponieważ ma powiązania z dziećmi"); }
    static QString groupChangeRefusal() { return QStringLiteral("Nie można edytować grupy naliczenia"); }
    static QString noGroup() { return QStringLiteral("Brak"); }

private:
    QVariant defaultGroup() const;
    bool groupShown(const QString& group) const;
    void readGroupNames();

    std::function<void()> m_changed;
    QHash<int, QString> m_groupNames;
    QVariant m_groupBeforeEdit;
};
