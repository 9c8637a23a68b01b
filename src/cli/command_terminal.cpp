// lunawactl terminal: one press of "OK" at the attendance terminal, at the
// moment given or now, through the terminal's own steps (the log line
// included). The questions it meets are answered from --answer options in
// turn (--user-password is what is typed into their password box); the
// first one left without an answer ends the run and is printed.

#include "cli.h"
#include "module_session.h"
#include "option_values.h"

#include "attendance/terminal_log.h"
#include "attendance/terminal_session.h"

#include <QTextStream>

namespace cli {

namespace {

QString lines(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString buttons(const terminal::Question& q)
{
    QStringList b{QStringLiteral("OK")};
    if (q.cancel)
        b << QStringLiteral("Anuluj");
    if (q.remove)
        b << QStringLiteral("Usuń");
    return QLatin1Char('[') + b.join(QStringLiteral(", ")) + QLatin1Char(']');
}

terminal::Reply parseAnswer(const QString& text)
{
    const QString a = text.trimmed().toLower();
    if (a == QLatin1String("ok"))
        return terminal::Reply::Ok;
    if (a == QLatin1String("cancel"))
        return terminal::Reply::Cancel;
    if (a == QLatin1String("delete"))
        return terminal::Reply::Delete;
    throw UsageError(QStringLiteral("Opcja --answer: oczekiwano ok, cancel lub delete, podano \"%1\"").arg(text));
}

QString replyText(terminal::Reply r)
{
    switch (r) {
    case terminal::Reply::Ok:
        return QStringLiteral("OK");
    case terminal::Reply::Cancel:
        return QStringLiteral("Anuluj");
    case terminal::Reply::Delete:
        return QStringLiteral("Usuń");
    }
    return {};
}

QDateTime parseMoment(const QString& text)
{
    const QDateTime at = QDateTime::fromString(text.trimmed(), QStringLiteral("yyyy-MM-dd HH:mm"));
    if (!at.isValid())
        throw UsageError(QStringLiteral("Opcja --at: oczekiwano \"RRRR-MM-DD GG:MM\", podano \"%1\"").arg(text));
    return at;
}

int runTerminal(Context& ctx)
{
    return guarded(ctx, [&] {
        if (!ctx.arguments.isEmpty())
            throw UsageError(QStringLiteral("Użycie: lunawactl terminal --code KOD [--at \"RRRR-MM-DD GG:MM\"] "
                                            "[--departure] [--user-password HASŁO] [--answer ok|cancel|delete]..."));
        const QString code = requiredOption(ctx, QStringLiteral("code"));
        const std::optional<QString> at = optionValue(ctx, QStringLiteral("at"));
        const QDateTime moment = at ? parseMoment(*at) : QDateTime();
        QList<terminal::Reply> answers;
        for (const QString& a : ctx.options.values(QStringLiteral("answer")))
            answers << parseAnswer(a);
        const QString password = optionValue(ctx, QStringLiteral("user-password")).value_or(QString());

        int status = Success;
        auto session = openModuleSession(ctx, status);
        if (!session)
            return status;
        RunContext& run = *session->context;
        Database& db = session->db();
        const int userCode = run.login.userCode;

        terminal::TerminalSetup setup;
        setup.db = &db;
        setup.clientNumber = run.institution.clientNumber;
        setup.minuteStep = run.params.wprowadzanieMinut;
        if (moment.isValid())
            setup.clock = [moment] { return moment; };
        setup.passwordMatches = [&db, userCode](const QString& p) { return terminal::userPasswordMatches(db, userCode, p); };
        setup.logFolder = optionValue(ctx, QStringLiteral("log-dir")).value_or(terminal::defaultLogFolder());

        terminal::AttendanceTerminal term(setup);
        term.tick();
        // The mode is the one asked for, whatever the time of day suggests.
        term.setMode(ctx.options.isSet(QStringLiteral("departure")) ? terminal::Mode::Departure : terminal::Mode::Arrival);

        qsizetype next = 0;
        // Answers the open question from the options; false when none is left.
        auto answerQuestion = [&]() -> bool {
            const terminal::Question q = term.question();
            if (!q.cancel) {
                // A message only waits for OK; it takes no answer of the options.
                ctx.out << QStringLiteral("Komunikat: ") << lines(q.text) << '\n';
                term.answer(terminal::Reply::Ok);
                return true;
            }
            ctx.out << QStringLiteral("Pytanie: ") << lines(q.text) << '\n' << buttons(q) << '\n';
            if (next >= answers.size()) {
                ctx.err << QStringLiteral("Brak odpowiedzi na pytanie (opcja --answer)") << '\n';
                return false;
            }
            const terminal::Reply r = answers[next++];
            ctx.out << QStringLiteral("Odpowiedź: ") << replyText(r) << '\n';
            term.answer(r, password);
            return true;
        };

        term.setCode(code);
        while (term.question().isOpen())
            if (!answerQuestion())
                return int(Failed);
        if (term.child())
            ctx.out << term.child()->name << '\n' << term.child()->groupText() << '\n';
        if (term.listShown() && term.matches().size() > 1) {
            for (const terminal::ChildInfo& c : term.matches())
                ctx.out << c.kod << '\t' << c.name << '\n';
            ctx.err << QStringLiteral("Nazwa wskazuje więcej niż jedno dziecko") << '\n';
            return int(Failed);
        }
        term.pressOk();
        while (term.question().isOpen())
            if (!answerQuestion())
                return int(Failed);
        if (!term.result().isEmpty())
            ctx.out << lines(term.result()).trimmed() << '\n';
        return int(term.lastWritten() ? Success : Failed);
    });
}

const Registration registration{{
    QStringLiteral("terminal"),
    QStringLiteral("terminal --code KOD [--at \"RRRR-MM-DD GG:MM\"] [--departure] [--user-password HASŁO] "
                   "[--answer ok|cancel|delete]... [--log-dir KATALOG]"),
    runTerminal,
    {
        {QStringLiteral("code"), QStringLiteral("Kod dziecka wpisany w terminalu (lub część nazwiska)."), QStringLiteral("KOD")},
        {QStringLiteral("at"), QStringLiteral("Chwila wprowadzenia; domyślnie teraz."), QStringLiteral("RRRR-MM-DD GG:MM")},
        {QStringLiteral("departure"), QStringLiteral("Czas wyjścia zamiast czasu przyjścia.")},
        {QStringLiteral("user-password"), QStringLiteral("Hasło aktualnego użytkownika wpisywane w pytaniach terminalu."),
         QStringLiteral("HASŁO")},
        {QStringLiteral("answer"), QStringLiteral("Odpowiedź na kolejne pytanie: ok, cancel lub delete (można powtarzać)."),
         QStringLiteral("ODPOWIEDŹ")},
        {QStringLiteral("log-dir"), QStringLiteral("Katalog dziennika terminalu; domyślnie OBEC obok programu."),
         QStringLiteral("KATALOG")},
    },
}};

}  // namespace

}  // namespace cli
