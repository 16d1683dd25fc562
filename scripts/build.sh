#!/usr/bin/env bash
# Builds the plug-in for both Windows targets and lays out dist/:
#   dist/x64/riZER_2.cvp  dist/x86/riZER_2.cvp   the module, for 64- and 32-bit hosts
#   dist/x64/rizer-host.exe dist/x86/rizer-host.exe   the stand-in host
#   dist/riZER.loc.ru dist/riZER.loc.en           sample localization files
# Both builds also carry the tests (run under Wine by test.sh, one lane each:
# build/x64 under Wine 8 and Wine 10, build/x86 under Wine 10 in WoW64 mode).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/setup.sh"

jobs=${RIZER_JOBS:-$(nproc)}
configure() {  # dir, toolchain, tests on/off
  # (a folder configured before with other tests setting is configured again)
  [ -f "$1/build.ninja" ] && grep -qx "RIZER_BUILD_TESTS:BOOL=$3" "$1/CMakeCache.txt" 2>/dev/null && return 0
  cmake -S . -B "$1" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$2-w64-mingw32.cmake" -DRIZER_BUILD_TESTS="$3" >/dev/null
}
configure build/x64 x86_64 ON
configure build/x86 i686 ON
for arch in x64 x86; do
  ninja -C "build/$arch" -j "$jobs" >"build/$arch/last-build.log" 2>&1 ||
    { grep -E -B2 -A8 'error|FAILED' "build/$arch/last-build.log" | head -n 60; exit 1; }
done

mkdir -p dist/x64 dist/x86
for arch in x64 x86; do
  cp "build/$arch/src/plugin/riZER_2.cvp" "build/$arch/host/rizer-host.exe" "dist/$arch/"
done
for sample in samples/riZER.loc.*; do
  [ -e "$sample" ] && cp "$sample" dist/
done
echo "build: dist/ is ready"
