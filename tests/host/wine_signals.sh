#!/usr/bin/env bash
# The host's barriers, Signal and Await (and WaitVar's time-out), through the
# stand-in host under Wine: a signal raised while another command waits ends
# the wait; a missing one fails the run after its time-out; names cannot
# leave the folder; a time-out that is not plain digits is refused, and so
# is every other number of a script that is not one.
#
#   tests/host/wine_signals.sh HOST.exe riZER_2.cvp
#
# Runs inside a private namespace with Wine already started (wine-env.sh).
# Prints one line per check and then "N passed, M failed".
set -u
if [ $# -ne 2 ]; then
  echo "usage: $0 HOST.exe riZER_2.cvp" >&2
  exit 2
fi
host_exe=$(readlink -f "$1")
module=$(readlink -f "$2")
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/lib.sh"
# In the repository: every Wine lane sees it (a lane's own /tmp may differ).
mkdir -p "$root/build/e2e"
work=$(mktemp -d "$root/build/e2e/signals.XXXXXX")
trap 'rm -rf "$work"' EXIT
passed=0 failed=0

run_host() {  # script text, signal folder: output in $out, exit code in $rc
  printf '%s\n' "$1" >"$work/script.cvs"
  "$root/scripts/wine-run" "$host_exe" "$module" "$work/script.cvs" "$2" >"$work/out" 2>&1 </dev/null
  rc=$?
  out=$(tr -d '\r' <"$work/out")
}

mkdir "$work/meet"
run_host 'Sub Raise
Signal late
End
After 200 Raise
Await late 10000
Signal done' "$work/meet"
check "a signal raised during a wait ends it" \
  test "$rc" = 0 -a -e "$work/meet/late" -a -e "$work/meet/done"

mkdir "$work/bad"
run_host 'Await never 300
Signal "../escape"
Signal "a/b"
Await "..\\x" 100
Await never -5
Await never soon
WaitVar Chat "x" -5' "$work/bad"
check "a missing signal, bad names and bad times fail the run, and write nothing" bash -c '
  [ "$0" = 1 ] && grep -q "FAIL line 1: no signal never within 300 ms" <<<"$1" &&
  [ "$(grep -c "FAIL line [234567]:" <<<"$1")" = 6 ] && [ ! -e "$2/escape" ] && [ -z "$(ls -A "$2/bad")" ]' \
  "$rc" "$out" "$work"

run_host 'Signal here' "$work/missing"
check "an unwritable folder fails the signal" bash -c '[ "$0" = 1 ] && grep -q "FAIL line 1: cannot write" <<<"$1"' "$rc" "$out"

# Each bad number is a failed line, not a 0 that runs on: Exec 0 and Sleep 0
# would pass unnoticed.
run_host 'Sub Later
Signal later
End
Exec soon
Edit 1x
ExecNull
EditNull 99999999999
Sleep -5
Sleep 5 ms
After 1e3 Later
BoxDelay 0x10
Dialog Shot "x.bmp" Wait soon Close
Exec 0
Sleep 0' "$work/meet"
check "bad numbers fail the run, each its own line" bash -c '
  [ "$0" = 1 ] && [ "$(grep -c "^FAIL line" <<<"$1")" = 9 ] &&
  for n in 4 5 6 7 8 9 10 11 12; do grep -q "^FAIL line $n:" <<<"$1" || exit 1; done &&
  grep -q "^Exec 0 -> false" <<<"$1" && [ ! -e "$2/meet/later" ]' "$rc" "$out" "$work"

tally_line
