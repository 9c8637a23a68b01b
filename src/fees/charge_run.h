#pragma once
// The batch driver of the month's charges: one frame (components, months,
// children, the message window) around operation codes. Compute (0) writes
// the computed lines of the charge month and settles the month before it;
// approve (1) makes the computed lines final and puts them on invoices.
// The operations on marked children (marked_operations.h) are further codes.
//
// A run is one transaction: a stopping error leaves every table as it was
// and its message says that nothing was written.

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

class MessageLog;
struct RunContext;

namespace fees {

enum class ChargeOperation : int {
    Compute = 0,
    Approve = 1,
    CopyComponents = 11,
    SetMethod = 12,
    SetSettlementMethod = 22,
    Passwords = 13,
    Emails = 14,
    MoveGroup = 15,
};

class ChargeOperationRun;

// Who a run covers; with neither marked children nor one child the user
// chooses groups ("Wybierz grupy") and every active child of them is taken.
struct ChargeChildren {
    QList<int> marked;  // children marked in a grid, in marking order
    int currentRow = 0; // the grid's current child, taken when none is marked
    int oneChild = 0;   // the child whose settlement months are shown
    bool fromGrid = false;  // marked/currentRow come from a children grid

    static ChargeChildren byGroups() { return {}; }
    static ChargeChildren child(int kod) { return {{}, 0, kod, false}; }
};

struct ChargeRunResult {
    bool completed = false;  // false: cancelled or stopped
    QString stopError;       // the stopping error's message; empty when cancelled
    QStringList errors;      // "Błędy" of the message window
    QStringList remarks;     // "Uwagi"
};

// Runs `operation` for the charge month `year`-`month` through the
// context's prompts and message window (context.messages, may be null).
// Re-entry while a run is in progress returns at once, not completed.
// A stopping error has been shown through context.prompts.showError when
// this returns; stopError repeats that text.
ChargeRunResult runCharges(RunContext& context, ChargeOperation operation, int year, int month,
                           const ChargeChildren& children);

// The same with the message window given (a caller without a window may
// pass one of its own to watch the progress).
ChargeRunResult runCharges(RunContext& context, ChargeOperation operation, int year, int month,
                           const ChargeChildren& children, MessageLog& log);

// The same with an operation made by the caller (one given its own
// services, say); `operation` is its code.
ChargeRunResult runCharges(RunContext& context, std::unique_ptr<ChargeOperationRun> run, ChargeOperation operation,
                           int year, int month, const ChargeChildren& children, MessageLog& log);

// The text a stopping error is reported with.
QString stoppedRunMessage(const QString& error);

bool chargeRunInProgress();

// The remark (in "Uwagi") and the question of a run whose settled month has
// computed lines only: nothing of it is reversed.
QString unapprovedSettledRemark(int year, int month);
QString unapprovedSettledQuestion(int year, int month);

}  // namespace fees
