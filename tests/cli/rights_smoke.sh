#!/usr/bin/env bash
# lunawactl rights: a role scripted by the administrator, then tried by the
# user it was made for through free SQL.
set -u
ctl=$1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0
run() {  # description, expected status, command...
  local what=$1 want=$2; shift 2
  out=$("$@" 2>"$dir/err"); status=$?
  err=$(cat "$dir/err")
  if [[ $status != "$want" ]]; then
    echo "FAIL $what: status $status, expected $want ($err)"; fail=1
  fi
}
has() {  # description, text, exact line
  grep -q -x -- "$3" <<<"$2" || { echo "FAIL $1: no line '$3' in:"; echo "$2"; fail=1; }
}
s="$dir/store"
admin=(--store "$s" --user admin --password tebov)
teacher=(--store "$s" --user ola --password ola)
run "init" 0 "$ctl" init "$s" --name "Przedszkole"
run "user" 0 "$ctl" "${admin[@]}" query "insert into UZYT (NAZWA, OPIS, AKTYWNY, HASLO) values ('ola', 'Ola', 'T', '$(printf %s olaQUR | md5sum | cut -c1-32 | tr a-f A-F)')"
run "child" 0 "$ctl" "${admin[@]}" query "insert into DZIECI (NAZWA, ULICA, AKTYWNY, PESEL) values ('Wrona Wiktor', 'Leśna 2', 'T', '18210112345')"

run "grant table" 0 "$ctl" "${admin[@]}" rights grant --for-user ola --table DZIECI --level 1
run "grant field" 0 "$ctl" "${admin[@]}" rights grant --for-user ola --table DZIECI --field PESEL --field-level 0
run "grant lists" 0 "$ctl" "${admin[@]}" rights grant --for-user ola --functions "Dzieci;Obecnosci" --groups "-1"
run "show" 0 "$ctl" "${admin[@]}" rights show --for-user ola
has "show" "$out" "Funkcje: Dzieci;Obecnosci"
has "show" "$out" "Grupy dzieci: -1"
has "show" "$out" "DZIECI	Czyta"
has "show" "$out" "DZIECI.PESEL	Nic"
has "show" "$out" "KLASY	Nic"
run "bad level" 2 "$ctl" "${admin[@]}" rights grant --for-user ola --table DZIECI --level 7
run "bad function" 2 "$ctl" "${admin[@]}" rights grant --for-user ola --functions "Dziecko"
run "no such user" 1 "$ctl" "${admin[@]}" rights show --for-user nikt

# The user sees the children with an empty PESEL and writes nothing.
run "read" 0 "$ctl" "${teacher[@]}" query "select NAZWA, PESEL from DZIECI"
has "read" "$out" "Wrona Wiktor	"
for sql in "update DZIECI set MIASTO = 'Radom'" "delete from DZIECI" \
           "insert into DZIECI (NAZWA, ULICA) values ('X', 'Y')" "select * from KLASY"; do
  run "refused: $sql" 1 "$ctl" "${teacher[@]}" query "$sql"
  has "refused: $sql" "$err" "Brak dostępu"
done
run "no rights window for her" 1 "$ctl" "${teacher[@]}" rights show --for-user ola
run "still one child" 0 "$ctl" "${admin[@]}" query "select count(*) from DZIECI where MIASTO is null"
has "still one child" "$out" "1"
exit $fail
