#include "charge_run.h"

#include "browser/message_log.h"
#include "browser/prompts.h"
#include "browser/run_context.h"
#include "fees/charge_frame.h"
#include "fees/charge_operation.h"
#include "store/database.h"
#include "store/error.h"
#include "store/polish_dates.h"

#include <exception>

namespace fees {

namespace {

// Per thread: the guard is against re-entry from the same event loop.
thread_local bool running = false;

// Progress events are let through between children; a second run started
// from them must not interleave with this one.
class RunGuard {
public:
    RunGuard() { running = true; }
    ~RunGuard() { running = false; }
    RunGuard(const RunGuard&) = delete;
    RunGuard& operator=(const RunGuard&) = delete;
};

}  // namespace

bool chargeRunInProgress()
{
    return running;
}

QString stoppedRunMessage(const QString& error)
{
    return error + QStringLiteral("\r\nOperacja przerwana, niczego nie zapisano.");
}

QString unapprovedSettledRemark(int year, int month)
{
    return QStringLiteral("Miesiąc rozliczany ") + polish::monthYear(year, month)
        + QStringLiteral(" nie ma zatwierdzonych opłat: zaliczki nie zostaną odwrócone");
}

QString unapprovedSettledQuestion(int year, int month)
{
    return unapprovedSettledRemark(year, month) + QStringLiteral(".\r\nKontynuować naliczanie?");
}

ChargeRunResult runCharges(RunContext& context, ChargeOperation operation, int year, int month,
                           const ChargeChildren& children)
{
    MessageLog own;
    return runCharges(context, operation, year, month, children, context.messages ? *context.messages : own);
}

ChargeRunResult runCharges(RunContext& context, ChargeOperation operation, int year, int month,
                           const ChargeChildren& children, MessageLog& log)
{
    return runCharges(context, makeChargeOperation(operation), operation, year, month, children, log);
}

ChargeRunResult runCharges(RunContext& context, std::unique_ptr<ChargeOperationRun> run, ChargeOperation operation,
                           int year, int month, const ChargeChildren& children, MessageLog& log)
{
    ChargeRunResult result;
    if (running)
        return result;
    const RunGuard guard;
    if (!run)
        return result;

    Database& db = context.db();
    ChargeRunState state(db, context.prompts, log, context.params);
    state.context = &context;
    state.visibleGroups = context.login.visibleGroups;
    state.operation = operation;
    state.chargeMonth = ChargeMonth::of(year, month);
    state.settledMonth = state.chargeMonth.previous();
    state.invoicing = context.params.invoicing() && db.hasColumn(QStringLiteral("NALICZ"), QStringLiteral("IDF"))
        && db.hasTable(QStringLiteral("FAKT"));

    QString stop;
    try {
        // Every question comes before the transaction: nothing is written
        // (nor locked) while the user answers, and a cancel leaves no trace.
        if (run->choosesComponents() && !chooseComponents(state))
            return result;
        log.resetProgress();
        log.clearMessages();
        log.step(0, run->progressText(), false);
        if (!run->ask(state))
            return result;
        if (!chooseChildren(state, children))
            return result;

        db.batch([&] {
            ensureMonthRecord(db, state.chargeMonth);
            run->begin(state);
            log.show(true);
            const int total = int(state.children.size());
            for (const RunChild& child : state.children) {
                log.step(total, child.caption);
                run->runChild(state, child);
            }
            run->end(state);
        });
    } catch (const Error& e) {
        stop = e.message();
    } catch (const std::exception& e) {
        stop = QString::fromLocal8Bit(e.what());
    }

    result.errors = log.errors();
    result.remarks = log.remarks();
    if (!stop.isNull()) {
        result.stopError = stoppedRunMessage(stop);
        context.prompts.showError(result.stopError);
        return result;
    }
    log.step(0, QStringLiteral("Koniec operacji"), false);
    log.show(true);
    result.completed = true;
    try {
        run->finish(state);
    } catch (const Error& e) {
        context.prompts.showError(e.message());
    }
    result.errors = log.errors();
    result.remarks = log.remarks();
    return result;
}

}  // namespace fees
