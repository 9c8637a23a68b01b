// Docking one browser into another: the drop, the docked box, the
// navigator working on the docked data, closing together and "Inside".

#include "browser/key_value_settings.h"
#include "browser/ui/dock_box.h"
#include "browser/ui/tfm_kartot.h"
#include "browser/ui/ui_window_opener.h"
#include "browser/docking_rules.h"
#include "store/error.h"
#include "store/table.h"
#include "support/browser_run.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGroupBox>
#include <QMimeData>
#include <QPointer>
#include <QSplitter>
#include <QTableView>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class Docking : public ::testing::Test {
protected:
    Docking() : windows(settings), run(&windows)
    {
        windows.setContext(run.context.get());
        run.seed({{"Motylki", 1}, {"Żabki", 2}});
        // A second cursor on KLASY, so that the two windows move apart.
        other = std::make_unique<KlasyModule>(*run.context);
        Command open;
        open.name = "Okno";
        open.caption = "&Okno grup";
        open.label = "Okno";
        open.opensWindow = true;
        open.handler = [this] { other->browse(other->klasy, "Drugie okno", run.module->klasy.command("Okno")); };
        run.module->klasy.commands = {open};
    }
    ~Docking() override
    {
        for (TFmKartot* w : windows.windows())
            delete w;
    }

    TFmKartot* openHost()
    {
        windows.browse(*run.module, run.module->klasy, "&Grupy", nullptr);
        TFmKartot* w = windows.last();
        w->resize(900, 600);
        return w;
    }
    TFmKartot* openSecond(TFmKartot* host)
    {
        host->commandAction(run.module->klasy.command("Okno"))->trigger();
        return windows.last();
    }

    // What a drag of the window's box carries.
    static QMimeData* dragOf(TFmKartot* w)
    {
        auto* data = new QMimeData;
        data->setData(docking::mimeType(), static_cast<DockBox*>(w->container())->payload());
        return data;
    }
    // A button of the window's own navigator, not of one docked in it.
    static QToolButton* navigatorButton(TFmKartot* w, const QString& name)
    {
        for (QToolButton* b : w->container()->findChildren<QToolButton*>(name))
            if (TFmPodstawa::holding(b) == w)
                return b;
        return nullptr;
    }
    static bool drop(TFmKartot* target, TFmKartot* source)
    {
        std::unique_ptr<QMimeData> data(dragOf(source));
        QDragEnterEvent enter(QPoint(10, 10), Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent dropped(QPointF(10, 10), Qt::MoveAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropped);
        return dropped.isAccepted();
    }

    MemorySettings settings;
    UiWindowOpener windows;
    BrowserRun run;
    std::unique_ptr<KlasyModule> other;
};

}  // namespace

TEST_F(Docking, DroppedBoxMovesInAndTheNavigatorWorksOnIt)
{
    TFmKartot* host = openHost();
    host->show();
    TFmKartot* second = openSecond(host);
    ASSERT_NE(second, host);
    second->resize(800, 400);
    second->show();
    QApplication::processEvents();
    const int formerHeight = second->container()->height();

    // Refused: a window into itself. Nothing closes when a drop is refused.
    EXPECT_FALSE(drop(host, host));
    EXPECT_TRUE(host->isVisible());
    EXPECT_EQ(host->container()->title(), "<-");

    ASSERT_TRUE(drop(host, second));
    QApplication::processEvents();
    EXPECT_EQ(second->dockedIn(), host);
    EXPECT_FALSE(second->isVisible());
    EXPECT_EQ(host->dockedWindows(), QList<TFmPodstawa*>{second});
    EXPECT_EQ(second->container()->window(), host);
    EXPECT_EQ(second->container()->title(), "Drugie okno");
    EXPECT_EQ(host->dockSplitter()->indexOf(second->container()), 1);
    EXPECT_NEAR(host->dockSplitter()->sizes().at(1), formerHeight / 2, 2);
    // The docked box follows its window's title; it can no longer be dragged,
    // and the host, holding it, cannot go into the docked window.
    second->setWindowTitle("Drugie okno 2");
    EXPECT_EQ(second->container()->title(), "Drugie okno 2");
    EXPECT_FALSE(drop(second, host));
    EXPECT_FALSE(host->canDock(*second));

    // The host's navigator works on the docked data while the focus is there.
    QToolButton* hostNext = navigatorButton(host, "Następny");
    ASSERT_TRUE(hostNext);
    second->grid()->setFocus();
    EXPECT_EQ(host->navigatorTarget(), second);
    second->table().first();
    host->table().first();
    hostNext->click();
    EXPECT_EQ(second->table().position(), 1);
    EXPECT_EQ(host->table().position(), 0);
    // Its delete question is the docked window's, and so are its rows.
    second->selectOnly(1);
    second->grid()->setFocus();
    run.prompts.expectYesNo("Drugie okno\r\nUsunąć dane?", true);
    navigatorButton(host, "Usuń")->click();
    EXPECT_EQ(second->table().rowCount(), 1);
    EXPECT_EQ(host->table().rowCount(), 2);
    // Back in the host's grid, the host's own data.
    host->grid()->setFocus();
    EXPECT_EQ(host->navigatorTarget(), host);
    hostNext->click();
    EXPECT_EQ(host->table().position(), 1);
    EXPECT_TRUE(run.prompts.done());

    // Its command chosen again closes the docked window and takes its box away.
    QPointer<TFmKartot> gone = second;
    host->commandAction(run.module->klasy.command("Okno"))->trigger();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(gone.isNull());
    EXPECT_TRUE(host->dockedWindows().isEmpty());
    EXPECT_EQ(host->dockSplitter()->count(), 1);
    EXPECT_FALSE(run.module->klasy.command("Okno")->checked);
}

TEST_F(Docking, ClosingTheHostClosesWhatIsDockedAndInsideOpensItAgain)
{
    TFmKartot* host = openHost();
    host->show();
    TFmKartot* second = openSecond(host);
    second->show();
    ASSERT_TRUE(drop(host, second));

    // A docked window keeping a row the rules refuse keeps the host open too.
    other->klasy.table->events().beforePost = [](Table& t) {
        if (t.text("NAZWA").isEmpty())
            throw Error("Pole \"Nazwa\" musi posiadać wartość");
    };
    second->table().edit();
    second->table().setValue("NAZWA", QString());
    run.prompts.expectYesNo("Zapisać zmiany?", true);
    EXPECT_FALSE(host->close());
    EXPECT_TRUE(host->isVisible());
    EXPECT_EQ(host->dockedWindows(), QList<TFmPodstawa*>{second});

    // Answering No lets both go; the host keeps what was docked in it.
    other->klasy.table->events().beforePost = nullptr;
    run.prompts.expectYesNo("Zapisać zmiany?", false);
    QPointer<TFmKartot> hostGone = host;
    QPointer<TFmKartot> secondGone = second;
    EXPECT_TRUE(host->close());
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(hostGone.isNull());
    EXPECT_TRUE(secondGone.isNull());
    EXPECT_EQ(settings.text("Grupy", "Inside"), "&Okno grup");
    EXPECT_TRUE(run.prompts.done());

    // Opened again, the host runs the command and docks its window.
    TFmKartot* again = openHost();
    ASSERT_EQ(again->dockedWindows().size(), 1);
    auto* docked = qobject_cast<TFmKartot*>(again->dockedWindows().first());
    ASSERT_TRUE(docked);
    EXPECT_EQ(docked->owner(), run.module->klasy.command("Okno"));
    EXPECT_EQ(docked->openedFrom(), again);
    EXPECT_TRUE(run.module->klasy.command("Okno")->checked);
    EXPECT_EQ(docked->container()->title(), "Drugie okno");

    // Nothing docked at closing: nothing to open next time.
    docked->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    again->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(settings.text("Grupy", "Inside"), "");
}

TEST_F(Docking, HostGoingWithoutClosingGivesTheContentBack)
{
    TFmKartot* host = openHost();
    host->show();
    TFmKartot* second = openSecond(host);
    second->show();
    ASSERT_TRUE(drop(host, second));
    QPointer<TFmKartot> secondAlive = second;
    QPointer<QGroupBox> box = second->container();
    delete host;  // as when its module goes
    ASSERT_FALSE(box.isNull());
    ASSERT_FALSE(secondAlive.isNull());
    EXPECT_EQ(box->window(), second);
    EXPECT_EQ(box->title(), "<-");
    EXPECT_EQ(second->dockedIn(), nullptr);
    // ...and then closes in its own way.
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(secondAlive.isNull());
}
