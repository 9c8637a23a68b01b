#include "printouts/exports.h"
#include "printouts/ui/page_view.h"
#include "printouts/ui/preview_steps.h"
#include "printouts/ui/report_preview.h"
#include "support/scripted_prompts.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPointer>
#include <QPrinter>
#include <QScrollBar>
#include <QSemaphore>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QUrl>
#include <QWheelEvent>

#include <atomic>
#include <gtest/gtest.h>

namespace {

// A report of `count` pages, each holding "Strona n"; it can hold back the
// pages after `holdAfter` until released, as a long report would.
class PagesJob : public report::Job {
public:
    PagesJob(QString title, int count, int holdAfter = -1)
        : m_title(std::move(title)), m_count(count), m_holdAfter(holdAfter) {}

    QString title() const override { return m_title; }
    report::PreparedPages run(report::Purpose, const report::PageSink& sink) const override
    {
        report::PreparedPages out;
        out.title = m_title;
        for (int n = 1; n <= m_count; ++n) {
            if (n == m_holdAfter + 1)
                m_release.tryAcquire(1, 10000);
            report::Page page;
            report::TextBox box;
            box.rect = QRectF(40, 40, 300, 20);
            box.lines = {QStringLiteral("Strona %1").arg(n)};
            box.lineHeight = 16;
            box.ascent = 12;
            page.items << box;
            out.pages << page;
            ++m_made;
            if (sink && !sink(page, n, n * 100 / m_count))
                break;
            if (m_pause > 0)
                QThread::msleep(m_pause);
        }
        return out;
    }
    void release() const { m_release.release(); }
    int made() const { return m_made; }
    void setPause(int ms) { m_pause = ms; }

private:
    QString m_title;
    int m_count;
    int m_holdAfter;
    int m_pause = 0;
    mutable QSemaphore m_release;
    mutable std::atomic<int> m_made{0};
};

bool waitPrepared(TReportPreview* p)
{
    return QTest::qWaitFor([p] { return p->isPrepared(); }, 10000);
}

QString firstText(const report::Page& page)
{
    for (const report::Primitive& item : page.items)
        if (const auto* box = std::get_if<report::TextBox>(&item))
            return box->text();
    return {};
}

class Preview : public ::testing::Test {
protected:
    ~Preview() override
    {
        for (QPointer<TReportPreview>& p : m_opened)
            delete p.data();
    }
    TReportPreview* open(const std::shared_ptr<report::Job>& job)
    {
        TReportPreview* p = TReportPreview::open(job, prompts);
        m_opened << p;
        QApplication::setActiveWindow(p);
        return p;
    }
    ScriptedPrompts prompts;
    QTemporaryDir dir;

private:
    QList<QPointer<TReportPreview>> m_opened;
};

}  // namespace

TEST(PreviewSteps, ProgressShownInStepsOfFiveAndClearedAtBothEnds)
{
    preview::ProgressPanel panel;
    EXPECT_EQ(panel.update(3), "");
    EXPECT_EQ(panel.update(5), "5%");
    EXPECT_EQ(panel.update(9), "5%");
    EXPECT_EQ(panel.update(10), "10%");
    EXPECT_EQ(panel.update(37), "37%");
    EXPECT_EQ(panel.update(100), "");
    // Counting starts again after a clear.
    EXPECT_EQ(panel.update(4), "");
    EXPECT_EQ(panel.update(6), "6%");
    EXPECT_EQ(panel.update(0), "");
}

TEST(PreviewSteps, WheelCarriesTheRemainderBothWays)
{
    preview::WheelSteps wheel;
    EXPECT_EQ(wheel.add(60), 0);
    EXPECT_EQ(wheel.add(60), 1);
    EXPECT_EQ(wheel.add(60), 0);
    EXPECT_EQ(wheel.remainder(), 60);
    EXPECT_EQ(wheel.add(60), 1);
    EXPECT_EQ(wheel.add(-300), -2);
    EXPECT_EQ(wheel.remainder(), -60);
    EXPECT_EQ(wheel.add(180), 1);
    EXPECT_EQ(wheel.remainder(), 0);
}

TEST(PreviewSteps, PagesStayInRangeAndZoomModesFit)
{
    EXPECT_EQ(preview::previousPage(1, 4), 1);
    EXPECT_EQ(preview::nextPage(4, 4), 4);
    EXPECT_EQ(preview::nextPage(2, 4), 3);
    EXPECT_EQ(preview::firstPage(0), 0);
    EXPECT_EQ(preview::nextPage(0, 0), 0);
    EXPECT_EQ(preview::pageStatus(2, 7), "Strona 2 z 7");

    const QSizeF a4 = report::a4Portrait();
    const QSizeF viewport(1000, 600);
    const double byWidth = preview::zoomFor(preview::ZoomMode::PageWidth, a4, viewport, 96, 10);
    const double whole = preview::zoomFor(preview::ZoomMode::WholePage, a4, viewport, 96, 10);
    EXPECT_NEAR(a4.width() * byWidth, 980, 0.5);
    EXPECT_NEAR(a4.height() * whole, 580, 0.5);
    EXPECT_EQ(preview::zoomFor(preview::ZoomMode::Actual, a4, viewport, 96, 10), 1.0);
}

TEST_F(Preview, OpensOnWidthZoomAndPagesWithKeysWithinTheReport)
{
    auto job = std::make_shared<PagesJob>("Lista grup", 5);
    TReportPreview* p = open(job);
    EXPECT_EQ(p->windowTitle(), "Lista grup");
    EXPECT_TRUE(p->isMaximized());
    EXPECT_TRUE(p->action("Dopasuj do szerokości")->isChecked());
    EXPECT_FALSE(p->action("100%")->isChecked());
    ASSERT_TRUE(waitPrepared(p));
    EXPECT_EQ(p->pageText(), "Strona 1 z 5");
    EXPECT_EQ(p->progressText(), "");

    auto key = [p](int k, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::keyClick(p->view(), Qt::Key(k), m);
        return p->view()->currentPage();
    };
    EXPECT_EQ(key(Qt::Key_PageUp), 1);
    EXPECT_EQ(key(Qt::Key_PageDown), 2);
    EXPECT_EQ(p->pageText(), "Strona 2 z 5");
    EXPECT_EQ(key(Qt::Key_End), 5);
    EXPECT_EQ(key(Qt::Key_PageDown), 5);
    EXPECT_EQ(p->pageText(), "Strona 5 z 5");
    EXPECT_EQ(key(Qt::Key_Home), 1);
    EXPECT_EQ(key(Qt::Key_PageDown, Qt::ControlModifier), 5);
    EXPECT_EQ(key(Qt::Key_PageUp, Qt::ControlModifier), 1);

    // The zoom buttons exclude each other; the fit follows the window.
    p->action("100%")->trigger();
    EXPECT_TRUE(p->action("100%")->isChecked());
    EXPECT_FALSE(p->action("Dopasuj do szerokości")->isChecked());
    EXPECT_DOUBLE_EQ(p->view()->zoom(), 1.0);
    // As the user does it: a click on the toolbar button.
    auto* bar = p->findChild<QToolBar*>();
    QTest::mouseClick(bar->widgetForAction(p->action("Dopasuj do kształtu")), Qt::LeftButton);
    EXPECT_TRUE(p->action("Dopasuj do kształtu")->isChecked());
    const double whole = p->view()->zoom();
    EXPECT_LT(whole, 1.0);
    p->action("Dopasuj do szerokości")->trigger();
    EXPECT_GT(p->view()->zoom(), whole);

    // Esc closes the window.
    QPointer<TReportPreview> guard(p);
    QTest::keyClick(p->view(), Qt::Key_Escape);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());
}

TEST_F(Preview, PagesShowWhileThePreparationRunsAndPrintingWaitsForTheEnd)
{
    auto job = std::make_shared<PagesJob>("Długi raport", 5, 2);
    TReportPreview* p = open(job);
    ASSERT_TRUE(QTest::qWaitFor([p] { return p->view()->pageCount() == 2; }, 10000));
    QApplication::processEvents();
    EXPECT_EQ(p->pageText(), "Strona 1 z 2");
    EXPECT_EQ(p->progressText(), "40%");
    EXPECT_FALSE(p->isPrepared());
    EXPECT_FALSE(p->action("Drukuj")->isEnabled());
    EXPECT_FALSE(p->action("Ustawienia drukarki")->isEnabled());
    p->nextPage();
    EXPECT_EQ(p->pageText(), "Strona 2 z 2");

    job->release();
    ASSERT_TRUE(waitPrepared(p));
    EXPECT_EQ(p->pageText(), "Strona 2 z 5");
    EXPECT_EQ(p->progressText(), "");
    EXPECT_TRUE(p->action("Drukuj")->isEnabled());
    EXPECT_TRUE(p->action("Ustawienia drukarki")->isEnabled());
    EXPECT_EQ(firstText(p->pages().pages.at(4)), "Strona 5");
}

TEST_F(Preview, ClosingStopsThePreparation)
{
    auto job = std::make_shared<PagesJob>("Raport", 500);
    job->setPause(5);
    QPointer<TReportPreview> p = open(job);
    ASSERT_TRUE(QTest::qWaitFor([&p] { return p->view()->pageCount() > 0; }, 10000));
    p->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(p.isNull());
    const int made = job->made();
    EXPECT_LT(made, 500);
    QTest::qWait(50);
    EXPECT_EQ(job->made(), made);
}

TEST_F(Preview, OnePreviewPerReport)
{
    auto job = std::make_shared<PagesJob>("Raport", 2);
    QPointer<TReportPreview> first = open(job);
    QPointer<TReportPreview> second = open(job);
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    ASSERT_FALSE(second.isNull());
    EXPECT_EQ(TReportPreview::openFor(job.get()), second.data());
    // Another report keeps its own.
    auto other = std::make_shared<PagesJob>("Inny", 1);
    QPointer<TReportPreview> third = open(other);
    EXPECT_FALSE(second.isNull());
    EXPECT_EQ(TReportPreview::openFor(other.get()), third.data());
}

TEST_F(Preview, WheelScrollsOneStepPer120UnitsCarryingTheRest)
{
    auto job = std::make_shared<PagesJob>("Raport", 3);
    TReportPreview* p = open(job);
    ASSERT_TRUE(waitPrepared(p));
    QScrollBar* bar = p->view()->verticalScrollBar();
    const int start = bar->value();
    auto wheel = [p](int delta) {
        QWheelEvent e(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(p->view()->viewport(), &e);
    };
    const int step = p->view()->scrollStep();
    wheel(-60);
    EXPECT_EQ(bar->value(), start);
    wheel(-60);
    EXPECT_EQ(bar->value(), start + step);
    wheel(-60);
    EXPECT_EQ(bar->value(), start + step);
    wheel(-60);
    EXPECT_EQ(bar->value(), start + 2 * step);
    wheel(120);
    EXPECT_EQ(bar->value(), start + step);

    QTest::keyClick(p->view(), Qt::Key_Down);
    EXPECT_EQ(bar->value(), start + 2 * step);
    QTest::keyClick(p->view(), Qt::Key_Up);
    EXPECT_EQ(bar->value(), start + step);
}

TEST_F(Preview, LoadingAMissingFileSaysSoAndKeepsTheReport)
{
    auto job = std::make_shared<PagesJob>("Raport", 2);
    TReportPreview* p = open(job);
    ASSERT_TRUE(waitPrepared(p));
    prompts.expectOpenFile("Wczytaj raport", dir.filePath("brak.qrp"));
    p->action("Wczytaj raport")->trigger();
    EXPECT_EQ(prompts.shown().value(0), "Plik nie istnieje");
    EXPECT_EQ(p->view()->pageCount(), 2);
    EXPECT_TRUE(p->action("Ustawienia drukarki")->isEnabled());
    EXPECT_EQ(prompts.asked().value(0).offered, QStringList{"Pliki raportu (*.QRP)|*.QRP"});
    EXPECT_TRUE(prompts.done());
}

TEST_F(Preview, SavedPagesLoadBackAndPrintWithoutPrinterSetUp)
{
    auto job = std::make_shared<PagesJob>("Trzy strony", 3);
    TReportPreview* p = open(job);
    ASSERT_TRUE(waitPrepared(p));
    const QString file = dir.filePath("raport.qrp");
    prompts.expectSaveFile("Zapisz raport", file);
    p->action("Zapisz raport")->trigger();
    ASSERT_TRUE(QFile::exists(file)) << prompts.shown().join("\n").toStdString();
    // The formats in the dialog's order, the prepared pages first.
    const QString filter = prompts.asked().value(0).offered.value(0);
    EXPECT_TRUE(filter.startsWith("Pliki raportu (*.QRP)|*.QRP|Pliki PDF (*.PDF)|*.PDF|")) << filter.toStdString();
    EXPECT_EQ(filter.count('|'), 2 * int(report::exportFormats().size()) - 1);

    TReportPreview* q = open(std::make_shared<PagesJob>("Inny", 1));
    ASSERT_TRUE(waitPrepared(q));
    prompts.expectOpenFile("Wczytaj raport", file);
    q->action("Wczytaj raport")->trigger();
    EXPECT_TRUE(prompts.shown().isEmpty()) << prompts.shown().join("\n").toStdString();
    EXPECT_EQ(q->view()->pageCount(), 3);
    EXPECT_EQ(q->view()->currentPage(), 1);
    EXPECT_EQ(q->pageText(), "Strona 1 z 3");
    EXPECT_EQ(firstText(q->pages().pages.at(2)), "Strona 3");
    EXPECT_FALSE(q->action("Ustawienia drukarki")->isEnabled());
    EXPECT_TRUE(q->action("Drukuj")->isEnabled());

    // "Drukuj" prints what was loaded: here to a PDF file in place of a printer.
    const QString pdf = dir.filePath("druk.pdf");
    q->printer().setOutputFileName(pdf);
    q->action("Drukuj")->trigger();
    QFile printed(pdf);
    ASSERT_TRUE(printed.open(QIODevice::ReadOnly));
    const QByteArray bytes = printed.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r"), 3);
    EXPECT_TRUE(prompts.done());
}

TEST_F(Preview, PrinterSetUpAsksBeforePrinting)
{
    auto job = std::make_shared<PagesJob>("Raport", 2);
    TReportPreview* p = open(job);
    ASSERT_TRUE(waitPrepared(p));
    const QString pdf = dir.filePath("druk.pdf");
    int dialogs = 0;
    p->printerDialog = [&](QPrinter& printer) {
        ++dialogs;
        printer.setOutputFileName(pdf);
        return true;
    };
    prompts.expectYesNo("Drukować dokument?", false);
    p->action("Ustawienia drukarki")->trigger();
    EXPECT_EQ(dialogs, 1);
    EXPECT_FALSE(QFile::exists(pdf));
    prompts.expectYesNo("Drukować dokument?", true);
    p->action("Ustawienia drukarki")->trigger();
    EXPECT_TRUE(QFile::exists(pdf));
    // A cancelled set-up asks nothing.
    p->printerDialog = [](QPrinter&) { return false; };
    p->action("Ustawienia drukarki")->trigger();
    EXPECT_TRUE(prompts.done());
}

TEST_F(Preview, SendingWritesThePdfAndHandsItToTheMailProgram)
{
    auto job = std::make_shared<PagesJob>("Lista dzieci", 1);
    TReportPreview* p = open(job);
    ASSERT_TRUE(waitPrepared(p));

    // A mail program that notes what it was given.
    const QString script = dir.filePath("mailer.sh");
    const QString notes = dir.filePath("args.txt");
    {
        QFile f(script);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do echo \"$a\" >> '%1'; done\n").arg(notes).toUtf8());
    }
    QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    p->mailProgram = script;
    const QString pdf = dir.filePath("lista.pdf");
    prompts.expectSaveFile("Wyślij raport", pdf);
    p->action("Wyślij raport")->trigger();
    EXPECT_EQ(prompts.asked().value(0).offered, QStringList{"Pliki PDF (*.PDF)|*.PDF"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(notes); }, 5000));
    QTest::qWait(100);
    QFile f(notes);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts),
              QStringList({"--subject", "Lista dzieci", "--attach", pdf}));
    QFile written(pdf);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.read(4) == "%PDF");
    EXPECT_TRUE(prompts.shown().isEmpty());

    // Without a mail program the file's folder is opened and the user told.
    QUrl opened;
    p->openFolder = [&opened](const QUrl& url) {
        opened = url;
        return true;
    };
    p->mailProgram = dir.filePath("no-such-mailer");
    prompts.expectSaveFile("Wyślij raport", pdf);
    p->action("Wyślij raport")->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !prompts.shown().isEmpty(); }, 5000));
    EXPECT_EQ(opened, QUrl::fromLocalFile(dir.path()));
    EXPECT_TRUE(prompts.shown().constFirst().contains("programu pocztowego"));
    EXPECT_TRUE(prompts.done());
}

TEST_F(Preview, OpenedFromAModalWindowItTakesInputItself)
{
    QWidget modal;
    modal.setWindowModality(Qt::ApplicationModal);
    modal.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &modal);
    TReportPreview* p = open(std::make_shared<PagesJob>("Raport", 1));
    EXPECT_EQ(p->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(QApplication::activeModalWidget(), p);
    delete p;
    modal.hide();
    TReportPreview* q = open(std::make_shared<PagesJob>("Raport", 1));
    EXPECT_EQ(q->windowModality(), Qt::NonModal);
}
