#include "tdm_szablony.h"

#include "store/table.h"

TDMSzablony::TDMSzablony(RunContext& context, TemplateDesigner designer, QObject* parent)
    : TDMDane(context, QStringLiteral("TDMSzablony"), parent)
{
    DataSet& ds = addDataSet(QStringLiteral("Szablony"), QStringLiteral("SZABLONY"), QStringLiteral("ID"));
    Table& t = *ds.table;

    auto* types = new Table(context.db(), QStringLiteral("KODY"), this);
    types->setOrdering(QStringLiteral("RODZAJ;TYP"));
    types->setRange({QStringLiteral("szablo")}, {QStringLiteral("szablo")});
    types->open();
    t.addLookupField(FieldDef::of(typeNameField(), FieldType::String, 20), QStringLiteral("TYP"), types,
                     QStringLiteral("TYP"), QStringLiteral("NAZWA"));

    ds.fields = {
        FieldView::column(typeNameField(), QStringLiteral("Typ szablonu")),
        FieldView::column(QStringLiteral("NAZWA"), QStringLiteral("Nazwa")),
        FieldView::hidden(QStringLiteral("ID")),
        FieldView::hidden(QStringLiteral("TYP")),
        FieldView::hidden(QStringLiteral("DANE")),
    };

    Command layout = Command::make(layoutCommand(), QStringLiteral("&Układ szablonu"), QStringLiteral("Układ"));
    layout.image = 20;
    if (designer) {
        layout.handler = [this, designer, &t] {
            if (!t.isOpen())
                t.open();
            if (t.isEmpty() && t.state() != Table::State::Insert)
                return;
            designer(this->context(), t);
        };
    } else {
        layout.wanted = false;  // the designer window is not part of this program yet
    }
    ds.commands = {layout};

    applyFunctions();
}
