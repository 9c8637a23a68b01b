#pragma once
// What every dialog printing a document on a print template shares: the
// "Szablon" picker over the templates of the document's type (first
// preselected), the built-template cache and the printer kept until the
// dialog closes, and the buttons "Drukuj" (print at once), "Podgląd" (the
// preview) and "Drukarka" (printer set-up). A document's dialog adds its
// own options to form() and says how its report is made.

#include "printouts/print_template.h"
#include "printouts/template_cache.h"
#include "printouts/template_store.h"

#include <QDialog>

#include <functional>
#include <memory>

class QComboBox;
class QFormLayout;
class QPrinter;
class QVBoxLayout;
struct RunContext;

namespace report {
class Job;
}

class TemplatePrintDialog : public QDialog {
    Q_OBJECT
public:
    ~TemplatePrintDialog() override;

    QComboBox* templateBox() const { return m_template; }

    // The chosen template built (cached while its ID and text stay), null
    // when there is none. A malformed layout throws Error.
    std::shared_ptr<const printouts::BuiltTemplate> builtTemplate();
    // The document's report; a malformed template is reported and the
    // document prints its fixed parts. Null after a reported failure.
    std::shared_ptr<report::Job> makeJob();

    void print();         // "Drukuj"
    void preview();       // "Podgląd"
    void printerSetup();  // "Drukarka"

    QPrinter& printer();
    // The printer set-up dialog; replaceable in tests.
    std::function<bool(QPrinter&)> printerDialog;

    // Opens a print dialog as the areas do: modal and waited for when the
    // modal-windows setting is on, else shown and freed when closed.
    static void showFor(RunContext& context, TemplatePrintDialog* dialog);

protected:
    TemplatePrintDialog(RunContext& context, printouts::TemplateType type, const QString& objectName,
                        const QString& title, QWidget* parent);

    // The rows under "Szablon", and the dialog's column for whole groups.
    QFormLayout* form() const { return m_form; }
    QVBoxLayout* body() const { return m_body; }
    // Called last by the document's constructor: the buttons under its options.
    void addButtons();

    // The document on `built` (null: no template); a refusal throws Error.
    virtual std::unique_ptr<report::Job> makeDocument(const printouts::BuiltTemplate* built) = 0;

    RunContext& m_context;

private:
    printouts::TemplateType m_type;
    QList<printouts::StoredTemplate> m_templates;
    printouts::TemplateCache m_cache;
    std::unique_ptr<QPrinter> m_printer;
    QComboBox* m_template = nullptr;
    QFormLayout* m_form = nullptr;
    QVBoxLayout* m_body = nullptr;
};
