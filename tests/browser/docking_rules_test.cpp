// The headless rules of docking: the grab corner, the room a docked box
// gets, and the "Inside" list that opens docked windows again.

#include "browser/docking_rules.h"
#include "browser/module.h"

#include <gtest/gtest.h>

TEST(DockingRules, GrabCornerOnlyOnAnUndockedBox)
{
    EXPECT_TRUE(docking::inGrabZone({0, 0}, "<-"));
    EXPECT_TRUE(docking::inGrabZone({29, 19}, "<-"));
    EXPECT_FALSE(docking::inGrabZone({30, 5}, "<-"));
    EXPECT_FALSE(docking::inGrabZone({5, 20}, "<-"));
    EXPECT_FALSE(docking::inGrabZone({-1, 5}, "<-"));
    // Docked, the box carries its window's title and cannot be dragged.
    EXPECT_FALSE(docking::inGrabZone({5, 5}, "Grupy dzieci"));
}

TEST(DockingRules, DockedBoxTakesHalfItsHeightFromTheBody)
{
    EXPECT_EQ(docking::dockedHeight(301), 150);
    EXPECT_EQ(docking::dockedHeight(-4), 0);
    // The first docked box under a body of 500.
    EXPECT_EQ(docking::sizesWithDocked({500}, 500, 200), (QList<int>{300, 200}));
    // A second one: the first keeps its height.
    EXPECT_EQ(docking::sizesWithDocked({300, 200}, 500, 150), (QList<int>{150, 200, 150}));
    // Too little room: the body keeps its minimum, the newest box gives way first.
    EXPECT_EQ(docking::sizesWithDocked({150, 200, 150}, 500, 300, 40), (QList<int>{40, 200, 150, 110}));
    EXPECT_EQ(docking::sizesWithDocked({100, 400}, 500, 300, 40), (QList<int>{40, 400, 60}));
    // A splitter not yet laid out.
    EXPECT_EQ(docking::sizesWithDocked({}, 400, 100), (QList<int>{300, 100}));
}

TEST(DockingRules, InsideNamesWindowCommandsToRunAgain)
{
    EXPECT_EQ(docking::insideToStored({"&Grupy", "&Składniki"}), "&Grupy\r\n&Składniki");
    EXPECT_EQ(docking::insideFromStored("&Grupy\r\n\r\n&Składniki\r\n"), (QStringList{"&Grupy", "&Składniki"}));
    EXPECT_TRUE(docking::insideFromStored(QString()).isEmpty());

    int runs = 0;
    const auto command = [&runs](const char* caption, bool opensWindow) {
        Command c;
        c.caption = caption;
        c.opensWindow = opensWindow;
        c.handler = [&runs] { ++runs; };
        return c;
    };
    Command groups = command("&Grupy", true);
    Command charges = command("&Wylicz opłaty", false);  // would do its work if run
    Command hidden = command("&Ukryte", true);
    hidden.visible = false;
    Command members = command("&Członkowie", true);
    Command idle = command("&Bez akcji", true);
    idle.handler = nullptr;
    const QList<Command*> commands{&groups, &charges, &hidden, &members, &idle};
    const QList<docking::Redock> plan = docking::redockPlan(
        commands, {"&Członkowie", "&Wylicz opłaty", "&Ukryte", "&Bez akcji", "&Grupy", "&Członkowie", "&Dzieci"});
    // The window's own commands that may not run are left out; a caption it
    // does not know is left to the main window.
    ASSERT_EQ(plan.size(), 3);
    EXPECT_EQ(plan[0].command, &members);
    EXPECT_EQ(plan[1].command, &groups);
    EXPECT_EQ(plan[2].caption, "&Dzieci");
    EXPECT_EQ(plan[2].command, nullptr);
    EXPECT_EQ(runs, 0);
}
