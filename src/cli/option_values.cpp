#include "option_values.h"

#include "cli.h"

#include <QRegularExpression>

namespace cli {

YearMonth parseMonth(const QString& text, const QString& option)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{4})-(\\d{1,2})$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    const int month = m.hasMatch() ? m.captured(2).toInt() : 0;
    if (!m.hasMatch() || month < 1 || month > 12)
        throw UsageError(QStringLiteral("Opcja %1: oczekiwano miesiąca RRRR-MM, podano „%2”").arg(option, text));
    return {m.captured(1).toInt(), month};
}

QDate parseDate(const QString& text, const QString& option)
{
    const QDate d = QDate::fromString(text.trimmed(), Qt::ISODate);
    if (!d.isValid())
        throw UsageError(QStringLiteral("Opcja %1: oczekiwano daty RRRR-MM-DD, podano „%2”").arg(option, text));
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
    return items;
}

}  // namespace cli
