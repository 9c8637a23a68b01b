#include "zajdod_child_declarations.h"

#include "browser/module.h"
#include "shell/access_rules.h"
#include "store/error.h"
#include "store/table.h"

namespace extraclasses {

void setUpChildDeclarations(DataSet& declarations, RunContext& context, Table& children)
{
    Table& t = *declarations.table;
    RunContext* ctx = &context;
    auto* classes = new Table(t.database(), QStringLiteral("ZAJDOD"), &t);
    classes->setOrdering(QStringLiteral("KOLEJ"));
    classes->setRowTest([ctx](const Table& c) {
        return permissions::extraClassInRegister(ctx->login.functions, ctx->login.visibleGroups,
                                                 c.text(QStringLiteral("KLASA")), c.text(QStringLiteral("KOD")));
    });
    classes->open();
    t.setOrdering(QStringLiteral("OSOBA;ZAJECIE;ODDATY"));
    t.addLookupField(FieldDef::of(QStringLiteral("ZAJECIENAZWA"), FieldType::String, 40), QStringLiteral("ZAJECIE"),
                     classes, QStringLiteral("KOD"), QStringLiteral("NAZWA"));
    t.setMasterLink(&children, QStringLiteral("KOD"), QStringLiteral("OSOBA"));
    t.setRowTest([ctx](const Table& row) {
        return ctx->passesSystemDateFilter(row.asDate(QStringLiteral("ODDATY")), row.asDate(QStringLiteral("DODATY")));
    });

    auto previousNew = t.events().onNewRecord;
    t.events().onNewRecord = [previousNew, classes](Table& row) {
        if (previousNew)
            previousNew(row);
        classes->refresh();  // classes added since the list was opened
    };
    auto previousPost = t.events().beforePost;
    t.events().beforePost = [previousPost](Table& row) {
        if (previousPost)
            previousPost(row);
        // A declaration without its class counts for nothing.
        if (row.isNull(QStringLiteral("ZAJECIE")))
            throw Error(QStringLiteral("Pole \"Zajęcia\" musi posiadać wartość"));
    };

    const QString dateFormat = QStringLiteral("dd.MM.yyyy");
    FieldView from = FieldView::column(QStringLiteral("ODDATY"), QStringLiteral("Od daty"));
    from.displayFormat = dateFormat;
    FieldView to = FieldView::column(QStringLiteral("DODATY"), QStringLiteral("Do daty"));
    to.displayFormat = dateFormat;
    declarations.fields = {FieldView::column(QStringLiteral("ZAJECIENAZWA"), QStringLiteral("Zajęcia")), from, to};
}

}  // namespace extraclasses
