#pragma once
// The printout window of executions of requests or deadlines: all of them
// or those of a period ("od", "do", a month back to the system date at
// first), printed at once, previewed or with the printer set up first.
// Closing it discards it and unchecks the command that opened it.

#include "communication/execution_report.h"
#include "printouts/ui/report_print_dialog.h"

class AreaRegistry;
class QDateEdit;
class QRadioButton;
struct Command;

class TFmWydTerm : public ReportPrintDialog {
    Q_OBJECT
public:
    TFmWydTerm(RunContext& context, const executions::PrintRequest& request, QWidget* parent = nullptr);
    ~TFmWydTerm() override;

    QRadioButton* allButton() const { return m_all; }
    QRadioButton* periodButton() const { return m_period; }
    QDateEdit* fromEdit() const { return m_from; }
    QDateEdit* toEdit() const { return m_to; }

    // The request as the controls set it.
    executions::PrintRequest request() const;

    std::shared_ptr<report::Job> makeJob() override;

private:
    executions::PrintRequest m_request;
    QRadioButton* m_all = nullptr;
    QRadioButton* m_period = nullptr;
    QDateEdit* m_from = nullptr;
    QDateEdit* m_to = nullptr;
};

// The area executions::printArea() the registers' report commands open.
void registerExecutionPrintArea(AreaRegistry& areas);
