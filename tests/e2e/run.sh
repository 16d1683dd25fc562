#!/usr/bin/env bash
# tests/e2e/run.sh [HOST.exe MODULE.cvp]
# Two stand-in hosts under Wine in two namespaces joined by a veth pair (a LAN
# of their own). Each case is a pair of scripts, cases/NAME.a.cvs and
# NAME.b.cvs, started together on the two sides; a side passes when its host
# exits 0 (every Expect/ExpectBox met, memory balanced), every line of
# NAME.SIDE.expect occurs in its output and no line of NAME.SIDE.reject does.
# Prints one line per case and then "N passed, M failed".
#   RIZER_E2E_ONLY="name ..." runs only those cases.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
host=$(realpath "${1:-$root/build/x64/host/rizer-host.exe}")
module=$(realpath "${2:-$root/build/x64/src/plugin/riZER_2.cvp}")
for f in "$host" "$module"; do
  [ -f "$f" ] || { echo "e2e: missing $f"; echo "0 passed, 1 failed"; exit 1; }
done

work=$(mktemp -d /tmp/rizer-e2e.XXXXXX)
# RIZER_E2E_KEEP=1 keeps the scripts and the hosts' output for a look.
if [ "${RIZER_E2E_KEEP:-}" = 1 ]; then echo "e2e: output in $work"; else trap 'rm -rf "$work"' EXIT; fi
mkdir -p "$work/cases" "$work/results"
cp "$root"/tests/e2e/cases/* "$work/cases/"

# A burst: Bob sends 600 lines back to back; Ann must get every one, in order,
# over a few ticks (each tick takes at most 256).
{
  echo 'riZEROpenPort "50150" "Chat"'
  echo 'Log off'
  echo 'Sleep 9000'
  printf 'Expect Chat "'
  for i in $(seq 600); do printf '<Bob>: line %d\\r\\n' "$i"; done
  echo '"'
  echo 'riZERClosePort'
} >"$work/cases/burst.a.cvs"
{
  echo 'riZEROpenPort "50150" "Chat"'
  echo 'Log off'
  echo 'Sleep 4000'
  for i in $(seq 600); do echo "riZERSendMessage \"Bob\" \"line $i\""; done
  echo 'Sleep 4500'
  echo 'riZERClosePort'
} >"$work/cases/burst.b.cvs"

names=${RIZER_E2E_ONLY:-$(cd "$work/cases" && ls *.a.cvs | sed 's/\.a\.cvs$//' | sort)}
export RIZER_E2E_HOST=$host RIZER_E2E_MODULE=$module RIZER_E2E_CASES=$work/cases \
  RIZER_E2E_RESULTS=$work/results RIZER_E2E_NAMES="$names"
"$root/scripts/netns-pair" "$root/tests/e2e/side.sh" -- "$root/tests/e2e/side.sh" >/dev/null 2>&1

passed=0 failed=0
for name in $names; do
  why=""
  for side in a b; do
    log="$work/results/$name.$side.log"
    rc=$(cat "$work/results/$name.$side.rc" 2>/dev/null || echo none)
    [ "$rc" = 0 ] || why+=" $side: exit $rc;"
    if [ -f "$work/cases/$name.$side.expect" ]; then
      while IFS= read -r line; do
        grep -qF -- "$line" "$log" 2>/dev/null || why+=" $side: no '$line';"
      done <"$work/cases/$name.$side.expect"
    fi
    if [ -f "$work/cases/$name.$side.reject" ]; then
      while IFS= read -r line; do
        ! grep -qF -- "$line" "$log" 2>/dev/null || why+=" $side: found '$line';"
      done <"$work/cases/$name.$side.reject"
    fi
    if [ -n "$why" ] && [ -f "$log" ]; then
      why+=" [$(grep -E 'FAIL|host:' "$log" | head -n 3 | tr '\n' ' ')]"
    fi
  done
  if [ -z "$why" ]; then
    echo "ok   $name"; passed=$((passed + 1))
  else
    echo "FAIL $name:${why:0:400}"; failed=$((failed + 1))
  fi
done
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
