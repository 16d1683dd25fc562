// The keyed endpoint as a filter for a second implementation of the sealed
// frame (sealed_interop.py): no socket, the in-memory socket seam instead.
//
//   sealed-peer KEYHEX MAXSKEW NOW [OPERATORHEX...]
//
// OPERATORHEX: the public keys of the group's operators (its "operator"
// lines); a payload starting with '$' is a command.
// Reads commands from standard input, one a line, and answers each with
// lines ending in "end":
//   recv HEX            a datagram from 10.0.0.2:50151 to this endpoint
//                       (10.0.0.1/24) -> "payload HEX", "empty" or
//                       "dropped WORD"
//   send plain HEX      a plain frame with that payload to 10.0.0.2:50151
//   send reliable HEX   an acknowledged one
//   clock N             the endpoint's clock from now on
//   operator HEX        sign commands with this secret key from now on
// Every datagram the endpoint sent meanwhile follows as "sent HEX".
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>

#include "FakeSocket.h"
#include "net/GroupKey.h"
#include "net/Net.h"
#include "net/OperatorKey.h"
#include "net/SealedFrame.h"

namespace {

namespace fake = rizer::test::fake;

std::uint64_t gNow = 0;
std::uint64_t Now() { return gNow; }

std::string Hex(const std::string& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string out;
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

std::string Unhex(const std::string& hex) {
    std::string out;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        out += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
    }
    return out;
}

const char* DropWord(const std::uint32_t (&before)[cv::kNetConsumedReasons]) {
    for (int r = 0; r < cv::kNetConsumedReasons; ++r) {
        const auto why = static_cast<cv::NetConsumed>(r);
        if (cv::NetConsumedCount(why) != before[r]) return cv::NetConsumedWord(why);
    }
    return "nothing";
}

}  // namespace

static bool DollarIsACommand(const std::uint8_t* p, std::int32_t n) { return n >= 1 && p[0] == '$'; }

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: sealed-peer KEYHEX MAXSKEW NOW [OPERATORHEX...]\n");
        return 2;
    }
    std::string text = std::string(argv[1]) + "\nmax-skew " + argv[2] + "\n";
    for (int i = 4; i < argc; ++i) text += std::string("operator ") + argv[i] + "\n";
    const auto key = cv::ParseGroupKey(text);
    if (!key) return 2;
    gNow = std::strtoull(argv[3], nullptr, 10);
    fake::SetWallClock(Now);
    cv::NetSetCommandTest(DollarIsACommand);
    cv::NetSetKey(&*key);
    if (!cv::NetInit() || cv::NetOpen(50150) == 0) return 1;

    std::string verb;
    while (std::cin >> verb) {
        fake::Sent().clear();
        if (verb == "recv") {
            std::string hex;
            std::cin >> hex;
            std::uint32_t before[cv::kNetConsumedReasons];
            for (int r = 0; r < cv::kNetConsumedReasons; ++r) {
                before[r] = cv::NetConsumedCount(static_cast<cv::NetConsumed>(r));
            }
            fake::Queue(Unhex(hex), 0x0200000Au, 50151);
            char buf[255];
            std::int32_t length = 0;
            const std::int32_t n = cv::NetReceive(buf, 255, nullptr, nullptr, &length);
            if (n > 0) std::cout << "payload " << Hex(std::string(buf, static_cast<std::size_t>(n))) << "\n";
            else if (n == 0) std::cout << "empty\n";
            else std::cout << "dropped " << DropWord(before) << "\n";
        } else if (verb == "send") {
            std::string how, hex;
            std::cin >> how >> hex;
            const std::string payload = Unhex(hex);
            cv::NetResetSend();
            cv::NetAppend(payload.data(), static_cast<std::int32_t>(payload.size()));
            cv::NetSend("10.0.0.2", 50151, how == "reliable");
        } else if (verb == "clock") {
            std::cin >> gNow;
        } else if (verb == "operator") {
            std::string hex;
            std::cin >> hex;
            const auto op = cv::ParseOperatorKey(hex);
            if (op) cv::NetSetOperator(&*op);
            std::cout << (op ? "signing\n" : "invalid\n");
        } else {
            std::cout << "unknown " << verb << "\n";
        }
        for (const fake::Datagram& d : fake::Sent()) std::cout << "sent " << Hex(d.bytes) << "\n";
        std::cout << "end" << std::endl;
    }
    cv::NetClose();
    return 0;
}
