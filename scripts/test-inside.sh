#!/usr/bin/env bash
# The part of test.sh that runs inside the private network namespace.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/netns-check" || exit 1
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
source "$root/scripts/wine-env.sh"   # (and scripts/lib.sh: the lanes, the tally)

passed=0 failed=0
# run_ctest NAME CTEST-ARG...: one CTest run, counted as its tests. When a
# test failed, its own failure lines (ctest_failures) come before the tail.
run_ctest() {
  local name=$1 out rc; shift
  out=$(ctest "$@" --output-on-failure 2>&1); rc=$?
  if [ "$rc" != 0 ]; then
    echo "-- the failing tests' failure lines:"
    ctest_failures "$out"
    echo "-- the end of CTest's output:"
  fi
  printf '%s\n' "$out" | tail -n 25
  tally_suite "$name" $rc "$(ctest_counts "$out")"
}

echo "== native tests"
run_ctest "native tests" --test-dir build/native

echo "== fuzzing (short runs)"
# Each fuzzer starts from the repository's own files of its kind and prints
# its final coverage (cov: edges, ft: features) and executions.
fuzz_seeds() {  # fuzzer name -> seed files
  case "$1" in
    *Jpeg*) git ls-files -- '*.jpg' ;;
    *loc*) git ls-files -- 'samples/riZER.loc*' ;;
    *poller*) git ls-files -- 'tests/messaging/seeds/*' ;;
    *sealed*) git ls-files -- 'tests/net/seeds/*' ;;
  esac
}
for fuzzer in $(find build/fuzz -maxdepth 4 -type f \( -name 'fuzz_*' -o -name '*_fuzzer' \) -perm -u+x 2>/dev/null | sort); do
  name=$(basename "$fuzzer")
  corpus=$(mktemp -d)
  for seed in $(fuzz_seeds "$name"); do cp "$seed" "$corpus/"; done
  "$fuzzer" -max_total_time="${RIZER_FUZZ_SECONDS:-15}" -print_final_stats=1 "$corpus" >"$corpus.log" 2>&1
  rc=$?
  [ $rc = 0 ] || tail -n 30 "$corpus.log"
  stats=$(grep -E '^#[0-9]+.*cov: ' "$corpus.log" | tail -n1)
  printf '   %s: %s seeds, %s runs, cov %s, ft %s\n' "$name" "$(fuzz_seeds "$name" | wc -l)" \
    "$(grep -oE 'number_of_executed_units: [0-9]+' "$corpus.log" | grep -oE '[0-9]+$')" \
    "$(grep -oE 'cov: [0-9]+' <<<"$stats" | grep -oE '[0-9]+')" "$(grep -oE 'ft: [0-9]+' <<<"$stats" | grep -oE '[0-9]+')"
  tally_suite "$name" $rc ""
  rm -rf "$corpus" "$corpus.log"
done

echo "== module PE tables"
out=$(tests/module/check-pe.sh dist/x64/riZER_2.cvp dist/x86/riZER_2.cvp 2>&1); rc=$?
printf '%s\n' "$out" | grep -v '^ok' || true
tally_suite "PE tables" $rc "$(tail -n1 <<<"$out")"

echo "== release bundle"
out=$(tests/bundle/check-bundle.sh dist 2>&1); rc=$?
printf '%s\n' "$out" | grep -v '^ok' || true
tally_suite "release bundle" $rc "$(tail -n1 <<<"$out")"

# wine_lane LANE: every Windows test in one lane (see scripts/lib.sh): the
# GoogleTest programs, pixel and transcript tests through CTest, then each
# tests/*/wine_*.sh suite with the lane's host and module. Ends with the
# lane's own tally line.
wine_lane() {
  local lane=$1 p0=$passed f0=$failed out rc suite why
  echo "== Windows build under Wine, lane $lane"
  if why=$(rizer_lane_why_not "$lane"); then
    echo "== lane $lane: not run here: $why"
    return
  fi
  export RIZER_LANE=$lane
  if ! lane_start ci; then
    printf '%s\n' "$lane_output"
    echo "lane $lane: Wine did not start, none of its tests ran"
    tally_suite "$lane: wine start" 1 ""
  else
    local arch=$RIZER_LANE_ARCH
    local host=$root/build/$arch/host/rizer-host.exe module=$root/build/$arch/src/plugin/riZER_2.cvp
    wine_hold "$host" "$module" 2>&1 || tally_suite "$lane: desktop held" 1 ""
    run_ctest "$lane: wine tests" --test-dir "build/$arch" --no-tests=error
    for suite in tests/*/wine_*.sh; do
      [ -x "$suite" ] || { echo "$suite: not executable, not run"; tally_suite "$lane: $suite" 1 ""; continue; }
      out=$("$suite" "$host" "$module" 2>&1); rc=$?
      printf '%s\n' "$out" | grep -vE '^(ok|PASS)' | tail -n 20
      tally_suite "$lane: $suite" $rc "$(tail -n1 <<<"$out")"
    done
    wine_stop
  fi
  tally_line "== lane $lane: " $((passed - p0)) $((failed - f0)) || true
}
for lane in "${rizer_lanes[@]}"; do
  wine_lane "$lane"
done
unset RIZER_LANE RIZER_LANE_ARCH

if [ -x tests/e2e/run.sh ]; then
  echo "== two copies on a LAN"
  out=$(tests/e2e/run.sh "$root/build/x64/host/rizer-host.exe" "$root/build/x64/src/plugin/riZER_2.cvp" 2>&1); rc=$?
  printf '%s\n' "$out" | tail -n 30
  tally_suite "end to end" $rc "$(tail -n1 <<<"$out")"
fi

if [ -x tests/cli/run-lan.sh ]; then
  # The native rizer-cli and two copies of the module, in every lane.
  for lane in "${rizer_lanes[@]}"; do
    echo "== rizer-cli and two copies on a LAN, lane $lane"
    if why=$(rizer_lane_why_not "$lane"); then echo "   not run here: $why"; continue; fi
    arch=$(lane_arch "$lane")
    out=$(RIZER_LANE=$lane tests/cli/run-lan.sh "$root/build/$arch/host/rizer-host.exe" \
      "$root/build/$arch/src/plugin/riZER_2.cvp" "$root/dist/linux/rizer-cli" 2>&1); rc=$?
    printf '%s\n' "$out" | grep -v '^ok' | tail -n 30
    tally_suite "$lane: rizer-cli LAN" $rc "$(tail -n1 <<<"$out")"
  done
fi

echo
tally_line
