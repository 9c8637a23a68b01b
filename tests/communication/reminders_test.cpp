// The reminders list: who sees which request and deadline, the texts and
// their order, and how the list is shown and its entries opened.

#include "shell/register_fixture.h"

#include "communication/follow_up_areas.h"
#include "communication/reminders.h"
#include "communication/tdm_zglosz.h"
#include "store/query.h"
#include "store/table.h"

#include <gtest/gtest.h>

namespace {

class RemindersTest : public RegisterTest {
protected:
    int insert(const QString& sql, const QVariantMap& values, const QString& keyOf)
    {
        Query q(*db, sql);
        for (auto it = values.begin(); it != values.end(); ++it)
            q.bind(it.key(), it.value());
        q.exec();
        return Query(*db, keyOf).scalar().toInt();
    }
    int group(const QString& name)
    {
        return insert(QStringLiteral("INSERT INTO KLASY (NAZWA, KOLEJ) VALUES (:N, 1)"), {{"N", name}},
                      QStringLiteral("SELECT MAX(KOD) FROM KLASY"));
    }
    int child(const QString& name, const QString& street, int group)
    {
        return insert(QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, KLASA) VALUES (:N, :U, :K)"),
                      {{"N", name}, {"U", street}, {"K", group}}, QStringLiteral("SELECT MAX(KOD) FROM DZIECI"));
    }
    int user(const QString& name, const QString& description)
    {
        return insert(QStringLiteral("INSERT INTO UZYT (NAZWA, OPIS) VALUES (:N, :O)"), {{"N", name}, {"O", description}},
                      QStringLiteral("SELECT MAX(KOD) FROM UZYT"));
    }
    void request(const QDate& received, int child, const QString& text, const QVariant& receiver,
                 const QVariant& dealer, const QVariant& done = {})
    {
        insert(QStringLiteral("INSERT INTO ZGLOSZ (DATAPRZY, OSOBA, OPIS, KTOPRZY, KTOZAL, DATAZAL) "
                              "VALUES (:D, :C, :O, :R, :Z, :W)"),
               {{"D", received}, {"C", child}, {"O", text}, {"R", receiver}, {"Z", dealer}, {"W", done}},
               QStringLiteral("SELECT MAX(ZGLID) FROM ZGLOSZ"));
    }
    int deadline(const QVariant& child, const QString& text, const QDate& base, int periods, const QString& unit,
                 int daysBefore, const QList<QDate>& done = {})
    {
        const int id = insert(QStringLiteral("INSERT INTO TERMINY (OSOBA, OPIS, DATA, ILOKRESOW, OKRES, DNIPRZED) "
                                             "VALUES (:C, :O, :D, :N, :U, :P)"),
                              {{"C", child}, {"O", text}, {"D", base}, {"N", periods}, {"U", unit}, {"P", daysBefore}},
                              QStringLiteral("SELECT MAX(TERMID) FROM TERMINY"));
        for (const QDate& d : done)
            insert(QStringLiteral("INSERT INTO TERMWYK (TERMID, DATAZAL) VALUES (:T, :D)"), {{"T", id}, {"D", d}},
                   QStringLiteral("SELECT COUNT(*) FROM TERMWYK"));
        return id;
    }
    static QStringList texts(const QList<reminders::Entry>& entries)
    {
        QStringList out;
        for (const reminders::Entry& e : entries)
            out << e.text;
        return out;
    }
};

TEST_P(RemindersTest, EntriesByGroupAndUserInOrder)
{
    const int misie = group(QStringLiteral("Misie")), zabki = group(QStringLiteral("Żabki"));
    const int ala = child(QStringLiteral("Nowak Ala"), QStringLiteral("Polna 1"), misie);
    const int ola = child(QStringLiteral("Nowak Ola"), QStringLiteral("Leśna 2"), zabki);
    const int jan = user(QStringLiteral("jan"), QStringLiteral("Jan Kowal"));
    const int ewa = user(QStringLiteral("ewa"), QStringLiteral("Ewa Lis"));
    request({2024, 5, 10}, ala, QStringLiteral("Zmiana godzin"), jan, ewa);
    request({2024, 5, 11}, ola, QStringLiteral("Alergia"), ewa, QVariant());  // received by another, dealt by nobody
    request({2024, 5, 12}, ola, QStringLiteral("Dieta"), QVariant(), QVariant());
    request({2024, 5, 1}, ala, QStringLiteral("Załatwione"), jan, jan, QDate(2024, 5, 2));
    // Coming in 5 days, reminded 7 before; the April occurrence done 5 days early.
    deadline(QVariant(), QStringLiteral("Przegląd gaśnic"), {2024, 1, 20}, 1, QStringLiteral("M"), 7, {{2024, 4, 15}});
    // The May occurrence of a child's yearly deadline passed without an execution.
    deadline(ola, QStringLiteral("Badanie"), {2023, 5, 10}, 1, QStringLiteral("R"), 3);
    // Done 31 days before the 10 May occurrence: missed; listed once for the two equal deadlines.
    deadline(QVariant(), QStringLiteral("Sprzątanie"), {2024, 3, 10}, 1, QStringLiteral("M"), 7, {{2024, 4, 9}});
    deadline(QVariant(), QStringLiteral("Sprzątanie"), {2024, 3, 10}, 1, QStringLiteral("M"), 7, {{2024, 4, 9}});
    deadline(QVariant(), QStringLiteral("Raport"), {2024, 6, 1}, 1, QStringLiteral("M"), 0);     // ahead, no reminding
    deadline(QVariant(), QStringLiteral("Bez okresu"), {2024, 1, 1}, 0, QStringLiteral("M"), 30);  // no occurrence
    const QDate today(2024, 5, 15);

    CurrentLogin all;
    all.userCode = jan;
    all.visibleGroups = {QStringLiteral("-1")};
    const QString coming = QStringLiteral("Nadchodzący termin 20.05.2024:  - Przegląd gaśnic");
    const QString cleaning = QStringLiteral("Niewykonany termin 10.05.2024:  - Sprzątanie");
    const QString janRequest = QStringLiteral(
        "Zgłoszenie z dnia 10.05.2024: Nowak Ala, Polna 1 - Zmiana godzin, (przyjął Jan Kowal , załatwia Ewa Lis)");
    EXPECT_EQ(texts(reminders::collect(*db, all, today)),
              (QStringList{coming, cleaning, QStringLiteral("Niewykonany termin 10.05.2024: Nowak Ola, Leśna 2 - Badanie"),
                           janRequest,
                           QStringLiteral("Zgłoszenie z dnia 12.05.2024: Nowak Ola, Leśna 2 - Dieta, (przyjął  , załatwia )")}));

    // One group: the other group's requests and child deadlines are hidden,
    // deadlines of nobody in particular still reach the user.
    CurrentLogin one;
    one.userCode = ewa;
    one.visibleGroups = {QString::number(misie), QString()};
    const QList<reminders::Entry> entries = reminders::collect(*db, one, today);
    EXPECT_EQ(texts(entries), (QStringList{coming, cleaning, janRequest}));
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[2].kind, reminders::Entry::Kind::Request);
    EXPECT_EQ(entries[2].child, ala);
}

TEST_P(RemindersTest, ShownAtStartOnlyWithEntriesAndOpenedModallyForTheEntrysChild)
{
    RunContext& ctx = context();
    ctx.baza.setSystemDate(QDate(2024, 5, 15));
    QString setting = QStringLiteral("Przy starcie");
    const reminders::Setting access{[&] { return setting; }, [&](const QString& s) { setting = s; }};

    reminders::show(ctx, access, true);  // empty at start: nothing asked
    prompts.expectListWithChoice(reminders::title(), QStringLiteral("Tylko na żądanie"));
    reminders::show(ctx, access, false);
    EXPECT_EQ(setting, QStringLiteral("Tylko na żądanie"));
    ASSERT_FALSE(prompts.asked().isEmpty());
    EXPECT_EQ(prompts.asked().last().lines, (QStringList{QStringLiteral("Przy starcie"), QStringLiteral("Tylko na żądanie")}));
    EXPECT_EQ(prompts.asked().last().preset, QStringLiteral("Przy starcie"));
    setting.clear();  // never set: the box offers what that means
    prompts.expectListWithChoice(reminders::title(), QStringLiteral("Tylko na żądanie"));
    reminders::show(ctx, access, false);
    EXPECT_EQ(prompts.asked().last().preset, QStringLiteral("Tylko na żądanie"));

    const int misie = group(QStringLiteral("Misie"));
    const int ala = child(QStringLiteral("Nowak Ala"), QStringLiteral("Polna 1"), misie);
    child(QStringLiteral("Inne Dziecko"), QStringLiteral("Inna 3"), misie);
    request({2024, 5, 10}, ala, QStringLiteral("Sprawa"), QVariant(), QVariant());
    const int id = Query(*db, QStringLiteral("SELECT MAX(ZGLID) FROM ZGLOSZ")).scalar().toInt();
    opener.clear();
    reminders::openEntry(ctx, {QString(), reminders::Entry::Kind::Request, id, ala});
    EXPECT_EQ(opener.log(), QStringList{QStringLiteral("opened Zgłoszenia - Nowak Ala, Polna 1")});
    EXPECT_FALSE(ctx.settings.modalWindows);  // restored after the modal browser
    EXPECT_EQ(reminders::entryTitle(*db, {QString(), reminders::Entry::Kind::Deadline, 1, 0}),
              QStringLiteral("Nadchodzące terminy"));
}

INSTANTIATE_ENGINES(RemindersTest);

}  // namespace
