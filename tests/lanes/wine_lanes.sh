#!/usr/bin/env bash
# The lane runner itself, in the lane the test command has started:
# the Wine that runs is the lane's (its wineserver lives in the trixie root for
# the wine10 lanes, on this system for wine8-x64) and reports the lane's
# Windows version; host and module are of the lane's bitness; wine-run refuses
# a program of the other bitness and refuses to run outside a private
# namespace; the desktop's process holds no caller's output open.
#
#   tests/lanes/wine_lanes.sh HOST.exe riZER_2.cvp
#
# Runs inside a private namespace with Wine already started (wine-env.sh).
set -u
if [ $# -ne 2 ]; then
  echo "usage: $0 HOST.exe riZER_2.cvp" >&2
  exit 2
fi
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/trixie-env.sh"
source "$root/scripts/lib.sh"
lane=$(lane_default)
arch=${RIZER_LANE_ARCH:-$(lane_arch "$lane")}
passed=0 failed=0

# The root of the lane's wineserver, and the Windows version `ver` names.
server_root=$([ "$(lane_wine "$lane")" = trixie ] && echo "$rizer_trixie" || echo /)
windows="Windows $(lane_windows "$lane")."

server_in_lane_root() {
  local pid found=0
  for pid in $(wine_servers); do
    [ "$(readlink "/proc/$pid/root")" = "$server_root" ] || return 1
    found=1
  done
  [ "$found" = 1 ]
}
ver_names() { "$root/scripts/wine-run" cmd.exe /c ver </dev/null 2>/dev/null | tr -d '\r' | grep -qF "$windows"; }
both_of_lane_arch() { [ "$("$root/scripts/pe-arch" "$1")" = "$arch" ] && [ "$("$root/scripts/pe-arch" "$2")" = "$arch" ]; }
refuses_other_bitness() {
  local other fake out
  other=$([ "$arch" = x64 ] && echo x86 || echo x64)
  fake=$(mktemp --suffix=.exe)
  # A PE header of the other machine type is all the check reads.
  printf 'MZ' >"$fake"; head -c 58 /dev/zero >>"$fake"; printf '\x40\0\0\0PE\0\0' >>"$fake"
  if [ "$other" = x86 ]; then printf '\x4c\x01' >>"$fake"; else printf '\x64\x86' >>"$fake"; fi
  out=$("$root/scripts/wine-run" "$fake" 2>&1); local rc=$?
  rm -f "$fake"
  [ "$rc" = 126 ] && grep -q "is an $other program; lane $lane runs the $arch build" <<<"$out"
}
refuses_outside_namespace() {
  local out
  out=$(env -u RIZER_NETNS "$root/scripts/wine-run" "$1" 2>&1) && return 1
  grep -q "not started by scripts/netns-run" <<<"$out"
}
# The desktop's process outlives the program that made the first window: on
# that program's output it would hold a caller's pipe open (CTest waits).
desktop_streams_closed() {
  local pid found=0 fd
  for pid in $(wine_desktops); do
    for fd in 0 1 2; do
      # /dev/null, seen through the root in the wine10 lanes
      case "$(readlink "/proc/$pid/fd/$fd")" in
        /dev/null|"$rizer_trixie/dev/null") ;;
        *) echo "desktop $pid: stream $fd is $(readlink "/proc/$pid/fd/$fd")"; return 1 ;;
      esac
    done
    found=1
  done
  [ "$found" = 1 ] || echo "no desktop process for $WINEPREFIX"
  [ "$found" = 1 ]
}

check "$lane: the wineserver runs in the lane's root" server_in_lane_root
check "$lane: Windows reports $windows" ver_names
check "$lane: host and module are $arch builds" both_of_lane_arch "$1" "$2"
check "$lane: wine-run refuses a program of the other bitness" refuses_other_bitness
check "$lane: wine-run refuses outside a private namespace" refuses_outside_namespace "$1"
# A windowed program first, so that there is a desktop whoever started it.
"$root/scripts/wine-run" "$1" "$2" </dev/null 2>&1 | tail -n 0
check "$lane: the desktop's process has no caller's output" desktop_streams_closed

# Wine ends the desktop's process about a second after its last other user
# has gone; a program that starts meanwhile can leave one that never comes up,
# and every later window of the lane fails. The lane keeps a waiting host of
# its own build on the desktop (wine_hold), so that the desktop outlives every
# test program, however long the gap before the next one.
held_by_waiting_host() { [ -n "$(prefix_pids -f 'hold\.cvs')" ]; }
desktop_outlives_programs() {  # HOST.exe MODULE.cvp
  local before after i
  before=$(wine_desktops)
  for i in 1 2; do
    "$root/scripts/wine-run" "$1" "$2" </dev/null >/dev/null 2>&1
    sleep 2.5
  done
  after=$(wine_desktops)
  [ -n "$before" ] && [ "$before" = "$after" ] || { echo "desktop processes before: ${before:-none}, after: ${after:-none}"; return 1; }
}
check "$lane: a waiting host of the lane holds the desktop" held_by_waiting_host
check "$lane: the desktop outlives the programs that use it" desktop_outlives_programs "$1" "$2"
if [ "$arch" = x86 ]; then
  # Wine says so on its error channel when a 32-bit program starts that way.
  wow64() { WINEDEBUG=err+environ "$root/scripts/wine-run" "$1" "$2" </dev/null 2>&1 >/dev/null | grep -q 'in experimental wow64 mode'; }
  check "$lane: the 32-bit host runs in Wine's WoW64 mode" wow64 "$1" "$2"
fi
tally_line
