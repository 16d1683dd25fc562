#!/usr/bin/env bash
# Builds the network benchmarks (native, Release) and runs them inside private
# namespaces: the receive path and the chat-line cost in one namespace, the
# burst across a pair of joined namespaces. Prints the ratios.
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
