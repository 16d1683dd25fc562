#!/usr/bin/env bash
# check-pe.sh MODULE.cvp...
# The module's face in its PE tables: exactly the eight entry points, named
# and numbered 1..8 in order, an export directory naming riZER_2.cvp, a
# version resource, and imports only from DLLs that Windows itself ships.
# A 32-bit module's exports also return as stdcall with their argument bytes
# (check-stdcall.py).
set -u
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../../scripts/lib.sh"
expected_exports="1 cvAbout
2 cvMessage
3 cvRegisterInterfaceAccess
4 cvRegisterScriptProcessor
5 cvRegisterPlugIn
6 cvInitPlugIn
7 cvExecAction
8 cvEditAction"
# DLLs that come with Windows; anything else (libgcc_s, libstdc++, libwinpthread...) fails.
allowed='^(kernel32|user32|gdi32|ws2_32|wsock32|iphlpapi|shell32|comctl32|uxtheme|msvcrt|advapi32|ole32|oleaut32|msimg32|comdlg32|shlwapi|version|ntdll|api-ms-win-crt-[a-z0-9-]+|ucrtbase)\.dll$'

passed=0 failed=0

exports_of() {  # ordinal and name of each export, by ordinal
  x86_64-w64-mingw32-objdump -p "$1" | awk '
    /^\[Ordinal\/Name Pointer\] Table/ { t = 1; next }
    t && /^[ \t]*\[ *[0-9]+\]/ { gsub(/[\[\]]/, " "); print $1 + 1, $2; next }
    t && NF == 0 { t = 0 }' | sort -n
}
has_exports() { [ "$(exports_of "$1")" = "$expected_exports" ]; }
has_dll_name() { x86_64-w64-mingw32-objdump -p "$1" | grep -qE '^Name[[:space:]]+[0-9a-f]+ riZER_2\.cvp$'; }
imports_ok() {
  local bad
  bad=$(x86_64-w64-mingw32-objdump -p "$1" | awk '/DLL Name:/ {print tolower($3)}' | grep -vE "$allowed")
  [ -z "$bad" ] || { echo "     not a Windows DLL: $bad"; return 1; }
}
has_version() { LC_ALL=C grep -qa 'V.S._.V.E.R.S.I.O.N._.I.N.F.O' "$1"; }
pops_arguments() {
  local out rc
  out=$(/usr/bin/python3 "$here/check-stdcall.py" "$1" 2>&1); rc=$?
  [ -z "$out" ] || sed 's/^/     /' <<<"$out"
  [ "$rc" = 0 ]
}
is_arch() { x86_64-w64-mingw32-objdump -f "$1" | grep -q "file format $2"; }

for module in "$@"; do
  case "$module" in
    *x86/*) arch=pei-i386 ;;
    *) arch=pei-x86-64 ;;
  esac
  check "$module: $arch" is_arch "$module" "$arch"
  check "$module: eight exports, ordinals 1..8" has_exports "$module"
  check "$module: export directory names riZER_2.cvp" has_dll_name "$module"
  check "$module: imports only Windows DLLs" imports_ok "$module"
  check "$module: version resource" has_version "$module"
  if [ "$arch" = pei-i386 ]; then
    check "$module: exports pop their argument bytes (stdcall)" pops_arguments "$module"
  fi
done
tally_line
