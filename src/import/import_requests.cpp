#include "import_requests.h"

#include "browser/message_log.h"
#include "browser/prompts.h"
#include "browser/run_context.h"
#include "fees/settlement_months.h"
#include "store/error.h"
#include "store/query.h"

namespace import {

QString currentConfiguration(Database& db)
{
    return Query(db, QStringLiteral("SELECT PARAMS FROM OPCJE")).scalar().toString();
}

namespace {

ImportRequest common(RunContext& context, ImportTarget target, const QString& section)
{
    ImportRequest r;
    r.target = target;
    r.section = section;
    r.configurationText = currentConfiguration(context.db());
    r.visibleGroups = context.login.visibleGroups;
    r.today = context.systemDate();
    return r;
}

}  // namespace

ImportRequest paymentsRequest(RunContext& context, int monthKod, int year, int month)
{
    ImportRequest r = common(context, ImportTarget::Payments, paymentsSection());
    r.monthKod = monthKod;
    r.defaultDate = QDate(year, month, 1).addMonths(1).addDays(-1);
    return r;
}

ImportRequest chargesRequest(RunContext& context, int monthKod, int year, int month, const QString& type)
{
    ImportRequest r = common(context, ImportTarget::Charges, chargesSection());
    r.monthKod = monthKod;
    r.type = type;
    r.defaultDate = QDate(year, month, 1);
    return r;
}

ImportRequest attendanceRequest(RunContext& context, const QDate& day, bool monthly)
{
    ImportRequest r = common(context, monthly ? ImportTarget::MonthlyAttendance : ImportTarget::DailyAttendance,
                             attendanceSection());
    r.defaultDate = day;
    r.type = fees::freeDaysOf(context.db(), day.year(), day.month());
    return r;
}

bool importFromWindow(RunContext& context, const ImportRequest& request)
{
    try {
        const ImportReport report = runImport(context.db(), context.prompts, request);
        if (!report.notes.isEmpty() && context.messages) {
            context.messages->clearMessages();
            context.messages->setTitle(request.section);
            for (const QString& n : report.notes)
                context.messages->addRemark(n);
            context.messages->showRemarksOnly();
        }
        return report.written > 0;
    } catch (const Error& e) {
        context.prompts.showError(e.message());
        return false;
    }
}

bool monthOfRecord(Database& db, int monthKod, int& year, int& month)
{
    Query q(db, QStringLiteral("SELECT ROK, MIES FROM MIESIACE WHERE KOD = :K"));
    q.bind(QStringLiteral("K"), monthKod).exec();
    if (!q.next())
        return false;
    year = q.value(0).toInt();
    month = q.value(1).toInt();
    return true;
}

std::optional<bool> askAttendanceKind(Prompts& prompts)
{
    const int b = prompts.askChoice(QStringLiteral("Import obecności"), QStringLiteral("Chcesz wczytać obecności?"),
                                    {QStringLiteral("Na każdy dzień"), QStringLiteral("Sumarycznie za miesiąc")});
    if (b == -1)
        return false;
    if (b == -2)
        return true;
    return std::nullopt;
}

}  // namespace import
