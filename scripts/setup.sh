#!/usr/bin/env bash
# One-time set-up of a Debian machine (run as root); idempotent and quick when
# everything is already there. Called by build.sh, demo.sh and test.sh.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev libjpeg-dev
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64 mingw-w64-tools
  wine wine64 xvfb xauth x11-utils x11-apps xdotool iproute2 imagemagick
  dpkg-dev nasm file procps zip unzip
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  # wine32 is left out on purpose: this kernel runs no 32-bit programs.
  apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# libjpeg for both MinGW targets, built once from Debian's source package.
if [ -x "$here/build-libjpeg.sh" ]; then
  "$here/build-libjpeg.sh"
fi

# The trixie root with Wine 10 (WoW64) for the wine10-x64 and wine10-x86 lanes.
"$here/setup-trixie.sh"
