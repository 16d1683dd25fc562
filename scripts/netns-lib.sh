# Sourced by netns-lan and netns-subnets: a LAN of private network
# namespaces, one per command, whose legs plug into bridges that live in a
# namespace of their own (the switch), one bridge per subnet. Subnet s is
# 10.77.(s+1).0/24 (s from 1 to 8); side i's leg on it has 10.77.(s+1).i.
# Each side's legs are rzl0, rzl1, ... in the order of its subnets, and its
# default route goes through rzl0, so that a broadcast to 255.255.255.255
# leaves through that leg alone. Nothing here touches the machine's own
# interfaces or routes.
#
#   lan_commands ARG...          splits "CMD_1 ... -- CMD_2 ... [-- ...]" into
#                                lan_words and lan_starts; lan_size is their
#                                number
#   lan_command I                the words of command I (from 1) in lan_cmd
#   lan_run NAME SUBNETS...      makes the LAN (SUBNETS[i-1]: side i's subnets,
#                                comma-separated, "1" or "1,2"), runs every
#                                command in its side's namespace at once,
#                                waits for all, removes everything (also on
#                                interrupt, through the caller's trap) and
#                                answers 0 only when every command did
#
# In each command: RIZER_NETNS=1, RIZER_LAN_SIDE (1, 2, ...), RIZER_LAN_SIZE,
# RIZER_LAN_ADDR (this side's address on rzl0), RIZER_LAN_ADDRS (its
# addresses in the order of its legs), RIZER_LAN_SUBNETS (its subnets in that
# order) and RIZER_LAN_DIR, a folder every side shares (for "I am ready"
# files), which also holds `sides`: one line per side, "I ADDRESS...".

lan_here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

lan_commands() {
  lan_words=() lan_starts=(0)
  local arg
  for arg in "$@"; do
    if [ "$arg" = -- ]; then lan_starts+=(${#lan_words[@]}); else lan_words+=("$arg"); fi
  done
  lan_starts+=(${#lan_words[@]})
  lan_size=$((${#lan_starts[@]} - 1))
  local i
  for ((i = 0; i < lan_size; i++)); do
    [ "${lan_starts[i + 1]}" -gt "${lan_starts[i]}" ] || return 1
  done
}

lan_command() {  # index from 1
  local i=$1
  lan_cmd=("${lan_words[@]:${lan_starts[i - 1]}:$((lan_starts[i] - lan_starts[i - 1]))}")
}

lan_address() {  # subnet, side
  echo "10.77.$(($1 + 1)).$2"
}

# Valid subnet lists: 1 to 8, comma-separated, none twice.
lan_subnets_valid() {  # list
  local s seen=" "
  [[ "$1" =~ ^[1-8](,[1-8])*$ ]] || return 1
  for s in ${1//,/ }; do
    [[ "$seen" == *" $s "* ]] && return 1
    seen+="$s "
  done
}

lan_cleanup() {
  local p i
  for p in "${lan_pids[@]}"; do kill "$p" 2>/dev/null || true; done
  for ((i = 1; i <= ${lan_made:-0}; i++)); do
    # Whatever our commands left running inside (a wineserver, an Xvfb).
    for p in $(ip netns pids "$lan_tag-$i" 2>/dev/null); do kill "$p" 2>/dev/null || true; done
    ip netns del "$lan_tag-$i" 2>/dev/null || true
  done
  ip netns del "$lan_tag-switch" 2>/dev/null || true
  [ -n "${lan_dir:-}" ] && rm -rf "$lan_dir"
  lan_made=0 lan_dir=
}

lan_run() {  # name, subnets of side 1, of side 2, ...
  local name=$1; shift
  local subnets=("$@") i s leg ns addrs sw
  [ "$(id -u)" = 0 ] || { echo "$name: must run as root" >&2; return 1; }
  lan_tag="rz${name#netns-}-$$" lan_pids=() lan_made=0
  lan_dir=$(mktemp -d "/tmp/rz${name#netns-}.XXXXXX")
  trap lan_cleanup EXIT
  trap 'exit 130' INT TERM

  sw="$lan_tag-switch"
  ip netns add "$sw"
  ip -n "$sw" link set lo up
  for s in $(printf '%s\n' "${subnets[@]}" | tr ',' '\n' | sort -u); do
    ip -n "$sw" link add "rzbr$s" type bridge forward_delay 0 stp_state 0
    ip -n "$sw" link set "rzbr$s" up
  done
  for ((i = 1; i <= lan_size; i++)); do
    ns="$lan_tag-$i"
    ip netns add "$ns"
    lan_made=$i
    ip -n "$ns" link set lo up
    leg=0 addrs=
    for s in ${subnets[i - 1]//,/ }; do
      ip -n "$sw" link add "rzp${i}s$s" type veth peer name "rzl$leg" netns "$ns"
      ip -n "$sw" link set "rzp${i}s$s" master "rzbr$s"
      ip -n "$sw" link set "rzp${i}s$s" up
      ip -n "$ns" addr add "$(lan_address "$s" "$i")/24" broadcast + dev "rzl$leg"
      ip -n "$ns" link set "rzl$leg" up
      addrs+=" $(lan_address "$s" "$i")"
      leg=$((leg + 1))
    done
    ip -n "$ns" route add default dev rzl0
    echo "$i$addrs" >>"$lan_dir/sides"
  done

  for ((i = 1; i <= lan_size; i++)); do
    lan_command "$i"
    addrs=$(sed -n "${i}p" "$lan_dir/sides" | cut -d' ' -f2-)
    ip netns exec "$lan_tag-$i" env RIZER_NETNS=1 RIZER_LAN_SIDE="$i" RIZER_LAN_SIZE="$lan_size" \
      RIZER_LAN_ADDR="${addrs%% *}" RIZER_LAN_ADDRS="$addrs" RIZER_LAN_SUBNETS="${subnets[i - 1]//,/ }" \
      RIZER_LAN_DIR="$lan_dir" \
      bash -c '"$0/netns-check" && exec "$@"' "$lan_here" "${lan_cmd[@]}" &
    lan_pids+=($!)
  done
  local failed=0 p
  for p in "${lan_pids[@]}"; do wait "$p" || failed=1; done
  lan_pids=()
  [ "$failed" = 0 ]
}
