// Operators: in a group whose key lists them, a command (here a payload
// starting with '$') is taken only when signed by one of them; an operator's
// endpoint signs its commands and nothing else.
#include <gtest/gtest.h>
#include <sodium.h>

#include <cstring>
#include <string>
#include <vector>

#include "FakeSocket.h"
#include "net/Net.h"
#include "net/SealedFrame.h"

namespace {

namespace fake = rizer::test::fake;
using Bytes = std::string;

constexpr std::uint64_t kNow = 1'800'000'000;
constexpr std::uint32_t kPeer = 0x0200000Au;  // 10.0.0.2
constexpr std::uint32_t kMe = 0x0100000Au;    // 10.0.0.1, ours
std::uint64_t Now() { return kNow; }
bool DollarIsACommand(const std::uint8_t* p, std::int32_t n) { return n >= 1 && p[0] == '$'; }

cv::OperatorKey NewOperator() {
    cv::OperatorKey k;
    unsigned char pk[crypto_sign_PUBLICKEYBYTES];
    crypto_sign_keypair(pk, k.secret.data());
    return k;
}

class NetOperators : public ::testing::Test {
 protected:
    void SetUp() override {
        ASSERT_TRUE(cv::SealingReady());
        fake::Reset();
        fake::SetWallClock(Now);
        cv::NetSetCommandTest(DollarIsACommand);
        for (std::size_t i = 0; i < group_.bytes.size(); ++i)
            group_.bytes[i] = static_cast<std::uint8_t>(0x5A ^ i);
        group_.operators = {student2_.PublicKey(), teacher_.PublicKey()};
        Start(group_);
    }
    void TearDown() override {
        cv::NetClose();
        cv::NetSetKey(nullptr);
        cv::NetSetOperator(nullptr);
        cv::NetSetCommandTest(nullptr);
        fake::SetWallClock(nullptr);
    }
    void Start(const cv::GroupKey& group) {
        key_ = cv::MakeSealingKey(group);
        cv::NetSetKey(&group);
        ASSERT_TRUE(cv::NetInit());
        ASSERT_NE(cv::NetOpen(50150), 0);
    }
    cv::SealHeader Header(std::uint32_t counter, std::uint32_t to = cv::kSealedForEverybody) {
        return {{7, 7, 7, 7, 7, 7, 7, 7}, counter, static_cast<std::uint32_t>(kNow), to};
    }
    // Seals any plaintext as a key holder can: the header, then the AEAD.
    Bytes SealPlain(const cv::SealHeader& h, const Bytes& plain) {
        Bytes head(cv::kSealedHeader, '\0');
        // The header as SealFrame writes it, taken from a frame it sealed.
        Bytes probe(1 + cv::kSealedOverhead, '\0');
        const std::uint8_t one = 0;
        cv::SealFrame(key_, h, &one, 1, reinterpret_cast<std::uint8_t*>(probe.data()));
        head = probe.substr(0, cv::kSealedHeader);
        unsigned char nonce[crypto_aead_xchacha20poly1305_ietf_NPUBBYTES] = {};
        std::memcpy(nonce, head.data() + 2, 16);
        Bytes out = head + Bytes(plain.size() + cv::kSealedTag, '\0');
        unsigned long long n = 0;
        crypto_aead_xchacha20poly1305_ietf_encrypt(
            reinterpret_cast<unsigned char*>(out.data()) + cv::kSealedHeader, &n,
            reinterpret_cast<const unsigned char*>(plain.data()), plain.size(),
            reinterpret_cast<const unsigned char*>(head.data()), head.size(), nullptr, nonce, key_.key);
        return out;
    }
    Bytes Signed(const cv::SealHeader& h, const cv::OperatorKey& op, const Bytes& inner) {
        Bytes out(inner.size() + cv::kSealedOverhead + cv::kSignatureTrailer, '\0');
        const int n =
            cv::SealSignedFrame(key_, h, op, reinterpret_cast<const std::uint8_t*>(inner.data()),
                                static_cast<int>(inner.size()), reinterpret_cast<std::uint8_t*>(out.data()));
        EXPECT_EQ(n, static_cast<int>(out.size()));
        return out;
    }
    // The plaintext of a frame sealed with the group's key ("" if it does not open).
    Bytes Plaintext(Bytes frame) {
        cv::SealHeader h{};
        if (cv::OpenFrame(key_, reinterpret_cast<std::uint8_t*>(frame.data()), static_cast<int>(frame.size()),
                          kNow, &h) != cv::SealedVerdict::Opened)
            return "";
        return frame.substr(cv::kSealedHeader, frame.size() - cv::kSealedOverhead);
    }
    std::string Receive(const Bytes& datagram) {
        fake::Queue(datagram, kPeer, 50151);
        cv::NetDatagram d;
        cv::NetReceiveOne(255, &d);
        if (d.taken == cv::NetTaken::Payload)
            return std::string(d.byOperator ? "operator's " : "") +
                   std::string(reinterpret_cast<const char*>(d.payload), static_cast<std::size_t>(d.length));
        return d.taken == cv::NetTaken::Consumed ? cv::NetConsumedWord(d.why) : "nothing";
    }

    cv::GroupKey group_;
    cv::SealingKey key_{};
    cv::OperatorKey teacher_ = NewOperator(), student_ = NewOperator(), student2_ = NewOperator();
};

TEST_F(NetOperators, OnlyAnOperatorsSignedCommandIsTaken) {
    const Bytes go = Bytes{0} + "$AShutdown";
    const Bytes goSigned = Signed(Header(1), teacher_, go);
    const Bytes plain = Plaintext(goSigned);
    ASSERT_EQ(plain.size(), go.size() + 96);
    // The teacher's signature and key, moved onto another command.
    const Bytes moved = Bytes{char(0x80)} + "$AReboot" + plain.substr(plain.size() - 96);
    // The signed plaintext sealed again to this machine's address: the
    // signature still names everybody.
    struct Row {
        const char* what;
        Bytes datagram;
        const char* becomes;
    } rows[] = {
        {"the teacher's command", goSigned, "operator's $AShutdown"},
        {"the same frame again", goSigned, "replayed"},
        {"a command unsigned", SealPlain(Header(2), go), "unsigned"},
        {"a chat line unsigned", SealPlain(Header(3), Bytes{0} + "<Bob>: hi"), "<Bob>: hi"},
        {"a chat line signed by the teacher", Signed(Header(4), teacher_, Bytes{0} + "<T>: hi"),
         "operator's <T>: hi"},
        {"a command signed by a student", Signed(Header(5), student_, go), "not an operator"},
        {"a chat line signed by a student", Signed(Header(6), student_, Bytes{0} + "<S>: hi"),
         "not an operator"},
        {"an acknowledged command, unsigned", SealPlain(Header(7), Bytes{2, 9, 0} + "$M1Hi"), "unsigned"},
        {"an acknowledged command, signed", Signed(Header(8), teacher_, Bytes{2, 9, 0} + "$M1Hi"),
         "operator's $M1Hi"},
        {"redirected: sealed again to this machine", SealPlain(Header(9, kMe), plain), "forged"},
        {"re-sealed as a new frame of the session", SealPlain(Header(10), plain), "forged"},
        {"a signature moved onto another command", SealPlain(Header(11), moved), "forged"},
        {"too short for a signature", SealPlain(Header(12), Bytes{char(0x80)} + "$AX" + Bytes(90, 'S')),
         "forged"},
        {"an unsigned inner frame over 255 bytes", SealPlain(Header(13), Bytes{0} + Bytes(255, 'x')),
         "malformed"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(Receive(r.datagram), r.becomes);
    }
    EXPECT_EQ(cv::NetConsumedCount(cv::NetConsumed::Unsigned), 2u);
    EXPECT_EQ(cv::NetConsumedCount(cv::NetConsumed::NotOperator), 2u);
    EXPECT_EQ(cv::NetConsumedCount(cv::NetConsumed::ForgedSignature), 4u);
}

// Every byte of a signed command's plaintext changed by a key holder who
// seals it again: the kind byte's flag makes it unsigned, the signer's key
// another key, any other byte a forgery.
TEST_F(NetOperators, EveryChangedByteOfASignedCommandIsDroppedWithItsReason) {
    const Bytes go = Bytes{2, 5, 0} + "$AGo";
    const Bytes plain = Plaintext(Signed(Header(0), teacher_, go));
    ASSERT_EQ(Receive(SealPlain(Header(1), plain)), "forged") << "a new counter is a new frame";
    std::uint32_t counter = 100;
    for (std::size_t i = 0; i < plain.size(); ++i) {
        for (const std::uint8_t mask : {0x01, 0x80}) {
            SCOPED_TRACE("byte " + std::to_string(i) + " mask " + std::to_string(mask));
            Bytes changed = plain;
            changed[i] = static_cast<char>(changed[i] ^ mask);
            const std::size_t keyAt = go.size();
            const char* expected = i == 0 && mask == 0x80         ? "unsigned"
                                   : i >= keyAt && i < keyAt + 32 ? "not an operator"
                                                                  : "forged";
            // Dropped, not acknowledged.
            fake::Sent().clear();
            EXPECT_EQ(Receive(SealPlain(Header(counter++), changed)), expected);
            EXPECT_TRUE(fake::Sent().empty());
        }
    }
}

// A group without operator lines takes signed frames as they are, without
// the cost of a verification, and unsigned commands too.
TEST_F(NetOperators, AGroupWithoutOperatorsTakesEverything) {
    cv::GroupKey plainGroup = group_;
    plainGroup.operators.clear();
    Start(plainGroup);
    EXPECT_EQ(Receive(Signed(Header(0), student_, Bytes{0} + "$AGo")), "$AGo");
    EXPECT_EQ(Receive(SealPlain(Header(1), Bytes{0} + "$AGo")), "$AGo");
}

// An operator's endpoint signs its commands, on every send path, and nothing
// else: chat lines and acknowledgements leave as from any other copy.
TEST_F(NetOperators, AnOperatorSignsItsCommandsAndNothingElse) {
    cv::NetSetOperator(&teacher_);
    struct Row {
        const char* payload;
        bool acknowledged;
        bool signs;
    } rows[] = {{"$AGo", false, true}, {"$M2Careful", true, true}, {"<T>: hello", false, false}};
    for (const Row& r : rows) {
        SCOPED_TRACE(r.payload);
        fake::Sent().clear();
        cv::NetResetSend();
        cv::NetAppend(r.payload, static_cast<std::int32_t>(std::strlen(r.payload)));
        const int n = cv::NetSend(r.acknowledged ? "10.0.0.2" : nullptr, 50150, r.acknowledged);
        const int inner = static_cast<int>(std::strlen(r.payload)) + (r.acknowledged ? 3 : 1);
        EXPECT_EQ(n, inner + cv::kSealedOverhead + (r.signs ? cv::kSignatureTrailer : 0));
        ASSERT_EQ(fake::Sent().size(), 1u);
        const Bytes plain = Plaintext(fake::Sent()[0].bytes);
        EXPECT_EQ((static_cast<std::uint8_t>(plain[0]) & cv::kSignedFlag) != 0, r.signs);
        // The group's copies take it (this one is not 10.0.0.2).
        EXPECT_EQ(Receive(fake::Sent()[0].bytes),
                  r.acknowledged ? std::string("misdirected")
                                 : std::string(r.signs ? "operator's " : "") + r.payload);
    }
    // An acknowledgement of a command is no command: unsigned.
    fake::Sent().clear();
    Receive(Signed(Header(40), teacher_, Bytes{2, 3, 0} + "$AGo"));
    ASSERT_EQ(fake::Sent().size(), 1u);
    EXPECT_EQ(Plaintext(fake::Sent()[0].bytes), (Bytes{1, 3, 0}));
}

// A key holder flooding badly signed commands: one receive call makes at
// most a few verifications, then pauses, so that the poller looks at its
// clock before it goes on.
TEST_F(NetOperators, AFloodOfBadSignaturesEndsEachReceiveEarly) {
    const Bytes plain = Plaintext(Signed(Header(0), teacher_, Bytes{0} + "$AGo"));
    Bytes bad = plain;
    bad[1] = 'X';
    for (std::uint32_t i = 0; i < 100; ++i) fake::Queue(SealPlain(Header(1 + i), bad), kPeer, 50151);
    char buf[255];
    std::int32_t length = 0;
    EXPECT_EQ(cv::NetReceive(buf, 255, nullptr, nullptr, &length), cv::kNetReceivePaused);
    EXPECT_EQ(length, cv::kNetReceivePaused);
    EXPECT_EQ(fake::Waiting(), 100u - cv::kNetMaxVerificationsPerReceive);
    // Unsigned or not-an-operator frames cost nothing and are skipped on.
    for (std::uint32_t i = 0; i < 50; ++i)
        fake::Queue(Signed(Header(200 + i), student_, Bytes{0} + "$AGo"), kPeer, 50151);
    while (fake::Waiting() > 50) cv::NetReceive(buf, 255, nullptr, nullptr, &length);
    EXPECT_EQ(cv::NetReceive(buf, 255, nullptr, nullptr, &length), -1);
    EXPECT_EQ(fake::Waiting(), 0u);
}

}  // namespace
