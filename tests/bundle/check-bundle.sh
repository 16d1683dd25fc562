#!/usr/bin/env bash
# check-bundle.sh DIST
# The release bundle in DIST (riZER_2-VERSION.zip): its listing, in order;
# every program in it byte-identical to the one in DIST and without a symbol
# table (the copy in DIST/debug keeps one); the version of its name in the
# modules' version resource; README.txt in CR LF; and a second bundle made
# from the same files byte-identical to the first.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/lib.sh"
dist=$(realpath "${1:-$root/dist}")
passed=0 failed=0

zips=("$dist"/riZER_2-*.zip)
if [ ${#zips[@]} != 1 ] || [ ! -f "${zips[0]}" ]; then
  tally_fail "FAIL one bundle in $dist (found: ${zips[*]})"; tally_line; exit 1
fi
zip=${zips[0]}
version=$(basename "$zip" .zip); version=${version#riZER_2-}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

expected="README.txt
riZER.loc.en
riZER.loc.ru
x64/riZER_2.cvp
x64/rizer-cli.exe
x86/riZER_2.cvp
x86/rizer-cli.exe"
check "listing in order" test "$(unzip -Z1 "$zip")" = "$expected"
check "unpacks" unzip -q "$zip" -d "$work/x"

same_as_dist() { cmp -s "$work/x/$1" "$dist/$1"; }
stripped() {  # entry: no symbol table in the shipped file, one in the debug copy
  local nm=x86_64-w64-mingw32-nm
  [ "${1%%/*}" = x86 ] && nm=i686-w64-mingw32-nm
  "$nm" "$work/x/$1" 2>&1 | grep -q 'no symbols' && [ -n "$("$nm" "$dist/debug/$1" 2>/dev/null | head -n1)" ]
}
no_link_time() { x86_64-w64-mingw32-objdump -p "$work/x/$1" | grep -qE '^Time/Date[[:space:]]+Thu Jan  1 00:00:00 1970'; }
for entry in riZER.loc.en riZER.loc.ru x64/riZER_2.cvp x64/rizer-cli.exe x86/riZER_2.cvp x86/rizer-cli.exe; do
  check "$entry is the one in dist/" same_as_dist "$entry"
  case "$entry" in
    *.cvp|*.exe)
      check "$entry has no symbol table" stripped "$entry"
      check "$entry has no link time" no_link_time "$entry"
      ;;
  esac
done

# The version resource holds the version as UTF-16 text: each character
# followed by a zero byte.
utf16=$(for ((i = 0; i < ${#version}; i++)); do c=${version:i:1}; [ "$c" = . ] && printf '\\..' || printf '%s.' "$c"; done)
for arch in x64 x86; do
  check "$arch module says version $version" env LC_ALL=C grep -qa "F.i.l.e.V.e.r.s.i.o.n.*$utf16" "$work/x/$arch/riZER_2.cvp"
done
crlf() { ! grep -q $'[^\r]$' "$work/x/README.txt" && ! grep -q '^$' "$work/x/README.txt"; }
check "README.txt has CR LF line ends" crlf
check "README.txt is docs/README.txt" cmp -s <(tr -d '\r' <"$work/x/README.txt") "$root/docs/README.txt"
check "a second bundle gives the same bytes" \
  bash -c '"$1/scripts/bundle.sh" "$2" >/dev/null && cmp -s "$2" "$3"' _ "$root" "$work/again.zip" "$zip"

tally_line
