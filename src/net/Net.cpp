#include "net/Net.h"

#include <array>
#include <cstring>
#include <memory>

#include <sodium.h>

#include "net/Adapters.h"
#include "net/ReplayWindow.h"
#include "net/SealedFrame.h"
#include "net/SocketApi.h"

namespace cv {
namespace {

namespace sock = net::sock;

// Module state of the endpoint.
bool NetReady = false;
sock::Handle NetSocket = sock::kNoSocket;
std::unique_ptr<std::uint8_t[]> SendBuf;
std::unique_ptr<std::uint8_t[]> RecvBuf;
std::int32_t SendLen = 1;
std::uint16_t SeqNo = 1;
std::vector<TAPLpacket> PendingList;
// Lives as long as the module: neither NetInit nor NetClose touches it.
std::array<TAPLreg, kNetSeenRingSize> SeenRing;
int SeenIndex = 0;
// Datagrams consumed since NetInit, by reason.
std::array<std::uint32_t, kNetConsumedReasons> ConsumedCounts{};

// A keyed endpoint: every frame goes out sealed into SealBuf; only sealed
// frames of the key come in. Neither NetInit nor NetClose forgets the key
// (GroupKeyHeld); NetInit makes the sealing key of it, NetClose wipes that.
bool Keyed = false;
GroupKey GroupKeyHeld;
SealingKey Key{};
SealSession Session;
ReplayTable Replays;
std::unique_ptr<std::uint8_t[]> SealBuf;  // kSealedLargest bytes, keyed only

// An operator's machine signs the commands it sends (OperatorHeld); a group
// whose key lists operators takes commands only signed by one of them. What
// a command is, the layer above says (NetSetCommandTest).
bool OperatorHeld = false;
OperatorKey Operator;
NetCommandTest CommandTest = nullptr;
// Signature verifications so far: a receive call makes at most
// kNetMaxVerificationsPerReceive before it answers "nothing waiting".
std::uint32_t Verifications = 0;

// The adapters, for a keyed endpoint: read at NetOpen and again when a send
// for everybody finds the list older than kAdapterRefreshMs, so an adapter
// that comes up or changes its address is used within 10 s without a look
// at the system on the path of every datagram. A frame addressed to none of
// ours looks again once the list is a second old (the address may be new).
constexpr std::uint32_t kAdapterRefreshMs = 5000;
constexpr std::uint32_t kMisdirectedRecheckMs = 1000;
std::vector<Adapter> AdapterList;
std::vector<std::uint32_t> BroadcastList;  // BroadcastTargets(AdapterList)
std::uint32_t AdaptersReadAt = 0;
bool AdaptersKnown = false;

bool HasSocket() { return NetSocket != sock::kNoSocket; }

void CloseSocket() {
    if (!HasSocket()) return;
    sock::Close(NetSocket);
    NetSocket = sock::kNoSocket;
}

// What inet_ntoa gives, without the cost of a formatted print on every
// datagram.
std::string DottedDecimal(std::uint32_t networkOrder) {
    const auto* b = reinterpret_cast<const std::uint8_t*>(&networkOrder);
    char text[16];
    char* p = text;
    for (int i = 0; i < 4; ++i) {
        const unsigned v = b[i];
        if (v >= 100) *p++ = static_cast<char>('0' + v / 100);
        if (v >= 10) *p++ = static_cast<char>('0' + v / 10 % 10);
        *p++ = static_cast<char>('0' + v % 10);
        if (i < 3) *p++ = '.';
    }
    return std::string(text, static_cast<std::size_t>(p - text));
}

std::uint16_t NextSequence() {
    ++SeqNo;  // 16-bit: 65535 is followed by 0
    if (SeqNo < kNetFirstSequence) SeqNo = kNetFirstSequence;
    return SeqNo;
}

// The ring keys an acknowledged frame on its sequence and its sender: the
// address and port of an unkeyed one; the session of a sealed one, which
// stays the same whichever adapter a resend comes through.
bool SameSender(const TAPLreg& r, std::uint16_t port, const std::string& address,
                const std::uint8_t* session) {
    if (session) return r.sealed && std::memcmp(r.session.data(), session, r.session.size()) == 0;
    return !r.sealed && r.port == port && r.address == address;
}

void MarkAcknowledged(std::uint16_t seq, std::uint16_t port, const std::string& address) {
    for (TAPLpacket& p : PendingList) {
        if (p.sequence == seq && p.port == port && p.address == address) {
            p.state = kPacketAcknowledged;
            return;
        }
    }
}

bool SeenBefore(std::uint16_t seq, std::uint16_t port, const std::string& address,
                const std::uint8_t* session) {
    for (const TAPLreg& r : SeenRing) {
        if (r.sequence == seq && SameSender(r, port, address, session)) return true;
    }
    return false;
}

void RememberSeen(std::uint16_t seq, std::uint16_t port, const std::string& address,
                  const std::uint8_t* session) {
    TAPLreg& r = SeenRing[static_cast<std::size_t>(SeenIndex)];
    r.sequence = seq;
    r.port = port;
    r.address = address;
    r.sealed = session != nullptr;
    if (session) std::memcpy(r.session.data(), session, r.session.size());
    SeenIndex = (SeenIndex + 1) % kNetSeenRingSize;
}

// The adapter list, read again when it is `maxAgeMs` old.
const std::vector<Adapter>& Adapters(std::uint32_t maxAgeMs) {
    const std::uint32_t now = sock::TickCount();
    if (!AdaptersKnown || now - AdaptersReadAt >= maxAgeMs) {
        AdapterList.clear();
        ListAdapters(&AdapterList);
        BroadcastList = BroadcastTargets(AdapterList);
        AdaptersReadAt = now;
        AdaptersKnown = true;
    }
    return AdapterList;
}

bool IsForUs(std::uint32_t destination) {
    if (destination == kSealedForEverybody) return true;
    return IsOwnDestination(destination, Adapters(kAdapterRefreshMs)) ||
           IsOwnDestination(destination, Adapters(kMisdirectedRecheckMs));
}

// True when the unkeyed frame of `n` bytes at `frame` carries a command.
bool IsCommandFrame(const std::uint8_t* frame, int n) {
    if (!CommandTest || n < 1) return false;
    if (frame[0] == fkPlain) return CommandTest(frame + 1, n - 1);
    if (frame[0] == fkReliable && n >= kNetReliableHeader)
        return CommandTest(frame + kNetReliableHeader, n - kNetReliableHeader);
    return false;
}

// Every datagram the endpoint sends leaves through here. Keyed: sealed once,
// for its destination; a frame for everybody then goes to the broadcast
// address of every adapter (255.255.255.255 leaves through one only), or to
// 255.255.255.255 when no adapter has one. The sealed length when a send
// went out, -1 when none did or the inner frame is too long to seal.
int SendDatagram(const void* frame, int length, std::uint32_t to, std::uint16_t port) {
    if (!Keyed) return sock::SendTo(NetSocket, frame, length, to, port);
    if (length < 1 || length > kSealedInnerLimit) return -1;
    const SealHeader header = NextSealHeader(&Session, to);
    const auto* inner = static_cast<const std::uint8_t*>(frame);
    const int sealed = OperatorHeld && IsCommandFrame(inner, length)
                           ? SealSignedFrame(Key, header, Operator, inner, length, SealBuf.get())
                           : SealFrame(Key, header, inner, length, SealBuf.get());
    if (to != kSealedForEverybody) return sock::SendTo(NetSocket, SealBuf.get(), sealed, to, port);
    Adapters(kAdapterRefreshMs);
    if (BroadcastList.empty()) return sock::SendTo(NetSocket, SealBuf.get(), sealed, to, port);
    int result = -1;
    for (const std::uint32_t target : BroadcastList) {
        if (sock::SendTo(NetSocket, SealBuf.get(), sealed, target, port) == sealed) result = sealed;
    }
    return result;
}

bool CanReceive(std::int32_t limit) {
    return NetReady && HasSocket() && limit >= 1 && limit <= kNetBufferSize;
}

void Consume(NetDatagram& out, NetConsumed why) {
    out.taken = NetTaken::Consumed;
    out.why = why;
    ++ConsumedCounts[static_cast<std::size_t>(why)];
}

// What the `n` (>= 1) bytes of an unkeyed frame at `buf` become, the sender
// being in `out`; `session` is the sealed frame's that carried it, or null.
void TakeFrame(std::uint8_t* buf, int n, NetDatagram& out, const std::uint8_t* session) {
    out.kind = buf[0];
    if (n == 1) {
        out.taken = NetTaken::Empty;
        return;
    }
    switch (buf[0]) {
        case fkPlain:
            out.taken = NetTaken::Payload;
            out.payload = buf + 1;
            out.length = n - 1;
            return;
        case fkAck:
            if (n < kNetAckLength) {
                Consume(out, NetConsumed::Incomplete);
                return;
            }
            Consume(out, NetConsumed::Ack);
            out.sequenced = true;
            out.sequence = ReadSequence(buf + 1);
            MarkAcknowledged(out.sequence, out.port, DottedDecimal(out.address));
            return;
        case fkReliable: {
            if (n < kNetReliableHeader) {  // incomplete sequence: dropped
                Consume(out, NetConsumed::Incomplete);
                return;
            }
            const std::uint8_t ack[kNetAckLength] = {fkAck, buf[1], buf[2]};
            SendDatagram(ack, kNetAckLength, out.address, out.port);
            out.sequenced = true;
            out.sequence = ReadSequence(buf + 1);
            const std::string address = DottedDecimal(out.address);
            if (SeenBefore(out.sequence, out.port, address, session)) {
                Consume(out, NetConsumed::Repeat);
                return;
            }
            RememberSeen(out.sequence, out.port, address, session);
            if (n == kNetReliableHeader) {
                out.taken = NetTaken::Empty;
                return;
            }
            out.taken = NetTaken::Payload;
            out.payload = buf + kNetReliableHeader;
            out.length = n - kNetReliableHeader;
            return;
        }
        default:  // unknown kind: consumed, never surfaces as payload
            Consume(out, NetConsumed::UnknownKind);
            return;
    }
}

NetConsumed ReasonOf(SealedVerdict verdict) {
    switch (verdict) {
        case SealedVerdict::Unkeyed: return NetConsumed::Unkeyed;
        case SealedVerdict::Malformed: return NetConsumed::Malformed;
        case SealedVerdict::AnotherKey: return NetConsumed::AnotherKey;
        case SealedVerdict::Forged: return NetConsumed::Forged;
        case SealedVerdict::Stale: return NetConsumed::Stale;
        case SealedVerdict::Misdirected: return NetConsumed::Misdirected;
        case SealedVerdict::Busy: return NetConsumed::Busy;
        case SealedVerdict::Opened:
        case SealedVerdict::Replayed: break;
    }
    return NetConsumed::Replayed;
}

// Why an opened frame of a group is dropped for its signature, if it is.
bool DropForSignature(std::uint8_t* buf, int plain, NetDatagram& out, int* inner) {
    const std::vector<OperatorPublicKey>& operators = GroupKeyHeld.operators;
    const Signature signature = CheckSignature(buf, plain, operators, inner, &out.signer);
    if (signature == Signature::Operator || (signature == Signature::Forged && out.signer)) ++Verifications;
    switch (signature) {
        case Signature::NotOperator: Consume(out, NetConsumed::NotOperator); return true;
        case Signature::Forged: Consume(out, NetConsumed::ForgedSignature); return true;
        case Signature::Operator: out.byOperator = true; break;
        case Signature::None:
        case Signature::Unchecked: break;
    }
    if (*inner > kSealedInnerLimit) {  // only a signed frame may be longer
        Consume(out, NetConsumed::Malformed);
        return true;
    }
    if (!operators.empty() && signature != Signature::Operator &&
        IsCommandFrame(buf + kSealedHeader, *inner)) {
        Consume(out, NetConsumed::Unsigned);
        return true;
    }
    return false;
}

// A keyed endpoint's datagram: opened and checked, then its inner frame
// taken as an unkeyed endpoint takes a datagram.
void TakeSealed(std::uint8_t* buf, int n, std::int32_t limit, NetDatagram& out) {
    SealHeader header;
    const std::uint64_t now = SealClock();
    SealedVerdict verdict = OpenFrame(Key, buf, n, now, &header);
    if (verdict == SealedVerdict::Opened && !IsForUs(header.destination))
        verdict = SealedVerdict::Misdirected;
    if (verdict == SealedVerdict::Opened)
        verdict = Replays.Admit(header.session, header.counter, header.clock, now);
    if (verdict != SealedVerdict::Opened) {
        out.kind = n > 0 ? buf[0] : 0;
        Consume(out, ReasonOf(verdict));
        return;
    }
    int inner = 0;
    if (DropForSignature(buf, n - kSealedOverhead, out, &inner)) {
        out.kind = buf[0];
        return;
    }
    if (inner > limit) {  // as an unkeyed datagram longer than the limit: lost
        Consume(out, NetConsumed::TooLong);
        out.address = 0;
        out.port = 0;
        return;
    }
    TakeFrame(buf + kSealedHeader, inner, out, header.session);
}

// One datagram off the socket, for an open endpoint and a limit in range.
// Fills only what the result needs, `out` being fresh.
void TakeOne(std::int32_t limit, NetDatagram& out) {
    std::uint8_t* buf = RecvBuf.get();
    // A keyed endpoint takes any sealed frame whole; what is longer is malformed.
    const int n = sock::RecvFrom(NetSocket, buf, Keyed ? kSealedLargest : limit, &out.address, &out.port);
    if (Keyed && (n >= 0 || n == sock::kRecvTooLong)) {
        if (n == sock::kRecvTooLong) {
            Consume(out, NetConsumed::Malformed);
            out.address = 0;
            out.port = 0;
            return;
        }
        TakeSealed(buf, n, limit, out);
        return;
    }
    if (n <= 0) {
        if (n == 0) {
            Consume(out, NetConsumed::Empty);
        } else if (n == sock::kRecvTooLong) {
            Consume(out, NetConsumed::TooLong);
            out.address = 0;
            out.port = 0;
        }
        return;
    }
    TakeFrame(buf, n, out, nullptr);
}

}  // namespace

bool NetInit() {
    NetClose();
    NetReady = false;
    if (Keyed && !SealingReady()) return false;
    if (!sock::Startup()) return false;
    NetReady = true;
    ConsumedCounts = {};
    if (Keyed) {
        Key = MakeSealingKey(GroupKeyHeld);
        StartSealSession(&Session);
        Replays.Clear(Key.maxSkew);
        if (!SealBuf) SealBuf = std::make_unique<std::uint8_t[]>(kSealedLargest);
    }
    SendLen = 1;
    PendingList.clear();
    NetSocket = sock::kNoSocket;
    SeqNo = 1;
    if (!SendBuf) SendBuf = std::make_unique<std::uint8_t[]>(kNetBufferSize);
    if (!RecvBuf) RecvBuf = std::make_unique<std::uint8_t[]>(kNetBufferSize);
    return true;
}

namespace {
void CloseEndpoint(bool stopLibrary) {
    if (!NetReady) return;
    CloseSocket();
    SendBuf.reset();
    RecvBuf.reset();
    SealBuf.reset();
    Key = SealingKey{};
    PendingList.clear();
    PendingList.shrink_to_fit();
    if (stopLibrary) sock::Cleanup();
    NetReady = false;
}
}  // namespace

void NetClose() { CloseEndpoint(true); }

void NetUnload() { CloseEndpoint(false); }

std::intptr_t NetOpen(int port) {
    CloseSocket();
    sock::Handle s = sock::OpenUdp();
    if (s == sock::kNoSocket) return 0;
    if (!sock::SetNonBlocking(s)) {
        sock::Close(s);
        return 0;
    }
    sock::EnableBroadcast(s);  // a refusal is not fatal: receiving still works
    sock::DisableConnectionReset(s);
    sock::RequestReceiveBuffer(s, kNetReceiveBufferBytes);
    if (!sock::BindAny(s, static_cast<std::uint16_t>(port))) {
        sock::Close(s);
        return 0;
    }
    NetSocket = s;
    AdaptersKnown = false;
    if (Keyed) Adapters(kAdapterRefreshMs);
    // A handle of 0 is a valid POSIX descriptor but would read as failure.
    return s == 0 ? -1 : s;
}

void NetResetSend() { SendLen = 1; }

bool NetAppend(const void* bytes, std::int32_t length) {
    if (!NetReady || !HasSocket() || length <= 0) return false;
    if (static_cast<std::int64_t>(SendLen) + length >= kNetBufferSize) return false;
    std::memcpy(SendBuf.get() + SendLen, bytes, static_cast<std::size_t>(length));
    SendLen += length;
    return true;
}

int NetSend(const char* address, int port, bool acknowledged) {
    if (!NetReady || !HasSocket()) return 0;
    const auto p = static_cast<std::uint16_t>(port);
    const std::uint32_t to = sock::ParseAddress(address ? address : kNetBroadcastAddress);
    if (!acknowledged || !address) {
        SendBuf[0] = fkPlain;
        return SendDatagram(SendBuf.get(), SendLen, to, p);
    }
    TAPLpacket rec;
    rec.state = kPacketSent;
    rec.sequence = NextSequence();
    rec.sendTime = sock::TickCount();
    rec.length = static_cast<std::uint16_t>(SendLen);
    rec.port = p;
    rec.address = address;
    rec.frame.resize(static_cast<std::size_t>(SendLen) + 2);
    rec.frame[0] = fkReliable;
    WriteSequence(&rec.frame[1], rec.sequence);
    std::memcpy(&rec.frame[3], SendBuf.get() + 1, static_cast<std::size_t>(SendLen - 1));
    PendingList.push_back(std::move(rec));
    const TAPLpacket& sent = PendingList.back();
    return SendDatagram(sent.frame.data(), static_cast<int>(sent.frame.size()), to, p);
}

void NetReceiveOne(std::int32_t limit, NetDatagram* out) {
    *out = NetDatagram{};
    if (CanReceive(limit)) TakeOne(limit, *out);
}

int NetSendFrame(const void* frame, std::int32_t length, const char* address, int port) {
    if (!NetReady || !HasSocket() || length < 1) return 0;
    if (length > kNetBufferSize) return -1;  // larger than any datagram
    return SendDatagram(frame, length, sock::ParseAddress(address ? address : kNetBroadcastAddress),
                        static_cast<std::uint16_t>(port));
}

std::string NetAddressText(std::uint32_t networkOrder) { return DottedDecimal(networkOrder); }

std::int32_t NetReceiveInPlace(const std::uint8_t** payload, std::int32_t limit, std::string* senderAddress,
                               int* senderPort, std::int32_t* length) {
    if (!CanReceive(limit)) return 0;
    const std::uint32_t verifiedBefore = Verifications;
    for (int skipped = 0; skipped < kNetMaxSkippedPerReceive; ++skipped) {
        NetDatagram d;
        TakeOne(limit, d);
        switch (d.taken) {
            case NetTaken::Payload:
            case NetTaken::Empty:
                // The sender is told for a payload and for an acknowledged
                // frame without one, not for a lone kind byte.
                if (d.taken == NetTaken::Payload || d.sequenced) {
                    *payload = d.payload;
                    if (senderAddress) *senderAddress = DottedDecimal(d.address);
                    if (senderPort) *senderPort = d.port;
                }
                *length = d.length;
                return d.length;
            case NetTaken::Nothing: break;
            case NetTaken::Consumed:
                // An empty or over-long datagram ends the call as "nothing
                // waiting"; the rest are skipped.
                if (d.why == NetConsumed::Empty || d.why == NetConsumed::TooLong) break;
                // Each verification of a signature costs tens of microseconds:
                // a flood of bad ones ends the call early, for the caller to
                // look at its clock.
                if (Verifications - verifiedBefore >= kNetMaxVerificationsPerReceive) {
                    *length = kNetReceivePaused;
                    return kNetReceivePaused;
                }
                continue;
        }
        break;
    }
    *length = -1;
    return -1;
}

std::int32_t NetReceive(void* dest, std::int32_t limit, std::string* senderAddress, int* senderPort,
                        std::int32_t* length) {
    const std::uint8_t* payload = nullptr;
    const std::int32_t n = NetReceiveInPlace(&payload, limit, senderAddress, senderPort, length);
    if (n > 0) std::memcpy(dest, payload, static_cast<std::size_t>(n));
    return n;
}

void NetSetKey(const GroupKey* key) {
    NetClose();  // an endpoint never changes its key while open
    // The sealing key is made by NetInit, which fails while libsodium cannot
    // start: nothing goes out in the clear, or sealed with a key not made.
    Keyed = key != nullptr;
    GroupKeyHeld = key ? *key : GroupKey{};
    Key = SealingKey{};
    Session = SealSession{};
    AdaptersKnown = false;
}

bool NetKeyed() { return Keyed; }

void NetSetOperator(const OperatorKey* key) {
    OperatorHeld = key != nullptr;
    Operator = key ? *key : OperatorKey{};
}

bool NetSigns() { return OperatorHeld; }

void NetSetCommandTest(NetCommandTest test) { CommandTest = test; }

std::uint32_t NetConsumedCount(NetConsumed why) { return ConsumedCounts[static_cast<std::size_t>(why)]; }

const char* NetConsumedWord(NetConsumed why) {
    switch (why) {
        case NetConsumed::Ack: return "ack";
        case NetConsumed::Repeat: return "repeat";
        case NetConsumed::UnknownKind: return "unknown kind";
        case NetConsumed::Incomplete: return "incomplete";
        case NetConsumed::Empty: return "empty";
        case NetConsumed::TooLong: return "too long";
        case NetConsumed::Unkeyed: return "unkeyed";
        case NetConsumed::Malformed: return "malformed";
        case NetConsumed::AnotherKey: return "another key";
        case NetConsumed::Forged: return "forged";
        case NetConsumed::Stale: return "stale";
        case NetConsumed::Replayed: return "replayed";
        case NetConsumed::Misdirected: return "misdirected";
        case NetConsumed::Busy: return "busy";
        case NetConsumed::Unsigned: return "unsigned";
        case NetConsumed::NotOperator: return "not an operator";
        case NetConsumed::ForgedSignature: return "forged";
    }
    return "?";
}

bool NetIsReady() { return NetReady; }
std::intptr_t NetSocketHandle() { return HasSocket() ? NetSocket : 0; }
std::int32_t NetSendLength() { return SendLen; }
const std::vector<TAPLpacket>& NetPendingList() { return PendingList; }

}  // namespace cv
