#include "schema_tables.h"

#include <initializer_list>

// Each field and ordering is one chained call, so the catalogue reads like
// the table list it transcribes and a typo in a type fails to compile.
namespace {

struct Field {
    FieldDef d;
    Field& req() { d.required = true; return *this; }
    Field& upg() { d.upgrade = true; return *this; }
    Field& cap(const char* utf8) { d.caption = QString::fromUtf8(utf8); return *this; }
    // Text defaults stay text even when they look like digits (ZAJDAT.DZIENTYG "1").
    Field& def(const char* text) { d.defaultValue = QString::fromUtf8(text); return *this; }
    Field& def(int number) { d.defaultValue = number; return *this; }
};

Field field(const char* name, FieldType type, int width = 0)
{
    return {FieldDef::of(QString::fromLatin1(name), type, width)};
}
Field autoinc(const char* name) { return field(name, FieldType::AutoInc); }
Field integer(const char* name) { return field(name, FieldType::Integer); }
Field smallint(const char* name) { return field(name, FieldType::SmallInt); }
Field real(const char* name) { return field(name, FieldType::Float); }
Field str(const char* name, int width) { return field(name, FieldType::String, width); }
Field date(const char* name) { return field(name, FieldType::Date); }
Field time(const char* name) { return field(name, FieldType::Time); }
Field dateTime(const char* name) { return field(name, FieldType::DateTime); }
Field memo(const char* name) { return field(name, FieldType::Memo); }
Field graphic(const char* name) { return field(name, FieldType::Graphic); }

struct Order {
    IndexDef d;
    Order& named(const char* name) { d.name = QString::fromLatin1(name); return *this; }
    Order& ci() { d.caseInsensitive = true; return *this; }
    Order& upg() { d.upgrade = true; return *this; }
};

Order order(const char* fieldList)
{
    Order o;
    o.d.fields = schema::splitFieldList(QString::fromLatin1(fieldList));
    return o;
}

struct UpgradeTable {};
constexpr UpgradeTable upgradeTable;

class Catalogue {
public:
    void add(const char* name, std::initializer_list<Field> fields, std::initializer_list<Order> orders)
    {
        add(name, fields, orders, false);
    }
    void add(UpgradeTable, const char* name, std::initializer_list<Field> fields,
             std::initializer_list<Order> orders)
    {
        add(name, fields, orders, true);
    }
    QList<TableDef> tables;

private:
    void add(const char* name, std::initializer_list<Field> fields, std::initializer_list<Order> orders,
             bool wholeTableUpgrade)
    {
        TableDef t;
        t.name = QString::fromLatin1(name);
        t.upgrade = wholeTableUpgrade;
        for (const Field& f : fields)
            t.fields << f.d;
        // The auto-numbered field is the primary key and comes first.
        if (const FieldDef* key = t.autoIncField()) {
            IndexDef pk;
            pk.name = QStringLiteral("PRIMARY");
            pk.fields = {key->name};
            pk.primary = true;
            t.indexes << pk;
        }
        // An ordering already provided by an earlier entry (the primary key or
        // a named index on the same fields) is not a second index; a named
        // index takes the place of a plain ordering listed before it.
        for (const Order& o : orders) {
            IndexDef* same = nullptr;
            for (IndexDef& ix : t.indexes)
                if (ix.fields == o.d.fields)
                    same = &ix;
            if (!same)
                t.indexes << o.d;
            else if (same->name.isEmpty() && !o.d.name.isEmpty())
                *same = o.d;
        }
        tables << t;
    }
};

QList<TableDef> allTables()
{
    Catalogue c;
    c.add("OPCJE", {
            autoinc("ID"),
            memo("MEMO"),
            memo("PARAMS").cap("Ustawienia"),
            str("HASLO", 32).cap("Hasło do www"),
            integer("OPIE").upg().cap("Ośrodek pomocy"),
        }, {});
    c.add("FIRMA", {
            autoinc("ID"),
            str("NAZWA", 100).cap("Nazwa"),
            str("ADRES", 100).cap("Adres"),
            integer("KODKLI").cap("Kod klienta"),
            str("REGON", 20),
            str("NIP", 20),
            str("TELEFON", 100),
        }, {});
    c.add("KODY", {
            str("RODZAJ", 10),
            str("TYP", 3),
            str("NAZWA", 20),
            str("NAZWAM", 20),
        }, {order("RODZAJ;TYP")});
    c.add("SZABLONY", {
            autoinc("ID"),
            str("TYP", 3).req().cap("Typ szablonu"),
            str("NAZWA", 30),
            memo("DANE"),
        }, {});
    c.add("OBRAZY", {
            autoinc("KOD"),
            str("NAZWA", 30),
            graphic("OBRAZ"),
        }, {order("KOD")});
    c.add("UZYT", {
            autoinc("KOD"),
            str("NAZWA", 200).req().cap("Identyfikator"),
            str("OPIS", 200).req().cap("Opis"),
            str("TELEFON", 100),
            str("EMAIL", 100),
            str("AKTYWNY", 1).def("T"),
            str("HASLO", 32),
            memo("FUNKCJE"),
            memo("KLASY"),
        }, {order("NAZWA")});
    c.add("GRUPY", {
            autoinc("KOD"),
            str("NAZWA", 200).req().cap("Identyfikator"),
            str("OPIS", 200).req().cap("Opis"),
            memo("FUNKCJE"),
            memo("KLASY"),
        }, {order("KOD"), order("NAZWA")});
    c.add("UZGR", {
            integer("KODGR").cap("Kod grupy"),
            integer("KODUZ").cap("Kod użytkownika"),
        }, {order("KODUZ"), order("KODGR")});
    c.add("DZIECI", {
            autoinc("KOD"),
            str("NAZWA", 100).req().cap("Nazwisko i imię"),
            str("PRZEDUL", 3).def("ul."),
            str("ULICA", 100).req().cap("Ulica"),
            str("KODPOCZ", 6),
            str("MIASTO", 100),
            str("PESEL", 20),
            date("DATAUR"),
            integer("KLASA"),
            str("NAZWAKOR", 100),
            str("PRZEDULKOR", 3),
            str("ULICAKOR", 100),
            str("KODPOCZKOR", 6),
            str("MIASTOKOR", 100),
            str("TELEFON", 100),
            str("EMAIL", 100),
            str("HASLO", 32),
            integer("STATUS").upg(),
            str("DANE1", 100),
            str("DANE2", 100),
            integer("DANE3"),
            integer("DANE4"),
            str("AKTYWNY", 1).def("T"),
            memo("UWAGI"),
        }, {order("KOD"),
            order("AKTYWNY;NAZWA"),
            order("AKTYWNY;KLASA;NAZWA"),
            order("AKTYWNY;PESEL"),
            order("AKTYWNY;NAZWAKOR")});
    c.add("KLASY", {
            autoinc("KOD"),
            str("NAZWA", 30),
            smallint("KOLEJ"),
        }, {order("KOD"), order("KOLEJ")});
    c.add(upgradeTable, "STATUSY", {
            autoinc("KOD"),
            str("NAZWA", 30),
            smallint("KOLEJ"),
        }, {order("KOLEJ").named("KOLEJ").ci(), order("KOD"), order("KOLEJ")});
    c.add("DZIEKLA", {
            integer("OSOBA"),
            date("DODATY").cap("Do daty"),
            integer("KLASA"),
            str("UWAGI", 100),
        }, {order("OSOBA;DODATY")});
    c.add("WYCHOW", {
            autoinc("KOD"),
            str("NAZWA", 100).req().cap("Nazwisko i imię"),
            str("PRZEDUL", 3).def("ul."),
            str("ULICA", 100).req().cap("Ulica"),
            str("KODPOCZ", 6),
            str("MIASTO", 100),
            str("PESEL", 20),
            integer("KLASA"),
            str("NAZWAKOR", 100),
            str("PRZEDULKOR", 3),
            str("ULICAKOR", 100),
            str("KODPOCZKOR", 6),
            str("MIASTOKOR", 100),
            str("TELEFON", 100),
            str("EMAIL", 100),
            str("DANE1", 100),
            str("DANE2", 100),
            str("AKTYWNY", 1).def("T"),
        }, {order("AKTYWNY;NAZWA")});
    c.add("WYCHKLA", {
            integer("OSOBA"),
            date("DODATY").cap("Do daty"),
            integer("KLASA"),
            str("UWAGI", 100),
        }, {order("OSOBA;DODATY")});
    c.add("ODBIERA", {
            integer("OSOBA"),
            date("ODDATY"),
            date("DODATY"),
            str("ODBIERA", 100).cap("Może odbierać"),
        }, {order("OSOBA;ODDATY")});
    c.add("DZIECZAS", {
            integer("OSOBA"),
            date("ODDATY"),
            time("CZASP").cap("Czas przyjścia"),
            time("CZASW").cap("Czas wyjścia"),
        }, {order("OSOBA;ODDATY")});
    c.add("OBECN", {
            integer("OSOBA"),
            date("DATA"),
            str("OBECNY", 1).def("T"),
            time("CZASP").cap("Czas przyjścia"),
            time("CZASW").cap("Czas wyjścia"),
        }, {order("OSOBA;DATA"),
            // A period's days of every child, read from the index alone
            // however many years the table holds.
            order("DATA;OSOBA;OBECNY;CZASP;CZASW").named("DZIEN").upg()});
    c.add("OBECM", {
            integer("OSOBA"),
            smallint("ROK"),
            smallint("MIES"),
            str("OBECNY", 1).def("T"),
            smallint("ILE"),
        }, {order("OSOBA;ROK;MIES;OBECNY")});
    c.add("CZASBEZP", {
            date("ODDATY"),
            time("CZASP"),
            time("CZASW"),
        }, {order("ODDATY")});
    c.add("CZASGRAN", {
            date("ODDATY"),
            time("CZASPD").cap("Dolna granica przyjścia"),
            time("CZASPG").cap("Górna granica przyjścia"),
            time("CZASWD").cap("Dolna granica wyjścia"),
            time("CZASWG").cap("Górna granica wyjścia"),
        }, {order("ODDATY")});
    c.add("ZAJDOD", {
            autoinc("KOD"),
            str("NAZWA", 40),
            smallint("KOLEJ"),
            integer("KLASA"),
            time("ZGLOSZG").upg().cap("Zgł. nieobec. do"),
        }, {order("KOD"), order("KOLEJ")});
    c.add("ZAJDAT", {
            integer("ZAJECIE"),
            date("ODDATY"),
            date("DODATY"),
            str("DZIENTYG", 1).def("1"),
            time("CZASP"),
            time("CZASW"),
        }, {order("ZAJECIE;ODDATY"), order("DZIENTYG;ODDATY;ZAJECIE")});
    c.add("DZIEZAJ", {
            integer("OSOBA"),
            integer("ZAJECIE"),
            date("ODDATY"),
            date("DODATY"),
        }, {order("OSOBA;ZAJECIE;ODDATY"), order("ZAJECIE;OSOBA;ODDATY")});
    c.add("ZAJODB", {
            integer("ZAJECIE"),
            date("DATA"),
            time("CZASP"),
            time("CZASW"),
            integer("KLASA"),
            integer("ID"),
        }, {order("DATA;ZAJECIE"),
            order("ZAJECIE;DATA"),
            order("KLASA;ID"),
            order("ZAJECIE;DATA;KLASA;ID")});
    c.add("ZAJOBEC", {
            integer("KLASA"),
            integer("ID"),
            integer("OSOBA"),
            str("OBECNY", 1).def("T").upg(),
        }, {order("KLASA;ID;OSOBA")});
    c.add("MEDIA", {
            autoinc("KOD"),
            str("NAZWA", 40),
            integer("GRUPAOP"),
            smallint("KOLEJ"),
        }, {order("KOD"), order("KOLEJ")});
    c.add("GRUPYOP", {
            autoinc("KOD"),
            str("NAZWA", 30),
            smallint("KOLEJ"),
        }, {order("KOD"), order("KOLEJ")});
    c.add("JEDNOST", {
            str("JM", 6),
        }, {order("JM")});
    c.add(upgradeTable, "STAVAT", {
            autoinc("KOD"),
            str("NAZWA", 20),
            real("VAT"),
            smallint("KOLEJ"),
        }, {order("KOD")});
    c.add("SPOSOBY", {
            autoinc("KOD"),
            str("NAZWA", 30),
            str("OPIS", 200).cap("Definicja"),
        }, {order("KOD")});
    c.add("TARMED", {
            integer("TARYFA"),
            integer("MEDIUM"),
            date("ODDATY"),
            date("DODATY"),
            real("CENA"),
            str("JM", 6),
            integer("STAWKA").upg(),
        }, {order("TARYFA;MEDIUM")});
    c.add("MEDSPOS", {
            integer("MEDIUM"),
            date("ODDATY"),
            date("DODATY"),
            integer("SPOSOB").def(0),
            integer("SPOROZ").def(0),
        }, {order("MEDIUM;ODDATY")});
    c.add("DZIEMED", {
            integer("OSOBA"),
            integer("MEDIUM"),
            date("ODDATY"),
            date("DODATY"),
            integer("SPOSOB").def(0),
            integer("SPOROZ").def(0),
            real("PROCOPIE").upg().cap("Procent pomocy"),
        }, {order("OSOBA;MEDIUM;ODDATY")});
    c.add("MIESIACE", {
            autoinc("KOD"),
            smallint("ROK"),
            smallint("MIES"),
            str("DNIWOLNE", 100).cap("Dni wolne"),
            memo("TEKST1"),
            memo("TEKST2"),
        }, {order("KOD"), order("ROK;MIES")});
    c.add("NALICZ", {
            integer("KOD"),
            str("TYP", 1),
            integer("OSOBA").req().cap("Dziecko"),
            integer("MEDIUM").req().cap("Składnik"),
            real("ILOSC"),
            str("JM", 6),
            real("CENA"),
            real("WARTOSC"),
            str("ROZLICZ", 1).def("N").cap("Rozliczająca"),
            autoinc("ID"),
            integer("DOT"),
            integer("IDF").upg(),
            integer("LPF").upg(),
            integer("STAWKA").upg(),
            real("VAT").upg(),
            integer("IDOPIE").upg(),
        }, {order("KOD;TYP;OSOBA;MEDIUM"),
            order("KOD;TYP;ID"),
            order("KOD;TYP;OSOBA"),
            order("IDF;LPF").named("FAKT").ci().upg()});
    c.add(upgradeTable, "FAKT", {
            autoinc("ID"),
            integer("KOD"),
            integer("NUMER"),
            integer("OSOBA").req().cap("Dziecko"),
            date("WYST").cap("Data wystawienia"),
            date("TERMIN").cap("Termin płatności"),
            str("TYTUL", 40).cap("Tytułem"),
            integer("PIERW").cap("Pierwotna"),
        }, {order("OSOBA;KOD;WYST;TERMIN;NUMER;ID").named("OSKODWYST").ci(),
            order("KOD;NUMER;ID").named("KODNUM").ci(),
            order("ID"),
            order("KOD;NUMER"),
            order("OSOBA;KOD;WYST;TERMIN"),
            order("OSOBA;KOD")});
    c.add("WPLATY", {
            integer("KOD"),
            date("DATA").cap("Data wpłaty"),
            integer("OSOBA").req().cap("Dziecko"),
            real("WARTOSC"),
            str("OPIS", 100),
            autoinc("ID"),
        }, {order("KOD;DATA"), order("KOD;OSOBA;DATA"), order("KOD;OSOBA")});
    c.add("ZGLWPL", {
            integer("KOD"),
            date("DATA"),
            integer("OSOBA").req().cap("Dziecko"),
            autoinc("ID"),
            str("JAK", 1).def("B"),
        }, {order("KOD;DATA"), order("KOD;OSOBA;DATA"), order("KOD;OSOBA")});
    c.add("NALKLA", {
            integer("KLASA"),
            integer("KOD"),
            date("DATA"),
            str("SKROT", 30),
            real("KWOTA"),
            memo("OPIS"),
        }, {order("DATA;KLASA;KOD"), order("KLASA;KOD")});
    c.add("NALDOD", {
            integer("KLASA"),
            integer("KOD"),
            integer("OSOBA"),
            real("WPLATA"),
            memo("OPIS"),
        }, {order("KLASA;KOD;OSOBA")});
    c.add("INFORM", {
            integer("KLASA"),
            autoinc("KOD"),
            date("DATA"),
            str("OPIS", 100),
            memo("TEKST"),
            str("TYP", 1).def("I"),
        }, {order("KLASA;KOD"), order("KOD")});
    c.add("DZIEINF", {
            integer("INFORM"),
            integer("OSOBA"),
            dateTime("DATAOTW").cap("Data otwarcia"),
        }, {order("INFORM"), order("INFORM;OSOBA")});
    c.add("LINKI", {
            autoinc("ID"),
            integer("INFORM"),
            str("PLIK", 250).cap("Nazwa/załącznik lokalny"),
            str("LINK", 250).cap("Odnośnik internetowy"),
        }, {order("INFORM")});
    c.add("ZGLOSZ", {
            date("DATAPRZY").req().cap("Data przyjęcia"),
            integer("OSOBA").req().cap("Dziecko"),
            str("OPIS", 200).req().cap("Opis sprawy"),
            integer("KTOPRZY"),
            integer("KTOZAL"),
            date("DATAZAL").cap("Data załatwienia"),
            memo("WYKONANIE"),
            autoinc("ZGLID"),
        }, {order("DATAZAL;DATAPRZY")});
    c.add("TERMINY", {
            integer("OSOBA"),
            str("OPIS", 200).cap("Opis terminu"),
            date("DATA").cap("Data bazowa"),
            integer("ILOKRESOW"),
            str("OKRES", 1),
            integer("DNIPRZED"),
            autoinc("TERMID"),
        }, {order("DATA;DNIPRZED;OKRES;ILOKRESOW"), order("TERMID")});
    c.add("TERMWYK", {
            integer("TERMID"),
            date("DATAZAL").cap("Data wykonania"),
            memo("WYKONANIE"),
        }, {order("TERMID;DATAZAL")});
    c.add("POSILKI", {
            date("DATA"),
            memo("OPIS").cap("Opis posiłków"),
        }, {order("DATA")});
    c.add("PRZEDLOGI", {
            dateTime("CZAS").req().cap("Czas"),
            integer("KON").req().cap("Dziecko"),
            str("OK", 1),
        }, {order("CZAS;KON")});
    return c.tables;
}

}  // namespace

QList<TableDef> buildSchemaTables()
{
    return allTables();
}
