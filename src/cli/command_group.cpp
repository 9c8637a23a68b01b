// lunawactl group export and import: one group's data moved between
// installations through a transfer folder.

#include "cli.h"
#include "module_session.h"
#include "option_values.h"

#include "maintenance/group_export.h"
#include "maintenance/group_import.h"
#include "maintenance/group_transfer.h"
#include "store/error.h"

#include <QTextStream>

namespace cli {

namespace {

const QString usage = QStringLiteral(
    "Użycie: lunawactl group export [--group KOD] [--skip-group-data] [--attendance-from RRRR-MM] KATALOG\n"
    "        lunawactl group import KATALOG [--replace] [--group-data-only]");

int exportGroup(Context& ctx, ModuleSession& session, const QString& folder)
{
    Database& db = session.db();
    groupexport::Options options;
    const auto groups = grouptransfer::groups(db);
    if (auto g = optionValue(ctx, QStringLiteral("group"))) {
        const int code = parseCode(*g, QStringLiteral("--group"));
        bool known = false;
        for (const auto& [kod, name] : groups)
            known = known || kod == code;
        if (!known)
            throw Error(QStringLiteral("Nie ma grupy dzieci o kodzie %1").arg(code));
        if (groups.size() > 1)
            options.group = code;
    } else if (groups.size() > 1) {
        throw UsageError(QStringLiteral("Podaj grupę dzieci do wyeksportowania: --group KOD"));
    }
    options.skipGroupData = ctx.options.isSet(QStringLiteral("skip-group-data"));
    if (auto from = optionValue(ctx, QStringLiteral("attendance-from")))
        options.attendanceFrom = parseMonth(*from, QStringLiteral("--attendance-from")).first();
    for (const groupexport::Copied& c : groupexport::run(db, folder, options, &session.messages))
        ctx.out << c.table << ' ' << c.rows << '\n';
    ctx.out << QStringLiteral("Koniec operacji\n");
    return int(Success);
}

int importGroup(Context& ctx, ModuleSession& session, const QString& folder)
{
    // Questions about differing values take the incoming value with
    // --replace and keep the local one without it; so do the questions of a
    // group installation about local rows the folder lacks.
    const bool replace = ctx.options.isSet(QStringLiteral("replace"));
    session.prompts.answerYesNo(QString(), replace, QStringLiteral("--replace"));
    groupimport::Options options;
    options.groupDataOnly = ctx.options.isSet(QStringLiteral("group-data-only"));
    const groupimport::Summary s = groupimport::run(session.db(), folder, session.prompts, options, &session.messages);
    for (const QString& remark : session.messages.remarks())
        ctx.out << remark << '\n';
    ctx.out << QStringLiteral("Dodano: %1, zmieniono pól: %2, usunięto: %3, pominięto: %4\n")
                   .arg(s.added)
                   .arg(s.updated)
                   .arg(s.deleted)
                   .arg(s.skipped)
            << QStringLiteral("Koniec operacji\n");
    return int(Success);
}

int runGroup(Context& ctx)
{
    return guarded(ctx, [&] {
        if (ctx.arguments.size() != 2)
            throw UsageError(usage);
        const QString action = ctx.arguments.first();
        if (action != QLatin1String("export") && action != QLatin1String("import"))
            throw UsageError(usage);
        int status = Success;
        auto session = openModuleSession(ctx, status);
        if (!session)
            return status;
        session->requireFunctions({QStringLiteral("Synchronizacja grupy")});
        const QString folder = ctx.arguments.at(1);
        return action == QLatin1String("export") ? exportGroup(ctx, *session, folder)
                                                 : importGroup(ctx, *session, folder);
    });
}

const Registration group{{
    QStringLiteral("group"),
    QStringLiteral("group export [--group KOD] KATALOG | group import KATALOG [--replace]"),
    runGroup,
    {QCommandLineOption(QStringLiteral("group"), QStringLiteral("Kod grupy dzieci"), QStringLiteral("KOD")),
     QCommandLineOption(QStringLiteral("skip-group-data"),
                        QStringLiteral("Bez obecności, obecności na zajęciach i płatności dodatkowych")),
     QCommandLineOption(QStringLiteral("attendance-from"), QStringLiteral("Dolna granica eksportowanych obecności"),
                        QStringLiteral("RRRR-MM")),
     QCommandLineOption(QStringLiteral("replace"), QStringLiteral("Przy różnicach przyjmuje wczytywane wartości; w instalacji grupy usuwa też "
                                                                 "pozycje, których katalog nie ma")),
     QCommandLineOption(QStringLiteral("group-data-only"),
                        QStringLiteral("Tylko obecności, obecności na zajęciach i płatności dodatkowe"))},
}};

}  // namespace

}  // namespace cli
