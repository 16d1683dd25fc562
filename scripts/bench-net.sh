#!/usr/bin/env bash
# Builds the network benchmarks (native, Release) and runs them inside private
# namespaces: the receive path and the chat-line cost in one namespace, the
# burst across a pair of joined namespaces. Prints the ratios.
#   scripts/bench-net.sh [--wine]   (--wine: also the latency under Wine)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${RIZER_BENCH_BUILD:-build/bench-net}
if [ ! -f "$build/build.ninja" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DRIZER_BUILD_BENCH=ON \
    -DRIZER_BUILD_TESTS=OFF >/dev/null
fi
ninja -C "$build" -j2 bench_net >/dev/null
bench="$root/$build/bench/net/bench_net"
scripts/netns-run "$bench"
scripts/netns-pair "$bench" --burst-send 5000 -- "$bench" --burst-receive 5000

# --wine: the delay from riZERSendMessage on one copy to SetVariableProc on
# the other, two copies under Wine on the two sides of a netns-pair.
if [ "${1:-}" = --wine ]; then
  x64=${RIZER_X64_BUILD:-build/x64}
  ninja -C "$x64" -j2 latency-probe riZER_2 >/dev/null
  probe=$(realpath "$x64/tests/e2e/latency-probe.exe")
  module=$(realpath "$x64/src/plugin/riZER_2.cvp")
  side='cd "$0"; source scripts/wine-env.sh; wine_start "bench-$RIZER_PAIR_SIDE" >/dev/null || exit 1
    other=$([ "$RIZER_PAIR_SIDE" = a ] && echo b || echo a)
    touch "$RIZER_PAIR_DIR/$RIZER_PAIR_SIDE"
    for _ in $(seq 600); do [ -e "$RIZER_PAIR_DIR/$other" ] && break; sleep 0.05; done
    scripts/wine-run "$1" "$2" "$3" 200; rc=$?; wine_stop; exit $rc'
  scripts/netns-pair bash -c "$side" "$root" "$probe" "$module" send -- \
    bash -c "$side" "$root" "$probe" "$module" receive
fi
