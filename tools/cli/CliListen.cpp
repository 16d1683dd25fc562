#include "CliListen.h"

#include <chrono>
#include <thread>

#include "Cli.h"
#include "CliEndpoint.h"
#include "CliOutput.h"
#include "messaging/Payloads.h"
#include "messaging/PollTick.h"

namespace cli {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPollEvery = std::chrono::milliseconds(5);

void SayDropped(const std::string& from, int port, const std::string& why) {
    Say("dropped" + (from.empty() ? std::string() : " from " + from + ":" + std::to_string(port)) + ": " +
        why);
}

void TapVerbose(const cv::NetConsumedFrame& f, void*) { SayDropped(f.address, f.port, ConsumedText(f)); }

}  // namespace

int RunListen(const Options& o) {
    TEndpoint endpoint(o.port);
    if (!endpoint.Open()) {
        Say(endpoint.Error());
        return kExitFailed;
    }
    if (o.verbose) {
        cv::NetSetConsumedTap(&TapVerbose, nullptr);
        Say("listening on port " + std::to_string(o.port));
    }
    const auto until = Clock::now() + std::chrono::seconds(o.seconds);
    // As the poller: at most 255 bytes a datagram, kind byte included.
    char buf[cv::kReceiveLimit];
    std::string address;
    int port = 0;
    std::int32_t length = 0;
    int printed = 0;
    while (o.count == 0 || printed < o.count) {
        if (o.seconds && Clock::now() >= until) break;
        address.clear();
        port = 0;
        const std::int32_t got = cv::NetReceive(buf, cv::kReceiveLimit, &address, &port, &length);
        if (got < 0) {
            std::this_thread::sleep_for(kPollEvery);
            continue;
        }
        if (got == 0) {
            if (o.verbose) SayDropped(address, port, "an empty frame");
            continue;
        }
        const cv::ReceivedMessage m = cv::ReadPayload(std::string_view(buf, static_cast<std::size_t>(got)));
        if (m.kind == cv::ReceivedKind::Dropped) {
            if (o.verbose) SayDropped(address, port, DropText(m.why));
            continue;
        }
        const std::string line = MessageLine(m);
        PrintLine(o.raw ? line : Printable(line));
        ++printed;
    }
    if (o.count && printed < o.count) {
        Say("got " + std::to_string(printed) + " of " + std::to_string(o.count) + " messages");
        return kExitFailed;
    }
    return kExitOk;
}

}  // namespace cli
