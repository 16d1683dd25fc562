#!/usr/bin/env bash
# demo-lan.sh
# Two copies on a LAN of their own (two namespaces joined by a veth pair,
# scripts/netns-pair), each a stand-in host under Wine with its own
# wineserver: Ann on the x86 build under wine10-x86, Bob on the x64 build
# under wine10-x64. They exchange chat lines, Ann runs a subroutine on both
# copies, Bob sends an information message (closed automatically by the
# stand-in host), and each prints its chat variable. Where the Wine 10 lanes
# are not set up, both copies run the x64 build under wine8-x64 (said so).
# The two scripts wait for each other through signal files, not fixed sleeps.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

# Inside the repository: a lane with a root file system of its own sees it.
mkdir -p build/e2e
work=$(mktemp -d "$root/build/e2e/demo-lan.XXXXXX")
[ "${RIZER_DEMO_KEEP:-}" = 1 ] || trap 'rm -rf "$work"' EXIT
cat >"$work/a.cvs" <<'CVS'
Sub Greet
Echo "Greet ran on this copy"
Signal ann-greeted
End
riZEROpenPort "50150" "Chat"
Signal ann-open
Await bob-open 30000
riZERSendMessage "Ann" "Hi Bob, are you there?"
WaitVar Chat "<Ann>: Hi Bob, are you there?\r\n<Bob>: Hello Ann, loud and clear.\r\n" 30000
riZERGoSub "Greet"
Await ann-greeted 30000
Await bob-done 30000
ExpectBox "Information" "Lunch in five minutes"
Print Chat
riZERClosePort
CVS
cat >"$work/b.cvs" <<'CVS'
Sub Greet
Echo "Greet ran on this copy"
Signal bob-greeted
End
riZEROpenPort "50150" "Chat"
Signal bob-open
Await ann-open 30000
WaitVar Chat "<Ann>: Hi Bob, are you there?\r\n" 30000
riZERSendMessage "Bob" "Hello Ann, loud and clear."
Await bob-greeted 30000
riZERSystemMessage "Lunch in five minutes" "Information"
ExpectBox "Information" "Lunch in five minutes"
Signal bob-done
Print Chat
riZERClosePort
CVS

# Each side: its wished-for lane when both sides have theirs, else wine8-x64.
side='
  set -uo pipefail
  cd "$0"
  work=$1
  me=$RIZER_PAIR_SIDE other=$([ "$RIZER_PAIR_SIDE" = a ] && echo b || echo a)
  who=$([ "$me" = a ] && echo Ann || echo Bob)
  export RIZER_LANE=$([ "$me" = a ] && echo wine10-x86 || echo wine10-x64)
  source scripts/wine-env.sh
  source scripts/lane-start.sh
  if why=$(rizer_lane_why_not "$RIZER_LANE"); then
    echo "note: $who: $why; the x64 build under wine10-x64 instead"
    export RIZER_LANE=wine10-x64
  fi
  if lane_start "lan-$me"; then echo yes >"$RIZER_PAIR_DIR/$me.lane"; else echo no >"$RIZER_PAIR_DIR/$me.lane"; fi
  for _ in $(seq 3000); do [ -s "$RIZER_PAIR_DIR/$other.lane" ] && break; sleep 0.05; done
  if [ "$(cat "$RIZER_PAIR_DIR/$me.lane")" != yes ] || [ "$(cat "$RIZER_PAIR_DIR/$other.lane" 2>/dev/null)" != yes ]; then
    [ "$me" = a ] && echo "note: the Wine 10 lanes are not set up here; both copies run the x64 build under wine8-x64"
    [ -n "$lane_problem" ] && echo "note: $who: $lane_problem"
    [ -z "$lane_problem" ] && wine_stop
    export RIZER_LANE=wine8-x64
    lane_start "lan-$me" || { echo "$who: $lane_problem"; exit 1; }
  fi
  arch=$RIZER_LANE_ARCH
  dist=dist/$arch
  host=$dist/rizer-host.exe module=$dist/riZER_2.cvp
  [ -f "$module" ] || host=build/$arch/host/rizer-host.exe module=build/$arch/src/plugin/riZER_2.cvp
  echo "$who: the $arch build under $RIZER_LANE" >"$work/$me.who"
  scripts/wine-run "$host" "$module" "$work/$me.cvs" "$work" >"$work/$me.log" 2>&1
  rc=$?
  wine_stop
  exit $rc'
echo "Ann is 10.77.1.1, Bob is 10.77.1.2; both open port 50150 ..."
rc=0
scripts/netns-pair bash -c "$side" "$root" "$work" -- bash -c "$side" "$root" "$work" || rc=$?
for s in a b; do
  who=$([ "$s" = a ] && echo "Ann" || echo "Bob")
  cat "$work/$s.who" 2>/dev/null || true
  grep -E '^(SetVariable|Script|Box|Var|Greet|FAIL)' "$work/$s.log" 2>/dev/null | sed "s/^/$who | /" || true
done
exit $rc
