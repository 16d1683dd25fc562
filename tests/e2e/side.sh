#!/usr/bin/env bash
# One side of an end-to-end run, inside its namespace of a netns-lan or a
# netns-subnets LAN (RIZER_E2E_SIDES names its sides in the LAN's order,
# "a b", "x a b y c" or "t a b c"). The side's Wine lane (RIZER_E2E_LANE_A,
# _B, _X, ...; "none": a side without Wine, which runs shell steps only),
# started by lane_start with its own wineserver and prefix, then
# every case's step for this side, each started once every side is done with
# the one before (ready files in the shared folder). The hosts meet through
# signal files in RIZER_E2E_SIGNALS/CASE.
#
# A case's step on this side is NAME.SIDE.cvs (a stand-in host's script) or
# NAME.SIDE.sh (a shell script, run with SIGNALS (the case's signal folder),
# KEY (the side's key file, see case_key; empty when it has none), OPERATOR
# (its operator key, NAME.SIDE.operator, or empty) and CLI (the Linux
# rizer-cli) in its environment, and the functions signal NAME, await NAME
# SECONDS and wait_for (scripts/lib.sh)); a side with neither sits the case
# out.
# Writes RIZER_E2E_RESULTS/lane.SIDE: "ok", or why the lane cannot run here.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
source scripts/wine-env.sh
read -ra sides <<<"${RIZER_E2E_SIDES:?}"
side=${sides[RIZER_LAN_SIDE - 1]} shared=$RIZER_LAN_DIR iface=rzl0
results=$RIZER_E2E_RESULTS
lane_var=RIZER_E2E_LANE_${side^^}
export RIZER_LANE=${!lane_var:-$(lane_default)}
# Tells the other sides (and run.sh) whether this side's lane runs; on "no"
# every side gives up at once instead of waiting for the others' cases.
lane_status() {  # text
  echo "$1" >"$results/lane.$side"
  echo "$1" >"$shared/lane.$side"
}
others_ok() {
  local s
  for s in "${sides[@]}"; do
    [ "$s" = "$side" ] && continue
    wait_for 300 "$shared/lane.$s" && [ "$(cat "$shared/lane.$s")" = ok ] || return 1
  done
}

if [ "$RIZER_LANE" != none ]; then
  # On a LAN of more than two, one Wine start at a time (in the sides'
  # order): starting several at once has left a host without a window.
  for s in "${sides[@]}"; do
    [ "$s" = "$side" ] && break
    [ ${#sides[@]} -gt 2 ] && wait_for 300 "$shared/lane.$s"
  done
  arch=$(lane_arch "$RIZER_LANE") || { lane_status "no such lane: $RIZER_LANE"; exit 1; }
  host_var=RIZER_E2E_HOST_${arch^^} module_var=RIZER_E2E_MODULE_${arch^^}
  host=${!host_var:-} module=${!module_var:-}
  for f in "$host" "$module"; do
    [ -f "$f" ] || { lane_status "no $arch build: missing ${f:-host/module}"; exit 1; }
  done
  # The lane's waiting host (wine_hold) also keeps Wine's own services
  # running, so that every case's host starts quickly and at nearly the same
  # moment on every side.
  lane_start "net-e2e-$side" "$host" "$module" || { lane_status "$lane_problem"; exit 1; }
  trap 'wine_stop' EXIT
fi
lane_status ok
others_ok || exit 1

# The key file of a case's side: NAME.SIDE.key, else NAME.key (the whole
# group's); none when the case has neither.
case_key() {  # case name
  local f
  for f in "$RIZER_E2E_CASES/$1.$side.key" "$RIZER_E2E_CASES/$1.key"; do
    [ -f "$f" ] && { echo "$f"; return 0; }
  done
  return 1
}
# The operator key of a case's side: NAME.SIDE.operator; none without it.
case_operator() {  # case name
  local f=$RIZER_E2E_CASES/$1.$side.operator
  [ -f "$f" ] && echo "$f"
}
# The host program a case's side runs. The key file riZER.key and the
# operator's riZER.operator are read from the host executable's folder: a
# case with a key on any side gives each of its sides a folder of its own
# holding a copy of the host and that side's files (or none); every other
# case runs the build's host as it is.
case_host() {  # case name
  local cases=$RIZER_E2E_CASES dir key operator
  if ! compgen -G "$cases/$1.*key" >/dev/null; then echo "$host"; return; fi
  dir=$results/hosts/$1.$side
  mkdir -p "$dir"
  cp "$host" "$dir/"
  rm -f "$dir/riZER.key" "$dir/riZER.operator"
  key=$(case_key "$1") && cp "$key" "$dir/riZER.key"
  operator=$(case_operator "$1") && cp "$operator" "$dir/riZER.operator"
  echo "$dir/$(basename "$host")"
}

# For a case's shell steps.
signal() { touch "$SIGNALS/$1"; echo "signal $1"; }
await() {  # name, seconds
  wait_for "$2" "$SIGNALS/$1" && return 0
  echo "FAIL: no signal $1 within $2 s"
  return 1
}
export -f signal await wait_for
cli=${RIZER_E2E_CLI:-$root/dist/linux/rizer-cli}
[ -x "$cli" ] || cli=$root/build/linux/tools/cli/rizer-cli

for name in $RIZER_E2E_NAMES; do
  touch "$shared/$name.$side.ready"
  for s in "${sides[@]}"; do wait_for 120 "$shared/$name.$s.ready"; done
  mkdir -p "$RIZER_E2E_SIGNALS/$name"
  step=$RIZER_E2E_CASES/$name.$side
  [ -f "$step.cvs" ] || [ -f "$step.sh" ] || continue
  # NAME.SIDE.tap: the arguments of a listener (tap.py) on this side's
  # interface (its first leg unless they name another), started before the
  # host; its lines join the host's log.
  tap=
  if [ -f "$step.tap" ]; then
    read -ra tap_args <"$step.tap"
    timeout 120 /usr/bin/python3 tests/e2e/tap.py --iface "$iface" --signals "$RIZER_E2E_SIGNALS/$name" \
      "${tap_args[@]}" >"$results/$name.$side.tap" 2>&1 &
    tap=$!
  fi
  date +%s.%N >"$results/$name.$side.start"
  if [ -f "$step.cvs" ]; then
    timeout 90 scripts/wine-run "$(case_host "$name")" "$module" "$step.cvs" "$RIZER_E2E_SIGNALS/$name" \
      >"$results/$name.$side.log" 2>&1
  else
    SIGNALS=$RIZER_E2E_SIGNALS/$name KEY=$(case_key "$name") OPERATOR=$(case_operator "$name") CLI=$cli \
      timeout 90 bash "$step.sh" \
      >"$results/$name.$side.log" 2>&1
  fi
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
