#pragma once
// An import format: how one kind of file is read, written by the user as a
// section of the options' configuration text ("[IMPORT WPŁAT]" and so on).
//
//   ImportFormat        every key of the section, read once per import
//   readImportFormat    finds and reads the section; throws without one
//   AmountSlotLine      one "B" line: the kind and name of an amount slot

#include <QChar>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace import {

// The section names, which also begin the titles of the import's dialogs.
QString chargesSection();     // "IMPORT NALICZEŃ"
QString paymentsSection();    // "IMPORT WPŁAT"
QString attendanceSection();  // "IMPORT OBECNOŚCI"

enum class FileKind { Text, Html, Spreadsheet, Mt940 };

// A "B" line: "-" first makes a settlement slot; the rest (at most 40
// characters) names the fee component.
struct AmountSlotLine {
    QString text;  // the whole line, the slot's label
    bool settlement = false;
    QString component;
};

struct ImportFormat {
    QString columns;                // "KOLUMNY", one code per column
    std::optional<int> codePage;    // "STRONA KODOWA", 0–20
    int start = 2;                  // first row read, from 1
    bool descending = false;        // "ROSNĄCO" beginning with "N"
    QString separator = QStringLiteral(";");  // empty: fixed widths
    QList<int> widths;              // "SZEROKOŚĆ KOLUMN"
    int commaShift = 0;             // "PRZESUNIĘCIE PRZECINKA"
    std::optional<QChar> decimalSeparator;
    std::optional<QChar> thousandsSeparator;
    std::optional<QChar> dateSeparator;
    QString dateFormat;             // "FORMAT DATY"; empty keeps the default
    bool settlementNegative = false;
    bool skipFreeDays = false;
    QString markPresent = QStringLiteral("T");
    QString markAbsent = QStringLiteral("N");
    QString markNotified = QStringLiteral("Z");
    QString peselMarker;            // "PESEL W NAZWIE"
    FileKind fileKind = FileKind::Text;
    QString sheetName;              // "ARKUSZ KALKULACYJNY"
    int htmlTable = 1;              // "TABELA HTML"
    QString folder;                 // "KATALOG"
    QString extension;              // "ROZSZERZENIE"
    bool okForPesel = false;
    bool okForName = false;
    bool skipEmptyName = false;
    QList<AmountSlotLine> amountLines;  // "B", in order

    // Bank statements.
    std::optional<QChar> quote;     // "CUDZYSŁÓW": separated cells may be quoted
    bool utf8 = false;              // "STRONA KODOWA=UTF-8"
    bool searchTitle = false;       // "SZUKAJ W TYTULE"
    bool incomingOnly = false;      // "TYLKO WPŁYWY"
    std::optional<QString> debitMark;  // "ODPOWIEDNIK MINUS": the "M" cell negating the amounts
    QString referenceField;         // "REFERENCJA": DANE1…DANE4; empty: no "R" column
    std::optional<QString> startAfter;  // "START PO"
    QString labelName, labelDescription, labelPesel;  // "ETYKIETA K", "ETYKIETA T", "ETYKIETA P"

    // "R" and "M" are column codes only with their keys; otherwise skipped.
    bool has(QChar code) const { return columns.contains(code); }
    bool reads(QChar code) const;
    int count(QChar code) const { return int(columns.count(code)); }
    // The file choice's filter: "Pliki ext|*.ext", or none.
    QString fileFilter() const;
};

// "Brak zdefiniowanego formatu importu"
QString noFormatMessage();
// The message of a key value that is not a whole number.
QString notWholeNumberMessage(const QString& text);

// The field named by "REFERENCJA": "DANE1"…"DANE4" as written, or the
// caption a "DZIECI DANE n" parameter gives it; empty when it names none.
QString referenceFieldOf(const QString& value, const QString& configurationText);

// Reads the section `section` of the configuration text. Throws Error with
// noFormatMessage() when the section or its "KOLUMNY" is missing, and the
// number conversion error for a bad "START", "PRZESUNIĘCIE PRZECINKA",
// "STRONA KODOWA" or a width list shorter than the column codes.
ImportFormat readImportFormat(const QString& configurationText, const QString& section);

}  // namespace import
