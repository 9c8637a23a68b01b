#include "tfm_wyd_kores.h"

#include "browser/area_arguments.h"
#include "browser/area_registry.h"
#include "browser/prompts.h"
#include "browser/run_context.h"
#include "printouts/letters_printout.h"
#include "registers/tdm_dzieci.h"
#include "store/error.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

using namespace printouts;

namespace {

const QString text1Field = QStringLiteral("Tekst 1");
const QString text2Field = QStringLiteral("Tekst 2");

}  // namespace

TFmWydKores::TFmWydKores(RunContext& context, int child, QWidget* parent)
    : TemplatePrintDialog(context, TemplateType::Letters, QStringLiteral("TFmWydKores"), title(), parent),
      m_child(child),
      m_groupSelection(GroupSelection::forLogin(context.db(), context.login.visibleGroups))
{
    auto textRow = [this](const QString& name, QLineEdit*& edit, QToolButton*& button, QString& text, int which) {
        auto* row = new QWidget(this);
        auto* layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        edit = new QLineEdit(row);
        edit->setObjectName(name);
        edit->setMinimumWidth(320);
        connect(edit, &QLineEdit::textEdited, this, [&text](const QString& typed) { text = typed; });
        button = new QToolButton(row);
        button->setObjectName(name + QStringLiteral("..."));
        button->setText(QStringLiteral("..."));
        connect(button, &QToolButton::clicked, this, [this, which] { editText(which); });
        layout->addWidget(edit, 1);
        layout->addWidget(button);
        form()->addRow(name, row);
        return row;
    };
    m_text1Row = textRow(text1Field, m_text1Edit, m_text1Button, m_text1, 1);
    m_text2Row = textRow(text2Field, m_text2Edit, m_text2Button, m_text2, 2);

    m_day = new QDateEdit(context.systemDate(), this);
    m_day->setObjectName(QStringLiteral("Na dzień"));
    m_day->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    m_day->setCalendarPopup(true);
    form()->addRow(QStringLiteral("Na dzień"), m_day);

    m_filters = new QGroupBox(QStringLiteral("Filtry"), this);
    auto* filters = new QFormLayout(m_filters);
    // The letters dialog keeps the caption whatever is chosen.
    m_groups = new QPushButton(QStringLiteral("Grupy"), m_filters);
    m_groups->setObjectName(QStringLiteral("Grupy"));
    m_groups->setAutoDefault(false);
    connect(m_groups, &QPushButton::clicked, this, &TFmWydKores::chooseGroups);
    filters->addRow(m_groups);
    m_chosen = new QCheckBox(QStringLiteral("Wybrani"), m_filters);
    filters->addRow(m_chosen);
    body()->addWidget(m_filters);
    // From a child's record the printout is that child's alone.
    m_filters->setVisible(m_child == 0);

    connect(templateBox(), &QComboBox::currentIndexChanged, this, &TFmWydKores::showPanelsOfTemplate);
    showPanelsOfTemplate();
    addButtons();
}

TFmWydKores::~TFmWydKores() = default;

void TFmWydKores::showPanelsOfTemplate()
{
    std::shared_ptr<const BuiltTemplate> built;
    try {
        built = builtTemplate();
    } catch (const Error&) {
        // Reported when the template is printed; until then no panel applies.
    }
    auto uses = [&built](const QString& field) { return built && templateUses(built->layout, field); };
    form()->setRowVisible(m_text1Row, uses(text1Field));
    form()->setRowVisible(m_text2Row, uses(text2Field));
    form()->setRowVisible(m_day, uses(QStringLiteral("Data operacji")));
    adjustSize();
}

void TFmWydKores::editText(int which)
{
    QString& text = which == 1 ? m_text1 : m_text2;
    QString edited = text;
    if (!m_context.prompts.askMemo(title(), which == 1 ? text1Field : text2Field, edited))
        return;
    text = edited;
    (which == 1 ? m_text1Edit : m_text2Edit)->setText(text);
}

void TFmWydKores::chooseGroups()
{
    m_groupSelection.choose(m_context.prompts);
}

LettersSelection TFmWydKores::selection()
{
    LettersSelection s;
    s.text1 = m_text1;
    s.text2 = m_text2;
    s.day = m_day->date();
    if (m_child != 0) {
        s.child = m_child;
        return s;
    }
    std::optional<QList<GroupChoice>> groups;
    if (m_groupSelection.restricted()) {
        groups = m_groupSelection.chosen();
        QList<int> codes;
        for (const GroupChoice& g : m_groupSelection.chosen())
            codes << g.code;
        s.groups = codes;
    }
    s.description = selectionDescription(groups, m_chosen->isChecked());
    if (m_chosen->isChecked()) {
        const QList<ChildChoice> children = childChoices(m_context.db(), letterChildren(m_context.db(), s));
        s.chosen = chooseChildren(m_context.prompts, children);
    }
    return s;
}

std::unique_ptr<report::Job> TFmWydKores::makeDocument(const BuiltTemplate* built)
{
    return makeLettersJob(m_context.db(), selection(), built);
}

namespace printouts {

void registerLettersPrintArea(AreaRegistry& areas)
{
    areas.add(area::letters(), [](RunContext& context, const QVariantMap& a) {
        TemplatePrintDialog::showFor(context, new TFmWydKores(context, area::child(a), QApplication::activeWindow()));
    });
}

}  // namespace printouts
