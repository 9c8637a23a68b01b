// The calculation methods register: who sees the definitions, the
// definition command, and the refusal to delete a method still assigned.

#include "../shell/register_fixture.h"

#include "fees/methods_area.h"
#include "fees/tdm_sposoby.h"
#include "store/error.h"
#include "store/query.h"
#include "store/table.h"

namespace {

class SposobyTest : public RegisterTest {
protected:
    int addMethod(Table& t, const QString& name, const QString& definition)
    {
        t.insert();
        t.setValue(QStringLiteral("NAZWA"), name);
        t.setValue(QStringLiteral("OPIS"), definition);
        t.post();
        return t.asInt(QStringLiteral("KOD"));
    }
    void assign(const char* table, const char* field, int method)
    {
        Query(*db, QStringLiteral("INSERT INTO %1 (MEDIUM, %2) VALUES (1, :K)").arg(QLatin1String(table), QLatin1String(field)))
            .bind(QStringLiteral("K"), method)
            .exec();
    }
    QString deletionRefusal(Table& t)
    {
        try {
            t.remove();
        } catch (const Error& e) {
            return e.message();
        }
        return QString();
    }
};

TEST_P(SposobyTest, TheDefinitionColumnIsForTheServiceAccountOnly)
{
    for (const int user : {-1, 0, 5}) {
        context().login.userCode = user;
        TDMSposoby module(context());
        EXPECT_EQ(captions(module.methods()),
                  user == 5 ? QStringList{"Nazwa"} : (QStringList{"Nazwa", "Definicja"}))
            << user;
    }
}

TEST_P(SposobyTest, DeletionIsRefusedWhereTheMethodIsAssigned)
{
    TDMSposoby module(context());
    Table& t = *module.methods().table;
    t.open();
    const int child = addMethod(t, QStringLiteral("Dziecko"), QStringLiteral("IT"));
    const int both = addMethod(t, QStringLiteral("Oba"), QStringLiteral("IC"));
    const int free = addMethod(t, QStringLiteral("Wolny"), QStringLiteral("IA"));
    Query(*db, QStringLiteral("INSERT INTO DZIEMED (OSOBA, MEDIUM, SPOROZ) VALUES (1, 1, :K)"))
        .bind(QStringLiteral("K"), child)
        .exec();
    assign("MEDSPOS", "SPOSOB", both);
    Query(*db, QStringLiteral("INSERT INTO DZIEMED (OSOBA, MEDIUM, SPOSOB) VALUES (2, 1, :K)"))
        .bind(QStringLiteral("K"), both)
        .exec();

    EXPECT_EQ(TDMSposoby::usageLines(*db, child), QStringLiteral("\r\n- składnikach opłat dzieci"));
    EXPECT_EQ(TDMSposoby::usageLines(*db, both),
              QStringLiteral("\r\n- składnikach opłat dzieci\r\n- składnikach opłat"));
    EXPECT_EQ(TDMSposoby::usageLines(*db, free), QString());

    ASSERT_TRUE(t.locate({QStringLiteral("KOD")}, {both}));
    EXPECT_EQ(deletionRefusal(t),
              QStringLiteral("Nie można skasować sposobu, gdyż występuje on w:\r\n- składnikach opłat dzieci\r\n- "
                             "składnikach opłat"));
    EXPECT_EQ(t.rowCount(), 3);

    // "&Sprawdź gdzie występuje" shows the same lines.
    module.methods().command(QStringLiteral("Sprawdgdziewystpuje1"))->handler();
    ASSERT_TRUE(t.locate({QStringLiteral("KOD")}, {free}));
    module.methods().command(QStringLiteral("Sprawdgdziewystpuje1"))->handler();
    EXPECT_EQ(prompts.shown(), (QStringList{QStringLiteral("Sposób występuje w:\r\n- składnikach opłat dzieci\r\n- "
                                                           "składnikach opłat"),
                                            QStringLiteral("Sposób występuje w:")}));

    EXPECT_EQ(deletionRefusal(t), QString());
    EXPECT_EQ(t.rowCount(), 2);
}

TEST_P(SposobyTest, TheDefinitionIsEditedThroughTheEditor)
{
    QString offered, title;
    QString answer = QStringLiteral("IA*0,5");
    bool accept = true;
    DefinitionEditor editor = [&](RunContext&, const QString& t, QString& definition) {
        title = t;
        offered = definition;
        if (accept)
            definition = answer;
        return accept;
    };
    // Without an editor the command is not offered.
    EXPECT_EQ(shownCaptions(TDMSposoby(context()).methods()), QStringList{"&Sprawdź gdzie występuje"});

    TDMSposoby module(context(), editor);
    EXPECT_EQ(shownCaptions(module.methods()),
              (QStringList{"Opis &definicji sposobu liczenia", "&Sprawdź gdzie występuje"}));
    Table& t = *module.methods().table;
    t.open();
    addMethod(t, QStringLiteral("Połowa"), QStringLiteral("IA"));
    Command& describe = *module.methods().command(QStringLiteral("Opisdefinicjisposobuliczenia1"));

    accept = false;
    describe.handler();
    EXPECT_EQ(offered, QStringLiteral("IA"));
    EXPECT_EQ(title, QStringLiteral("Opis definicji sposobu liczenia"));
    EXPECT_EQ(t.state(), Table::State::Browse);

    // OK puts the row into edit mode; saving is left to the browser.
    accept = true;
    describe.handler();
    EXPECT_EQ(t.state(), Table::State::Edit);
    EXPECT_EQ(t.text(QStringLiteral("OPIS")), QStringLiteral("IA*0,5"));
    t.post();

    // A text the table cannot hold whole is refused, not cut.
    answer = QString(201, QLatin1Char('1'));
    describe.handler();
    EXPECT_EQ(t.state(), Table::State::Browse);
    EXPECT_EQ(t.text(QStringLiteral("OPIS")), QStringLiteral("IA*0,5"));
    ASSERT_FALSE(prompts.shown().isEmpty());
    EXPECT_EQ(prompts.shown().last(), QStringLiteral("Definicja jest za długa: ma 201 znaków, a może mieć najwyżej 200."));

    // The area opens the register in its own window.
    registerMethodsArea(areas, editor);
    EXPECT_TRUE(areas.open(QStringLiteral("Sposoby"), context()));
    EXPECT_EQ(opener.log().last(), QStringLiteral("opened Sposoby liczenia"));
}

INSTANTIATE_ENGINES(SposobyTest);

}  // namespace
