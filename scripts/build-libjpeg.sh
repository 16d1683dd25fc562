#!/usr/bin/env bash
# Builds libjpeg-turbo as a static library for both MinGW-w64 targets from
# Debian's source package and installs it into .deps/<triplet>/ (the Windows
# toolchain files search there). The native build uses the system's libjpeg.
#
# The source entries are switched on only for this one download, through a
# private apt directory under .cache/apt-src: the machine's apt configuration
# and package lists stay as they are. The mirror is the one of the machine's
# own apt sources (scripts/apt-mirror). A second run skips every target whose
# library is already installed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
triplets=(x86_64-w64-mingw32 i686-w64-mingw32)

todo=()
for t in "${triplets[@]}"; do
  [ -f "$root/.deps/$t/lib/libjpeg.a" ] || todo+=("$t")
done
((${#todo[@]})) || exit 0

src_root="$root/.cache/src"
mkdir -p "$src_root"
src_dir=$(find "$src_root" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | sort | tail -n1)
if [ -z "$src_dir" ]; then
  apt_dir="$root/.cache/apt-src"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/parts"
  mirror=$("$root/scripts/apt-mirror")
  codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
  cat >"$apt_dir/sources.list.sources" <<SRC
Types: deb-src
URIs: $mirror
Suites: $codename
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
  cp "$apt_dir/sources.list.sources" "$apt_dir/parts/debian-src.sources"
  apt_opts=(-o "Dir::Etc::SourceList=/dev/null"
            -o "Dir::Etc::SourceParts=$apt_dir/parts"
            -o "Dir::State::Lists=$apt_dir/lists"
            -o "Dir::Cache=$apt_dir/cache"
            -o "APT::Get::List-Cleanup=0"
            -o "APT::Sandbox::User=root")
  echo "build-libjpeg: fetching the libjpeg-turbo source package"
  apt-get "${apt_opts[@]}" update -qq
  (cd "$src_root" && apt-get "${apt_opts[@]}" source -qq libjpeg-turbo >/dev/null)
  src_dir=$(find "$src_root" -maxdepth 1 -type d -name 'libjpeg-turbo-*' | sort | tail -n1)
fi
[ -n "$src_dir" ] || { echo "build-libjpeg: no source tree" >&2; exit 1; }

for t in "${todo[@]}"; do
  echo "build-libjpeg: building for $t"
  bdir="$root/.cache/build-libjpeg/$t"
  rm -rf "$bdir"; mkdir -p "$bdir"
  cmake -S "$src_dir" -B "$bdir" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-$t.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$root/.deps/$t" \
    -DENABLE_SHARED=OFF -DENABLE_STATIC=ON \
    -DWITH_TURBOJPEG=OFF -DWITH_JAVA=OFF \
    -DCMAKE_ASM_NASM_COMPILER=nasm >"$bdir.log" 2>&1 || { cat "$bdir.log" >&2; exit 1; }
  ninja -C "$bdir" -j2 jpeg-static >>"$bdir.log" 2>&1 || { tail -50 "$bdir.log" >&2; exit 1; }
  # Only the library and its headers: the tools are not needed.
  mkdir -p "$root/.deps/$t/lib" "$root/.deps/$t/include"
  cp "$bdir/libjpeg.a" "$root/.deps/$t/lib/libjpeg.a.tmp"
  cp "$src_dir/jpeglib.h" "$src_dir/jmorecfg.h" "$src_dir/jerror.h" "$bdir/jconfig.h" "$root/.deps/$t/include/"
  mv "$root/.deps/$t/lib/libjpeg.a.tmp" "$root/.deps/$t/lib/libjpeg.a"
done
echo "build-libjpeg: done"
