// lunawactl marked: the operations on marked children of the children
// register, for the children listed, with their questions answered from
// the options. Passwords go to the file --out (PDF, text or any format of
// the preview's save); the e-mail links are printed, one a line.

#include "cli.h"
#include "module_session.h"
#include "option_values.h"

#include "fees/marked_operations.h"
#include "printouts/exports.h"
#include "registers/child_group_change.h"
#include "store/tdm_baza.h"

#include <QTextStream>

namespace cli {

namespace {

const QString kUsage = QStringLiteral(
    "Użycie: lunawactl marked copy-components|set-method|set-settlement-method|passwords|emails|move-group "
    "--children K,... [--month RRRR-MM] [--components K,...] [--method K] [--group K] [--date RRRR-MM-DD] "
    "[--reason TEKST] [--overwrite] [--intro TEKST] [--page-per-child] [--hide-recipients] [--out PLIK]");

std::optional<fees::ChargeOperation> operationOf(const QString& name)
{
    using fees::ChargeOperation;
    static const QList<QPair<QString, ChargeOperation>> names{
        {QStringLiteral("copy-components"), ChargeOperation::CopyComponents},
        {QStringLiteral("set-method"), ChargeOperation::SetMethod},
        {QStringLiteral("set-settlement-method"), ChargeOperation::SetSettlementMethod},
        {QStringLiteral("passwords"), ChargeOperation::Passwords},
        {QStringLiteral("emails"), ChargeOperation::Emails},
        {QStringLiteral("move-group"), ChargeOperation::MoveGroup},
    };
    for (const auto& [text, code] : names)
        if (text == name)
            return code;
    return std::nullopt;
}

bool flag(const Context& ctx, const QString& name)
{
    return ctx.options.isSet(name);
}

int runMarkedCommand(Context& ctx)
{
    return guarded(ctx, [&] {
        if (ctx.arguments.size() != 1 || !operationOf(ctx.arguments.first()))
            throw UsageError(kUsage);
        const fees::ChargeOperation code = *operationOf(ctx.arguments.first());
        const std::optional<QList<int>> children = optionCodes(ctx, QStringLiteral("children"));
        if (!children || children->isEmpty())
            throw UsageError(QStringLiteral("Brak opcji --children"));
        std::optional<YearMonth> month;
        if (auto m = optionValue(ctx, QStringLiteral("month")))
            month = parseMonth(*m, QStringLiteral("--month"));
        std::optional<QDate> day;
        if (auto d = optionValue(ctx, QStringLiteral("date")))
            day = parseDate(*d, QStringLiteral("--date"));
        // Passwords exist only on their sheet: where it goes is known before any is given.
        QString out;
        const report::ExportFormat* format = nullptr;
        if (code == fees::ChargeOperation::Passwords) {
            out = requiredOption(ctx, QStringLiteral("out"));
            format = report::formatOfFile(out);
            if (!format)
                throw UsageError(QStringLiteral("Nieznany rodzaj pliku: ") + out);
        }

        int status = Success;
        auto session = openModuleSession(ctx, status);
        if (!session)
            return status;
        session->requireFunctions({QStringLiteral("Dzieci"), QStringLiteral("Operacje")});
        for (const int child : *children)
            session->requireChild(child);

        OptionPrompts& prompts = session->prompts;
        const QString components = QStringLiteral("Wybierz składniki opłat");
        switch (code) {
        case fees::ChargeOperation::CopyComponents:
            prompts.answerChecks(components, optionList(ctx, QStringLiteral("components")), QStringLiteral("--components"));
            break;
        case fees::ChargeOperation::SetMethod:
        case fees::ChargeOperation::SetSettlementMethod:
            prompts.answerChecks(components, optionList(ctx, QStringLiteral("components")), QStringLiteral("--components"));
            prompts.answerList(code == fees::ChargeOperation::SetMethod ? QStringLiteral("Wybierz nowy sposób liczenia")
                                                                        : QStringLiteral("Wybierz nowy sposób rozliczania"),
                               optionValue(ctx, QStringLiteral("method")), QStringLiteral("--method"), true);
            break;
        case fees::ChargeOperation::Passwords:
            prompts.answerYesNo(fees::overwriteQuestion(), flag(ctx, QStringLiteral("overwrite")));
            prompts.answerText(fees::sheetTitle(), QStringLiteral("Podaj tekst wstępu"),
                               optionValue(ctx, QStringLiteral("intro")).value_or(QString()), QStringLiteral("--intro"));
            prompts.answerYesNo(QStringLiteral("Każde dziecko od nowej strony?"), flag(ctx, QStringLiteral("page-per-child")));
            break;
        case fees::ChargeOperation::Emails:
            prompts.answerYesNo(QStringLiteral("Ukryć adresatów?"), flag(ctx, QStringLiteral("hide-recipients")));
            break;
        case fees::ChargeOperation::MoveGroup:
            prompts.answerList(QStringLiteral("Wybierz nową grupę"), optionValue(ctx, QStringLiteral("group")),
                               QStringLiteral("--group"), true);
            prompts.answerDate(QStringLiteral("Data zmiany"), GroupChange::datePrompt(), day, QStringLiteral("--date"));
            prompts.answerText(QStringLiteral("Zmiana grupy"), QStringLiteral("Podaj przyczynę zmiany grupy"),
                               optionValue(ctx, QStringLiteral("reason")).value_or(QString()), QStringLiteral("--reason"));
            break;
        default:
            break;
        }

        fees::MarkedServices services = fees::MarkedServices::defaults();
        services.openMail = [&](const QUrl& link) {
            ctx.out << link.toString(QUrl::FullyEncoded) << '\n';
            return true;
        };
        QString sheetError;
        services.showSheet = [&](RunContext&, std::shared_ptr<report::Job> job) {
            sheetError = report::exportReport(job->run(report::Purpose::Pages), job.get(), *format, out);
        };
        const QDate runDay = month ? month->first() : session->context->systemDate();
        const fees::ChargeRunResult result =
            fees::runMarked(*session->context, code, *children, 0, runDay, services, session->messages);
        for (const QString& e : result.errors)
            ctx.out << QStringLiteral("Błąd: ") << QString(e).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << '\n';
        for (const QString& r : result.remarks)
            ctx.out << QStringLiteral("Uwaga: ") << QString(r).replace(QStringLiteral("\r\n"), QStringLiteral("\n")) << '\n';
        ctx.out.flush();
        if (!sheetError.isEmpty()) {
            ctx.err << sheetError << '\n';
            return int(Failed);
        }
        if (!result.completed) {
            if (result.stopError.isEmpty())
                ctx.err << QStringLiteral("Operacja przerwana") << '\n';
            return int(Failed);
        }
        return int(Success);
    });
}

const Registration marked{{
    QStringLiteral("marked"),
    kUsage.mid(QStringLiteral("Użycie: lunawactl ").size()),
    runMarkedCommand,
    {
        {QStringLiteral("children"), QStringLiteral("Kody dzieci, po przecinku, w kolejności zaznaczenia."),
         QStringLiteral("K,...")},
        {QStringLiteral("month"), QStringLiteral("Miesiąc RRRR-MM."), QStringLiteral("RRRR-MM")},
        {QStringLiteral("components"), QStringLiteral("Kody składników opłat, po przecinku."), QStringLiteral("K,...")},
        {QStringLiteral("method"), QStringLiteral("Kod nowego sposobu liczenia lub rozliczania."), QStringLiteral("K")},
        {QStringLiteral("group"), QStringLiteral("Kod nowej grupy."), QStringLiteral("K")},
        {QStringLiteral("date"), QStringLiteral("Dzień zmiany grupy."), QStringLiteral("RRRR-MM-DD")},
        {QStringLiteral("reason"), QStringLiteral("Przyczyna zmiany grupy."), QStringLiteral("TEKST")},
        {QStringLiteral("overwrite"), QStringLiteral("Nadpisywać hasła już wypełnione.")},
        {QStringLiteral("intro"), QStringLiteral("Tekst wstępu arkusza haseł."), QStringLiteral("TEKST")},
        {QStringLiteral("page-per-child"), QStringLiteral("Każde dziecko od nowej strony.")},
        {QStringLiteral("hide-recipients"), QStringLiteral("Adresaci w polu bcc.")},
        {QStringLiteral("out"), QStringLiteral("Plik arkusza haseł (pdf, txt, …)."), QStringLiteral("PLIK")},
    },
}};

}  // namespace

}  // namespace cli
