#include "CliSend.h"

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>
#include <vector>

#include "Cli.h"
#include "CliEndpoint.h"
#include "CliOutput.h"
#include "messaging/Payloads.h"
#include "net/Net.h"

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

    void Take(const cv::NetDatagram& d) {
        if (d.taken != cv::NetTaken::Consumed) return;  // a message to our port is not ours to act on
        if (d.why != cv::NetConsumed::Ack || d.sequence != sequence || d.port != port) {
            if (verbose) Say("ignored " + FromText(d) + ": " + ConsumedText(d));
            return;
        }
        const std::string address = cv::NetAddressText(d.address);
        for (const std::string& a : addresses) {
            if (a == address) return;
        }
        addresses.push_back(address);
        PrintLine(address);
    }

    // Takes what came back. Bounded, so that a flood cannot hold the clock.
    void Drain() {
        for (int i = 0; i < 1024; ++i) {
            cv::NetDatagram d;
            cv::NetReceiveOne(cv::kReceiveLimit, &d);
            if (d.taken == cv::NetTaken::Nothing) break;
            Take(d);
        }
    }
};

// Every run is a new endpoint, and this run's port may be one that an earlier
// run had: a receiver that remembers that earlier frame would acknowledge
// this one as its repeat and never show it. A random sequence makes that as
// good as never. 0 to 4 are never sent, as by the plug-in.
std::uint16_t RandomSequence() {
    std::random_device random;
    const auto clock = static_cast<unsigned>(Clock::now().time_since_epoch().count());
    const unsigned r = random() ^ clock ^ (clock >> 16);
    return static_cast<std::uint16_t>(cv::kNetFirstSequence + r % (65536u - cv::kNetFirstSequence));
}

int SendReliable(const Options& o, const std::string& payload, const std::string& destination) {
    AckCollector acks{RandomSequence(), o.port, o.verbose, {}};
    std::vector<std::uint8_t> frame(cv::kNetReliableHeader + payload.size());
    frame[0] = cv::fkReliable;
    cv::WriteSequence(&frame[1], acks.sequence);
    std::copy(payload.begin(), payload.end(), frame.begin() + cv::kNetReliableHeader);
    const auto sendFrame = [&] {
        // A datagram goes out whole or not at all; sealed, it is longer.
        return cv::NetSendFrame(frame.data(), static_cast<std::int32_t>(frame.size()), destination.c_str(),
                                o.port) > 0;
    };
    if (!sendFrame()) {
        Say("cannot send to " + destination);
        return kExitFailed;
    }
    // Sent to one address (not to a broadcast address, which never answers
    // itself): its acknowledgement ends the wait.
    const auto targetAnswered = [&] {
        return std::find(acks.addresses.begin(), acks.addresses.end(), destination) != acks.addresses.end();
    };
    const auto start = Clock::now();
    const auto until = start + std::chrono::milliseconds(o.waitMs);
    auto nextSend = start + kResendEvery;
    int sends = 1;
    int failed = 0;
    for (auto now = start; now < until; now = Clock::now()) {
        acks.Drain();
        if (targetAnswered()) break;
        if (now >= nextSend) {
            ++(sendFrame() ? sends : failed);
            nextSend += kResendEvery;
        }
        std::this_thread::sleep_for(kPollEvery);
    }
    acks.Drain();
    const std::string within = " within " + std::to_string(o.waitMs) + " ms (sequence " +
                               std::to_string(acks.sequence) + ", " + std::to_string(sends) +
                               (sends == 1 ? " send" : " sends") +
                               (failed ? ", " + std::to_string(failed) + " failed to go out" : "") + ")";
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
        case Command::Who: payload->clear(); break;  // acknowledged, and acted on by nobody
        default: *error = "not a send command"; return false;
    }
    const auto limit =
        static_cast<std::size_t>(o.reliable ? cv::kReliablePayloadLimit : cv::kPlainPayloadLimit);
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
    const std::string destination = o.to.empty() ? cv::kNetBroadcastAddress : o.to;
    if (o.verbose) {
        Say("sending " + std::to_string(payload.size()) + " bytes to " + destination + ":" +
            std::to_string(o.port) + (o.reliable ? ", acknowledged" : "") +
            (cv::NetKeyed() ? ", sealed" : "") +
            (cv::NetSigns() && cv::IsCommandPayload(reinterpret_cast<const std::uint8_t*>(payload.data()),
                                                    static_cast<std::int32_t>(payload.size()))
                 ? ", signed"
                 : ""));
    }
    if (o.reliable) return SendReliable(o, payload, destination);
    cv::NetResetSend();
    cv::NetAppend(payload.data(), static_cast<std::int32_t>(payload.size()));
    const int sent = cv::NetSend(o.to.empty() ? nullptr : o.to.c_str(), o.port, false);
    if (sent <= 0) {
        Say("cannot send to " + destination);
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace cli
