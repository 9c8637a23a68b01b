#include "schema_tables.h"

#include <QRegularExpression>

// The catalogue, one line per table, field and ordering:
//   TABLE NAME [upgrade]
//   FIELD type [req] [default=VALUE] [upgrade] ["Caption"]
//   order A;B [name=NAME] [ci] [upgrade]
// An auto-numbered field is the table's primary key; an ordering on it
// alone is that key. Types: autoinc integer smallint float string(N) date
// time datetime memo graphic.
namespace {

const char* const catalogue = R"(
TABLE OPCJE
  ID autoinc
  MEMO memo
  PARAMS memo "Ustawienia"
  HASLO string(32) "Hasło do www"
  OPIE integer upgrade "Ośrodek pomocy"

TABLE FIRMA
  ID autoinc
  NAZWA string(100) "Nazwa"
  ADRES string(100) "Adres"
  KODKLI integer "Kod klienta"
  REGON string(20)
  NIP string(20)
  TELEFON string(100)

TABLE KODY
  RODZAJ string(10)
  TYP string(3)
  NAZWA string(20)
  NAZWAM string(20)
  order RODZAJ;TYP

TABLE SZABLONY
  ID autoinc
  TYP string(3) req "Typ"
  NAZWA string(30)
  DANE memo

TABLE OBRAZY
  KOD autoinc
  NAZWA string(30)
  OBRAZ graphic
  order KOD

TABLE UZYT
  KOD autoinc
  NAZWA string(200) req "Identyfikator"
  OPIS string(200) req "Opis"
  TELEFON string(100)
  EMAIL string(100)
  AKTYWNY string(1) default=T
  HASLO string(32)
  FUNKCJE memo
  KLASY memo
  order NAZWA

TABLE GRUPY
  KOD autoinc
  NAZWA string(200) req "Identyfikator"
  OPIS string(200) req "Opis"
  FUNKCJE memo
  KLASY memo
  order KOD
  order NAZWA

TABLE UZGR
  KODGR integer "Kod grupy"
  KODUZ integer "Kod użytkownika"
  order KODUZ
  order KODGR

TABLE DZIECI
  KOD autoinc
  NAZWA string(100) req "Nazwisko i imię"
  PRZEDUL string(3) default=ul.
  ULICA string(100) req "Ulica"
  KODPOCZ string(6)
  MIASTO string(100)
  PESEL string(20)
  DATAUR date
  KLASA integer
  NAZWAKOR string(100)
  PRZEDULKOR string(3)
  ULICAKOR string(100)
  KODPOCZKOR string(6)
  MIASTOKOR string(100)
  TELEFON string(100)
  EMAIL string(100)
  HASLO string(32)
  STATUS integer upgrade
  DANE1 string(100)
  DANE2 string(100)
  DANE3 integer
  DANE4 integer
  AKTYWNY string(1) default=T
  UWAGI memo
  order KOD
  order AKTYWNY;NAZWA
  order AKTYWNY;KLASA;NAZWA
  order AKTYWNY;PESEL
  order AKTYWNY;NAZWAKOR

TABLE KLASY
  KOD autoinc
  NAZWA string(30)
  KOLEJ smallint
  order KOD
  order KOLEJ

TABLE STATUSY upgrade
  KOD autoinc
  NAZWA string(30)
  KOLEJ smallint
  order KOD
  order KOLEJ name=KOLEJ

TABLE DZIEKLA
  OSOBA integer
  DODATY date "Do daty"
  KLASA integer
  UWAGI string(100)
  order OSOBA;DODATY

TABLE WYCHOW
  KOD autoinc
  NAZWA string(100) req "Nazwisko i imię"
  PRZEDUL string(3) default=ul.
  ULICA string(100) req "Ulica"
  KODPOCZ string(6)
  MIASTO string(100)
  PESEL string(20)
  KLASA integer
  NAZWAKOR string(100)
  PRZEDULKOR string(3)
  ULICAKOR string(100)
  KODPOCZKOR string(6)
  MIASTOKOR string(100)
  TELEFON string(100)
  EMAIL string(100)
  DANE1 string(100)
  DANE2 string(100)
  AKTYWNY string(1) default=T
  order AKTYWNY;NAZWA

TABLE WYCHKLA
  OSOBA integer
  DODATY date "Do daty"
  KLASA integer
  UWAGI string(100)
  order OSOBA;DODATY

TABLE ODBIERA
  OSOBA integer
  ODDATY date
  DODATY date
  ODBIERA string(100) "Może odbierać"
  order OSOBA;ODDATY

TABLE DZIECZAS
  OSOBA integer
  ODDATY date
  CZASP time "Czas przyjścia"
  CZASW time "Czas wyjścia"
  order OSOBA;ODDATY

TABLE OBECN
  OSOBA integer
  DATA date
  OBECNY string(1) default=T
  CZASP time "Czas przyjścia"
  CZASW time "Czas wyjścia"
  order OSOBA;DATA

TABLE OBECM
  OSOBA integer
  ROK smallint
  MIES smallint
  OBECNY string(1) default=T
  ILE smallint
  order OSOBA;ROK;MIES;OBECNY

TABLE CZASBEZP
  ODDATY date
  CZASP time
  CZASW time
  order ODDATY

TABLE CZASGRAN
  ODDATY date
  CZASPD time "Dolna granica przyjścia"
  CZASPG time "Górna granica przyjścia"
  CZASWD time "Dolna granica wyjścia"
  CZASWG time "Górna granica wyjścia"
  order ODDATY

TABLE ZAJDOD
  KOD autoinc
  NAZWA string(40)
  KOLEJ smallint
  KLASA integer
  ZGLOSZG time upgrade "Zgł. nieobec. do"
  order KOD
  order KOLEJ

TABLE ZAJDAT
  ZAJECIE integer
  ODDATY date
  DODATY date
  DZIENTYG string(1) default=1
  CZASP time
  CZASW time
  order ZAJECIE;ODDATY
  order DZIENTYG;ODDATY;ZAJECIE

TABLE DZIEZAJ
  OSOBA integer
  ZAJECIE integer
  ODDATY date
  DODATY date
  order OSOBA;ZAJECIE;ODDATY
  order ZAJECIE;OSOBA;ODDATY

TABLE ZAJODB
  ZAJECIE integer
  DATA date
  CZASP time
  CZASW time
  KLASA integer
  ID integer
  order DATA;ZAJECIE
  order ZAJECIE;DATA
  order KLASA;ID
  order ZAJECIE;DATA;KLASA;ID

TABLE ZAJOBEC
  KLASA integer
  ID integer
  OSOBA integer
  OBECNY string(1) default=T upgrade
  order KLASA;ID;OSOBA

TABLE MEDIA
  KOD autoinc
  NAZWA string(40)
  GRUPAOP integer
  KOLEJ smallint
  order KOD
  order KOLEJ

TABLE GRUPYOP
  KOD autoinc
  NAZWA string(30)
  KOLEJ smallint
  order KOD
  order KOLEJ

TABLE JEDNOST
  JM string(6)
  order JM

TABLE STAVAT upgrade
  KOD autoinc
  NAZWA string(20)
  VAT float
  KOLEJ smallint
  order KOD

TABLE SPOSOBY
  KOD autoinc
  NAZWA string(30)
  OPIS string(200) "Definicja"
  order KOD

TABLE TARMED
  TARYFA integer
  MEDIUM integer
  ODDATY date
  DODATY date
  CENA float
  JM string(6)
  STAWKA integer upgrade
  order TARYFA;MEDIUM

TABLE MEDSPOS
  MEDIUM integer
  ODDATY date
  DODATY date
  SPOSOB integer default=0
  SPOROZ integer default=0
  order MEDIUM;ODDATY

TABLE DZIEMED
  OSOBA integer
  MEDIUM integer
  ODDATY date
  DODATY date
  SPOSOB integer default=0
  SPOROZ integer default=0
  PROCOPIE float upgrade "Procent pomocy"
  order OSOBA;MEDIUM;ODDATY

TABLE MIESIACE
  KOD autoinc
  ROK smallint
  MIES smallint
  DNIWOLNE string(100) "Dni wolne"
  TEKST1 memo
  TEKST2 memo
  order KOD
  order ROK;MIES

TABLE NALICZ
  KOD integer
  TYP string(1)
  OSOBA integer req "Dziecko"
  MEDIUM integer req "Składnik"
  ILOSC float
  JM string(6)
  CENA float
  WARTOSC float
  ROZLICZ string(1) default=N "Rozliczająca"
  ID autoinc
  DOT integer
  IDF integer upgrade
  LPF integer upgrade
  STAWKA integer upgrade
  VAT float upgrade
  IDOPIE integer upgrade
  order KOD;TYP;OSOBA;MEDIUM
  order KOD;TYP;ID
  order KOD;TYP;OSOBA
  order IDF;LPF name=FAKT ci upgrade

TABLE FAKT upgrade
  ID autoinc
  KOD integer
  NUMER integer
  OSOBA integer req "Dziecko"
  WYST date "Data wystawienia"
  TERMIN date "Termin płatności"
  TYTUL string(40) "Tytułem"
  PIERW integer "Pierwotna"
  order OSOBA;KOD;WYST;TERMIN;NUMER;ID name=OSKODWYST ci
  order KOD;NUMER;ID name=KODNUM ci
  order ID
  order KOD;NUMER
  order OSOBA;KOD;WYST;TERMIN
  order OSOBA;KOD

TABLE WPLATY
  KOD integer
  DATA date "Data wpłaty"
  OSOBA integer req "Dziecko"
  WARTOSC float
  OPIS string(100)
  ID autoinc
  order KOD;DATA
  order KOD;OSOBA;DATA
  order KOD;OSOBA

TABLE ZGLWPL
  KOD integer
  DATA date
  OSOBA integer req "Dziecko"
  ID autoinc
  JAK string(1) default=B
  order KOD;DATA
  order KOD;OSOBA;DATA
  order KOD;OSOBA

TABLE NALKLA
  KLASA integer
  KOD integer
  DATA date
  SKROT string(30)
  KWOTA float
  OPIS memo
  order DATA;KLASA;KOD
  order KLASA;KOD

TABLE NALDOD
  KLASA integer
  KOD integer
  OSOBA integer
  WPLATA float
  OPIS memo
  order KLASA;KOD;OSOBA

TABLE INFORM
  KLASA integer
  KOD autoinc
  DATA date
  OPIS string(100)
  TEKST memo
  TYP string(1) default=I
  order KLASA;KOD
  order KOD

TABLE DZIEINF
  INFORM integer
  OSOBA integer
  DATAOTW datetime "Data otwarcia"
  order INFORM
  order INFORM;OSOBA

TABLE LINKI
  ID autoinc
  INFORM integer
  PLIK string(250) "Nazwa/załącznik lokalny"
  LINK string(250) "Odnośnik internetowy"
  order INFORM

TABLE ZGLOSZ
  DATAPRZY date req "Data przyjęcia"
  OSOBA integer req "Dziecko"
  OPIS string(200) req "Opis sprawy"
  KTOPRZY integer
  KTOZAL integer
  DATAZAL date "Data załatwienia"
  WYKONANIE memo
  ZGLID autoinc
  order DATAZAL;DATAPRZY

TABLE TERMINY
  OSOBA integer
  OPIS string(200) "Opis terminu"
  DATA date "Data bazowa"
  ILOKRESOW integer
  OKRES string(1)
  DNIPRZED integer
  TERMID autoinc
  order DATA;DNIPRZED;OKRES;ILOKRESOW
  order TERMID

TABLE TERMWYK
  TERMID integer
  DATAZAL date "Data wykonania"
  WYKONANIE memo
  order TERMID;DATAZAL

TABLE POSILKI
  DATA date
  OPIS memo "Opis posiłków"
  order DATA

TABLE PRZEDLOGI
  CZAS datetime req "Czas"
  KON integer req "Konto"
  OK string(1)
  order CZAS;KON
)";

FieldType typeOf(const QString& word, int* width)
{
    static const QRegularExpression str(QStringLiteral("^string\\((\\d+)\\)$"));
    const auto m = str.match(word);
    if (m.hasMatch()) {
        *width = m.captured(1).toInt();
        return FieldType::String;
    }
    static const QHash<QString, FieldType> types{
        {QStringLiteral("autoinc"), FieldType::AutoInc}, {QStringLiteral("integer"), FieldType::Integer},
        {QStringLiteral("smallint"), FieldType::SmallInt}, {QStringLiteral("float"), FieldType::Float},
        {QStringLiteral("date"), FieldType::Date},       {QStringLiteral("time"), FieldType::Time},
        {QStringLiteral("datetime"), FieldType::DateTime}, {QStringLiteral("memo"), FieldType::Memo},
        {QStringLiteral("graphic"), FieldType::Graphic},
    };
    Q_ASSERT_X(types.contains(word), "schema catalogue", qPrintable(word));
    return types.value(word, FieldType::Memo);
}

}  // namespace

QList<TableDef> buildSchemaTables()
{
    QList<TableDef> tables;
    const QStringList lines = QString::fromUtf8(catalogue).split(QLatin1Char('\n'));
    for (const QString& raw : lines) {
        QString line = raw.trimmed();
        if (line.isEmpty())
            continue;
        QString caption;
        const qsizetype quote = line.indexOf(QLatin1Char('"'));
        if (quote >= 0) {
            caption = line.mid(quote + 1, line.lastIndexOf(QLatin1Char('"')) - quote - 1);
            line = line.left(quote).trimmed();
        }
        const QStringList words = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (words.first() == QLatin1String("TABLE")) {
            TableDef t;
            t.name = words.value(1);
            t.upgrade = words.contains(QStringLiteral("upgrade"));
            tables << t;
            continue;
        }
        TableDef& t = tables.last();
        if (words.first() == QLatin1String("order")) {
            IndexDef ix;
            ix.fields = schema::splitFieldList(words.value(1));
            for (const QString& w : words.mid(2)) {
                if (w.startsWith(QLatin1String("name=")))
                    ix.name = w.mid(5);
                else if (w == QLatin1String("ci"))
                    ix.caseInsensitive = true;
                else if (w == QLatin1String("upgrade"))
                    ix.upgrade = true;
            }
            const FieldDef* key = ix.fields.size() == 1 ? t.field(ix.fields.first()) : nullptr;
            if (key && key->type == FieldType::AutoInc)
                continue;  // the primary key, listed first already
            t.indexes << ix;
            continue;
        }
        FieldDef f;
        f.name = words.first();
        f.type = typeOf(words.value(1), &f.width);
        f.caption = caption;
        for (const QString& w : words.mid(2)) {
            if (w == QLatin1String("req"))
                f.required = true;
            else if (w == QLatin1String("upgrade"))
                f.upgrade = true;
            else if (w.startsWith(QLatin1String("default="))) {
                const QString v = w.mid(8);
                bool number = false;
                const int n = v.toInt(&number);
                // Defaults of text fields are text even when they look like digits.
                f.defaultValue = number && f.type != FieldType::String ? QVariant(n) : QVariant(v);
            }
        }
        t.fields << f;
        if (f.type == FieldType::AutoInc) {
            IndexDef pk;
            pk.name = QStringLiteral("PRIMARY");
            pk.fields = {f.name};
            pk.primary = true;
            t.indexes.prepend(pk);
        }
    }
    return tables;
}
