#!/usr/bin/env bash
# Gradient rebuild benchmark: native Release build in build/bench-gradient,
# then one run printing each style's rebuild time against the memory floor.
# Opens no socket; needs no network.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${RIZER_BENCH_BUILD:-$root/build/bench-gradient}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DRIZER_BUILD_BENCH=ON -DRIZER_BUILD_TESTS=OFF >/dev/null
ninja -C "$build" -j2 bench_gradient
exec "$build/bench/gradient/bench_gradient"
