#pragma once
// The charges register of a month (TDMNalicz):
//   Nalicz    the computed (TYP 0) or approved (TYP 1) charge lines
//   Fakt      the invoices and correction invoices of the month
//   Pozycje   the lines of the current invoice, in LPF order
// Lines typed by hand get their price, value and VAT filled in; lines on an
// invoice change only through correction invoices (nalicz_correction.h);
// invoices are never deleted here.
//
// Opened for a month (or following the months list it is given), for all
// children or for one child, whose column is then hidden.

#include "browser/module.h"

#include "fees/nalicz_correction.h"
#include "fees/nalicz_dotyczy.h"
#include "fees/next_child_entry.h"

#include <memory>

class Table;

struct NaliczOptions {
    int month = 0;                   // MIESIACE.KOD, when no months list is followed
    QString type = QStringLiteral("0");  // NALICZ.TYP of the lines list
    int child = 0;                   // DZIECI.KOD in the one-child case, else 0
    DataSet* months = nullptr;       // the months list followed (MIESIACE), or null
    bool invoicesFirst = false;      // the module's window shows the invoices
};

class TDMNalicz : public TDMDane {
    Q_OBJECT
public:
    TDMNalicz(RunContext& context, const NaliczOptions& options, QObject* parent = nullptr);
    ~TDMNalicz() override;

    DataSet& lines() const { return *dataSet(QStringLiteral("Nalicz")); }
    // Null when the store has no invoices table.
    DataSet* invoices() const { return dataSet(QStringLiteral("Fakt")); }
    DataSet* invoiceLines() const { return dataSet(QStringLiteral("Pozycje")); }
    DataSet* mainDataSet() const override;

    // Invoicing is on and the store has the invoicing columns.
    bool invoicesInUse() const { return m_invoicing; }
    bool oneChild() const { return m_options.child != 0; }
    // The month the lists show now (MIESIACE.KOD); 0 when none.
    int currentMonth() const;

    // "Dotyczy" of the current line of `ds`, chosen from every month as
    // advance and as settlement; false when cancelled.
    bool chooseDotyczy(DataSet& ds);

    // A new opening of the lists asks again how children are entered.
    void restartChildEntry() { m_childEntry = fees::NextChildEntry(); }

    bool canInsert(const DataSet& ds) const override;
    bool canDelete(const DataSet& ds) const override;

    static QString dotWithoutSettlementQuestion()
    {
        return QStringLiteral("Pozycja nierozliczająca nie może mieć przypisanego miesiąca, który rozlicza\r\n"
                              "Wyczyścić przypisanie?");
    }

private:
    void setUpLines(DataSet& ds, bool invoiceView);
    void setUpInvoices(DataSet& ds);
    QList<FieldView> lineFields(bool invoiceView) const;
    QList<PickEntry> childrenForEntry() const;

    void newLine(Table& t);
    void lineFieldChanged(Table& t, const QString& field);
    void beforeLineEdit(Table& t);
    void beforeLinePost(Table& t);
    void beforeLineDelete(Table& t);
    void lineStateChanged(Table& t);
    void refreshAfterCorrection(Table& t);

    QString invoiceNumber(int number, int month);
    void invoiceCalcFields(Table& t);

    NaliczOptions m_options;
    bool m_invoicing = false;
    Table* m_children = nullptr;
    Table* m_components = nullptr;
    fees::MonthDirectory m_months;
    fees::NextChildEntry m_childEntry;
    std::unique_ptr<fees::CorrectionBook> m_book;
    Table* m_correcting = nullptr;  // the line table whose change waits for a correction
    QVariantMap m_original;         // that line as it was
    bool m_restoring = false;
    bool m_refreshAfterPost = false;
};
