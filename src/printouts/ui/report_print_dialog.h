#pragma once
// What every dialog that prints a report shares: the printer kept until the
// dialog closes and the buttons "Drukuj" (print at once), "Podgląd" (the
// preview) and "Drukarka" (printer set-up). A dialog adds its own options
// to body() and says how its report is made.

#include <QDialog>

#include <functional>
#include <memory>

class QDialogButtonBox;
class QPrinter;
class QVBoxLayout;
struct RunContext;

namespace report {
class Job;
}

class ReportPrintDialog : public QDialog {
    Q_OBJECT
public:
    ~ReportPrintDialog() override;

    // The report as the dialog's options set it; null after a failure that
    // has been shown.
    virtual std::shared_ptr<report::Job> makeJob() = 0;

    void print();         // "Drukuj"
    void preview();       // "Podgląd"
    void printerSetup();  // "Drukarka"

    QPrinter& printer();
    // The printer set-up dialog; replaceable in tests.
    std::function<bool(QPrinter&)> printerDialog;

    // Opens a print dialog as the areas do: modal and waited for when the
    // modal-windows setting is on, else shown and freed when closed.
    static void showFor(RunContext& context, ReportPrintDialog* dialog);

protected:
    ReportPrintDialog(RunContext& context, const QString& objectName, const QString& title, QWidget* parent);

    QVBoxLayout* body() const { return m_body; }
    // The three buttons under the dialog's options; a dialog may add more
    // to the box returned.
    QDialogButtonBox* addPrintButtons();
    // Runs before the printer set-up dialog.
    virtual void beforePrinterSetup() {}

    RunContext& m_context;

private:
    std::unique_ptr<QPrinter> m_printer;
    QVBoxLayout* m_body = nullptr;
};
