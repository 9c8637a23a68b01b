#pragma once
// "Wydruk potwierdzenia wpłaty": one payment's confirmation on a template of
// type 3. "Drukuj" prints at once, "Podgląd" opens the preview, "Drukarka"
// sets the printer up. The dialog keeps its built template and printer
// until it closes.

#include "printouts/template_cache.h"
#include "printouts/template_store.h"

#include <QDialog>

#include <functional>
#include <memory>

class QComboBox;
class QPrinter;
class AreaRegistry;
struct RunContext;

namespace report {
class Job;
}

class TFmWydPotw : public QDialog {
    Q_OBJECT
public:
    // `payment`: WPLATY.ID of the payment to confirm.
    TFmWydPotw(RunContext& context, int payment, QWidget* parent = nullptr);
    ~TFmWydPotw() override;

    QComboBox* templateBox() const { return m_template; }

    // The chosen template built (cached while its ID and text stay), null
    // when there is none. A malformed layout throws Error.
    std::shared_ptr<const printouts::BuiltTemplate> builtTemplate();
    // The confirmation; null after a reported failure.
    std::shared_ptr<report::Job> makeJob();

    void print();         // "Drukuj"
    void preview();       // "Podgląd"
    void printerSetup();  // "Drukarka"

    QPrinter& printer();
    // The printer set-up dialog; replaceable in tests.
    std::function<bool(QPrinter&)> printerDialog;

    static QString title() { return QStringLiteral("Wydruk potwierdzenia wpłaty"); }

private:
    RunContext& m_context;
    int m_payment = 0;
    QList<printouts::StoredTemplate> m_templates;
    printouts::TemplateCache m_cache;
    std::unique_ptr<QPrinter> m_printer;

    QComboBox* m_template = nullptr;
};

namespace printouts {

// The area "WydrukPotwierdzenia"; modal when the modal-windows setting is on.
void registerConfirmationPrintArea(AreaRegistry& areas);

}  // namespace printouts
