// Prompts answered from a command's options: the answer or the preset, the
// missing answer naming its option, check lists narrowed by codes or names.

#include "shell/option_prompts.h"
#include "store/error.h"

#include <QTextStream>
#include <gtest/gtest.h>

#include <functional>

namespace {

QString errorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const Error& e) {
        return e.message();
    }
    return {};
}

class OptionPromptsTest : public ::testing::Test {
protected:
    QString outText, errText;
    QTextStream out{&outText}, err{&errText};
    OptionPrompts prompts{out, err};
};

TEST_F(OptionPromptsTest, DatesAndTextsTakeTheOptionOrThePreset)
{
    const QString title = QStringLiteral("Zatwierdzanie opłat");
    prompts.answerDate(title, QStringLiteral("Wybierz datę wystawienia"), QDate(2025, 3, 5), QStringLiteral("--issue-date"));
    prompts.answerDate(title, QStringLiteral("Wybierz termin płatności"), std::nullopt, QStringLiteral("--due-date"));
    prompts.answerText(title, QStringLiteral("Wybierz opis faktur"), std::nullopt, QStringLiteral("--title"));

    QDate issue(2025, 3, 1), due(2025, 3, 31);
    EXPECT_TRUE(prompts.pickDate(title, QStringLiteral("Wybierz datę wystawienia"), issue));
    EXPECT_TRUE(prompts.pickDate(title, QStringLiteral("Wybierz termin płatności"), due));
    EXPECT_EQ(issue, QDate(2025, 3, 5));
    EXPECT_EQ(due, QDate(2025, 3, 31));
    QString text = QStringLiteral("Opłata");
    EXPECT_TRUE(prompts.askText(title, QStringLiteral("Wybierz opis faktur"), text));
    EXPECT_EQ(text, QStringLiteral("Opłata"));

    // The same title with another prompt is not the expected question.
    QDate other;
    EXPECT_EQ(errorOf([&] { prompts.pickDate(title, QStringLiteral("Wybierz datę zapłaty"), other); }),
              QStringLiteral("Brak odpowiedzi na pytanie „Wybierz datę zapłaty” "
                             "(polecenie nie ma opcji, która na nie odpowiada)"));
    // A date without a preset needs its option.
    prompts.answerDate(title, QStringLiteral("Wybierz datę wystawienia"), std::nullopt, QStringLiteral("--issue-date"));
    QDate none;
    EXPECT_EQ(errorOf([&] { prompts.pickDate(title, QStringLiteral("Wybierz datę wystawienia"), none); }),
              QStringLiteral("Brak odpowiedzi na pytanie „Wybierz datę wystawienia” (opcja --issue-date)"));
    prompts.answerText(title, QStringLiteral("Wybierz opis faktur"), std::nullopt, QStringLiteral("--title"), true);
    EXPECT_EQ(errorOf([&] { prompts.askText(title, QStringLiteral("Wybierz opis faktur"), text); }),
              QStringLiteral("Brak odpowiedzi na pytanie „Wybierz opis faktur” (opcja --title)"));
}

TEST_F(OptionPromptsTest, CheckListsKeepAllOrTheNamedEntriesInListOrder)
{
    const QList<PickEntry> offered{{QStringLiteral("Pobyt"), 4}, {QStringLiteral("Wyżywienie"), 2},
                                   {QStringLiteral("Rytmika"), 7}};
    QList<PickEntry> entries = offered;
    prompts.answerChecks(QStringLiteral("Wybierz składniki opłat"), std::nullopt, QStringLiteral("--components"));
    EXPECT_TRUE(prompts.pickChecks(QStringLiteral("Wybierz składniki opłat"), entries, 3));
    EXPECT_EQ(entries, offered);

    // By code or by name (in any case), kept in the list's order.
    prompts.answerChecks(QStringLiteral("Wybierz składniki opłat"), QStringList{QStringLiteral("7"), QStringLiteral("pobyt")},
                         QStringLiteral("--components"));
    entries = offered;
    EXPECT_TRUE(prompts.pickChecks(QStringLiteral("Wybierz składniki opłat"), entries, 3));
    EXPECT_EQ(entries, (QList<PickEntry>{offered[0], offered[2]}));

    prompts.answerChecks(QStringLiteral("Wybierz składniki opłat"), QStringList{QStringLiteral("2"), QStringLiteral("9")},
                         QStringLiteral("--components"));
    entries = offered;
    EXPECT_EQ(errorOf([&] { prompts.pickChecks(QStringLiteral("Wybierz składniki opłat"), entries, 3); }),
              QStringLiteral("Nie ma „9” na liście „Wybierz składniki opłat” (opcja --components)"));

    entries = offered;
    EXPECT_EQ(errorOf([&] { prompts.pickChecks(QStringLiteral("Wybierz grupy"), entries, 3); }),
              QStringLiteral("Brak odpowiedzi na pytanie „Wybierz grupy” (polecenie nie ma opcji, która na nie odpowiada)"));
}

TEST_F(OptionPromptsTest, QuestionsChoicesMonthsAndMessages)
{
    prompts.answerYesNo(QStringLiteral("Pozycje naliczeń mogą pochodzić z faktur/rachunków\r\nCofnąć wszystko?"), true);
    prompts.answerYesNo(QStringLiteral("Jest to miesiąc całkowicie wolny od pracy?"), false, QStringLiteral("--all-free"));
    EXPECT_TRUE(prompts.askYesNo(QStringLiteral("Pozycje naliczeń mogą pochodzić z faktur/rachunków\nCofnąć wszystko?")));
    EXPECT_EQ(prompts.askYesNoCancel(QStringLiteral("Jest to miesiąc całkowicie wolny od pracy?")), Answer::No);
    EXPECT_EQ(errorOf([&] { prompts.askYesNo(QStringLiteral("Usunąć?")); }),
              QStringLiteral("Brak odpowiedzi na pytanie „Usunąć?” (polecenie nie ma opcji, która na nie odpowiada)"));

    const QStringList buttons{QStringLiteral("OK"), QStringLiteral("Inny")};
    prompts.answerChoice(QStringLiteral("Naliczanie, rozliczanie"), -2, QStringLiteral("--settle"));
    EXPECT_EQ(prompts.askChoice(QStringLiteral("Naliczanie, rozliczanie"), QStringLiteral("Naliczenia na …"), buttons), -2);
    prompts.answerChoice(QStringLiteral("Naliczanie, rozliczanie"), -3, QStringLiteral("--settle"));
    EXPECT_EQ(errorOf([&] { prompts.askChoice(QStringLiteral("Naliczanie, rozliczanie"), QStringLiteral("Naliczenia"), buttons); }),
              QStringLiteral("Brak odpowiedzi na pytanie „Naliczenia” (opcja --settle)"));

    int year = 2025, month = 2;
    prompts.answerMonth(QStringLiteral("Rozliczanie"), qMakePair(2024, 12), QStringLiteral("--settle"));
    EXPECT_TRUE(prompts.pickMonth(QStringLiteral("Rozliczanie"), QStringLiteral("Wybierz miesiąc rozliczany"), year, month));
    EXPECT_EQ(year, 2024);
    EXPECT_EQ(month, 12);
    prompts.answerMonth(QStringLiteral("Wybór miesiąca"), std::nullopt, QStringLiteral("RRRR-MM"), true);
    EXPECT_EQ(errorOf([&] { prompts.pickMonth(QStringLiteral("Wybór miesiąca"), QStringLiteral("Podaj nowy miesiąc rozrachunkowy"), year, month); }),
              QStringLiteral("Brak odpowiedzi na pytanie „Podaj nowy miesiąc rozrachunkowy” (opcja RRRR-MM)"));

    prompts.showInfo(QStringLiteral("Koniec\r\noperacji"));
    prompts.showError(QStringLiteral("Aby cofnąć naliczenia"));
    EXPECT_EQ(outText, QStringLiteral("Koniec\noperacji\n"));
    EXPECT_EQ(errText, QStringLiteral("Aby cofnąć naliczenia\n"));
}

}  // namespace
