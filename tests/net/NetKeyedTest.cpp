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
std::uint32_t Now() { return kNow; }

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
        cv::SetSealClockForTests(Now);
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
        cv::SetSealClockForTests(nullptr);
    }
    Bytes Seal(const Bytes& inner, std::uint8_t session, std::uint32_t counter, std::int64_t ahead = 0,
               const cv::SealingKey* key = nullptr) {
        cv::SealHeader h{{session, 0, 0, 0, 0, 0, 0, 1}, counter, static_cast<std::uint32_t>(kNow + ahead)};
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
        {"longer than any sealed frame", Seal(Bytes(256, 'L'), 1, 53), 255, "consumed malformed", {}},
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
        {cv::NetConsumed::Replayed, 2},   {cv::NetConsumed::Stale, 1},       {cv::NetConsumed::Forged, 1},
        {cv::NetConsumed::AnotherKey, 1}, {cv::NetConsumed::Unkeyed, 2},     {cv::NetConsumed::Malformed, 3},
        {cv::NetConsumed::Repeat, 1},     {cv::NetConsumed::UnknownKind, 1}, {cv::NetConsumed::TooLong, 1},
        {cv::NetConsumed::Ack, 1},        {cv::NetConsumed::Empty, 0},       {cv::NetConsumed::Incomplete, 0},
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

}  // namespace
