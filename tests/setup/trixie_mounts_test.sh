#!/usr/bin/env bash
# setup-trixie.sh against a stand-in debootstrap that mounts /proc inside the
# root it builds, as the real one does: whatever ends the set-up, nothing
# stays mounted there, and a root left with /proc mounted by a set-up that
# was killed outright is unmounted before the next one removes it. Runs in a
# private mount namespace of its own, with a cache of its own: the machine's
# mounts and cache are never touched. Needs root (unshare --mount).
set -u
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/lib.sh"
if [ "${1:-}" != --inside ]; then
  exec unshare --mount --propagation private -- bash "$0" --inside
fi
work=$(mktemp -d)
# (the stand-in's mounts go first: nothing is removed through them)
trap 'awk "{ print \$5 }" /proc/self/mountinfo | grep "^$work/" | sort -r | xargs -r umount -l; rm -rf "$work"' EXIT
export RIZER_CACHE=$work/cache APT_ETC=$work/apt RIZER_CODENAME=bookworm TMPDIR=$work
mkdir -p "$APT_ETC" "$RIZER_CACHE/debootstrap/usr/sbin"
echo 'deb http://mirror.example/debian bookworm main' >"$APT_ETC/sources.list"
touch "$RIZER_CACHE/debootstrap/.rizer-ready"
# The stand-in: notes whether its target still has a mount in it, mounts
# /proc there, says so, then waits to be ended ($work/mode "term": it ends
# the set-up itself with TERM).
cat >"$RIZER_CACHE/debootstrap/usr/sbin/debootstrap" <<STANDIN
#!/usr/bin/env bash
target=\$4
grep -q " \$target/" /proc/self/mountinfo && echo mounted >"$work/found" || echo clean >"$work/found"
mkdir -p "\$target/proc" && mount -t proc proc "\$target/proc" && touch "$work/mounted"
[ "\$(cat "$work/mode")" = term ] && kill -TERM 0
sleep 60
STANDIN
chmod +x "$RIZER_CACHE/debootstrap/usr/sbin/debootstrap"
source "$root/scripts/trixie-env.sh"
passed=0 failed=0

mounts_in_root() { grep -c " $rizer_trixie/" /proc/self/mountinfo; }
# run_setup MODE SIGNAL: a set-up in a process group of its own, ended with
# SIGNAL (or by the stand-in, mode term) once /proc is mounted in the root.
run_setup() {
  local pid
  rm -f "$work/mounted" "$work/found"
  echo "$1" >"$work/mode"
  setsid bash "$root/scripts/setup-trixie.sh" >"$work/log" 2>&1 &
  pid=$!
  wait_for 20 "$work/mounted" || { echo "no mount by the stand-in:"; cat "$work/log"; }
  [ "$2" = none ] || kill "-$2" -- "-$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
  sleep 0.2
}

run_setup wait TERM
check "the set-up ended by TERM while /proc is mounted in the root: nothing stays mounted" \
  [ "$(mounts_in_root)" = 0 ]
run_setup wait KILL
check "(killed outright, /proc stays mounted in the root)" [ "$(mounts_in_root)" = 1 ]
run_setup term none
check "the next set-up unmounts it before it removes the half-built root" [ "$(cat "$work/found" 2>/dev/null)" = clean ]
check "... and leaves nothing mounted when it ends" [ "$(mounts_in_root)" = 0 ]
tally_line
