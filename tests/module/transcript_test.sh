#!/usr/bin/env bash
# transcript.sh's verdicts, natively: a copy of it in a folder of its own runs
# a stand-in scripts/wine-run that prints a given text and exits with a given
# code. A transcript passes only when the lines match (the catalogue and
# ledger lines left out) and the host exited 0, whatever its output.
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/lib.sh"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/tests/module" "$work/scripts"
cp "$root/tests/module/transcript.sh" "$work/tests/module/"
cat >"$work/scripts/wine-run" <<'STANDIN'
#!/usr/bin/env bash
printf '%b' "$STANDIN_OUT"
exit "$STANDIN_EXIT"
STANDIN
chmod +x "$work/scripts/wine-run"
passed=0 failed=0

# verdict | host's output | host's exit code | expected transcript | what
rows='pass|Script ok\r\n|0|Script ok\n|same lines, exit 0
pass|AddAction 1 x\r\nScript ok\r\nExpectations: 1 passed, 0 failed\r\n|0|Script ok\n|catalogue and ledger lines left out
fail|Script ok\r\n|1|Script ok\n|same lines, but the host exited 1
fail||1|\n|nothing printed, the host exited 1
fail|Script ok\r\n|0|Script other\n|other lines, exit 0'
verdict() {  # output, exit code, expected
  printf '%b' "$3" >"$work/expected"
  STANDIN_OUT=$1 STANDIN_EXIT=$2 bash "$work/tests/module/transcript.sh" host.exe module.cvp script.cvs \
    "$work/expected" >/dev/null 2>&1 && echo pass || echo fail
}
while IFS='|' read -r want out code expected what; do
  check "$what: $want" [ "$(verdict "$out" "$code" "$expected")" = "$want" ]
done <<<"$rows"
tally_line
