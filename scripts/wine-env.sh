# Sourced (not run) inside a namespace made by netns-run / netns-pair.
#   wine_start NAME   prefix .cache/wine/NAME (made once, then reused), an Xvfb
#                     of this namespace and a persistent wineserver started here
#   wine_stop         ends both
# Wine creates its sockets in the wineserver's process, so a wineserver that
# runs in any other namespace would put the plug-in's broadcasts on the real
# network: the server is always started here, and wine-run checks it.
_rizer_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

wine_start() {
  local name=$1
  "$_rizer_root/scripts/netns-check" || return 1
  export WINEPREFIX="$_rizer_root/.cache/wine/$name"
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export WINEARCH=win64
  mkdir -p "$(dirname "$WINEPREFIX")"
  wineserver -k 2>/dev/null || true          # a server left from elsewhere
  # X display of this namespace (X's abstract sockets do not cross namespaces).
  local fdfile; fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" 2>/dev/null &
  _rizer_xvfb=$!
  local i; for i in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.05; done
  export DISPLAY=":$(head -n1 "$fdfile")"; rm -f "$fdfile"
  if [ ! -f "$WINEPREFIX/.rizer-ready" ]; then
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w 2>/dev/null || true
    touch "$WINEPREFIX/.rizer-ready"
  fi
  wineserver -p
  # Wine's background services start with the first program and keep its
  # standard streams open: start them here, on /dev/null, so that a caller's
  # pipe ($(...) or | tail) sees its end when the program itself ends.
  wine cmd.exe /c exit 0 </dev/null >/dev/null 2>&1 || true
  # Xvfb runs no window manager: unmanaged windows spare Wine its 2 s wait
  # for one each time a window is hidden or destroyed.
  if [ ! -f "$WINEPREFIX/.rizer-unmanaged" ]; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 &&
      touch "$WINEPREFIX/.rizer-unmanaged"
  fi
  "$_rizer_root/scripts/wine-check"
}

wine_stop() {
  wineserver -k 2>/dev/null || true
  [ -n "${_rizer_xvfb:-}" ] && kill "$_rizer_xvfb" 2>/dev/null || true
  wait "${_rizer_xvfb:-}" 2>/dev/null || true
  _rizer_xvfb=
}
