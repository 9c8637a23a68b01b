#include "maintenance_areas.h"

#include "maintenance/compaction.h"
#include "maintenance/group_transfer_flow.h"
#include "maintenance/index_repair.h"
#include "maintenance/schema_upgrade.h"

#include "browser/area_registry.h"
#include "browser/key_value_settings.h"
#include "browser/message_log.h"
#include "browser/run_context.h"
#include "store/tdm_baza.h"

#include <QApplication>
#include <QCursor>

namespace {

void waitCursor(bool on)
{
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

}  // namespace

void registerMaintenanceAreas(AreaRegistry& areas, KeyValueSettings* settings)
{
    areas.add(QStringLiteral("Upgrade"), [](RunContext& context, const QVariantMap&) {
        upgrade::run(context.db(), context.prompts, waitCursor);
    });
    areas.add(QStringLiteral("Naprawaindeksw"), [](RunContext& context, const QVariantMap&) {
        indexrepair::run(context.db(), context.prompts, waitCursor);
    });
    areas.add(QStringLiteral("Kompresjazbiorw"), [](RunContext& context, const QVariantMap&) {
        MessageLog own;
        compaction::run(context.db(), context.prompts, context.messages ? *context.messages : own);
    });
    areas.add(QStringLiteral("Eksportujgrup"), [settings](RunContext& context, const QVariantMap&) {
        MemorySettings none;
        groupflow::exportGroup(context, settings ? *settings : static_cast<KeyValueSettings&>(none));
    });
    areas.add(QStringLiteral("Importujgrup"), [settings](RunContext& context, const QVariantMap&) {
        MemorySettings none;
        groupflow::importGroup(context, settings ? *settings : static_cast<KeyValueSettings&>(none));
    });
}
