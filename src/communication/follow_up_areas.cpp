#include "follow_up_areas.h"

#include "tdm_terminy.h"
#include "tdm_zglosz.h"

#include "browser/area_arguments.h"
#include "browser/area_registry.h"
#include "browser/prompts.h"
#include "browser/run_context.h"
#include "browser/window_opener.h"
#include "store/query.h"
#include "store/table.h"

namespace reminders {

QString entryTitle(Database& db, const Entry& entry)
{
    QString title = entry.kind == Entry::Kind::Request ? QStringLiteral("Zgłoszenia") : QStringLiteral("Nadchodzące terminy");
    if (entry.child == 0)
        return title;
    Query q(db, QStringLiteral("SELECT NAZWA, ULICA FROM DZIECI WHERE KOD = :K"));
    q.bind(QStringLiteral("K"), entry.child).exec();
    if (q.next())
        title += QStringLiteral(" - ") + q.value(0).toString() + QStringLiteral(", ") + q.value(1).toString();
    return title;
}

void openEntry(RunContext& context, const Entry& entry)
{
    const QString title = entryTitle(context.db(), entry);
    std::unique_ptr<TDMDane> module;
    if (entry.kind == Entry::Kind::Request) {
        auto requests = std::make_unique<TDMZglosz>(context);
        requests->restrictTo(entry.id);
        module = std::move(requests);
    } else {
        auto terms = std::make_unique<TDMTerminy>(context);
        terms->restrictTo(entry.id);
        module = std::move(terms);
    }
    // The browser takes the module and discards it when it closes.
    const bool modal = context.settings.modalWindows;
    context.settings.modalWindows = true;
    try {
        TDMDane::openAsWindow(std::move(module), title);
    } catch (...) {
        context.settings.modalWindows = modal;
        throw;
    }
    context.settings.modalWindows = modal;
}

void show(RunContext& context, const Setting& setting, bool starting)
{
    const QList<Entry> entries = collect(context.db(), context.login, context.systemDate());
    if (starting && entries.isEmpty())
        return;
    QList<PickEntry> shown;
    shown.reserve(entries.size());
    for (int i = 0; i < entries.size(); ++i)
        shown << PickEntry{entries[i].text, i};
    QString choice = setting.get ? setting.get() : QString();
    // Never set behaves as "only on request": the box says so.
    if (choice.isEmpty())
        choice = onRequest();
    const bool ok = context.prompts.pickWithChoice(title(), shown, showLabel(), {atStart(), onRequest()}, choice,
                                                   [&context, &entries](int index) {
                                                       if (index >= 0 && index < entries.size())
                                                           openEntry(context, entries[index]);
                                                   });
    if (ok && setting.set)
        setting.set(choice);
}

}  // namespace reminders

namespace {

const QString kChildRequests = QStringLiteral("ZgloszeniaDziecka");

void openChildRequests(RunContext& context, const QVariantMap& args)
{
    Command* command = area::command(args);
    if (command && command->opensWindow && command->checked) {
        context.opener.closeOwnedBy(command);
        return;
    }
    const QString title = args.value(area::titleKey()).toString();
    QObject* owner = area::owner(args);
    DataSet* master = area::master(args);
    if (!owner || !master) {
        // Without the register's list there is nothing to follow: the
        // child's requests alone.
        auto module = std::make_unique<TDMZglosz>(context);
        const int child = area::child(args);
        module->requests().table->setRowTest(
            [child](const Table& row) { return row.asInt(QStringLiteral("OSOBA")) == child; });
        TDMDane::openAsWindow(std::move(module), title);
        return;
    }
    // Made once, on first use, and kept by the register.
    auto* module = owner->findChild<TDMZglosz*>(kChildRequests, Qt::FindDirectChildrenOnly);
    if (!module) {
        module = new TDMZglosz(context, master, owner);
        module->setObjectName(kChildRequests);
    }
    module->browse(module->requests(), title, command);
}

}  // namespace

void registerFollowUpAreas(AreaRegistry& areas, reminders::Setting setting)
{
    areas.add(QStringLiteral("Zgloszenia"), [](RunContext& context, const QVariantMap& args) {
        QString title = args.value(area::titleKey()).toString();
        TDMDane::openAsWindow(std::make_unique<TDMZglosz>(context), title.isEmpty() ? QStringLiteral("Zgłoszenia") : title);
    });
    areas.add(kChildRequests, openChildRequests);
    areas.add(QStringLiteral("Terminy"), [](RunContext& context, const QVariantMap& args) {
        QString title = args.value(area::titleKey()).toString();
        TDMDane::openAsWindow(std::make_unique<TDMTerminy>(context), title.isEmpty() ? QStringLiteral("Terminy") : title);
    });
    areas.add(QStringLiteral("Przypomnienia"), [setting](RunContext& context, const QVariantMap& args) {
        reminders::show(context, setting, args.value(reminders::atStartKey()).toBool());
    });
}
