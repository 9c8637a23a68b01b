#include "browser/picker_logic.h"

#include <gtest/gtest.h>

using namespace picker;

namespace {

OrderedEntry command(const QString& text, int image = 1)
{
    return {text, text, image, false};
}

QStringList shown(const QList<OrderedEntry>& entries)
{
    QStringList texts;
    for (const OrderedEntry& e : entries)
        texts.append(e.separator ? QStringLiteral("|") : e.text);
    return texts;
}

QStringList order(const OrderedCheckList& list)
{
    QStringList texts;
    for (int i = 0; i < list.size(); ++i)
        texts.append(list.entry(i).separator ? QStringLiteral("|") : list.entry(i).text);
    return texts;
}

}  // namespace

TEST(PickerOrderedCheckList, DropsOnlySeparatorsAfterTheLastCheckedCommand)
{
    const OrderedEntry sep = OrderedEntry::makeSeparator();
    OrderedCheckList list({command("A"), sep, command("B"), sep, command("C")}, 4);
    EXPECT_EQ(shown(list.result()), QStringList({"A", "|", "B"}));

    // A separator before everything is the user's choice and stays.
    OrderedCheckList leading({sep, command("A"), sep}, 3);
    EXPECT_EQ(shown(leading.result()), QStringList({"|", "A"}));

    OrderedCheckList onlySeparators({sep, sep, command("A")}, 2);
    EXPECT_TRUE(onlySeparators.result().isEmpty());
}

TEST(PickerOrderedCheckList, MovesBeforeTheTargetAndInsertsSeparators)
{
    OrderedCheckList list({command("A"), command("B"), command("C"), command("D")}, 2);
    // Down: A dropped onto D lands just before D.
    EXPECT_EQ(list.moveBefore(0, 3), 2);
    EXPECT_EQ(order(list), QStringList({"B", "C", "A", "D"}));
    EXPECT_TRUE(list.isChecked(2));   // the check mark travels with its entry
    EXPECT_FALSE(list.isChecked(1));
    // Up: D dropped onto B goes first.
    EXPECT_EQ(list.moveBefore(3, 0), 0);
    EXPECT_EQ(order(list), QStringList({"D", "B", "C", "A"}));
    // Onto itself or onto the entry right after it: nothing moves.
    EXPECT_EQ(list.moveBefore(1, 2), 1);
    EXPECT_EQ(order(list), QStringList({"D", "B", "C", "A"}));
    // Past the end: last.
    EXPECT_EQ(list.moveBefore(0, list.size()), 3);
    EXPECT_EQ(order(list), QStringList({"B", "C", "A", "D"}));

    EXPECT_EQ(list.addSeparator(2), 2);
    EXPECT_EQ(list.addSeparator(-1), 5);
    EXPECT_EQ(order(list), QStringList({"B", "C", "|", "A", "D", "|"}));
    EXPECT_TRUE(list.isChecked(2));
    EXPECT_TRUE(list.isChecked(5));
    // B unchecked, C was unchecked from the start: the separator before A
    // now leads, the trailing one is dropped.
    list.setChecked(0, false);
    EXPECT_EQ(shown(list.result()), QStringList({"|", "A"}));
}

TEST(PickerCheckList, KeepsCheckedEntriesInOrder)
{
    const QList<PickEntry> entries{{"Motylki", 1}, {"Biedronki", 2}, {"Żabki", 3}};
    CheckList none(entries, 0);
    EXPECT_TRUE(none.result().isEmpty());
    CheckList more(entries, 10);
    EXPECT_EQ(more.result(), entries);

    CheckList list(entries, 1);
    EXPECT_TRUE(list.checkExactly({"Żabki", "Motylki"}));
    EXPECT_EQ(list.result(), (QList<PickEntry>{{"Motylki", 1}, {"Żabki", 3}}));
    EXPECT_FALSE(list.checkExactly({"Słoniki"}));
    EXPECT_TRUE(list.result().isEmpty());
    list.checkAll();
    EXPECT_EQ(list.result().size(), 3);
    list.clearAll();
    EXPECT_TRUE(list.result().isEmpty());
}

TEST(PickerSortOrder, OffersIndexesAfterThePrefixWithKnownFields)
{
    const QHash<QString, QString> captions{
        {"OSOBA", "Dziecko"}, {"KOD", "Kod"}, {"DATA", "Data"}, {"NAZWA", "Nazwa"}};
    const QList<QStringList> indexes{
        {"OSOBA", "DATA"},          // offered as "Data"
        {"OSOBA"},                  // nothing after the prefix
        {"OSOBA", "MEDIUM"},        // a field the table lacks
        {"KOD", "OSOBA"},           // another leading field
        {"osoba", "NAZWA", "KOD"},  // case of the stored list does not matter
    };
    const QList<SortOption> options = sortOrderOptions(indexes, captions, "OSOBA");
    EXPECT_EQ(options, (QList<SortOption>{{"OSOBA;DATA", "Data"}, {"OSOBA;NAZWA;KOD", "Nazwa, Kod"}}));
    EXPECT_EQ(indexOfFields(options, "OSOBA;NAZWA;KOD"), 1);
    EXPECT_EQ(indexOfFields(options, "OSOBA"), -1);

    const QList<SortOption> all = sortOrderOptions(indexes, captions, QString());
    ASSERT_EQ(all.size(), 4);
    EXPECT_EQ(all.at(1), (SortOption{"OSOBA", "Dziecko"}));
    EXPECT_EQ(all.at(2), (SortOption{"KOD;OSOBA", "Kod, Dziecko"}));
}

TEST(PickerRadio, ColumnsPresetAndSecondBoxLine)
{
    EXPECT_EQ(radioSetup(10, 0, 0).columns, 1);
    EXPECT_EQ(radioSetup(11, 0, 0).columns, 2);

    const RadioSetup withChoices = radioSetup(3, 2, 4);
    EXPECT_EQ(withChoices.checked, 1);
    EXPECT_EQ(withChoices.lineIndex, 0);  // radio choices: the box starts on its first line

    EXPECT_EQ(radioSetup(3, 4, 4).checked, -1);  // no such choice
    EXPECT_EQ(radioSetup(3, 0, 4).checked, -1);

    const RadioSetup linesOnly = radioSetup(0, 3, 4);
    EXPECT_EQ(linesOnly.checked, -1);
    EXPECT_EQ(linesOnly.lineIndex, 2);  // no radio choices: the preset line
    EXPECT_EQ(radioSetup(0, 5, 4).lineIndex, -1);
    EXPECT_EQ(radioSetup(2, 1, 0).lineIndex, -1);
}

TEST(PickerEntries, RecordsCommandsAndBoxes)
{
    const QList<PickEntry> records = recordEntries({{"Motylki", 4}, {"Żabki", 7}}, true);
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(records.first(), (PickEntry{"Wszystkie", kAllRecords}));
    EXPECT_EQ(indexOfValue(records, -1), 0);
    EXPECT_EQ(indexOfValue(records, qlonglong(7)), 2);  // keys read from SQL come as 64-bit
    EXPECT_EQ(indexOfValue(records, 5), -1);
    EXPECT_EQ(indexOfValue(records, QVariant()), -1);
    EXPECT_EQ(recordEntries({{"Motylki", 4}}, false).size(), 1);

    EXPECT_EQ(suggestions({{"Kowalska", "Anna"}, {"Nowak"}}), QStringList({"Kowalska Anna", "Nowak"}));

    EXPECT_EQ(withoutAccelerator("&Dane praw"), "Dane praw");
    EXPECT_EQ(withoutAccelerator("Wpłaty && zwroty&"), "Wpłaty & zwroty");
    const CommandOffer offer = commandOffer({{"&Dodaj", true}, {"-", false}, {"&Usuń", true}});
    EXPECT_EQ(offer.captions, QStringList({"Dodaj", "Usuń"}));
    EXPECT_EQ(offer.commandIndexes, QList<int>({0, 2}));

    const BoxSetup empty = optionBox({}, "Tak");
    EXPECT_EQ(empty.lines, QStringList({"Tak"}));
    EXPECT_EQ(empty.current, 0);
    EXPECT_EQ(optionBox({"Tak", "Nie"}, "Nie").current, 1);
    EXPECT_EQ(optionBox({"Tak", "Nie"}, "Może").current, -1);
}

TEST(PickerTimes, TimePromptStartsAndDates)
{
    const QTime now(14, 7, 9);
    const TimePromptStart one = timePromptStart("1", now);
    EXPECT_TRUE(one.typeOne);
    EXPECT_EQ(one.time, now);
    EXPECT_FALSE(timePromptStart(" 1", now).typeOne);  // only exactly "1"
    EXPECT_EQ(timePromptStart("8:05", now).time, QTime(8, 5));
    EXPECT_EQ(timePromptStart("12:30:15", now).time, QTime(12, 30, 15));
    EXPECT_EQ(timePromptStart("", now).time, now);
    EXPECT_EQ(timePromptStart("25:00", now).time, now);
    EXPECT_FALSE(timePromptStart("abc", now).typeOne);
    EXPECT_EQ(longTime(QTime(8, 5)), "08:05:00");

    const QDate today(2024, 3, 5);
    EXPECT_EQ(startDate(QDate(), today), today);
    EXPECT_EQ(startDate(QDate(2023, 1, 2), today), QDate(2023, 1, 2));
    EXPECT_EQ(startTime(QTime(), now), now);
}

TEST(PickerDialogs, ChoiceWidthsFiltersAndShifts)
{
    EXPECT_EQ(choiceButtonWidth(40, 75), 75);
    EXPECT_EQ(choiceButtonWidth(120, 75), 128);
    EXPECT_EQ(choiceDialogWidth(1280, 3, 128, 12), 640);
    // Six buttons of 200 need 6*200 + 5*10 + 24 pixels.
    EXPECT_EQ(choiceDialogWidth(1280, 6, 200, 12), 1274);

    EXPECT_EQ(qtFileFilter(""), "");
    EXPECT_EQ(qtFileFilter("Pliki txt|*.txt"), "Pliki txt (*.txt)");
    EXPECT_EQ(qtFileFilter("Dane|*.xls;*.xlsx|Wszystkie|*.*"), "Dane (*.xls *.xlsx);;Wszystkie (*.*)");
    EXPECT_EQ(qtFileFilter("Pliki PDF (*.PDF)|*.PDF|Pliki raportu (*.QRP)|*.QRP"),
              "Pliki PDF (*.PDF);;Pliki raportu (*.QRP)");

    EXPECT_EQ(shift(ShiftDirection::Up, 3), qMakePair(-3, 0));
    EXPECT_EQ(shift(ShiftDirection::Down, 3), qMakePair(3, 0));
    EXPECT_EQ(shift(ShiftDirection::Left, 2), qMakePair(0, -2));
    EXPECT_EQ(shift(ShiftDirection::Right, 2), qMakePair(0, 2));
}
