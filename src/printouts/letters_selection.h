#pragma once
// What the letters and labels printout (TRaportKores) prints: which active
// children, the two texts, the day and the description of the selection.
// Filled by the "Wydruk pism" dialog and by lunawactl.
//
//   LettersSelection      the children taken and the values handed over
//   letterChildren        the children in print order, read in one go
//   groupChoices          group names for codes, for the description
//   selectionDescription  the text of "Filtr danych"

#include "print_selection.h"

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

class Database;

namespace printouts {

struct LettersSelection {
    // Opened for one child's record: that child alone (still only when
    // active); the other filters are ignored.
    std::optional<int> child;
    std::optional<QList<int>> groups;  // KLASY.KOD; none: no restriction, empty: no child
    std::optional<QList<int>> chosen;  // "Wybrani": only these children; none: all
    QString text1;                     // "Tekst 1"
    QString text2;                     // "Tekst 2"
    QDate day = QDate::currentDate();  // "Na dzień", printed by "Data operacji"
    QString description;               // "Filtr danych"
};

// The active children (AKTYWNY 'T') the selection takes, by name in Polish
// order (equal names by KOD). Inactive children never print, not even for
// one child's record.
QList<int> letterChildren(Database& db, const LettersSelection& selection);

// The groups of the codes with their names, in the codes' order; unknown
// codes are left out.
QList<GroupChoice> groupChoices(Database& db, const QList<int>& codes);

// "grupy: A, B" for a group restriction (a group with code 0 is not
// named), nothing without one; "(tylko wybrani)" added, after ", " when
// something precedes, when "Wybrani" is ticked.
QString selectionDescription(const std::optional<QList<GroupChoice>>& groups, bool chosenTicked);

}  // namespace printouts
