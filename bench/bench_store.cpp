#include "bench_store.h"

#include "browser/run_context.h"
#include "browser/window_opener.h"
#include "store/error.h"
#include "store/query.h"
#include "store/rights.h"
#include "store/store_creator.h"

#include <QTime>
#include <QUuid>

#include <map>
#include <stdexcept>

namespace bench {

namespace {

class NoWindows : public WindowOpener {
public:
    void browse(TDMDane&, DataSet&, const QString&, Command*) override {}
    bool closeOwnedBy(Command*) override { return false; }
};

const QString febFree = QStringLiteral("3,4,10,11,17,18,24,25");
const QString marFree = QStringLiteral("2,3,9,10,16,17,23,24,30,31");

std::string iso(QDate d)
{
    return d.toString(Qt::ISODate).toStdString();
}

std::string hhmm(QTime t)
{
    return t.toString(QStringLiteral("HH:mm")).toStdString();
}

std::map<std::string, std::unique_ptr<BenchStore>>& stores()
{
    static std::map<std::string, std::unique_ptr<BenchStore>> s;
    return s;
}

}  // namespace

QString pgServer()
{
    return qEnvironmentVariable("LUNAWA_BENCH_PG");
}

const char* engineName(Engine engine)
{
    return engine == Engine::SQLite ? "sqlite" : "pg";
}

DayOfAttendance attendanceOf(int child, QDate day)
{
    const int v = (child + day.day()) % 10;
    return {v != 0, QTime(7, 10 + v * 3), QTime(15, 5 + v * 4)};
}

BenchStore::BenchStore(const StoreShape& shape) : m_shape(shape)
{
    create();
    m_baza = std::make_unique<TDMBaza>(m_location);
    db().setCredentials({rights::masterCredential()});
    fill();
}

BenchStore::~BenchStore()
{
    m_context.reset();
    m_native.reset();
    m_baza.reset();
    if (!m_pgDatabase.empty()) {
        try {
            native::pgAdmin(m_adminInfo, "DROP DATABASE IF EXISTS " + m_pgDatabase + " WITH (FORCE)");
        } catch (const std::exception&) {
        }
    }
}

void BenchStore::create()
{
    if (m_shape.engine == Engine::SQLite) {
        m_location = StoreLocation::parse(m_dir.path() + QStringLiteral("/Baza"));
    } else {
        const StoreLocation server = StoreLocation::parse(pgServer());
        m_adminInfo = native::pgConnInfo(server);
        m_pgDatabase = "lwbench_" + QUuid::createUuid().toString(QUuid::Id128).left(12).toStdString();
        native::pgAdmin(m_adminInfo, "CREATE DATABASE " + m_pgDatabase);
        m_location = server;
        m_location.database = QString::fromStdString(m_pgDatabase);
    }
    InstitutionData firm;
    firm.name = QStringLiteral("Przedszkole Słoneczko");
    firm.address = QStringLiteral("ul. Leśna 2, 00-001 Warszawa");
    firm.clientNumber = 57;
    store::create(m_location, firm);
}

native::Connection& BenchStore::native()
{
    if (!m_native)
        m_native = std::make_unique<native::Connection>(m_location);
    return *m_native;
}

int BenchStore::monthCode(int year, int month)
{
    return Query(db(), QStringLiteral("SELECT KOD FROM MIESIACE WHERE ROK = :R AND MIES = :M"))
        .bind(QStringLiteral("R"), year)
        .bind(QStringLiteral("M"), month)
        .scalar()
        .toInt();
}

RunContext& BenchStore::context()
{
    if (m_context)
        return *m_context;
    m_prompts = std::make_unique<OptionPrompts>(m_outStream, m_errStream);
    m_opener = std::make_unique<NoWindows>();
    m_context = std::make_unique<RunContext>(RunContext{*m_baza, *m_prompts, *m_opener, m_areas, CurrentLogin{},
                                                        Parameters{}, Institution{}, RunSettings{}, nullptr});
    m_context->login.userCode = -1;
    m_context->login.visibleGroups = {QStringLiteral("-1")};
    m_context->params.sposobyJednolite = false;
    m_context->params.fakturyTytulem = QStringLiteral("Opłata za przedszkole");
    OptionPrompts& p = *m_prompts;
    p.answerChecks(QStringLiteral("Wybierz składniki opłat"), std::nullopt, QStringLiteral("--components"));
    p.answerChoice(QStringLiteral("Naliczanie, rozliczanie"), -1);
    p.answerChecks(QStringLiteral("Wybierz grupy"), std::nullopt, QStringLiteral("--groups"));
    p.answerDate(QStringLiteral("Zatwierdzanie opłat"), QStringLiteral("Wybierz datę wystawienia"), std::nullopt,
                 QStringLiteral("--issue-date"));
    p.answerDate(QStringLiteral("Zatwierdzanie opłat"), QStringLiteral("Wybierz termin płatności"), std::nullopt,
                 QStringLiteral("--due-date"));
    p.answerText(QStringLiteral("Zatwierdzanie opłat"), QStringLiteral("Wybierz opis faktur"), std::nullopt,
                 QStringLiteral("--title"));
    return *m_context;
}

void BenchStore::fill()
{
    const StoreShape& s = m_shape;
    Database& d = db();
    auto sql = [&](const QString& text) { Query(d, text).exec(); };
    // The catalogues, few rows, through the program.
    d.batch([&] {
        Query group(d, QStringLiteral("INSERT INTO KLASY (NAZWA, KOLEJ) VALUES (:N, :K)"));
        for (int g = 1; g <= s.groups; ++g)
            group.bind(QStringLiteral("N"), QStringLiteral("Grupa %1").arg(g)).bind(QStringLiteral("K"), g).exec();
        sql(QStringLiteral("INSERT INTO CZASBEZP (ODDATY, CZASP, CZASW) VALUES ('2021-09-01', '08:00', '13:00')"));
        sql(QStringLiteral("INSERT INTO CZASGRAN (ODDATY, CZASPD, CZASPG, CZASWD, CZASWG) VALUES "
                           "('2021-09-01', '06:30', '09:00', '13:00', '17:00')"));
        if (s.months) {
            Query month(d, QStringLiteral("INSERT INTO MIESIACE (ROK, MIES, DNIWOLNE) VALUES (2024, :M, :D)"));
            month.bind(QStringLiteral("M"), 2).bind(QStringLiteral("D"), febFree).exec();
            month.bind(QStringLiteral("M"), 3).bind(QStringLiteral("D"), marFree).exec();
        }
        if (s.components) {
            sql(QStringLiteral("INSERT INTO STAVAT (NAZWA, VAT) VALUES ('8%', 8)"));
            // Stay by declared hours, meals by days present, a flat fee, an
            // extra class by days, hours beyond the declared time, care by working days.
            static const char* methods[6][2] = {{"IE*0,5", "IF*0,5"}, {"ID", "IT"},       {"1", ""},
                                                {"IC/4", "IT/4"},     {"IS-IF", "IS-IF"}, {"ID*2", "IT*2"}};
            Query method(d, QStringLiteral("INSERT INTO SPOSOBY (NAZWA, OPIS) VALUES (:N, :O)"));
            Query component(d, QStringLiteral("INSERT INTO MEDIA (NAZWA, KOLEJ) VALUES (:N, :K)"));
            Query price(d, QStringLiteral("INSERT INTO TARMED (TARYFA, MEDIUM, ODDATY, CENA, JM, STAWKA) "
                                          "VALUES (0, :M, '2021-09-01', :C, 'szt', 1)"));
            for (int k = 1; k <= s.components; ++k) {
                component.bind(QStringLiteral("N"), QStringLiteral("Składnik %1").arg(k)).bind(QStringLiteral("K"), k).exec();
                for (int m = 0; m < 2; ++m)
                    method.bind(QStringLiteral("N"), QStringLiteral("Sposób %1/%2").arg(k).arg(m))
                        .bind(QStringLiteral("O"), QString::fromLatin1(methods[(k - 1) % 6][m]))
                        .exec();
                price.bind(QStringLiteral("M"), k).bind(QStringLiteral("C"), 1.5 * k).exec();
            }
        }
        if (s.helpCentre)
            sql(QStringLiteral("UPDATE OPCJE SET OPIE = %1").arg(s.children + 1));
        if (s.extraClasses) {
            sql(QStringLiteral("INSERT INTO ZAJDOD (KOD, NAZWA, KOLEJ) VALUES (1, 'Rytmika', 1), (2, 'Angielski', 2)"));
            sql(QStringLiteral("INSERT INTO ZAJDAT (ZAJECIE, DZIENTYG, ODDATY, CZASP, CZASW) VALUES "
                               "(1, '1', '2021-09-01', '14:00', '14:45'), (1, '3', '2021-09-01', '14:00', '14:45'), "
                               "(2, '2', '2021-09-01', '15:00', '16:00')"));
        }
    });

    // The rows per child, in bulk past the program.
    native::Connection& n = native();
    using native::Row;
    using LL = long long;
    const std::string since = iso(QDate(2021, 9, 1));
    n.begin();
    {
        std::vector<Row> rows;
        for (int c = 1; c <= s.children; ++c)
            rows.push_back({LL(c), QStringLiteral("Żółtowska Łucja %1").arg(c).toStdString(), std::string("ul."),
                            QStringLiteral("Polna %1").arg(c).toStdString(), std::string("00-950"), std::string("Warszawa"),
                            LL(s.groups ? 1 + c % s.groups : 0), std::string("T")});
        if (s.helpCentre)
            rows.push_back({LL(s.children + 1), std::string("Ośrodek pomocy"), std::string("ul."), std::string("Długa 1"),
                            std::string("00-950"), std::string("Warszawa"), std::monostate{}, std::string("T")});
        n.copyRows("DZIECI", {"KOD", "NAZWA", "PRZEDUL", "ULICA", "KODPOCZ", "MIASTO", "KLASA", "AKTYWNY"}, rows);
    }
    if (s.declaredTimes) {
        std::vector<Row> rows;
        const std::string from = s.attendanceFrom.isValid() ? iso(s.attendanceFrom) : since;
        for (int c = 1; c <= s.children; ++c) {
            rows.push_back({LL(c), from, std::string("07:30"), std::string("15:30")});
            rows.push_back({LL(c), std::string("2024-03-11"), std::string("07:30"), std::string("16:00")});
        }
        n.copyRows("DZIECZAS", {"OSOBA", "ODDATY", "CZASP", "CZASW"}, rows);
    }
    if (s.components) {
        std::vector<Row> assigned;
        std::vector<Row> approved;
        const LL february = s.months ? LL(monthCode(2024, 2)) : 0;
        for (int c = 1; c <= s.children; ++c)
            for (int k = 1; k <= s.components; ++k) {
                assigned.push_back({LL(c), LL(k), since, LL(2 * k - 1), LL(2 * k), c % 10 == 0 && k == 2 ? 50.0 : 0.0});
                if (february)
                    approved.push_back({february, std::string("1"), LL(c), LL(k), 10.0, std::string("szt"), 1.5 * k,
                                        15.0 * k, std::string("N")});
            }
        n.copyRows("DZIEMED", {"OSOBA", "MEDIUM", "ODDATY", "SPOSOB", "SPOROZ", "PROCOPIE"}, assigned);
        n.copyRows("NALICZ", {"KOD", "TYP", "OSOBA", "MEDIUM", "ILOSC", "JM", "CENA", "WARTOSC", "ROZLICZ"}, approved);
    }
    if (s.extraClasses) {
        std::vector<Row> declared;
        for (int c = 1; c <= s.children; ++c)
            declared.push_back({LL(c), LL(1 + c % 2), since});
        n.copyRows("DZIEZAJ", {"OSOBA", "ZAJECIE", "ODDATY"}, declared);
        // Class 1 on Mondays and Wednesdays, class 2 on Tuesdays, each
        // attended by half the children.
        std::vector<Row> held;
        std::vector<Row> marks;
        LL id = 0;
        for (QDate d(2024, 3, 1); d <= QDate(2024, 3, 31); d = d.addDays(1)) {
            const int w = d.dayOfWeek();
            const int cls = w == 1 || w == 3 ? 1 : w == 2 ? 2 : 0;
            if (!cls)
                continue;
            ++id;
            held.push_back({LL(1), id, LL(cls), iso(d), std::string(cls == 1 ? "14:00" : "15:00"),
                            std::string(cls == 1 ? "14:45" : "16:00")});
            for (int c = 2 - cls % 2; c <= s.children; c += 2)
                marks.push_back({LL(1), id, LL(c), std::string((c + d.day()) % 7 == 0 ? "N" : "T")});
        }
        n.copyRows("ZAJODB", {"KLASA", "ID", "ZAJECIE", "DATA", "CZASP", "CZASW"}, held);
        n.copyRows("ZAJOBEC", {"KLASA", "ID", "OSOBA", "OBECNY"}, marks);
    }
    if (s.attendanceFrom.isValid()) {
        std::vector<QDate> days;
        for (QDate d = s.attendanceFrom; d <= s.attendanceTo; d = d.addDays(1))
            if (d.dayOfWeek() <= 5)
                days.push_back(d);
        std::vector<std::string> dates;
        for (const QDate d : days)
            dates.push_back(iso(d));
        std::vector<Row> rows;
        rows.reserve(size_t(s.children) * days.size());
        for (int c = 1; c <= s.children; ++c)
            for (size_t i = 0; i < days.size(); ++i) {
                const DayOfAttendance a = attendanceOf(c, days[i]);
                rows.push_back({LL(c), dates[i], std::string(a.present ? "T" : "N"), hhmm(a.arrival), hhmm(a.departure)});
            }
        n.copyRows("OBECN", {"OSOBA", "DATA", "OBECNY", "CZASP", "CZASW"}, rows);
    }
    n.commit();
    // A fill that lost rows would make every figure of the run meaningless.
    const long long attendance = s.attendanceFrom.isValid() ? n.scalar("SELECT COUNT(*) FROM OBECN") : 0;
    long long expected = 0;
    for (QDate d = s.attendanceFrom; s.attendanceFrom.isValid() && d <= s.attendanceTo; d = d.addDays(1))
        expected += d.dayOfWeek() <= 5 ? s.children : 0;
    if (n.scalar("SELECT COUNT(*) FROM DZIECI") != s.children + (s.helpCentre ? 1 : 0) || attendance != expected)
        throw std::runtime_error("the benchmark store was not filled");
    // Children came with their codes: the store's numbering goes on after them.
    if (s.engine == Engine::PostgreSQL)
        n.exec("SELECT setval(pg_get_serial_sequence('dzieci', 'kod'), (SELECT MAX(KOD) FROM DZIECI))");
    // A server gathers statistics by itself soon after a bulk load; a
    // benchmark should not depend on when that happens. SQLite stores are
    // left as the program leaves them, without statistics.
    if (s.engine == Engine::PostgreSQL)
        n.exec("ANALYZE");
}

const char* historyName(History history)
{
    return history == History::Month ? "month" : "3years";
}

BenchStore& batchStore(Engine engine, History history)
{
    StoreShape shape;
    shape.engine = engine;
    shape.children = 1000;
    shape.groups = 3;
    shape.components = 6;
    shape.months = true;
    shape.helpCentre = true;
    shape.declaredTimes = true;
    shape.extraClasses = true;
    shape.attendanceFrom = history == History::Month ? QDate(2024, 2, 1) : QDate(2021, 9, 1);
    shape.attendanceTo = history == History::Month ? QDate(2024, 3, 31) : QDate(2024, 8, 31);
    return store(std::string("batch-") + historyName(history) + "/" + engineName(engine), shape);
}

BenchStore& store(const std::string& key, const StoreShape& shape)
{
    auto& all = stores();
    auto it = all.find(key);
    if (it == all.end())
        it = all.emplace(key, std::make_unique<BenchStore>(shape)).first;
    return *it->second;
}

void releaseStores()
{
    stores().clear();
}

void registerOnEngines(const std::string& name, const std::function<void(benchmark::State&, Engine)>& fn,
                       const std::function<void(benchmark::internal::Benchmark*)>& configure)
{
    for (const Engine e : {Engine::SQLite, Engine::PostgreSQL}) {
        if (e == Engine::PostgreSQL && pgServer().isEmpty())
            continue;
        auto* b = benchmark::RegisterBenchmark((name + "/" + engineName(e)).c_str(),
                                               [fn, e](benchmark::State& state) {
                                                   try {
                                                       fn(state, e);
                                                   } catch (const Error& x) {
                                                       state.SkipWithError(x.message().toStdString().c_str());
                                                   } catch (const std::exception& x) {
                                                       state.SkipWithError(x.what());
                                                   }
                                               });
        if (configure)
            configure(b);
    }
}

}  // namespace bench
