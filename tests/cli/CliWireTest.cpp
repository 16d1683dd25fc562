// The rizer-cli program on the wire, inside a private namespace: the bytes of
// every command, acknowledged sends against a raw peer and against the
// endpoint, and what listen prints for messages and for junk.
#include <gtest/gtest.h>
#include <sodium.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "PeerSocket.h"
#include "net/Net.h"
#include "net/SealedFrame.h"
#include "support/NetNamespaceGuard.h"

namespace {

using rizer::test::Bytes;
using rizer::test::PeerSocket;

constexpr std::uint16_t kPort = 50170;  // where the peer (or the listener) sits
constexpr std::uint16_t kOtherPort = 50171;

std::string Wire(const std::vector<std::uint8_t>& d) { return std::string(d.begin(), d.end()); }

// One run of the program; stdout through a pipe, stderr into a file.
class CliRun {
 public:
    explicit CliRun(const std::string& args) {
        char path[] = "/tmp/rizer-cli-stderr.XXXXXX";
        const int fd = mkstemp(path);
        if (fd >= 0) close(fd);
        errPath_ = path;
        pipe_ = popen((std::string(RIZER_CLI) + " " + args + " 2>" + errPath_).c_str(), "r");
    }
    ~CliRun() {
        Finish();
        unlink(errPath_.c_str());
    }
    CliRun(const CliRun&) = delete;
    CliRun& operator=(const CliRun&) = delete;

    std::string Stderr() const {
        std::ifstream f(errPath_, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }
    bool WaitForStderr(const std::string& text, int ms = 5000) const {
        for (int waited = 0; waited < ms; waited += 10) {
            if (Stderr().find(text) != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    // Reads stdout to its end and answers the exit code.
    int Finish() {
        if (!pipe_) return exit_;
        char buf[4096];
        for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, pipe_)) > 0;) out_.append(buf, n);
        const int status = pclose(pipe_);
        pipe_ = nullptr;
        exit_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128;
        return exit_;
    }
    const std::string& Stdout() const { return out_; }

 private:
    FILE* pipe_ = nullptr;
    std::string errPath_;
    std::string out_;
    int exit_ = -1;
};

// Shell quoting for one argument.
std::string Q(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// A folder of its own for key files, removed with what is in it.
class TempFolder {
 public:
    TempFolder() {
        char path[] = "/tmp/rizer-cli-keys.XXXXXX";
        if (mkdtemp(path)) path_ = path;
    }
    ~TempFolder() {
        if (!path_.empty()) std::system(("rm -rf " + path_).c_str());
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // Writes `text` to the file `name` in the folder and answers its path.
    std::string Write(const std::string& name, const std::string& text) const {
        std::ofstream(path_ + "/" + name, std::ios::binary) << text;
        return path_ + "/" + name;
    }
    std::string Read(const std::string& path) const {
        std::ifstream f(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), {});
    }
    const std::string& Path() const { return path_; }

 private:
    std::string path_;
};

const std::string kKeyA(64, 'a');
const std::string kKeyB(64, 'b');

// The sealed frame of `inner` under a key, as another keyed peer sends it.
std::string Sealed(const std::string& keyHex, const std::string& inner, std::uint32_t counter,
                   std::uint32_t clock = cv::SealClock()) {
    const std::optional<cv::GroupKey> key = cv::ParseGroupKey(keyHex);
    EXPECT_TRUE(key && cv::SealingReady());
    cv::SealHeader header{{9, 8, 7, 6, 5, 4, 3, 2}, counter, clock, cv::kSealedForEverybody};
    std::string out(inner.size() + cv::kSealedOverhead, '\0');
    cv::SealFrame(cv::MakeSealingKey(*key), header, reinterpret_cast<const std::uint8_t*>(inner.data()),
                  static_cast<int>(inner.size()), reinterpret_cast<std::uint8_t*>(out.data()));
    return out;
}

// The inner frame of a sealed frame of `keyHex`, or "" when it does not open.
std::string Opened(const std::string& keyHex, std::string frame) {
    const std::optional<cv::GroupKey> key = cv::ParseGroupKey(keyHex);
    cv::SealHeader header;
    if (!key || !cv::SealingReady() ||
        cv::OpenFrame(cv::MakeSealingKey(*key), reinterpret_cast<std::uint8_t*>(frame.data()),
                      static_cast<int>(frame.size()), cv::SealClock(),
                      &header) != cv::SealedVerdict::Opened) {
        return "";
    }
    return frame.substr(cv::kSealedHeader, frame.size() - cv::kSealedOverhead);
}

// An operator's key pair as keygen --operator writes it: the file's text,
// and the line of riZER.key that lists it.
struct OperatorPair {
    std::string file;
    std::string line;
    std::string first8;  // what listen --verbose names it by
};
OperatorPair NewOperatorPair() {
    EXPECT_TRUE(cv::SealingReady());
    unsigned char pk[crypto_sign_PUBLICKEYBYTES], sk[crypto_sign_SECRETKEYBYTES];
    crypto_sign_keypair(pk, sk);
    char skHex[2 * sizeof sk + 1], pkHex[2 * sizeof pk + 1];
    sodium_bin2hex(skHex, sizeof skHex, sk, sizeof sk);
    sodium_bin2hex(pkHex, sizeof pkHex, pk, sizeof pk);
    return {std::string("# an operator\n") + skHex + "\n", std::string("operator ") + pkHex + "\n",
            std::string(pkHex, 8)};
}

class CliWire : public ::testing::Test {
 protected:
    void SetUp() override {
        RIZER_REQUIRE_PRIVATE_NETWORK();
        peer_ = std::make_unique<PeerSocket>(kPort);
        ASSERT_TRUE(peer_->Bound());
    }
    std::unique_ptr<PeerSocket> peer_;
};

TEST_F(CliWire, EachCommandSendsTheActionsFrame) {
    const std::string to = " --port " + std::to_string(kPort) + " --to 127.0.0.1 ";
    struct Case {
        std::string args;
        std::string wire;
    };
    const Case cases[] = {
        {"chat Ann hi", Bytes({0}) + "<Ann>: hi"},
        {"chat '' ''", Bytes({0}) + "<>: "},
        {"gosub Refresh", Bytes({0}) + "$ARefresh"},
        {"box 'Server stops' Warning", Bytes({0}) + "$M2Server stops"},
        {"box '' Information", Bytes({0}) + "$M4"},
    };
    for (const Case& c : cases) {
        CliRun run(c.args + to);
        EXPECT_EQ(run.Finish(), 0) << c.args << ": " << run.Stderr();
        EXPECT_EQ(run.Stdout(), "");
        EXPECT_EQ(Wire(peer_->Receive()), c.wire) << c.args;
    }
    // Without --to: the limited broadcast, which reaches this namespace too.
    CliRun run("chat Bob yo --port " + std::to_string(kPort));
    EXPECT_EQ(run.Finish(), 0) << run.Stderr();
    EXPECT_EQ(Wire(peer_->Receive()), Bytes({0}) + "<Bob>: yo");
    EXPECT_TRUE(peer_->Receive(100).empty()) << "sent more than once";
}

TEST_F(CliWire, BadInputSendsNothing) {
    const TempFolder keys;
    const std::string to = " --port " + std::to_string(kPort) + " --to 127.0.0.1";
    const OperatorPair teacher = NewOperatorPair();
    const std::string listing = keys.Write("listing.key", kKeyA + "\n" + teacher.line);
    const struct {
        std::string args;
        std::string says;
    } cases[] = {
        {"box Stop warning" + to, "unknown kind 'warning'"},
        {"chat Ann " + std::string(251, 'x') + to, "at most 254"},
        {"gosub " + Q("a\"b") + to, "quotation mark"},
        {"shout" + to, "unknown command"},
        {"box -h Warning" + to, "unknown option '-h' after the command word"},
        {"chat Ann hi --port abc --to 127.0.0.1", "bad port"},
        {"chat Ann hi --port 50170 --to 127.0.0.256", "bad address"},
        {"chat Ann hi --key " + keys.Path() + "/none" + to, "cannot read the key file"},
        {"chat Ann hi --key " + keys.Path() + to, "is not a valid key file"},
        {"chat Ann hi --key " + keys.Write("short", "# 63 digits\n" + kKeyA.substr(1)) + to,
         "is not a valid key file"},
        {"listen --key " + keys.Write("bom", "\xEF\xBB\xBF" + kKeyA) + " --port 50171",
         "is not a valid key file"},
        // An operator's file: only with --key, well-formed, and listed in it.
        {"gosub x --operator " + keys.Write("t.op", teacher.file) + to, "--operator needs --key"},
        {"--key " + listing + " --operator " + keys.Path() + "/none gosub x" + to,
         "cannot read the operator file"},
        {"--key " + listing + " --operator " + keys.Write("short.op", teacher.file.substr(0, 140)) +
             " gosub x" + to,
         "is not a valid operator file"},
        {"--key " + listing + " --operator " + keys.Write("s.op", NewOperatorPair().file) + " box x Error" +
             to,
         "is not listed in '" + listing + "'"},
        {"--key " + keys.Write("plain.key", kKeyA) + " --operator " + keys.Path() + "/t.op gosub x" + to,
         "add the line \"" + teacher.line.substr(0, teacher.line.size() - 1) + "\" to riZER.key"},
    };
    for (const auto& c : cases) {
        CliRun run(c.args);
        EXPECT_EQ(run.Finish(), 2) << c.args;
        EXPECT_NE(run.Stderr().find(c.says), std::string::npos) << run.Stderr();
    }
    EXPECT_TRUE(peer_->Receive(200).empty());
}

// Resent every 500 ms with the same bytes until the wait is over; each
// address that acknowledges is printed once, whatever it acknowledged twice.
TEST_F(CliWire, ReliableResendsAndListsEachAcknowledgingAddressOnce) {
    CliRun run("--reliable --verbose --wait 1300 --port " + std::to_string(kPort) + " box Stop Error");
    std::uint16_t cliPort = 0;
    const std::string first = Wire(peer_->Receive(3000, &cliPort));
    ASSERT_EQ(first.size(), 10u);
    EXPECT_EQ(first.substr(0, 1) + first.substr(3), Bytes({2}) + "$M1Stop");
    const std::string ack = Bytes({1}) + first.substr(1, 2);
    const int sequence = static_cast<unsigned char>(first[1]) | static_cast<unsigned char>(first[2]) << 8;
    const auto t0 = std::chrono::steady_clock::now();
    EXPECT_EQ(Wire(peer_->Receive(2000)), first);
    EXPECT_GT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(350));
    peer_->Send(cliPort, Bytes({1, first[1] ^ 1, first[2]}));  // not its sequence
    PeerSocket otherPort(kOtherPort);                          // its sequence, from a port it did not send to
    otherPort.Send(cliPort, ack);
    peer_->Send(cliPort, std::string(300, 'L'));  // its sender is not known
    peer_->Send(cliPort, ack);
    peer_->Send(cliPort, ack);
    EXPECT_EQ(Wire(peer_->Receive(2000)), first);
    EXPECT_EQ(run.Finish(), 0) << run.Stderr();
    EXPECT_EQ(run.Stdout(), "127.0.0.1\n");
    const std::string err = run.Stderr();
    EXPECT_NE(err.find("1 acknowledged within 1300 ms (sequence " + std::to_string(sequence) + ", 3 sends)"),
              std::string::npos)
        << err;
    EXPECT_NE(err.find("ignored from 127.0.0.1:50171: an acknowledgement"), std::string::npos) << err;
    EXPECT_NE(err.find("ignored from an unknown sender: a datagram over 255 bytes"), std::string::npos)
        << err;
    EXPECT_TRUE(peer_->Receive(100).empty()) << "resent after the wait";
}

// Sent to one address, the run ends with its acknowledgement; a resend that
// does not go out is not counted as sent.
TEST_F(CliWire, ReliableToOneAddressStopsAtItsAcknowledgementAndCountsOnlySends) {
    const auto t0 = std::chrono::steady_clock::now();
    CliRun answered("--reliable --wait 4000 --to 127.0.0.1 --port " + std::to_string(kPort) +
                    " gosub Refresh");
    std::uint16_t cliPort = 0;
    const std::string frame = Wire(peer_->Receive(3000, &cliPort));
    ASSERT_EQ(frame.size(), 12u);
    peer_->Send(cliPort, Bytes({1}) + frame.substr(1, 2));
    EXPECT_EQ(answered.Finish(), 0) << answered.Stderr();
    EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::milliseconds(2500));
    EXPECT_EQ(answered.Stdout(), "127.0.0.1\n");
    EXPECT_NE(answered.Stderr().find("1 acknowledged within 4000 ms"), std::string::npos)
        << answered.Stderr();
    EXPECT_NE(answered.Stderr().find(", 1 send)"), std::string::npos) << answered.Stderr();
    EXPECT_TRUE(peer_->Receive(700).empty()) << "resent after the acknowledgement";

    // The first frame leaves by the default route; then the address becomes
    // unreachable (inside this namespace only), and every resend fails.
    const std::string unreachable = "ip route add unreachable 10.99.0.7/32";
    CliRun failing("--reliable --verbose --wait 1200 --to 10.99.0.7 --port " + std::to_string(kPort) +
                   " gosub Refresh");
    ASSERT_TRUE(failing.WaitForStderr("sending"));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    ASSERT_EQ(std::system(unreachable.c_str()), 0);
    EXPECT_EQ(failing.Finish(), 1);
    std::system("ip route del unreachable 10.99.0.7/32");
    EXPECT_NE(failing.Stderr().find("none acknowledged within 1200 ms"), std::string::npos)
        << failing.Stderr();
    EXPECT_NE(failing.Stderr().find(", 1 send, 2 failed to go out)"), std::string::npos) << failing.Stderr();
}

// Two runs never number their frames alike: a receiver keys its memory of
// frames seen on address, port and sequence, and a run may get an earlier
// run's port.
TEST_F(CliWire, ReliableWithoutAcknowledgementFailsAndRunsNumberAfresh) {
    std::string sequences[2];
    for (std::string& sequence : sequences) {
        CliRun run("--reliable --wait 300 --to 127.0.0.1 --port " + std::to_string(kPort) + " gosub Refresh");
        const std::string frame = Wire(peer_->Receive(3000));
        EXPECT_EQ(frame.substr(0, 1) + frame.substr(3), Bytes({2}) + "$ARefresh");
        sequence = frame.substr(1, 2);
        EXPECT_EQ(run.Finish(), 1);
        EXPECT_EQ(run.Stdout(), "");
        EXPECT_NE(run.Stderr().find("none acknowledged within 300 ms"), std::string::npos) << run.Stderr();
    }
    EXPECT_NE(sequences[0], sequences[1]);
}

// The endpoint of this process plays a copy of the plug-in: it acknowledges
// the broadcast and its duplicate ring delivers the message once.
TEST(CliWireEndpoint, ReliableBroadcastAcknowledgedByTheEndpoint) {
    RIZER_REQUIRE_PRIVATE_NETWORK();
    ASSERT_TRUE(cv::NetInit());
    ASSERT_NE(cv::NetOpen(kPort), 0);
    CliRun run("--reliable --wait 1200 --port " + std::to_string(kPort) + " chat Admin hello");
    std::vector<std::string> delivered;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(4);
    char buf[255];
    std::string address;
    int port = 0;
    std::int32_t length = 0;
    while (std::chrono::steady_clock::now() < until) {
        const std::int32_t n = cv::NetReceive(buf, 255, &address, &port, &length);
        if (n > 0) delivered.emplace_back(buf, static_cast<std::size_t>(n));
        if (n < 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    cv::NetClose();
    EXPECT_EQ(run.Finish(), 0) << run.Stderr();
    EXPECT_EQ(delivered, std::vector<std::string>{"<Admin>: hello"});
    // This namespace's own address, the source of the endpoint's replies.
    EXPECT_EQ(run.Stdout(), "10.77.0.1\n");
}

// who: an acknowledged frame with no payload. Sent to one address, it ends
// with that address's acknowledgement.
TEST_F(CliWire, WhoSendsAnEmptyAcknowledgedFrame) {
    CliRun run("who --verbose --wait 3000 --to 127.0.0.1 --port " + std::to_string(kPort));
    std::uint16_t cliPort = 0;
    const std::string frame = Wire(peer_->Receive(3000, &cliPort));
    ASSERT_EQ(frame.size(), 3u);
    EXPECT_EQ(frame[0], 2);
    peer_->Send(cliPort, Bytes({1}) + frame.substr(1, 2));
    EXPECT_EQ(run.Finish(), 0) << run.Stderr();
    EXPECT_EQ(run.Stdout(), "127.0.0.1\n");
    EXPECT_NE(run.Stderr().find("sending 0 bytes to 127.0.0.1:50170, acknowledged"), std::string::npos)
        << run.Stderr();
    EXPECT_NE(run.Stderr().find("1 acknowledged within 3000 ms"), std::string::npos) << run.Stderr();
}

// The endpoint of this process plays a copy of the plug-in, keyed or not:
// it acknowledges who's frame when the keys agree, and hands its caller no
// payload; with no copy to answer, who exits 1.
TEST(CliWireEndpoint, WhoIsAnsweredByCopiesOfItsKeyOnly) {
    RIZER_REQUIRE_PRIVATE_NETWORK();
    const TempFolder keys;
    const std::string keyA = keys.Write("a.key", kKeyA + "\n");
    const std::optional<cv::GroupKey> groupA = cv::ParseGroupKey(kKeyA);
    ASSERT_TRUE(groupA);
    const struct {
        const char* what;
        bool copy;             // an endpoint on the port
        bool copyKeyed;        // with key A
        std::string cliArgs;   // before who
        const char* answered;  // stdout
    } cases[] = {
        {"unkeyed both", true, false, "", "10.77.0.1\n"},
        {"key A both", true, true, "--key " + keyA, "10.77.0.1\n"},
        {"a keyed copy, an unkeyed who", true, true, "", ""},
        {"an unkeyed copy, a keyed who", true, false, "--key " + keyA, ""},
        {"no copy", false, false, "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        cv::NetSetKey(c.copyKeyed ? &*groupA : nullptr);
        if (c.copy) {
            ASSERT_TRUE(cv::NetInit());
            ASSERT_NE(cv::NetOpen(kPort), 0);
        }
        CliRun run(c.cliArgs + " who --wait 700 --port " + std::to_string(kPort));
        int payloads = 0, empty = 0;
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(1500);
        char buf[255];
        std::int32_t length = 0;
        while (c.copy && std::chrono::steady_clock::now() < until) {
            const std::int32_t n = cv::NetReceive(buf, 255, nullptr, nullptr, &length);
            payloads += n > 0;
            empty += n == 0;
            if (n < 0) std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        cv::NetSetKey(nullptr);  // closes the endpoint
        EXPECT_EQ(run.Finish(), *c.answered ? 0 : 1) << run.Stderr();
        EXPECT_EQ(run.Stdout(), c.answered);
        EXPECT_EQ(payloads, 0);
        // The first frame and its resends, each acknowledged, none delivered twice.
        EXPECT_EQ(empty, *c.answered ? 1 : 0);
        if (!*c.answered) {
            EXPECT_NE(run.Stderr().find("none acknowledged within 700 ms"), std::string::npos)
                << run.Stderr();
        }
    }
}

// adapters inside the namespace: its loopback and veth, the route of
// 255.255.255.255, and, with a second subnet up, what that means.
TEST(CliWireAdapters, ListsTheNamespacesAdapters) {
    RIZER_REQUIRE_PRIVATE_NETWORK();
    CliRun before("adapters");
    EXPECT_EQ(before.Finish(), 0) << before.Stderr();
    const std::string out = before.Stdout();
    EXPECT_NE(out.find("lo   127.0.0.1/8   no broadcast           up    loopback\n"), std::string::npos)
        << out;
    EXPECT_NE(out.find("rz0  10.77.0.1/24  broadcast 10.77.0.255  up\n"), std::string::npos) << out;
    EXPECT_NE(out.find("255.255.255.255 leaves through rz0 (10.77.0.1)\n"), std::string::npos) << out;
    EXPECT_EQ(out.find("subnets"), std::string::npos) << out;

    ASSERT_EQ(std::system("ip link add rzt0 type veth peer name rzt1 && ip addr add 10.89.0.1/24 dev rzt0 && "
                          "ip link set rzt1 up && ip link set rzt0 up"),
              0);
    CliRun after("adapters");
    EXPECT_EQ(after.Finish(), 0) << after.Stderr();
    std::system("ip link del rzt0");
    EXPECT_NE(after.Stdout().find("rzt0  10.89.0.1/24  broadcast 10.89.0.255  up\n"), std::string::npos)
        << after.Stdout();
    EXPECT_NE(after.Stdout().find("adapters up on 2 subnets: unkeyed copies reach only the network of rz0; "
                                  "copies with riZER.key reach every broadcast address listed (10.77.0.255, "
                                  "10.89.0.255)\n"),
              std::string::npos)
        << after.Stdout();
}

TEST_F(CliWire, ListenPrintsWhatThePluginActsOnAndDropsTheRest) {
    CliRun run("listen --port " + std::to_string(kOtherPort) + " --count 6 --seconds 10 --verbose");
    ASSERT_TRUE(run.WaitForStderr("listening on port 50171"));
    const std::string datagrams[] = {
        Bytes({0}) + "<Ann>: hi",
        Bytes({0}) + "$M9x",  // no such kind
        Bytes({0}) + "$ARefresh",
        Bytes({0}) + "$X",                 // no such marker
        Bytes({0}) + "$AHi\" : Echo \"x",  // would end the script line
        Bytes({0}) + "$M2Server stops",
        Bytes({7}) + "junk",                             // no such frame kind
        Sealed(kKeyA, Bytes({0}) + "<Eve>: sealed", 0),  // a closed group's, without --key
        Bytes({0}),                                      // empty frame
        Bytes({0}) + std::string(300, 'L'),              // over the limit
        Bytes({0}) + "$M4",
        Bytes({2, 9, 0}) + "$M3Sure?",  // acknowledged frame...
        Bytes({2, 9, 0}) + "$M3Sure?",  // ...and its repeat
        Bytes({0}) + "<\xC0\x01>: a\\b",
    };
    for (const std::string& d : datagrams) peer_->Send(kOtherPort, d);
    EXPECT_EQ(Wire(peer_->Receive()), Bytes({1, 9, 0}));
    EXPECT_EQ(Wire(peer_->Receive()), Bytes({1, 9, 0})) << "the repeat was not acknowledged";
    EXPECT_EQ(run.Finish(), 0) << run.Stderr();
    EXPECT_EQ(run.Stdout(),
              "chat <Ann>: hi\n"
              "gosub Refresh\n"
              "box Warning Server stops\n"
              "box Information\n"
              "box Confimation Sure?\n"
              "chat <\\xC0\\x01>: a\\\\b\n");
    const std::string err = run.Stderr();
    for (const char* why : {"without a kind digit", "without a known marker", "quotation mark",
                            "unknown kind 7", "an empty frame", "over 255 bytes", "a repeat",
                            "unknown kind 3, sealed with a group key (--key reads them)"}) {
        EXPECT_NE(err.find(why), std::string::npos) << why << " in:\n" << err;
    }
    EXPECT_NE(err.find("dropped from 127.0.0.1:50170: a frame of unknown kind 7"), std::string::npos) << err;
}

TEST_F(CliWire, ListenRawAndTooFewMessages) {
    CliRun run("listen --raw --port " + std::to_string(kOtherPort) + " --count 2 --seconds 1 --verbose");
    ASSERT_TRUE(run.WaitForStderr("listening"));
    peer_->Send(kOtherPort, Bytes({0}) + "<\xC0>: \\");
    EXPECT_EQ(run.Finish(), 1);
    EXPECT_EQ(run.Stdout(), "chat <\xC0>: \\\n");
    EXPECT_NE(run.Stderr().find("got 1 of 2 messages"), std::string::npos) << run.Stderr();
}

// With --key, listen takes only frames sealed with that key, and says for
// every other datagram why it was dropped; its own key's frame comes once.
TEST_F(CliWire, KeyedListenHearsItsKeyAndNamesEveryDrop) {
    const TempFolder keys;
    const std::string keyA = keys.Write("a.key", "# group A\r\n" + kKeyA + "\r\n");
    const std::string keyB = keys.Write("b.key", kKeyB + "\n");
    CliRun run("--key " + keyA + " listen --port " + std::to_string(kOtherPort) +
               " --count 2 --seconds 10 --verbose");
    ASSERT_TRUE(run.WaitForStderr("listening on port 50171"));
    const std::string to = " --to 127.0.0.1 --port " + std::to_string(kOtherPort) + " ";
    const std::uint32_t now = cv::SealClock();
    const std::string eve = Sealed(kKeyA, Bytes({0}) + "<Eve>: once", 0);
    std::string forged = Sealed(kKeyA, Bytes({0}) + "<Eve>: forged", 1);
    forged[20] ^= 1;
    const struct {
        std::string cliArgs;  // a run of rizer-cli, or
        std::string frame;    // a frame from the peer
        const char* says;     // on stderr, from its sender; "" for a message
    } cases[] = {
        {"chat Ann plain", "", ": unkeyed (sent without a group key)"},
        {"--key " + keyB + " chat Bob other", "", ": another key (sealed with a key other than --key's)"},
        {"", Bytes({3}) + std::string(20, 'x'), "dropped from 127.0.0.1:50170: malformed ("},
        {"", forged, "dropped from 127.0.0.1:50170: forged ("},
        {"", Sealed(kKeyA, Bytes({0}) + "<Eve>: old", 2, now - 301), "dropped from 127.0.0.1:50170: stale ("},
        {"", eve, ""},
        {"", eve, "dropped from 127.0.0.1:50170: replayed ("},
        {"--key " + keyA + " chat Ann sealed", "", ""},
    };
    for (const auto& c : cases) {
        if (c.cliArgs.empty()) {
            peer_->Send(kOtherPort, c.frame);
        } else {
            CliRun send(c.cliArgs + to);
            EXPECT_EQ(send.Finish(), 0) << c.cliArgs << ": " << send.Stderr();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(30));  // in this order
    }
    EXPECT_EQ(run.Finish(), 0) << run.Stderr();
    EXPECT_EQ(run.Stdout(), "chat <Eve>: once\nchat <Ann>: sealed\n");
    const std::string err = run.Stderr();
    for (const auto& c : cases) {
        if (*c.says) {
            EXPECT_NE(err.find(c.says), std::string::npos) << c.says << " in:\n" << err;
        }
    }
}

// A group whose riZER.key lists the teacher: a listener takes GoSubs and
// boxes signed with the teacher's file (keygen --operator's), names their
// signer, and drops every other command with its reason; chat from any key
// holder, signed or not.
TEST_F(CliWire, ListenTakesOnlyTheOperatorsCommands) {
    const TempFolder keys;
    const std::string teacherOp = keys.Path() + "/teacher.op";
    CliRun keygen("keygen --operator " + teacherOp);
    ASSERT_EQ(keygen.Finish(), 0) << keygen.Stderr();
    const std::string teacherLine = keygen.Stdout();
    const OperatorPair student = NewOperatorPair();
    const std::string group = keys.Write("group.key", "# the class\n" + kKeyA + "\n" + teacherLine);
    // A student who lists his own key in his copy of riZER.key.
    const std::string studentGroup = keys.Write("student.key", kKeyA + "\n" + student.line);
    const std::string studentOp = keys.Write("student.op", student.file);
    // The teacher's public half with another seed: its signatures do not verify.
    const std::string impostor = [&] {
        const std::optional<cv::GroupKey> key = cv::ParseGroupKey(kKeyA);
        cv::OperatorKey op;
        randombytes_buf(op.secret.data(), 32);
        EXPECT_TRUE(sodium_hex2bin(op.secret.data() + 32, 32, teacherLine.data() + 9, 64, nullptr, nullptr,
                                   nullptr) == 0);
        const std::string inner = Bytes({0}) + "$AImpostor";
        cv::SealHeader header{{1, 2, 3, 4, 5, 6, 7, 8},
                              0,
                              static_cast<std::uint32_t>(cv::SealClock()),
                              cv::kSealedForEverybody};
        std::string out(inner.size() + cv::kSealedOverhead + cv::kSignatureTrailer, '\0');
        cv::SealSignedFrame(cv::MakeSealingKey(*key), header, op,
                            reinterpret_cast<const std::uint8_t*>(inner.data()),
                            static_cast<int>(inner.size()), reinterpret_cast<std::uint8_t*>(out.data()));
        return out;
    }();
    const std::string teacher8 = teacherLine.substr(9, 8);

    CliRun run("--key " + group + " listen --port " + std::to_string(kOtherPort) +
               " --count 3 --seconds 10 --verbose");
    ASSERT_TRUE(run.WaitForStderr("listening on port 50171"));
    const std::string to = " --verbose --to 127.0.0.1 --port " + std::to_string(kOtherPort) + " ";
    const struct {
        std::string cliArgs;  // a run of rizer-cli, or
        std::string frame;    // a frame from the peer
        std::string sent;     // on the sender's stderr
        std::string heard;    // on the listener's stderr
    } cases[] = {
        {"--key " + group + " --operator " + teacherOp + " gosub Signed", "", ", sealed, signed",
         " (signed by " + teacher8 + "): gosub Signed"},
        {"--key " + group + " gosub Unsigned", "", ", sealed\n", ": unsigned (a command no operator signed)"},
        {"--key " + group + " box Hi Warning", "", ", sealed\n", ": unsigned ("},
        {"--key " + studentGroup + " --operator " + studentOp + " gosub Student", "", ", sealed, signed",
         ": not an operator (signed by a key the key file does not list), signed by " + student.first8},
        {"", impostor, "", ": forged (its operator's signature does not verify), signed by " + teacher8},
        {"--key " + group + " --operator " + teacherOp + " chat Ann hi", "", ", sealed\n", ""},
        {"--key " + group + " --operator " + teacherOp + " box Careful Warning", "", ", sealed, signed",
         " (signed by " + teacher8 + "): box Warning Careful"},
    };
    for (const auto& c : cases) {
        if (c.cliArgs.empty()) {
            peer_->Send(kOtherPort, c.frame);
        } else {
            CliRun send(c.cliArgs + to);
            EXPECT_EQ(send.Finish(), 0) << c.cliArgs << ": " << send.Stderr();
            EXPECT_NE(send.Stderr().find(c.sent), std::string::npos) << c.sent << " in:\n" << send.Stderr();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(30));  // in this order
    }
    EXPECT_EQ(run.Finish(), 0) << run.Stderr();
    EXPECT_EQ(run.Stdout(), "gosub Signed\nchat <Ann>: hi\nbox Warning Careful\n");
    const std::string err = run.Stderr();
    for (const auto& c : cases) {
        EXPECT_NE(err.find(c.heard), std::string::npos) << c.heard << " in:\n" << err;
    }
    EXPECT_EQ(err.find("chat <Ann>"), std::string::npos) << "chat is never signed:\n" << err;
}

// With --key the frame goes out sealed, and only an acknowledgement sealed
// with that key counts: the others leave the send unanswered (it is resent).
TEST_F(CliWire, KeyedReliableCountsOnlyAcknowledgementsOfItsKey) {
    const TempFolder keys;
    CliRun run("--key " + keys.Write("a.key", kKeyA) +
               " --reliable --verbose --wait 3000 --to 127.0.0.1 --port " + std::to_string(kPort) +
               " gosub Refresh");
    std::uint16_t cliPort = 0;
    const std::string first = Wire(peer_->Receive(3000, &cliPort));
    const std::string inner = Opened(kKeyA, first);
    ASSERT_EQ(inner.size(), 12u) << "not sealed with the key";
    EXPECT_EQ(inner.substr(0, 1) + inner.substr(3), Bytes({2}) + "$ARefresh");
    const std::string ack = Bytes({1}) + inner.substr(1, 2);
    std::string forged = Sealed(kKeyA, ack, 1);
    forged.back() ^= 1;
    for (const std::string& wrong : {ack, Sealed(kKeyB, ack, 0), forged}) peer_->Send(cliPort, wrong);
    const std::string resent = Wire(peer_->Receive(2000));
    EXPECT_EQ(Opened(kKeyA, resent), inner) << "ended by an acknowledgement that did not carry the key";
    peer_->Send(cliPort, Sealed(kKeyA, ack, 2));
    EXPECT_EQ(run.Finish(), 0) << run.Stderr();
    EXPECT_EQ(run.Stdout(), "127.0.0.1\n");
    const std::string err = run.Stderr();
    for (const char* why :
         {"ignored from 127.0.0.1:50170: unkeyed", "ignored from 127.0.0.1:50170: another key",
          "ignored from 127.0.0.1:50170: forged", "1 acknowledged within 3000 ms",
          ", acknowledged, sealed"}) {
        EXPECT_NE(err.find(why), std::string::npos) << why << " in:\n" << err;
    }
}

// keygen: a new file, its owner's only, that the plug-in's parser takes;
// never over an existing file; nothing on stdout.
TEST(CliKeygen, WritesANewKeyFileOnlyAndKeepsItPrivate) {
    const TempFolder keys;
    const std::string path = keys.Path() + "/riZER.key";
    const std::string existing = keys.Write("old.key", "# ours\n" + kKeyA + "\n");
    const struct {
        std::string file;
        int exit;
        const char* says;
    } cases[] = {
        {path, 0, "wrote a new group key"},
        {path, 2, "exists"},
        {existing, 2, "exists"},
        {keys.Path() + "/second.key", 0, "wrote a new group key"},
        {keys.Path() + "/no/such/folder.key", 2, "cannot create"},
    };
    const mode_t mask = umask(0);  // a file made 0666 would now show it
    for (const auto& c : cases) {
        const std::string before = keys.Read(c.file);
        CliRun run("keygen " + Q(c.file));
        EXPECT_EQ(run.Finish(), c.exit) << c.file << ": " << run.Stderr();
        EXPECT_EQ(run.Stdout(), "");
        EXPECT_NE(run.Stderr().find(c.says), std::string::npos) << run.Stderr();
        if (c.exit == 2) {
            EXPECT_EQ(keys.Read(c.file), before) << c.file;
        }
    }
    umask(mask);
    const std::string text = keys.Read(path);
    EXPECT_EQ(text.substr(0, 2), "# ");
    const std::optional<cv::GroupKey> key = cv::ParseGroupKey(text);
    ASSERT_TRUE(key) << text;
    EXPECT_EQ(key->maxSkew, cv::kDefaultMaxSkew);
    EXPECT_NE(cv::ParseGroupKey(keys.Read(keys.Path() + "/second.key"))->bytes, key->bytes);
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
}

// keygen --operator: a new key pair, its secret half in a file of its
// owner's only that the plug-in's parser takes, its public half on stdout as
// the one line for riZER.key; never over a file, and then nothing on stdout.
TEST(CliKeygen, OperatorKeygenWritesTheSecretAndPrintsTheLine) {
    ASSERT_TRUE(cv::SealingReady());
    const TempFolder keys;
    const std::string path = keys.Path() + "/riZER.operator";
    const std::string groupKey = keys.Write("riZER.key", kKeyA + "\n");
    const struct {
        std::string file;
        int exit;
        const char* says;
    } cases[] = {
        {path, 0, "wrote a new operator key"},
        {path, 2, "exists"},
        {groupKey, 2, "exists"},
        {keys.Path() + "/second.operator", 0, "wrote a new operator key"},
        {keys.Path() + "/no/such/folder.operator", 2, "cannot create"},
    };
    std::vector<std::string> lines;
    const mode_t mask = umask(0);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string before = keys.Read(c.file);
        CliRun run("keygen --operator " + Q(c.file));
        EXPECT_EQ(run.Finish(), c.exit) << run.Stderr();
        EXPECT_NE(run.Stderr().find(c.says), std::string::npos) << run.Stderr();
        if (c.exit != 0) {
            EXPECT_EQ(run.Stdout(), "");
            EXPECT_EQ(keys.Read(c.file), before);
            continue;
        }
        ASSERT_EQ(run.Stdout().size(), 9u + 64u + 1u) << run.Stdout();
        EXPECT_EQ(run.Stdout().substr(0, 9), "operator ");
        EXPECT_EQ(run.Stdout().back(), '\n');
        lines.push_back(run.Stdout());
        // The line goes into riZER.key as it is, and lists the file's key.
        const std::optional<cv::GroupKey> group = cv::ParseGroupKey(kKeyA + "\n" + run.Stdout());
        ASSERT_TRUE(group);
        const std::string text = keys.Read(c.file);
        EXPECT_EQ(text.substr(0, 2), "# ");
        const std::optional<cv::OperatorKey> key = cv::ParseOperatorKey(text);
        ASSERT_TRUE(key) << text;
        ASSERT_EQ(group->operators.size(), 1u);
        EXPECT_EQ(group->operators[0], key->PublicKey());
        EXPECT_EQ(text.find(run.Stdout().substr(9, 64)), text.size() - 65)
            << "the public half ends the secret";
        struct stat st {};
        ASSERT_EQ(stat(c.file.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0600u);
    }
    umask(mask);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0], lines[1]);
}

TEST_F(CliWire, ListenOnAHeldPortFails) {
    CliRun run("listen --seconds 1 --port " + std::to_string(kPort));
    EXPECT_EQ(run.Finish(), 1);
    EXPECT_NE(run.Stderr().find("cannot bind port 50170"), std::string::npos) << run.Stderr();
}

}  // namespace
