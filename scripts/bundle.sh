#!/usr/bin/env bash
# bundle.sh [OUT.zip]
# The release bundle users download, made from what build.sh laid out in
# dist/ (default name dist/riZER_2-VERSION.zip, VERSION from project() in the
# top CMakeLists.txt):
#   README.txt      docs/README.txt with CR LF line ends
#   riZER.loc.en riZER.loc.ru
#   x64/riZER_2.cvp x64/rizer-cli.exe x86/riZER_2.cvp x86/rizer-cli.exe
# Reproducible: the entries always in this order, each dated at the time of
# the commit (UTC), mode 644, no directory entries and no extra fields, so
# two builds of one commit give the same bytes.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
version=$(cat build/x64/rizer-version.txt)
out=$(realpath -m "${1:-dist/riZER_2-$version.zip}")
entries=(README.txt riZER.loc.en riZER.loc.ru x64/riZER_2.cvp x64/rizer-cli.exe x86/riZER_2.cvp x86/rizer-cli.exe)

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/files/x64" "$stage/files/x86"
sed 's/\r*$/\r/' docs/README.txt >"$stage/files/README.txt"
for entry in "${entries[@]:1}"; do cp "dist/$entry" "$stage/files/$entry"; done

# The commit's time; outside a git checkout the earliest time a zip holds.
export TZ=UTC
stamp=$(git log -1 --format=%cd --date=format-local:%Y%m%d%H%M.%S 2>/dev/null) || stamp=198001010000.00
for entry in "${entries[@]}"; do
  chmod 644 "$stage/files/$entry"
  touch -t "$stamp" "$stage/files/$entry"
done
(cd "$stage/files" && zip -X -D -q -9 "$stage/bundle.zip" "${entries[@]}")
mkdir -p "$(dirname "$out")"
mv "$stage/bundle.zip" "$out"
echo "bundle: $(realpath --relative-to="$root" "$out")"
