# Sourced after wine-env.sh, inside a private namespace.
#   lane_start NAME   starts Wine (wine_start NAME) in the lane RIZER_LANE
#                     names (unset: wine8-x64) and checks that it is that lane:
#                     0 with RIZER_LANE_ARCH set (x64 or x86), else 1 with the
#                     reason in lane_problem and Wine stopped again.
# Only a lane-aware wine_start names the build it runs; without one, the
# Wine 8 default is all there is, and any other lane is not set up.
lane_start() {
  local name=$1 lane=${RIZER_LANE:-wine8-x64} log
  unset RIZER_LANE_ARCH
  lane_problem=
  log=$(mktemp)
  if ! wine_start "$name" >"$log" 2>&1 </dev/null; then
    lane_problem="Wine did not start: $(tail -n 1 "$log")"
    rm -f "$log"
    return 1
  fi
  rm -f "$log"
  [ -z "${RIZER_LANE_ARCH:-}" ] && [ "$lane" = wine8-x64 ] && export RIZER_LANE_ARCH=x64
  if [ "${RIZER_LANE_ARCH:-}" != "${lane##*-}" ]; then
    lane_problem="lane $lane is not set up (wine_start ran build '${RIZER_LANE_ARCH:-none}')"
    wine_stop
    return 1
  fi
}
