#pragma once
// What every dialog printing a document on a print template shares, over
// the print dialog's printer and buttons: the "Szablon" picker over the
// templates of the document's type (first preselected) and the
// built-template cache. A document's dialog adds its own options to form()
// and says how its report is made.

#include "report_print_dialog.h"

#include "printouts/print_template.h"
#include "printouts/template_cache.h"
#include "printouts/template_store.h"

class QComboBox;
class QFormLayout;

class TemplatePrintDialog : public ReportPrintDialog {
    Q_OBJECT
public:
    ~TemplatePrintDialog() override;

    QComboBox* templateBox() const { return m_template; }

    // The chosen template built (cached while its ID and text stay), null
    // when there is none. A malformed layout throws Error.
    std::shared_ptr<const printouts::BuiltTemplate> builtTemplate();
    // The document's report; a malformed template is reported and the
    // document prints its fixed parts. Null after a reported failure.
    std::shared_ptr<report::Job> makeJob() override;

protected:
    TemplatePrintDialog(RunContext& context, printouts::TemplateType type, const QString& objectName,
                        const QString& title, QWidget* parent);

    // The rows under "Szablon".
    QFormLayout* form() const { return m_form; }
    // Called last by the document's constructor: the buttons under its
    // options, with "Zamknij".
    void addButtons();
    // A malformed template is reported before the printer is set up.
    void beforePrinterSetup() override;

    // The document on `built` (null: no template); a refusal throws Error.
    virtual std::unique_ptr<report::Job> makeDocument(const printouts::BuiltTemplate* built) = 0;

private:
    printouts::TemplateType m_type;
    QList<printouts::StoredTemplate> m_templates;
    printouts::TemplateCache m_cache;
    QComboBox* m_template = nullptr;
    QFormLayout* m_form = nullptr;
};
