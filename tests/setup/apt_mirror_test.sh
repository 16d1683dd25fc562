#!/usr/bin/env bash
# scripts/apt-mirror against made-up apt configurations: which entry names the
# release's archive, in either source format, and a clear failure when none.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/lib.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0

mirror_of() {  # name -> prints the result of apt-mirror on $work/name, or "exit N"
  APT_ETC="$work/$1" RIZER_CODENAME=bookworm "$root/scripts/apt-mirror" 2>/dev/null || echo "exit $?"
}
expect() {  # name, expected
  local got; got=$(mirror_of "$1")
  if [ "$got" = "$2" ]; then tally_pass; else tally_fail "FAIL $1: got '$got', want '$2'"; fi
}
conf() {  # name, file, text
  mkdir -p "$work/$1/sources.list.d"
  printf '%s\n' "$3" >"$work/$1/$2"
}

# One-line form: options in brackets, deb-src and other suites passed over,
# a trailing slash dropped.
conf oneline sources.list '# deb http://old.example/debian bookworm main
deb-src http://src.example/debian bookworm main
deb http://security.example/debian-security bookworm-security main
deb [arch=amd64 signed-by=/k.gpg] http://mirror.example/debian/ bookworm main contrib'
expect oneline http://mirror.example/debian

# deb822 form: the security stanza first, a disabled stanza, the archive in a
# second file with several suites and URIs (the first URI wins).
conf deb822 sources.list.d/a.sources 'Types: deb
URIs: http://security.example/debian-security
Suites: bookworm-security
Components: main

Types: deb
Enabled: no
URIs: http://disabled.example/debian
Suites: bookworm'
conf deb822 sources.list.d/b.sources 'Types: deb deb-src
URIs: http://first.example/debian http://second.example/debian
Suites: bookworm bookworm-updates
Components: main'
expect deb822 http://first.example/debian

# A stanza without a blank line before the end of its file is still read.
conf lastline sources.list.d/only.sources 'Types: deb
URIs: http://only.example/debian
Suites: bookworm'
expect lastline http://only.example/debian

# Nothing for the release (only updates and another vendor): a failure, no guess.
conf none sources.list 'deb http://mirror.example/debian bookworm-updates main'
conf none sources.list.d/other.sources 'Types: deb
URIs: http://vendor.example/apt
Suites: nodistro'
expect none "exit 1"
mkdir -p "$work/empty"
expect empty "exit 1"

tally_line
