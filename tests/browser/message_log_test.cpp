#include "browser/message_log.h"

#include <gtest/gtest.h>

namespace {

struct CountingView : MessageLogView {
    int changes = 0;
    int shows = 0;
    int hides = 0;
    int pumps = 0;
    void messageLogChanged(const MessageLog&) override { ++changes; }
    void showMessageLog(const MessageLog&) override { ++shows; }
    void hideMessageLog() override { ++hides; }
    void processPendingEvents() override { ++pumps; }
};

}  // namespace

TEST(MessageLog, ListsKeepEachTextOnce)
{
    MessageLog log;
    EXPECT_TRUE(log.addError("Brak obecności: Kowalska Anna"));
    EXPECT_FALSE(log.addError("Brak obecności: Kowalska Anna"));
    EXPECT_TRUE(log.addRemark("Brak obecności: Kowalska Anna"));  // the other list is separate
    EXPECT_TRUE(log.addError("Brak czasu przyjścia"));
    EXPECT_EQ(log.errors(), QStringList({"Brak obecności: Kowalska Anna", "Brak czasu przyjścia"}));
    EXPECT_EQ(log.remarks(), QStringList({"Brak obecności: Kowalska Anna"}));

    EXPECT_EQ(log.printLines(), (QList<MessageLogLine>{{"Błędy", "Brak obecności: Kowalska Anna"},
                                                      {"", "Brak czasu przyjścia"},
                                                      {"Uwagi", "Brak obecności: Kowalska Anna"}}));
    log.clearMessages();
    EXPECT_FALSE(log.hasMessages());
    EXPECT_TRUE(log.addError("Brak czasu przyjścia"));
}

TEST(MessageLog, ProgressAccumulatesFractions)
{
    MessageLog log;
    CountingView view;
    log.attach(&view);
    log.step(3, "Kowalska Anna");
    EXPECT_EQ(log.bar(), 33);
    log.step(3, "Nowak Jan");
    EXPECT_EQ(log.bar(), 67);
    log.step(3, "Wiśniewska Ewa");
    EXPECT_EQ(log.bar(), 100);
    EXPECT_EQ(log.counter(), "3/3");
    EXPECT_EQ(view.pumps, 3);

    // Text only: the description changes, the bar stays, no events pumped.
    log.step(3, "Koniec operacji", false);
    log.step(0, "Koniec operacji");
    EXPECT_EQ(log.description(), "Koniec operacji");
    EXPECT_EQ(log.bar(), 100);
    EXPECT_EQ(view.pumps, 3);

    // Seven steps of 100/7 add up to the whole bar, and no further.
    log.resetProgress();
    EXPECT_EQ(log.bar(), 0);
    EXPECT_TRUE(log.description().isEmpty());
    EXPECT_TRUE(log.counter().isEmpty());
    for (int i = 0; i < 7; ++i)
        log.step(7, "x");
    EXPECT_EQ(log.bar(), 100);
    log.step(7, "x");
    EXPECT_EQ(log.bar(), 100);
    log.attach(nullptr);
}

TEST(MessageLog, ShowsOnlyWithMessagesUnlessForced)
{
    MessageLog log;
    CountingView view;
    log.attach(&view);
    log.show();
    EXPECT_FALSE(log.isShown());
    EXPECT_EQ(view.shows, 0);
    log.show(true);
    EXPECT_TRUE(log.isShown());
    EXPECT_EQ(view.shows, 1);
    log.hide();
    EXPECT_FALSE(log.isShown());
    EXPECT_EQ(view.hides, 1);
    log.addRemark("Uwaga");
    log.show();
    EXPECT_TRUE(log.isShown());
    log.attach(nullptr);
}

TEST(MessageLog, LayoutFollowsTheListsAndRemarksOnly)
{
    MessageLog log;
    MessageLogLayout l = log.layout(60);
    EXPECT_EQ(l.windowHeight, 60);
    EXPECT_EQ(l.errorsHeight + l.remarksHeight, 0);

    log.addRemark("Uwaga");
    log.showRemarksOnly(true);
    l = log.layout(60);
    EXPECT_EQ(l.windowHeight, 180);
    EXPECT_EQ(l.errorsHeight, 0);
    EXPECT_EQ(l.remarksHeight, 120);

    // Errors present: remarks-only still shows them.
    log.addError("Błąd");
    l = log.layout(60);
    EXPECT_EQ(l.errorsHeight, 80);
    EXPECT_EQ(l.remarksHeight, 40);

    // Plain show after remarks-only brings the errors box back.
    log.clearMessages();
    log.addRemark("Uwaga");
    log.show();
    EXPECT_FALSE(log.remarksOnly());
    l = log.layout(60);
    EXPECT_EQ(l.errorsHeight, 80);
}
