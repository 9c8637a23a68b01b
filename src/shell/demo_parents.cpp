#include "demo_parents.h"

#include "attendance/free_days.h"
#include "fees/settlement_months.h"
#include "store/database.h"
#include "store/password_digest.h"
#include "store/query.h"

#include <QDateTime>
#include <QLocale>

namespace demo {

namespace {

int insertInformation(Database& db, const QVariant& group, const QDate& day, const QString& title, const QString& text)
{
    // Numbered within the group, as the informations window numbers them.
    insert(db, QStringLiteral("INFORM"),
           {{QStringLiteral("KLASA"), group},
            {QStringLiteral("DATA"), day},
            {QStringLiteral("OPIS"), title},
            {QStringLiteral("TEKST"), text},
            {QStringLiteral("TYP"), group.isNull() ? QStringLiteral("I") : QStringLiteral("G")}});
    return count(db, QStringLiteral("SELECT MAX(KOD) FROM INFORM"));
}

void address(Database& db, int information, const Child& child, const QVariant& opened)
{
    insert(db, QStringLiteral("DZIEINF"),
           {{QStringLiteral("INFORM"), information}, {QStringLiteral("OSOBA"), child.kod},
            {QStringLiteral("DATAOTW"), opened}});
}

}  // namespace

void fillInformation(Database& db, const QList<Child>& children, const QList<int>& groups, const Months& months)
{
    const QDate trip = months.second.addDays(3);
    const int theatre = insertInformation(db, QVariant(), trip, QStringLiteral("Wycieczka do teatru"),
                                          QStringLiteral("W piątek jedziemy do teatru lalek. "
                                                         "Prosimy o zgody rodziców."));
    for (int i = 0; i < children.size() && i < 6; ++i)
        address(db, theatre, children[i],
                i < 2 ? QVariant(QDateTime(trip.addDays(1), QTime(19, 30 + i))) : QVariant());
    insert(db, QStringLiteral("LINKI"),
           {{QStringLiteral("INFORM"), theatre},
            {QStringLiteral("PLIK"), QStringLiteral("zgoda_na_wycieczke.pdf")},
            {QStringLiteral("LINK"), QStringLiteral("https://example.com/pliki/1.pdf")}});

    // A meeting of the oldest group's parents, most of whom have read it.
    if (groups.size() >= 3) {
        const QDate sent = months.today.addDays(-6);
        const int meeting = insertInformation(
            db, QVariant(), sent, QStringLiteral("Zebranie z rodzicami grupy Sówki"),
            QStringLiteral("Zapraszamy na zebranie w czwartek o 17:00 w sali grupy.\r\n"
                           "Tematy: gotowość szkolna, plan wycieczek, sprawy organizacyjne."));
        int n = 0;
        for (const Child& child : children)
            if (child.group == groups[2])
                address(db, meeting, child,
                        n++ % 4 != 3 ? QVariant(QDateTime(sent.addDays(n % 3), QTime(18 + n % 4, 5 * (n % 12))))
                                     : QVariant());
    }

    if (!groups.isEmpty()) {
        const QString month = QLocale(QLocale::Polish).standaloneMonthName(months.current.month());
        insertInformation(db, groups.first(), months.current, QStringLiteral("Plan zajęć na ") + month,
                          QStringLiteral("Rytmika we wtorki, basen w czwartki."));
    }
}

int fillMeals(Database& db, const QDate& month)
{
    static const QList<QString> breakfasts = {
        QStringLiteral("płatki owsiane na mleku, bułka z masłem i serem, herbata z cytryną"),
        QStringLiteral("jajecznica ze szczypiorkiem, chleb razowy, kakao"),
        QStringLiteral("kanapki z twarożkiem i rzodkiewką, ogórek, herbata owocowa"),
        QStringLiteral("zupa mleczna z makaronem, rogal maślany, jabłko"),
        QStringLiteral("pasta jajeczna, pieczywo mieszane, pomidor, kawa zbożowa"),
    };
    static const QList<QString> soups = {
        QStringLiteral("pomidorowa z ryżem"), QStringLiteral("ogórkowa"), QStringLiteral("krupnik jęczmienny"),
        QStringLiteral("rosół z makaronem"), QStringLiteral("barszcz ukraiński"), QStringLiteral("zupa jarzynowa"),
        QStringLiteral("kapuśniak z młodej kapusty"),
    };
    static const QList<QString> mains = {
        QStringLiteral("kotlet mielony, ziemniaki, mizeria"),
        QStringLiteral("naleśniki z serem i sosem truskawkowym"),
        QStringLiteral("pulpety w sosie koperkowym, kasza jęczmienna, surówka z marchewki"),
        QStringLiteral("filet z dorsza, ziemniaki, surówka z kiszonej kapusty"),
        QStringLiteral("pierogi leniwe z masłem i cynamonem"),
        QStringLiteral("gulasz z indyka, ryż, buraczki"),
    };
    static const QList<QString> snacks = {
        QStringLiteral("kisiel z owocami"), QStringLiteral("jogurt naturalny z musli"), QStringLiteral("banan, wafle ryżowe"),
        QStringLiteral("budyń waniliowy"), QStringLiteral("sałatka owocowa"), QStringLiteral("drożdżówka, mleko"),
    };
    const attendance::FreeDays freeDays(fees::generatedFreeDays(month.year(), month.month(), false));
    int days = 0;
    for (QDate d = month; d.month() == month.month(); d = d.addDays(1)) {
        if (!freeDays.isWorkingDay(d))
            continue;
        const int n = d.day();
        insert(db, QStringLiteral("POSILKI"),
               {{QStringLiteral("DATA"), d},
                {QStringLiteral("OPIS"), QStringLiteral("Śniadanie: %1\r\nObiad: %2, %3\r\nPodwieczorek: %4")
                                             .arg(breakfasts[n % breakfasts.size()], soups[n % soups.size()],
                                                  mains[n % mains.size()], snacks[n % snacks.size()])}});
        ++days;
    }
    return days;
}

int fillWebLogins(Database& db, Dice& dice, const QList<Child>& children, const QDate& today)
{
    static const QString letters = QStringLiteral("abcdefghjkmnpqrstuvwxyz23456789");
    QList<int> online;
    for (const Child& child : children) {
        if (!dice.percent(70))
            continue;  // these parents have no internet access yet
        QString password;
        for (int i = 0; i < 8; ++i)
            password += letters[dice.between(0, int(letters.size()) - 1)];
        Query(db, QStringLiteral("UPDATE DZIECI SET HASLO = :H WHERE KOD = :K"))
            .bind(QStringLiteral("H"), digest::internetPassword(password))
            .bind(QStringLiteral("K"), child.kod)
            .exec();
        online << child.kod;
    }
    int written = 0;
    auto login = [&](const QDate& day, int account) {
        const QTime time(dice.between(6, 22), dice.between(0, 59), dice.between(0, 59));
        // Now and then a mistyped password first.
        if (dice.percent(6)) {
            insert(db, QStringLiteral("PRZEDLOGI"),
                   {{QStringLiteral("CZAS"), QDateTime(day, time.addSecs(-40))}, {QStringLiteral("KON"), account},
                    {QStringLiteral("OK"), QStringLiteral("N")}});
            ++written;
        }
        insert(db, QStringLiteral("PRZEDLOGI"),
               {{QStringLiteral("CZAS"), QDateTime(day, time)}, {QStringLiteral("KON"), account},
                {QStringLiteral("OK"), QStringLiteral("T")}});
        ++written;
    };
    for (QDate day = today.addDays(-30); day < today; day = day.addDays(1)) {
        for (int child : std::as_const(online))
            if (dice.percent(day.dayOfWeek() >= 6 ? 5 : 15))
                login(day, child);
        if (day.dayOfWeek() == 1)
            login(day, 0);  // the administrator's weekly look
    }
    return written;
}

}  // namespace demo
