#!/usr/bin/env bash
# The part of test.sh that runs inside the private network namespace.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/netns-check" || exit 1
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}

passed=0 failed=0
tally() {  # name, exit code, "N passed, M failed" line or ""
  local p f
  if [[ "$3" =~ ([0-9]+)\ passed,\ ([0-9]+)\ failed ]]; then
    p=${BASH_REMATCH[1]} f=${BASH_REMATCH[2]}
  elif [ "$2" = 0 ]; then p=1 f=0; else p=0 f=1; fi
  [ "$2" != 0 ] && [ "$f" = 0 ] && f=1
  passed=$((passed + p)) failed=$((failed + f))
  printf '== %-28s %s\n' "$1" "$([ "$2" = 0 ] && echo ok || echo FAILED)"
}
ctest_counts() {  # ctest output -> "N passed, M failed"
  local total bad
  total=$(grep -oE 'out of [0-9]+' <<<"$1" | grep -oE '[0-9]+' | tail -1)
  bad=$(grep -oE '[0-9]+ tests failed' <<<"$1" | grep -oE '^[0-9]+' | tail -1)
  echo "$(( ${total:-0} - ${bad:-0} )) passed, ${bad:-0} failed"
}

echo "== native tests"
out=$(ctest --test-dir build/native --output-on-failure 2>&1); rc=$?
printf '%s\n' "$out" | tail -n 25
tally "native tests" $rc "$(ctest_counts "$out")"

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
  tally "$name" $rc ""
  rm -rf "$corpus" "$corpus.log"
done

echo "== module PE tables"
out=$(tests/module/check-pe.sh dist/x64/riZER_2.cvp dist/x86/riZER_2.cvp 2>&1); rc=$?
printf '%s\n' "$out" | grep -v '^ok' || true
tally "PE tables" $rc "$(tail -n1 <<<"$out")"

echo "== release bundle"
out=$(tests/bundle/check-bundle.sh dist 2>&1); rc=$?
printf '%s\n' "$out" | grep -v '^ok' || true
tally "release bundle" $rc "$(tail -n1 <<<"$out")"

# wine_lane LANE: every Windows test in one lane (see scripts/lane-exec): the
# GoogleTest programs, pixel and transcript tests through CTest, then each
# tests/*/wine_*.sh suite with the lane's host and module. Ends with the
# lane's own tally line.
source "$root/scripts/wine-env.sh"
wine_lane() {
  local lane=$1 p0=$passed f0=$failed out rc suite log why
  echo "== Windows build under Wine, lane $lane"
  if why=$(rizer_lane_why_not "$lane"); then
    echo "== lane $lane: not run here: $why"
    return
  fi
  export RIZER_LANE=$lane
  log=$(mktemp)
  if ! wine_start ci >"$log" 2>&1; then
    tail -n 5 "$log"
    echo "lane $lane: Wine did not start, none of its tests ran"
    tally "$lane: wine start" 1 ""
    wine_stop
  else
    local arch=$RIZER_LANE_ARCH
    local host=$root/build/$arch/host/rizer-host.exe module=$root/build/$arch/src/plugin/riZER_2.cvp
    wine_hold "$host" "$module" 2>&1 || tally "$lane: desktop held" 1 ""
    out=$(ctest --test-dir "build/$arch" --output-on-failure --no-tests=error 2>&1); rc=$?
    printf '%s\n' "$out" | tail -n 25
    tally "$lane: wine tests" $rc "$(ctest_counts "$out")"
    for suite in tests/*/wine_*.sh; do
      [ -x "$suite" ] || { echo "$suite: not executable, not run"; tally "$lane: $suite" 1 ""; continue; }
      out=$("$suite" "$host" "$module" 2>&1); rc=$?
      printf '%s\n' "$out" | grep -vE '^(ok|PASS)' | tail -n 20
      tally "$lane: $suite" $rc "$(tail -n1 <<<"$out")"
    done
    wine_stop
  fi
  rm -f "$log"
  echo "== lane $lane: $((passed - p0)) passed, $((failed - f0)) failed"
}
for lane in "${rizer_lanes[@]}"; do
  wine_lane "$lane"
done
unset RIZER_LANE RIZER_LANE_ARCH

if [ -x tests/e2e/run.sh ]; then
  echo "== two copies on a LAN"
  out=$(tests/e2e/run.sh "$root/build/x64/host/rizer-host.exe" "$root/build/x64/src/plugin/riZER_2.cvp" 2>&1); rc=$?
  printf '%s\n' "$out" | tail -n 30
  tally "end to end" $rc "$(tail -n1 <<<"$out")"
fi

if [ -x tests/cli/run-lan.sh ]; then
  # The native rizer-cli and two copies of the module, in every lane.
  for lane in "${rizer_lanes[@]}"; do
    echo "== rizer-cli and two copies on a LAN, lane $lane"
    if why=$(rizer_lane_why_not "$lane"); then echo "   not run here: $why"; continue; fi
    arch=${_rizer_lane_arch[$lane]}
    out=$(RIZER_LANE=$lane tests/cli/run-lan.sh "$root/build/$arch/host/rizer-host.exe" \
      "$root/build/$arch/src/plugin/riZER_2.cvp" "$root/dist/linux/rizer-cli" 2>&1); rc=$?
    printf '%s\n' "$out" | grep -v '^ok' | tail -n 30
    tally "$lane: rizer-cli LAN" $rc "$(tail -n1 <<<"$out")"
  done
fi

echo
echo "$passed passed, $failed failed"
[ "$failed" = 0 ]
