// Bank statements: quoted cells, amounts with currency codes, lenient
// UTF-8, the MT940 reader, the child named in a title, inserting a bank
// format, and a delivered format run on a statement twice.

#include "import/bank_formats.h"
#include "import/code_pages.h"
#include "import/import_posting.h"
#include "import/mt940_reader.h"
#include "import/quoted_fields.h"
#include "import/title_matching.h"
#include "store/query.h"
#include "support/scripted_prompts.h"
#include "support/store_fixture.h"

#include <QFile>

using namespace import;

namespace {

QByteArray fixture(const char* name)
{
    QFile f(QStringLiteral(LUNAWA_TEST_DATA "/import/banks/") + QString::fromUtf8(name));
    EXPECT_TRUE(f.open(QIODevice::ReadOnly));
    return f.readAll();
}

TEST(BankCells, QuotesCurrencyCodesAndUtf8)
{
    const auto cells = cutQuoted(QStringLiteral("2024-03-04; \"A;B \"\"C\"\"\" ;x;\"last;one\";rest"), QStringLiteral(";"),
                                 QLatin1Char('"'), 4);
    ASSERT_EQ(cells.size(), 4);
    EXPECT_EQ(cells[1].text, QStringLiteral("A;B \"C\" "));
    EXPECT_EQ(cells[3].text, QStringLiteral("last;one"));
    EXPECT_EQ(cutQuoted(QStringLiteral("a;b"), QStringLiteral(";"), QLatin1Char('"'), 3).last().text, QString());

    ValueFormat vf;
    EXPECT_DOUBLE_EQ(*readNumber({QStringLiteral("1 185,61 PLN"), {}}, vf), 1185.61);
    EXPECT_DOUBLE_EQ(*readNumber({QStringLiteral("PLN -1\u00A0185,61"), {}}, vf), -1185.61);
    EXPECT_FALSE(readNumber({QStringLiteral("#Saldo"), {}}, vf));

    // A lone Windows-1250 byte inside UTF-8 text is still read.
    EXPECT_EQ(decodeUtf8Leniently(QByteArray("\xEF\xBB\xBFZa\xC5\xBC\xC3\xB3\xB3w")), QStringLiteral("Zażółw"));
}

TEST(BankMt940, SubfieldsLabelsAndDirections)
{
    const QList<Mt940Transaction> ing = mt940Transactions(QString::fromLatin1(fixture("ing_statement.mt940")));
    ASSERT_EQ(ing.size(), 3);
    EXPECT_EQ(ing[0].valueDate, QDate(2024, 3, 11));
    EXPECT_DOUBLE_EQ(ing[0].amount, 1185.61);
    EXPECT_EQ(ing[0].title, QStringLiteral("CZESNE ZA MARZEC ZUZANNA NOWAK"));
    EXPECT_EQ(ing[0].counterparty, QStringLiteral("ANNA NOWAKUL. LIPOWA 3"));
    EXPECT_EQ(ing[0].reference, QStringLiteral("240311001"));
    EXPECT_DOUBLE_EQ(ing[1].amount, -12.0);
    EXPECT_EQ(ing[2].counterparty, QStringLiteral("MAREK KOWALCZYK UL. KROTKA 1 00-001 WARSZAWA"));
    EXPECT_EQ(ing[2].title, QStringLiteral("PRZEDSZKOLE PESEL 20311598765 MARZEC"));

    const QList<Mt940Transaction> labels = mt940Transactions(QString::fromLatin1(fixture("labels_statement.mt940")));
    ASSERT_EQ(labels.size(), 2);
    EXPECT_EQ(labels[0].counterparty, QStringLiteral("EWA WISNIEWSKA UL. POLNA 5 WARSZAWA"));
    EXPECT_EQ(labels[0].title, QStringLiteral("WYZYWIENIE MARZEC TOMASZ WISNIEWSKI"));
    EXPECT_EQ(labels[0].reference, QStringLiteral("XX1052003123"));
    EXPECT_DOUBLE_EQ(labels[1].amount, -35.0);  // a reversed credit
    EXPECT_EQ(labels[1].reference, QStringLiteral("BR24074222"));
}

TEST(BankTitles, WholeWordsInEitherOrder)
{
    ChildDirectory list;
    list.setChildren({{1, QStringLiteral("Nowak Zuzanna"), {}, QStringLiteral("21251512345"), {}, {}, {}},
                      {2, QStringLiteral("Wiśniewski Tomasz Adam"), {}, {}, {}, {}, {}},
                      {3, QStringLiteral("Nowak Jan"), {}, {}, {}, {QStringLiteral("Kowal Ewa")}, {}}});
    const TitleSearch search(list);
    MatchOptions options;
    options.withCollectors = true;
    EXPECT_EQ(search.find({QStringLiteral("czesne: Zuzanna  NOWAK, marzec")}, options).child, 1);
    EXPECT_EQ(search.find({QStringLiteral("PESEL:21251512345")}, options).child, 1);
    EXPECT_EQ(search.find({QStringLiteral("TOMASZ ADAM WIŚNIEWSKI")}, options).child, 2);
    EXPECT_EQ(search.find({QStringLiteral("wisniewski tomasz obiady")}, options).child, 2);
    EXPECT_EQ(search.find({QStringLiteral("NOWAKOWA ZUZANNA")}, options).child, 0);
    const ChildMatch collector = search.find({QString(), QStringLiteral("EWA KOWAL")}, options);
    EXPECT_EQ(collector.child, 3);
    EXPECT_TRUE(collector.confirm);
    options.okForName = true;
    EXPECT_FALSE(search.find({QStringLiteral("Zuzanna Nowak")}, options).confirm);
}

TEST(BankFormats, InsertedSectionReplacesOnlyItsOwn)
{
    const QString text = QStringLiteral("[PARAMETRY]\r\nA=1\r\n[IMPORT WPŁAT]\r\nKOLUMNY=DKB\r\n\r\n[IMPORT OBECNOŚCI]\r\nKOLUMNY=KJ\r\n");
    const QString out = withSection(text, paymentsSection(), bankSection(*bankFormat(QStringLiteral("PKO-CSV"))));
    EXPECT_FALSE(out.contains(QStringLiteral("KOLUMNY=DKB")));
    EXPECT_TRUE(out.contains(QStringLiteral("[IMPORT WPŁAT]\r\nKOLUMNY=DXXBX\r\n")));
    EXPECT_TRUE(out.contains(QStringLiteral("\r\n[IMPORT OBECNOŚCI]\r\nKOLUMNY=KJ\r\n")));
    for (const BankFormat& f : bankFormats())
        EXPECT_NO_THROW(readImportFormat(bankSection(f), paymentsSection())) << f.key.toStdString();
}

class BankStatementTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (!db)
            return;
        Query(*db, QStringLiteral("INSERT INTO MIESIACE (ROK, MIES, DNIWOLNE) VALUES (2024, 3, '')")).exec();
        march = Query(*db, QStringLiteral("SELECT KOD FROM MIESIACE")).scalar().toInt();
        zuzanna = child(QStringLiteral("Nowak Zuzanna"), QStringLiteral("1"));
        tomasz = child(QStringLiteral("Wiśniewski Tomasz Adam"), QStringLiteral("1042"));
    }
    int child(const QString& name, const QString& number)
    {
        Query(*db, QStringLiteral("INSERT INTO DZIECI (NAZWA, ULICA, KLASA, DANE1) VALUES (:N, 'Polna', 1, :D)"))
            .bind(QStringLiteral("N"), name)
            .bind(QStringLiteral("D"), number)
            .exec();
        return Query(*db, QStringLiteral("SELECT MAX(KOD) FROM DZIECI")).scalar().toInt();
    }
    ImportReport run(const char* format, const char* file, const QString& extra = {})
    {
        ImportRequest r;
        r.target = ImportTarget::Payments;
        r.section = paymentsSection();
        r.configurationText = bankSection(*bankFormat(QString::fromUtf8(format))) + extra;
        r.monthKod = march;
        r.defaultDate = QDate(2024, 3, 31);
        r.visibleGroups = {QStringLiteral("-1")};
        r.today = QDate(2024, 3, 20);
        return runImport(*db, prompts, r, ImportRows::fromText(fixture(file)));
    }
    QStringList payments()
    {
        QStringList out;
        Query q(*db, QStringLiteral("SELECT OSOBA, DATA, WARTOSC, OPIS FROM WPLATY ORDER BY DATA, OSOBA, ID"));
        q.exec();
        while (q.next())
            out << QStringLiteral("%1|%2|%3|%4").arg(q.value(0).toString(), q.value(1).toString(),
                                                     QString::number(q.value(2).toDouble()), q.value(3).toString());
        return out;
    }

    ScriptedPrompts prompts;
    int march = 0, zuzanna = 0, tomasz = 0;
    const QString title = QStringLiteral("IMPORT WPŁAT - potwierdzenie");
};

TEST_P(BankStatementTest, DeliveredFormatTwiceWritesEachTransferOnce)
{
    // Header block, a debit, a footer and a donation nobody is named in:
    // only the donation asks; the two equal transfers of 6 March both land.
    prompts.expectChoice(title, -2).withText(QStringLiteral(
        "Wiersz 23\n\nOdczytane dziecko\n Nazwisko i imię: PIOTR MALINOWSKI\n Data: 2024-03-07\n Kwota: 50,00\n"
        " Opis: DAROWIZNA NA ZABAWKI\n\nProgram nie dopasował żadnego dziecka\nNależy wyszukać odpowiednie dziecko"));
    ImportReport report = run("mbank-csv", "mbank_history.csv", QStringLiteral("OK DLA NAZWA=T\n"));
    EXPECT_TRUE(prompts.done());
    EXPECT_EQ(report.written, 3);
    const QString z = QString::number(zuzanna), t = QString::number(tomasz);
    const QString meals = QStringLiteral("WYŻYWIENIE \"TOMEK\" WIŚNIEWSKI TOMASZ ADAM");
    EXPECT_EQ(payments(), (QStringList{z + "|2024-03-04|1185.61|CZESNE MARZEC; ZUZANNA NOWAK",
                                       t + "|2024-03-06|150|" + meals, t + "|2024-03-06|150|" + meals}));

    // Again: every transfer is similar; nothing more is written.
    for (int i = 0; i < 3; ++i)
        prompts.expectChoice(title, -2);
    prompts.expectChoice(title, -2);
    report = run("mbank-csv", "mbank_history.csv", QStringLiteral("OK DLA NAZWA=T\n"));
    EXPECT_EQ(report.written, 0);
    EXPECT_EQ(payments().size(), 3);
}

TEST_P(BankStatementTest, VirtualAccountTailAndLongElixirTitle)
{
    prompts.expectChoice(title, -1);  // 1042 is the account's tail: confirmed like a PESEL
    prompts.expectChoice(title, -2);  // no child ends the other account
    EXPECT_EQ(run("ing-wirtualne", "ing_virtual.csv").written, 1);

    prompts.expectChoice(title, -1);  // found in the title
    const ImportReport report = run("elixir-0", "elixir_incoming.txt");
    EXPECT_TRUE(prompts.done());
    EXPECT_EQ(report.notes, QStringList{QStringLiteral("Wiersz 1: opis skrócony do 100 znaków")});
    const QStringList rows = payments();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_TRUE(rows[0].startsWith(QString::number(tomasz) + QStringLiteral("|2024-03-08|500|")));
    EXPECT_EQ(rows[1].section(QLatin1Char('|'), 3).size(), 100);
    EXPECT_TRUE(rows[1].contains(QStringLiteral("|640|WYŻYWIENIE I CZESNE MARZEC 2024 DZIECKO: TOMASZ")));
}

INSTANTIATE_ENGINES(BankStatementTest);

}  // namespace
