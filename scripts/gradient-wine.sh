#!/usr/bin/env bash
# The gradient control under Wine: the paint benchmark (430 x 46 gradient
# against BitBlt) and the gallery screenshot, saved as docs/gradient-gallery.png.
# Builds build/grad-x64 first. Runs everything inside a private network
# namespace with its own wineserver (prefix .cache/wine/grad).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${RIZER_WIN_BUILD:-$root/build/grad-x64}
cd "$root"
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake >/dev/null
ninja -C "$build" -j2 gradient_paint_bench gradient_gallery
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
scripts/netns-run bash -c '
  source scripts/wine-env.sh
  lane_start grad || { echo "$lane_problem" >&2; exit 1; }
  scripts/wine-run "$1/tests/gradient_gallery/gradient_paint_bench.exe" </dev/null
  scripts/wine-run "$1/tests/gradient_gallery/gradient_gallery.exe" "$2/gallery.bmp" </dev/null
  wine_stop' _ "$build" "$out" </dev/null
convert=/usr/bin/convert
[ -x "$convert" ] || convert=convert
mkdir -p docs
"$convert" "$out/gallery.bmp" -strip docs/gradient-gallery.png
echo "saved docs/gradient-gallery.png"
