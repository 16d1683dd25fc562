// The endpoint against a raw peer socket on the loopback address.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "net/Net.h"
#include "net/PeerSocket.h"
#include "support/NetNamespaceGuard.h"

namespace {

using rizer::test::Bytes;
using rizer::test::PeerSocket;

constexpr std::uint16_t kPort = 50160;
constexpr std::uint16_t kPeerPort = 50161;

struct Received {
    std::int32_t result = 0;
    std::int32_t length = 12345;
    std::string address = "untouched";
    int port = -7;
    std::string payload;
};

// One NetReceive with limit 255 into a buffer whose tail shows overwrites.
Received Receive(std::int32_t limit = 255) {
    Received r;
    char dest[300];
    std::memset(dest, '#', sizeof dest);
    r.result = cv::NetReceive(dest, limit, &r.address, &r.port, &r.length);
    if (r.result > 0) {
        r.payload.assign(dest, static_cast<std::size_t>(r.result));
        EXPECT_EQ(dest[r.result], '#') << "written past the payload";
    }
    return r;
}

// As Receive, but waits a little for a datagram still on its way.
Received ReceiveWaiting() {
    for (int i = 0; i < 200; ++i) {
        Received r = Receive();
        if (r.result != -1) return r;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return Receive();
}

class NetEndpoint : public ::testing::Test {
 protected:
    void SetUp() override {
        RIZER_REQUIRE_PRIVATE_NETWORK();
        ASSERT_TRUE(cv::NetInit());
        ASSERT_NE(cv::NetOpen(kPort), 0);
        peer_ = std::make_unique<PeerSocket>(kPeerPort);
        ASSERT_TRUE(peer_->Bound());
    }
    void TearDown() override {
        peer_.reset();
        cv::NetClose();
    }
    void Frame(const std::string& payload) {
        cv::NetResetSend();
        if (!payload.empty()) {
            ASSERT_TRUE(cv::NetAppend(payload.data(), static_cast<int>(payload.size())));
        }
    }
    std::unique_ptr<PeerSocket> peer_;
};

TEST_F(NetEndpoint, PlainFramesBothWays) {
    Frame("hello");
    EXPECT_EQ(cv::NetSend("127.0.0.1", kPeerPort, false), 6);
    auto got = peer_->Receive();
    EXPECT_EQ(std::string(got.begin(), got.end()), Bytes({0}) + "hello");
    // Sending does not consume the frame.
    EXPECT_EQ(cv::NetSend("127.0.0.1", kPeerPort, false), 6);

    peer_->Send(kPort, Bytes({0}) + "abc");
    Received r = ReceiveWaiting();
    EXPECT_EQ(r.result, 3);
    EXPECT_EQ(r.length, 3);
    EXPECT_EQ(r.payload, "abc");
    EXPECT_EQ(r.address, "127.0.0.1");
    EXPECT_EQ(r.port, kPeerPort);
    EXPECT_EQ(Receive().result, -1);  // nothing more waiting
}

TEST_F(NetEndpoint, BroadcastReachesTheSenderItself) {
    Frame("<Ann>: hi");
    EXPECT_EQ(cv::NetSend(nullptr, kPort, false), 10);
    Received r = ReceiveWaiting();
    EXPECT_EQ(r.payload, "<Ann>: hi");
    EXPECT_TRUE(cv::NetPendingList().empty());
}

TEST_F(NetEndpoint, AcknowledgedSendsAreRecordedAndNumberedFromFive) {
    Frame("xy");
    EXPECT_EQ(cv::NetSend("127.0.0.1", kPeerPort, true), 5);
    auto got = peer_->Receive();
    EXPECT_EQ(std::string(got.begin(), got.end()), Bytes({2, 5, 0}) + "xy");
    ASSERT_EQ(cv::NetPendingList().size(), 1u);
    const cv::TAPLpacket& p = cv::NetPendingList()[0];
    EXPECT_EQ(p.state, cv::kPacketSent);
    EXPECT_EQ(p.sequence, 5);
    EXPECT_EQ(p.length, 3);
    EXPECT_EQ(p.port, kPeerPort);
    EXPECT_EQ(p.address, "127.0.0.1");
    EXPECT_EQ(p.frame, (std::vector<std::uint8_t>{2, 5, 0, 'x', 'y'}));

    // Acknowledged without an address: a plain broadcast, no record.
    EXPECT_EQ(cv::NetSend(nullptr, kPeerPort, true), 3);
    EXPECT_EQ(cv::NetPendingList().size(), 1u);

    // 6 ... 65535, then 5 again (sent to a port nobody reads).
    for (int seq = 6; seq <= 65535; ++seq) cv::NetSend("127.0.0.1", kPeerPort + 2, true);
    EXPECT_EQ(cv::NetPendingList().back().sequence, 65535);
    cv::NetSend("127.0.0.1", kPeerPort + 2, true);
    EXPECT_EQ(cv::NetPendingList().back().sequence, 5);
    EXPECT_EQ(cv::NetPendingList().back().frame[1], 5);

    // NetInit empties the list and starts over.
    ASSERT_TRUE(cv::NetInit());
    EXPECT_TRUE(cv::NetPendingList().empty());
    ASSERT_NE(cv::NetOpen(kPort), 0);
    Frame("a");
    cv::NetSend("127.0.0.1", kPeerPort, true);
    EXPECT_EQ(cv::NetPendingList().back().sequence, 5);
}

TEST_F(NetEndpoint, ReliableFrameIsAcknowledgedEveryTimeAndDeliveredOnce) {
    const std::string frame = Bytes({2, 0x34, 0x12}) + "once";
    peer_->Send(kPort, frame);
    Received r = ReceiveWaiting();
    EXPECT_EQ(r.result, 4);
    EXPECT_EQ(r.payload, "once");
    EXPECT_EQ(r.port, kPeerPort);
    auto ack = peer_->Receive();
    EXPECT_EQ(std::string(ack.begin(), ack.end()), Bytes({1, 0x34, 0x12}));

    peer_->Send(kPort, frame);  // a repeat: acknowledged, not delivered
    peer_->Send(kPort, Bytes({0}) + "after");
    r = ReceiveWaiting();
    EXPECT_EQ(r.payload, "after");
    ack = peer_->Receive();
    EXPECT_EQ(std::string(ack.begin(), ack.end()), Bytes({1, 0x34, 0x12}));

    // An empty reliable payload: acknowledged, remembered, result 0.
    peer_->Send(kPort, Bytes({2, 9, 0}));
    r = ReceiveWaiting();
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.length, 0);
    ack = peer_->Receive();
    EXPECT_EQ(ack.size(), 3u);
    peer_->Send(kPort, Bytes({2, 9, 0}));
    EXPECT_EQ(ReceiveWaiting().result, -1);
}

// The poller has no use for the sender: without the outputs, payloads and
// the repeat check are the same.
TEST_F(NetEndpoint, SenderOutputsMayBeLeftOut) {
    const std::string reliable = Bytes({2, 7, 0}) + "rel";
    peer_->Send(kPort, Bytes({0}) + "abc");
    peer_->Send(kPort, reliable);
    peer_->Send(kPort, reliable);
    peer_->Send(kPort, Bytes({0}) + "end");
    std::vector<std::string> got;
    for (int i = 0; i < 200 && got.size() < 3; ++i) {
        char dest[255];
        std::int32_t length = 0;
        const std::int32_t n = cv::NetReceive(dest, 255, nullptr, nullptr, &length);
        if (n > 0) got.emplace_back(dest, static_cast<std::size_t>(n));
        if (n == -1) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_EQ(got, (std::vector<std::string>{"abc", "rel", "end"}));
    EXPECT_EQ(peer_->Receive().size(), 3u);  // both copies acknowledged
    EXPECT_EQ(peer_->Receive().size(), 3u);
}

TEST_F(NetEndpoint, AckMarksOnlyTheMatchingRecordAndGoesOn) {
    Frame("one");
    cv::NetSend("127.0.0.1", kPeerPort, true);  // 5
    cv::NetSend("127.0.0.1", kPeerPort, true);  // 6
    peer_->Receive();
    peer_->Receive();

    PeerSocket stranger(kPeerPort + 3);
    stranger.Send(kPort, Bytes({1, 5, 0}));  // right sequence, wrong port
    peer_->Send(kPort, Bytes({1, 7, 0}));    // no such sequence
    peer_->Send(kPort, Bytes({1, 6, 0}));    // matches record 6
    peer_->Send(kPort, Bytes({0}) + "next");
    Received r = ReceiveWaiting();
    EXPECT_EQ(r.payload, "next");
    const auto& list = cv::NetPendingList();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].state, cv::kPacketSent);
    EXPECT_EQ(list[1].state, cv::kPacketAcknowledged);
}

TEST_F(NetEndpoint, AppendStopsBelowTheBufferSize) {
    std::string big(65506, 'z');
    cv::NetResetSend();
    EXPECT_FALSE(cv::NetAppend(big.data(), 65506));
    EXPECT_EQ(cv::NetSendLength(), 1);
    EXPECT_TRUE(cv::NetAppend(big.data(), 65505));
    EXPECT_EQ(cv::NetSendLength(), 65506);
    EXPECT_FALSE(cv::NetAppend("a", 1));
    EXPECT_EQ(cv::NetSendLength(), 65506);
    EXPECT_FALSE(cv::NetAppend("a", 0));
    EXPECT_FALSE(cv::NetAppend("a", -1));
    cv::NetResetSend();
    EXPECT_EQ(cv::NetSendLength(), 1);
    // An empty frame goes out as the kind byte alone; it reads as 0.
    EXPECT_EQ(cv::NetSend(nullptr, kPort, false), 1);
    Received r;
    for (int i = 0; i < 200 && (r = Receive()).result == -1; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.length, 0);
    EXPECT_EQ(r.address, "untouched");
    EXPECT_EQ(r.port, -7);
}

TEST_F(NetEndpoint, StrayDatagramsNeverSurfaceAsPayload) {
    peer_->Send(kPort, std::string(300, 'L'));  // longer than the limit: lost
    peer_->Send(kPort, Bytes({0}) + "fits");
    EXPECT_EQ(Receive().result, -1);
    EXPECT_EQ(ReceiveWaiting().payload, "fits");

    peer_->Send(kPort, Bytes({1, 5}));                // incomplete ack
    peer_->Send(kPort, Bytes({2, 5}));                // incomplete reliable
    peer_->Send(kPort, Bytes({7}) + "unknown kind");  // unknown kind
    peer_->Send(kPort, Bytes({0}) + "ok");
    Received r = ReceiveWaiting();
    EXPECT_EQ(r.result, 2);
    EXPECT_EQ(r.payload, "ok");
    EXPECT_TRUE(peer_->Receive(50).empty()) << "an incomplete frame was acknowledged";

    // A flood of acknowledgements cannot hold one call for ever.
    for (int i = 0; i < cv::kNetMaxSkippedPerReceive + 10; ++i) peer_->Send(kPort, Bytes({1, 9, 9}));
    peer_->Send(kPort, Bytes({0}) + "end");
    EXPECT_EQ(Receive().result, -1);
    EXPECT_EQ(ReceiveWaiting().payload, "end");
}

// A frame goes out byte for byte, whatever its kind, and leaves no record;
// the frame being assembled stays as it was.
TEST_F(NetEndpoint, SendFrameSendsTheBytesAsGiven) {
    Frame("kept");
    const std::string frames[] = {Bytes({2, 0x34, 0x12}) + "mine", Bytes({0}) + "x", Bytes({9})};
    for (const std::string& f : frames) {
        EXPECT_EQ(cv::NetSendFrame(f.data(), static_cast<int>(f.size()), "127.0.0.1", kPeerPort),
                  static_cast<int>(f.size()));
        const auto got = peer_->Receive();
        EXPECT_EQ(std::string(got.begin(), got.end()), f);
    }
    EXPECT_TRUE(cv::NetPendingList().empty());
    EXPECT_EQ(cv::NetSendLength(), 5);
    EXPECT_EQ(cv::NetSendFrame("\0b", 2, nullptr, kPort), 2);  // null: the limited broadcast
    EXPECT_EQ(ReceiveWaiting().payload, "b");
    EXPECT_EQ(cv::NetSendFrame("", 0, "127.0.0.1", kPeerPort), 0);
    cv::NetClose();
    EXPECT_EQ(cv::NetSendFrame("\0a", 2, "127.0.0.1", kPeerPort), 0);
    EXPECT_TRUE(peer_->Receive(50).empty());
}

// One datagram a call, and what became of it: what NetReceive hands on and
// what it consumes alike, with the sender where the endpoint knows it.
TEST_F(NetEndpoint, ReceiveOneTellsWhatBecameOfEachDatagram) {
    Frame("q");
    cv::NetSend("127.0.0.1", kPeerPort, true);  // record of sequence 5
    peer_->Receive();
    using T = cv::NetTaken;
    using W = cv::NetConsumed;
    // The ring of frames seen outlives NetInit: sequences no other test uses.
    const struct {
        std::string datagram;
        T taken;
        W why;
        int kind;
        int sequence;  // -1: none
        std::string payload;
        bool fromPeer;
    } cases[] = {
        {Bytes({0}) + "abc", T::Payload, W::Ack, 0, -1, "abc", true},
        {Bytes({1, 5, 0}), T::Consumed, W::Ack, 1, 5, "", true},
        {Bytes({2, 0x21, 0x43}) + "r", T::Payload, W::Ack, 2, 0x4321, "r", true},
        {Bytes({2, 0x21, 0x43}) + "r", T::Consumed, W::Repeat, 2, 0x4321, "", true},
        {Bytes({2, 0x22, 0x43}), T::Empty, W::Ack, 2, 0x4322, "", true},
        {Bytes({0}), T::Empty, W::Ack, 0, -1, "", true},
        {Bytes({9, 1, 2}), T::Consumed, W::UnknownKind, 9, -1, "", true},
        {Bytes({1, 5}), T::Consumed, W::Incomplete, 1, -1, "", true},
        {Bytes({2, 5}), T::Consumed, W::Incomplete, 2, -1, "", true},
        {std::string(300, 'L'), T::Consumed, W::TooLong, 0, -1, "", false},
        {"", T::Consumed, W::Empty, 0, -1, "", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.datagram));
        peer_->Send(kPort, c.datagram);
        cv::NetDatagram d;
        for (int i = 0; i < 200; ++i) {
            cv::NetReceiveOne(255, &d);
            if (d.taken != T::Nothing) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        EXPECT_EQ(d.taken, c.taken);
        if (c.taken == T::Consumed) {
            EXPECT_EQ(d.why, c.why);
        }
        EXPECT_EQ(d.kind, c.kind);
        EXPECT_EQ(d.sequenced, c.sequence >= 0);
        if (c.sequence >= 0) {
            EXPECT_EQ(d.sequence, c.sequence);
        }
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(d.payload), static_cast<std::size_t>(d.length)),
                  c.payload);
        EXPECT_EQ(cv::NetAddressText(d.address), c.fromPeer ? "127.0.0.1" : "0.0.0.0");
        EXPECT_EQ(d.port, c.fromPeer ? kPeerPort : 0);
    }
    // The acknowledgement was marked before it was reported.
    EXPECT_EQ(cv::NetPendingList().at(0).state, cv::kPacketAcknowledged);
    // Only the three acknowledged frames were answered.
    for (int i = 0; i < 3; ++i) EXPECT_EQ(peer_->Receive().size(), 3u);
    EXPECT_TRUE(peer_->Receive(50).empty());
    cv::NetDatagram d;
    cv::NetReceiveOne(255, &d);
    EXPECT_EQ(d.taken, T::Nothing);
    peer_->Send(kPort, Bytes({0}) + "kept");
    cv::NetReceiveOne(0, &d);  // a limit out of range takes nothing
    EXPECT_EQ(d.taken, T::Nothing);
    EXPECT_EQ(ReceiveWaiting().payload, "kept");
}

TEST_F(NetEndpoint, LimitsOutsideTheRangeReadNothing) {
    peer_->Send(kPort, Bytes({0}) + "kept");
    EXPECT_EQ(Receive(0).result, 0);
    EXPECT_EQ(Receive(65508).result, 0);
    EXPECT_EQ(ReceiveWaiting().payload, "kept");
}

TEST(NetEndpointLifecycle, FailedBindLeavesTheEndpointReadyWithoutSocket) {
    RIZER_REQUIRE_PRIVATE_NETWORK();
    PeerSocket holder(kPort);  // holds the port
    ASSERT_TRUE(holder.Bound());
    ASSERT_TRUE(cv::NetInit());
    EXPECT_EQ(cv::NetOpen(kPort), 0);
    EXPECT_TRUE(cv::NetIsReady());
    EXPECT_EQ(cv::NetSocketHandle(), 0);
    cv::NetResetSend();
    EXPECT_FALSE(cv::NetAppend("a", 1));
    EXPECT_EQ(cv::NetSend(nullptr, kPort, false), 0);
    char buf[8];
    std::string a;
    int p = 0;
    std::int32_t len = 99;
    EXPECT_EQ(cv::NetReceive(buf, 8, &a, &p, &len), 0);
    EXPECT_EQ(len, 99);
    cv::NetClose();
    EXPECT_FALSE(cv::NetIsReady());
    EXPECT_EQ(cv::NetSend(nullptr, kPort, false), 0);
}

}  // namespace
