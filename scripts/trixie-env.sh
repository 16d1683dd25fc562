# Sourced: where the trixie root with Wine 10 lives. Shared by every clone and
# worktree on the machine; RIZER_CACHE moves it (default /var/cache/rizer).
#
# The root's folder carries a hash of the files that make it (this file,
# setup-trixie.sh with its package list, trixie-root, apt-mirror and
# setup-lib.sh): a change to any of them makes the next set-up build a new
# root from nothing, so every change to the set-up runs its cold path once,
# and clones at different commits each find their own root.
rizer_cache=${RIZER_CACHE:-/var/cache/rizer}
_rizer_scripts=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
rizer_trixie_hash=$(
  for f in trixie-env.sh setup-trixie.sh trixie-root apt-mirror setup-lib.sh; do
    printf '%s\n' "$f"; cat "$_rizer_scripts/$f"
  done | sha256sum | cut -c1-12)
rizer_trixie=$rizer_cache/trixie-$rizer_trixie_hash
# Wine 10's prefix template, made once per root (see wine-env.sh) and seen at
# the same path inside the root.
rizer_prefixes=$rizer_cache/prefixes-$rizer_trixie_hash
