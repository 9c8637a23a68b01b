#pragma once
// The values of the data fields every template-driven document shares: the
// child's name and addresses, the child code, the institution, dates and
// months. Each document adds its own fields on top (invoices:
// invoice_fields.h).

#include "template_render.h"

#include "store/institution.h"

#include <QDate>
#include <QHash>
#include <QString>

#include <optional>

class Database;

namespace printouts {

// The DZIECI columns the data fields print.
struct ChildAddress {
    int kod = 0;
    QString nazwa, przedul, ulica, kodpocz, miasto, pesel;
    QString nazwakor, przedulkor, ulicakor, kodpoczkor, miastokor;
    QString dane1, dane2;
    int klasa = 0;
    bool aktywny = true;
};

// Every child in one read, by KOD.
QHash<int, ChildAddress> readChildAddresses(Database& db);

// "Nazwa", "Adres", "PESEL", "Nazwa kores.", "Adres kores.", "Nazwa i adres
// kores.", "Dane 1", "Dane 2", "Nazwa dzielona", "Kod" and "Kod kreskowy"
// of the child; nothing for any other name.
std::optional<QString> childFieldValue(const QString& field, const ChildAddress& child, int clientNumber);
bool isChildField(const QString& field);

// "Nazwa przedszkola", "Adres przedszkola" (on invoices the first ", " of
// the address becomes a line break) and "NIP przedszkola".
std::optional<QString> institutionFieldValue(const QString& field, const Institution& institution,
                                             TemplateDocument document);
bool isInstitutionField(const QString& field);

// A date as "Data operacji" prints it; a month as "Miesiąc raportu" does
// ("marzec 2024").
QString operationDate(QDate date);
QString reportMonth(int year, int month);

}  // namespace printouts
