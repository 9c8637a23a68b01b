#pragma once
// "Wydruk pism": letters, labels and identification cards of the active
// children on a template of type 1. Under "Szablon" only the panels the
// chosen template prints show: "Tekst 1" and "Tekst 2" (each with "..." for
// the multi-line editor) and "Na dzień"; for the whole kindergarten the
// filters "Grupy" and "Wybrani". Loading the texts from a parents'
// information record is not offered: that area does not exist yet.
// "Drukuj" prints at once, "Podgląd" opens the preview, "Drukarka" sets the
// printer up; the dialog keeps its built template and printer until it
// closes.

#include "template_print_dialog.h"

#include "printouts/letters_selection.h"

class AreaRegistry;
class QCheckBox;
class QDateEdit;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QToolButton;

class TFmWydKores : public TemplatePrintDialog {
    Q_OBJECT
public:
    // `child`: DZIECI.KOD when opened from a child's record, else 0.
    TFmWydKores(RunContext& context, int child, QWidget* parent = nullptr);
    ~TFmWydKores() override;

    QLineEdit* text1Edit() const { return m_text1Edit; }
    QLineEdit* text2Edit() const { return m_text2Edit; }
    QToolButton* text1Button() const { return m_text1Button; }
    QToolButton* text2Button() const { return m_text2Button; }
    QDateEdit* dayEdit() const { return m_day; }
    QGroupBox* filtersBox() const { return m_filters; }
    QPushButton* groupsButton() const { return m_groups; }
    QCheckBox* chosenBox() const { return m_chosen; }
    const QString& text1() const { return m_text1; }
    const QString& text2() const { return m_text2; }

    // Shows the panels of the fields the chosen template prints.
    void showPanelsOfTemplate();
    // "...": the multi-line editor of "Tekst 1" (1) or "Tekst 2" (2).
    void editText(int which);
    // "Grupy": the "Grupy dzieci" check list.
    void chooseGroups();
    // What the options select, with the description; with "Wybrani" ticked
    // it asks "Wybierz" over the children the groups give.
    printouts::LettersSelection selection();

    static QString title() { return QStringLiteral("Wydruk pism"); }

protected:
    std::unique_ptr<report::Job> makeDocument(const printouts::BuiltTemplate* built) override;

private:
    int m_child = 0;
    printouts::GroupSelection m_groupSelection;
    // The texts as typed or edited: a multi-line text stays whole although
    // its one-line box cannot show the breaks.
    QString m_text1, m_text2;

    QLineEdit* m_text1Edit = nullptr;
    QLineEdit* m_text2Edit = nullptr;
    QToolButton* m_text1Button = nullptr;
    QToolButton* m_text2Button = nullptr;
    QWidget* m_text1Row = nullptr;
    QWidget* m_text2Row = nullptr;
    QDateEdit* m_day = nullptr;
    QGroupBox* m_filters = nullptr;
    QPushButton* m_groups = nullptr;
    QCheckBox* m_chosen = nullptr;
};

namespace printouts {

// The area "Korespondencja" opened by the main window's command (every
// child) and by the children register's (childKey: that child alone);
// modal when the modal-windows setting is on.
void registerLettersPrintArea(AreaRegistry& areas);

}  // namespace printouts
