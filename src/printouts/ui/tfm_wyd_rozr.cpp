#include "tfm_wyd_rozr.h"

#include "browser/area_arguments.h"
#include "browser/area_registry.h"
#include "browser/prompts.h"
#include "browser/run_context.h"
#include "printouts/statement_data.h"
#include "printouts/statement_print_area.h"
#include "printouts/statement_printout.h"
#include "printouts/template_data_fields.h"
#include "store/database.h"
#include "store/error.h"
#include "store/params.h"
#include "store/polish_dates.h"
#include "store/query.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

using namespace printouts;

namespace {

QString startCaption(int start)
{
    return QStringLiteral("od: ") + polish::monthName(start % 100) + QLatin1Char(' ') + QString::number(start / 100);
}

// A row of a caption and a "zmień tekst" button.
QWidget* textRow(QWidget* parent, QLabel*& label, QPushButton*& button)
{
    auto* row = new QWidget(parent);
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    label = new QLabel(row);
    label->setTextFormat(Qt::PlainText);
    label->setMaximumWidth(260);
    button = new QPushButton(QStringLiteral("zmień tekst"), row);
    layout->addWidget(label, 1);
    layout->addWidget(button);
    return row;
}

}  // namespace

TFmWydRozr::TFmWydRozr(RunContext& context, int month, int child, QWidget* parent)
    : TemplatePrintDialog(context, TemplateType::Statements, QStringLiteral("TFmWydRozr"), title(), parent),
      m_month(month),
      m_child(child),
      m_groupSelection(GroupSelection::forLogin(context.db(), context.login.visibleGroups))
{
    Parameters params;
    params.load(context.db());
    m_extraSet = !params.daneZestawienia.trimmed().isEmpty();

    m_day = new QDateEdit(QDate::currentDate(), this);
    m_day->setCalendarPopup(true);
    m_day->setObjectName(QStringLiteral("Na dzień"));
    m_dayRow = m_day;
    form()->addRow(QStringLiteral("Na dzień"), m_day);

    QPushButton* change1 = nullptr;
    QPushButton* change2 = nullptr;
    m_text1Row = textRow(this, m_text1, change1);
    m_text2Row = textRow(this, m_text2, change2);
    change1->setObjectName(QStringLiteral("zmień tekst 1"));
    change2->setObjectName(QStringLiteral("zmień tekst 2"));
    connect(change1, &QPushButton::clicked, this, [this] { editText(1); });
    connect(change2, &QPushButton::clicked, this, [this] { editText(2); });
    form()->addRow(QStringLiteral("Tekst wstępu"), m_text1Row);
    form()->addRow(QStringLiteral("Tekst podsum."), m_text2Row);
    m_text1->setText(monthText(1));
    m_text2->setText(monthText(2));

    m_mode = new QComboBox(this);
    m_mode->setObjectName(QStringLiteral("Rozliczenie"));
    // For one child the fee-group summaries make no sense.
    m_mode->addItems(m_child != 0 ? settlementModeNames().mid(0, 3) : settlementModeNames());
    form()->addRow(QStringLiteral("Rozliczenie"), m_mode);

    auto* historyRow = new QWidget(this);
    auto* historyLayout = new QHBoxLayout(historyRow);
    historyLayout->setContentsMargins(0, 0, 0, 0);
    m_history = new QCheckBox(QStringLiteral("Historia"), historyRow);
    m_earliest = earliestHistoryStart(context.db(), month);
    m_historyStart = m_earliest;
    m_historyMonth = new QPushButton(startCaption(m_historyStart), historyRow);
    m_historyMonth->setObjectName(QStringLiteral("Miesiąc historii"));
    historyLayout->addWidget(m_history);
    historyLayout->addWidget(m_historyMonth);
    connect(m_historyMonth, &QPushButton::clicked, this, &TFmWydRozr::chooseHistoryMonth);
    form()->addRow(historyRow);

    m_unapproved = new QCheckBox(QStringLiteral("Pokaż tylko niezatwierdzone"), this);
    m_payments = new QCheckBox(QStringLiteral("Pokaż wpłaty i salda"), this);
    m_payments->setChecked(true);
    m_confirmations = new QCheckBox(QStringLiteral("Pokaż potwierdzenia wpłat"), this);
    form()->addRow(m_unapproved);
    form()->addRow(m_payments);
    form()->addRow(m_confirmations);

    auto* columns = new QWidget(this);
    auto* columnsLayout = new QHBoxLayout(columns);
    columnsLayout->setContentsMargins(0, 0, 0, 0);
    m_pesel = new QCheckBox(QStringLiteral("Pesel"), columns);
    m_sum = new QCheckBox(QStringLiteral("Suma"), columns);
    m_extra = new QCheckBox(QStringLiteral("Dod. dane"), columns);
    m_extra->setChecked(m_extraSet);
    m_extra->setVisible(m_extraSet);
    columnsLayout->addWidget(m_pesel);
    columnsLayout->addWidget(m_sum);
    columnsLayout->addWidget(m_extra);
    form()->addRow(columns);

    m_filters = new QGroupBox(QStringLiteral("Filtry"), this);
    auto* filters = new QFormLayout(m_filters);
    m_groups = new QPushButton(m_groupSelection.caption(), m_filters);
    m_groups->setObjectName(QStringLiteral("Grupy"));
    connect(m_groups, &QPushButton::clicked, this, &TFmWydRozr::chooseGroups);
    filters->addRow(QStringLiteral("Grupy"), m_groups);
    m_chosen = new QCheckBox(QStringLiteral("Wybrani"), m_filters);
    m_inactive = new QCheckBox(QStringLiteral("Nieaktywni"), m_filters);
    filters->addRow(m_chosen);
    filters->addRow(m_inactive);
    body()->addWidget(m_filters);
    m_filters->setVisible(m_child == 0);

    auto* debtRow = new QWidget(this);
    auto* debtLayout = new QHBoxLayout(debtRow);
    debtLayout->setContentsMargins(0, 0, 0, 0);
    m_debt = new QCheckBox(QStringLiteral("Zadłużeni powyżej"), debtRow);
    m_debtAmount = new QDoubleSpinBox(debtRow);
    m_debtAmount->setObjectName(QStringLiteral("Kwota zadłużenia"));
    m_debtAmount->setRange(0, 1000000);
    m_debtAmount->setDecimals(2);
    debtLayout->addWidget(m_debt);
    debtLayout->addWidget(m_debtAmount);
    body()->addWidget(debtRow);

    m_sort = new QGroupBox(QStringLiteral("Sort"), this);
    auto* sortLayout = new QHBoxLayout(m_sort);
    m_alphabetical = new QRadioButton(QStringLiteral("Alfabetycznie"), m_sort);
    m_defined = new QRadioButton(QStringLiteral("Zdefiniowany"), m_sort);
    m_defined->setChecked(true);
    sortLayout->addWidget(m_alphabetical);
    sortLayout->addWidget(m_defined);
    body()->addWidget(m_sort);
    m_sort->setVisible(!params.sortZestawienia.trimmed().isEmpty());

    connect(m_history, &QCheckBox::toggled, this, &TFmWydRozr::updateAvailability);
    connect(m_payments, &QCheckBox::toggled, this, &TFmWydRozr::updateAvailability);
    connect(m_debt, &QCheckBox::toggled, this, &TFmWydRozr::updateAvailability);
    connect(templateBox(), &QComboBox::currentIndexChanged, this, &TFmWydRozr::templateChanged);

    addButtons();
    templateChanged();
}

TFmWydRozr::~TFmWydRozr() = default;

QString TFmWydRozr::monthText(int field) const
{
    Query q(m_context.db(), field == 1 ? QStringLiteral("select TEKST1 from MIESIACE where KOD=:K")
                                       : QStringLiteral("select TEKST2 from MIESIACE where KOD=:K"));
    q.bind(QStringLiteral("K"), m_month).exec();
    return q.next() ? q.value(0).toString() : QString();
}

void TFmWydRozr::templateChanged()
{
    // The panels follow the fields the chosen template prints.
    QStringList used;
    m_landscape = false;
    try {
        if (const auto built = builtTemplate()) {
            m_landscape = built->layout.landscape;
            for (const TemplateElement& e : built->layout.elements)
                if (e.kind == ElementKind::DataField)
                    used << e.content;
        }
    } catch (const Error&) {
        // A malformed template is reported when it is printed.
    }
    form()->setRowVisible(m_day, used.contains(QStringLiteral("Data operacji")));
    form()->setRowVisible(m_text1Row, used.contains(QStringLiteral("Tekst 1")));
    form()->setRowVisible(m_text2Row, used.contains(QStringLiteral("Tekst 2")));
    updateAvailability();
}

void TFmWydRozr::updateAvailability()
{
    m_mode->setEnabled(m_landscape);
    m_historyMonth->setEnabled(m_history->isChecked());
    m_confirmations->setEnabled(m_payments->isChecked());
    const bool table = m_landscape && !m_history->isChecked();
    m_pesel->setEnabled(table);
    m_sum->setEnabled(table);
    m_extra->setEnabled(table);
    m_debtAmount->setEnabled(m_debt->isChecked());
}

void TFmWydRozr::chooseHistoryMonth()
{
    int year = m_historyStart / 100;
    int month = m_historyStart % 100;
    if (!m_context.prompts.pickMonth(historyPickerTitle(), historyPickerPrompt(), year, month))
        return;
    m_earliest = earliestHistoryStart(m_context.db(), m_month);
    m_historyStart = clampHistoryStart(year * 100 + month, m_earliest);
    m_historyMonth->setText(startCaption(m_historyStart));
}

void TFmWydRozr::editText(int which)
{
    QString text = monthText(which);
    const QString label = QStringLiteral("zmień tekst");
    if (!m_context.prompts.askMemo(windowTitle(), label, text))
        return;
    Query q(m_context.db(), which == 1 ? QStringLiteral("update MIESIACE set TEKST1=:T where KOD=:K")
                                       : QStringLiteral("update MIESIACE set TEKST2=:T where KOD=:K"));
    q.bind(QStringLiteral("T"), text.isEmpty() ? QVariant() : QVariant(text)).bind(QStringLiteral("K"), m_month).exec();
    (which == 1 ? m_text1 : m_text2)->setText(text);
}

void TFmWydRozr::chooseGroups()
{
    m_groupSelection.choose(m_context.prompts);
    m_groups->setText(m_groupSelection.caption());
}

StatementOptions TFmWydRozr::options() const
{
    StatementOptions o;
    o.month = m_month;
    o.day = m_day->date();
    o.mode = SettlementMode(m_mode->currentIndex());
    if (m_history->isChecked())
        o.historyFrom = m_historyStart;
    o.unapproved = m_unapproved->isChecked();
    o.payments = m_payments->isChecked();
    o.confirmations = m_confirmations->isChecked() && o.payments;
    o.pesel = m_pesel->isChecked();
    o.sum = m_sum->isChecked();
    o.extra = m_extraSet && m_extra->isChecked();
    if (m_debt->isChecked())
        o.debtOver = m_debtAmount->value();
    o.definedSort = !m_sort->isHidden() && m_defined->isChecked();
    if (m_child != 0) {
        o.child = m_child;
        return o;
    }
    o.inactive = m_inactive->isChecked();
    o.chosenFilter = m_chosen->isChecked();
    if (m_groupSelection.restricted()) {
        QList<int> codes;
        for (const GroupChoice& g : m_groupSelection.chosen()) {
            codes << g.code;
            o.groupNames << g.name;
        }
        o.groups = codes;
    }
    return o;
}

std::unique_ptr<report::Job> TFmWydRozr::makeDocument(const BuiltTemplate* built)
{
    StatementOptions o = options();
    Database& db = m_context.db();
    const bool landscape = isLandscapeStatement(built);
    if (db.hasColumn(QStringLiteral("NALICZ"), QStringLiteral("IDOPIE")))
        o.withoutHelpCentre = m_context.prompts.askYesNo(helpCentreQuestion());
    if (landscape && o.feeGroupMode()) {
        QList<PickEntry> groups;
        Query q(db, QStringLiteral("select KOD, NAZWA from GRUPYOP order by NAZWA"));
        q.exec();
        while (q.next())
            groups.append({q.value(1).toString(), q.value(0).toInt()});
        QVariant chosen = groups.isEmpty() ? QVariant() : groups.first().value;
        // Cancelling stops the printout without a word.
        if (!m_context.prompts.pickFromList(feeGroupPickerTitle(), QString(), groups, chosen) || !chosen.isValid())
            return nullptr;
        o.feeGroup = chosen.toInt();
    }
    if (o.chosenFilter) {
        const QList<ChildChoice> children = childChoices(db, statementChildren(db, o, landscape));
        if (!children.isEmpty())
            o.chosen = chooseChildren(m_context.prompts, children);
    }
    return makeStatementsJob(db, o, built);
}

namespace printouts {

void registerStatementPrintArea(AreaRegistry& areas)
{
    areas.add(area::statementPrintout(), [](RunContext& context, const QVariantMap& a) {
        TemplatePrintDialog::showFor(context, new TFmWydRozr(context, a.value(area::monthKey()).toInt(),
                                                             area::child(a), QApplication::activeWindow()));
    });
}

}  // namespace printouts
