#pragma once
// The preview window of every printout: the prepared pages of one report,
// paged, zoomed, printed, saved in the export formats, loaded back from a
// prepared-pages file and sent by e-mail as a PDF. The pages are prepared on
// a worker and shown as they come, so a long report never freezes the window.

#include "printouts/report_job.h"
#include "printouts/ui/preview_steps.h"

#include <QFuture>
#include <QMainWindow>

#include <atomic>
#include <functional>
#include <memory>

class PageView;
class Prompts;
class QLabel;
class QPrinter;
class QUrl;

class TReportPreview : public QMainWindow {
    Q_OBJECT
public:
    // Opens the preview of a report, maximised. A preview still open for the
    // same owner (the job itself when none is given) is closed first: one
    // preview per report.
    static TReportPreview* open(std::shared_ptr<report::Job> job, Prompts& prompts, const void* owner = nullptr);
    // The preview open for the owner, or null.
    static TReportPreview* openFor(const void* owner);

    TReportPreview(std::shared_ptr<report::Job> job, Prompts& prompts, QWidget* parent = nullptr);
    ~TReportPreview() override;

    PageView* view() const { return m_view; }
    // The toolbar's action with this hint ("Drukuj", "Następna strona", …).
    QAction* action(const QString& hint) const;
    // True once every page is prepared (or a file was loaded).
    bool isPrepared() const { return m_prepared; }
    // The pages as prepared so far, with the report's title and description.
    const report::PreparedPages& pages() const { return m_pages; }
    QString progressText() const;
    QString pageText() const;
    QPrinter& printer();

    // --- the commands -------------------------------------------------------
    void zoom(preview::ZoomMode mode);
    void firstPage();
    void previousPage();
    void nextPage();
    void lastPage();
    void printerSetup();
    void print();
    void save();
    void load();
    void send();

    // --- what lies outside the program, replaceable in tests -----------------
    // The printer set-up dialog; true when the user confirmed it.
    std::function<bool(QPrinter&)> printerDialog;
    // The program that takes a file to mail (`--subject`, `--attach` as
    // xdg-email reads them).
    QString mailProgram = QStringLiteral("xdg-email");
    // Opens a folder in the desktop's file manager.
    std::function<bool(const QUrl&)> openFolder;

signals:
    void preparationFinished();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildActions();
    void startPreparation();
    void stopPreparation();
    void pageReady(const report::Page& page, int percent);
    void preparationDone(const report::PreparedPages& result);
    void showProgress(int percent);
    void refreshPageStatus();
    void setPrepared(bool prepared);
    // Hands the written PDF to the mail program.
    void mail(const QString& pdfFile);

    std::shared_ptr<report::Job> m_job;  // null once a file was loaded
    Prompts& m_prompts;
    PageView* m_view = nullptr;
    QLabel* m_progressPanel = nullptr;
    QLabel* m_pagePanel = nullptr;
    QList<QAction*> m_actions;
    report::PreparedPages m_pages;
    preview::ProgressPanel m_progress;
    std::unique_ptr<QPrinter> m_printer;
    bool m_prepared = false;
    // Shared with the worker: it stops at the next page once this is set.
    std::shared_ptr<std::atomic<bool>> m_cancel;
    QFuture<void> m_worker;
    const void* m_owner = nullptr;
};
