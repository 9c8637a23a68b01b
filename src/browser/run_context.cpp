#include "run_context.h"

#include "store/table.h"
#include "store/tdm_baza.h"

Database& RunContext::db() const
{
    return baza.database();
}

QDate RunContext::systemDate() const
{
    return baza.systemDate();
}

bool RunContext::systemDateFilter() const
{
    return baza.systemDateFilter();
}

bool RunContext::passesSystemDateFilter(const QDate& from, const QDate& to) const
{
    if (!systemDateFilter())
        return true;
    const QDate today = systemDate();
    if (from.isValid() && from.addDays(-365) > today)
        return false;
    return !to.isValid() || to.addDays(365) >= today;
}

void RunContext::filterBySystemDate(Table& table) const
{
    table.setRowTest([this](const Table& row) {
        return passesSystemDateFilter(row.asDate(QStringLiteral("ODDATY")), row.asDate(QStringLiteral("DODATY")));
    });
}
