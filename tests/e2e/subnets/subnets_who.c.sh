# rizer-cli who with the key, on a machine with a leg on each subnet: its
# empty acknowledged frame goes through both adapters, and every copy of the
# group answers: Ann and Bob on their one subnet each, Xena and Yuri, who
# hear it twice. A copy shows nothing of it.
for s in a b x y; do await "$s-open" 60 || exit 1; done
"$CLI" --key "$KEY" who >"$SIGNALS/who" 2>"$SIGNALS/who.err"
echo "who: exit $?"
sed 's/^/answered: /' "$SIGNALS/who"
cat "$SIGNALS/who.err"
# Xena and Yuri answer from the address of the adapter the frame came in
# through first: either of theirs.
for s in 1 4; do
  grep -qE "^10\.77\.[23]\.$s\$" "$SIGNALS/who" && echo "side $s answered"
done
signal cli-done
