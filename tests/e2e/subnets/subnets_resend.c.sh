# rizer-cli with the key on a machine with a leg on each subnet sends an
# acknowledged chat line and resends it every 500 ms for 1.6 s, each resend
# through both adapters: Ann (subnet 1), Bob (subnet 2) and Yuri (both) show
# it once and acknowledge it. A plain closing line follows.
for s in a b y; do await "$s-open" 60 || exit 1; done
"$CLI" --key "$KEY" --reliable --wait 1600 chat Admin "once, though resent" >"$SIGNALS/acks" 2>"$SIGNALS/acks.err"
echo "reliable: exit $?"
sed 's/^/acknowledged by /' "$SIGNALS/acks"
cat "$SIGNALS/acks.err"
grep -qE '^10\.77\.[23]\.4$' "$SIGNALS/acks" && echo "Yuri acknowledged"
"$CLI" --key "$KEY" chat Admin end
