#!/usr/bin/env bash
# One side of the end-to-end run, inside its namespace of a netns-pair: its
# own wineserver and prefix, then every case's script for this side, each
# started together with the other side's (ready files in RIZER_PAIR_DIR).
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
side=$RIZER_PAIR_SIDE
other=$([ "$side" = a ] && echo b || echo a)
source scripts/wine-env.sh
wine_start "net-e2e-$side" >/dev/null || { echo "side $side: wine did not start" >&2; exit 1; }
# A host that only waits keeps Wine's own services running, so that every
# case's host starts quickly and at nearly the same moment on both sides.
printf 'Sleep 900000\n' >"$RIZER_E2E_RESULTS/keeper.$side.cvs"
scripts/wine-run "$RIZER_E2E_HOST" "$RIZER_E2E_MODULE" "$RIZER_E2E_RESULTS/keeper.$side.cvs" >/dev/null 2>&1 &
keeper=$!
trap 'kill $keeper 2>/dev/null; wine_stop' EXIT
sleep 3

for name in $RIZER_E2E_NAMES; do
  touch "$RIZER_PAIR_DIR/$name.$side.ready"
  for _ in $(seq 600); do
    [ -e "$RIZER_PAIR_DIR/$name.$other.ready" ] && break
    sleep 0.05
  done
  date +%s.%N >"$RIZER_E2E_RESULTS/$name.$side.start"
  timeout 90 scripts/wine-run "$RIZER_E2E_HOST" "$RIZER_E2E_MODULE" "$RIZER_E2E_CASES/$name.$side.cvs" \
    >"$RIZER_E2E_RESULTS/$name.$side.log" 2>&1
  echo $? >"$RIZER_E2E_RESULTS/$name.$side.rc"
  date +%s.%N >"$RIZER_E2E_RESULTS/$name.$side.end"
done
