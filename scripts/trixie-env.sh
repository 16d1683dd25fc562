# Sourced: where the trixie root with Wine 10 lives. Shared by every clone and
# worktree on the machine; RIZER_CACHE moves it (default /var/cache/rizer).
rizer_cache=${RIZER_CACHE:-/var/cache/rizer}
rizer_trixie=$rizer_cache/trixie
# Wine 10's prefix made once per machine (see wine-env.sh), seen at the same
# path inside the root.
rizer_prefixes=$rizer_cache/prefixes
