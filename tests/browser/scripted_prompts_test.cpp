#include "support/scripted_prompts.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using Kind = ScriptedPrompts::Kind;

TEST(ScriptedPrompts, AnswersTheScriptAndRecordsWhatWasShown)
{
    ScriptedPrompts p;
    p.expectYesNo("Usunąć dane?", true);
    p.expectText("Hasło w internecie", "Hasło", "abc");
    p.expectChoice("Potwierdzenie", -3);
    p.expectDate("Data zmiany", QDate(2024, 3, 5)).withText("Przynależy do nowej grupy od dnia:");
    p.expectMonth("Wybór miesiąca", 2024, 2);

    p.showInfo("Powtórzony PESEL (Kowalska Anna)");  // unscripted messages are only recorded
    EXPECT_TRUE(p.askYesNo("Usunąć dane?"));
    QString password = "******";
    EXPECT_TRUE(p.askText("Hasło w internecie", "Hasło", password, true));
    EXPECT_EQ(password, "abc");
    EXPECT_EQ(p.askChoice("Potwierdzenie", "Operacje na danych serwisu internetowego - chesz",
                          {"Synchronizować dane", "Ustawić konfigurację", "Nadać hasło administratora"}),
              -3);
    QDate date;
    EXPECT_TRUE(p.pickDate("Data zmiany", "Przynależy do nowej grupy od dnia:", date));
    EXPECT_EQ(date, QDate(2024, 3, 5));
    int year = 2024, month = 3;
    EXPECT_TRUE(p.pickMonth("Wybór miesiąca", "Podaj nowy miesiąc rozrachunkowy", year, month));
    EXPECT_EQ(month, 2);
    p.showError("Brak dostępu");

    EXPECT_EQ(p.shown(), QStringList({"Powtórzony PESEL (Kowalska Anna)", "Usunąć dane?",
                                      "Operacje na danych serwisu internetowego - chesz", "Brak dostępu"}));
    ASSERT_EQ(p.asked().size(), 7);
    EXPECT_EQ(p.asked().at(2).preset, "******");
    EXPECT_EQ(p.asked().at(3).offered.size(), 3);
    EXPECT_TRUE(p.done());
}

TEST(ScriptedPrompts, AWrongPromptFailsAndIsCancelled)
{
    ScriptedPrompts p;
    p.expectYesNo("Usunąć dane?", true);
    bool answer = true;
    EXPECT_NONFATAL_FAILURE(answer = p.askYesNo("Zapisać zmiany?"),
                            "unexpected yes/no question \"Zapisać zmiany?\"; expected yes/no question "
                            "\"Usunąć dane?\"");
    EXPECT_FALSE(answer);

    // The expected question is still waiting.
    EXPECT_NONFATAL_FAILURE(p.done(), "never asked: yes/no question \"Usunąć dane?\"");

    // Same kind and title, another label.
    p.expectText("Wyszukiwanie", "Nazwisko", "Kow");
    QString text = "Now";
    const auto ask = [&] { return p.askText("Wyszukiwanie", "Imię", text); };
    EXPECT_NONFATAL_FAILURE(answer = ask(), "expected text prompt \"Wyszukiwanie\" with \"Nazwisko\"");
    EXPECT_FALSE(answer);
    EXPECT_EQ(text, "Now");

    // The expectation is still waiting: done() reports it.
    EXPECT_NONFATAL_FAILURE(p.done(), "never asked: text prompt \"Wyszukiwanie\" with \"Nazwisko\"");
    EXPECT_NONFATAL_FAILURE(p.askYesNo("Usunąć dane?"), "no prompt expected");
}

TEST(ScriptedPrompts, PromptsLeftOverFailAtDestruction)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedPrompts p;
            p.expectYesNo("Usunąć dane?", true);
        },
        "1 expected prompt(s) never asked: yes/no question \"Usunąć dane?\"");
}

TEST(ScriptedPrompts, AnswersMustBeOfferedAndCancelKeepsValues)
{
    ScriptedPrompts p;
    const QList<PickEntry> groups{{"Motylki", 1}, {"Żabki", 2}};
    QVariant group = 1;
    p.expectList("Wybierz nową grupę", 3);
    const auto pick = [&] { return p.pickFromList("Wybierz nową grupę", QString(), groups, group); };
    bool ok = true;
    EXPECT_NONFATAL_FAILURE(ok = pick(), "the scripted answer \"3\" is not offered");
    EXPECT_FALSE(ok);
    EXPECT_EQ(group, 1);

    p.expectListEntry("Wybierz nową grupę", "Żabki");
    EXPECT_TRUE(pick());
    EXPECT_EQ(group, 2);

    int key = 5;
    p.expectRecord("Grupa", kAllRecords);
    EXPECT_TRUE(p.pickRecord("Grupa", groups, key, true));
    EXPECT_EQ(key, kAllRecords);
    p.expectRecord("Grupa", kAllRecords);
    const auto pickWithoutAll = [&] { return p.pickRecord("Grupa", groups, key, false); };
    key = 5;
    EXPECT_NONFATAL_FAILURE(pickWithoutAll(), "key -1 is not offered");
    EXPECT_EQ(key, 5);

    QList<PickEntry> entries = groups;
    p.expectCancel(Kind::Checks, "Wybierz grupy");
    EXPECT_FALSE(p.pickChecks("Wybierz grupy", entries, 2));
    EXPECT_EQ(entries, groups);
    p.expectChecks("Wybierz grupy", {"Słoniki"});
    const auto checks = [&] { return p.pickChecks("Wybierz grupy", entries, 2); };
    EXPECT_NONFATAL_FAILURE(checks(), "not all offered");
    EXPECT_EQ(entries, groups);

    p.expectChoice("Wybór", -4);
    const auto choice = [&] { return p.askChoice("Wybór", "?", {"a", "b", "c"}); };
    int result = 1;
    EXPECT_NONFATAL_FAILURE(result = choice(), "has 3 button(s)");
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(p.done());
}

TEST(ScriptedPrompts, PickersRunOnThePickerLogic)
{
    ScriptedPrompts p;
    // The user drags "Usuń" to the top and adds a separator after it.
    p.expectOrderedChecks("Lista dostępnych operacji", [](picker::OrderedCheckList& list) {
        list.moveBefore(2, 0);
        list.addSeparator(1);
    });
    QList<OrderedEntry> buttons{{"Dodaj", 1, 3, false}, {"Popraw", 2, 4, false}, {"Usuń", 3, 5, false}};
    ASSERT_TRUE(p.pickOrderedChecks("Lista dostępnych operacji", buttons, 3));
    ASSERT_EQ(buttons.size(), 4);
    EXPECT_EQ(buttons.at(0).text, "Usuń");
    EXPECT_TRUE(buttons.at(1).separator);
    EXPECT_EQ(buttons.at(2).text, "Dodaj");
    EXPECT_EQ(p.asked().last().checked, QStringList({"Dodaj", "Popraw", "Usuń"}));

    QList<PickEntry> columns{{"Nazwisko", 0}, {"Imię", 1}, {"PESEL", 2}};
    QString headers = "Tak";
    p.expectChecksWithOption("Skopiuj kolumny", {"PESEL", "Nazwisko"}, "Nie");
    ASSERT_TRUE(p.pickChecksWithOption("Skopiuj kolumny", columns, 3, "Z nagłówkami", {"Tak", "Nie"}, headers));
    EXPECT_EQ(columns, (QList<PickEntry>{{"Nazwisko", 0}, {"PESEL", 2}}));
    EXPECT_EQ(headers, "Nie");

    p.expectRadio("Rodzaj", 2);
    int choice = 0;
    QString line;
    ASSERT_TRUE(p.pickRadio({"Rodzaj", {"a", "b"}, 1, "Opcje", "Linia", {"x", "y"}}, choice, line));
    EXPECT_EQ(choice, 2);
    EXPECT_EQ(line, "x");

    const QList<SortOption> orders{{"OSOBA;DATA", "Data"}, {"OSOBA;NAZWA", "Nazwa"}};
    QString ordering = "OSOBA;DATA";
    p.expectSortOrder("Sortowanie", "Nazwa");
    ASSERT_TRUE(p.chooseSortOrder("Sortowanie", orders, ordering));
    EXPECT_EQ(ordering, "OSOBA;NAZWA");

    int command = 0;
    p.expectCommand("Akcja na podwójne kliknięcie", "Usuń");
    ASSERT_TRUE(p.chooseCommand("Akcja na podwójne kliknięcie", {{"&Dodaj", true}, {"-", false}, {"&Usuń", true}},
                                command));
    EXPECT_EQ(command, 2);
}

TEST(ScriptedPrompts, StrictMessagesMustBeScripted)
{
    ScriptedPrompts p;
    p.setStrictMessages(true);
    p.expectError("Brak dostępu");
    EXPECT_NONFATAL_FAILURE(p.showInfo("Transmisja zakończona"), "unexpected information \"Transmisja zakończona\"");
    p.showError("Brak dostępu");
    EXPECT_TRUE(p.done());
    EXPECT_EQ(p.shown(), QStringList({"Transmisja zakończona", "Brak dostępu"}));
}
