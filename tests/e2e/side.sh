#!/usr/bin/env bash
# One side of an end-to-end run, inside its namespace of a netns-pair: the
# side's Wine lane (RIZER_E2E_LANE_A or _B) with its own wineserver and
# prefix, then every case's script for this side, each started once both
# sides are done with the one before (ready files in RIZER_PAIR_DIR). The
# hosts meet through signal files in RIZER_E2E_SIGNALS/CASE.
# Writes RIZER_E2E_RESULTS/lane.SIDE: "ok", or why the lane cannot run here.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
side=$RIZER_PAIR_SIDE
other=$([ "$side" = a ] && echo b || echo a)
results=$RIZER_E2E_RESULTS
lane_var=RIZER_E2E_LANE_${side^^}
export RIZER_LANE=${!lane_var:-wine8-x64}

await_file() {  # file, seconds
  local i
  for ((i = 0; i < $2 * 20; i++)); do
    [ -e "$1" ] && return 0
    sleep 0.05
  done
  return 1
}
# Tells the other side (and run.sh) whether this side's lane runs; on "no"
# both sides give up at once instead of waiting for each other's cases.
lane_status() {  # text
  echo "$1" >"$results/lane.$side"
  echo "$1" >"$RIZER_PAIR_DIR/lane.$side"
}

source scripts/wine-env.sh
source scripts/lane-start.sh
lane_start "net-e2e-$side" || { lane_status "$lane_problem"; exit 1; }
trap 'wine_stop' EXIT
arch=$RIZER_LANE_ARCH
host_var=RIZER_E2E_HOST_${arch^^} module_var=RIZER_E2E_MODULE_${arch^^}
host=${!host_var:-} module=${!module_var:-}
for f in "$host" "$module"; do
  [ -f "$f" ] || { lane_status "no $arch build: missing ${f:-host/module}"; exit 1; }
done

# A host that only waits keeps Wine's own services running, so that every
# case's host starts quickly and at nearly the same moment on both sides.
printf 'Signal keeper-%s\nSleep 900000\n' "$side" >"$results/keeper.$side.cvs"
scripts/wine-run "$host" "$module" "$results/keeper.$side.cvs" "$results" >/dev/null 2>&1 &
keeper=$!
trap 'kill $keeper 2>/dev/null; wine_stop' EXIT
await_file "$results/keeper-$side" 60 || { lane_status "the waiting host did not start"; exit 1; }
lane_status ok
await_file "$RIZER_PAIR_DIR/lane.$other" 300 && [ "$(cat "$RIZER_PAIR_DIR/lane.$other")" = ok ] || exit 1

# The host program a case's side runs. The key file riZER.key is read from
# the host executable's folder: a case with a NAME.a.key or NAME.b.key gives
# each of its sides a folder of its own holding a copy of the host and that
# side's key (or none); every other case runs the build's host as it is.
case_host() {  # case name
  local cases=$RIZER_E2E_CASES dir
  if ! compgen -G "$cases/$1.[ab].key" >/dev/null; then echo "$host"; return; fi
  dir=$results/hosts/$1.$side
  mkdir -p "$dir"
  cp "$host" "$dir/"
  rm -f "$dir/riZER.key"
  [ -f "$cases/$1.$side.key" ] && cp "$cases/$1.$side.key" "$dir/riZER.key"
  echo "$dir/$(basename "$host")"
}

for name in $RIZER_E2E_NAMES; do
  touch "$RIZER_PAIR_DIR/$name.$side.ready"
  await_file "$RIZER_PAIR_DIR/$name.$other.ready" 120
  mkdir -p "$RIZER_E2E_SIGNALS/$name"
  case_exe=$(case_host "$name")
  # NAME.SIDE.tap: the arguments of a listener (tap.py) on this side's
  # interface, started before the host; its lines join the host's log.
  tap=
  if [ -f "$RIZER_E2E_CASES/$name.$side.tap" ]; then
    read -ra tap_args <"$RIZER_E2E_CASES/$name.$side.tap"
    timeout 120 /usr/bin/python3 tests/e2e/tap.py --iface "rz$side" --signals "$RIZER_E2E_SIGNALS/$name" \
      "${tap_args[@]}" >"$results/$name.$side.tap" 2>&1 &
    tap=$!
  fi
  date +%s.%N >"$results/$name.$side.start"
  timeout 90 scripts/wine-run "$case_exe" "$module" "$RIZER_E2E_CASES/$name.$side.cvs" "$RIZER_E2E_SIGNALS/$name" \
    >"$results/$name.$side.log" 2>&1
  rc=$?
  if [ -n "$tap" ]; then
    wait "$tap"
    tap_rc=$?
    cat "$results/$name.$side.tap" >>"$results/$name.$side.log"
    [ "$rc" = 0 ] && [ "$tap_rc" != 0 ] && rc="tap-$tap_rc"
  fi
  echo "$rc" >"$results/$name.$side.rc"
  date +%s.%N >"$results/$name.$side.end"
done
