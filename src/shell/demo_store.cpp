#include "demo_store.h"

#include "attendance/free_days.h"
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
#include <QSet>
#include <QTextStream>
#include <QTime>

#include <cmath>
#include <random>

namespace demo {

namespace {

using Row = QList<QPair<QString, QVariant>>;

// The engines' own distributions differ between libraries; the generator's
// output does not, so the store comes out the same everywhere.
class Dice {
public:
    explicit Dice(quint32 seed) : m_engine(seed) {}
    int between(int lo, int hi) { return lo + int(m_engine() % quint32(hi - lo + 1)); }
    bool percent(int p) { return between(0, 99) < p; }
    template <class T> const T& pick(const QList<T>& list) { return list[between(0, int(list.size()) - 1)]; }

private:
    std::mt19937 m_engine;
};

const QList<QString> surnames = {
    QStringLiteral("Nowak"), QStringLiteral("Kowalski"), QStringLiteral("Wiśniewski"), QStringLiteral("Wójcik"),
    QStringLiteral("Kowalczyk"), QStringLiteral("Kamiński"), QStringLiteral("Lewandowski"),
    QStringLiteral("Zieliński"), QStringLiteral("Szymański"), QStringLiteral("Woźniak"),
    QStringLiteral("Dąbrowski"), QStringLiteral("Kozłowski"), QStringLiteral("Jankowski"), QStringLiteral("Mazur"),
    QStringLiteral("Wojciechowski"), QStringLiteral("Kwiatkowski"), QStringLiteral("Krawczyk"),
    QStringLiteral("Kaczmarek"), QStringLiteral("Piotrowski"), QStringLiteral("Grabowski"), QStringLiteral("Zając"),
    QStringLiteral("Pawłowski"), QStringLiteral("Michalski"), QStringLiteral("Król"), QStringLiteral("Wieczorek"),
    QStringLiteral("Jabłoński"), QStringLiteral("Wróbel"), QStringLiteral("Nowakowski"), QStringLiteral("Majewski"),
    QStringLiteral("Olszewski"), QStringLiteral("Stępień"), QStringLiteral("Malinowski"), QStringLiteral("Jaworski"),
    QStringLiteral("Adamczyk"), QStringLiteral("Dudek"), QStringLiteral("Nowicki"), QStringLiteral("Pawlak"),
    QStringLiteral("Górski"), QStringLiteral("Witkowski"), QStringLiteral("Walczak"), QStringLiteral("Sikora"),
    QStringLiteral("Baran"), QStringLiteral("Rutkowski"), QStringLiteral("Michalak"), QStringLiteral("Szewczyk"),
    QStringLiteral("Ostrowski"), QStringLiteral("Tomaszewski"), QStringLiteral("Pietrzak"), QStringLiteral("Marciniak"),
    QStringLiteral("Wróblewski"),
};
const QList<QString> girls = {
    QStringLiteral("Zofia"), QStringLiteral("Zuzanna"), QStringLiteral("Hanna"), QStringLiteral("Julia"),
    QStringLiteral("Maja"), QStringLiteral("Lena"), QStringLiteral("Alicja"), QStringLiteral("Oliwia"),
    QStringLiteral("Laura"), QStringLiteral("Amelia"), QStringLiteral("Pola"), QStringLiteral("Maria"),
    QStringLiteral("Emilia"), QStringLiteral("Antonina"), QStringLiteral("Natalia"), QStringLiteral("Wiktoria"),
    QStringLiteral("Helena"), QStringLiteral("Liliana"), QStringLiteral("Nadia"), QStringLiteral("Gabriela"),
};
const QList<QString> boys = {
    QStringLiteral("Antoni"), QStringLiteral("Jan"), QStringLiteral("Aleksander"), QStringLiteral("Franciszek"),
    QStringLiteral("Nikodem"), QStringLiteral("Jakub"), QStringLiteral("Leon"), QStringLiteral("Stanisław"),
    QStringLiteral("Mikołaj"), QStringLiteral("Szymon"), QStringLiteral("Filip"), QStringLiteral("Ignacy"),
    QStringLiteral("Wojciech"), QStringLiteral("Adam"), QStringLiteral("Kacper"), QStringLiteral("Tymon"),
    QStringLiteral("Michał"), QStringLiteral("Marcel"), QStringLiteral("Wiktor"), QStringLiteral("Józef"),
};
const QList<QString> mothers = {
    QStringLiteral("Anna"), QStringLiteral("Katarzyna"), QStringLiteral("Magdalena"), QStringLiteral("Agnieszka"),
    QStringLiteral("Monika"), QStringLiteral("Joanna"), QStringLiteral("Ewa"), QStringLiteral("Marta"),
    QStringLiteral("Aleksandra"), QStringLiteral("Karolina"),
};
const QList<QString> fathers = {
    QStringLiteral("Tomasz"), QStringLiteral("Piotr"), QStringLiteral("Paweł"), QStringLiteral("Marcin"),
    QStringLiteral("Krzysztof"), QStringLiteral("Michał"), QStringLiteral("Łukasz"), QStringLiteral("Andrzej"),
};
const QList<QString> streets = {
    QStringLiteral("Słoneczna"), QStringLiteral("Lipowa"), QStringLiteral("Polna"), QStringLiteral("Leśna"),
    QStringLiteral("Ogrodowa"), QStringLiteral("Kwiatowa"), QStringLiteral("Klonowa"), QStringLiteral("Brzozowa"),
    QStringLiteral("Szkolna"), QStringLiteral("Kościuszki"), QStringLiteral("Mickiewicza"),
    QStringLiteral("Kopernika"), QStringLiteral("Sienkiewicza"), QStringLiteral("Wiosenna"),
    QStringLiteral("Akacjowa"), QStringLiteral("Różana"), QStringLiteral("Parkowa"), QStringLiteral("Łąkowa"),
    QStringLiteral("Dębowa"), QStringLiteral("Jaśminowa"),
};

// Polish surnames ending in -ski, -cki, -dzki take -ska, -cka, -dzka for women.
QString feminine(const QString& surname)
{
    if (surname.endsWith(QLatin1String("ski")) || surname.endsWith(QLatin1String("cki"))
        || surname.endsWith(QLatin1String("dzki")))
        return surname.left(surname.size() - 1) + QLatin1Char('a');
    return surname;
}

// A PESEL number with a valid check digit; the tenth digit is even for girls.
QString pesel(const QDate& born, bool girl, Dice& dice)
{
    const int monthCode = born.month() + (born.year() >= 2000 ? 20 : 0);
    QString digits = QStringLiteral("%1%2%3%4")
                         .arg(born.year() % 100, 2, 10, QLatin1Char('0'))
                         .arg(monthCode, 2, 10, QLatin1Char('0'))
                         .arg(born.day(), 2, 10, QLatin1Char('0'))
                         .arg(dice.between(0, 999), 3, 10, QLatin1Char('0'));
    digits += QString::number(dice.between(0, 4) * 2 + (girl ? 0 : 1));
    static const int weights[] = {1, 3, 7, 9, 1, 3, 7, 9, 1, 3};
    int sum = 0;
    for (int i = 0; i < 10; ++i)
        sum += digits[i].digitValue() * weights[i];
    return digits + QString::number((10 - sum % 10) % 10);
}

void insert(Database& db, const QString& table, const Row& row)
{
    QStringList columns, names;
    for (qsizetype i = 0; i < row.size(); ++i) {
        columns << row[i].first;
        names << QStringLiteral(":V%1").arg(i);
    }
    Query q(db, QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)").arg(table, columns.join(QStringLiteral(", ")),
                                                                     names.join(QStringLiteral(", "))));
    for (qsizetype i = 0; i < row.size(); ++i)
        q.bind(QStringLiteral("V%1").arg(i), row[i].second);
    q.exec();
}

// The key the store gave the row just inserted into a table numbered by it.
int lastKey(Database& db, const QString& table, const QString& key)
{
    return Query(db, QStringLiteral("SELECT MAX(%1) FROM %2").arg(key, table)).scalar().toInt();
}

int insertKeyed(Database& db, const QString& table, const Row& row, const QString& key = QStringLiteral("KOD"))
{
    insert(db, table, row);
    return lastKey(db, table, key);
}

int count(Database& db, const QString& sql)
{
    return Query(db, sql).scalar().toInt();
}

QTime at(int hour, int minute)
{
    return QTime(hour, minute);
}

struct Child {
    int kod = 0;
    QDate admitted;
    QTime arrival;
    QTime departure;
};

struct Catalogue {
    int stay = 0;
    int meals = 0;
    int rhythmics = 0;
    int rhythmicsClass = 0;
    int stayDeclared = 0, staySettled = 0;
    int mealsPlanned = 0, mealsEaten = 0;
    int classesPlanned = 0, classesAttended = 0;
};

Catalogue fillCatalogue(Database& db, const QDate& since, const QDate& priceChange)
{
    Catalogue c;
    for (const char* unit : {"godz.", "dzień", "zaj."})
        insert(db, QStringLiteral("JEDNOST"), {{QStringLiteral("JM"), QString::fromUtf8(unit)}});
    const int exempt = insertKeyed(db, QStringLiteral("STAVAT"),
                                   {{QStringLiteral("NAZWA"), QStringLiteral("zw.")}, {QStringLiteral("VAT"), 0.0},
                                    {QStringLiteral("KOLEJ"), 1}});
    const int reduced = insertKeyed(db, QStringLiteral("STAVAT"),
                                    {{QStringLiteral("NAZWA"), QStringLiteral("8%")}, {QStringLiteral("VAT"), 8.0},
                                     {QStringLiteral("KOLEJ"), 2}});
    const int standard = insertKeyed(db, QStringLiteral("STAVAT"),
                                     {{QStringLiteral("NAZWA"), QStringLiteral("23%")},
                                      {QStringLiteral("VAT"), 23.0}, {QStringLiteral("KOLEJ"), 3}});
    const int basic = insertKeyed(db, QStringLiteral("GRUPYOP"),
                                  {{QStringLiteral("NAZWA"), QStringLiteral("Opłaty podstawowe")},
                                   {QStringLiteral("KOLEJ"), 1}});
    const int extra = insertKeyed(db, QStringLiteral("GRUPYOP"),
                                  {{QStringLiteral("NAZWA"), QStringLiteral("Zajęcia dodatkowe")},
                                   {QStringLiteral("KOLEJ"), 2}});
    auto component = [&](const QString& name, int group, int order) {
        return insertKeyed(db, QStringLiteral("MEDIA"),
                           {{QStringLiteral("NAZWA"), name}, {QStringLiteral("GRUPAOP"), group},
                            {QStringLiteral("KOLEJ"), order}});
    };
    c.stay = component(QStringLiteral("Pobyt ponad czas bezpłatny"), basic, 1);
    c.meals = component(QStringLiteral("Wyżywienie"), basic, 2);
    c.rhythmics = component(QStringLiteral("Rytmika"), extra, 3);

    auto price = [&](int medium, const QDate& from, const QDate& to, double amount, const QString& unit, int vat) {
        insert(db, QStringLiteral("TARMED"),
               {{QStringLiteral("TARYFA"), 0}, {QStringLiteral("MEDIUM"), medium}, {QStringLiteral("ODDATY"), from},
                {QStringLiteral("DODATY"), to}, {QStringLiteral("CENA"), amount}, {QStringLiteral("JM"), unit},
                {QStringLiteral("STAWKA"), vat}});
    };
    price(c.stay, since, QDate(), 1.30, QStringLiteral("godz."), exempt);
    // The meals price went up from the second month: the settlement of the
    // first month keeps the old one.
    price(c.meals, since, priceChange.addDays(-1), 9.50, QStringLiteral("dzień"), reduced);
    price(c.meals, priceChange, QDate(), 10.00, QStringLiteral("dzień"), reduced);
    price(c.rhythmics, since, QDate(), 15.00, QStringLiteral("zaj."), standard);

    c.rhythmicsClass = insertKeyed(db, QStringLiteral("ZAJDOD"),
                                   {{QStringLiteral("NAZWA"), QStringLiteral("Rytmika")},
                                    {QStringLiteral("KOLEJ"), 1}});
    insert(db, QStringLiteral("ZAJDAT"),
           {{QStringLiteral("ZAJECIE"), c.rhythmicsClass}, {QStringLiteral("ODDATY"), since},
            {QStringLiteral("DZIENTYG"), QStringLiteral("2")}, {QStringLiteral("CZASP"), at(10, 0)},
            {QStringLiteral("CZASW"), at(10, 45)}});

    auto method = [&](const QString& name, const QString& definition) {
        return insertKeyed(db, QStringLiteral("SPOSOBY"),
                           {{QStringLiteral("NAZWA"), name}, {QStringLiteral("OPIS"), definition}});
    };
    c.stayDeclared = method(QStringLiteral("Pobyt wg deklaracji"), QStringLiteral("IE"));
    c.staySettled = method(QStringLiteral("Pobyt wg obecności"), QStringLiteral("IS"));
    c.mealsPlanned = method(QStringLiteral("Posiłki w dni robocze"), QStringLiteral("ID"));
    c.mealsEaten = method(QStringLiteral("Posiłki w dni obecności"), QStringLiteral("IT"));
    const QString k = QString::number(c.rhythmicsClass);
    c.classesPlanned = method(QStringLiteral("Rytmika wg planu"), QStringLiteral("IO[%1]").arg(k));
    c.classesAttended = method(QStringLiteral("Rytmika wg obecności"), QStringLiteral("IQ[%1]").arg(k));

    // The free five hours of the day, for every child.
    insert(db, QStringLiteral("CZASBEZP"),
           {{QStringLiteral("ODDATY"), since.addYears(-1)}, {QStringLiteral("CZASP"), at(8, 0)},
            {QStringLiteral("CZASW"), at(13, 0)}});
    return c;
}

struct Group {
    const char* name;
    int age;
};

QList<Child> fillChildren(Database& db, Dice& dice, const Catalogue& c, const QDate& since, const QDate& newcomer,
                          int perGroup, int& groups)
{
    static const Group groupList[] = {{"Biedronki", 3}, {"Motylki", 4}, {"Sówki", 5}};
    static const QList<QTime> arrivals = {at(7, 0), at(7, 15), at(7, 30), at(7, 45), at(8, 0), at(8, 30)};
    static const QList<QTime> departures = {at(14, 0), at(14, 30), at(15, 0), at(15, 30),
                                            at(16, 0), at(16, 30), at(17, 0)};
    QList<Child> children;
    QSet<QString> names;
    int order = 0;
    for (const Group& g : groupList) {
        const int group = insertKeyed(db, QStringLiteral("KLASY"),
                                      {{QStringLiteral("NAZWA"), QString::fromUtf8(g.name)},
                                       {QStringLiteral("KOLEJ"), ++order}});
        ++groups;
        for (int i = 0; i < perGroup; ++i) {
            const bool girl = dice.percent(50);
            QString surname, name;
            for (int attempt = 0; attempt < 50 && (name.isEmpty() || names.contains(name)); ++attempt) {
                surname = dice.pick(surnames);
                name = (girl ? feminine(surname) : surname) + QLatin1Char(' ') + dice.pick(girl ? girls : boys);
            }
            if (names.contains(name))
                name += QLatin1Char(' ') + dice.pick(girl ? girls : boys);
            names.insert(name);

            const QDate born(since.year() - g.age, dice.between(1, 12), dice.between(1, 28));
            const QString street = QStringLiteral("%1 %2").arg(dice.pick(streets)).arg(dice.between(1, 120))
                                 + (dice.percent(40) ? QStringLiteral("/%1").arg(dice.between(1, 40)) : QString());
            const QString postCode = QStringLiteral("02-%1").arg(dice.between(1, 999), 3, 10, QLatin1Char('0'));
            const bool mother = dice.percent(70);
            const QString parent = (mother ? feminine(surname) : surname) + QLatin1Char(' ')
                                 + dice.pick(mother ? mothers : fathers);
            const QString phone = QStringLiteral("%1 %2 %3")
                                      .arg(dice.between(500, 799))
                                      .arg(dice.between(100, 999))
                                      .arg(dice.between(100, 999));
            Child child;
            // The last child of the first group joins during the second month.
            child.admitted = order == 1 && i == perGroup - 1 ? newcomer : since;
            child.arrival = dice.pick(arrivals);
            child.departure = dice.pick(departures);
            child.kod = insertKeyed(
                db, QStringLiteral("DZIECI"),
                {{QStringLiteral("NAZWA"), name},
                 {QStringLiteral("PRZEDUL"), QStringLiteral("ul.")},
                 {QStringLiteral("ULICA"), street},
                 {QStringLiteral("KODPOCZ"), postCode},
                 {QStringLiteral("MIASTO"), QStringLiteral("Warszawa")},
                 {QStringLiteral("PESEL"), pesel(born, girl, dice)},
                 {QStringLiteral("DATAUR"), born},
                 {QStringLiteral("KLASA"), group},
                 {QStringLiteral("NAZWAKOR"), parent},
                 {QStringLiteral("PRZEDULKOR"), QStringLiteral("ul.")},
                 {QStringLiteral("ULICAKOR"), street},
                 {QStringLiteral("KODPOCZKOR"), postCode},
                 {QStringLiteral("MIASTOKOR"), QStringLiteral("Warszawa")},
                 {QStringLiteral("TELEFON"), phone},
                 {QStringLiteral("EMAIL"),
                  QStringLiteral("rodzic%1@example.com").arg(children.size() + 1)},
                 {QStringLiteral("STATUS"), 0},
                 {QStringLiteral("AKTYWNY"), QStringLiteral("T")}});
            insert(db, QStringLiteral("DZIECZAS"),
                   {{QStringLiteral("OSOBA"), child.kod}, {QStringLiteral("ODDATY"), child.admitted},
                    {QStringLiteral("CZASP"), child.arrival}, {QStringLiteral("CZASW"), child.departure}});
            auto enrol = [&](int medium, int method, int settlement, double helpShare) {
                insert(db, QStringLiteral("DZIEMED"),
                       {{QStringLiteral("OSOBA"), child.kod}, {QStringLiteral("MEDIUM"), medium},
                        {QStringLiteral("ODDATY"), child.admitted}, {QStringLiteral("SPOSOB"), method},
                        {QStringLiteral("SPOROZ"), settlement},
                        {QStringLiteral("PROCOPIE"), helpShare > 0 ? QVariant(helpShare) : QVariant()}});
            };
            enrol(c.stay, c.stayDeclared, c.staySettled, 0);
            // The help centre pays half of the meals of every twentieth child.
            enrol(c.meals, c.mealsPlanned, c.mealsEaten, children.size() % 20 == 7 ? 50.0 : 0);
            if (g.age >= 4 && dice.percent(50)) {
                enrol(c.rhythmics, c.classesPlanned, c.classesAttended, 0);
                insert(db, QStringLiteral("DZIEZAJ"),
                       {{QStringLiteral("OSOBA"), child.kod}, {QStringLiteral("ZAJECIE"), c.rhythmicsClass},
                        {QStringLiteral("ODDATY"), child.admitted}});
            }
            children << child;
        }
    }
    return children;
}

int fillAttendance(Database& db, Dice& dice, const QList<Child>& children, const QDate& month)
{
    const attendance::FreeDays freeDays(fees::generatedFreeDays(month.year(), month.month(), false));
    int rows = 0;
    for (QDate d = month; d.month() == month.month(); d = d.addDays(1)) {
        if (!freeDays.isWorkingDay(d))
            continue;
        for (const Child& child : children) {
            if (child.admitted > d)
                continue;
            const int roll = dice.between(0, 99);
            Row row{{QStringLiteral("OSOBA"), child.kod}, {QStringLiteral("DATA"), d}};
            if (roll < 7) {
                row << qMakePair(QStringLiteral("OBECNY"), QVariant(QStringLiteral("N")));
            } else if (roll < 10) {
                row << qMakePair(QStringLiteral("OBECNY"), QVariant(QStringLiteral("Z")));
            } else {
                const QTime in = child.arrival.addSecs(60 * 5 * dice.between(-3, 4));
                QTime out = child.departure.addSecs(60 * 5 * dice.between(-6, 6));
                row << qMakePair(QStringLiteral("OBECNY"), QVariant(QStringLiteral("T")))
                    << qMakePair(QStringLiteral("CZASP"), QVariant(in))
                    << qMakePair(QStringLiteral("CZASW"), QVariant(out));
            }
            insert(db, QStringLiteral("OBECN"), row);
            ++rows;
        }
    }
    return rows;
}

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

// A few informations for parents: one addressed to the first children (some
// already read on the web, one with an attachment sent), a notice board for
// the first group.
void fillInformation(Database& db, const QList<Child>& children, int firstGroup, const QDate& day)
{
    const int notice = insertKeyed(db, QStringLiteral("INFORM"),
                                   {{QStringLiteral("DATA"), day},
                                    {QStringLiteral("OPIS"), QStringLiteral("Wycieczka do teatru")},
                                    {QStringLiteral("TEKST"), QStringLiteral("W piątek jedziemy do teatru lalek. "
                                                                             "Prosimy o zgody rodziców.")},
                                    {QStringLiteral("TYP"), QStringLiteral("I")}});
    for (int i = 0; i < children.size() && i < 6; ++i)
        insert(db, QStringLiteral("DZIEINF"),
               {{QStringLiteral("INFORM"), notice},
                {QStringLiteral("OSOBA"), children[i].kod},
                {QStringLiteral("DATAOTW"), i < 2 ? QVariant(QDateTime(day.addDays(1), QTime(19, 30 + i))) : QVariant()}});
    insert(db, QStringLiteral("LINKI"),
           {{QStringLiteral("INFORM"), notice},
            {QStringLiteral("PLIK"), QStringLiteral("zgoda_na_wycieczke.pdf")},
            {QStringLiteral("LINK"), QStringLiteral("https://example.com/pliki/1.pdf")}});
    insert(db, QStringLiteral("INFORM"),
           {{QStringLiteral("KLASA"), firstGroup},
            {QStringLiteral("DATA"), day},
            {QStringLiteral("OPIS"), QStringLiteral("Plan zajęć na grudzień")},
            {QStringLiteral("TEKST"), QStringLiteral("Rytmika we wtorki, basen w czwartki.")},
            {QStringLiteral("TYP"), QStringLiteral("G")}});
}

DemoSummary fill(const StoreLocation& location, const DemoOptions& options)
{
    Dice dice(options.seed);
    DemoSummary summary;
    const QDate thisMonth(options.today.year(), options.today.month(), 1);
    summary.firstMonth = thisMonth.addMonths(-2);
    summary.secondMonth = thisMonth.addMonths(-1);
    const QDate since(summary.firstMonth.month() >= 9 ? summary.firstMonth.year() : summary.firstMonth.year() - 1,
                      9, 1);
    const QDate newcomer = summary.secondMonth.addDays(9);

    QList<Child> children;
    int firstKod = 0, secondKod = 0;
    {
        Database db(location);
        db.setCredentials({rights::masterCredential()});
        db.open();
        db.batch([&] {
            printouts::addDeliveredTemplates(db);
            const Catalogue catalogue = fillCatalogue(db, since, summary.secondMonth);
            children = fillChildren(db, dice, catalogue, since, newcomer, options.childrenPerGroup, summary.groups);
            summary.children = int(children.size());
            fillInformation(db, children,
                            Query(db, QStringLiteral("SELECT MIN(KOD) FROM KLASY WHERE KOD > 0")).scalar().toInt(),
                            summary.secondMonth.addDays(3));
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
            for (const QDate& month : {summary.firstMonth, summary.secondMonth}) {
                const int kod = insertKeyed(
                    db, QStringLiteral("MIESIACE"),
                    {{QStringLiteral("ROK"), month.year()}, {QStringLiteral("MIES"), month.month()},
                     {QStringLiteral("DNIWOLNE"), fees::generatedFreeDays(month.year(), month.month(), false)}});
                (month == summary.firstMonth ? firstKod : secondKod) = kod;
                summary.attendanceRows += fillAttendance(db, dice, children, month);
            }
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
