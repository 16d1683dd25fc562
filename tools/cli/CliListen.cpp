#include "CliListen.h"

#include <chrono>
#include <thread>

#include "Cli.h"
#include "CliEndpoint.h"
#include "CliOutput.h"
#include "messaging/Payloads.h"
#include "net/Net.h"

namespace cli {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPollEvery = std::chrono::milliseconds(5);

void SayDropped(const cv::NetDatagram& d, const std::string& why) {
    Say("dropped " + FromText(d) + ": " + why);
}

}  // namespace

int RunListen(const Options& o) {
    TEndpoint endpoint(o.port);
    if (!endpoint.Open()) {
        Say(endpoint.Error());
        return kExitFailed;
    }
    if (o.verbose) {
        Say("listening on port " + std::to_string(o.port) +
            (cv::NetKeyed() ? ", only to frames sealed with the key of '" + o.keyFile + "'" : ""));
    }
    const auto until = Clock::now() + std::chrono::seconds(o.seconds);
    int printed = 0;
    while (o.count == 0 || printed < o.count) {
        if (o.seconds && Clock::now() >= until) break;
        // As the poller: at most 255 bytes a datagram, kind byte included.
        cv::NetDatagram d;
        cv::NetReceiveOne(cv::kReceiveLimit, &d);
        switch (d.taken) {
            case cv::NetTaken::Nothing: std::this_thread::sleep_for(kPollEvery); continue;
            case cv::NetTaken::Empty:
                if (o.verbose) SayDropped(d, "an empty frame");
                continue;
            case cv::NetTaken::Consumed:
                if (o.verbose) SayDropped(d, ConsumedText(d));
                continue;
            case cv::NetTaken::Payload: break;
        }
        const cv::ReceivedMessage m = cv::ReadPayload(
            std::string_view(reinterpret_cast<const char*>(d.payload), static_cast<std::size_t>(d.length)));
        if (m.kind == cv::ReceivedKind::Dropped) {
            if (o.verbose) SayDropped(d, DropText(m.why));
            continue;
        }
        const std::string line = MessageLine(m);
        if (o.verbose && d.signer) Say(FromText(d) + " (" + SignerText(d) + "): " + Printable(line));
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
