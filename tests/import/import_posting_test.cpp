// The import engine on a store: matching and its confirmations, the
// similar-row and month checks, charge slots, attendance, the balance
// check and the end-of-file question, and what is (not) written when the
// import fails or is stopped.

#include "import/import_posting.h"
#include "store/error.h"
#include "store/query.h"
#include "store/values.h"
#include "support/scripted_prompts.h"
#include "support/store_fixture.h"

using namespace import;

namespace {

const QString paymentsTitle = QStringLiteral("IMPORT WPŁAT - potwierdzenie");

class ImportPostingTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (!db)
            return;
        sql("INSERT INTO MIESIACE (ROK, MIES, DNIWOLNE) VALUES (2024, 2, '')");
        sql("INSERT INTO MIESIACE (ROK, MIES, DNIWOLNE) VALUES (2024, 3, '2,3')");
        march = Query(*db, QStringLiteral("SELECT KOD FROM MIESIACE WHERE MIES = 3")).scalar().toInt();
        anna = child("Żółwik Anna Maria", "19230512345", "");
        jan = child("Kowalski Jan", "18010112345", "");
        ewa = child("Łukasiewicz Ewa", "", "Nowak Ewa");
        sql("INSERT INTO DZIECI (NAZWA, ULICA, KLASA, AKTYWNY) VALUES ('Kowalski Piotr', 'Polna', 1, 'N')");
        sql("INSERT INTO MEDIA (NAZWA, KOLEJ) VALUES ('Opłata stała', 1)");
        sql("INSERT INTO MEDIA (NAZWA, KOLEJ) VALUES ('Wyżywienie', 2)");
    }

    void sql(const char* text) { Query(*db, QString::fromUtf8(text)).exec(); }
    int child(const char* name, const char* pesel, const char* correspondence)
    {
        Query(*db, QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, KLASA, PESEL, NAZWAKOR) VALUES (:N, 'Polna', 1, :P, :K)"))
            .bind(QStringLiteral("N"), QString::fromUtf8(name))
            .bind(QStringLiteral("P"), QString::fromUtf8(pesel))
            .bind(QStringLiteral("K"), QString::fromUtf8(correspondence))
            .exec();
        return Query(*db, QStringLiteral("SELECT MAX(KOD) FROM DZIECI")).scalar().toInt();
    }
    ImportRequest request(ImportTarget target, const QString& section, const char* format)
    {
        ImportRequest r;
        r.target = target;
        r.section = section;
        r.configurationText = QLatin1Char('[') + section + QStringLiteral("]\n") + QString::fromUtf8(format);
        r.monthKod = march;
        r.defaultDate = target == ImportTarget::Payments ? QDate(2024, 3, 31) : QDate(2024, 3, 1);
        r.type = target == ImportTarget::Charges ? QStringLiteral("0") : QStringLiteral("2,3");
        r.visibleGroups = {QStringLiteral("-1")};
        r.today = QDate(2024, 3, 20);
        return r;
    }
    ImportReport run(const ImportRequest& r, const char* lines)
    {
        return runImport(*db, prompts, r, ImportRows::fromText(QByteArray(lines)));
    }
    // "OSOBA|value|…" of each row, in a stable order.
    QStringList rows(const char* select)
    {
        QStringList out;
        Query q(*db, QString::fromUtf8(select));
        q.exec();
        while (q.next()) {
            QStringList cells;
            for (int c = 0; c < q.columnCount(); ++c) {
                const QVariant v = q.value(c);
                cells << (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float
                              ? QString::number(v.toDouble())
                              : v.toString());
            }
            out << cells.join(QLatin1Char('|'));
        }
        return out;
    }
    QString id(int kod) { return QString::number(kod); }

    ScriptedPrompts prompts;
    int march = 0, anna = 0, jan = 0, ewa = 0;
};

TEST_P(ImportPostingTest, BankFileMatchedByNameThenTheSameFileAgain)
{
    const char* format = "KOLUMNY=DTKB\nSEPARATOR DZIESIĘTNY=,\nSEPARATOR DATY=-\nFORMAT DATY=yyyy-mm-dd\n";
    const ImportRequest r = request(ImportTarget::Payments, paymentsSection(), format);
    const QString data = QStringLiteral(LUNAWA_TEST_DATA "/import/");

    // A name prefix, a whole name and a correspondence name, each confirmed;
    // the February line asks before it goes into March.
    prompts.expectOpenFile(QStringLiteral("IMPORT WPŁAT - wybierz plik"), data + QStringLiteral("bank_utf8.csv"));
    prompts.expectChoice(paymentsTitle, -1)
        .withText(QStringLiteral("Wiersz 2\n\nOdczytane dziecko\n Nazwisko i imię: ŻÓŁWIK ANNA\n Data: 2024-03-15\n"
                                 " Kwota: 150,00\n Opis: Opłata marzec\n\nOdszukano\n Nazwisko i imię: Żółwik Anna Maria"));
    prompts.expectChoice(paymentsTitle, -1);
    prompts.expectChoice(paymentsTitle, -1);
    prompts.expectChoice(paymentsTitle, -1)
        .withText(QStringLiteral("Wiersz 5\n\nOdczytane dziecko\n Nazwisko i imię: NOWAK EWA\n Data: 2024-02-28\n"
                                 " Kwota: 80,00\n Opis: Za luty\n\nOdszukano\n Nazwisko i imię: Łukasiewicz Ewa\n"
                                 " Nazwa kores.: Nowak Ewa\n\nData (2024-02-28) z innego miesiąca\nZapisać mimo wszystko?"));
    ImportReport report = runImport(*db, prompts, r);
    EXPECT_TRUE(prompts.done());
    EXPECT_EQ(report.written, 3);
    const QStringList written = rows("SELECT OSOBA, KOD, DATA, WARTOSC, OPIS FROM WPLATY ORDER BY DATA");
    EXPECT_EQ(written, (QStringList{id(ewa) + "|" + id(march) + "|2024-02-28|80|Za luty",
                                    id(anna) + "|" + id(march) + "|2024-03-15|150|Opłata marzec",
                                    id(jan) + "|" + id(march) + "|2024-03-16|1200.5|Wpłata"}));

    // The same statement in code page 1250: every row is similar, "Nie" writes nothing.
    prompts.expectOpenFile(QStringLiteral("IMPORT WPŁAT - wybierz plik"), data + QStringLiteral("bank_cp1250.csv"));
    for (int i = 0; i < 3; ++i) {
        prompts.expectChoice(paymentsTitle, -1);
        prompts.expectChoice(paymentsTitle, -2);
    }
    report = runImport(*db, prompts, r);
    EXPECT_TRUE(prompts.done());
    EXPECT_TRUE(prompts.asked().last().text.endsWith(QStringLiteral("Podobna pozycja już widnieje\nZapisać mimo wszystko?")));
    EXPECT_EQ(report.written, 0);
    EXPECT_EQ(rows("SELECT OSOBA, KOD, DATA, WARTOSC, OPIS FROM WPLATY ORDER BY DATA"), written);
}

TEST_P(ImportPostingTest, FixedWidthWithoutDiacritics)
{
    const ImportRequest r = request(ImportTarget::Payments, paymentsSection(),
        "KOLUMNY=PKB\nSEPARATOR KOLUMN=\nSZEROKOŚĆ KOLUMN=11,20,8\nPRZESUNIĘCIE PRZECINKA=2\nSTRONA KODOWA=1\n"
        "OK DLA NAZWA=T\nOK DLA PESEL=T\n");
    prompts.expectOpenFile(QStringLiteral("IMPORT WPŁAT - wybierz plik"),
                           QStringLiteral(LUNAWA_TEST_DATA "/import/fixed_width.txt"));
    runImport(*db, prompts, r);
    EXPECT_TRUE(prompts.done());
    EXPECT_EQ(rows("SELECT OSOBA, WARTOSC FROM WPLATY ORDER BY WARTOSC"),
              (QStringList{id(anna) + "|15", id(ewa) + "|45"}));
}

TEST_P(ImportPostingTest, ChargeSlotsWithSettlementAndAssignedColumn)
{
    const ImportRequest r = request(ImportTarget::Charges, chargesSection(),
        "KOLUMNY=PBBB\nSEPARATOR DZIESIĘTNY=.\nB= opłata STAŁA\nB=-Wyżywienie\nROZLICZENIE NA MINUS=T\nOK DLA PESEL=T\n");
    const int fixed = Query(*db, QStringLiteral("SELECT KOD FROM MEDIA WHERE KOLEJ = 1")).scalar().toInt();
    const int food = Query(*db, QStringLiteral("SELECT KOD FROM MEDIA WHERE KOLEJ = 2")).scalar().toInt();
    // The third amount column has no "B" line: the user assigns it.
    prompts.expectList(QStringLiteral("Wybierz składnik - kolumna 4"), fixed);
    prompts.expectChoice(QStringLiteral("Rodzaj pozycji"), -1).withText(QStringLiteral("Dana kolumna jest"));
    const ImportReport report = run(r, "PESEL;stała;wyżywienie;inne\n19230512345;200.00;35.50;\n18010112345;0;12;5\n");
    EXPECT_TRUE(prompts.done());
    EXPECT_EQ(report.written, 2);
    const QString k = id(march) + "|0|";
    EXPECT_EQ(rows("SELECT KOD, TYP, OSOBA, MEDIUM, WARTOSC, ROZLICZ FROM NALICZ ORDER BY OSOBA, MEDIUM, WARTOSC"),
              (QStringList{k + id(anna) + "|" + id(fixed) + "|200|N", k + id(anna) + "|" + id(food) + "|-35.5|T",
                           k + id(jan) + "|" + id(fixed) + "|5|N", k + id(jan) + "|" + id(food) + "|-12|T"}));
}

TEST_P(ImportPostingTest, DailyMarksKeepFreeDaysAndDeleteBlankDays)
{
    for (const int day : {2, 5})
        Query(*db, QStringLiteral("INSERT INTO OBECN (OSOBA, DATA, OBECNY) VALUES (:O, :D, 'T')"))
            .bind(QStringLiteral("O"), anna).bind(QStringLiteral("D"), QDate(2024, 3, day)).exec();
    const ImportRequest r = request(ImportTarget::DailyAttendance, attendanceSection(),
                                    "KOLUMNY=PJJJJJ\nOMIJAJ DNI WOLNE=T\nOK DLA PESEL=T\nODPOWIEDNIK Z=U\n");
    // The child has days in the month already: a similar row.
    prompts.expectChoice(QStringLiteral("IMPORT OBECNOŚCI - potwierdzenie"), -1);
    run(r, "PESEL;1;2;3;4;5\n19230512345;T;N;;U;\n");
    EXPECT_TRUE(prompts.done());
    EXPECT_EQ(rows("SELECT DATA, OBECNY FROM OBECN ORDER BY DATA"),
              (QStringList{"2024-03-01|T", "2024-03-02|T", "2024-03-04|Z"}));
}

TEST_P(ImportPostingTest, MonthlyCountsOutOfRangeDeleteTheKind)
{
    Query(*db, QStringLiteral("INSERT INTO OBECM (OSOBA, ROK, MIES, OBECNY, ILE) VALUES (:O, 2024, 3, 'N', 3)"))
        .bind(QStringLiteral("O"), anna).exec();
    const ImportRequest r = request(ImportTarget::MonthlyAttendance, attendanceSection(), "KOLUMNY=PTNZ\nOK DLA PESEL=T\n");
    prompts.expectChoice(QStringLiteral("IMPORT OBECNOŚCI - potwierdzenie"), -1);  // similar: the month has counts
    run(r, "PESEL;T;N;Z\n19230512345;31;32;\n");
    EXPECT_TRUE(prompts.done());
    EXPECT_EQ(rows("SELECT OBECNY, ILE FROM OBECM"), QStringList{"T|31"});
}

TEST_P(ImportPostingTest, BalanceCheckAndMissingRows)
{
    // Anna owes 150 (approved 400, paid 250); Jan owes 80.
    auto charge = [&](int child, double value) {
        Query(*db, QStringLiteral("INSERT INTO NALICZ (KOD, TYP, OSOBA, MEDIUM, WARTOSC) VALUES (:K, '1', :O, 1, :W)"))
            .bind(QStringLiteral("K"), march).bind(QStringLiteral("O"), child).bind(QStringLiteral("W"), value).exec();
    };
    charge(anna, 400);
    charge(jan, 80);
    Query(*db, QStringLiteral("INSERT INTO WPLATY (KOD, DATA, OSOBA, WARTOSC) VALUES (:K, '2024-03-01', :O, 250)"))
        .bind(QStringLiteral("K"), march).bind(QStringLiteral("O"), anna).exec();

    // Without an amount column the payment is the difference; Anna listed
    // twice is not paid it twice. Jan has no row: paid his balance.
    ImportRequest r = request(ImportTarget::Payments, paymentsSection(), "KOLUMNY=PKS\nOK DLA PESEL=T\n");
    prompts.expectChoice(paymentsTitle, -1)
        .withText(QStringLiteral("Brak wiersza dla dziecka\n Nazwisko i imię: Kowalski Jan\n PESEL: 18010112345\n\nWprowadzić wpłatę w wysokości salda?"));
    prompts.expectChoice(paymentsTitle, -2);  // Łukasiewicz Ewa: "Nie"
    run(r, "PESEL;x;saldo\n19230512345;;0\n19230512345;;0\n");
    EXPECT_TRUE(prompts.done());
    EXPECT_EQ(rows("SELECT OSOBA, WARTOSC FROM WPLATY WHERE DATA = '2024-03-31' ORDER BY OSOBA, WARTOSC"),
              (QStringList{id(anna) + "|0", id(anna) + "|150", id(jan) + "|80"}));

    // An amount of 100 against Anna's read balance 0: the mismatch is shown, the row written.
    sql("DELETE FROM WPLATY WHERE DATA = '2024-03-31'");
    r = request(ImportTarget::Payments, paymentsSection(), "KOLUMNY=PBS\nOK DLA PESEL=T\n");
    prompts.expectChoice(paymentsTitle, -1)
        .withText(QStringLiteral("Wiersz 2\n\nOdczytane dziecko\n PESEL: 19230512345\n Kwota: 100\n\nOdszukano\n"
                                 " PESEL: 19230512345\n\nNiezgodność salda odczytanego i wyliczonego\nOdczytane: 0\n"
                                 "Wyliczone: -50,00"));
    run(r, "PESEL;kwota;saldo\n19230512345;100;0\n");
    EXPECT_TRUE(prompts.done());
    EXPECT_EQ(rows("SELECT WARTOSC FROM WPLATY WHERE DATA = '2024-03-31'"), QStringList{"100"});
}

TEST_P(ImportPostingTest, FailureWritesNothingAndStopKeepsConfirmedRows)
{
    ImportRequest r = request(ImportTarget::Payments, paymentsSection(), "KOLUMNY=PB\nOK DLA PESEL=T\n");
    try {
        run(r, "x\n19230512345;10\n18010112345;abc\n");
        ADD_FAILURE() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("„abc” nie jest poprawną liczbą"));
    }
    EXPECT_TRUE(rows("SELECT WARTOSC FROM WPLATY").isEmpty());

    // The same line twice is two equal transfers: both are written.
    r = request(ImportTarget::Payments, paymentsSection(), "KOLUMNY=KB\n");
    prompts.expectChoice(paymentsTitle, -1);
    prompts.expectChoice(paymentsTitle, -1);
    prompts.expectChoice(paymentsTitle, -3).withText(QStringLiteral(
        "Wiersz 4\n\nOdczytane dziecko\n Nazwisko i imię: KOWALSKI\n Kwota: 5\n\n"
        "Program nie dopasował żadnego dziecka\nNależy wyszukać odpowiednie dziecko"));
    const ImportReport report = run(r, "x\nkowalski jan;10\nkowalski jan;10\nKOWALSKI;5\nKowalski Jan;7\n");
    EXPECT_TRUE(prompts.done());
    EXPECT_TRUE(report.stopped);
    EXPECT_EQ(rows("SELECT OSOBA, WARTOSC FROM WPLATY"), (QStringList{id(jan) + "|10", id(jan) + "|10"}));
}


TEST_P(ImportPostingTest, ChosenChildAndAlwaysNo)
{
    const ImportRequest r = request(ImportTarget::Payments, paymentsSection(), "KOLUMNY=KB\n");
    // Jan's 7 and Ewa's 8 are in the store already.
    for (const auto& [child, value] : {std::pair{jan, 7}, std::pair{ewa, 8}})
        Query(*db, QStringLiteral("INSERT INTO WPLATY (KOD, DATA, OSOBA, WARTOSC) VALUES (:K, '2024-03-31', :O, :W)"))
            .bind(QStringLiteral("K"), march).bind(QStringLiteral("O"), child).bind(QStringLiteral("W"), value).exec();
    prompts.expectChoice(paymentsTitle, -1);  // "Wybierz"
    prompts.expectRecord(QStringLiteral("Dziecko"), jan);
    prompts.expectChoice(paymentsTitle, -2);  // "Inne"
    prompts.expectRecord(QStringLiteral("Dziecko"), ewa);
    prompts.expectChoice(paymentsTitle, -1).withText(QStringLiteral(
        "Wiersz 2\n\nOdczytane dziecko\n Nazwisko i imię: NIKT\n Kwota: 5\n\nOdszukano\n"
        " Nazwisko i imię: Łukasiewicz Ewa\n Nazwa kores.: Nowak Ewa"));
    prompts.expectChoice(paymentsTitle, -1);  // Jan
    prompts.expectChoice(paymentsTitle, -1);  // Jan again …
    prompts.expectChoice(paymentsTitle, -4);  // … is similar: "Zawsze nie"
    prompts.expectChoice(paymentsTitle, -1);  // Ewa: similar, skipped without asking
    prompts.expectChoice(paymentsTitle, -1);  // Anna: written
    run(r, "x\nNIKT;5\nKowalski Jan;6\nKowalski Jan;7\nŁukasiewicz Ewa;8\nŻółwik Anna Maria;9\n");
    EXPECT_TRUE(prompts.done());
    EXPECT_EQ(rows("SELECT OSOBA, WARTOSC FROM WPLATY ORDER BY WARTOSC"),
              (QStringList{id(ewa) + "|5", id(jan) + "|6", id(jan) + "|7", id(ewa) + "|8", id(anna) + "|9"}));
}

TEST_P(ImportPostingTest, PeselWrittenInTheName)
{
    const ImportRequest r = request(ImportTarget::Payments, paymentsSection(),
                                    "KOLUMNY=KB\nPESEL W NAZWIE=PESEL:\nOK DLA PESEL=T\n");
    // The marker, the digits and blanks after it and two more characters
    // leave the name; an unknown PESEL falls back to the name.
    prompts.expectChoice(paymentsTitle, -1).withText(QStringLiteral(
        "Wiersz 3\n\nOdczytane dziecko\n Nazwisko i imię: Kowalski Jan opłata\n PESEL: 99999999999\n Kwota: 7\n\n"
        "Odszukano\n Nazwisko i imię: Kowalski Jan"));
    run(r, "x\nZ. Nowak PESEL: 1923 0512345, ;10\nKowalski Jan PESEL:99999999999, opłata;7\n");
    EXPECT_TRUE(prompts.done());
    EXPECT_EQ(rows("SELECT OSOBA, WARTOSC FROM WPLATY ORDER BY WARTOSC"),
              (QStringList{id(jan) + "|7", id(anna) + "|10"}));
}

TEST_P(ImportPostingTest, HtmlTableAndSheetRows)
{
    const QString data = QStringLiteral(LUNAWA_TEST_DATA "/import/");
    const QString fileTitle = QStringLiteral("IMPORT WPŁAT - wybierz plik");
    const int lukasz = child("Łukasz Żółć", "", "");
    ImportRequest r = request(ImportTarget::Payments, paymentsSection(),
        "KOLUMNY=DKTB\nTABELA HTML=2\nSEPARATOR DZIESIĘTNY=,\nSEPARATOR DATY=-\nFORMAT DATY=yyyy-mm-dd\n");
    prompts.expectOpenFile(fileTitle, data + QStringLiteral("bank_statement.html"));
    prompts.expectList(QStringLiteral("Import pliku"), 2);
    prompts.expectChoice(paymentsTitle, -1);  // Łukasz Żółć
    prompts.expectChoice(paymentsTitle, -2);  // unmatched: "Pomiń"
    prompts.expectChoice(paymentsTitle, -2);
    runImport(*db, prompts, r);
    EXPECT_TRUE(prompts.done());
    EXPECT_EQ(rows("SELECT OSOBA, DATA, WARTOSC FROM WPLATY"), QStringList{id(lukasz) + "|2024-03-04|1250"});
    sql("DELETE FROM WPLATY");

    // Sheet cells keep their kind: the PESEL and amount are numbers, the
    // date a date. Empty rows are skipped, the sheet ends after its last row.
    Query(*db, QStringLiteral("UPDATE DZIECI SET PESEL = '85010112345' WHERE KOD = :K")).bind(QStringLiteral("K"), jan).exec();
    r = request(ImportTarget::Payments, paymentsSection(),
                "KOLUMNY=KPBDT\nARKUSZ KALKULACYJNY=Wpłaty\nOK DLA PESEL=T\nOMIJAJ PUSTĄ NAZWĘ=T\n");
    for (const char* file : {"payments_sheet.xlsx", "payments_sheet.ods", "payments_sheet.xls"}) {
        SCOPED_TRACE(file);
        prompts.expectOpenFile(fileTitle, data + QString::fromLatin1(file));
        prompts.expectList(QStringLiteral("Wybierz arkusz"), QStringLiteral("Wpłaty"));
        prompts.expectChoice(paymentsTitle, -2);  // Żółkiewska Łucja: no such child
        prompts.expectChoice(paymentsTitle, -1);  // Nowak Ewa, the correspondence name
        prompts.expectChoice(paymentsTitle, -2)   // dated in February: not written
            .withText(QStringLiteral("Wiersz 5\n\nOdczytane dziecko\n Nazwisko i imię: Nowak Ewa\n Data: 29.02.2024\n"
                                     " Kwota: 80\n Opis: \n\nOdszukano\n Nazwisko i imię: Łukasiewicz Ewa\n"
                                     " Nazwa kores.: Nowak Ewa\n PESEL: \n\nData (29.02.2024) z innego miesiąca\n"
                                     "Zapisać mimo wszystko?"));
        prompts.expectChoice(paymentsTitle, -2);  // "Razem"
        runImport(*db, prompts, r);
        EXPECT_TRUE(prompts.done());
        EXPECT_EQ(rows("SELECT OSOBA, DATA, WARTOSC, OPIS FROM WPLATY"),
                  QStringList{id(jan) + "|2024-03-04|250.5|Opłata za marzec"});
        sql("DELETE FROM WPLATY");
    }
}

}  // namespace

INSTANTIATE_ENGINES(ImportPostingTest);
