#include "tdm_posilki.h"

#include "browser/prompts.h"
#include "store/table.h"

TDMPosilki::TDMPosilki(RunContext& context, QObject* parent) : TDMDane(context, QStringLiteral("TDMPosilki"), parent)
{
    DataSet& meals = addDataSet(QStringLiteral("Posilki"), QStringLiteral("POSILKI"), QStringLiteral("DATA"));
    Table& t = *meals.table;
    // The program's system date, which may differ from today's.
    t.events().onNewRecord = [&context](Table& row) { row.setValue(QStringLiteral("DATA"), context.systemDate()); };
    meals.fields = {
        FieldView::column(QStringLiteral("DATA"), QStringLiteral("Data")),
        FieldView::hidden(QStringLiteral("OPIS"), QStringLiteral("Opis posiłków")),
    };
    Command describe = Command::make(QStringLiteral("Opisposikw1"), QStringLiteral("Opis posiłków"),
                                     QStringLiteral("Opis posiłków"));
    describe.handler = [this] {
        Table& row = *this->meals().table;
        if (!row.isOpen() || (row.isEmpty() && row.state() != Table::State::Insert))
            return;
        QString text = row.value(QStringLiteral("OPIS")).toString();
        if (!this->context().prompts.editMemo(QStringLiteral("Opis posiłków"), text))
            return;
        const bool wasEditing = row.isEditing();
        row.edit();
        try {
            row.setValue(QStringLiteral("OPIS"), text);
            row.post();
        } catch (...) {
            if (!wasEditing)
                row.cancel();
            throw;
        }
    };
    meals.commands = {describe};
    applyFunctions();
}
