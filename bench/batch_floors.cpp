#include "batch_floors.h"

namespace bench {

namespace {

using native::Row;
using LL = long long;

std::string iso(QDate d)
{
    return d.toString(Qt::ISODate).toStdString();
}

long long readAll(native::Connection& c, const std::string& sql, const Row& params = {})
{
    native::Statement s = c.once(sql);
    return s.exec(params) + s.checksum();
}

}  // namespace

long long readQuantityRows(native::Connection& c, QDate from, QDate to)
{
    const std::string a = iso(from);
    const std::string b = iso(to);
    const LL monthA = from.year() * 100 + from.month();
    const LL monthB = to.year() * 100 + to.month();
    long long n = 0;
    n += readAll(c, "SELECT KOD, NAZWA, ULICA, PESEL FROM DZIECI WHERE 1 = 1 ORDER BY KOD");
    n += readAll(c, "SELECT OSOBA, DATA, OBECNY, CZASP, CZASW FROM OBECN WHERE DATA >= ? AND DATA <= ?", {a, b});
    n += readAll(c, "SELECT M.OSOBA, M.ROK, M.MIES, M.OBECNY, M.ILE FROM DZIECI D CROSS JOIN OBECM M "
                    "WHERE M.OSOBA = D.KOD AND M.ROK >= ? AND M.ROK <= ? "
                    "AND M.ROK * 100 + M.MIES >= ? AND M.ROK * 100 + M.MIES <= ? ORDER BY D.KOD, M.ROK, M.MIES, M.OBECNY",
                 {LL(from.year()), LL(to.year()), monthA, monthB});
    n += readAll(c, "SELECT OSOBA, ODDATY, CZASP, CZASW FROM DZIECZAS WHERE (ODDATY IS NULL OR ODDATY <= ?) ORDER BY OSOBA, ODDATY",
                 {b});
    n += readAll(c, "SELECT ODDATY, CZASP, CZASW FROM CZASBEZP WHERE (ODDATY IS NULL OR ODDATY <= ?) ORDER BY ODDATY", {b});
    n += readAll(c, "SELECT ODDATY, CZASPD, CZASPG, CZASWD, CZASWG FROM CZASGRAN WHERE (ODDATY IS NULL OR ODDATY <= ?) "
                    "ORDER BY ODDATY",
                 {b});
    n += readAll(c, "SELECT KOD, NAZWA FROM ZAJDOD ORDER BY KOD");
    n += readAll(c, "SELECT ZAJECIE, DZIENTYG, ODDATY, DODATY, CZASP, CZASW FROM ZAJDAT "
                    "WHERE (ODDATY IS NULL OR ODDATY <= ?) AND (DODATY IS NULL OR DODATY >= ?) ORDER BY ZAJECIE, ODDATY",
                 {b, a});
    n += readAll(c, "SELECT OSOBA, ZAJECIE, ODDATY, DODATY FROM DZIEZAJ "
                    "WHERE (ODDATY IS NULL OR ODDATY <= ?) AND (DODATY IS NULL OR DODATY >= ?) ORDER BY OSOBA, ZAJECIE, ODDATY",
                 {b, a});
    n += readAll(c, "SELECT KLASA, ID, ZAJECIE, DATA, CZASP, CZASW FROM ZAJODB WHERE DATA >= ? AND DATA <= ? "
                    "ORDER BY DATA, ZAJECIE",
                 {a, b});
    n += readAll(c, "SELECT B.KLASA, B.ID, B.OSOBA, B.OBECNY FROM ZAJOBEC B JOIN ZAJODB O ON B.ID = O.ID "
                    "AND (B.KLASA = O.KLASA OR (B.KLASA IS NULL AND O.KLASA IS NULL)) "
                    "WHERE O.DATA >= ? AND O.DATA <= ?",
                 {a, b});
    return n;
}

long long readAttendanceBySeeks(native::Connection& c, QDate from, QDate to, int children)
{
    native::Statement s =
        c.prepare("SELECT DATA, OBECNY, CZASP, CZASW FROM OBECN WHERE OSOBA = ? AND DATA >= ? AND DATA <= ? ORDER BY DATA");
    const std::string a = iso(from);
    const std::string b = iso(to);
    long long n = 0;
    for (int child = 1; child <= children; ++child)
        n += s.exec({LL(child), a, b});
    return n + s.checksum();
}

ChargeLines ChargeLines::of(native::Connection& c, int month)
{
    ChargeLines l;
    l.rows = c.rows("SELECT KOD, TYP, OSOBA, MEDIUM, ILOSC, JM, CENA, WARTOSC, ROZLICZ, DOT, STAWKA, VAT, IDOPIE "
                    "FROM NALICZ WHERE KOD = ? AND TYP = '0' ORDER BY ID",
                    {LL(month)});
    return l;
}

void deleteComputed(native::Connection& c, int month)
{
    c.once("DELETE FROM NALICZ WHERE KOD = ? AND TYP = '0'").exec({LL(month)});
}

void insertLines(native::Connection& c, const ChargeLines& lines)
{
    native::Statement insert = c.prepare("INSERT INTO NALICZ (KOD, TYP, OSOBA, MEDIUM, ILOSC, JM, CENA, WARTOSC, ROZLICZ, "
                                         "DOT, STAWKA, VAT, IDOPIE) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    insert.execAll(lines.rows);
}

void copyLines(native::Connection& c, const ChargeLines& lines)
{
    c.copyRows("NALICZ", {"KOD", "TYP", "OSOBA", "MEDIUM", "ILOSC", "JM", "CENA", "WARTOSC", "ROZLICZ", "DOT", "STAWKA", "VAT", "IDOPIE"},
               lines.rows);
}

void computeFloor(native::Connection& c, int month, int settledMonth, QDate first, const ChargeLines& lines)
{
    const QDate settledFirst = first.addMonths(-1);
    c.begin();
    readAll(c, "SELECT KOD, OPIS FROM SPOSOBY");
    readAll(c, "SELECT KOD, NAZWA, ULICA, PESEL, KLASA FROM DZIECI WHERE AKTYWNY = 'T'");
    readAll(c, "SELECT OSOBA, MEDIUM, ODDATY, DODATY, SPOSOB, SPOROZ, PROCOPIE FROM DZIEMED");
    readAll(c, "SELECT TARYFA, MEDIUM, ODDATY, DODATY, CENA, JM, STAWKA FROM TARMED");
    readAll(c, "SELECT OSOBA, MEDIUM, TYP FROM NALICZ WHERE KOD = ?", {LL(month)});
    readAll(c, "SELECT OSOBA, MEDIUM, ROZLICZ, ILOSC, JM, CENA, WARTOSC, STAWKA, VAT, IDOPIE FROM NALICZ "
               "WHERE KOD = ? AND TYP = '1' ORDER BY ID",
            {LL(settledMonth)});
    readQuantityRows(c, first, first.addDays(first.daysInMonth() - 1));
    readQuantityRows(c, settledFirst, settledFirst.addDays(settledFirst.daysInMonth() - 1));
    deleteComputed(c, month);
    insertLines(c, lines);
    c.commit();
}

Approval Approval::of(native::Connection& c, int month)
{
    Approval a;
    a.invoices = c.rows("SELECT ID, KOD, NUMER, OSOBA, WYST, TERMIN, TYTUL FROM FAKT WHERE KOD = ? ORDER BY ID", {LL(month)});
    a.lines = c.rows("SELECT IDF, LPF, ID FROM NALICZ WHERE KOD = ? AND TYP = '1' ORDER BY ID", {LL(month)});
    return a;
}

void undoApproval(native::Connection& c, int month)
{
    c.begin();
    c.prepare("UPDATE NALICZ SET TYP = '0', IDF = NULL, LPF = NULL WHERE KOD = ?").exec({LL(month)});
    c.prepare("DELETE FROM FAKT WHERE KOD = ?").exec({LL(month)});
    c.commit();
}

void approvalFloor(native::Connection& c, int month, const Approval& approval)
{
    c.begin();
    readAll(c, "SELECT ID, OSOBA, MEDIUM, ILOSC, CENA, WARTOSC, STAWKA, VAT, IDOPIE FROM NALICZ "
               "WHERE KOD = ? AND TYP = '0' ORDER BY ID",
            {LL(month)});
    native::Statement invoice =
        c.prepare("INSERT INTO FAKT (ID, KOD, NUMER, OSOBA, WYST, TERMIN, TYTUL) VALUES (?, ?, ?, ?, ?, ?, ?)");
    invoice.execAll(approval.invoices);
    native::Statement approve = c.prepare("UPDATE NALICZ SET TYP = '1', IDF = ?, LPF = ? WHERE ID = ?");
    approve.execAll(approval.lines);
    c.commit();
}

long long readMonthView(native::Connection& c, QDate day)
{
    const QDate first(day.year(), day.month(), 1);
    long long n = 0;
    n += readAll(c, "SELECT DNIWOLNE FROM MIESIACE WHERE ROK = ? AND MIES = ?", {LL(day.year()), LL(day.month())});
    n += readQuantityRows(c, first, first.addDays(first.daysInMonth() - 1));
    n += readAll(c, "SELECT OSOBA, OBECNY, ILE FROM OBECM WHERE ROK = ? AND MIES = ?", {LL(day.year()), LL(day.month())});
    return n;
}

}  // namespace bench
