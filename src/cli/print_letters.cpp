// lunawactl print letters: letters, labels and identification cards of the
// active children on a template of type 1, through the same printout as the
// dialog.

#include "cli.h"
#include "option_values.h"
#include "print_kinds.h"

#include "printouts/letters_printout.h"
#include "store/database.h"

#include <QTextStream>

namespace cli {

namespace {

const QString synopsis = QStringLiteral(
    "letters [--template NAZWA] [--day RRRR-MM-DD] [--text1 TEKST] [--text2 TEKST] [--groups K,...] "
    "[--children K,...] [--child K] (--pdf PLIK | --export PLIK)");

int runLetters(Context& ctx)
{
    if (!ctx.arguments.isEmpty())
        throw UsageError(QStringLiteral("Użycie: lunawactl print ") + synopsis);
    printouts::LettersSelection selection;
    if (const auto day = optionValue(ctx, QStringLiteral("day")))
        selection.day = parseDate(*day, QStringLiteral("--day"));
    selection.text1 = optionValue(ctx, QStringLiteral("text1")).value_or(QString());
    selection.text2 = optionValue(ctx, QStringLiteral("text2")).value_or(QString());
    if (const auto child = optionValue(ctx, QStringLiteral("child")))
        selection.child = parseCode(*child, QStringLiteral("--child"));
    selection.groups = optionCodes(ctx, QStringLiteral("groups"));
    selection.chosen = optionCodes(ctx, QStringLiteral("children"));

    int status = Success;
    auto session = openSession(ctx, status);
    if (!session)
        return status;
    Database& db = *session->db;
    // As the dialog describes it: for one child's record there is no selection.
    if (!selection.child) {
        std::optional<QList<printouts::GroupChoice>> groups;
        if (selection.groups)
            groups = printouts::groupChoices(db, *selection.groups);
        selection.description = printouts::selectionDescription(groups, selection.chosen.has_value());
    }

    std::optional<printouts::BuiltTemplate> built;
    if (!templateOption(ctx, db, printouts::TemplateType::Letters, QStringLiteral("Nie ma szablonu pism „%1”"),
                        built))
        return Failed;
    const auto job = printouts::makeLettersJob(db, selection, built ? &*built : nullptr);
    return writePrintOutput(ctx, *job);
}

const PrintKindRegistration letters{{
    QStringLiteral("letters"),
    synopsis,
    [](Context& ctx) { return runLetters(ctx); },
}};

}  // namespace

}  // namespace cli
