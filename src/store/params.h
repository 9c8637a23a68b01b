#pragma once
// The parameters of the [PARAMETRY] section of the options row, held for
// the run: defaults at start, read after login and after every save of the
// options row.

#include <QList>
#include <QPair>
#include <QString>

class Database;

struct Parameters {
    bool obecnosciSumarycznie = false;
    bool sposobyJednolite = true;
    bool grupujOplaty = false;
    bool niezalezneObecnosciDodatkowe = false;
    QString dzieciDane[4];
    QString wychowawcyDane[2];
    QString fakturyTytulem;
    QString fakturyFormat = QStringLiteral("/mm/rrrr");
    QString tekstNaRozliczenie = QStringLiteral("Rozliczenie");
    QString tekstNaZaliczka = QStringLiteral("Zaliczka");
    QString tekstNaWplaty = QStringLiteral("Wpłaty");
    QString tekstNaZaleglosc = QStringLiteral("Zaległość");
    QString sortZestawienia;
    QString daneZestawienia;
    int iloscPoPrzecinku = 4;
    int poPrzecinkuDoGory = 0;
    int dokladnoscMinut = 1;
    int wprowadzanieMinut = 1;
    int naliczanieMinut = 0;

    // A non-empty invoice title switches invoicing and VAT on.
    bool invoicing() const { return !fakturyTytulem.isEmpty(); }

    // Applies the configuration text over the current values. Only the
    // summary-attendance flag and the captions of DZIECI DANE 1-2 and
    // WYCHOWAWCY DANE 1-2 are reset first; any other key missing from the
    // text keeps its value.
    void read(const QString& configurationText);
    // Reads OPCJE.PARAMS of the store (under the connection's rights).
    void load(Database& db);

    // Every parameter as KEY and value text, in the order the reader tests them.
    QList<QPair<QString, QString>> listing() const;
};

// Lines of a memo as the rest of the program counts them: CR LF or LF
// separated, a final line break opening no further line, no lines in an
// empty text.
QStringList memoLines(const QString& text);
