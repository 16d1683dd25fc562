#!/usr/bin/env bash
# tests/cli/run-lan.sh HOST.exe MODULE.cvp [RIZER-CLI]
# rizer-cli against stand-in hosts on a LAN of three private namespaces
# (scripts/netns-lan): the native rizer-cli on side 1, a stand-in host with
# the module under Wine on sides 2 and 3 (each with its own Wine, in the
# lane RIZER_LANE names). A chat line, a GoSub and a box from the CLI reach
# both hosts; an acknowledged box is acknowledged by both, named by address,
# and shown once on each; `rizer-cli who` names both; the hosts' chat lines
# reach `rizer-cli listen`.
# Prints one line per check and then "N passed, M failed".
#   RIZER_CLI_LAN_KEEP=1 keeps the hosts' and the CLI's output for a look.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/lib.sh"
if [ $# -lt 2 ]; then
  echo "usage: $0 HOST.exe MODULE.cvp [RIZER-CLI]" >&2
  exit 2
fi
host=$(realpath "$1")
module=$(realpath "$2")
cli=$(realpath "${3:-$root/dist/linux/rizer-cli}")
for f in "$host" "$module" "$cli"; do
  [ -f "$f" ] || { tally_fail "cli lan: missing $f"; tally_line; exit 1; }
done
hosts=2

work=$(mktemp -d /tmp/rizer-cli-lan.XXXXXX)
if [ "${RIZER_CLI_LAN_KEEP:-}" = 1 ]; then echo "cli lan: output in $work"; else trap 'rm -rf "$work"' EXIT; fi

# What every host expects, in order: Speak is the CLI's cue, sent once its
# listener is ready, and each host then hears every host's line.
ready_lines=$(for _ in $(seq "$hosts"); do printf '<Kiosk>: ready\\r\\n'; done)
cat >"$work/host.cvs" <<CVS
Sub Refresh
Echo "Refresh ran here"
End
Sub Speak
riZERSendMessage "Kiosk" "ready"
End
riZEROpenPort "50150" "Chat"
Echo "port open"
WaitVar Chat "<Admin>: hello\\r\\n" 180000
ExpectBox "Warning" "Server stops" warning
ExpectBox "Information" "Acknowledge me" information
WaitVar Chat "<Admin>: hello\\r\\n$ready_lines" 60000
ExpectNoBox
riZERClosePort
CVS

export RIZER_CLI_LAN_WORK=$work RIZER_CLI_LAN_HOST=$host RIZER_CLI_LAN_MODULE=$module RIZER_CLI_LAN_CLI=$cli
side=("$root/tests/cli/lan-side.sh")
lan=("${side[@]}")
for _ in $(seq "$hosts"); do lan+=(-- "${side[@]}"); done
timeout 600 "$root/scripts/netns-lan" "${lan[@]}" >"$work/lan.log" 2>&1

passed=0 failed=0
has() { grep -qF -- "$2" "$work/$1" 2>/dev/null; }
lacks() { [ -f "$work/$1" ] && ! has "$1" "$2"; }
is() { [ "$(cat "$work/$1" 2>/dev/null)" = "$2" ]; }
for i in $(seq 2 $((hosts + 1))); do
  check "host 10.77.2.$i: every expectation met, memory balanced" is "host.$i.rc" 0
  check "host 10.77.2.$i: the GoSub ran" has "host.$i.log" "Refresh ran here"
done
addresses=$(for i in $(seq 2 $((hosts + 1))); do echo "10.77.2.$i"; done)
check "--reliable box: exit 0" is reliable.rc 0
check "--reliable box: both hosts named" [ "$(sort "$work/reliable.out" 2>/dev/null)" = "$addresses" ]
if "$cli" --help 2>&1 | grep -q '^  who '; then
  check "who: exit 0" is who.rc 0
  check "who: both hosts named" [ "$(sort "$work/who.out" 2>/dev/null)" = "$addresses" ]
fi
check "listen: exit 0" is listen.rc 0
check "listen: each host's chat line" [ "$(grep -c '^chat <Kiosk>: ready$' "$work/listen.out" 2>/dev/null)" = "$hosts" ]
if [ "$failed" != 0 ]; then
  for f in "$work"/host.*.log "$work"/*.err "$work/lan.log"; do
    [ -s "$f" ] && { echo "--- $(basename "$f")"; grep -vE '^(ok|PASS)' "$f" | tail -n 8; }
  done
fi
# What an administrator sees, for the record.
echo "rizer-cli --reliable box \"Acknowledge me\" Information:"
sed 's/^/  /' "$work/reliable.out" "$work/reliable.err" 2>/dev/null

# A closed group: both hosts with one riZER.key beside their executables.
# rizer-cli with --key reaches them and --reliable names them; without it,
# its chat line, GoSub and boxes reach neither and nobody acknowledges.
if ! "$cli" --help 2>&1 | grep -q -- '--key'; then
  echo "not run: rizer-cli has no --key (the closed-group checks)"
else
  keyed=$work/keyed
  mkdir -p "$keyed"
  printf '# riZER 2.0 group key of the CLI LAN test\r\n%s\r\n' \
    1b4f0e9851971998e732078544c96b36c3d01cedf7caa332359d6f1d83567014 >"$keyed/group.key"
  cat >"$keyed/host.cvs" <<CVS
Sub Refresh
Echo "Refresh ran here"
End
Sub Stranger
Echo "Stranger ran here"
End
riZEROpenPort "50150" "Chat"
Echo "port open"
WaitVar Chat "<Admin>: hello\\r\\n" 180000
ExpectBox "Warning" "Server stops" warning
ExpectBox "Information" "Acknowledge me" information
WaitVar Chat "<Admin>: hello\\r\\n<Admin>: after\\r\\n" 60000
ExpectNoBox
riZERClosePort
CVS
  RIZER_CLI_LAN_WORK=$keyed RIZER_CLI_LAN_KEY=$keyed/group.key \
    timeout 600 "$root/scripts/netns-lan" "${lan[@]}" >"$keyed/lan.log" 2>&1
  for i in $(seq 2 $((hosts + 1))); do
    check "key: host 10.77.2.$i: every expectation met, memory balanced" is "keyed/host.$i.rc" 0
    check "key: host 10.77.2.$i: the keyed GoSub ran" has "keyed/host.$i.log" "Refresh ran here"
    check "key: host 10.77.2.$i: the GoSub without the key did not" lacks "keyed/host.$i.log" "Stranger ran here"
  done
  check "key: --key --reliable box: exit 0" is keyed/reliable.rc 0
  check "key: --key --reliable box: both hosts named" [ "$(sort "$keyed/reliable.out" 2>/dev/null)" = "$addresses" ]
  check "key: --reliable box without --key: exit 1" is keyed/plain-reliable.rc 1
  check "key: --reliable box without --key: nobody named" [ ! -s "$keyed/plain-reliable.out" ]
  if "$cli" --help 2>&1 | grep -q '^  who '; then
    check "key: --key who: both hosts named" [ "$(sort "$keyed/who.out" 2>/dev/null)" = "$addresses" ]
    check "key: who without --key: exit 1, nobody named" [ "$(cat "$keyed/plain-who.rc" 2>/dev/null)" = 1 -a ! -s "$keyed/plain-who.out" ]
  fi
  if [ "$failed" != 0 ]; then
    for f in "$keyed"/host.*.log "$keyed"/*.err "$keyed/lan.log"; do
      [ -s "$f" ] && { echo "--- keyed/$(basename "$f")"; grep -vE '^(ok|PASS)' "$f" | tail -n 8; }
    done
  fi
fi
tally_line
