# Sourced by the scripts and the shell test suites: what several of them
# need, written once. Sourcing it only defines; it starts and counts nothing.
#
# The Wine lanes, one table (the test command runs them in its order):
#   rizer_lanes               the lanes' names
#   lane_wine LANE            system (Debian 12's Wine 8 on this system) or
#                             trixie (trixie's Wine 10 in the trixie root,
#                             scripts/trixie-root)
#   lane_arch LANE            x64 or x86: the build it runs, build/ARCH
#   lane_windows LANE         the Windows version its Wine reports (`ver`)
#   lane_default              $RIZER_LANE, else the first lane
#   rizer_lane_why_not LANE   why LANE cannot run on this machine, if it cannot
# Waiting:
#   wait_for [--while PID] SECONDS FILE [TEXT]
# Wine's processes of this prefix:
#   prefix_pids PGREP-ARG...  wine_servers  wine_desktops
# The tally of a suite, and of the suites:
#   check NAME COMMAND...  tally_pass [LINE]  tally_fail [LINE]
#   tally_line [PREFIX [PASSED FAILED]]  tally_suite NAME CODE LINE
#   ctest_counts OUTPUT  ctest_failures OUTPUT
_rizer_lib_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# ---- the lanes ----------------------------------------------------------------
# lane        Wine    build  Windows
_rizer_lane_table='
wine8-x64     system  x64    6.1
wine10-x64    trixie  x64    10.0
wine10-x86    trixie  x86    10.0
'
rizer_lanes=()
declare -gA _rizer_lane_wine=() _rizer_lane_arch=() _rizer_lane_windows=()
while read -r _l _w _a _v; do
  [ -n "$_l" ] || continue
  rizer_lanes+=("$_l")
  _rizer_lane_wine[$_l]=$_w _rizer_lane_arch[$_l]=$_a _rizer_lane_windows[$_l]=$_v
done <<<"$_rizer_lane_table"
unset _l _w _a _v

lane_wine() { [ -n "${_rizer_lane_wine[${1:-}]:-}" ] && echo "${_rizer_lane_wine[$1]}"; }
lane_arch() { [ -n "${_rizer_lane_arch[${1:-}]:-}" ] && echo "${_rizer_lane_arch[$1]}"; }
lane_windows() { [ -n "${_rizer_lane_windows[${1:-}]:-}" ] && echo "${_rizer_lane_windows[$1]}"; }
lane_default() { echo "${RIZER_LANE:-${rizer_lanes[0]}}"; }

# rizer_lane_why_not LANE: when LANE cannot run on this machine at all, prints
# why and answers 0; answers 1 when it can. The 32-bit lane needs a kernel
# that runs 32-bit code (scripts/ia32-check); callers report such a lane as
# not run, naming the reason, rather than as failed.
rizer_lane_why_not() {
  if [ "$(lane_arch "$1")" = x86 ] && ! "$_rizer_lib_dir/ia32-check" 2>/dev/null; then
    echo "this machine's kernel runs no 32-bit code (its ia32 emulation is off), so Wine's WoW64 mode starts no 32-bit program"
    return 0
  fi
  return 1
}

# ---- waiting ------------------------------------------------------------------
# wait_for [--while PID] SECONDS FILE [TEXT]: answers 0 as soon as FILE exists
# or, with TEXT, as soon as a line of FILE holds TEXT ("": FILE is not
# empty); 1 after SECONDS (whole seconds, looked at 20 times a second) or,
# with --while, as soon as process PID has ended.
wait_for() {
  local pid='' i
  if [ "$1" = --while ]; then pid=$2; shift 2; fi
  for ((i = 0; i < $1 * 20; i++)); do
    if (($# > 2)); then
      grep -qF -- "$3" "$2" 2>/dev/null && return 0
    else
      [ -e "$2" ] && return 0
    fi
    [ -z "$pid" ] || kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.05
  done
  return 1
}

# ---- Wine's processes ---------------------------------------------------------
# prefix_pids PGREP-ARG...: the pids (one a line) of the processes pgrep finds
# whose environment names the prefix $WINEPREFIX.
prefix_pids() {
  local pid
  for pid in $(pgrep "$@"); do
    tr '\0' '\n' 2>/dev/null <"/proc/$pid/environ" | grep -qx "WINEPREFIX=${WINEPREFIX:-}" && echo "$pid"
  done
  return 0
}
wine_servers() { prefix_pids -x 'wineserver(64)?'; }
wine_desktops() { prefix_pids -f 'explorer.exe /desktop'; }

# ---- the tally ----------------------------------------------------------------
# A suite counts its checks in passed and failed and ends with tally_line,
# whose "N passed, M failed" is the line that test-inside.sh (and CI, from
# test.sh) reads.
#   check NAME COMMAND...   runs COMMAND: "ok   NAME" or "FAIL NAME"
#   tally_pass [LINE]       counts a pass (printing LINE, when given)
#   tally_fail [LINE]       counts a failure (the same)
#   tally_line [PREFIX [PASSED FAILED]]   prints PREFIX and "N passed, M
#                           failed" (default: the counts so far); answers 0
#                           when none failed
tally_pass() { passed=$((${passed:-0} + 1)); [ $# = 0 ] || echo "$1"; }
tally_fail() { failed=$((${failed:-0} + 1)); [ $# = 0 ] || echo "$1"; }
check() {
  local name=$1; shift
  if "$@"; then tally_pass "ok   $name"; else tally_fail "FAIL $name"; fi
}
tally_line() {
  local p=${2:-${passed:-0}} f=${3:-${failed:-0}}
  echo "${1:-}$p passed, $f failed"
  [ "$f" = 0 ]
}

# tally_suite NAME CODE LINE: counts a whole suite that exited with CODE, by
# its "N passed, M failed" LINE when it has one (else as one check), and
# prints "== NAME ok" or "== NAME FAILED". A suite that exited non-zero counts
# at least one failure.
tally_suite() {
  local p f
  if [[ "$3" =~ ([0-9]+)\ passed,\ ([0-9]+)\ failed ]]; then
    p=${BASH_REMATCH[1]} f=${BASH_REMATCH[2]}
  elif [ "$2" = 0 ]; then p=1 f=0; else p=0 f=1; fi
  [ "$2" != 0 ] && [ "$f" = 0 ] && f=1
  passed=$((${passed:-0} + p)) failed=$((${failed:-0} + f))
  printf '== %-28s %s\n' "$1" "$([ "$2" = 0 ] && echo ok || echo FAILED)"
}

# ctest_counts OUTPUT: ctest's summary as "N passed, M failed".
ctest_counts() {
  local total bad
  total=$(grep -oE 'out of [0-9]+' <<<"$1" | grep -oE '[0-9]+' | tail -1)
  bad=$(grep -oE '[0-9]+ tests failed' <<<"$1" | grep -oE '^[0-9]+' | tail -1)
  tally_line "" $((${total:-0} - ${bad:-0})) "${bad:-0}" || true
}

# ctest_failures OUTPUT: from the output of `ctest --output-on-failure`, the
# failing tests' own failure lines, at most 60: each GoogleTest failure (its
# "file:line: Failure" and the lines after it up to the next "[" line:
# Expected, Which is, Value of, Actual...), each failed test's "[  FAILED  ]"
# line, the sanitizers' and the scripts' reports (ERROR:, runtime error:,
# FAIL) with a few lines after them.
ctest_failures() {
  awk '
    /^\[  FAILED  \] .*\([0-9]+ ms\)$/ { print; n = 0; next }
    /^\[/ { n = 0 }
    /: Failure$/ || /ERROR: [A-Za-z]+Sanitizer/ || /: runtime error: / { print "--"; n = 9 }
    /^FAIL/ && n == 0 { print; next }
    n > 0 { print; n-- }' <<<"$1" | head -n 60
}
