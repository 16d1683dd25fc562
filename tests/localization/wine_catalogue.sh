#!/usr/bin/env bash
# The catalogue as the host receives it, and the riZER.loc header check,
# through the stand-in host under Wine. Each case copies the host and the
# module into a fresh folder, with or without a riZER.loc beside the host.
#
#   tests/localization/wine_catalogue.sh HOST.exe riZER_2.cvp
#
# Runs inside a private namespace with Wine already started (wine-env.sh).
# Exit status: 0 when every check passed.
set -u
if [ $# -ne 2 ]; then
  echo "usage: $0 HOST.exe riZER_2.cvp" >&2
  exit 2
fi
host_exe=$(readlink -f "$1")
module=$(readlink -f "$2")
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/lib.sh"
samples="$root/samples"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

# ---- what the host must print ----------------------------------------------
# Hints as the host prints them: Windows-1251 bytes as \xHH.
ru_open='"\xCE\xF2\xEA\xF0\xFB\xF2\xFC \xEF\xEE\xF0\xF2 UDP."'
ru_close='"\xC7\xE0\xEA\xF0\xFB\xF2\xFC UDP \xEF\xEE\xF0\xF2."'
ru_send='"\xCE\xF2\xEE\xF1\xEB\xE0\xF2\xFC \xF1\xEE\xEE\xE1\xF9\xE5\xED\xE8\xE5 \xEF\xEE UDP."'
ru_gosub='"\xC2\xFB\xEF\xEE\xEB\xED\xE8\xF2\xFC \xEF\xEE\xE4\xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xF3."'
ru_system='"\xCF\xEE\xF1\xEB\xE0\xF2\xFC \xF1\xE8\xF1\xF2\xE5\xEC\xED\xEE\xE5 \xF1\xEE\xEE\xE1\xF9\xE5\xED\xE8\xE5 \xF1 \xE2\xFB\xE1\xEE\xF0\xEE\xEC \xEE\xEA\xED\xE0 \xF1\xEE\xEE\xE1\xF9\xE5\xED\xE8\xFF."'
ru_clear='"\xCE\xF7\xE8\xF1\xF2\xE8\xF2\xFC \xF1\xEF\xE8\xF1\xEE\xEA \xEF\xEE\xF1\xF2\xF3\xEF\xE8\xE2\xF8\xE8\xF5 \xF1\xEE\xEE\xE1\xF9\xE5\xED\xE8\xE9."'
# The Russian template holds the dialogs' information texts for 003*, 006*, 008*.
ru_open_info='"\xCE\xF2\xEA\xF0\xFB\xF2\xFC \xEF\xEE\xF0\xF2 UDP. \xCD\xEE\xEC\xE5\xF0 \xEF\xEE\xF0\xF2\xE0 \xEE\xF2 49152  \xE4\xEE 65535 (default 50150)."'
ru_send_info='"\xCE\xF2\xEE\xF1\xEB\xE0\xF2\xFC \xF1\xEE\xEE\xE1\xF9\xE5\xED\xE8\xE5 \xEF\xEE UDP. ( \xD8\xE8\xF0\xEE\xEA\xEE\xE2\xE5\xF9\xE0\xF2\xE5\xEB\xFC\xED\xE0\xFF \xF0\xE0\xF1\xF1\xFB\xEB\xEA\xE0 )."'
ru_gosub_info='"\xC2\xFB\xEF\xEE\xEB\xED\xE8\xF2\xFC \xEF\xEE\xE4\xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xF3. (\xCF\xEE\xE4\xEF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xFB \xE2\xFB\xEF\xEE\xEB\xED\xFF\xFE\xF2\xF1\xFF \xED\xE0 \xE2\xF1\xE5\xF5 \xEA\xEB\xE8\xE5\xED\xF2\xE0\xF5 \xE2 \xF2\xEE\xEC \xF7\xE8\xF1\xEB\xE5 \xE8 \xED\xE0 \xF2\xEE\xEC, \xF1 \xEA\xEE\xF2\xEE\xF0\xEE\xE3\xEE \xEE\xF2\xF1\xFB\xEB\xE0\xE5\xF2\xF1\xFF \xF1\xEE\xEE\xE1\xF9\xE5\xED\xE8\xE5)."'

entry() { printf 'AddAction %s "%s" hint=%s kinds=%s last=%s count=%s\n' "$@"; }

# catalogue OPEN CLOSE SEND GOSUB SYSTEM CLEAR: the seven lines, hints quoted.
catalogue() {
  entry 0 UDP '""' 1 0 0
  entry 1 riZEROpenPort "$1" 1,6 1 2
  entry 2 riZERClosePort "$2" 1 0 0
  entry 3 riZERSendMessage "$3" 1,1 1 2
  entry 4 riZERGoSub "$4" 1 0 1
  entry 5 riZERSystemMessage "$5" 1,1 1 2
  entry 6 riZERMessageClear "$6" 1 0 0
}

russian() { catalogue "$ru_open" "$ru_close" "$ru_send" "$ru_gosub" "$ru_system" "$ru_clear"; }

header() {
  printf '%s\r\n' \
    '**  DO NOT CHANGE THIS TEXT ! ! !' \
    '**  The localization file for the riZER v2.0  plugin.' \
    '**  To use the file - put the file with the translation of the lines in the root folder of the program Corvane (Paxtrel).' \
    '**  Author: riZER developers' \
    '**  Web: http://www.example.org/rizer' \
    '**  E-mail: rizer@example.org'
}

box_command='ExpectBox "riZER 2.0" "The riZER.loc file is invalidly modified."'

# ---- running the host --------------------------------------------------------
# run_case NAME LOCFILE|- SCRIPT [HOSTDIR]: output in $work/NAME/out, exit code
# in .../rc. The host and riZER.loc go into HOSTDIR (a folder below the
# case's own, which holds the module and the script; default: the same).
run_case() {
  local dir="$work/$1" hostdir="${4:-.}"
  mkdir -p "$dir/$hostdir"
  cp "$host_exe" "$dir/$hostdir/host.exe"
  cp "$module" "$dir/riZER_2.cvp"
  [ "$2" = - ] || cp "$2" "$dir/$hostdir/riZER.loc"
  printf '%s\n' "$3" > "$dir/script.txt"
  # Into a file, not a pipe: Wine's helper processes inherit the output and
  # would hold a pipe open.
  (cd "$dir" && timeout 120 "$root/scripts/wine-run" "$hostdir/host.exe" riZER_2.cvp script.txt) > "$dir/raw" 2>&1
  echo $? > "$dir/rc"
  tr -d '\r' < "$dir/raw" > "$dir/out"
}

# registered NAME EXPECTED: the AddAction lines of the run equal EXPECTED.
registered() {
  grep '^AddAction ' "$work/$1/out" > "$work/$1/actual"
  printf '%s\n' "$2" > "$work/$1/expected"
  diff "$work/$1/expected" "$work/$1/actual" >&2
}
boxes() { [ "$(grep -c '^Box ' "$work/$1/out")" -eq "$2" ]; }
clean_exit() { [ "$(cat "$work/$1/rc")" -eq 0 ] || { cat "$work/$1/out" >&2; false; }; }

# ---- cases -----------------------------------------------------------------
# No file: Russian defaults, no box; a second cvRegisterPlugIn registers all again.
run_case nofile - "ExpectNoBox
Register
ExpectNoBox"
check "no file: Russian catalogue, registered twice" registered nofile "$(russian; russian)"
check "no file: no box, clean exit" eval 'boxes nofile 0 && clean_exit nofile'

# English sample.
run_case english "$samples/riZER.loc.en" "ExpectNoBox"
check "English sample: every hint from the file, group entry untouched" registered english "$(catalogue \
  '"Open the UDP port. Port number from 49152 to 65535 (default 50150)."' \
  '"Close the UDP port."' \
  '"Send a message over UDP. ( Broadcast )."' \
  '"Run a subroutine. (Subroutines run on every client, including the one that sends the message)."' \
  '"Send a system message with a choice of message box."' \
  '"Clear the list of received messages."')"
check "English sample: header passes, clean exit" eval 'boxes english 0 && clean_exit english'

# Russian template.
run_case russian "$samples/riZER.loc.ru" "ExpectNoBox"
check "Russian template: hints from the file" registered russian "$(catalogue \
  "$ru_open_info" "$ru_close" "$ru_send_info" "$ru_gosub_info" "$ru_system" "$ru_clear")"
check "Russian template: header passes, clean exit" eval 'boxes russian 0 && clean_exit russian'

# One key line changes one hint.
{ header; printf '011*Close it\r\n'; } > "$work/close.loc"
run_case close "$work/close.loc" "ExpectNoBox"
check "011* changes only the hint of riZERClosePort" registered close "$(catalogue \
  "$ru_open" '"Close it"' "$ru_send" "$ru_gosub" "$ru_system" "$ru_clear")"

# Modified header (two lines differ): one box per cvRegisterPlugIn, and the
# registration is complete with the file's texts.
{ header | sed -e '1s/!\r$/! \r/' -e '5s/example/elsewhere/'; printf '011*Close it\r\n'; } > "$work/modified.loc"
run_case modified "$work/modified.loc" "$box_command
ExpectNoBox
Register
$box_command
ExpectNoBox"
check "modified header: one box per registration" boxes modified 2
check "modified header: box caption and text as expected, clean exit" clean_exit modified
check "modified header: registration complete, file still used" registered modified "$(
  catalogue "$ru_open" '"Close it"' "$ru_send" "$ru_gosub" "$ru_system" "$ru_clear"
  catalogue "$ru_open" '"Close it"' "$ru_send" "$ru_gosub" "$ru_system" "$ru_clear")"

# The file is found in any folder: one whose name lies outside every ANSI
# code page, and one whose full path is longer than MAX_PATH (260).
close_catalogue=$(catalogue "$ru_open" '"Close it"' "$ru_send" "$ru_gosub" "$ru_system" "$ru_clear")
run_case 'папка Ωμέγα 日本' "$work/close.loc" "ExpectNoBox"
check "folder name outside the ANSI code page: file found" registered 'папка Ωμέγα 日本' "$close_catalogue"
long=$(printf 'a-folder-name-of-forty-characters-%04d/' 1 2 3 4 5 6 7)
run_case longpath "$work/close.loc" "ExpectNoBox" "$long"
if grep -q 'ShellExecuteEx failed' "$work/longpath/out"; then
  # Wine 10's launcher in WoW64 mode cannot start a 32-bit program from such a
  # folder at all (the x64 lanes run this case): nothing of ours ran.
  echo "not run in lane $(lane_default): Wine cannot start a program whose path is longer than MAX_PATH"
else
  check "path longer than MAX_PATH (${#work} + ${#long} characters): file found" registered longpath "$close_catalogue"
  check "long path: clean exit" clean_exit longpath
fi

tally_line
