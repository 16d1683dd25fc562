#include "net/Net.h"

#include <array>
#include <cstring>
#include <memory>

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
NetConsumedTap ConsumedTap = nullptr;
void* ConsumedTapContext = nullptr;

bool HasSocket() { return NetSocket != sock::kNoSocket; }

void CloseSocket() {
    if (!HasSocket()) return;
    sock::Close(NetSocket);
    NetSocket = sock::kNoSocket;
}

// Dotted-decimal text of an address in network byte order (what inet_ntoa
// gives), without the cost of a formatted print on every datagram.
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

void MarkAcknowledged(std::uint16_t seq, std::uint16_t port, const std::string& address) {
    for (TAPLpacket& p : PendingList) {
        if (p.sequence == seq && p.port == port && p.address == address) {
            p.state = kPacketAcknowledged;
            return;
        }
    }
}

bool SeenBefore(std::uint16_t seq, std::uint16_t port, const std::string& address) {
    for (const TAPLreg& r : SeenRing) {
        if (r.sequence == seq && r.port == port && r.address == address) return true;
    }
    return false;
}

void RememberSeen(std::uint16_t seq, std::uint16_t port, const std::string& address) {
    TAPLreg& r = SeenRing[static_cast<std::size_t>(SeenIndex)];
    r.sequence = seq;
    r.port = port;
    r.address = address;
    SeenIndex = (SeenIndex + 1) % kNetSeenRingSize;
}

// Tells the tap, if there is one, what NetReceive consumed.
void TapConsumed(NetConsumed what, const std::uint8_t* frame, int n, std::uint32_t from, std::uint16_t port) {
    if (!ConsumedTap) return;
    NetConsumedFrame f;
    f.what = what;
    if (n > 0) f.kind = frame[0];
    if (n >= kNetAckLength) f.sequence = ReadSequence(frame + 1);
    if (what != NetConsumed::TooLong) {
        f.address = DottedDecimal(from);
        f.port = port;
    }
    ConsumedTap(f, ConsumedTapContext);
}

// Hands the caller a payload where it lies in the receive buffer.
std::int32_t Deliver(const std::uint8_t** dest, const std::uint8_t* payload, std::int32_t n,
                     std::uint32_t from, std::uint16_t port, std::string* senderAddress, int* senderPort,
                     std::int32_t* length) {
    *dest = payload;
    if (senderAddress) *senderAddress = DottedDecimal(from);
    if (senderPort) *senderPort = port;
    *length = n;
    return n;
}

}  // namespace

bool NetInit() {
    NetClose();
    NetReady = false;
    if (!sock::Startup()) return false;
    NetReady = true;
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
        return sock::SendTo(NetSocket, SendBuf.get(), SendLen, to, p);
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
    return sock::SendTo(NetSocket, sent.frame.data(), static_cast<int>(sent.frame.size()), to, p);
}

std::int32_t NetReceiveInPlace(const std::uint8_t** payload, std::int32_t limit, std::string* senderAddress,
                               int* senderPort, std::int32_t* length) {
    if (!NetReady || !HasSocket() || limit < 1 || limit > kNetBufferSize) return 0;
    std::uint8_t* buf = RecvBuf.get();
    for (int skipped = 0; skipped < kNetMaxSkippedPerReceive; ++skipped) {
        std::uint32_t from = 0;
        std::uint16_t port = 0;
        const int n = sock::RecvFrom(NetSocket, buf, limit, &from, &port);
        if (n <= 0) {  // nothing waiting, failure, over-long (dropped) or empty
            if (n == 0) TapConsumed(NetConsumed::Empty, buf, 0, from, port);
            if (n == sock::kRecvTooLong) TapConsumed(NetConsumed::TooLong, buf, 0, from, port);
            break;
        }
        if (n == 1) {
            *length = 0;
            return 0;
        }
        switch (buf[0]) {
            case fkPlain:
                return Deliver(payload, buf + 1, n - 1, from, port, senderAddress, senderPort, length);
            case fkAck:
                if (n >= kNetAckLength) MarkAcknowledged(ReadSequence(buf + 1), port, DottedDecimal(from));
                TapConsumed(n >= kNetAckLength ? NetConsumed::Ack : NetConsumed::Incomplete, buf, n, from,
                            port);
                continue;
            case fkReliable: {
                if (n < kNetReliableHeader) {  // incomplete sequence: dropped
                    TapConsumed(NetConsumed::Incomplete, buf, n, from, port);
                    continue;
                }
                const std::uint8_t ack[kNetAckLength] = {fkAck, buf[1], buf[2]};
                sock::SendTo(NetSocket, ack, kNetAckLength, from, port);
                const std::uint16_t seq = ReadSequence(buf + 1);
                const std::string address = DottedDecimal(from);
                if (SeenBefore(seq, port, address)) {
                    TapConsumed(NetConsumed::Repeat, buf, n, from, port);
                    continue;
                }
                RememberSeen(seq, port, address);
                return Deliver(payload, buf + kNetReliableHeader, n - kNetReliableHeader, from, port,
                               senderAddress, senderPort, length);
            }
            default:  // unknown kind: consumed, never surfaces as payload
                TapConsumed(NetConsumed::UnknownKind, buf, n, from, port);
                continue;
        }
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

int NetResend(std::uint16_t sequence) {
    if (!NetReady || !HasSocket()) return 0;
    for (auto p = PendingList.rbegin(); p != PendingList.rend(); ++p) {
        if (p->sequence != sequence) continue;
        return sock::SendTo(NetSocket, p->frame.data(), static_cast<int>(p->frame.size()),
                            sock::ParseAddress(p->address.c_str()), p->port);
    }
    return 0;
}

void NetSetSequence(std::uint16_t last) { SeqNo = last; }

void NetSetConsumedTap(NetConsumedTap tap, void* context) {
    ConsumedTap = tap;
    ConsumedTapContext = context;
}

bool NetIsReady() { return NetReady; }
std::intptr_t NetSocketHandle() { return HasSocket() ? NetSocket : 0; }
std::int32_t NetSendLength() { return SendLen; }
const std::vector<TAPLpacket>& NetPendingList() { return PendingList; }

}  // namespace cv
