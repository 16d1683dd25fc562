#!/usr/bin/env bash
# The plug-in's main job: builds dist/ (both modules) and runs the stand-in
# host with the 64-bit module inside a private network namespace: set-up
# (title, author, description, catalogue), a chat line heard by its own
# sender, screenshots of every dialog; then the same set-up and chat line with
# the 32-bit module (Wine 10 in WoW64 mode, lane wine10-x86), then two copies
# talking on a LAN of two namespaces, a closed group on a LAN of four,
# a classroom whose teacher is the group's operator on a LAN of three, a
# keyed copy with two adapters reaching a copy on each of two subnets
# (scripts/demo-lan.sh), and rizer-cli's acknowledged box on a LAN of three.
# build.sh also leaves the release bundle, dist/riZER_2-VERSION.zip.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/build.sh"
exec "$root/scripts/netns-run" bash -c '
  set -euo pipefail
  cd "$1"
  source scripts/wine-env.sh
  # (no waiting host: the screenshots are taken from the screen)
  lane_start demo || { echo "$lane_problem" >&2; exit 1; }
  trap wine_stop EXIT
  mkdir -p dist/screenshots
  scripts/wine-run dist/x64/rizer-host.exe dist/x64/riZER_2.cvp demo/solo.cvs
  # The dialogs speak Russian (Windows-1251) by default: show them with that code page.
  LC_ALL=ru_RU.UTF-8 scripts/wine-run dist/x64/rizer-host.exe dist/x64/riZER_2.cvp demo/dialogs.cvs 2>&1 | grep -v "cannot change locale"
  for bmp in dist/screenshots/*.bmp; do
    [ -e "$bmp" ] && /usr/bin/convert "$bmp" "${bmp%.bmp}.png" && rm -f "$bmp"
  done
  ls dist/screenshots/*.png 2>/dev/null | sed "s/^/screenshot: /" || true
  wine_stop; trap - EXIT
  echo "== the 32-bit module (lane wine10-x86)"
  if why=$(rizer_lane_why_not wine10-x86); then
    echo "not run here: $why"
  else
    export RIZER_LANE=wine10-x86
    lane_start demo || { echo "$lane_problem" >&2; exit 1; }
    trap wine_stop EXIT
    scripts/wine-run dist/x86/rizer-host.exe dist/x86/riZER_2.cvp demo/solo.cvs
    wine_stop; trap - EXIT
  fi
  unset RIZER_LANE RIZER_LANE_ARCH
  if [ -x scripts/demo-lan.sh ]; then scripts/demo-lan.sh; fi
  # rizer-cli on a LAN of three: an acknowledged box, and who acknowledged it.
  tests/cli/run-lan.sh dist/x64/rizer-host.exe dist/x64/riZER_2.cvp dist/linux/rizer-cli
' bash "$root"
