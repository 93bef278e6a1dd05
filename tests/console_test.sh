#!/usr/bin/env bash
# The console edition through a pipe, with its own state directory: two runs
# answered Yes switch the setting off and on again, the end of input changes
# nothing, and a state file it cannot read is refused and left as it was.
set -u
mizona=$1
state=$(mktemp -d)
trap 'rm -rf "$state"' EXIT
export XDG_STATE_HOME=$state
file=$state/mizona/registry.reg
passed=0 failures=0
check() {  # check DESCRIPTION COMMAND...
  if "${@:2}"; then
    echo "ok: $1"; passed=$((passed + 1))
  else
    echo "FAILED: $1"; failures=$((failures + 1))
  fi
}

out=$(printf 'o\nn\n' | "$mizona"); status=$?
check "first run exits 0" test $status -eq 0
check "first run asks to switch off" grep -q 'Ajout Imprimante possible. Voulez-vous désactiver ?' <<<"$out"
check "first run reports switched off" grep -q "L'ajout d'imprimante a été désactivé." <<<"$out"
check "the value is stored as 1" grep -qx '"NoAddPrinter"=dword:00000001' "$file"
check "under the policy key" grep -qx '\[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\]' "$file"
check "no restart without a yes" bash -c '! grep -q redémarrerait <<<"$1"' _ "$out"

before=$(cat "$file")
out=$(printf '' | "$mizona"); status=$?
check "end of input exits 0" test $status -eq 0
check "end of input offers the opposite change" grep -q 'Ajout Imprimante désactivé. Voulez-vous activer ?' <<<"$out"
check "end of input changes nothing" test "$before" == "$(cat "$file")"

out=$(printf 'oui\no\n' | "$mizona"); status=$?
check "second run exits 0" test $status -eq 0
check "second run reports switched on" grep -q "L'ajout d'imprimante a été réactivé." <<<"$out"
check "the value is gone" bash -c '! grep -q NoAddPrinter "$1"' _ "$file"
check "the restart is only told" grep -q "redémarrerait maintenant" <<<"$out"

printf 'REGEDIT4\n[HKEY_CURRENT_USER\\A]\n"X"=dword:zz\n' >"$file"
cp "$file" "$state/kept"
err=$(printf 'o\nn\n' | "$mizona" 2>&1 >/dev/null); status=$?
check "a broken state file ends the run with an error" test $status -ne 0
check "and says which file and line" grep -q "registry.reg: line 3" <<<"$err"
check "and leaves the file as it was" cmp -s "$file" "$state/kept"

rm "$file" && mkdir "$file"  # there, but no file to read, even for root
out=$(printf 'o\nn\n' | "$mizona" 2>&1); status=$?
check "an unreadable state file ends the run with an error" test $status -ne 0
check "before any box is shown" bash -c '! grep -q MIZOna <<<"$1"' _ "$out"
check "and is left in place" test -d "$file"

echo "console edition: $passed passed, $failures failed"
test $failures -eq 0
