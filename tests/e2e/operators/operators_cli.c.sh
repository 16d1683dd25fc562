# The console: rizer-cli with the group's key, signing with the teacher's
# riZER.operator and without it, and its own listener, which names the
# signer of what it takes and why it drops the rest.
for s in t a b; do await "$s-open" 60 || exit 1; done
"$CLI" --key "$KEY" --verbose listen --count 3 --seconds 30 >"$SIGNALS/heard" 2>"$SIGNALS/heard.err" &
listener=$!
wait_for 5 "$SIGNALS/heard.err" "listening on port"
"$CLI" --key "$KEY" --operator "$OPERATOR" gosub FromCli
echo "signed gosub: exit $?"
"$CLI" --key "$KEY" --operator "$OPERATOR" box "Signed at the console" Information
echo "signed box: exit $?"
"$CLI" --key "$KEY" gosub Unsigned
echo "unsigned gosub: exit $?"
"$CLI" --key "$KEY" box "Unsigned at the console" Error
echo "unsigned box: exit $?"
"$CLI" --key "$KEY" chat Admin end
echo "chat: exit $?"
wait $listener
echo "listen: exit $?"
sed 's/^/heard: /' "$SIGNALS/heard"
sed 's/^/listen: /' "$SIGNALS/heard.err"
