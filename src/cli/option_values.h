#pragma once
// Reading the values of a command's options: months, dates, codes and code
// lists. A malformed value throws UsageError, which the commands turn into
// exit status 2 with the message.

#include "store/error.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace cli {

struct Context;

class UsageError : public Error {
public:
    using Error::Error;
};

struct YearMonth {
    int year = 0;
    int month = 0;

    QDate first() const { return QDate(year, month, 1); }
    QDate last() const { return first().addMonths(1).addDays(-1); }
    YearMonth previous() const { return month == 1 ? YearMonth{year - 1, 12} : YearMonth{year, month - 1}; }
    bool operator==(const YearMonth&) const = default;
};

// "YYYY-MM".
YearMonth parseMonth(const QString& text, const QString& option);
// "YYYY-MM-DD".
QDate parseDate(const QString& text, const QString& option);
// A whole number.
int parseCode(const QString& text, const QString& option);

// The option's value, nothing when it is not given.
std::optional<QString> optionValue(const Context& ctx, const QString& name);
// A required option's value; UsageError naming it when missing.
QString requiredOption(const Context& ctx, const QString& name);
// "K,L,M" from every occurrence of the option; nothing when it is not given.
std::optional<QStringList> optionList(const Context& ctx, const QString& name);
// The same as whole numbers (group or child codes).
std::optional<QList<int>> optionCodes(const Context& ctx, const QString& name);

}  // namespace cli
