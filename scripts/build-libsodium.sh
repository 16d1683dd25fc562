#!/usr/bin/env bash
# Builds libsodium as a static library for both MinGW-w64 targets from
# Debian's source package (the version of this machine's libsodium-dev) into
# the cache (see dep_folder in setup-lib.sh) and links .deps/libsodium to it.
# Debian's source package ships no configure script: autogen.sh makes it with
# Debian's autoconf, automake and libtool. Users define SODIUM_STATIC. The
# native build uses the system's libsodium. A second run only checks that the
# folder of the current hash is there.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/setup-lib.sh"

version=$(dpkg-query -W -f='${source:Version}' libsodium-dev)
build_all() {  # folder
  local dir=$1 src t
  echo "build-libsodium: libsodium $version into $dir"
  src=$(timed "libsodium: source package" "$here/deb-source" libsodium "$dir/src" | tail -n1)
  # (autogen.sh would otherwise fetch newer config.guess/config.sub from the
  # internet: the ones autoreconf installs serve)
  timed "libsodium: autogen.sh" quiet bash -c 'cd "$1" && DO_NOT_UPDATE_CONFIG_SCRIPTS=1 ./autogen.sh' _ "$src"
  build() {  # triplet
    local b="$dir/build-$1"
    rm -rf "$b"; mkdir -p "$b"
    # (_FORTIFY_SOURCE would pull in libssp, which the module does not link)
    (cd "$b" && "$src/configure" --host="$1" --prefix="$dir/$1" --disable-shared --enable-static \
       CC="$1-gcc-posix" CPPFLAGS=-D_FORTIFY_SOURCE=0 &&
       make -j "$(nproc)" && make install) || return 1
    rm -rf "$b"
  }
  for t in "${rizer_triplets[@]}"; do
    timed "libsodium: build for $t" quiet build "$t"
  done
}
dep_build libsodium "$0" "$version" build_all
