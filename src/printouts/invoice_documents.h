#pragma once
// The documents of the invoices printout read from the store and worked out
// before layout: each invoice or correction with its sections ('A' the
// correction's note, 'B' the corrected state, 'C' the new state, 'D' the
// positions or the difference), their lines, VAT breakdowns and totals.

#include "invoice_printout.h"
#include "template_field_values.h"

#include "store/institution.h"

#include <QChar>
#include <QDate>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>

class Database;

namespace printouts {

struct InvoiceLine {
    int position = 0;  // LPF
    QString service;   // the service, the Roman month, the year, a sibling's name
    std::optional<double> quantity;
    QString unit;
    std::optional<double> price;
    double gross = 0;  // WARTOSC
    double vat = 0;
    int rate = 0;       // STAWKA
    QString rateName;   // " " without a STAVAT row

    double net() const { return gross - vat; }
};

struct VatSums {
    double net = 0;
    double vat = 0;
    double gross = 0;
    // Whether any sum shows a grosz.
    bool isZero() const;
    void add(double lineGross, double lineVat);
};

struct VatLine {
    QString rateName;  // empty for the negative rate codes
    VatSums sums;
    bool first = false;  // "Razem wg stawek VAT" and the rule above
};

struct InvoiceSection {
    QChar type;       // 'A', 'B', 'C', 'D'
    QString heading;  // empty for 'A'
    bool showsItems = false;
    QList<InvoiceLine> lines;
    QList<VatLine> vatLines;  // only the lines that print
    VatSums total;            // "Razem"
};

struct InvoiceDocument {
    int id = 0;
    int number = 0;
    int year = 0;
    int month = 0;
    QDate issued;
    QDate due;
    int addressee = 0;
    QString title;           // TYTUL
    bool correction = false;
    QString documentTitle;   // "Faktura VAT" or "Faktura korygująca VAT"
    QString numberText;      // formatted by "FAKTURY FORMAT"
    QString originalNumberText;  // a correction's corrected document; empty when none
    QList<InvoiceSection> sections;
    double total = 0;        // the last section's gross total

    QString numberField() const { return documentTitle + QStringLiteral(" nr: ") + numberText; }
};

struct InvoiceDocuments {
    QList<InvoiceDocument> documents;  // in print order
    QHash<int, ChildAddress> children;
    Institution institution;
    QString footerLine;
    QString copyLabel;  // as printed
    int quantityDecimals = 4;
};

// Every document of the selection with its sections worked out: one read
// each of FAKT, NALICZ, MIESIACE, MEDIA, STAVAT and DZIECI.
InvoiceDocuments readInvoiceDocuments(Database& db, const InvoiceSelection& selection);

// "I" ... "XII"; empty for any other month number.
QString romanMonth(int month);

// The quantity format: "#0." and up to six "#".
QString quantityFormat(int decimals);

}  // namespace printouts
