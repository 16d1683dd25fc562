#!/usr/bin/env bash
# tests/cli/wine_cli.sh HOST.exe MODULE.cvp
# The Windows rizer-cli.exe of the same build as HOST.exe (its
# tools/cli/rizer-cli.exe) under Wine, against the native rizer-cli on the
# loopback: each one's sends reach the other's listen, and each acknowledges
# the other's acknowledged box. Runs inside a private namespace with Wine
# already started (wine-env.sh); prints "N passed, M failed".
set -u
if [ $# -ne 2 ]; then
  echo "usage: $0 HOST.exe MODULE.cvp" >&2
  exit 2
fi
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/lib.sh"
win_cli=$(realpath -m "$(dirname "$1")/../tools/cli/rizer-cli.exe")
native_cli=${RIZER_NATIVE_CLI:-$root/dist/linux/rizer-cli}
[ -x "$native_cli" ] || native_cli=$root/build/native/tools/cli/rizer-cli
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0 failed=0
win() { "$root/scripts/wine-run" "$win_cli" "$@"; }
for f in "$win_cli" "$native_cli"; do
  [ -f "$f" ] || { tally_fail "FAIL missing $f"; tally_line; exit 1; }
done

win --help >"$work/help" 2>&1
check "--help: one screen" [ "$(wc -l <"$work/help")" -le 24 -a "$(grep -c 'listen' "$work/help")" -ge 1 ]
win box Stop warning >/dev/null 2>"$work/bad"
check "an unknown kind: exit 2, named" [ $? = 2 -a -n "$(grep "unknown kind 'warning'" "$work/bad")" ]

# Windows listens, Linux sends.
win listen --port 50190 --count 3 --seconds 120 --verbose >"$work/win.out" 2>"$work/win.err" &
listener=$!
check "Windows listen binds" wait_for 20 "$work/win.err" "listening on port 50190"
"$native_cli" --to 127.0.0.1 --port 50190 chat Ann hi
"$native_cli" --to 127.0.0.1 --port 50190 gosub Refresh
"$native_cli" --reliable --wait 1000 --to 127.0.0.1 --port 50190 box "Disk low" Warning >"$work/native.ack" 2>/dev/null
check "Linux --reliable: acknowledged by the Windows listener" [ $? = 0 -a "$(cat "$work/native.ack")" = 127.0.0.1 ]
wait "$listener"
check "Windows listen: exit 0" [ $? = 0 ]
check "Windows listen: one line per message" [ "$(cat "$work/win.out")" = "chat <Ann>: hi
gosub Refresh
box Warning Disk low" ]

# Linux listens, Windows sends.
"$native_cli" listen --port 50191 --count 2 --seconds 120 --verbose >"$work/native.out" 2>"$work/native.err" &
listener=$!
wait_for 20 "$work/native.err" "listening on port 50191"
win --to 127.0.0.1 --port 50191 chat Bob yo
win --reliable --wait 1000 --to 127.0.0.1 --port 50191 box "Server stops" Error >"$work/win.ack" 2>/dev/null
check "Windows --reliable: acknowledged by the Linux listener" [ $? = 0 -a "$(cat "$work/win.ack")" = 127.0.0.1 ]
wait "$listener"
check "Linux listen: what Windows sent" [ "$(cat "$work/native.out")" = "chat <Bob>: yo
box Error Server stops" ]

# A closed group: the key made by the Windows keygen, used by both.
win keygen "$work/group.key" >"$work/keygen.out" 2>"$work/keygen.err"
check "Windows keygen: a key file, nothing on stdout" [ $? = 0 -a ! -s "$work/keygen.out" -a -s "$work/group.key" ]
win keygen "$work/group.key" >/dev/null 2>"$work/keygen.again"
check "Windows keygen: an existing file refused with exit 2" [ $? = 2 -a -n "$(grep exists "$work/keygen.again")" ]
# Wine keeps no access list of a file but turns the one given at creation
# into the Unix mode: one for the owner alone leaves others no bits.
check "Windows keygen: the file's access list leaves others out (its Unix mode)" \
  [ "$(($(stat -c '%a' "$work/group.key") % 10))" = 0 ]
# A path of more than MAX_PATH characters, read as the plug-in reads its own.
long=$work/$(printf 'f%.0s' {1..120})/$(printf 'g%.0s' {1..120})
mkdir -p "$long" && cp "$work/group.key" "$long/group.key"
win --key "$long/group.key" --to 127.0.0.1 --port 50193 chat Ann long >/dev/null 2>"$work/long.err"
check "key: a key file path over MAX_PATH characters" [ $? = 0 ]
win --key "$work/group.key" listen --port 50192 --count 1 --seconds 120 --verbose >"$work/keyed.out" 2>"$work/keyed.err" &
listener=$!
wait_for 20 "$work/keyed.err" "listening on port 50192"
"$native_cli" --to 127.0.0.1 --port 50192 chat Eve plain
"$native_cli" --key "$work/group.key" --reliable --wait 1000 --to 127.0.0.1 --port 50192 box "Sealed" Warning \
  >"$work/keyed.ack" 2>/dev/null
check "key: Linux --key --reliable acknowledged sealed by the Windows --key listener" \
  [ $? = 0 -a "$(cat "$work/keyed.ack")" = 127.0.0.1 ]
wait "$listener"
check "key: Windows listen heard the sealed box only and named the unkeyed chat" \
  [ "$(cat "$work/keyed.out")" = "box Warning Sealed" -a -n "$(grep ': unkeyed' "$work/keyed.err")" ]

# Operators: the pair made by the Windows keygen --operator, its line added
# to the group's key file; the secret read through a path over MAX_PATH.
win keygen --operator "$work/teacher.op" >"$work/op.line" 2>/dev/null
check "Windows keygen --operator: the operator line on stdout" \
  [ $? = 0 -a -n "$(grep -xE 'operator [0-9a-f]{64}' "$work/op.line")" ]
cat "$work/group.key" "$work/op.line" >"$work/ops.key"
cp "$work/teacher.op" "$long/teacher.op"
"$native_cli" --key "$work/ops.key" listen --port 50195 --count 1 --seconds 120 --verbose >"$work/ops.out" \
  2>"$work/ops.err" &
listener=$!
wait_for 20 "$work/ops.err" "listening on port 50195"
win --key "$work/ops.key" --to 127.0.0.1 --port 50195 gosub Unsigned
win --key "$work/ops.key" --operator "$long/teacher.op" --to 127.0.0.1 --port 50195 gosub Signed
wait "$listener"
check "operators: the Windows operator's gosub taken, named by its key, the unsigned one dropped" \
  [ "$(cat "$work/ops.out")" = "gosub Signed" -a -n "$(grep ': unsigned' "$work/ops.err")" \
    -a -n "$(grep -F "(signed by $(cut -c10-17 "$work/op.line")): gosub Signed" "$work/ops.err")" ]
win --key "$work/group.key" --operator "$work/teacher.op" --to 127.0.0.1 --port 50195 gosub X 2>"$work/unlisted.err"
check "operators: an operator the key file does not list: exit 2, named" \
  [ $? = 2 -a -n "$(grep 'is not listed in' "$work/unlisted.err")" ]

# who and adapters: the Linux listener answers who; adapters names the
# namespace's loopback and the adapter 255.255.255.255 leaves through.
"$native_cli" listen --port 50194 --seconds 120 --verbose >/dev/null 2>"$work/who-listener.err" &
listener=$!
wait_for 20 "$work/who-listener.err" "listening on port 50194"
win who --wait 1000 --port 50194 >"$work/who.out" 2>"$work/who.err"
check "Windows who: the Linux listener answered" [ $? = 0 -a -n "$(grep -x '10\.77\.0\.1\|127\.0\.0\.1' "$work/who.out")" ]
kill "$listener" 2>/dev/null; wait "$listener" 2>/dev/null
win adapters >"$work/adapters.out" 2>&1
check "Windows adapters: exit 0, the loopback and the route of 255.255.255.255" \
  [ $? = 0 -a -n "$(grep '127\.0\.0\.1/8 .*no broadcast.* loopback' "$work/adapters.out")" \
    -a -n "$(grep '^255\.255\.255\.255 leaves through ' "$work/adapters.out")" ]

tally_line
