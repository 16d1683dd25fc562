#!/usr/bin/env bash
# One-time set-up of a Debian machine (run as root); idempotent and quick when
# everything is already there. Called by build.sh, demo.sh and test.sh.
#   setup.sh          Debian packages, libjpeg-turbo and libsodium for both
#                     MinGW targets, the trixie root with Wine 10
#   setup.sh --cold   the same from nothing: everything the cache holds is
#                     built in a new, empty cache folder, which is removed
#                     afterwards (the Debian packages are the machine's own and
#                     stay). Every step prints its time. Run it before
#                     submitting a change to the set-up.
# Each cached artefact sits in a folder named by a hash of the files that make
# it, so a changed set-up builds afresh on its next run anyway.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/setup-lib.sh"

if [ "${1:-}" = --cold ]; then
  RIZER_CACHE=$(mktemp -d /var/tmp/rizer-cold.XXXXXX)
  export RIZER_CACHE RIZER_DEPS_LINK=0
  trap 'rm -rf "$RIZER_CACHE"' EXIT
  echo "setup --cold: building everything in the empty cache $RIZER_CACHE"
  start=$(date +%s)
  "$0"
  echo "setup --cold: everything built from nothing in $(($(date +%s) - start)) s; removing $RIZER_CACHE"
  exit 0
fi

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  googletest libgtest-dev libgmock-dev libbenchmark-dev libjpeg-dev libsodium-dev python3-nacl
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64 mingw-w64-tools
  wine wine64 xvfb xauth x11-utils x11-apps xdotool iproute2 imagemagick
  dpkg-dev nasm file procps zip unzip autoconf automake libtool
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done
install_packages() {
  # wine32 is left out on purpose: this kernel runs no 32-bit programs.
  retry apt-get update &&
    retry env DEBIAN_FRONTEND=noninteractive apt-get install -y "${missing[@]}"
}
if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  timed "Debian packages" install_packages
fi

# libjpeg and libsodium for both MinGW targets, from Debian's source packages.
"$here/build-libjpeg.sh"
"$here/build-libsodium.sh"

# The trixie root with Wine 10 (WoW64) for the wine10-x64 and wine10-x86 lanes.
"$here/setup-trixie.sh"
