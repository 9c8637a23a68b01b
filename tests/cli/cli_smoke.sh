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
exit $fail
