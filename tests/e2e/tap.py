#!/usr/bin/python3
"""tap.py: a listener on one side of an end-to-end LAN (run by side.sh inside
that side's network namespace, never elsewhere). Sees every UDP datagram to
the plug-in's port that crosses the side's interface, both ways, through a
packet socket, so it binds no port and takes nothing from the hosts.

  tap.py --iface IF --signals DIR --until ADDR:PORT [--ready NAME]
         [--replay-from ADDR [--replay-to ADDR]... --times N] [--count-captured]
         [--report ADDR] [--port P] [--seconds S]

Touches DIR/NAME (default DIR/tap-ready) once it listens. Prints one line
per datagram heard ("tap: heard ADDR:PORT kind K, N bytes"). With
--replay-from, the first datagram from ADDR is written to DIR/captured (in
hexadecimal) and sent again N times to each --replay-to address (default
255.255.255.255) from a socket of its own, then DIR/replayed is touched.
Ends at the first datagram from ADDR:PORT given by --until (a host's marker,
sent once the case's other sends are done: everything before it in the
interface's order has been seen), printing "tap: N datagrams from ADDR" per
sender and, with --count-captured, "tap: N copies of the captured frame
arrived": the datagrams that came in through IF (not those this machine
sent) byte for byte equal to DIR/captured, which another side's tap wrote.
Exits 1 when the marker does not come within --seconds, when there was
nothing to replay or no captured frame to count.
"""
import argparse
import os
import socket
import struct
import sys
import time

ETH_P_ALL = 0x0003
ETH_P_IP = 0x0800
PACKET_OUTGOING = 4


def refuse_outside_namespace():
    here = os.path.dirname(os.path.abspath(__file__))
    check = os.path.join(here, "..", "..", "scripts", "netns-check")
    if os.environ.get("RIZER_NETNS") != "1" or os.system(check + " >/dev/null 2>&1") != 0:
        print("tap: refusing to run outside a private network namespace", flush=True)
        sys.exit(2)


def udp_of(packet):
    """(source address, source port, destination port, payload) or None."""
    if len(packet) < 20 or packet[0] >> 4 != 4 or packet[9] != 17:
        return None
    ihl = (packet[0] & 15) * 4
    total = struct.unpack("!H", packet[2:4])[0]
    if len(packet) < ihl + 8 or total > len(packet):
        return None
    sport, dport, length = struct.unpack("!HHH", packet[ihl:ihl + 6])
    if length < 8 or ihl + length > total:
        return None
    return socket.inet_ntoa(packet[12:16]), sport, dport, bytes(packet[ihl + 8:ihl + length])


def main():
    ap = argparse.ArgumentParser()
    ap.add_argument("--iface", required=True)
    ap.add_argument("--signals", required=True)
    ap.add_argument("--until", required=True)
    ap.add_argument("--ready", default="tap-ready", help="the signal touched once listening")
    ap.add_argument("--replay-from")
    ap.add_argument("--replay-to", action="append", default=[], help="default 255.255.255.255")
    ap.add_argument("--count-captured", action="store_true")
    ap.add_argument("--report", action="append", default=[], help="an address whose count is printed even when 0")
    ap.add_argument("--times", type=int, default=3)
    ap.add_argument("--port", type=int, default=50150)
    ap.add_argument("--seconds", type=float, default=60)
    args = ap.parse_args()
    refuse_outside_namespace()
    until_addr, until_port = args.until.rsplit(":", 1)
    until = (until_addr, int(until_port))

    tap = socket.socket(socket.AF_PACKET, socket.SOCK_DGRAM, socket.htons(ETH_P_ALL))
    tap.bind((args.iface, 0))
    sender = socket.socket(socket.AF_INET, socket.SOCK_DGRAM)
    sender.setsockopt(socket.SOL_SOCKET, socket.SO_BROADCAST, 1)
    sender.bind(("", 0))
    own_port = sender.getsockname()[1]
    open(os.path.join(args.signals, args.ready), "w").close()
    print("tap: listening on %s" % args.iface, flush=True)

    counts = {}
    came_in = []  # payloads that came in through the interface, for --count-captured
    replayed = args.replay_from is None
    deadline = time.monotonic() + args.seconds
    while True:
        left = deadline - time.monotonic()
        if left <= 0:
            print("tap: no datagram from %s:%d within %g s" % (until + (args.seconds,)), flush=True)
            return 1
        tap.settimeout(left)
        try:
            packet, meta = tap.recvfrom(65536)
        except socket.timeout:
            continue
        if meta[1] != ETH_P_IP:
            continue
        udp = udp_of(packet)
        if udp is None or udp[2] != args.port or udp[1] == own_port:
            continue
        addr, sport, _, payload = udp
        if (addr, sport) == until:
            break
        counts[addr] = counts.get(addr, 0) + 1
        if meta[2] != PACKET_OUTGOING:
            came_in.append(payload)
        kind = payload[0] if payload else -1
        print("tap: heard %s:%d kind %d, %d bytes" % (addr, sport, kind, len(payload)), flush=True)
        if not replayed and addr == args.replay_from:
            with open(os.path.join(args.signals, "captured"), "w") as f:
                f.write(payload.hex())
            targets = args.replay_to or ["255.255.255.255"]
            for target in targets:
                for _ in range(args.times):
                    sender.sendto(payload, (target, args.port))
            replayed = True
            print("tap: captured kind %d, %d bytes from %s; sent again %d times to %s"
                  % (kind, len(payload), addr, args.times, ", ".join(targets)), flush=True)
            open(os.path.join(args.signals, "replayed"), "w").close()
    for addr in sorted(set(counts) | set(args.report) | {a for a in [args.replay_from] if a}):
        print("tap: %d datagrams from %s" % (counts.get(addr, 0), addr), flush=True)
    if not replayed:
        print("tap: nothing from %s to send again" % args.replay_from, flush=True)
        return 1
    if args.count_captured:
        try:
            with open(os.path.join(args.signals, "captured")) as f:
                captured = bytes.fromhex(f.read().strip())
        except (OSError, ValueError):
            print("tap: no captured frame to count", flush=True)
            return 1
        print("tap: %d copies of the captured frame arrived" % came_in.count(captured), flush=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
