#include "demo_follow_up.h"

#include "store/database.h"
#include "store/query.h"
#include "store/store_creator.h"

#include <QLocale>

namespace demo {

namespace {

struct Request {
    int child;      // index into the children
    int received;   // days before today
    int dealtWith;  // days before today; -1: open
    bool byAdmin;   // received (and dealt with) at the desk; else it came from the web
    QString matter;
    QString done;
};

struct Execution {
    QDate date;
    QString text;
};

int insertDeadline(Database& db, const QVariant& child, const QString& description, const QDate& base, int periods,
                   const QString& unit, int daysBefore, const QList<Execution>& executions)
{
    const int id = insertKeyed(db, QStringLiteral("TERMINY"),
                               {{QStringLiteral("OSOBA"), child},
                                {QStringLiteral("OPIS"), description},
                                {QStringLiteral("DATA"), base},
                                {QStringLiteral("ILOKRESOW"), periods},
                                {QStringLiteral("OKRES"), unit},
                                {QStringLiteral("DNIPRZED"), daysBefore}},
                               QStringLiteral("TERMID"));
    for (const Execution& e : executions)
        insert(db, QStringLiteral("TERMWYK"),
               {{QStringLiteral("TERMID"), id}, {QStringLiteral("DATAZAL"), e.date},
                {QStringLiteral("WYKONANIE"), e.text}});
    return id;
}

}  // namespace

int fillRequests(Database& db, const QList<Child>& children, const Months& months)
{
    if (children.isEmpty())
        return 0;
    const int admin = Query(db, QStringLiteral("SELECT KOD FROM UZYT WHERE NAZWA = :N"))
                          .bind(QStringLiteral("N"), store::adminLogin())
                          .scalar()
                          .toInt();
    const QLocale polish(QLocale::Polish);
    const QString invoiceMonth =
        polish.standaloneMonthName(months.first.month()) + QLatin1Char(' ') + QString::number(months.first.year());
    const QList<Request> requests = {
        {4, 40, 33, true, QStringLiteral("Zaświadczenie o uczęszczaniu dziecka do przedszkola (dla pracodawcy)"),
         QStringLiteral("Wydano zaświadczenie; kopia w teczce dziecka.")},
        {9, 25, 24, true, QStringLiteral("Zmiana numeru telefonu matki"),
         QStringLiteral("Numer telefonu poprawiony w kartotece dziecka.")},
        {15, 20, 19, true, QStringLiteral("Upoważnienie do odbioru dziecka przez babcię"),
         QStringLiteral("Przyjęto pisemne upoważnienie; babcia dopisana do osób odbierających.")},
        {22, 14, 10, false, QStringLiteral("Reklamacja opłaty za wyżywienie – dziecko chore, nieobecność zgłoszona"),
         QStringLiteral("Nieobecność była zgłoszona z wyprzedzeniem; wyżywienie rozliczone według obecności "
                        "w następnym miesiącu.\r\nRodzic poinformowany telefonicznie.")},
        {2, 9, -1, true, QStringLiteral("Prośba o zmianę godzin pobytu od przyszłego miesiąca (7:30–15:00)"), {}},
        {31, 4, -1, true, QStringLiteral("Alergia na orzechy – prośba o dietę bez orzechów (zaświadczenie lekarskie)"),
         {}},
        {40, 1, -1, false, QStringLiteral("Prośba o duplikat faktury za ") + invoiceMonth, {}},
    };
    int written = 0;
    for (const Request& r : requests) {
        const Child& child = children[r.child % children.size()];
        const QDate received = months.today.addDays(-r.received);
        Row row{{QStringLiteral("DATAPRZY"), received},
                {QStringLiteral("OSOBA"), child.kod},
                {QStringLiteral("OPIS"), r.matter},
                {QStringLiteral("KTOPRZY"), r.byAdmin ? QVariant(admin) : QVariant()}};
        if (r.dealtWith >= 0)
            row << qMakePair(QStringLiteral("KTOZAL"), QVariant(admin))
                << qMakePair(QStringLiteral("DATAZAL"), QVariant(months.today.addDays(-r.dealtWith)))
                << qMakePair(QStringLiteral("WYKONANIE"), QVariant(r.done));
        else if (r.byAdmin)
            row << qMakePair(QStringLiteral("KTOZAL"), QVariant(admin));
        insert(db, QStringLiteral("ZGLOSZ"), row);
        ++written;
    }
    // What the grandmother's authorisation changed.
    const Child& collected = children[15 % children.size()];
    insert(db, QStringLiteral("ODBIERA"),
           {{QStringLiteral("OSOBA"), collected.kod}, {QStringLiteral("ODDATY"), months.today.addDays(-19)},
            {QStringLiteral("ODBIERA"), QStringLiteral("Babcia: Halina Wrona, dowód osobisty ABC 123456")}});
    return written;
}

int fillDeadlines(Database& db, const QList<Child>& children, const QDate& today, const QDate& schoolYear)
{
    int written = 0;
    // Comes in ten days; done a little early every year so far.
    const QDate extinguishers = today.addDays(10).addYears(-2);
    insertDeadline(db, QVariant(), QStringLiteral("Przegląd gaśnic i hydrantów wewnętrznych"), extinguishers, 1,
                   QStringLiteral("R"), 14,
                   {{extinguishers.addDays(1), QStringLiteral("Przegląd wykonany, protokół nr 14/P.")},
                    {extinguishers.addYears(1).addDays(-3),
                     QStringLiteral("Przegląd wykonany; wymieniono jedną gaśnicę w kuchni.")}});
    ++written;
    // Every half year; the last occurrence ten days ago is not done.
    const QDate water = today.addDays(-10).addMonths(-12);
    insertDeadline(db, QVariant(), QStringLiteral("Badanie jakości wody – sanepid"), water, 6, QStringLiteral("M"), 7,
                   {{water.addDays(1), QStringLiteral("Próbki pobrane, wynik prawidłowy.")},
                    {water.addMonths(6).addDays(2), QStringLiteral("Próbki pobrane, wynik prawidłowy.")}});
    ++written;
    // Every quarter, always on time.
    const QDate pests = today.addDays(-20).addMonths(-6);
    insertDeadline(db, QVariant(), QStringLiteral("Dezynsekcja i deratyzacja kuchni"), pests, 3, QStringLiteral("M"),
                   10,
                   {{pests.addDays(1), QStringLiteral("Wykonała firma DDD Serwis, protokół w segregatorze BHP.")},
                    {pests.addMonths(3).addDays(-2), QStringLiteral("Wykonała firma DDD Serwis.")},
                    {pests.addMonths(6).addDays(-1), QStringLiteral("Wykonała firma DDD Serwis.")}});
    ++written;
    // Every Monday of the school year, the last eight weeks recorded.
    QDate monday = schoolYear.addDays((8 - schoolYear.dayOfWeek()) % 7);
    QList<Execution> checks;
    for (QDate d = monday; d < today; d = d.addDays(7))
        if (d.daysTo(today) <= 56)
            checks << Execution{d, QStringLiteral("Plac sprawdzony, usterek brak.")};
    if (!checks.isEmpty())
        checks.last().text = QStringLiteral("Poluzowana deska huśtawki – dokręcona przez konserwatora.");
    insertDeadline(db, QVariant(), QStringLiteral("Kontrola placu zabaw"), monday, 1, QStringLiteral("E"), 2, checks);
    ++written;
    // Every month on the 10th, reported two days ahead.
    const QDate reportBase(schoolYear.year(), schoolYear.month(), 10);
    QList<Execution> reports;
    for (QDate d = reportBase; d < today; d = d.addMonths(1))
        reports << Execution{d.addDays(-2), QStringLiteral("Zestawienie odpłatności wysłane do organu prowadzącego.")};
    insertDeadline(db, QVariant(), QStringLiteral("Zestawienie odpłatności dla organu prowadzącego"), reportBase, 1,
                   QStringLiteral("M"), 5, reports);
    ++written;
    // One child's yearly opinion of the counselling centre.
    if (!children.isEmpty()) {
        const QDate opinion = today.addDays(20).addYears(-1);
        insertDeadline(db, children[children.size() / 2].kod,
                       QStringLiteral("Aktualna opinia poradni psychologiczno-pedagogicznej"), opinion, 1,
                       QStringLiteral("R"), 30,
                       {{opinion.addDays(-5), QStringLiteral("Rodzice dostarczyli opinię; kopia w teczce dziecka.")}});
        ++written;
    }
    return written;
}

}  // namespace demo
