#include "fees/ui/marked_children_command.h"

#include "browser/area_arguments.h"
#include "browser/area_registry.h"
#include "browser/module.h"
#include "browser/run_context.h"
#include "browser/ui/tfm_filtr.h"
#include "browser/ui/tfm_kartot.h"
#include "fees/marked_operations.h"
#include "printouts/ui/report_preview.h"
#include "registers/tdm_dzieci.h"
#include "store/table.h"

#include <QApplication>

namespace fees {

namespace {

// The browser showing the children list the command came from.
TFmKartot* browserOf(const DataSet* children)
{
    for (QWidget* widget : QApplication::allWidgets())
        if (auto* browser = qobject_cast<TFmKartot*>(widget); browser && &browser->dataSet() == children)
            return browser;
    return nullptr;
}

void runOnMarked(RunContext& context, const QVariantMap& arguments)
{
    DataSet* children = area::master(arguments);
    QList<int> marked;
    int current = area::child(arguments);
    if (TFmKartot* browser = browserOf(children)) {
        Table& table = browser->table();
        for (const int row : browser->selectedRows())
            marked << table.valueAt(row, QStringLiteral("KOD")).toInt();
    }
    // One marked row is the current one as well; it is the only child then.
    if (marked.size() == 1)
        current = marked.first();
    const ChargeRunResult result = runChosenMarkedOperation(context, marked.size() > 1 ? marked : QList<int>{}, current);
    // Groups and passwords changed under the register's snapshot.
    if (result.completed && children && children->table && children->table->isOpen())
        children->table->refresh();
}

// The one sheet of the last run; a new run's sheet replaces it.
const int sheetOwner = 0;

}  // namespace

void registerMarkedChildrenAreas(AreaRegistry& areas)
{
    areas.add(area::markedChildrenOperations(), runOnMarked);
    areas.add(passwordSheetArea(), [](RunContext& context, const QVariantMap& arguments) {
        auto job = arguments.value(sheetKey()).value<std::shared_ptr<report::Job>>();
        if (job)
            TReportPreview::open(std::move(job), context.prompts, &sheetOwner);
    });
}

}  // namespace fees
