// The cursor: ordering, finding, ranges, links, filters, editing and the
// hooks through which the modules refuse operations.

#include "store/error.h"
#include "store/query.h"
#include "store/table.h"
#include "support/store_fixture.h"

namespace {

class CursorTest : public EngineTest {
protected:
    int addChild(const QString& name, int group = 1, const QString& active = QStringLiteral("T"))
    {
        Table t(*db, QStringLiteral("DZIECI"));
        t.open();
        t.insert();
        t.setValue(QStringLiteral("NAZWA"), name);
        t.setValue(QStringLiteral("ULICA"), QStringLiteral("Kwiatowa 5"));
        t.setValue(QStringLiteral("KLASA"), group);
        t.setValue(QStringLiteral("AKTYWNY"), active);
        t.post();
        return t.asInt(QStringLiteral("KOD"));
    }

    QStringList names(Table& t, const QString& field = QStringLiteral("NAZWA"))
    {
        QStringList out;
        for (t.first(); !t.eof(); t.next())
            out << t.text(field);
        return out;
    }
};

TEST_P(CursorTest, OrdersTextInPolishAlphabeticalOrderAndFindsExactKeys)
{
    for (const char* n : {"Żak Piotr", "Łukasz Anna", "lis Ewa", "Ala Kot", "ąbczyk Jan", "Zenon Ola", "łan Jerzy",
                          "Ćma Iga", "Cebula Ewa", "śliwa Ada", "Sowa Olek"})
        addChild(QString::fromUtf8(n));
    Table t(*db, QStringLiteral("DZIECI"));
    t.setOrdering(QStringLiteral("AKTYWNY;NAZWA"));
    t.open();
    const QStringList expected{QStringLiteral("Ala Kot"),   QStringLiteral("ąbczyk Jan"), QStringLiteral("Cebula Ewa"),
                               QStringLiteral("Ćma Iga"),   QStringLiteral("lis Ewa"),    QStringLiteral("łan Jerzy"),
                               QStringLiteral("Łukasz Anna"), QStringLiteral("Sowa Olek"), QStringLiteral("śliwa Ada"),
                               QStringLiteral("Zenon Ola"), QStringLiteral("Żak Piotr")};
    EXPECT_EQ(names(t), expected);

    EXPECT_TRUE(t.find({QStringLiteral("T"), QStringLiteral("Łukasz Anna")}));
    EXPECT_EQ(t.text(QStringLiteral("NAZWA")), QStringLiteral("Łukasz Anna"));
    // Key lookups are exact: case matters.
    t.first();
    EXPECT_FALSE(t.find({QStringLiteral("T"), QStringLiteral("łukasz anna")}));
    EXPECT_EQ(t.position(), 0);

    // A new row takes its place in the ordering at once.
    addChild(QStringLiteral("Bąk Ula"));
    t.refresh();
    EXPECT_EQ(names(t).indexOf(QStringLiteral("Bąk Ula")), 2);
}

TEST_P(CursorTest, RangeAndMasterLinkChangeOnlyTheirOwnCursor)
{
    const int a = addChild(QStringLiteral("Adamczyk Ada"), 1);
    const int b = addChild(QStringLiteral("Borek Bartek"), 2);
    addChild(QStringLiteral("Cieślak Celina"), 2);
    addChild(QStringLiteral("Dudek Dawid"), 0, QStringLiteral("N"));

    Table byGroup(*db, QStringLiteral("DZIECI"));
    byGroup.setOrdering(QStringLiteral("AKTYWNY;KLASA;NAZWA"));
    byGroup.open();
    Table all(*db, QStringLiteral("DZIECI"));
    all.setOrdering(QStringLiteral("AKTYWNY;KLASA;NAZWA"));
    all.open();
    byGroup.setRange({QStringLiteral("T"), 2}, {QStringLiteral("T"), 2});
    EXPECT_EQ(names(byGroup), (QStringList{QStringLiteral("Borek Bartek"), QStringLiteral("Cieślak Celina")}));
    EXPECT_EQ(all.rowCount(), 4);
    byGroup.setRange({QStringLiteral("T"), 1}, {QStringLiteral("T"), 2});
    EXPECT_EQ(byGroup.rowCount(), 3);
    byGroup.setRange({QStringLiteral("T"), 2, QStringLiteral("C")}, {QStringLiteral("T"), 2, QStringLiteral("Z")});
    EXPECT_EQ(names(byGroup), QStringList{QStringLiteral("Cieślak Celina")});
    byGroup.cancelRange();
    EXPECT_EQ(byGroup.rowCount(), 4);

    // A child's fee components follow the child.
    Query(*db, QStringLiteral("INSERT INTO DZIEMED (OSOBA, MEDIUM, ODDATY) VALUES (:A, 1, '2024-01-01'), "
                              "(:A, 2, '2024-02-01'), (:B, 1, '2024-03-01')"))
        .bind(QStringLiteral("A"), a)
        .bind(QStringLiteral("B"), b)
        .exec();
    Table children(*db, QStringLiteral("DZIECI"));
    children.setOrdering(QStringLiteral("KOD"));
    children.open();
    Table components(*db, QStringLiteral("DZIEMED"));
    components.setOrdering(QStringLiteral("OSOBA;MEDIUM;ODDATY"));
    components.open();
    components.setMasterLink(&children, QStringLiteral("KOD"), QStringLiteral("OSOBA"));
    ASSERT_TRUE(children.find({a}));
    EXPECT_EQ(components.rowCount(), 2);
    EXPECT_EQ(components.asDate(QStringLiteral("ODDATY")), QDate(2024, 1, 1));
    children.next();
    EXPECT_EQ(children.asInt(QStringLiteral("KOD")), b);
    EXPECT_EQ(components.rowCount(), 1);
    // A row inserted in the detail takes the master's key.
    components.insert();
    components.setValue(QStringLiteral("MEDIUM"), 5);
    components.setValue(QStringLiteral("ODDATY"), QDate(2024, 4, 1));
    components.post();
    EXPECT_EQ(components.asInt(QStringLiteral("OSOBA")), b);
    EXPECT_EQ(components.rowCount(), 2);
}

TEST_P(CursorTest, FiltersAndRowTests)
{
    Query(*db, QStringLiteral("INSERT INTO FAKT (KOD, NUMER, OSOBA, PIERW) VALUES (1, 1, 10, NULL), (1, 2, 11, 1), (1, 3, 12, NULL)")).exec();
    Table invoices(*db, QStringLiteral("FAKT"));
    invoices.setOrdering(QStringLiteral("KOD;NUMER"));
    invoices.open();
    invoices.setFilter(QStringLiteral("PIERW=NULL"));
    EXPECT_EQ(invoices.rowCount(), 2);
    invoices.setFilter(QStringLiteral("PIERW <> NULL"));
    EXPECT_EQ(invoices.rowCount(), 1);
    invoices.setFilter(QStringLiteral("NUMER >= 2 and OSOBA = 12 or NUMER = 1"));
    EXPECT_EQ(invoices.rowCount(), 2);
    EXPECT_THROW(invoices.setFilter(QStringLiteral("NUMER ~ 2")), Error);

    Table codes(*db, QStringLiteral("KODY"));
    codes.setOrdering(QStringLiteral("RODZAJ;TYP"));
    codes.open();
    codes.setFilter(QStringLiteral("TYP = '4'"));
    EXPECT_EQ(codes.rowCount(), 2);  // invoice templates and Thursday
    codes.setFilter(QStringLiteral("TYP = '4' AND RODZAJ = 'szablo'"));
    ASSERT_EQ(codes.rowCount(), 1);
    EXPECT_EQ(codes.text(QStringLiteral("NAZWA")), QStringLiteral("Faktura"));
    codes.setFilter(QString());
    codes.setRowTest([](const Table& t) { return t.text(QStringLiteral("RODZAJ")) == QLatin1String("okres"); });
    EXPECT_EQ(codes.rowCount(), 4);
}

TEST_P(CursorTest, RequiredFieldsWidthsAndEmptyValues)
{
    Table users(*db, QStringLiteral("UZYT"));
    users.open();
    users.insert();
    users.setValue(QStringLiteral("OPIS"), QStringLiteral("Kierowniczka"));
    try {
        users.post();
        FAIL() << "saved without a login name";
    } catch (const Error& e) {
        EXPECT_EQ(e.message(), QStringLiteral("Pole \"Identyfikator\" musi posiadać wartość"));
    }
    EXPECT_EQ(users.state(), Table::State::Insert);  // nothing lost
    EXPECT_EQ(users.text(QStringLiteral("OPIS")), QStringLiteral("Kierowniczka"));
    EXPECT_THROW(users.setValue(QStringLiteral("AKTYWNY"), QStringLiteral("TN")), Error);
    EXPECT_THROW(users.setValue(QStringLiteral("KOD"), 99), Error);  // numbered by the store
    users.setValue(QStringLiteral("NAZWA"), QStringLiteral("ewa"));
    users.setValue(QStringLiteral("TELEFON"), QString());
    users.post();
    EXPECT_EQ(users.text(QStringLiteral("AKTYWNY")), QStringLiteral("T"));  // the default
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT COUNT(*) FROM UZYT WHERE NAZWA = 'ewa' AND TELEFON IS NULL")).scalar().toInt(), 1);

    Table charges(*db, QStringLiteral("NALICZ"));
    charges.open();
    charges.insert();
    charges.setValue(QStringLiteral("OSOBA"), 1);
    EXPECT_THROW(charges.post(), Error);

    Table att(*db, QStringLiteral("OBECN"));
    att.open();
    att.insert();
    att.setValue(QStringLiteral("OSOBA"), 1);
    att.setValue(QStringLiteral("DATA"), QDateTime(QDate(2024, 3, 5), QTime(13, 45)).date());
    att.setValue(QStringLiteral("CZASP"), QTime(7, 30, 59));
    att.setValue(QStringLiteral("CZASW"), QStringLiteral("16:05"));
    att.post();
    EXPECT_EQ(att.asTime(QStringLiteral("CZASP")), QTime(7, 30));
    EXPECT_EQ(att.asTime(QStringLiteral("CZASW")), QTime(16, 5));
    EXPECT_EQ(att.text(QStringLiteral("OBECNY")), QStringLiteral("T"));
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT COUNT(*) FROM OBECN WHERE DATA = '2024-03-05' AND CZASP = '07:30'")).scalar().toInt(), 1);
}

TEST_P(CursorTest, HooksRefuseAndTheOperationIsUndone)
{
    const int kod = addChild(QStringLiteral("Hak Hubert"));
    Table t(*db, QStringLiteral("DZIECI"));
    t.setOrdering(QStringLiteral("KOD"));
    t.open();
    ASSERT_TRUE(t.find({kod}));
    t.events().beforePost = [](Table& tt) {
        if (tt.text(QStringLiteral("PESEL")).size() != 11)
            throw Error(QStringLiteral("Niepoprawny PESEL"));
    };
    t.events().beforeDelete = [](Table&) { throw Error(QStringLiteral("Dziecko ma naliczenia")); };
    QStringList changes;
    t.events().onFieldChange = [&](Table&, const QString& f) {
        changes << f;
        if (f == QLatin1String("MIASTO"))
            throw Error(QStringLiteral("Nie"));
    };
    t.edit();
    t.setValue(QStringLiteral("PESEL"), QStringLiteral("123"));
    EXPECT_THROW(t.setValue(QStringLiteral("MIASTO"), QStringLiteral("Kraków")), Error);
    EXPECT_TRUE(t.isNull(QStringLiteral("MIASTO")));  // the refused value is taken back
    EXPECT_THROW(t.post(), Error);
    EXPECT_EQ(t.state(), Table::State::Edit);
    EXPECT_EQ(t.text(QStringLiteral("PESEL")), QStringLiteral("123"));
    EXPECT_TRUE(Query(*db, QStringLiteral("SELECT PESEL FROM DZIECI WHERE KOD = :K")).bind(QStringLiteral("K"), kod).scalar().isNull());
    t.setValue(QStringLiteral("PESEL"), QStringLiteral("18230512345"));
    t.post();
    EXPECT_EQ(changes, (QStringList{QStringLiteral("PESEL"), QStringLiteral("MIASTO"), QStringLiteral("PESEL")}));
    EXPECT_THROW(t.remove(), Error);
    EXPECT_EQ(t.rowCount(), 1);
    EXPECT_EQ(Query(*db, QStringLiteral("SELECT COUNT(*) FROM DZIECI")).scalar().toInt(), 1);
}

TEST_P(CursorTest, CalculatedAndLookupFields)
{
    addChild(QStringLiteral("Kot Kasia"));
    Table prefixes(*db, QStringLiteral("KODY"));
    prefixes.setOrdering(QStringLiteral("RODZAJ;TYP"));
    prefixes.open();
    prefixes.setRange({QStringLiteral("przedr")}, {QStringLiteral("przedr")});
    Table t(*db, QStringLiteral("DZIECI"));
    const FieldDef caption = FieldDef::of(QStringLiteral("CAPTION"), FieldType::String, 250);
    t.addCalculatedField(caption);
    t.addLookupField(FieldDef::of(QStringLiteral("PRZEDR"), FieldType::String, 20), QStringLiteral("PRZEDUL"), &prefixes,
                     QStringLiteral("TYP"), QStringLiteral("NAZWA"));
    t.events().onCalcFields = [](Table& tt) {
        tt.setCalculated(QStringLiteral("CAPTION"),
                         tt.text(QStringLiteral("NAZWA")) + QStringLiteral(", ") + tt.text(QStringLiteral("PRZEDR")) +
                             QLatin1Char(' ') + tt.text(QStringLiteral("ULICA")));
    };
    t.open();
    EXPECT_EQ(t.text(QStringLiteral("CAPTION")), QStringLiteral("Kot Kasia, ul. Kwiatowa 5"));
    EXPECT_EQ(t.valueAt(0, QStringLiteral("PRZEDR")).toString(), QStringLiteral("ul."));
    t.edit();
    t.setValue(QStringLiteral("PRZEDUL"), QStringLiteral("al."));
    EXPECT_EQ(t.text(QStringLiteral("CAPTION")), QStringLiteral("Kot Kasia, al. Kwiatowa 5"));
    EXPECT_THROW(t.setValue(QStringLiteral("CAPTION"), QStringLiteral("x")), Error);
    t.cancel();
    EXPECT_EQ(t.text(QStringLiteral("PRZEDUL")), QStringLiteral("ul."));
    // A field declared on an open cursor is there at once.
    t.addCalculatedField(FieldDef::of(QStringLiteral("LATER"), FieldType::Integer));
    EXPECT_TRUE(t.hasField(QStringLiteral("LATER")));
    EXPECT_EQ(t.text(QStringLiteral("NAZWA")), QStringLiteral("Kot Kasia"));
}

TEST_P(CursorTest, NavigationAtTheEnds)
{
    Table t(*db, QStringLiteral("POSILKI"));
    t.setOrdering(QStringLiteral("DATA"));
    t.open();
    EXPECT_TRUE(t.eof());
    EXPECT_TRUE(t.bof());
    EXPECT_EQ(t.position(), -1);
    EXPECT_TRUE(t.value(QStringLiteral("OPIS")).isNull());
    for (int d : {3, 1, 2}) {
        t.insert();
        t.setValue(QStringLiteral("DATA"), QDate(2024, 5, d));
        t.setValue(QStringLiteral("OPIS"), QStringLiteral("Zupa %1\r\nDrugie danie").arg(d));
        t.post();
    }
    t.first();
    EXPECT_EQ(t.asDate(QStringLiteral("DATA")), QDate(2024, 5, 1));
    t.prior();
    EXPECT_TRUE(t.bof());
    t.last();
    EXPECT_EQ(t.asDate(QStringLiteral("DATA")), QDate(2024, 5, 3));
    t.next();
    EXPECT_TRUE(t.eof());
    EXPECT_EQ(t.text(QStringLiteral("OPIS")), QStringLiteral("Zupa 3\r\nDrugie danie"));
    t.remove();
    EXPECT_EQ(t.rowCount(), 2);
    EXPECT_EQ(t.asDate(QStringLiteral("DATA")), QDate(2024, 5, 2));
}

INSTANTIATE_ENGINES(CursorTest);

}  // namespace
