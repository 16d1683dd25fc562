#include "CliSend.h"

#include <chrono>
#include <random>
#include <thread>
#include <vector>

#include "Cli.h"
#include "CliEndpoint.h"
#include "CliOutput.h"
#include "messaging/Payloads.h"
#include "messaging/PollTick.h"

namespace cli {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kResendEvery = std::chrono::milliseconds(500);
constexpr auto kPollEvery = std::chrono::milliseconds(2);

std::string KindTexts() {
    std::string names;
    for (const cv::BoxKind& k : cv::kBoxKinds) names += std::string(names.empty() ? "" : ", ") + k.kindText;
    return names;
}

// The addresses that acknowledged one acknowledged send, in order of their
// first acknowledgement.
struct AckCollector {
    std::uint16_t sequence;
    int port;
    bool verbose;
    std::vector<std::string> addresses;

    static void Tap(const cv::NetConsumedFrame& f, void* self) {
        auto& c = *static_cast<AckCollector*>(self);
        if (f.what != cv::NetConsumed::Ack || f.sequence != c.sequence || f.port != c.port) {
            if (c.verbose) Say("ignored from " + f.address + ": " + ConsumedText(f));
            return;
        }
        for (const std::string& a : c.addresses) {
            if (a == f.address) return;
        }
        c.addresses.push_back(f.address);
        PrintLine(f.address);
    }
};

// Drains what came back: acknowledgements reach the collector's tap; any
// message that happens to come to our port is not ours to act on. Bounded,
// so that a flood cannot hold the clock.
void DrainReplies() {
    char buf[cv::kReceiveLimit];
    std::string address;
    int port = 0;
    std::int32_t length = 0;
    for (int i = 0; i < 1024; ++i) {
        if (cv::NetReceive(buf, cv::kReceiveLimit, &address, &port, &length) < 0) break;
    }
}

// Every run is a new endpoint whose numbering would start at the same
// sequence, and this run's port may be one that an earlier run had: a
// receiver that remembers that earlier frame would acknowledge this one as
// its repeat and never show it. A random start makes that as good as never.
std::uint16_t RandomSequence() {
    std::random_device random;
    const auto clock = static_cast<unsigned>(Clock::now().time_since_epoch().count());
    return static_cast<std::uint16_t>(random() ^ clock ^ (clock >> 16));
}

int SendReliable(const Options& o, const std::string& destination) {
    cv::NetSetSequence(RandomSequence());
    if (cv::NetSend(destination.c_str(), o.port, true) < 0) {
        Say("cannot send to " + destination);
        return kExitFailed;
    }
    AckCollector acks{cv::NetPendingList().back().sequence, o.port, o.verbose, {}};
    cv::NetSetConsumedTap(&AckCollector::Tap, &acks);
    const auto start = Clock::now();
    const auto until = start + std::chrono::milliseconds(o.waitMs);
    auto nextSend = start + kResendEvery;
    int sends = 1;
    for (auto now = start; now < until; now = Clock::now()) {
        DrainReplies();
        if (now >= nextSend) {
            cv::NetResend(acks.sequence);
            ++sends;
            nextSend += kResendEvery;
        }
        std::this_thread::sleep_for(kPollEvery);
    }
    DrainReplies();
    cv::NetSetConsumedTap(nullptr, nullptr);
    const std::string within = " within " + std::to_string(o.waitMs) + " ms (sequence " +
                               std::to_string(acks.sequence) + ", " + std::to_string(sends) +
                               (sends == 1 ? " send)" : " sends)");
    if (acks.addresses.empty()) {
        Say("none acknowledged" + within);
        return kExitFailed;
    }
    Say(std::to_string(acks.addresses.size()) + " acknowledged" + within);
    return kExitOk;
}

}  // namespace

bool MakePayload(const Options& o, std::string* payload, std::string* error) {
    switch (o.command) {
        case Command::Chat: *payload = cv::ChatPayload(o.args[0], o.args[1]); break;
        case Command::GoSub:
            if (!cv::IsSafeSubroutineName(o.args[0])) {
                *error = "receivers drop subroutine names with a quotation mark, CR or LF";
                return false;
            }
            *payload = cv::GoSubPayload(o.args[0]);
            break;
        case Command::Box:
            *payload = cv::SystemPayload(o.args[0], o.args[1]);
            if (payload->empty()) {
                *error = "unknown kind '" + o.args[1] + "': give " + KindTexts() + " (letter case counts)";
                return false;
            }
            break;
        default: *error = "not a send command"; return false;
    }
    const std::size_t limit = o.reliable ? kReliablePayloadLimit : kPlainPayloadLimit;
    if (payload->size() > limit) {
        *error = "message too long: its payload is " + std::to_string(payload->size()) +
                 " bytes, and receivers take at most " + std::to_string(limit) +
                 (o.reliable ? " in an acknowledged frame" : "");
        return false;
    }
    return true;
}

int RunSend(const Options& o) {
    std::string payload;
    std::string error;
    if (!MakePayload(o, &payload, &error)) {
        Say(error);
        return kExitBadInput;
    }
    TEndpoint endpoint(0);
    if (!endpoint.Open()) {
        Say(endpoint.Error());
        return kExitFailed;
    }
    cv::NetResetSend();
    cv::NetAppend(payload.data(), static_cast<std::int32_t>(payload.size()));
    const std::string destination = o.to.empty() ? cv::kNetBroadcastAddress : o.to;
    if (o.verbose) {
        Say("sending " + std::to_string(payload.size()) + " bytes to " + destination + ":" +
            std::to_string(o.port) + (o.reliable ? ", acknowledged" : ""));
    }
    if (o.reliable) return SendReliable(o, destination);
    const int sent = cv::NetSend(o.to.empty() ? nullptr : o.to.c_str(), o.port, false);
    if (sent != cv::NetSendLength()) {
        Say("cannot send to " + destination);
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace cli
