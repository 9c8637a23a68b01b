#!/usr/bin/env bash
# The command-line tool's contract: outputs and exit codes.
set -u
ctl=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0
check() {  # description, expected status, expected output (grep -x pattern or ""), command...
  local what=$1 want=$2 pattern=$3; shift 3
  local out status
  out=$("$@" 2>"$dir/err"); status=$?
  if [[ $status != "$want" ]]; then
    echo "FAIL $what: status $status, expected $want ($(cat "$dir/err"))"; fail=1; return
  fi
  if [[ -n $pattern ]] && ! grep -q -x -- "$pattern" <<<"$out"; then
    echo "FAIL $what: output did not contain '$pattern':"; echo "$out"; fail=1
  fi
}
s="$dir/store"
login=(--store "$s" --user admin --password tebov)
check "init" 0 "" "$ctl" init "$s" --name "Przedszkole Słonko" --client 57
check "second init refused" 1 "" "$ctl" init "$s"
check "missing store" 1 "" "$ctl" --store "$dir/nowhere" --user admin --password tebov query "select 1"
[[ -e $dir/nowhere ]] && { echo "FAIL opening a missing store created it"; fail=1; }
check "query header" 0 "NAZWA	KODKLI" "$ctl" "${login[@]}" query "select NAZWA, KODKLI from FIRMA"
check "query row" 0 "Przedszkole Słonko	57" "$ctl" "${login[@]}" query "select NAZWA, KODKLI from FIRMA"
check "changed rows" 0 "1" "$ctl" "${login[@]}" query "update FIRMA set NIP = '1'"
check "wrong password" 3 "" "$ctl" --store "$s" --user admin --password zle params
check "no user" 2 "" "$ctl" --store "$s" params
check "params" 0 "ILOŚĆ PO PRZECINKU=4" "$ctl" "${login[@]}" params
check "bad SQL" 1 "" "$ctl" "${login[@]}" query "selec 1"
check "unknown command" 2 "" "$ctl" bogus
check "eval" 0 "2.68" "$ctl" eval "2,675" --decimals 2
check "eval negative" 0 "-10" "$ctl" eval "-(2+3)*2"
check "eval error" 1 "" "$ctl" eval "2*x"
check "words" 0 "Jeden tysiąc jeden złotych" "$ctl" words 1001
# --- the month's money on a small store made with plain SQL -----------------
check_err() {  # description, expected status, expected stderr line (grep -x pattern), command...
  local what=$1 want=$2 pattern=$3; shift 3
  local status
  "$@" >"$dir/out" 2>"$dir/err"; status=$?
  if [[ $status != "$want" ]]; then
    echo "FAIL $what: status $status, expected $want ($(cat "$dir/err"))"; fail=1; return
  fi
  if ! grep -q -x -- "$pattern" "$dir/err"; then
    echo "FAIL $what: stderr did not contain '$pattern':"; cat "$dir/err"; fail=1
  fi
}
sql() { "$ctl" "${m[@]}" query "$1" >/dev/null || { echo "FAIL setup: $1"; fail=1; }; }
value() { "$ctl" "${m[@]}" query "$1" | tail -n 1; }
expect_value() {  # description, expected, SQL
  local got; got=$(value "$3")
  [[ $got == "$2" ]] || { echo "FAIL $1: got '$got', expected '$2'"; fail=1; }
}
# --- print templates ------------------------------------------------------------
check "delivered templates" 0 "5	4	Faktura" "$ctl" "${login[@]}" template list
check "template export" 0 "" "$ctl" "${login[@]}" template export Faktura "$dir/faktura.txt"
grep -q $'\r$' "$dir/faktura.txt" || { echo "FAIL exported template without CR LF"; fail=1; }
check "template import replaces" 0 "Zastąpiono szablon „Faktura” typu 4 (ID=5)" \
  "$ctl" "${login[@]}" template import --type 4 --name Faktura "$dir/faktura.txt"
check "template export again" 0 "" "$ctl" "${login[@]}" template export Faktura "$dir/faktura2.txt"
cmp -s "$dir/faktura.txt" "$dir/faktura2.txt" || { echo "FAIL template export, import, export changed the bytes"; fail=1; }
printf '\nStały tekst\nTekst\nlewo\n0\n150\n17\n16777215\n0\nArial\n238\n0\n-13\n0\n10\n \n' >"$dir/zly.txt"
check_err "malformed template refused" 1 "Błędny układ szablonu: w wierszu 4 „lewo” nie jest liczbą całkowitą" \
  "$ctl" "${login[@]}" template import --type 1 --name Zły "$dir/zly.txt"
sed -i 's/^lewo$/10/' "$dir/zly.txt"
check "template import adds" 0 "Dodano szablon „Dobry” typu 1 (ID=6)" \
  "$ctl" "${login[@]}" template import --type 1 --name Dobry "$dir/zly.txt"
check "template import bad type" 2 "" "$ctl" "${login[@]}" template import --type 5 --name X "$dir/zly.txt"
check "template export unknown" 1 "" "$ctl" "${login[@]}" template export Brak "$dir/x.txt"
ms="$dir/money"
m=(--store "$ms" --user admin --password tebov)
"$ctl" init "$ms" >/dev/null
sql "UPDATE OPCJE SET PARAMS = '[PARAMETRY]' || char(13) || char(10) || 'SPOSOBY JEDNOLITE=N' || char(13) || char(10) || 'FAKTURY TYTULEM=Opłaty'"
sql "INSERT INTO KLASY (NAZWA, KOLEJ) VALUES ('Grupa A', 1)"
sql "INSERT INTO DZIECI (NAZWA, ULICA, KLASA, AKTYWNY) VALUES ('Kowalska Anna', 'Polna 1', 1, 'T')"
sql "INSERT INTO DZIECI (NAZWA, ULICA, KLASA, AKTYWNY) VALUES ('Nowak Jan', 'Leśna 2', 1, 'T')"
sql "INSERT INTO MEDIA (NAZWA, KOLEJ) VALUES ('Opłata stała', 1)"
sql "INSERT INTO SPOSOBY (NAZWA, OPIS) VALUES ('Zaliczka', 'ID*12')"
sql "INSERT INTO SPOSOBY (NAZWA, OPIS) VALUES ('Rozliczenie', 'IT*12')"
sql "INSERT INTO TARMED (TARYFA, MEDIUM, ODDATY, CENA, JM) VALUES (0, 1, '2024-01-01', 1.0, 'dzień')"
sql "INSERT INTO DZIEMED (OSOBA, MEDIUM, ODDATY, SPOSOB, SPOROZ) VALUES (1, 1, '2024-01-01', 1, 2)"
sql "INSERT INTO DZIEMED (OSOBA, MEDIUM, ODDATY, SPOSOB, SPOROZ) VALUES (2, 1, '2024-01-01', 1, 2)"
# Anna: present on the first 15 of February's 21 working days, absent on the rest; Jan: no marks.
n=0
for d in 01 02 05 06 07 08 09 12 13 14 15 16 19 20 21 22 23 26 27 28 29; do
  n=$((n + 1)); mark=T; [[ $n -gt 15 ]] && mark=N
  sql "INSERT INTO OBECN (OSOBA, DATA, OBECNY) VALUES (1, '2024-02-$d', '$mark')"
done

check "quantities without a month record" 0 "IC=0" "$ctl" "${m[@]}" quantities --child 1 --month 2024-02
check "quantities count the marks" 0 "IT=15" "$ctl" "${m[@]}" quantities --child 1 --month 2024-02
check "month-add" 0 "DNIWOLNE=3,4,10,11,17,18,24,25" "$ctl" "${m[@]}" month-add 2024-02
check_err "month-add twice" 1 "Miesiąc rozrachunkowy luty 2024 już istnieje" "$ctl" "${m[@]}" month-add 2024-02
check "quantities working days" 0 "ID=21" "$ctl" "${m[@]}" quantities --child 1 --month 2024-02
check "quantities period" 0 "IT=4" "$ctl" "${m[@]}" quantities --child 1 --month 2024-02 --from 2024-02-05 --to 2024-02-08 --code IT
check "quantities problems" 0 "Błąd: Nowak Jan, Leśna 2 - brak określenia obecności/nieobecności w dniu 01.02.2024" \
  "$ctl" "${m[@]}" quantities --child 2 --month 2024-02
check "quantities bad code" 2 "" "$ctl" "${m[@]}" quantities --child 1 --month 2024-02 --code IY
check "charge-run February" 0 "" "$ctl" "${m[@]}" charge-run --month 2024-02
check "approve February" 0 "" "$ctl" "${m[@]}" approve --month 2024-02 --issue-date 2024-02-05 --title "Opłata luty"
expect_value "February approved" "504" "SELECT SUM(WARTOSC) FROM NALICZ WHERE TYP = '1'"
expect_value "February invoices" "2	2024-02-05	2024-02-29	Opłata luty" \
  "SELECT COUNT(*), MIN(WYST), MIN(TERMIN), MIN(TYTUL) FROM FAKT"
check "balance after approval" 0 "-252.00" "$ctl" "${m[@]}" balance --child 1 --month 2024-02
check "month-add March" 0 "KOD=2" "$ctl" "${m[@]}" month-add 2024-03
check "charge-run March reports gaps" 0 "Błąd: Nowak Jan, Leśna 2 - brak określenia obecności/nieobecności w dniu 29.02.2024" \
  "$ctl" "${m[@]}" charge-run --month 2024-03
expect_value "March advance, reversal, settlement" "252.0 N ;-252.0 T -1;180.0 T 1" \
  "SELECT GROUP_CONCAT(WARTOSC || ' ' || ROZLICZ || ' ' || COALESCE(DOT, ''), ';') FROM (SELECT * FROM NALICZ WHERE KOD = 2 AND OSOBA = 1 ORDER BY ID)"
check_err "an option naming no entry" 1 "Nie ma „9” na liście „Wybierz składniki opłat” (opcja --components)" \
  "$ctl" "${m[@]}" charge-run --month 2024-03 --components 9
expect_value "the stopped run wrote nothing" "5" "SELECT COUNT(*) FROM NALICZ WHERE KOD = 2"
check "charge-run without a month" 2 "" "$ctl" "${m[@]}" charge-run
check "approve with a bad date" 2 "" "$ctl" "${m[@]}" approve --month 2024-03 --issue-date 2024-13-01
sql "INSERT INTO WPLATY (KOD, DATA, OSOBA, WARTOSC) VALUES (2, '2024-03-04', 1, 100.5)"
check "balance with a payment" 0 "-151.50" "$ctl" "${m[@]}" balance --child 1 --month 2024-03
check "balance of nobody" 1 "" "$ctl" "${m[@]}" balance --child 99 --month 2024-03
check "approve March for one child" 0 "" "$ctl" "${m[@]}" approve --month 2024-03 --child 1
check "balance after March" 0 "-331.50" "$ctl" "${m[@]}" balance --child 1 --month 2024-03
check_err "undo refused while a later month has charges" 1 \
  "Aby cofnąć naliczenia nie może być naliczeń na późniejsze miesiące" "$ctl" "${m[@]}" undo-approval --month 2024-02
check "undo for one child" 0 "Koniec operacji" "$ctl" "${m[@]}" undo-approval --month 2024-03 --child 1
expect_value "undo removed the child's approved lines and invoice" "0 0" \
  "SELECT (SELECT COUNT(*) FROM NALICZ WHERE KOD = 2 AND TYP = '1') || ' ' || (SELECT COUNT(*) FROM FAKT WHERE KOD = 2)"
check "undo of an unknown month" 1 "" "$ctl" "${m[@]}" undo-approval --month 2023-01
check "no user for charges" 2 "" "$ctl" --store "$ms" charge-run --month 2024-03
check "a month of year 0" 2 "" "$ctl" "${m[@]}" charge-run --month 0000-05
check "a date past 2100" 2 "" "$ctl" "${m[@]}" approve --month 2024-03 --issue-date 2101-01-01
check_err "a list naming nothing" 2 "Opcja --components nie wskazuje niczego" "$ctl" "${m[@]}" charge-run --month 2024-03 --components ,,,
check "maintenance check" 0 "Baza danych jest sprawna." "$ctl" "${m[@]}" maintenance check
check "maintenance without an action" 2 "" "$ctl" "${m[@]}" maintenance

# --- a help centre's share with VAT, invoices per payer and their continuation ---
hs="$dir/centre"
m=(--store "$hs" --user admin --password tebov)
"$ctl" init "$hs" >/dev/null
sql "UPDATE OPCJE SET OPIE = 3, PARAMS = '[PARAMETRY]' || char(13) || char(10) || 'SPOSOBY JEDNOLITE=N' || char(13) || char(10) || 'FAKTURY TYTULEM=Opłaty'"
sql "INSERT INTO KLASY (NAZWA, KOLEJ) VALUES ('Grupa A', 1)"
sql "INSERT INTO DZIECI (KOD, NAZWA, ULICA, KLASA, AKTYWNY) VALUES (1, 'Nowak Anna', 'Polna 1', 1, 'T'), (2, 'Ćwik Jan', 'Leśna 2', 1, 'T'), (3, 'MOPS', 'Rynek 1', 0, 'N')"
sql "INSERT INTO STAVAT (KOD, NAZWA, VAT) VALUES (1, '23%', 23)"
sql "INSERT INTO MEDIA (KOD, NAZWA, KOLEJ) VALUES (1, 'Pobyt', 1), (2, 'Rytmika', 2)"
sql "INSERT INTO SPOSOBY (KOD, NAZWA, OPIS) VALUES (1, 'Godziny', 'ID*12'), (2, 'Pół', '0,5')"
sql "INSERT INTO TARMED (TARYFA, MEDIUM, ODDATY, CENA, JM, STAWKA) VALUES (0, 1, '2024-01-01', 1.0, 'godz', 1), (0, 2, '2024-01-01', 0.25, 'zaj', NULL)"
sql "INSERT INTO DZIEMED (OSOBA, MEDIUM, ODDATY, SPOSOB, SPOROZ, PROCOPIE) VALUES (1, 1, '2024-01-01', 1, 0, 50), (2, 1, '2024-01-01', 1, 0, 30), (1, 2, '2024-01-01', 2, 0, 0)"
"$ctl" "${m[@]}" month-add 2024-02 >/dev/null
check "charge-run with shares" 0 "" "$ctl" "${m[@]}" charge-run --month 2024-02
# child:value:VAT:centre:invoice:position, in the order written; Ćwik comes before Nowak.
lines="SELECT group_concat(N.OSOBA || ':' || N.WARTOSC || ':' || COALESCE(N.VAT, '') || ':' || COALESCE(N.IDOPIE, '') || ':' || COALESCE(F.NUMER, '') || ':' || COALESCE(N.LPF, ''), ' ') FROM (SELECT * FROM NALICZ ORDER BY ID) N LEFT JOIN FAKT F ON F.ID = N.IDF"
expect_value "computed shares" "2:176.4:32.99::: 2:75.6:14.14:3:: 1:126.0:23.56::: 1:126.0:23.56:3:: 1:0.13::::" "$lines"
check "approve the stay" 0 "" "$ctl" "${m[@]}" approve --month 2024-02 --components 1
check "approve the rest with the same dates" 0 "" "$ctl" "${m[@]}" approve --month 2024-02 --components 2
sql "INSERT INTO NALICZ (KOD, TYP, OSOBA, MEDIUM, ILOSC, JM, CENA, WARTOSC, ROZLICZ, IDOPIE) VALUES (1, '0', 2, 1, 1, 'godz', 1.0, 1.0, 'N', 3)"
check "approve a further share" 0 "" "$ctl" "${m[@]}" approve --month 2024-02 --child 2
expect_value "invoices per payer, continued" "2:176.4:32.99::1:1 2:75.6:14.14:3:2:1 1:126.0:23.56::3:1 1:126.0:23.56:3:2:2 1:0.13:::3:2 2:1.0::3:2:3" "$lines"
expect_value "one invoice per payer" "1:2 2:3 3:1" \
  "SELECT group_concat(NUMER || ':' || OSOBA, ' ') FROM (SELECT * FROM FAKT ORDER BY NUMER)"

# --- printing ------------------------------------------------------------------
check "print grid to PDF" 0 "STRONY=1" "$ctl" "${m[@]}" print grid DZIECI --fields "NAZWA;AKTYWNY" --order NAZWA --filter "AKTYWNY=T" --sum AKTYWNY --pdf "$dir/dzieci.pdf"
pdftotext -layout "$dir/dzieci.pdf" "$dir/dzieci.txt" 2>/dev/null
for want in "Ćwik Jan" "Nowak Anna" "AKTYWNY = T" "T: +2" "Strona: 1" 'Vendrix "Lunawa" dla'; do
  grep -q -E -- "$want" "$dir/dzieci.txt" || { echo "FAIL print grid PDF lacks '$want'"; fail=1; }
done
grep -q "MOPS" "$dir/dzieci.txt" && { echo "FAIL print grid PDF holds a filtered-out row"; fail=1; }
check "print grid to CSV" 0 "STRONY=1" "$ctl" "${m[@]}" print grid KLASY --export "$dir/klasy.csv"
grep -q "Grupa A" "$dir/klasy.csv" || { echo "FAIL print grid CSV lacks the row"; fail=1; }
check "print grid unknown table" 2 "" "$ctl" "${m[@]}" print grid NIEMA --pdf "$dir/x.pdf"
check "print grid unknown field" 2 "" "$ctl" "${m[@]}" print grid KLASY --sum NIEMA --pdf "$dir/x.pdf"
check "print grid unknown format" 2 "" "$ctl" "${m[@]}" print grid KLASY --export "$dir/x.doc"
check "print unknown kind" 2 "" "$ctl" "${m[@]}" print bogus
check "print invoices to PDF" 0 "STRONY=[0-9]*" "$ctl" "${m[@]}" print invoices --month 2024-02 --copy "Kopia - duplikat" --pdf "$dir/faktury.pdf"
pdftotext -layout "$dir/faktury.pdf" "$dir/faktury.txt" 2>/dev/null
for want in "Faktura VAT nr: 1/" "Lp +Nazwa usługi +Ilość" "Razem wg stawek VAT" "Razem " "Do zapłaty:" "Kopia - duplikat" "z dnia" 'Vendrix "Lunawa" dla'; do
  grep -q -E -- "$want" "$dir/faktury.txt" || { echo "FAIL print invoices PDF lacks '$want'"; fail=1; }
done
check "print invoices of one child" 0 "STRONY=1" "$ctl" "${m[@]}" print invoices --month 2024-02 --child 3 --pdf "$dir/faktura3.pdf"
pdftotext -layout "$dir/faktura3.pdf" "$dir/faktura3.txt" 2>/dev/null
grep -q "Faktura VAT nr: 2/" "$dir/faktura3.txt" || { echo "FAIL print invoices --child lacks the child's invoice"; fail=1; }
grep -q -E "Faktura VAT nr: [13]/" "$dir/faktura3.txt" && { echo "FAIL print invoices --child prints another child's invoice"; fail=1; }
check "print invoices unknown template" 1 "" "$ctl" "${m[@]}" print invoices --month 2024-02 --template Niema --pdf "$dir/x.pdf"
check "print invoices unknown copy label" 2 "" "$ctl" "${m[@]}" print invoices --month 2024-02 --copy Odpis --pdf "$dir/x.pdf"
check "print invoices month without a record" 1 "" "$ctl" "${m[@]}" print invoices --month 2031-01 --pdf "$dir/x.pdf"

# --- deadlines and reminders -------------------------------------------------
check "deadline added" 0 "1" "$ctl" "${login[@]}" query \
  "INSERT INTO TERMINY (OPIS, DATA, ILOKRESOW, OKRES, DNIPRZED) VALUES ('Przegląd', '2024-01-31', 1, 'M', 20)"
check "deadlines" 0 "[0-9]*	Przegląd	2024-03-31	2024-02-29" "$ctl" "${login[@]}" deadlines --day 2024-03-15
check "deadlines need a day" 2 "" "$ctl" "${login[@]}" deadlines
check "reminders" 0 "Nadchodzący termin 31.03.2024:  - Przegląd" "$ctl" "${login[@]}" reminders --day 2024-03-15

# --- the demonstration store --------------------------------------------------
check "demo" 0 "Grupy: 3, dzieci: 60, .*" "$ctl" demo "$dir/demo"
check "demo twice refused" 1 "" "$ctl" demo "$dir/demo"
check "demo store has children" 0 "60" "$ctl" --store "$dir/demo" --user admin --password tebov \
  query "SELECT COUNT(*) FROM DZIECI WHERE AKTYWNY = 'T'"
check "print attendance month view" 0 "STRONY=[1-9][0-9]*" "$ctl" --store "$dir/demo" --user admin --password tebov \
  print attendance --day 2026-11-05 --month-view --colours --groups 1 --pdf "$dir/obecnosci.pdf"
pdftotext -layout "$dir/obecnosci.pdf" "$dir/obecnosci.txt" 2>/dev/null
for want in "Obecności za miesiąc listopad 2026" "Legenda" "Czas płatny wprowadzonych dni: [0-9]+:[0-5][0-9]"; do
  grep -q -E -- "$want" "$dir/obecnosci.txt" || { echo "FAIL print attendance PDF lacks '$want'"; fail=1; }
done
exit $fail
