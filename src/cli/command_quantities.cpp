// lunawactl quantities: the attendance-derived quantities of one child's
// month, as the charge run substitutes them, with the problems met in the
// data. It is what a user runs to see why a charge came out as it did.

#include "cli.h"
#include "module_session.h"
#include "option_values.h"

#include "fees/attendance_quantities.h"
#include "fees/evaluator.h"
#include "fees/quantity_data_loader.h"
#include "fees/quantity_substitution.h"
#include "store/query.h"

#include <QTextStream>

namespace cli {

namespace {

constexpr QStringView simpleLetters = u"ABCDTNZXEFGHJKSUVW";

// The month record's free days; a month without a record is wholly free,
// as the charge run takes it.
QString freeDaysList(Database& db, const YearMonth& ym)
{
    Query q(db, QStringLiteral("select DNIWOLNE from MIESIACE where ROK = :R and MIES = :M"));
    q.bind(QStringLiteral("R"), ym.year).bind(QStringLiteral("M"), ym.month).exec();
    return q.next() ? q.value(0).toString() : QStringLiteral("-");
}

fees::QuantityToken parseQuantityCode(const QString& code)
{
    const QString text = code.trimmed().toUpper();
    fees::QuantityToken token;
    try {
        if (!text.startsWith(QLatin1Char('I')))
            throw fees::EvalError(QStringLiteral("Nieznany kod wielkości \"%1\"").arg(text));
        token = fees::readQuantityToken(text, 0);
    } catch (const fees::EvalError& e) {
        throw UsageError(QStringLiteral("Opcja --code: %1").arg(e.message()));
    }
    if (token.length != text.size())
        throw UsageError(QStringLiteral("Opcja --code: nieprawidłowy kod wielkości \"%1\"").arg(text));
    return token;
}

double valueOf(const fees::QuantityToken& t, fees::QuantityProvider& p)
{
    switch (t.letter.unicode()) {
    case 'O':
        return p.scheduledClasses(t.classCode);
    case 'P':
        return p.classAttendance(t.classCode, t.mark);
    case 'Q':
        return p.classesDuringStay(t.classCode);
    case 'R':
        return p.classesOnDaysPresent(t.classCode);
    default:
        return p.simpleQuantity(t.letter);
    }
}

// Every simple code, then the class codes of each class of the child.
QStringList allCodes(const QList<int>& classes)
{
    QStringList codes;
    for (QChar letter : simpleLetters)
        codes << QStringLiteral("I") + letter;
    for (int k : classes) {
        const QString n = QString::number(k);
        codes << QStringLiteral("IO[%1]").arg(n) << QStringLiteral("IP[%1]").arg(n)
              << QStringLiteral("IP[%1,1]").arg(n) << QStringLiteral("IP[%1,2]").arg(n)
              << QStringLiteral("IQ[%1]").arg(n) << QStringLiteral("IR[%1]").arg(n);
    }
    return codes;
}

int runQuantities(Context& ctx)
{
    return guarded(ctx, [&] {
        if (!ctx.arguments.isEmpty())
            throw UsageError(QStringLiteral("Użycie: lunawactl quantities --child KOD --month RRRR-MM "
                                            "[--from RRRR-MM-DD] [--to RRRR-MM-DD] [--code KOD]..."));
        const int child = parseCode(requiredOption(ctx, QStringLiteral("child")), QStringLiteral("--child"));
        const YearMonth ym = parseMonth(requiredOption(ctx, QStringLiteral("month")), QStringLiteral("--month"));
        fees::QuantityPeriod period = fees::QuantityPeriod::wholeMonth(ym.year, ym.month);
        if (auto from = optionValue(ctx, QStringLiteral("from")))
            period.periodFirst = parseDate(*from, QStringLiteral("--from"));
        if (auto to = optionValue(ctx, QStringLiteral("to")))
            period.periodLast = parseDate(*to, QStringLiteral("--to"));
        if (period.periodFirst < period.monthFirst || period.periodLast > period.monthLast)
            throw UsageError(QStringLiteral("Okres --from/--to musi leżeć w miesiącu %1-%2")
                                 .arg(ym.year)
                                 .arg(ym.month, 2, 10, QLatin1Char('0')));
        QList<fees::QuantityToken> wanted;
        QStringList wantedCodes;
        for (const QString& code : ctx.options.values(QStringLiteral("code"))) {
            wanted << parseQuantityCode(code);
            wantedCodes << code.trimmed().toUpper();
        }

        int status = Success;
        auto session = openModuleSession(ctx, status);
        if (!session)
            return status;
        session->requireFunctions({QStringLiteral("Rozrachunki")});
        Database& db = session->db();
        session->requireChild(child);
        const attendance::FreeDays freeDays(freeDaysList(db, ym));
        const fees::QuantityData data = fees::loadQuantityData(db, period.monthFirst, period.monthLast, {child});
        fees::AttendanceQuantityProvider provider(data, fees::QuantitySettings::from(session->context->params),
                                                  child, freeDays, period);
        if (wanted.isEmpty()) {
            wantedCodes = allCodes(provider.engine().classesOfChild());
            for (const QString& code : wantedCodes)
                wanted << fees::readQuantityToken(code, 0);
        }
        for (qsizetype i = 0; i < wanted.size(); ++i)
            ctx.out << wantedCodes[i] << '=' << fees::formatShortest(valueOf(wanted[i], provider)) << '\n';
        for (const QString& problem : provider.problems())
            ctx.out << QStringLiteral("Błąd: ") << problem << '\n';
        return int(Success);
    });
}

const Registration registration{{
    QStringLiteral("quantities"),
    QStringLiteral("quantities --child KOD --month RRRR-MM [--from RRRR-MM-DD] [--to RRRR-MM-DD] [--code KOD]..."),
    runQuantities,
    {
        {QStringLiteral("child"), QStringLiteral("Kod dziecka."), QStringLiteral("KOD")},
        {QStringLiteral("month"), QStringLiteral("Miesiąc RRRR-MM."), QStringLiteral("RRRR-MM")},
        {QStringLiteral("from"), QStringLiteral("Początek okresu."), QStringLiteral("RRRR-MM-DD")},
        {QStringLiteral("to"), QStringLiteral("Koniec okresu."), QStringLiteral("RRRR-MM-DD")},
        {QStringLiteral("code"), QStringLiteral("Kod wielkości (można powtarzać)."), QStringLiteral("KOD")},
    },
}};

}  // namespace

}  // namespace cli
