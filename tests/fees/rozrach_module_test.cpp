// The settlement months window: its commands and the lists they open, the
// new month, the free-days editor, payments with the next-child entry and
// their dates, notifications, the month deletion and the one-child window.

#include "shell/register_fixture.h"

#include "browser/area_arguments.h"
#include "fees/settlement_areas.h"
#include "fees/settlement_months.h"
#include "fees/tdm_rozrach.h"
#include "store/error.h"
#include "store/query.h"
#include "store/table.h"

namespace {

class RozrachTest : public RegisterTest {
protected:
    int month(int year, int mies, const QString& days = QString())
    {
        Query(*db, QStringLiteral("INSERT INTO MIESIACE (ROK, MIES, DNIWOLNE) VALUES (:R, :M, :D)"))
            .bind(QStringLiteral("R"), year)
            .bind(QStringLiteral("M"), mies)
            .bind(QStringLiteral("D"), days)
            .exec();
        return fees::monthKod(*db, year, mies);
    }
    int child(const QString& name, int group = 1)
    {
        Query(*db, QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, KLASA) VALUES (:N, 'Polna', :K)"))
            .bind(QStringLiteral("N"), name)
            .bind(QStringLiteral("K"), group)
            .exec();
        return Query(*db, QStringLiteral("SELECT KOD FROM DZIECI WHERE NAZWA = :N")).bind(QStringLiteral("N"), name).scalar().toInt();
    }
    // Fake openers of the charge lists and invoices, recording their arguments.
    void recordLists()
    {
        for (const QString& name : {area::chargeLines(), area::invoices()})
            areas.add(name, [this, name](RunContext&, const QVariantMap& args) { openedLists << qMakePair(name, args); });
    }
    static Command& cmd(TDMRozrach& m, const QString& name) { return *m.months().command(name); }

    QList<QPair<QString, QVariantMap>> openedLists;
};

TEST_P(RozrachTest, CommandsAndTheListsTheyOpen)
{
    month(2024, 3);
    const int jan = month(2024, 1);
    month(2023, 12);
    const int a = child(QStringLiteral("Ala"));
    recordLists();
    FreeDaysEditor editor = [](RunContext&, const QString&, int, int, QSet<int>&) { return false; };
    TDMRozrach module(context(), editor);

    EXPECT_EQ(shownCaptions(module.months()),
              (QStringList{QStringLiteral("Wyliczone opłaty"), QStringLiteral("Zatwierdzone opłaty"), QStringLiteral("Wpłaty"),
                           QStringLiteral("Potwierdzenia wpłat"), QStringLiteral("Faktury, rachunki"), QString(),
                           QStringLiteral("Zaznacz wolne dni"), QStringLiteral("Wylicz opłaty"),
                           QStringLiteral("Zatwierdź opłaty"), QStringLiteral("Cofnij opłaty")}));
    EXPECT_TRUE(module.months().commands[6].separator);
    // Opened on the latest month of the calendar.
    Table& m = *module.months().table;
    EXPECT_EQ(m.text(QStringLiteral("MIESIAC")), QStringLiteral("marzec 2024"));
    EXPECT_EQ(m.text(QStringLiteral("CAPTION")), QStringLiteral("marzec 2024"));

    ASSERT_TRUE(m.locate({QStringLiteral("KOD")}, {jan}));
    cmd(module, QStringLiteral("Zatwierdzone1")).handler();
    cmd(module, QStringLiteral("Faktury1")).handler();
    ASSERT_EQ(openedLists.size(), 2);
    const QVariantMap lines = openedLists[0].second;
    EXPECT_EQ(openedLists[0].first, area::chargeLines());
    EXPECT_EQ(lines.value(area::monthKey()).toInt(), jan);
    EXPECT_EQ(lines.value(area::typeKey()).toString(), QStringLiteral("1"));
    EXPECT_FALSE(lines.contains(area::childKey()));
    EXPECT_EQ(lines.value(area::titleKey()).toString(), QStringLiteral("Zatwierdzone opłaty"));
    EXPECT_EQ(area::master(lines), &module.months());
    EXPECT_EQ(area::owner(lines), &module);
    EXPECT_EQ(area::command(lines), &cmd(module, QStringLiteral("Zatwierdzone1")));
    EXPECT_EQ(openedLists[1].first, area::invoices());
    EXPECT_EQ(openedLists[1].second.value(area::monthKey()).toInt(), jan);
    EXPECT_FALSE(openedLists[1].second.contains(area::typeKey()));

    // The one-child window passes the child and names it in its caption.
    TDMRozrach one(context(), {}, a);
    EXPECT_FALSE(cmd(one, QStringLiteral("Dniwolne1")).shown());  // no editor
    cmd(one, QStringLiteral("Wyliczone1")).handler();
    ASSERT_EQ(openedLists.size(), 3);
    EXPECT_EQ(openedLists[2].second.value(area::typeKey()).toString(), QStringLiteral("0"));
    EXPECT_EQ(area::child(openedLists[2].second), a);
    EXPECT_EQ(one.months().table->text(QStringLiteral("CAPTION")), QStringLiteral("Ala, Polna marzec 2024"));

    // Without the charges area its commands are not offered.
    AreaRegistry none;
    RunContext& c = context();
    RunContext bare{c.baza, c.prompts, c.opener, none, c.login, c.params, c.institution, c.settings, nullptr};
    TDMRozrach plain(bare);
    EXPECT_EQ(shownCaptions(plain.months()),
              (QStringList{QStringLiteral("Wpłaty"), QStringLiteral("Potwierdzenia wpłat"), QString(), QStringLiteral("Wylicz opłaty"),
                           QStringLiteral("Zatwierdź opłaty"), QStringLiteral("Cofnij opłaty")}));
}

TEST_P(RozrachTest, NewMonthFromThePicker)
{
    month(2024, 1);
    TDMRozrach module(context());
    Table& m = *module.months().table;
    context().settings = RunSettings{};

    prompts.expectMonth(TDMRozrach::newMonthTitle(), 2024, 8).withText(TDMRozrach::newMonthPrompt());
    prompts.expectYesNo(fees::wholeMonthFreeQuestion(), true);
    m.insert();
    EXPECT_FALSE(m.isEditing());
    EXPECT_EQ(m.rowCount(), 2);
    EXPECT_EQ(m.text(QStringLiteral("MIESIAC")), QStringLiteral("sierpień 2024"));
    EXPECT_EQ(m.text(QStringLiteral("DNIWOLNE")), QStringLiteral("-"));

    // An existing month: the message, and the list stands on it.
    prompts.expectMonth(TDMRozrach::newMonthTitle(), 2024, 1);
    m.insert();
    EXPECT_EQ(prompts.shown().last(), fees::monthExistsMessage(2024, 1));
    EXPECT_EQ(m.rowCount(), 2);
    EXPECT_EQ(m.text(QStringLiteral("MIESIAC")), QStringLiteral("styczeń 2024"));

    // Cancelled: nothing added, nothing left in editing.
    prompts.expectCancel(ScriptedPrompts::Kind::Month, TDMRozrach::newMonthTitle());
    m.insert();
    EXPECT_FALSE(m.isEditing());
    EXPECT_EQ(m.rowCount(), 2);
    EXPECT_TRUE(prompts.done());
}

TEST_P(RozrachTest, FreeDaysEditorAndMonthDeletion)
{
    const int free = month(2024, 7, QStringLiteral("-"));
    const int a = child(QStringLiteral("Ala"));
    QString shownTitle;
    QSet<int> preset;
    QSet<int> answer;
    bool ok = true;
    FreeDaysEditor editor = [&](RunContext&, const QString& title, int year, int mies, QSet<int>& ticked) {
        shownTitle = title;
        preset = ticked;
        EXPECT_EQ(year, 2024);
        EXPECT_EQ(mies, 7);
        if (ok && !answer.isEmpty())
            ticked = answer;
        return ok;
    };
    TDMRozrach module(context(), editor);
    Table& m = *module.months().table;
    ASSERT_TRUE(m.locate({QStringLiteral("KOD")}, {free}));

    // A wholly free month shows every day ticked; OK stores them all.
    cmd(module, QStringLiteral("Dniwolne1")).handler();
    EXPECT_EQ(shownTitle, QStringLiteral("lipiec 2024 - Zaznacz wolne dni"));
    EXPECT_EQ(preset.size(), 31);
    EXPECT_EQ(m.state(), Table::State::Edit);
    m.post();
    EXPECT_EQ(fees::freeDaysOf(*db, 2024, 7), fees::freeDaysList(fees::tickedDays(QStringLiteral("-"), 31)));

    answer = {6, 7, 1};
    cmd(module, QStringLiteral("Dniwolne1")).handler();
    m.post();
    EXPECT_EQ(fees::freeDaysOf(*db, 2024, 7), QStringLiteral("1,6,7"));
    ok = false;  // closed without OK: nothing changes
    cmd(module, QStringLiteral("Dniwolne1")).handler();
    EXPECT_FALSE(m.isEditing());
    EXPECT_EQ(preset, (QSet<int>{1, 6, 7}));

    // A month with payments cannot go; an empty one can.
    Query(*db, QStringLiteral("INSERT INTO WPLATY (KOD, OSOBA, WARTOSC) VALUES (:K, :O, 10)"))
        .bind(QStringLiteral("K"), free)
        .bind(QStringLiteral("O"), a)
        .exec();
    try {
        m.remove();
        ADD_FAILURE() << "deleted";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), fees::monthInUseHeading() + QStringLiteral("\r\n- wpłatach miesięcznych"));
    }
    EXPECT_EQ(m.rowCount(), 1);
    Query(*db, QStringLiteral("DELETE FROM WPLATY")).exec();
    m.remove();
    EXPECT_EQ(m.rowCount(), 0);
}

TEST_P(RozrachTest, PaymentsWithTheNextChildAndTheirDates)
{
    const int kod = month(2024, 2);
    // Polish order: L, Ł, Z (code points would put Ł last).
    const int zajac = child(QStringLiteral("Zając Ala"));
    const int los = child(QStringLiteral("Łoś Ola"));
    const int lis = child(QStringLiteral("Lis Ewa"));
    child(QStringLiteral("Hidden Kid"), 7);
    context().login.visibleGroups = {QStringLiteral("1")};
    TDMRozrach module(context());
    cmd(module, QStringLiteral("Wplaty1")).handler();
    ASSERT_EQ(opener.open().size(), 1);
    EXPECT_EQ(opener.open()[0].dataSet, &module.payments());
    EXPECT_EQ(captions(module.payments()),
              (QStringList{QStringLiteral("Data wpłaty"), QStringLiteral("Dziecko"), QStringLiteral("Kwota"), QStringLiteral("Opis")}));

    Table& p = *module.payments().table;
    p.open();
    prompts.expectChoice(fees::NextChildEntry::questionTitle(), -1).withText(fees::NextChildEntry::questionText());
    context().baza.setSystemDate(QDate(2024, 3, 4));
    p.insert();
    // The first payment of an empty list is dated the system date: the day it is typed.
    EXPECT_EQ(p.asInt(QStringLiteral("OSOBA")), lis);
    EXPECT_EQ(p.asInt(QStringLiteral("KOD")), kod);
    EXPECT_EQ(p.asDate(QStringLiteral("DATA")), QDate(2024, 3, 4));
    p.setValue(QStringLiteral("DATA"), QDate(2024, 2, 5));
    p.setValue(QStringLiteral("WARTOSC"), 120.5);
    p.post();
    EXPECT_EQ(p.text(QStringLiteral("DZIECKO")), QStringLiteral("Lis Ewa, Polna"));

    // The next one follows the payment just entered, without asking again.
    p.insert();
    EXPECT_EQ(p.asInt(QStringLiteral("OSOBA")), los);
    EXPECT_EQ(p.asDate(QStringLiteral("DATA")), QDate(2024, 2, 5));
    p.post();
    p.insert();
    EXPECT_EQ(p.asInt(QStringLiteral("OSOBA")), zajac);
    p.post();
    p.insert();
    EXPECT_EQ(prompts.shown().last(), fees::NextChildEntry::lastChildMessage());
    EXPECT_TRUE(p.isNull(QStringLiteral("OSOBA")));
    p.cancel();

    // Opened again, the window asks anew; the list is shown this time.
    cmd(module, QStringLiteral("Wplaty1")).handler();  // closes
    cmd(module, QStringLiteral("Wplaty1")).handler();  // opens
    prompts.expectChoice(fees::NextChildEntry::questionTitle(), -2);
    prompts.expectRecord(TDMRozrach::childListTitle(), zajac);
    p.insert();
    EXPECT_EQ(p.asInt(QStringLiteral("OSOBA")), zajac);
    p.cancel();
    const ScriptedPrompts::Asked& list = prompts.asked().last();
    EXPECT_EQ(list.offered, (QStringList{QStringLiteral("Lis Ewa, Polna"), QStringLiteral("Łoś Ola, Polna"),
                                         QStringLiteral("Zając Ala, Polna")}));

    // Notifications: the child from the list, the month's last day, by bank.
    Table& z = *module.notifications().table;
    z.open();
    prompts.expectRecord(TDMRozrach::childListTitle(), los);
    z.insert();
    EXPECT_EQ(z.asInt(QStringLiteral("OSOBA")), los);
    EXPECT_EQ(z.asDate(QStringLiteral("DATA")), QDate(2024, 2, 29));
    z.post();
    EXPECT_EQ(z.text(QStringLiteral("JAKNAZWA")), QStringLiteral("Przelew bankowy"));
    EXPECT_TRUE(prompts.done());
}

TEST_P(RozrachTest, ChargeRunApprovalAndUndoFromTheWindow)
{
    const int kod = month(2024, 3, QStringLiteral("2,3,9,10,16,17,23,24,30,31"));
    const int ala = child(QStringLiteral("Ala"));
    child(QStringLiteral("Ola"));
    Query(*db, QStringLiteral("INSERT INTO MEDIA (NAZWA, KOLEJ) VALUES ('Pobyt', 1)")).exec();
    const int stay = Query(*db, QStringLiteral("SELECT MAX(KOD) FROM MEDIA")).scalar().toInt();
    Query(*db, QStringLiteral("INSERT INTO SPOSOBY (NAZWA, OPIS) VALUES ('x', '1/IT')")).exec();
    const int method = Query(*db, QStringLiteral("SELECT MAX(KOD) FROM SPOSOBY")).scalar().toInt();
    for (const QString& who : {QStringLiteral("Ala"), QStringLiteral("Ola")})
        Query(*db, QStringLiteral("INSERT INTO DZIEMED (OSOBA, MEDIUM, ODDATY, SPOSOB, SPOROZ) "
                                  "SELECT KOD, :M, '2024-01-01', :S, 0 FROM DZIECI WHERE NAZWA = :N"))
            .bind(QStringLiteral("M"), stay).bind(QStringLiteral("S"), method).bind(QStringLiteral("N"), who).exec();
    Query(*db, QStringLiteral("INSERT INTO TARMED (TARYFA, MEDIUM, ODDATY, CENA, JM) VALUES (0, :M, '2024-01-01', 2.5, 'szt')"))
        .bind(QStringLiteral("M"), stay).exec();
    auto count = [&](const QString& sql) { return Query(*db, sql).scalar().toInt(); };
    context().params.sposobyJednolite = false;

    // The one-child window runs for that child alone; a stopping error is
    // shown once and nothing is written.
    TDMRozrach one(context(), {}, ala);
    ASSERT_EQ(one.currentMonthKod(), kod);
    prompts.expectChecksAsOffered(QStringLiteral("Wybierz składniki opłat"));
    prompts.expectChoice(QStringLiteral("Naliczanie, rozliczanie"), -1);
    cmd(one, QStringLiteral("Wyliczone2")).handler();
    const QString stopped = QStringLiteral("Dzielenie przez zero\r\nOperacja przerwana, niczego nie zapisano.");
    EXPECT_EQ(prompts.shown().count(stopped), 1);
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM NALICZ")), 0);

    Query(*db, QStringLiteral("UPDATE SPOSOBY SET OPIS = 'ID'")).exec();
    prompts.expectChecksAsOffered(QStringLiteral("Wybierz składniki opłat"));
    prompts.expectChoice(QStringLiteral("Naliczanie, rozliczanie"), -1);
    cmd(one, QStringLiteral("Wyliczone2")).handler();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM NALICZ WHERE TYP = '0'")), 1);
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT WARTOSC FROM NALICZ WHERE OSOBA = :O"))
                  .bind(QStringLiteral("O"), ala).scalar().toDouble(), 52.5);
    prompts.expectChecksAsOffered(QStringLiteral("Wybierz składniki opłat"));
    cmd(one, QStringLiteral("Zatwierdzone2")).handler();
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM NALICZ WHERE TYP = '1'")), 1);

    // The undo asks both questions and removes the approved line.
    prompts.expectYesNo(fees::invoicedLinesQuestion(), true);
    prompts.expectYesNo(fees::undoConfirmation(), true);
    cmd(one, QStringLiteral("Cofnijopaty1")).handler();
    EXPECT_EQ(prompts.shown().last(), fees::operationEnd());
    EXPECT_EQ(count(QStringLiteral("SELECT COUNT(*) FROM NALICZ")), 0);
    EXPECT_TRUE(prompts.done());
}

TEST_P(RozrachTest, OneChildWindowFollowsTheChildrenList)
{
    const int kod = month(2024, 2);
    const int ala = child(QStringLiteral("Ala"));
    const int ola = child(QStringLiteral("Ola"));
    Query(*db, QStringLiteral("INSERT INTO WPLATY (KOD, OSOBA, WARTOSC, DATA) VALUES (:K, :O, 5, :D)"))
        .bind(QStringLiteral("K"), kod)
        .bind(QStringLiteral("O"), ola)
        .bind(QStringLiteral("D"), QDate(2024, 2, 3))
        .exec();
    registerSettlementAreas(areas);

    // The children register as a bare list of DZIECI.
    QObject register_;
    DataSet children;
    children.name = QStringLiteral("Dzieci");
    Table kids(context().db(), QStringLiteral("DZIECI"));
    kids.setOrdering(QStringLiteral("KOD"));
    kids.open();
    children.table = &kids;
    Command opens;
    opens.name = QStringLiteral("Rozrachunki1");
    opens.opensWindow = true;
    ASSERT_TRUE(areas.open(area::childSettlements(), context(),
                           area::forChild(ala, &children, &register_, &opens, QStringLiteral("Rozrachunki dziecka"))));
    ASSERT_EQ(opener.open().size(), 1);
    auto* module = qobject_cast<TDMRozrach*>(opener.open()[0].module);
    ASSERT_TRUE(module);
    EXPECT_EQ(module->parent(), &register_);
    EXPECT_EQ(opener.open()[0].owner, &opens);
    EXPECT_EQ(opener.open()[0].title, QStringLiteral("Rozrachunki dziecka"));
    EXPECT_EQ(module->child(), ala);

    // The child column is hidden; a new payment is the child's without asking.
    EXPECT_EQ(captions(module->payments()), (QStringList{QStringLiteral("Data wpłaty"), QStringLiteral("Kwota"), QStringLiteral("Opis")}));
    Table& p = *module->payments().table;
    p.open();
    EXPECT_EQ(p.rowCount(), 0);
    p.insert();
    EXPECT_EQ(p.asInt(QStringLiteral("OSOBA")), ala);
    EXPECT_EQ(p.asDate(QStringLiteral("DATA")), context().systemDate());
    p.cancel();

    // Another current child in the register: the window shows that child.
    ASSERT_TRUE(kids.locate({QStringLiteral("KOD")}, {ola}));
    EXPECT_EQ(module->child(), ola);
    EXPECT_EQ(module->months().table->text(QStringLiteral("CAPTION")), QStringLiteral("Ola, Polna luty 2024"));
    EXPECT_EQ(p.rowCount(), 1);
    p.insert();
    EXPECT_EQ(p.asInt(QStringLiteral("OSOBA")), ola);
    EXPECT_EQ(p.asDate(QStringLiteral("DATA")), QDate(2024, 2, 3));
    p.cancel();

    // Chosen again the command closes the window; then it reuses the module.
    areas.open(area::childSettlements(), context(), area::forChild(ola, &children, &register_, &opens, QString()));
    EXPECT_TRUE(opener.open().isEmpty());
    areas.open(area::childSettlements(), context(), area::forChild(ola, &children, &register_, &opens, QString()));
    ASSERT_EQ(opener.open().size(), 1);
    EXPECT_EQ(opener.open()[0].module, module);
    kids.close();
}

INSTANTIATE_ENGINES(RozrachTest);

}  // namespace
