#include "support/browser_run.h"

#include "communication/tdm_dzielog.h"
#include "communication/tdm_posilki.h"
#include "store/query.h"
#include "store/table.h"

#include <gtest/gtest.h>

TEST(CommunicationModules, NewMealsDayTakesTheSystemDateAndLoginsNameTheAccount)
{
    BrowserRun run;
    run.baza->setSystemDate(QDate(2020, 1, 2));
    TDMPosilki meals(*run.context);
    Table& day = *meals.meals().table;
    if (!day.isOpen())
        day.open();
    day.insert();
    EXPECT_EQ(day.value(QStringLiteral("DATA")).toDate(), QDate(2020, 1, 2));
    day.cancel();

    Database& db = run.baza->database();
    Query(db, QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA) VALUES ('Nowak Ala', 'Polna 1')")).exec();
    Query(db, QStringLiteral("INSERT INTO PRZEDLOGI (CZAS, KON, OK) VALUES ('2026-12-01 08:00:00', 0, 'T'), "
                             "('2026-12-01 09:00:00', 1, 'T'), ('2026-12-01 10:00:00', 77, 'N')"))
        .exec();
    TDMDzieLog log(*run.context);
    Table& logins = *log.logins().table;
    if (!logins.isOpen())
        logins.open();
    logins.refresh();
    QStringList captions;
    for (logins.first(); !logins.eof(); logins.next())
        captions << logins.value(QStringLiteral("OOSOBA")).toString();
    EXPECT_EQ(captions, (QStringList{QStringLiteral("Administrator"), QStringLiteral("Nowak Ala, Polna 1"), QString()}));
    EXPECT_FALSE(log.canInsert(log.logins()));
}
