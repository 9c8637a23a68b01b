// lunawactl reminders and deadlines: the reminders list of the logged-in
// user and the occurrences of every periodic deadline on a day.

#include "cli.h"
#include "module_session.h"
#include "option_values.h"

#include "communication/deadline_occurrences.h"
#include "communication/reminders.h"
#include "store/query.h"

#include <QTextStream>

namespace cli {

namespace {

QString isoOrDash(const QDate& date)
{
    return date.isValid() ? date.toString(Qt::ISODate) : QStringLiteral("-");
}

QString dashIfEmpty(const QString& text)
{
    return text.isEmpty() ? QStringLiteral("-") : text;
}

int runReminders(Context& ctx)
{
    return guarded(ctx, [&] {
        if (!ctx.arguments.isEmpty())
            throw UsageError(QStringLiteral("Użycie: lunawactl reminders [--day RRRR-MM-DD]"));
        std::optional<QDate> day;
        if (auto d = optionValue(ctx, QStringLiteral("day")))
            day = parseDate(*d, QStringLiteral("--day"));
        int status = Success;
        auto session = openModuleSession(ctx, status);
        if (!session)
            return status;
        session->requireFunctions({QStringLiteral("Przypomnienia")});
        const QDate today = day ? *day : session->context->systemDate();
        for (const reminders::Entry& e : reminders::collect(session->db(), session->context->login, today))
            ctx.out << e.text << '\n';
        return int(Success);
    });
}

int runDeadlines(Context& ctx)
{
    return guarded(ctx, [&] {
        if (!ctx.arguments.isEmpty())
            throw UsageError(QStringLiteral("Użycie: lunawactl deadlines --day RRRR-MM-DD"));
        const QDate today = parseDate(requiredOption(ctx, QStringLiteral("day")), QStringLiteral("--day"));
        int status = Success;
        auto session = openModuleSession(ctx, status);
        if (!session)
            return status;
        session->requireFunctions({QStringLiteral("Terminy")});
        Query q(session->db(),
                QStringLiteral("SELECT TERMID, OPIS, DATA, ILOKRESOW, OKRES FROM TERMINY ORDER BY TERMID"));
        q.exec();
        while (q.next()) {
            const deadlines::Occurrences o =
                deadlines::occurrences(q.value(2).toDate(), q.value(3).toInt(), q.value(4).toString(), today);
            ctx.out << q.value(0).toInt() << '\t' << dashIfEmpty(q.value(1).toString()) << '\t' << isoOrDash(o.next)
                    << '\t' << isoOrDash(o.previous) << '\n';
        }
        return int(Success);
    });
}

const Registration reminders{{
    QStringLiteral("reminders"),
    QStringLiteral("reminders [--day RRRR-MM-DD]: sprawy do załatwienia i terminy zalogowanego użytkownika, "
                   "jedna na wiersz (domyślnie na datę systemu)"),
    runReminders,
    {{QStringLiteral("day"), QStringLiteral("Dzień RRRR-MM-DD."), QStringLiteral("RRRR-MM-DD")}},
}};

const Registration deadlineList{{
    QStringLiteral("deadlines"),
    QStringLiteral("deadlines --day RRRR-MM-DD: każdy termin okresowy w wierszu: TERMID, OPIS, najbliższy termin, "
                   "poprzedni termin (RRRR-MM-DD), rozdzielone tabulatorem; brak daty jako \"-\""),
    runDeadlines,
    {{QStringLiteral("day"), QStringLiteral("Dzień RRRR-MM-DD."), QStringLiteral("RRRR-MM-DD")}},
}};

}  // namespace

}  // namespace cli
