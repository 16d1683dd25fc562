#!/usr/bin/env bash
# Builds the plug-in for both Windows targets and lays out dist/:
#   dist/x64/riZER_2.cvp  dist/x86/riZER_2.cvp   the module, for 64- and 32-bit hosts
#   dist/x64/rizer-cli.exe dist/x86/rizer-cli.exe dist/linux/rizer-cli   the command-line peer
#   dist/debug/{x64,x86,linux}/   the same programs with their symbol tables (crash analysis)
#   dist/x64/rizer-host.exe dist/x86/rizer-host.exe   the stand-in host
#   dist/riZER.loc.ru dist/riZER.loc.en           sample localization files
#   dist/riZER_2-VERSION.zip                      the release bundle (scripts/bundle.sh)
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

# rizer-cli for Linux: a native Release build of that program alone.
if [ ! -f build/linux/build.ninja ]; then
  cmake -S . -B build/linux -G Ninja -DCMAKE_BUILD_TYPE=Release -DRIZER_BUILD_TESTS=OFF >/dev/null
fi
ninja -C build/linux -j "$jobs" rizer-cli >build/linux/last-build.log 2>&1 ||
  { grep -E -B2 -A8 'error|FAILED' build/linux/last-build.log | head -n 60; exit 1; }

mkdir -p dist/x64 dist/x86 dist/linux
# What ships has no symbol table; dist/debug keeps the programs as linked.
# SOURCE_DATE_EPOCH=0 keeps strip from writing the time into a PE header.
ship() {  # strip tool, built file, dist folder
  mkdir -p "dist/debug/$3"
  cp "$2" "dist/debug/$3/"
  SOURCE_DATE_EPOCH=0 "$1" -o "dist/$3/$(basename "$2")" "$2"
}
for arch in x64 x86; do
  triplet=$([ "$arch" = x64 ] && echo x86_64 || echo i686)-w64-mingw32
  ship "$triplet-strip" "build/$arch/src/plugin/riZER_2.cvp" "$arch"
  ship "$triplet-strip" "build/$arch/tools/cli/rizer-cli.exe" "$arch"
  cp "build/$arch/host/rizer-host.exe" "dist/$arch/"
done
ship strip build/linux/tools/cli/rizer-cli linux
for sample in samples/riZER.loc.*; do
  [ -e "$sample" ] && cp "$sample" dist/
done
"$root/scripts/bundle.sh"
echo "build: dist/ is ready"
