// lunawactl template list, export and import: print templates carried as
// layout-text files, checked by reading them before anything is stored.

#include "cli.h"
#include "module_session.h"
#include "option_values.h"

#include "printouts/template_store.h"
#include "store/error.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QTextStream>

namespace cli {

namespace {

const QString usage = QStringLiteral(
    "Użycie: lunawactl template list | export NAZWA PLIK [--type N] | import --type N --name NAZWA PLIK");

printouts::TemplateType typeOption(const QString& text)
{
    const auto type = printouts::templateTypeOf(text);
    if (!type)
        throw UsageError(QStringLiteral("Typ szablonu musi być liczbą od 1 do 4: %1").arg(text));
    return *type;
}

int runList(Context& ctx, ModuleSession& session)
{
    for (const printouts::StoredTemplate& t : printouts::storedTemplates(session.db()))
        ctx.out << t.id << '\t' << t.type << '\t' << t.name << '\n';
    return Success;
}

int runExport(Context& ctx, ModuleSession& session)
{
    if (ctx.arguments.size() != 3)
        throw UsageError(usage);
    const QString name = ctx.arguments.at(1);
    const QString path = ctx.arguments.at(2);
    std::optional<printouts::TemplateType> type;
    if (const auto typeText = optionValue(ctx, QStringLiteral("type")))
        type = typeOption(*typeText);
    const QList<printouts::StoredTemplate> found = printouts::templatesNamed(session.db(), name, type);
    if (found.isEmpty())
        throw Error(QStringLiteral("Nie ma szablonu o nazwie „%1”").arg(name));
    if (found.size() > 1)
        throw UsageError(QStringLiteral("Jest kilka szablonów o nazwie „%1”: podaj typ (--type)").arg(name));
    // The layout text as stored, CR LF and all.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(found.first().layoutText.toUtf8()) < 0 || !file.commit())
        throw Error(QStringLiteral("Nie można zapisać pliku %1").arg(QDir::toNativeSeparators(path)));
    ctx.out << QStringLiteral("Zapisano szablon „%1” do pliku %2\n").arg(name, QDir::toNativeSeparators(path));
    return Success;
}

int runImport(Context& ctx, ModuleSession& session)
{
    if (ctx.arguments.size() != 2)
        throw UsageError(usage);
    const auto type = typeOption(requiredOption(ctx, QStringLiteral("type")));
    const QString name = requiredOption(ctx, QStringLiteral("name"));
    if (name.trimmed().isEmpty())
        throw UsageError(QStringLiteral("Nazwa szablonu nie może być pusta"));
    if (name.size() > printouts::templateNameWidth)
        throw UsageError(
            QStringLiteral("Nazwa szablonu może mieć najwyżej %1 znaków").arg(printouts::templateNameWidth));
    const QString path = ctx.arguments.at(1);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("Nie można odczytać pliku %1").arg(QDir::toNativeSeparators(path)));
    const QString layout = printouts::layoutFileText(file.readAll());
    const printouts::ImportResult r = printouts::importTemplate(session.db(), type, name, layout);
    ctx.out << (r.replaced ? QStringLiteral("Zastąpiono szablon „%1” typu %2 (ID=%3)\n")
                           : QStringLiteral("Dodano szablon „%1” typu %2 (ID=%3)\n"))
                   .arg(name, printouts::templateTypeCode(type), QString::number(r.id));
    return Success;
}

int runTemplate(Context& ctx)
{
    return guarded(ctx, [&] {
        const QString action = ctx.arguments.value(0);
        if (action == QLatin1String("list")) {
            if (ctx.arguments.size() != 1)
                throw UsageError(usage);
        } else if (action != QLatin1String("export") && action != QLatin1String("import")) {
            throw UsageError(usage);
        }
        int status = Success;
        auto session = openModuleSession(ctx, status);
        if (!session)
            return status;
        session->requireFunctions({QStringLiteral("Szablony")});
        if (action == QLatin1String("list"))
            return runList(ctx, *session);
        if (action == QLatin1String("export"))
            return runExport(ctx, *session);
        return runImport(ctx, *session);
    });
}

const Registration templateCommand{{
    QStringLiteral("template"),
    QStringLiteral("template list | export NAZWA PLIK [--type N] | import --type N --name NAZWA PLIK"),
    runTemplate,
    {{QStringLiteral("type"), QStringLiteral("Typ szablonu: 1 listy, 2 zestawienia, 3 potwierdzenia, 4 faktury."),
      QStringLiteral("N")}},
}};

}  // namespace

}  // namespace cli
