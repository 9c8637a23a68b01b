#pragma once
// What a settlement statement ("Zestawienie naliczeń") prints: the options of
// the "Wydruk rozrachunków" dialog as the report takes them, the history
// start month and the two parameters that shape the table ("SORT
// ZESTAWIENIA", "DANE ZESTAWIENIA"). The dialog and lunawactl both fill a
// StatementOptions.

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class Database;

namespace printouts {

// "Rozliczenie": what the landscape table shows of the charges.
enum class SettlementMode {
    ValueOnly = 0,          // "tylko wartość rozliczenia"
    QuantityAndPrice = 1,   // "ilość i cena rozliczenia"
    Full = 2,               // "pełne rozliczenie"
    FeeGroupPrices = 3,     // "sumaryczny podział cen dla grupy opłat"
    FeeGroupSettlement = 4, // "rozliczenie dla grupy opłat"
};
QStringList settlementModeNames();

struct StatementOptions {
    int month = 0;                     // MIESIACE.KOD of the statement month
    std::optional<int> child;          // opened for one child's record
    std::optional<QList<int>> groups;  // KLASY.KOD; none: no restriction, empty: no child
    QStringList groupNames;            // the chosen groups' names, for the subtitle
    bool inactive = false;             // "Nieaktywni"
    std::optional<QList<int>> chosen;  // the children ticked in "Wybierz"; none: all
    bool chosenFilter = false;         // "Wybrani" was ticked (the subtitle says so)
    QDate day = QDate::currentDate();  // "Na dzień"
    SettlementMode mode = SettlementMode::ValueOnly;
    std::optional<int> feeGroup;       // GRUPYOP.KOD, modes 3 and 4
    std::optional<int> historyFrom;    // year × 100 + month; none: no history
    bool unapproved = false;           // "Pokaż tylko niezatwierdzone"
    bool payments = true;              // "Pokaż wpłaty i salda"
    bool confirmations = false;        // "Pokaż potwierdzenia wpłat"
    bool pesel = false;                // landscape: "Pesel"
    bool sum = false;                  // landscape: "Suma"
    bool extra = false;                // landscape: "Dod. dane"
    std::optional<double> debtOver;    // "Zadłużeni powyżej"
    bool definedSort = false;          // "Sort": "Zdefiniowany" (with the parameter set)
    bool withoutHelpCentre = false;    // "Bez opłat pokrywanych przez ośrodek pomocy?" answered Yes

    // The options as they apply to a layout: mode, PESEL, totals and extra
    // columns are landscape-only (the last three without history); one
    // child has only the first three modes; modes 3 and 4 show neither
    // payments nor history; confirmations need payments.
    StatementOptions effective(bool landscape) const;
    bool feeGroupMode() const { return mode == SettlementMode::FeeGroupPrices || mode == SettlementMode::FeeGroupSettlement; }
};

// "SORT ZESTAWIENIA": a DZIECI field, optionally "," and the width of the
// "L.p." column (30 when missing or not a number).
struct SortSetting {
    QString field;
    int numberWidth = 30;
};
SortSetting parseSortSetting(const QString& parameter);

// One item of "DANE ZESTAWIENIA": FIELD/WIDTH/CAPTION (220 when the width
// is not a number).
struct ExtraColumn {
    QString field;
    int width = 220;
    QString caption;
};
QList<ExtraColumn> parseExtraColumns(const QString& parameter);

// The earliest history start allowed for the statement month `monthKod`, as
// year × 100 + month: at most 12 months back including the statement month,
// never back past a wholly free month ("-"), at least the first month
// recorded. 0 when the month does not exist.
int earliestHistoryStart(Database& db, int monthKod);
// A picked start moved up to the earliest allowed.
inline int clampHistoryStart(int picked, int earliest) { return picked < earliest ? earliest : picked; }

// The month picker of the history start.
inline QString historyPickerTitle() { return QStringLiteral("Wybór miesiące"); }
inline QString historyPickerPrompt() { return QStringLiteral("Wybierz miesiąc początkowy danych historycznych"); }
inline QString helpCentreQuestion() { return QStringLiteral("Bez opłat pokrywanych przez ośrodek pomocy?"); }
inline QString feeGroupPickerTitle() { return QStringLiteral("Wybierz grupę opłat"); }

}  // namespace printouts
