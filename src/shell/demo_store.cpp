#include "demo_store.h"

#include "demo_attendance.h"
#include "demo_catalogue.h"
#include "demo_children.h"
#include "demo_extra_charges.h"
#include "demo_follow_up.h"
#include "demo_id_card.h"
#include "demo_parents.h"
#include "demo_rows.h"

#include "browser/area_registry.h"
#include "browser/message_log.h"
#include "browser/run_context.h"
#include "browser/window_opener.h"
#include "fees/charge_run.h"
#include "fees/settlement_months.h"
#include "printouts/delivered_templates.h"
#include "shell/option_prompts.h"
#include "shell/tdm_ochrona.h"
#include "store/database.h"
#include "store/error.h"
#include "store/money.h"
#include "store/query.h"
#include "store/rights.h"
#include "store/store_creator.h"
#include "store/tdm_baza.h"

#include <QFile>
#include <QTextStream>

#include <cmath>

namespace demo {

namespace {

// The months are computed and approved the way the window does it: through
// the charge run, every prompt answered as offered.
class NoWindows : public WindowOpener {
public:
    void browse(TDMDane&, DataSet&, const QString& title, Command*) override
    {
        throw Error(QStringLiteral("Nie można otworzyć okna: %1").arg(title));
    }
    bool closeOwnedBy(Command*) override { return false; }
};

void runMonth(RunContext& context, fees::ChargeOperation operation, const QDate& month, DemoSummary& summary)
{
    const fees::ChargeRunResult result =
        fees::runCharges(context, operation, month.year(), month.month(), fees::ChargeChildren::byGroups());
    if (!result.completed)
        throw Error(result.stopError.isEmpty() ? QStringLiteral("Naliczanie opłat przerwane") : result.stopError);
    for (const QString& e : result.errors)
        if (!summary.errors.contains(e))
            summary.errors << e;
    for (const QString& r : result.remarks)
        if (!summary.remarks.contains(r))
            summary.remarks << r;
}

void fillPayments(Database& db, Dice& dice, int approvedMonthKod, const QDate& paidIn, int paidInKod,
                  DemoSummary& summary)
{
    Query q(db, QStringLiteral("SELECT OSOBA, SUM(WARTOSC) FROM NALICZ WHERE KOD = :K AND TYP = '1' "
                               "GROUP BY OSOBA ORDER BY OSOBA"));
    q.bind(QStringLiteral("K"), approvedMonthKod).exec();
    QList<QPair<int, double>> due;
    while (q.next())
        due << qMakePair(q.value(0).toInt(), q.value(1).toDouble());
    for (const auto& [child, amount] : due) {
        const int roll = dice.between(0, 99);
        double paid = money::round(amount);
        if (roll >= 90)
            continue;  // not paid yet: arrears on the statements
        if (roll >= 82)
            paid = std::max(0.0, std::floor(amount / 50.0) * 50.0);  // a round sum on account
        if (paid <= 0)
            continue;
        insert(db, QStringLiteral("WPLATY"),
               {{QStringLiteral("KOD"), paidInKod},
                {QStringLiteral("DATA"), paidIn.addDays(dice.between(2, 14))},
                {QStringLiteral("OSOBA"), child},
                {QStringLiteral("WARTOSC"), paid},
                {QStringLiteral("OPIS"), dice.percent(80) ? QStringLiteral("Przelew") : QStringLiteral("Gotówka")}});
        ++summary.payments;
    }
}

DemoSummary fill(const StoreLocation& location, const DemoOptions& options)
{
    Dice dice(options.seed);
    DemoSummary summary;
    Months months;
    months.today = options.today;
    months.current = QDate(options.today.year(), options.today.month(), 1);
    months.first = summary.firstMonth = months.current.addMonths(-2);
    months.second = summary.secondMonth = months.current.addMonths(-1);
    const QDate since(months.first.month() >= 9 ? months.first.year() : months.first.year() - 1, 9, 1);
    const QDate newcomer = months.second.addDays(9);

    QList<Child> children;
    int firstKod = 0, secondKod = 0;
    {
        Database db(location);
        db.setCredentials({rights::masterCredential()});
        db.open();
        db.batch([&] {
            printouts::addDeliveredTemplates(db);
            addIdCardTemplate(db);
            const Catalogue catalogue = fillCatalogue(db, since, months.second);
            children = fillChildren(db, dice, catalogue, since, newcomer, options.childrenPerGroup, summary.groups);
            summary.children = int(children.size());
            QList<int> groups;
            Query groupCodes(db, QStringLiteral("SELECT KOD FROM KLASY WHERE KOD > 0 ORDER BY KOLEJ"));
            groupCodes.exec();
            while (groupCodes.next())
                groups << groupCodes.value(0).toInt();
            const int centre = insertKeyed(db, QStringLiteral("DZIECI"),
                                           {{QStringLiteral("NAZWA"), QStringLiteral("Miejski Ośrodek Pomocy Społecznej")},
                                            {QStringLiteral("PRZEDUL"), QStringLiteral("ul.")},
                                            {QStringLiteral("ULICA"), QStringLiteral("Ratuszowa 5")},
                                            {QStringLiteral("KODPOCZ"), QStringLiteral("02-100")},
                                            {QStringLiteral("MIASTO"), QStringLiteral("Warszawa")},
                                            {QStringLiteral("KLASA"), 0},
                                            {QStringLiteral("STATUS"), 0},
                                            {QStringLiteral("AKTYWNY"), QStringLiteral("N")}});
            Query(db, QStringLiteral("UPDATE OPCJE SET PARAMS = :P, OPIE = :O"))
                .bind(QStringLiteral("P"), QStringLiteral("[PARAMETRY]\r\n"
                                                          "SPOSOBY JEDNOLITE=N\r\n"
                                                          "FAKTURY TYTULEM=Opłata za przedszkole\r\n"
                                                          "FAKTURY FORMAT=/mm/rrrr\r\n"))
                .bind(QStringLiteral("O"), centre)
                .exec();
            // The two settled months in full, the current one until yesterday.
            Attendance days;
            for (const QDate& month : {months.first, months.second, months.current}) {
                const int kod = insertKeyed(
                    db, QStringLiteral("MIESIACE"),
                    {{QStringLiteral("ROK"), month.year()}, {QStringLiteral("MIES"), month.month()},
                     {QStringLiteral("DNIWOLNE"), fees::generatedFreeDays(month.year(), month.month(), false)}});
                if (month == months.first)
                    firstKod = kod;
                else if (month == months.second)
                    secondKod = kod;
                summary.attendanceRows += fillAttendance(db, dice, children, month, months.today, days);
            }
            summary.heldClasses =
                fillHeldClasses(db, catalogue.rhythmicsClass, children, days, months.first, months.today);
            fillInformation(db, children, groups, months);
            summary.meals = fillMeals(db, months.current);
            summary.webLogins = fillWebLogins(db, dice, children, months.today);
            summary.requests = fillRequests(db, children, months);
            summary.deadlines = fillDeadlines(db, children, months.today, since);
            summary.extraCharges = fillExtraCharges(db, dice, children, groups, months.today, since);
        });
    }

    {
        TDMBaza baza(location);
        baza.setSystemDate(options.today);
        TDMOchrona security(baza.database());
        if (!security.login(store::adminLogin(), store::adminPassword()))
            throw Error(QStringLiteral("Autoryzacja negatywna"));
        QString shown;
        QTextStream out(&shown), err(&shown);
        OptionPrompts prompts(out, err);
        prompts.answerChecks(QStringLiteral("Wybierz składniki opłat"), std::nullopt, QStringLiteral("--components"));
        prompts.answerChecks(QStringLiteral("Wybierz grupy"), std::nullopt, QStringLiteral("--groups"));
        prompts.answerChoice(QStringLiteral("Naliczanie, rozliczanie"), -1);
        prompts.answerDate(QStringLiteral("Zatwierdzanie opłat"), QStringLiteral("Wybierz datę wystawienia"),
                           std::nullopt, QStringLiteral("--issue-date"));
        prompts.answerDate(QStringLiteral("Zatwierdzanie opłat"), QStringLiteral("Wybierz termin płatności"),
                           std::nullopt, QStringLiteral("--due-date"));
        prompts.answerText(QStringLiteral("Zatwierdzanie opłat"), QStringLiteral("Wybierz opis faktur"),
                           std::nullopt, QStringLiteral("--title"));
        NoWindows opener;
        AreaRegistry areas;
        MessageLog messages;
        RunContext context{baza, prompts, opener, areas, security.current(), Parameters{}, Institution{},
                           RunSettings{}, &messages};
        context.params.load(baza.database());
        context.institution = Institution::read(baza.database());
        runMonth(context, fees::ChargeOperation::Compute, summary.firstMonth, summary);
        runMonth(context, fees::ChargeOperation::Approve, summary.firstMonth, summary);
        Database& db = baza.database();
        db.batch([&] { fillPayments(db, dice, firstKod, summary.secondMonth, secondKod, summary); });
        runMonth(context, fees::ChargeOperation::Compute, summary.secondMonth, summary);
        summary.chargeLines = count(db, QStringLiteral("SELECT COUNT(*) FROM NALICZ"));
        summary.invoices = count(db, QStringLiteral("SELECT COUNT(*) FROM FAKT"));
    }
    return summary;
}

void removeSqliteStore(const StoreLocation& location)
{
    if (location.engine != Engine::SQLite)
        return;
    for (const char* suffix : {"", "-wal", "-shm"})
        QFile::remove(location.sqliteFile() + QString::fromLatin1(suffix));
}

}  // namespace

DemoSummary createDemoStore(const StoreLocation& location, const DemoOptions& options)
{
    InstitutionData institution;
    institution.name = institutionName();
    institution.address = QStringLiteral("ul. Słoneczna 1, 00-001 Warszawa");
    institution.clientNumber = 57;
    institution.nip = QStringLiteral("123-456-32-18");
    store::create(location, institution);
    try {
        return fill(location, options);
    } catch (...) {
        removeSqliteStore(location);
        throw;
    }
}

}  // namespace demo
