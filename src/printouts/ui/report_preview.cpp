#include "printouts/ui/report_preview.h"

#include "browser/prompts.h"
#include "printouts/exports.h"
#include "printouts/page_painter.h"
#include "printouts/ui/page_view.h"
#include "printouts/ui/preview_icons.h"
#include "printouts/ui/print_pages.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QLabel>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>
#include <QtConcurrent/QtConcurrentRun>

namespace {

// The preview open for every owner: a report has at most one.
QHash<const void*, QPointer<TReportPreview>>& openPreviews()
{
    static QHash<const void*, QPointer<TReportPreview>> previews;
    return previews;
}

// The save dialog's filter: the formats in their order, each by its
// extension in capitals as the dialog shows them.
QString saveFilter()
{
    QStringList parts;
    for (const report::ExportFormat& f : report::exportFormats())
        parts << f.filter << QStringLiteral("*.") + f.extension.toUpper();
    return parts.join(QLatin1Char('|'));
}

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

TReportPreview* TReportPreview::openFor(const void* owner)
{
    return openPreviews().value(owner).data();
}

TReportPreview* TReportPreview::open(std::shared_ptr<report::Job> job, Prompts& prompts, const void* owner)
{
    if (!owner)
        owner = job.get();
    if (TReportPreview* old = openFor(owner)) {
        old->close();
        delete old;
    }
    auto* preview = new TReportPreview(std::move(job), prompts);
    preview->setAttribute(Qt::WA_DeleteOnClose);
    preview->m_owner = owner;
    openPreviews().insert(owner, preview);
    // Opened from a modal window, the preview must be modal too, or the
    // modal one would keep every click and key from it.
    if (QApplication::activeModalWidget())
        preview->setWindowModality(Qt::ApplicationModal);
    // Where no window manager maximises, the window still takes the screen.
    if (const QScreen* screen = preview->screen())
        preview->setGeometry(screen->availableGeometry());
    preview->showMaximized();
    preview->m_view->setFocus();
    return preview;
}

TReportPreview::TReportPreview(std::shared_ptr<report::Job> job, Prompts& prompts, QWidget* parent)
    : QMainWindow(parent), m_job(std::move(job)), m_prompts(prompts)
{
    const QString title = m_job ? m_job->title() : QString();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Podgląd wydruku") : title);
    m_pages.title = title;

    m_view = new PageView(this);
    setCentralWidget(m_view);
    connect(m_view, &PageView::currentPageChanged, this, &TReportPreview::refreshPageStatus);

    m_progressPanel = new QLabel(this);
    m_progressPanel->setMinimumWidth(60);
    m_pagePanel = new QLabel(this);
    statusBar()->addWidget(m_progressPanel);
    statusBar()->addWidget(m_pagePanel, 1);

    printerDialog = [this](QPrinter& printer) {
        QPrintDialog dialog(&printer, this);
        return dialog.exec() == QDialog::Accepted;
    };
    openFolder = [](const QUrl& url) { return QDesktopServices::openUrl(url); };

    buildActions();
    setPrepared(false);
    refreshPageStatus();
    startPreparation();
}

TReportPreview::~TReportPreview()
{
    stopPreparation();
    if (m_owner && openPreviews().value(m_owner) == this)
        openPreviews().remove(m_owner);
}

void TReportPreview::buildActions()
{
    QToolBar* bar = addToolBar(QStringLiteral("Podgląd"));
    bar->setMovable(false);
    bar->setIconSize(QSize(24, 24));
    auto add = [this, bar](const QString& hint, previewicons::Icon icon, const QList<QKeySequence>& keys,
                           void (TReportPreview::*slot)()) {
        auto* a = new QAction(previewicons::icon(icon, style()), hint, this);
        a->setToolTip(hint);
        a->setShortcuts(keys);
        a->setShortcutContext(Qt::WindowShortcut);
        if (slot)
            connect(a, &QAction::triggered, this, slot);
        bar->addAction(a);
        m_actions << a;
        return a;
    };
    auto* zoomWhole = add(QStringLiteral("Dopasuj do kształtu"), previewicons::Icon::WholePage, {}, nullptr);
    auto* zoomActual = add(QStringLiteral("100%"), previewicons::Icon::ActualSize, {}, nullptr);
    auto* zoomWidth = add(QStringLiteral("Dopasuj do szerokości"), previewicons::Icon::PageWidth, {}, nullptr);
    auto* zoomGroup = new QActionGroup(this);
    for (auto [a, mode] : {std::pair{zoomWhole, preview::ZoomMode::WholePage},
                           std::pair{zoomActual, preview::ZoomMode::Actual},
                           std::pair{zoomWidth, preview::ZoomMode::PageWidth}}) {
        a->setCheckable(true);
        zoomGroup->addAction(a);
        connect(a, &QAction::triggered, this, [this, mode] { zoom(mode); });
    }
    zoomWidth->setChecked(true);
    bar->addSeparator();
    add(QStringLiteral("Pierwsza strona"), previewicons::Icon::First,
        {QKeySequence(Qt::Key_Home), QKeySequence(Qt::CTRL | Qt::Key_PageUp)}, &TReportPreview::firstPage);
    add(QStringLiteral("Poprzednia strona"), previewicons::Icon::Previous, {QKeySequence(Qt::Key_PageUp)},
        &TReportPreview::previousPage);
    add(QStringLiteral("Następna strona"), previewicons::Icon::Next, {QKeySequence(Qt::Key_PageDown)},
        &TReportPreview::nextPage);
    add(QStringLiteral("Ostatnia Strona"), previewicons::Icon::Last,
        {QKeySequence(Qt::Key_End), QKeySequence(Qt::CTRL | Qt::Key_PageDown)}, &TReportPreview::lastPage);
    bar->addSeparator();
    add(QStringLiteral("Ustawienia drukarki"), previewicons::Icon::PrinterSetup, {}, &TReportPreview::printerSetup);
    add(QStringLiteral("Drukuj"), previewicons::Icon::Print, {}, &TReportPreview::print);
    bar->addSeparator();
    add(QStringLiteral("Zapisz raport"), previewicons::Icon::Save, {}, &TReportPreview::save);
    add(QStringLiteral("Wczytaj raport"), previewicons::Icon::Load, {}, &TReportPreview::load);
    add(QStringLiteral("Wyślij raport"), previewicons::Icon::Send, {}, &TReportPreview::send);
    bar->addSeparator();
    QAction* closeAction = add(QStringLiteral("&Zamknij"), previewicons::Icon::Close, {QKeySequence(Qt::Key_Escape)},
                               nullptr);
    closeAction->setToolTip(QStringLiteral("Zamknij"));
    connect(closeAction, &QAction::triggered, this, &QWidget::close);
}

QAction* TReportPreview::action(const QString& hint) const
{
    for (QAction* a : m_actions)
        if (a->toolTip() == hint || a->text() == hint)
            return a;
    return nullptr;
}

QString TReportPreview::progressText() const
{
    return m_progressPanel->text();
}

QString TReportPreview::pageText() const
{
    return m_pagePanel->text();
}

QPrinter& TReportPreview::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

// --- preparation -----------------------------------------------------------

void TReportPreview::startPreparation()
{
    if (!m_job) {
        setPrepared(true);
        return;
    }
    auto cancel = std::make_shared<std::atomic<bool>>(false);
    m_cancel = cancel;
    std::shared_ptr<report::Job> job = m_job;
    QPointer<TReportPreview> self(this);
    m_worker = QtConcurrent::run([job, cancel, self] {
        if (*cancel)
            return;
        const report::PageSink sink = [cancel, self](const report::Page& page, int, int percent) {
            if (*cancel)
                return false;
            // Posted to the window's thread; the window waits for this worker
            // before it goes, so it is there when the call arrives.
            QMetaObject::invokeMethod(
                self.data(), [self, page, percent] {
                    if (self)
                        self->pageReady(page, percent);
                },
                Qt::QueuedConnection);
            return !*cancel;
        };
        report::PreparedPages result = job->run(report::Purpose::Pages, sink);
        if (*cancel)
            return;
        QMetaObject::invokeMethod(
            self.data(), [self, result = std::move(result)] {
                if (self)
                    self->preparationDone(result);
            },
            Qt::QueuedConnection);
    });
}

void TReportPreview::stopPreparation()
{
    if (m_cancel)
        *m_cancel = true;
    m_worker.waitForFinished();
    m_cancel.reset();
}

void TReportPreview::pageReady(const report::Page& page, int percent)
{
    if (m_prepared)
        return;
    m_pages.pages.append(page);
    m_view->appendPage(page);
    showProgress(percent);
    refreshPageStatus();
}

void TReportPreview::preparationDone(const report::PreparedPages& result)
{
    // The finished run has what a page could not know while it was laid
    // out ("page n of m"): it replaces the pages shown so far.
    m_pages = result;
    m_view->replacePages(m_pages.pages);
    showProgress(100);
    setPrepared(true);
    refreshPageStatus();
    emit preparationFinished();
}

void TReportPreview::showProgress(int percent)
{
    m_progressPanel->setText(m_progress.update(percent));
}

void TReportPreview::refreshPageStatus()
{
    m_pagePanel->setText(preview::pageStatus(m_view->currentPage(), m_view->pageCount()));
}

void TReportPreview::setPrepared(bool prepared)
{
    m_prepared = prepared;
    // A loaded file has no report behind it to set up a printer for.
    action(QStringLiteral("Ustawienia drukarki"))->setEnabled(prepared && m_job);
    action(QStringLiteral("Drukuj"))->setEnabled(prepared);
    // Saving or sending half a report would give a file that looks whole.
    action(QStringLiteral("Zapisz raport"))->setEnabled(prepared);
    action(QStringLiteral("Wyślij raport"))->setEnabled(prepared);
}

// --- paging and zoom ---------------------------------------------------------

void TReportPreview::zoom(preview::ZoomMode mode)
{
    m_view->setZoomMode(mode);
}

void TReportPreview::firstPage()
{
    m_view->setCurrentPage(preview::firstPage(m_view->pageCount()));
    refreshPageStatus();
}

void TReportPreview::previousPage()
{
    m_view->setCurrentPage(preview::previousPage(m_view->currentPage(), m_view->pageCount()));
    refreshPageStatus();
}

void TReportPreview::nextPage()
{
    m_view->setCurrentPage(preview::nextPage(m_view->currentPage(), m_view->pageCount()));
    refreshPageStatus();
}

void TReportPreview::lastPage()
{
    m_view->setCurrentPage(preview::lastPage(m_view->pageCount()));
    refreshPageStatus();
}

// --- printing ----------------------------------------------------------------

void TReportPreview::printerSetup()
{
    if (!m_prepared || !m_job)
        return;
    if (!printerDialog || !printerDialog(printer()))
        return;
    if (m_prompts.askYesNo(QStringLiteral("Drukować dokument?")))
        print();
}

void TReportPreview::print()
{
    if (!m_prepared)
        return;
    QString error;
    {
        WaitCursor wait;
        error = report::printPages(printer(), m_pages);
    }
    if (!error.isEmpty())
        m_prompts.showError(error);
}

// --- files -------------------------------------------------------------------

void TReportPreview::save()
{
    if (!m_prepared)
        return;
    const QList<report::ExportFormat> formats = report::exportFormats();
    if (formats.isEmpty())
        return;
    FileDialogOptions options;
    options.title = QStringLiteral("Zapisz raport");
    options.filter = saveFilter();
    options.defaultExtension = formats.constFirst().extension;
    QString path;
    if (!m_prompts.saveFile(options, path) || path.isEmpty())
        return;
    const report::ExportFormat* format = report::formatOfFile(path);
    if (!format) {
        // A name without a known extension is saved as prepared pages.
        path += QLatin1Char('.') + formats.constFirst().extension;
        format = &formats.constFirst();
    }
    QString error;
    {
        WaitCursor wait;
        error = report::exportReport(m_pages, m_job.get(), *format, path);
    }
    if (!error.isEmpty())
        m_prompts.showError(error);
}

void TReportPreview::load()
{
    FileDialogOptions options;
    options.title = QStringLiteral("Wczytaj raport");
    options.filter = QStringLiteral("Pliki raportu (*.QRP)|*.QRP");
    options.defaultExtension = QStringLiteral("qrp");
    QString path;
    if (!m_prompts.openFile(options, path) || path.isEmpty())
        return;
    if (!QFileInfo::exists(path)) {
        m_prompts.showError(QStringLiteral("Plik nie istnieje"));
        return;
    }
    report::PreparedPages loaded;
    QString error;
    {
        WaitCursor wait;
        error = report::readPagesFile(path, loaded);
    }
    if (!error.isEmpty()) {
        m_prompts.showError(error);
        return;
    }
    // The file replaces the report: its preparation, if still running, stops.
    stopPreparation();
    m_job.reset();
    m_pages = loaded;
    m_view->setPages(m_pages.pages);
    m_view->setCurrentPage(1);
    showProgress(0);
    setPrepared(true);
    refreshPageStatus();
}

void TReportPreview::send()
{
    if (!m_prepared)
        return;
    FileDialogOptions options;
    options.title = QStringLiteral("Wyślij raport");
    options.filter = QStringLiteral("Pliki PDF (*.PDF)|*.PDF");
    options.defaultExtension = QStringLiteral("pdf");
    QString path;
    if (!m_prompts.saveFile(options, path) || path.isEmpty())
        return;
    QString error;
    {
        WaitCursor wait;
        error = report::writePdf(m_pages, path);
    }
    if (!error.isEmpty()) {
        m_prompts.showError(error);
        return;
    }
    mail(path);
}

void TReportPreview::mail(const QString& pdfFile)
{
    // The mail program may keep running while the user writes: it is not
    // waited for, and what it leaves behind is told when it ends.
    auto* process = new QProcess();
    process->setProgram(mailProgram);
    process->setArguments({QStringLiteral("--subject"), m_pages.title, QStringLiteral("--attach"), pdfFile});
    Prompts* prompts = &m_prompts;
    const auto openFolderFunction = openFolder;
    auto fallBack = [prompts, pdfFile, openFolderFunction] {
        const QString folder = QFileInfo(pdfFile).absolutePath();
        if (openFolderFunction)
            openFolderFunction(QUrl::fromLocalFile(folder));
        prompts->showInfo(QStringLiteral("Nie znaleziono programu pocztowego, który przyjąłby załącznik.\n"
                                         "Raport zapisano w pliku %1; jego folder został otwarty, "
                                         "aby można było dołączyć plik do wiadomości.")
                              .arg(QDir::toNativeSeparators(pdfFile)));
    };
    QObject::connect(process, &QProcess::errorOccurred, process, [process, fallBack](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart) {
            fallBack();
            process->deleteLater();
        }
    });
    QObject::connect(process, &QProcess::finished, process,
                     [process, fallBack](int code, QProcess::ExitStatus status) {
                         if (status != QProcess::NormalExit || code != 0)
                             fallBack();
                         process->deleteLater();
                     });
    process->start();
}

void TReportPreview::closeEvent(QCloseEvent* event)
{
    stopPreparation();
    QMainWindow::closeEvent(event);
}
