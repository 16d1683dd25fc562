# A GoSub sent with the key to Ann alone (rizer-cli --to, acknowledged) is
# recorded by a tap on this machine's leg on subnet 1 and sent again to Bob's
# address, to subnet 2's broadcast address and to 255.255.255.255 (subnet 1).
# The frame names Ann as its destination: it runs on Ann once (the copy
# through the broadcast is a replay there) and nowhere else; taps on Ann's
# and Bob's legs prove that the copies arrived. Xena's closing line, on both
# subnets, ends the case for every copy and tap.
for s in a b x y; do await "$s-open" 60 || exit 1; done
for t in tap-ready a-count-ready b-count-ready; do await "$t" 30 || exit 1; done
"$CLI" --key "$KEY" --to 10.77.2.2 --reliable gosub Target >"$SIGNALS/acks" 2>"$SIGNALS/acks.err"
echo "reliable: exit $?"
sed 's/^/acknowledged by /' "$SIGNALS/acks"
cat "$SIGNALS/acks.err"
await replayed 30 || exit 1
signal cli-done
