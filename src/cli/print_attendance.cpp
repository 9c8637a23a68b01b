// lunawactl print attendance: the attendance window's printout of a day or
// of its month, through the window's own module and questions.

#include "cli.h"
#include "module_session.h"
#include "option_values.h"
#include "print_kinds.h"

#include "attendance/tdm_obecn.h"
#include "browser/key_value_settings.h"
#include "printouts/attendance_print_request.h"
#include "store/query.h"

#include <QSet>
#include <QTextStream>

namespace cli {

namespace {

const QString synopsis = QStringLiteral(
    "attendance --day RRRR-MM-DD [--month-view] [--colours] [--groups K,...] [--child K] (--pdf PLIK | --export PLIK)");

// "Grupa: Motylki, Biedronki", as the window's filter on the group reads.
QString groupsDescription(Database& db, const QList<int>& groups)
{
    QHash<int, QString> names;
    Query q(db, QStringLiteral("SELECT KOD, NAZWA FROM KLASY"));
    q.exec();
    while (q.next())
        names.insert(q.value(0).toInt(), q.value(1).toString());
    QStringList parts;
    for (const int g : groups)
        parts << names.value(g, QString::number(g));
    return QStringLiteral("Grupa: ") + parts.join(QStringLiteral(", "));
}

QSet<int> childrenOfGroups(Database& db, const QList<int>& groups)
{
    const QSet<int> wanted(groups.cbegin(), groups.cend());
    QSet<int> out;
    Query q(db, QStringLiteral("SELECT KOD, KLASA FROM DZIECI"));
    q.exec();
    while (q.next())
        if (!q.value(1).isNull() && wanted.contains(q.value(1).toInt()))
            out.insert(q.value(0).toInt());
    return out;
}

int runAttendance(Context& ctx)
{
    if (!ctx.arguments.isEmpty())
        throw UsageError(QStringLiteral("Użycie: lunawactl print ") + synopsis);
    const QDate day = parseDate(requiredOption(ctx, QStringLiteral("day")), QStringLiteral("--day"));
    const bool monthView = ctx.options.isSet(QStringLiteral("month-view"));
    std::optional<int> child;
    if (const auto c = optionValue(ctx, QStringLiteral("child")))
        child = parseCode(*c, QStringLiteral("--child"));
    std::optional<QList<int>> groups;
    if (const auto items = optionList(ctx, QStringLiteral("groups"))) {
        groups.emplace();
        for (const QString& item : *items)
            groups->append(parseCode(item, QStringLiteral("--groups")));
    }

    int status = Success;
    auto session = openModuleSession(ctx, status);
    if (!session)
        return status;
    session->requireFunctions({QStringLiteral("Obecnosci")});
    Database& db = session->db();
    if (child)
        session->requireChild(*child);

    session->prompts.answerText(QStringLiteral("Widok miesiąca"), QStringLiteral("Zakres dni:"), QStringLiteral("1-31"),
                                QStringLiteral("--month-view"));
    session->prompts.answerYesNo(printouts::coloursQuestion(), ctx.options.isSet(QStringLiteral("colours")),
                                 QStringLiteral("--colours"));
    session->prompts.answerYesNo(printouts::classLinesQuestion(), true);

    MemorySettings settings;
    TDMObecn window(*session->context, &settings);
    window.setDay(day);
    if (monthView)
        window.toggleMonthView();

    const QString description = groups ? groupsDescription(db, *groups) : QString();
    printouts::AttendancePrintInput input = printouts::askAttendancePrintout(window, description);
    if (groups || child) {
        const QSet<int> inGroups = groups ? childrenOfGroups(db, *groups) : QSet<int>();
        QList<printouts::AttendanceChild> kept;
        for (const printouts::AttendanceChild& c : input.children)
            if ((!groups || inGroups.contains(c.child)) && (!child || c.child == *child))
                kept << c;
        input.children = kept;
    }
    if (child)  // the one child's window
        input.title = printouts::attendanceTitle(session->context->institution.name, day, true, description);
    const auto job = printouts::makeAttendancePrintout(db, input);
    return writePrintOutput(ctx, *job);
}

const PrintKindRegistration attendance{{
    QStringLiteral("attendance"),
    synopsis,
    [](Context& ctx) { return guarded(ctx, [&ctx] { return runAttendance(ctx); }); },
}};

}  // namespace

}  // namespace cli
