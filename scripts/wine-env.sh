# Sourced (not run) inside a namespace made by netns-run / netns-lan.
#   lane_start NAME [HOST MODULE]   starts Wine in the lane $RIZER_LANE (unset:
#                     the first of scripts/lib.sh's table) and, with HOST and
#                     MODULE, holds its desktop (wine_hold): 0 with
#                     RIZER_LANE_ARCH set, else 1 with the reason in
#                     lane_problem (and wine_start's last lines in lane_output)
#                     and Wine stopped again. Every script starts a lane so.
#   wine_start NAME   for the lane $RIZER_LANE (see lane-exec): prefix
#                     .cache/wine/LANE/NAME (made once, then reused), an
#                     Xvfb of this namespace and a persistent wineserver started
#                     here; exports RIZER_LANE and RIZER_LANE_ARCH (x64 or x86,
#                     the build this lane runs: build/$RIZER_LANE_ARCH/...)
#   wine_hold HOST MODULE   keeps the desktop up till wine_stop (see below)
#   wine_stop         ends them all
# The lanes themselves (rizer_lanes, lane_arch, rizer_lane_why_not...) are
# scripts/lib.sh's, which this sources.
# Wine creates its sockets in the wineserver's process, so a wineserver that
# runs in any other namespace would put the plug-in's broadcasts on the real
# network: the server is always started here, and wine-run checks it.
_rizer_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$_rizer_root/scripts/lib.sh"

_rizer_lane() { "$_rizer_root/scripts/lane-exec" "$@"; }

# A Wine 10 prefix is large (its DLLs are copied in): one is made per machine
# under the cache, and each NAME gets a copy of hard links, with the files
# Wine rewrites in place (registry, ini files) copied for real.
_rizer_wine10_prefix() {  # target
  source "$_rizer_root/scripts/trixie-env.sh"
  local template="$rizer_prefixes/wine10"
  (
    flock 8
    if [ ! -f "$template/.rizer-ready" ]; then
      rm -rf "$template"
      WINEPREFIX=$template _rizer_lane wine wineboot -i </dev/null >/dev/null 2>&1 || true
      WINEPREFIX=$template _rizer_lane wineserver -w 2>/dev/null || true
      [ -f "$template/system.reg" ] || { echo "wine_start: wineboot made no prefix in $template" >&2; exit 1; }
      touch "$template/.rizer-ready"
    fi
  ) 8>"$rizer_cache/prefixes.lock" || return 1
  rm -rf "$1.tmp"; mkdir -p "$(dirname "$1")"
  cp -al "$template" "$1.tmp" 2>/dev/null || { rm -rf "$1.tmp"; cp -a "$template" "$1.tmp"; }
  find "$1.tmp" -type f \( -name '*.reg' -o -name '*.ini' -o -name '.update-timestamp' \) \
    -exec sh -c 'for f; do cp -p "$f" "$f.x" && mv -f "$f.x" "$f"; done' _ {} +
  rm -f "$1.tmp/.rizer-ready"
  mv "$1.tmp" "$1"
}

wine_start() {
  local name=$1
  local lane; lane=$(lane_default)
  "$_rizer_root/scripts/netns-check" || return 1
  local wine; wine=$(lane_wine "$lane") ||
    { echo "wine_start: unknown lane '$lane' (${rizer_lanes[*]})" >&2; return 1; }
  local rizer_trixie_hash=
  if [ "$wine" = trixie ]; then
    source "$_rizer_root/scripts/trixie-env.sh"
    [ -f "$rizer_trixie/.rizer-step-wow64" ] ||
      { echo "wine_start: lane $lane needs the trixie root in $rizer_trixie (scripts/setup.sh makes it)" >&2; return 1; }
  fi
  RIZER_LANE_ARCH=$(lane_arch "$lane")
  export RIZER_LANE=$lane RIZER_LANE_ARCH
  # (a wine10 prefix is a copy of its root's template: one folder per root)
  export WINEPREFIX="$_rizer_root/.cache/wine/$lane${rizer_trixie_hash:+-$rizer_trixie_hash}/$name"
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export WINEARCH=win64
  mkdir -p "$(dirname "$WINEPREFIX")"
  _rizer_lane wineserver -k 2>/dev/null || true          # a server left from elsewhere
  # X display of this namespace (X's abstract sockets do not cross namespaces).
  local fdfile; fdfile=$(mktemp)
  # (lane-exec itself, not a function: $! must be the Xvfb that wine_stop ends)
  "$_rizer_root/scripts/lane-exec" Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" 2>/dev/null &
  _rizer_xvfb=$!
  wait_for 10 "$fdfile" "" || { echo "wine_start: Xvfb did not start" >&2; rm -f "$fdfile"; return 1; }
  export DISPLAY=":$(head -n1 "$fdfile")"; rm -f "$fdfile"
  if [ ! -f "$WINEPREFIX/.rizer-ready" ]; then
    if [ "$wine" = system ]; then
      _rizer_lane wine wineboot -i </dev/null >/dev/null 2>&1 || true
      _rizer_lane wineserver -w 2>/dev/null || true
    else
      rm -rf "$WINEPREFIX"
      _rizer_wine10_prefix "$WINEPREFIX" || return 1
    fi
    touch "$WINEPREFIX/.rizer-ready"
  fi
  _rizer_lane wineserver -p
  # Wine's background services start with the first program and keep its
  # standard streams open: start them here, on /dev/null, so that a caller's
  # pipe ($(...) or | tail) sees its end when the program itself ends.
  _rizer_lane wine cmd.exe /c exit 0 </dev/null >/dev/null 2>&1 || true
  # The same for the desktop's process (explorer.exe /desktop), which the first
  # program that makes a window would start, with that program's streams, and
  # which outlives it: CTest then waits for the end of that test's output till
  # its time-out. The desktop started here serves every later program; the
  # window made after it waits till it is up.
  "$_rizer_root/scripts/lane-exec" wine explorer.exe /desktop </dev/null >/dev/null 2>&1 &
  _rizer_lane wine rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1 || true
  # Xvfb runs no window manager: unmanaged windows spare Wine its 2 s wait
  # for one each time a window is hidden or destroyed.
  if [ ! -f "$WINEPREFIX/.rizer-unmanaged" ]; then
    _rizer_lane wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 &&
      touch "$WINEPREFIX/.rizer-unmanaged"
  fi
  "$_rizer_root/scripts/wine-check"
}

# wine_hold HOST.exe MODULE.cvp: until wine_stop, a stand-in host of the
# lane's build that only waits (it opens no port) stays attached
# to the desktop. Wine ends the desktop's process about a second after the
# desktop's last other user has gone; on a busy machine that happens in the
# gap between two test programs, and a program that starts while it ends can
# leave a desktop process that never comes up: from then on every window of
# the lane fails ("The explorer process failed to start"). With one user that
# stays, the desktop started by wine_start serves the whole lane.
wine_hold() {
  local host=$1 module=$2
  mkdir -p "$_rizer_root/build/e2e"  # every Wine lane sees the repository
  _rizer_hold_dir=$(mktemp -d "$_rizer_root/build/e2e/hold.XXXXXX")
  printf 'Signal held\nSleep 3600000\n' >"$_rizer_hold_dir/hold.cvs"
  "$_rizer_root/scripts/wine-run" "$host" "$module" "$_rizer_hold_dir/hold.cvs" "$_rizer_hold_dir" \
    </dev/null >/dev/null 2>&1 &
  _rizer_hold=$!
  wait_for --while "$_rizer_hold" 60 "$_rizer_hold_dir/held" && return 0
  echo "wine_hold: the waiting host did not start" >&2
  return 1
}

wine_stop() {
  _rizer_lane wineserver -k 2>/dev/null || true
  if [ -n "${_rizer_hold:-}" ]; then
    kill "$_rizer_hold" 2>/dev/null || true
    wait "$_rizer_hold" 2>/dev/null || true
    rm -rf "$_rizer_hold_dir"
    _rizer_hold= _rizer_hold_dir=
  fi
  [ -n "${_rizer_xvfb:-}" ] && kill "$_rizer_xvfb" 2>/dev/null || true
  wait "${_rizer_xvfb:-}" 2>/dev/null || true
  _rizer_xvfb=
}

# lane_start NAME [HOST MODULE]: see the top. wine_start's output goes to a
# log, its last line into lane_problem, its last five into lane_output.
lane_start() {
  local name=$1 log
  lane_problem="" lane_output=""
  log=$(mktemp)
  if ! wine_start "$name" >"$log" 2>&1 </dev/null; then
    lane_problem="Wine did not start: $(tail -n 1 "$log")"
    lane_output=$(tail -n 5 "$log")
    rm -f "$log"
    wine_stop
    return 1
  fi
  rm -f "$log"
  if [ $# -ge 3 ] && ! wine_hold "$2" "$3" 2>/dev/null; then
    lane_problem="the waiting host did not start"
    wine_stop
    return 1
  fi
}
