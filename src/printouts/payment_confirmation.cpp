// TRaportPotw: one payment, one detail row, the template around it.

#include "payment_confirmation.h"

#include "amount_in_words.h"
#include "grid_printout.h"
#include "report_engine.h"
#include "template_data_fields.h"
#include "template_field_values.h"
#include "template_render.h"

#include "browser/cell_text.h"
#include "store/database.h"
#include "store/error.h"
#include "store/money.h"
#include "store/query.h"
#include "store/schema.h"

namespace printouts {

namespace {

struct Payment {
    QDate date;
    QString title;
    double value = 0;
    ChildAddress child;
};

Payment readPayment(Database& db, int paymentId)
{
    Query q(db, QStringLiteral("select OSOBA, DATA, OPIS, WARTOSC from WPLATY where ID=:ID"));
    q.bind(QStringLiteral("ID"), paymentId).exec();
    if (!q.next())
        throw Error(QStringLiteral("Nie ma wpłaty o identyfikatorze %1").arg(paymentId));
    Payment p;
    const int child = q.value(0).toInt();
    p.date = q.value(1).toDate();
    p.title = q.value(2).toString();
    p.value = money::round(q.value(3).toDouble());
    p.child = readChildAddresses(db).value(child);
    return p;
}

DataFieldValues confirmationFields(std::shared_ptr<const Payment> payment)
{
    DataFieldValues fields;
    fields.knows = [](const QString& name) { return isDataFieldOffered(TemplateType::Confirmations, name); };
    fields.value = [payment](const QString& name, const report::RunState&) -> QString {
        if (name == QStringLiteral("Data operacji"))
            return operationDate(payment->date);
        if (name == QStringLiteral("Tytuł raportu"))
            return payment->title;
        if (name == QStringLiteral("Wartość naliczenia"))
            return cell::text(payment->value, FieldType::Float, QStringLiteral("#0.00")) + QStringLiteral(" zł");
        if (name == QStringLiteral("Wartość naliczenia słownie"))
            return amountInWords(payment->value);
        return childFieldValue(name, payment->child, 0).value_or(QString());
    };
    return fields;
}

}  // namespace

std::unique_ptr<report::Job> makeConfirmationJob(Database& db, int paymentId, const BuiltTemplate* layout)
{
    auto payment = std::make_shared<const Payment>(readPayment(db, paymentId));

    report::Report definition;
    definition.title = QStringLiteral("Potwierdzenie wpłaty");
    const TemplateBands bands =
        layout ? buildTemplateBands(layout->layout, TemplateDocument::Confirmations, confirmationFields(payment),
                                    layout->pictures)
               : TemplateBands{};
    definition.setLandscape(bands.landscape);
    report::Band detail = bands.band(2).value_or(report::Band{});
    if (!bands.band(2))
        detail.height = 0;
    detail.kind = report::BandKind::Detail;
    definition.detail = detail;
    definition.pageFooter = footerLineBand(report::footerLine(db), definition.bodyWidth());
    definition.pageFooter->kind = report::BandKind::PageFooter;

    report::Rows rows;
    rows.fields = QStringList{QStringLiteral("ID")};
    rows.rows.append(QVariantList{paymentId});
    return std::make_unique<report::ReportJob>(std::move(definition), std::move(rows));
}

}  // namespace printouts
