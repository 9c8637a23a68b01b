// Years of attendance around the charged months change nothing: the charge
// run and the quantities read the period's days only.

#include "shell/register_fixture.h"

#include "browser/message_log.h"
#include "fees/charge_run.h"
#include "fees/quantity_data_loader.h"
#include "store/database.h"
#include "store/query.h"

#include <QDate>
#include <QTime>

using namespace fees;

namespace {

class AttendanceHistory : public RegisterTest {
protected:
    int insert(const QString& sql, const QString& table)
    {
        Query(*db, sql).exec();
        return Query(*db, QStringLiteral("SELECT MAX(KOD) FROM %1").arg(table)).scalar().toInt();
    }
    int addChild(const QString& name, int group)
    {
        Query(*db, QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, KLASA, AKTYWNY) VALUES (:N, 'Polna 3', :K, 'T')"))
            .bind(QStringLiteral("N"), name).bind(QStringLiteral("K"), group).exec();
        return Query(*db, QStringLiteral("SELECT MAX(KOD) FROM DZIECI")).scalar().toInt();
    }
    int addMethod(const QString& definition)
    {
        Query(*db, QStringLiteral("INSERT INTO SPOSOBY (NAZWA, OPIS) VALUES (:N, :N)")).bind(QStringLiteral("N"), definition).exec();
        return Query(*db, QStringLiteral("SELECT MAX(KOD) FROM SPOSOBY")).scalar().toInt();
    }
    // Every working day of the span: present with times, every fifth day absent.
    void attend(int child, QDate from, QDate to)
    {
        Query q(*db, QStringLiteral("INSERT INTO OBECN (OSOBA, DATA, OBECNY, CZASP, CZASW) VALUES (:O, :D, :M, :P, :W)"));
        for (QDate d = from; d <= to; d = d.addDays(1)) {
            if (d.dayOfWeek() > 5)
                continue;
            const bool absent = (d.day() + child) % 5 == 0;
            q.bind(QStringLiteral("O"), child).bind(QStringLiteral("D"), d)
                .bind(QStringLiteral("M"), absent ? QStringLiteral("N") : QStringLiteral("T"))
                .bind(QStringLiteral("P"), absent ? QVariant() : QVariant(QTime(7, 10 + d.day())))
                .bind(QStringLiteral("W"), absent ? QVariant() : QVariant(QTime(15, d.day())))
                .exec();
        }
    }
    QStringList computedLines(int month)
    {
        prompts.expectChecksAsOffered(QStringLiteral("Wybierz składniki opłat"));
        prompts.expectChoice(QStringLiteral("Naliczanie, rozliczanie"), -1);
        prompts.expectChecksAsOffered(QStringLiteral("Wybierz grupy"));
        const ChargeRunResult r = runCharges(context(), ChargeOperation::Compute, 2024, 3, ChargeChildren::byGroups(), log);
        EXPECT_TRUE(r.completed) << r.stopError.toStdString();
        Query q(*db, QStringLiteral("SELECT OSOBA, MEDIUM, ILOSC, WARTOSC, ROZLICZ, DOT FROM NALICZ WHERE KOD = :K ORDER BY ID"));
        q.bind(QStringLiteral("K"), month).exec();
        QStringList out;
        while (q.next())
            out << QStringLiteral("%1|%2|%3|%4|%5|%6").arg(q.value(0).toInt()).arg(q.value(1).toInt())
                       .arg(q.value(2).toDouble()).arg(q.value(3).toDouble()).arg(q.value(4).toString())
                       .arg(q.value(5).toInt());
        return out;
    }

    MessageLog log;
};

TEST_P(AttendanceHistory, ChargeLinesAndQuantitiesIgnoreTheYearsAround)
{
    context().params.sposobyJednolite = false;
    const int group = insert(QStringLiteral("INSERT INTO KLASY (NAZWA, KOLEJ) VALUES ('Biedronki', 1)"), QStringLiteral("KLASY"));
    Query(*db, QStringLiteral("INSERT INTO MIESIACE (ROK, MIES, DNIWOLNE) VALUES (2024, 2, '3,4,10,11,17,18,24,25'), "
                              "(2024, 3, '2,3,9,10,16,17,23,24,30,31')")).exec();
    const int march = Query(*db, QStringLiteral("SELECT KOD FROM MIESIACE WHERE MIES = 3")).scalar().toInt();
    const int stay = insert(QStringLiteral("INSERT INTO MEDIA (NAZWA, KOLEJ) VALUES ('Pobyt', 1)"), QStringLiteral("MEDIA"));
    Query(*db, QStringLiteral("INSERT INTO TARMED (TARYFA, MEDIUM, ODDATY, CENA, JM) VALUES (0, :M, '2020-01-01', 2, 'szt')"))
        .bind(QStringLiteral("M"), stay).exec();
    const int ala = addChild(QStringLiteral("Kowalska Ala"), group);
    const int ola = addChild(QStringLiteral("Nowak Ola"), group);
    const int charged = addMethod(QStringLiteral("IT*10+IN"));
    const int settled = addMethod(QStringLiteral("IT+IN*3"));
    for (const int child : {ala, ola})
        Query(*db, QStringLiteral("INSERT INTO DZIEMED (OSOBA, MEDIUM, ODDATY, SPOSOB, SPOROZ) VALUES (:O, :M, '2020-01-01', :S, :R)"))
            .bind(QStringLiteral("O"), child).bind(QStringLiteral("M"), stay).bind(QStringLiteral("S"), charged)
            .bind(QStringLiteral("R"), settled).exec();
    db->batch([&] {
        attend(ala, QDate(2024, 2, 1), QDate(2024, 3, 31));
        attend(ola, QDate(2024, 3, 4), QDate(2024, 3, 20));
    });

    const QStringList monthOnly = computedLines(march);
    ASSERT_FALSE(monthOnly.isEmpty());
    const QuantityData before = loadQuantityData(*db, QDate(2024, 3, 1), QDate(2024, 3, 31));

    // Three school years before and after, for both children.
    db->batch([&] {
        for (const int child : {ala, ola}) {
            attend(child, QDate(2021, 9, 1), QDate(2024, 1, 31));
            attend(child, QDate(2024, 4, 1), QDate(2024, 8, 31));
        }
    });
    EXPECT_EQ(computedLines(march), monthOnly);

    // The month's rows as read: the same days, in date order, for each child.
    const QuantityData after = loadQuantityData(*db, QDate(2024, 3, 1), QDate(2024, 3, 31));
    for (const int child : {ala, ola}) {
        const ChildRows* a = before.childRows(child);
        const ChildRows* b = after.childRows(child);
        ASSERT_TRUE(a && b);
        ASSERT_EQ(a->attendance.size(), b->attendance.size());
        for (qsizetype i = 0; i < a->attendance.size(); ++i) {
            EXPECT_EQ(b->attendance[i].date, a->attendance[i].date);
            EXPECT_EQ(b->attendance[i].mark, a->attendance[i].mark);
            EXPECT_EQ(b->attendance[i].arrival, a->attendance[i].arrival);
            EXPECT_EQ(b->attendance[i].departure, a->attendance[i].departure);
            if (i > 0) {
                EXPECT_LT(b->attendance[i - 1].date, b->attendance[i].date);
            }
        }
    }
    EXPECT_EQ(after.childRows(ala)->attendance.size(), 21);  // the working days of March 2024
}

INSTANTIATE_ENGINES(AttendanceHistory);

}  // namespace
