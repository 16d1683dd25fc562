# The console: a few of flood.py's frames to its own listener, which must
# drop every one as forged; then the flood to the teacher's copy once its
# quiet seconds are over, and the teacher's GoSub FloodOver until it ran.
await t-open 60 || exit 1
"$CLI" --key "$KEY" --verbose listen --seconds 30 >/dev/null 2>"$SIGNALS/heard.err" &
listener=$!
wait_for 5 "$SIGNALS/heard.err" "listening on port"
/usr/bin/python3 tests/e2e/flood.py --key "$KEY" --signals "$SIGNALS" --to "$RIZER_LAN_ADDR" --count 20 --rate 100
sleep 0.5
kill $listener
wait $listener 2>/dev/null
echo "listener: $(grep -c ': forged (' "$SIGNALS/heard.err") dropped as forged, $(grep -c 'gosub Flood$' "$SIGNALS/heard.err") taken"
await t-quiet 60 || exit 1
/usr/bin/python3 tests/e2e/flood.py --key "$KEY" --signals "$SIGNALS" --to 10.77.2.1 --then FloodOver \
  --operator "$OPERATOR" --until t-over --wait 20
echo "flood: exit $?"
