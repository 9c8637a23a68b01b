// The configuration window: what the options row shows, its editor and the
// parameters of the run, a store without the welfare centre column, and
// rows that cannot be added or removed.

#include "register_fixture.h"

#include "shell/tdm_opcje.h"
#include "store/error.h"
#include "store/query.h"
#include "store/table.h"

namespace {

class OpcjeTest : public RegisterTest {
protected:
    void setParams(const QString& text)
    {
        Query(*db, QStringLiteral("UPDATE OPCJE SET PARAMS = :P")).bind(QStringLiteral("P"), text).exec();
    }
    QVariant stored(const QString& column)
    {
        return Query(*db, QStringLiteral("SELECT %1 FROM OPCJE").arg(column)).scalar();
    }
};

TEST_P(OpcjeTest, PreviewEditorAndParameters)
{
    setParams(QStringLiteral("[PARAMETRY]\r\nFAKTURY TYTULEM=Usługi\r\nILOŚĆ PO PRZECINKU=2\n"));
    TDMOpcje module(context());
    Table& o = *module.options().table;
    o.open();
    EXPECT_EQ(o.text(QStringLiteral("PODGLAD")), QStringLiteral("[PARAMETRY], FAKTURY TYTULEM=Usługi, ILOŚĆ PO PRZECINKU=2, "));
    EXPECT_EQ(TDMOpcje::preview(QString(300, QLatin1Char('x'))).size(), 250);
    EXPECT_EQ(captions(module.options()), (QStringList{QStringLiteral("Podgląd konfiguracji"), QStringLiteral("Ośrodek pomocy")}));
    EXPECT_EQ(o.text(QStringLiteral("OSRODEK")), QStringLiteral("Brak"));

    // A cancelled editor changes nothing; a saved one is stored and read at once.
    Command* edit = module.options().command(QStringLiteral("Edycjakonfiguracji1"));
    ASSERT_TRUE(edit && edit->shown());
    prompts.expectCancel(ScriptedPrompts::Kind::MemoEditor, QStringLiteral("Ustawienia"));
    edit->handler();
    EXPECT_FALSE(o.isEditing());
    const QString text = QStringLiteral("[PARAMETRY]\r\nILOŚĆ PO PRZECINKU=2\r\nDZIECI DANE 1=Alergie");
    prompts.expectMemoEdit(QStringLiteral("Ustawienia"), text);
    edit->handler();
    EXPECT_TRUE(prompts.done());
    EXPECT_EQ(stored(QStringLiteral("PARAMS")).toString(), text);
    EXPECT_EQ(context().params.iloscPoPrzecinku, 2);
    EXPECT_EQ(context().params.dzieciDane[0], QStringLiteral("Alergie"));
    EXPECT_EQ(o.text(QStringLiteral("PODGLAD")), QStringLiteral("[PARAMETRY], ILOŚĆ PO PRZECINKU=2, DZIECI DANE 1=Alergie"));
    // A save from the grid reloads as well.
    o.edit();
    o.setValue(QStringLiteral("PARAMS"), QStringLiteral("[PARAMETRY]\nILOŚĆ PO PRZECINKU=3"));
    o.post();
    EXPECT_EQ(context().params.iloscPoPrzecinku, 3);
    EXPECT_TRUE(context().params.dzieciDane[0].isEmpty());

    // The welfare centre is shown as chosen or not, and removed by its command.
    Query(*db, QStringLiteral("UPDATE OPCJE SET OPIE = 7")).exec();
    o.refresh();
    EXPECT_EQ(o.text(QStringLiteral("OSRODEK")), QStringLiteral("Wybrany"));
    module.options().command(QStringLiteral("Usuorodekpomocy1"))->handler();
    EXPECT_TRUE(stored(QStringLiteral("OPIE")).isNull());
    EXPECT_EQ(o.text(QStringLiteral("OSRODEK")), QStringLiteral("Brak"));
    EXPECT_FALSE(o.isEditing());
}

TEST_P(OpcjeTest, WelfareCentreChosenFromTheVisibleChildren)
{
    Query(*db, QStringLiteral("insert into KLASY (NAZWA, KOLEJ) values ('Misie', 1)")).exec();
    Query(*db, QStringLiteral("insert into KLASY (NAZWA, KOLEJ) values ('Żabki', 2)")).exec();
    const int misie = Query(*db, QStringLiteral("select KOD from KLASY where NAZWA = 'Misie'")).scalar().toInt();
    auto child = [this](const QString& name, const QVariant& group, const QString& active) {
        Query(*db, QStringLiteral("insert into DZIECI (NAZWA, ULICA, KLASA, AKTYWNY) values (:N, 'Polna', :K, :A)"))
            .bind(QStringLiteral("N"), name).bind(QStringLiteral("K"), group).bind(QStringLiteral("A"), active).exec();
        return Query(*db, QStringLiteral("select max(KOD) from DZIECI")).scalar().toInt();
    };
    child(QStringLiteral("Żak"), misie, QStringLiteral("T"));
    const int ops = child(QStringLiteral("Ośrodek Pomocy Społecznej"), misie, QStringLiteral("T"));
    child(QStringLiteral("Inny"), misie + 1, QStringLiteral("T"));
    child(QStringLiteral("Dawny"), 0, QStringLiteral("N"));
    context().login.visibleGroups = {QStringLiteral("0"), QString::number(misie), QString()};

    TDMOpcje module(context());
    Table& o = *module.options().table;
    o.open();
    Command* choose = module.options().command(QStringLiteral("Wybierzosrodekpomocy1"));
    ASSERT_TRUE(choose && choose->shown());
    prompts.expectCancel(ScriptedPrompts::Kind::Record, TDMOpcje::welfareCentrePickTitle());
    choose->handler();
    EXPECT_TRUE(stored(QStringLiteral("OPIE")).isNull());
    // Active children first, in Polish order; a group the user does not see is left out.
    EXPECT_EQ(prompts.asked().last().offered,
              (QStringList{QStringLiteral("Ośrodek Pomocy Społecznej, Polna"), QStringLiteral("Żak, Polna"),
                           QStringLiteral("Dawny, Polna")}));
    prompts.expectRecord(TDMOpcje::welfareCentrePickTitle(), ops);
    choose->handler();
    EXPECT_EQ(stored(QStringLiteral("OPIE")).toInt(), ops);
    EXPECT_EQ(o.text(QStringLiteral("OSRODEK")), QStringLiteral("Wybrany"));
    EXPECT_FALSE(o.isEditing());
}

TEST_P(OpcjeTest, RowsAreNeitherAddedNorRemoved)
{
    TDMOpcje module(context());
    for (DataSet* ds : {&module.options(), &module.institution()}) {
        EXPECT_FALSE(module.canInsert(*ds));
        EXPECT_FALSE(module.canDelete(*ds));
        // A caller that asks the cursor anyway still changes nothing.
        Table& t = *ds->table;
        t.open();
        EXPECT_THROW(t.insert(), Error);
        EXPECT_FALSE(t.isEditing());
        EXPECT_THROW(t.remove(), Error);
        EXPECT_EQ(Query(*db, QStringLiteral("SELECT COUNT(*) FROM %1").arg(t.tableName())).scalar().toInt(), 1);
    }
    EXPECT_EQ(module.institution().table->text(QStringLiteral("NAZWA")), QStringLiteral("Przedszkole Testowe"));
}

TEST_P(OpcjeTest, StoreWithoutTheWelfareCentre)
{
    Query(*db, QStringLiteral("ALTER TABLE OPCJE DROP COLUMN OPIE")).exec();
    setParams(QStringLiteral("[PARAMETRY]"));
    TDMOpcje module(context());
    Table& o = *module.options().table;
    o.open();
    EXPECT_EQ(captions(module.options()), QStringList{QStringLiteral("Podgląd konfiguracji")});
    EXPECT_FALSE(module.options().command(QStringLiteral("Wybierzosrodekpomocy1"))->shown());
    EXPECT_NO_THROW(module.options().command(QStringLiteral("Usuorodekpomocy1"))->handler());
    EXPECT_FALSE(o.isEditing());
    EXPECT_EQ(stored(QStringLiteral("PARAMS")).toString(), QStringLiteral("[PARAMETRY]"));
}

INSTANTIATE_ENGINES(OpcjeTest);

}  // namespace
