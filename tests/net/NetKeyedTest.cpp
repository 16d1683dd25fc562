// The keyed endpoint over the in-memory socket: what each datagram becomes,
// the counts by reason, and that every send path seals.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeSocket.h"
#include "net/Net.h"
#include "net/SealedFrame.h"

namespace {

namespace fake = rizer::test::fake;
using Bytes = std::string;

constexpr std::uint32_t kNow = 1'800'000'000;
constexpr std::uint32_t kPeer = 0x0200000Au;  // 10.0.0.2
constexpr std::uint16_t kPeerPort = 50151;
std::uint64_t Now() { return kNow; }
constexpr std::uint32_t kEverybody = cv::kSealedForEverybody;
constexpr std::uint32_t kLan = 0x0100000Au;            // 10.0.0.1, ours
constexpr std::uint32_t kLanBroadcast = 0xFF00000Au;   // 10.0.0.255
constexpr std::uint32_t kWifi = 0x0501A8C0u;           // 192.168.1.5, ours when the wifi is up
constexpr std::uint32_t kWifiBroadcast = 0xFF01A8C0u;  // 192.168.1.255
constexpr std::uint32_t kWifiPeer = 0x0701A8C0u;       // 192.168.1.7
const cv::Adapter kLanAdapter{"lan", kLan, 24, kLanBroadcast, true, false};
const cv::Adapter kWifiAdapter{"wifi", kWifi, 24, kWifiBroadcast, true, false};
const cv::Adapter kLoopback{"lo", 0x0100007Fu, 8, 0, true, true};

cv::GroupKey MakeKey(std::uint8_t fill) {
    cv::GroupKey k;
    for (std::size_t i = 0; i < k.bytes.size(); ++i) k.bytes[i] = static_cast<std::uint8_t>(fill ^ i);
    k.maxSkew = 300;
    return k;
}

class NetKeyed : public ::testing::Test {
 protected:
    void SetUp() override {
        ASSERT_TRUE(cv::SealingReady());
        fake::Reset();
        fake::SetWallClock(Now);
        key_ = cv::MakeSealingKey(MakeKey(0x11));
        other_ = cv::MakeSealingKey(MakeKey(0x33));
        ASSERT_NE(key_.id, other_.id);
        const cv::GroupKey k = MakeKey(0x11);
        cv::NetSetKey(&k);
        ASSERT_TRUE(cv::NetInit());
        ASSERT_NE(cv::NetOpen(50150), 0);
    }
    void TearDown() override {
        cv::NetClose();
        cv::NetSetKey(nullptr);
        fake::SetWallClock(nullptr);
    }
    Bytes Seal(const Bytes& inner, std::uint8_t session, std::uint32_t counter, std::int64_t ahead = 0,
               const cv::SealingKey* key = nullptr, std::uint32_t destination = kEverybody) {
        cv::SealHeader h{
            {session, 0, 0, 0, 0, 0, 0, 1}, counter, static_cast<std::uint32_t>(kNow + ahead), destination};
        Bytes out(inner.size() + cv::kSealedOverhead, '\0');
        cv::SealFrame(key ? *key : key_, h, reinterpret_cast<const std::uint8_t*>(inner.data()),
                      static_cast<int>(inner.size()), reinterpret_cast<std::uint8_t*>(out.data()));
        return out;
    }
    // The inner frame of a datagram the endpoint sent; "<unopened>" if it does not open.
    Bytes Opened(Bytes sealed) {
        cv::SealHeader h{};
        auto* p = reinterpret_cast<std::uint8_t*>(sealed.data());
        if (cv::OpenFrame(key_, p, static_cast<int>(sealed.size()), kNow, &h) != cv::SealedVerdict::Opened) {
            return "<unopened>";
        }
        return sealed.substr(cv::kSealedHeader, sealed.size() - cv::kSealedOverhead);
    }
    cv::SealingKey key_{}, other_{};
};

// What one datagram from the peer becomes, in a row: the receive's result
// ("payload TEXT", "empty", "consumed WORD") and the inner frames sent back.
TEST_F(NetKeyed, EachDatagramAndWhatItBecomes) {
    Bytes forged = Seal(Bytes{0} + "x", 1, 50);
    forged.back() ^= 1;
    Bytes ack5 = Bytes{1, 5, 0};
    struct Case {
        const char* what;
        Bytes datagram;
        std::int32_t limit;
        std::string result;
        std::vector<Bytes> sentInner;
    } cases[] = {
        {"a sealed plain frame", Seal(Bytes{0} + "<A>: hi", 1, 0), 255, "payload <A>: hi", {}},
        {"the same again", Seal(Bytes{0} + "<A>: hi", 1, 0), 255, "consumed replayed", {}},
        {"stale: the window does not move", Seal(Bytes{0} + "late", 1, 1, 301), 255, "consumed stale", {}},
        {"so counter 1 is still new", Seal(Bytes{0} + "one", 1, 1, -300), 255, "payload one", {}},
        {"forged: the window does not move", forged, 255, "consumed forged", {}},
        {"so counter 50 is still new", Seal(Bytes{0} + "fifty", 1, 50), 255, "payload fifty", {}},
        {"another key", Seal(Bytes{0} + "x", 1, 51, 0, &other_), 255, "consumed another key", {}},
        {"a plain frame in the clear", Bytes{0} + "clear", 255, "consumed unkeyed", {}},
        {"a reliable frame in the clear", Bytes{2, 9, 0} + "clear", 255, "consumed unkeyed", {}},
        {"one byte short",
         Seal(Bytes{0}, 1, 52).substr(0, cv::kSealedOverhead),
         255,
         "consumed malformed",
         {}},
        {"an empty datagram", Bytes{}, 255, "consumed malformed", {}},
        {"longer than any sealed frame",
         Seal(Bytes(255, 'L'), 1, 53) + Bytes(cv::kSignatureTrailer + 1, 'L'),
         255,
         "consumed malformed",
         {}},
        {"a sealed reliable frame: acknowledged sealed",
         Seal(Bytes{2, 7, 0} + "rel", 2, 0),
         255,
         "payload rel",
         {Bytes{1, 7, 0}}},
        {"its repeat, sealed anew",
         Seal(Bytes{2, 7, 0} + "rel", 2, 1),
         255,
         "consumed repeat",
         {Bytes{1, 7, 0}}},
        {"a replay of it: not acknowledged",
         Seal(Bytes{2, 7, 0} + "rel", 2, 1),
         255,
         "consumed replayed",
         {}},
        {"an empty reliable frame", Seal(Bytes{2, 8, 0}, 2, 2), 255, "empty", {Bytes{1, 8, 0}}},
        {"the kind byte alone", Seal(Bytes{0}, 2, 3), 255, "empty", {}},
        {"an inner frame of an unknown kind", Seal(Bytes{3, 1}, 2, 4), 255, "consumed unknown kind", {}},
        {"an inner frame longer than the limit",
         Seal(Bytes{0} + "123456789A", 2, 5),
         10,
         "consumed too long",
         {}},
        {"an inner frame at the limit", Seal(Bytes{0} + "123456789", 2, 6), 10, "payload 123456789", {}},
        {"a sealed acknowledgement", Seal(ack5, 2, 7), 255, "consumed ack", {}},
        {"addressed to this machine",
         Seal(Bytes{0} + "to me", 3, 0, 0, nullptr, kLan),
         255,
         "payload to me",
         {}},
        {"to its subnet",
         Seal(Bytes{0} + "to us", 3, 1, 0, nullptr, kLanBroadcast),
         255,
         "payload to us",
         {}},
        {"to its loopback",
         Seal(Bytes{0} + "local", 3, 2, 0, nullptr, 0x0100007Fu),
         255,
         "payload local",
         {}},
        {"to another machine",
         Seal(Bytes{0} + "x", 3, 3, 0, nullptr, 0x0900000Au),
         255,
         "consumed misdirected",
         {}},
        {"to another subnet",
         Seal(Bytes{0} + "x", 3, 4, 0, nullptr, kWifiBroadcast),
         255,
         "consumed misdirected",
         {}},
        {"misdirected: the window does not move", Seal(Bytes{0} + "3", 3, 3), 255, "payload 3", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fake::Sent().clear();
        fake::Queue(c.datagram, kPeer, kPeerPort);
        cv::NetDatagram d;
        cv::NetReceiveOne(c.limit, &d);
        std::string result = d.taken == cv::NetTaken::Payload
                                 ? "payload " + std::string(reinterpret_cast<const char*>(d.payload),
                                                            static_cast<std::size_t>(d.length))
                             : d.taken == cv::NetTaken::Empty ? "empty"
                             : d.taken == cv::NetTaken::Consumed
                                 ? std::string("consumed ") + cv::NetConsumedWord(d.why)
                                 : "nothing";
        EXPECT_EQ(result, c.result);
        std::vector<Bytes> sent;
        for (const fake::Datagram& s : fake::Sent()) {
            sent.push_back(Opened(s.bytes));
            EXPECT_EQ(s.address, kPeer);
            EXPECT_EQ(s.port, kPeerPort);
        }
        EXPECT_EQ(sent, c.sentInner);
    }
    const std::pair<cv::NetConsumed, std::uint32_t> counts[] = {
        {cv::NetConsumed::Replayed, 2},    {cv::NetConsumed::Stale, 1},
        {cv::NetConsumed::Forged, 1},      {cv::NetConsumed::AnotherKey, 1},
        {cv::NetConsumed::Unkeyed, 2},     {cv::NetConsumed::Malformed, 3},
        {cv::NetConsumed::Repeat, 1},      {cv::NetConsumed::UnknownKind, 1},
        {cv::NetConsumed::TooLong, 1},     {cv::NetConsumed::Ack, 1},
        {cv::NetConsumed::Empty, 0},       {cv::NetConsumed::Incomplete, 0},
        {cv::NetConsumed::Misdirected, 2}, {cv::NetConsumed::Busy, 0},
    };
    for (const auto& [why, n] : counts) EXPECT_EQ(cv::NetConsumedCount(why), n) << cv::NetConsumedWord(why);
    ASSERT_TRUE(cv::NetInit());
    EXPECT_EQ(cv::NetConsumedCount(cv::NetConsumed::Replayed), 0u);
}

// Plain, acknowledged and tool-made frames all leave sealed, numbered from 0
// in one session; a sealed acknowledgement marks the pending send; NetInit
// starts a new session.
TEST_F(NetKeyed, EverySendPathSeals) {
    cv::NetResetSend();
    ASSERT_TRUE(cv::NetAppend("$ARun", 5));
    EXPECT_EQ(cv::NetSend(nullptr, 50150, false), 6 + cv::kSealedOverhead);
    EXPECT_EQ(cv::NetSend("10.0.0.2", kPeerPort, true), 8 + cv::kSealedOverhead);
    const Bytes frame = Bytes{0} + "tool";
    EXPECT_EQ(cv::NetSendFrame(frame.data(), 5, "10.0.0.2", kPeerPort), 5 + cv::kSealedOverhead);
    ASSERT_EQ(fake::Sent().size(), 3u);
    const std::vector<Bytes> inner = {Opened(fake::Sent()[0].bytes), Opened(fake::Sent()[1].bytes),
                                      Opened(fake::Sent()[2].bytes)};
    EXPECT_EQ(inner, (std::vector<Bytes>{Bytes{0} + "$ARun", Bytes{2, 5, 0} + "$ARun", frame}));
    for (std::size_t i = 0; i < 3; ++i) {
        const Bytes& s = fake::Sent()[i].bytes;
        EXPECT_EQ(s.substr(2, 8), fake::Sent()[0].bytes.substr(2, 8)) << "one session";
        EXPECT_EQ(static_cast<std::uint8_t>(s[10]), i) << "counter";
        EXPECT_EQ(s.substr(11, 3), Bytes(3, '\0'));
    }
    // The record keeps the frame as an unkeyed endpoint sends it.
    ASSERT_EQ(cv::NetPendingList().size(), 1u);
    EXPECT_EQ(cv::NetPendingList()[0].frame, (std::vector<std::uint8_t>{2, 5, 0, '$', 'A', 'R', 'u', 'n'}));
    fake::Queue(Seal(Bytes{1, 5, 0}, 9, 0), kPeer, kPeerPort);
    cv::NetDatagram d;
    cv::NetReceiveOne(255, &d);
    EXPECT_EQ(cv::NetPendingList()[0].state, cv::kPacketAcknowledged);

    const Bytes session = fake::Sent()[0].bytes.substr(2, 8);
    ASSERT_TRUE(cv::NetInit());
    ASSERT_NE(cv::NetOpen(50150), 0);
    fake::Sent().clear();
    cv::NetSendFrame(frame.data(), 5, nullptr, 50150);
    ASSERT_EQ(fake::Sent().size(), 1u);
    EXPECT_NE(fake::Sent()[0].bytes.substr(2, 8), session);
    EXPECT_EQ(fake::Sent()[0].bytes[10], 0);
}

// An unkeyed endpoint drops sealed frames as it drops every unknown kind.
TEST_F(NetKeyed, AnUnkeyedEndpointDropsSealedFrames) {
    cv::NetSetKey(nullptr);
    ASSERT_TRUE(cv::NetInit());
    ASSERT_NE(cv::NetOpen(50150), 0);
    fake::Queue(Seal(Bytes{0} + "<A>: hi", 1, 0), kPeer, kPeerPort);
    fake::Queue(Bytes{0} + "clear", kPeer, kPeerPort);
    cv::NetDatagram d;
    cv::NetReceiveOne(255, &d);
    EXPECT_EQ(d.taken, cv::NetTaken::Consumed);
    EXPECT_EQ(d.why, cv::NetConsumed::UnknownKind);
    EXPECT_EQ(d.kind, cv::fkSealed);
    cv::NetSendFrame("\0x", 2, nullptr, 50150);
    ASSERT_EQ(fake::Sent().size(), 1u);
    EXPECT_EQ(fake::Sent()[0].bytes, Bytes{0} + "x");  // in the clear
    char buf[255];
    std::int32_t length = 0;
    EXPECT_EQ(cv::NetReceive(buf, 255, nullptr, nullptr, &length), 5);
}

// A frame for everybody is sealed once and that one frame goes to the
// broadcast address of every adapter that is up, not loopback and has one;
// a frame for one address goes there alone, carrying it as its destination.
TEST_F(NetKeyed, AFrameForEverybodyGoesOutOnEveryAdapter) {
    const cv::Adapter down{"cable", 0x0102A8C0u, 24, 0xFF02A8C0u, false, false};
    const cv::Adapter pointToPoint{"vpn", 0x01080A0Au, 32, 0, true, false};
    const cv::Adapter sameSubnet{"lan2", 0x0200000Au, 24, kLanBroadcast, true, false};
    struct Case {
        const char* what;
        std::vector<cv::Adapter> adapters;
        const char* to;
        std::vector<std::uint32_t> sentTo;
        std::uint32_t destination;
    } cases[] = {
        {"one adapter", {kLoopback, kLanAdapter}, nullptr, {kLanBroadcast}, kEverybody},
        {"two subnets",
         {kLanAdapter, kLoopback, kWifiAdapter},
         nullptr,
         {kLanBroadcast, kWifiBroadcast},
         kEverybody},
        {"down, point-to-point and a second leg on one subnet add nothing",
         {kLanAdapter, down, pointToPoint, sameSubnet, kLoopback},
         nullptr,
         {kLanBroadcast},
         kEverybody},
        {"255.255.255.255 by name",
         {kLanAdapter, kWifiAdapter},
         "255.255.255.255",
         {kLanBroadcast, kWifiBroadcast},
         kEverybody},
        {"no adapter with a broadcast address", {kLoopback, pointToPoint}, nullptr, {kEverybody}, kEverybody},
        {"one address", {kLanAdapter, kWifiAdapter}, "192.168.1.7", {kWifiPeer}, kWifiPeer},
        {"one subnet's broadcast address",
         {kLanAdapter, kWifiAdapter},
         "10.0.0.255",
         {kLanBroadcast},
         kLanBroadcast},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fake::SetAdapters(c.adapters);
        ASSERT_TRUE(cv::NetInit());
        ASSERT_NE(cv::NetOpen(50150), 0);
        fake::Sent().clear();
        cv::NetResetSend();
        ASSERT_TRUE(cv::NetAppend("<A>: hi", 7));
        EXPECT_EQ(cv::NetSend(c.to, 50150, false), 8 + cv::kSealedOverhead);
        std::vector<std::uint32_t> sentTo;
        for (const fake::Datagram& d : fake::Sent()) {
            sentTo.push_back(d.address);
            EXPECT_EQ(d.bytes, fake::Sent()[0].bytes) << "sealed once";
            EXPECT_EQ(d.port, 50150);
        }
        EXPECT_EQ(sentTo, c.sentTo);
        ASSERT_FALSE(fake::Sent().empty());
        cv::SealHeader h{};
        Bytes frame = fake::Sent()[0].bytes;
        ASSERT_EQ(cv::OpenFrame(key_, reinterpret_cast<std::uint8_t*>(frame.data()),
                                static_cast<int>(frame.size()), kNow, &h),
                  cv::SealedVerdict::Opened);
        EXPECT_EQ(h.destination, c.destination);
    }
}

// The list is read when the port opens and again when a send finds it five
// seconds old: a new adapter is used within 10 s, a lost one left, and the
// system is not asked on every datagram. A frame to an address the list
// does not know yet makes it look again once the list is a second old.
TEST_F(NetKeyed, AdaptersGainedAndLostAreSeenWithinSeconds) {
    fake::SetAdapters({kLanAdapter});
    ASSERT_TRUE(cv::NetInit());
    ASSERT_NE(cv::NetOpen(50150), 0);
    const int callsAtOpen = fake::AdapterListCalls();
    const auto broadcastTo = [] {
        fake::Sent().clear();
        cv::NetResetSend();
        cv::NetAppend("x", 1);
        cv::NetSend(nullptr, 50150, false);
        std::vector<std::uint32_t> to;
        for (const fake::Datagram& d : fake::Sent()) to.push_back(d.address);
        return to;
    };
    const auto receive = [&](std::uint32_t destination, std::uint32_t counter) {
        fake::Queue(Seal(Bytes{0} + "m", 7, counter, 0, nullptr, destination), kPeer, kPeerPort);
        cv::NetDatagram d;
        cv::NetReceiveOne(255, &d);
        return d.taken == cv::NetTaken::Payload ? std::string("taken") : cv::NetConsumedWord(d.why);
    };
    for (int i = 0; i < 100; ++i) EXPECT_EQ(broadcastTo(), std::vector<std::uint32_t>{kLanBroadcast});
    EXPECT_EQ(fake::AdapterListCalls(), callsAtOpen) << "asked on the path of a datagram";
    fake::SetAdapters({kLanAdapter, kWifiAdapter});
    fake::SetTicks(999);
    EXPECT_EQ(receive(kWifi, 0), "misdirected");  // the list is not a second old
    fake::SetTicks(1000);
    EXPECT_EQ(receive(kWifi, 1), "taken");  // so it looked again
    fake::SetAdapters({kLanAdapter});
    fake::SetTicks(5999);
    EXPECT_EQ(broadcastTo(), (std::vector<std::uint32_t>{kLanBroadcast, kWifiBroadcast}));
    fake::SetTicks(6000);
    EXPECT_EQ(broadcastTo(), std::vector<std::uint32_t>{kLanBroadcast});
    fake::SetAdapters({kWifiAdapter});
    fake::SetTicks(11000);
    EXPECT_EQ(broadcastTo(), std::vector<std::uint32_t>{kWifiBroadcast});
    EXPECT_EQ(receive(kLan, 2), "misdirected");
    EXPECT_LE(fake::AdapterListCalls(), callsAtOpen + 4);
}

// One message, many arrivals: the sender hears its own frame once per
// adapter, a machine on two of its subnets hears it twice, and a resent
// acknowledged frame (sealed anew) may come through another adapter, from
// another address. Each is shown once, and every acknowledged frame is
// acknowledged to where it came from.
TEST_F(NetKeyed, EachMessageIsTakenOnceWhicheverAdapterItComesThrough) {
    fake::SetAdapters({kLanAdapter, kWifiAdapter});
    ASSERT_TRUE(cv::NetInit());
    ASSERT_NE(cv::NetOpen(50150), 0);
    cv::NetResetSend();
    ASSERT_TRUE(cv::NetAppend("<me>: hi", 8));
    ASSERT_GT(cv::NetSend(nullptr, 50150, false), 0);
    ASSERT_EQ(fake::Sent().size(), 2u);
    const Bytes own = fake::Sent()[0].bytes;
    const Bytes reliable = Bytes{2, 7, 0} + "<B>: ok";
    struct Arrival {
        const char* what;
        Bytes datagram;
        std::uint32_t from;
        const char* result;
    } arrivals[] = {
        {"our own, through the lan", own, kLan, "payload <me>: hi"},
        {"our own, through the wifi", own, kWifi, "consumed replayed"},
        {"a peer's acknowledged frame through the lan", Seal(reliable, 4, 0), kPeer, "payload <B>: ok"},
        {"the same frame through the wifi", Seal(reliable, 4, 0), kWifiPeer, "consumed replayed"},
        {"its resend through the wifi", Seal(reliable, 4, 1), kWifiPeer, "consumed repeat"},
        {"its resend through the lan", Seal(reliable, 4, 2), kPeer, "consumed repeat"},
        {"another session's frame of the same sequence", Seal(reliable, 5, 0), kWifiPeer, "payload <B>: ok"},
    };
    for (const Arrival& a : arrivals) {
        SCOPED_TRACE(a.what);
        fake::Sent().clear();
        fake::Queue(a.datagram, a.from, kPeerPort);
        cv::NetDatagram d;
        cv::NetReceiveOne(255, &d);
        const std::string result = d.taken == cv::NetTaken::Payload
                                       ? "payload " + std::string(reinterpret_cast<const char*>(d.payload),
                                                                  static_cast<std::size_t>(d.length))
                                       : std::string("consumed ") + cv::NetConsumedWord(d.why);
        EXPECT_EQ(result, a.result);
        const bool acknowledged = std::string(a.result) != "consumed replayed" && a.datagram != own;
        ASSERT_EQ(fake::Sent().size(), acknowledged ? 1u : 0u);
        if (acknowledged) {
            EXPECT_EQ(fake::Sent()[0].address, a.from);
            EXPECT_EQ(Opened(fake::Sent()[0].bytes), (Bytes{1, 7, 0}));
        }
    }
}

// An inner frame over 255 bytes is refused on every keyed send path, and no
// send reads past the caller's frame or the endpoint's buffers; the unkeyed
// endpoint sends what fits in a datagram.
TEST_F(NetKeyed, SendsAreBoundedByWhatAReceiverTakes) {
    const Bytes big(70000, 'B');
    const auto frameOf = [&](std::size_t n) { return Bytes{0} + big.substr(0, n - 1); };
    struct Case {
        bool keyed;
        const char* path;
        std::size_t inner;  // bytes of the frame as an unkeyed endpoint would send it
        int result;         // -1 refused
    } cases[] = {
        {true, "frame", 255, 255 + cv::kSealedOverhead},
        {true, "frame", 256, -1},
        {true, "frame", 65507, -1},
        {true, "frame", 65508, -1},
        {true, "plain", 255, 255 + cv::kSealedOverhead},
        {true, "plain", 256, -1},
        {true, "acknowledged", 255, 255 + cv::kSealedOverhead},
        {true, "acknowledged", 256, -1},
        {true, "acknowledged", 65508, -1},
        {false, "frame", 65507, 65507},
        {false, "frame", 65508, -1},
        {false, "plain", 65506, 65506},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.keyed ? "keyed " : "unkeyed ") + c.path + " " + std::to_string(c.inner));
        const cv::GroupKey k = MakeKey(0x11);
        cv::NetSetKey(c.keyed ? &k : nullptr);
        ASSERT_TRUE(cv::NetInit());
        ASSERT_NE(cv::NetOpen(50150), 0);
        fake::Sent().clear();
        int result = 0;
        const std::string path = c.path;
        if (path == "frame") {
            const Bytes f = frameOf(c.inner);
            result = cv::NetSendFrame(f.data(), static_cast<std::int32_t>(f.size()), nullptr, 50150);
        } else {
            // An acknowledged frame is two bytes longer than the plain one.
            const std::size_t payload = path == "plain" ? c.inner - 1 : c.inner - 3;
            cv::NetResetSend();
            ASSERT_TRUE(cv::NetAppend(big.data(), static_cast<std::int32_t>(payload)));
            result = cv::NetSend(path == "plain" ? nullptr : "10.0.0.2", 50150, path != "plain");
        }
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(fake::Sent().size(), c.result > 0 ? 1u : 0u);
    }
}

// A key given while the cryptography library could not start is made into a
// sealing key when the endpoint starts, never left as zeros.
TEST_F(NetKeyed, AKeyGivenBeforeTheLibraryStartsIsNeverZeros) {
    fake::SetSealingFails(true);
    const cv::GroupKey k = MakeKey(0x11);
    cv::NetSetKey(&k);
    EXPECT_FALSE(cv::NetInit()) << "keyed, the endpoint does not start without the library";
    fake::SetSealingFails(false);
    ASSERT_TRUE(cv::NetInit());
    ASSERT_NE(cv::NetOpen(50150), 0);
    fake::Sent().clear();
    ASSERT_EQ(cv::NetSendFrame("\0x", 2, nullptr, 50150), 2 + cv::kSealedOverhead);
    ASSERT_EQ(fake::Sent().size(), 1u);
    EXPECT_EQ(Opened(fake::Sent()[0].bytes), (Bytes{0, 'x'}));
}

}  // namespace
