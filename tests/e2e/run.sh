#!/usr/bin/env bash
# tests/e2e/run.sh [HOST.exe MODULE.cvp]
# Two stand-in hosts under Wine on a LAN of two namespaces of their own
# (scripts/netns-lan: a 10.77.2.1, b 10.77.2.2), once per lane. Each case is a pair of scripts, cases/NAME.a.cvs
# and NAME.b.cvs, started together on the two sides; the two meet through
# Signal/Await and WaitVar, not fixed sleeps. A side passes when its host
# exits 0 (every expectation and barrier met, memory balanced), every line of
# NAME.SIDE.expect occurs in its output, every line of NAME.SIDE.once exactly
# once, and no line of NAME.SIDE.reject does. NAME.SIDE.key, when a case has
# one, is that side's riZER.key (see side.sh); NAME.SIDE.tap starts a
# listener beside that side's host (tap.py).
# Prints one line per lane and case and then "N passed, M failed".
#
# Then, per lane, the cases of subnets/ on a LAN of two subnets
# (scripts/netns-subnets): Xena (side x) and Yuri (y) have a leg on each,
# Ann (a) on subnet 1 only, Bob (b) on subnet 2 only, and side c, a leg on
# each, runs no Wine: its steps are shell scripts (the Linux rizer-cli).
#   x 10.77.2.1 10.77.3.1   a 10.77.2.2   b 10.77.3.3
#   y 10.77.2.4 10.77.3.4   c 10.77.2.5 10.77.3.5
# A case's NAME.key is the key of every side that has no NAME.SIDE.key.
#
# Then the cases of operators/ on a LAN of four (scripts/netns-lan): the
# teacher (side t, 10.77.2.1), whose NAME.t.operator is the riZER.operator
# beside its host, two students, Ann (a, 10.77.2.2) and Bob (b, 10.77.2.3),
# and side c (10.77.2.4), no Wine, shell steps only (rizer-cli, flood.py).
#
# Lanes (RIZER_E2E_LANES="..." picks some, default all):
#   each of scripts/lib.sh's lanes    both sides in that Wine lane, every case
#   mixed   side a the x86 build under wine10-x86, side b the x64 build under
#           wine10-x64: the cases in mixed_cases below; on the subnets, Xena
#           the x86 build, the others the x64 build: mixed_subnet_cases; in
#           the classroom, the teacher the x86 build: mixed_operator_cases
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
declare -A lane_sides=([mixed]="wine10-x86 wine10-x64")
for l in "${rizer_lanes[@]}"; do lane_sides[$l]="$l $l"; done
all_lanes="${rizer_lanes[*]} mixed"
mixed_cases="chat_both_ways gosub_both boxes burst keyed_group strangers_key"
mixed_subnet_cases="subnets_keyed"
mixed_operator_cases="operators_commands"
# The sides of the LAN of two subnets, in netns-subnets' order, and their legs.
subnet_sides="x a b y c"
declare -A subnet_legs=([x]=1,2 [a]=1 [b]=2 [y]=1,2 [c]=1,2)
# The classroom's sides, in netns-lan's order.
operator_sides="t a b c"
export RIZER_E2E_CLI=${RIZER_E2E_CLI:-$root/dist/linux/rizer-cli}
[ -x "$RIZER_E2E_CLI" ] || RIZER_E2E_CLI=$root/build/linux/tools/cli/rizer-cli

# Inside the repository, not /tmp: a lane that runs Wine in a root file
# system of its own sees the repository's folder, but not this /tmp.
mkdir -p "$root/build/e2e"
work=$(mktemp -d "$root/build/e2e/run.XXXXXX")
# RIZER_E2E_KEEP=1 keeps the scripts and the hosts' output for a look.
if [ "${RIZER_E2E_KEEP:-}" = 1 ]; then echo "e2e: output in $work"; else trap 'rm -rf "$work"' EXIT; fi
mkdir -p "$work/cases" "$work/subnets" "$work/operators"
cp "$root"/tests/e2e/cases/* "$work/cases/"
cp "$root"/tests/e2e/subnets/* "$work/subnets/"
cp "$root"/tests/e2e/operators/* "$work/operators/"

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
all_subnet_cases=$(cd "$work/subnets" && ls *.cvs *.sh | sed -E 's/\.[a-z]\.(cvs|sh)$//' | sort -u)
all_operator_cases=$(cd "$work/operators" && ls *.cvs *.sh | sed -E 's/\.[a-z]\.(cvs|sh)$//' | sort -u)

check_case() {  # cases folder, results folder, name, sides; prints why it failed (nothing: passed)
  local cases=$1 results=$2 name=$3 side log rc line n why=""
  for side in $4; do
    [ -f "$cases/$name.$side.cvs" ] || [ -f "$cases/$name.$side.sh" ] || continue
    log="$results/$name.$side.log"
    rc=$(cat "$results/$name.$side.rc" 2>/dev/null || echo none)
    [ "$rc" = 0 ] || why+=" $side: exit $rc;"
    if [ -f "$cases/$name.$side.expect" ]; then
      while IFS= read -r line; do
        grep -qF -- "$line" "$log" 2>/dev/null || why+=" $side: no '$line';"
      done <"$cases/$name.$side.expect"
    fi
    if [ -f "$cases/$name.$side.once" ]; then
      while IFS= read -r line; do
        n=$(grep -cF -- "$line" "$log" 2>/dev/null)
        [ "${n:-0}" = 1 ] || why+=" $side: '$line' ${n:-0} times, not once;"
      done <"$cases/$name.$side.once"
    fi
    if [ -f "$cases/$name.$side.reject" ]; then
      while IFS= read -r line; do
        ! grep -qF -- "$line" "$log" 2>/dev/null || why+=" $side: found '$line';"
      done <"$cases/$name.$side.reject"
    fi
    if [ -n "$why" ] && [ -f "$log" ]; then
      why+=" [$(grep -E 'FAIL|host:' "$log" | head -n 3 | tr '\n' ' ')]"
    fi
  done
  printf '%s' "$why"
}

seconds() {  # results folder, name: from the earliest start to the latest end
  local results=$1 name=$2
  { cat "$results/$name".*.start 2>/dev/null | sed 's/^/s /'; cat "$results/$name".*.end 2>/dev/null | sed 's/^/e /'; } |
    awk '$1 == "s" { s = (s == "" || $2 < s) ? $2 : s } $1 == "e" { e = ($2 > e) ? $2 : e } END { if (e) printf "%.1f", e - s }'
}

pick() {  # case names: those RIZER_E2E_ONLY names, or all
  local n
  for n in $1; do
    [ -z "${RIZER_E2E_ONLY:-}" ] || [[ " $RIZER_E2E_ONLY " == *" $n "* ]] && echo "$n"
  done
}

has_step() {  # cases folder, names, side
  local n
  for n in $2; do
    [ -f "$1/$n.$3.cvs" ] || [ -f "$1/$n.$3.sh" ] && return 0
  done
  return 1
}

# run_lan LANE KIND CASES-FOLDER NAMES: the cases on a LAN of two (KIND pair,
# sides a and b), on the LAN of two subnets (KIND subnets) or in the
# classroom (KIND operators, a LAN of four), then one line per case; counts
# into the tally.
run_lan() {
  local lane=$1 kind=$2 cases=$3 names=$4 results status side sides name why s lan=()
  results=$work/$lane/$kind
  mkdir -p "$results" "$work/$lane/$kind.signals"
  if [ "$kind" != subnets ]; then
    sides=$([ "$kind" = pair ] && echo "a b" || echo "$operator_sides")
    lan=("$root/scripts/netns-lan")
    for s in $sides; do lan+=("$root/tests/e2e/side.sh" --); done
    unset 'lan[${#lan[@]}-1]'
  else
    sides=$subnet_sides
    lan=("$root/scripts/netns-subnets")
    for s in $sides; do lan+=("${subnet_legs[$s]}" "$root/tests/e2e/side.sh" --); done
    unset 'lan[${#lan[@]}-1]'
  fi
  RIZER_E2E_CASES=$cases RIZER_E2E_RESULTS=$results RIZER_E2E_SIGNALS=$work/$lane/$kind.signals \
    RIZER_E2E_NAMES="$names" RIZER_E2E_SIDES="$sides" "${lan[@]}" >"$results/lan.log" 2>&1
  for side in $sides; do
    # A side that has no step in any of the cases asked for never mattered.
    has_step "$cases" "$names" "$side" || continue
    status=$(cat "$results/lane.$side" 2>/dev/null || echo "side did not start")
    [ "$status" = ok ] || { tally_fail "FAIL $lane/$kind: not available: side $side: $status"; return; }
  done
  for name in $names; do
    why=$(check_case "$cases" "$results" "$name" "$sides")
    if [ -z "$why" ]; then
      tally_pass "ok   $lane/$name ($(seconds "$results" "$name") s)"
    else
      tally_fail "FAIL $lane/$name:${why:0:400}"
    fi
  done
}

passed=0 failed=0
for lane in ${RIZER_E2E_LANES:-$all_lanes}; do
  if [ -z "${lane_sides[$lane]:-}" ]; then
    tally_fail "FAIL $lane: no such lane (lanes: $all_lanes)"; continue
  fi
  read -r lane_a lane_b <<<"${lane_sides[$lane]}"
  if why=$(rizer_lane_why_not "$lane_a" || rizer_lane_why_not "$lane_b"); then
    echo "     $lane: not run here: $why"; continue
  fi
  names=$all_cases subnet_names=$all_subnet_cases operator_names=$all_operator_cases
  [ "$lane" = mixed ] && names=$mixed_cases subnet_names=$mixed_subnet_cases operator_names=$mixed_operator_cases
  names=$(pick "$names") subnet_names=$(pick "$subnet_names") operator_names=$(pick "$operator_names")
  started=$(date +%s.%N)
  if [ -n "$names" ]; then
    RIZER_E2E_LANE_A=$lane_a RIZER_E2E_LANE_B=$lane_b run_lan "$lane" pair "$work/cases" "$names"
  fi
  if [ -n "$subnet_names" ]; then
    # Xena runs side a's lane, every other copy side b's; c has no Wine.
    RIZER_E2E_LANE_X=$lane_a RIZER_E2E_LANE_A=$lane_b RIZER_E2E_LANE_B=$lane_b RIZER_E2E_LANE_Y=$lane_b \
      RIZER_E2E_LANE_C=none run_lan "$lane" subnets "$work/subnets" "$subnet_names"
  fi
  if [ -n "$operator_names" ]; then
    # The teacher runs side a's lane, the students side b's; c has no Wine.
    RIZER_E2E_LANE_T=$lane_a RIZER_E2E_LANE_A=$lane_b RIZER_E2E_LANE_B=$lane_b RIZER_E2E_LANE_C=none \
      run_lan "$lane" operators "$work/operators" "$operator_names"
  fi
  [ -n "$names$subnet_names$operator_names" ] &&
    echo "     $lane: $(awk -v s="$started" -v e="$(date +%s.%N)" 'BEGIN { printf "%.0f", e - s }') s"
done
tally_line
