// The children list: the active flag, a new child's group, visible groups,
// inactive children, the stored sort order, captions and one-group mode.

#include "dzieci_fixture.h"

namespace {

using DzieciRegisterTest = DzieciTest;

TEST_P(DzieciRegisterTest, ActiveFlagAndNewChildGroup)
{
    const int misie = addGroup(QStringLiteral("Misie"), 1);
    const int zabki = addGroup(QStringLiteral("Żabki"), 2);
    Table& t = kids();
    Table& groups = *module().groups().table;

    // The list starts on the inactive group: the next one is taken.
    ASSERT_EQ(groups.asInt(QStringLiteral("KOD")), 0);
    t.insert();
    EXPECT_EQ(t.asInt(QStringLiteral("KLASA")), misie);
    EXPECT_EQ(t.asInt(QStringLiteral("STATUS")), 0);
    EXPECT_EQ(t.text(QStringLiteral("PRZEDUL")), QStringLiteral("ul."));
    t.setValue(QStringLiteral("NAZWA"), QStringLiteral("Nowak Ala"));
    t.setValue(QStringLiteral("ULICA"), QStringLiteral("Leśna"));
    t.post();
    const int ala = t.asInt(QStringLiteral("KOD"));
    EXPECT_EQ(count(QStringLiteral("select count(*) from DZIECI where KOD = :O and AKTYWNY = 'T'"), ala), 1);

    // Group 0 or none makes the child inactive, a group makes it active again.
    // Each change's date prompt is cancelled: no history.
    const auto noDate = [this] { prompts.expectCancel(ScriptedPrompts::Kind::Date, QStringLiteral("Data zmiany")); };
    t.edit();
    noDate();
    t.setValue(QStringLiteral("KLASA"), 0);
    t.post();
    t.refresh();
    EXPECT_EQ(count(QStringLiteral("select count(*) from DZIECI where KOD = :O and AKTYWNY = 'N'"), ala), 1);
    EXPECT_FALSE(t.locate({QStringLiteral("KOD")}, {ala}));  // inactive children are hidden
    module().toggleInactive();
    goTo(ala);
    t.edit();
    noDate();
    t.clear(QStringLiteral("KLASA"));
    t.post();
    EXPECT_EQ(count(QStringLiteral("select count(*) from DZIECI where KOD = :O and AKTYWNY = 'N'"), ala), 1);
    t.edit();
    noDate();
    t.setValue(QStringLiteral("KLASA"), zabki);
    t.post();
    EXPECT_EQ(count(QStringLiteral("select count(*) from DZIECI where KOD = :O and AKTYWNY = 'T'"), ala), 1);
    EXPECT_EQ(count(QStringLiteral("select count(*) from DZIEKLA")), 0);

    // The current group is taken as it is; the inactive group last in the
    // list falls back to the first other visible one.
    ASSERT_TRUE(groups.locate({QStringLiteral("KOD")}, {zabki}));
    t.insert();
    EXPECT_EQ(t.asInt(QStringLiteral("KLASA")), zabki);
    t.cancel();
    Query(*db, QStringLiteral("update KLASY set KOLEJ = 9 where KOD = 0")).exec();
    groups.refresh();
    groups.last();
    t.insert();
    EXPECT_EQ(t.asInt(QStringLiteral("KLASA")), misie);
    t.cancel();
}

TEST_P(DzieciRegisterTest, VisibleGroupsInactiveChildrenAndSortOrder)
{
    const int misie = addGroup(QStringLiteral("Misie"), 1);
    const int zabki = addGroup(QStringLiteral("Żabki"), 2);
    addChild(QStringLiteral("Bąk Ola"), misie);
    addChild(QStringLiteral("Cis Jan"), zabki);
    addChild(QStringLiteral("Dąb Ewa"), 0);
    addChild(QStringLiteral("Bez grupy"), QVariant());

    context().login.visibleGroups = {QStringLiteral("0"), QString::number(misie), QString()};
    settings.setValue(QStringLiteral("Dzieci"), QStringLiteral("PolaIndeksu"), QStringLiteral("AKTYWNY;KLASA;NAZWA"));
    Table& t = kids();
    EXPECT_EQ(t.ordering(), QStringLiteral("AKTYWNY;KLASA;NAZWA"));
    auto names = [&t] {
        QStringList out;
        for (int r = 0; r < t.rowCount(); ++r)
            out << t.valueAt(r, QStringLiteral("NAZWA")).toString();
        return out;
    };
    EXPECT_EQ(names(), QStringList{QStringLiteral("Bąk Ola")});
    QStringList groupNames;
    for (int r = 0; r < module().groups().table->rowCount(); ++r)
        groupNames << module().groups().table->valueAt(r, QStringLiteral("NAZWA")).toString();
    EXPECT_EQ(groupNames, (QStringList{QStringLiteral("Nieaktywni"), QStringLiteral("Misie")}));

    // Showing the inactive ones adds those of a visible group only.
    module().toggleInactive();
    EXPECT_TRUE(module().children().command(QStringLiteral("Pokaznieaktywnych1"))->checked);
    EXPECT_EQ(names(), (QStringList{QStringLiteral("Dąb Ewa"), QStringLiteral("Bąk Ola")}));
    // Switching back resets an order that does not begin with the flag.
    t.setOrdering(QStringLiteral("KOD"));
    module().toggleInactive();
    EXPECT_EQ(t.ordering(), QStringLiteral("AKTYWNY;NAZWA"));

    // The order in force is kept when the module goes; rubbish is ignored.
    t.setOrdering(QStringLiteral("AKTYWNY;PESEL"));
    m_module.reset();
    EXPECT_EQ(settings.text(QStringLiteral("Dzieci"), QStringLiteral("PolaIndeksu")), QStringLiteral("AKTYWNY;PESEL"));
    for (const QString& bad : {QStringLiteral("NAZWA;KOD"), QStringLiteral("NIEMA"), QStringLiteral(";;")}) {
        settings.setValue(QStringLiteral("Dzieci"), QStringLiteral("PolaIndeksu"), bad);
        TDMDzieci other(context(), &settings);
        EXPECT_EQ(other.children().table->ordering(), QStringLiteral("AKTYWNY;NAZWA")) << bad.toStdString();
    }

    // A user seeing all groups sees the child without one.
    context().login.visibleGroups = {QStringLiteral("-1")};
    module().toggleInactive();
    EXPECT_EQ(kids().rowCount(), 4);
}

TEST_P(DzieciRegisterTest, CaptionsIdentifierFreeFieldsAndOneGroupMode)
{
    const int misie = addGroup(QStringLiteral("Misie"), 1);
    const int kod = addChild(QStringLiteral("Nowak Ala"), misie, QStringLiteral("03230512345"));
    context().institution.clientNumber = 123456;
    context().params.dzieciDane[1] = QStringLiteral("Alergie");
    context().params.dzieciDane[3] = QStringLiteral("Rodzeństwo");
    Table& t = kids();
    EXPECT_EQ(t.text(QStringLiteral("CAPTION")), QStringLiteral("Nowak Ala, Polna 1 (PESEL: 03230512345)"));
    EXPECT_EQ(t.text(QStringLiteral("IDHASLO")), QString());
    Query(*db, QStringLiteral("update DZIECI set HASLO = 'x'")).exec();
    t.refresh();
    // Longer than ten characters, and kept whole.
    EXPECT_EQ(t.text(QStringLiteral("IDHASLO")), QStringLiteral("123456-%1").arg(kod));
    EXPECT_EQ(t.text(QStringLiteral("KLASANAZWA")), QStringLiteral("Misie"));

    const QStringList shown = captions(module().children());
    EXPECT_TRUE(shown.contains(QStringLiteral("Alergie")));
    EXPECT_TRUE(shown.contains(QStringLiteral("Rodzeństwo")));
    EXPECT_FALSE(shown.contains(QString()));  // DANE1 and DANE3 stay hidden
    EXPECT_EQ(module().children().field(QStringLiteral("DANE1"))->visible, false);

    m_module.reset();
    context().settings.oneGroupMode = true;
    Table& one = kids();
    EXPECT_EQ(refusal([&] { one.insert(); }), TDMDzieci::oneGroupInsertMessage());
    EXPECT_FALSE(one.isEditing());
    EXPECT_EQ(refusal([&] { one.remove(); }), TDMDzieci::oneGroupDeleteMessage());
    EXPECT_EQ(count(QStringLiteral("select count(*) from DZIECI")), 1);
}

INSTANTIATE_ENGINES(DzieciRegisterTest);

}  // namespace
