#pragma once
// The rows of a settlement statement read from the store before layout: the
// approved (or computed) charges of every month up to the statement month
// with their service and fee group, the payments and the payment
// confirmations, each a row as the statement reads it (charges negative,
// payments positive), in print order; the children and the texts the
// statement prints. One read per table for the period, filtered and
// grouped in memory.

#include "statement_options.h"
#include "template_field_values.h"

#include "store/institution.h"

#include <QChar>
#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

class Database;

namespace printouts {

struct StatementRow {
    int kodmies = 0;  // MIESIACE.KOD
    int year = 0;
    int month = 0;
    int child = 0;    // OSOBA
    QChar rozlicz;    // 'T' settled, 'N' advance; 'W' payment, 'V' confirmation
    int kolejg = 0;   // GRUPYOP.KOLEJ
    int feeGroup = 0; // MEDIA.GRUPAOP
    int kolejs = 0;   // MEDIA.KOLEJ
    int medium = 0;
    std::optional<double> quantity;
    QDate date;       // payments and confirmations
    QString unit;
    std::optional<double> price;
    double value = 0;  // -NALICZ.WARTOSC, WPLATY.WARTOSC, 0 for confirmations
    std::optional<int> dot;
    int id = 0;
    bool helpCentre = false;  // IDOPIE set

    int ym() const { return 12 * year + month; }
    bool isPayment() const { return rozlicz == QLatin1Char('W') || rozlicz == QLatin1Char('V'); }
};

struct StatementData {
    StatementOptions options;  // effective for the layout
    bool landscape = false;
    int monthKod = 0;
    int year = 0;
    int month = 0;
    int historyStart = 0;  // year × 100 + month; the statement month without history
    QString text1, text2;  // the month's TEKST1, TEKST2

    QList<StatementRow> rows;      // in print order
    QHash<int, ChildAddress> children;
    QHash<int, QString> sortValues;     // by child: the sort field's text
    QHash<int, QStringList> extraValues;  // by child: the "Dod. dane" fields' texts
    QHash<int, QString> services;       // MEDIA.NAZWA by KOD
    QHash<int, QString> feeGroups;      // GRUPYOP.NAZWA by KOD
    QHash<int, QPair<int, int>> months; // year and month by MIESIACE.KOD

    // Parameters.
    QString settledText, advanceText, paymentsText, arrearsText;
    bool groupFees = false;
    int quantityDecimals = 4;
    SortSetting sort;  // field empty unless "Zdefiniowany" applies
    QList<ExtraColumn> extraColumns;

    Institution institution;
    QString footerLine;
    QString title;
    QStringList subtitle;
};

// A child's sum over all its rows, taken to the grosz, and whether it has a
// confirmation in the statement month.
struct ChildBalance {
    int child = 0;
    double balance = 0;
    bool confirmation = false;
};

// Everything the statement prints for the options on a layout of the given
// orientation. The debt filter is applied here; "Wybrani" as `chosen`.
StatementData readStatementData(Database& db, const StatementOptions& options, bool landscape);

// The children of the rows in order of appearance with their balances.
QList<ChildBalance> childBalances(const StatementData& data);

// The children "Wybierz" offers: those the options print without `chosen`.
QList<int> statementChildren(Database& db, StatementOptions options, bool landscape);

// The report title and the subtitle lines.
QString statementTitle(bool payments);

}  // namespace printouts
