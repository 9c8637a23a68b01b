#pragma once
// The operations on the children marked in the children register, run by
// the charge driver as further operation codes:
//   11  copy fee components from the first marked child that has current ones
//   12  set the calculation method of chosen components
//   22  set the settlement method of chosen components
//   13  give internet passwords, handed over as the password sheet
//   14  one e-mail to the children's addresses
//   15  move the children to another group, with their history rows
//
//   marked_components.cpp   11, 12, 22
//   marked_passwords.cpp    13 (password_sheet.h: the printout)
//   marked_emails.cpp       14
//   marked_group.cpp        15

#include "fees/charge_run.h"

#include <QDate>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>

namespace report {
class Job;
}

Q_DECLARE_METATYPE(std::shared_ptr<report::Job>)

namespace fees {

class ChargeOperationRun;

// What lies outside the operations: the mail program, the preview of the
// password sheet and the passwords' random source.
struct MarkedServices {
    // Opens one "mailto:" link; false when it could not be opened.
    std::function<bool(const QUrl&)> openMail;
    // Shows the password sheet; by default the area passwordSheetArea().
    std::function<void(RunContext&, std::shared_ptr<report::Job>)> showSheet;
    // One new password; by default 8 characters from the system's
    // cryptographic generator.
    std::function<QString()> drawPassword;

    // The desktop's mail handler, the area, the system generator.
    static MarkedServices defaults();
};

// The area that previews the password sheet, with {sheetKey(): the job}.
inline QString passwordSheetArea() { return QStringLiteral("HaslaDostepu"); }
inline QString sheetKey() { return QStringLiteral("job"); }

// The operation of a marked-children code; null for another code.
std::unique_ptr<ChargeOperationRun> makeMarkedOperation(ChargeOperation code, const MarkedServices& services);

// Runs `code` for the children (in marking order; `currentRow` when none is
// marked) with the month of `day` as the run's month.
ChargeRunResult runMarked(RunContext& context, ChargeOperation code, const QList<int>& marked, int currentRow,
                          const QDate& day, const MarkedServices& services, MessageLog& log);

// "Operacje dla zaznaczonych dzieci" of the children register: the list of
// operations (code 14 preselected), then the chosen one for the children in
// the month of the system date. Not completed when the list is cancelled.
ChargeRunResult runChosenMarkedOperation(RunContext& context, const QList<int>& marked, int currentRow,
                                         const MarkedServices& services = MarkedServices::defaults());

// Eight characters, each a digit with probability one third, else a
// lower-case letter a–z; `bounded(n)` draws uniformly from 0 … n-1.
QString drawPassword(const std::function<quint32(quint32)>& bounded);

// The passwords' message texts.
QString overwriteQuestion();  // "Nadpisywać hasła już wypełnione?"
QString sheetTitle();         // "Hasła dostępu w internecie"
QString noAddressesMessage(); // "Brak dresów E-mail w podanym zakresie"

// The makers of the driver's table (default services).
std::unique_ptr<ChargeOperationRun> makeCopyComponentsOperation();
std::unique_ptr<ChargeOperationRun> makeSetMethodOperation();
std::unique_ptr<ChargeOperationRun> makeSetSettlementMethodOperation();
std::unique_ptr<ChargeOperationRun> makePasswordsOperation();
std::unique_ptr<ChargeOperationRun> makeEmailsOperation();
std::unique_ptr<ChargeOperationRun> makeMoveGroupOperation();

// Each operation with given services (marked_*.cpp).
std::unique_ptr<ChargeOperationRun> copyComponentsOperation();
std::unique_ptr<ChargeOperationRun> setMethodOperation(bool settlement);
std::unique_ptr<ChargeOperationRun> passwordsOperation(const MarkedServices& services);
std::unique_ptr<ChargeOperationRun> emailsOperation(const MarkedServices& services);
std::unique_ptr<ChargeOperationRun> moveGroupOperation();

}  // namespace fees
