#pragma once
// The extra classes register (ZAJDOD) with the class's detail lists:
//   Zajdod   the classes, in their display order (KOLEJ)
//   Zajdat   "Terminy": the weekly schedule of the current class
//   Zajodb   "Odbyte zajęcia": the classes held, with the shared rules of
//            held_classes.h, kept on the last one of the current class
//   Dziezaj  "Zapisane dzieci": the children declared for the class
//   Dzieci   the children a declaration may name (the children picker)
// Classes, held classes and children are limited to the user's visible
// groups; classes also to the extra-class functions granted.

#include "browser/module.h"

#include <QVariant>

class Table;

class TDMZajDod : public TDMDane {
    Q_OBJECT
public:
    explicit TDMZajDod(RunContext& context, QObject* parent = nullptr);

    DataSet& classes() const { return *dataSet(QStringLiteral("Zajdod")); }
    DataSet& schedule() const { return *dataSet(QStringLiteral("Zajdat")); }
    DataSet& heldClasses() const { return *dataSet(QStringLiteral("Zajodb")); }
    DataSet& declarations() const { return *dataSet(QStringLiteral("Dziezaj")); }
    DataSet& children() const { return *dataSet(QStringLiteral("Dzieci")); }

    // Whether the store has "Zgł. nieobec. do" (an upgrade column).
    bool hasNoticeDeadline() const { return m_noticeDeadline; }

    static QString inUseHeading();  // "Nie można skasować zajęcia dodatkowego, gdyż występuje ono w:"
    static QString scheduleTimesRefusal();  // "Czas przyjścia nie może być większy niż Czas wyjścia"

private:
    void setUpClasses();
    void setUpSchedule();
    void setUpHeldClasses();
    void setUpDeclarations();
    void checkDeletion(const QVariant& code);
    QVariant defaultGroup() const;
    // A detail row needs the class's key: a class still being inserted is
    // saved first.
    void saveClassFirst();
    void saveClassFirst(Table& detail);
    void openDetail(DataSet& ds, const QString& commandName);
    void showLastHeldClass();

    bool m_noticeDeadline = false;
    QVariant m_heldFor;  // the class whose held classes were last positioned
};
