#pragma once
// The configuration window: the single options row (OPCJE) with its
// configuration text and welfare centre, and the institution row (FIRMA).
// Both tables hold exactly one row: the browser neither adds nor removes
// rows of them.

#include "browser/module.h"

class TDMOpcje : public TDMDane {
    Q_OBJECT
public:
    explicit TDMOpcje(RunContext& context, QObject* parent = nullptr);

    DataSet& options() const { return *dataSet(QStringLiteral("Opcje")); }
    DataSet& institution() const { return *dataSet(QStringLiteral("Firma")); }

    bool canInsert(const DataSet&) const override { return false; }
    bool canDelete(const DataSet&) const override { return false; }

    // The configuration text on one line, as the window's column shows it.
    static QString preview(const QString& configurationText);

    void editConfiguration();   // "&Edycja konfiguracji"
    // "Wstaw format banku…": a delivered bank format becomes the payments
    // import section (replacing one only after a question). True when saved.
    bool insertBankFormat();
    void removeWelfareCentre(); // "Usuń ośrodek pomocy"
    // "Wybierz ośrodek pomocy", also the choice of the "Ośrodek pomocy"
    // column: one of the children the user sees, chosen from the list; does
    // nothing when the store has no OPIE column. True when one was saved.
    bool chooseWelfareCentre();
    static QString welfareCentrePickTitle();  // "Ośrodek pomocy - WYBÓR"
};
