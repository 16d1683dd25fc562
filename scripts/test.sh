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
ninja -C build/native -j "$jobs" >/dev/null
if [ ! -f build/fuzz/build.ninja ]; then
  CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DRIZER_FUZZ=ON -DRIZER_SANITIZE=ON >/dev/null
fi
ninja -C build/fuzz -j "$jobs" >/dev/null

exec "$root/scripts/netns-run" "$root/scripts/test-inside.sh"
