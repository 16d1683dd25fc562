#!/usr/bin/env bash
# demo-lan.sh
# Two copies on a LAN of their own (two namespaces, scripts/netns-lan), each
# a stand-in host under Wine with its own wineserver: Ann on the x86 build
# under wine10-x86, Bob on the x64 build under wine10-x64. They exchange chat
# lines, Ann runs a subroutine on both copies, Bob sends an information
# message (closed automatically by the stand-in host), and each prints its
# chat variable. Where the Wine 10 lanes are not set up, both copies run the
# x64 build under wine8-x64 (said so).
# The two scripts wait for each other through signal files, not fixed sleeps.
# Then a closed group on a LAN of four (see "a closed group" below), a
# classroom whose teacher is the group's operator on a LAN of three, and a
# keyed copy with two adapters on a LAN of two subnets.
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
  me=$([ "$RIZER_LAN_SIDE" = 1 ] && echo a || echo b) other=$([ "$RIZER_LAN_SIDE" = 1 ] && echo b || echo a)
  who=$([ "$me" = a ] && echo Ann || echo Bob)
  export RIZER_LANE=$([ "$me" = a ] && echo wine10-x86 || echo wine10-x64)
  source scripts/wine-env.sh
  if why=$(rizer_lane_why_not "$RIZER_LANE"); then
    echo "note: $who: $why; the x64 build under wine10-x64 instead"
    export RIZER_LANE=wine10-x64
  fi
  # The host and module of the lane'"'"'s build: dist/, else build/.
  build_of() {
    arch=$(lane_arch "$RIZER_LANE")
    host=dist/$arch/rizer-host.exe module=dist/$arch/riZER_2.cvp
    [ -f "$module" ] || host=build/$arch/host/rizer-host.exe module=build/$arch/src/plugin/riZER_2.cvp
  }
  build_of
  if lane_start "lan-$me" "$host" "$module"; then echo yes >"$RIZER_LAN_DIR/$me.lane"; else echo no >"$RIZER_LAN_DIR/$me.lane"; fi
  wait_for 150 "$RIZER_LAN_DIR/$other.lane" ""
  if [ "$(cat "$RIZER_LAN_DIR/$me.lane")" != yes ] || [ "$(cat "$RIZER_LAN_DIR/$other.lane" 2>/dev/null)" != yes ]; then
    [ "$me" = a ] && echo "note: the Wine 10 lanes are not set up here; both copies run the x64 build under wine8-x64"
    [ -n "$lane_problem" ] && echo "note: $who: $lane_problem"
    [ -z "$lane_problem" ] && wine_stop
    export RIZER_LANE=wine8-x64
    build_of
    lane_start "lan-$me" "$host" "$module" || { echo "$who: $lane_problem"; exit 1; }
  fi
  echo "$who: the $arch build under $RIZER_LANE" >"$work/$me.who"
  scripts/wine-run "$host" "$module" "$work/$me.cvs" "$work" >"$work/$me.log" 2>&1
  rc=$?
  wine_stop
  exit $rc'
echo "Ann is 10.77.2.1, Bob is 10.77.2.2; both open port 50150 ..."
rc=0
scripts/netns-lan bash -c "$side" "$root" "$work" -- bash -c "$side" "$root" "$work" || rc=$?
for s in a b; do
  who=$([ "$s" = a ] && echo "Ann" || echo "Bob")
  cat "$work/$s.who" 2>/dev/null || true
  grep -E '^(SetVariable|Script|Box|Var|Greet|FAIL)' "$work/$s.log" 2>/dev/null | sed "s/^/$who | /" || true
done
pair_rc=$rc

# ---- a closed group ----------------------------------------------------------
# Four machines on one LAN (scripts/netns-lan): Ann (10.77.2.2) and Bob
# (10.77.2.3) run the x64 build under wine8-x64, each from a folder of its own
# with the group's riZER.key beside the host executable; an outsider
# (10.77.2.1) has rizer-cli and no key; the group's administrator
# (10.77.2.4) has rizer-cli and the key. Ann and Bob chat, sealed; the
# outsider's listener sees only frames it cannot read, and its GoSub
# Shutdown runs nowhere; the administrator's `listen --verbose` shows the
# group's lines and why it dropped the outsider's.
cli=${RIZER_DEMO_CLI:-dist/linux/rizer-cli}   # RIZER_DEMO_CLI: another build of it
[ -x "$cli" ] || cli=build/linux/tools/cli/rizer-cli
group=$work/group
mkdir -p "$group"
has_key=no
"$cli" --help 2>&1 | grep -q -- '--key' && has_key=yes
if [ "$has_key" = yes ]; then
  "$cli" keygen "$group/riZER.key" >/dev/null
else
  # Any 64 hex digits make a key.
  printf '# riZER 2.0 group key\r\n%s\r\n' "$(od -An -tx1 -N32 /dev/urandom | tr -d ' \n')" >"$group/riZER.key"
fi
for who in ann bob; do
  mkdir -p "$group/$who"
  cp dist/x64/rizer-host.exe "$group/riZER.key" "$group/$who/"
done
cat >"$group/host.cvs" <<'CVS'
Sub Shutdown
Echo "Shutdown ran on this copy"
End
Sub Greet
Echo "Greet ran on this copy"
End
riZEROpenPort "50150" "Chat"
Echo "port open"
Await listening 120000
CVS
cp "$group/host.cvs" "$group/bob.cvs"
cat >>"$group/host.cvs" <<'CVS'
riZERSendMessage "Ann" "Hi Bob, only the group can read this."
WaitVar Chat "<Ann>: Hi Bob, only the group can read this.\r\n<Bob>: Loud and clear.\r\n" 30000
Signal chatted
Await outsider-sent 30000
riZERGoSub "Greet"
WaitVar Chat "<Ann>: Hi Bob, only the group can read this.\r\n<Bob>: Loud and clear.\r\n<Bob>: Greeted.\r\n" 30000
ExpectNoBox
Print Chat
riZERClosePort
CVS
cat >>"$group/bob.cvs" <<'CVS'
WaitVar Chat "<Ann>: Hi Bob, only the group can read this.\r\n" 30000
riZERSendMessage "Bob" "Loud and clear."
CVS
# Bob answers Ann's Greet with a line of his own: once Ann has it, both
# copies have dealt with the outsider's GoSub, which came before it.
sed -i 's/^Echo "Greet ran on this copy"$/&\nriZERSendMessage "Bob" "Greeted."/' "$group/bob.cvs"
cat >>"$group/bob.cvs" <<'CVS'
WaitVar Chat "<Ann>: Hi Bob, only the group can read this.\r\n<Bob>: Loud and clear.\r\n<Bob>: Greeted.\r\n" 30000
Signal bob-done
ExpectNoBox
Print Chat
riZERClosePort
CVS
group_side='
  set -uo pipefail
  cd "$0"
  group=$1 cli=$2 has_key=$3
  export RIZER_LANE=wine8-x64
  source scripts/wine-env.sh
  case $RIZER_LAN_SIDE in
    1)  # the outsider: no key
      wait_for 300 "$RIZER_LAN_DIR/open.2" && wait_for 300 "$RIZER_LAN_DIR/open.3" || exit 1
      "$cli" listen --verbose --seconds 600 >"$group/outsider.out" 2>"$group/outsider.err" &
      listener=$!
      wait_for 120 "$RIZER_LAN_DIR/admin.ready" || { kill $listener; exit 1; }
      touch "$group/listening"
      wait_for 180 "$group/chatted" || { kill $listener; exit 1; }
      "$cli" gosub Shutdown
      touch "$group/outsider-sent"
      wait_for 180 "$group/bob-done"
      kill $listener 2>/dev/null; wait $listener 2>/dev/null
      touch "$RIZER_LAN_DIR/outsider.done"
      exit 0 ;;
    4)  # the group'"'"'s administrator: the key
      if [ "$has_key" = yes ]; then
        "$cli" --key "$group/riZER.key" listen --verbose --seconds 600 >"$group/admin.out" 2>"$group/admin.err" &
        listener=$!
        wait_for 10 "$group/admin.err" "listening on port"
        touch "$RIZER_LAN_DIR/admin.ready"
        wait_for 600 "$RIZER_LAN_DIR/outsider.done"
        kill $listener 2>/dev/null; wait $listener 2>/dev/null
      else
        touch "$RIZER_LAN_DIR/admin.ready"
      fi
      exit 0 ;;
  esac
  who=$([ "$RIZER_LAN_SIDE" = 2 ] && echo ann || echo bob)
  [ "$who" = ann ] || wait_for 240 "$RIZER_LAN_DIR/wine.2"   # one Wine start at a time
  lane_start "group-$who" dist/x64/rizer-host.exe dist/x64/riZER_2.cvp || { echo "$who: $lane_problem"; exit 1; }
  touch "$RIZER_LAN_DIR/wine.$RIZER_LAN_SIDE"
  # Both copies start their scripts once both Wines are up.
  [ "$who" = bob ] || wait_for 240 "$RIZER_LAN_DIR/wine.3"
  script=$group/host.cvs
  [ "$who" = bob ] && script=$group/bob.cvs
  scripts/wine-run "$group/$who/rizer-host.exe" dist/x64/riZER_2.cvp "$script" "$group" >"$group/$who.log" 2>&1 &
  host=$!
  wait_for 240 "$group/$who.log" "port open"
  touch "$RIZER_LAN_DIR/open.$RIZER_LAN_SIDE"
  wait $host; rc=$?
  wine_stop
  exit $rc'
echo
echo "== a closed group: Ann (10.77.2.2) and Bob (10.77.2.3) share riZER.key; an outsider (10.77.2.1) has none"
sed -n '1p' "$group/riZER.key" | sed 's/^/riZER.key: /'
rc=0
timeout 900 scripts/netns-lan bash -c "$group_side" "$root" "$group" "$cli" "$has_key" \
  -- bash -c "$group_side" "$root" "$group" "$cli" "$has_key" \
  -- bash -c "$group_side" "$root" "$group" "$cli" "$has_key" \
  -- bash -c "$group_side" "$root" "$group" "$cli" "$has_key" || rc=$?
for who in ann bob; do
  grep -E '^(SetVariable|Script|Var|Greet|Shutdown|FAIL|host:)' "$group/$who.log" 2>/dev/null | sed "s/^/${who^} | /" || true
done
echo "outsider | rizer-cli gosub Shutdown (no key): ran on $(grep -l 'Shutdown ran' "$group"/ann.log "$group"/bob.log 2>/dev/null | wc -l) of 2 copies"
echo "outsider | rizer-cli listen --verbose (no key) heard:"
sed 's/^/outsider |   /' "$group/outsider.out" "$group/outsider.err" 2>/dev/null || true
if [ "$has_key" = yes ]; then
  echo "admin    | rizer-cli --key riZER.key listen --verbose heard:"
  sed 's/^/admin    |   /' "$group/admin.out" "$group/admin.err" 2>/dev/null || true
else
  echo "admin    | not run: rizer-cli has no --key (the group's listener with its reasons)"
fi
if grep -q 'Shutdown ran' "$group"/ann.log "$group"/bob.log 2>/dev/null; then rc=1; fi
group_rc=$rc

# ---- a classroom: the teacher is the group's operator ------------------------
# Three machines on one LAN (scripts/netns-lan), each the x64 build under
# wine8-x64 from a folder of its own: the teacher (10.77.2.1) with the
# group's riZER.key and its own riZER.operator, Ann (10.77.2.2) and Bob
# (10.77.2.3) with the same riZER.key, which lists the teacher's public key.
# Ann's GoSub "Shutdown" runs nowhere, not even on her own copy; the
# teacher's GoSub "Quiz" runs on all three. Ann's chat line after her GoSub
# tells each copy that the GoSub has been dealt with.
class=$work/classroom
host64=dist/x64/rizer-host.exe module64=dist/x64/riZER_2.cvp
[ -f "$module64" ] || host64=build/x64/host/rizer-host.exe module64=build/x64/src/plugin/riZER_2.cvp
mkdir -p "$class/teacher" "$class/ann" "$class/bob"
if "$cli" --help 2>&1 | grep -q -- '--operator'; then
  "$cli" keygen "$class/riZER.key" >/dev/null 2>&1
  "$cli" keygen --operator "$class/teacher/riZER.operator" >>"$class/riZER.key" 2>/dev/null
fi
for who in teacher ann bob; do
  cp "$host64" "$class/$who/"
  [ -f "$class/riZER.key" ] && cp "$class/riZER.key" "$class/$who/"
done
subs='Sub Shutdown
Echo "Shutdown ran on this copy"
End
Sub Quiz
Echo "Quiz ran on this copy"
Signal WHO-quiz
End
riZEROpenPort "50150" "Chat"
Signal WHO-open
Await teacher-open 240000
Await ann-open 240000
Await bob-open 240000'
ann_line='<Ann>: I pressed Shutdown.\r\n'
all_lines="$ann_line<Teacher>: Quiz time.\r\n"
{
  echo "${subs//WHO/teacher}"
  printf 'WaitVar Chat "%s" 30000\n' "$ann_line"
  printf '%s\n' 'riZERGoSub "Quiz"' 'riZERSendMessage "Teacher" "Quiz time."' 'Await teacher-quiz 30000'
  printf 'WaitVar Chat "%s" 30000\n' "$all_lines"
  printf '%s\n' 'Print Chat' 'Await ann-done 30000' 'Await bob-done 30000' 'riZERClosePort'
} >"$class/teacher.cvs"
{
  echo "${subs//WHO/ann}"
  # No wait for her own line alone: the teacher's may follow it at once.
  printf '%s\n' 'riZERGoSub "Shutdown"' 'riZERSendMessage "Ann" "I pressed Shutdown."'
  printf '%s\n' 'Await ann-quiz 30000'
  printf 'WaitVar Chat "%s" 30000\n' "$all_lines"
  printf '%s\n' 'Print Chat' 'Signal ann-done' 'riZERClosePort'
} >"$class/ann.cvs"
{
  echo "${subs//WHO/bob}"
  printf '%s\n' 'Await bob-quiz 30000'
  printf 'WaitVar Chat "%s" 30000\n' "$all_lines"
  printf '%s\n' 'Print Chat' 'Signal bob-done' 'riZERClosePort'
} >"$class/bob.cvs"
# The start of a side of a LAN of Wine copies, for bash -c: lane wine8-x64
# (lane_start, holding the desktop with the host $hold_host) and $who, side
# i of the names in $names; the sides start Wine one at a time (prefix
# $prefix-$who), side 1 first.
wine_side_start='
  export RIZER_LANE=wine8-x64
  source scripts/wine-env.sh
  who=$(echo $names | cut -d" " -f"$RIZER_LAN_SIDE")
  [ "$RIZER_LAN_SIDE" = 1 ] || wait_for 240 "$RIZER_LAN_DIR/wine.$((RIZER_LAN_SIDE - 1))"
  lane_start "$prefix-$who" "$hold_host" "$module" ||
    { echo "$who: $lane_problem"; touch "$RIZER_LAN_DIR/wine.$RIZER_LAN_SIDE"; exit 1; }
  touch "$RIZER_LAN_DIR/wine.$RIZER_LAN_SIDE"
'
class_side='
  set -uo pipefail
  cd "$0"
  class=$1 module=$2 hold_host=$3
  names="teacher ann bob" prefix=class
'"$wine_side_start"'
  scripts/wine-run "$class/$who/$(basename "$3")" "$module" "$class/$who.cvs" "$class" >"$class/$who.log" 2>&1
  rc=$?
  wine_stop
  exit $rc'
echo
echo "== a classroom: the teacher (10.77.2.1) is the group's operator; Ann (10.77.2.2) and Bob (10.77.2.3) are students"
rc=0
if [ -f "$class/riZER.key" ]; then
  echo "\$ rizer-cli keygen riZER.key"
  echo "\$ rizer-cli keygen --operator teacher/riZER.operator >>riZER.key     # on the teacher's machine"
  grep '^operator' "$class/riZER.key" | sed 's/^/riZER.key: /'
  timeout 600 scripts/netns-lan bash -c "$class_side" "$root" "$class" "$module64" "$host64" \
    -- bash -c "$class_side" "$root" "$class" "$module64" "$host64" \
    -- bash -c "$class_side" "$root" "$class" "$module64" "$host64" || rc=$?
  for who in teacher ann bob; do
    label=$(printf '%-7s' "${who^}")
    grep -E '^(Script|Shutdown|Quiz|Var|FAIL|host:)' "$class/$who.log" 2>/dev/null | sed "s/^/$label | /" || true
    ran=$(grep -c 'Shutdown ran' "$class/$who.log" 2>/dev/null || true)
    echo "$label | Ann's GoSub \"Shutdown\": $([ "${ran:-0}" = 0 ] && echo "did not run" || echo "RAN") on this copy"
    [ "${ran:-0}" = 0 ] || rc=1
  done
else
  echo "not run: rizer-cli has no --operator (the teacher's key pair)"
fi
class_rc=$rc

# ---- a keyed copy with two adapters -------------------------------------------
# Two subnets (scripts/netns-subnets): Xena's machine has an adapter on each
# (10.77.2.1 and 10.77.3.1), Ann's is on subnet 1 only (10.77.2.2), Bob's on
# subnet 2 only (10.77.3.3); each runs the x64 build under wine8-x64 with the
# group's riZER.key. A keyed copy sends every frame to the broadcast address
# of each of its adapters: Xena's one line reaches both, and both answers
# reach her. On Xena's machine, rizer-cli lists the adapters and asks who
# of the group answers (where this rizer-cli has those commands).
two=$work/two-subnets
mkdir -p "$two"
for who in xena ann bob; do
  mkdir -p "$two/$who"
  cp dist/x64/rizer-host.exe "$group/riZER.key" "$two/$who/"
done
hello='Hello Ann and Bob: one line, both subnets.'
cat >"$two/xena.cvs" <<CVS
riZEROpenPort "50150" "Chat"
Log off
Await ann-open 240000
Await bob-open 240000
riZERSendMessage "Xena" "$hello"
WaitVar Chat "<Xena>: $hello\r\n<Ann>: Ann here, subnet 1.\r\n<Bob>: Bob here, subnet 2.\r\n" 30000
Signal chatted
Await cli-done 60000
Print Chat
riZERClosePort
CVS
for who in Ann Bob; do
  subnet=$([ "$who" = Ann ] && echo 1 || echo 2)
  {
    printf '%s\n' 'riZEROpenPort "50150" "Chat"' 'Log off' "Signal ${who,,}-open"
    printf 'WaitVar Chat "<Xena>: %s\\r\\n" 60000\n' "$hello"
    # Bob answers after Ann, so that Xena shows the answers in one order.
    [ "$who" = Bob ] && echo 'Await ann-answered 30000'
    printf 'riZERSendMessage "%s" "%s here, subnet %s."\n' "$who" "$who" "$subnet"
    [ "$who" = Ann ] && echo 'Signal ann-answered'
    printf '%s\n' 'Await cli-done 90000' 'Print Chat' 'riZERClosePort'
  } >"$two/${who,,}.cvs"
done
two_side='
  set -uo pipefail
  cd "$0"
  two=$1 cli=$2 hold_host=dist/x64/rizer-host.exe module=dist/x64/riZER_2.cvp
  names="xena ann bob" prefix=subnets
'"$wine_side_start"'
  scripts/wine-run "$two/$who/rizer-host.exe" "$module" "$two/$who.cvs" "$two" >"$two/$who.log" 2>&1 &
  host=$!
  if [ "$who" = xena ]; then
    if wait_for 300 "$two/chatted"; then
      if "$cli" --help 2>&1 | grep -qE "^  adapters( |$)"; then
        "$cli" adapters >"$two/adapters.out" 2>&1
      fi
      if "$cli" --help 2>&1 | grep -qE "^  who( |$)"; then
        "$cli" --key "$two/xena/riZER.key" who >"$two/who.out" 2>&1
        echo "exit $?" >>"$two/who.out"
      fi
    fi
    touch "$two/cli-done"
  fi
  wait $host; rc=$?
  wine_stop
  exit $rc'
echo
echo "== a keyed copy with two adapters: Xena (10.77.2.1 on subnet 1, 10.77.3.1 on subnet 2), Ann (10.77.2.2, subnet 1 only), Bob (10.77.3.3, subnet 2 only), one riZER.key"
rc=0
timeout 600 scripts/netns-subnets 1,2 bash -c "$two_side" "$root" "$two" "$cli" \
  -- 1 bash -c "$two_side" "$root" "$two" "$cli" \
  -- 2 bash -c "$two_side" "$root" "$two" "$cli" || rc=$?
for who in xena ann bob; do
  grep -E '^(Var|FAIL|host:)' "$two/$who.log" 2>/dev/null | sed "s/^/$(printf '%-4s' "${who^}") | /" || true
done
xm="Xena's machine |"
if [ -f "$two/adapters.out" ]; then
  echo "$xm rizer-cli adapters:"
  sed "s/^/$xm   /" "$two/adapters.out"
else
  echo "$xm not run: rizer-cli has no adapters command"
fi
if [ -f "$two/who.out" ]; then
  echo "$xm rizer-cli --key riZER.key who:"
  sed "s/^/$xm   /" "$two/who.out"
else
  echo "$xm not run: rizer-cli has no who command"
fi
[ "$group_rc" = 0 ] || rc=$group_rc
[ "$class_rc" = 0 ] || rc=$class_rc
[ "$pair_rc" = 0 ] || rc=$pair_rc
exit $rc
