// The fee catalogue: the services the charge run reads (order, prices in
// force and overlapping, VAT, uniform methods) and the windows' rules.

#include "shell/register_fixture.h"

#include "fees/catalogue_areas.h"
#include "fees/fee_catalogue.h"
#include "fees/tdm_media.h"
#include "store/error.h"
#include "store/query.h"
#include "store/table.h"

namespace {

class CatalogueTest : public RegisterTest {
protected:
    int add(const QString& sql, const QString& table, const QString& name)
    {
        Query(*db, sql).exec();
        return Query(*db, QStringLiteral("SELECT MAX(KOD) FROM %1 WHERE NAZWA = :N").arg(table))
            .bind(QStringLiteral("N"), name)
            .scalar()
            .toInt();
    }
    int component(const QString& name, int kolej)
    {
        return add(QStringLiteral("INSERT INTO MEDIA (NAZWA, KOLEJ) VALUES ('%1', %2)").arg(name).arg(kolej),
                   QStringLiteral("MEDIA"), name);
    }
    void price(int medium, const QDate& from, const QDate& to, double cena, const QVariant& rate = {})
    {
        Query(*db, QStringLiteral("INSERT INTO TARMED (TARYFA, MEDIUM, ODDATY, DODATY, CENA, JM, STAWKA) "
                                  "VALUES (0, :M, :O, :D, :C, 'dzień', :S)"))
            .bind(QStringLiteral("M"), medium)
            .bind(QStringLiteral("O"), from)
            .bind(QStringLiteral("D"), to.isValid() ? QVariant(to) : QVariant())
            .bind(QStringLiteral("C"), cena)
            .bind(QStringLiteral("S"), rate)
            .exec();
    }
    static QString refusal(const std::function<void()>& f)
    {
        try {
            f();
        } catch (const Error& e) {
            return e.message();
        }
        return QStringLiteral("(nie odmówiono)");
    }
    static QList<double> pricesOf(const QList<catalogue::PriceRow>& rows)
    {
        QList<double> out;
        for (const auto& r : rows)
            out << r.price;
        return out;
    }
};

TEST_P(CatalogueTest, PricesInForceAndOverlapping)
{
    const int obiad = component(QStringLiteral("Obiad"), 2);
    const int czesne = component(QStringLiteral("Czesne"), 1);
    const auto list = catalogue::components(*db);
    ASSERT_EQ(list.size(), 2);
    EXPECT_EQ(list[0].code, czesne);
    EXPECT_EQ(list[1].name, QStringLiteral("Obiad"));

    price(obiad, QDate(2024, 1, 1), QDate(2024, 1, 31), 5.0);
    price(obiad, QDate(2024, 1, 20), QDate(2024, 2, 10), 6.0);  // overlaps the first
    price(obiad, QDate(2024, 3, 1), QDate(), 7.0);              // open-ended
    // A row of another tariff is no price of the component.
    Query(*db, QStringLiteral("INSERT INTO TARMED (TARYFA, MEDIUM, ODDATY, CENA) VALUES (1, :M, '2024-01-01', 99)"))
        .bind(QStringLiteral("M"), obiad)
        .exec();

    EXPECT_FALSE(catalogue::priceInForce(*db, obiad, QDate(2023, 12, 31)));
    EXPECT_DOUBLE_EQ(catalogue::priceInForce(*db, obiad, QDate(2024, 1, 1))->price, 5.0);
    EXPECT_DOUBLE_EQ(catalogue::priceInForce(*db, obiad, QDate(2024, 1, 25))->price, 6.0);
    EXPECT_DOUBLE_EQ(catalogue::priceInForce(*db, obiad, QDate(2024, 2, 10))->price, 6.0);  // last day inclusive
    // Between the periods nothing is in force, even though one began earlier.
    EXPECT_FALSE(catalogue::priceInForce(*db, obiad, QDate(2024, 2, 20)));
    EXPECT_DOUBLE_EQ(catalogue::priceInForce(*db, obiad, QDate(2031, 5, 1))->price, 7.0);
    EXPECT_EQ(catalogue::priceInForce(*db, obiad, QDate(2024, 3, 1))->unit, QStringLiteral("dzień"));

    EXPECT_EQ(pricesOf(catalogue::pricesOverlapping(*db, obiad, QDate(2024, 1, 1), QDate(2024, 1, 31))),
              (QList<double>{5.0, 6.0}));
    EXPECT_EQ(pricesOf(catalogue::pricesOverlapping(*db, obiad, QDate(2024, 2, 1), QDate(2024, 3, 1))),
              (QList<double>{6.0, 7.0}));
    EXPECT_TRUE(catalogue::pricesOverlapping(*db, obiad, QDate(2024, 2, 11), QDate(2024, 2, 29)).isEmpty());
    EXPECT_TRUE(catalogue::pricesOverlapping(*db, czesne, QDate(2024, 1, 1), QDate(2024, 12, 31)).isEmpty());

    // VAT: 0 is a valid rate, an unknown one gives nothing.
    Query(*db, QStringLiteral("INSERT INTO STAVAT (NAZWA, VAT) VALUES ('zw', 0)")).exec();
    Query(*db, QStringLiteral("INSERT INTO STAVAT (NAZWA, VAT) VALUES ('8%', 8)")).exec();
    const int zw = Query(*db, QStringLiteral("SELECT KOD FROM STAVAT WHERE NAZWA = 'zw'")).scalar().toInt();
    const int osiem = Query(*db, QStringLiteral("SELECT KOD FROM STAVAT WHERE NAZWA = '8%'")).scalar().toInt();
    ASSERT_TRUE(catalogue::vatPercent(*db, zw));
    EXPECT_DOUBLE_EQ(*catalogue::vatPercent(*db, zw), 0.0);
    EXPECT_DOUBLE_EQ(*catalogue::vatPercent(*db, osiem), 8.0);
    EXPECT_FALSE(catalogue::vatPercent(*db, osiem + zw + 100));
    EXPECT_FALSE(catalogue::vatPercent(*db, QVariant()));
    price(czesne, QDate(2024, 1, 1), QDate(), 300.0, osiem);
    EXPECT_EQ(catalogue::priceInForce(*db, czesne, QDate(2024, 6, 1))->vatRate.toInt(), osiem);
    // Several components in one read, each with its own rows; one without rows is there, empty.
    const int none = obiad + czesne + 100;
    const auto both = catalogue::pricesOverlapping(*db, {obiad, czesne, none}, QDate(2024, 1, 1), QDate(2024, 1, 31));
    EXPECT_EQ(pricesOf(both.value(obiad)), (QList<double>{5.0, 6.0}));
    EXPECT_EQ(pricesOf(both.value(czesne)), (QList<double>{300.0}));
    EXPECT_TRUE(both.contains(none) && both.value(none).isEmpty());
    EXPECT_EQ(catalogue::vatPercents(*db), (QHash<int, double>{{zw, 0.0}, {osiem, 8.0}}));

    // Uniform methods over a period.
    Query(*db, QStringLiteral("INSERT INTO MEDSPOS (MEDIUM, ODDATY, DODATY, SPOSOB, SPOROZ) VALUES (:M, '2024-01-01', '2024-01-31', 3, 4)"))
        .bind(QStringLiteral("M"), obiad)
        .exec();
    Query(*db, QStringLiteral("INSERT INTO MEDSPOS (MEDIUM, ODDATY, SPOSOB) VALUES (:M, '2024-02-01', 5)"))
        .bind(QStringLiteral("M"), obiad)
        .exec();
    const auto methods = catalogue::methodsOverlapping(*db, obiad, QDate(2024, 1, 15), QDate(2024, 2, 15));
    ASSERT_EQ(methods.size(), 2);
    EXPECT_EQ(methods[0].calculation, 3);
    EXPECT_EQ(methods[0].settlement, 4);
    EXPECT_EQ(methods[1].calculation, 5);
    EXPECT_EQ(methods[1].settlement, 0);
    EXPECT_FALSE(methods[1].to.isValid());
    EXPECT_EQ(catalogue::methodsOverlapping(*db, obiad, QDate(2023, 1, 1), QDate(2023, 12, 31)).size(), 0);

    // An undated price is in force from the beginning, until a dated one.
    Query(*db, QStringLiteral("INSERT INTO TARMED (TARYFA, MEDIUM, CENA, JM) VALUES (0, :M, 280, 'mies.')"))
        .bind(QStringLiteral("M"), czesne)
        .exec();
    EXPECT_DOUBLE_EQ(catalogue::priceInForce(*db, czesne, QDate(2020, 1, 1))->price, 280.0);
    EXPECT_DOUBLE_EQ(catalogue::priceInForce(*db, czesne, QDate(2024, 6, 1))->price, 300.0);
}

TEST_P(CatalogueTest, ComponentWindowRules)
{
    Query(*db, QStringLiteral("INSERT INTO GRUPYOP (NAZWA, KOLEJ) VALUES ('Opłaty stałe', 2)")).exec();
    Query(*db, QStringLiteral("INSERT INTO GRUPYOP (NAZWA, KOLEJ) VALUES ('Wyżywienie', 1)")).exec();
    context().params.sposobyJednolite = false;
    context().baza.setSystemDate(QDate(2024, 3, 5));
    context().baza.setSystemDateFilter(true);
    {
        TDMMedia module(context());
        EXPECT_FALSE(module.pricesWithVat());
        EXPECT_EQ(shownCaptions(module.components()),
                  (QStringList{QStringLiteral("Przesuń do &góry"), QStringLiteral("Przesuń na &dół"), QStringLiteral("&Ceny")}));
        EXPECT_EQ(captions(module.prices()),
                  (QStringList{QStringLiteral("Od daty"), QStringLiteral("Do daty"), QStringLiteral("Cena"), QStringLiteral("Jedn.")}));

        // New components: the first fee group in order, positions 1 and 2.
        Table& m = *module.components().table;
        m.open();
        m.insert();
        m.setValue(QStringLiteral("NAZWA"), QStringLiteral("Obiad"));
        EXPECT_EQ(m.text(QStringLiteral("GRUPAOPNAZWA")), QStringLiteral("Wyżywienie"));
        m.post();
        EXPECT_EQ(m.asInt(QStringLiteral("KOLEJ")), 1);
        const int obiad = m.asInt(QStringLiteral("KOD"));

        // A price typed while the component is still new saves the component first.
        m.insert();
        m.setValue(QStringLiteral("NAZWA"), QStringLiteral("Czesne"));
        Table& p = *module.prices().table;
        p.open();
        p.insert();
        EXPECT_EQ(m.state(), Table::State::Browse);
        EXPECT_EQ(m.asInt(QStringLiteral("KOLEJ")), 2);
        const int czesne = m.asInt(QStringLiteral("KOD"));
        // A new price must say from when.
        try {
            p.post();
            ADD_FAILURE() << "a price without a start was saved";
        } catch (const Error& e) {
            EXPECT_EQ(e.message(), QStringLiteral("Pole \"Od daty\" musi posiadać wartość"));
        }
        p.setValue(QStringLiteral("ODDATY"), QDate(2024, 1, 1));
        p.setValue(QStringLiteral("CENA"), 250.0);
        p.post();
        EXPECT_EQ(Query(*db, QStringLiteral("SELECT COUNT(*) FROM TARMED WHERE MEDIUM = :M AND TARYFA = 0 AND STAWKA IS NULL"))
                      .bind(QStringLiteral("M"), czesne)
                      .scalar()
                      .toInt(),
                  1);

        // The window hides a price ended over a year before the system date;
        // the charge run still reads it.
        price(obiad, QDate(2022, 1, 1), QDate(2023, 1, 31), 4.0);
        price(obiad, QDate(2023, 2, 1), QDate(), 5.0);
        ASSERT_TRUE(m.locate({QStringLiteral("KOD")}, {obiad}));
        p.refresh();
        ASSERT_EQ(p.rowCount(), 1);
        EXPECT_DOUBLE_EQ(p.asDouble(QStringLiteral("CENA")), 5.0);
        EXPECT_EQ(catalogue::pricesOverlapping(*db, obiad, QDate(2023, 1, 1), QDate(2023, 1, 31)).size(), 1);

        // Deletion: refused while used, with every line; otherwise it takes
        // the prices and methods along.
        Query(*db, QStringLiteral("INSERT INTO DZIEMED (OSOBA, MEDIUM, ODDATY) VALUES (1, :M, '2024-01-01')")).bind(QStringLiteral("M"), obiad).exec();
        Query(*db, QStringLiteral("INSERT INTO NALICZ (KOD, TYP, OSOBA, MEDIUM) VALUES (1, '0', 1, :M)")).bind(QStringLiteral("M"), obiad).exec();
        EXPECT_EQ(refusal([&] { m.remove(); }),
                  QStringLiteral("Nie można skasować składnika opłat, gdyż występuje on w:\r\n- kartotece składników dzieci\r\n- opłatach miesięcznych dzieci"));
        Query(*db, QStringLiteral("DELETE FROM DZIEMED")).exec();
        EXPECT_EQ(refusal([&] { m.remove(); }),
                  QStringLiteral("Nie można skasować składnika opłat, gdyż występuje on w:\r\n- opłatach miesięcznych dzieci"));
        Query(*db, QStringLiteral("DELETE FROM NALICZ")).exec();
        Query(*db, QStringLiteral("INSERT INTO MEDSPOS (MEDIUM, ODDATY) VALUES (:M, '2024-01-01')")).bind(QStringLiteral("M"), obiad).exec();
        ASSERT_TRUE(m.locate({QStringLiteral("KOD")}, {obiad}));
        m.remove();
        EXPECT_EQ(Query(*db, QStringLiteral("SELECT COUNT(*) FROM TARMED WHERE MEDIUM = :M")).bind(QStringLiteral("M"), obiad).scalar().toInt(), 0);
        EXPECT_EQ(Query(*db, QStringLiteral("SELECT COUNT(*) FROM MEDSPOS WHERE MEDIUM = :M")).bind(QStringLiteral("M"), obiad).scalar().toInt(), 0);
        EXPECT_EQ(Query(*db, QStringLiteral("SELECT COUNT(*) FROM TARMED WHERE MEDIUM = :M")).bind(QStringLiteral("M"), czesne).scalar().toInt(), 1);
    }

    // With invoicing and uniform methods both the rate column and the methods exist.
    context().params.fakturyTytulem = QStringLiteral("Opłaty za przedszkole");
    context().params.sposobyJednolite = true;
    TDMMedia module(context());
    EXPECT_TRUE(module.pricesWithVat());
    EXPECT_TRUE(captions(module.prices()).contains(QStringLiteral("Stawka VAT")));
    EXPECT_TRUE(shownCaptions(module.components()).contains(QStringLiteral("&Sposoby liczenia")));
    EXPECT_EQ(captions(module.methods()),
              (QStringList{QStringLiteral("Od daty"), QStringLiteral("Do daty"), QStringLiteral("Sposób liczenia"),
                           QStringLiteral("Sposób rozliczania")}));
}

TEST_P(CatalogueTest, DictionaryRules)
{
    // Fee groups: last position for a new one, refused while a component uses it.
    TDMGrupyOp groups(context());
    Table& g = *groups.feeGroups().table;
    g.open();
    g.insert();
    g.setValue(QStringLiteral("NAZWA"), QStringLiteral("Wyżywienie"));
    g.post();
    EXPECT_EQ(g.asInt(QStringLiteral("KOLEJ")), 1);
    const int group = g.asInt(QStringLiteral("KOD"));
    Query(*db, QStringLiteral("INSERT INTO MEDIA (NAZWA, KOLEJ, GRUPAOP) VALUES ('Obiad', 1, :G)")).bind(QStringLiteral("G"), group).exec();
    EXPECT_EQ(refusal([&] { g.remove(); }),
              QStringLiteral("Nie można skasować grupy opłat, gdyż występuje ona w:\r\n- składnikach opłat"));

    // Units: typed while new, fixed afterwards.
    TDMJednost units(context());
    Table& u = *units.units().table;
    u.open();
    EXPECT_TRUE(units.units().fields[0].readOnly);
    u.insert();
    EXPECT_FALSE(units.units().fields[0].readOnly);
    u.setValue(QStringLiteral("JM"), QStringLiteral("godz."));
    u.post();
    EXPECT_TRUE(units.units().fields[0].readOnly);
    u.edit();
    EXPECT_EQ(refusal([&] { u.setValue(QStringLiteral("JM"), QStringLiteral("h")); }), TDMJednost::fixedUnitMessage());
    u.cancel();
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT JM FROM JEDNOST")).scalar().toString(), QStringLiteral("godz."));

    // VAT rates in use by a price or a charge line stay.
    TDMStawki rates(context());
    Table& s = *rates.rates().table;
    s.open();
    s.insert();
    s.setValue(QStringLiteral("NAZWA"), QStringLiteral("8%"));
    s.setValue(QStringLiteral("VAT"), 8.0);
    s.post();
    const int rate = s.asInt(QStringLiteral("KOD"));
    price(1, QDate(2024, 1, 1), QDate(), 10.0, rate);
    Query(*db, QStringLiteral("INSERT INTO NALICZ (KOD, TYP, OSOBA, MEDIUM, STAWKA) VALUES (1, '0', 1, 1, :S)")).bind(QStringLiteral("S"), rate).exec();
    EXPECT_EQ(refusal([&] { s.remove(); }),
              QStringLiteral("Nie można skasować stawki VAT, gdyż występuje ona w:\r\n- cenach składników\r\n- opłatach miesięcznych dzieci"));
    Query(*db, QStringLiteral("DELETE FROM TARMED")).exec();
    Query(*db, QStringLiteral("DELETE FROM NALICZ")).exec();
    EXPECT_NO_THROW(s.remove());
    EXPECT_TRUE(s.isEmpty());

    registerCatalogueAreas(areas);
    for (const QString& area : {QStringLiteral("Media"), QStringLiteral("Grupyoplat"), QStringLiteral("Jednostkimiary"), QStringLiteral("Stawkivat")})
        EXPECT_TRUE(areas.has(area)) << area.toStdString();
}

INSTANTIATE_ENGINES(CatalogueTest);

}  // namespace
