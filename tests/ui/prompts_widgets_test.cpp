#include "browser/message_log.h"
#include "browser/ui/choice_dialog.h"
#include "browser/ui/date_time_dialogs.h"
#include "browser/ui/list_window.h"
#include "browser/ui/message_window.h"
#include "browser/ui/radio_dialog.h"
#include "browser/ui/shift_dialog.h"
#include "browser/ui/text_dialogs.h"
#include "browser/ui/widget_prompts.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QTextBrowser>
#include <QTimeEdit>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

namespace {

// Runs `act` on the next modal dialog (one other than the modal dialog up
// now) once it shows. A dialog the action leaves open is closed after a
// while, so a failing test cannot hang.
void onModal(std::function<void(QWidget*)> act)
{
    QPointer<QWidget> before = QApplication::activeModalWidget();
    auto* timer = new QTimer;
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, before, act] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (!dialog || dialog == before) {
            if (++*tries > 400) {
                timer->deleteLater();
                ADD_FAILURE() << "no dialog opened";
            }
            return;
        }
        timer->stop();
        timer->deleteLater();
        act(dialog);
        QPointer<QWidget> open(dialog);
        QTimer::singleShot(3000, [open] {
            if (!open || !open->isVisible())
                return;
            ADD_FAILURE() << "dialog left open: " << open->windowTitle().toStdString();
            if (auto* d = qobject_cast<QDialog*>(open.data()))
                d->done(0);
        });
    });
    timer->start(5);
}

template <class T>
T* find(QWidget* dialog, const QString& name = QString())
{
    T* child = dialog->findChild<T*>(name);
    EXPECT_NE(child, nullptr) << "no " << name.toStdString() << " in " << dialog->windowTitle().toStdString();
    return child;
}

void clickButton(QWidget* dialog, const QString& text)
{
    for (QAbstractButton* b : dialog->findChildren<QAbstractButton*>()) {
        if (b->text() == text && b->isVisible()) {
            b->click();
            return;
        }
    }
    ADD_FAILURE() << "no button " << text.toStdString() << " in " << dialog->windowTitle().toStdString();
}

void pressOk(QWidget* dialog)
{
    clickButton(dialog, QStringLiteral("&OK"));
}

void pressCancel(QWidget* dialog)
{
    clickButton(dialog, QStringLiteral("&Anuluj"));
}

QStringList comboLines(QComboBox* box)
{
    QStringList lines;
    for (int i = 0; i < box->count(); ++i)
        lines.append(box->itemText(i));
    return lines;
}

QStringList listTexts(QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->item(i)->text());
    return texts;
}

const QList<PickEntry> kGroups{{QStringLiteral("Motylki"), 4}, {QStringLiteral("Żabki"), 7}, {QStringLiteral("Biedronki"), 9}};

}  // namespace

TEST(PromptWidgets, MessagesAndYesNoQuestions)
{
    WidgetPrompts prompts;
    onModal([](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Informacja");
        EXPECT_EQ(qobject_cast<QMessageBox*>(d)->text(), "Transmisja zakończona");
        clickButton(d, "OK");
    });
    prompts.showInfo("Transmisja zakończona");
    onModal([](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Błąd");
        clickButton(d, "OK");
    });
    prompts.showError("Brak dostępu");

    onModal([](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Potwierdzenie");
        EXPECT_EQ(qobject_cast<QMessageBox*>(d)->text(), "Usunąć dane?");
        clickButton(d, "&Tak");
    });
    EXPECT_TRUE(prompts.askYesNo("Usunąć dane?"));
    onModal([](QWidget* d) { d->close(); });
    EXPECT_FALSE(prompts.askYesNo("Usunąć dane?"));

    onModal([](QWidget* d) { clickButton(d, "&Nie"); });
    EXPECT_EQ(prompts.askYesNoClosable("Tylko dla obecnych?"), Answer::No);
    onModal([](QWidget* d) { d->close(); });
    EXPECT_EQ(prompts.askYesNoClosable("Tylko dla obecnych?"), Answer::Cancel);
    onModal([](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); });
    EXPECT_EQ(prompts.askYesNoClosable("Tylko dla obecnych?"), Answer::Cancel);

    onModal([](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); });
    EXPECT_EQ(prompts.askYesNoCancel("Chcesz wykonać kopie bazy?"), Answer::Cancel);
    onModal([](QWidget* d) { clickButton(d, "&Nie"); });
    EXPECT_EQ(prompts.askYesNoCancel("Chcesz wykonać kopie bazy?"), Answer::No);
}

TEST(PromptWidgets, ChoiceDialogReturnsNegativeButtonNumbers)
{
    WidgetPrompts prompts;
    const QStringList buttons{"czasu granicznego", "czasu deklarowanego", "same nieobecności"};
    onModal([](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Wybór");
        EXPECT_EQ(find<QLabel>(d, "Tresc")->text(), "Nieokreślone czasy przyjścia/wyjścia uzupełnić wg");
        const auto* dialog = qobject_cast<TDlWybor*>(d);
        ASSERT_NE(dialog, nullptr);
        const int width = dialog->buttons().first()->width();
        EXPECT_GE(width, 75);
        for (QPushButton* b : dialog->buttons())
            EXPECT_EQ(b->width(), width);
        EXPECT_GE(d->width(), d->screen()->availableGeometry().width() / 2);
        dialog->buttons().at(2)->click();
    });
    EXPECT_EQ(prompts.askChoice("Wybór", "Nieokreślone czasy przyjścia/wyjścia uzupełnić wg", buttons), -3);
    onModal([](QWidget* d) { d->close(); });
    EXPECT_EQ(prompts.askChoice("Wybór", "?", buttons), 0);
    onModal([](QWidget* d) { QTest::keyClick(d, Qt::Key_Escape); });
    EXPECT_EQ(prompts.askChoice("Wybór", "?", buttons, ChoiceIcon::Information), 0);
}

TEST(PromptWidgets, ListAndRecordPickers)
{
    WidgetPrompts prompts;
    QVariant value = 7;
    onModal([](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Import pliku");
        EXPECT_EQ(find<QLabel>(d, "Etykieta")->text(), "Wybierz tabelę");
        QComboBox* box = find<QComboBox>(d, "Wybor");
        EXPECT_FALSE(box->isEditable());
        EXPECT_EQ(comboLines(box), QStringList({"Motylki", "Żabki", "Biedronki"}));
        EXPECT_EQ(box->currentIndex(), 1);
        box->setCurrentIndex(2);
        pressCancel(d);
    });
    EXPECT_FALSE(prompts.pickFromList("Import pliku", "Wybierz tabelę", kGroups, value));
    EXPECT_EQ(value, 7);
    onModal([](QWidget* d) {
        find<QComboBox>(d, "Wybor")->setCurrentIndex(2);
        pressOk(d);
    });
    EXPECT_TRUE(prompts.pickFromList("Import pliku", "Wybierz tabelę", kGroups, value));
    EXPECT_EQ(value, 9);

    int key = 9;
    onModal([](QWidget* d) {
        QComboBox* box = find<QComboBox>(d, "Wybor");
        EXPECT_EQ(comboLines(box), QStringList({"Wszystkie", "Motylki", "Żabki", "Biedronki"}));
        EXPECT_EQ(box->currentIndex(), 3);
        EXPECT_FALSE(find<QLabel>(d, "Etykieta")->isVisible());
        box->setCurrentIndex(0);
        pressOk(d);
    });
    EXPECT_TRUE(prompts.pickRecord("Grupa", kGroups, key, true));
    EXPECT_EQ(key, kAllRecords);

    QString text = "Kowalska Anna";
    onModal([](QWidget* d) {
        QComboBox* box = find<QComboBox>(d, "Wybor");
        EXPECT_TRUE(box->isEditable());
        EXPECT_EQ(box->currentText(), "Kowalska Anna");
        box->setEditText("Nowak");
        pressOk(d);
    });
    EXPECT_TRUE(prompts.askSuggestion("Dziecko", {"Kowalska Anna", "Nowak Jan"}, text));
    EXPECT_EQ(text, "Nowak");

    int command = 0;
    onModal([](QWidget* d) {
        QComboBox* box = find<QComboBox>(d, "Wybor");
        EXPECT_EQ(comboLines(box), QStringList({"Dodaj", "Usuń"}));
        box->setCurrentIndex(1);
        pressOk(d);
    });
    EXPECT_TRUE(prompts.chooseCommand("Akcja na podwójne kliknięcie", {{"&Dodaj", true}, {"&Nic", false}, {"&Usuń", true}},
                                      command));
    EXPECT_EQ(command, 2);

    QString ordering = "OSOBA;NAZWA";
    onModal([](QWidget* d) {
        EXPECT_EQ(find<QComboBox>(d, "Wybor")->currentText(), "Nazwa");
        pressCancel(d);
    });
    EXPECT_FALSE(prompts.chooseSortOrder("Sortowanie", {{"OSOBA;DATA", "Data"}, {"OSOBA;NAZWA", "Nazwa"}}, ordering));
    EXPECT_EQ(ordering, "OSOBA;NAZWA");
}

TEST(PromptWidgets, CheckListsWithPopupAndOption)
{
    WidgetPrompts prompts;
    QList<PickEntry> entries = kGroups;
    onModal([](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Wybierz grupy");
        QListWidget* list = find<QListWidget>(d, "Lista");
        EXPECT_EQ(list->item(0)->checkState(), Qt::Checked);
        EXPECT_EQ(list->item(1)->checkState(), Qt::Unchecked);
        QStringList popup;
        for (QAction* a : list->actions())
            popup.append(a->text());
        EXPECT_EQ(popup, QStringList({"&Zaznacz wszystko", "&Wyczyść wszystko"}));
        list->actions().at(1)->trigger();
        pressCancel(d);
    });
    EXPECT_FALSE(prompts.pickChecks("Wybierz grupy", entries, 1));
    EXPECT_EQ(entries, kGroups);

    onModal([](QWidget* d) {
        QListWidget* list = find<QListWidget>(d, "Lista");
        list->actions().at(0)->trigger();
        list->item(1)->setCheckState(Qt::Unchecked);
        pressOk(d);
    });
    EXPECT_TRUE(prompts.pickChecks("Wybierz grupy", entries, 0));
    EXPECT_EQ(entries, (QList<PickEntry>{kGroups.at(0), kGroups.at(2)}));

    entries = kGroups;
    QString headers = "Tak";
    onModal([](QWidget* d) {
        EXPECT_EQ(find<QLabel>(d, "Etykieta")->text(), "Z nagłówkami");
        QComboBox* box = find<QComboBox>(d, "Wybor");
        EXPECT_FALSE(box->isEditable());
        EXPECT_EQ(box->currentText(), "Tak");
        box->setCurrentIndex(1);
        pressOk(d);
    });
    EXPECT_TRUE(prompts.pickChecksWithOption("Skopiuj kolumny", entries, 3, "Z nagłówkami", {"Tak", "Nie"}, headers));
    EXPECT_EQ(headers, "Nie");
    EXPECT_EQ(entries, kGroups);

    int doubleClicked = -1;
    QString text = "Nowa";
    onModal([](QWidget* d) {
        QListWidget* list = find<QListWidget>(d, "Lista");
        EXPECT_FALSE(list->item(0)->data(Qt::CheckStateRole).isValid());
        EXPECT_TRUE(list->actions().isEmpty());
        emit list->itemDoubleClicked(list->item(2));
        QComboBox* box = find<QComboBox>(d, "Wybor");
        EXPECT_TRUE(box->isEditable());
        EXPECT_EQ(comboLines(box), QStringList({"Nowa"}));
        box->setEditText("Inna");
        pressOk(d);
    });
    EXPECT_TRUE(prompts.pickWithChoice("Lista", kGroups, "Nazwa", {}, text, [&](int i) { doubleClicked = i; }));
    EXPECT_EQ(doubleClicked, 2);
    EXPECT_EQ(text, "Inna");
}

TEST(PromptWidgets, OrderedCheckListDragsAndSeparators)
{
    QList<OrderedEntry> entries{{"Dodaj", 1, 3, false}, {"Popraw", 2, 4, false}, {"Usuń", 3, 5, false}};
    TDlLista dialog("Lista dostępnych operacji");
    dialog.showOrderedList(entries, 2);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QListWidget* list = dialog.list();
    list->doItemsLayout();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(dialog.addSeparatorAction()->text(), "&Dodaj separator");

    // "Usuń" dropped onto "Dodaj" goes before it; below the last entry, last.
    auto* ordered = qobject_cast<OrderedListWidget*>(list);
    ASSERT_NE(ordered, nullptr);
    EXPECT_EQ(ordered->dropTarget(list->visualItemRect(list->item(0)).center()), 0);
    EXPECT_EQ(ordered->dropTarget(QPoint(5, list->viewport()->height() - 2)), 3);
    emit ordered->moveRequested(2, 0);
    EXPECT_EQ(listTexts(list), QStringList({"Usuń", "Dodaj", "Popraw"}));
    EXPECT_EQ(list->item(0)->checkState(), Qt::Unchecked);
    EXPECT_EQ(list->item(1)->checkState(), Qt::Checked);

    list->setCurrentRow(1);
    dialog.addSeparatorAction()->trigger();
    EXPECT_EQ(listTexts(list), QStringList({"Usuń", "", "Dodaj", "Popraw"}));
    EXPECT_EQ(list->item(1)->checkState(), Qt::Checked);
    list->item(0)->setCheckState(Qt::Checked);

    const QList<OrderedEntry> result = dialog.orderedResult();
    ASSERT_EQ(result.size(), 4);
    EXPECT_EQ(result.at(0).text, "Usuń");
    EXPECT_TRUE(result.at(1).separator);
    EXPECT_EQ(result.at(3).text, "Popraw");

    // Through the prompts a cancel changes nothing.
    WidgetPrompts prompts;
    QList<OrderedEntry> kept = entries;
    onModal([](QWidget* d) {
        find<QListWidget>(d, "Lista")->actions().at(0)->trigger();
        pressCancel(d);
    });
    EXPECT_FALSE(prompts.pickOrderedChecks("Lista dostępnych operacji", kept, 0));
    EXPECT_EQ(kept, entries);
}

TEST(PromptWidgets, RadioPickerUsesTwoColumnsPastTen)
{
    RadioRequest request{"Prawa", {}, 3, "Lista praw", "Poziom", {"a", "b"}};
    for (int i = 1; i <= 11; ++i)
        request.choices.append(QStringLiteral("Poziom %1").arg(i));
    TDlRadio dialog(request);
    auto* grid = qobject_cast<QGridLayout*>(dialog.findChild<QGroupBox*>("Grupa")->layout());
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->columnCount(), 2);
    EXPECT_TRUE(dialog.group()->button(3)->isChecked());
    EXPECT_EQ(dialog.boxText(), "a");
    EXPECT_EQ(dialog.choice(), 3);

    WidgetPrompts prompts;
    int choice = 9;
    QString text = "z";
    request.choices = {"jeden", "dwa"};
    request.preset = 5;
    onModal([](QWidget* d) {
        auto* dialog = qobject_cast<TDlRadio*>(d);
        EXPECT_EQ(dialog->group()->checkedId(), -1);
        pressOk(d);
    });
    EXPECT_TRUE(prompts.pickRadio(request, choice, text));
    EXPECT_EQ(choice, 0);
    EXPECT_EQ(text, "a");
    onModal([](QWidget* d) { pressCancel(d); });
    choice = 9;
    EXPECT_FALSE(prompts.pickRadio(request, choice, text));
    EXPECT_EQ(choice, 9);
}

TEST(PromptWidgets, DateTimeAndMonthPickers)
{
    WidgetPrompts prompts;
    QDate date;
    onModal([](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Data zmiany");
        EXPECT_EQ(find<QLabel>(d, "Opis")->text(), "Przynależy do nowej grupy od dnia:");
        EXPECT_EQ(find<QCalendarWidget>(d, "Kalendarz")->selectedDate(), QDate::currentDate());
        pressCancel(d);
    });
    EXPECT_FALSE(prompts.pickDate("Data zmiany", "Przynależy do nowej grupy od dnia:", date));
    EXPECT_FALSE(date.isValid());
    date = QDate(2024, 3, 5);
    onModal([](QWidget* d) {
        EXPECT_EQ(d->findChild<QLabel*>("Opis"), nullptr);
        QCalendarWidget* calendar = find<QCalendarWidget>(d, "Kalendarz");
        EXPECT_EQ(calendar->selectedDate(), QDate(2024, 3, 5));
        calendar->setSelectedDate(QDate(2024, 3, 8));
        pressOk(d);
    });
    EXPECT_TRUE(prompts.pickDate("Data obecności", QString(), date));
    EXPECT_EQ(date, QDate(2024, 3, 8));

    // "1" opens as if typed: a second digit makes the hour 12.
    onModal([](QWidget* d) {
        QTimeEdit* edit = find<QTimeEdit>(d, "Czas");
        EXPECT_TRUE(edit->text().startsWith("1")) << edit->text().toStdString();
        QTest::keyClick(edit, Qt::Key_2);
        pressOk(d);
    });
    const QString typed = prompts.askTimeText("Określ", "Czas przyjścia", "1");
    EXPECT_TRUE(typed.startsWith("12:")) << typed.toStdString();
    onModal([](QWidget* d) {
        EXPECT_EQ(find<QTimeEdit>(d, "Czas")->time(), QTime(7, 45));
        pressOk(d);
    });
    EXPECT_EQ(prompts.askTimeText("Określ", "Czas wyjścia", "7:45"), "07:45:00");
    onModal([](QWidget* d) { pressCancel(d); });
    EXPECT_EQ(prompts.askTimeText("Określ", "Czas wyjścia", "7:45"), "");

    QTime time(8, 0);
    onModal([](QWidget* d) {
        EXPECT_EQ(find<QTimeEdit>(d, "Czas")->text(), "08:00");  // no seconds shown
        find<QTimeEdit>(d, "Czas")->setTime(QTime(9, 15, 30));
        pressOk(d);
    });
    EXPECT_TRUE(prompts.pickTime("Czas", QString(), time));
    EXPECT_EQ(time, QTime(9, 15));

    int year = 2024, month = 2;
    onModal([](QWidget* d) {
        EXPECT_EQ(find<QLabel>(d, "Opis")->text(), "Wybierz miesiąc rozliczany");
        QComboBox* months = find<QComboBox>(d, "Miesiac");
        ASSERT_EQ(months->count(), 12);
        EXPECT_EQ(months->itemText(0), "styczeń");
        EXPECT_EQ(months->currentText(), "luty");
        EXPECT_EQ(find<QSpinBox>(d, "Rok")->value(), 2024);
        find<QSpinBox>(d, "Rok")->setValue(2023);
        months->setCurrentIndex(11);
        pressOk(d);
    });
    EXPECT_TRUE(prompts.pickMonth("Rozliczanie", "Wybierz miesiąc rozliczany", year, month));
    EXPECT_EQ(year, 2023);
    EXPECT_EQ(month, 12);
    onModal([](QWidget* d) {
        find<QComboBox>(d, "Miesiac")->setCurrentIndex(4);
        pressCancel(d);
    });
    EXPECT_FALSE(prompts.pickMonth("Rozliczanie", "Wybierz miesiąc rozliczany", year, month));
    EXPECT_EQ(month, 12);
}

TEST(PromptWidgets, TextAndMemoPrompts)
{
    WidgetPrompts prompts;
    QString value = "******";
    onModal([](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Hasło w internecie");
        EXPECT_EQ(find<QLabel>(d, "Opis")->text(), "Hasło");
        QLineEdit* edit = find<QLineEdit>(d, "Tekst");
        EXPECT_EQ(edit->echoMode(), QLineEdit::Password);
        EXPECT_EQ(edit->maxLength(), 255);
        EXPECT_EQ(edit->selectedText(), "******");
        edit->setText("nowe");
        pressCancel(d);
    });
    EXPECT_FALSE(prompts.askText("Hasło w internecie", "Hasło", value, true));
    EXPECT_EQ(value, "******");

    value = "Kow";
    bool anyFragment = false;
    onModal([](QWidget* d) {
        QCheckBox* option = find<QCheckBox>(d, "Opcja");
        EXPECT_EQ(option->text(), "Dowolny fragment");
        option->setChecked(true);
        find<QLineEdit>(d, "Tekst")->setText("Nowak");
        pressOk(d);
    });
    EXPECT_TRUE(prompts.askTextWithOption("Wyszukiwanie", "Nazwisko", value, "Dowolny fragment", anyFragment));
    EXPECT_EQ(value, "Nowak");
    EXPECT_TRUE(anyFragment);

    QString line = "12,50", memo = "Wycieczka\ndo zoo";
    onModal([](QWidget* d) {
        QLineEdit* lineEdit = find<QLineEdit>(d, "Linia");
        EXPECT_EQ(d->focusWidget(), lineEdit);
        EXPECT_EQ(lineEdit->cursorPosition(), 5);
        QPlainTextEdit* memoEdit = find<QPlainTextEdit>(d, "Memo");
        EXPECT_EQ(memoEdit->toPlainText(), "Wycieczka\ndo zoo");
        EXPECT_GT(memoEdit->tabStopDistance(), 0);
        lineEdit->setText("15");
        pressOk(d);
    });
    EXPECT_TRUE(prompts.askLineAndMemo("Naliczenia dodatkowe", "Wprowadź kwotę i opis (kwota pusta oznacze nieobecność)",
                                       line, memo));
    EXPECT_EQ(line, "15");
    EXPECT_EQ(memo, "Wycieczka\ndo zoo");

    QString intro;
    onModal([](QWidget* d) {
        EXPECT_EQ(d->findChild<QLineEdit*>("Linia"), nullptr);
        find<QPlainTextEdit>(d, "Memo")->setPlainText("Drodzy rodzice");
        pressOk(d);
    });
    EXPECT_TRUE(prompts.askMemo("Hasła dostępu w internecie", "Podaj tekst wstępu", intro));
    EXPECT_EQ(intro, "Drodzy rodzice");
}

TEST(PromptWidgets, MemoEditorSavesOrAsksOnClosing)
{
    WidgetPrompts prompts;
    QString text = "stare";
    onModal([](QWidget* d) {
        EXPECT_EQ(d->windowTitle(), "Uwagi");
        auto* editor = qobject_cast<TFmMemo*>(d);
        EXPECT_FALSE(editor->saveButton()->isEnabled());
        editor->editor()->setPlainText("nowe");
        EXPECT_TRUE(editor->saveButton()->isEnabled());
        editor->cancelButton()->click();  // undoes the edit and closes, asking nothing
        EXPECT_EQ(editor->editor()->toPlainText(), "stare");
        EXPECT_FALSE(d->isVisible());
    });
    EXPECT_FALSE(prompts.editMemo("Uwagi", text));
    EXPECT_EQ(text, "stare");

    onModal([](QWidget* d) {
        qobject_cast<TFmMemo*>(d)->editor()->setPlainText("nowe");
        onModal([](QWidget* question) {
            EXPECT_EQ(qobject_cast<QMessageBox*>(question)->text(), "Zapisać zmiany?");
            clickButton(question, "&Tak");
        });
        d->close();
    });
    EXPECT_TRUE(prompts.editMemo("Uwagi", text));
    EXPECT_EQ(text, "nowe");

    onModal([](QWidget* d) {
        auto* editor = qobject_cast<TFmMemo*>(d);
        editor->editor()->setPlainText("inne");
        editor->saveButton()->click();
    });
    EXPECT_TRUE(prompts.editMemo("Uwagi", text));
    EXPECT_EQ(text, "inne");
}

TEST(PromptWidgets, FileDialogsKeepThePathOnCancel)
{
    WidgetPrompts prompts;
    QString path = "/tmp/stary.txt";
    onModal([](QWidget* d) {
        auto* dialog = qobject_cast<QFileDialog*>(d);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(d->windowTitle(), "Import wpłat - wybierz plik");
        EXPECT_EQ(dialog->nameFilters(), QStringList({"Pliki txt (*.txt)"}));
        EXPECT_EQ(dialog->defaultSuffix(), "txt");
        dialog->reject();
    });
    EXPECT_FALSE(prompts.openFile({"Import wpłat - wybierz plik", "/tmp", "", "Pliki txt|*.txt", "txt"}, path));
    EXPECT_EQ(path, "/tmp/stary.txt");

    onModal([](QWidget* d) {
        EXPECT_EQ(qobject_cast<QFileDialog*>(d)->acceptMode(), QFileDialog::AcceptSave);
        qobject_cast<QDialog*>(d)->reject();
    });
    EXPECT_FALSE(prompts.saveFile({"Kopiuj bazę do", "/tmp", "kopia", "", ""}, path));

    // The kind chosen gives a name typed without extension its extension.
    onModal([](QWidget* d) {
        auto* dialog = qobject_cast<QFileDialog*>(d);
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->nameFilters(), QStringList({"Pliki raportu (*.QRP)", "Pliki PDF (*.PDF)"}));
        EXPECT_EQ(dialog->defaultSuffix(), "qrp");
        // As the user picks it in the kinds' box.
        auto* kinds = dialog->findChild<QComboBox*>("fileTypeCombo");
        ASSERT_NE(kinds, nullptr);
        kinds->setCurrentIndex(1);
        emit kinds->textActivated(kinds->itemText(1));
        EXPECT_EQ(dialog->defaultSuffix(), "pdf");
        dialog->reject();
    });
    EXPECT_FALSE(prompts.saveFile(
        {"Zapisz raport", "/tmp", "", "Pliki raportu (*.QRP)|*.QRP|Pliki PDF (*.PDF)|*.PDF", "qrp"}, path));

    QString folder = "/tmp";
    onModal([](QWidget* d) {
        EXPECT_EQ(qobject_cast<QFileDialog*>(d)->fileMode(), QFileDialog::Directory);
        qobject_cast<QDialog*>(d)->reject();
    });
    EXPECT_FALSE(prompts.chooseFolder("Wybierz katalog z danymi", folder));
    EXPECT_EQ(folder, "/tmp");
}

TEST(MessageWindow, FollowsTheLog)
{
    MessageLog log;
    TFmKomunikaty window(log);
    EXPECT_EQ(window.windowTitle(), "Komunikaty");
    EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);

    log.show();
    EXPECT_FALSE(window.isVisible());
    log.setTitle("Kompresja zbiorów");
    log.step(4, "DZIECI");
    log.show(true);
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), "Kompresja zbiorów");
    EXPECT_EQ(window.descriptionLabel()->text(), "DZIECI");
    EXPECT_EQ(window.bar()->value(), 25);
    EXPECT_FALSE(window.errorsBox()->isVisible());
    EXPECT_FALSE(window.remarksBox()->isVisible());
    const int panelOnly = window.height();

    log.addRemark("Brak składników");
    log.addRemark("Brak składników");
    log.showRemarksOnly();
    EXPECT_EQ(window.remarksList()->count(), 1);
    EXPECT_FALSE(window.errorsBox()->isVisible());
    EXPECT_TRUE(window.remarksBox()->isVisible());
    EXPECT_GT(window.height(), 2 * panelOnly);

    log.addError("Brak obecności");
    log.show();
    EXPECT_TRUE(window.errorsBox()->isVisible());
    EXPECT_EQ(window.errorsList()->item(0)->text(), "Brak obecności");

    window.previewButton()->click();
    ASSERT_NE(window.previewWindow(), nullptr);
    const QString html = window.previewWindow()->findChild<QTextBrowser*>()->toHtml();
    EXPECT_TRUE(html.contains("Błędy"));
    EXPECT_LT(html.indexOf("Brak obecności"), html.indexOf("Brak składników"));

    window.okButton()->click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(log.isShown());
    log.clearMessages();
    EXPECT_EQ(window.errorsList()->count(), 0);
}

TEST(ShiftDialog, AloneReturnsOneShiftAttachedStaysOpen)
{
    TDlPrzesun dialog;
    EXPECT_EQ(dialog.windowTitle(), "Przesuń wszystko");
    EXPECT_EQ(dialog.stepBox()->value(), 1);
    int vertical = 0, horizontal = 0;
    onModal([](QWidget* d) {
        auto* shift = qobject_cast<TDlPrzesun*>(d);
        shift->stepBox()->setValue(5);
        shift->arrow(picker::ShiftDirection::Left)->click();
    });
    EXPECT_TRUE(dialog.askShift(vertical, horizontal));
    EXPECT_EQ(vertical, 0);
    EXPECT_EQ(horizontal, -5);

    TDlPrzesun attached;
    QList<QPair<int, int>> applied;
    attached.setHandler([&](int v, int h) { applied.append({v, h}); });
    attached.show();
    attached.arrow(picker::ShiftDirection::Down)->click();
    attached.arrow(picker::ShiftDirection::Up)->click();
    EXPECT_TRUE(attached.isVisible());
    EXPECT_EQ(applied, (QList<QPair<int, int>>{{1, 0}, {-1, 0}}));
}
