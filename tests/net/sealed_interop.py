#!/usr/bin/python3
"""A second implementation of the sealed frame, on python3-nacl, against the
keyed endpoint (sealed-peer): frames sealed here must open there, frames
sealed there must open here, and the checks drop what they must, each with
its reason.

    sealed_interop.py PATH-TO-sealed-peer
"""
import os
import struct
import subprocess
import sys

from nacl import bindings as nb
from nacl import encoding, hash as nhash

NOW = 1_800_000_000
SKEW = 300


def key_id(key):
    return nhash.blake2b(key, digest_size=32, encoder=encoding.RawEncoder)[0]


EVERYBODY = bytes([255, 255, 255, 255])
PEER = bytes([10, 0, 0, 2])    # the address sealed-peer sends to
ITSELF = bytes([10, 0, 0, 1])  # sealed-peer's own address, on 10.0.0.0/24


def seal(key, session, counter, clock, inner, kid=None, to=EVERYBODY):
    """Kind, key id, session, counter, clock (low 32 bits), destination (the
    IPv4 address as on the wire), then the sealed inner frame; the header is
    the additional data."""
    head = struct.pack("<BB8sII4s", 3, key_id(key) if kid is None else kid, session, counter,
                       clock & 0xFFFFFFFF, to)
    nonce = head[2:18] + bytes(8)
    return head + nb.crypto_aead_xchacha20poly1305_ietf_encrypt(inner, head, nonce, key)


SIGNED = 0x80


def seal_plain(key, session, counter, clock, plain, to=EVERYBODY):
    """Any plaintext sealed as a key holder can, for the signature cases."""
    head = struct.pack("<BB8sII4s", 3, key_id(key), session, counter, clock & 0xFFFFFFFF, to)
    return head + nb.crypto_aead_xchacha20poly1305_ietf_encrypt(plain, head, head[2:18] + bytes(8), key)


def signed_plain(key, session, counter, clock, inner, sk, to=EVERYBODY):
    """The plaintext of an operator's command: the inner frame with the flag
    in its kind byte, the operator's public key, and the Ed25519 signature of
    the sealed header followed by all of that."""
    head = struct.pack("<BB8sII4s", 3, key_id(key), session, counter, clock & 0xFFFFFFFF, to)
    plain = bytes([inner[0] | SIGNED]) + inner[1:] + sk[32:]
    signature = nb.crypto_sign(head + plain, sk)[:64]
    return plain + signature


def seal_signed(key, session, counter, clock, inner, sk, to=EVERYBODY):
    return seal_plain(key, session, counter, clock, signed_plain(key, session, counter, clock, inner, sk, to), to)


def unseal(key, frame):
    """(session, counter, clock, inner, destination) of a frame sealed with `key`; raises on a bad one."""
    assert frame[0] == 3, "kind"
    assert frame[1] == key_id(key), "key id"
    assert 39 <= len(frame) <= 389, "length"
    head = frame[:22]
    inner = nb.crypto_aead_xchacha20poly1305_ietf_decrypt(frame[22:], head, head[2:18] + bytes(8), key)
    _, _, session, counter, clock, to = struct.unpack("<BB8sII4s", head)
    return session, counter, clock, inner, to


def try_unseal(key, frame):
    try:
        return unseal(key, frame)
    except Exception as e:  # noqa: BLE001 - any failure to open is the finding
        return (None, None, None, f"<does not open: {e!r}>", None)


class Peer:
    def __init__(self, path, key, operators=()):
        self.p = subprocess.Popen([path, key.hex(), str(SKEW), str(NOW)] + [k.hex() for k in operators],
                                  stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)

    def ask(self, line):
        self.p.stdin.write(line + "\n")
        self.p.stdin.flush()
        answer, sent = None, []
        while True:
            out = self.p.stdout.readline().strip()
            if out == "end" or not out:
                return answer, sent
            if out.startswith("sent "):
                sent.append(bytes.fromhex(out[5:]))
            else:
                answer = out

    def close(self):
        self.p.stdin.close()
        return self.p.wait(timeout=10)


def main():
    failures = []

    def check(what, got, want):
        if got != want:
            failures.append(f"{what}: got {got!r}, want {want!r}")

    key, other = os.urandom(32), os.urandom(32)
    while key_id(other) == key_id(key):
        other = os.urandom(32)
    peer = Peer(sys.argv[1], key)
    s1, s2 = os.urandom(8), os.urandom(8)
    chat = b"\x00<Ann>: hi"
    forged = bytearray(seal(key, s1, 9, NOW, chat))
    forged[20] ^= 1

    # Frames sealed here, each with what the endpoint must make of it.
    cases = [
        ("a plain frame", seal(key, s1, 0, NOW, chat), ("payload " + chat[1:].hex(), [])),
        ("the same frame again", seal(key, s1, 0, NOW, chat), ("dropped replayed", [])),
        ("the next counter", seal(key, s1, 1, NOW, b"\x00$ARun"), ("payload " + b"$ARun".hex(), [])),
        ("clock at +max-skew", seal(key, s1, 2, NOW + SKEW, chat), ("payload " + chat[1:].hex(), [])),
        ("clock at -max-skew", seal(key, s1, 3, NOW - SKEW, chat), ("payload " + chat[1:].hex(), [])),
        ("clock one second further", seal(key, s1, 4, NOW + SKEW + 1, chat), ("dropped stale", [])),
        ("clock one second behind", seal(key, s1, 4, NOW - SKEW - 1, chat), ("dropped stale", [])),
        ("counter 4 after the stale ones", seal(key, s1, 4, NOW, chat), ("payload " + chat[1:].hex(), [])),
        ("a flipped ciphertext bit", bytes(forged), ("dropped forged", [])),
        ("the right id, the wrong key", seal(other, s1, 10, NOW, chat, kid=key_id(key)),
         ("dropped forged", [])),
        ("another key", seal(other, s1, 11, NOW, chat), ("dropped another key", [])),
        ("unkeyed", chat, ("dropped unkeyed", [])),
        ("too short", seal(key, s1, 12, NOW, chat)[:38], ("dropped malformed", [])),
        ("longer than a signed frame", seal(key, s1, 12, NOW, b"\x00" + b"L" * 254) + b"L" * 97,
         ("dropped malformed", [])),
        ("an unsigned inner frame of 256 bytes", seal_plain(key, s1, 12, NOW, b"\x00" + b"L" * 255),
         ("dropped malformed", [])),
        ("the largest", seal(key, s1, 13, NOW, b"\x00" + b"L" * 254), ("payload " + (b"L" * 254).hex(), [])),
        ("to its own address", seal(key, s1, 14, NOW, chat, to=ITSELF), ("payload " + chat[1:].hex(), [])),
        ("to its subnet", seal(key, s1, 15, NOW, chat, to=bytes([10, 0, 0, 255])),
         ("payload " + chat[1:].hex(), [])),
        ("to another machine", seal(key, s1, 16, NOW, chat, to=PEER), ("dropped misdirected", [])),
        ("to another subnet", seal(key, s1, 17, NOW, chat, to=bytes([10, 0, 1, 255])),
         ("dropped misdirected", [])),
        ("misdirected, then for everybody", seal(key, s1, 16, NOW, chat), ("payload " + chat[1:].hex(), [])),
        ("destination changed after sealing",
         seal(key, s1, 18, NOW, chat, to=PEER)[:18] + ITSELF + seal(key, s1, 18, NOW, chat, to=PEER)[22:],
         ("dropped forged", [])),
        ("a clock across 2106", seal(key, s1, 19, NOW + (1 << 32), chat), ("payload " + chat[1:].hex(), [])),
        ("far ahead", seal(key, s1, 100, NOW, chat), ("payload " + chat[1:].hex(), [])),
        ("64 below the highest", seal(key, s1, 36, NOW, chat), ("dropped replayed", [])),
        ("63 below the highest", seal(key, s1, 37, NOW, chat), ("payload " + chat[1:].hex(), [])),
        ("another session", seal(key, s2, 0, NOW, chat), ("payload " + chat[1:].hex(), [])),
    ]
    for what, frame, (want, want_sent) in cases:
        answer, sent = peer.ask("recv " + frame.hex())
        check(what, (answer, sent), (want, want_sent))

    # A reliable frame: delivered once, acknowledged sealed every time.
    reliable = seal(key, s2, 1, NOW, b"\x02\x34\x12$M2Stop")
    for what, frame, want in [("reliable", reliable, "payload " + b"$M2Stop".hex()),
                              ("its repeat, sealed anew", seal(key, s2, 2, NOW, b"\x02\x34\x12$M2Stop"),
                               "dropped repeat"),
                              ("a replay of it", reliable, "dropped replayed")]:
        answer, sent = peer.ask("recv " + frame.hex())
        check(what, answer, want)
        if want != "dropped replayed":
            check(what + ": one acknowledgement", len(sent), 1)
            if sent:
                check(what + ": acknowledgement", unseal(key, sent[0])[3], b"\x01\x34\x12")
                check(what + ": acknowledgement's destination", unseal(key, sent[0])[4], PEER)
        else:
            check(what + ": no acknowledgement", sent, [])

    # Frames sealed there: opened here, counted from 0 in one session, with
    # the endpoint's clock; the acknowledgements it sent above came first.
    seen = []
    for how, payload, inner in [("plain", b"<Bob>: yo", b"\x00<Bob>: yo"),
                                ("reliable", b"$ARefresh", None),
                                ("plain", b"x" * 254, b"\x00" + b"x" * 254)]:
        _, sent = peer.ask(f"send {how} {payload.hex()}")
        check(f"send {how}: one datagram", len(sent), 1)
        if not sent:
            continue
        try:
            session, counter, clock, got, to = unseal(key, sent[0])
        except Exception as e:  # noqa: BLE001 - any failure to open is the finding
            failures.append(f"send {how}: does not open: {e!r}")
            continue
        check(f"send {how}: clock", clock, NOW)
        check(f"send {how}: destination", to, PEER)
        if inner is None:
            check("send reliable: kind", got[0], 2)
            check("send reliable: payload", got[3:], payload)
        else:
            check(f"send {how}: inner frame", got, inner)
        seen.append((session, counter))
    check("one session, counters in order", [c for _, c in seen], [2, 3, 4])
    check("one session", len({s for s, _ in seen}), 1)
    # This side's opener refuses what it must, too: a flipped byte, another key.
    _, sent = peer.ask("send plain " + b"<Bob>: again".hex())
    check("send plain: opens", try_unseal(key, sent[0])[3], b"\x00<Bob>: again")
    for what, frame, k in [("a flipped byte", sent[0][:30] + bytes([sent[0][30] ^ 4]) + sent[0][31:], key),
                           ("another key", sent[0], other)]:
        try:
            unseal(k, frame)
            failures.append(f"{what}: opened here")
        except Exception:  # noqa: BLE001 - refused, as it must be
            pass
    peer.ask(f"clock {NOW + 1000}")
    _, sent = peer.ask("send plain 00")
    check("the clock seam", try_unseal(key, sent[0])[2] if sent else None, NOW + 1000)
    peer.ask(f"clock {(1 << 32) + 7}")
    _, sent = peer.ask("send plain 00")
    check("the clock's low 32 bits after 2106", try_unseal(key, sent[0])[2] if sent else None, 7)
    _, sent = peer.ask("send plain " + (b"x" * 255).hex())
    check("an inner frame over 255 bytes is not sent", sent, [])

    rc = peer.close()
    check("sealed-peer exit", rc, 0)

    # Operators: the group lists the teacher's key (and another); a command
    # ('$' first) is taken only signed by one of them.
    teacher_pk, teacher_sk = nb.crypto_sign_keypair()
    student_pk, student_sk = nb.crypto_sign_keypair()
    other_pk, _ = nb.crypto_sign_keypair()
    peer = Peer(sys.argv[1], key, [other_pk, teacher_pk])
    s3 = os.urandom(8)
    go = b"\x00$AShutdown"
    bad = bytearray(signed_plain(key, s3, 5, NOW, go, teacher_sk))
    bad[-1] ^= 1
    moved = bytes([go[0] | SIGNED]) + b"$AReboot" + signed_plain(key, s3, 6, NOW, go, teacher_sk)[-96:]
    cases = [
        ("a command signed by the teacher", seal_signed(key, s3, 0, NOW, go, teacher_sk), "payload " + go[1:].hex()),
        ("the same again", seal_signed(key, s3, 0, NOW, go, teacher_sk), "dropped replayed"),
        ("a command unsigned", seal(key, s3, 1, NOW, go), "dropped unsigned"),
        ("a chat line unsigned", seal(key, s3, 2, NOW, chat), "payload " + chat[1:].hex()),
        ("a command signed by a student", seal_signed(key, s3, 3, NOW, go, student_sk), "dropped not an operator"),
        ("an acknowledged command signed by the teacher",
         seal_signed(key, s3, 4, NOW, b"\x02\x05\x00$M1Hello", teacher_sk), "payload " + b"$M1Hello".hex()),
        ("a signature that does not verify", seal_plain(key, s3, 5, NOW, bytes(bad)), "dropped forged"),
        ("a signature moved onto another command", seal_plain(key, s3, 6, NOW, moved), "dropped forged"),
        ("signed for another frame (counter 7, sealed as 8)",
         seal_plain(key, s3, 8, NOW, signed_plain(key, s3, 7, NOW, go, teacher_sk)), "dropped forged"),
        ("signed for everybody, sealed to this copy",
         seal_plain(key, s3, 9, NOW, signed_plain(key, s3, 9, NOW, go, teacher_sk), to=ITSELF), "dropped forged"),
    ]
    for what, frame, want in cases:
        answer, _ = peer.ask("recv " + frame.hex())
        check(what, answer, want)
    # The endpoint as the teacher: it signs its commands, and nothing else.
    answer, _ = peer.ask("operator " + teacher_sk.hex())
    check("operator key taken", answer, "signing")
    for how, payload, signs in [("plain", b"$ARefresh", True), ("reliable", b"$M2Careful", True),
                                ("plain", b"<T>: hi", False)]:
        _, sent = peer.ask(f"send {how} {payload.hex()}")
        if len(sent) != 1:
            failures.append(f"teacher's {how} {payload!r}: {len(sent)} datagrams")
            continue
        session, counter, clock, plain, to = try_unseal(key, sent[0])
        if session is None:
            failures.append(f"teacher's {how} {payload!r}: {plain}")
            continue
        check(f"teacher's {payload!r}: signed", bool(plain[0] & SIGNED), signs)
        if signs:
            check(f"teacher's {payload!r}: its key", plain[-96:-64], teacher_pk)
            try:
                nb.crypto_sign_open(plain[-64:] + sent[0][:22] + plain[:-64], teacher_pk)
            except Exception as e:  # noqa: BLE001 - any failure to verify is the finding
                failures.append(f"teacher's {payload!r}: signature does not verify here: {e!r}")
            check(f"teacher's {payload!r}: inner frame", plain[1:-96].endswith(payload), True)
        else:
            check(f"teacher's {payload!r}: as from anyone", plain, b"\x00" + payload)
    check("sealed-peer exit (operators)", peer.close(), 0)
    for f in failures:
        print("FAIL:", f)
    print(f"sealed frame interop: {len(failures)} failures")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
