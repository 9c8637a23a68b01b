#pragma once
// "Wydruk faktur i rachunków": the invoices and corrections of one month
// (or of one child's record) printed on a template of type 4, with the
// copy label and, for the whole month, the filters "Grupy", "Nieaktywni"
// and "Wybrani". "Drukuj" prints at once, "Podgląd" opens the preview,
// "Drukarka" sets the printer up. The dialog keeps its built template and
// printer until it closes.

#include "printouts/invoice_printout.h"
#include "printouts/print_selection.h"
#include "printouts/template_cache.h"
#include "printouts/template_store.h"

#include <QDialog>

#include <functional>
#include <memory>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QPrinter;
class QPushButton;
class AreaRegistry;
struct RunContext;

namespace report {
class Job;
}

class TFmWydFakt : public QDialog {
    Q_OBJECT
public:
    // `child`: DZIECI.KOD when opened for one child's record, else 0.
    TFmWydFakt(RunContext& context, int month, int child, QWidget* parent = nullptr);
    ~TFmWydFakt() override;

    QComboBox* templateBox() const { return m_template; }
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
    // The chosen template built (cached while its ID and text stay), null
    // when there is none. A malformed layout reports its message and gives
    // null too: the document then prints its fixed parts.
    std::shared_ptr<const printouts::BuiltTemplate> builtTemplate();
    // The report of the options; null after a reported failure.
    std::shared_ptr<report::Job> makeJob();

    void print();         // "Drukuj"
    void preview();       // "Podgląd"
    void printerSetup();  // "Drukarka"

    QPrinter& printer();
    // The printer set-up dialog; replaceable in tests.
    std::function<bool(QPrinter&)> printerDialog;

    static QString title() { return QStringLiteral("Wydruk faktur i rachunków"); }

private:
    RunContext& m_context;
    int m_month = 0;
    int m_child = 0;
    QList<printouts::StoredTemplate> m_templates;
    printouts::GroupSelection m_groupSelection;
    printouts::TemplateCache m_cache;
    std::unique_ptr<QPrinter> m_printer;

    QComboBox* m_template = nullptr;
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
