// lunawactl import payments|charges|attendance FILE: the import of the
// windows with its questions answered from the options. A question the
// options do not answer is an error naming the option.

#include "cli.h"
#include "module_session.h"
#include "option_values.h"

#include "fees/settlement_months.h"
#include "import/import_requests.h"

#include <QTextStream>

namespace cli {

namespace {

const QString usage = QStringLiteral(
    "Użycie: lunawactl import payments|charges|attendance PLIK --month RRRR-MM [--type 0|1] [--day RRRR-MM-DD] "
    "[--monthly] [--sheet NAZWA] [--table N] [--confirm all|none] [--similar write|skip] "
    "[--other-month write|skip] [--missing-rows pay|skip] [--slot-component NAZWA]...");

// An option with two allowed values: true for the first, nothing when absent.
std::optional<bool> twoWay(const Context& ctx, const QString& name, const QString& first, const QString& second)
{
    const auto v = optionValue(ctx, name);
    if (!v)
        return std::nullopt;
    if (*v == first)
        return true;
    if (*v == second)
        return false;
    throw UsageError(QStringLiteral("Opcja --%1 przyjmuje %2 albo %3").arg(name, first, second));
}

QString oneLine(QString text)
{
    return text.replace(QStringLiteral("\n\n"), QStringLiteral("\n")).replace(QLatin1Char('\n'), QStringLiteral("; "));
}

// The import's questions answered from the options.
class ImportPrompts : public OptionPrompts {
public:
    ImportPrompts(QTextStream& out, QTextStream& err, const Context& ctx, const QString& file)
        : OptionPrompts(out, err), m_out(out), m_file(file)
    {
        m_confirm = twoWay(ctx, QStringLiteral("confirm"), QStringLiteral("all"), QStringLiteral("none"));
        m_similar = twoWay(ctx, QStringLiteral("similar"), QStringLiteral("write"), QStringLiteral("skip"));
        m_otherMonth = twoWay(ctx, QStringLiteral("other-month"), QStringLiteral("write"), QStringLiteral("skip"));
        m_missing = twoWay(ctx, QStringLiteral("missing-rows"), QStringLiteral("pay"), QStringLiteral("skip"));
        m_sheet = optionValue(ctx, QStringLiteral("sheet"));
        if (const auto t = optionValue(ctx, QStringLiteral("table")))
            m_table = parseCode(*t, QStringLiteral("--table"));
        m_slots = ctx.options.values(QStringLiteral("slot-component"));
    }

    int askChoice(const QString& title, const QString& message, const QStringList& buttons, ChoiceIcon icon) override
    {
        if (title == import::texts::slotKindTitle()) {
            // The kind follows the component just given: "-NAZWA" settles.
            return m_lastSlotSettles ? -2 : -1;
        }
        if (message.contains(import::texts::noChild())) {
            m_out << QStringLiteral("Uwaga: ") << oneLine(firstLine(message)) << QStringLiteral(": nie dopasowano dziecka, pominięty\n");
            return -2;  // "Pomiń"
        }
        if (message.contains(import::texts::balanceMismatch())) {
            m_out << QStringLiteral("Uwaga: ") << oneLine(message) << '\n';
            return -1;
        }
        if (message.contains(import::texts::similar()))
            return answer(m_similar, QStringLiteral("--similar"), message, -1, -2);
        if (message.contains(import::texts::otherMonth()))
            return answer(m_otherMonth, QStringLiteral("--other-month"), message, -1, -2);
        if (message.startsWith(import::texts::missingRow()))
            return answer(m_missing, QStringLiteral("--missing-rows"), message, -1, -2);
        if (buttons.size() == 4 && message.contains(import::texts::found()))
            return answer(m_confirm, QStringLiteral("--confirm"), message, -1, -3);
        return OptionPrompts::askChoice(title, message, buttons, icon);
    }

    bool pickFromList(const QString& title, const QString& label, const QList<PickEntry>& entries,
                      QVariant& value) override
    {
        if (title.startsWith(import::texts::componentTitle())) {
            if (m_slots.isEmpty())
                throw Error(QStringLiteral("%1: brak odpowiedzi, podaj opcję --slot-component").arg(title));
            QString name = m_slots.takeFirst();
            m_lastSlotSettles = name.startsWith(QLatin1Char('-'));
            if (m_lastSlotSettles)
                name.remove(0, 1);
            for (const PickEntry& e : entries)
                if (e.text.compare(name, Qt::CaseInsensitive) == 0 || e.value.toString() == name) {
                    value = e.value;
                    return true;
                }
            throw Error(QStringLiteral("Nie ma składnika „%1” (opcja --slot-component)").arg(name));
        }
        if (title == import::sheetTitle()) {
            if (m_sheet)
                value = *m_sheet;
            return true;
        }
        if (title == import::htmlTableTitle()) {
            if (m_table)
                value = *m_table;
            return true;
        }
        return OptionPrompts::pickFromList(title, label, entries, value);
    }

    bool openFile(const FileDialogOptions&, QString& path) override
    {
        path = m_file;
        return true;
    }

    bool pickRecord(const QString& title, const QList<PickEntry>&, int&, bool) override
    {
        throw Error(QStringLiteral("%1: wybór dziecka nie jest możliwy z wiersza poleceń").arg(title));
    }

private:
    static QString firstLine(const QString& message) { return message.section(QLatin1Char('\n'), 0, 0); }

    int answer(const std::optional<bool>& option, const QString& name, const QString& message, int yes, int no)
    {
        if (!option)
            throw Error(QStringLiteral("%1\nBrak odpowiedzi: podaj opcję %2").arg(message, name));
        if (!*option && name != QStringLiteral("--missing-rows"))
            m_out << QStringLiteral("Uwaga: ") << oneLine(firstLine(message)) << QStringLiteral(": pominięty (%1)\n").arg(name);
        return *option ? yes : no;
    }

    QTextStream& m_out;
    QString m_file;
    std::optional<bool> m_confirm, m_similar, m_otherMonth, m_missing;
    std::optional<QString> m_sheet;
    std::optional<int> m_table;
    QStringList m_slots;
    bool m_lastSlotSettles = false;
};

int runImport(Context& ctx)
{
    return guarded(ctx, [&] {
        if (ctx.arguments.size() != 2)
            throw UsageError(usage);
        const QString what = ctx.arguments[0];
        const QString file = ctx.arguments[1];
        if (what != QStringLiteral("payments") && what != QStringLiteral("charges") && what != QStringLiteral("attendance"))
            throw UsageError(usage);
        const YearMonth month = parseMonth(requiredOption(ctx, QStringLiteral("month")), QStringLiteral("--month"));
        const QString type = optionValue(ctx, QStringLiteral("type")).value_or(QStringLiteral("0"));
        if (type != QStringLiteral("0") && type != QStringLiteral("1"))
            throw UsageError(QStringLiteral("Opcja --type przyjmuje 0 albo 1"));
        QDate day = month.first();
        if (const auto d = optionValue(ctx, QStringLiteral("day"))) {
            day = parseDate(*d, QStringLiteral("--day"));
            if (day.year() != month.year || day.month() != month.month)
                throw UsageError(QStringLiteral("Dzień --day musi należeć do miesiąca --month"));
        }

        int status = Success;
        auto session = openModuleSession(ctx, status);
        if (!session)
            return status;
        Database& db = session->db();
        ImportPrompts prompts(ctx.out, ctx.err, ctx, file);
        RunContext& context = *session->context;
        import::ImportRequest request;
        if (what == QStringLiteral("attendance")) {
            session->requireFunctions({QStringLiteral("Obecnosci")});
            request = import::attendanceRequest(context, day, ctx.options.isSet(QStringLiteral("monthly")));
        } else {
            const bool payments = what == QStringLiteral("payments");
            session->requireFunctions({QStringLiteral("Rozrachunki"),
                                       payments ? QStringLiteral("Wplaty")
                                       : type == QStringLiteral("1") ? QStringLiteral("Oplaty zatwierdzone")
                                                                     : QStringLiteral("Oplaty wyliczone")});
            const int kod = fees::monthKod(db, month.year, month.month);
            if (kod == 0)
                throw Error(QStringLiteral("Nie ma miesiąca rozrachunkowego %1-%2")
                                .arg(month.year)
                                .arg(month.month, 2, 10, QLatin1Char('0')));
            request = payments ? import::paymentsRequest(context, kod, month.year, month.month)
                               : import::chargesRequest(context, kod, month.year, month.month, type);
        }
        import::ImportReport report;
        try {
            report = import::runImport(db, prompts, request);
        } catch (const UsageError&) {
            throw;
        } catch (const Error& e) {
            // The import stopped: nothing of it was written.
            ctx.out << QStringLiteral("Błąd: ") << oneLine(e.message()) << '\n'
                    << QStringLiteral("Nic nie zapisano") << '\n';
            ctx.out.flush();
            return int(Failed);
        }
        for (const QString& s : report.summaries)
            ctx.out << s << '\n';
        for (const QString& n : report.notes)
            ctx.out << QStringLiteral("Uwaga: ") << n << '\n';
        ctx.out << QStringLiteral("Wczytano wierszy: %1, zapisano: %2, pominięto: %3")
                       .arg(report.read)
                       .arg(report.written)
                       .arg(report.skipped)
                << '\n';
        if (report.stopped)
            ctx.out << QStringLiteral("Uwaga: import przerwany\n");
        ctx.out.flush();
        return int(report.cancelled ? Failed : Success);
    });
}

const Registration importCommand{{
    QStringLiteral("import"),
    QStringLiteral("import payments|charges|attendance PLIK --month RRRR-MM [--type 0|1] [--day RRRR-MM-DD] "
                   "[--monthly] [--sheet NAZWA] [--table N] [--confirm all|none] [--similar write|skip] "
                   "[--other-month write|skip] [--missing-rows pay|skip] [--slot-component NAZWA]..."),
    runImport,
    {
        {QStringLiteral("month"), QStringLiteral("Miesiąc RRRR-MM."), QStringLiteral("RRRR-MM")},
        {QStringLiteral("type"), QStringLiteral("Opłaty wyliczone (0) albo zatwierdzone (1)."), QStringLiteral("0|1")},
        {QStringLiteral("day"), QStringLiteral("Dzień obecności (data wierszy bez daty)."), QStringLiteral("RRRR-MM-DD")},
        {QStringLiteral("monthly"), QStringLiteral("Obecności sumarycznie za miesiąc.")},
        {QStringLiteral("sheet"), QStringLiteral("Arkusz skoroszytu."), QStringLiteral("NAZWA")},
        {QStringLiteral("table"), QStringLiteral("Numer tabeli strony HTML."), QStringLiteral("N")},
        {QStringLiteral("confirm"), QStringLiteral("Potwierdzanie dopasowanych dzieci: all albo none."), QStringLiteral("all|none")},
        {QStringLiteral("similar"), QStringLiteral("Podobna pozycja: write albo skip."), QStringLiteral("write|skip")},
        {QStringLiteral("other-month"), QStringLiteral("Data z innego miesiąca: write albo skip."), QStringLiteral("write|skip")},
        {QStringLiteral("missing-rows"), QStringLiteral("Dzieci bez wiersza: pay albo skip."), QStringLiteral("pay|skip")},
        {QStringLiteral("slot-component"), QStringLiteral("Składnik kolejnej kolumny kwot (-NAZWA: rozliczająca)."), QStringLiteral("NAZWA")},
    },
}};

}  // namespace

}  // namespace cli
