#!/usr/bin/env bash
# Sets up the trixie root file system with Wine 10 in WoW64 mode (64-bit Unix
# process, 32-bit and 64-bit Windows code) for the wine10-* test lanes.
# Debian 12's kernel here runs no 32-bit ELF programs, and trixie's Wine needs
# a newer glibc than Debian 12's, hence a root of its own. Nothing is installed
# into the machine's own system: debootstrap is unpacked into the cache, and
# libwine:i386 only lends its 32-bit PE DLLs (unpacked, never installed).
# Each step leaves a marker; a warm run does nothing. Run as root.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/trixie-env.sh"
suite=trixie
root_pkgs=(wine64 libwine xvfb xauth procps iproute2)

retry() {  # command...: three tries, for downloads
  local i
  for i in 1 2 3; do
    "$@" && return 0
    echo "setup-trixie: try $i of '$*' failed" >&2
    sleep $((i * 5))
  done
  return 1
}
step_done() { [ -f "$rizer_trixie/.rizer-step-$1" ]; }
mark() { touch "$rizer_trixie/.rizer-step-$1"; }
in_root() { "$here/trixie-root" "$@"; }

all_done() { step_done bootstrap && step_done wine && step_done wow64; }
all_done && exit 0

mkdir -p "$rizer_cache"
exec 9>"$rizer_cache/.setup.lock"
flock 9      # another clone may be setting up the same root right now
all_done && exit 0
start=$(date +%s)

mirror=$("$here/apt-mirror")
echo "setup-trixie: Debian mirror $mirror (from this machine's apt sources)"

# debootstrap, unpacked from its package (not installed).
tool=$rizer_cache/debootstrap
if [ ! -f "$tool/.rizer-ready" ]; then
  rm -rf "$tool"; mkdir -p "$tool/deb"
  (cd "$tool/deb" && { apt-get download -qq debootstrap 2>/dev/null ||
                         { retry apt-get update -qq && retry apt-get download -qq debootstrap; }; })
  dpkg -x "$tool"/deb/debootstrap_*.deb "$tool"
  touch "$tool/.rizer-ready"
fi

if ! step_done bootstrap; then
  echo "setup-trixie: debootstrap $suite into $rizer_trixie"
  rm -rf "$rizer_trixie"; mkdir -p "$rizer_trixie"
  keyring=/usr/share/keyrings/debian-archive-keyring.gpg
  [ -f "$keyring" ] || { echo "setup-trixie: missing $keyring" >&2; exit 1; }
  bootstrap() {
    DEBOOTSTRAP_DIR="$tool/usr/share/debootstrap" "$tool/usr/sbin/debootstrap" \
      --variant=minbase --keyring="$keyring" "$suite" "$rizer_trixie" "$mirror" \
      >"$rizer_cache/debootstrap.log" 2>&1 ||
      { tail -n 20 "$rizer_cache/debootstrap.log" >&2; rm -rf "$rizer_trixie"; mkdir -p "$rizer_trixie"; return 1; }
  }
  retry bootstrap
  printf 'deb %s %s main\n' "$mirror" "$suite" >"$rizer_trixie/etc/apt/sources.list"
  mark bootstrap
fi
cp -L /etc/resolv.conf "$rizer_trixie/etc/resolv.conf" 2>/dev/null || true

if ! step_done wine; then
  echo "setup-trixie: installing ${root_pkgs[*]} into the root"
  retry in_root apt-get update -qq
  retry in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${root_pkgs[@]}" >/dev/null
  in_root apt-get clean
  mark wine
fi

if ! step_done wow64; then
  # The 32-bit PE DLLs of the same Wine version: without a 32-bit Unix
  # loader, wine64 then runs i686 programs in its WoW64 mode.
  version=$(in_root dpkg-query -W -f='${Version}\n' libwine:amd64 | head -n1)
  echo "setup-trixie: 32-bit Windows DLLs from libwine:i386 $version"
  rm -rf "$rizer_trixie/tmp/rizer-libwine-i386"
  in_root bash -c '
    set -e
    d=$(mktemp -d)
    cd "$d"
    # i386 is known to apt only for this download: no 32-bit package (wine32
    # above all, whose loader would stop the WoW64 mode) ever gets installed.
    dpkg --add-architecture i386
    trap "dpkg --remove-architecture i386; apt-get update -qq" EXIT
    apt-get update -qq
    get() { apt-get -o APT::Sandbox::User=root download -qq "libwine:i386=$1"; }
    get "$1" || { sleep 5; get "$1"; }
    dpkg -x libwine_*_i386.deb x
    src=x/usr/lib/i386-linux-gnu/wine/i386-windows
    dst=/usr/lib/x86_64-linux-gnu/wine/i386-windows
    [ -d "$src" ] || { echo "no i386-windows folder in libwine:i386" >&2; exit 1; }
    [ ! -e /usr/lib/wine/wine ] || { echo "a 32-bit Wine loader is installed in the root" >&2; exit 1; }
    mkdir -p "$dst"
    cp -a "$src"/. "$dst"/
    cd /; rm -rf "$d"' _ "$version"
  chmod -R a+rX "$rizer_trixie/usr/lib/x86_64-linux-gnu/wine/i386-windows"
  mark wow64
fi
echo "setup-trixie: root ready in $(( $(date +%s) - start )) s ($(du -sh "$rizer_trixie" 2>/dev/null | cut -f1))"
