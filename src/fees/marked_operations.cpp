#include "marked_operations.h"

#include "fees/charge_operation.h"

#include "browser/area_registry.h"
#include "browser/message_log.h"
#include "browser/prompts.h"
#include "browser/run_context.h"
#include "communication/mail_link.h"
#include "registers/tdm_dzieci.h"

#include <QRandomGenerator>

namespace fees {

MarkedServices MarkedServices::defaults()
{
    MarkedServices s;
    s.openMail = mail::openWithDesktop;
    s.showSheet = [](RunContext& context, std::shared_ptr<report::Job> job) {
        context.areas.open(passwordSheetArea(), context, {{sheetKey(), QVariant::fromValue(std::move(job))}});
    };
    // Never a clock-seeded generator: the passwords guard the children's data.
    s.drawPassword = [] {
        return fees::drawPassword([](quint32 n) { return QRandomGenerator::system()->bounded(n); });
    };
    return s;
}

std::unique_ptr<ChargeOperationRun> makeMarkedOperation(ChargeOperation code, const MarkedServices& services)
{
    switch (code) {
    case ChargeOperation::CopyComponents:
        return copyComponentsOperation();
    case ChargeOperation::SetMethod:
        return setMethodOperation(false);
    case ChargeOperation::SetSettlementMethod:
        return setMethodOperation(true);
    case ChargeOperation::Passwords:
        return passwordsOperation(services);
    case ChargeOperation::Emails:
        return emailsOperation(services);
    case ChargeOperation::MoveGroup:
        return moveGroupOperation();
    default:
        return nullptr;
    }
}

std::unique_ptr<ChargeOperationRun> makeCopyComponentsOperation()
{
    return copyComponentsOperation();
}
std::unique_ptr<ChargeOperationRun> makeSetMethodOperation()
{
    return setMethodOperation(false);
}
std::unique_ptr<ChargeOperationRun> makeSetSettlementMethodOperation()
{
    return setMethodOperation(true);
}
std::unique_ptr<ChargeOperationRun> makePasswordsOperation()
{
    return passwordsOperation(MarkedServices::defaults());
}
std::unique_ptr<ChargeOperationRun> makeEmailsOperation()
{
    return emailsOperation(MarkedServices::defaults());
}
std::unique_ptr<ChargeOperationRun> makeMoveGroupOperation()
{
    return moveGroupOperation();
}

ChargeRunResult runMarked(RunContext& context, ChargeOperation code, const QList<int>& marked, int currentRow,
                          const QDate& day, const MarkedServices& services, MessageLog& log)
{
    ChargeChildren children;
    children.fromGrid = true;
    children.marked = marked;
    children.currentRow = currentRow;
    return runCharges(context, makeMarkedOperation(code, services), code, day.year(), day.month(), children, log);
}

ChargeRunResult runChosenMarkedOperation(RunContext& context, const QList<int>& marked, int currentRow,
                                         const MarkedServices& services)
{
    QList<PickEntry> entries;
    for (const ChildOperation& op : childOperations())
        entries << PickEntry{op.text, op.code};
    QVariant chosen = int(ChargeOperation::Emails);
    if (!context.prompts.pickFromList(QStringLiteral("Operacje dla zaznaczonych dzieci"), QString(), entries, chosen)
        || !chosen.isValid())
        return {};
    MessageLog own;
    return runMarked(context, ChargeOperation(chosen.toInt()), marked, currentRow, context.systemDate(), services,
                     context.messages ? *context.messages : own);
}

}  // namespace fees
