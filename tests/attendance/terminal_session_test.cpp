// The attendance terminal over a store at chosen moments: presses of "OK"
// with their questions, the password, "Usuń", the free day, the limits,
// rounding, the idle switch of the mode, question timeouts, the log and a
// store error that must not lose the entry.

#include "attendance/obecn_store.h"
#include "attendance/terminal_log.h"
#include "attendance/terminal_session.h"
#include "printouts/child_code.h"
#include "store/password_digest.h"
#include "store/error.h"
#include "store/query.h"
#include "support/store_fixture.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace terminal;

namespace {

class TerminalTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        sql("INSERT INTO KLASY (KOD, NAZWA, KOLEJ) VALUES (1, 'Motylki', 1)");
        sql("INSERT INTO DZIECI (KOD, NAZWA, ULICA, KLASA, AKTYWNY) VALUES (12, 'Kowalska Ala', 'Polna', 1, 'T')");
        sql("INSERT INTO DZIECI (KOD, NAZWA, ULICA, KLASA, AKTYWNY) VALUES (13, 'Nowak Bartek', 'Polna', 1, 'T')");
        Query(*db, "INSERT INTO UZYT (NAZWA, OPIS, AKTYWNY, HASLO) VALUES ('ola', 'Ola', 'T', :P)")
            .bind("P", digest::userPassword("tajne"))
            .exec();
        Query user(*db, "SELECT KOD FROM UZYT WHERE NAZWA = 'ola'");
        userCode = user.scalar().toInt();
        now = QDateTime(QDate(2024, 3, 5), QTime(7, 31, 0));  // a Tuesday
    }

    AttendanceTerminal& terminal(int minuteStep = 1)
    {
        TerminalSetup setup;
        setup.db = db.get();
        setup.clientNumber = 57;
        setup.minuteStep = minuteStep;
        setup.clock = [this] { return now; };
        setup.passwordMatches = [this](const QString& p) { return userPasswordMatches(*db, userCode, p); };
        setup.logFolder = logs.path() + "/OBEC";
        t = std::make_unique<AttendanceTerminal>(setup);
        t->tick();
        return *t;
    }

    void sql(const QString& text)
    {
        try {
            Query(*db, text).exec();
        } catch (const Error& e) {
            ADD_FAILURE() << text.toStdString() << ": " << e.message().toStdString();
        }
    }
    obecn::StoredDay day(int child = 12) { return obecn::readDay(*db, child, now.date()); }
    // A second passes on the clock.
    void tickFor(int seconds)
    {
        for (int i = 0; i < seconds; ++i) {
            now = now.addSecs(1);
            t->tick();
        }
    }
    QString log()
    {
        QFile f(logs.path() + "/OBEC/" + logFileName(now.date()));
        return f.open(QIODevice::ReadOnly) ? QString::fromLatin1(f.readAll()) : QString();
    }

    QDateTime now;
    int userCode = 0;
    QTemporaryDir logs;
    std::unique_ptr<AttendanceTerminal> t;
};

TEST_P(TerminalTest, TwoArrivalsAskForThePasswordAndDeleteClears)
{
    AttendanceTerminal& term = terminal();
    term.setCode("570123");
    ASSERT_TRUE(term.child());
    EXPECT_EQ(term.child()->name, "Kowalska Ala");
    EXPECT_EQ(term.child()->groupText(), "grupa: Motylki");
    term.pressOk();
    EXPECT_FALSE(term.question().isOpen());
    EXPECT_EQ(term.result(), "Czas przyjścia:\r\n07:31\r\n");
    EXPECT_TRUE(term.code().isEmpty());
    EXPECT_EQ(day().code, "T");
    EXPECT_EQ(day().arrival, QTime(7, 31));

    now = now.addSecs(120);
    term.setCode("570123");
    term.pressOk();
    ASSERT_EQ(term.question().text, "Czas przyjścia jest już określony\r\nJeżeli chcesz go zmienić, podaj hasło aktualnego użytkownika");
    EXPECT_TRUE(term.question().remove && term.question().password && term.question().cancel);
    term.answer(Reply::Delete, "zle");
    EXPECT_EQ(term.question().text, "Nieprawidłowe hasło aktualnego użytkownika");
    EXPECT_FALSE(term.question().cancel);
    term.answer(Reply::Ok);
    EXPECT_EQ(day().arrival, QTime(7, 31));
    EXPECT_EQ(term.code(), "570123");  // kept for another try

    term.pressOk();
    term.answer(Reply::Delete, "tajne");
    EXPECT_FALSE(term.question().isOpen());
    EXPECT_FALSE(day().arrival.isValid());
    EXPECT_EQ(term.result(), "Czas przyjścia:\r\nBrak");
    EXPECT_TRUE(term.code().isEmpty());

    // Every press for a child is logged, the refused ones too.
    EXPECT_EQ(log(), "05 07:31:00\t570123\r\n05 07:33:00\t570123\r\n05 07:33:00\t570123\r\n");

    term.setCode("570124");
    EXPECT_FALSE(term.child());
    term.pressOk();
    EXPECT_EQ(term.question().text, "Brak określenia dziecka");
}

TEST_P(TerminalTest, DepartureWithoutArrivalAbsenceAndOrder)
{
    AttendanceTerminal& term = terminal();
    term.setMode(Mode::Departure);
    now.setTime(QTime(15, 10));
    term.setCode("570123");
    term.pressOk();
    EXPECT_EQ(term.question().text, "Brak czasu przyjścia");
    term.answer(Reply::Cancel);
    EXPECT_FALSE(day().exists);
    term.pressOk();
    term.answer(Reply::Ok);
    EXPECT_EQ(day().departure, QTime(15, 10));
    EXPECT_FALSE(day().arrival.isValid());

    // A recorded absence needs the password before a time replaces it.
    obecn::writeDay(*db, 13, now.date(), {true, "N", {}, {}});
    term.setMode(Mode::Arrival);
    term.setCode(printouts::childCode(57, 13));
    term.pressOk();
    EXPECT_EQ(term.question().text, "Została już określona nieobecność\r\nJeżeli chcesz zmienić, podaj hasło aktualnego użytkownika");
    EXPECT_FALSE(term.question().remove);
    term.answer(Reply::Ok, "tajne");
    EXPECT_EQ(day(13).code, "T");
    EXPECT_EQ(day(13).arrival, QTime(15, 10));

    // A departure before the stored arrival is refused and nothing changes.
    term.setMode(Mode::Departure);
    now.setTime(QTime(15, 0));
    term.setCode(printouts::childCode(57, 13));
    term.pressOk();
    EXPECT_EQ(term.question().text, "Czas przyjścia nie może być większy niż Czas wyjścia");
    term.answer(Reply::Ok);
    EXPECT_FALSE(day(13).departure.isValid());
    EXPECT_FALSE(term.lastWritten());
}

TEST_P(TerminalTest, FreeDayLimitsRoundingAndDeclaredTime)
{
    sql("INSERT INTO MIESIACE (ROK, MIES, DNIWOLNE) VALUES (2024, 3, '2,3,5')");
    sql("INSERT INTO CZASGRAN (ODDATY, CZASPD, CZASPG, CZASWD, CZASWG) VALUES ('2024-01-01', '06:30', '09:00', '13:00', '17:00')");
    sql("INSERT INTO DZIECZAS (OSOBA, ODDATY, CZASP, CZASW) VALUES (12, '2024-01-01', '07:00', '16:00')");
    now.setTime(QTime(6, 8, 0));
    AttendanceTerminal& term = terminal(15);
    EXPECT_TRUE(term.freeDay());
    term.setCode("570123");
    term.pressOk();
    EXPECT_EQ(term.question().text, "Jesteś pewien, że chcesz wprowadzić obecność na dzień wolny?");
    term.answer(Reply::Cancel);
    EXPECT_FALSE(day().exists);
    EXPECT_EQ(log(), "05 06:08:00\t570123\r\n");  // logged although cancelled

    term.pressOk();
    term.answer(Reply::Ok);
    // 06:08 rounds to 06:15, below the lower limit.
    EXPECT_EQ(term.question().text, "Czas przyjścia - przekroczona granica dolna (06:30)");
    term.answer(Reply::Cancel);
    EXPECT_FALSE(day().exists);
    term.pressOk();
    term.answer(Reply::Ok);
    term.answer(Reply::Ok);
    EXPECT_EQ(day().arrival, QTime(6, 15));
    EXPECT_EQ(term.result(), "Czas przyjścia:\r\n06:15\r\nprzyjście przed czasem deklarowanym!");

    term.setMode(Mode::Departure);
    now.setTime(QTime(16, 20));
    term.setCode("570123");
    term.pressOk();
    term.answer(Reply::Ok);  // the free day
    EXPECT_EQ(day().departure, QTime(16, 15));
    EXPECT_EQ(term.result(), "Czas wyjścia:\r\n16:15\r\nwyjście po czasie deklarowanym!");
}

TEST_P(TerminalTest, IdleSwitchClearingAndQuestionTimeout)
{
    sql("INSERT INTO CZASGRAN (ODDATY, CZASWD, CZASWG) VALUES ('2024-01-01', '13:00', '17:00')");
    now.setTime(QTime(13, 44, 38));
    AttendanceTerminal& term = terminal();
    EXPECT_EQ(term.mode(), Mode::Departure);  // the first tick follows the time of day
    term.setMode(Mode::Arrival);
    term.setCode("570123");
    term.pressOk();
    EXPECT_FALSE(term.result().isEmpty());
    tickFor(10);
    EXPECT_FALSE(term.result().isEmpty());
    tickFor(1);
    EXPECT_TRUE(term.result().isEmpty());
    tickFor(11);
    term.setCode("57");  // 13:45:00, the last action
    tickFor(11);
    EXPECT_TRUE(term.code().isEmpty());
    tickFor(889);  // 14:00:00, fifteen idle minutes
    EXPECT_EQ(term.mode(), Mode::Arrival);
    tickFor(1);
    EXPECT_EQ(term.mode(), Mode::Departure);
    EXPECT_EQ(term.idleSeconds(), 0);

    // An unanswered question closes as cancelled after ten idle seconds.
    term.setMode(Mode::Arrival);
    term.setCode("570123");
    term.pressOk();
    ASSERT_TRUE(term.question().isOpen());
    tickFor(10);
    EXPECT_TRUE(term.question().isOpen());
    tickFor(1);
    EXPECT_FALSE(term.question().isOpen());
    EXPECT_EQ(day().arrival, QTime(13, 44));
}

TEST_P(TerminalTest, NameSearchNeedsThePassword)
{
    AttendanceTerminal& term = terminal();
    term.setCode("now");
    EXPECT_EQ(term.question().text, "Jeżeli chcesz przeglądać kartotekę dzieci, podaj hasło aktualnego użytkownika");
    term.answer(Reply::Ok, "zle");
    EXPECT_FALSE(term.listShown());
    EXPECT_FALSE(term.child());
    term.setCode("nowa");
    term.answer(Reply::Ok, "tajne");
    ASSERT_TRUE(term.listShown());
    ASSERT_EQ(term.matches().size(), 1);
    EXPECT_EQ(term.child()->kod, 13);
    term.pressOk();
    EXPECT_EQ(day(13).arrival, QTime(7, 31));
    EXPECT_TRUE(term.code().isEmpty());
    term.setCode("k");  // emptied code took the permission away
    EXPECT_TRUE(term.question().isOpen());
}

// A save the store refuses keeps the code and the log line; the next try saves.
TEST_P(TerminalTest, StoreErrorKeepsTheEntry)
{
    if (GetParam() != Engine::SQLite)
        GTEST_SKIP() << "the refusing trigger is written for SQLite";
    auto system = [&](const char* text) {
        Database::SystemAccess access(*db);
        sql(text);
    };
    system("CREATE TRIGGER BLOKADA BEFORE INSERT ON OBECN BEGIN SELECT RAISE(ABORT, 'dysk pełny'); END");
    AttendanceTerminal& term = terminal();
    term.setCode("570123");
    term.pressOk();
    ASSERT_TRUE(term.question().isOpen());
    EXPECT_TRUE(term.question().text.contains("dysk pełny")) << term.question().text.toStdString();
    term.answer(Reply::Ok);
    EXPECT_EQ(term.code(), "570123");
    EXPECT_FALSE(day().exists);
    EXPECT_EQ(log(), "05 07:31:00\t570123\r\n");
    system("DROP TRIGGER BLOKADA");
    term.pressOk();
    EXPECT_EQ(day().arrival, QTime(7, 31));
}

INSTANTIATE_ENGINES(TerminalTest);

}  // namespace
