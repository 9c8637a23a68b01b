// The operations on marked children run by the charge driver: copying and
// changing fee component periods, passwords with their sheet, e-mail links
// and the move to another group, on both engines.

#include "shell/register_fixture.h"

#include "browser/message_log.h"
#include "fees/marked_operations.h"
#include "fees/password_sheet.h"
#include "printouts/report_engine.h"
#include "registers/child_group_change.h"
#include "store/query.h"
#include "store/values.h"

using namespace fees;

namespace {

class MarkedTest : public RegisterTest {
protected:
    void SetUp() override
    {
        RegisterTest::SetUp();
        if (IsSkipped())
            return;
        context().messages = &log;
        groupA = addGroup(QStringLiteral("Motylki"), 1);
        groupB = addGroup(QStringLiteral("Żabki"), 2);
        meals = addComponent(QStringLiteral("Wyżywienie"), 1);
        stay = addComponent(QStringLiteral("Pobyt"), 2);
    }
    int scalarInt(const QString& sql) { return Query(*db, sql).scalar().toInt(); }
    int addGroup(const QString& name, int kolej)
    {
        Query(*db, QStringLiteral("INSERT INTO KLASY (NAZWA, KOLEJ) VALUES (:N, :K)"))
            .bind(QStringLiteral("N"), name).bind(QStringLiteral("K"), kolej).exec();
        return scalarInt(QStringLiteral("SELECT MAX(KOD) FROM KLASY"));
    }
    int addComponent(const QString& name, int kolej)
    {
        Query(*db, QStringLiteral("INSERT INTO MEDIA (NAZWA, KOLEJ) VALUES (:N, :K)"))
            .bind(QStringLiteral("N"), name).bind(QStringLiteral("K"), kolej).exec();
        return scalarInt(QStringLiteral("SELECT MAX(KOD) FROM MEDIA"));
    }
    int addChild(const QString& name, int group, const QString& email = {}, const QString& password = {})
    {
        Query(*db, QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, KLASA, AKTYWNY, EMAIL, HASLO) "
                                  "VALUES (:N, 'Polna 1', :K, 'T', :E, :H)"))
            .bind(QStringLiteral("N"), name).bind(QStringLiteral("K"), group).bind(QStringLiteral("E"), email)
            .bind(QStringLiteral("H"), password).exec();
        return scalarInt(QStringLiteral("SELECT MAX(KOD) FROM DZIECI"));
    }
    void addPeriod(int child, int component, const QDate& from, const QDate& to, int method, int settlement = 0)
    {
        Query(*db, QStringLiteral("INSERT INTO DZIEMED (OSOBA, MEDIUM, ODDATY, DODATY, SPOSOB, SPOROZ) "
                                  "VALUES (:O, :M, :F, :T, :S, :R)"))
            .bind(QStringLiteral("O"), child).bind(QStringLiteral("M"), component).bind(QStringLiteral("F"), from)
            .bind(QStringLiteral("T"), to.isValid() ? QVariant(to) : QVariant()).bind(QStringLiteral("S"), method)
            .bind(QStringLiteral("R"), settlement).exec();
    }
    int addMethod(const QString& name)
    {
        Query(*db, QStringLiteral("INSERT INTO SPOSOBY (NAZWA, OPIS) VALUES (:N, 'ID')")).bind(QStringLiteral("N"), name).exec();
        return scalarInt(QStringLiteral("SELECT MAX(KOD) FROM SPOSOBY"));
    }
    // "medium|from|to|method|settlement" per period of the child.
    QStringList periods(int child)
    {
        Query q(*db, QStringLiteral("SELECT MEDIUM, ODDATY, DODATY, SPOSOB, SPOROZ FROM DZIEMED WHERE OSOBA = :O "
                                    "ORDER BY MEDIUM, ODDATY"));
        q.bind(QStringLiteral("O"), child).exec();
        QStringList out;
        while (q.next())
            out << QStringLiteral("%1|%2|%3|%4|%5")
                       .arg(q.value(0).toInt() == meals ? QStringLiteral("W") : QStringLiteral("P"),
                            values::toDate(q.value(1)).toString(Qt::ISODate),
                            values::toDate(q.value(2)).toString(Qt::ISODate))
                       .arg(q.value(3).toInt())
                       .arg(q.value(4).toInt());
        return out;
    }
    ChargeRunResult run(ChargeOperation code, const QList<int>& marked)
    {
        return runMarked(context(), code, marked, 0, march, services, log);
    }

    MessageLog log;
    MarkedServices services;
    const QDate march{2024, 3, 15};
    int groupA = 0, groupB = 0, meals = 0, stay = 0;
};

}  // namespace

TEST_P(MarkedTest, CopyTakesTheFirstChildWithCurrentPeriods)
{
    const int before = addChild(QStringLiteral("Ada"), groupA);
    addPeriod(before, meals, QDate(2023, 9, 1), QDate(2024, 2, 28), 1);  // ended before March
    const int source = addChild(QStringLiteral("Bea"), groupA);
    addPeriod(source, meals, QDate(2024, 1, 1), QDate(), 2, 3);
    addPeriod(source, stay, QDate(2024, 2, 1), QDate(2024, 6, 30), 4);
    const int target = addChild(QStringLiteral("Cyla"), groupA);
    addPeriod(target, meals, QDate(2024, 1, 1), QDate(), 9);  // the same period: kept as it is
    const QStringList beforeRows = periods(before);

    prompts.expectChecksAsOffered(QStringLiteral("Wybierz składniki opłat"));
    EXPECT_TRUE(run(ChargeOperation::CopyComponents, {before, source, target}).completed);
    EXPECT_EQ(periods(before), beforeRows);
    EXPECT_EQ(periods(target), (QStringList{"W|2024-01-01||9|0", "P|2024-02-01|2024-06-30|4|0"}));
    EXPECT_EQ(log.description(), QStringLiteral("Koniec operacji"));

    // Only the ticked components are copied.
    const int other = addChild(QStringLiteral("Dora"), groupB);
    prompts.expectChecks(QStringLiteral("Wybierz składniki opłat"), {QStringLiteral("Pobyt")});
    EXPECT_TRUE(run(ChargeOperation::CopyComponents, {source, other}).completed);
    EXPECT_EQ(periods(other), (QStringList{"P|2024-02-01|2024-06-30|4|0"}));
    EXPECT_TRUE(prompts.done());
}

TEST_P(MarkedTest, MethodChangeLeavesPeriodsEndedBeforeTheMonth)
{
    const int child = addChild(QStringLiteral("Ada"), groupA);
    addPeriod(child, meals, QDate(2023, 9, 1), QDate(2024, 2, 29), 1, 1);
    addPeriod(child, meals, QDate(2024, 3, 1), QDate(), 1, 1);
    addPeriod(child, stay, QDate(2024, 4, 1), QDate(), 1, 1);  // begins after the month
    const int method = addMethod(QStringLiteral("Stawka dzienna"));

    prompts.expectChecksAsOffered(QStringLiteral("Wybierz składniki opłat"));
    prompts.expectList(QStringLiteral("Wybierz nowy sposób rozliczania"), method);
    EXPECT_TRUE(run(ChargeOperation::SetSettlementMethod, {child}).completed);
    EXPECT_EQ(periods(child), (QStringList{QStringLiteral("W|2023-09-01|2024-02-29|1|1"),
                                           QStringLiteral("W|2024-03-01||1|%1").arg(method),
                                           QStringLiteral("P|2024-04-01||1|1")}));

    // Cancelling the method list touches nobody.
    prompts.expectChecksAsOffered(QStringLiteral("Wybierz składniki opłat"));
    prompts.expectCancel(ScriptedPrompts::Kind::List, QStringLiteral("Wybierz nowy sposób liczenia"));
    EXPECT_FALSE(run(ChargeOperation::SetMethod, {child}).completed);
    EXPECT_EQ(scalarInt(QStringLiteral("SELECT COUNT(*) FROM DZIEMED WHERE SPOSOB <> 1")), 0);
    EXPECT_TRUE(prompts.done());
}

TEST_P(MarkedTest, PasswordsAreStoredAsDigestsAndPrintedOnce)
{
    Query(*db, QStringLiteral("DELETE FROM FIRMA")).exec();
    Query(*db, QStringLiteral("INSERT INTO FIRMA (NAZWA, KODKLI) VALUES ('Przedszkole', 57)")).exec();
    const int fresh = addChild(QStringLiteral("Ada"), groupA);
    const int had = addChild(QStringLiteral("Bea"), groupA, {}, QStringLiteral("0123456789abcdef0123456789abcdef"));
    services.drawPassword = [] { return QStringLiteral("abc12345"); };
    std::shared_ptr<report::Job> sheet;
    services.showSheet = [&](RunContext&, std::shared_ptr<report::Job> job) { sheet = std::move(job); };

    prompts.expectYesNo(overwriteQuestion(), false);
    prompts.expectMemo(sheetTitle(), QStringLiteral("Witamy w serwisie"));
    prompts.expectYesNo(QStringLiteral("Każde dziecko od nowej strony?"), true);
    EXPECT_TRUE(run(ChargeOperation::Passwords, {fresh, had}).completed);
    EXPECT_TRUE(prompts.done());

    auto hash = [&](int child) {
        return Query(*db, QStringLiteral("SELECT HASLO FROM DZIECI WHERE KOD = :K")).bind(QStringLiteral("K"), child).scalar().toString();
    };
    EXPECT_EQ(hash(fresh), QStringLiteral("639c1abc7696b2bfea8928b92c0b34db"));
    EXPECT_EQ(hash(had), QStringLiteral("0123456789abcdef0123456789abcdef"));
    EXPECT_FALSE(log.isShown());

    auto* job = dynamic_cast<report::ReportJob*>(sheet.get());
    ASSERT_NE(job, nullptr);
    EXPECT_EQ(job->title(), sheetTitle());
    ASSERT_EQ(job->rows().rows.size(), 1) << "only the child given a new password";
    EXPECT_EQ(job->rows().rows[0][0].toString(),
              QStringLiteral("Witamy w serwisie\n\nAda, Polna 1\nIdentyfikator: 57-%1\nHasło: abc12345").arg(fresh));
    EXPECT_TRUE(job->definition().detail->newPageBefore);
    // The sheet prints again from the start.
    EXPECT_EQ(job->run(report::Purpose::Pages).pages.size(), job->run(report::Purpose::Pages).pages.size());

    EXPECT_EQ(passwordBlock(QStringLiteral("Ada"), 57, 3, QStringLiteral("x")),
              QStringLiteral("Ada\r\nIdentyfikator: 57-3\r\nHasło: x\r\n\r\n"));
    // A digit when the one-in-three draw comes out 0, otherwise a letter.
    EXPECT_EQ(drawPassword([](quint32) { return 0u; }), QStringLiteral("00000000"));
    EXPECT_EQ(drawPassword([](quint32 n) { return n - 1; }), QStringLiteral("zzzzzzzz"));
}

TEST_P(MarkedTest, EmailsAreListedOnceAndHiddenOnRequest)
{
    const int a = addChild(QStringLiteral("Ada"), groupA, QStringLiteral("mama@wp.pl"));
    const int b = addChild(QStringLiteral("Bea"), groupA, QStringLiteral("MAMA@wp.pl; tata@wp.pl"));
    const int c = addChild(QStringLiteral("Cyla"), groupA, QStringLiteral("mama@wp.pl.com"));
    const int none = addChild(QStringLiteral("Dora"), groupA);
    QList<QUrl> opened;
    services.openMail = [&](const QUrl& url) {
        opened << url;
        return true;
    };

    prompts.expectYesNo(QStringLiteral("Ukryć adresatów?"), true);
    EXPECT_TRUE(run(ChargeOperation::Emails, {a, b, c, none}).completed);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].toString(), QStringLiteral("mailto:?bcc=mama@wp.pl;tata@wp.pl;mama@wp.pl.com"));

    opened.clear();
    EXPECT_TRUE(run(ChargeOperation::Emails, {c}).completed);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0].toString(), QStringLiteral("mailto:mama@wp.pl.com"));

    opened.clear();
    prompts.expectInfo(noAddressesMessage());
    EXPECT_TRUE(run(ChargeOperation::Emails, {none}).completed);
    EXPECT_TRUE(opened.isEmpty());
    EXPECT_TRUE(prompts.done());
}

TEST_P(MarkedTest, GroupMoveWritesHistoryRows)
{
    const int a = addChild(QStringLiteral("Ada"), groupA);
    const int b = addChild(QStringLiteral("Bea"), groupA);
    const int stays = addChild(QStringLiteral("Cyla"), groupB);
    // A change after the chosen day is already recorded for Bea.
    Query(*db, QStringLiteral("INSERT INTO DZIEKLA (OSOBA, DODATY, KLASA) VALUES (:O, '2024-03-20', :K)"))
        .bind(QStringLiteral("O"), b).bind(QStringLiteral("K"), groupB).exec();

    prompts.expectList(QStringLiteral("Wybierz nową grupę"), groupB);
    prompts.expectDate(QStringLiteral("Data zmiany"), QDate(2024, 3, 11)).withText(GroupChange::datePrompt());
    prompts.expectText(QStringLiteral("Zmiana grupy"), QStringLiteral("Podaj przyczynę zmiany grupy"),
                       QStringLiteral("przeprowadzka"));
    EXPECT_TRUE(run(ChargeOperation::MoveGroup, {a, b, stays}).completed);
    EXPECT_TRUE(prompts.done());

    EXPECT_EQ(scalarInt(QStringLiteral("SELECT COUNT(*) FROM DZIECI WHERE KLASA = %1").arg(groupB)), 3);
    Query q(*db, QStringLiteral("SELECT OSOBA, DODATY, KLASA, UWAGI FROM DZIEKLA ORDER BY OSOBA, DODATY"));
    q.exec();
    QStringList history;
    while (q.next())
        history << QStringLiteral("%1|%2|%3|%4").arg(q.value(0).toInt()).arg(values::toDate(q.value(1)).toString(Qt::ISODate))
                       .arg(q.value(2).toInt()).arg(q.value(3).toString());
    EXPECT_EQ(history, (QStringList{QStringLiteral("%1|2024-03-10|%2|przeprowadzka").arg(a).arg(groupA),
                                    QStringLiteral("%1|2024-03-20|%2|").arg(b).arg(groupB)}));
    EXPECT_EQ(log.errors(), QStringList{QStringLiteral("Bea, Polna 1 - zarejestrowano już zmianę grupy na dzień 21.03.2024")});
}

INSTANTIATE_ENGINES(MarkedTest);
