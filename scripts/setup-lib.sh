# Sourced by the set-up scripts: tries with a visible cause, timed steps, the
# hashes that key each cached artefact to the files that make it, the build
# of a cached library (dep_build) and the unmounting of what a step mounted
# (unmount_below).

# retry COMMAND...: three tries, for anything that downloads. Each try's
# output goes to a log; when the third fails too, the last 20 lines of its
# output say why.
retry() {
  local i log rc=1
  log=$(mktemp)
  for i in 1 2 3; do
    if "$@" >"$log" 2>&1; then rm -f "$log"; return 0; fi
    echo "setup: try $i of '$*' failed" >&2
    ((i < 3)) && sleep $((i * 5))
  done
  echo "setup: the last 20 lines of its output:" >&2
  tail -n 20 "$log" | sed 's/^/  | /' >&2
  rm -f "$log"
  return $rc
}

# quiet COMMAND...: runs a step that is not retried; its output is shown
# (the last 20 lines) only when it fails.
quiet() {
  local log rc=0
  log=$(mktemp)
  "$@" >"$log" 2>&1 || rc=$?
  if ((rc)); then
    echo "setup: '$*' failed (exit $rc); the last 20 lines of its output:" >&2
    tail -n 20 "$log" | sed 's/^/  | /' >&2
  fi
  rm -f "$log"
  return $rc
}

# timed NAME COMMAND...: runs a step and says (on stderr) how long it took.
timed() {
  local name=$1 start rc=0; shift
  start=$(date +%s%3N)
  "$@" || rc=$?
  local ms=$(($(date +%s%3N) - start))
  printf 'setup: %-40s %4d.%d s%s\n' "$name" $((ms / 1000)) $((ms % 1000 / 100)) \
    "$( ((rc)) && echo "  FAILED (exit $rc)")" >&2
  return $rc
}

# content_hash FILE... [-- WORD...]: 12 hex digits of SHA-256 over the files'
# names and contents and the words after --. A change to any of them gives a
# new hash, and so a new cache folder built from nothing.
content_hash() {
  local f
  {
    while (($#)) && [ "$1" != -- ]; do
      printf '%s\n' "$(basename "$1")"; cat "$1"; shift
    done
    (($#)) && shift
    printf '%s\n' "$@"
  } | sha256sum | cut -c1-12
}

# A library built for both MinGW targets lives in the cache, one folder per
# hash of what makes it (its build script, this file, deb-source, the
# toolchain files and the Debian source version):
#   $RIZER_CACHE/deps/LIB-<hash>/src/        the unpacked source package
#   $RIZER_CACHE/deps/LIB-<hash>/<triplet>/  lib/ and include/ of the build
# and the repository's .deps/LIB links to it (the toolchain files search
# .deps/LIB/<triplet>). RIZER_DEPS_LINK=0 builds without linking.
rizer_triplets=(x86_64-w64-mingw32 i686-w64-mingw32)
dep_folder() {  # lib, build script, source version
  local scripts; scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
  printf '%s/deps/%s-%s\n' "${RIZER_CACHE:-/var/cache/rizer}" "$1" "$(content_hash "$2" \
    "$scripts/setup-lib.sh" "$scripts/deb-source" "$scripts"/../cmake/toolchain-*.cmake -- "$3")"
}
# dep_link LIB FOLDER: points .deps/LIB at FOLDER, notes the use and keeps the
# two most recently used folders of LIB.
dep_link() {
  local repo; repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  touch "$2/.rizer-used"
  if [ "${RIZER_DEPS_LINK:-1}" != 0 ]; then
    mkdir -p "$repo/.deps"
    [ "$(readlink "$repo/.deps/$1" 2>/dev/null)" = "$2" ] || ln -sfn "$2" "$repo/.deps/$1"
  fi
  local old
  ls -dt "$(dirname "$2")/$1"-*/.rizer-used 2>/dev/null | tail -n +3 | while read -r old; do
    echo "setup: removing $(dirname "$old"), used least recently"
    rm -rf "$(dirname "$old")"
  done
}

# dep_build LIB BUILD-SCRIPT VERSION FUNCTION: the cached library LIB of
# VERSION, built when its folder (dep_folder) is not ready yet: under a lock
# of its own (another clone may be building the same folder), from an empty
# folder, by FUNCTION FOLDER; then marked ready and linked (dep_link). A
# build that stops half-way leaves no folder behind.
dep_build() {
  local lib=$1 script=$2 version=$3 make_it=$4
  _dep_dir=$(dep_folder "$lib" "$script" "$version")
  if [ ! -f "$_dep_dir/.rizer-ready" ]; then
    mkdir -p "$(dirname "$_dep_dir")"
    exec 7>"$_dep_dir.lock"
    flock 7
  fi
  if [ ! -f "$_dep_dir/.rizer-ready" ]; then
    rm -rf "$_dep_dir"; mkdir -p "$_dep_dir"
    trap '[ -f "$_dep_dir/.rizer-ready" ] || rm -rf "$_dep_dir"' EXIT   # no half-built folder stays
    "$make_it" "$_dep_dir"
    touch "$_dep_dir/.rizer-ready"
  fi
  dep_link "$lib" "$_dep_dir"
}

# unmount_below DIR: unmounts every mount point at or below DIR, the deepest
# first (lazily when one is busy). debootstrap mounts /proc and /sys inside
# the root it builds and unmounts them only when it ends on its own: the
# set-up calls this on its way out, whatever ends it, and before it removes
# a folder, so that nothing stays mounted in a half-built root and nothing is
# removed through a mount.
unmount_below() {
  local dir mp
  dir=$(realpath -m "$1")
  awk '{ print $5 }' /proc/self/mountinfo | sed 's/\\\([0-7][0-7][0-7]\)/\\0\1/g' |
    while IFS= read -r mp; do printf '%b\n' "$mp"; done |
    awk -v d="$dir" '$0 == d || index($0, d "/") == 1' | sort -r |
    while IFS= read -r mp; do
      umount "$mp" 2>/dev/null || umount -l "$mp" || continue
      echo "setup: unmounted $mp, left mounted by a step" >&2
    done
}
