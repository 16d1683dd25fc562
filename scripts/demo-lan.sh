#!/usr/bin/env bash
# demo-lan.sh [HOST.exe MODULE.cvp]
# Two copies on a LAN of their own (two namespaces joined by a veth pair,
# scripts/netns-pair), each a stand-in host under Wine with its own
# wineserver: Ann and Bob exchange chat lines, Ann runs a subroutine on both
# copies, Bob sends an information message (closed automatically by the
# stand-in host), and each prints its chat variable.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
dist=dist/x64
[ -f "$dist/riZER_2.cvp" ] || dist=build/x64
host=$(realpath "${1:-$dist/rizer-host.exe}")
[ -f "$host" ] || host=$(realpath "$root/build/x64/host/rizer-host.exe")
module=$(realpath "${2:-$dist/riZER_2.cvp}")
[ -f "$module" ] || module=$(realpath "$root/build/x64/src/plugin/riZER_2.cvp")

work=$(mktemp -d /tmp/rizer-demo-lan.XXXXXX)
trap 'rm -rf "$work"' EXIT
cat >"$work/a.cvs" <<'CVS'
Sub Greet
Echo "Greet ran on this copy"
End
riZEROpenPort "50150" "Chat"
Sleep 4000
riZERSendMessage "Ann" "Hi Bob, are you there?"
Sleep 6000
riZERGoSub "Greet"
Sleep 6000
Print Chat
riZERClosePort
CVS
cat >"$work/b.cvs" <<'CVS'
Sub Greet
Echo "Greet ran on this copy"
End
riZEROpenPort "50150" "Chat"
Sleep 7000
riZERSendMessage "Bob" "Hello Ann, loud and clear."
Sleep 6000
riZERSystemMessage "Lunch in five minutes" "Information"
Sleep 3000
Print Chat
riZERClosePort
CVS

side='
  set -uo pipefail
  cd "$0"
  source scripts/wine-env.sh
  wine_start "lan-$RIZER_PAIR_SIDE" >/dev/null || exit 1
  other=$([ "$RIZER_PAIR_SIDE" = a ] && echo b || echo a)
  touch "$RIZER_PAIR_DIR/$RIZER_PAIR_SIDE"
  for _ in $(seq 600); do [ -e "$RIZER_PAIR_DIR/$other" ] && break; sleep 0.05; done
  scripts/wine-run "$1" "$2" "$3/$RIZER_PAIR_SIDE.cvs" >"$3/$RIZER_PAIR_SIDE.log" 2>&1
  rc=$?
  wine_stop
  exit $rc'
echo "Ann is 10.77.1.1, Bob is 10.77.1.2; both open port 50150 ..."
rc=0
scripts/netns-pair bash -c "$side" "$root" "$host" "$module" "$work" -- \
  bash -c "$side" "$root" "$host" "$module" "$work" || rc=$?
for s in a b; do
  who=$([ "$s" = a ] && echo "Ann" || echo "Bob")
  grep -E '^(SetVariable|Script|Box|Var|Greet|FAIL)' "$work/$s.log" | sed "s/^/$who | /" || true
done
exit $rc
