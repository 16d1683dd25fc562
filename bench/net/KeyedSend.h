// The send path of a chat line, for the benchmarks natively (bench_net
// --keyed-send) and under Wine (send-bench.exe): a keyed endpoint seals the
// frame once and sends it to the broadcast address of every adapter, an
// unkeyed one sends it once to 255.255.255.255. Both are measured in one
// process, rounds alternating, best round of each; the seal alone too. Run
// on a machine of one adapter and on one of four (scripts/bench-net.sh), the
// keyed figures give the cost of each adapter more. Inside a private
// namespace only: it sends broadcasts.
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "net/Adapters.h"
#include "net/GroupKey.h"
#include "net/Net.h"
#include "net/SealedFrame.h"

namespace rizer::bench {

struct SendCost {
    double keyedNs = 0;  // a keyed chat line: sealed once, one sendto per broadcast target
    double plainNs = 0;  // an unkeyed chat line: one sendto
    double sealNs = 0;   // the seal alone
    std::size_t targets = 0;
    int failed = 0;  // sends that did not go out (a full send queue), over every round
};

inline double NsPerLine(std::chrono::steady_clock::duration d, int lines) {
    return std::chrono::duration<double, std::nano>(d).count() / lines;
}

// `lines` chat lines per round, `rounds` rounds of each kind.
inline SendCost MeasureSendCost(int lines, int rounds) {
    using Clock = std::chrono::steady_clock;
    constexpr int kPort = 50150;
    const std::string payload = std::string(1, '\0') + "<Ann>: a chat line of an ordinary length";
    cv::GroupKey key;
    for (std::size_t i = 0; i < key.bytes.size(); ++i)
        key.bytes[i] = static_cast<std::uint8_t>(0xA5 ^ (i * 7));
    SendCost cost;
    std::vector<cv::Adapter> adapters;
    cv::ListAdapters(&adapters);
    cost.targets = cv::BroadcastTargets(adapters).size();

    Clock::duration keyed = Clock::duration::max(), plain = Clock::duration::max();
    for (int r = 0; r < rounds; ++r) {
        for (bool withKey : {false, true}) {
            cv::NetSetKey(withKey ? &key : nullptr);
            if (!cv::NetInit() || cv::NetOpen(0) == 0) {
                std::printf("send cost: cannot open the endpoint\n");
                return cost;
            }
            const auto t0 = Clock::now();
            for (int i = 0; i < lines; ++i) {
                cv::NetResetSend();
                cv::NetAppend(payload.data(), static_cast<std::int32_t>(payload.size()));
                if (cv::NetSend(nullptr, kPort, false) <= 0) ++cost.failed;
            }
            Clock::duration& best = withKey ? keyed : plain;
            best = std::min(best, Clock::now() - t0);
            cv::NetClose();
        }
    }
    cv::NetSetKey(nullptr);

    cv::SealingReady();
    const cv::SealingKey sealing = cv::MakeSealingKey(key);
    cv::SealSession session;
    cv::StartSealSession(&session);
    std::vector<std::uint8_t> out(payload.size() + cv::kSealedOverhead);
    Clock::duration seal = Clock::duration::max();
    for (int r = 0; r < rounds; ++r) {
        const auto t0 = Clock::now();
        for (int i = 0; i < lines; ++i) {
            cv::SealFrame(sealing, cv::NextSealHeader(&session, cv::kSealedForEverybody),
                          reinterpret_cast<const std::uint8_t*>(payload.data()),
                          static_cast<int>(payload.size()), out.data());
        }
        seal = std::min(seal, Clock::now() - t0);
    }
    cost.keyedNs = NsPerLine(keyed, lines);
    cost.plainNs = NsPerLine(plain, lines);
    cost.sealNs = NsPerLine(seal, lines);
    return cost;
}

// One line that scripts/bench-net.sh reads: "send cost: T broadcast targets,
// K ns keyed, P ns unkeyed, S ns seal, F failed".
inline void PrintSendCost(const SendCost& c, int lines, int rounds) {
    std::printf(
        "send cost: %zu broadcast targets, %.0f ns keyed, %.0f ns unkeyed, %.0f ns seal, %d failed"
        " (a chat line; best of %d rounds of %d) -> keyed/unkeyed %.2f\n",
        c.targets, c.keyedNs, c.plainNs, c.sealNs, c.failed, rounds, lines, c.keyedNs / c.plainNs);
}

}  // namespace rizer::bench
