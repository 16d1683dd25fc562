#!/usr/bin/env bash
# Builds libjpeg-turbo as a static library for both MinGW-w64 targets from
# Debian's source package (the version of this machine's libjpeg62-turbo-dev)
# into the cache (see dep_folder in setup-lib.sh) and links .deps/libjpeg to
# it. The native build uses the system's libjpeg; the fuzz build compiles the
# unpacked source (.deps/libjpeg/src) with its own instrumentation. A second
# run only checks that the folder of the current hash is there.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/setup-lib.sh"

version=$(dpkg-query -W -f='${source:Version}' libjpeg62-turbo-dev)
build_all() {  # folder
  local dir=$1 src t
  echo "build-libjpeg: libjpeg-turbo $version into $dir"
  src=$(timed "libjpeg: source package" "$here/deb-source" libjpeg-turbo "$dir/src" | tail -n1)
  build() {  # triplet
    local b="$dir/build-$1"
    rm -rf "$b"
    cmake -S "$src" -B "$b" -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE="$here/../cmake/toolchain-$1.cmake" -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_INSTALL_PREFIX="$dir/$1" \
      -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF \
      -DCMAKE_ASM_NASM_COMPILER=nasm &&
      ninja -C "$b" -j "$(nproc)" jpeg-static || return 1
    # Only the library and its headers: the tools are not needed.
    mkdir -p "$dir/$1/lib" "$dir/$1/include"
    cp "$b/libjpeg.a" "$dir/$1/lib/"
    cp "$src/jpeglib.h" "$src/jmorecfg.h" "$src/jerror.h" "$b/jconfig.h" "$dir/$1/include/"
    rm -rf "$b"
  }
  for t in "${rizer_triplets[@]}"; do
    timed "libjpeg: build for $t" quiet build "$t"
  done
}
dep_build libjpeg "$0" "$version" build_all
