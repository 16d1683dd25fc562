#!/usr/bin/env bash
# Runs every test: the portable core natively (ASan/UBSan), short fuzzing
# runs, the Windows build under Wine, the module's PE tables and the
# end-to-end runs between stand-in hosts. Everything that opens a socket or
# starts Wine runs inside private network namespaces (scripts/netns-run).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/build.sh"

jobs=${RIZER_JOBS:-$(nproc)}
if [ ! -f build/native/build.ninja ]; then
  cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug -DRIZER_SANITIZE=ON >/dev/null
fi
build() {  # dir
  ninja -C "$1" -j "$jobs" >"$1/last-build.log" 2>&1 ||
    { grep -E -B2 -A8 'error|FAILED' "$1/last-build.log" | head -n 60; exit 1; }
}
build build/native
if [ ! -f build/fuzz/build.ninja ]; then
  CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DRIZER_FUZZ=ON -DRIZER_SANITIZE=ON >/dev/null
fi
build build/fuzz

exec "$root/scripts/netns-run" "$root/scripts/test-inside.sh"
