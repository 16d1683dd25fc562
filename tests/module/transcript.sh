#!/usr/bin/env bash
# transcript.sh HOST.exe MODULE.cvp SCRIPT EXPECTED
# Runs the stand-in host on SCRIPT and compares the lines it prints (set-up
# and commands; the catalogue and the closing ledger lines are left out) with
# EXPECTED. The host's own exit code (expectations, block balance) must be 0
# (pipefail: the pipe's code is the host's, not tr's).
set -uo pipefail
here=$(cd "$(dirname "$0")/../.." && pwd)
out=$("$here/scripts/wine-run" "$1" "$2" "$3" | tr -d '\r')
rc=$?
actual=$(printf '%s\n' "$out" | grep -v -E '^(AddAction|Blocks allocated|Expectations:)')
if ! diff -u "$4" <(printf '%s\n' "$actual"); then
  echo "transcript differs from $4"; exit 1
fi
[ "$rc" = 0 ] || { printf '%s\n' "$out" | tail -3; echo "host exit code $rc"; exit 1; }
exit 0
