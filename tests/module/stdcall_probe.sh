#!/usr/bin/env bash
# stdcall_probe.sh HOST.exe stdcall_probe.cvp   (32-bit build, inside a started Wine lane)
# The probe module (stdcall_probe.cpp) has two entry points that a 32-bit
# host cannot call: the static check must name exactly those two, and the
# host must end the run at the first call of either, while the right ones
# (including the one that returns through a tail jump) pass.
set -u
host_exe=$1 probe=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/lib.sh"
mkdir -p "$root/build/e2e"  # every Wine lane sees the repository
work=$(mktemp -d "$root/build/e2e/stdcall.XXXXXX")
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
verdict() {  # name, ok(0)/not, detail
  if [ "$2" = 0 ]; then tally_pass "ok   $1"; else tally_fail "FAIL $1: $3"; fi
}

out=$(/usr/bin/python3 "$root/tests/module/check-stdcall.py" "$probe"); rc=$?
want='cvMessage: returns popping 8 bytes, must pop 12
cvExecAction: returns popping 0 bytes, must pop 8'
[ "$rc" = 1 ] && [ "$out" = "$want" ]
verdict "static check names the two wrong exports" $? "exit $rc, output: $out"

# script line | host exit code | the host's last line
rows='Edit 1 "x"|0|Expectations: 0 passed, 0 failed
Message|4|host: cvMessage left 4 bytes on the stack; it must pop 12 (a 32-bit host relies on stdcall: the callee pops its arguments)
Exec 1 "x"|4|host: cvExecAction left 8 bytes on the stack; it must pop 8 (a 32-bit host relies on stdcall: the callee pops its arguments)'
while IFS='|' read -r line code last; do
  printf '%s\n' "$line" >"$work/probe.cvs"
  out=$("$root/scripts/wine-run" "$host_exe" "$probe" "$work/probe.cvs" 2>"$work/stderr"); rc=$?
  got=$(tr -d '\r' <<<"$out" | tail -n1)
  [ "$rc" = "$code" ] && [ "$got" = "$last" ]
  verdict "host: $line" $? "exit $rc, last line: $got"
done <<<"$rows"

tally_line
