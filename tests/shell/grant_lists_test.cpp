// The functions editor and the visible-groups editor of users and user
// groups: what the check lists offer, what they save, and the commands of
// the registers writing the row's field.

#include "register_fixture.h"

#include "shell/function_grants.h"
#include "shell/function_names.h"
#include "shell/tdm_uzyt.h"
#include "shell/visible_groups_editor.h"
#include "store/query.h"
#include "store/table.h"

namespace {

QStringList texts(const QList<PickEntry>& entries)
{
    QStringList out;
    for (const PickEntry& e : entries)
        out << e.text;
    return out;
}

const PickEntry* withValue(const QList<PickEntry>& entries, const QVariant& value)
{
    for (const PickEntry& e : entries)
        if (e.value == value)
            return &e;
    return nullptr;
}

TEST(GrantListsTest, FunctionsEditorCarriesEachClassByItsCode)
{
    const QString classPrefix = QStringLiteral("Zajecia dodatkowe - ");
    // Two classes share a name, one is named like a number; class 99 is gone.
    const QList<function_grants::ExtraClass> classes{
        {7, QStringLiteral("Rytmika")}, {8, QStringLiteral("Rytmika")}, {9, QStringLiteral("3")}};
    const MemoChoice c = function_grants::choice(
        {QStringLiteral("Dzieci"), classPrefix + QStringLiteral("7"), classPrefix + QStringLiteral("99")}, classes);

    EXPECT_EQ(c.checkedCount, 3);
    EXPECT_EQ(texts(c.entries.mid(0, 3)), (QStringList{QStringLiteral("Dzieci"), classPrefix + QStringLiteral("Rytmika"),
                                                       classPrefix + QStringLiteral("99")}));
    // Every other function once, in the table's order, after the granted ones.
    QStringList names;
    for (const functions::Entry& e : functions::table())
        if (!names.contains(e.function) && e.function != QLatin1String("Dzieci"))
            names << e.function;
    EXPECT_EQ(texts(c.entries.mid(3, names.size())), names);
    ASSERT_EQ(c.entries.size(), 3 + names.size() + 2);
    EXPECT_EQ(c.entries[3 + names.size()].value.toString(), classPrefix + QStringLiteral("8"));
    EXPECT_EQ(c.entries.last().text, classPrefix + QStringLiteral("3"));
    EXPECT_EQ(c.entries.last().value.toString(), classPrefix + QStringLiteral("9"));
    EXPECT_EQ(withValue(c.entries, classPrefix + QStringLiteral("3")), nullptr);

    // Saved as the codes, in the order checked.
    EXPECT_EQ(function_grants::linesOf({c.entries.last(), c.entries[1], c.entries[0]}),
              (QStringList{classPrefix + QStringLiteral("9"), classPrefix + QStringLiteral("7"), QStringLiteral("Dzieci")}));
}

TEST(GrantListsTest, VisibleGroupsEditorKeepsWhatItCannotRead)
{
    const QList<visible_groups::Group> groups{{1, QStringLiteral("Motylki")}, {2, QStringLiteral("Biedronki")}};
    MemoChoice c = visible_groups::choice({QStringLiteral("2"), QStringLiteral("x7"), QStringLiteral("5")}, groups);
    EXPECT_EQ(c.checkedCount, 3);
    EXPECT_EQ(texts(c.entries), (QStringList{QStringLiteral("Biedronki"), QStringLiteral("x7"), QStringLiteral("5"),
                                             QStringLiteral("Wszystkie"), QStringLiteral("Motylki")}));
    // An unreadable line is saved as it was, never as group 0.
    EXPECT_EQ(visible_groups::linesOf(c.entries.mid(0, 3)),
              (QStringList{QStringLiteral("2"), QStringLiteral("x7"), QStringLiteral("5")}));
    // "Wszystkie" with two groups is the single line -1.
    EXPECT_EQ(visible_groups::linesOf({c.entries[4], c.entries[3], c.entries[0]}), QStringList{QStringLiteral("-1")});

    c = visible_groups::choice({QStringLiteral("-1")}, groups);
    EXPECT_EQ(texts(c.entries), (QStringList{QStringLiteral("Wszystkie"), QStringLiteral("Motylki"), QStringLiteral("Biedronki")}));
    EXPECT_EQ(c.checkedCount, 1);
}

class GrantCommandsTest : public RegisterTest {};

TEST_P(GrantCommandsTest, EditorsWriteTheRowsFields)
{
    Query(*db, QStringLiteral("INSERT INTO KLASY (NAZWA, KOLEJ) VALUES ('Motylki', 1)")).exec();
    Query(*db, QStringLiteral("INSERT INTO UZYT (NAZWA, OPIS, AKTYWNY, FUNKCJE, KLASY) "
                              "VALUES ('ewa', 'Ewa', 'T', 'Dzieci', '-1')")).exec();
    TDMUzyt module(context());
    Table& u = *module.users().table;
    u.open();
    ASSERT_TRUE(u.locate({QStringLiteral("NAZWA")}, {QStringLiteral("ewa")}));

    // Cancel changes nothing.
    prompts.expectCancel(ScriptedPrompts::Kind::Checks, QStringLiteral("Lista dostępnych funkcji"));
    module.users().command(QStringLiteral("Widocznefunkcje1"))->handler();
    EXPECT_FALSE(u.isEditing());

    prompts.expectChecks(QStringLiteral("Lista dostępnych funkcji"), {QStringLiteral("Dzieci"), QStringLiteral("Obecnosci")});
    module.users().command(QStringLiteral("Widocznefunkcje1"))->handler();
    EXPECT_TRUE(u.isEditing());  // saving is the user's
    prompts.expectChecks(QStringLiteral("Lista dostępnych grup dzieci"), {QStringLiteral("Motylki")});
    module.users().command(QStringLiteral("Widocznegrupydzieci1"))->handler();
    u.post();
    EXPECT_TRUE(prompts.done());
    const int motylki = Query(*db, QStringLiteral("SELECT KOD FROM KLASY WHERE NAZWA = 'Motylki'")).scalar().toInt();
    Query q(*db, QStringLiteral("SELECT FUNKCJE, KLASY FROM UZYT WHERE NAZWA = 'ewa'"));
    q.exec();
    ASSERT_TRUE(q.next());
    EXPECT_EQ(q.value(0).toString(), QStringLiteral("Dzieci\r\nObecnosci"));
    EXPECT_EQ(q.value(1).toString(), QString::number(motylki));
}

INSTANTIATE_ENGINES(GrantCommandsTest);

}  // namespace
