#pragma once
// "Wydruk rozrachunków": the settlement statement of one month (or of one
// child's record) on a template of type 2. The options shown follow the
// template: the date and the month's two texts only when it prints them,
// the settlement mode, PESEL, totals and extra columns only for a
// landscape template; "Sort" only with the parameter "SORT ZESTAWIENIA".

#include "template_print_dialog.h"

#include "printouts/print_selection.h"
#include "printouts/statement_options.h"

class AreaRegistry;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QDoubleSpinBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QWidget;

class TFmWydRozr : public TemplatePrintDialog {
    Q_OBJECT
public:
    // `child`: DZIECI.KOD when opened for one child's record, else 0.
    TFmWydRozr(RunContext& context, int month, int child, QWidget* parent = nullptr);
    ~TFmWydRozr() override;

    static QString title() { return QStringLiteral("Wydruk rozrachunków"); }

    QComboBox* modeBox() const { return m_mode; }
    QCheckBox* historyBox() const { return m_history; }
    QPushButton* historyMonthButton() const { return m_historyMonth; }
    QCheckBox* unapprovedBox() const { return m_unapproved; }
    QCheckBox* paymentsBox() const { return m_payments; }
    QCheckBox* confirmationsBox() const { return m_confirmations; }
    QCheckBox* peselBox() const { return m_pesel; }
    QCheckBox* sumBox() const { return m_sum; }
    QCheckBox* extraBox() const { return m_extra; }
    QGroupBox* filtersBox() const { return m_filters; }
    QCheckBox* inactiveBox() const { return m_inactive; }
    QCheckBox* chosenBox() const { return m_chosen; }
    QCheckBox* debtBox() const { return m_debt; }
    QDoubleSpinBox* debtAmount() const { return m_debtAmount; }
    QGroupBox* sortBox() const { return m_sort; }
    QRadioButton* definedSortButton() const { return m_defined; }
    QWidget* dayRow() const { return m_dayRow; }
    QWidget* text1Row() const { return m_text1Row; }
    QWidget* text2Row() const { return m_text2Row; }
    QDateEdit* dayEdit() const { return m_day; }
    int historyStart() const { return m_historyStart; }

    // The month button: "Wybór miesiące", moved up to the earliest start.
    void chooseHistoryMonth();
    // "zmień tekst": the month's TEKST1 (1) or TEKST2 (2), saved at once.
    void editText(int which);
    void chooseGroups();
    // The options as the controls set them, before the questions of printing.
    printouts::StatementOptions options() const;

protected:
    std::unique_ptr<report::Job> makeDocument(const printouts::BuiltTemplate* built) override;

private:
    void templateChanged();
    void updateAvailability();
    QString monthText(int field) const;

    int m_month = 0;
    int m_child = 0;
    int m_earliest = 0;
    int m_historyStart = 0;
    bool m_landscape = false;
    bool m_extraSet = false;
    printouts::GroupSelection m_groupSelection;

    QWidget* m_dayRow = nullptr;
    QDateEdit* m_day = nullptr;
    QWidget* m_text1Row = nullptr;
    QWidget* m_text2Row = nullptr;
    QLabel* m_text1 = nullptr;
    QLabel* m_text2 = nullptr;
    QComboBox* m_mode = nullptr;
    QCheckBox* m_history = nullptr;
    QPushButton* m_historyMonth = nullptr;
    QCheckBox* m_unapproved = nullptr;
    QCheckBox* m_payments = nullptr;
    QCheckBox* m_confirmations = nullptr;
    QCheckBox* m_pesel = nullptr;
    QCheckBox* m_sum = nullptr;
    QCheckBox* m_extra = nullptr;
    QGroupBox* m_filters = nullptr;
    QPushButton* m_groups = nullptr;
    QCheckBox* m_inactive = nullptr;
    QCheckBox* m_chosen = nullptr;
    QCheckBox* m_debt = nullptr;
    QDoubleSpinBox* m_debtAmount = nullptr;
    QGroupBox* m_sort = nullptr;
    QRadioButton* m_alphabetical = nullptr;
    QRadioButton* m_defined = nullptr;
};

namespace printouts {

// The area "WydrukRozrachunkow" opened by the settlement months'
// "Zestawienia": {monthKey, childKey or absent}.
void registerStatementPrintArea(AreaRegistry& areas);

}  // namespace printouts
