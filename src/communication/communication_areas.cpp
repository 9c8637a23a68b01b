#include "communication_areas.h"

#include "tdm_inform.h"
#include "tdm_posilki.h"

#include "browser/area_arguments.h"
#include "browser/area_registry.h"
#include "browser/window_opener.h"
#include "registers/tdm_dzieci.h"
#include "store/table.h"

#include <QPointer>

namespace {

const QString childModuleName = QStringLiteral("InformacjeDziecka");

void openForChild(RunContext& context, const QVariantMap& args, const inform::AttachmentUpload& upload)
{
    Command* command = area::command(args);
    if (command && command->opensWindow && command->checked) {
        context.opener.closeOwnedBy(command);  // chosen again: the window closes
        return;
    }
    const QString title = args.value(area::titleKey()).toString();
    QObject* owner = area::owner(args);
    InformOptions options;
    options.child = area::child(args);
    options.upload = upload;
    if (!owner) {
        TDMDane::openAsWindow(std::make_unique<TDMInform>(context, options), title);
        return;
    }
    // One module per owner, made on first use and reused while it lives.
    auto* module = owner->findChild<TDMInform*>(childModuleName, Qt::FindDirectChildrenOnly);
    if (!module) {
        module = new TDMInform(context, options, owner);
        module->setObjectName(childModuleName);
        if (DataSet* master = area::master(args); master && master->table) {
            QPointer<Table> guard(master->table);
            QObject::connect(master->table, &Table::scrolled, module, [module, guard] {
                if (guard && guard->isOpen() && !guard->isEmpty())
                    module->setChild(guard->asInt(QStringLiteral("KOD")));
            });
        }
    } else {
        module->setChild(options.child);
    }
    module->browse(module->childInformations(), title, command);
}

}  // namespace

void registerCommunicationAreas(AreaRegistry& areas, inform::AttachmentUpload upload)
{
    areas.add(QStringLiteral("Posilki"), [](RunContext& context, const QVariantMap&) {
        TDMDane::openAsWindow(std::make_unique<TDMPosilki>(context), QStringLiteral("Posiłki"));
    });
    areas.add(QStringLiteral("Informacje"), [upload](RunContext& context, const QVariantMap& args) {
        QString title = args.value(area::titleKey()).toString();
        if (title.isEmpty())
            title = QStringLiteral("Informacje");
        InformOptions options;
        options.upload = upload;
        TDMDane::openAsWindow(std::make_unique<TDMInform>(context, options), title);
    });
    areas.add(area::childInformation(), [upload](RunContext& context, const QVariantMap& args) {
        openForChild(context, args, upload);
    });
}
