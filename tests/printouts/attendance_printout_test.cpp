// The attendance printout from the attendance window: the day list with its
// class lines and totals (also read back from a PDF), and a child's month
// page with a free day, the legend's counts, the time lines and the paid time.

#include "export_test_pages.h"
#include "shell/register_fixture.h"

#include "attendance/tdm_obecn.h"
#include "browser/key_value_settings.h"
#include "printouts/attendance_print_request.h"
#include "printouts/page_painter.h"
#include "store/polish_dates.h"
#include "store/query.h"

#include <QRegularExpression>
#include <QTemporaryDir>

using namespace printouts;

namespace {

const QColor green(0, 128, 0);
const QColor grey(192, 192, 192);

class AttendancePrintoutTest : public RegisterTest {
protected:
    void SetUp() override
    {
        RegisterTest::SetUp();
        if (IsSkipped())
            return;
        context().institution.name = QStringLiteral("Przedszkole Słoneczko");
        sql(QStringLiteral("UPDATE FIRMA SET NAZWA = 'Przedszkole Słoneczko', ADRES = 'ul. Leśna 2'"));
        group = value(QStringLiteral("INSERT INTO KLASY (NAZWA, KOLEJ) VALUES ('Motylki', 1)"),
                      QStringLiteral("SELECT MAX(KOD) FROM KLASY"));
        ala = child(QStringLiteral("Ala"));
        bartek = child(QStringLiteral("Bartek"));
        context().baza.setSystemDate(QDate(2024, 3, 5));  // a Tuesday
        const int english = value(QStringLiteral("INSERT INTO ZAJDOD (NAZWA, KOLEJ) VALUES ('Angielski', 1)"),
                                  QStringLiteral("SELECT MAX(KOD) FROM ZAJDOD"));
        sql(QStringLiteral("INSERT INTO ZAJODB (ZAJECIE, DATA, CZASP, CZASW, KLASA, ID) VALUES (%1, '2024-03-05', "
                           "'14:00', '15:00', %2, 1)").arg(english).arg(group));
        sql(QStringLiteral("INSERT INTO ZAJODB (ZAJECIE, DATA, CZASP, CZASW, KLASA, ID) VALUES (%1, '2024-03-04', "
                           "'14:00', '15:00', %2, 2)").arg(english).arg(group));
        mark(1, ala, QStringLiteral("T"));
        mark(1, bartek, QStringLiteral("N"));
        mark(2, ala, QStringLiteral("T"));
    }

    int value(const QString& insert, const QString& select)
    {
        sql(insert);
        return Query(*db, select).scalar().toInt();
    }
    void sql(const QString& text) { Query(*db, text).exec(); }
    int child(const QString& name)
    {
        return value(QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, KLASA, AKTYWNY) VALUES ('%1', 'Polna', %2, 'T')")
                         .arg(name)
                         .arg(group),
                     QStringLiteral("SELECT MAX(KOD) FROM DZIECI"));
    }
    void mark(int id, int who, const QString& code)
    {
        sql(QStringLiteral("INSERT INTO ZAJOBEC (KLASA, ID, OSOBA, OBECNY) VALUES (%1, %2, %3, '%4')")
                .arg(group)
                .arg(id)
                .arg(who)
                .arg(code));
    }
    void day(int who, const QString& date, const QString& code, const QString& from, const QString& to)
    {
        Query(*db, QStringLiteral("INSERT INTO OBECN (OSOBA, DATA, OBECNY, CZASP, CZASW) VALUES (:O, :D, :C, :P, :W)"))
            .bind(QStringLiteral("O"), who)
            .bind(QStringLiteral("D"), QDate::fromString(date, Qt::ISODate))
            .bind(QStringLiteral("C"), code)
            .bind(QStringLiteral("P"), polish::parseTime(from))
            .bind(QStringLiteral("W"), polish::parseTime(to))
            .exec();
    }

    static QStringList texts(const report::Page& page)
    {
        QStringList out;
        for (const report::Primitive& p : page.items)
            if (const auto* t = std::get_if<report::TextBox>(&p); t && !t->text().trimmed().isEmpty())
                out << t->text();
        return out;
    }
    // The 90 × 38 boxes of a month page: the seven weekday boxes, then the
    // calendar's cells in order.
    static QList<report::Box> cellBoxes(const report::Page& page)
    {
        QList<report::Box> out;
        for (const report::Primitive& p : page.items)
            if (const auto* b = std::get_if<report::Box>(&p); b && qFuzzyCompare(b->rect.width(), 90.0)
                && qFuzzyCompare(b->rect.height(), 38.0))
                out << *b;
        return out;
    }

    int group = 0, ala = 0, bartek = 0;
    MemorySettings settings;
};

TEST_P(AttendancePrintoutTest, DayListHasClassLinesUnderEachChildAndTotals)
{
    day(ala, QStringLiteral("2024-03-05"), QStringLiteral("T"), QStringLiteral("08:00"), {});
    day(bartek, QStringLiteral("2024-03-05"), QStringLiteral("N"), {}, {});
    TDMObecn window(context(), &settings);
    prompts.expectYesNo(coloursQuestion(), true);
    prompts.expectYesNo(classLinesQuestion(), true);
    const AttendancePrintInput input = askAttendancePrintout(window, QStringLiteral("Grupa: Motylki"));
    ASSERT_TRUE(prompts.done());
    const report::PreparedPages pages = makeAttendancePrintout(*db, input)->run(report::Purpose::Pages);
    ASSERT_EQ(pages.pages.size(), 1);
    const QStringList t = texts(pages.pages[0]);
    const QString cls = QStringLiteral("   Angielski (14:00 - 15:00)");
    // A present child without a departure still prints T and counts.
    const QStringList expected{
        QStringLiteral("Przedszkole Słoneczko - lista obecności na wtorek 5 marca 2024\nGrupa: Motylki"),
        QStringLiteral(" Nazwisko i imię"), QStringLiteral(" Obecność"), QStringLiteral(" Przyjście"),
        QStringLiteral(" Wyjście"),
        QStringLiteral(" Ala, Polna"), QStringLiteral(" T"), QStringLiteral(" 08:00"),
        cls, QStringLiteral(" T"), QStringLiteral(" 14:00"), QStringLiteral(" 15:00"),
        QStringLiteral(" Bartek, Polna"), QStringLiteral(" N"),
        cls, QStringLiteral(" N"),
        QStringLiteral("RAZEM"), QStringLiteral(" 1"), cls, QStringLiteral(" 1"),
        QStringLiteral("Strona: 1"), QStringLiteral("Vendrix \"Lunawa\" dla Przedszkole Słoneczko, ul. Leśna 2 ")};
    EXPECT_EQ(t, expected);
    int greens = 0;
    for (const report::Primitive& p : pages.pages[0].items)
        if (const auto* b = std::get_if<report::Box>(&p); b && b->fill == green)
            ++greens;
    EXPECT_EQ(greens, 2);  // Ala's code and her class mark

    bool ok = false;
    exporttest::runTool(QStringLiteral("pdftotext"), {QStringLiteral("-v")}, &ok);
    if (ok) {
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("obecnosci.pdf"));
        ASSERT_EQ(report::writePdf(pages, pdf), QString());
        const QString text = QString::fromUtf8(
            exporttest::runTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}, &ok));
        ASSERT_TRUE(ok);
        EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("Ala, Polna\\s+T\\s+08:00"))))
            << text.toStdString();
        EXPECT_TRUE(text.contains(QRegularExpression(QStringLiteral("RAZEM\\s+1\\n"))));
    }

    // No to the class question: the list without class lines, and no colours.
    prompts.expectYesNo(coloursQuestion(), false);
    prompts.expectYesNo(classLinesQuestion(), false);
    const report::PreparedPages plain =
        makeAttendancePrintout(*db, askAttendancePrintout(window, {}))->run(report::Purpose::Pages);
    const QStringList p = texts(plain.pages[0]);
    EXPECT_FALSE(p.contains(cls));
    EXPECT_EQ(p.mid(5, 6), (QStringList{QStringLiteral(" Ala, Polna"), QStringLiteral(" T"), QStringLiteral(" 08:00"),
                                        QStringLiteral(" Bartek, Polna"), QStringLiteral(" N"), QStringLiteral("RAZEM")}));
    for (const report::Primitive& item : plain.pages[0].items) {
        if (const auto* b = std::get_if<report::Box>(&item)) {
            EXPECT_FALSE(b->fill.isValid());
        }
    }
}

TEST_P(AttendancePrintoutTest, MonthPageShowsFreeDaysCountsTimesAndClasses)
{
    sql(QStringLiteral("INSERT INTO MIESIACE (ROK, MIES, DNIWOLNE) VALUES (2024, 3, '2,3,9')"));
    sql(QStringLiteral("INSERT INTO CZASBEZP (ODDATY, CZASP, CZASW) VALUES ('2024-01-01', '08:00', '13:00')"));
    // The latest declaration prints, even one from a later month.
    Query(*db, QStringLiteral("INSERT INTO DZIECZAS (OSOBA, ODDATY, CZASP, CZASW) VALUES (:O, '2024-01-01', '07:00', "
                              "'15:00')")).bind(QStringLiteral("O"), ala).exec();
    Query(*db, QStringLiteral("INSERT INTO DZIECZAS (OSOBA, ODDATY, CZASP, CZASW) VALUES (:O, '2024-05-01', '08:00', "
                              "'16:00')")).bind(QStringLiteral("O"), ala).exec();
    day(ala, QStringLiteral("2024-03-02"), QStringLiteral("T"), QStringLiteral("08:00"), QStringLiteral("16:00"));
    day(ala, QStringLiteral("2024-03-04"), QStringLiteral("T"), QStringLiteral("07:30"), QStringLiteral("15:00"));
    day(ala, QStringLiteral("2024-03-05"), QStringLiteral("N"), {}, {});
    day(ala, QStringLiteral("2024-03-06"), QStringLiteral("T"), QStringLiteral("08:00"), {});  // pays nothing
    sql(QStringLiteral("INSERT INTO OBECM (OSOBA, ROK, MIES, OBECNY, ILE) VALUES (%1, 2024, 3, 'T', 10)").arg(ala));

    TDMObecn window(context(), &settings);
    prompts.expectText(QStringLiteral("Widok miesiąca"), QStringLiteral("Zakres dni:"), QStringLiteral("1-31"));
    window.toggleMonthView();
    prompts.expectYesNo(coloursQuestion(), true);
    const AttendancePrintInput coloured = askAttendancePrintout(window, {});
    ASSERT_TRUE(prompts.done());
    const report::PreparedPages pages = makeAttendancePrintout(*db, coloured)->run(report::Purpose::Pages);
    ASSERT_EQ(pages.pages.size(), 2);  // a page per child

    const QStringList t = texts(pages.pages[0]);
    EXPECT_EQ(t.first(), QStringLiteral("Ala, Polna\nObecności za miesiąc marzec 2024"));
    // The legend: T from the month's count, N and Z counted, three free days.
    const qsizetype legend = t.indexOf(QStringLiteral("Legenda"));
    ASSERT_GE(legend, 0);
    EXPECT_EQ(t.mid(legend + 1, 12),
              (QStringList{QStringLiteral("10"), QStringLiteral("Obecność"),
                           QStringLiteral("Zadeklarowany czas pobytu: 08:00 - 16:00"), QStringLiteral("1"),
                           QStringLiteral("Nieobecność"), QStringLiteral("Bezpłatny czas pobytu: 08:00 - 13:00"),
                           QStringLiteral("0"), QStringLiteral("Wcześniej zgłoszona nieobecność"),
                           // 3:00 on the 2nd and 2:30 on the 4th, of which the class took an hour
                           QStringLiteral("Czas płatny wprowadzonych dni: 5:30"), QStringLiteral("3"),
                           QStringLiteral("Dni wolne"),
                           QStringLiteral("Czas płatny po odliczeniu obecności dodatkowych: 4:30")}));
    // Classes with the child's presence mark, absent that day or not.
    EXPECT_EQ(t.mid(legend + 13, 3),
              (QStringList{QStringLiteral("Obecności dodatkowe: "), QStringLiteral("4 poniedziałek\n5 wtorek"),
                           QStringLiteral("14:00 - 15:00     Angielski\n14:00 - 15:00     Angielski")}));
    EXPECT_TRUE(t.contains(QStringLiteral("08:00 - ")));
    EXPECT_TRUE(t.contains(QStringLiteral(" - ")));  // the absence on the 5th

    // March 2024 starts on a Friday: four empty cells, then the days.
    QList<report::Box> cells = cellBoxes(pages.pages[0]);
    ASSERT_EQ(cells.size(), 7 + 35);
    const auto cellOf = [](int d) { return 7 + 4 + d - 1; };
    EXPECT_EQ(cells[cellOf(2)].fill, green);  // a free day with a presence
    EXPECT_EQ(cells[cellOf(3)].fill, grey);
    EXPECT_EQ(cells[cellOf(5)].fill, QColor(255, 0, 0));
    EXPECT_EQ(cells[cellOf(7)].fill, QColor(Qt::white));

    const QStringList second = texts(pages.pages[1]);
    EXPECT_TRUE(second.contains(QStringLiteral("Czas płatny wprowadzonych dni: 0:00")));
    EXPECT_FALSE(second.contains(QStringLiteral("Obecności dodatkowe: ")));

    // Without colours the free day stays grey whatever its code.
    AttendancePrintInput plain = coloured;
    plain.colours = false;
    cells = cellBoxes(makeAttendancePrintout(*db, plain)->run(report::Purpose::Pages).pages[0]);
    EXPECT_EQ(cells[cellOf(2)].fill, grey);
    EXPECT_EQ(cells[cellOf(5)].fill, QColor(Qt::white));

    // A month starting on a Sunday leaves six empty cells; a February of
    // 28 days starting on a Monday fills exactly four rows.
    plain.day = QDate(2024, 9, 10);
    cells = cellBoxes(makeAttendancePrintout(*db, plain)->run(report::Purpose::Pages).pages[0]);
    EXPECT_EQ(cells.size(), 7 + 42);
    plain.day = QDate(2027, 2, 10);
    cells = cellBoxes(makeAttendancePrintout(*db, plain)->run(report::Purpose::Pages).pages[0]);
    EXPECT_EQ(cells.size(), 7 + 28);

    // An empty list: no page in the month view, the header and totals alone in the day view.
    plain.children.clear();
    EXPECT_TRUE(makeAttendancePrintout(*db, plain)->run(report::Purpose::Pages).pages.isEmpty());
    plain.monthView = false;
    const report::PreparedPages empty = makeAttendancePrintout(*db, plain)->run(report::Purpose::Pages);
    ASSERT_EQ(empty.pages.size(), 1);
    EXPECT_EQ(texts(empty.pages[0]).mid(5, 2), (QStringList{QStringLiteral("RAZEM"), QStringLiteral(" 0")}));
}

}  // namespace

INSTANTIATE_ENGINES(AttendancePrintoutTest);
