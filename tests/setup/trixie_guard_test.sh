#!/usr/bin/env bash
# trixie-root's guard, without a root: which command lines may start Wine or
# Xvfb. Each row: the answer outside a private network namespace, inside one,
# and the command line. Outside means RIZER_NETNS unset (netns-check fails);
# inside runs under scripts/netns-run. Needs root (unshare --net).
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/lib.sh"
passed=0 failed=0

cases=(
  # outside inside  command line
  "refused allowed  wine rizer-host.exe"
  "refused allowed  /usr/bin/wine64 x.exe"
  "refused allowed  /usr/lib/wine/wineserver64 -p"
  "refused allowed  /usr/bin/wineserver -k"
  "refused allowed  wineboot -i"
  "refused allowed  Xvfb -displayfd 3"
  "refused allowed  env A=1 wine64 x.exe"
  "refused allowed  env -i PATH=/usr/bin WINEPREFIX=/p /usr/lib/wine/wine64 x.exe"
  "refused allowed  WINEDEBUG=-all wine x.exe"
  "refused allowed  bash -c 'exec wine x.exe'"
  "refused allowed  sh -c 'cd /tmp && Xvfb :5'"
  "refused allowed  /bin/bash -c 'check || exit 1; exec \"\$@\"' here /usr/lib/wine/wine64 x.exe"
  "allowed allowed  dpkg-query -W wine64"
  "allowed allowed  env DEBIAN_FRONTEND=noninteractive apt-get install -y wine64 libwine xvfb"
  "allowed allowed  apt-get download libwine:i386"
  "allowed allowed  bash -c 'dpkg -x libwine_i386.deb x'"
  "allowed allowed  /bin/bash -c 'exec \"\$@\"' here dpkg-query -W wine64"
  "allowed allowed  ls /usr/lib/wine"
)

answer() {  # where, command line (as one text)
  local rc
  if [ "$1" = outside ]; then
    eval "env -u RIZER_NETNS \"$root/scripts/trixie-root\" --check $2" 2>/dev/null; rc=$?
  else
    eval "\"$root/scripts/netns-run\" \"$root/scripts/trixie-root\" --check $2" 2>/dev/null; rc=$?
  fi
  [ $rc = 0 ] && echo allowed || echo refused
}

for row in "${cases[@]}"; do
  read -r want_out want_in line <<<"$row"
  got_out=$(answer outside "$line")
  got_in=$(answer inside "$line")
  if [ "$got_out/$got_in" = "$want_out/$want_in" ]; then
    tally_pass
  else
    tally_fail "FAIL: $line: outside $got_out (want $want_out), inside $got_in (want $want_in)"
  fi
done
tally_line
