#!/usr/bin/env bash
# scripts/format.sh [--check] [FILE...]
# Applies the house style (.clang-format at the root; src/ui, src/controls,
# their tests and the gradient benchmarks indent by two, see the .clang-format
# files there) to the C++ sources under src/, host/, tools/, tests/ and
# bench/, or to the files named.
# --check changes nothing and lists the files that are not in the style
# (exit status 1 when there is one).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
check=0
if [ "${1:-}" = --check ]; then check=1; shift; fi
command -v clang-format >/dev/null || { echo "format: clang-format is not installed" >&2; exit 2; }
if [ $# -gt 0 ]; then
  files=("$@")
else
  mapfile -t files < <(git ls-files -- 'src/*' 'host/*' 'tools/*' 'tests/*' 'bench/*' |
                         grep -E '\.(c|cc|cpp|h|hpp)$')
fi
((${#files[@]})) || exit 0
if [ "$check" = 1 ]; then
  bad=0
  for f in "${files[@]}"; do
    if ! clang-format --dry-run -Werror "$f" >/dev/null 2>&1; then echo "$f"; bad=1; fi
  done
  exit "$bad"
fi
clang-format -i "${files[@]}"
