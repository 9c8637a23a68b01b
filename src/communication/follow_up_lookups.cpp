#include "follow_up_lookups.h"

#include "browser/prompts.h"
#include "registers/child_caption.h"
#include "store/database.h"
#include "store/table.h"

namespace followup {

Table* childrenLookup(Database& db, QObject* owner)
{
    auto* t = new Table(db, QStringLiteral("DZIECI"), owner);
    t->setOrdering(QStringLiteral("NAZWA"));
    t->addCalculatedField(FieldDef::of(QStringLiteral("CAPTION"), FieldType::String, 203));
    const bool pesel = db.hasColumn(QStringLiteral("DZIECI"), QStringLiteral("PESEL"));
    t->events().onCalcFields = [pesel](Table& row) {
        row.setCalculated(QStringLiteral("CAPTION"),
                          childCaption(row.text(QStringLiteral("NAZWA")), row.text(QStringLiteral("ULICA")),
                                       pesel ? row.text(QStringLiteral("PESEL")) : QString())
                              .left(203));
    };
    t->open();
    return t;
}

Table* usersLookup(Database& db, QObject* owner)
{
    auto* t = new Table(db, QStringLiteral("UZYT"), owner);
    t->setOrdering(QStringLiteral("NAZWA"));
    t->open();
    return t;
}

Table* periodUnitsLookup(Database& db, QObject* owner)
{
    auto* t = new Table(db, QStringLiteral("KODY"), owner);
    t->setOrdering(QStringLiteral("RODZAJ;TYP"));
    t->setRange({QStringLiteral("okres")}, {QStringLiteral("okres")});
    t->open();
    return t;
}

void editExecutionText(Table& row, Prompts& prompts, const QString& caption)
{
    if (!row.isOpen() || (row.isEmpty() && row.state() != Table::State::Insert))
        return;
    QString text = row.text(QStringLiteral("WYKONANIE"));
    if (!prompts.editMemo(caption, text))
        return;
    const bool wasEditing = row.isEditing();
    row.edit();
    try {
        row.setValue(QStringLiteral("WYKONANIE"), text);
        row.post();
    } catch (...) {
        if (!wasEditing)
            row.cancel();
        throw;
    }
}

}  // namespace followup
