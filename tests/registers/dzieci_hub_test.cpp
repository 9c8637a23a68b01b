// The commands of the children list that open other areas, the internet
// password, the remarks, and the "Dzieci" area itself.

#include "dzieci_fixture.h"

#include "browser/area_arguments.h"
#include "registers/register_areas.h"
#include "shell/main_commands.h"
#include "store/password_digest.h"

namespace {

using DzieciHubTest = DzieciTest;

struct Opened {
    QString area;
    QVariantMap arguments;
};

TEST_P(DzieciHubTest, HubCommandsOpenTheirAreasForTheCurrentChild)
{
    const int misie = addGroup(QStringLiteral("Misie"), 1);
    addChild(QStringLiteral("Ala"), misie);
    const int ola = addChild(QStringLiteral("Ola"), misie);
    QList<Opened> opened;
    QStringList captionsWhileOpening;
    for (const QString& name : {area::childAttendance(), area::childSettlements(), area::markedChildrenOperations()})
        areas.add(name, [&, name](RunContext&, const QVariantMap& a) {
            opened << Opened{name, a};
            if (Command* c = area::command(a)) {
                captionsWhileOpening << c->caption;
                c->checked = c->opensWindow;  // as a window the area opened would
            }
        });
    context().baza.setSystemDate(QDate(2024, 3, 5));
    goTo(ola);
    DataSet& ds = module().children();

    // Areas not built keep their commands hidden.
    EXPECT_EQ(shownCaptions(ds),
              (QStringList{QStringLiteral("Pokaż &nieaktywnych"), QStringLiteral("Poprzednie &grupy dziecka"),
                           QStringLiteral("&Składniki opłat dziecka"), QStringLiteral("Zadeklarowany czas pobytu"),
                           QStringLiteral("Zajęcia dodatkowe dziecka"), QStringLiteral("Lista &obecności dziecka"),
                           QStringLiteral("Rozrachunki dziecka"), QStringLiteral("Hasło w internecie"),
                           QStringLiteral("Osoby odbierające"), QStringLiteral("Operacje dla zaznaczonych dzieci"),
                           QStringLiteral("Uwagi")}));

    Command* attendance = ds.command(QStringLiteral("Obecnosci1"));
    attendance->handler();
    ASSERT_EQ(opened.size(), 1);
    const QVariantMap& a = opened[0].arguments;
    EXPECT_EQ(opened[0].area, area::childAttendance());
    EXPECT_EQ(area::child(a), ola);
    EXPECT_EQ(area::master(a), &ds);
    EXPECT_EQ(area::owner(a), &module());
    EXPECT_EQ(area::command(a), attendance);
    EXPECT_EQ(a.value(area::titleKey()).toString(), QStringLiteral("Lista obecności dziecka na wtorek 5 marca 2024"));
    EXPECT_EQ(captionsWhileOpening, QStringList{QStringLiteral("Lista obecności dziecka na wtorek 5 marca 2024")});
    EXPECT_EQ(attendance->caption, QStringLiteral("Lista &obecności dziecka"));
    // Chosen again, it closes its window instead of opening another.
    attendance->handler();
    EXPECT_EQ(opened.size(), 1);
    EXPECT_FALSE(attendance->checked);

    ds.command(QStringLiteral("Rozrachunki1"))->handler();
    ds.command(QStringLiteral("Operacje1"))->handler();
    ASSERT_EQ(opened.size(), 3);
    EXPECT_EQ(opened[1].arguments.value(area::titleKey()).toString(), QStringLiteral("Rozrachunki dziecka"));
    EXPECT_EQ(area::child(opened[2].arguments), ola);
    EXPECT_EQ(childOperations().size(), 6);
    EXPECT_EQ(childOperations()[4].code, 14);

    // The register's own area opens the children list under the given title.
    registerRegisterAreas(areas, &settings);
    EXPECT_TRUE(areas.open(area::children(), context(), {{area::titleKey(), QStringLiteral("Dzieci")}}));
    ASSERT_FALSE(opener.open().isEmpty());
    EXPECT_EQ(opener.open().last().dataSet->name, QStringLiteral("Dzieci"));
    EXPECT_EQ(opener.open().last().title, QStringLiteral("Dzieci"));
}

TEST_P(DzieciHubTest, InternetPasswordAndRemarks)
{
    const int misie = addGroup(QStringLiteral("Misie"), 1);
    const int kod = addChild(QStringLiteral("Ala"), misie);
    context().institution.clientNumber = 57;
    QList<QVariantMap> sent;
    areas.add(mainmenu::syncArea(), [&](RunContext&, const QVariantMap& a) { sent << a; });
    goTo(kod);
    Table& t = kids();
    auto stored = [this, kod] {
        return Query(*db, QStringLiteral("select HASLO from DZIECI where KOD = :O")).bind(QStringLiteral("O"), kod).scalar();
    };
    const QString id = QStringLiteral("57-%1").arg(kod);

    prompts.expectCancel(ScriptedPrompts::Kind::Text, QStringLiteral("Id w internecie"));
    module().setInternetPassword();
    EXPECT_TRUE(stored().isNull());

    prompts.expectText(QStringLiteral("Id w internecie"), QStringLiteral("Hasło"), QStringLiteral("tajne"));
    prompts.expectInfo(QStringLiteral("Dodano dostęp przez internet\r\nIdentyfikator: ") + id + QStringLiteral("\r\nHasło: tajne"));
    prompts.expectYesNo(QStringLiteral("Wysłać poprawkę na serwer internetowy?"), true);
    module().setInternetPassword();
    EXPECT_EQ(stored().toString(), digest::internetPassword(QStringLiteral("tajne")));
    EXPECT_EQ(t.text(QStringLiteral("IDHASLO")), id);
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent[0].value(QStringLiteral("mode")).toInt(), 2);
    EXPECT_EQ(sent[0].value(QStringLiteral("key")).toInt(), kod);

    // The untouched mask keeps the password; it is not a password itself.
    prompts.expectText(QStringLiteral("Id w internecie"), QStringLiteral("Hasło"), QStringLiteral("******"));
    module().setInternetPassword();
    EXPECT_EQ(stored().toString(), digest::internetPassword(QStringLiteral("tajne")));
    EXPECT_EQ(prompts.asked().last().preset, QStringLiteral("******"));

    prompts.expectText(QStringLiteral("Id w internecie"), QStringLiteral("Hasło"), QString());
    prompts.expectInfo(QStringLiteral("Odebrano dostęp przez internet"));
    prompts.expectYesNo(QStringLiteral("Wysłać poprawkę na serwer internetowy?"), false);
    module().setInternetPassword();
    EXPECT_TRUE(stored().isNull());
    EXPECT_TRUE(t.text(QStringLiteral("IDHASLO")).isEmpty());
    EXPECT_EQ(sent.size(), 1);

    // Remarks go through the memo editor and are saved.
    prompts.expectMemoEdit(QStringLiteral("Uwagi"), QStringLiteral("Alergia na orzechy"));
    module().children().command(QStringLiteral("Uwagi1"))->handler();
    EXPECT_FALSE(t.isEditing());
    EXPECT_EQ(Query(*db, QStringLiteral("select UWAGI from DZIECI")).scalar().toString(), QStringLiteral("Alergia na orzechy"));
    EXPECT_TRUE(prompts.done());
}

INSTANTIATE_ENGINES(DzieciHubTest);

}  // namespace
