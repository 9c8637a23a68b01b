#include "browser/data_filter.h"
#include "browser/module.h"
#include "browser/quick_filters.h"
#include "store/error.h"
#include "store/query.h"
#include "store/table.h"
#include "support/browser_run.h"

#include <gtest/gtest.h>

namespace {

// Extra-class charges (NALKLA) shown with their group through a lookup, as
// a register would show them; the system date is 5 March 2024.
class DataFilterTest : public ::testing::Test {
protected:
    DataFilterTest()
    {
        run.seed({{"Motylki", 1}, {"Żabki", 2}});
        Database& db = run.baza->database();
        struct Row {
            int group;
            const char* date;  // empty: none
            const char* name;
            double amount;
        };
        for (const Row& r : {Row{1, "2024-02-10", "Lena", 10}, Row{2, "2024-03-01", "Łucja", 20.5},
                             Row{1, "", "mateusz", 30}, Row{2, "2024-03-20", "Żaneta", 40}})
            Query(db, "INSERT INTO NALKLA (KLASA, DATA, SKROT, KWOTA) VALUES (:K, :D, :S, :W)")
                .bind("K", klasaKod(r.group))
                .bind("D", QString::fromLatin1(r.date).isEmpty() ? QVariant() : QVariant(QString::fromLatin1(r.date)))
                .bind("S", QString::fromUtf8(r.name))
                .bind("W", r.amount)
                .exec();
        table.addLookupField(FieldDef::of("GRUPA", FieldType::String, 40), "KLASA", run.module->klasy.table, "KOD",
                             "NAZWA");
        table.addCalculatedField(FieldDef::of("UWAGA", FieldType::String, 10));
        table.open();
        FieldView klasa = FieldView::column("KLASA", "Kod grupy");
        klasa.minValue = 1;
        klasa.maxValue = 99;
        FieldView kwota = FieldView::column("KWOTA", "Kwota");
        kwota.minValue = -5;
        kwota.maxValue = 1000.5;
        ds.name = "Nalkla";
        ds.table = &table;
        ds.fields = {klasa,
                     FieldView::column("DATA", "Data"),
                     FieldView::column("SKROT", "Nazwa"),
                     kwota,
                     FieldView::column("GRUPA", "Grupa"),
                     FieldView::column("UWAGA", "Uwaga"),
                     FieldView::hidden("KOD")};
    }

    int klasaKod(int kolej)
    {
        Query q(run.baza->database(), "SELECT KOD FROM KLASY WHERE KOLEJ = :K");
        q.bind("K", kolej).exec();
        return q.next() ? q.value(0).toInt() : -1;
    }

    QStringList names(const datafilter::Filter& f)
    {
        QStringList out;
        for (int r = 0; r < table.rowCount(); ++r) {
            table.setPosition(r);
            if (f.accepts(table))
                out << table.text("SKROT");
        }
        return out;
    }

    BrowserRun run;
    Table table{run.baza->database(), "NALKLA"};
    DataSet ds;
    datafilter::Filter filter{ds, [] { return QDate(2024, 3, 5); }};
};

}  // namespace

TEST_F(DataFilterTest, EntriesAndDefaultsByFieldKind)
{
    const QList<datafilter::Entry>& e = filter.entries();
    // Visible fields in order; a calculated field with nothing to choose from has none.
    ASSERT_EQ(e.size(), 5);
    EXPECT_EQ(e[0].kind, datafilter::Kind::Integer);
    EXPECT_EQ(std::make_pair(e[0].from, e[0].to), std::make_pair(QString("1"), QString("99")));
    EXPECT_EQ(e[1].kind, datafilter::Kind::Date);
    EXPECT_EQ(std::make_pair(e[1].from, e[1].to), std::make_pair(QString("04.02.2024"), QString("05.03.2024")));
    EXPECT_EQ(e[2].kind, datafilter::Kind::Text);
    EXPECT_EQ(std::make_pair(e[2].from, e[2].to), std::make_pair(QString(), QString("zzzzzzzzzz")));
    EXPECT_EQ(e[3].kind, datafilter::Kind::Float);
    EXPECT_EQ(std::make_pair(e[3].from, e[3].to), std::make_pair(QString("-5"), QString("1000,5")));
    EXPECT_EQ(e[4].kind, datafilter::Kind::Lookup);
    EXPECT_EQ(e[4].keyField, "KLASA");
    EXPECT_TRUE(e[4].from.isEmpty() && e[4].to.isEmpty());
    for (const datafilter::Entry& x : e) {
        EXPECT_FALSE(x.on);
        EXPECT_EQ(x.appliedFrom, x.from);
        EXPECT_EQ(x.appliedTo, x.to);
    }
    EXPECT_FALSE(filter.isActive());

    // Year and month fields narrow to the system date within their declared
    // bounds; without bounds they stay 0-0. A short text field's upper bound
    // is cut to its width.
    Table months(run.baza->database(), "MIESIACE");
    months.open();
    DataSet m;
    m.table = &months;
    FieldView rok = FieldView::column("ROK", "Rok");
    rok.minValue = 2000;
    rok.maxValue = 2100;
    FieldView mies = FieldView::column("MIES", "Miesiąc");
    mies.minValue = 1;
    mies.maxValue = 12;
    m.fields = {rok, mies};
    datafilter::Filter years(m, [] { return QDate(2024, 3, 5); });
    EXPECT_EQ(years.entries()[0].from, "2024");
    EXPECT_EQ(years.entries()[0].appliedTo, "2024");
    EXPECT_EQ(years.entries()[1].from, "3");
    EXPECT_EQ(years.entries()[1].to, "3");
    m.fields[0].minValue = m.fields[0].maxValue = 0;
    datafilter::Filter unbounded(m, [] { return QDate(2024, 3, 5); });
    EXPECT_EQ(std::make_pair(unbounded.entries()[0].from, unbounded.entries()[0].to),
              std::make_pair(QString("0"), QString("0")));

    Table kids(run.baza->database(), "DZIECI");
    kids.open();
    DataSet d;
    d.table = &kids;
    d.fields = {FieldView::column("PRZEDUL", "Przedrostek")};
    datafilter::Filter prefix(d, {});
    EXPECT_EQ(prefix.entries()[0].to, "zzz");
}

TEST_F(DataFilterTest, RowTestByKindAfterApply)
{
    const int date = filter.indexOf("DATA");
    // Only "Od": later dates and the empty one.
    filter.setFrom(date, "01.03.2024");
    filter.setTo(date, "");
    filter.apply();
    EXPECT_EQ(names(filter), (QStringList{"Łucja", "mateusz", "Żaneta"}));
    // Only "Do": earlier dates and the empty one.
    filter.setFrom(date, "");
    filter.setTo(date, "01.03.2024");
    filter.apply();
    EXPECT_EQ(names(filter), (QStringList{"Lena", "Łucja", "mateusz"}));
    // Both: the empty date fails.
    filter.setFrom(date, "01.03.2024");
    filter.setTo(date, "31.03.2024");
    filter.apply();
    EXPECT_EQ(names(filter), (QStringList{"Łucja", "Żaneta"}));
    filter.switchAll(false);

    // Text: without regard to case, in Polish order ("Ł" between "L" and "M");
    // the untouched upper default keeps names beginning with "Ż".
    const int name = filter.indexOf("SKROT");
    filter.setFrom(name, "ł");
    filter.setTo(name, "MZ");
    filter.apply();
    EXPECT_EQ(names(filter), (QStringList{"Łucja", "mateusz"}));
    filter.setTo(name, "zzzzzzzzzz");
    filter.apply();
    EXPECT_EQ(names(filter), (QStringList{"Łucja", "mateusz", "Żaneta"}));
    filter.switchAll(false);

    // Numbers, and a lookup by its key; every entry must accept.
    filter.setFrom(filter.indexOf("KWOTA"), "20,5");
    filter.setTo(filter.indexOf("KWOTA"), "40");
    filter.choose(filter.indexOf("GRUPA"), QString::number(klasaKod(2)), "Żabki");
    filter.apply();
    EXPECT_EQ(names(filter), (QStringList{"Łucja", "Żaneta"}));
    filter.setFrom(filter.indexOf("KLASA"), QString::number(klasaKod(1)));
    filter.setTo(filter.indexOf("KLASA"), QString::number(klasaKod(1)));
    filter.apply();
    EXPECT_TRUE(names(filter).isEmpty());

    // Everything off: every row again.
    filter.switchAll(false);
    filter.apply();
    EXPECT_FALSE(filter.isActive());
    EXPECT_EQ(names(filter).size(), 4);
}

TEST_F(DataFilterTest, CancelDescriptionQuickFiltersAndBadBounds)
{
    const int date = filter.indexOf("DATA"), amount = filter.indexOf("KWOTA"), group = filter.indexOf("GRUPA");
    filter.setTo(date, "");  // only "Od"
    filter.setFrom(amount, "10");
    filter.setTo(amount, "20,5");
    filter.choose(group, QString::number(klasaKod(2)), "Żabki");
    filter.apply();
    EXPECT_EQ(filter.description(), "Data: od 04.02.2024, Kwota: od 10 do 20,5, Grupa: Żabki");
    EXPECT_EQ(names(filter), (QStringList{"Łucja"}));

    // Three entries edited, then dropped: back to the last apply.
    QList<datafilter::Entry>& e = filter.entries();
    filter.setTo(date, "01.01.2020");
    e[amount].on = false;
    filter.setFrom(filter.indexOf("SKROT"), "x");
    filter.restore();
    EXPECT_TRUE(e[date].on && e[amount].on && e[group].on);
    EXPECT_FALSE(e[filter.indexOf("SKROT")].on);
    EXPECT_EQ(e[date].to, "");
    EXPECT_EQ(e[filter.indexOf("SKROT")].from, "");
    EXPECT_EQ(names(filter), (QStringList{"Łucja"}));

    // Only the upper date bound: two spaces between the colon and "do".
    filter.switchAll(false);
    filter.setFrom(date, "");
    filter.setTo(date, "05.03.2024");
    filter.apply();
    EXPECT_EQ(filter.description(), "Data:  do 05.03.2024");

    // The quick filters show the entries: a range over several values is
    // grayed; choosing one value or switching the box narrows it to one.
    EXPECT_EQ(quickfilter::mirrorOf(e[date]).check, Qt::PartiallyChecked);
    EXPECT_EQ(quickfilter::mirrorOf(e[amount]).check, Qt::Unchecked);
    filter.setActive("KWOTA", true);
    EXPECT_EQ(e[amount].to, e[amount].from);
    EXPECT_EQ(quickfilter::mirrorOf(e[amount]).check, Qt::Checked);
    filter.chooseValue("GRUPA", klasaKod(1), "Motylki");
    filter.apply();
    EXPECT_EQ(quickfilter::mirrorOf(e[group]).value, QString::number(klasaKod(1)));
    EXPECT_EQ(filter.description(), "Data:  do 05.03.2024, Kwota: od 10 do 10, Grupa: Motylki");
    filter.setActive("GRUPA", false);
    filter.apply();
    EXPECT_EQ(quickfilter::mirrorOf(e[group]).check, Qt::Unchecked);

    // A bound that does not read is refused and the filter in force stays.
    const QString before = filter.description();
    filter.setFrom(amount, "-");
    try {
        filter.apply();
        ADD_FAILURE() << "an unreadable bound was applied";
    } catch (const Error& err) {
        EXPECT_EQ(err.message(), "'-' nie jest poprawną liczbą");
    }
    EXPECT_EQ(filter.description(), before);

    // Declared bounds of number editors, checked only when both are set.
    try {
        datafilter::checkBound(e[amount], 1001);
        ADD_FAILURE();
    } catch (const Error& err) {
        EXPECT_EQ(err.message(), "Maksymalna wartość pola to 1000,5");
    }
    try {
        datafilter::checkBound(e[filter.indexOf("KLASA")], 0);
        ADD_FAILURE();
    } catch (const Error& err) {
        EXPECT_EQ(err.message(), "Minimalna wartość pola to 1");
    }
    datafilter::Entry open = e[amount];
    open.minValue = 0;
    EXPECT_NO_THROW(datafilter::checkBound(open, -100));
    EXPECT_TRUE(datafilter::acceptsNumberKey("12", ','));
    EXPECT_FALSE(datafilter::acceptsNumberKey("1,2", ','));
    EXPECT_FALSE(datafilter::acceptsNumberKey("12", 'a'));
}
