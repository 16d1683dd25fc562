#!/usr/bin/env bash
# One side of tests/cli/run-lan.sh, inside its namespace of a netns-lan.
# Side 1 is the administrator's machine (the native rizer-cli); every other
# side runs a stand-in host with the module under its own Wine, started by
# lane_start with the lane's waiting host, as every Wine side is. Ready files
# in RIZER_LAN_DIR order them; results go to RIZER_CLI_LAN_WORK.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
me=$RIZER_LAN_SIDE
work=$RIZER_CLI_LAN_WORK
cli=$RIZER_CLI_LAN_CLI
source scripts/wine-env.sh

if [ "$me" != 1 ]; then
  # One Wine start at a time: making two new prefixes at once has left one
  # host without a window.
  [ "$me" = 2 ] || wait_for 240 "$RIZER_LAN_DIR/wine.$((me - 1))"
  lane_start "cli-lan-$me" "$RIZER_CLI_LAN_HOST" "$RIZER_CLI_LAN_MODULE" ||
    { echo "side $me: $lane_problem" >&2; exit 1; }
  touch "$RIZER_LAN_DIR/wine.$me"
  trap wine_stop EXIT
  exe=$RIZER_CLI_LAN_HOST
  if [ -n "${RIZER_CLI_LAN_KEY:-}" ]; then
    # riZER.key is read beside the host executable: a folder of its own.
    mkdir -p "$work/host.$me"
    cp "$exe" "$RIZER_CLI_LAN_KEY" "$work/host.$me/"
    mv "$work/host.$me/$(basename "$RIZER_CLI_LAN_KEY")" "$work/host.$me/riZER.key"
    exe=$work/host.$me/$(basename "$exe")
  fi
  timeout 300 scripts/wine-run "$exe" "$RIZER_CLI_LAN_MODULE" "$work/host.cvs" \
    >"$work/host.$me.log" 2>&1 &
  host=$!
  wait_for 240 "$work/host.$me.log" "port open" && touch "$RIZER_LAN_DIR/ready.$me"
  wait "$host"
  echo $? >"$work/host.$me.rc"
  exit 0
fi

for ((i = 2; i <= RIZER_LAN_SIZE; i++)); do
  wait_for 240 "$RIZER_LAN_DIR/ready.$i" || { echo "side 1: host $i never opened its port" >&2; exit 1; }
done
sleep 0.3
if [ -n "${RIZER_CLI_LAN_KEY:-}" ]; then
  # A closed group: what carries the key reaches the hosts; what does not,
  # sent in between, reaches none of them, and the keyed "after" behind it
  # tells the hosts that it has been dealt with.
  key=$RIZER_CLI_LAN_KEY
  "$cli" --key "$key" chat Admin hello
  "$cli" --key "$key" gosub Refresh
  "$cli" --key "$key" box "Server stops" Warning
  "$cli" --key "$key" --reliable box "Acknowledge me" Information >"$work/reliable.out" 2>"$work/reliable.err"
  echo $? >"$work/reliable.rc"
  "$cli" --key "$key" who >"$work/who.out" 2>"$work/who.err"
  echo $? >"$work/who.rc"
  "$cli" who --wait 1000 >"$work/plain-who.out" 2>"$work/plain-who.err"
  echo $? >"$work/plain-who.rc"
  "$cli" chat Intruder hello
  "$cli" gosub Stranger
  "$cli" box "Intruder" Error
  "$cli" --reliable --wait 1000 box "Intruder" Error >"$work/plain-reliable.out" 2>"$work/plain-reliable.err"
  echo $? >"$work/plain-reliable.rc"
  "$cli" --key "$key" chat Admin after
  exit 0
fi
"$cli" chat Admin hello
"$cli" gosub Refresh
"$cli" box "Server stops" Warning
"$cli" --reliable box "Acknowledge me" Information >"$work/reliable.out" 2>"$work/reliable.err"
echo $? >"$work/reliable.rc"
"$cli" who >"$work/who.out" 2>"$work/who.err"
echo $? >"$work/who.rc"
# The listener hears its own side's cue too: one line more than the hosts.
"$cli" listen --count "$RIZER_LAN_SIZE" --seconds 60 --verbose >"$work/listen.out" 2>"$work/listen.err" &
listener=$!
wait_for 10 "$work/listen.err" "listening on port"
"$cli" gosub Speak
wait "$listener"
echo $? >"$work/listen.rc"
