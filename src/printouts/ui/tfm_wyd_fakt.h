#pragma once
// "Wydruk faktur i rachunków": the invoices and corrections of one month
// (or of one child's record) printed on a template of type 4, with the
// copy label and, for the whole month, the filters "Grupy", "Nieaktywni"
// and "Wybrani". "Drukuj" prints at once, "Podgląd" opens the preview,
// "Drukarka" sets the printer up. The dialog keeps its built template and
// printer until it closes.

#include "template_print_dialog.h"

#include "printouts/invoice_printout.h"
#include "printouts/print_selection.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class AreaRegistry;

class TFmWydFakt : public TemplatePrintDialog {
    Q_OBJECT
public:
    // `child`: DZIECI.KOD when opened for one child's record, else 0.
    TFmWydFakt(RunContext& context, int month, int child, QWidget* parent = nullptr);
    ~TFmWydFakt() override;

    QComboBox* copyBox() const { return m_copy; }
    QPushButton* groupsButton() const { return m_groups; }
    QCheckBox* inactiveBox() const { return m_inactive; }
    QCheckBox* chosenBox() const { return m_chosen; }
    QGroupBox* filtersBox() const { return m_filters; }
    const printouts::GroupSelection& groups() const { return m_groupSelection; }

    // "Grupy": the "Grupy dzieci" check list.
    void chooseGroups();
    // The documents the options select; with "Wybrani" ticked it asks
    // "Wybierz" over the children of those documents.
    printouts::InvoiceSelection selection();

    static QString title() { return QStringLiteral("Wydruk faktur i rachunków"); }

protected:
    std::unique_ptr<report::Job> makeDocument(const printouts::BuiltTemplate* built) override;

private:
    int m_month = 0;
    int m_child = 0;
    printouts::GroupSelection m_groupSelection;

    QComboBox* m_copy = nullptr;
    QGroupBox* m_filters = nullptr;
    QPushButton* m_groups = nullptr;
    QCheckBox* m_inactive = nullptr;
    QCheckBox* m_chosen = nullptr;
};

namespace printouts {

// The area "WydrukFaktur" opened by the invoices list's "Wydruk":
// {monthKey, childKey or absent}; modal when the modal-windows setting is on.
void registerInvoicePrintArea(AreaRegistry& areas);

}  // namespace printouts
