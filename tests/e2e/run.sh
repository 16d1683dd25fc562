#!/usr/bin/env bash
# tests/e2e/run.sh [HOST.exe MODULE.cvp]
# Two stand-in hosts under Wine in two namespaces joined by a veth pair (a LAN
# of their own), once per lane. Each case is a pair of scripts, cases/NAME.a.cvs
# and NAME.b.cvs, started together on the two sides; the two meet through
# Signal/Await and WaitVar, not fixed sleeps. A side passes when its host
# exits 0 (every expectation and barrier met, memory balanced), every line of
# NAME.SIDE.expect occurs in its output, every line of NAME.SIDE.once exactly
# once, and no line of NAME.SIDE.reject does. NAME.SIDE.key, when a case has
# one, is that side's riZER.key (see side.sh); NAME.SIDE.tap starts a
# listener beside that side's host (tap.py).
# Prints one line per lane and case and then "N passed, M failed".
#
# Lanes (RIZER_E2E_LANES="..." picks some, default all):
#   wine8-x64 wine10-x64 wine10-x86   both sides in that Wine lane, every case
#   mixed   side a the x86 build under wine10-x86, side b the x64 build under
#           wine10-x64: the cases in mixed_cases below
# A lane that cannot run here fails, saying why; one that cannot run on this
# machine at all (rizer_lane_why_not: a kernel without 32-bit code for the x86
# lanes) is named as not run.
# HOST.exe and MODULE.cvp, when given, are the x64 build's; x86 sides take
# build/x86's (or RIZER_E2E_HOST_X86 and RIZER_E2E_MODULE_X86).
#   RIZER_E2E_ONLY="name ..." runs only those cases.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-env.sh"
export RIZER_E2E_HOST_X64=$(realpath -m "${1:-$root/build/x64/host/rizer-host.exe}")
export RIZER_E2E_MODULE_X64=$(realpath -m "${2:-$root/build/x64/src/plugin/riZER_2.cvp}")
export RIZER_E2E_HOST_X86=${RIZER_E2E_HOST_X86:-$root/build/x86/host/rizer-host.exe}
export RIZER_E2E_MODULE_X86=${RIZER_E2E_MODULE_X86:-$root/build/x86/src/plugin/riZER_2.cvp}

# lane: "side a's Wine lane, side b's"
declare -A lane_sides=(
  [wine8-x64]="wine8-x64 wine8-x64"
  [wine10-x64]="wine10-x64 wine10-x64"
  [wine10-x86]="wine10-x86 wine10-x86"
  [mixed]="wine10-x86 wine10-x64"
)
all_lanes="wine8-x64 wine10-x64 wine10-x86 mixed"
mixed_cases="chat_both_ways gosub_both boxes burst keyed_group strangers_key"

# Inside the repository, not /tmp: a lane that runs Wine in a root file
# system of its own sees the repository's folder, but not this /tmp.
mkdir -p "$root/build/e2e"
work=$(mktemp -d "$root/build/e2e/run.XXXXXX")
# RIZER_E2E_KEEP=1 keeps the scripts and the hosts' output for a look.
if [ "${RIZER_E2E_KEEP:-}" = 1 ]; then echo "e2e: output in $work"; else trap 'rm -rf "$work"' EXIT; fi
mkdir -p "$work/cases"
cp "$root"/tests/e2e/cases/* "$work/cases/"

# A burst: Ann sends 600 lines back to back; Bob must get every one, in
# order, over a few ticks (each tick takes at most 256).
{
  echo 'riZEROpenPort "50150" "Chat"'
  echo 'Log off'
  echo 'Signal ann-open'
  echo 'Await bob-open 30000'
  for i in $(seq 600); do echo "riZERSendMessage \"Ann\" \"line $i\""; done
  echo 'riZERClosePort'
} >"$work/cases/burst.a.cvs"
{
  echo 'riZEROpenPort "50150" "Chat"'
  echo 'Log off'
  echo 'Signal bob-open'
  echo 'Await ann-open 30000'
  printf 'WaitVar Chat "'
  for i in $(seq 600); do printf '<Ann>: line %d\\r\\n' "$i"; done
  echo '" 60000'
  echo 'riZERClosePort'
} >"$work/cases/burst.b.cvs"

all_cases=$(cd "$work/cases" && ls *.a.cvs | sed 's/\.a\.cvs$//' | sort)

check_case() {  # results folder, name; prints why it failed (nothing: passed)
  local results=$1 name=$2 side log rc line n why=""
  for side in a b; do
    log="$results/$name.$side.log"
    rc=$(cat "$results/$name.$side.rc" 2>/dev/null || echo none)
    [ "$rc" = 0 ] || why+=" $side: exit $rc;"
    if [ -f "$work/cases/$name.$side.expect" ]; then
      while IFS= read -r line; do
        grep -qF -- "$line" "$log" 2>/dev/null || why+=" $side: no '$line';"
      done <"$work/cases/$name.$side.expect"
    fi
    if [ -f "$work/cases/$name.$side.once" ]; then
      while IFS= read -r line; do
        n=$(grep -cF -- "$line" "$log" 2>/dev/null)
        [ "${n:-0}" = 1 ] || why+=" $side: '$line' ${n:-0} times, not once;"
      done <"$work/cases/$name.$side.once"
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
  printf '%s' "$why"
}

seconds() {  # results folder, name: from the earlier start to the later end
  local results=$1 name=$2
  cat "$results/$name".[ab].start "$results/$name".[ab].end 2>/dev/null |
    awk 'NR <= 2 { s = (NR == 1 || $1 < s) ? $1 : s } NR > 2 { e = ($1 > e) ? $1 : e } END { if (e) printf "%.1f", e - s }'
}

passed=0 failed=0
for lane in ${RIZER_E2E_LANES:-$all_lanes}; do
  if [ -z "${lane_sides[$lane]:-}" ]; then
    echo "FAIL $lane: no such lane (lanes: $all_lanes)"; failed=$((failed + 1)); continue
  fi
  read -r lane_a lane_b <<<"${lane_sides[$lane]}"
  if why=$(rizer_lane_why_not "$lane_a" || rizer_lane_why_not "$lane_b"); then
    echo "     $lane: not run here: $why"; continue
  fi
  names=$all_cases
  [ "$lane" = mixed ] && names=$mixed_cases
  if [ -n "${RIZER_E2E_ONLY:-}" ]; then
    names=$(for n in $names; do [[ " $RIZER_E2E_ONLY " == *" $n "* ]] && echo "$n"; done)
  fi
  [ -n "$names" ] || continue
  results=$work/$lane/results
  mkdir -p "$results" "$work/$lane/signals"
  started=$(date +%s.%N)
  RIZER_E2E_LANE_A=$lane_a RIZER_E2E_LANE_B=$lane_b RIZER_E2E_CASES=$work/cases RIZER_E2E_RESULTS=$results \
    RIZER_E2E_SIGNALS=$work/$lane/signals RIZER_E2E_NAMES="$names" \
    "$root/scripts/netns-pair" "$root/tests/e2e/side.sh" -- "$root/tests/e2e/side.sh" >/dev/null 2>&1
  for side in a b; do
    status=$(cat "$results/lane.$side" 2>/dev/null || echo "side did not start")
    [ "$status" = ok ] || { echo "FAIL $lane: not available: side $side: $status"; failed=$((failed + 1)); continue 2; }
  done
  for name in $names; do
    why=$(check_case "$results" "$name")
    if [ -z "$why" ]; then
      echo "ok   $lane/$name ($(seconds "$results" "$name") s)"; passed=$((passed + 1))
    else
      echo "FAIL $lane/$name:${why:0:400}"; failed=$((failed + 1))
    fi
  done
  echo "     $lane: $(awk -v s="$started" -v e="$(date +%s.%N)" 'BEGIN { printf "%.0f", e - s }') s"
done
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
