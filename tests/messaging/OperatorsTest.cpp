// Operators in the messaging layer: riZER.operator read at every open beside
// riZER.key, what the copy then sends (each frame opened here), which
// commands of other key holders reach the host, and the poller's bound under
// a flood of badly signed commands.
#include <sodium.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "FakeLocalization.h"
#include "FakeTickClock.h"
#include "LocTestFolder.h"
#include "MessagingFixture.h"
#include "messaging/PollTick.h"
#include "net/Net.h"
#include "net/SealedFrame.h"
#include "net/SocketApi.h"

namespace {

namespace fs = std::filesystem;
namespace rec = cv::platform::recorder;
using rizer::test::Host;

const std::string kGroupHex = "00112233445566778899aabbccddeeff00112233445566778899aabbccddeeff";

cv::OperatorKey NewOperator() {
    cv::OperatorKey k;
    unsigned char pk[crypto_sign_PUBLICKEYBYTES];
    crypto_sign_keypair(pk, k.secret.data());
    return k;
}

std::string Hex(const std::uint8_t* bytes, std::size_t n) {
    std::string hex(2 * n + 1, '\0');
    sodium_bin2hex(hex.data(), hex.size(), bytes, n);
    hex.pop_back();
    return hex;
}

std::string OperatorLine(const cv::OperatorKey& k) {
    const cv::OperatorPublicKey pk = k.PublicKey();
    return "operator " + Hex(pk.data(), pk.size()) + "\r\n";
}

std::string OperatorFileText(const cv::OperatorKey& k) {
    return "# operator\r\n" + Hex(k.secret.data(), k.secret.size()) + "\r\n";
}

// One datagram as it left this copy: whether it was sealed, signed (and by
// whom), and its inner frame.
struct Sent {
    bool sealed = false;
    bool signedByTeacher = false;
    bool signedAtAll = false;
    std::string inner;
};

class Operators : public rizer::test::Messaging {
 protected:
    void SetUp() override {
        ASSERT_TRUE(cv::SealingReady());
        Messaging::SetUp();
        group_ = *cv::ParseGroupKey(kGroupHex);
        group_.operators = {teacher_.PublicKey()};
        sealing_ = cv::MakeSealingKey(group_);
        randombytes_buf(session_, sizeof session_);
    }

    fs::path Beside(const char* name) const { return folder_.LocPath().parent_path() / name; }
    void WriteFile(const char* name, const std::string& text) const {
        fs::remove_all(Beside(name));
        std::ofstream(Beside(name), std::ios::binary) << text;
    }
    void WriteKey(const std::string& operatorLines) const {
        WriteFile("riZER.key", "# group\r\n" + kGroupHex + "\r\n" + operatorLines);
    }
    void Open() { cv::ExecOpenPort(std::to_string(kPort), "Chat"); }

    // Every datagram that reaches this copy's own socket within `ms` (its
    // broadcasts come back to it), taken off before the endpoint sees them.
    std::vector<Sent> OwnDatagrams(int ms = 300) {
        std::vector<Sent> out;
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
        std::uint8_t buf[512];
        while (std::chrono::steady_clock::now() < until) {
            std::uint32_t from = 0;
            std::uint16_t port = 0;
            const int n = cv::net::sock::RecvFrom(cv::NetSocketHandle(), buf, sizeof buf, &from, &port);
            if (n < 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                continue;
            }
            out.push_back(Open(buf, n));
        }
        return out;
    }
    Sent Open(std::uint8_t* frame, int n) {
        Sent s;
        cv::SealHeader header{};
        if (cv::OpenFrame(sealing_, frame, n, cv::SealClock(), &header) != cv::SealedVerdict::Opened) {
            s.inner.assign(reinterpret_cast<const char*>(frame), static_cast<std::size_t>(n));
            return s;
        }
        s.sealed = true;
        int inner = 0;
        const std::uint8_t* signer = nullptr;
        const cv::Signature sig =
            cv::CheckSignature(frame, n - cv::kSealedOverhead, group_.operators, &inner, &signer);
        s.signedAtAll = signer != nullptr;
        s.signedByTeacher = sig == cv::Signature::Operator;
        if (sig == cv::Signature::None || sig == cv::Signature::Operator)
            s.inner.assign(reinterpret_cast<const char*>(frame) + cv::kSealedHeader,
                           static_cast<std::size_t>(inner));
        return s;
    }

    // A frame for everybody from another key holder, signed by `op` or not.
    std::string Sealed(const std::string& inner, const cv::OperatorKey* op) {
        const cv::SealHeader h = {{session_[0], session_[1], session_[2], session_[3], session_[4],
                                   session_[5], session_[6], session_[7]},
                                  counter_++,
                                  static_cast<std::uint32_t>(cv::SealClock()),
                                  cv::kSealedForEverybody};
        std::string out(inner.size() + cv::kSealedOverhead + cv::kSignatureTrailer, '\0');
        const auto* in = reinterpret_cast<const std::uint8_t*>(inner.data());
        auto* o = reinterpret_cast<std::uint8_t*>(out.data());
        const int n = op ? cv::SealSignedFrame(sealing_, h, *op, in, static_cast<int>(inner.size()), o)
                         : cv::SealFrame(sealing_, h, in, static_cast<int>(inner.size()), o);
        out.resize(static_cast<std::size_t>(n));
        return out;
    }

    cv::test::LocTestFolder folder_;
    cv::GroupKey group_;
    cv::SealingKey sealing_{};
    std::uint8_t session_[8] = {};
    std::uint32_t counter_ = 0;
    cv::OperatorKey teacher_ = NewOperator(), student_ = NewOperator();
};

// riZER.operator at every open, after riZER.key; then a GoSub, a box and a
// chat line from this copy, each opened as it went out.
TEST_F(Operators, EveryOpenReadsTheOperatorFileAndSignsOnlyCommandsWithAListedKey) {
    const std::string seventeen = [&] {
        std::string lines;
        for (int i = 0; i < 17; ++i) lines += OperatorLine(NewOperator());
        return lines;
    }();
    std::string seedMismatch = OperatorFileText(teacher_);
    seedMismatch[seedMismatch.size() - 3] ^= 1;  // the public half no longer the seed's
    enum class Op { None, Teacher, Student, Text, Folder };
    enum class Box { None, Key, Operator };
    struct Row {
        const char* what;
        std::string keyFile;  // its operator lines; "-" for no riZER.key
        Op operatorFile;
        std::string operatorText;
        Box box;
        bool open, sealed, signs;
    } rows[] = {
        {"no operator file", OperatorLine(teacher_), Op::None, "", Box::None, true, true, false},
        {"the teacher's, listed", OperatorLine(teacher_), Op::Teacher, "", Box::None, true, true, true},
        {"a student's, not listed", OperatorLine(teacher_), Op::Student, "", Box::Operator, true, true,
         false},
        {"listed among others", OperatorLine(student_) + OperatorLine(teacher_), Op::Teacher, "", Box::None,
         true, true, true},
        {"a key without operator lines", "", Op::Teacher, "", Box::Operator, true, true, false},
        {"127 digits", OperatorLine(teacher_), Op::Text, OperatorFileText(teacher_).substr(0, 12 + 127),
         Box::Operator, true, true, false},
        {"halves that disagree", OperatorLine(teacher_), Op::Text, seedMismatch, Box::Operator, true, true,
         false},
        {"two keys", OperatorLine(teacher_), Op::Text,
         OperatorFileText(teacher_) + OperatorFileText(teacher_), Box::Operator, true, true, false},
        {"a folder of that name", OperatorLine(teacher_), Op::Folder, "", Box::Operator, true, true, false},
        {"the teacher's again", OperatorLine(teacher_), Op::Teacher, "", Box::None, true, true, true},
        {"17 operator lines", seventeen, Op::Teacher, "", Box::Key, false, false, false},
        {"no riZER.key: the operator file is not read", "-", Op::Text, "junk", Box::None, true, false, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        fs::remove_all(Beside("riZER.key"));
        if (r.keyFile != "-") WriteKey(r.keyFile);
        fs::remove_all(Beside("riZER.operator"));
        switch (r.operatorFile) {
            case Op::None: break;
            case Op::Teacher: WriteFile("riZER.operator", OperatorFileText(teacher_)); break;
            case Op::Student: WriteFile("riZER.operator", OperatorFileText(student_)); break;
            case Op::Text: WriteFile("riZER.operator", r.operatorText); break;
            case Op::Folder: fs::create_directory(Beside("riZER.operator")); break;
        }
        rizer::test::ShownBoxes().clear();
        Open();
        const char* const box = r.box == Box::Key        ? "The riZER.key file is invalid."
                                : r.box == Box::Operator ? "The riZER.operator file is invalid."
                                                         : nullptr;
        EXPECT_EQ(rizer::test::BoxTexts(), box ? std::vector<std::string>{box} : std::vector<std::string>{});
        EXPECT_EQ(cv::NetIsReady(), r.open);
        EXPECT_EQ(cv::NetSigns(), r.signs);
        if (!r.open) continue;
        cv::ExecGoSub("Go");
        cv::ExecSystemMessage("Careful", "Warning");
        cv::ExecSendMessage("T", "hi");
        const std::vector<Sent> sent = OwnDatagrams();
        ASSERT_EQ(sent.size(), 3u);
        const std::string inner[] = {std::string(1, '\0') + "$AGo", std::string(1, '\0') + "$M2Careful",
                                     std::string(1, '\0') + "<T>: hi"};
        for (int i = 0; i < 3; ++i) {
            SCOPED_TRACE(inner[i].substr(1));
            EXPECT_EQ(sent[i].sealed, r.sealed);
            EXPECT_EQ(sent[i].inner, inner[i]);
            const bool command = i < 2;
            EXPECT_EQ(sent[i].signedAtAll, command && r.signs);
            EXPECT_EQ(sent[i].signedByTeacher, command && r.signs);
        }
    }
    // Closing and unloading forget the key; the next open reads it again.
    WriteKey(OperatorLine(teacher_));
    WriteFile("riZER.operator", OperatorFileText(teacher_));
    Open();
    ASSERT_TRUE(cv::NetSigns());
    cv::ExecClosePort();
    EXPECT_FALSE(cv::NetSigns());
    Open();
    ASSERT_TRUE(cv::NetSigns());
    cv::MessagingUnload();
    EXPECT_FALSE(cv::NetSigns());
}

// In a group whose riZER.key lists the teacher, another key holder's GoSubs
// and boxes reach the host only signed by the teacher; chat lines reach it
// unsigned or signed by the teacher. A group without operator lines takes
// everything, as before.
TEST_F(Operators, OnlyTheOperatorsCommandsReachTheHost) {
    enum class Signer { None, Teacher, Student };
    struct Row {
        const char* what;
        bool groupListsTeacher;
        std::string payload;
        Signer signer;
        const char* becomes;  // "" for nothing
    } rows[] = {
        {"a GoSub, unsigned", true, "$AGo", Signer::None, ""},
        {"a GoSub, the teacher's", true, "$AGo", Signer::Teacher, "script GoSub \"Go\""},
        {"a GoSub, a student's", true, "$AGo", Signer::Student, ""},
        {"a box, unsigned", true, "$M2Careful", Signer::None, ""},
        {"a box, the teacher's", true, "$M2Careful", Signer::Teacher, "box Careful"},
        {"a chat line, unsigned", true, "<S>: hi", Signer::None, "chat <S>: hi\r\n"},
        {"a chat line, the teacher's", true, "<T>: hi", Signer::Teacher, "chat <T>: hi\r\n"},
        {"a dropped marker, unsigned", true, "$M9x", Signer::None, ""},
        {"no operators: a GoSub, unsigned", false, "$AGo", Signer::None, "script GoSub \"Go\""},
        {"no operators: a box, unsigned", false, "$M1Stop", Signer::None, "box Stop"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        WriteKey(r.groupListsTeacher ? OperatorLine(teacher_) : "");
        Open();
        Host().variables.clear();
        Host().scriptLines.clear();
        const std::size_t boxes = rec::Boxes().size();
        const cv::OperatorKey* op = r.signer == Signer::Teacher   ? &teacher_
                                    : r.signer == Signer::Student ? &student_
                                                                  : nullptr;
        ASSERT_GT(peer_->Send(kPort, Sealed(std::string(1, '\0') + r.payload, op)), 0);
        std::string became;
        for (int i = 0; i < 100 && became.empty(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            Tick();
            if (!Host().scriptLines.empty()) became = "script " + Host().scriptLines[0];
            if (rec::Boxes().size() > boxes) became = "box " + rec::Boxes()[boxes].text;
            if (!Host().variables.empty()) became = "chat " + Host().variables[0].second;
        }
        EXPECT_EQ(became, r.becomes);
    }
}

// A tick's clock that a verification moves on by 100 us and nothing else
// does: what a tick verifies is then exact, whatever the machine's load.
std::uint32_t forgedAtStart = 0;
constexpr auto kVerification = std::chrono::microseconds(100);
std::chrono::steady_clock::time_point VerificationsTakeTime() {
    static const auto start = std::chrono::steady_clock::now();
    return start + kVerification * (cv::NetConsumedCount(cv::NetConsumed::ForgedSignature) - forgedAtStart);
}

// A key holder floods badly signed GoSubs (the teacher's key, a broken
// signature: each one costs a verification), with or without chat lines in
// between. The endpoint verifies at most 8 a receive call, and the tick reads
// its clock after every call: a tick verifies what fits in its bound plus at
// most one call's worth, and the flood is taken off over the following ticks.
TEST_F(Operators, AFloodOfBadSignaturesCannotHoldTheTick) {
    static_assert(cv::kMaxTickDrainMs == 20);
    constexpr std::uint32_t kFitInBound = std::chrono::milliseconds(cv::kMaxTickDrainMs) / kVerification;
    static_assert(kFitInBound + cv::kNetMaxVerificationsPerReceive < cv::kMaxDatagramsPerTick * 8,
                  "the clock, not the drain's count, must end a flooded tick");
    WriteKey(OperatorLine(teacher_));
    cv::OperatorKey impostor = teacher_;  // the teacher's public half, another seed
    randombytes_buf(impostor.secret.data(), 32);
    struct Row {
        const char* what;
        int chatEvery;  // a chat line after every N bad ones; 0 for none
        bool hostHearsChat;
    } rows[] = {{"bad signatures only", 0, true},
                {"a chat line after every 7", 7, true},
                {"a chat line after every 7, no SetVariable", 7, false}};
    constexpr int kBad = 2100;  // about ten ticks' worth
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        Open();
        const auto setVariable = cv::hostapi::SetVariable;
        if (!r.hostHearsChat) cv::hostapi::SetVariable = nullptr;
        forgedAtStart = cv::NetConsumedCount(cv::NetConsumed::ForgedSignature);
        int sent = 0;
        for (int i = 0; i < kBad; ++i) {
            sent += peer_->Send(kPort, Sealed(std::string(1, '\0') + "$AGo", &impostor)) > 0;
            if (r.chatEvery && i % r.chatEvery == r.chatEvery - 1)
                peer_->Send(kPort, Sealed(std::string(1, '\0') + "<S>: " + std::to_string(i), nullptr));
        }
        ASSERT_EQ(sent, kBad);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));  // all arrived
        rizer::test::fake::SetTickClock(VerificationsTakeTime);
        std::uint32_t most = 0;
        int ticks = 0;
        auto forged = [] { return cv::NetConsumedCount(cv::NetConsumed::ForgedSignature) - forgedAtStart; };
        for (; ticks < 5000 && forged() < kBad; ++ticks) {
            const std::uint32_t before = forged();
            Tick();
            most = std::max(most, forged() - before);
        }
        rizer::test::fake::SetTickClock(nullptr);
        EXPECT_EQ(forged(), static_cast<std::uint32_t>(kBad));
        EXPECT_GT(ticks, 1) << "one tick took the whole flood";
        EXPECT_LE(most, kFitInBound + cv::kNetMaxVerificationsPerReceive);
        // Nor does the flood hold up what comes behind it: a tick goes on
        // verifying while it has time (8 a tick would take 263 ticks).
        EXPECT_LE(ticks, static_cast<int>(kBad / kFitInBound) + 2);
        EXPECT_TRUE(Host().scriptLines.empty());
        if (r.chatEvery) {
            EXPECT_EQ(cv::Messaging().ChatList->Count(), static_cast<std::size_t>(kBad / r.chatEvery));
        }
        cv::hostapi::SetVariable = setVariable;
    }
}

// A tick's clock that is past the bound from its second reading on.
int clockReadings = 0;
std::chrono::steady_clock::time_point PastTheBoundAtOnce() {
    static const auto start = std::chrono::steady_clock::now();
    return start + std::chrono::seconds(clockReadings++ == 0 ? 0 : 1);
}

// The same flood against a clock that says the bound has passed: the tick
// ends after one receive call (at most 8 verifications), not after a round
// of calls that each verify up to 8 signatures.
TEST_F(Operators, ATickPastItsBoundEndsAfterOneReceiveCall) {
    WriteKey(OperatorLine(teacher_));
    cv::OperatorKey impostor = teacher_;
    randombytes_buf(impostor.secret.data(), 32);
    Open();
    cv::hostapi::SetVariable = nullptr;  // chat lines that call nobody: the cheap dispatch
    for (int round = 0; round < 40; ++round) {
        for (int i = 0; i < 7; ++i) peer_->Send(kPort, Sealed(std::string(1, '\0') + "$AGo", &impostor));
        peer_->Send(kPort, Sealed(std::string(1, '\0') + "<S>: " + std::to_string(round), nullptr));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const std::uint32_t before = cv::NetConsumedCount(cv::NetConsumed::ForgedSignature);
    clockReadings = 0;
    rizer::test::fake::SetTickClock(PastTheBoundAtOnce);
    Tick();
    rizer::test::fake::SetTickClock(nullptr);
    EXPECT_LE(cv::NetConsumedCount(cv::NetConsumed::ForgedSignature) - before,
              static_cast<std::uint32_t>(cv::kNetMaxVerificationsPerReceive));
    EXPECT_EQ(cv::Messaging().ChatList->Count(), 1u);
}

}  // namespace
