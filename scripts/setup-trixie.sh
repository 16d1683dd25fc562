#!/usr/bin/env bash
# Sets up the trixie root file system with Wine 10 in WoW64 mode (64-bit Unix
# process, 32-bit and 64-bit Windows code) for the wine10-* test lanes.
# Debian 12's kernel here runs no 32-bit ELF programs, and trixie's Wine needs
# a newer glibc than Debian 12's, hence a root of its own. Nothing is installed
# into the machine's own system: debootstrap is unpacked into the cache, and
# libwine:i386 only lends its 32-bit PE DLLs (unpacked, never installed).
#
# The root lives in $RIZER_CACHE/trixie-<hash> (trixie-env.sh): a change to
# the files that make it gives a new folder, built here from nothing. Each
# step leaves a marker; a warm run does nothing but note that the root was
# used. Only the two most recently used roots (and their prefix templates)
# are kept. Whatever ends a build, nothing it mounted in the root (debootstrap
# mounts /proc and /sys there) stays mounted. Run as root.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/trixie-env.sh"
source "$here/setup-lib.sh"
suite=trixie
# What the root holds (a change here is a change of the root's hash).
root_pkgs=(wine64 libwine xvfb xauth procps iproute2)

step_done() { [ -f "$rizer_trixie/.rizer-step-$1" ]; }
mark() { touch "$rizer_trixie/.rizer-step-$1"; }
in_root() { "$here/trixie-root" "$@"; }
all_done() { step_done bootstrap && step_done wine && step_done wow64 && step_done template; }

# Keeps the two most recently used roots; a root's last use is the time of
# its .rizer-used file (of its last marker, for a root that has none).
prune_roots() {
  local dir stamp list=()
  for dir in "$rizer_cache"/trixie "$rizer_cache"/trixie-*; do
    [ -d "$dir" ] || continue
    stamp=$dir/.rizer-used
    [ -f "$stamp" ] || stamp=$(ls -t "$dir"/.rizer-step-* 2>/dev/null | head -n1)
    list+=("$(stat -c %Y "${stamp:-$dir}") $dir")
  done
  printf '%s\n' "${list[@]}" | sort -rn | tail -n +3 | while read -r _ dir; do
    [ "$dir" = "$rizer_trixie" ] && continue
    echo "setup-trixie: removing the root $dir, used least recently"
    unmount_below "$dir"
    rm -rf "$dir" "$rizer_cache/prefixes${dir#"$rizer_cache"/trixie}"
  done
}

mkdir -p "$rizer_cache"
if all_done; then
  touch "$rizer_trixie/.rizer-used"
  exit 0
fi
exec 9>"$rizer_cache/.setup.lock"
flock 9      # another clone may be setting up the same root right now
if all_done; then
  touch "$rizer_trixie/.rizer-used"
  exit 0
fi
# The root is ours now: on every way out, what a step mounted in it goes.
trap 'unmount_below "$rizer_trixie"' EXIT
trap 'exit 129' HUP
trap 'exit 130' INT
trap 'exit 143' TERM
echo "setup-trixie: building the root $rizer_trixie"

mirror=$("$here/apt-mirror")
echo "setup-trixie: Debian mirror $mirror (from this machine's apt sources)"

# debootstrap, unpacked from its package (not installed).
get_debootstrap() {
  local tool=$1
  rm -rf "$tool"; mkdir -p "$tool/deb"
  (cd "$tool/deb" && { apt-get download debootstrap >/dev/null 2>&1 ||
                         { retry apt-get update && retry apt-get download debootstrap; }; })
  dpkg -x "$tool"/deb/debootstrap_*.deb "$tool"
  touch "$tool/.rizer-ready"
}
tool=$rizer_cache/debootstrap
[ -f "$tool/.rizer-ready" ] || timed "debootstrap (download)" get_debootstrap "$tool"

bootstrap() {
  unmount_below "$rizer_trixie"   # (left by a set-up that was killed outright)
  rm -rf "$rizer_trixie"; mkdir -p "$rizer_trixie"
  DEBOOTSTRAP_DIR="$tool/usr/share/debootstrap" "$tool/usr/sbin/debootstrap" \
    --variant=minbase --keyring=/usr/share/keyrings/debian-archive-keyring.gpg \
    "$suite" "$rizer_trixie" "$mirror"
}
if ! step_done bootstrap; then
  [ -f /usr/share/keyrings/debian-archive-keyring.gpg ] ||
    { echo "setup-trixie: missing /usr/share/keyrings/debian-archive-keyring.gpg" >&2; exit 1; }
  timed "root: debootstrap $suite" retry bootstrap
  printf 'deb %s %s main\n' "$mirror" "$suite" >"$rizer_trixie/etc/apt/sources.list"
  mark bootstrap
fi
cp -L /etc/resolv.conf "$rizer_trixie/etc/resolv.conf" 2>/dev/null || true

install_wine() {
  retry in_root apt-get update &&
    retry in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y "${root_pkgs[@]}" &&
    in_root apt-get clean
}
if ! step_done wine; then
  echo "setup-trixie: installing ${root_pkgs[*]} into the root"
  timed "root: Wine 10 packages" install_wine
  mark wine
fi

# The 32-bit PE DLLs of the same Wine version: without a 32-bit Unix loader,
# wine64 then runs i686 programs in its WoW64 mode.
wow64() {
  local version
  version=$(in_root dpkg-query -W -f='${Version}\n' libwine:amd64 | head -n1)
  echo "setup-trixie: 32-bit Windows DLLs from libwine:i386 $version"
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
}
if ! step_done wow64; then
  timed "root: WoW64 DLLs" retry wow64
  mark wow64
fi

# Wine 10's prefix template (wine-env.sh makes it at the first wine_start of
# a wine10 lane), made here inside a private network namespace of its own,
# since wineboot starts Wine's server.
template() {
  "$here/netns-run" bash -c '
    source "$1/wine-env.sh"
    export RIZER_LANE=wine10-x64
    lane_start setup || { echo "$lane_output"; exit 1; }
    prefix=$WINEPREFIX
    wine_stop
    rm -rf "$prefix"' _ "$here"
}
if ! step_done template; then
  timed "root: Wine 10 prefix template" quiet template
  mark template
fi
touch "$rizer_trixie/.rizer-used"
prune_roots
echo "setup-trixie: root ready ($(du -sh "$rizer_trixie" 2>/dev/null | cut -f1))"
