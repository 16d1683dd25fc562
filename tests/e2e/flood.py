#!/usr/bin/python3
"""flood.py: a key holder's flood of badly signed commands, on one side of an
end-to-end LAN (run by a case's shell step inside that side's network
namespace, never elsewhere).

  flood.py --key FILE --signals DIR [--seconds S] [--rate N] [--count C] [--to ADDR]
           [--port P] [--then NAME --operator FILE --until SIGNAL... [--wait S]]

Sends, for S seconds (default 3) at about N frames a second (default 2000;
at most C frames when given),
GoSub "Flood" frames sealed with the group key of FILE (riZER.key) for
everybody, to ADDR (default 255.255.255.255), each signed in the name of the first operator FILE lists with a
signature that does not verify: a well-formed Ed25519 signature made by
another key, so that every receiver pays for a whole verification before it
drops the frame as forged. Then touches DIR/flood-done. With --then, sends
GoSub NAME properly signed with the operator key in --operator
(riZER.operator) every 200 ms until every --until signal is in DIR (at most
--wait seconds, default 60): a command of the operator's that has to get
through once the flood is over. Exits 1 when a signal did not come.

  flood.py --make-key FILE

writes a riZER.key for a benchmark: a new group key that lists one new
operator, whose secret key is thrown away (a flood needs none).
"""
import argparse
import os
import socket
import struct
import sys
import time

from nacl import bindings as nb
from nacl import encoding, hash as nhash

SIGNED = 0x80
EVERYBODY = b"\xff\xff\xff\xff"


def refuse_outside_namespace():
    here = os.path.dirname(os.path.abspath(__file__))
    check = os.path.join(here, "..", "..", "scripts", "netns-check")
    if os.environ.get("RIZER_NETNS") != "1" or os.system(check + " >/dev/null 2>&1") != 0:
        print("flood: refusing to run outside a private network namespace", flush=True)
        sys.exit(2)


def hex_lines(path):
    """The lines of a key file that are not empty and not comments."""
    with open(path) as f:
        return [line.strip() for line in f if line.strip() and not line.startswith("#")]


def read_key_file(path):
    """(group key, operators' public keys) of a riZER.key."""
    key, operators = None, []
    for line in hex_lines(path):
        if line.startswith("operator "):
            operators.append(bytes.fromhex(line.split()[1]))
        elif not line.startswith("max-skew"):
            key = bytes.fromhex(line)
    return key, operators


class Sealer:
    """Frames of one session: header, then the sealed plaintext (the layout of
    tests/net/sealed_interop.py)."""

    def __init__(self, key):
        self.key = key
        self.key_id = nhash.blake2b(key, digest_size=32, encoder=encoding.RawEncoder)[0]
        self.session = os.urandom(8)
        self.counter = 0

    def head(self):
        head = struct.pack("<BB8sII4s", 3, self.key_id, self.session, self.counter,
                           int(time.time()) & 0xFFFFFFFF, EVERYBODY)
        self.counter += 1
        return head

    def signed(self, inner, signer_pk, signing_sk):
        """The command `inner` with its signer's public key and a signature
        made with `signing_sk`: a real signature when that is the signer's
        secret key, else a well-formed one that does not verify."""
        head = self.head()
        plain = bytes([inner[0] | SIGNED]) + inner[1:] + signer_pk
        plain += nb.crypto_sign(head + plain, signing_sk)[:64]
        nonce = head[2:18] + bytes(8)
        return head + nb.crypto_aead_xchacha20poly1305_ietf_encrypt(plain, head, nonce, self.key)


def make_key(path):
    public, _ = nb.crypto_sign_keypair()
    with open(path, "x") as f:
        f.write("# riZER 2.0 group key of a flood benchmark\n%s\noperator %s\n" % (os.urandom(32).hex(), public.hex()))
    return 0


def main():
    if len(sys.argv) == 3 and sys.argv[1] == "--make-key":
        return make_key(sys.argv[2])
    ap = argparse.ArgumentParser()
    ap.add_argument("--key", required=True)
    ap.add_argument("--signals", required=True)
    ap.add_argument("--seconds", type=float, default=3)
    ap.add_argument("--rate", type=int, default=2000)
    ap.add_argument("--count", type=int, default=0)
    ap.add_argument("--to", default="255.255.255.255")
    ap.add_argument("--port", type=int, default=50150)
    ap.add_argument("--then")
    ap.add_argument("--operator")
    ap.add_argument("--until", nargs="*", default=[])
    ap.add_argument("--wait", type=float, default=60)
    args = ap.parse_args()
    refuse_outside_namespace()
    key, operators = read_key_file(args.key)
    if key is None or not operators:
        print("flood: %s has no key or lists no operator" % args.key, flush=True)
        return 2

    sender = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    sender.setsockopt(socket.SOL_SOCKET, socket.SO_BROADCAST, 1)
    to = (args.to, args.port)
    sealer = Sealer(key)
    _, stranger_sk = nb.crypto_sign_keypair()
    flood = b"\x00$AFlood"
    sent = 0
    started = time.monotonic()
    while time.monotonic() - started < args.seconds and (not args.count or sent < args.count):
        # A tenth of a second's frames, then a wait for the rest of it.
        batch_start = time.monotonic()
        batch = max(1, args.rate // 10)
        if args.count:
            batch = min(batch, args.count - sent)
        for _ in range(batch):
            try:
                sender.sendto(sealer.signed(flood, operators[0], stranger_sk), to)
                sent += 1
            except BlockingIOError:
                pass
        time.sleep(max(0.0, 0.1 - (time.monotonic() - batch_start)))
    took = time.monotonic() - started
    print("flood: %d badly signed GoSubs sent in %.1f s (%.0f a second)" % (sent, took, sent / took), flush=True)
    open(os.path.join(args.signals, "flood-done"), "w").close()

    if not args.then:
        return 0
    operator_sk = bytes.fromhex(hex_lines(args.operator)[0])
    then = b"\x00$A" + args.then.encode()
    times = 0
    deadline = time.monotonic() + args.wait
    while time.monotonic() < deadline:
        if all(os.path.exists(os.path.join(args.signals, s)) for s in args.until):
            print("flood: %s, signed, sent %d times before it ran everywhere" % (args.then, times), flush=True)
            return 0
        sender.sendto(sealer.signed(then, operator_sk[32:], operator_sk), to)
        times += 1
        time.sleep(0.2)
    missing = [s for s in args.until if not os.path.exists(os.path.join(args.signals, s))]
    print("flood: no %s within %g s after %d sends" % (", ".join(missing), args.wait, times), flush=True)
    return 1


if __name__ == "__main__":
    sys.exit(main())
