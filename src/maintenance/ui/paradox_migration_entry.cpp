#include "paradox_migration_entry.h"

#include "maintenance/paradox_migration.h"
#include "maintenance/paradox_migration_flow.h"

#include "browser/message_log.h"
#include "browser/run_context.h"
#include "store/database.h"
#include "store/error.h"

#include <QAction>
#include <QApplication>
#include <QMenu>

namespace {

bool emptyStore(RunContext& context)
{
    // Not yet open at start: the menu asks again when it opens.
    if (!context.db().isOpen())
        return false;
    try {
        return migration::storeIsEmpty(context.db());
    } catch (const Error&) {
        return false;  // a store that cannot be read is no place to bring data into
    }
}

}  // namespace

QAction* installParadoxMigrationEntry(QMenu* fileMenu, RunContext& context, std::function<void()> loginAgain)
{
    if (!fileMenu)
        return nullptr;
    auto* action = new QAction(QStringLiteral("Przenieś dane z tabel Paradox..."), fileMenu);
    action->setObjectName(QStringLiteral("PrzeniesParadox1"));
    action->setStatusTip(QStringLiteral("Przenieś dane z tabel Paradox do nowej bazy"));
    fileMenu->addAction(action);
    action->setVisible(emptyStore(context));
    // Checked each time the menu opens: any saved child or payment hides it.
    QObject::connect(fileMenu, &QMenu::aboutToShow, action, [action, &context] {
        action->setVisible(emptyStore(context));
    });
    QObject::connect(action, &QAction::triggered, action, [action, &context, loginAgain] {
        if (!emptyStore(context)) {
            action->setVisible(false);
            return;
        }
        MessageLog own;
        MessageLog& log = context.messages ? *context.messages : own;
        const bool done = migration::runFromChosenFolder(context.db(), context.prompts, log, [](bool on) {
            if (on)
                QApplication::setOverrideCursor(Qt::WaitCursor);
            else
                QApplication::restoreOverrideCursor();
        });
        if (!done)
            return;
        action->setVisible(false);
        if (loginAgain)
            loginAgain();
    });
    return action;
}
