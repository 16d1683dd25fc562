#!/usr/bin/env bash
# Builds the network benchmarks (native, Release) and runs them inside private
# namespaces: the receive path, keyed and signed GoSubs, a timer beside the
# poller under a flood of forged GoSubs and the chat-line cost in one
# namespace, the burst across a LAN of two namespaces, the keyed send
# path on a machine of one adapter and on one of four (scripts/netns-subnets).
# Prints the ratios.
#   scripts/bench-net.sh [--wine | --wine-only]   (see below; RIZER_LANE picks one lane)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${RIZER_BENCH_BUILD:-build/bench-net}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRIZER_BUILD_BENCH=ON \
    -DRIZER_BUILD_TESTS=OFF >/dev/null
fi
wine=0
case "${1:-}" in --wine) wine=1 ;; --wine-only) wine=1 native=0 ;; esac
# Every "keyed receive path" line of this run, native and per lane, for the
# table at the end.
keyed_log=$(mktemp)
keyed_table() {
  [ -s "$keyed_log" ] || return 0
  echo "== the keyed receive path against the unkeyed one (sealed/unkeyed datagrams per second; goal under Wine >= 0.85)"
  printf '   %-12s %12s %12s %7s\n' where sealed/s unkeyed/s ratio
  sed -E 's/^([^ ]+) .*: ([0-9]+) sealed datagrams\/s.* ([0-9]+)\/s unkeyed.*ratio ([0-9.]+).*/   \1 \2 \3 \4/' "$keyed_log" |
    awk '{ printf "   %-12s %12s %12s %7s\n", $1, $2, $3, $4 }'
}
# The keyed send path: a chat line sealed once and sent to the broadcast
# address of every adapter. send_cost WHERE CMD... runs CMD (which prints a
# "send cost:" line, bench/net/KeyedSend.h) on a machine of one adapter and
# on one of four, twice each, alternating, and prints the best keyed figure
# of each and their ratio; the line joins the table at the end.
send_log=$(mktemp)
send_cost() {
  local where=$1 legs line keyed best1= best4= seal= plain=
  shift
  for _ in 1 2; do
    for legs in 1 1,2,3,4; do
      line=$(scripts/netns-subnets "$legs" "$@" | tr -d '\r' | grep '^send cost:') || { echo "note: $where: no send cost on $legs"; return 0; }
      echo "  ($legs) $line"
      keyed=$(sed -E 's/.* ([0-9]+) ns keyed.*/\1/' <<<"$line")
      if [ "$legs" = 1 ]; then
        [ -z "$best1" ] || [ "$keyed" -lt "$best1" ] && best1=$keyed plain=$(sed -E 's/.* ([0-9]+) ns unkeyed.*/\1/' <<<"$line")
      else
        [ -z "$best4" ] || [ "$keyed" -lt "$best4" ] && best4=$keyed
      fi
      seal=$(sed -E 's/.* ([0-9]+) ns seal.*/\1/' <<<"$line")
    done
  done
  echo "$where $best4 $best1 $(awk -v a="$best4" -v b="$best1" 'BEGIN { printf "%.2f", a / b }') $seal $plain" | tee -a "$send_log" |
    awk '{ printf "keyed send path, %s: %s ns a chat line on four adapters, %s ns on one -> ratio %s (seal %s ns; unkeyed, one sendto: %s ns)\n", $1, $2, $3, $4, $5, $6 }'
}
send_table() {
  [ -s "$send_log" ] || return 0
  echo "== the keyed send path, four adapters against one (ns a chat line; seal once, one sendto per adapter)"
  printf '   %-12s %10s %10s %7s %8s %10s\n' where four one ratio seal unkeyed
  awk '{ printf "   %-12s %10s %10s %7s %8s %10s\n", $1, $2, $3, $4, $5, $6 }' "$send_log"
}
# A group with operators: per place, "signed SIGNED/s UNSIGNED/s RATIO" and
# "gaps WORST P99 QUIET-P99" (a 10 ms timer under a flood of forged GoSubs).
operator_log=$(mktemp)
operator_lines() {  # where; reads a benchmark's output
  sed -nE -e "s/^signed GoSubs.*: ([0-9]+) signed GoSubs\/s.* ([0-9]+)\/s unsigned.*ratio ([0-9.]+).*/$1 signed \1 \2 \3/p" \
    -e "s/^timer gaps under a flood.*worst gap ([0-9.]+) ms, 99% within ([0-9.]+) ms.*quiet: worst [0-9.]+ ms, 99% within ([0-9.]+) ms.*/$1 gaps \1 \2 \3/p" >>"$operator_log"
}
operator_table() {
  [ -s "$operator_log" ] || return 0
  echo "== a group with operators: GoSubs signed by its operator against unsigned ones in a group without"
  echo "   (per second, through the poller), and a 10 ms timer's gaps under a flood of forged GoSubs (ms; no goal)"
  printf '   %-12s %10s %10s %7s %11s %11s %11s\n' where signed/s unsigned/s ratio "flood worst" "flood 99%" "quiet 99%"
  awk '{ if ($2 == "signed") { s[$1] = $3; u[$1] = $4; r[$1] = $5 } else { g[$1] = $3; p[$1] = $4; q[$1] = $5 }
         if (!($1 in order)) { order[$1] = ++n; name[n] = $1 } }
       END { for (i = 1; i <= n; i++) { k = name[i]
         printf "   %-12s %10s %10s %7s %11s %11s %11s\n", k, (k in s) ? s[k] : "-", (k in u) ? u[k] : "-",
                (k in r) ? r[k] : "-", (k in g) ? g[k] : "-", (k in p) ? p[k] : "-", (k in q) ? q[k] : "-" } }' "$operator_log"
}
trap 'keyed_table; send_table; operator_table; rm -f "$keyed_log" "$send_log" "$operator_log"' EXIT
if [ "${native:-1}" = 1 ]; then
  ninja -C "$build" -j2 bench_net >/dev/null
  bench="$root/$build/bench/net/bench_net"
  scripts/netns-run "$bench" | tee >(grep '^keyed receive path' | sed 's/^/native /' >>"$keyed_log") >(operator_lines native)
  # (bench_net's burst sides meet in RIZER_PAIR_DIR)
  pair='RIZER_PAIR_DIR=$RIZER_LAN_DIR exec "$@"'
  scripts/netns-lan bash -c "$pair" _ "$bench" --burst-send 5000 -- bash -c "$pair" _ "$bench" --burst-receive 5000
  send_cost native "$bench" --keyed-send
fi

# --wine (or --wine-only, without the native part): per Wine lane
# (RIZER_LANE, else all three), the build of the lane's bitness in
# build/<arch>, each inside private namespaces with the lane's Wine started
# there:
#  - the receive path: datagrams per second through the module's poller
#    against a raw Winsock recvfrom loop, in one process, same lane, same run;
#  - the delay from riZERSendMessage on one copy to SetVariableProc on the
#    other, two copies on the two sides of a netns-lan of two;
#  - the keyed send path on one adapter and on four (send-bench.exe);
#  - the stand-in host's 10 ms timer (TimerGaps) with the module's port open
#    in a group with an operator, two seconds quiet and then two seconds of
#    4000 forged GoSubs a second from tests/e2e/flood.py.
# A lane that this checkout cannot run yet is named in a note, not skipped
# silently.
[ "$wine" = 1 ] || exit 0
source scripts/lib.sh
lanes=${RIZER_LANE:-${rizer_lanes[*]}}
# The start of each measurement's namespace (bash -c "cd \"\$0\"; $lane_up"
# ROOT PREFIX ...): the lane RIZER_LANE names, started by lane_start; exit 3
# when it does not start.
lane_up='source scripts/wine-env.sh; lane_start "$1" || { echo "$lane_problem" >&2; exit 3; }'
# flood_gaps LANE BUILD: the stand-in host of BUILD, from a folder of its own
# whose riZER.key lists an operator, runs a 10 ms timer (TimerGaps) with the
# port open, two seconds quiet, then while flood.py sends it forged GoSubs
# over the loopback; prints both measurements.
flood_gaps() {
  local lane=$1 build=$2 dir out line
  mkdir -p build/e2e   # inside the repository: a lane with a root file system of its own sees it
  dir=$(mktemp -d "$root/build/e2e/bench-gaps.XXXXXX")
  cp "$build/host/rizer-host.exe" "$dir/"
  /usr/bin/python3 tests/e2e/flood.py --make-key "$dir/riZER.key"
  printf '%s\n' 'riZEROpenPort "50150" "Chat"' 'TimerGaps 10' 'Sleep 2000' 'TimerGaps end' 'TimerGaps 10' \
    'Signal quiet' 'Await flood-done 60000' 'Sleep 200' 'TimerGaps end' 'riZERClosePort' >"$dir/gaps.cvs"
  out=$(scripts/netns-run bash -c "cd \"\$0\"; $lane_up"'
    dir=$2
    ( wait_for 60 "$dir/quiet"
      /usr/bin/python3 tests/e2e/flood.py --key "$dir/riZER.key" --signals "$dir" --to 127.0.0.1 --seconds 2 \
        --rate 4000 ) &
    flood=$!
    scripts/wine-run "$dir/rizer-host.exe" "$3" "$dir/gaps.cvs" "$dir"; rc=$?
    kill $flood 2>/dev/null; wait $flood; wine_stop; exit $rc' "$root" bench-gaps "$dir" "$(realpath "$build/src/plugin/riZER_2.cvp")" 2>&1 |
    tr -d '\r' | grep -E '^(TimerGaps|flood:|FAIL)' || true)
  rm -rf "$dir"
  echo "$out" | sed 's/^/  /'
  if [ "$(grep -c '^TimerGaps' <<<"$out")" = 2 ]; then
    line=$(sed -nE 's/^TimerGaps .*worst gap ([0-9.]+) ms, 99% within ([0-9.]+) ms.*/\1 \2/p' <<<"$out" | tr '\n' ' ' |
      awk '{ printf "timer gaps under a flood: the stand-in host under Wine, worst gap %s ms, 99%% within %s ms; quiet: worst %s ms, 99%% within %s ms", $3, $4, $1, $2 }')
    echo "$line"
    operator_lines "$lane" <<<"$line"
  else
    echo "note: $lane: no timer gaps from the stand-in host"
  fi
}
for lane in $lanes; do
  arch=$(lane_arch "$lane") || { echo "note: $lane: no such lane (${rizer_lanes[*]})"; continue; }
  build=build/$arch
  echo "== $lane ($build)"
  if why=$(rizer_lane_why_not "$lane"); then echo "note: $lane: not measured: $why"; continue; fi
  if [ ! -f "$build/build.ninja" ] ||
     ! ninja -C "$build" -j2 latency-probe receive-bench send-bench riZER_2 rizer-host >"$build/last-bench-build.log" 2>&1; then
    echo "note: $lane: no benchmark programs in $build (scripts/build.sh with tests on makes them); lane not measured"
    continue
  fi
  probe=$(realpath "$build/tests/e2e/latency-probe.exe")
  recv=$(realpath "$build/tests/messaging/receive-bench.exe")
  send=$(realpath "$build/tests/messaging/send-bench.exe")
  module=$(realpath "$build/src/plugin/riZER_2.cvp")
  export RIZER_LANE=$lane
  rc=0
  scripts/netns-run bash -c "cd \"\$0\"; $lane_up"'
    scripts/wine-run "$2"; rc=$?; wine_stop; exit $rc' "$root" bench-recv "$recv" >"$keyed_log.lane" || rc=$?
  cat "$keyed_log.lane"
  { grep '^keyed receive path' "$keyed_log.lane" || true; } | sed "s/^/$lane /" >>"$keyed_log"
  operator_lines "$lane" <"$keyed_log.lane"
  rm -f "$keyed_log.lane"
  if [ $rc = 3 ]; then
    echo "note: $lane: Wine did not start; lane not measured"
    continue
  fi
  [ $rc = 0 ] || echo "note: $lane: the receive benchmark failed (exit $rc)"
  side="cd \"\$0\"; $lane_up"'
    touch "$RIZER_LAN_DIR/$RIZER_LAN_SIDE"
    wait_for 30 "$RIZER_LAN_DIR/$((3 - RIZER_LAN_SIDE))"
    scripts/wine-run "$2" "$3" "$4" 200; rc=$?; wine_stop; exit $rc'
  scripts/netns-lan bash -c "$side" "$root" bench-a "$probe" "$module" send -- \
    bash -c "$side" "$root" bench-b "$probe" "$module" receive ||
    echo "note: $lane: the latency probe failed"
  send_cost "$lane" bash -c "cd \"\$0\"; $lane_up"'
    scripts/wine-run "$2"; rc=$?; wine_stop; exit $rc' "$root" bench-send "$send"
  flood_gaps "$lane" "$build"
done
