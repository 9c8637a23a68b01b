// The children a template printout takes: the groups of "Grupy dzieci",
// the children of "Wybierz", and the conditions they give.

#include "printouts/print_selection.h"

#include "support/scripted_prompts.h"

#include <gtest/gtest.h>

using namespace printouts;

namespace {

const QList<GroupChoice> groups{{3, QStringLiteral("Motylki")}, {1, QStringLiteral("Biedronki")},
                                {7, QStringLiteral("Żabki")}};

QStringList texts(const QList<PickEntry>& entries)
{
    QStringList out;
    for (const PickEntry& e : entries)
        out << e.text;
    return out;
}

TEST(PrintSelection, UserWhoSeesAllGroupsStartsUnrestrictedAndReturnsToIt)
{
    GroupSelection s(groups, true);
    EXPECT_FALSE(s.restricted());
    EXPECT_EQ(s.caption(), QStringLiteral("Wszystkie"));
    EXPECT_EQ(s.condition(QStringLiteral("D.KLASA")), QString());
    int checked = -1;
    EXPECT_EQ(texts(s.checkList(checked)),
              (QStringList{QStringLiteral("Motylki"), QStringLiteral("Biedronki"), QStringLiteral("Żabki")}));
    EXPECT_EQ(checked, 3);

    ScriptedPrompts prompts;
    prompts.expectChecks(QStringLiteral("Grupy dzieci"), {QStringLiteral("Żabki"), QStringLiteral("Motylki")});
    ASSERT_TRUE(s.choose(prompts));
    EXPECT_TRUE(s.restricted());
    EXPECT_EQ(s.caption(), QStringLiteral("Wybrane"));
    EXPECT_EQ(s.condition(QStringLiteral("D.KLASA")), QStringLiteral(" and D.KLASA in (3,7)"));
    // The chosen come first and ticked, the rest after them.
    EXPECT_EQ(texts(s.checkList(checked)),
              (QStringList{QStringLiteral("Motylki"), QStringLiteral("Żabki"), QStringLiteral("Biedronki")}));
    EXPECT_EQ(checked, 2);

    // A cancelled list keeps the choice; ticking every group drops it.
    prompts.expectCancel(ScriptedPrompts::Kind::Checks, QStringLiteral("Grupy dzieci"));
    EXPECT_FALSE(s.choose(prompts));
    EXPECT_TRUE(s.restricted());
    prompts.expectChecksAsOffered(QStringLiteral("Grupy dzieci"));
    prompts.expectChecks(QStringLiteral("Grupy dzieci"),
                         {QStringLiteral("Motylki"), QStringLiteral("Żabki"), QStringLiteral("Biedronki")});
    ASSERT_TRUE(s.choose(prompts));
    EXPECT_TRUE(s.restricted());
    ASSERT_TRUE(s.choose(prompts));
    EXPECT_FALSE(s.restricted());
    EXPECT_EQ(s.caption(), QStringLiteral("Wszystkie"));
    prompts.done();
}

TEST(PrintSelection, UserOfSomeGroupsStaysRestrictedEvenWithNoneTicked)
{
    GroupSelection s(groups.mid(0, 2), false);
    EXPECT_TRUE(s.restricted());
    EXPECT_EQ(s.condition(QStringLiteral("KLASA")), QStringLiteral(" and KLASA in (3,1)"));
    s.applyChecked({{QStringLiteral("Motylki"), 3}, {QStringLiteral("Biedronki"), 1}});
    EXPECT_TRUE(s.restricted());  // every visible group ticked, but not every group of the store
    s.applyChecked({});
    EXPECT_EQ(s.condition(QStringLiteral("KLASA")), QStringLiteral(" and 1=0"));
    // A group the user may not see cannot be smuggled in.
    s.applyChecked({{QStringLiteral("Żabki"), 7}});
    EXPECT_EQ(s.condition(QStringLiteral("KLASA")), QStringLiteral(" and 1=0"));
}

TEST(PrintSelection, ChildrenChecklistCaptionsAndCancel)
{
    const QList<ChildChoice> children{{12, QStringLiteral("Nowak Ola"), QStringLiteral("Lipowa 3"), QString()},
                                      {5, QStringLiteral("Kos Jan"), QStringLiteral("Polna 1"),
                                       QStringLiteral("18210512345")}};
    EXPECT_EQ(children[0].caption(), QStringLiteral("Nowak Ola, Lipowa 3"));
    EXPECT_EQ(children[1].caption(), QStringLiteral("Kos Jan, Polna 1 (PESEL: 18210512345)"));

    ScriptedPrompts prompts;
    prompts.expectChecks(QStringLiteral("Wybierz"), {QStringLiteral("Kos Jan, Polna 1 (PESEL: 18210512345)")});
    EXPECT_EQ(chooseChildren(prompts, children), QList<int>{5});
    prompts.expectChecks(QStringLiteral("Wybierz"), {});
    EXPECT_EQ(chooseChildren(prompts, children), QList<int>{});
    prompts.expectCancel(ScriptedPrompts::Kind::Checks, QStringLiteral("Wybierz"));
    EXPECT_EQ(chooseChildren(prompts, children), std::nullopt);
    prompts.done();

    EXPECT_EQ(childCondition(QStringLiteral("D.KOD"), {12, 5}), QStringLiteral(" and D.KOD in (12,5)"));
    EXPECT_EQ(childCondition(QStringLiteral("D.KOD"), {}), QStringLiteral(" and 1=0"));
}

}  // namespace
