#!/usr/bin/env bash
# scripts/lib.sh, natively: how a suite's closing line and CTest's output are
# counted, which failure lines of a CTest run are shown, the lane table and
# wait_for's ends.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/lib.sh"
passed=0 failed=0

# tally_suite: exit code | closing line | what it adds (passed failed)
rows='0|12 passed, 0 failed|12 0
1|12 passed, 0 failed|12 1
1|2 passed, 4 failed|2 4
0||1 0
2|Segmentation fault|0 1'
while IFS='|' read -r code line want; do
  got=$(passed=0 failed=0; tally_suite x "$code" "$line" >/dev/null; echo "$passed $failed")
  check "tally_suite: exit $code, '$line' adds $want" [ "$got" = "$want" ]
done <<<"$rows"
check "ctest_counts: one of five failed" \
  [ "$(ctest_counts '80% tests passed, 1 tests failed out of 5')" = "4 passed, 1 failed" ]
check "tally_line: prefix and counts, non-zero with a failure" \
  bash -c 'source "$0"; [ "$(tally_line "== lane: " 3 1)" = "== lane: 3 passed, 1 failed" ] && ! tally_line "" 3 1 >/dev/null' \
  "$root/scripts/lib.sh"

ctest_out='      Start  3: net_tests
3/5 Test  #3: net_tests ........***Failed    0.20 sec
[ RUN      ] Net.Adds
/src/tests/net/X.cpp:12: Failure
Expected equality of these values:
  Add(1, 1)
    Which is: 3
  2
[  FAILED  ] Net.Adds (0 ms)
[ RUN      ] Net.Ok
[       OK ] Net.Ok (0 ms)
[  FAILED  ] 1 test, listed below:
[  FAILED  ] Net.Adds

80% tests passed, 1 tests failed out of 5'
shown=$(ctest_failures "$ctest_out")
check "ctest_failures: the failure with its Expected and Which is lines" \
  grep -qzF $'X.cpp:12: Failure\nExpected equality of these values:\n  Add(1, 1)\n    Which is: 3\n  2\n[  FAILED  ] Net.Adds (0 ms)' <<<"$shown"
check "ctest_failures: no passing test, no summary lines" [ "$(grep -cE 'OK|listed below|out of' <<<"$shown")" = 0 ]
many=$(for i in $(seq 50); do printf '%s\n' "a.cpp:$i: Failure" "Value of: x" "  Actual: false" "Expected: true"; done)
check "ctest_failures: at most 60 lines" [ "$(ctest_failures "$many" | wc -l)" = 60 ]

for lane in "${rizer_lanes[@]}"; do
  check "lane $lane: a Wine, a build and a Windows version" \
    [ -n "$(lane_wine "$lane" | grep -xE 'system|trixie')" -a -n "$(lane_arch "$lane" | grep -xE 'x64|x86')" -a -n "$(lane_windows "$lane")" ]
done
check "an unknown lane has no build" eval '! lane_arch nowhere'
check "the default lane is the first, RIZER_LANE another" \
  [ "$(RIZER_LANE='' lane_default)" = "${rizer_lanes[0]}" -a "$(RIZER_LANE=wine10-x86 lane_default)" = wine10-x86 ]

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(sleep 0.3; echo "port open" >"$work/log") &
check "wait_for: a line that comes" wait_for 5 "$work/log" "port open"
sleep 0.1 &
check "wait_for --while: gives up once the process ended" \
  bash -c 'source "$0"; s=$SECONDS; ! wait_for --while "$1" 20 "$2/never" && [ $((SECONDS - s)) -lt 5 ]' \
  "$root/scripts/lib.sh" $! "$work"
tally_line
