#include "option_values.h"

#include "cli.h"

#include "store/year_range.h"

#include <QRegularExpression>

namespace cli {

namespace {

QString yearRangeMessage(const QString& option, const QString& text)
{
    return QStringLiteral("Opcja %1: rok musi być z zakresu %2–%3, podano „%4”")
        .arg(option)
        .arg(polish::firstYear)
        .arg(polish::lastYear)
        .arg(text);
}

}  // namespace

YearMonth parseMonth(const QString& text, const QString& option)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{4})-(\\d{1,2})$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    const int month = m.hasMatch() ? m.captured(2).toInt() : 0;
    if (!m.hasMatch() || month < 1 || month > 12)
        throw UsageError(QStringLiteral("Opcja %1: oczekiwano miesiąca RRRR-MM, podano „%2”").arg(option, text));
    const int year = m.captured(1).toInt();
    if (!polish::yearInRange(year))
        throw UsageError(yearRangeMessage(option, text));
    return {year, month};
}

QDate parseDate(const QString& text, const QString& option)
{
    const QDate d = QDate::fromString(text.trimmed(), Qt::ISODate);
    if (!d.isValid())
        throw UsageError(QStringLiteral("Opcja %1: oczekiwano daty RRRR-MM-DD, podano „%2”").arg(option, text));
    if (!polish::yearInRange(d.year()))
        throw UsageError(yearRangeMessage(option, text));
    return d;
}

int parseCode(const QString& text, const QString& option)
{
    bool ok = false;
    const int code = text.trimmed().toInt(&ok);
    if (!ok)
        throw UsageError(QStringLiteral("Opcja %1: oczekiwano kodu liczbowego, podano „%2”").arg(option, text));
    return code;
}

std::optional<QString> optionValue(const Context& ctx, const QString& name)
{
    if (!ctx.options.isSet(name))
        return std::nullopt;
    return ctx.options.value(name);
}

QString requiredOption(const Context& ctx, const QString& name)
{
    if (!ctx.options.isSet(name) || ctx.options.value(name).trimmed().isEmpty())
        throw UsageError(QStringLiteral("Brak opcji --%1").arg(name));
    return ctx.options.value(name);
}

std::optional<QStringList> optionList(const Context& ctx, const QString& name)
{
    if (!ctx.options.isSet(name))
        return std::nullopt;
    QStringList items;
    for (const QString& value : ctx.options.values(name))
        for (const QString& item : value.split(QLatin1Char(','), Qt::SkipEmptyParts))
            if (!item.trimmed().isEmpty())
                items << item.trimmed();
    // "--components ,,," names nothing: the command would do nothing and say it succeeded.
    if (items.isEmpty())
        throw UsageError(QStringLiteral("Opcja --%1 nie wskazuje niczego").arg(name));
    return items;
}

std::optional<QList<int>> optionCodes(const Context& ctx, const QString& name)
{
    const std::optional<QStringList> items = optionList(ctx, name);
    if (!items)
        return std::nullopt;
    QList<int> codes;
    for (const QString& item : *items)
        codes << parseCode(item, QStringLiteral("--") + name);
    return codes;
}

}  // namespace cli
