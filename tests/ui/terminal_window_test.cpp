// The attendance terminal's window offscreen, typed into as a bar-code
// reader types: digits and Enter, then a question answered inside the
// window with the password box and Enter.

#include "attendance/obecn_store.h"
#include "attendance/ui/terminal_window.h"
#include "store/password_digest.h"
#include "store/query.h"
#include "support/store_fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(TerminalWindow, CodeAndEnterRecordTheArrival)
{
    TestStore store(Engine::SQLite);
    auto db = store.connect();
    Query(*db, "INSERT INTO KLASY (KOD, NAZWA, KOLEJ) VALUES (1, 'Motylki', 1)").exec();
    Query(*db, "INSERT INTO DZIECI (KOD, NAZWA, ULICA, KLASA) VALUES (12, 'Kowalska Ala', 'Polna', 1)").exec();
    Query(*db, "INSERT INTO UZYT (KOD, NAZWA, OPIS, HASLO) VALUES (3, 'ola', 'Ola', :H)")
        .bind("H", digest::userPassword("tajne"))
        .exec();
    QTemporaryDir logs;
    QDateTime now(QDate(2024, 3, 5), QTime(7, 31, 0));
    terminal::TerminalSetup setup;
    setup.db = db.get();
    setup.clientNumber = 57;
    setup.clock = [&] { return now; };
    setup.passwordMatches = [&](const QString& p) { return terminal::userPasswordMatches(*db, 3, p); };
    setup.logFolder = logs.path();

    TFmWprObec window(setup);
    window.show();
    EXPECT_EQ(window.windowTitle(), "Obecności");
    EXPECT_EQ(window.modeLabel()->text(), "Czas przyjścia w dniu:");
    EXPECT_FALSE(window.questionPanel()->isVisible());

    QTest::keyClicks(window.codeBox(), "570123");
    EXPECT_EQ(window.childLabel()->text(), "Kowalska Ala");
    QTest::keyClick(window.codeBox(), Qt::Key_Return);
    EXPECT_EQ(obecn::readDay(*db, 12, now.date()).arrival, QTime(7, 31));
    EXPECT_EQ(window.resultLabel()->text(), "Czas przyjścia:\n07:31\n");
    EXPECT_TRUE(window.codeBox()->text().isEmpty());

    // Again: the question opens inside the window; the password and Enter change the time.
    now = now.addSecs(300);
    QTest::keyClicks(window.codeBox(), "570123");
    QTest::keyClick(window.codeBox(), Qt::Key_Return);
    ASSERT_TRUE(window.questionPanel()->isVisible());
    EXPECT_FALSE(window.codeBox()->isEnabled());
    EXPECT_TRUE(window.questionButton(terminal::Reply::Delete)->isVisible());
    EXPECT_TRUE(window.passwordBox()->isVisible());
    QTest::keyClicks(window.passwordBox(), "tajne");
    QTest::keyClick(window.passwordBox(), Qt::Key_Return);
    EXPECT_FALSE(window.questionPanel()->isVisible());
    EXPECT_EQ(obecn::readDay(*db, 12, now.date()).arrival, QTime(7, 36));
    EXPECT_TRUE(window.codeBox()->isEnabled());

    // Ctrl+Z in the code box switches the mode instead of undoing.
    QTest::keyClick(window.codeBox(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(window.modeLabel()->text(), "Czas wyjścia w dniu:");
}

}  // namespace
