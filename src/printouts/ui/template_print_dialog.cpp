#include "template_print_dialog.h"

#include "browser/prompts.h"
#include "browser/run_context.h"
#include "printouts/report_job.h"
#include "printouts/template_picker.h"
#include "store/error.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>
#include <QVBoxLayout>

using namespace printouts;

TemplatePrintDialog::TemplatePrintDialog(RunContext& context, TemplateType type, const QString& objectName,
                                         const QString& title, QWidget* parent)
    : ReportPrintDialog(context, objectName, title, parent), m_type(type),
      m_templates(templatesOfType(context.db(), type))
{
    m_form = new QFormLayout;
    m_template = new QComboBox(this);
    m_template->setObjectName(QStringLiteral("Szablon"));
    for (const StoredTemplate& t : std::as_const(m_templates))
        m_template->addItem(t.name, t.id);
    m_form->addRow(QStringLiteral("Szablon"), m_template);
    body()->addLayout(m_form);
}

TemplatePrintDialog::~TemplatePrintDialog() = default;

void TemplatePrintDialog::addButtons()
{
    QDialogButtonBox* buttons = addPrintButtons();
    QPushButton* close = buttons->addButton(QStringLiteral("Zamknij"), QDialogButtonBox::RejectRole);
    close->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

std::shared_ptr<const BuiltTemplate> TemplatePrintDialog::builtTemplate()
{
    const int index = m_template->currentIndex();
    if (index < 0 || index >= m_templates.size())
        return nullptr;
    // Read again: the template may have been redrawn since the dialog opened.
    const int id = m_templates.at(index).id;
    QString text = m_templates.at(index).layoutText;
    for (const StoredTemplate& t : templatesOfType(m_context.db(), m_type))
        if (t.id == id)
            text = t.layoutText;
    Database& db = m_context.db();
    return m_cache.get(id, text, [&db](const PrintTemplate& layout) { return readTemplatePictures(db, layout); });
}

std::shared_ptr<report::Job> TemplatePrintDialog::makeJob()
{
    try {
        std::shared_ptr<const BuiltTemplate> built;
        try {
            built = builtTemplate();
        } catch (const Error& e) {
            m_context.prompts.showError(e.message());
        }
        return std::shared_ptr<report::Job>(makeDocument(built.get()));
    } catch (const Error& e) {
        m_context.prompts.showError(e.message());
        return nullptr;
    }
}

void TemplatePrintDialog::beforePrinterSetup()
{
    try {
        builtTemplate();
    } catch (const Error& e) {
        m_context.prompts.showError(e.message());
    }
}
