#pragma once
// The templates every new store comes with: a letter and an address-label
// sheet, a settlement statement, a payment confirmation and an invoice,
// laid out with the data fields and band markers their documents print.

#include "print_template.h"

#include <QList>
#include <QString>

class Database;

namespace printouts {

struct DeliveredTemplate {
    TemplateType type = TemplateType::Letters;
    QString name;  // SZABLONY.NAZWA
    PrintTemplate layout;
};

// In type order.
QList<DeliveredTemplate> deliveredTemplates();

// For every template type the store has no template of, adds the delivered
// templates of that type; adds the KODY name of the invoice type ("Faktura",
// "Faktury") when it is missing. One transaction, with the connection's
// rights. Returns how many templates were added.
int addDeliveredTemplates(Database& db);

}  // namespace printouts
