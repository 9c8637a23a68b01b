#include "statement_fields.h"

#include "amount_in_words.h"
#include "template_data_fields.h"
#include "template_field_values.h"

#include "store/money.h"

#include <cmath>

namespace printouts {

DataFieldValues statementFields(std::shared_ptr<const StatementData> data, std::shared_ptr<const StatementLines> lines)
{
    DataFieldValues fields;
    fields.knows = [](const QString& name) { return isDataFieldOffered(TemplateType::Statements, name); };
    fields.value = [data, lines](const QString& name, const report::RunState& state) -> QString {
        if (name == QStringLiteral("Tytuł raportu"))
            return data->title;
        if (name == QStringLiteral("Miesiąc raportu"))
            return reportMonth(data->year, data->month);
        if (name == QStringLiteral("Data operacji"))
            return operationDate(data->options.day);
        if (name == QStringLiteral("Tekst 1"))
            return data->text1;
        if (name == QStringLiteral("Tekst 2"))
            return data->text2;
        const QVariant index = state.value(childField());
        if (!index.isValid() || index.isNull() || index.toInt() < 0 || index.toInt() >= lines->children.size())
            return {};
        const StatementChild& child = lines->children.at(index.toInt());
        if (name == QStringLiteral("Wartość naliczenia"))
            return statementMoney(child.chargeTotal) + QStringLiteral(" zł");
        if (name == QStringLiteral("Wartość naliczenia słownie"))
            return amountInWords(money::round(child.chargeTotal));
        if (name == QStringLiteral("Wartość salda"))
            return child.balance ? statementMoney(std::abs(*child.balance)) + QStringLiteral(" zł") : QString();
        if (name == QStringLiteral("Wartość salda słownie"))
            return child.balance ? amountInWords(money::round(*child.balance)) : QString();
        if (name == QStringLiteral("Znak salda")) {
            if (!child.balance)
                return {};
            // The sign of the amount as printed: a balance rounding to 0,00 is no overpayment.
            return money::round(*child.balance) > 0 ? QStringLiteral("Nadpłata") : data->arrearsText;
        }
        return childFieldValue(name, data->children.value(child.kod), data->institution.clientNumber)
            .value_or(QString());
    };
    return fields;
}

}  // namespace printouts
