#pragma once
// "Wydruk potwierdzenia wpłaty": one payment's confirmation on a template of
// type 3. "Drukuj" prints at once, "Podgląd" opens the preview, "Drukarka"
// sets the printer up. The dialog keeps its built template and printer
// until it closes.

#include "template_print_dialog.h"

class AreaRegistry;

class TFmWydPotw : public TemplatePrintDialog {
    Q_OBJECT
public:
    // `payment`: WPLATY.ID of the payment to confirm.
    TFmWydPotw(RunContext& context, int payment, QWidget* parent = nullptr);

    static QString title() { return QStringLiteral("Wydruk potwierdzenia wpłaty"); }

protected:
    std::unique_ptr<report::Job> makeDocument(const printouts::BuiltTemplate* built) override;

private:
    int m_payment = 0;
};

namespace printouts {

// The area "WydrukPotwierdzenia"; modal when the modal-windows setting is on.
void registerConfirmationPrintArea(AreaRegistry& areas);

}  // namespace printouts
